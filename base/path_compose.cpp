#include "base/path_compose.h"

#include "base/message_sink.h"
#include "platform/file_system.h"

bool FitsMaxPath(std::string_view path) {
  return path.size() <= platform::kMaxPath;
}

bool CheckPathLength(IMessageSink& sink, std::string_view path) {
  if (FitsMaxPath(path)) {
    return true;
  }
  sink.WriteLogFormatted("|E|Path too long, refused: %.*s\n", static_cast<int>(path.size()),
                         path.data());
  return false;
}

std::optional<std::string> ComposePath(IMessageSink& sink,
                                       std::initializer_list<std::string_view> parts) {
  std::string path;
  for (std::string_view part : parts) {
    path.append(part.data(), part.size());
  }
  if (!CheckPathLength(sink, path)) {
    return std::nullopt;
  }
  return path;
}
