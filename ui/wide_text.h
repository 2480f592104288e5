// Conversions between the UTF-8 texts of the system and the UTF-16 of the window functions.
#pragma once

#include <windows.h>

#include <string>

std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);

// A string resource as UTF-8; empty when the module has none with that identifier.
std::string LoadResourceText(HINSTANCE module, UINT id);
