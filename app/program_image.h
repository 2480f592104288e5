// Where a program file's own image ends: the bytes behind it were appended (a package's payload
// and trailer), and a file that ends there is a bare program.
#pragma once

#include <cstdint>
#include <optional>

namespace platform {
class File;
}

// The end of the image of an ELF program (its section header table) or a PE program (the raw
// data of its last section); nothing when the file is neither. The read position is left
// anywhere.
std::optional<std::uint64_t> ProgramImageEnd(platform::File& file);
