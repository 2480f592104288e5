// The controller parameters carried from an old installation into a configuration's amendment
// file "amend.dat" of the new one: its [CController] section merged with the temporary parameter
// file, checked against the new format description, everything else carried through.
#pragma once

#include <string>
#include <vector>

#include "base/message_sink.h"
#include "migration/parameter_lines.h"

class CControllerFormat;

// The header of the controller section, and of the temporary parameter file.
extern const char kControllerSectionHeader[];

// Whether `name` is a guard field m__df_beginCController or m__df_endCController, whatever index or
// member path follows: no parameter, never carried.
bool IsMarkerName(const std::string& name);

// Drops the block's guard fields.
void RemoveMarkerEntries(ParameterList* entries);

// The entries of the temporary parameter file's lines that the transfer carries: guard fields
// removed.
ParameterList CarriedParameters(const std::vector<std::string>& lines);

// The [CController] section (header first; a repeated name keeps its first place and its last
// value) and everything else in file order. Both empty when the file is missing or cannot be
// read; false only in the latter case, where writing it would lose the other sections.
bool ReadAmendmentFile(const std::string& path, ParameterList* controller, ParameterList* others);

// Gives the controller entries the carried values of the same name and puts the carried entries
// the section does not have before its last entry. Creates the section when carried entries
// would otherwise have nowhere to go.
void MergeParameters(const ParameterList& carried, ParameterList* controller);

// Writes the entries before the first section header, the controller section, then the other
// entries, into a temporary file beside `path` and
// puts it in place of `path` at once, so a failure leaves the old file whole. A temporary name
// too long for the system is refused with a log line through `sink`.
bool WriteAmendmentFile(IMessageSink& sink, const std::string& path,
                        const ParameterList& controller, const ParameterList& others);

// What the transfer makes of one configuration's amendment file, before anything is written.
struct ConfigurationTransfer {
  ParameterList previous;    // the controller section as the amendment file had it
  ParameterList controller;  // merged with the carried entries and validated
  ParameterList others;      // every other line, carried through
  // False when the file exists but cannot be read: writing it would lose its other sections.
  bool amendmentReadable = true;
};
// Reads the amendment file, merges the carried entries (markers already removed) and validates
// the result against the format description (an unusable one is shown through `sink`).
ConfigurationTransfer PrepareConfigurationTransfer(IMessageSink& sink, const ParameterList& carried,
                                                   const std::string& amendmentPath,
                                                   const std::string& formatPath);
ConfigurationTransfer PrepareConfigurationTransfer(const ParameterList& carried,
                                                   const std::string& amendmentPath,
                                                   CControllerFormat* format);

// Read, remove markers, read the amendment file, merge, validate against the format description,
// write. 0, or -1 when the amendment file cannot be read or written (it is then left as it is).
int TransferConfiguration(IMessageSink& sink, const std::string& temporaryPath,
                          const std::string& amendmentPath, CControllerFormat* format);
int TransferConfiguration(IMessageSink& sink, const std::string& temporaryPath,
                          const std::string& amendmentPath, const std::string& formatPath);
