#include "format/format_parser.h"

#include <climits>

#include "base/message_sink.h"
#include "base/path_compose.h"
#include "base/string_table.h"
#include "format/comment_options.h"
#include "format/format_messages.h"
#include "platform/ascii_characters.h"
#include "values/output_format.h"
#include "values/scalar_aliases.h"
#include "values/scalar_types.h"

namespace {

// Far beyond any real description; keeps the recursion of the walks shallow.
constexpr int kMaxNesting = 100;

// The digits of an integer token as a signed 32-bit value, saturating.
int IntegerTokenValue(const std::string& text, int base) {
  std::size_t i = base == 16 ? 2 : 0;  // past "0x"
  long long value = 0;
  for (; i < text.size(); ++i) {
    value = value * base + platform::DigitValue(text[i]);
    if (value > INT_MAX) return INT_MAX;
  }
  return static_cast<int>(value);
}

// One "%d" of sscanf: white space, a sign and at least one digit.
std::optional<int> ScanDecimal(std::string_view text, std::size_t& position) {
  std::size_t i = position;
  while (i < text.size() && platform::IsAsciiSpace(text[i])) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  if (i >= text.size() || !platform::IsAsciiDigit(text[i])) return std::nullopt;
  const int value = DecimalPrefixValue(text.substr(position));
  while (i < text.size() && platform::IsAsciiDigit(text[i])) ++i;
  position = i;
  return value;
}

// Option `k`, scanned with "%d ~ %d": a value with one number sets only the lower index.
void ReadElementRange(std::string_view text, CFieldRecord& field) {
  std::size_t position = 0;
  const std::optional<int> lower = ScanDecimal(text, position);
  if (!lower) return;
  field.lowerIndex = *lower;
  while (position < text.size() && platform::IsAsciiSpace(text[position])) ++position;
  if (position >= text.size() || text[position] != '~') return;
  ++position;
  if (const std::optional<int> upper = ScanDecimal(text, position)) field.upperIndex = *upper;
}

// Options `f` and `F` write a line feed as the two characters backslash and n.
std::string WithLineFeeds(std::string text) {
  for (std::size_t at = 0; (at = text.find("\\n", at)) != std::string::npos; ++at) {
    text.replace(at, 2, "\n");
  }
  return text;
}

}  // namespace

CFormatParser::CFormatParser(IMessageSink& sink) : sink_(sink) {}

void CFormatParser::Reset() {
  types_.Clear();
  blocks_.clear();
  firstBlockByName_.clear();
  aliases_.clear();
  firstAliasByName_.clear();
  pack_ = kDefaultPack;
  ResetLexer();
}

bool CFormatParser::Parse(const std::string& path) {
  Reset();
  RegisterBuiltIns();
  if (!FitsPath(path)) return false;
  if (!Open(path)) {
    if (WasTooLarge()) {
      Log("|E|" + SourceName() + ": larger than 64 MiB, not read as a format description\n");
    }
    return false;
  }
  const bool result = RunGrammar();
  filePath_ = path;
  return result;
}

bool CFormatParser::ParseText(const std::string& path, std::string_view bytes) {
  Reset();
  RegisterBuiltIns();
  if (!FitsPath(path)) return false;
  OpenText(path, bytes);
  const bool result = RunGrammar();
  filePath_ = path;
  return result;
}

bool CFormatParser::FitsPath(const std::string& path) {
  if (FitsMaxPath(path)) return true;
  Log("|E|Path too long, refused: " + path + "\n");
  return false;
}

CTypeRecord* CFormatParser::FindBlock(const std::string& name) {
  const auto found = firstBlockByName_.find(name);
  return found == firstBlockByName_.end() ? nullptr
                                          : blocks_[static_cast<std::size_t>(found->second)].get();
}

void CFormatParser::RegisterBuiltIns() {
  for (const ScalarTypeRow& row : kScalarTypes) types_.Add(CTypeRecord::Scalar(row));
  for (const ScalarAliasRow& row : kScalarAliases) {
    CAliasRecord alias;
    alias.name = row.name;
    if (row.outputFormat) alias.outputFormat = row.outputFormat;
    alias.typeIndex = types_.Find(row.scalarTypeName);
    AddAlias(std::move(alias));
  }
}

void CFormatParser::AddAlias(CAliasRecord alias) {
  firstAliasByName_.emplace(alias.name, static_cast<int>(aliases_.size()));
  aliases_.push_back(std::move(alias));
}

bool CFormatParser::RunGrammar() {
  try {
    while (Peek() != FormatToken::kEndOfFile) ParseDeclaration();
    Expect(FormatToken::kEndOfFile);
    return true;
  } catch (const FormatSyntaxError& error) {
    Log(error.what());
    return false;
  }
}

void CFormatParser::ParseDeclaration() {
  switch (Peek()) {
    case FormatToken::kSharp:
      ParsePragma();
      break;
    case FormatToken::kStruct:
      ParseStructure();
      break;
    case FormatToken::kField:
      ParseBlock();
      break;
    case FormatToken::kTypedef:
      ParseAlias();
      break;
    default:
      RaiseError(kInvalidToken);
  }
}

void CFormatParser::ParsePragma() {
  Expect(FormatToken::kSharp);
  Expect(FormatToken::kPragma);
  Expect(FormatToken::kPack);
  Expect(FormatToken::kLeftParenthesis);
  const int value = ParseInteger();
  if (value != 1 && value != 2 && value != 4 && value != 8) RaiseError(kIncorrectPackValue);
  Expect(FormatToken::kRightParenthesis);
  pack_ = value;
}

void CFormatParser::ParseAlias() {
  Expect(FormatToken::kTypedef);
  const TypeSpecifier specifier = ParseTypeSpecifier();
  CAliasRecord alias;
  alias.name = Expect(FormatToken::kIdentifier);
  alias.outputFormat = specifier.outputFormat;
  alias.typeIndex = specifier.typeIndex;
  Expect(FormatToken::kSemicolon);
  AddAlias(std::move(alias));
}

void CFormatParser::ParseStructure() {
  Expect(FormatToken::kStruct);
  CTypeRecord type(TypeKind::kStructure, Expect(FormatToken::kIdentifier));
  type.pack = pack_;
  SetFlags(Flags() | kDeliverComments);
  const bool hasComment = Peek() == FormatToken::kBlockComment;
  SetFlags(Flags() & ~kDeliverComments);
  if (hasComment) {
    const std::string& token = Expect(FormatToken::kBlockComment);
    const std::string_view inner = std::string_view(token).substr(2, token.size() - 4);
    if (const std::optional<std::string> span = ReadCommentOption(inner, 'r')) {
      type.idSpan = DecimalPrefixValue(*span);
    }
  }
  Expect(FormatToken::kLeftBrace);
  ParseMemberList(type);
  Expect(FormatToken::kRightBrace);
  Expect(FormatToken::kSemicolon);
  if (!type.RoundSizeUp(type.alignment)) RaiseError(kDataTypeTooLarge, type.name.c_str());
  types_.Add(std::move(type));
}

void CFormatParser::ParseBlock() {
  Expect(FormatToken::kField);
  auto block = std::make_unique<CTypeRecord>(TypeKind::kBlock, Expect(FormatToken::kIdentifier));
  block->pack = pack_;
  Expect(FormatToken::kLeftBrace);
  ParseMemberList(*block);
  Expect(FormatToken::kRightBrace);
  Expect(FormatToken::kSemicolon);
  block->index = BlockCount();
  firstBlockByName_.emplace(block->name, block->index);
  blocks_.push_back(std::move(block));
}

void CFormatParser::ParseMemberList(CTypeRecord& type) {
  // Later lines may begin with `unsigned` as well as the first.
  do {
    ParseMemberLine(type);
  } while (Peek() == FormatToken::kIdentifier || Peek() == FormatToken::kUnsigned);
  if (type.idSpan == 0) type.idSpan = static_cast<int>(type.fields.size());
}

void CFormatParser::ParseMemberLine(CTypeRecord& type) {
  const TypeSpecifier specifier = ParseTypeSpecifier();
  ParseDeclarator(type, specifier);
  while (Peek() == FormatToken::kComma) {
    Expect(FormatToken::kComma);
    ParseDeclarator(type, specifier);
  }
  Expect(FormatToken::kSemicolon);
}

CFormatParser::TypeSpecifier CFormatParser::ParseTypeSpecifier() {
  std::string name;
  if (Peek() == FormatToken::kUnsigned) {
    Expect(FormatToken::kUnsigned);
    name = "unsigned ";
  }
  name += Expect(FormatToken::kIdentifier);
  if (const auto alias = firstAliasByName_.find(name); alias != firstAliasByName_.end()) {
    const CAliasRecord& record = aliases_[static_cast<std::size_t>(alias->second)];
    return {record.typeIndex, record.outputFormat, name};
  }
  const int index = types_.Find(name);
  if (index < 0) RaiseError(kUndefinedDataType, name.c_str());
  return {index, std::nullopt, name};
}

void CFormatParser::ParseDeclarator(CTypeRecord& type, const TypeSpecifier& specifier) {
  CFieldRecord field;
  field.typeIndex = specifier.typeIndex;
  field.outputFormat = specifier.outputFormat;
  field.writtenType = specifier.written;
  field.owner = &types_;
  if (Peek() == FormatToken::kPointer) {
    Expect(FormatToken::kPointer);
    field.pointer = true;
  }
  field.name = Expect(FormatToken::kIdentifier);
  SetFlags(Flags() | kDeliverComments);
  if (Peek() == FormatToken::kLeftBracket) {
    SetFlags(Flags() & ~kDeliverComments);
    Expect(FormatToken::kLeftBracket);
    field.elementCount = ParseInteger();
    if (field.elementCount <= 0) RaiseError(kArraySizeNotPositive);
    Expect(FormatToken::kRightBracket);
    SetFlags(Flags() | kDeliverComments);
  }
  if (Peek() == FormatToken::kBlockComment) {
    ApplyFieldComment(field, Expect(FormatToken::kBlockComment));
  }
  SetFlags(Flags() & ~kDeliverComments);
  // Laid out first: whether a character array is walked as one text depends on the format the
  // file declared, not on whether that format passes the check.
  AddField(type, std::move(field));
  CheckFieldFormats(type.fields.back(), specifier.outputFormat);
}

void CFormatParser::ApplyFieldComment(CFieldRecord& field, const std::string& token) {
  std::string inner = token.substr(2, token.size() - 4);
  if (inner.empty()) return;
  if (inner.compare(0, 2, "{@") == 0) {
    inner = GetString(DecimalPrefixValue(std::string_view(inner).substr(2)), sink_);
  }
  field.comment = inner;
  if (std::optional<std::string> format = ReadCommentOption(inner, 'f')) {
    field.outputFormat = WithLineFeeds(std::move(*format));
  }
  if (std::optional<std::string> format = ReadCommentOption(inner, 'F')) {
    field.elementFormat = WithLineFeeds(std::move(*format));
  }
  if (const std::optional<std::string> offset = ReadCommentOption(inner, 'g')) {
    field.idOffset = DecimalPrefixValue(*offset);
  }
  if (const std::optional<std::string> range = ReadCommentOption(inner, 'k')) {
    ReadElementRange(*range, field);
  }
}

void CFormatParser::CheckFieldFormats(CFieldRecord& field,
                                      const std::optional<std::string>& typeFormat) {
  const int row = field.pointer ? static_cast<int>(kVoidPointerType) : field.typeIndex;
  while (field.outputFormat) {
    const OutputFormatCheck check = CheckOutputFormat(field.outputFormat->c_str(), row);
    if (check) break;
    LogFormatProblem(check.reason);
    // A refused option falls back to the type's own format, a refused type format to the default.
    field.outputFormat = field.outputFormat != typeFormat ? typeFormat : std::nullopt;
  }
  if (field.elementFormat) {
    const OutputFormatCheck check = CheckElementNameFormat(field.elementFormat->c_str());
    if (!check) {
      LogFormatProblem(check.reason);
      field.elementFormat.reset();
    }
  }
}

void CFormatParser::AddField(CTypeRecord& type, CFieldRecord field) {
  if (!type.AddField(std::move(field), pack_)) RaiseError(kDataTypeTooLarge, type.name.c_str());
  if (type.nesting > kMaxNesting) RaiseError(kDataTypeTooDeep, type.name.c_str());
}

int CFormatParser::ParseInteger() {
  const FormatToken kind = Peek();
  if (kind != FormatToken::kDecimal && kind != FormatToken::kHexadecimal) {
    RaiseError(kExpectingInteger);
  }
  return IntegerTokenValue(Expect(kind), kind == FormatToken::kHexadecimal ? 16 : 10);
}

void CFormatParser::LogFormatProblem(const std::string& reason) {
  Log(ErrorPrefix() + reason + "\n");
}

void CFormatParser::Log(const std::string& text) {
  sink_.WriteLog(text);
}
