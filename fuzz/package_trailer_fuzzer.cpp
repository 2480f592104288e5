// The package check and the program image's end, which tells a bare program from a package, on
// arbitrary files: they must never read outside the file, and what the check reports must
// describe the file it was given.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/package_check.h"
#include "app/program_image.h"
#include "platform/file.h"

namespace {

const std::string& PackagePath() {
  static const std::string path = "/tmp/package_trailer_fuzzer." + std::to_string(getpid());
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size >= kTrailerSize) {
    std::uint8_t bytes[kTrailerSize];
    std::memcpy(bytes, data + size - kTrailerSize, kTrailerSize);
    const PackageTrailer trailer = DecodeTrailer(bytes);
    if (const std::optional<PayloadRange> payload = LocatePayload(size, trailer)) {
      if (payload->length == 0 || payload->offset + payload->length + kTrailerSize != size) {
        std::abort();
      }
    }
    if (FormatSignature(trailer.digest).size() != 35) std::abort();
  }

  {
    platform::File file;
    if (!file.Open(PackagePath(), platform::File::Mode::kCreate) || !file.Write(data, size)) {
      std::abort();
    }
  }
  const PackageCheck check = CheckPackageFile(PackagePath());
  switch (check.status) {
    case PackageStatus::Intact:
      if (check.payload.length == 0 ||
          check.payload.offset + check.payload.length + kTrailerSize != size) {
        std::abort();
      }
      break;
    case PackageStatus::SignatureMismatch:
      if (check.signature.size() != 35) std::abort();
      break;
    case PackageStatus::PackageUnreadable:
      break;
  }
  platform::File file;
  if (!file.Open(PackagePath(), platform::File::Mode::kRead)) std::abort();
  ProgramImageEnd(file);
  return 0;
}
