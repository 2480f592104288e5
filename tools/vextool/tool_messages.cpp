#include "tools/vextool/tool_messages.h"

#include <cstdio>

#include "platform/ascii_characters.h"
#include "platform/file_system.h"
#include "platform/setup_api.h"

namespace {

// "|E|" and the like: the level of a log entry.
std::string WithoutLevelMark(const std::string& text) {
  const bool marked = text.size() >= 3 && text[0] == '|' && text[2] == '|';
  return marked ? text.substr(3) : text;
}

// "CFieldDescriptor: " and "ERROR! ": who logged it and how loudly, which a reader does not need.
std::string WithoutClassName(std::string text) {
  const std::size_t colon = text.find(": ");
  const bool className = colon != std::string::npos && colon > 1 && text[0] == 'C' &&
                         platform::IsAsciiLetter(text[1]) &&
                         platform::ToAsciiUpper(text[1]) == text[1] &&
                         text.find_first_of(" ()") > colon;
  if (className) text.erase(0, colon + 2);
  if (text.rfind("ERROR! ", 0) == 0) text.erase(0, 7);
  return text;
}

// "FILE(LINE): message" as "FILE:LINE: message".
std::string WithCompilerStylePlace(const std::string& text) {
  const std::size_t close = text.find("): ");
  const std::size_t open = close == std::string::npos ? close : text.rfind('(', close);
  if (open == std::string::npos || open == 0 || close == open + 1) return text;
  for (std::size_t i = open + 1; i < close; ++i) {
    if (!platform::IsAsciiDigit(text[i])) return text;
  }
  return text.substr(0, open) + ":" + text.substr(open + 1, close - open - 1) +
         text.substr(close + 1);
}

}  // namespace

std::string LastSystemReason() {
  const std::uint32_t code = platform::LastErrorCode();
  const std::string text = platform::SystemErrorText(code);
  return text.empty() ? "system error " + std::to_string(code) : text;
}

void SayCannot(const char* command, const char* verb, const std::string& path) {
  const std::string reason = LastSystemReason();
  std::fprintf(stderr, "%s: cannot %s '%s': %s\n", command, verb, path.c_str(), reason.c_str());
}

std::string TerminalLine(const std::string& logEntry) {
  std::string text = logEntry;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return "vextool: " + WithCompilerStylePlace(WithoutClassName(WithoutLevelMark(text)));
}
