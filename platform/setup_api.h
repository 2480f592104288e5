// Installing driver files and registering setup information files.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Copies one driver file to `destination`, which is either the target file's full path or a
// folder (ending in a backslash or existing) that takes the source's file name. An existing
// target is replaced (SetupInstallFileA, absolute source, no INF).
bool InstallFile(const std::string& sourceFile, const std::string& destination);

// Copies the file into the Windows INF folder as the next free oemN.inf, in the volume map on
// POSIX (SetupCopyOEMInfA, no media, SPOST_PATH).
bool RegisterInformationFile(const std::string& infFile);

// The system's text for an error code of LastErrorCode, without the trailing line break
// (FormatMessageA).
std::string SystemErrorText(std::uint32_t code);

}  // namespace platform
