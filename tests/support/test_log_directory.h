// Where the runs of the test program's own sinks log: a temporary folder the test main makes for
// the program (with its trailing separator), so that no test leaves a log in the build tree.
#pragma once

#include <string>

// Set once by the test main, before any test runs.
void SetTestLogDirectory(const std::string& directory);
const std::string& TestLogDirectory();
