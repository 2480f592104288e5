#include "app/program_image.h"

#include <algorithm>
#include <cstddef>

#include "platform/file.h"

namespace {

std::uint64_t Little(const unsigned char* bytes, std::size_t count) {
  std::uint64_t value = 0;
  for (std::size_t i = count; i-- > 0;) value = value << 8 | bytes[i];
  return value;
}

bool ReadAt(platform::File& file, std::uint64_t offset, unsigned char* bytes, std::size_t count) {
  return file.Seek(offset) && file.Read(bytes, count) == count;
}

std::uint64_t ElfImageEnd(const unsigned char (&header)[64]) {
  const bool wide = header[4] == 2;
  return wide ? Little(header + 0x28, 8) + Little(header + 0x3A, 2) * Little(header + 0x3C, 2)
              : Little(header + 0x20, 4) + Little(header + 0x2E, 2) * Little(header + 0x30, 2);
}

std::optional<std::uint64_t> PeImageEnd(platform::File& file, const unsigned char (&header)[64]) {
  constexpr std::size_t kFileHeaderSize = 24;  // "PE\0\0" and the COFF header
  constexpr std::size_t kSectionSize = 40;
  const std::uint64_t peOffset = Little(header + 0x3C, 4);
  unsigned char coff[kFileHeaderSize];
  if (!ReadAt(file, peOffset, coff, sizeof coff) || coff[0] != 'P' || coff[1] != 'E' ||
      coff[2] != 0 || coff[3] != 0) {
    return std::nullopt;
  }
  const std::uint64_t sections = Little(coff + 6, 2);
  std::uint64_t at = peOffset + kFileHeaderSize + Little(coff + 20, 2);
  std::uint64_t end = at + sections * kSectionSize;
  for (std::uint64_t i = 0; i < sections; ++i, at += kSectionSize) {
    unsigned char section[kSectionSize];
    if (!ReadAt(file, at, section, sizeof section)) return std::nullopt;
    end = std::max(end, Little(section + 20, 4) + Little(section + 16, 4));
  }
  return end;
}

}  // namespace

std::optional<std::uint64_t> ProgramImageEnd(platform::File& file) {
  unsigned char header[64] = {};
  if (!ReadAt(file, 0, header, sizeof header)) return std::nullopt;
  if (header[0] == 0x7F && header[1] == 'E' && header[2] == 'L' && header[3] == 'F') {
    return ElfImageEnd(header);
  }
  if (header[0] == 'M' && header[1] == 'Z') return PeImageEnd(file, header);
  return std::nullopt;
}
