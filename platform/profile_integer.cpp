#include "platform/profile_integer.h"

#include <cstdint>

#include "platform/ascii_characters.h"

namespace platform {

int ProfileIntFromValue(const std::string& value, int defaultValue) {
  if (value.empty()) return defaultValue;
  std::size_t i = 0;
  while (i < value.size() && static_cast<unsigned char>(value[i]) <= ' ') ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
  // Like the system's text-to-integer conversion: "0x", "0o" and "0b" choose the base.
  int base = 10;
  if (i + 1 < value.size() && value[i] == '0') {
    const char marker = value[i + 1];
    base = marker == 'x' ? 16 : marker == 'o' ? 8 : marker == 'b' ? 2 : 10;
    if (base != 10) i += 2;
  }
  std::uint32_t total = 0;
  for (; i < value.size() && DigitValue(value[i]) < base; ++i) {
    total =
        total * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(DigitValue(value[i]));
  }
  if (negative) total = 0u - total;
  return static_cast<int>(total);
}

}  // namespace platform
