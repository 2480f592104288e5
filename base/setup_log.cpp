#include "base/setup_log.h"

#include "base/message_sink.h"
#include "base/messages.h"
#include "base/path_compose.h"
#include "base/setup_run.h"
#include "base/text_format.h"
#include "platform/file.h"

namespace {

constexpr char kLogFileName[] = "VexorandSetupLog.txt";

// Each entry opens and closes the file, so the log is complete up to the last entry even when
// the process ends abruptly.
bool AppendToFile(const std::string& path, const std::string& line) {
  // The log cannot report its own over-long path; the failure message below does.
  if (!FitsMaxPath(path)) {
    return false;
  }
  platform::File file;
  return file.Open(path, platform::File::Mode::kReadWrite) && file.SeekToEnd() &&
         file.Write(line.data(), line.size());
}

}  // namespace

std::string GetLogFilePath(const SetupRun& run) {
  return run.logDirectory + kLogFileName;
}

std::string FormatLogLine(const std::string& text, const platform::LocalTime& time) {
  return text + FormatText("  %u:%u:%u %u/%u/%u \r\n", time.hour, time.minute, time.second,
                           time.year, time.month, time.day);
}

void AppendLogLine(const std::string& text, IMessageSink& sink) {
  if (!AppendToFile(GetLogFilePath(sink.Run()), FormatLogLine(text, platform::ReadLocalTime()))) {
    sink.ShowMessage(kOpenLogFileFailed, kMbOk);
  }
}
