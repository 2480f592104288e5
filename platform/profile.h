// Windows initialisation (profile) files: GetPrivateProfileStringA and friends on Windows,
// our own reader with the same observable behaviour elsewhere.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// The size of the 260-character buffers that every profile read of the system uses.
constexpr std::size_t kProfileBufferSize = 260;

// The value of `key` in `section` of `file`, or `defaultValue` when the file, section or key is
// missing; cut to bufferSize - 1 characters as the system function does.
std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::string& defaultValue, const std::string& file,
                              std::size_t bufferSize = kProfileBufferSize);

// False when `file` exists but cannot be read whole: its keys then read as missing, which must
// not pass for what the file says.
bool IsProfileReadable(const std::string& file);

// `defaultValue` for a missing or empty value, else the value's leading number (decimal, or
// hexadecimal, octal, binary after "0x", "0o", "0b"), 0 when there is none
// (GetPrivateProfileIntA).
int ReadProfileInt(const std::string& section, const std::string& key, int defaultValue,
                   const std::string& file);

// Sets the key, creating the file and the section when missing; every other line of the file
// stays as it was (WritePrivateProfileStringA).
bool WriteProfileString(const std::string& section, const std::string& key,
                        const std::string& value, const std::string& file);
// The same change made to a copy beside the file, put on the disk and then put in place of the
// file at once: a power cut leaves the old file or the new one, never a part.
bool WriteProfileStringAtomically(const std::string& section, const std::string& key,
                                  const std::string& value, const std::string& file);

}  // namespace platform
