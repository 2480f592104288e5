#include <gtest/gtest.h>

#include "tests/format/format_test_support.h"
#include "tools/vextool/fmt_header_writer.h"
#include "tools/vextool/fmt_layout_writer.h"

namespace {

using LayoutWriterTest = FormatParserTest;

TEST_F(LayoutWriterTest, JsonHasEveryKeyInOrderAndEscapesTexts) {
  ASSERT_TRUE(
      Parse("struct S /* -r3 */ { char name[4] /* say \"hi\"\\\tnow\xC4 */; };\n"
            "field B { S *p /* -g2 -k 1 */; DWORD d[2] /* -F'N%d' */; };"));
  EXPECT_EQ(
      LayoutJson(parser_),
      "{\"types\":[{\"index\":15,\"name\":\"S\",\"size\":4,\"align\":1,\"idspan\":3,\"fields\":["
      "{\"name\":\"name\",\"type\":\"char\",\"type_index\":2,\"pointer\":false,\"count\":4,"
      "\"offset\":0,\"size\":4,\"align\":1,\"packed_align\":1,\"format\":null,\"element_format\":"
      "null,"
      "\"comment\":\" say \\\"hi\\\"\\\\\\tnow\\u00C4 \",\"idoffset\":-1,\"lower\":-1,"
      "\"upper\":2147483647,\"string\":true}]}],"
      "\"blocks\":[{\"index\":0,\"name\":\"B\",\"size\":12,\"align\":4,\"idspan\":2,\"fields\":["
      "{\"name\":\"p\",\"type\":\"S\",\"type_index\":15,\"pointer\":true,\"count\":0,"
      "\"offset\":0,\"size\":4,\"align\":4,\"packed_align\":4,\"format\":null,\"element_format\":"
      "null,"
      "\"comment\":\" -g2 -k 1 \",\"idoffset\":2,\"lower\":1,\"upper\":2147483647,"
      "\"string\":false},"
      "{\"name\":\"d\",\"type\":\"DWORD\",\"type_index\":7,\"pointer\":false,\"count\":2,"
      "\"offset\":4,\"size\":8,\"align\":4,\"packed_align\":4,\"format\":\"0x%08X\",\"element_"
      "format\":\"N%d\","
      "\"comment\":\" -F'N%d' \",\"idoffset\":-1,\"lower\":-1,\"upper\":2147483647,"
      "\"string\":false}]}]}\n");
}

TEST_F(LayoutWriterTest, TextShowsHolesAndTailPadding) {
  ASSERT_TRUE(Parse("struct S { char c; double d; short s; };\nfield B { char c; int i; };"));
  const std::string text = LayoutText(parser_);
  EXPECT_NE(text.find("struct S {  /* index 15, pack 8 */\n"), std::string::npos) << text;
  EXPECT_NE(text.find("    /* XXX 7 bytes hole */\n    double d;"), std::string::npos) << text;
  EXPECT_NE(text.find("    /* XXX 6 bytes padding */\n    /* size: 24, align: 8, idspan: 3, "
                      "members: 3, holes: 1, sum holes: 7, padding: 6 */\n};"),
            std::string::npos)
      << text;
  // A block format ends with its last field.
  EXPECT_NE(text.find("/* size: 8, align: 4, idspan: 2, members: 2, holes: 1, sum holes: 3, "
                      "padding: 0 */"),
            std::string::npos)
      << text;
}

TEST_F(LayoutWriterTest, TextShowsAliasesAsWrittenAndTheAlignmentUnderPack) {
  ASSERT_TRUE(Parse("#pragma pack(2)\nfield B { char c; DWORD d; double r; };"));
  const std::string text = LayoutText(parser_);
  EXPECT_NE(text.find("    DWORD d;"), std::string::npos) << text;
  EXPECT_NE(text.find("/*      6      8  2  own align 8 */"), std::string::npos) << text;
}

TEST_F(LayoutWriterTest, HeaderRenamesWhatCCannotUse) {
  ASSERT_TRUE(
      Parse("struct int { char c; };\nstruct Dup { int a; };\nstruct Dup { char b; };\n"
            "struct \xC4\xE3 { int double; int x, x; };\n"
            "#pragma pack(2)\nfield Dup { Dup d; int *p; };"));
  const std::string header = LayoutHeader(parser_, "names.fmt");
  for (const char* expected : {
           "typedef struct type_15 {\n  char c;\n} type_15;\n",
           "typedef struct Dup {\n  int32_t a;\n} Dup;\n",
           "/* struct Dup */\ntypedef struct type_17 {",
           "/* struct \\xC4\\xE3 */\ntypedef struct type_18 {\n  int32_t field_0; /* int double "
           "*/\n"
           "  int32_t x;\n  int32_t field_2; /* int x */\n} type_18;",
           "#pragma pack(2)\n\n/* field Dup */\ntypedef struct block_0 {\n  struct Dup d;\n"
           "  uint32_t p; /* int *p */\n} block_0;\n",
           "static_assert(sizeof(block_0) == 8, \"block_0: size\");\n",
           "static_assert(offsetof(block_0, p) == 4, \"block_0.p: offset\");\n",
           "static_assert(offsetof(block_0, p) + VEX_FIELD_SIZE(block_0, p) == 8, "
           "\"block_0: data size\");\n",
           "#pragma pack(pop)\n",
       }) {
    EXPECT_NE(header.find(expected), std::string::npos) << expected << "\nin\n" << header;
  }
}

}  // namespace
