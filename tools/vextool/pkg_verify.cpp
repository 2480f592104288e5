// vextool pkg verify: what the setup program finds when it checks itself.
#include <cinttypes>
#include <cstdio>

#include "app/package_check.h"
#include "app/program_image.h"
#include "platform/file.h"
#include "tools/vextool/pkg_subcommands.h"
#include "tools/vextool/tool_messages.h"

namespace {

constexpr const char kCommand[] = "vextool pkg verify";

const CommandSyntax kSyntax = {
    {kCommand, "what the setup program finds when it checks itself", "FILE",
     "Prints the payload offset and length from the trailer of FILE and the signature text\n"
     "the setup program shows when the digest does not match. A file whose last bytes neither\n"
     "point at a payload nor match their digest (a bare program) is said not to be a package.",
     nullptr,
     "0 the digest matches and the payload lies before the trailer; 1 not, or FILE is not a\n"
     "package; 2 FILE cannot be read; 64 usage.",
     "$ vextool pkg verify Setup.exe\n"
     "payload offset: 310272\n"
     "payload length: 328073\n"
     "signature: 0x2B4C...\n"
     "digest: matches"},
    {},
    {"FILE"},
};

int SayNotAPackage(const std::string& path, const char* why) {
  std::fprintf(stderr, "%s: '%s' is not a package: %s\n", kCommand, path.c_str(), why);
  return 1;
}

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
  if (!file.IsOpen() || length == UINT64_MAX) {
    SayCannot(kCommand, "read", path);
    return 2;
  }
  if (length < kTrailerSize) return SayNotAPackage(path, "shorter than a trailer");
  if (!ReadPackageTrailer(file, length, &trailer)) {
    SayCannot(kCommand, "read the trailer of", path);
    return 2;
  }
  Md5Digest digest;
  if (!DigestBeforeTrailer(file, length, &digest)) {
    SayCannot(kCommand, "read", path);
    return 2;
  }
  const bool matches = digest == trailer.digest;
  const std::optional<PayloadRange> payload = LocatePayload(length, trailer);
  const std::optional<std::uint64_t> imageEnd = ProgramImageEnd(file);
  if (!matches && (!payload || (imageEnd && length <= *imageEnd))) {
    return SayNotAPackage(path, "no payload and trailer follow the program");
  }
  std::printf("payload offset: %" PRIu32 "\n", trailer.payloadOffset);
  if (payload) {
    std::printf("payload length: %" PRIu64 "\n", payload->length);
  } else {
    std::printf("payload length: none (the offset does not lie before the trailer)\n");
  }
  std::printf("signature: %s\n", FormatSignature(trailer.digest).c_str());
  std::printf("digest: %s\n", matches ? "matches" : "does not match");
  return matches && payload ? 0 : 1;
}
