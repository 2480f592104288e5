// Depth-first walks over a folder tree, entries in the order the file system lists them, each
// sub-folder walked where it is listed. Names are compared without regard to letter case.
#pragma once

#include <string>
#include <vector>

#include "base/message_sink.h"
#include "migration/migration_context.h"

// The full paths of the files named `name` below `root` (a folder without a trailing backslash).
// A folder that is there but cannot be listed is noted in `context`, when given: what it holds
// is not in the list. A path too long to reach is passed over, with a log line through `sink`,
// in both walks.
std::vector<std::string> FindFilesRecursively(IMessageSink& sink, const std::string& root,
                                              const std::string& name,
                                              MigrationContext* context = nullptr);

// Deletes the files named `first` or `second` below `root`.
void DeleteFilesRecursively(IMessageSink& sink, const std::string& root, const std::string& first,
                            const std::string& second);
