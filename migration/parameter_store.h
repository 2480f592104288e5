// Reading sections out of the configurations' binary parameter files, with the restore of a
// damaged file from its backup "<file>.bak".
#pragma once

#include <string>
#include <vector>

#include "base/message_sink.h"

// Returns true when the file is good or was replaced by a good backup (after telling the user);
// false when both are damaged (silently) or the copy failed (with a message).
bool VerifyOrRestoreParameterFile(IMessageSink& sink, const std::string& path);

// The bytes of the first section whose name matches `sectionName` on four characters. Each file
// is verified, and restored when damaged, before the run of `sink` first reads from it. False with
// `data` empty when the section is missing or the file cannot be read (the latter logged).
// `damaged`, when given, is set when the file was damaged and could not be restored from its
// backup: its parameters are read all the same, better than none, but should be checked.
// `unreadable`, when given, is set when the file could not be opened or read (a disk fault, not
// damaged contents): its parameters are then nowhere but in the file itself.
bool ExtractParameters(IMessageSink& sink, const std::string& path, const std::string& sectionName,
                       std::vector<unsigned char>* data, bool* damaged = nullptr,
                       bool* unreadable = nullptr);
