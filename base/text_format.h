// printf-style formatting into a std::string, for messages with inserts and log lines.
#pragma once

#include <cstdarg>
#include <string>

#include "platform/local_time.h"

std::string FormatText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

std::string FormatTextV(const char* format, va_list arguments);

// `format` takes year, month, day, hour, minute and second, in that order, as unsigned numbers.
std::string FormatTime(const platform::LocalTime& time, const char* format);
