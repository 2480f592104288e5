// vextool fmt dump: a parameter block's bytes written as the setup program writes them.
#pragma once

#include "tools/vextool/commands.h"

int RunFmtDump(const CommandArguments& arguments);
