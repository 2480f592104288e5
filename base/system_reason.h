// The system's own words for why a call of the platform layer failed, for messages and log lines.
#pragma once

#include <string>

// The text of the last error of the platform layer, in UTF-8 (the system's text converted from
// its code page).
std::string LastErrorReason();
