// Checking a backup folder against its manifest, as `backup verify` and `restore` both do first.
#pragma once

#include <string>

#include "app/backup_manifest.h"

// Reads the manifest of `folder` (a trailing backslash is added when missing) into `manifest` and
// checks every folder and file against it, naming each difference on standard error under
// `command`. 0 when the backup matches, 1 when it differs, 2 when the manifest or a folder cannot
// be read.
int VerifyBackupFolder(const char* command, std::string* folder, BackupManifest* manifest);
