// PLC addresses: a 32-bit value whose high half names an area of the PLC's memory and whose low
// half a bit, timer or word in it.
#pragma once

#include <cstdint>
#include <string>

enum class PlcAddressKind {
  kBit,         // word 0..999, bit 0..31: "%03d%02d"
  kTimer,       // area 10000, timer 0..255: "TIM%03d"
  kDataMemory,  // area 10002, word 1200..5199: "*DM%04d"
  kNoAddress,   // 0xFFFFFFFF: "NA"
  kInvalid      // every other value: no text
};

constexpr std::uint16_t kPlcTimerArea = 10000;
constexpr std::uint16_t kPlcDataMemoryArea = 10002;
constexpr std::uint32_t kPlcNoAddress = 0xFFFFFFFFu;

inline std::uint32_t MakePlcAddress(std::uint16_t area, std::uint16_t low) {
  return (static_cast<std::uint32_t>(area) << 16) | low;
}

PlcAddressKind ClassifyPlcAddress(std::uint32_t value);

// Writes the text form into `buffer` (at least 8 bytes) and returns true; a value without a text
// form leaves an empty text and returns false.
bool RenderPlcAddress(std::uint32_t value, char* buffer);

// The text form, or an empty text.
std::string PlcAddressText(std::uint32_t value);
