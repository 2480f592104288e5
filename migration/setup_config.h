// setup.cfg in the maker folder, the installation folder it names, the version key that decides
// whether parameters may be carried into a new installation, and the migration folder.
#pragma once

#include <string>

#include "base/installation_layout.h"
#include "base/message_sink.h"
#include "migration/migration_context.h"

// Asks the system for the run's maker folder unless the run has it. False while it cannot be
// found: nothing is kept, so the next call asks again.
bool LocateMakerFolder(IMessageSink& sink);

// Reads maker folder + "setup.cfg" into the run's layout: PATH and BACKUPPATH of section
// SETTINGS (empty when missing; at most 259 characters each) and the installation they name. The
// update reads it where it reads setup.cfg: before the old installation's steps, and again once
// the new version is in place. False, with the layout composed on no maker folder, while
// LocateMakerFolder fails.
bool ReadInstallationLayout(IMessageSink& sink);

// The layout of the installation in `makerFolder` (ending in a backslash) that its setup.cfg
// names. An installation folder too long for the system gets a log line through `sink`, as does
// a settings file below in the version readers.
InstallationLayout ReadLayoutOfMakerFolder(IMessageSink& sink, const std::string& makerFolder);

// setup.cfg or the installation's config\config.ini when it exists but cannot be read whole, ""
// when both can (or are missing): what they say decides which parameters are saved, and a file
// that reads as empty would have them passed over.
std::string FindUnreadableSettingsFile(const InstallationLayout& layout);

// Sets the migration folder to temporary directory + "Vexroand" (not created) and takes the
// language folder from the run's installation. False when the installation folder does not
// exist, or cannot be looked at (noted in the context). A broken language setting goes to `sink`.
bool PrepareMigrationFolder(IMessageSink& sink, MigrationContext* context);

// What identifies an installed program for parameter migration.
struct VersionKey {
  std::string installationKey;  // PATH trimmed of blanks and backslashes, upper case
  std::string majorVersion;     // VERSION of its config\config.ini up to the first '.', upper case
};

VersionKey ComputeVersionKey(IMessageSink& sink, const InstallationLayout& layout);

// VERSION of the config\config.ini of `layout` as written there; "" when there is none.
std::string ReadInstalledVersion(IMessageSink& sink, const InstallationLayout& layout);

// The two halves of the key: from a PATH value, and from a VERSION text.
std::string MakeInstallationKey(std::string pathValue);
std::string MakeMajorVersion(std::string versionText);

// True when the installation of `layout` has a complete version key equal to the saved one.
bool IsVersionCompatible(IMessageSink& sink, const InstallationLayout& layout,
                         const MigrationContext& context);
