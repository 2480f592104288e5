// Where a TempFolder lives; one implementation per system.
#pragma once

#include <memory>
#include <string>

class StagedMachine;

// Creates a fresh empty folder and returns its Windows path with a trailing backslash. On POSIX,
// when no StagedMachine is active, it starts one and hands it to `ownMachine`.
std::string CreateFreshFolder(std::unique_ptr<StagedMachine>* ownMachine);
