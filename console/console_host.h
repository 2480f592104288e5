// The sequencer's host on a terminal: each step label printed once with the time since the start,
// message boxes as prompts, log entries into the setup log, the step timer as a tick loop.
#pragma once

#include <chrono>
#include <iosfwd>
#include <set>
#include <string>

#include "app/sequencer_host.h"
#include "app/update_sequencer.h"
#include "base/setup_run.h"
#include "console/console_prompter.h"
#include "console/tick_timer.h"

class ConsoleHost : public ISequencerHost {
 public:
  // `run` holds the language the user chose (0 Chinese, 2 Russian).
  ConsoleHost(ConsolePrompter& prompter, std::ostream& out, SetupRun& run,
              std::chrono::milliseconds period = std::chrono::milliseconds(kStepIntervalMs));

  void ShowStepLabel(int labelId) override;
  int ShowMessage(const std::string& text, unsigned style) override;
  void WriteLog(const std::string& text) override;
  SetupRun& Run() const override { return run_; }
  void StartStepTimer() override { timer_.Start(); }
  void StopStepTimer() override { timer_.Stop(); }
  void CloseProgress() override { closed_ = true; }

  bool IsClosed() const { return closed_; }
  TickTimer& Timer() { return timer_; }

 private:
  ConsolePrompter& prompter_;
  std::ostream& out_;
  SetupRun& run_;
  TickTimer timer_;
  std::chrono::steady_clock::time_point start_;
  std::set<int> shownLabels_;
  bool closed_ = false;
};
