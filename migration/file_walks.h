// Depth-first walks over a folder tree, entries in the order the file system lists them, each
// sub-folder walked where it is listed. Names are compared without regard to letter case.
#pragma once

#include <string>
#include <vector>

// The full paths of the files named `name` below `root` (a folder without a trailing backslash).
std::vector<std::string> FindFilesRecursively(const std::string& root, const std::string& name);

// Deletes the files named `first` or `second` below `root`.
void DeleteFilesRecursively(const std::string& root, const std::string& first,
                            const std::string& second);
