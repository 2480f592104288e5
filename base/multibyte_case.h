// Letter case and backslashes of texts in the system code page: a double-byte page (GBK on the
// Windows machines this serves) whose trail bytes may look like ASCII, or UTF-8 on POSIX.
#pragma once

#include <cstddef>
#include <string>

// True for a byte that opens a double-byte character; its trail byte may look like ASCII.
bool IsGbkLeadByte(char c);

// Which bytes open a double-byte character; the system code page's rule unless told otherwise.
using LeadByteRule = bool (*)(char);

// The text with its ASCII letters upper-cased; both bytes of a double-byte character are kept.
std::string ToUpperMultiByte(const std::string& text, LeadByteRule isLeadByte = nullptr);

// The text with its ASCII letters lower-cased; both bytes of a double-byte character are kept.
std::string ToLowerMultiByte(const std::string& text, LeadByteRule isLeadByte = nullptr);

// The position of the last '\\' that is not the trail byte of a double-byte character, or npos.
std::size_t FindLastBackslash(const std::string& text, std::size_t end = std::string::npos,
                              LeadByteRule isLeadByte = nullptr);
