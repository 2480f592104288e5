// The binary parameter file that the control program keeps per configuration: an 8-byte header
// (magic, CRC-32 of everything after it) followed by a chain of sections, each a 64-byte header
// (magic, next header's offset, name) and its data. Integers are 32-bit little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/file.h"

constexpr std::uint32_t kParameterFileMagic = 0x434C4646;     // "FFLC"
constexpr std::uint32_t kParameterSectionMagic = 0x434C4E4B;  // "KNLC"
constexpr std::uint64_t kParameterFileHeaderSize = 8;
constexpr std::uint64_t kSectionHeaderSize = 64;
constexpr std::size_t kSectionNameOffset = 20;
constexpr std::size_t kSectionNameSize = 44;

struct ParameterFileHeader {
  std::uint32_t magic = 0;
  std::uint32_t checksum = 0;
};

struct ParameterSection {
  std::uint64_t headerOffset = 0;
  std::string name;  // the name field up to its first NUL
  std::uint64_t dataLength = 0;
  std::uint64_t DataOffset() const { return headerOffset + kSectionHeaderSize; }
};

// Why a walk along the section chain stopped.
enum class ChainStatus {
  kComplete,         // the last section (next offset 0) was reached
  kStopped,          // the visitor asked to stop
  kUnreadable,       // the file length or a section header cannot be read
  kShortHeader,      // fewer than 64 bytes where a section header should be
  kBadSectionMagic,  // a section header without its magic
  kBadNextOffset     // a next offset that points back, into its own header or past the end
};

// A short explanation of a chain status, for reports to people.
const char* DescribeChainStatus(ChainStatus status);

// Reads the 8-byte file header; false when the file is shorter.
bool ReadParameterFileHeader(platform::File& file, ParameterFileHeader* header);

// The CRC-32 of every byte from offset 8 to the end; false when a read fails.
bool ComputeParameterFileChecksum(platform::File& file, std::uint32_t* checksum);

// True when the header is complete, its magic right and its checksum matches the contents.
bool IsParameterFileGood(const std::string& path);

// Walks the chain from offset 8, handing each section to `visit` until it returns false. The
// chain is not trusted: every offset is checked before it is followed, so the walk ends and no
// read goes past the end of the file.
ChainStatus WalkSections(platform::File& file,
                         const std::function<bool(const ParameterSection&)>& visit);

// The control program tells sections apart by the first four characters of their names only.
bool SectionNamesMatch(const std::string& wanted, const std::string& sectionName);

// The data of the first section whose name matches `name` (SectionNamesMatch), read from the file
// at `path`: the one reader that the store and the tools share.
struct NamedSectionRead {
  enum class Status { kRead, kCannotOpen, kNotFound, kCannotRead } status = Status::kCannotOpen;
  ChainStatus chain = ChainStatus::kUnreadable;  // how the walk ended
  ParameterSection section;                      // the section found
  std::vector<unsigned char> data;
};
NamedSectionRead ReadNamedSection(const std::string& path, const std::string& name);

// The bytes of a valid parameter file holding `sections` (name, data) in order; unused header
// bytes are zero. Names are cut to 44 characters.
std::string BuildParameterFile(const std::vector<std::pair<std::string, std::string>>& sections);
