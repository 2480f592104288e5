#include "tools/vextool/command_line.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/tools/vextool_run.h"
#include "tools/vextool/commands.h"

namespace {

using Outcome = VextoolOutcome;

Outcome RunTool(const CommandArguments& arguments) {
  return RunVextoolCaptured(arguments);
}

// Every subcommand of every command: each answers --help wherever it stands, with an example,
// and --version; `vextool help` before it gives the same help.
const CommandArguments kSubcommands[] = {
    {"fmt", "check"},
    {"fmt", "layout"},
    {"fmt", "header"},
    {"fmt", "dump"},
    {"fmt", "diff"},
    {"dat", "list"},
    {"dat", "verify"},
    {"dat", "extract"},
    {"dat", "build"},
    {"dat", "dump"},
    {"pkg", "build"},
    {"pkg", "verify"},
    {"pkg", "extract"},
    {"migrate"},
    {"backup", "verify"},
    {"restore"},
    {"fmt"},
    {"dat"},
    {"pkg"},
    {"backup"},
    {},
};

TEST(VextoolCommandLine, EverySubcommandAnswersHelpAndVersionAnywhere) {
  const std::string version = std::string("vextool ") + VextoolVersion() + "\n";
  for (const CommandArguments& command : kSubcommands) {
    const std::string name = command.empty() ? "vextool" : command.back();
    CommandArguments arguments = command;
    arguments.push_back("--help");
    if (arguments.size() > 2) arguments.insert(arguments.end() - 1, "--no-such-option");
    const Outcome help = RunTool(arguments);
    EXPECT_EQ(help.status, 0) << name;
    EXPECT_NE(help.out.find("SYNOPSIS\n"), std::string::npos) << name;
    EXPECT_NE(help.out.find("EXAMPLE\n    $ vextool "), std::string::npos) << name;

    CommandArguments asked = {"help"};
    asked.insert(asked.end(), command.begin(), command.end());
    EXPECT_EQ(RunTool(asked).out, RunTool(arguments).out) << name;

    arguments = command;
    arguments.push_back("--version");
    const Outcome versioned = RunTool(arguments);
    EXPECT_EQ(versioned.status, 0) << name;
    EXPECT_EQ(versioned.out, version) << name;
  }
}

TEST(VextoolCommandLine, UsageErrorsNameTheBadArgumentAndExit64) {
  const struct {
    CommandArguments arguments;
    const char* named;
  } cases[] = {
      {{"fmt", "check", "a.fmt", "--josn"}, "unknown option '--josn'"},
      {{"fmt", "layout", "--json=yes", "a.fmt"}, "'--json' takes no value"},
      {{"fmt", "dump", "a.fmt", "--data", "d", "--block"}, "'--block' needs a value"},
      {{"fmt", "dump", "a.fmt", "--data=d"}, "missing option '--block'"},
      {{"dat", "extract", "f.dat", "N", "-o", "a", "--output=b"}, "'--output' is given twice"},
      {{"dat", "verify", "a.dat", "b.dat"}, "unexpected argument 'b.dat'"},
      {{"dat", "extract", "-o", "out.bin", "f.dat"}, "missing NAME"},
      {{"dat", "build", "-o", "x.dat", "=a.bin"}, "'=a.bin' is not NAME=FILE"},
      {{"pkg", "frobnicate"}, "unknown subcommand 'frobnicate'"},
      {{"help", "frobnicate"}, "unknown subcommand 'frobnicate'"},
      {{"--versoin"}, "unknown subcommand '--versoin'"},
      {{"--lang", "de", "fmt"}, "'--lang' takes zh, ru or en, not 'de'"},
      {{"--lang"}, "'--lang' needs a value"},
  };
  for (const auto& c : cases) {
    const Outcome outcome = RunTool(c.arguments);
    EXPECT_EQ(outcome.status, kUsageError) << c.named;
    EXPECT_NE(outcome.err.find(c.named), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("usage:\n  vextool "), std::string::npos) << outcome.err;
  }
}

TEST(VextoolCommandLine, ValuesComeAttachedOrSeparateAndRepeatWhereAllowed) {
  const CommandSyntax syntax = {
      {"t", "s", "A [B...]", "d", nullptr, "e", "$ vextool t"},
      {ValueOption("--from"), RepeatedOption("--config"), FlagOption("--json"),
       ValueOption("--output", "-o")},
      {"A"},
      true,
  };
  CommandLine line;
  ASSERT_FALSE(ReadCommandLine(
      {"--from=x=y", "a", "--config", "M", "-o", "out", "--config=L", "--", "--json", "b"}, syntax,
      &line));
  EXPECT_EQ(line.Value("--from"), "x=y");
  EXPECT_EQ(line.Values("--config"), (std::vector<std::string>{"M", "L"}));
  EXPECT_EQ(line.Value("--output"), "out");
  EXPECT_FALSE(line.Has("--json"));  // after `--` it is a plain argument
  EXPECT_EQ(line.Operands(), (std::vector<std::string>{"a", "--json", "b"}));
}

TEST(VextoolCommandLine, VersionNamesTheProjectVersion) {
  EXPECT_NE(std::string(VextoolVersion()).find('.'), std::string::npos);
}

}  // namespace
