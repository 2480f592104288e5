// Letter case of texts in the system's double-byte code page (GBK on the machines this serves).
#pragma once

#include <string>

// True for a byte that opens a double-byte character; its trail byte may look like ASCII.
bool IsGbkLeadByte(char c);

// The text with its ASCII letters upper-cased; both bytes of a double-byte character are kept.
std::string ToUpperMultiByte(const std::string& text);

// The text with its ASCII letters lower-cased; both bytes of a double-byte character are kept.
std::string ToLowerMultiByte(const std::string& text);
