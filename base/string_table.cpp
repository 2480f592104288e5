#include "base/string_table.h"

#include <optional>

#include "base/language_folder.h"
#include "base/message_sink.h"
#include "base/path_compose.h"
#include "base/setup_run.h"
#include "base/string_escapes.h"
#include "platform/path_split.h"
#include "platform/profile.h"

namespace {

const std::string kMissingString = "!ErrStr!";
constexpr std::size_t kStringBufferSize = 1024;

void LoadStringFile(IMessageSink& sink) {
  FreeStrings(sink);
  const std::string& folder = GetLanguageFolder(sink);
  const char* separator = !folder.empty() && !platform::EndsWithSeparator(folder) ? "\\" : "";
  const std::optional<std::string> path = ComposePath(sink, {folder, separator, "Vexorand.string"});
  if (!path) {
    return;
  }
  const int maxIndex = platform::ReadProfileInt("Attribute", "MaxIndex", 0, *path);
  // A negative count names no strings, like 0.
  if (maxIndex <= 0) {
    return;
  }
  StringTable& table = sink.Run().strings;
  table.maxIndex = maxIndex;
  table.path = *path;
  table.entries.emplace(0, std::string());
}

}  // namespace

const std::string& GetString(int index, IMessageSink& sink) {
  StringTable& table = sink.Run().strings;
  if (table.maxIndex == 0) {
    LoadStringFile(sink);
  }
  if (table.maxIndex == 0 || index < 0 || index > table.maxIndex) {
    return kMissingString;
  }
  const auto found = table.entries.find(index);
  if (found != table.entries.end()) {
    return found->second;
  }
  const std::string raw = platform::ReadProfileString(
      "STRING", std::to_string(index), kMissingString, table.path, kStringBufferSize);
  if (raw == kMissingString) {
    sink.WriteLogFormatted("|E|Load string %d failed\n", index);
  }
  return table.entries.emplace(index, DecodeEscapes(raw)).first->second;
}

void FreeStrings(IMessageSink& sink) {
  StringTable& table = sink.Run().strings;
  table.maxIndex = 0;
  table.path.clear();
  table.entries.clear();
}
