#include "ui/wide_text.h"

std::wstring WideFromUtf8(const std::string& text) {
  if (text.empty()) {
    return {};
  }
  const int length = static_cast<int>(text.size());
  const int wideLength = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), wideLength);
  return wide;
}

std::string Utf8FromWide(const std::wstring& text) {
  if (text.empty()) {
    return {};
  }
  const int length = static_cast<int>(text.size());
  const int narrowLength =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(narrowLength), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), length, narrow.data(), narrowLength, nullptr,
                      nullptr);
  return narrow;
}

std::string LoadResourceText(HINSTANCE module, UINT id) {
  // With a zero buffer size the function hands out the resource's own read-only text.
  const wchar_t* resource = nullptr;
  const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&resource), 0);
  return length > 0 ? Utf8FromWide(std::wstring(resource, static_cast<std::size_t>(length)))
                    : std::string();
}
