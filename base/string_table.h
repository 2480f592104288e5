// The numbered texts of the installed system's string file, language folder + "Vexorand.string":
// read on first use, each text decoded once and kept for the run.
#pragma once

#include <string>
#include <unordered_map>

class IMessageSink;

// The loaded string file of a run (a member of SetupRun).
struct StringTable {
  int maxIndex = 0;  // 0 while no string file is loaded
  std::string path;
  // Node-based, so references handed out stay valid while entries are added; filled on demand,
  // so a huge MaxIndex costs nothing up front.
  std::unordered_map<int, std::string> entries;
};

// The text of string `index` in the string file of `sink`'s run, or "!ErrStr!" when there is no
// such string. Index 0 is the empty text. The reference stays valid until FreeStrings. A language
// folder still to be found, or a string the file lacks, is reported through `sink`.
const std::string& GetString(int index, IMessageSink& sink);

// Forgets the run's whole table; the next GetString reads the string file again.
void FreeStrings(IMessageSink& sink);
