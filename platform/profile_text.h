// The reading and writing rules of Windows initialisation files, applied to a file's bytes.
// The POSIX profile functions are built on it; on Windows it is what our reader is checked against.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/profile_encoding.h"

namespace platform {

// A file's text parsed once, so that many lookups cost one parse: the first section of each name
// and the first key of each name in it, found by name.
class ParsedProfile {
 public:
  ParsedProfile(std::string text, ProfileCodePage codePage);
  ~ParsedProfile();
  ParsedProfile(const ParsedProfile&) = delete;
  ParsedProfile& operator=(const ParsedProfile&) = delete;

  const std::string& Text() const { return text_; }
  // As FindProfileValue.
  bool Find(const std::string& section, const std::string& key, std::string* value) const;
  // As ReadProfileStringFromText and ReadProfileIntFromText.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue, std::size_t bufferSize) const;
  int ReadInt(const std::string& section, const std::string& key, int defaultValue) const;

 private:
  struct Index;
  std::string text_;
  ProfileCodePage codePage_;
  std::unique_ptr<Index> index_;
};

// GetPrivateProfileIntA reads the value through a buffer of this size.
constexpr std::size_t kProfileIntBufferSize = 30;

// The value of `key` in the first section named `section`, outer quotes removed; false when the
// section or key is missing or the key's line has no "=".
bool FindProfileValue(const std::string& text, const std::string& section, const std::string& key,
                      std::string* value, ProfileCodePage codePage = ProfileCodePage::kWestern);

// What GetPrivateProfileStringA gives for the file text `text`: the value or the default (its
// trailing blanks removed), cut to bufferSize - 1 characters.
std::string ReadProfileStringFromText(const std::string& text, const std::string& section,
                                      const std::string& key, const std::string& defaultValue,
                                      std::size_t bufferSize,
                                      ProfileCodePage codePage = ProfileCodePage::kWestern);

// What GetPrivateProfileIntA gives: the default for a missing or empty value, else the value's
// leading number (decimal, or hexadecimal, octal or binary after "0x", "0o" or "0b"; 0 when
// there is none), wrapped to 32 bits.
int ReadProfileIntFromText(const std::string& text, const std::string& section,
                           const std::string& key, int defaultValue,
                           ProfileCodePage codePage = ProfileCodePage::kWestern);

// The file text after WritePrivateProfileStringA: the key's line replaced, or a new line added
// at the end of the section, or a new section at the end of the text; every other byte kept.
std::string WriteProfileStringToText(const std::string& text, const std::string& section,
                                     const std::string& key, const std::string& value,
                                     ProfileCodePage codePage = ProfileCodePage::kWestern);

}  // namespace platform
