// vextool restore: puts the old installation back from a backup folder the update made, after an
// update that failed.
#include <cstdio>

#include "app/backup_check.h"
#include "app/backup_copy.h"
#include "app/update_sequencer.h"
#include "base/folder_tree.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/machine_root.h"
#include "platform/named_mutex.h"
#include "platform/path_split.h"
#include "platform/tree_flush.h"
#include "tools/vextool/backup_verify.h"
#include "tools/vextool/command_line.h"
#include "tools/vextool/standard_output.h"
#include "tools/vextool/tool_messages.h"
#include "tools/vextool/vextool_sink.h"

namespace {

constexpr const char kCommand[] = "vextool restore";

const CommandSyntax kSyntax = {
    {kCommand, "puts the old installation back from a backup the update made",
     "--backup BACKUP [--root MACHINE] [--dry-run]",
     "Puts every part of the backup folder BACKUP back where the update found it: the maker\n"
     "folder, the generated-files directory and the wizards folder, as its manifest\n"
     "(backup_manifest.txt) names them. The backup is verified first, every file against its\n"
     "size and MD5 digest; a backup that differs restores nothing. Nothing is done while the\n"
     "control program runs (the mutex the update waits for).\n"
     "Each part is written into a new folder beside its place (<place>.restoring), checked as\n"
     "it is written and put on the disk; only then is the folder found at the place renamed\n"
     "aside (<place> before restore), and the new one renamed into the place. Nothing is\n"
     "deleted: what was there stays in the folder aside, for the technician to keep or remove.\n"
     "Each part's place, folders and files and the folder aside are reported.",
     "--backup BACKUP  the backup folder (D:\\Backup\\Pelmo <date> <time>)\n"
     "--root MACHINE   POSIX edition: the staged machine, a host folder with a folder per\n"
     "                 drive (default: the folder SETUP_ROOT names). The Windows edition\n"
     "                 works on the machine it runs on and takes no --root.\n"
     "--dry-run        change nothing; list what would be restored, file by file",
     "0 restored (with --dry-run: would be); 1 the backup does not match its manifest or cannot\n"
     "be read, or a part cannot be written or renamed (what was done is reported; the place\n"
     "keeps its folder); 2 the control program runs; 64 usage.",
     "$ vextool restore --backup 'D:\\Backup\\Pelmo 2026-12-07 224608'\n"
     "restored C:\\Program Files\\Pelmo: 41 folders, 1207 files\n"
     "  the folder that was there is kept as C:\\Program Files\\Pelmo before restore"},
    {RequiredOption("--backup"), ValueOption("--root"), FlagOption("--dry-run")},
    {},
};

// `name`, or with a number after it when that is taken.
std::string FreeName(const std::string& name) {
  std::string candidate = name;
  for (int number = 2; platform::PathExists(candidate); ++number) {
    candidate = name + "-" + std::to_string(number);
  }
  return candidate;
}

std::string ParentOf(const std::string& path) {
  const std::size_t separator = platform::FindLastSeparator(path);
  return separator == std::string::npos ? "" : path.substr(0, separator);
}

// One part of the backup and where it goes.
struct PartPlan {
  std::size_t index = 0;
  std::string place;  // the part's folder, no trailing backslash
  std::string temporary;
  std::string aside;  // empty when nothing is at the place
  std::size_t folders = 0, files = 0;
};

// Copies one file of the backup into the new folder, checking its bytes against the manifest
// as they are written.
bool RestoreFile(IMessageSink& sink, const std::string& from, const std::string& to,
                 const BackupEntry& entry) {
  platform::File input, output;
  if (!input.Open(from, platform::File::Mode::kRead)) {
    SayCannot(kCommand, "read", from);
    return false;
  }
  if (!CreateFolderTree(sink, ParentOf(to)) ||
      !output.Open(to, platform::File::Mode::kCreateExclusive)) {
    SayCannot(kCommand, "write", to);
    return false;
  }
  Md5 md5;
  std::uint64_t size = 0;
  bool written = true;
  std::vector<char> buffer(1 << 20);
  if (!ReadWholeFile(input, &buffer, [&](const char* piece, std::size_t count) {
        md5.Update(piece, count);
        size += count;
        written = output.Write(piece, count);
        return written;
      })) {
    SayCannot(kCommand, written ? "read" : "write", written ? from : to);
    return false;
  }
  if (size != entry.size || md5.Finish() != entry.digest) {
    std::fprintf(stderr, "%s: '%s' changed while it was restored\n", kCommand, from.c_str());
    return false;
  }
  const std::uint32_t kept = platform::GetAttributes(from) & kBackupKeptAttributes;
  output.CopyTimeStampsFrom(input);
  output.Close();
  if (kept != 0) platform::SetAttributes(to, kept);
  return true;
}

// Writes the part into its new folder, puts it on the disk and renames it into its place.
bool RestorePart(IMessageSink& sink, const std::string& backup, const BackupManifest& manifest,
                 const PartPlan& plan) {
  const std::string& into = manifest.parts[plan.index].into;
  if (!CreateFolderTree(sink, ParentOf(plan.place)) || !platform::MakeDirectory(plan.temporary)) {
    SayCannot(kCommand, "make", plan.temporary);
    return false;
  }
  for (const BackupEntry& entry : manifest.entries) {
    if (entry.part != plan.index) continue;
    const std::string to = plan.temporary + "\\" + entry.path.substr(into.size());
    if (entry.folder ? !CreateFolderTree(sink, to)
                     : !RestoreFile(sink, backup + entry.path, to, entry)) {
      if (entry.folder) SayCannot(kCommand, "make", to);
      std::fprintf(stderr, "%s: %s is unchanged; what was written is in %s\n", kCommand,
                   plan.place.c_str(), plan.temporary.c_str());
      return false;
    }
  }
  if (!platform::FlushTree(plan.temporary)) {
    SayCannot(kCommand, "flush", plan.temporary);
    return false;
  }
  if (!plan.aside.empty() && !platform::MoveToNewName(plan.place, plan.aside)) {
    SayCannot(kCommand, "rename", plan.place);
    return false;
  }
  if (!platform::MoveToNewName(plan.temporary, plan.place)) {
    SayCannot(kCommand, "rename", plan.temporary);
    if (!plan.aside.empty()) platform::MoveToNewName(plan.aside, plan.place);
    return false;
  }
  return true;
}

std::vector<PartPlan> PlanParts(const BackupManifest& manifest) {
  std::vector<PartPlan> plans;
  for (std::size_t index = 0; index < manifest.parts.size(); ++index) {
    PartPlan plan;
    plan.index = index;
    plan.place = platform::WithoutTrailingSeparators(manifest.parts[index].source);
    plan.temporary = FreeName(plan.place + ".restoring");
    if (platform::PathExists(plan.place)) plan.aside = FreeName(plan.place + " before restore");
    for (const BackupEntry& entry : manifest.entries) {
      if (entry.part == index) ++(entry.folder ? plan.folders : plan.files);
    }
    plans.push_back(plan);
  }
  return plans;
}

std::string Counts(const PartPlan& plan) {
  return std::to_string(plan.folders) + " folders, " + std::to_string(plan.files) + " files\n";
}

// What a dry run lists: each part's place and way, then every file it would get.
std::string DryRunText(const BackupManifest& manifest, const std::vector<PartPlan>& plans) {
  std::string text;
  for (const PartPlan& plan : plans) {
    text += "would restore " + plan.place + ": " + Counts(plan);
    text += "  written into " + plan.temporary + ", then renamed into place\n";
    if (!plan.aside.empty()) text += "  the folder there now would be kept as " + plan.aside + "\n";
    const std::string& into = manifest.parts[plan.index].into;
    for (const BackupEntry& entry : manifest.entries) {
      if (entry.part == plan.index && !entry.folder) {
        text += "    " + plan.place + "\\" + entry.path.substr(into.size()) + "\n";
      }
    }
  }
  return text;
}

}  // namespace

int RunRestoreCommand(const CommandArguments& arguments, VextoolSink& sink) {
  CommandLine line;
  if (const std::optional<int> status = ReadCommandLine(arguments, kSyntax, &line)) return *status;
  if (line.Has("--root") && !platform::UseMachineRoot(line.Value("--root"))) {
    return CommandUsageError(kSyntax.help,
                             "'--root' names a staged machine, which this edition "
                             "has not: its paths are this machine's");
  }
  std::string backup = line.Value("--backup");
  BackupManifest manifest;
  if (VerifyBackupFolder(kCommand, &backup, &manifest) != 0) {
    std::fprintf(stderr, "%s: '%s' does not match its manifest; nothing was restored\n", kCommand,
                 backup.c_str());
    return 1;
  }
  bool alreadyExisted = false;
  platform::MutexHandle mutex =
      platform::CreateNamedMutex(kControlProgramMutexName, &alreadyExisted);
  if (alreadyExisted) {
    platform::CloseNamedMutex(&mutex);
    std::fprintf(stderr, "%s: the control program runs; end it first. Nothing was restored\n",
                 kCommand);
    return 2;
  }
  const std::vector<PartPlan> plans = PlanParts(manifest);
  if (line.Has("--dry-run")) {
    platform::CloseNamedMutex(&mutex);
    return WriteStandardOutput(DryRunText(manifest, plans)) ? 0 : 1;
  }
  bool restored = true;
  std::string report;
  for (const PartPlan& plan : plans) {
    if (!RestorePart(sink, backup, manifest, plan)) {
      restored = false;
      break;
    }
    report += "restored " + plan.place + ": " + Counts(plan);
    if (!plan.aside.empty())
      report += "  the folder that was there is kept as " + plan.aside + "\n";
  }
  platform::CloseNamedMutex(&mutex);
  return WriteStandardOutput(report) && restored ? 0 : 1;
}
