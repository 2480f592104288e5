// setup.cfg in the maker folder, the installation folder it names, the version key that decides
// whether parameters may be carried into a new installation, and the migration folder.
#pragma once

#include <string>

#include "base/message_sink.h"
#include "migration/migration_context.h"

// The value of `key` ("PATH", "BACKUPPATH") in section SETTINGS of maker folder + "setup.cfg";
// empty when missing; at most 259 characters.
std::string ReadSetupValue(const std::string& key);

// Maker folder + PATH (PATH is written with its trailing backslash).
std::string GetInstallationFolder();

// setup.cfg or the installation's config\config.ini when it exists but cannot be read whole, ""
// when both can (or are missing): what they say decides which parameters are saved, and a file
// that reads as empty would have them passed over.
std::string FindUnreadableSettingsFile();

// Sets the migration folder to temporary directory + "Vexroand" (not created), makes the
// temporary directory the log directory and takes the language folder from the installation.
// False when the installation folder does not exist. A broken language setting goes to `sink`.
bool PrepareMigrationFolder(IMessageSink& sink, MigrationContext* context);

// What identifies an installed program for parameter migration.
struct VersionKey {
  std::string installationKey;  // PATH trimmed of blanks and backslashes, upper case
  std::string majorVersion;     // VERSION of its config\config.ini up to the first '.', upper case
};

VersionKey ComputeVersionKey();

// VERSION of the installation's config\config.ini as written there; "" when there is none.
std::string ReadInstalledVersion();

// The two halves of the key: from a PATH value, and from a VERSION text.
std::string MakeInstallationKey(std::string pathValue);
std::string MakeMajorVersion(std::string versionText);

// True when the installation now in place has a complete version key equal to the saved one.
bool IsVersionCompatible(const MigrationContext& context);
