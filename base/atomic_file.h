// Writing a file that matters afterwards: a reader, or the disk after a power loss, finds the old
// file or the new one whole, never a mix.
#pragma once

#include <string>

// Writes `bytes` to `temporary`, puts them on the disk and renames `temporary` to `path`. On
// failure `temporary` is removed and `path` is left as it was.
bool WriteFileAtomically(const std::string& path, const std::string& bytes,
                         const std::string& temporary);
