// The numbered texts of the installed system's string file, language folder + "Vexorand.string":
// read on first use, each text decoded once and kept for the run.
#pragma once

#include <string>

class IMessageSink;

// The text of string `index`, or "!ErrStr!" when there is no such string. Index 0 is the empty
// text. The reference stays valid until FreeStrings. A language folder still to be found, or a
// string the file lacks, is reported through `sink`.
const std::string& GetString(int index, IMessageSink& sink);
// The same, reported by the process sink.
const std::string& GetString(int index);

// Forgets the whole table; the next GetString reads the string file again.
void FreeStrings();
