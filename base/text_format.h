// printf-style formatting into a std::string, for messages with inserts and log lines.
#pragma once

#include <cstdarg>
#include <string>

std::string FormatText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

std::string FormatTextV(const char* format, va_list arguments);
