#include "values/output_format.h"

#include <string_view>

#include "values/crt_conversion.h"
#include "values/scalar_types.h"

namespace {

// Values and names are written as parameter lines, which a line break ends: a format that writes
// one would add lines of its own.
std::string FindProblem(const char* format, CrtArgument argument) {
  if (std::string_view(format).find_first_of("\r\n") != std::string_view::npos) {
    return "it holds a line break";
  }
  return FindCrtFormatProblem(format, argument);
}

}  // namespace

OutputFormatCheck CheckOutputFormat(const char* format, int typeIndex) {
  if (format == nullptr || !IsScalarType(typeIndex)) return {};
  const ScalarTypeRow& row = kScalarTypes[typeIndex];
  if (!row.takesOutputFormat) return {};
  const std::string problem = FindProblem(format, row.formatArgument);
  if (problem.empty()) return {};
  return {false, "Unusable output format \"" + PrintableFormatText(format) + "\" for type '" +
                     row.name + "': " + problem + "; the default output is used"};
}

OutputFormatCheck CheckElementNameFormat(const char* format) {
  if (format == nullptr) return {};
  const std::string problem = FindProblem(format, CrtArgument::kInt32);
  if (problem.empty()) return {};
  return {false, "Unusable element-name format \"" + PrintableFormatText(format) +
                     "\": " + problem + "; the default name is used"};
}

std::string FormatElementName(const char* format, int index) {
  if (format == nullptr) return std::string();
  return CrtFormatInt32(format, static_cast<std::uint32_t>(index)).value_or(std::string());
}
