// Where the installation and the user's shortcuts live, each asked of the system (creating the
// folder when missing); each ends in a backslash.
#pragma once

#include <string>

// The short form of the program-files folder + "\Pelmo\". False, with `folder` untouched, when
// the system does not name the program-files folder.
bool FindMakerFolder(std::string* folder);
// The short form of the user's desktop folder + "\"; "" when the system does not name it.
std::string GetDesktopFolder();
// The short form of the user's start-menu programs folder + "\"; "" when the system does not
// name it.
std::string GetProgramsFolder();
