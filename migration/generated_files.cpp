#include "migration/generated_files.h"

#include <cstdint>
#include <functional>
#include <optional>

#include "base/folder_tree.h"
#include "base/message_styles.h"
#include "base/messages.h"
#include "base/path_compose.h"
#include "base/setup_run.h"
#include "base/text_format.h"
#include "platform/ascii_characters.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/setup_api.h"
#include "platform/shell_copy.h"
#include "platform/text_encoding.h"

namespace {

const char kActiveConfig[] = "ActiveConfig";
const char kBaseKey[] = "ActiveGenerateBaseDir";
const char kFolderKey[] = "ActiveGeneratePath";
const char kSeparatedFolder[] = "Pelmo";
const char kCopyTitle[] = "Copy files";

GeneratedFilesLookup Unreadable(const std::string& path, std::string* directory) {
  *directory = path;
  return GeneratedFilesLookup::kUnreadable;
}

// The shared lookup; `report` says whether a wrong directory is to be shown this time.
GeneratedFilesLookup LookUp(IMessageSink& sink, std::string* directory,
                            const std::function<bool()>& report) {
  directory->clear();
  const std::optional<std::string> settingsFolder =
      ComposePath(sink, {sink.Run().layout.installationFolder, "Config\\"});
  if (!settingsFolder) {
    return GeneratedFilesLookup::kNone;
  }
  const platform::PathKind folderKind = platform::QueryPath(*settingsFolder);
  if (folderKind == platform::PathKind::kUnknown) {
    return Unreadable(*settingsFolder, directory);
  }
  if (folderKind != platform::PathKind::kFolder) {
    return GeneratedFilesLookup::kNone;
  }
  const std::optional<std::string> settings = ComposePath(sink, {*settingsFolder, "Config.ini"});
  if (!settings) {
    return GeneratedFilesLookup::kNone;
  }
  const platform::PathKind settingsKind = platform::QueryPath(*settings);
  if (settingsKind == platform::PathKind::kMissing) {
    return GeneratedFilesLookup::kNone;
  }
  // Unread keys would read as none configured.
  if (settingsKind == platform::PathKind::kUnknown || !platform::IsProfileReadable(*settings)) {
    return Unreadable(*settings, directory);
  }
  std::string base = platform::ReadProfileString(kActiveConfig, kBaseKey, "", *settings);
  if (base.empty()) {
    return GeneratedFilesLookup::kNone;
  }
  base += "\\";
  const std::string folder = platform::ReadProfileString(kActiveConfig, kFolderKey, "", *settings);
  if (folder.empty()) {
    if (report()) {
      sink.ShowMessage(FormatText(sink.Localise(kWrongGeneratedDirectory),
                                  platform::SystemTextToUtf8(base).c_str()),
                       kMbOk | kMbIconExclamation);
    }
    return GeneratedFilesLookup::kNone;
  }
  const std::optional<std::string> composed = ComposePath(sink, {base, folder, "\\"});
  if (!composed) {
    return GeneratedFilesLookup::kNone;
  }
  *directory = *composed;
  return GeneratedFilesLookup::kFound;
}

// After the clearing nothing is undone: the technician must learn what stayed where.
bool SeparationFailed(IMessageSink& sink, const std::string& path, std::uint32_t error) {
  const std::string reason = platform::SystemErrorText(error);
  sink.WriteLogFormatted("|E|Separating the generated files failed at %s: %s\n", path.c_str(),
                         reason.c_str());
  sink.ShowMessage(
      FormatText(sink.Localise(kSeparationFailed), platform::SystemTextToUtf8(path).c_str(),
                 platform::SystemTextToUtf8(reason).c_str()),
      kMbOk | kMbIconExclamation);
  return false;
}

}  // namespace

GeneratedFilesLookup LookUpGeneratedFiles(IMessageSink& sink, std::string* directory) {
  return LookUp(sink, directory, [] { return true; });
}

GeneratedFilesLookup LookUpGeneratedFilesOnce(IMessageSink& sink, std::string* directory,
                                              int* warningCount) {
  return LookUp(sink, directory, [warningCount] { return (*warningCount)++ == 0; });
}

bool FindAnotherFixedDrive(char* letter, char excluded) {
  const char excludedUpper = platform::ToAsciiUpper(excluded);
  const int first = *letter - 'A';
  if (first < 0 || first >= 32) {
    return false;
  }
  std::uint32_t mask = platform::GetLogicalDriveMask() >> first;
  for (char current = *letter; mask != 0; mask >>= 1, ++current) {
    if ((mask & 1) == 0 || current == excludedUpper) {
      continue;
    }
    if (platform::GetDriveKind(std::string(1, current) + ":") == platform::DriveType::kFixed) {
      *letter = current;
      return true;
    }
  }
  return false;
}

bool SeparateGeneratedFiles(IMessageSink& sink) {
  const std::optional<std::string> settingsFolder =
      ComposePath(sink, {sink.Run().layout.installationFolder, "Config"});
  const std::optional<std::string> settings =
      settingsFolder ? ComposePath(sink, {*settingsFolder, "\\config.ini"}) : std::nullopt;
  if (!settings) {
    return true;
  }
  char drive = 'A';
  if (!FindAnotherFixedDrive(&drive, (*settings)[0])) {
    sink.ShowMessage(sink.Localise(kNoOtherDrive), kMbOk | kMbIconExclamation);
    return true;
  }
  // Settings that cannot be read would be put back empty, and the control program would no
  // longer find its generated files.
  const platform::PathKind settingsKind = platform::QueryPath(*settings);
  if (settingsKind == platform::PathKind::kUnknown ||
      (settingsKind != platform::PathKind::kMissing && !platform::IsProfileReadable(*settings))) {
    return SeparationFailed(sink, *settings, platform::LastErrorCode());
  }
  const std::string previousBase =
      platform::ReadProfileString(kActiveConfig, kBaseKey, "", *settings);
  const std::string previousFolder =
      platform::ReadProfileString(kActiveConfig, kFolderKey, "", *settings);
  const auto restoreSettings = [&] {
    platform::WriteProfileStringAtomically(kActiveConfig, kBaseKey, previousBase, *settings);
    platform::WriteProfileStringAtomically(kActiveConfig, kFolderKey, previousFolder, *settings);
  };
  // Settings that do not point at the copy would leave the control program an empty folder.
  if (!platform::WriteProfileStringAtomically(kActiveConfig, kBaseKey, std::string(1, drive) + ":",
                                              *settings) ||
      !platform::WriteProfileStringAtomically(kActiveConfig, kFolderKey, kSeparatedFolder,
                                              *settings)) {
    const std::uint32_t error = platform::LastErrorCode();
    restoreSettings();
    return SeparationFailed(sink, *settings, error);
  }

  const std::string separated = std::string(1, drive) + ":\\" + kSeparatedFolder;
  if (!platform::IsDirectory(separated + "\\")) {
    platform::MakeDirectory(separated);
  }
  platform::SetAttributes(separated + "\\", platform::kAttributeHidden);
  const std::string destination = separated + "\\Config\\";
  if (!platform::IsDirectory(destination)) {
    platform::MakeDirectory(separated + "\\Config");
  }

  // The settings folder holds the configurations' parameters: it goes only once it is copied.
  if (!platform::ShellCopy(*settingsFolder + "\\*.*", destination, kCopyTitle)) {
    const std::uint32_t error = platform::LastErrorCode();
    restoreSettings();
    sink.WriteLogFormatted("|E|Copying %s to %s failed, generated files stay in place\n",
                           settingsFolder->c_str(), destination.c_str());
    return SeparationFailed(sink, *settingsFolder, error);
  }
  const platform::PathKind folderKind = platform::QueryPath(*settingsFolder + "\\");
  if (folderKind == platform::PathKind::kUnknown) {
    // Copied but not emptied: the files are twice on the disk, never nowhere.
    return SeparationFailed(sink, *settingsFolder, platform::LastErrorCode());
  }
  if (folderKind == platform::PathKind::kFolder) {
    DeleteTree(sink, *settingsFolder);
  }
  platform::MakeDirectory(*settingsFolder);
  // The copy in the generated-files folder is the only one left until the copy back succeeded.
  if (platform::ShellCopy(destination + "config.ini", *settingsFolder, kCopyTitle) &&
      platform::QueryPath(*settings) == platform::PathKind::kFile) {
    platform::RemoveFile(destination + "config.ini");
    return true;
  }
  const std::uint32_t error = platform::LastErrorCode();
  sink.WriteLogFormatted("|E|Copying %sconfig.ini back to %s failed, it stays where it is\n",
                         destination.c_str(), settingsFolder->c_str());
  return SeparationFailed(sink, *settings, error);
}
