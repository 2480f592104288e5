#include "console/console_options.h"

#include <algorithm>
#include <sstream>

#include "app/update_sequencer.h"
#include "console/question_names.h"
#include "platform/ascii_characters.h"
#include "platform/file.h"

namespace {

std::string Trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) {
    return "";
  }
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// А-Я to а-я in UTF-8; the other bytes stay as they are.
std::string FoldCyrillicCase(std::string text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const auto next = static_cast<unsigned char>(text[i + 1]);
    if (lead == 0xD0 && next >= 0x90 && next <= 0x9F) {
      text[i + 1] = static_cast<char>(next + 0x20);
    } else if (lead == 0xD0 && next >= 0xA0 && next <= 0xAF) {
      text[i] = static_cast<char>(0xD1);
      text[i + 1] = static_cast<char>(next - 0x20);
    }
    if (lead >= 0xC0) ++i;
  }
  return text;
}

}  // namespace

bool ParseAnswerWord(const std::string& word, bool* yes) {
  // The localised questions tell the technician to press these buttons by their own names.
  static const char* const kYesWords[] = {"yes", "y", "ok", "是", "确定", "да", "ок"};
  static const char* const kNoWords[] = {"no", "n", "cancel", "否", "取消", "нет", "отмена"};
  const std::string folded = FoldCyrillicCase(platform::AsciiLowerCase(Trim(word)));
  for (const char* candidate : kYesWords) {
    if (folded == candidate) {
      *yes = true;
      return true;
    }
  }
  for (const char* candidate : kNoWords) {
    if (folded == candidate) {
      *yes = false;
      return true;
    }
  }
  return false;
}

namespace {

bool ReadWholeFile(const std::string& path, std::string* text) {
  platform::File file;
  return file.Open(path, platform::File::Mode::kRead) && platform::ReadToEnd(file, text);
}

// Splits "--name=value" and takes the value of "--name value" from the next argument.
bool TakeValue(const std::vector<std::string>& arguments, std::size_t* index,
               const std::string& name, std::string* value, std::string* error) {
  const std::string& argument = arguments[*index];
  if (argument.size() > name.size() && argument[name.size()] == '=') {
    *value = argument.substr(name.size() + 1);
    return true;
  }
  if (*index + 1 >= arguments.size()) {
    *error = name + " needs a value";
    return false;
  }
  *value = arguments[++*index];
  return true;
}

bool IsOption(const std::string& argument, const std::string& name) {
  return argument == name || argument.rfind(name + "=", 0) == 0;
}

}  // namespace

bool ParseNamedAnswer(const std::string& text, std::map<std::string, bool>* named,
                      std::string* error) {
  const std::size_t equals = text.find('=');
  const std::string name = platform::AsciiLowerCase(Trim(text.substr(0, equals)));
  const std::string word = equals == std::string::npos ? "" : Trim(text.substr(equals + 1));
  const std::vector<std::string>& names = QuestionNames();
  if (std::find(names.begin(), names.end(), name) == names.end()) {
    std::string known;
    for (const std::string& each : names) known += (known.empty() ? "" : ", ") + each;
    *error = "'" + name + "' names no question (" + known + ")";
    return false;
  }
  bool yes = false;
  if (!ParseAnswerWord(word, &yes)) {
    *error = "'" + word + "' is not yes or no";
    return false;
  }
  (*named)[name] = yes;
  return true;
}

bool ParseAnswers(const std::string& text, std::vector<bool>* answers, std::string* error,
                  std::map<std::string, bool>* named) {
  // Editors on Windows start a UTF-8 file with a byte-order mark.
  const char kByteOrderMark[] = "\xEF\xBB\xBF";
  const bool marked = text.compare(0, 3, kByteOrderMark) == 0;
  std::istringstream lines(marked ? text.substr(3) : text);
  std::string line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    const std::string word = Trim(line.substr(0, line.find('#')));
    if (word.empty()) {
      continue;
    }
    std::string wordError;
    if (named != nullptr && word.find('=') != std::string::npos) {
      if (!ParseNamedAnswer(word, named, &wordError)) {
        *error = "line " + std::to_string(number) + ": " + wordError;
        return false;
      }
      continue;
    }
    bool yes = false;
    if (!ParseAnswerWord(word, &yes)) {
      *error = "line " + std::to_string(number) + ": '" + word + "' is not yes or no";
      return false;
    }
    answers->push_back(yes);
  }
  return true;
}

bool ParseConsoleOptions(const std::vector<std::string>& arguments, ConsoleOptions* options,
                         std::string* error) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    std::string value;
    if (argument == "--version") {
      options->version = true;
    } else if (argument == "--help" || argument == "-h") {
      options->help = true;
    } else if (argument == "--allow-power-off") {
      options->allowPowerOff = true;
    } else if (IsOption(argument, "--root")) {
      if (!TakeValue(arguments, &i, "--root", &value, error)) {
        return false;
      }
      options->root = value;
    } else if (IsOption(argument, "--lang")) {
      if (!TakeValue(arguments, &i, "--lang", &value, error)) {
        return false;
      }
      const std::string lower = platform::AsciiLowerCase(value);
      if (lower == "zh") {
        options->language = ConsoleOptions::Language::kChinese;
      } else if (lower == "ru") {
        options->language = ConsoleOptions::Language::kRussian;
      } else {
        *error = "--lang takes zh or ru, not '" + value + "'";
        return false;
      }
    } else if (IsOption(argument, "--answers")) {
      if (!TakeValue(arguments, &i, "--answers", &value, error)) {
        return false;
      }
      std::string text;
      if (!ReadWholeFile(value, &text)) {
        *error = "cannot read the answers file " + value;
        return false;
      }
      std::string lineError;
      if (!ParseAnswers(text, &options->answers, &lineError, &options->namedAnswers)) {
        *error = value + ", " + lineError;
        return false;
      }
      options->scripted = true;
    } else if (IsOption(argument, "--answer")) {
      if (!TakeValue(arguments, &i, "--answer", &value, error)) {
        return false;
      }
      options->scripted = true;
      if (value.find('=') != std::string::npos) {
        std::string wordError;
        if (!ParseNamedAnswer(value, &options->namedAnswers, &wordError)) {
          *error = "--answer " + value + ": " + wordError;
          return false;
        }
        continue;
      }
      if (!ParseAnswerWord(value, &options->answerAllYes)) {
        *error = "--answer takes yes, no or NAME=yes|no, not '" + value + "'";
        return false;
      }
      options->answerAll = true;
    } else {
      *error = "unknown argument '" + argument + "'";
      return false;
    }
  }
  if (options->answerAll && !options->answers.empty()) {
    *error = "--answer and --answers exclude each other";
    return false;
  }
  if (options->scripted && options->language == ConsoleOptions::Language::kAsk) {
    *error = "scripted answers need --lang";
    return false;
  }
  return true;
}

std::string ConsoleVersion() {
  return std::string("setup ") + SETUP_VERSION + "\n";
}

std::string ConsoleUsage() {
  std::string usage = R"(Usage: setup [--root DIR] [--lang zh|ru] [--answer yes|no | --answers FILE]
             [--answer NAME=yes|no]... [--allow-power-off]

Updates the control system installed on a staged machine: waits until the control program has
ended, backs the installation up, runs the package's payload, installs the drivers and carries the
controller parameters of every configuration into the new version.

Options:
  --root DIR         the staged machine (default: the SETUP_ROOT environment variable)
  --lang zh|ru       the language; asked on the terminal when not given
  --answer yes|no    answer every question so (yes also means OK, no means Cancel)
  --answer NAME=yes|no
                     answer the question NAME so, wherever it comes (may be repeated)
  --answers FILE     one answer a line: NAME=yes|no for the question NAME, or a plain yes/no
                     (y/n, ok/cancel, or the button's name as the question gives it: 是/否,
                     确定/取消, Да/Нет, ОК/Отмена) for the next question without a named answer,
                     in order;
                     '#' starts a comment; once the answers (or the terminal's input) run
                     out, every further question is answered No (Cancel)
  --allow-power-off  let a Yes to the final question switch the computer off (it runs
                     $SETUP_POWER_OFF_COMMAND, or "systemctl poweroff" when that is not set);
                     without it the computer always stays on
  --version          the version of this program
  --help             this text

Question names, in the order the update asks them (a question may not be asked: on a machine
without parameter files there is no keep-parameters question, so name the answers that matter):
  start                start the update? (Yes/No)
  delete-installation  the installation folder will be deleted (OK/Cancel)
  unfinished-run       an earlier update did not finish: carry the parameters it kept?
                       (Yes/No; after No, the keep-parameters question follows)
  keep-parameters      keep the parameters of these configurations? (Yes/No)
  separate             put generated files and programs apart on another drive? (Yes/No)
  power-off            switch the computer off now? (Yes/No; only with --allow-power-off)
Example answers file:
  start=yes
  delete-installation=yes
  keep-parameters=yes
  separate=no
  power-off=no

The staged machine: DIR holds one folder per drive letter, in lower case: DIR/c is drive C:,
DIR/d is drive D:. Names below it are matched without regard to letter case. Fixed places:
  C:\Program Files\Pelmo\setup.cfg       [SETTINGS] PATH (installation folder, e.g. Control\)
                                         and BACKUPPATH (e.g. D:\Backup\)
  C:\Program Files\Pelmo\<PATH>          the installation: vexorand.fmt, config\<name>\vexorand.dat,
                                         Lang\Lang.ini, *.sys and *.inf driver files
  C:\Users\Operator\Desktop              desktop shortcuts
  C:\Users\Operator\Start Menu\Programs  start-menu shortcuts
  C:\Temp\                               temporary directory (payload file, migration folder, log)
  C:\Windows, C:\Windows\System32        Windows folders (drivers go to System32\drivers)
  DIR/drives.ini                         [Drives] X=fixed|removable|remote|cdrom|ramdisk; a drive
                                         folder without an entry is fixed
The control program counts as running while a process holds an flock(2) lock on the file
DIR/.mutex/MUTEX_NAME, as a stand-in control program does, for example
  mkdir -p DIR/.mutex && flock "DIR/.mutex/MUTEX_NAME" sleep 60
The package is this program's own file: the console program with a payload and trailer
appended (vextool pkg build); the bare program says it is not a package. The payload runs with
SETUP_ROOT set to DIR; what it prints is kept apart, each line prefixed with "payload| ".

Every run but a bad usage writes VexorandSetupReport.json (JSON, UTF-8) beside the setup log
VexorandSetupLog.txt in the temporary directory, and a closing block into the log.
Ctrl-C, SIGTERM and SIGHUP cancel a question; from the backup to the transfer the update stops
at the end of the step under way (exit status 5), and running the package again completes it.

Exit status:
  0   the update ran to its end and did everything it was asked
  1   it failed before the old installation was touched: the machine is as it was
  2   cancelled, or No to a question that ends the run, before anything changed
  3   it failed after the clearing began (the message and the report name the backup and the
      migration folder)
  4   it ran to its end, but not everything was done (a configuration or value not carried, a
      driver, the package copy or the language record not written, a file not deleted)
  5   stopped by a signal after something changed
  64  bad usage
)";
  for (std::size_t at; (at = usage.find("MUTEX_NAME")) != std::string::npos;) {
    usage.replace(at, 10, kControlProgramMutexName);
  }
  return usage;
}
