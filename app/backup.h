// The file-system work of the update around the installation itself: backing it up before it is
// removed, removing it with its shortcuts, and keeping a copy of the package.
#pragma once

#include <string>
#include <vector>

#include "app/step_host.h"
#include "platform/local_time.h"

struct SetupRun;

// What the backup of state 3 came to. The clearing of state 4 may run only when it is not kFailed.
struct BackupOutcome {
  enum class Status { kNotAsked, kMade, kFailed };
  Status status = Status::kNotAsked;
  std::string folder;  // the backup folder, made or meant (Windows path, system code page)
  std::string reason;  // with kFailed: why, for the user (UTF-8)
};

// Copies the maker folder, and the generated-files directory into the backed-up installation
// folder, into a new folder named after the local time below BACKUPPATH; the wizards folder goes
// into its sub-folder VexFiles\Wizards. The backup folder gets its manifest (every folder and
// file, with sizes and MD5 digests), is put on the disk and checked against the installation
// before it counts as made. Nothing is backed up when BACKUPPATH is empty or names the
// compact-flash card. A backup location inside what the clearing deletes, a folder that cannot be
// made, a copy, flush or listing that fails, or a backup that does not match is kFailed. The step
// timer is stopped only while copying. `generatedFilesWarnings` is the run's count of reports of
// a wrong directory.
BackupOutcome BackUpInstallation(IStepHost& host, int* generatedFilesWarnings);

// Deletes the generated-files directory, the maker folder, the wizards folder and the program
// shortcuts. Whatever cannot be deleted stays, and the rest goes all the same; what stayed is
// logged, shown in one message and returned (full paths, system code page).
std::vector<std::string> ClearInstallation(IMessageSink& sink, int* generatedFilesWarnings);

// Where the package copy went, and whether it was written; `path` is "" when BACKUPPATH asks
// for none.
struct PackageCopyOutcome {
  std::string path;
  bool written = false;
  std::string reason;  // when not written: the system's reason (UTF-8)
};

// Copies the package into BACKUPPATH (the compact-flash card resolved), replacing an earlier copy
// of the same name.
PackageCopyOutcome KeepPackage(IMessageSink& sink);

// "Pelmo 2024-06-03 140509\" for 14:05:09 on 3 June 2024.
std::string FormatBackupFolderName(const platform::LocalTime& time);
