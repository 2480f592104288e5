#include "drivers/driver_install.h"

#include <vector>

#include "base/message_sink.h"
#include "base/message_styles.h"
#include "base/messages.h"
#include "base/power_off.h"
#include "base/system_reason.h"
#include "base/text_format.h"
#include "platform/file_system.h"
#include "platform/setup_api.h"
#include "platform/special_folders.h"
#include "platform/text_encoding.h"

namespace {

// The files matching `pattern`. A listing that fails is no folder without drivers: it is shown
// and counts as a file not installed, named by the pattern.
std::vector<platform::DirectoryEntry> ListFiles(IMessageSink& sink, const std::string& pattern,
                                                std::vector<DriverResult>* results) {
  std::vector<platform::DirectoryEntry> entries;
  if (!platform::ListDirectory(pattern, &entries) && !platform::LastErrorMeansMissing()) {
    const std::string reason = LastErrorReason();
    sink.WriteLogFormatted("|E|The driver files %s could not be listed: %s\n", pattern.c_str(),
                           reason.c_str());
    sink.ShowMessage(FormatText(sink.Localise(kDriverFilesUnreadable),
                                platform::SystemTextToUtf8(pattern).c_str(), reason.c_str()),
                     kMbOk | kMbIconExclamation);
    results->push_back({pattern, false});
  }
  return entries;
}

// The older family keeps an INF folder it indexes itself; dropping the index makes it rebuild it.
bool PlaceSetupInformation(const std::string& infFile, const std::string& name,
                           const std::string& windowsFolder) {
  const std::string infFolder = windowsFolder + "inf\\";
  platform::RemoveFile(infFolder + name);
  const bool placed = platform::InstallFile(infFile, infFolder);
  platform::RemoveFile(windowsFolder + "\\INF\\DRVIDX.BIN");
  platform::RemoveFile(windowsFolder + "\\INF\\DRVDATA.BIN");
  return placed;
}

}  // namespace

std::vector<DriverResult> InstallDrivers(IMessageSink& sink, const std::string& sourceFolder) {
  // The drivers go where the kernel loads them, past the redirection a 32-bit program meets.
  const std::string systemFolder =
      platform::GetSpecialFolder(platform::SpecialFolder::kNativeSystem, false) + "\\";
  const std::string windowsFolder =
      platform::GetSpecialFolder(platform::SpecialFolder::kWindows, false) + "\\";

  std::vector<DriverResult> results;
  const std::vector<platform::DirectoryEntry> drivers =
      ListFiles(sink, sourceFolder + "*.sys", &results);
  if (drivers.empty()) {
    return results;
  }
  const std::string driversFolder = systemFolder + "drivers\\";
  for (const platform::DirectoryEntry& driver : drivers) {
    platform::RemoveFile(driversFolder + driver.name);
    results.push_back(
        {driver.name, platform::InstallFile(sourceFolder + driver.name, driversFolder)});
    if (!results.back().installed) {
      sink.ShowMessage(
          FormatText(kDriverInstallFailed, platform::SystemTextToUtf8(driver.name).c_str()),
          kMbOk | kMbIconExclamation);
    }
  }

  for (const platform::DirectoryEntry& information :
       ListFiles(sink, sourceFolder + "*.inf", &results)) {
    const std::string infFile = sourceFolder + information.name;
    results.push_back(
        {information.name, IsNtFamily()
                               ? RegisterSetupInformation(sink, infFile)
                               : PlaceSetupInformation(infFile, information.name, windowsFolder)});
  }
  return results;
}

bool RegisterSetupInformation(IMessageSink& sink, const std::string& infFile) {
  if (platform::RegisterInformationFile(infFile)) {
    return true;
  }
  const std::string errorText = platform::SystemErrorText(platform::LastErrorCode());
  if (errorText.empty()) {
    return true;
  }
  sink.ShowUnownedMessage(platform::SystemTextToUtf8(errorText), kMbOk | kMbIconStop);
  return false;
}
