#include "tests/support/log_capture.h"

#include <regex>

#include "platform/file_system.h"

std::string LogCapture::Text() const {
  return platform::PathExists(folder_.Path("VexorandSetupLog.txt"))
             ? folder_.ReadFile("VexorandSetupLog.txt")
             : "";
}

std::vector<std::string> LogCapture::Entries() const {
  const std::string log = Text();
  if (log.empty()) return {};
  static const std::regex stamp("  \\d+:\\d+:\\d+ \\d+/\\d+/\\d+ \r\n");
  std::vector<std::string> entries;
  std::sregex_token_iterator it(log.begin(), log.end(), stamp, -1), end;
  for (; it != end; ++it) entries.push_back(*it);
  return entries;
}
