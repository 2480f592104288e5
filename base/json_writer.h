// A small JSON writer for reports: keys in the order written, texts escaped.
#pragma once

#include <optional>
#include <string>

#include "base/text_format.h"

class JsonWriter {
 public:
  // What was written so far; values go in through the methods below only, so nothing unescaped
  // does.
  const std::string& out() const { return out_; }

  void Number(long long value) { out_ += std::to_string(value); }
  void Bool(bool value) { out_ += value ? "true" : "false"; }
  void Null() { out_ += "null"; }

  // A text in the controller's code page, not UTF-8: each byte stands for itself.
  void String(const std::string& text) { Quoted(text, false); }
  // A text already in UTF-8: its bytes go out as they are.
  void Utf8(const std::string& text) { Quoted(text, true); }
  void OptionalString(const std::optional<std::string>& text) {
    if (text) {
      String(*text);
    } else {
      Null();
    }
  }
  void Key(const char* key) {
    if (!first_) out_ += ',';
    first_ = false;
    out_ += '"';
    out_ += key;
    out_ += "\":";
  }
  void Open(char bracket) {
    out_ += bracket;
    first_ = true;
  }
  void Close(char bracket) {
    out_ += bracket;
    first_ = false;
  }
  // Before an element of an array.
  void Element() {
    if (!first_) out_ += ',';
    first_ = false;
  }

 private:
  void Quoted(const std::string& text, bool utf8) {
    out_ += '"';
    for (const char c : text) {
      const auto byte = static_cast<unsigned char>(c);
      switch (c) {
        case '"':
          out_ += "\\\"";
          break;
        case '\\':
          out_ += "\\\\";
          break;
        case '\n':
          out_ += "\\n";
          break;
        case '\r':
          out_ += "\\r";
          break;
        case '\t':
          out_ += "\\t";
          break;
        default:
          if (byte < 0x20 || (byte >= 0x80 && !utf8)) {
            out_ += FormatText("\\u%04X", byte);
          } else {
            out_ += c;
          }
      }
    }
    out_ += '"';
  }

  std::string out_;
  bool first_ = true;
};
