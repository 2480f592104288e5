// A model of what a power cut takes, after SQLite's crash-test file system. The layer tells it of
// every change before making it; at a cut each change the disk was not yet asked to keep is
// undone: a file's contents go back to what it held at its last fsync, and a create or rename
// lasts only once the folder that holds the entry (both folders, for a rename) is flushed. A
// delete is taken as made at once: a disk may write it whenever it likes, and a delete that
// lasts while the copy made before it is lost is the worst a cut can do.
// Only fault-injection builds with a planned cut keep the journal; elsewhere every hook is an
// empty inline.
#pragma once

#include <string>

#include "platform/posix/fault_injection.h"

namespace platform {

#ifdef SETUP_FAULT_INJECTION

// Before contents of the open file change (write, truncate, copy into it).
void NoteContentsChanging(int descriptor);
// Before the file at `hostPath` is truncated by an open; nothing when it does not exist.
void NoteTruncating(const std::string& hostPath);
// After fsync of a file, and after fsync of a folder.
void NoteFileFlushed(int descriptor);
void NoteFolderFlushed(int descriptor);
// After syncfs of the volume that holds the open file: all of it is on the disk.
void NoteVolumeFlushed(int descriptor);
// After a file or folder was made at `hostPath`.
void NoteCreated(const std::string& hostPath);
// Before `from` is renamed to `to`; what `to` holds is kept aside to be put back.
void NoteRenaming(const std::string& from, const std::string& to);
// The rename just noted did not happen after all.
void ForgetLastChange();
// The cut: undoes what was not flushed, newest first.
void LoseUnflushedChanges();

#else

inline void NoteContentsChanging(int) {}
inline void NoteTruncating(const std::string&) {}
inline void NoteFileFlushed(int) {}
inline void NoteFolderFlushed(int) {}
inline void NoteVolumeFlushed(int) {}
inline void NoteCreated(const std::string&) {}
inline void NoteRenaming(const std::string&, const std::string&) {}
inline void ForgetLastChange() {}

#endif

}  // namespace platform
