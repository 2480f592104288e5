#include "platform/profile_encoding.h"

#include <cstdint>

namespace platform {
namespace {

void AppendUnits(std::u16string* units, std::uint32_t code) {
  if (code < 0x10000) {
    units->push_back(static_cast<char16_t>(code));
  } else {
    code -= 0x10000;
    units->push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
    units->push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
  }
}

// One UTF-8 sequence at `i`: its code point and length, or length 0 when it is not well formed.
std::uint32_t DecodeUtf8(const std::string& text, std::size_t i, std::size_t* length) {
  const auto byte = [&text](std::size_t at) { return static_cast<unsigned char>(text[at]); };
  const unsigned lead = byte(i);
  const std::size_t count = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  *length = 0;
  if (count == 0 || lead > 0xF4 || i + count > text.size()) return 0;
  std::uint32_t code = lead & (0x7F >> count);
  for (std::size_t k = 1; k < count; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  const std::uint32_t smallest = count == 2 ? 0x80 : count == 3 ? 0x800 : 0x10000;
  if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) return 0;
  *length = count;
  return code;
}

void AppendUtf8(std::string* text, std::uint32_t code) {
  if (code < 0x80) {
    *text += static_cast<char>(code);
  } else if (code < 0x800) {
    *text += static_cast<char>(0xC0 | (code >> 6));
    *text += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    *text += static_cast<char>(0xE0 | (code >> 12));
    *text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *text += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    *text += static_cast<char>(0xF0 | (code >> 18));
    *text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    *text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *text += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

ProfileEncoding ProfileEncodingOf(const std::string& text) {
  if (text.compare(0, 2, "\xFF\xFE") == 0) return ProfileEncoding::kUtf16LittleEndian;
  if (text.compare(0, 2, "\xFE\xFF") == 0) return ProfileEncoding::kUtf16BigEndian;
  return ProfileEncoding::kBytes;
}

std::u16string DecodeUtf16(const std::string& text, ProfileEncoding encoding) {
  std::u16string units;
  const bool little = encoding == ProfileEncoding::kUtf16LittleEndian;
  for (std::size_t i = 2; i + 1 < text.size(); i += 2) {
    const auto low = static_cast<unsigned char>(text[little ? i : i + 1]);
    const auto high = static_cast<unsigned char>(text[little ? i + 1 : i]);
    units.push_back(static_cast<char16_t>(low | (high << 8)));
  }
  return units;
}

std::string EncodeUtf16(const std::u16string& units, ProfileEncoding encoding) {
  const bool little = encoding == ProfileEncoding::kUtf16LittleEndian;
  std::string text = little ? "\xFF\xFE" : "\xFE\xFF";
  for (const char16_t unit : units) {
    const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
    text += little ? low : high;
    text += little ? high : low;
  }
  return text;
}

std::u16string Widen(const std::string& text, ProfileCodePage codePage) {
  std::u16string units;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    const std::uint32_t code =
        codePage == ProfileCodePage::kUtf8 && byte >= 0x80 ? DecodeUtf8(text, i, &length) : 0;
    // A byte that is no UTF-8 stands for the code point of its own value.
    AppendUnits(&units, length == 0 ? byte : code);
    i += length == 0 ? 1 : length;
  }
  return units;
}

std::string Narrow(const std::u16string& units, ProfileCodePage codePage) {
  std::string text;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t unit = units[i];
    if (codePage == ProfileCodePage::kWestern) {
      text += unit < 0x100 ? static_cast<char>(unit) : '?';
    } else if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
               units[i + 1] < 0xE000) {
      const std::uint32_t high = unit - 0xD800u;
      const std::uint32_t low = units[++i] - 0xDC00u;
      AppendUtf8(&text, 0x10000 + (high << 10) + low);
    } else {
      AppendUtf8(&text, unit >= 0xD800 && unit < 0xE000 ? '?' : unit);  // a lone half
    }
  }
  return text;
}

}  // namespace platform
