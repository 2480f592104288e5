// vextool pkg extract: the payload of an intact package.
#include <cstdio>

#include "app/package_check.h"
#include "platform/file.h"
#include "tools/vextool/pkg_subcommands.h"
#include "tools/vextool/tool_messages.h"

namespace {

const CommandSyntax kSyntax = {
    {"vextool pkg extract", "the payload of an intact package", "FILE -o OUT",
     "Writes the payload of the package FILE to OUT, byte for byte. A package whose digest\n"
     "does not match, or whose payload offset does not lie before the trailer, is refused.",
     "-o, --output OUT  where the payload goes",
     "0 the payload was written; 1 FILE is not an intact package or OUT cannot be written;\n"
     "64 usage.",
     "$ vextool pkg extract Setup.exe -o installer.exe"},
    {RequiredOption("--output", "-o")},
    {"FILE"},
};

}  // namespace

int RunPkgExtract(const CommandArguments& arguments, VextoolSink&) {
  PkgOptions options;
  if (const std::optional<int> status = ParsePkgOptions(arguments, kSyntax, &options)) {
    return *status;
  }

  const std::string& path = options.files[0];
  platform::File package;
  if (!package.Open(path, platform::File::Mode::kReadShared)) {
    SayCannot("vextool pkg extract", "read", path);
    return 1;
  }
  const PackageCheck check = CheckOpenPackage(package);
  if (check.status != PackageStatus::Intact) {
    std::fprintf(stderr, "vextool pkg extract: '%s' is %s\n", path.c_str(),
                 check.status == PackageStatus::SignatureMismatch
                     ? ("damaged (signature " + check.signature + ")").c_str()
                     : "not a readable package");
    return 1;
  }
  platform::File output;
  if (!output.Open(options.output, platform::File::Mode::kCreate)) {
    SayCannot("vextool pkg extract", "write", options.output);
    return 1;
  }
  if (!package.Seek(check.payload.offset) ||
      !CopyFileBytes(package, path, check.payload.length, output, options.output,
                     [](const std::uint8_t*, std::size_t) {})) {
    return 1;
  }
  return 0;
}
