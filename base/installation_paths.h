// Where the installation and the user's shortcuts live. Each folder is asked of the system once
// (creating it when missing) and kept for the run; each ends in a backslash.
#pragma once

#include <string>

// The short form of the program-files folder + "\Pelmo\".
const std::string& GetMakerFolder();
// The short form of the user's desktop folder + "\".
const std::string& GetDesktopFolder();
// The short form of the user's start-menu programs folder + "\".
const std::string& GetProgramsFolder();
