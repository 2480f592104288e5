// Attributes the host file system cannot hold (hidden, system, archive, read-only folders),
// kept in a small record file in the volume root.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The recorded bits of a host path below the root; 0 when none are recorded.
std::uint32_t RecordedAttributes(const std::string& hostPath);
// Records `bits` for the path, replacing what was recorded; 0 removes the entry.
void RecordAttributes(const std::string& hostPath, std::uint32_t bits);

}  // namespace platform
