// What the parameter steps of one run share: made empty with the sequencer, filled by the
// preparation and the generation step, read by the transfer step.
#pragma once

#include <string>

struct MigrationContext {
  // The user agreed to keep the old installation's parameters.
  bool parametersAccepted = false;
  // The version key of the old installation, taken before it was deleted.
  std::string savedInstallationKey;
  std::string savedMajorVersion;
  // Temporary directory + "Vexroand", without a trailing backslash.
  std::string migrationFolder;
};
