// Output formats (aliases and the comment options `f` and `F`) come from format description files:
// they are checked once, when the file is parsed, and a format that fails is replaced by the
// default output, with the reason logged by the parser.
#pragma once

#include <string>

// The outcome of a check; `reason` says, in one line, why a format was refused.
struct OutputFormatCheck {
  bool accepted = true;
  std::string reason;

  explicit operator bool() const { return accepted; }
};

// Checks the output format of a field whose value is rendered as type `typeIndex`
// (kVoidPointerType for a pointer field). The format must hold exactly one conversion (besides "%%"
// and literal text), of a kind that fits the value the type passes, without "%n" or '*', and short
// enough to fit the rendering buffer (63 characters for integer values, 639 for reals). Formats of
// types that never use one (`plc_bit_addr_t`, structures) are accepted unseen. A null format is
// accepted.
OutputFormatCheck CheckOutputFormat(const char* format, int typeIndex);

// Checks an element-name format (option `F`); it is applied to the element index, an int, and
// must fit 63 characters.
OutputFormatCheck CheckElementNameFormat(const char* format);

// The element name for `index`: `format` applied to it, or "" when the format fails the check.
std::string FormatElementName(const char* format, int index);
