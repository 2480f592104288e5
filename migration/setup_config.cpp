#include "migration/setup_config.h"

#include "base/installation_paths.h"
#include "base/language_folder.h"
#include "base/multibyte_case.h"
#include "base/path_compose.h"
#include "base/setup_run.h"
#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/special_folders.h"

namespace {

const char kWhiteSpace[] = " \t\n\v\f\r";

void TrimLeft(std::string* text, const char* characters) {
  text->erase(0, text->find_first_not_of(characters));
}

void TrimRight(std::string* text, const char* characters) {
  const std::size_t last = text->find_last_not_of(characters);
  text->erase(last == std::string::npos ? 0 : last + 1);
}

}  // namespace

std::string MakeInstallationKey(std::string pathValue) {
  TrimLeft(&pathValue, kWhiteSpace);
  TrimLeft(&pathValue, "\\");
  TrimRight(&pathValue, kWhiteSpace);
  TrimRight(&pathValue, "\\");
  return ToUpperMultiByte(pathValue);
}

std::string MakeMajorVersion(std::string versionText) {
  const std::size_t point = versionText.find('.');
  if (point != std::string::npos) {
    versionText.erase(point);
  }
  TrimLeft(&versionText, kWhiteSpace);
  TrimRight(&versionText, kWhiteSpace);
  return ToUpperMultiByte(versionText);
}

InstallationLayout ReadLayoutOfMakerFolder(IMessageSink& sink, const std::string& makerFolder) {
  const std::string setupFile = makerFolder + "setup.cfg";
  const std::string pathValue = platform::ReadProfileString("SETTINGS", "PATH", "", setupFile);
  InstallationLayout layout = LayoutOfInstallationFolder(makerFolder + pathValue);
  layout.makerFolder = makerFolder;
  layout.pathValue = pathValue;
  layout.backupPathValue = platform::ReadProfileString("SETTINGS", "BACKUPPATH", "", setupFile);
  // Too long for the system: every file operation on it fails; say why once here.
  CheckPathLength(sink, layout.installationFolder);
  return layout;
}

bool LocateMakerFolder(IMessageSink& sink) {
  std::string& makerFolder = sink.Run().layout.makerFolder;
  return !makerFolder.empty() || FindMakerFolder(&makerFolder);
}

bool ReadInstallationLayout(IMessageSink& sink) {
  const bool found = LocateMakerFolder(sink);
  InstallationLayout& layout = sink.Run().layout;
  layout = ReadLayoutOfMakerFolder(sink, layout.makerFolder);
  return found;
}

std::string FindUnreadableSettingsFile(const InstallationLayout& layout) {
  const std::string setupFile = layout.makerFolder + "setup.cfg";
  if (!platform::IsProfileReadable(setupFile)) {
    return setupFile;
  }
  return platform::IsProfileReadable(layout.settingsFile) ? "" : layout.settingsFile;
}

bool PrepareMigrationFolder(IMessageSink& sink, MigrationContext* context) {
  const std::string temporary = platform::GetTempFolder();
  context->migrationFolder = temporary + "Vexroand";
  const std::string& installation = sink.Run().layout.installationFolder;
  const platform::PathKind kind = platform::QueryPath(installation);
  if (kind == platform::PathKind::kUnknown) {
    // Taken for missing, it would have its parameters and language passed over.
    NoteUnreadable(context, installation);
  }
  if (kind != platform::PathKind::kFolder) {
    return false;
  }
  DetermineLanguageFolder(installation, sink);
  return true;
}

VersionKey ComputeVersionKey(IMessageSink& sink, const InstallationLayout& layout) {
  VersionKey key;
  key.installationKey = MakeInstallationKey(layout.pathValue);
  const std::string settings = layout.makerFolder + key.installationKey + "\\config\\config.ini";
  if (CheckPathLength(sink, settings)) {
    key.majorVersion =
        MakeMajorVersion(platform::ReadProfileString("VERSION", "VERSION", "", settings));
  }
  return key;
}

std::string ReadInstalledVersion(IMessageSink& sink, const InstallationLayout& layout) {
  const std::string& settings = layout.settingsFile;
  return CheckPathLength(sink, settings)
             ? platform::ReadProfileString("VERSION", "VERSION", "", settings)
             : std::string();
}

bool IsVersionCompatible(IMessageSink& sink, const InstallationLayout& layout,
                         const MigrationContext& context) {
  const VersionKey key = ComputeVersionKey(sink, layout);
  return !key.installationKey.empty() && !key.majorVersion.empty() &&
         key.installationKey == context.savedInstallationKey &&
         key.majorVersion == context.savedMajorVersion;
}
