// How vextool's JSON reports name a file: as the host's own tools do, so that a script can open it.
#pragma once

#include <string>

// The absolute host path of an existing file (on POSIX with '/' and the letter case on the
// disk), in UTF-8; a file that does not exist keeps the spelling given, in UTF-8.
std::string ReportPath(const std::string& path);
