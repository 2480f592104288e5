#include "values/output_format.h"

#include <gtest/gtest.h>

#include "values/number_text.h"
#include "values/scalar_aliases.h"
#include "values/scalar_types.h"

namespace {

TEST(OutputFormatCheck, EveryBuiltInFormatFitsItsType) {
  for (int i = 0; i < kScalarTypeCount; ++i) {
    EXPECT_TRUE(CheckOutputFormat(kScalarTypes[i].defaultFormat, i)) << kScalarTypes[i].name;
  }
  for (const ScalarAliasRow& alias : kScalarAliases) {
    int index = 0;
    while (std::string(kScalarTypes[index].name) != alias.scalarTypeName) ++index;
    EXPECT_TRUE(CheckOutputFormat(alias.outputFormat, index)) << alias.name;
  }
}

TEST(OutputFormatCheck, TheArgumentFollowsTheType) {
  EXPECT_TRUE(CheckOutputFormat("%c", kBoolType));
  EXPECT_TRUE(CheckOutputFormat("%hd", kUnsignedShortType));
  EXPECT_TRUE(CheckOutputFormat("%p", kIntType));
  EXPECT_FALSE(CheckOutputFormat("%f", kIntType));
  EXPECT_FALSE(CheckOutputFormat("%I64X", kVoidPointerType));  // a pointer field of guard_t
  EXPECT_FALSE(CheckOutputFormat("%u", kUnsignedInt64Type));
  EXPECT_TRUE(CheckOutputFormat("%.3e", kFloatType));
  EXPECT_FALSE(CheckOutputFormat("%d", kDoubleType));
}

TEST(OutputFormatCheck, TypesThatNeverUseAFormatAcceptAnything) {
  EXPECT_TRUE(CheckOutputFormat("%s%n", kPlcBitAddressType));
  EXPECT_TRUE(CheckOutputFormat("%s%n", kScalarTypeCount + 3));  // a structure
  EXPECT_TRUE(CheckOutputFormat(nullptr, kIntType));
}

TEST(OutputFormatCheck, TheReasonNamesFormatTypeAndCauseOnOneLine) {
  const OutputFormatCheck check = CheckOutputFormat("%s\t", kIntType);
  EXPECT_FALSE(check.accepted);
  EXPECT_EQ(check.reason,
            "Unusable output format \"%s\\x09\" for type 'int': '%s' is not a supported "
            "conversion; the default output is used");
  EXPECT_EQ(CheckElementNameFormat("Axis %f").reason,
            "Unusable element-name format \"Axis %f\": '%f' does not fit a 32-bit integer value; "
            "the default name is used");
}

// A parameter line ends at a line break, so a format that writes one could add lines.
TEST(OutputFormatCheck, AFormatThatWritesALineBreakIsRefused) {
  for (const char* format : {"%d\nInjected = 9", "%d\r", "\n%d", "%d\r\nm_a = 1"}) {
    const OutputFormatCheck check = CheckOutputFormat(format, kIntType);
    EXPECT_FALSE(check.accepted) << format;
    EXPECT_NE(check.reason.find("it holds a line break"), std::string::npos) << check.reason;
    EXPECT_FALSE(CheckElementNameFormat(format).accepted) << format;
  }
  EXPECT_FALSE(CheckOutputFormat("%f\n", kDoubleType).accepted);
  EXPECT_TRUE(CheckOutputFormat("%d; mm", kIntType).accepted);  // reported where it is carried
}

TEST(ElementNameFormat, TakesTheIndexAsAnInt) {
  EXPECT_TRUE(CheckElementNameFormat("Axis %d"));
  EXPECT_TRUE(CheckElementNameFormat(nullptr));
  EXPECT_FALSE(CheckElementNameFormat("Axis %s"));
  EXPECT_FALSE(CheckElementNameFormat("%d.%d"));
  EXPECT_EQ(FormatElementName("Axis %d", 2), "Axis 2");
  EXPECT_EQ(FormatElementName("%c", 'X' - 0), "X");
  EXPECT_EQ(FormatElementName("P%03d", -1), "P-01");
  EXPECT_EQ(FormatElementName("Axis %s", 2), "");
}

TEST(NumberText, TrimsAndDropsTrailingZerosAndZeroSigns) {
  EXPECT_EQ(NormaliseNumberText("  2.500000 \t"), "2.5");
  EXPECT_EQ(NormaliseNumberText("2.000000"), "2");
  EXPECT_EQ(NormaliseNumberText("-0.000000"), "0");
  EXPECT_EQ(NormaliseNumberText("-0"), "0");
  EXPECT_EQ(NormaliseNumberText("-0.5"), "-0.5");
  EXPECT_EQ(NormaliseNumberText("100"), "100");
  EXPECT_EQ(NormaliseNumberText("1.#INF00"), "1.#INF");
  EXPECT_EQ(NormaliseNumberText("0.."), "0");
  EXPECT_EQ(NormaliseNumberText(""), "");
}

}  // namespace
