#include "base/multibyte_case.h"

#include "platform/ascii_characters.h"
#include "platform/text_encoding.h"

namespace {

LeadByteRule RuleOrSystem(LeadByteRule isLeadByte) {
  return isLeadByte != nullptr ? isLeadByte : platform::IsSystemLeadByte;
}

// Folds the ASCII letters with `fold`, stepping over double-byte characters.
std::string FoldAsciiLetters(std::string text, char (*fold)(char), LeadByteRule isLeadByte) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (isLeadByte(text[i])) {
      ++i;
    } else {
      text[i] = fold(text[i]);
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
  return FoldAsciiLetters(text, platform::ToAsciiUpper<char>, RuleOrSystem(isLeadByte));
}

std::string ToLowerMultiByte(const std::string& text, LeadByteRule isLeadByte) {
  return FoldAsciiLetters(text, platform::ToAsciiLower<char>, RuleOrSystem(isLeadByte));
}
