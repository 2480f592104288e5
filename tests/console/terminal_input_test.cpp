#include "console/terminal_input.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <istream>
#include <string>

#include "console/stop_signals.h"

namespace {

// In a child of its own (the stop is for the whole process): what was typed is read, and a stop
// signal that came before the read, with nothing more typed and the input still open, ends the
// input instead of waiting. The alarm ends a read that waits.
void ReadTypedLineThenStop() {
  alarm(10);
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0 || write(pipeEnds[1], "yes\n", 4) != 4) std::_Exit(2);
  InstallStopSignals();
  TerminalInput terminal(pipeEnds[0]);
  std::istream input(&terminal);
  std::string line;
  if (!std::getline(input, line) || line != "yes") std::_Exit(3);
  raise(SIGINT);
  std::_Exit(std::getline(input, line) ? 4 : 0);
}

}  // namespace

TEST(TerminalInputDeathTest, AStopSignalBeforeTheReadEndsTheInput) {
  EXPECT_EXIT(ReadTypedLineThenStop(), testing::ExitedWithCode(0), "");
}
