// Joining path pieces the way the system does (plain concatenation), with the length limit of
// the 260-byte path buffers enforced instead of truncating or overrunning.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

class IMessageSink;

// True when `path` fits a 260-byte path buffer (at most 259 characters).
bool FitsMaxPath(std::string_view path);

// FitsMaxPath, naming a refused path in one setup log line through `sink`.
bool CheckPathLength(IMessageSink& sink, std::string_view path);

// The concatenation of `parts`, or nothing when it is longer than 259 characters; a refused path
// is named in one setup log line through `sink`.
std::optional<std::string> ComposePath(IMessageSink& sink,
                                       std::initializer_list<std::string_view> parts);
