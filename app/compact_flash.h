// The compact-flash card: a backup location may name it by the placeholder "CFCard:", which
// stands for the drive whose root holds "cfinfo.sys".
#pragma once

#include <string>

struct SetupRun;

// The first drive from D to Z whose root holds "cfinfo.sys" (probed now, every call), or '\0'.
char FindCompactFlashDrive();

// Replaces every "CFCard:" in `path` by `drive` and a colon; with no drive ('\0') the path
// becomes empty.
void ReplaceCompactFlashPlaceholder(std::string* path, char drive);

// When `path` holds "CFCard:", resolves it with the drive found by the first probe of `run` and
// returns true; otherwise leaves it unchanged and returns false.
bool ResolveCompactFlash(SetupRun& run, std::string* path);
