// The language folder of the installed system: "Lang\<ActiveLang>\" as named by Lang\Lang.ini.
#pragma once

#include <string>

class IMessageSink;

// Sets the language folder from base + "Lang\Lang.ini" (`base` ends in a backslash, or is empty
// for the current directory). A missing folder or file, or an empty ActiveLang, is shown in a
// message box through `sink` and leaves the folder as it was (unset, in a normal run).
void DetermineLanguageFolder(const std::string& base, IMessageSink& sink);
// The same, with problems shown by the process sink.
void DetermineLanguageFolder(const std::string& base);

// The language folder with its trailing backslash, determined from the current directory first
// (problems shown through `sink`) when it is still unset; empty when that fails too.
const std::string& GetLanguageFolder(IMessageSink& sink);
// The same, with problems shown by the process sink.
const std::string& GetLanguageFolder();

// Forgets the folder and the messages shown, so that a test starts as a new run does.
void ResetLanguageFolder();
