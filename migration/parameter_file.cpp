#include "migration/parameter_file.h"

#include <algorithm>
#include <cstring>

#include "base/little_endian.h"
#include "migration/crc32.h"

namespace {

constexpr std::size_t kChecksumPieceSize = 4096;
constexpr std::size_t kNextOffsetField = 16;

void AppendLittleEndian32(std::string* bytes, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    bytes->push_back(static_cast<char>((value >> shift) & 0xFF));
  }
}

void StoreLittleEndian32(std::string* bytes, std::size_t offset, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    (*bytes)[offset++] = static_cast<char>((value >> shift) & 0xFF);
  }
}

}  // namespace

const char* DescribeChainStatus(ChainStatus status) {
  switch (status) {
    case ChainStatus::kComplete:
      return "complete";
    case ChainStatus::kStopped:
      return "stopped";
    case ChainStatus::kUnreadable:
      return "file length or section header unreadable";
    case ChainStatus::kShortHeader:
      return "section header cut short by the end of the file";
    case ChainStatus::kBadSectionMagic:
      return "section header without its magic";
    case ChainStatus::kBadNextOffset:
      return "next offset points backwards, into its own header or past the end";
  }
  return "unknown";
}

bool ReadParameterFileHeader(platform::File& file, ParameterFileHeader* header) {
  unsigned char bytes[kParameterFileHeaderSize];
  if (!file.Seek(0) || file.Read(bytes, sizeof bytes) != sizeof bytes) {
    return false;
  }
  header->magic = LoadLittleEndian32(bytes);
  header->checksum = LoadLittleEndian32(bytes + 4);
  return true;
}

bool ComputeParameterFileChecksum(platform::File& file, std::uint32_t* checksum) {
  const std::uint64_t length = file.Length();
  if (length == UINT64_MAX || !file.Seek(kParameterFileHeaderSize)) {
    return false;
  }
  std::uint64_t remaining =
      length > kParameterFileHeaderSize ? length - kParameterFileHeaderSize : 0;
  std::uint32_t crc = kCrc32Start;
  unsigned char piece[kChecksumPieceSize];
  while (remaining > 0) {
    const std::size_t wanted =
        remaining < kChecksumPieceSize ? static_cast<std::size_t>(remaining) : kChecksumPieceSize;
    const std::size_t read = file.Read(piece, wanted);
    if (read == 0) {
      return false;
    }
    crc = UpdateCrc32(piece, read, crc);
    remaining -= read;
  }
  *checksum = ~crc;
  return true;
}

bool IsParameterFileGood(const std::string& path) {
  platform::File file;
  if (!file.Open(path, platform::File::Mode::kRead)) {
    return false;
  }
  ParameterFileHeader header;
  std::uint32_t checksum = 0;
  return ReadParameterFileHeader(file, &header) && header.magic == kParameterFileMagic &&
         ComputeParameterFileChecksum(file, &checksum) && checksum == header.checksum;
}

ChainStatus WalkSections(platform::File& file,
                         const std::function<bool(const ParameterSection&)>& visit) {
  const std::uint64_t length = file.Length();
  if (length == UINT64_MAX) {
    return ChainStatus::kUnreadable;
  }
  std::uint64_t offset = kParameterFileHeaderSize;
  for (;;) {
    unsigned char header[kSectionHeaderSize];
    if (offset + kSectionHeaderSize > length) {
      return ChainStatus::kShortHeader;
    }
    // The bytes are there: a read that fails now is the disk's fault, not the file's.
    if (!file.Seek(offset) || file.Read(header, sizeof header) != sizeof header) {
      return ChainStatus::kUnreadable;
    }
    if (LoadLittleEndian32(header) != kParameterSectionMagic) {
      return ChainStatus::kBadSectionMagic;
    }
    const std::uint64_t next = LoadLittleEndian32(header + kNextOffsetField);
    if (next != 0 && (next < offset + kSectionHeaderSize || next > length)) {
      return ChainStatus::kBadNextOffset;
    }
    ParameterSection section;
    section.headerOffset = offset;
    const char* name = reinterpret_cast<const char*>(header + kSectionNameOffset);
    const void* end = std::memchr(name, 0, kSectionNameSize);
    section.name.assign(name,
                        end != nullptr ? static_cast<const char*>(end) : name + kSectionNameSize);
    section.dataLength = (next != 0 ? next : length) - section.DataOffset();
    if (!visit(section)) {
      return ChainStatus::kStopped;
    }
    if (next == 0) {
      return ChainStatus::kComplete;
    }
    offset = next;
  }
}

bool SectionNamesMatch(const std::string& wanted, const std::string& sectionName) {
  for (std::size_t i = 0; i < 4; ++i) {
    const char a = i < wanted.size() ? wanted[i] : '\0';
    const char b = i < sectionName.size() ? sectionName[i] : '\0';
    if (a != b) {
      return false;
    }
    if (a == '\0') {
      return true;
    }
  }
  return true;
}

std::string BuildParameterFile(const std::vector<std::pair<std::string, std::string>>& sections) {
  constexpr auto kFileHeader = static_cast<std::size_t>(kParameterFileHeaderSize);
  constexpr auto kSectionHeader = static_cast<std::size_t>(kSectionHeaderSize);
  std::string bytes;
  AppendLittleEndian32(&bytes, kParameterFileMagic);
  AppendLittleEndian32(&bytes, 0);
  for (std::size_t i = 0; i < sections.size(); ++i) {
    const std::string& name = sections[i].first;
    const std::string& data = sections[i].second;
    const std::size_t headerOffset = bytes.size();
    bytes.append(kSectionHeader, '\0');
    StoreLittleEndian32(&bytes, headerOffset, kParameterSectionMagic);
    if (i + 1 < sections.size()) {
      const std::size_t next = headerOffset + kSectionHeader + data.size();
      StoreLittleEndian32(&bytes, headerOffset + kNextOffsetField,
                          static_cast<std::uint32_t>(next));
    }
    bytes.replace(headerOffset + kSectionNameOffset, std::min(name.size(), kSectionNameSize),
                  name.substr(0, kSectionNameSize));
    bytes += data;
  }
  const std::uint32_t checksum =
      ComputeCrc32(bytes.data() + kFileHeader, bytes.size() - kFileHeader);
  StoreLittleEndian32(&bytes, 4, checksum);
  return bytes;
}

NamedSectionRead ReadNamedSection(const std::string& path, const std::string& name) {
  NamedSectionRead read;
  platform::File file;
  if (!file.Open(path, platform::File::Mode::kRead)) return read;
  bool matched = false;
  read.chain = WalkSections(file, [&](const ParameterSection& section) {
    matched = SectionNamesMatch(name, section.name);
    if (matched) read.section = section;
    return !matched;
  });
  if (!matched) {
    read.status = NamedSectionRead::Status::kNotFound;
    return read;
  }
  // The walk checked that the data lies inside the file, so its length is bounded by the file's.
  read.data.resize(static_cast<std::size_t>(read.section.dataLength));
  const bool whole =
      file.Seek(read.section.DataOffset()) &&
      (read.data.empty() || file.Read(read.data.data(), read.data.size()) == read.data.size());
  if (!whole) {
    read.data.clear();
    read.status = NamedSectionRead::Status::kCannotRead;
    return read;
  }
  read.status = NamedSectionRead::Status::kRead;
  return read;
}
