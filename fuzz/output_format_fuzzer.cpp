// Output formats from format description files against the check and every render operation.
// Input: one byte choosing the type, eight bytes of stored value, then the format text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "values/crt_printf.h"
#include "values/output_format.h"
#include "values/scalar_types.h"

namespace {

constexpr size_t kHeaderSize = 9;

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size < kHeaderSize) return 0;
  const int typeIndex = data[0] % kScalarTypeCount;
  unsigned char stored[8];
  std::memcpy(stored, data + 1, sizeof stored);
  const std::string format(reinterpret_cast<const char*>(data + kHeaderSize), size - kHeaderSize);

  const ScalarTypeRow& row = kScalarTypes[typeIndex];
  const OutputFormatCheck check = CheckOutputFormat(format.c_str(), typeIndex);
  Require(check.accepted == check.reason.empty());

  ScalarValue value;
  value.data = stored;
  value.outputFormat = check.accepted ? format.c_str() : nullptr;
  value.integerMultiplier = static_cast<std::int32_t>(data[1] | (data[2] << 8)) - 0x8000;
  const std::string text = RenderScalar(typeIndex, value);
  const size_t limit =
      row.formatArgument == CrtArgument::kReal ? kRealTextLimit : kIntegerTextLimit;
  Require(text.size() <= limit);

  // Unchecked formats must be refused, never misread.
  for (CrtArgument argument : {CrtArgument::kInt32, CrtArgument::kInt64, CrtArgument::kReal}) {
    const bool fits = FindCrtFormatProblem(format, argument).empty();
    std::uint64_t raw;
    std::memcpy(&raw, stored, sizeof raw);
    double real;
    std::memcpy(&real, stored, sizeof real);
    const auto result = argument == CrtArgument::kInt32
                            ? CrtFormatInt32(format, static_cast<std::uint32_t>(raw))
                        : argument == CrtArgument::kInt64 ? CrtFormatInt64(format, raw)
                                                          : CrtFormatReal(format, real);
    Require(result.has_value() == fits);
    if (result) {
      Require(
          result->size() <=
          static_cast<size_t>(argument == CrtArgument::kReal ? kRealTextLimit : kIntegerTextLimit));
    }
  }

  const std::string name = FormatElementName(format.c_str(), static_cast<int>(data[3]) - 128);
  Require(name.size() <= static_cast<size_t>(kIntegerTextLimit));
  return 0;
}
