// The POSIX edition runs in a UTF-8 locale: its system code page is UTF-8 itself.
#include "platform/text_encoding.h"

namespace platform {

std::string SystemTextToUtf8(const std::string& text) {
  return text;
}

std::string Utf8ToSystemText(const std::string& text) {
  return text;
}

bool IsSystemLeadByte(char) {
  return false;  // every byte of a UTF-8 sequence is above ASCII
}

}  // namespace platform
