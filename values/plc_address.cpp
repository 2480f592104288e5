#include "values/plc_address.h"

#include <cstring>

namespace {

constexpr unsigned kMaxBitWord = 999;
constexpr unsigned kBitsPerWord = 32;
constexpr unsigned kTimerCount = 256;
constexpr unsigned kFirstDataMemoryWord = 1200;
constexpr unsigned kLastDataMemoryWord = 5199;

// Writes `value` (below 10^digits) as exactly `digits` decimal digits and returns the end.
char* WriteDigits(char* out, unsigned value, int digits) {
  for (int i = digits; i-- > 0;) {
    out[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  return out + digits;
}

}  // namespace

PlcAddressKind ClassifyPlcAddress(std::uint32_t value) {
  const unsigned word = value >> 16;
  const unsigned low = value & 0xFFFF;
  if (low < kBitsPerWord && word <= kMaxBitWord) return PlcAddressKind::kBit;
  if (word == kPlcTimerArea) {
    return low < kTimerCount ? PlcAddressKind::kTimer : PlcAddressKind::kInvalid;
  }
  if (word == kPlcDataMemoryArea) {
    return low >= kFirstDataMemoryWord && low <= kLastDataMemoryWord ? PlcAddressKind::kDataMemory
                                                                     : PlcAddressKind::kInvalid;
  }
  return value == kPlcNoAddress ? PlcAddressKind::kNoAddress : PlcAddressKind::kInvalid;
}

bool RenderPlcAddress(std::uint32_t value, char* buffer) {
  const unsigned word = value >> 16;
  const unsigned low = value & 0xFFFF;
  char* end = buffer;
  switch (ClassifyPlcAddress(value)) {
    case PlcAddressKind::kBit:
      end = WriteDigits(WriteDigits(buffer, word, 3), low, 2);
      break;
    case PlcAddressKind::kTimer:
      std::memcpy(buffer, "TIM", 3);
      end = WriteDigits(buffer + 3, low, 3);
      break;
    case PlcAddressKind::kDataMemory:
      std::memcpy(buffer, "*DM", 3);
      end = WriteDigits(buffer + 3, low, 4);
      break;
    case PlcAddressKind::kNoAddress:
      std::memcpy(buffer, "NA", 2);
      end = buffer + 2;
      break;
    case PlcAddressKind::kInvalid:
      break;
  }
  *end = '\0';
  return end != buffer;
}

std::string PlcAddressText(std::uint32_t value) {
  char buffer[8];
  RenderPlcAddress(value, buffer);
  return buffer;
}
