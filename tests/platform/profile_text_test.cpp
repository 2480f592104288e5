#include "platform/profile_text.h"

#include <gtest/gtest.h>

#include "tests/support/staged_files.h"

namespace {

std::string Read(const std::string& text, const std::string& section, const std::string& key,
                 std::size_t size = 260) {
  return platform::ReadProfileStringFromText(text, section, key, "<none>", size);
}

TEST(ProfileTextTest, NamesIgnoreCaseAndBlanksAndTheFirstMatchWins) {
  const std::string text =
      "k=orphan\n[Sec]\n  Key \t=  first  \nKEY=second\n[SEC]\nother=x\n[b]\n ; c = d\n";
  EXPECT_EQ(Read(text, "sec", "key"), "first");
  EXPECT_EQ(Read(text, " SEC ", " KEY "), "first");
  // Only the first of two sections with one name is searched.
  EXPECT_EQ(Read(text, "Sec", "other"), "<none>");
  EXPECT_EQ(Read(text, "", "k"), "orphan");
  EXPECT_EQ(Read(text, "b", "c"), "<none>");
  EXPECT_EQ(Read(text, "missing", "key"), "<none>");
}

TEST(ProfileTextTest, ValuesKeepInnerTextAndLoseOneMatchingPairOfQuotes) {
  const std::string text = "[Q]\na=b ;c\nb=\" x \"\nc='y'\nd=\"z'\ne=\"\"\"\nf=\"\ng=\nh\ni=a=b\n";
  EXPECT_EQ(Read(text, "Q", "a"), "b ;c");
  EXPECT_EQ(Read(text, "Q", "b"), " x ");
  EXPECT_EQ(Read(text, "Q", "c"), "y");
  EXPECT_EQ(Read(text, "Q", "d"), "\"z'");
  EXPECT_EQ(Read(text, "Q", "e"), "\"");
  EXPECT_EQ(Read(text, "Q", "f"), "\"");
  EXPECT_EQ(Read(text, "Q", "g"), "");
  EXPECT_EQ(Read(text, "Q", "h"), "<none>");  // a key without "=" has no value
  EXPECT_EQ(Read(text, "Q", "i"), "a=b");
}

TEST(ProfileTextTest, SectionNamesEndAtTheFirstBracket) {
  const std::string text = "[a]b]\nk=1\n[open\nk=2\n[c] tail\nk=3\n";
  EXPECT_EQ(Read(text, "a", "k"), "1");
  EXPECT_EQ(Read(text, "a]b", "k"), "<none>");
  // A line without "]" is no header: its key belongs to the section before.
  EXPECT_EQ(Read(text, "a", "[open"), "<none>");
  EXPECT_EQ(Read(text, "c", "k"), "3");
}

TEST(ProfileTextTest, LineBreaksByteOrderMarkAndZeroBytes) {
  EXPECT_EQ(Read("[A]\rk=cr\r", "A", "k"), "cr");
  EXPECT_EQ(Read("[A]\r\n\r\nk=crlf", "A", "k"), "crlf");
  EXPECT_EQ(Read("\xEF\xBB\xBF[A]\nk=bom\n", "A", "k"), "bom");
  EXPECT_EQ(Read(std::string("[A]\nk=ab\0cd\n", 13), "A", "k"), "ab");
}

TEST(ProfileTextTest, CutsToTheBufferAndTrimsTheDefault) {
  const std::string text = "[A]\nk=\"abcdef\"\n";
  EXPECT_EQ(Read(text, "A", "k", 7), "abcdef");
  EXPECT_EQ(Read(text, "A", "k", 4), "abc");
  EXPECT_EQ(Read(text, "A", "k", 1), "");
  EXPECT_EQ(Read(text, "A", "k", 0), "");
  EXPECT_EQ(platform::ReadProfileStringFromText(text, "A", "x", "def  ", 260), "def");
  EXPECT_EQ(platform::ReadProfileStringFromText(text, "A", "x", "   ", 260), " ");
  EXPECT_EQ(platform::ReadProfileStringFromText(text, "A", "x", "def\t", 3), "de");
}

TEST(ProfileTextTest, IntegersTakeTheLeadingNumber) {
  const std::string text = "[I]\na=42x\nb=-7\nc=0x1F\nd=abc\ne=\nf=4294967297\ng=\"12\"\nh=0b101\n";
  auto number = [&](const char* key) {
    return platform::ReadProfileIntFromText(text, "I", key, -99);
  };
  EXPECT_EQ(number("a"), 42);
  EXPECT_EQ(number("b"), -7);
  EXPECT_EQ(number("c"), 31);
  EXPECT_EQ(number("d"), 0);
  EXPECT_EQ(number("e"), -99);
  EXPECT_EQ(number("f"), 1);
  EXPECT_EQ(number("g"), 12);
  EXPECT_EQ(number("h"), 5);
  EXPECT_EQ(number("none"), -99);
}

TEST(ProfileTextTest, WritesChangeOnlyWhatTheyMust) {
  using platform::WriteProfileStringToText;
  EXPECT_EQ(WriteProfileStringToText("", "S", "k", "v"), "[S]\r\nk=v\r\n");
  // The file's own line breaks are kept and used for new lines.
  EXPECT_EQ(WriteProfileStringToText("[S]\nk=old ; x\n\n[T]\nj=1\n", "s", "K", "new"),
            "[S]\nK=new\n\n[T]\nj=1\n");
  EXPECT_EQ(WriteProfileStringToText("[S]\nk=1\n\n[T]\nj=1\n", "S", "n", "2"),
            "[S]\nk=1\nn=2\n\n[T]\nj=1\n");
  EXPECT_EQ(WriteProfileStringToText("[S]\r\nk=1", "S", "n", "2"), "[S]\r\nk=1\r\nn=2\r\n");
  EXPECT_EQ(WriteProfileStringToText("[S]\r\nk=1", "T", "n", "2"), "[S]\r\nk=1\r\n[T]\r\nn=2\r\n");
  // Into the first section of a name, never a repeat; the lines before any header are one too.
  EXPECT_EQ(WriteProfileStringToText("[S]\nk=1\n[T]\n[s]\nj=2\n", "S", "j", "3"),
            "[S]\nk=1\nj=3\n[T]\n[s]\nj=2\n");
  EXPECT_EQ(WriteProfileStringToText("a=1\n[S]\n", "", "b", "2"), "a=1\nb=2\n[S]\n");
  EXPECT_EQ(WriteProfileStringToText("[S]\nk=1\n", "", "b", "2"), "b=2\n[S]\nk=1\n");
  EXPECT_EQ(WriteProfileStringToText("\xEF\xBB\xBF"
                                     "a=1\n",
                                     "", "b", "2"),
            "\xEF\xBB\xBF"
            "a=1\nb=2\n");
}

TEST(ProfileTextTest, Utf16FilesAreReadAndWrittenInTheirOwnEncoding) {
  const std::string text = Utf16File(u"[W]\r\nk=caf\u00e9\r\nz=\u4e2d\r\n");
  EXPECT_EQ(Read(text, "w", "K"), "caf\xE9");
  EXPECT_EQ(Read(text, "W", "z"), "?");
  EXPECT_EQ(platform::WriteProfileStringToText(text, "W", "n", "1"),
            Utf16File(u"[W]\r\nk=caf\u00e9\r\nz=\u4e2d\r\nn=1\r\n"));
}

}  // namespace
