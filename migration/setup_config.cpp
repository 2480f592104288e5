#include "migration/setup_config.h"

#include "base/installation_paths.h"
#include "base/language_folder.h"
#include "base/multibyte_case.h"
#include "base/path_compose.h"
#include "base/setup_log.h"
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

std::string ReadSetupValue(const std::string& key) {
  return platform::ReadProfileString("SETTINGS", key, "", GetMakerFolder() + "setup.cfg");
}

std::string GetInstallationFolder() {
  const std::string folder = GetMakerFolder() + ReadSetupValue("PATH");
  // Too long for the system: every file operation on it fails; say why once here.
  CheckPathLength(folder);
  return folder;
}

std::string FindUnreadableSettingsFile() {
  const std::string setupFile = GetMakerFolder() + "setup.cfg";
  if (!platform::IsProfileReadable(setupFile)) {
    return setupFile;
  }
  const std::string settings = GetMakerFolder() + ReadSetupValue("PATH") + "config\\config.ini";
  return platform::IsProfileReadable(settings) ? "" : settings;
}

bool PrepareMigrationFolder(IMessageSink& sink, MigrationContext* context) {
  const std::string temporary = platform::GetTempFolder();
  context->migrationFolder = temporary + "Vexroand";
  SetLogDirectory(temporary);
  const std::string installation = GetInstallationFolder();
  if (!platform::IsDirectory(installation)) {
    return false;
  }
  DetermineLanguageFolder(installation, sink);
  return true;
}

VersionKey ComputeVersionKey() {
  VersionKey key;
  key.installationKey = MakeInstallationKey(ReadSetupValue("PATH"));
  const std::string settings = GetMakerFolder() + key.installationKey + "\\config\\config.ini";
  if (CheckPathLength(settings)) {
    key.majorVersion =
        MakeMajorVersion(platform::ReadProfileString("VERSION", "VERSION", "", settings));
  }
  return key;
}

std::string ReadInstalledVersion() {
  const std::string settings = GetInstallationFolder() + "config\\config.ini";
  return CheckPathLength(settings) ? platform::ReadProfileString("VERSION", "VERSION", "", settings)
                                   : std::string();
}

bool IsVersionCompatible(const MigrationContext& context) {
  const VersionKey key = ComputeVersionKey();
  return !key.installationKey.empty() && !key.majorVersion.empty() &&
         key.installationKey == context.savedInstallationKey &&
         key.majorVersion == context.savedMajorVersion;
}
