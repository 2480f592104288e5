#include "app/package_file.h"

#include "base/setup_run.h"
#include "platform/process.h"

std::string GetPackageFile(const SetupRun& run) {
  return run.packageFile.empty() ? platform::GetExecutablePath() : run.packageFile;
}
