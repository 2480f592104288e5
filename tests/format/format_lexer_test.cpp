#include "format/format_lexer.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Tokens = std::vector<std::pair<FormatToken, std::string>>;

// Every token the parser would see, up to the end of the text.
Tokens Lex(const std::string& text, unsigned flags = 0) {
  CFormatLexer lexer;
  lexer.OpenText("C:\\Pelmo\\vexorand.fmt", text);
  lexer.SetFlags(flags);
  Tokens tokens;
  for (FormatToken kind; (kind = lexer.NextToken()) != FormatToken::kEndOfFile;) {
    tokens.emplace_back(kind, lexer.TokenText());
  }
  return tokens;
}

// The error text the text raises, or "" when it lexes cleanly.
std::string LexError(const std::string& text) {
  try {
    Lex(text);
  } catch (const FormatSyntaxError& error) {
    return error.what();
  }
  return "";
}

TEST(FormatLexer, EveryTokenKindWithItsText) {
  const Tokens expected = {
      {FormatToken::kSharp, "#"},          {FormatToken::kPragma, "pragma"},
      {FormatToken::kPack, "pack"},        {FormatToken::kLeftParenthesis, "("},
      {FormatToken::kHexadecimal, "0x1f"}, {FormatToken::kRightParenthesis, ")"},
      {FormatToken::kTypedef, "typedef"},  {FormatToken::kUnsigned, "unsigned"},
      {FormatToken::kStruct, "struct"},    {FormatToken::kField, "field"},
      {FormatToken::kIdentifier, "_a9"},   {FormatToken::kLeftBrace, "{"},
      {FormatToken::kPointer, "*"},        {FormatToken::kIdentifier, "b"},
      {FormatToken::kLeftBracket, "["},    {FormatToken::kDecimal, "0123"},
      {FormatToken::kRightBracket, "]"},   {FormatToken::kBlockComment, "/* x * y **/"},
      {FormatToken::kComma, ","},          {FormatToken::kSemicolon, ";"},
      {FormatToken::kRightBrace, "}"},
  };
  EXPECT_EQ(Lex("#pragma pack(0x1f)\ttypedef unsigned\r\nstruct field _a9{ // note\n"
                "*b[0123]/* x * y **/,;}",
                CFormatLexer::kDeliverComments),
            expected);
  // Without the flag, block comments are skipped like white space.
  EXPECT_EQ(Lex("a /* c */ b"),
            (Tokens{{FormatToken::kIdentifier, "a"}, {FormatToken::kIdentifier, "b"}}));
}

TEST(FormatLexer, RawTokensAndDisplayNames) {
  CFormatLexer lexer;
  lexer.OpenText("x.fmt", " \t\n// c\n");
  EXPECT_EQ(lexer.Scan(), FormatToken::kWhiteSpace);
  EXPECT_EQ(lexer.TokenText(), " \t");
  EXPECT_EQ(lexer.Scan(), FormatToken::kNewLine);
  EXPECT_EQ(lexer.Scan(), FormatToken::kLineComment);
  EXPECT_EQ(lexer.TokenText(), "// c");
  EXPECT_EQ(lexer.Scan(), FormatToken::kNewLine);
  EXPECT_EQ(lexer.Scan(), FormatToken::kEndOfFile);
  EXPECT_STREQ(TokenDisplayName(FormatToken::kRightParenthesis), "rightparenthesis())");
  EXPECT_STREQ(TokenDisplayName(FormatToken::kHexadecimal), "an integer");
  EXPECT_STREQ(TokenDisplayName(FormatToken::kNone), "-- na --");
}

TEST(FormatLexer, NumbersAndIdentifiers) {
  // The prefix alone is a hexadecimal token.
  EXPECT_EQ(Lex("0x;"),
            (Tokens{{FormatToken::kHexadecimal, "0x"}, {FormatToken::kSemicolon, ";"}}));
  EXPECT_EQ(Lex("12_a"), (Tokens{{FormatToken::kDecimal, "12"}, {FormatToken::kIdentifier, "_a"}}));
  EXPECT_EQ(Lex("0"), (Tokens{{FormatToken::kDecimal, "0"}}));
  // Keywords are case-sensitive.
  EXPECT_EQ(Lex("Struct STRUCT"),
            (Tokens{{FormatToken::kIdentifier, "Struct"}, {FormatToken::kIdentifier, "STRUCT"}}));
  // Bytes above 128 continue identifiers; 128 itself does not.
  EXPECT_EQ(Lex("\xC4\xE3x1"), (Tokens{{FormatToken::kIdentifier, "\xC4\xE3x1"}}));
  EXPECT_NE(LexError("a\x80"), "");
}

TEST(FormatLexer, UnexpectedCharacters) {
  for (const char* text : {"0x1G", "12a", "-1", "a = b", "\"s\"", "/ x", "/* open *", "1.5"}) {
    EXPECT_EQ(LexError(text), "|E|vexorand.fmt(1): Unexpected char\n") << text;
  }
  EXPECT_EQ(LexError(std::string("a\0b", 3)), "|E|vexorand.fmt(1): Unexpected char\n");
  // An unterminated comment is reported where the file ends.
  EXPECT_EQ(LexError("a\n/* x\n\n"), "|E|vexorand.fmt(4): Unexpected char\n");
}

TEST(FormatLexer, LinesAsATextModeReadSeesThem) {
  EXPECT_EQ(LexError("a\r\nb\r\n\r\n-"), "|E|vexorand.fmt(4): Unexpected char\n");
  // A line comment on the last line without a line feed ends at the end of the file.
  EXPECT_EQ(Lex("a // last"), (Tokens{{FormatToken::kIdentifier, "a"}}));
  // CTRL+Z ends the text, as old editors left it.
  EXPECT_EQ(Lex("a\x1A-junk"), (Tokens{{FormatToken::kIdentifier, "a"}}));
  // A lone carriage return is white space.
  EXPECT_EQ(Lex("a\rb"),
            (Tokens{{FormatToken::kIdentifier, "a"}, {FormatToken::kIdentifier, "b"}}));
}

TEST(FormatLexer, ExpectAndPeek) {
  CFormatLexer lexer;
  lexer.OpenText("C:\\dir\\100%s.fmt", "\n\nname ;");
  EXPECT_EQ(lexer.Peek(), FormatToken::kIdentifier);
  EXPECT_EQ(lexer.Peek(), FormatToken::kIdentifier);
  EXPECT_EQ(lexer.Expect(FormatToken::kIdentifier), "name");
  try {
    lexer.Expect(FormatToken::kComma);
    FAIL() << "no error raised";
  } catch (const FormatSyntaxError& error) {
    // The file name's percent sign is text, not a conversion.
    EXPECT_STREQ(error.what(), "|E|100%s.fmt(3): Expecting token 'comma(,)'\n");
  }
  EXPECT_EQ(lexer.Expect(FormatToken::kSemicolon), ";");
  EXPECT_EQ(lexer.Peek(), FormatToken::kEndOfFile);
}

TEST(FormatLexer, ErrorTextsAreCutAt1023Characters) {
  CFormatLexer lexer;
  lexer.OpenText("a.fmt", "");
  try {
    lexer.RaiseError("Undefined data type '%s'", std::string(2000, 'x').c_str());
  } catch (const FormatSyntaxError& error) {
    const std::string text = error.what();
    EXPECT_EQ(text.size(), 1023u);
    EXPECT_EQ(text.substr(0, 35), "|E|a.fmt(1): Undefined data type 'x");
  }
  // Without an open file there is no prefix.
  CFormatLexer closed;
  EXPECT_THROW(closed.RaiseError("Invalid token"), FormatSyntaxError);
  try {
    closed.RaiseError("Invalid token");
  } catch (const FormatSyntaxError& error) {
    EXPECT_STREQ(error.what(), "Invalid token\n");
  }
}

}  // namespace
