// The names that tie a configuration's binary parameter file, its temporary parameter file in the
// migration folder and its amendment file in the new installation together.
#pragma once

#include <optional>
#include <string>

#include "base/installation_layout.h"
#include "base/message_sink.h"

extern const char kParameterFileName[];    // "vexorand.dat"
extern const char kParameterBackupName[];  // "vexorand.dat.bak"
extern const char kAmendmentName[];        // "amend.dat"

// The name of the folder that directly holds the file, as the update names a configuration.
std::string ConfigurationName(const std::string& filePath);

// The temporary parameter file's name (no folder) for a configuration's binary parameter file.
std::string TemporaryNameOfParameterFile(const std::string& parameterFile);

// The temporary parameter file's name (no folder) for a configuration.
std::string TemporaryNameOfConfiguration(const std::string& configuration);

// Where a file of the migration folder goes: its configuration (lower case) and the amendment
// file relative to the configuration tree. False for a file that is no temporary parameter file.
struct TemporaryFileTarget {
  std::string configuration;
  std::string amendmentPath;
};
bool TargetOfTemporaryName(const std::string& temporaryName, TemporaryFileTarget* target);

// The configuration folder and amendment file in the installation `layout` that a temporary
// parameter file of that name goes to; none for a name that is no temporary parameter file or
// an amendment path that is too long (logged through `sink`).
struct AmendmentTarget {
  std::string configuration;  // lower case
  std::string configurationFolder;
  std::string amendmentFile;
};
std::optional<AmendmentTarget> AmendmentTargetOf(IMessageSink& sink,
                                                 const InstallationLayout& layout,
                                                 const std::string& temporaryName);
