// Whole reads and writes on a file descriptor: retried after signals, partial transfers continued.
#pragma once

#include <cstddef>

namespace platform {

// Bytes read; fewer than `count` at the end of the file, 0 on error (the last error is set).
std::size_t ReadFully(int descriptor, void* buffer, std::size_t count);
// False on error (the last error is set).
bool WriteFully(int descriptor, const void* buffer, std::size_t count);

}  // namespace platform
