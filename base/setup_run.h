// The state of one update: what it found, chose and verified on its way. The host that runs the
// work (the console, the progress dialog, vextool, a test) owns one and hands it down with its
// message sink; nothing of a run outlives it or leaks into the next.
#pragma once

#include <mutex>
#include <optional>
#include <set>
#include <string>

#include "base/installation_layout.h"
#include "base/string_table.h"

struct SetupRun {
  // The installation the steps work on: the old one until the new version is in place, the new
  // one after (each read from setup.cfg where the update reads it).
  InstallationLayout layout;
  // 0 Chinese, 1 English, 2 Russian.
  int language = 0;
  // "Lang\<ActiveLang>\" of the installation, with its trailing backslash; empty until found.
  std::string languageFolder;
  // The language folder's problems already shown: each is shown once per run.
  std::set<std::string> languageErrorsShown;
  StringTable strings;
  // The folder of the setup log, with its trailing backslash; empty means the current directory.
  std::string logDirectory;
  // The drive of the run's first compact-flash probe: every path of one run names the same card.
  std::optional<char> compactFlashDrive;
  // The installation package; empty for the running program's own file.
  std::string packageFile;
  // Parameter files (upper case, as the file system compares them) verified in this run, and of
  // those the ones that were damaged and stayed so. Recursive like the system's critical
  // section: the restore message's modal loop may bring the same thread back.
  std::set<std::string> verifiedParameterFiles;
  std::set<std::string> damagedParameterFiles;
  std::recursive_mutex parameterStoreLock;
};
