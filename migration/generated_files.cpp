#include "migration/generated_files.h"

#include <cctype>
#include <cstdint>
#include <functional>
#include <optional>

#include "base/folder_tree.h"
#include "base/message_styles.h"
#include "base/messages.h"
#include "base/path_compose.h"
#include "base/setup_run.h"
#include "base/text_format.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/shell_copy.h"
#include "platform/text_encoding.h"

namespace {

const char kActiveConfig[] = "ActiveConfig";
const char kBaseKey[] = "ActiveGenerateBaseDir";
const char kFolderKey[] = "ActiveGeneratePath";
const char kSeparatedFolder[] = "Pelmo";
const char kCopyTitle[] = "Copy files";

// The shared lookup; `report` says whether a wrong directory is to be shown this time.
bool LookUp(IMessageSink& sink, std::string* directory, const std::function<bool()>& report) {
  directory->clear();
  const std::optional<std::string> settingsFolder =
      ComposePath({sink.Run().layout.installationFolder, "Config\\"});
  if (!settingsFolder || !platform::IsDirectory(*settingsFolder)) {
    return false;
  }
  const std::optional<std::string> settings = ComposePath({*settingsFolder, "Config.ini"});
  if (!settings || !platform::PathExists(*settings)) {
    return false;
  }
  std::string base = platform::ReadProfileString(kActiveConfig, kBaseKey, "", *settings);
  if (base.empty()) {
    return false;
  }
  base += "\\";
  const std::string folder = platform::ReadProfileString(kActiveConfig, kFolderKey, "", *settings);
  if (folder.empty()) {
    if (report()) {
      sink.ShowMessage(FormatText(sink.Localise(kWrongGeneratedDirectory),
                                  platform::SystemTextToUtf8(base).c_str()),
                       kMbOk | kMbIconExclamation);
    }
    return false;
  }
  const std::optional<std::string> composed = ComposePath({base, folder, "\\"});
  if (!composed) {
    return false;
  }
  *directory = *composed;
  return true;
}

}  // namespace

bool LookUpGeneratedFiles(IMessageSink& sink, std::string* directory) {
  return LookUp(sink, directory, [] { return true; });
}

bool LookUpGeneratedFilesOnce(IMessageSink& sink, std::string* directory, int* warningCount) {
  return LookUp(sink, directory, [warningCount] { return (*warningCount)++ == 0; });
}

bool FindAnotherFixedDrive(char* letter, char excluded) {
  const char excludedUpper = static_cast<char>(std::toupper(static_cast<unsigned char>(excluded)));
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
      ComposePath({sink.Run().layout.installationFolder, "Config"});
  const std::optional<std::string> settings =
      settingsFolder ? ComposePath({*settingsFolder, "\\config.ini"}) : std::nullopt;
  if (!settings) {
    return true;
  }
  char drive = 'A';
  if (!FindAnotherFixedDrive(&drive, (*settings)[0])) {
    sink.ShowMessage(sink.Localise(kNoOtherDrive), kMbOk | kMbIconExclamation);
    return true;
  }
  const std::string previousBase =
      platform::ReadProfileString(kActiveConfig, kBaseKey, "", *settings);
  const std::string previousFolder =
      platform::ReadProfileString(kActiveConfig, kFolderKey, "", *settings);
  platform::WriteProfileStringAtomically(kActiveConfig, kBaseKey, std::string(1, drive) + ":",
                                         *settings);
  platform::WriteProfileStringAtomically(kActiveConfig, kFolderKey, kSeparatedFolder, *settings);

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
    platform::WriteProfileStringAtomically(kActiveConfig, kBaseKey, previousBase, *settings);
    platform::WriteProfileStringAtomically(kActiveConfig, kFolderKey, previousFolder, *settings);
    sink.WriteLogFormatted("|E|Copying %s to %s failed, generated files stay in place\n",
                           settingsFolder->c_str(), destination.c_str());
    return true;
  }
  if (platform::IsDirectory(*settingsFolder + "\\")) {
    DeleteTree(*settingsFolder);
  }
  platform::MakeDirectory(*settingsFolder);
  // The copy in the generated-files folder is the only one left until the copy back succeeded.
  if (platform::ShellCopy(destination + "config.ini", *settingsFolder, kCopyTitle) &&
      platform::PathExists(*settings)) {
    platform::RemoveFile(destination + "config.ini");
  } else {
    sink.WriteLogFormatted("|E|Copying %sconfig.ini back to %s failed, it stays where it is\n",
                           destination.c_str(), settingsFolder->c_str());
  }
  return true;
}
