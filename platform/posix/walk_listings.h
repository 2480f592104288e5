// Folder listings kept while a walk runs (WalkListings in volume_map.h), so that resolving the
// names of a tree reads each folder once.
#pragma once

#include <map>
#include <set>
#include <string>

namespace platform {

// The names of one folder, found by exact name or by letter case ignored.
struct FolderListing {
  std::set<std::string> names;
  std::map<std::string, std::set<std::string>> byUpperCase;

  void Add(const std::string& name);
  void Remove(const std::string& name);
};

// The listing kept for `hostFolder` (no trailing slash), or nullptr.
FolderListing* KeptListing(const std::string& hostFolder);
// Keeps `listing` while the walk runs; nullptr when no walk runs.
FolderListing* KeepListing(const std::string& hostFolder, FolderListing listing);

}  // namespace platform
