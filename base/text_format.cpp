#include "base/text_format.h"

#include <cstdio>

std::string FormatTextV(const char* format, va_list arguments) {
  va_list measuring;
  va_copy(measuring, arguments);
  const int length = std::vsnprintf(nullptr, 0, format, measuring);
  va_end(measuring);
  if (length <= 0) {
    return std::string();
  }
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::vsnprintf(&text[0], text.size(), format, arguments);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

std::string FormatText(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::string text = FormatTextV(format, arguments);
  va_end(arguments);
  return text;
}

std::string FormatTime(const platform::LocalTime& time, const char* format) {
  return FormatText(format, time.year % 10000, time.month % 100, time.day % 100, time.hour % 100,
                    time.minute % 100, time.second % 100);
}
