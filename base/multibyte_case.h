// Letter case of texts in the system code page: a double-byte page (GBK on the Windows machines
// this serves) whose trail bytes may look like ASCII, or UTF-8 on POSIX.
#pragma once

#include <string>

#include "platform/text_encoding.h"

// True for a byte that opens a double-byte character; its trail byte may look like ASCII.
bool IsGbkLeadByte(char c);

using platform::LeadByteRule;

// The text with its ASCII letters upper-cased; both bytes of a double-byte character are kept.
std::string ToUpperMultiByte(const std::string& text, LeadByteRule isLeadByte = nullptr);

// The text with its ASCII letters lower-cased; both bytes of a double-byte character are kept.
std::string ToLowerMultiByte(const std::string& text, LeadByteRule isLeadByte = nullptr);
