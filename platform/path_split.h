// Splitting Windows paths held in the system code page, whose double-byte characters may end in
// a byte that looks like '\\'.
#pragma once

#include <cstddef>
#include <string>

#include "platform/text_encoding.h"

namespace platform {

// The position of the first '\\' or '/' from `from` on, which must start a character, or npos.
std::size_t FindNextSeparator(const std::string& path, std::size_t from = 0,
                              LeadByteRule isLeadByte = nullptr);

// The position of the last '\\' or '/' up to `end` that is not the trail byte of a double-byte
// character, or npos.
std::size_t FindLastSeparator(const std::string& path, std::size_t end = std::string::npos,
                              LeadByteRule isLeadByte = nullptr);

// Whether `path` ends in a '\\' or '/' that is not the trail byte of a double-byte character.
bool EndsWithSeparator(const std::string& path, LeadByteRule isLeadByte = nullptr);

// `path` as it is when it is empty or ends in a separator, else with a '\\' added.
std::string WithTrailingSeparator(std::string path, LeadByteRule isLeadByte = nullptr);

// `path` without the separators it ends in; its first `keep` characters stay (3 keep the "C:\\"
// of a root).
std::string WithoutTrailingSeparators(std::string path, std::size_t keep = 0,
                                      LeadByteRule isLeadByte = nullptr);

// The part of `path` after its last separator, or after its drive ("C:name"); all of it when it
// has neither.
std::string FileNameOf(const std::string& path, LeadByteRule isLeadByte = nullptr);

}  // namespace platform
