#include "app/backup.h"

#include <cstdio>
#include <iterator>

#include "app/backup_check.h"
#include "app/backup_copy.h"
#include "app/compact_flash.h"
#include "app/package_file.h"
#include "base/folder_tree.h"
#include "base/installation_paths.h"
#include "base/message_box.h"
#include "base/messages.h"
#include "base/multibyte_case.h"
#include "base/setup_run.h"
#include "base/system_reason.h"
#include "base/text_format.h"
#include "migration/generated_files.h"
#include "platform/file_system.h"
#include "platform/path_split.h"
#include "platform/text_encoding.h"
#include "platform/tree_flush.h"

namespace {

constexpr const char* kWizardsFolder = "D:\\VexFiles\\Wizards\\";
// Where the wizards folder goes in a backup: beside the maker folder's contents, under a name the
// maker folder does not use.
constexpr const char* kWizardsBackupFolder = "VexFiles\\Wizards\\";
constexpr const char* kShortcutNames[] = {"Vexo rand.lnk", "Vexorand.lnk"};

// The long form of a path that may not exist yet: its existing part in long form, the rest as
// written. Short and long names of one folder then compare equal.
std::string LongFormOfPossiblyMissing(const std::string& path) {
  std::string head = platform::WithoutTrailingSeparators(path);
  std::string tail = path.substr(head.size());
  while (!head.empty()) {
    const std::string longForm = platform::GetLongPathForm(head);
    if (!longForm.empty()) {
      std::string joined = longForm;
      if (!tail.empty() && tail[0] != '\\' && !platform::EndsWithSeparator(joined)) joined += "\\";
      return joined + tail;
    }
    const std::size_t separator = platform::FindLastSeparator(head);
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
  if (!platform::EndsWithSeparator(inner)) inner += "\\";
  if (!platform::EndsWithSeparator(outer)) outer += "\\";
  return inner.compare(0, outer.size(), outer) == 0;
}

// A file left by the clearing may be one the control program's helper still holds open; the
// technician must know which, as the new version installs beside it.
void ReportNotDeleted(IMessageSink& sink, const std::vector<std::string>& notDeleted) {
  constexpr std::size_t kNamesShown = 10;
  std::string names;
  for (std::size_t i = 0; i < notDeleted.size(); ++i) {
    sink.WriteLogFormatted("|E|The clearing could not delete %s\n", notDeleted[i].c_str());
    if (i < kNamesShown) {
      names += "\n" + platform::SystemTextToUtf8(notDeleted[i]);
    }
  }
  if (notDeleted.size() > kNamesShown) {
    names += "\n...";
  }
  sink.ShowMessage(FormatText(sink.Localise(kClearingLeftFiles), names.c_str()),
                   kMbOk | kMbIconExclamation);
}

// What is at `path`; when the disk cannot tell, the log says why.
platform::PathKind LookAt(IMessageSink& sink, const std::string& path) {
  const platform::PathKind kind = platform::QueryPath(path);
  if (kind == platform::PathKind::kUnknown) {
    sink.WriteLogFormatted("|E|The clearing could not look at %s: %s\n", path.c_str(),
                           LastErrorReason().c_str());
  }
  return kind;
}

// Deletes `folder` past what will not go. A folder the disk cannot look at may still hold the old
// installation, so it counts as left.
void ClearFolder(IMessageSink& sink, const std::string& folder,
                 std::vector<std::string>* notDeleted) {
  switch (LookAt(sink, folder)) {
    case platform::PathKind::kFolder:
      DeleteTreePastFailures(sink, platform::WithoutTrailingSeparators(folder, 1), notDeleted);
      break;
    case platform::PathKind::kUnknown:
      notDeleted->push_back(platform::WithoutTrailingSeparators(folder, 1));
      break;
    case platform::PathKind::kMissing:
    case platform::PathKind::kFile:
      break;
  }
}

BackupOutcome Failed(IMessageSink& sink, const std::string& folder, const std::string& reason) {
  BackupOutcome outcome;
  outcome.status = BackupOutcome::Status::kFailed;
  outcome.folder = folder;
  outcome.reason = reason;
  sink.WriteLogFormatted("|E|Backup into %s failed: %s\n", folder.c_str(), reason.c_str());
  return outcome;
}

std::string WithBackslash(const std::string& path) {
  return platform::WithTrailingSeparator(platform::WithoutTrailingSeparators(path));
}

BackupOutcome FailedAt(IMessageSink& sink, const std::string& folder, const std::string& path) {
  return Failed(sink, folder, platform::SystemTextToUtf8(path) + ": " + LastErrorReason());
}

// Makes `folder` (trailing backslash) with the folders above it. A folder of that name is an
// earlier run's backup, made in the same second, which must stay as it is: the name then gets a
// number ("-2", "-3", ...).
bool MakeNewBackupFolder(IMessageSink& sink, std::string* folder) {
  const std::string base = folder->substr(0, folder->size() - 1);
  const std::size_t parent = platform::FindLastSeparator(base);
  if (parent != std::string::npos && parent > 2) CreateFolderTree(sink, base.substr(0, parent));
  for (int number = 1; number < 100; ++number) {
    const std::string candidate = number == 1 ? base : base + "-" + std::to_string(number);
    if (platform::MakeDirectory(candidate)) {
      *folder = candidate + "\\";
      return true;
    }
    if (platform::LastErrorCode() != platform::kErrorAlreadyExists) return false;
  }
  return false;
}

// The backup on the disk and against the installation: its manifest reads back as written, and
// the backup and the folders it was made of hold what the manifest lists.
BackupOutcome CheckBackup(IStepHost& host, const std::string& backupFolder,
                          const BackupManifest& copied) {
  if (!platform::FlushTree(backupFolder)) return FailedAt(host, backupFolder, backupFolder);
  std::string text;
  if (!ReadBackupManifestText(backupFolder, &text)) {
    return FailedAt(host, backupFolder, backupFolder + kBackupManifestName);
  }
  BackupManifest written;
  std::string error;
  std::vector<BackupDifference> differences;
  std::string failedPath;
  // The bytes on the disk must be those written, not only mean the same.
  if (ParseBackupManifest(text, &written, &error) && text != FormatBackupManifest(copied)) {
    error = "not what was written";
  }
  if (!error.empty()) {
    host.WriteLogFormatted("|E|Backup manifest %s%s: %s\n", backupFolder.c_str(),
                           kBackupManifestName, error.c_str());
    differences.push_back({BackupDifference::Kind::kUnreadable, kBackupManifestName});
  } else if (!CompareBackupWithSources(backupFolder, written, &differences, &failedPath)) {
    return FailedAt(host, backupFolder, failedPath);
  }
  for (const BackupDifference& difference : differences) {
    host.WriteLogFormatted("|E|Backup %s%s: %s\n", backupFolder.c_str(), difference.path.c_str(),
                           DescribeBackupDifference(difference.kind));
  }
  if (!differences.empty()) {
    return Failed(host, backupFolder,
                  FormatText(host.Localise(kBackupDoesNotMatch),
                             platform::SystemTextToUtf8(differences[0].path).c_str()));
  }
  BackupOutcome outcome;
  outcome.status = BackupOutcome::Status::kMade;
  outcome.folder = backupFolder;
  return outcome;
}

// Copies the maker folder, the generated files and the wizards into `backupFolder`, writes the
// manifest, and checks the whole.
BackupOutcome CopyAndCheck(IStepHost& host, const std::string& backupFolder,
                           bool generatedFilesNamed, const std::string& generatedFiles) {
  BackupCopier copier(host, backupFolder);
  std::string failedPath;
  const InstallationLayout& layout = host.Run().layout;
  // A folder the disk cannot say is there is no folder to leave out of the backup.
  const auto query = [&failedPath](const std::string& path) {
    const platform::PathKind kind = platform::QueryPath(path);
    if (kind == platform::PathKind::kUnknown) failedPath = path;
    return kind;
  };
  // After a cut-off run the maker folder may be gone already: what is not there needs no copy.
  const platform::PathKind maker = query(layout.makerFolder);
  bool copied = maker == platform::PathKind::kMissing ||
                (maker == platform::PathKind::kFolder &&
                 copier.CopyPart(layout.makerFolder, "", &failedPath));
  if (copied && generatedFilesNamed) {
    const platform::PathKind generated = query(generatedFiles);
    if (generated == platform::PathKind::kFolder) {
      copied = copier.CopyPart(WithBackslash(generatedFiles), WithBackslash(layout.pathValue),
                               &failedPath);
    } else if (generated == platform::PathKind::kUnknown) {
      copied = false;
    } else {
      host.ShowMessage(host.Localise(kGeneratedFilesMissing), kMbOk);
    }
  }
  if (copied) {
    const platform::PathKind wizards = query(kWizardsFolder);
    copied = wizards != platform::PathKind::kUnknown &&
             (wizards != platform::PathKind::kFolder ||
              copier.CopyPart(kWizardsFolder, kWizardsBackupFolder, &failedPath));
  }
  if (!copied) return FailedAt(host, backupFolder, failedPath);
  if (!WriteBackupManifest(backupFolder, copier.manifest())) {
    return FailedAt(host, backupFolder, backupFolder + kBackupManifestName);
  }
  return CheckBackup(host, backupFolder, copier.manifest());
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
  const InstallationLayout& layout = host.Run().layout;
  std::string backupPath = layout.backupPathValue;
  // A backup onto the card would fill it; the card only receives the package copy.
  if (ResolveCompactFlash(host.Run(), &backupPath) || backupPath.empty()) {
    return BackupOutcome();
  }
  // BACKUPPATH is expected to end with a backslash; without one the name is glued to its last
  // folder, as it always has been.
  std::string backupFolder = backupPath + FormatBackupFolderName(platform::ReadLocalTime());
  std::string generatedFiles;
  const GeneratedFilesLookup lookup =
      LookUpGeneratedFilesOnce(host, &generatedFiles, generatedFilesWarnings);
  // Taken for none, the generated files would be left out of the backup and then deleted.
  if (lookup == GeneratedFilesLookup::kUnreadable) {
    return FailedAt(host, backupFolder, generatedFiles);
  }
  const bool generatedFilesNamed = lookup == GeneratedFilesLookup::kFound;
  // The clearing would delete such a backup together with what it holds.
  for (const std::string& deleted : {layout.makerFolder, std::string(kWizardsFolder),
                                     generatedFilesNamed ? generatedFiles : std::string()}) {
    if (!deleted.empty() && LiesInside(backupFolder, deleted)) {
      return Failed(host, backupFolder, host.Localise(kBackupInsideClearedFolders));
    }
  }
  if (!platform::IsDirectory(backupPath)) {
    CreateFolderTree(host, backupPath);
  }
  if (!MakeNewBackupFolder(host, &backupFolder)) {
    return Failed(host, backupFolder, LastErrorReason());
  }

  host.StopStepTimer();
  BackupOutcome outcome = CopyAndCheck(host, backupFolder, generatedFilesNamed, generatedFiles);
  host.StartStepTimer();
  return outcome;
}

std::vector<std::string> ClearInstallation(IMessageSink& sink, int* generatedFilesWarnings) {
  std::vector<std::string> notDeleted;
  std::string generatedFiles;
  std::vector<std::string> folders;
  const GeneratedFilesLookup lookup =
      LookUpGeneratedFilesOnce(sink, &generatedFiles, generatedFilesWarnings);
  if (lookup == GeneratedFilesLookup::kUnreadable) {
    // The generated-files folder stays wherever it is; what could not be read stands for it.
    sink.WriteLogFormatted("|E|The generated-files folder named in %s is not known: %s\n",
                           generatedFiles.c_str(), LastErrorReason().c_str());
    notDeleted.push_back(generatedFiles);
  } else if (lookup == GeneratedFilesLookup::kFound) {
    folders.push_back(generatedFiles);
  }
  folders.push_back(sink.Run().layout.makerFolder);
  folders.push_back(kWizardsFolder);
  for (const std::string& folder : folders) {
    if (!folder.empty()) ClearFolder(sink, folder, &notDeleted);
  }
  for (const std::string& shortcutFolder : {GetDesktopFolder(), GetProgramsFolder()}) {
    // Shortcuts in a folder the system does not name may still be there; they go by name alone.
    if (shortcutFolder.empty()) {
      sink.WriteLogFormatted("|E|The clearing could not find a shortcut folder: %s\n",
                             LastErrorReason().c_str());
      notDeleted.insert(notDeleted.end(), std::begin(kShortcutNames), std::end(kShortcutNames));
      continue;
    }
    for (const char* shortcut : kShortcutNames) {
      const std::string file = shortcutFolder + shortcut;
      if (!platform::RemoveFile(file) && LookAt(sink, file) != platform::PathKind::kMissing) {
        notDeleted.push_back(file);
      }
    }
  }
  // The maker folder is walked in its short form; the technician knows the long names.
  for (std::string& path : notDeleted) {
    const std::string longForm = platform::GetLongPathForm(path);
    if (!longForm.empty()) path = longForm;
  }
  if (!notDeleted.empty()) {
    ReportNotDeleted(sink, notDeleted);
  }
  return notDeleted;
}

PackageCopyOutcome KeepPackage(IMessageSink& sink) {
  SetupRun& run = sink.Run();
  std::string backupPath = run.layout.backupPathValue;
  // Unlike the backup, the package copy goes onto the card; without a card the path is empty.
  ResolveCompactFlash(run, &backupPath);
  PackageCopyOutcome outcome;
  if (backupPath.empty()) {
    return outcome;
  }
  const std::string package = GetPackageFile(run);
  outcome.path = backupPath + platform::FileNameOf(package);
  outcome.written =
      CreateFolderTree(sink, backupPath) && platform::CopyOneFile(package, outcome.path, false);
  if (!outcome.written) outcome.reason = LastErrorReason();
  return outcome;
}
