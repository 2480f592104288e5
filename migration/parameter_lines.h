// The text line grammar shared by the temporary parameter files and the amendment files:
// "name = value" lines, "[section]" header lines, ";" comments.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One line of a parameter text file. A section header is held with the whole line as its name
// and an empty value.
struct ParameterEntry {
  std::string name;
  std::string value;
};

using ParameterList = std::vector<ParameterEntry>;

// The line without its comment and without white space at either end.
std::string_view CleanParameterLine(std::string_view line);

// The entry a line yields: a header line, or a name and a value both non-empty.
std::optional<ParameterEntry> ParseParameterLine(std::string_view line);

// The lines of a text file as the system's text-mode reading gives them: CR LF ends a line like
// LF, and a Ctrl-Z ends the file. False when the file cannot be opened (others may not write to
// it meanwhile) or read.
bool ReadTextFileLines(const std::string& path, std::vector<std::string>* lines);

// The line as the amendment file holds it: the name, then " = " and the value when there is one.
std::string FormatParameterLine(const ParameterEntry& entry);
