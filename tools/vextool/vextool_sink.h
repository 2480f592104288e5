// Where vextool's commands report. Nobody is there to answer a message box, and the engineer reads
// the terminal rather than the log file.
#pragma once

#include <functional>
#include <string>

#include "base/message_sink.h"
#include "base/setup_run.h"

// vextool's own sink: a message box's text goes to standard error and the box takes its default
// button; every log entry is shown on standard error too before `log` keeps it (the setup log in
// the current directory, for the program).
class VextoolSink : public IMessageSink {
 public:
  VextoolSink(IMessageSink& log, int languageIndex) : log_(log) {
    run_.language = languageIndex;
    run_.logDirectory = log.Run().logDirectory;
  }

  int ShowMessage(const std::string& text, unsigned style) override;
  void WriteLog(const std::string& text) override;
  // One run per command: what the update's code finds and caches while the command works.
  SetupRun& Run() const override { return run_; }
  // Keeps an entry without showing it, for work done again whose entries were shown already.
  void KeepQuietly(const std::string& text) { log_.WriteLog(text); }

 private:
  IMessageSink& log_;
  mutable SetupRun run_;
};

// A command's view of vextool's sink: log entries pass through and are counted, message boxes go
// to `show` when the command answers them itself.
class CommandSink : public IMessageSink {
 public:
  using Show = std::function<int(const std::string& text, unsigned style)>;

  explicit CommandSink(IMessageSink& inner, Show show = nullptr)
      : inner_(inner), show_(std::move(show)) {}

  int ShowMessage(const std::string& text, unsigned style) override {
    return show_ ? show_(text, style) : inner_.ShowMessage(text, style);
  }
  void WriteLog(const std::string& text) override {
    ++logEntries_;
    inner_.WriteLog(text);
  }
  SetupRun& Run() const override { return inner_.Run(); }

  // The entries logged through this sink so far.
  int LogEntries() const { return logEntries_; }

 private:
  IMessageSink& inner_;
  Show show_;
  int logEntries_ = 0;
};
