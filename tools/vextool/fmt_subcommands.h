// The subcommands of `vextool fmt` and what they share.
#pragma once

#include <string>

#include "format/format_parser.h"
#include "tools/vextool/commands.h"

int RunFmtCheck(const CommandArguments& arguments, VextoolSink& sink);
int RunFmtLayout(const CommandArguments& arguments, VextoolSink& sink);
int RunFmtHeader(const CommandArguments& arguments, VextoolSink& sink);
int RunFmtDiff(const CommandArguments& arguments, VextoolSink& sink);

class CommandSink;

// Parses a format description for a subcommand with a parser that logs through `sink`; false,
// after saying so when the parse logged nothing, when the file cannot be read or does not parse.
bool ParseFormatFile(const std::string& path, CFormatParser& parser, const CommandSink& sink);
