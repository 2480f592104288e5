// The escape sequences of string-file texts (C-like: \n, \t, \101, \x41, \\, \", ...).
#pragma once

#include <string>

// The text with every escape sequence replaced. A zero byte, written as an escape or present in
// the input, ends the text; so does a backslash that is the last character (it is dropped).
std::string DecodeEscapes(const std::string& text);
