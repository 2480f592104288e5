// vextool backup: the backup folders the update makes before it deletes the old installation.
#include <cstdio>

#include "app/backup_check.h"
#include "platform/path_split.h"
#include "tools/vextool/backup_verify.h"
#include "tools/vextool/command_line.h"
#include "tools/vextool/standard_output.h"
#include "tools/vextool/tool_messages.h"

namespace {

constexpr CommandHelp kHelp = {
    "vextool backup",
    "the backup folders the update makes before it deletes the old installation",
    "SUBCOMMAND [ARGUMENTS]",
    "Subcommands:\n"
    "  verify BACKUP  whether every folder and file of the backup is there, of the size and\n"
    "                 MD5 digest its manifest gives, and nothing else\n"
    "'vextool backup SUBCOMMAND --help' describes a subcommand. 'vextool restore' puts a\n"
    "backup back.",
    nullptr,
    "that of the subcommand; 64 when the command line cannot be understood.",
    "$ vextool backup verify 'D:\\Backup\\Pelmo 2026-12-07 224608'",
};

constexpr const char kVerifyCommand[] = "vextool backup verify";

const CommandSyntax kVerifySyntax = {
    {kVerifyCommand, "whether a backup folder still holds what its manifest lists", "BACKUP",
     "Reads backup_manifest.txt of the backup folder BACKUP, which the update writes there as\n"
     "it copies, and checks that every folder and file it lists is there, each file of its\n"
     "size and MD5 digest, and that the backup holds nothing else. Each difference is named on\n"
     "standard error; standard output gets one line with the counts.",
     nullptr,
     "0 the backup matches its manifest; 1 it differs; 2 the manifest or a folder cannot be\n"
     "read (or the manifest is not well formed); 64 usage.",
     "$ vextool backup verify 'D:\\Backup\\Pelmo 2026-12-07 224608'\n"
     "D:\\Backup\\Pelmo 2026-12-07 224608\\: 3 parts, 41 folders, 1207 files: match"},
    {},
    {"BACKUP"},
};

int RunBackupVerify(const CommandArguments& arguments, VextoolSink&) {
  CommandLine line;
  if (const std::optional<int> status = ReadCommandLine(arguments, kVerifySyntax, &line)) {
    return *status;
  }
  std::string folder = line.Operand(0);
  BackupManifest manifest;
  const int status = VerifyBackupFolder(kVerifyCommand, &folder, &manifest);
  if (status == 2) return status;
  std::size_t files = 0;
  for (const BackupEntry& entry : manifest.entries) files += entry.folder ? 0 : 1;
  const std::string summary = folder + ": " + std::to_string(manifest.parts.size()) + " parts, " +
                              std::to_string(manifest.entries.size() - files) + " folders, " +
                              std::to_string(files) +
                              " files: " + (status == 0 ? "match" : "differ") + "\n";
  return WriteStandardOutput(summary) ? status : 1;
}

constexpr Subcommand kSubcommands[] = {
    {"verify", RunBackupVerify},
};

}  // namespace

int RunBackupCommand(const CommandArguments& arguments, VextoolSink& sink) {
  return RunSubcommand(kHelp, kSubcommands, arguments, sink);
}

int VerifyBackupFolder(const char* command, std::string* folder, BackupManifest* manifest) {
  const std::string given = *folder;
  *folder = platform::WithTrailingSeparator(*folder);
  std::string error;
  if (!ReadBackupManifest(*folder, manifest, &error)) {
    std::fprintf(stderr, "%s: '%s': %s\n", command, given.c_str(), error.c_str());
    return 2;
  }
  std::vector<BackupDifference> differences;
  std::string failedPath;
  if (!VerifyBackup(*folder, *manifest, &differences, &failedPath)) {
    SayCannot(command, "list", failedPath);
    return 2;
  }
  for (const BackupDifference& difference : differences) {
    std::fprintf(stderr, "%s: %s%s: %s\n", command, folder->c_str(), difference.path.c_str(),
                 DescribeBackupDifference(difference.kind));
  }
  return differences.empty() ? 0 : 1;
}
