#include "base/language_folder.h"

#include <optional>
#include <string>

#include "base/language.h"
#include "base/message_sink.h"
#include "base/messages.h"
#include "base/path_compose.h"
#include "base/setup_run.h"
#include "base/text_format.h"
#include "platform/file_system.h"
#include "platform/path_split.h"
#include "platform/profile.h"
#include "platform/text_encoding.h"

namespace {

// The path is in the system code page, the catalogue text in UTF-8. While the folder cannot be
// determined every localised string asks again: each message is shown once per run.
void ShowLanguageError(IMessageSink& sink, const TwoTextMessage& message, const std::string& path) {
  const std::string text =
      FormatText(sink.Localise(message), platform::SystemTextToUtf8(path).c_str());
  if (sink.Run().languageErrorsShown.insert(text).second) {
    sink.ShowMessage(text, kMbIconStop);
  }
}

}  // namespace

void DetermineLanguageFolder(const std::string& base, IMessageSink& sink) {
  const std::optional<std::string> langFolder = ComposePath(sink, {base, "Lang\\"});
  const std::optional<std::string> settingsFile = ComposePath(sink, {base, "Lang\\Lang.ini"});
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
  active = platform::WithTrailingSeparator(active);
  const std::optional<std::string> candidate = ComposePath(sink, {*langFolder, active});
  if (!candidate) {
    return;
  }
  if (!platform::IsDirectory(*candidate)) {
    ShowLanguageError(sink, kLanguagePathMissing, *candidate);
    return;
  }
  sink.Run().languageFolder = *candidate;
}

const std::string& GetLanguageFolder(IMessageSink& sink) {
  if (sink.Run().languageFolder.empty()) {
    DetermineLanguageFolder("", sink);
  }
  return sink.Run().languageFolder;
}
