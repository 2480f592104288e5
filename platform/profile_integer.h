// How GetPrivateProfileIntA turns the value it read into a number.
#pragma once

#include <string>

namespace platform {

// The default for an empty value, else the value's leading number (decimal, or hexadecimal,
// octal or binary after "0x", "0o" or "0b"; 0 when there is none), wrapped to 32 bits.
int ProfileIntFromValue(const std::string& value, int defaultValue);

}  // namespace platform
