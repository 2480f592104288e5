#include "migration/setup_config.h"

#include "app/base/installation_paths.h"
#include "app/base/language_folder.h"
#include "app/base/path_compose.h"
#include "app/base/setup_log.h"
#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/special_folders.h"

namespace {

const char kWhiteSpace[] = " \t\n\v\f\r";

bool IsGbkLeadByte(char c) {
  const unsigned char byte = static_cast<unsigned char>(c);
  return byte >= 0x81 && byte <= 0xFE;
}

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

std::string ToUpperMultiByte(const std::string& text) {
  std::string result = text;
  for (std::size_t i = 0; i < result.size(); ++i) {
    if (IsGbkLeadByte(result[i])) {
      ++i;  // the trail byte may look like an ASCII letter
    } else if (result[i] >= 'a' && result[i] <= 'z') {
      result[i] = static_cast<char>(result[i] - 'a' + 'A');
    }
  }
  return result;
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

bool PrepareMigrationFolder(MigrationContext* context) {
  const std::string temporary = platform::GetTempFolder();
  context->migrationFolder = temporary + "Vexroand";
  SetLogDirectory(temporary);
  const std::string installation = GetInstallationFolder();
  if (!platform::IsDirectory(installation)) {
    return false;
  }
  DetermineLanguageFolder(installation);
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

bool IsVersionCompatible(const MigrationContext& context) {
  const VersionKey key = ComputeVersionKey();
  return !key.installationKey.empty() && !key.majorVersion.empty() &&
         key.installationKey == context.savedInstallationKey &&
         key.majorVersion == context.savedMajorVersion;
}
