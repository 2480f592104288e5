#include "migration/parameter_lines.h"

#include <gtest/gtest.h>

namespace {

TEST(ParameterLineTest, GrammarYieldsHeadersAndCompletePairsOnly) {
  const auto pair = ParseParameterLine("  m_A  =  12 ; speed\r");
  ASSERT_TRUE(pair);
  EXPECT_EQ(pair->name, "m_A");
  EXPECT_EQ(pair->value, "12");

  const auto header = ParseParameterLine(" [Axis X] ;note");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->name, "[Axis X]");
  EXPECT_EQ(header->value, "");

  // The first "=" splits; later ones belong to the value.
  const auto equals = ParseParameterLine("m_F = a=b");
  ASSERT_TRUE(equals);
  EXPECT_EQ(equals->value, "a=b");

  EXPECT_FALSE(ParseParameterLine(""));
  EXPECT_FALSE(ParseParameterLine("   ; only a comment"));
  EXPECT_FALSE(ParseParameterLine("m_B ="));
  EXPECT_FALSE(ParseParameterLine("= 3"));
  EXPECT_FALSE(ParseParameterLine("m_C 3"));
  EXPECT_FALSE(ParseParameterLine("m_D = ;3"));
}

TEST(ParameterLineTest, FormattedLinesOmitTheEqualsSignWithoutValue) {
  EXPECT_EQ(FormatParameterLine({"m_A", "1"}), "m_A = 1");
  EXPECT_EQ(FormatParameterLine({"[CController]", ""}), "[CController]");
}

}  // namespace
