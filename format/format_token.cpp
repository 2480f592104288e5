#include "format/format_token.h"

#include <iterator>

namespace {

constexpr const char* kDisplayNames[] = {
    "--un used --",
    "semicolon(;)",
    "comma(,)",
    "leftbrace({)",
    "rightbrace(})",
    "pointer(*)",
    "sharp(#)",
    "leftbracket([)",
    "rightbracket(])",
    "leftparenthesis(()",
    "rightparenthesis())",
    "unsigned",
    "struct",
    "field",
    "pragma",
    "pack",
    "typedef",
    "an identifier",
    "an integer",
    "an integer",
    "end of file",
    "-- error --",
    "-- na --",
    "new line",
    "white spaces",
    "c comment",
    "c++ comment",
};
static_assert(std::size(kDisplayNames) == static_cast<int>(FormatToken::kLineComment) + 1);

struct Keyword {
  std::string_view text;
  FormatToken kind;
};

// Compared in this order; the first match wins.
constexpr Keyword kKeywords[] = {
    {"struct", FormatToken::kStruct},     {"field", FormatToken::kField},
    {"unsigned", FormatToken::kUnsigned}, {"pragma", FormatToken::kPragma},
    {"pack", FormatToken::kPack},         {"typedef", FormatToken::kTypedef},
};

struct Punctuation {
  char character;
  FormatToken kind;
};

constexpr Punctuation kPunctuation[] = {
    {';', FormatToken::kSemicolon},       {'*', FormatToken::kPointer},
    {'#', FormatToken::kSharp},           {',', FormatToken::kComma},
    {'{', FormatToken::kLeftBrace},       {'}', FormatToken::kRightBrace},
    {'[', FormatToken::kLeftBracket},     {']', FormatToken::kRightBracket},
    {'(', FormatToken::kLeftParenthesis}, {')', FormatToken::kRightParenthesis},
};

}  // namespace

const char* TokenDisplayName(FormatToken kind) {
  const auto index = static_cast<std::size_t>(kind);
  return index < std::size(kDisplayNames) ? kDisplayNames[index] : kDisplayNames[0];
}

FormatToken KeywordKind(std::string_view text) {
  for (const Keyword& keyword : kKeywords) {
    if (keyword.text == text) return keyword.kind;
  }
  return FormatToken::kIdentifier;
}

FormatToken PunctuationKind(int c) {
  for (const Punctuation& punctuation : kPunctuation) {
    if (punctuation.character == c) return punctuation.kind;
  }
  return FormatToken::kError;
}
