// Where a layer reports what the user must see: a message box to answer and a setup-log entry,
// in the language of the run. Whoever runs the work passes one in (the progress dialog, the
// console host, vextool, the tests), so no layer below them reaches for a process-wide channel.
#pragma once

#include <string>

#include "base/language.h"
#include "base/message_styles.h"

struct SetupRun;

class IMessageSink {
 public:
  virtual ~IMessageSink() = default;

  // Shows `text` (UTF-8) with a Windows message-box style (base/message_styles.h) and returns the
  // button pressed.
  virtual int ShowMessage(const std::string& text, unsigned style) = 0;
  // The same for a box that belongs to no window of the run: no owner and an empty caption, as
  // the system's own error texts are shown. Hosts without windows show it as any other.
  virtual int ShowUnownedMessage(const std::string& text, unsigned style) {
    return ShowMessage(text, style);
  }
  // One setup-log entry: `text` as it is to appear before the entry's time stamp.
  virtual void WriteLog(const std::string& text) = 0;
  // The run the work belongs to: its installation layout, language and what it found so far.
  virtual SetupRun& Run() const = 0;
  // The run's language index the built-in texts are chosen for (0 Chinese, 1 English, 2 Russian).
  int Language() const;

  // The built-in message in this sink's language.
  const char* Localise(const TwoTextMessage& message) const {
    return LocaliseFor(message, Language());
  }
  // printf-style formatting, then WriteLog.
  void WriteLogFormatted(const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;
};

// A sink for work that no host runs (vextool's log, fuzz targets, benchmarks): message boxes go to
// the message function a host installed (SetMessageBoxFunction), log entries into the setup log.
class CMessageBoxSink : public IMessageSink {
 public:
  explicit CMessageBoxSink(SetupRun& run) : run_(run) {}

  int ShowMessage(const std::string& text, unsigned style) override;
  void WriteLog(const std::string& text) override;
  SetupRun& Run() const override { return run_; }

 private:
  SetupRun& run_;
};
