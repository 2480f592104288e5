// Writing, reading and removing staged files by Windows path, through the platform layer, so
// the same test code runs on both systems.
#pragma once

#include <string>
#include <vector>

// Writes the bytes, creating the file's missing folders; a failure fails the running test.
void WriteStagedFile(const std::string& windowsPath, const std::string& bytes);
// The file's bytes; "" (and a test failure) when it cannot be read.
std::string ReadStagedFile(const std::string& windowsPath);
// Creates every missing folder of the path.
void MakeStagedFolders(const std::string& windowsPath);
// Deletes the folder with everything in it, read-only files included.
void RemoveStagedTree(const std::string& windowsPath);
// The names that a pattern such as "C:\\Temp\\sep*.tmp" lists, in the listing's order.
std::vector<std::string> ListStagedNames(const std::string& pattern);
// The bytes of a UTF-16 little-endian text file, byte-order mark first.
inline std::string Utf16File(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}
