// The volume map of the POSIX edition: a root folder with one folder per drive letter
// (X:\a\b is <root>/x/a/b), names resolved without regard to letter case.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The environment variable that names the root when SetVolumeRoot was not called.
constexpr const char* kVolumeRootVariable = "SETUP_ROOT";

void SetVolumeRoot(const std::string& root);
const std::string& GetVolumeRoot();

// The host path of a Windows path: drive letter to root folder, each existing component matched
// case-insensitively (short 8.3 aliases included), missing ones kept as written. A path without
// a drive is taken relative to the current directory. A path that starts with "/" is a host
// path already; backslashes in it separate components as slashes do. A drive the root has no
// folder for, a rooted path without a drive ("\x") and a network path give "".
std::string ToHostPath(const std::string& windowsPath);
// ToHostPath for the layer's operations: false, with the last error set, when a folder on the way
// could not be read, so that a disk that fails is never taken for a missing name.
bool ResolveHostPath(const std::string& windowsPath, std::string* host);

// A Windows path resolved against the host: its prefix ("C:" or "" for a relative path), the
// real names of its components and whether every component exists.
struct ResolvedPath {
  std::string host;
  std::string prefix;
  std::vector<std::string> names;
  bool exists = false;
  bool hostPathGiven = false;  // the input was a host path, not a Windows one
  int error = 0;               // errno of a lookup that failed on the way: the path is unknown
};
ResolvedPath ResolvePath(const std::string& windowsPath);

// The real name in the host folder that `component` stands for (exact name, letter case
// ignored, or 8.3 alias), "" when none does; false (errno set) when the folder cannot be read.
// Costs one lstat for an exact name; otherwise the folder is listed, once per walk while a
// WalkListings lives.
bool FindNameInFolder(const std::string& hostFolder, const std::string& component,
                      std::string* name);

// While one lives (they nest), listings read to resolve names are kept and reused. The file
// layer reports what it creates and removes; a change from outside the process is not seen,
// so only a walk, which nothing else changes meanwhile, holds one.
class WalkListings {
 public:
  WalkListings();
  ~WalkListings();
  WalkListings(const WalkListings&) = delete;
  WalkListings& operator=(const WalkListings&) = delete;
};
// The walk that runs (a number new for each outermost one), 0 when none does.
unsigned CurrentWalk();
void NoteEntryAdded(const std::string& hostPath);
// A folder the process just made: its listing is known to be empty.
void NoteFolderCreated(const std::string& hostPath);
void NoteEntryRemoved(const std::string& hostPath);

// The host path without trailing slashes ("/" stays), and the folder that holds it ("." for a
// bare name).
std::string WithoutTrailingSlashes(std::string path);
std::string HostParentOf(const std::string& hostPath);

// The Windows form of a host path below the root ("C:\..."), or "" when it lies elsewhere.
std::string ToWindowsPath(const std::string& hostPath);

// The 8.3 alias of the entry `name` of the host folder `hostFolder`: the name itself when it is
// a valid short name, else the first six valid characters upper-cased, "~N" and the extension.
// False, with the last error set, when the folder cannot be listed.
bool ShortNameOf(const std::string& hostFolder, const std::string& name, std::string* alias);

}  // namespace platform
