#include "values/scalar_types.h"

#include <cstring>
#include <type_traits>

#include "values/number_text.h"
#include "values/plc_address.h"

namespace {

// Stored values are little-endian whatever the host.
std::uint64_t ReadStored(const unsigned char* data, int size) {
  std::uint64_t value = 0;
  for (int i = size; i-- > 0;) value = (value << 8) | data[i];
  return value;
}

const char* FormatOrDefault(const ScalarValue& value, ScalarTypeIndex index) {
  return value.outputFormat != nullptr ? value.outputFormat : kScalarTypes[index].defaultFormat;
}

// The product wraps in the type's own width; char and short values then reach printf widened to
// int with their sign, unsigned char and unsigned short with zeros, as a C compiler passes them.
template <typename T, ScalarTypeIndex kIndex>
std::string RenderInteger(const ScalarValue& value) {
  using Unsigned = std::make_unsigned_t<T>;
  const std::uint64_t multiplier =
      static_cast<std::uint64_t>(static_cast<std::int64_t>(value.integerMultiplier));
  const auto product = static_cast<Unsigned>(ReadStored(value.data, sizeof(T)) * multiplier);
  const char* format = FormatOrDefault(value, kIndex);
  std::optional<std::string> text;
  if constexpr (sizeof(T) == 8) {
    text = CrtFormatInt64(format, product);
    if (!text) text = CrtFormatInt64(kScalarTypes[kIndex].defaultFormat, product);
  } else {
    const auto argument = static_cast<std::uint32_t>(static_cast<T>(product));
    text = CrtFormatInt32(format, argument);
    if (!text) text = CrtFormatInt32(kScalarTypes[kIndex].defaultFormat, argument);
  }
  return *text;
}

std::string RenderPointer(const ScalarValue& value) {
  const auto stored = static_cast<std::uint32_t>(ReadStored(value.data, 4));
  std::optional<std::string> text =
      CrtFormatInt32(FormatOrDefault(value, kVoidPointerType), stored);
  return text ? *text : *CrtFormatInt32(kScalarTypes[kVoidPointerType].defaultFormat, stored);
}

std::string RenderBool(const ScalarValue& value) {
  const unsigned char stored = value.data[0];
  if (value.outputFormat != nullptr) {
    if (std::optional<std::string> text = CrtFormatInt32(value.outputFormat, stored)) return *text;
  }
  return stored != 0 ? "1" : "0";
}

double ReadFloat(const unsigned char* data) {
  const auto bits = static_cast<std::uint32_t>(ReadStored(data, 4));
  float stored;
  std::memcpy(&stored, &bits, sizeof stored);
  return stored;
}

double ReadDouble(const unsigned char* data) {
  const std::uint64_t bits = ReadStored(data, 8);
  double stored;
  std::memcpy(&stored, &bits, sizeof stored);
  return stored;
}

std::string RenderFloat(const ScalarValue& value) {
  const double product = ReadFloat(value.data) * value.realMultiplier;
  std::optional<std::string> text = CrtFormatReal(FormatOrDefault(value, kFloatType), product);
  return text ? *text : *CrtFormatReal(kScalarTypes[kFloatType].defaultFormat, product);
}

// Six decimals unless they end in a rounding remainder, then sixteen; so 1.25 shows as 1.25 and
// 1/3 with all its digits.
std::string RenderDouble(const ScalarValue& value) {
  const double product = ReadDouble(value.data) * value.realMultiplier;
  if (value.outputFormat != nullptr) {
    if (std::optional<std::string> text = CrtFormatReal(value.outputFormat, product)) return *text;
  }
  std::string text = *CrtFormatReal(kScalarTypes[kDoubleType].defaultFormat, product);
  const size_t point = text.find('.');
  if (point != std::string::npos && text.size() - point > 2 &&
      text.compare(text.size() - 2, 2, "00") != 0) {
    text = *CrtFormatReal("%0.16f", product);
  }
  return NormaliseNumberText(text);
}

std::string RenderPlcBitAddress(const ScalarValue& value) {
  return PlcAddressText(static_cast<std::uint32_t>(ReadStored(value.data, 4)));
}

constexpr auto kInteger = MultiplierKind::kInteger;
constexpr auto kReal = MultiplierKind::kReal;
constexpr auto kNone = MultiplierKind::kNone;
constexpr auto kInt32 = CrtArgument::kInt32;

}  // namespace

const ScalarTypeRow kScalarTypes[kScalarTypeCount] = {
    {"void*", 4, 4, "%p", kNone, true, kInt32, RenderPointer},
    {"bool", 1, 1, nullptr, kNone, true, kInt32, RenderBool},
    {"char", 1, 1, "%c", kInteger, true, kInt32, RenderInteger<std::int8_t, kCharType>},
    {"unsigned char", 1, 1, "%c", kInteger, true, kInt32,
     RenderInteger<std::uint8_t, kUnsignedCharType>},
    {"double", 8, 8, "%f", kReal, true, CrtArgument::kReal, RenderDouble},
    {"float", 4, 4, "%f", kReal, true, CrtArgument::kReal, RenderFloat},
    {"int", 4, 4, "%d", kInteger, true, kInt32, RenderInteger<std::int32_t, kIntType>},
    {"unsigned int", 4, 4, "%u", kInteger, true, kInt32,
     RenderInteger<std::uint32_t, kUnsignedIntType>},
    {"long", 4, 4, "%ld", kInteger, true, kInt32, RenderInteger<std::int32_t, kLongType>},
    {"unsigned long", 4, 4, "%lu", kInteger, true, kInt32,
     RenderInteger<std::uint32_t, kUnsignedLongType>},
    {"short", 2, 2, "%hd", kInteger, true, kInt32, RenderInteger<std::int16_t, kShortType>},
    {"unsigned short", 2, 2, "%hu", kInteger, true, kInt32,
     RenderInteger<std::uint16_t, kUnsignedShortType>},
    {"__int64", 8, 8, "%I64d", kInteger, true, CrtArgument::kInt64,
     RenderInteger<std::int64_t, kInt64Type>},
    {"unsigned __int64", 8, 8, "%I64u", kInteger, true, CrtArgument::kInt64,
     RenderInteger<std::uint64_t, kUnsignedInt64Type>},
    {"plc_bit_addr_t", 4, 4, nullptr, kNone, false, kInt32, RenderPlcBitAddress},
};

std::string RenderScalar(int typeIndex, const ScalarValue& value) {
  return IsScalarType(typeIndex) ? kScalarTypes[typeIndex].render(value) : std::string();
}
