// Where a TempFolder lives; one implementation per system.
#pragma once

#include <memory>
#include <string>

// Creates a fresh empty folder and returns its Windows path with a trailing backslash.
// `keepAlive` receives what must live as long as the folder (on POSIX a StagedMachine of its
// own when none is active).
std::string CreateFreshFolder(std::shared_ptr<void>* keepAlive);
