// The language folder of the installed system: "Lang\\<ActiveLang>\\" as named by Lang\\Lang.ini,
// kept in the run of the sink it is determined for.
#pragma once

#include <string>

class IMessageSink;

// Sets the run's language folder from base + "Lang\\Lang.ini" (`base` ends in a backslash, or is
// empty for the current directory). A missing folder or file, or an empty ActiveLang, is shown in
// a message box through `sink` (once per run) and leaves the folder as it was (unset, in a
// normal run).
void DetermineLanguageFolder(const std::string& base, IMessageSink& sink);

// The run's language folder with its trailing backslash, determined from the current directory
// first (problems shown through `sink`) when it is still unset; empty when that fails too.
const std::string& GetLanguageFolder(IMessageSink& sink);
