#include "base/language_folder.h"

#include <optional>
#include <set>
#include <string>

#include "base/language.h"
#include "base/message_box.h"
#include "base/message_sink.h"
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

// Messages already shown this run.
std::set<std::string>& ShownErrors() {
  static std::set<std::string> shown;
  return shown;
}

// The path is in the system code page, the catalogue text in UTF-8. While the folder cannot be
// determined every localised string asks again: each message is shown once per run.
void ShowLanguageError(IMessageSink& sink, const TwoTextMessage& message, const std::string& path) {
  const std::string text =
      FormatText(sink.Localise(message), platform::SystemTextToUtf8(path).c_str());
  if (ShownErrors().insert(text).second) {
    sink.ShowMessage(text, kMbIconStop);
  }
}

}  // namespace

void DetermineLanguageFolder(const std::string& base, IMessageSink& sink) {
  const std::optional<std::string> langFolder = ComposePath({base, "Lang\\"});
  const std::optional<std::string> settingsFile = ComposePath({base, "Lang\\Lang.ini"});
  if (!langFolder || !settingsFile) {
    return;
  }
  if (!platform::IsDirectory(*langFolder)) {
    ShowLanguageError(sink, kLanguagePathMissing, *langFolder);
    return;
  }
  if (!platform::PathExists(*settingsFile)) {
    ShowLanguageError(sink, kLanguageFileMissing, *settingsFile);
    return;
  }
  std::string active = platform::ReadProfileString("ActiveLang", "ActiveLang", "", *settingsFile);
  if (active.empty()) {
    ShowLanguageError(sink, kLanguageFileBroken, *settingsFile);
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
    ShowLanguageError(sink, kLanguagePathMissing, *candidate);
    return;
  }
  LanguageFolder() = *candidate;
}

void DetermineLanguageFolder(const std::string& base) {
  DetermineLanguageFolder(base, ProcessMessageSink());
}

const std::string& GetLanguageFolder(IMessageSink& sink) {
  if (LanguageFolder().empty()) {
    DetermineLanguageFolder("", sink);
  }
  return LanguageFolder();
}

const std::string& GetLanguageFolder() {
  return GetLanguageFolder(ProcessMessageSink());
}

void ResetLanguageFolder() {
  LanguageFolder().clear();
  ShownErrors().clear();
}
