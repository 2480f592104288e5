// The lexer of the format description language: tokens with one token of lookahead, the line
// number, and the error operation that every syntax error of the language goes through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "format/format_token.h"

// A syntax error; what() is the whole log text ("|E|name(line): message\n").
class FormatSyntaxError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CFormatLexer {
 public:
  // Flag bit 0: block comments are delivered as tokens instead of being skipped.
  static constexpr unsigned kDeliverComments = 1;
  // The character value that marks the end of the text.
  static constexpr int kEnd = -1;

  CFormatLexer() = default;
  virtual ~CFormatLexer() = default;
  CFormatLexer(const CFormatLexer&) = delete;
  CFormatLexer& operator=(const CFormatLexer&) = delete;

  // No format description comes near this; a larger file is refused rather than read whole.
  static constexpr std::uint64_t kMaxFileSize = std::uint64_t{64} << 20;

  // Reads the whole file (a Windows path) as text; false when it cannot be read or is larger
  // than kMaxFileSize (then WasTooLarge()).
  bool Open(const std::string& path);
  bool WasTooLarge() const { return tooLarge_; }
  // After a failed Open: the file is there but the disk would not give it up (not merely
  // missing).
  bool WasUnreadable() const { return unreadable_; }
  // Lexes `bytes` as if they were the file `path`.
  void OpenText(const std::string& path, std::string_view bytes);
  void Close();
  bool IsOpen() const { return open_; }
  // The file's name without its folder, as error texts show it.
  const std::string& SourceName() const { return sourceName_; }

  // One raw token of any kind; the token text then holds exactly its characters.
  FormatToken Scan();
  // The next token the parser sees: keywords classified, white space and comments skipped.
  FormatToken NextToken();
  FormatToken Peek();
  // Consumes the buffered token if it is `kind` and returns its text (valid until the next
  // token is read), else raises "Expecting token '%s'".
  const std::string& Expect(FormatToken kind);

  // Raises a FormatSyntaxError with the file name and line prefixed; never returns.
  [[noreturn]] void RaiseError(const char* format, ...) const
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;
  // "|E|name(line): " for the current position, or "" when no file is open.
  std::string ErrorPrefix() const;

  const std::string& TokenText() const {
    return token_;
  }
  FormatToken CurrentKind() const {
    return current_;
  }
  // Line feeds taken so far (0-based).
  int Line() const {
    return line_;
  }
  unsigned Flags() const {
    return flags_;
  }
  void SetFlags(unsigned flags) {
    flags_ = flags;
  }

 protected:
  // Back to the state after construction.
  void ResetLexer();

 private:
  int ReadChar();
  void PushBack(int c);
  FormatToken ScanNumber(int first);
  FormatToken ScanSlash();

  std::string text_;
  std::size_t position_ = 0;
  bool open_ = false;
  bool tooLarge_ = false;
  bool unreadable_ = false;
  std::string sourceName_;

  std::string token_;
  FormatToken current_ = FormatToken::kNone;
  int line_ = 0;
  unsigned flags_ = 0;
};
