#include "app/backup.h"

#include <cstdio>

#include "app/compact_flash.h"
#include "app/package_file.h"
#include "base/folder_tree.h"
#include "base/installation_paths.h"
#include "base/message_box.h"
#include "base/messages.h"
#include "base/multibyte_case.h"
#include "migration/generated_files.h"
#include "migration/setup_config.h"
#include "platform/file_system.h"
#include "platform/setup_api.h"
#include "platform/shell_copy.h"
#include "platform/text_encoding.h"

namespace {

constexpr const char* kWizardsFolder = "D:\\VexFiles\\Wizards\\";
// Where the wizards folder goes in a backup: beside the maker folder's contents, under a name the
// maker folder does not use.
constexpr const char* kWizardsBackupFolder = "VexFiles\\Wizards\\";
constexpr const char* kShortcutNames[] = {"Vexo rand.lnk", "Vexorand.lnk"};

// The part of a path after its last separator.
std::string FileNameOf(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

// The long form of a path that may not exist yet: its existing part in long form, the rest as
// written. Short and long names of one folder then compare equal.
std::string LongFormOfPossiblyMissing(const std::string& path) {
  std::string head = path;
  while (!head.empty() && (head.back() == '\\' || head.back() == '/')) head.pop_back();
  std::string tail = path.substr(head.size());
  while (!head.empty()) {
    const std::string longForm = platform::GetLongPathForm(head);
    if (!longForm.empty()) {
      std::string joined = longForm;
      if (!tail.empty() && tail[0] != '\\' && joined.back() != '\\') joined += "\\";
      return joined + tail;
    }
    const std::size_t separator = head.find_last_of("\\/");
    if (separator == std::string::npos) break;
    tail = head.substr(separator) + tail;
    head.erase(separator);
  }
  return path;
}

// Whether `path` is `folder` or lies below it, letter case aside.
bool LiesInside(const std::string& path, const std::string& folder) {
  std::string inner = ToUpperMultiByte(LongFormOfPossiblyMissing(path));
  std::string outer = ToUpperMultiByte(LongFormOfPossiblyMissing(folder));
  if (inner.empty() || inner.back() != '\\') inner += "\\";
  if (outer.empty() || outer.back() != '\\') outer += "\\";
  return inner.compare(0, outer.size(), outer) == 0;
}

std::string SystemReason() {
  return platform::SystemTextToUtf8(platform::SystemErrorText(platform::LastErrorCode()));
}

BackupOutcome Failed(IMessageSink& sink, const std::string& folder, const std::string& reason) {
  BackupOutcome outcome;
  outcome.status = BackupOutcome::Status::kFailed;
  outcome.folder = folder;
  outcome.reason = reason;
  sink.WriteLogFormatted("|E|Backup into %s failed: %s\n", folder.c_str(), reason.c_str());
  return outcome;
}

// Copies the contents of `from` (ending in a backslash) into `to`, made if missing.
bool CopyContents(const std::string& from, const std::string& to) {
  if (!platform::IsDirectory(to)) CreateFolderTree(to);
  return platform::IsDirectory(to) && platform::ShellCopy(from + "*.*", to);
}

}  // namespace

std::string FormatBackupFolderName(const platform::LocalTime& time) {
  char name[64];
  std::snprintf(name, sizeof name, "Pelmo %04u-%02u-%02u %02u%02u%02u\\", time.year % 10000,
                time.month % 100, time.day % 100, time.hour % 100, time.minute % 100,
                time.second % 100);
  return name;
}

BackupOutcome BackUpInstallation(IStepHost& host, int* generatedFilesWarnings) {
  std::string backupPath = ReadSetupValue("BACKUPPATH");
  // A backup onto the card would fill it; the card only receives the package copy.
  if (ResolveCompactFlash(&backupPath) || backupPath.empty()) {
    return BackupOutcome();
  }
  // BACKUPPATH is expected to end with a backslash; without one the name is glued to its last
  // folder, as it always has been.
  const std::string backupFolder = backupPath + FormatBackupFolderName(platform::ReadLocalTime());
  std::string generatedFiles;
  const bool generatedFilesNamed =
      LookUpGeneratedFilesOnce(host, &generatedFiles, generatedFilesWarnings);
  // The clearing would delete such a backup together with what it holds.
  for (const std::string& deleted : {GetMakerFolder(), std::string(kWizardsFolder),
                                     generatedFilesNamed ? generatedFiles : std::string()}) {
    if (!deleted.empty() && LiesInside(backupFolder, deleted)) {
      return Failed(host, backupFolder, host.Localise(kBackupInsideClearedFolders));
    }
  }
  if (!platform::IsDirectory(backupPath)) {
    CreateFolderTree(backupPath);
  }
  CreateFolderTree(backupFolder);
  if (!platform::IsDirectory(backupFolder)) {
    return Failed(host, backupFolder, SystemReason());
  }

  BackupOutcome outcome;
  outcome.status = BackupOutcome::Status::kMade;
  outcome.folder = backupFolder;
  host.StopStepTimer();
  // After a cut-off run the maker folder may be gone already: what is not there needs no copy.
  bool copied = !platform::IsDirectory(GetMakerFolder()) ||
                platform::ShellCopy(GetMakerFolder() + "*.*", backupFolder);
  if (copied && generatedFilesNamed) {
    if (platform::IsDirectory(generatedFiles)) {
      const std::string installationCopy = backupFolder + ReadSetupValue("PATH");
      if (!platform::IsDirectory(installationCopy)) {
        platform::MakeDirectory(installationCopy);
      }
      copied = platform::ShellCopy(generatedFiles + "*.*", installationCopy + "\\");
    } else {
      host.ShowMessage(host.Localise(kGeneratedFilesMissing), kMbOk);
    }
  }
  if (copied && platform::IsDirectory(kWizardsFolder)) {
    copied = CopyContents(kWizardsFolder, backupFolder + kWizardsBackupFolder);
  }
  if (!copied) {
    outcome = Failed(host, backupFolder, SystemReason());
  }
  host.StartStepTimer();
  return outcome;
}

void ClearInstallation(IMessageSink& sink, int* generatedFilesWarnings) {
  std::string generatedFiles;
  if (LookUpGeneratedFilesOnce(sink, &generatedFiles, generatedFilesWarnings) &&
      platform::IsDirectory(generatedFiles)) {
    DeleteTree(generatedFiles);
  }
  for (const std::string& folder : {GetMakerFolder(), std::string(kWizardsFolder)}) {
    if (platform::IsDirectory(folder)) {
      DeleteTree(folder);
    }
  }
  for (const std::string& shortcutFolder : {GetDesktopFolder(), GetProgramsFolder()}) {
    for (const char* shortcut : kShortcutNames) {
      platform::RemoveFile(shortcutFolder + shortcut);
    }
  }
}

PackageCopyOutcome KeepPackage() {
  std::string backupPath = ReadSetupValue("BACKUPPATH");
  // Unlike the backup, the package copy goes onto the card; without a card the path is empty.
  ResolveCompactFlash(&backupPath);
  PackageCopyOutcome outcome;
  if (backupPath.empty()) {
    return outcome;
  }
  if (!platform::IsDirectory(backupPath)) {
    CreateFolderTree(backupPath);
  }
  const std::string package = GetPackageFile();
  outcome.path = backupPath + FileNameOf(package);
  outcome.written = platform::CopyOneFile(package, outcome.path, false);
  return outcome;
}
