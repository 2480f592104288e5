// The two ways UpdateCrc32 computes the checksum; shared with the tests, which compare them.
#pragma once

#include <cstddef>
#include <cstdint>

// Eight bytes per step through eight 256-entry tables; runs everywhere.
std::uint32_t UpdateCrc32WithTables(const void* bytes, std::size_t count, std::uint32_t running);

// Whether this processor multiplies without carry (x86 PCLMULQDQ).
bool CanUseCarrylessCrc32();
// Folds 64 bytes per step with carry-less multiplication; only when CanUseCarrylessCrc32().
std::uint32_t UpdateCrc32Carryless(const void* bytes, std::size_t count, std::uint32_t running);
