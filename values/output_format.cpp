#include "values/output_format.h"

#include "values/crt_conversion.h"
#include "values/scalar_types.h"

OutputFormatCheck CheckOutputFormat(const char* format, int type_index) {
  if (format == nullptr || !IsScalarType(type_index)) return {};
  const ScalarTypeRow& row = kScalarTypes[type_index];
  if (!row.takes_output_format) return {};
  const std::string problem = FindCrtFormatProblem(format, row.format_argument);
  if (problem.empty()) return {};
  return {false, "Unusable output format \"" + PrintableFormatText(format) + "\" for type '" +
                     row.name + "': " + problem + "; the default output is used"};
}

OutputFormatCheck CheckElementNameFormat(const char* format) {
  if (format == nullptr) return {};
  const std::string problem = FindCrtFormatProblem(format, CrtArgument::kInt32);
  if (problem.empty()) return {};
  return {false, "Unusable element-name format \"" + PrintableFormatText(format) +
                     "\": " + problem + "; the default name is used"};
}

std::string FormatElementName(const char* format, int index) {
  if (format == nullptr) return std::string();
  return CrtFormatInt32(format, static_cast<std::uint32_t>(index)).value_or(std::string());
}
