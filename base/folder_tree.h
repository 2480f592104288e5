// Creating and deleting whole folder paths.
#pragma once

#include <string>
#include <vector>

class IMessageSink;

// Creates every missing folder along `path` (for D:\A\B\: D:\A, then D:\A\B). Stops at the first
// folder that cannot be made. True when `path` names a folder afterwards. A path too long for the
// system is refused with a log line through `sink`, as is each entry of the deletions below.
bool CreateFolderTree(IMessageSink& sink, const std::string& path);

// Deletes the folder `path` (no trailing backslash) with everything in it, read-only files
// included. Stops at the first entry that cannot be deleted and leaves the rest in place. True
// when the folder itself was removed.
bool DeleteTree(IMessageSink& sink, const std::string& path);

// The same, but going on past whatever cannot be deleted, so that only that stays. Each entry
// that stays is added to `notDeleted` by its full path: a file, or a folder when nothing inside
// it stayed (it would not go, or could not be listed). True when the folder itself was removed.
bool DeleteTreePastFailures(IMessageSink& sink, const std::string& path,
                            std::vector<std::string>* notDeleted);
