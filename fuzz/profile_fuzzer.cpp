// The profile reader on arbitrary bytes: the first bytes choose the section and key asked for,
// the buffer size and what is written; the rest is the file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/profile_text.h"

namespace {

// A short name taken from the input, so queries hit the names the file holds now and then.
std::string TakeName(const std::uint8_t** data, std::size_t* size) {
  if (*size == 0) return "";
  const std::size_t length = std::min<std::size_t>(**data % 8, *size - 1);
  std::string name(reinterpret_cast<const char*>(*data + 1), length);
  *data += length + 1;
  *size -= length + 1;
  return name;
}

// A name that a write stores as given: no line break, zero byte or `forbidden` character, and
// no blank at either end.
bool IsPlainName(const std::string& name, const char* forbidden) {
  static const std::string kBlanks(" \t\n\v\f\r\x1a");
  if (name.empty() || kBlanks.find(name.front()) != std::string::npos ||
      kBlanks.find(name.back()) != std::string::npos) {
    return false;
  }
  return name.find_first_of(std::string("\r\n\0", 3) + forbidden) == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t bufferSize = data[0];
  ++data;
  --size;
  const std::string section = TakeName(&data, &size);
  const std::string key = TakeName(&data, &size);
  const std::string text(reinterpret_cast<const char*>(data), size);

  for (const auto codePage :
       {platform::ProfileCodePage::kWestern, platform::ProfileCodePage::kUtf8}) {
    const std::string value =
        platform::ReadProfileStringFromText(text, section, key, "default", bufferSize, codePage);
    if (bufferSize > 0 && value.size() >= bufferSize) __builtin_trap();
    platform::ReadProfileIntFromText(text, section, key, 7, codePage);
  }

  // A write must leave the value readable as written and every other key as it was.
  const std::string written = platform::WriteProfileStringToText(text, section, key, "v");
  std::string found;
  const bool plainNames = IsPlainName(section, "]") && IsPlainName(key, "=") && key[0] != '[';
  if (plainNames && (!platform::FindProfileValue(written, section, key, &found) || found != "v")) {
    __builtin_trap();
  }
  return 0;
}
