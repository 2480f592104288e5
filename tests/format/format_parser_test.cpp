#include "format/format_parser.h"

#include <gtest/gtest.h>

#include "base/language_folder.h"
#include "base/string_table.h"
#include "tests/format/format_test_support.h"

namespace {

const std::string kPrefix = "|E|vexorand.fmt(";

TEST_F(FormatParserTest, BuiltInTypesAndAliasesInTableOrder) {
  ASSERT_TRUE(Parse("// nothing declared\n"));
  ASSERT_EQ(parser_.Types().Count(), 15);
  EXPECT_EQ(parser_.Types().At(0).name, "void*");
  EXPECT_EQ(parser_.Types().At(14).name, "plc_bit_addr_t");
  ASSERT_EQ(parser_.Aliases().size(), 16u);
  EXPECT_EQ(parser_.Aliases()[4].name, "DWORD");
  EXPECT_EQ(parser_.Aliases()[4].typeIndex, 7);
  EXPECT_EQ(parser_.Aliases()[4].outputFormat, "0x%08X");
  EXPECT_EQ(parser_.BlockCount(), 0);
  EXPECT_EQ(parser_.FilePath(), "C:\\Pelmo\\Control\\vexorand.fmt");
  EXPECT_TRUE(sink_.entries().empty());
}

TEST_F(FormatParserTest, SyntaxErrorsAreLoggedWithTheirLine) {
  const std::pair<const char*, std::string> cases[] = {
      {"int x;", "1): Invalid token\n"},
      {"#pragma pack(3)", "1): Incorrect pack value\n"},
      {"#pragma pack()", "1): Expecting an integer\n"},
      {"#define X", "1): Expecting token 'pragma'\n"},
      {"struct A { unsigned x y; };", "1): Undefined data type 'unsigned x'\n"},
      {"struct A { int a[0]; };", "1): Array size should be greater than zero\n"},
      {"struct A { B b; };\nstruct B { int x; };", "1): Undefined data type 'B'\n"},
      {"struct A { int x; }\nstruct B { int y; };", "2): Expecting token 'semicolon(;)'\n"},
      {"struct A { };", "1): Expecting token 'an identifier'\n"},
      {"field A { int *; };", "1): Expecting token 'an identifier'\n"},
      {"typedef int* P;", "1): Expecting token 'an identifier'\n"},
      {"\n\n\n\n\n\nstruct A { int x };", "7): Expecting token 'semicolon(;)'\n"},
      {"struct A { int x[4] /*c*/ [2]; };", "1): Expecting token 'semicolon(;)'\n"},
      // A field comment's own line feeds count.
      {"struct A {\n int x /* a\n b\n */ y; };", "4): Expecting token 'semicolon(;)'\n"},
      {"struct A { int a[0x7fffffff]; };", "1): Data type 'A' is too large\n"},
  };
  for (const auto& [text, message] : cases) EXPECT_EQ(ErrorOf(text), kPrefix + message);
}

TEST_F(FormatParserTest, WhatWasRegisteredBeforeAnErrorStays) {
  EXPECT_FALSE(Parse("struct A { int x; };\nfield B { int y; };\nstruct C { D d; };"));
  EXPECT_EQ(Type("A").size, 4);
  EXPECT_NE(parser_.FindBlock("B"), nullptr);
  EXPECT_EQ(parser_.Types().Find("C"), -1);
}

TEST_F(FormatParserTest, DeepNestingIsRefused) {
  std::string text = "struct S0 { int x; };\n";
  for (int i = 1; i <= 100; ++i) {
    text += "struct S" + std::to_string(i) + " { S" + std::to_string(i - 1) + " s; };\n";
  }
  EXPECT_EQ(ErrorOf(text), kPrefix + "101): Data type 'S100' is nested too deeply\n");
  EXPECT_EQ(Type("S99").nesting, 100);
}

TEST_F(FormatParserTest, PackPragmaHoldsUntilTheNext) {
  ASSERT_TRUE(
      Parse("struct A8 { char c; int i; };\n"
            "#pragma pack(1)\n"
            "struct A1 { char c; int i; };\n"
            "struct D1 { char c; double d; };\n"
            "#pragma pack(4) struct D4 { char c; double d; };\n"
            "#pragma pack(0x8) struct D8 { char c; double d; };\n"
            "#pragma pack(2) struct S2 { char c; double d; };\n"
            "#pragma pack(8) struct U8 { char c; S2 s; };\n"
            "struct E8 { char c; D8 d; };\n"
            "#pragma pack(1) struct E1 { char c; D8 d; };\n"));
  EXPECT_EQ(Type("A8").size, 8);
  EXPECT_EQ(Type("A1").size, 5);
  struct Expected {
    const char* name;
    int offset, size, alignment;
  };
  for (const Expected& e :
       {Expected{"D1", 1, 9, 1}, Expected{"D4", 4, 12, 4}, Expected{"D8", 8, 16, 8},
        Expected{"S2", 2, 10, 2}, Expected{"U8", 2, 12, 2}, Expected{"E8", 8, 24, 8},
        Expected{"E1", 1, 17, 1}}) {
    EXPECT_EQ(Type(e.name).fields[1].offset, e.offset) << e.name;
    EXPECT_EQ(Type(e.name).size, e.size) << e.name;
    EXPECT_EQ(Type(e.name).alignment, e.alignment) << e.name;
  }
  EXPECT_EQ(Type("E1").pack, 1);
  EXPECT_EQ(parser_.PackValue(), 1);
}

TEST_F(FormatParserTest, BlockFormatsAreNotRoundedUp) {
  ASSERT_TRUE(
      Parse("struct S { int i; char c; };\nfield B { int i; char c; };\n"
            "struct T { short s; char c; };\nfield U { short s; char c; };\n"));
  EXPECT_EQ(Type("S").size, 8);
  EXPECT_EQ(parser_.FindBlock("B")->size, 5);
  EXPECT_EQ(parser_.FindBlock("B")->alignment, 4);
  EXPECT_EQ(Type("T").size, 4);
  EXPECT_EQ(parser_.FindBlock("U")->size, 3);
}

TEST_F(FormatParserTest, TypeSpecifiersAndDeclarators) {
  ASSERT_TRUE(
      Parse("typedef DWORD Mask; typedef Mask Flags; typedef int DWORD;\n"
            "struct P { int x; }; typedef P Point;\n"
            "struct A {\n"
            "  int a, *p, b[3];\n"
            "  unsigned short u;\n"
            "  unsigned long v;\n"  // later lines may begin with `unsigned` too
            "  Flags f; DWORD d /* -f %u */; Point pt[0x10];\n"
            "};"));
  const CTypeRecord& a = Type("A");
  ASSERT_EQ(a.fields.size(), 8u);
  EXPECT_EQ(a.fields[0].elementCount, 0);
  EXPECT_TRUE(a.fields[1].pointer);
  EXPECT_EQ(a.fields[1].FieldType().name, "void*");
  EXPECT_EQ(a.fields[1].typeIndex, 6);
  EXPECT_EQ(a.fields[2].elementCount, 3);
  EXPECT_EQ(a.fields[2].FieldSize(), 12);
  EXPECT_EQ(a.fields[3].FieldType().name, "unsigned short");
  EXPECT_EQ(a.fields[4].FieldType().name, "unsigned long");
  // Typedef chains keep the format; the first alias of a name wins.
  EXPECT_EQ(a.fields[5].typeIndex, 7);
  EXPECT_EQ(a.fields[5].outputFormat, "0x%08X");
  EXPECT_EQ(a.fields[6].outputFormat, " %u");
  EXPECT_EQ(a.fields[7].FieldType().name, "P");
  EXPECT_EQ(a.fields[7].elementCount, 16);
  EXPECT_EQ(a.idSpan, 8);
}

TEST_F(FormatParserTest, CommentsAndTheirOptions) {
  ASSERT_TRUE(
      Parse("struct R /* -r10 */ { int a; int b; int c; };\n"
            "struct Z /*-r0*/ { int a; int b; };\n"
            "struct Y { /* -r9 not after the name */ int a; };\n"
            "field B /* -r5 skipped */ {\n"
            "  int /* -g1 ignored */ a /* -g2 -n'Max. speed' -m 1000 */; /* -g3 ignored */\n"
            "  int b[4] /* -k 1 ~ 2 -F'Axis %d' -f'%d\\nmm' */;\n"
            "  int c[4] /* -k3 */, d /**/;\n"
            "};"));
  EXPECT_EQ(Type("R").idSpan, 10);
  EXPECT_EQ(Type("Z").idSpan, 2);
  EXPECT_EQ(Type("Y").idSpan, 1);
  const CTypeRecord& block = *parser_.FindBlock("B");
  EXPECT_EQ(block.idSpan, 4);
  const CFieldRecord& a = block.fields[0];
  EXPECT_EQ(a.idOffset, 2);
  EXPECT_EQ(a.comment, " -g2 -n'Max. speed' -m 1000 ");
  const CFieldRecord& b = block.fields[1];
  EXPECT_EQ(b.lowerIndex, 1);
  EXPECT_EQ(b.upperIndex, 2);
  EXPECT_EQ(b.elementFormat, "Axis %d");
  // The escape decodes to a line feed, and a format that writes one is refused.
  EXPECT_FALSE(b.outputFormat.has_value());
  EXPECT_EQ(b.idOffset, -1);
  EXPECT_EQ(block.fields[2].lowerIndex, 3);
  EXPECT_EQ(block.fields[2].upperIndex, INT_MAX);
  EXPECT_FALSE(block.fields[3].comment.has_value());
}

TEST_F(FormatParserTest, StringFields) {
  ASSERT_TRUE(
      Parse("field B { char name[16]; BYTE raw[16]; unsigned char u[4]; char c;\n"
            "TCHAR t[4]; char f[4] /* -f %c */; char s[4] /* -f %s */; };"));
  const CTypeRecord& block = *parser_.FindBlock("B");
  // A refused format still made its array one value per element.
  const bool expected[] = {true, false, true, false, false, false, false};
  for (std::size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(block.fields[i].stringField, expected[i]) << block.fields[i].name;
  }
  EXPECT_FALSE(block.fields[6].outputFormat.has_value());
}

TEST_F(FormatParserTest, UnfitOutputFormatsFallBackAndAreLoggedOnce) {
  ASSERT_TRUE(
      Parse("field B {\n int a /* -f %s */;\n DWORD d /* -f %n */;\n guard_t *p;\n"
            " int e[2] /* -F'%f' */;\n double x /* -f'%0.3f' */; };"));
  const CTypeRecord& block = *parser_.FindBlock("B");
  EXPECT_FALSE(block.fields[0].outputFormat.has_value());
  EXPECT_EQ(block.fields[1].outputFormat, "0x%08X");
  // The alias's 64-bit format does not fit the 32-bit pointer it would show.
  EXPECT_FALSE(block.fields[2].outputFormat.has_value());
  EXPECT_FALSE(block.fields[3].elementFormat.has_value());
  EXPECT_EQ(block.fields[4].outputFormat, "%0.3f");
  const std::vector<std::string>& entries = sink_.entries();
  ASSERT_EQ(entries.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(entries[i].rfind(kPrefix + std::to_string(i + 2) + "): ", 0), 0u) << entries[i];
    EXPECT_EQ(entries[i].back(), '\n');
  }
}

TEST_F(FormatParserTest, EachParseStartsAfresh) {
  const std::string text = "#pragma pack(1)\ntypedef int X;\nstruct A { char c; X x; };";
  ASSERT_TRUE(Parse(text));
  ASSERT_TRUE(Parse("struct B { char c; int x; };\n" + text));
  EXPECT_EQ(parser_.Aliases().size(), 17u);
  EXPECT_EQ(Type("B").size, 8);
  EXPECT_EQ(Type("A").size, 5);
  EXPECT_EQ(parser_.Types().Count(), 17);
  // Line numbers start again too.
  EXPECT_EQ(ErrorOf("-"), kPrefix + "1): Unexpected char\n");
}

TEST_F(FormatParserTest, ReadsFilesThroughThePlatformLayer) {
  const TempFolder& folder = folder_;
  folder.WriteFile("vexorand.fmt", "field CController {\r\n  int x;\r\n};\r\n\x1A");
  ASSERT_TRUE(parser_.Parse(folder.Path("vexorand.fmt")));
  EXPECT_EQ(parser_.FindBlock("CController")->size, 4);
  EXPECT_EQ(parser_.FilePath(), folder.Path("vexorand.fmt"));
  // A file that cannot be read fails quietly and leaves the path as it was.
  EXPECT_FALSE(parser_.Parse(folder.Path("missing.fmt")));
  EXPECT_EQ(parser_.FilePath(), folder.Path("vexorand.fmt"));
  EXPECT_TRUE(sink_.entries().empty());
}

// A path too long for the system's path buffers is refused by name, never read cut short.
TEST_F(FormatParserTest, APathLongerThanTheSystemHoldsIsRefused) {
  const std::string fits = "C:\\" + std::string(254, 'p') + ".f";
  ASSERT_EQ(fits.size(), 259u);
  EXPECT_TRUE(parser_.ParseText(fits, "struct A { int x; };"));
  const std::string longer = fits + "m";
  for (const bool fromFile : {false, true}) {
    EXPECT_FALSE(fromFile ? parser_.Parse(longer) : parser_.ParseText(longer, "struct B { };"));
    EXPECT_EQ(sink_.entries().back(), "|E|Path too long, refused: " + longer + "\n");
    EXPECT_EQ(parser_.FilePath(), fits);
  }
}

TEST_F(FormatParserTest, LocalisedFieldComments) {
  const TempFolder& folder = folder_;
  folder.WriteFile("Lang\\Lang.ini", "[ActiveLang]\r\nActiveLang=eng\r\n");
  folder.WriteFile("Lang\\eng\\Vexorand.string",
                   "[Attribute]\r\nMaxIndex=200\r\n[STRING]\r\n120=-n'Feed rate' -g7\r\n");
  DetermineLanguageFolder(folder.path(), sink_);
  ASSERT_TRUE(Parse("field B { int f /*{@120}*/; int g /*{@121}*/; };"));
  const CTypeRecord& block = *parser_.FindBlock("B");
  EXPECT_EQ(block.fields[0].comment, "-n'Feed rate' -g7");
  EXPECT_EQ(block.fields[0].idOffset, 7);
  EXPECT_EQ(block.fields[1].comment, "!ErrStr!");
  EXPECT_EQ(sink_.entries(), std::vector<std::string>{"|E|Load string 121 failed\n"});
}

}  // namespace
