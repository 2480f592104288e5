// The command line of every vextool command: one reader, one help layout, one way to fail.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tools/vextool/commands.h"

// A command's help, laid out like a manual page. Texts are plain lines; the reader indents them.
struct CommandHelp {
  const char* command;   // "vextool fmt dump", as messages name it
  const char* summary;   // one line: what it is for
  const char* synopsis;  // the arguments after the command's name, one form a line
  const char* description;
  const char* options;  // null when the command has none
  const char* exitStatus;
  const char* example;  // a command and what it prints
};

struct OptionSpec {
  const char* name = nullptr;  // "--block"
  const char* alias;           // another spelling ("-o" for "--output"), or null
  bool takesValue = false;
  bool repeats = false;  // may be given more than once; every value is kept
  bool required = false;
};

constexpr OptionSpec FlagOption(const char* name) {
  return {name, nullptr, false, false, false};
}
constexpr OptionSpec ValueOption(const char* name, const char* alias = nullptr) {
  return {name, alias, true, false, false};
}
constexpr OptionSpec RequiredOption(const char* name, const char* alias = nullptr) {
  return {name, alias, true, false, true};
}
constexpr OptionSpec RepeatedOption(const char* name) {
  return {name, nullptr, true, true, false};
}

struct CommandSyntax {
  CommandHelp help;
  std::vector<OptionSpec> options;
  // The plain arguments in order, by the names the synopsis gives them; the last one repeats when
  // `lastRepeats`.
  std::vector<const char*> operands;
  bool lastRepeats = false;
};

// What a command line held: the options by their names, then the plain arguments.
class CommandLine {
 public:
  bool Has(const std::string& name) const { return values_.count(name) != 0; }
  // The option's (last) value; empty when it was not given.
  std::string Value(const std::string& name) const;
  std::vector<std::string> Values(const std::string& name) const;
  const std::vector<std::string>& Operands() const { return operands_; }
  const std::string& Operand(std::size_t index) const { return operands_.at(index); }

 private:
  friend std::optional<int> ReadCommandLine(const CommandArguments&, const CommandSyntax&,
                                            CommandLine*);
  std::map<std::string, std::vector<std::string>> values_;
  std::vector<std::string> operands_;
};

// Reads `arguments` against `syntax`. Returns the status to end with, 0 after printing the help
// (--help or -h anywhere before `--`) or the version (--version), kUsageError after naming what
// does not fit, or nothing to go on. Values come as `--opt value` or `--opt=value`.
std::optional<int> ReadCommandLine(const CommandArguments& arguments, const CommandSyntax& syntax,
                                   CommandLine* line);

// The whole help text of a command.
std::string HelpText(const CommandHelp& help);
// Says `problem` about the command line, with the synopsis and where the help is; kUsageError.
int CommandUsageError(const CommandHelp& help, const std::string& problem);

// The version every command reports (`vextool --version`), and printing it: 0.
const char* VextoolVersion();
int PrintVersion();
