// The generated-files directory: where the control program keeps what it generates for its
// configurations (the installation's "Config\Config.ini" names it), and moving the configuration
// tree onto another fixed drive.
#pragma once

#include <string>

#include "base/message_sink.h"

// What a lookup of the generated-files directory came to.
enum class GeneratedFilesLookup {
  kNone,        // nothing configured, or a base without a folder
  kFound,       // the directory is configured
  kUnreadable,  // the settings folder or file could not be looked at or read
};

// Base, backslash, folder, backslash from section ActiveConfig of the installation's settings.
// A base without a folder is reported as a wrong directory every time. With kUnreadable,
// `directory` holds the path that failed and LastErrorCode the reason: the parameters and the
// generated files may be there, so this is never "nothing configured".
GeneratedFilesLookup LookUpGeneratedFiles(IMessageSink& sink, std::string* directory);

// The same, reporting a wrong directory only while `*warningCount` is 0, then counting it.
GeneratedFilesLookup LookUpGeneratedFilesOnce(IMessageSink& sink, std::string* directory,
                                              int* warningCount);

// The first fixed drive from `*letter` on (A, B, ...) other than `excluded` (either case).
bool FindAnotherFixedDrive(char* letter, char excluded);

// Moves everything in the installation's settings folder but "config.ini" into the hidden folder
// "Pelmo\Config" on another fixed drive and points the settings there. False, with a message and
// a log line, when the settings could not be read or the move could not be finished; what was
// not copied stays where it was.
bool SeparateGeneratedFiles(IMessageSink& sink);
