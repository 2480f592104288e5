// vextool pkg build: the setup program, the payload behind it and the trailer.
#include <cstdio>

#include "app/md5.h"
#include "app/package_trailer.h"
#include "platform/file.h"
#include "tools/vextool/pkg_subcommands.h"

namespace {

const CommandSyntax kSyntax = {
    {"vextool pkg build", "a package: setup program, payload and trailer",
     "--setup EXE --payload EXE -o OUT",
     "Writes OUT: the setup program EXE, the payload EXE directly behind it, and the 24-byte\n"
     "trailer (payload offset, a reserved field of zero, the MD5 digest of everything before\n"
     "the trailer). The setup program must be smaller than 4 GiB and the payload not empty.",
     "--setup EXE          the setup program (Setup.exe, or the console edition's setup)\n"
     "--payload EXE        the new version's installer\n"
     "-o, --output OUT     the package to write",
     "0 the package was written; 1 an input cannot be read or OUT cannot be written; 64 usage.",
     "$ vextool pkg build --setup Setup.exe --payload installer.exe -o out/Setup.exe"},
    {RequiredOption("--setup"), RequiredOption("--payload"), RequiredOption("--output", "-o")},
    {},
};

bool OpenInput(const std::string& path, platform::File* file, std::uint64_t* length) {
  if (!file->Open(path, platform::File::Mode::kRead) || (*length = file->Length()) == UINT64_MAX) {
    std::fprintf(stderr, "vextool pkg build: cannot read '%s'\n", path.c_str());
    return false;
  }
  return true;
}

}  // namespace

int RunPkgBuild(const CommandArguments& arguments, VextoolSink&) {
  PkgOptions options;
  if (const std::optional<int> status = ParsePkgOptions(arguments, kSyntax, &options)) {
    return *status;
  }

  platform::File setup, payload;
  std::uint64_t setupLength = 0, payloadLength = 0;
  if (!OpenInput(options.setup, &setup, &setupLength) ||
      !OpenInput(options.payload, &payload, &payloadLength)) {
    return 1;
  }
  if (setupLength > UINT32_MAX || payloadLength == 0) {
    std::fprintf(stderr, "vextool pkg build: %s\n",
                 payloadLength == 0 ? "the payload is empty"
                                    : "the setup program is too large for the trailer's offset");
    return 1;
  }

  platform::File package;
  if (!package.Open(options.output, platform::File::Mode::kCreate)) {
    std::fprintf(stderr, "vextool pkg build: cannot write '%s'\n", options.output.c_str());
    return 1;
  }
  Md5 md5;
  const auto hash = [&md5](const std::uint8_t* piece, std::size_t size) {
    md5.Update(piece, size);
  };
  if (!CopyFileBytes(setup, options.setup, setupLength, package, options.output, hash) ||
      !CopyFileBytes(payload, options.payload, payloadLength, package, options.output, hash)) {
    return 1;
  }
  PackageTrailer trailer;
  trailer.payloadOffset = static_cast<std::uint32_t>(setupLength);
  trailer.digest = md5.Finish();
  std::uint8_t trailerBytes[kTrailerSize];
  EncodeTrailer(trailer, trailerBytes);
  if (!package.Write(trailerBytes, sizeof trailerBytes)) {
    std::fprintf(stderr, "vextool pkg build: cannot write '%s'\n", options.output.c_str());
    return 1;
  }
  return 0;
}
