// The subcommands of `vextool fmt` and what they share.
#pragma once

#include <string>

#include "format/format_parser.h"
#include "tools/vextool/commands.h"

int RunFmtCheck(const CommandArguments& arguments);
int RunFmtLayout(const CommandArguments& arguments);
int RunFmtHeader(const CommandArguments& arguments);
int RunFmtDiff(const CommandArguments& arguments);

// Parses a format description for a subcommand; false, after saying so when the parse logged
// nothing, when the file cannot be read or does not parse.
bool ParseFormatFile(const std::string& path, CFormatParser& parser);
