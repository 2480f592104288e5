#include "platform/text_encoding.h"

#include <windows.h>

namespace platform {
namespace {

// Recodes through UTF-16; characters the target page lacks become its default character.
std::string Recode(const std::string& text, UINT from, UINT to) {
  if (text.empty()) return text;
  const int inputLength = static_cast<int>(text.size());
  const int wideLength = MultiByteToWideChar(from, 0, text.data(), inputLength, nullptr, 0);
  if (wideLength <= 0) return text;
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(from, 0, text.data(), inputLength, &wide[0], wideLength);
  const int outputLength =
      WideCharToMultiByte(to, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  if (outputLength <= 0) return text;
  std::string output(static_cast<std::size_t>(outputLength), '\0');
  WideCharToMultiByte(to, 0, wide.data(), wideLength, &output[0], outputLength, nullptr, nullptr);
  return output;
}

}  // namespace

std::string SystemTextToUtf8(const std::string& text) {
  return Recode(text, CP_ACP, CP_UTF8);
}

std::string Utf8ToSystemText(const std::string& text) {
  return Recode(text, CP_UTF8, CP_ACP);
}

bool IsSystemLeadByte(char c) {
  return IsDBCSLeadByte(static_cast<BYTE>(c)) != FALSE;
}

}  // namespace platform
