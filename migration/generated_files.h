// The generated-files directory: where the control program keeps what it generates for its
// configurations (the installation's "Config\Config.ini" names it), and moving the configuration
// tree onto another fixed drive.
#pragma once

#include <string>

#include "base/message_sink.h"

// Base, backslash, folder, backslash from section ActiveConfig of the installation's settings.
// False when nothing is configured; a base without a folder is reported as a wrong directory
// every time.
bool LookUpGeneratedFiles(IMessageSink& sink, std::string* directory);

// The same, reporting a wrong directory only while `*warningCount` is 0, then counting it.
bool LookUpGeneratedFilesOnce(IMessageSink& sink, std::string* directory, int* warningCount);

// The first fixed drive from `*letter` on (A, B, ...) other than `excluded` (either case).
bool FindAnotherFixedDrive(char* letter, char excluded);

// Moves everything in the installation's settings folder but "config.ini" into the hidden folder
// "Pelmo\Config" on another fixed drive and points the settings there. Always true.
bool SeparateGeneratedFiles(IMessageSink& sink);
