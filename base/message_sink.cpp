#include "base/message_sink.h"

#include <cstdarg>

#include "base/message_box.h"
#include "base/setup_log.h"
#include "base/text_format.h"

void IMessageSink::WriteLogFormatted(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const std::string text = FormatTextV(format, arguments);
  va_end(arguments);
  WriteLog(text);
}

int CProcessMessageSink::ShowMessage(const std::string& text, unsigned style) {
  return ShowMessageBox(text, style);
}

void CProcessMessageSink::WriteLog(const std::string& text) {
  AppendLogLine(text, *this);
}

int CProcessMessageSink::Language() const {
  return GetLanguage();
}

IMessageSink& ProcessMessageSink() {
  static CProcessMessageSink sink;
  return sink;
}
