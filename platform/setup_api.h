// Installing driver files and registering setup information files.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// SetupInstallFileA (absolute source, no INF): copies one driver file to `destination`, which is
// either the target file's full path or a folder (ending in a backslash or existing) that takes
// the source's file name. An existing target is replaced.
bool InstallFile(const std::string& sourceFile, const std::string& destination);

// SetupCopyOEMInfA(infFile, no media, SPOST_PATH): copies the file into the Windows INF folder
// as the next free oemN.inf (the POSIX edition does the same in the volume map).
bool RegisterInformationFile(const std::string& infFile);

// FormatMessageA of a system error code, without the trailing line break.
std::string SystemErrorText(std::uint32_t code);

}  // namespace platform
