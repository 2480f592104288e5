// vextool pkg build: the setup program, the payload behind it and the trailer.
#include <cstdio>

#include "app/md5.h"
#include "app/package_trailer.h"
#include "platform/file.h"
#include "platform/file_identity.h"
#include "platform/file_system.h"
#include "platform/path_split.h"
#include "platform/process.h"
#include "tools/vextool/pkg_subcommands.h"
#include "tools/vextool/tool_messages.h"

namespace {

constexpr const char kCommand[] = "vextool pkg build";

const CommandSyntax kSyntax = {
    {kCommand, "a package: setup program, payload and trailer", "--setup EXE --payload EXE -o OUT",
     "Writes OUT: the setup program EXE, the payload EXE directly behind it, and the 24-byte\n"
     "trailer (payload offset, a reserved field of zero, the MD5 digest of everything before\n"
     "the trailer). The setup program must be smaller than 4 GiB and the payload not empty.\n"
     "OUT is written under a temporary name beside it and renamed when it is complete, with\n"
     "the permissions of the setup program (so it runs); OUT may not be either input.",
     "--setup EXE          the setup program (Setup.exe, or the console edition's setup)\n"
     "--payload EXE        the new version's installer\n"
     "-o, --output OUT     the package to write",
     "0 the package was written; 1 an input cannot be read, OUT is an input, or OUT cannot be\n"
     "written; 64 usage.",
     "$ vextool pkg build --setup Setup.exe --payload installer.exe -o out/Setup.exe"},
    {RequiredOption("--setup"), RequiredOption("--payload"), RequiredOption("--output", "-o")},
    {},
};

bool OpenInput(const std::string& path, platform::File* file, std::uint64_t* length) {
  if (!file->Open(path, platform::File::Mode::kRead) || (*length = file->Length()) == UINT64_MAX) {
    SayCannot(kCommand, "read", path);
    return false;
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const std::size_t separator = platform::FindLastSeparator(path);
  return separator == std::string::npos ? "." : path.substr(0, separator + 1);
}

// The package, written whole to `temporary`.
bool WritePackage(platform::File& setup, const std::string& setupPath, std::uint64_t setupLength,
                  platform::File& payload, const std::string& payloadPath,
                  std::uint64_t payloadLength, const std::string& temporary) {
  platform::File package;
  if (!package.Open(temporary, platform::File::Mode::kCreate)) {
    SayCannot(kCommand, "write", temporary);
    return false;
  }
  Md5 md5;
  const auto hash = [&md5](const std::uint8_t* piece, std::size_t size) {
    md5.Update(piece, size);
  };
  if (!CopyFileBytes(setup, setupPath, setupLength, package, temporary, hash) ||
      !CopyFileBytes(payload, payloadPath, payloadLength, package, temporary, hash)) {
    return false;
  }
  PackageTrailer trailer;
  trailer.payloadOffset = static_cast<std::uint32_t>(setupLength);
  trailer.digest = md5.Finish();
  std::uint8_t trailerBytes[kTrailerSize];
  EncodeTrailer(trailer, trailerBytes);
  if (!package.Write(trailerBytes, sizeof trailerBytes) || !package.Flush()) {
    SayCannot(kCommand, "write", temporary);
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

  for (const std::string* input : {&options.setup, &options.payload}) {
    if (platform::IsSameFile(*input, options.output)) {
      std::fprintf(stderr, "%s: the output '%s' is the input '%s'; nothing was written\n", kCommand,
                   options.output.c_str(), input->c_str());
      return 1;
    }
  }
  platform::File setup, payload;
  std::uint64_t setupLength = 0, payloadLength = 0;
  if (!OpenInput(options.setup, &setup, &setupLength) ||
      !OpenInput(options.payload, &payload, &payloadLength)) {
    return 1;
  }
  if (setupLength > UINT32_MAX || payloadLength == 0) {
    std::fprintf(stderr, "%s: %s\n", kCommand,
                 payloadLength == 0 ? "the payload is empty"
                                    : "the setup program is too large for the trailer's offset");
    return 1;
  }

  // A package that stops halfway would still look like one by its name.
  const std::string temporary = platform::CreateTempFileName(FolderOf(options.output), "pkg");
  if (temporary.empty()) {
    SayCannot(kCommand, "write in the folder of", options.output);
    return 1;
  }
  const bool written = WritePackage(setup, options.setup, setupLength, payload, options.payload,
                                    payloadLength, temporary);
  if (written && !platform::CopyPermissions(options.setup, temporary)) {
    SayCannot(kCommand, "give the setup program's permissions to", temporary);
  } else if (written && !platform::ReplaceFileAtomically(temporary, options.output)) {
    SayCannot(kCommand, "write", options.output);
  } else if (written) {
    return 0;
  }
  platform::RemoveFile(temporary);
  return 1;
}
