#include "base/multibyte_case.h"

#include "platform/text_encoding.h"

namespace {

LeadByteRule RuleOrSystem(LeadByteRule isLeadByte) {
  return isLeadByte != nullptr ? isLeadByte : platform::IsSystemLeadByte;
}

// Maps the ASCII letters in [first, last] by `offset`, stepping over double-byte characters.
std::string ShiftAsciiLetters(std::string text, char first, char last, int offset,
                              LeadByteRule isLeadByte) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (isLeadByte(text[i])) {
      ++i;
    } else if (text[i] >= first && text[i] <= last) {
      text[i] = static_cast<char>(text[i] + offset);
    }
  }
  return text;
}

}  // namespace

bool IsGbkLeadByte(char c) {
  const unsigned char byte = static_cast<unsigned char>(c);
  return byte >= 0x81 && byte <= 0xFE;
}

std::string ToUpperMultiByte(const std::string& text, LeadByteRule isLeadByte) {
  return ShiftAsciiLetters(text, 'a', 'z', 'A' - 'a', RuleOrSystem(isLeadByte));
}

std::string ToLowerMultiByte(const std::string& text, LeadByteRule isLeadByte) {
  return ShiftAsciiLetters(text, 'A', 'Z', 'a' - 'A', RuleOrSystem(isLeadByte));
}
