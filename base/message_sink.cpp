#include "base/message_sink.h"

#include <cstdarg>

#include "base/message_box.h"
#include "base/setup_log.h"
#include "base/setup_run.h"
#include "base/text_format.h"

void IMessageSink::WriteLogFormatted(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const std::string text = FormatTextV(format, arguments);
  va_end(arguments);
  WriteLog(text);
}

int IMessageSink::Language() const {
  return Run().language;
}

int CMessageBoxSink::ShowMessage(const std::string& text, unsigned style) {
  return ShowMessageBox(text, style);
}

void CMessageBoxSink::WriteLog(const std::string& text) {
  AppendLogLine(text, *this);
}
