// How vextool's commands say that something failed, the same way in every command.
#pragma once

#include <string>

// The system's reason for the last failed call of the platform layer ("Access is denied.").
std::string LastSystemReason();

// "COMMAND: cannot VERB 'PATH': REASON" on standard error, the reason being LastSystemReason.
void SayCannot(const char* command, const char* verb, const std::string& path);

// A log entry as a line for the terminal: "vextool: FILE:LINE: message" for a finding in a
// file, "vextool: message" otherwise, without the log's level mark or the name of the class
// that logged it.
std::string TerminalLine(const std::string& logEntry);
