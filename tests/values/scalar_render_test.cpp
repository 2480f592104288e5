#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "values/plc_address.h"
#include "values/scalar_aliases.h"
#include "values/scalar_types.h"

namespace {

// Stores `value` little-endian, as the controller does, and renders it.
template <typename T>
std::string Render(int typeIndex, T stored, const char* format = nullptr,
                   std::int32_t integerMultiplier = 1, double realMultiplier = 1.0) {
  unsigned char bytes[sizeof(T)];
  std::uint64_t bits = 0;
  std::memcpy(&bits, &stored, sizeof(T));
  for (size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
  ScalarValue value;
  value.data = bytes;
  value.outputFormat = format;
  value.integerMultiplier = integerMultiplier;
  value.realMultiplier = realMultiplier;
  return RenderScalar(typeIndex, value);
}

const char* AliasFormat(const char* name) {
  for (const ScalarAliasRow& row : kScalarAliases) {
    if (std::strcmp(row.name, name) == 0) return row.outputFormat;
  }
  return "<no such alias>";
}

TEST(ScalarTables, EveryAliasNamesARegisteredScalarType) {
  for (const ScalarAliasRow& alias : kScalarAliases) {
    bool found = false;
    for (const ScalarTypeRow& row : kScalarTypes)
      found = found || std::strcmp(row.name, alias.scalarTypeName) == 0;
    EXPECT_TRUE(found) << alias.name;
  }
  EXPECT_STREQ(kScalarTypes[kVoidPointerType].name, "void*");
  EXPECT_STREQ(kScalarTypes[kPlcBitAddressType].name, "plc_bit_addr_t");
}

TEST(IntegerRender, MultiplierWrapsInTheFieldsWidth) {
  EXPECT_EQ(Render<std::int32_t>(kIntType, 5, nullptr, 1000), "5000");
  EXPECT_EQ(Render<std::int32_t>(kIntType, 5, nullptr, 0x10), "80");
  EXPECT_EQ(Render<std::int32_t>(kIntType, 0x40000000, nullptr, 4), "0");
  EXPECT_EQ(Render<std::uint32_t>(kUnsignedIntType, 3, nullptr, -1), "4294967293");
  EXPECT_EQ(Render<std::int16_t>(kShortType, 300, nullptr, 200), "-5536");
  EXPECT_EQ(Render<std::uint16_t>(kUnsignedShortType, 300, nullptr, 300), "24464");
  EXPECT_EQ(Render<std::int8_t>(kCharType, 33, nullptr, 2), "B");
  EXPECT_EQ(Render<std::int64_t>(kInt64Type, 3, nullptr, -2), "-6");
  EXPECT_EQ(Render<std::uint64_t>(kUnsignedInt64Type, 3, nullptr, -1), "18446744073709551613");
  EXPECT_EQ(Render<std::int64_t>(kInt64Type, std::numeric_limits<std::int64_t>::max(), nullptr, 2),
            "-2");
}

TEST(IntegerRender, DefaultOutputsAndAliasFormats) {
  EXPECT_EQ(Render<std::int16_t>(kShortType, -1), "-1");
  EXPECT_EQ(Render<std::uint16_t>(kUnsignedShortType, 65535, AliasFormat("WORD")), "0xFFFF");
  EXPECT_EQ(Render<std::uint8_t>(kUnsignedCharType, 128, AliasFormat("BYTE")), "0x80");
  // A char is widened with its sign before formatting.
  EXPECT_EQ(Render<std::int8_t>(kCharType, -128, AliasFormat("TCHAR")), "0xFFFFFF80");
  EXPECT_EQ(Render<std::uint64_t>(kUnsignedInt64Type, 1, AliasFormat("guard_t")),
            "0x0000000000000001");
  EXPECT_EQ(Render<std::uint32_t>(kUnsignedIntType, 0xDEADBEEF, AliasFormat("DWORD")),
            "0xDEADBEEF");
  EXPECT_EQ(Render<std::int8_t>(kCharType, 65), "A");
  EXPECT_EQ(Render<std::int8_t>(kCharType, 0), "");
  EXPECT_EQ(Render<std::int32_t>(kLongType, -7), "-7");
  EXPECT_EQ(Render<std::uint32_t>(kUnsignedLongType, 0xFFFFFFFF), "4294967295");
  EXPECT_EQ(Render<std::int64_t>(kInt64Type, std::numeric_limits<std::int64_t>::min()),
            "-9223372036854775808");
  EXPECT_EQ(Render<std::int32_t>(kIntType, 42, "%5d mm"), "   42 mm");
}

TEST(IntegerRender, AFormatThatDoesNotFitFallsBackToTheDefault) {
  EXPECT_EQ(Render<std::int32_t>(kIntType, 42, "%s"), "42");
  EXPECT_EQ(Render<std::int32_t>(kIntType, 42, "%f"), "42");
  EXPECT_EQ(Render<std::int64_t>(kInt64Type, 42, "%d"), "42");
  EXPECT_EQ(Render<std::uint32_t>(kVoidPointerType, 42, "%I64X"), "0000002A");
  EXPECT_EQ(Render<std::int32_t>(kIntType, 42, "%n"), "42");
}

TEST(OtherRender, PointerBoolAndPlcAddress) {
  EXPECT_EQ(Render<std::uint32_t>(kVoidPointerType, 0xABC), "00000ABC");
  EXPECT_EQ(Render<std::uint32_t>(kVoidPointerType, 0xABC, "0x%08x"), "0x00000abc");
  EXPECT_EQ(Render<std::uint8_t>(kBoolType, 2), "1");
  EXPECT_EQ(Render<std::uint8_t>(kBoolType, 0), "0");
  EXPECT_EQ(Render<std::uint8_t>(kBoolType, 200, "%d"), "200");
  EXPECT_EQ(Render<std::uint32_t>(kPlcBitAddressType, MakePlcAddress(kPlcTimerArea, 5), nullptr, 7),
            "TIM005");
}

TEST(RealRender, DoubleShowsSixOrSixteenDecimalsThenTidies) {
  EXPECT_EQ(Render<double>(kDoubleType, 0.1), "0.1");
  EXPECT_EQ(Render<double>(kDoubleType, 1.25), "1.25");
  EXPECT_EQ(Render<double>(kDoubleType, 2.0), "2");
  EXPECT_EQ(Render<double>(kDoubleType, 0.0000001), "0");
  EXPECT_EQ(Render<double>(kDoubleType, -0.0000001), "0");
  EXPECT_EQ(Render<double>(kDoubleType, -0.0), "0");
  EXPECT_EQ(Render<double>(kDoubleType, 1.0 / 3), "0.3333333333333333");
  EXPECT_EQ(Render<double>(kDoubleType, 0.12345678), "0.12345678");
  EXPECT_EQ(Render<double>(kDoubleType, 1.23456), "1.2345600000000001");
  EXPECT_EQ(Render<double>(kDoubleType, -1500.0), "-1500");
  EXPECT_EQ(Render<double>(kDoubleType, 0.5, nullptr, 1, 3.0), "1.5");
  EXPECT_EQ(Render<double>(kDoubleType, std::numeric_limits<double>::infinity()), "1.#INF");
}

TEST(RealRender, AnOutputFormatIsAppliedWithoutTidying) {
  EXPECT_EQ(Render<double>(kDoubleType, 2.0, "%0.3f"), "2.000");
  EXPECT_EQ(Render<double>(kDoubleType, 2.0, "%d"), "2");
  EXPECT_EQ(Render<float>(kFloatType, 0.1f), "0.100000");
  EXPECT_EQ(Render<float>(kFloatType, 0.1f, "%.10f"), "0.1000000015");
  EXPECT_EQ(Render<float>(kFloatType, 1.5f, nullptr, 1, 2.0), "3.000000");
}

TEST(PlcAddress, TextForms) {
  EXPECT_EQ(PlcAddressText(0), "00000");
  EXPECT_EQ(PlcAddressText(MakePlcAddress(999, 31)), "99931");
  EXPECT_EQ(PlcAddressText(MakePlcAddress(kPlcTimerArea, 5)), "TIM005");
  EXPECT_EQ(PlcAddressText(MakePlcAddress(kPlcTimerArea, 255)), "TIM255");
  EXPECT_EQ(PlcAddressText(MakePlcAddress(kPlcDataMemoryArea, 1200)), "*DM1200");
  EXPECT_EQ(PlcAddressText(MakePlcAddress(kPlcDataMemoryArea, 5199)), "*DM5199");
  EXPECT_EQ(PlcAddressText(kPlcNoAddress), "NA");
}

TEST(PlcAddress, ValuesWithoutATextFormGiveAnEmptyText) {
  const std::vector<std::uint32_t> values = {MakePlcAddress(kPlcTimerArea, 256),
                                             MakePlcAddress(kPlcDataMemoryArea, 1199),
                                             MakePlcAddress(kPlcDataMemoryArea, 5200),
                                             MakePlcAddress(500, 40),
                                             MakePlcAddress(1000, 0),
                                             MakePlcAddress(10001, 3),
                                             MakePlcAddress(0xFFFF, 0xFFFE)};
  for (std::uint32_t value : values) {
    char buffer[8] = "garbage";
    EXPECT_FALSE(RenderPlcAddress(value, buffer)) << value;
    EXPECT_STREQ(buffer, "") << value;
    EXPECT_EQ(ClassifyPlcAddress(value), PlcAddressKind::kInvalid) << value;
  }
}

}  // namespace
