// The language folder of the installed system: "Lang\<ActiveLang>\" as named by Lang\Lang.ini.
#pragma once

#include <string>

// Sets the language folder from base + "Lang\Lang.ini" (`base` ends in a backslash, or is empty
// for the current directory). A missing folder or file, or an empty ActiveLang, is shown in a
// message box and leaves the folder as it was (unset, in a normal run).
void DetermineLanguageFolder(const std::string& base);

// The language folder with its trailing backslash, determined from the current directory first
// when it is still unset; empty when that fails too.
const std::string& GetLanguageFolder();
