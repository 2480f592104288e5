#include "tools/vextool/vextool_sink.h"

#include <cstdio>

#include "tools/vextool/tool_messages.h"

int VextoolSink::ShowMessage(const std::string& text, unsigned style) {
  std::fprintf(stderr, "%s\n", text.c_str());
  return DefaultButton(style);
}

void VextoolSink::WriteLog(const std::string& text) {
  std::fprintf(stderr, "%s\n", TerminalLine(text).c_str());
  log_.WriteLog(text);
}
