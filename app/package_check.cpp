#include "app/package_check.h"

#include <cstdint>

#include "app/package_file.h"
#include "app/package_read.h"
#include "platform/file.h"

PackageCheck CheckOpenPackage(platform::File& file) {
  PackageCheck check;
  const std::uint64_t length = file.Length();
  if (length == UINT64_MAX || length < kTrailerSize) {
    return check;
  }
  const ReadFunction read = [&file](void* buffer, std::size_t size) {
    return file.Read(buffer, size);
  };
  std::uint8_t trailerBytes[kTrailerSize];
  if (!file.Seek(length - kTrailerSize) || !ReadExactly(read, trailerBytes, kTrailerSize)) {
    return check;
  }
  const PackageTrailer trailer = DecodeTrailer(trailerBytes);

  Md5 md5;
  const bool hashed =
      file.Seek(0) && ReadInPieces(read, length - kTrailerSize,
                                   [&md5](const std::uint8_t* piece, std::size_t size) {
                                     md5.Update(piece, size);
                                     return true;
                                   });
  if (!hashed) {
    return check;
  }
  if (md5.Finish() != trailer.digest) {
    check.status = PackageStatus::SignatureMismatch;
    check.signature = FormatSignature(trailer.digest);
    return check;
  }
  const std::optional<PayloadRange> payload = LocatePayload(length, trailer);
  if (payload) {
    check.status = PackageStatus::Intact;
    check.payload = *payload;
  }
  return check;
}

PackageCheck CheckPackageFile(const std::string& path) {
  platform::File file;
  if (!file.Open(path, platform::File::Mode::kReadShared)) {
    return PackageCheck();
  }
  return CheckOpenPackage(file);
}

PackageCheck CheckPackage() {
  return CheckPackageFile(GetPackageFile());
}
