// The built-in scalar types of the format language: size, alignment, default output and the
// operation that turns a stored value into its text.
#pragma once

#include <cstdint>
#include <string>

#include "values/crt_printf.h"

// Type index of each built-in scalar type. The table order is the registration order, so a
// registered scalar type's position in the parser's type table equals this index.
enum ScalarTypeIndex : int {
  kVoidPointerType = 0,
  kBoolType,
  kCharType,
  kUnsignedCharType,
  kDoubleType,
  kFloatType,
  kIntType,
  kUnsignedIntType,
  kLongType,
  kUnsignedLongType,
  kShortType,
  kUnsignedShortType,
  kInt64Type,
  kUnsignedInt64Type,
  kPlcBitAddressType,
  kScalarTypeCount
};

// Which reading of the comment option `m` a type multiplies its value by.
enum class MultiplierKind { kNone, kInteger, kReal };

// One stored value and how its field wants it shown.
struct ScalarValue {
  // The field's bytes inside the bound block (little-endian, as the controller stores them).
  const unsigned char* data = nullptr;
  // The field's output format, already accepted by CheckOutputFormat; nullptr for the default.
  const char* outputFormat = nullptr;
  // Option `m` as the integer option reader gives it (1 when absent or malformed).
  std::int32_t integerMultiplier = 1;
  // Option `m` as the real option reader gives it (1.0 when absent or malformed).
  double realMultiplier = 1.0;
};

// Renders one stored value as its value text. Never fails; a format that does not fit the value
// (one that CheckOutputFormat would refuse) is replaced by the type's default output.
using ScalarRender = std::string (*)(const ScalarValue& value);

struct ScalarTypeRow {
  const char* name;
  int size;
  int alignment;
  // The output used when the field has no output format; nullptr where it is not a printf format
  // (`bool` shows "1" or "0", `plc_bit_addr_t` its PLC address text).
  const char* defaultFormat;
  MultiplierKind multiplier;
  // Whether an output format applies at all, and the argument it is then applied to.
  bool takesOutputFormat;
  CrtArgument formatArgument;
  ScalarRender render;
};

// The rows in registration order: kScalarTypes[i] is type index i.
extern const ScalarTypeRow kScalarTypes[kScalarTypeCount];

// True for the type indexes of the table above.
inline bool IsScalarType(int typeIndex) {
  return typeIndex >= 0 && typeIndex < kScalarTypeCount;
}

// Renders with the row of `typeIndex` (a pointer field passes kVoidPointerType); an index that is
// not a scalar type gives an empty text.
std::string RenderScalar(int typeIndex, const ScalarValue& value);
