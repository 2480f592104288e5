// The Windows error code of the last failed call of the POSIX platform layer.
#pragma once

#include <cstdint>

#include "platform/file_system.h"

namespace platform {

// Windows error codes the layer reports, beside the two of file_system.h.
constexpr std::uint32_t kErrorAccessDenied = 5;
constexpr std::uint32_t kErrorSharingViolation = 32;
constexpr std::uint32_t kErrorFileExists = 80;
constexpr std::uint32_t kErrorInvalidParameter = 87;
constexpr std::uint32_t kErrorDiskFull = 112;
constexpr std::uint32_t kErrorDirectoryNotEmpty = 145;
constexpr std::uint32_t kErrorNotADirectory = 267;
constexpr std::uint32_t kErrorIoDevice = 1117;

void SetLastErrorCode(std::uint32_t code);
// Records the Windows code closest to an errno value.
void SetLastErrorFromErrno(int error);

}  // namespace platform
