// vextool pkg verify: what the setup program finds when it checks itself.
#include <cinttypes>
#include <cstdio>

#include "app/package_check.h"
#include "platform/file.h"
#include "tools/vextool/pkg_subcommands.h"

namespace {

constexpr const char* kUsage =
    "usage: vextool pkg verify FILE\n"
    "\n"
    "Prints the payload offset and length from the trailer of FILE and the signature text the\n"
    "setup program shows when the digest does not match. Exit status: 0 when the digest matches\n"
    "and the payload lies before the trailer, 1 when not, 2 when FILE cannot be read.\n";

}  // namespace

int RunPkgVerify(const CommandArguments& arguments) {
  PkgOptions options;
  if (const std::optional<int> status =
          ParsePkgOptions(arguments, kUsage, PkgSyntax{false, false, false, 1}, &options)) {
    return *status;
  }

  const std::string& path = options.files[0];
  platform::File file;
  PackageTrailer trailer;
  std::uint64_t length = UINT64_MAX;
  if (file.Open(path, platform::File::Mode::kReadShared)) {
    length = file.Length();
  }
  if (!ReadPackageTrailer(file, length, &trailer)) {
    std::fprintf(stderr, "vextool pkg verify: cannot read a trailer from '%s'\n", path.c_str());
    return 2;
  }
  const std::optional<PayloadRange> payload = LocatePayload(length, trailer);
  std::printf("payload offset: %" PRIu32 "\n", trailer.payloadOffset);
  if (payload) {
    std::printf("payload length: %" PRIu64 "\n", payload->length);
  } else {
    std::printf("payload length: none (the offset does not lie before the trailer)\n");
  }
  std::printf("signature: %s\n", FormatSignature(trailer.digest).c_str());

  Md5Digest digest;
  if (!DigestBeforeTrailer(file, length, &digest)) {
    std::fprintf(stderr, "vextool pkg verify: cannot read '%s'\n", path.c_str());
    return 2;
  }
  const bool matches = digest == trailer.digest;
  std::printf("digest: %s\n", matches ? "matches" : "does not match");
  return matches && payload ? 0 : 1;
}
