#include "base/language_folder.h"

#include <optional>
#include <set>
#include <string>

#include "base/language.h"
#include "base/message_box.h"
#include "base/messages.h"
#include "base/path_compose.h"
#include "base/text_format.h"
#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/text_encoding.h"

namespace {

std::string& LanguageFolder() {
  static std::string folder;
  return folder;
}

// The path is in the system code page, the catalogue text in UTF-8. While the folder cannot be
// determined every localised string asks again: each message is shown once per run.
void ShowLanguageError(const TwoTextMessage& message, const std::string& path) {
  static std::set<std::string> shown;
  const std::string text = FormatText(Localise(message), platform::SystemTextToUtf8(path).c_str());
  if (shown.insert(text).second) {
    ShowMessageBox(text, kMbIconStop);
  }
}

}  // namespace

void DetermineLanguageFolder(const std::string& base) {
  const std::optional<std::string> langFolder = ComposePath({base, "Lang\\"});
  const std::optional<std::string> settingsFile = ComposePath({base, "Lang\\Lang.ini"});
  if (!langFolder || !settingsFile) {
    return;
  }
  if (!platform::IsDirectory(*langFolder)) {
    ShowLanguageError(kLanguagePathMissing, *langFolder);
    return;
  }
  if (!platform::PathExists(*settingsFile)) {
    ShowLanguageError(kLanguageFileMissing, *settingsFile);
    return;
  }
  std::string active = platform::ReadProfileString("ActiveLang", "ActiveLang", "", *settingsFile);
  if (active.empty()) {
    ShowLanguageError(kLanguageFileBroken, *settingsFile);
    return;
  }
  if (active.back() != '\\') {
    active += '\\';
  }
  const std::optional<std::string> candidate = ComposePath({*langFolder, active});
  if (!candidate) {
    return;
  }
  if (!platform::IsDirectory(*candidate)) {
    ShowLanguageError(kLanguagePathMissing, *candidate);
    return;
  }
  LanguageFolder() = *candidate;
}

const std::string& GetLanguageFolder() {
  if (LanguageFolder().empty()) {
    DetermineLanguageFolder("");
  }
  return LanguageFolder();
}
