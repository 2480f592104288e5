// What a command prints must arrive: a full disk or a reader that went away (a closed pipe) is a
// failure of the command, not a report nobody sees.
#pragma once

#include <string>

// Whether everything printed to standard output so far has arrived; false after saying why on
// standard error. The error is then cleared, so it is said once.
bool StandardOutputArrived();

// Prints `text` to standard output and checks that it arrived, as above.
bool WriteStandardOutput(const std::string& text);
