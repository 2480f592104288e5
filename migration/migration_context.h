// What the parameter steps of one run share: made empty with the sequencer, filled by the
// preparation and the generation step, read by the transfer step.
#pragma once

#include <string>
#include <vector>

#include "migration/configuration_record.h"

struct MigrationContext {
  // The user agreed to keep the old installation's parameters.
  bool parametersAccepted = false;
  // The version key of the old installation, taken before it was deleted.
  std::string savedInstallationKey;
  std::string savedMajorVersion;
  // Temporary directory + "Vexroand", without a trailing backslash.
  std::string migrationFolder;
  // Every configuration offered for keeping, in the order of the question: filled by the
  // generation step, completed by the transfer step, read by the transfer report and the run's.
  std::vector<ConfigurationRecord> configurations;
  // Configurations whose binary parameter file could not be read, or whose temporary parameter
  // file could not be written, because of a disk fault: the update must stop before it deletes
  // the only copy of their parameters.
  std::vector<std::string> unsavedConfigurations;
};
