#include "migration/parameter_lines.h"

#include <cstdint>

#include "platform/ascii_characters.h"
#include "platform/file.h"

namespace {

constexpr char kTextEnd = 0x1A;

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && platform::IsAsciiSpace(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && platform::IsAsciiSpace(text.front())) {
    text.remove_prefix(1);
  }
  return TrimRight(text);
}

}  // namespace

std::string_view CleanParameterLine(std::string_view line) {
  const std::size_t comment = line.find(';');
  if (comment != std::string_view::npos) {
    line = line.substr(0, comment);
  }
  return Trim(line);
}

std::optional<ParameterEntry> ParseParameterLine(std::string_view line) {
  line = CleanParameterLine(line);
  if (line.empty()) {
    return std::nullopt;
  }
  if (line.front() == '[') {
    return ParameterEntry{std::string(line), std::string()};
  }
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) {
    return std::nullopt;
  }
  const std::string_view name = TrimRight(line.substr(0, equals));
  const std::string_view value = Trim(line.substr(equals + 1));
  if (name.empty() || value.empty()) {
    return std::nullopt;
  }
  return ParameterEntry{std::string(name), std::string(value)};
}

bool ReadTextFileLines(const std::string& path, std::vector<std::string>* lines) {
  lines->clear();
  platform::File file;
  if (!file.Open(path, platform::File::Mode::kRead)) {
    return false;
  }
  const std::uint64_t length = file.Length();
  if (length == UINT64_MAX) {
    return false;
  }
  std::string text(static_cast<std::size_t>(length), '\0');
  if (!text.empty() && file.Read(&text[0], text.size()) != text.size()) {
    return false;
  }
  const std::size_t end = text.find(kTextEnd);
  if (end != std::string::npos) {
    text.resize(end);
  }
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t stop = text.find('\n', start);
    if (stop == std::string::npos) {
      stop = text.size();
    }
    std::size_t lineEnd = stop;
    if (lineEnd > start && text[lineEnd - 1] == '\r' && lineEnd < text.size()) {
      --lineEnd;
    }
    lines->push_back(text.substr(start, lineEnd - start));
    start = stop + 1;
  }
  return true;
}

std::string FormatParameterLine(const ParameterEntry& entry) {
  std::string line = entry.name;
  if (!entry.value.empty()) {
    line += " = ";
    line += entry.value;
  }
  return line;
}
