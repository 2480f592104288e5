// What the parameter steps of one run share: made empty with the sequencer, filled by the
// preparation and the generation step, read by the transfer step.
#pragma once

#include <cstdint>
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
  // A path the disk could not look at before anything was deleted, with the system's error code:
  // what it would have told decides what is kept, so the update must stop. "" when none.
  std::string unreadablePath;
  std::uint32_t unreadableError = 0;
};

// Notes `path` as one the disk could not look at (LastErrorCode giving the reason), unless an
// earlier one is noted.
void NoteUnreadable(MigrationContext* context, const std::string& path);
