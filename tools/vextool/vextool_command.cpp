// vextool's command table and help: what `vextool` with no command name offers.
#include <cstdio>
#include <optional>
#include <set>

#include "base/setup_run.h"
#include "platform/ascii_characters.h"
#include "platform/file_system.h"
#include "tools/vextool/command_line.h"
#include "tools/vextool/commands.h"
#include "tools/vextool/standard_output.h"
#include "tools/vextool/vextool_sink.h"

namespace {

constexpr CommandHelp kHelp = {
    "vextool",
    "format descriptions, parameter files, packages and the parameter migration",
    "[--lang LANG] COMMAND [ARGUMENTS]\nhelp [COMMAND [SUBCOMMAND]]\n--version",
    "The engineers' and technicians' companion of the update program. Commands:\n"
    "  fmt      format descriptions: check, layout, header, dump, diff\n"
    "  dat      binary parameter files: list, verify, extract, build, dump\n"
    "  pkg      installation packages: build, verify, extract\n"
    "  migrate  the parameter migration of an update, offline: preview or recovery\n"
    "  backup   the update's backup folders: verify\n"
    "  restore  the old installation put back from a backup, after a failed update\n"
    "'vextool help COMMAND' (or 'vextool COMMAND --help') describes a command, 'vextool help\n"
    "COMMAND SUBCOMMAND' a subcommand; every command and subcommand takes --version too.\n"
    "Every command takes '--opt value' and '--opt=value' alike.",
    "--lang LANG  zh, ru or en: the language of the update program's messages that a command\n"
    "             prints, such as the order check's findings (default en)\n"
    "--version    print the version and exit",
    "0 success; 1 the work failed, or what it printed could not be written (a full disk, a\n"
    "closed pipe); 64 the command line cannot be understood. Some commands use 2 as well (see\n"
    "their help).",
    "$ vextool --version\n"
    "vextool 5.4.0",
};

constexpr Subcommand kCommands[] = {
    {"fmt", RunFmtCommand},         {"dat", RunDatCommand},       {"pkg", RunPkgCommand},
    {"migrate", RunMigrateCommand}, {"backup", RunBackupCommand}, {"restore", RunRestoreCommand},
};

constexpr int kEnglish = 1;

// The language index of a --lang value.
std::optional<int> LanguageIndexOf(const std::string& code) {
  if (code == "zh") return 0;
  if (code == "en") return kEnglish;
  if (code == "ru") return 2;
  return std::nullopt;
}

// A path on a drive that is not here reads as a file that does not exist. On POSIX that is most
// often a staged machine's path given without SETUP_ROOT, so the note says where drives lie.
void NoteMissingDrives(const CommandArguments& arguments) {
  std::set<char> noted;
  for (const std::string& argument : arguments) {
    const std::size_t equals =
        argument.rfind("--", 0) == 0 ? argument.find('=') : std::string::npos;
    const std::string path = equals == std::string::npos ? argument : argument.substr(equals + 1);
    if (path.size() < 3 || !platform::IsAsciiLetter(path[0]) || path[1] != ':' ||
        (path[2] != '\\' && path[2] != '/')) {
      continue;
    }
    const char drive = platform::ToAsciiUpper(path[0]);
    if (!noted.insert(drive).second || platform::IsDirectory(std::string(1, drive) + ":\\")) {
      continue;
    }
    std::fprintf(stderr,
                 "vextool: note: there is no drive %c: here (the drives of a staged machine lie "
                 "in the folder that SETUP_ROOT names)\n",
                 drive);
  }
}

}  // namespace

int RunVextool(const CommandArguments& arguments, IMessageSink& log) {
  if (!arguments.empty() && arguments[0] == "--version") {
    PrintVersion();
    return StandardOutputArrived() ? 0 : 1;
  }
  CommandArguments rest = arguments;
  int language = kEnglish;
  if (!rest.empty() && (rest[0] == "--lang" || rest[0].rfind("--lang=", 0) == 0)) {
    const bool attached = rest[0] != "--lang";
    if (!attached && rest.size() < 2) return CommandUsageError(kHelp, "'--lang' needs a value");
    const std::string code = attached ? rest[0].substr(7) : rest[1];
    const std::optional<int> index = LanguageIndexOf(code);
    if (!index) {
      return CommandUsageError(kHelp, "'--lang' takes zh, ru or en, not '" + code + "'");
    }
    language = *index;
    rest.erase(rest.begin(), rest.begin() + (attached ? 1 : 2));
  }
  if (!rest.empty() && rest[0] == "help") {
    // `vextool help fmt dump` is `vextool fmt dump --help`.
    rest.erase(rest.begin());
    rest.push_back("--help");
  }
  NoteMissingDrives(rest);
  VextoolSink sink(log, language);
  const int status = RunSubcommand(kHelp, kCommands, rest, sink);
  return StandardOutputArrived() || status != 0 ? status : 1;
}

int RunVextool(const CommandArguments& arguments) {
  // The log's own failures are shown as a message box would be.
  SetupRun logRun;
  CMessageBoxSink log(logRun);
  return RunVextool(arguments, log);
}
