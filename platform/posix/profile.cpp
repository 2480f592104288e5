// Profile files read and written by our own reader, which follows the system's rules.
#include "platform/profile.h"

#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/profile_text.h"

namespace platform {
namespace {

// The file's bytes; a missing file reads as an empty one. False when it exists but cannot be
// read.
bool ReadWholeFile(const std::string& path, std::string* text) {
  text->clear();
  File file;
  if (!file.Open(path, File::Mode::kReadShared)) return !PathExists(path);
  char buffer[65536];
  while (const std::size_t got = file.Read(buffer, sizeof buffer)) text->append(buffer, got);
  return true;
}

std::string ReadWholeFile(const std::string& path) {
  std::string text;
  ReadWholeFile(path, &text);
  return text;
}

}  // namespace

std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::string& defaultValue, const std::string& file,
                              std::size_t bufferSize) {
  return ReadProfileStringFromText(ReadWholeFile(file), section, key, defaultValue, bufferSize);
}

int ReadProfileInt(const std::string& section, const std::string& key, int defaultValue,
                   const std::string& file) {
  return ReadProfileIntFromText(ReadWholeFile(file), section, key, defaultValue);
}

bool WriteProfileString(const std::string& section, const std::string& key,
                        const std::string& value, const std::string& file) {
  std::string text;
  // Never rewrite a file whose present contents could not be read.
  if (!ReadWholeFile(file, &text)) return false;
  text = WriteProfileStringToText(text, section, key, value);
  File output;
  return output.Open(file, File::Mode::kCreate) && output.Write(text.data(), text.size());
}

bool WriteProfileStringAtomically(const std::string& section, const std::string& key,
                                  const std::string& value, const std::string& file) {
  std::string text;
  if (!ReadWholeFile(file, &text)) return false;
  text = WriteProfileStringToText(text, section, key, value);
  const std::string copy = file + ".tmp";
  File output;
  bool written = output.Open(copy, File::Mode::kCreate) && output.Write(text.data(), text.size()) &&
                 output.Flush();
  output.Close();
  written = written && ReplaceFileAtomically(copy, file);
  if (!written) RemoveFile(copy);
  return written;
}

}  // namespace platform
