#include "app/backup.h"

#include <cstdio>

#include "app/compact_flash.h"
#include "base/folder_tree.h"
#include "base/installation_paths.h"
#include "base/language.h"
#include "base/message_box.h"
#include "base/messages.h"
#include "app/package_file.h"
#include "migration/generated_files.h"
#include "migration/setup_config.h"
#include "platform/file_system.h"
#include "platform/shell_copy.h"

namespace {

constexpr const char* kWizardsFolder = "D:\\VexFiles\\Wizards\\";
constexpr const char* kShortcutNames[] = {"Vexo rand.lnk", "Vexorand.lnk"};

// The part of a path after its last separator.
std::string FileNameOf(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

}  // namespace

std::string FormatBackupFolderName(const platform::LocalTime& time) {
  char name[64];
  std::snprintf(name, sizeof name, "Pelmo %04u-%02u-%02u %02u%02u%02u\\", time.year % 10000,
                time.month % 100, time.day % 100, time.hour % 100, time.minute % 100,
                time.second % 100);
  return name;
}

void BackUpInstallation(IStepHost& host, int* generatedFilesWarnings) {
  std::string backupPath = ReadSetupValue("BACKUPPATH");
  // A backup onto the card would fill it; the card only receives the package copy.
  if (ResolveCompactFlash(&backupPath) || backupPath.empty()) {
    return;
  }
  if (!platform::IsDirectory(backupPath)) {
    CreateFolderTree(backupPath);
  }
  // BACKUPPATH is expected to end with a backslash; without one the name is glued to its last
  // folder, as it always has been.
  const std::string backupFolder = backupPath + FormatBackupFolderName(platform::ReadLocalTime());
  CreateFolderTree(backupFolder);
  if (!platform::IsDirectory(backupFolder)) {
    return;
  }

  host.StopStepTimer();
  platform::ShellCopy(GetMakerFolder() + "*.*", backupFolder);
  std::string generatedFiles;
  if (LookUpGeneratedFilesOnce(&generatedFiles, generatedFilesWarnings)) {
    if (platform::IsDirectory(generatedFiles)) {
      const std::string installationCopy = backupFolder + ReadSetupValue("PATH");
      if (!platform::IsDirectory(installationCopy)) {
        platform::MakeDirectory(installationCopy);
      }
      platform::ShellCopy(generatedFiles + "*.*", installationCopy + "\\");
    } else {
      host.ShowMessage(Localise(kGeneratedFilesMissing), kMbOk);
    }
  }
  host.StartStepTimer();
}

void ClearInstallation(int* generatedFilesWarnings) {
  std::string generatedFiles;
  if (LookUpGeneratedFilesOnce(&generatedFiles, generatedFilesWarnings) &&
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

void KeepPackage() {
  std::string backupPath = ReadSetupValue("BACKUPPATH");
  // Unlike the backup, the package copy goes onto the card; without a card the path is empty.
  ResolveCompactFlash(&backupPath);
  if (backupPath.empty()) {
    return;
  }
  if (!platform::IsDirectory(backupPath)) {
    CreateFolderTree(backupPath);
  }
  const std::string package = GetPackageFile();
  platform::CopyOneFile(package, backupPath + FileNameOf(package), false);
}
