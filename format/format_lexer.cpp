#include "format/format_lexer.h"

#include <cstdarg>
#include <cstdio>

#include "format/format_messages.h"
#include "platform/ascii_characters.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/path_split.h"

namespace {

// Error texts are built in a buffer of this size, as the log has always received them.
constexpr std::size_t kErrorBufferSize = 1024;
constexpr char kEndOfText = 0x1A;

// Bytes above 128 let identifiers carry multi-byte characters; 128 itself does not count.
bool IsIdentifierStart(int c) {
  return platform::IsAsciiLetter(c) || c == '_' || c > 128;
}
bool IsIdentifierPart(int c) {
  return IsIdentifierStart(c) || platform::IsAsciiDigit(c);
}

// The file as a text-mode read sees it: CR LF is one LF, and CTRL+Z ends the text.
std::string TextModeBytes(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == kEndOfText) break;
    if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text.push_back(c);
  }
  return text;
}

}  // namespace

bool CFormatLexer::Open(const std::string& path) {
  platform::File file;
  tooLarge_ = false;
  unreadable_ = false;
  if (!file.Open(path, platform::File::Mode::kRead)) {
    const std::uint32_t error = platform::LastErrorCode();
    unreadable_ = error != platform::kErrorFileNotFound && error != platform::kErrorPathNotFound;
    return false;
  }
  const std::uint64_t length = file.Length();
  if (length != UINT64_MAX && length > kMaxFileSize) {
    tooLarge_ = true;
    sourceName_ = platform::FileNameOf(path);
    return false;
  }
  std::string bytes;
  if (!platform::ReadToEnd(file, &bytes)) {
    unreadable_ = true;
    return false;
  }
  OpenText(path, bytes);
  return true;
}

void CFormatLexer::OpenText(const std::string& path, std::string_view bytes) {
  text_ = TextModeBytes(bytes);
  position_ = 0;
  sourceName_ = platform::FileNameOf(path);
  open_ = true;
}

void CFormatLexer::Close() {
  text_.clear();
  text_.shrink_to_fit();
  position_ = 0;
  open_ = false;
}

void CFormatLexer::ResetLexer() {
  Close();
  token_.clear();
  current_ = FormatToken::kNone;
  line_ = 0;
  flags_ = 0;
}

int CFormatLexer::ReadChar() {
  if (position_ >= text_.size()) return kEnd;
  const int c = static_cast<unsigned char>(text_[position_++]);
  token_.push_back(static_cast<char>(c));
  if (c == '\n') ++line_;
  return c;
}

void CFormatLexer::PushBack(int c) {
  if (c == kEnd) return;
  if (!token_.empty()) token_.pop_back();
  if (c == '\n') --line_;
  --position_;
}

FormatToken CFormatLexer::Scan() {
  token_.clear();
  const int c = ReadChar();
  if (c == '\n') return FormatToken::kNewLine;
  if (c == kEnd) return FormatToken::kEndOfFile;
  if (const FormatToken punctuation = PunctuationKind(c); punctuation != FormatToken::kError) {
    return punctuation;
  }
  if (c == '/') return ScanSlash();
  if (platform::IsAsciiSpace(c)) {
    int next;
    do {
      next = ReadChar();
    } while (next != '\n' && platform::IsAsciiSpace(next));
    PushBack(next);
    return FormatToken::kWhiteSpace;
  }
  if (platform::IsAsciiDigit(c)) return ScanNumber(c);
  if (IsIdentifierStart(c)) {
    int next;
    do {
      next = ReadChar();
    } while (IsIdentifierPart(next));
    PushBack(next);
    return FormatToken::kIdentifier;
  }
  return FormatToken::kError;
}

FormatToken CFormatLexer::ScanSlash() {
  const int d = ReadChar();
  if (d == '/') {
    int next;
    do {
      next = ReadChar();
    } while (next != '\n' && next != kEnd);
    PushBack(next);
    return FormatToken::kLineComment;
  }
  if (d != '*') return FormatToken::kError;
  for (;;) {
    int next = ReadChar();
    if (next == kEnd) return FormatToken::kError;
    if (next != '*') continue;
    next = ReadChar();
    if (next == '/') return FormatToken::kBlockComment;
    PushBack(next);
  }
}

FormatToken CFormatLexer::ScanNumber(int first) {
  if (first == '0') {
    const int d = ReadChar();
    if (d == 'x' || d == 'X') {
      int next;
      do {
        next = ReadChar();
      } while (platform::DigitValue(next) < 16);
      if (platform::IsAsciiLetter(next)) return FormatToken::kError;
      PushBack(next);
      return FormatToken::kHexadecimal;
    }
    PushBack(d);
  }
  int next;
  do {
    next = ReadChar();
  } while (platform::IsAsciiDigit(next));
  if (platform::IsAsciiLetter(next)) return FormatToken::kError;
  PushBack(next);
  return FormatToken::kDecimal;
}

FormatToken CFormatLexer::NextToken() {
  for (;;) {
    current_ = Scan();
    switch (current_) {
      case FormatToken::kIdentifier:
        current_ = KeywordKind(token_);
        return current_;
      case FormatToken::kError:
        RaiseError(kUnexpectedChar);
      case FormatToken::kNewLine:
      case FormatToken::kWhiteSpace:
      case FormatToken::kLineComment:
        break;
      case FormatToken::kBlockComment:
        if (flags_ & kDeliverComments) return current_;
        break;
      default:
        return current_;
    }
  }
}

FormatToken CFormatLexer::Peek() {
  if (current_ == FormatToken::kNone) NextToken();
  return current_;
}

const std::string& CFormatLexer::Expect(FormatToken kind) {
  if (current_ == FormatToken::kNone) NextToken();
  if (current_ != kind) RaiseError(kExpectingToken, TokenDisplayName(kind));
  current_ = FormatToken::kNone;
  return token_;
}

std::string CFormatLexer::ErrorPrefix() const {
  if (!open_) return std::string();
  return "|E|" + sourceName_ + "(" + std::to_string(line_ + 1) + "): ";
}

void CFormatLexer::RaiseError(const char* format, ...) const {
  // Only the message is a format: a '%' in the file name must not be read as a conversion.
  char message[kErrorBufferSize];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(message, sizeof message, format, arguments);
  va_end(arguments);
  std::string text = ErrorPrefix() + message + "\n";
  if (text.size() > kErrorBufferSize - 1) text.resize(kErrorBufferSize - 1);
  throw FormatSyntaxError(text);
}
