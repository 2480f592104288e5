// Whole reads and writes on a file descriptor: retried after signals, partial transfers continued.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace platform {

// Bytes read; fewer than `count` at the end of the file, 0 on error (the last error is set).
std::size_t ReadFully(int descriptor, void* buffer, std::size_t count);
// False on error (the last error is set).
bool WriteFully(int descriptor, const void* buffer, std::size_t count);

// open(2), retried after signals: the descriptor, or -1 with errno set.
int OpenDescriptor(const std::string& hostPath, int flags, mode_t mode = 0);
// Copies the rest of `from` onto `to`: in the kernel where the file systems allow it, else by
// reads and writes. False with errno set.
bool CopyDescriptor(int from, int to);

}  // namespace platform
