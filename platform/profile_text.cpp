// The rules work on characters of either width: 8-bit files as they are, UTF-16 files (known by
// their byte-order mark) in 16-bit units, so that a write changes nothing else in them.
#include "platform/profile_text.h"

#include "platform/profile_index.h"
#include "platform/profile_integer.h"
#include "platform/profile_writer.h"

namespace platform {
namespace {

std::string CutToBuffer(std::string value, std::size_t bufferSize) {
  if (bufferSize == 0) return "";
  if (value.size() > bufferSize - 1) value.resize(bufferSize - 1);
  return value;
}

// What a read gives once the value was looked for.
std::string StringResult(bool found, std::string value, const std::string& defaultValue,
                         std::size_t bufferSize) {
  if (!found) {
    value = defaultValue;
    // The system drops the default's trailing blanks but always keeps its first character.
    while (value.size() > 1 && value.back() == ' ') value.pop_back();
  }
  return CutToBuffer(value, bufferSize);
}

}  // namespace

struct ParsedProfile::Index {
  std::unique_ptr<ProfileIndex<char>> bytes;
  std::unique_ptr<ProfileIndex<char16_t>> wide;
};

ParsedProfile::ParsedProfile(std::string text, ProfileCodePage codePage)
    : text_(std::move(text)), codePage_(codePage), index_(std::make_unique<Index>()) {
  const ProfileEncoding encoding = ProfileEncodingOf(text_);
  if (encoding == ProfileEncoding::kBytes) {
    index_->bytes = std::make_unique<ProfileIndex<char>>(text_);
  } else {
    index_->wide = std::make_unique<ProfileIndex<char16_t>>(DecodeUtf16(text_, encoding));
  }
}

ParsedProfile::~ParsedProfile() = default;

bool ParsedProfile::Find(const std::string& section, const std::string& key,
                         std::string* value) const {
  if (index_->bytes) return index_->bytes->FindValue(section, key, value);
  std::u16string wide;
  if (!index_->wide->FindValue(Widen(section, codePage_), Widen(key, codePage_), &wide))
    return false;
  *value = Narrow(wide, codePage_);
  return true;
}

std::string ParsedProfile::ReadString(const std::string& section, const std::string& key,
                                      const std::string& defaultValue,
                                      std::size_t bufferSize) const {
  std::string value;
  const bool found = Find(section, key, &value);
  return StringResult(found, std::move(value), defaultValue, bufferSize);
}

int ParsedProfile::ReadInt(const std::string& section, const std::string& key,
                           int defaultValue) const {
  return ProfileIntFromValue(ReadString(section, key, "", kProfileIntBufferSize), defaultValue);
}

bool FindProfileValue(const std::string& text, const std::string& section, const std::string& key,
                      std::string* value, ProfileCodePage codePage) {
  return ParsedProfile(text, codePage).Find(section, key, value);
}

std::string ReadProfileStringFromText(const std::string& text, const std::string& section,
                                      const std::string& key, const std::string& defaultValue,
                                      std::size_t bufferSize, ProfileCodePage codePage) {
  return ParsedProfile(text, codePage).ReadString(section, key, defaultValue, bufferSize);
}

int ReadProfileIntFromText(const std::string& text, const std::string& section,
                           const std::string& key, int defaultValue, ProfileCodePage codePage) {
  return ParsedProfile(text, codePage).ReadInt(section, key, defaultValue);
}

std::string WriteProfileStringToText(const std::string& text, const std::string& section,
                                     const std::string& key, const std::string& value,
                                     ProfileCodePage codePage) {
  const ProfileEncoding encoding = ProfileEncodingOf(text);
  if (encoding == ProfileEncoding::kBytes) return WriteProfileLine(text, section, key, value);
  const std::u16string written =
      WriteProfileLine(DecodeUtf16(text, encoding), Widen(section, codePage), Widen(key, codePage),
                       Widen(value, codePage));
  // A stray last byte is no character, but it stays.
  return EncodeUtf16(written, encoding) +
         (text.size() % 2 == 1 ? text.substr(text.size() - 1) : "");
}

}  // namespace platform
