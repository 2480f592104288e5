// Conversions between the system's 8-bit code page (the ANSI code page on Windows) and UTF-8.
// File-system texts are bytes in the system code page; the message catalogue is UTF-8.
#pragma once

#include <string>

namespace platform {

// A path, file name or system error text as UTF-8, for a message that shows it.
std::string SystemTextToUtf8(const std::string& text);

// A catalogue text as the system code page, for a file the control program reads.
std::string Utf8ToSystemText(const std::string& text);

// True for a byte that opens a double-byte character of the system code page, whose trail byte
// may look like ASCII (a letter, or '\\' in a path). The POSIX code page, UTF-8, has none.
bool IsSystemLeadByte(char c);

// Which bytes open a double-byte character; where one is asked for, null means the system's rule.
using LeadByteRule = bool (*)(char);

}  // namespace platform
