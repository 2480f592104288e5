#include "console/console_host.h"

#include <cstdio>
#include <ostream>

#include "app/update_sequencer.h"
#include "base/messages.h"
#include "base/setup_log.h"

ConsoleHost::ConsoleHost(ConsolePrompter& prompter, std::ostream& out, SetupRun& run,
                         std::chrono::milliseconds period)
    : prompter_(prompter),
      out_(out),
      run_(run),
      timer_(period),
      start_(std::chrono::steady_clock::now()) {}

// Labels are never hidden again, so showing one twice changes nothing on the screen.
void ConsoleHost::ShowStepLabel(int labelId) {
  const TwoTextMessage* label = StepLabelText(labelId);
  if (label == nullptr || !shownLabels_.insert(labelId).second) {
    return;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  char elapsed[32];
  std::snprintf(elapsed, sizeof elapsed, "[%6.1f s] ", seconds);
  out_ << elapsed << Localise(*label) << std::endl;
}

int ConsoleHost::ShowMessage(const std::string& text, unsigned style) {
  return prompter_.Prompt(text, style);
}

void ConsoleHost::WriteLog(const std::string& text) {
  AppendLogLine(text, *this);
}
