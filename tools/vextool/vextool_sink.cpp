#include "tools/vextool/vextool_sink.h"

#include <cstdio>

int VextoolSink::ShowMessage(const std::string& text, unsigned style) {
  std::fprintf(stderr, "%s\n", text.c_str());
  return DefaultButton(style);
}

void VextoolSink::WriteLog(const std::string& text) {
  std::fputs(text.c_str(), stderr);
  if (text.empty() || text.back() != '\n') std::fputc('\n', stderr);
  log_.WriteLog(text);
}
