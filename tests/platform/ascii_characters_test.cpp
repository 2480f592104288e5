#include "platform/ascii_characters.h"

#include <gtest/gtest.h>

#include <cctype>

namespace {

// Bytes above 0x7F are negative chars here: none of them may count as a digit, space or letter,
// or change case, whatever the locale.
TEST(AsciiCharacters, ClassifyAndFoldOnlyAsciiWhateverTheWidth) {
  for (int byte = 0; byte < 256; ++byte) {
    const char c = static_cast<char>(byte);
    const bool ascii = byte < 0x80;
    EXPECT_EQ(platform::IsAsciiDigit(c), ascii && byte >= '0' && byte <= '9') << byte;
    EXPECT_EQ(platform::IsAsciiSpace(c), byte == ' ' || (byte >= '\t' && byte <= '\r')) << byte;
    EXPECT_EQ(platform::IsAsciiLetter(c), ascii && std::isalpha(byte) != 0) << byte;
    if (!ascii) {
      EXPECT_EQ(platform::DigitValue(c), platform::kNoDigit) << byte;
      EXPECT_EQ(platform::ToAsciiUpper(c), c) << byte;
      EXPECT_EQ(platform::ToAsciiLower(c), c) << byte;
    }
  }
  EXPECT_EQ(platform::DigitValue('7'), 7);
  EXPECT_EQ(platform::DigitValue('f'), 15);
  EXPECT_EQ(platform::DigitValue('Z'), 35);
  EXPECT_EQ(platform::DigitValue('@'), platform::kNoDigit);
  // A UTF-16 unit whose low byte is a letter is no letter.
  EXPECT_EQ(platform::ToAsciiLower(u'\u0141'), u'\u0141');
  EXPECT_EQ(platform::AsciiUpperCase(std::string("caf\xC3\xA9 b")), "CAF\xC3\xA9 B");
  EXPECT_TRUE(
      platform::EqualIgnoringAsciiCase(std::u16string(u"Sec\u00e9"), std::u16string(u"sEC\u00e9")));
  EXPECT_FALSE(platform::EqualIgnoringAsciiCase(std::string("\xC3\xA9"), std::string("\xC3\x89")));
}

}  // namespace
