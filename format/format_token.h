// The tokens of the format description language: kinds, their display names and the keywords.
#pragma once

#include <string_view>

// The numbers index the display-name table and appear in the parser's error texts.
enum class FormatToken : int {
  kPlaceholder = 0,
  kSemicolon = 1,
  kComma = 2,
  kLeftBrace = 3,
  kRightBrace = 4,
  kPointer = 5,
  kSharp = 6,
  kLeftBracket = 7,
  kRightBracket = 8,
  kLeftParenthesis = 9,
  kRightParenthesis = 10,
  kUnsigned = 11,
  kStruct = 12,
  kField = 13,
  kPragma = 14,
  kPack = 15,
  kTypedef = 16,
  kIdentifier = 17,
  kDecimal = 18,
  kHexadecimal = 19,
  kEndOfFile = 20,
  kError = 21,
  kNone = 22,  // nothing buffered
  kNewLine = 23,
  kWhiteSpace = 24,
  kBlockComment = 25,
  kLineComment = 26,
};

// The name an error text shows for a token kind ("semicolon(;)").
const char* TokenDisplayName(FormatToken kind);

// The keyword kind of an identifier's text (exact, case-sensitive), or kIdentifier.
FormatToken KeywordKind(std::string_view text);

// The kind of a one-character punctuation token, or kError when `c` is none.
FormatToken PunctuationKind(int c);
