// What the parameter steps of one run share: made empty with the sequencer, filled by the
// preparation and the generation step, read by the transfer step.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct MigrationContext {
  // The user agreed to keep the old installation's parameters.
  bool parametersAccepted = false;
  // The version key of the old installation, taken before it was deleted.
  std::string savedInstallationKey;
  std::string savedMajorVersion;
  // Temporary directory + "Vexroand", without a trailing backslash.
  std::string migrationFolder;
  // Found by the generation step, reported by the transfer step: fields whose old value a
  // parameter line cannot hold (configuration, field path), and configurations whose parameters
  // came from a damaged parameter file.
  std::vector<std::pair<std::string, std::string>> uncarriedValues;
  std::vector<std::string> damagedConfigurations;
  // Configurations whose binary parameter file could not be read, or whose temporary parameter
  // file could not be written, because of a disk fault: the update must stop before it deletes
  // the only copy of their parameters.
  std::vector<std::string> unsavedConfigurations;
};
