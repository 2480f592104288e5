// The one conversion of an output format, split from its literal text.
#pragma once

#include <string>
#include <string_view>

#include "values/crt_printf.h"

struct CrtConversion {
  bool leftJustify = false;  // '-'
  bool plusSign = false;     // '+'
  bool blankSign = false;    // ' '
  bool alternate = false;    // '#'
  bool zeroPad = false;      // '0'
  int width = 0;
  int precision = -1;  // -1 when not given
  char length = 0;     // 0, 'h', 'l', 'L' or 'I' (for I64)
  char conversion = 0;
};

// A format with its conversion parsed; the literal text around it has "%%" already collapsed.
struct ParsedCrtFormat {
  std::string before;
  CrtConversion conversion;
  std::string after;
};

// Parses and checks `format` for `argument`; on refusal returns false and says why in `problem`.
bool ParseCrtFormat(std::string_view format, CrtArgument argument, ParsedCrtFormat& parsed,
                    std::string& problem);

// The text with every byte outside printable ASCII written as \xNN, for messages.
std::string PrintableFormatText(std::string_view text);

// Lays out one converted value: sign or prefix, then the digits, padded to the width with blanks
// or, with '0', with zeros between the prefix and the digits.
std::string PadConversion(const CrtConversion& conversion, std::string_view prefix,
                          std::string_view body);

// Literal text around the conversion, cut at the first NUL as a C string would be.
std::string JoinConversionText(const ParsedCrtFormat& parsed, std::string body);
