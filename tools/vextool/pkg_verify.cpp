// vextool pkg verify: what the setup program finds when it checks itself.
#include <cinttypes>
#include <cstdio>

#include "app/package_check.h"
#include "platform/file.h"
#include "tools/vextool/pkg_subcommands.h"

namespace {

const CommandSyntax kSyntax = {
    {"vextool pkg verify", "what the setup program finds when it checks itself", "FILE",
     "Prints the payload offset and length from the trailer of FILE and the signature text\n"
     "the setup program shows when the digest does not match.",
     nullptr,
     "0 the digest matches and the payload lies before the trailer; 1 not; 2 FILE cannot be\n"
     "read; 64 usage.",
     "$ vextool pkg verify Setup.exe\n"
     "payload offset: 310272\n"
     "payload length: 328073\n"
     "signature: 0x2B4C...\n"
     "digest: matches"},
    {},
    {"FILE"},
};

}  // namespace

int RunPkgVerify(const CommandArguments& arguments, VextoolSink&) {
  PkgOptions options;
  if (const std::optional<int> status = ParsePkgOptions(arguments, kSyntax, &options)) {
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
