// vextool fmt dump: a parameter block's bytes written as the setup program writes them.
#pragma once

#include "tools/vextool/commands.h"

int RunFmtDump(const CommandArguments& arguments, VextoolSink& sink);

// The {@n} comments of the format files read after it come from the string file of the
// installation `folder` (its Lang\Lang.ini); an empty folder keeps the current directory.
// Takes the language folder from the installation folder `folder` (none when empty); problems are
// shown through `sink`.
void UseLanguageFolderOf(const std::string& folder, IMessageSink& sink);
