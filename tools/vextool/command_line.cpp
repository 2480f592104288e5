#include "tools/vextool/command_line.h"

#include <cstdio>

namespace {

bool IsHelp(const std::string& argument) {
  return argument == "--help" || argument == "-h";
}

void AppendIndented(std::string* text, const char* lines, const char* indent) {
  std::string block(lines);
  std::size_t start = 0;
  while (start < block.size()) {
    std::size_t end = block.find('\n', start);
    if (end == std::string::npos) end = block.size();
    if (end > start) *text += indent;
    text->append(block, start, end - start);
    *text += '\n';
    start = end + 1;
  }
}

std::string Synopsis(const CommandHelp& help, const char* indent) {
  std::string prefixed;
  std::string lines(help.synopsis);
  std::size_t start = 0;
  while (start <= lines.size()) {
    std::size_t end = lines.find('\n', start);
    if (end == std::string::npos) end = lines.size();
    prefixed += indent;
    prefixed += help.command;
    if (end > start) prefixed += " " + lines.substr(start, end - start);
    prefixed += '\n';
    start = end + 1;
  }
  return prefixed;
}

const OptionSpec* FindOption(const CommandSyntax& syntax, const std::string& spelling) {
  for (const OptionSpec& option : syntax.options) {
    if (spelling == option.name || (option.alias != nullptr && spelling == option.alias)) {
      return &option;
    }
  }
  return nullptr;
}

}  // namespace

std::string CommandLine::Value(const std::string& name) const {
  const auto found = values_.find(name);
  return found == values_.end() || found->second.empty() ? std::string() : found->second.back();
}

std::vector<std::string> CommandLine::Values(const std::string& name) const {
  const auto found = values_.find(name);
  return found == values_.end() ? std::vector<std::string>() : found->second;
}

std::string HelpText(const CommandHelp& help) {
  std::string text = "NAME\n    " + std::string(help.command) + " - " + help.summary + "\n\n";
  text += "SYNOPSIS\n" + Synopsis(help, "    ") + "\n";
  text += "DESCRIPTION\n";
  AppendIndented(&text, help.description, "    ");
  if (help.options != nullptr) {
    text += "\nOPTIONS\n";
    AppendIndented(&text, help.options, "    ");
  }
  text += "\nEXIT STATUS\n";
  AppendIndented(&text, help.exitStatus, "    ");
  text += "\nEXAMPLE\n";
  AppendIndented(&text, help.example, "    ");
  return text;
}

int CommandUsageError(const CommandHelp& help, const std::string& problem) {
  const std::string text = std::string(help.command) + ": " + problem + "\nusage:\n" +
                           Synopsis(help, "  ") + "'" + help.command + " --help' describes it.\n";
  std::fputs(text.c_str(), stderr);
  return kUsageError;
}

std::optional<int> ReadCommandLine(const CommandArguments& arguments, const CommandSyntax& syntax,
                                   CommandLine* line) {
  const CommandHelp& help = syntax.help;
  for (const std::string& argument : arguments) {
    if (argument == "--") break;
    if (IsHelp(argument)) {
      std::fputs(HelpText(help).c_str(), stdout);
      return 0;
    }
    if (argument == "--version") return PrintVersion();
  }
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
      continue;
    }
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      line->operands_.push_back(argument);
      continue;
    }
    const std::size_t equals = argument.find('=');
    const std::string spelling = argument.substr(0, equals);
    const OptionSpec* option = FindOption(syntax, spelling);
    if (option == nullptr) {
      return CommandUsageError(help, "unknown option '" + spelling + "'");
    }
    std::vector<std::string>& values = line->values_[option->name];
    if (!values.empty() && !option->repeats) {
      return CommandUsageError(help, "'" + spelling + "' is given twice");
    }
    if (!option->takesValue) {
      if (equals != std::string::npos) {
        return CommandUsageError(help, "'" + spelling + "' takes no value");
      }
      values.emplace_back();
    } else if (equals != std::string::npos) {
      values.push_back(argument.substr(equals + 1));
    } else if (i + 1 < arguments.size()) {
      values.push_back(arguments[++i]);
    } else {
      return CommandUsageError(help, "'" + spelling + "' needs a value");
    }
    if (option->takesValue && values.back().empty()) {
      return CommandUsageError(help, "'" + spelling + "' needs a value that is not empty");
    }
  }
  for (const OptionSpec& option : syntax.options) {
    if (option.required && !line->Has(option.name)) {
      return CommandUsageError(help, std::string("missing option '") + option.name + "'");
    }
  }
  const std::size_t given = line->operands_.size();
  const std::size_t named = syntax.operands.size();
  if (given < named) {
    return CommandUsageError(help, std::string("missing ") + syntax.operands[given]);
  }
  if (given > named && !(syntax.lastRepeats && named > 0)) {
    return CommandUsageError(help, "unexpected argument '" + line->operands_[named] + "'");
  }
  return std::nullopt;
}

const char* VextoolVersion() {
  return VEXTOOL_VERSION;
}

int PrintVersion() {
  std::printf("vextool %s\n", VextoolVersion());
  return 0;
}
