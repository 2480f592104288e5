#include "base/string_escapes.h"

#include <gtest/gtest.h>

namespace {

TEST(DecodeEscapes, QuotesBackslashesAndControlLetters) {
  EXPECT_EQ(DecodeEscapes(R"(say \"hi\" \'x\' a\\b)"), "say \"hi\" 'x' a\\b");
  EXPECT_EQ(DecodeEscapes(R"(\a\b\f\n\r\t\v)"), "\a\b\f\n\r\t\v");
  // Any other character stands for itself, capitals of the control letters included.
  EXPECT_EQ(DecodeEscapes(R"(\q\N\T\%)"), "qNT%");
}

TEST(DecodeEscapes, OctalTakesOneToThreeDigits) {
  EXPECT_EQ(DecodeEscapes(R"(\101\x41\q)"), "AAq");
  EXPECT_EQ(DecodeEscapes(R"(\7)"), "\x07");
  EXPECT_EQ(DecodeEscapes(R"(\1011)"), "A1");  // a fourth digit is plain text
  EXPECT_EQ(DecodeEscapes(R"(\18)"),
            "\x01"
            "8");
  // 0777 is 511; only the low byte is kept.
  EXPECT_EQ(DecodeEscapes(R"(\777)"), "\xFF");
  EXPECT_EQ(DecodeEscapes(R"(\501x)"), "Ax");  // 321 & 0xFF = 0x41
}

TEST(DecodeEscapes, HexTakesZeroToTwoDigits) {
  EXPECT_EQ(DecodeEscapes(R"(\x4142)"), "A42");
  EXPECT_EQ(DecodeEscapes(R"(\X6a)"), "j");
  EXPECT_EQ(DecodeEscapes(R"(\x7g)"), "\x07g");
  EXPECT_EQ(DecodeEscapes(R"(\xff)"), "\xFF");
}

TEST(DecodeEscapes, ZeroByteEndsTheText) {
  EXPECT_EQ(DecodeEscapes(R"(ab\0cd)"), "ab");
  EXPECT_EQ(DecodeEscapes(R"(ab\000cd)"), "ab");
  EXPECT_EQ(DecodeEscapes(R"(ab\xcd)"), "ab\xCD");
  EXPECT_EQ(DecodeEscapes(R"(ab\x00cd)"), "ab");
  EXPECT_EQ(DecodeEscapes(R"(ab\xgh)"), "ab");    // \x without digits is byte 0
  EXPECT_EQ(DecodeEscapes(R"(ab\400cd)"), "ab");  // 256 wraps to 0
  EXPECT_EQ(DecodeEscapes(std::string("ab\0cd", 5)), "ab");
}

TEST(DecodeEscapes, TrailingBackslashIsDropped) {
  EXPECT_EQ(DecodeEscapes("path\\"), "path");
  EXPECT_EQ(DecodeEscapes("\\"), "");
  EXPECT_EQ(DecodeEscapes("a\\\\"), "a\\");  // an escaped backslash is kept
  EXPECT_EQ(DecodeEscapes("\\x"), "");
  EXPECT_EQ(DecodeEscapes(""), "");
}

TEST(DecodeEscapes, HighBytesPassUnchanged) {
  // GBK text whose trail byte is a backslash (0x5C) is still read as an escape, as the file
  // format has always done.
  EXPECT_EQ(DecodeEscapes("\xD6\xD0\xCE\xC4"), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(DecodeEscapes("\x81\\n"), "\x81\n");
}

}  // namespace
