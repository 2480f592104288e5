#include "platform/posix/walk_listings.h"

#include "platform/ascii_characters.h"
#include "platform/posix/volume_map.h"

namespace platform {
namespace {

int g_walkDepth = 0;
unsigned g_walkNumber = 0;
std::map<std::string, FolderListing> g_listings;

// The kept listing of the folder that holds `hostPath`, or nullptr; `name` gets the entry name.
FolderListing* ListingOfParent(const std::string& hostPath, std::string* name) {
  if (g_listings.empty()) return nullptr;
  const std::string path = WithoutTrailingSlashes(hostPath);
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return nullptr;
  *name = path.substr(slash + 1);
  return KeptListing(slash == 0 ? "/" : path.substr(0, slash));
}

}  // namespace

void FolderListing::Add(const std::string& name) {
  if (names.insert(name).second) byUpperCase[AsciiUpperCase(name)].insert(name);
}

void FolderListing::Remove(const std::string& name) {
  if (names.erase(name) == 0) return;
  const auto group = byUpperCase.find(AsciiUpperCase(name));
  group->second.erase(name);
  if (group->second.empty()) byUpperCase.erase(group);
}

FolderListing* KeptListing(const std::string& hostFolder) {
  const auto found = g_listings.find(hostFolder);
  return found == g_listings.end() ? nullptr : &found->second;
}

FolderListing* KeepListing(const std::string& hostFolder, FolderListing listing) {
  if (g_walkDepth == 0) return nullptr;
  FolderListing& kept = g_listings[hostFolder];
  kept = std::move(listing);
  return &kept;
}

WalkListings::WalkListings() {
  if (g_walkDepth++ == 0) {
    ++g_walkNumber;
    if (g_walkNumber == 0) g_walkNumber = 1;
  }
}

WalkListings::~WalkListings() {
  if (--g_walkDepth == 0) g_listings.clear();
}

unsigned CurrentWalk() {
  return g_walkDepth > 0 ? g_walkNumber : 0;
}

void NoteEntryAdded(const std::string& hostPath) {
  std::string name;
  if (FolderListing* listing = ListingOfParent(hostPath, &name)) listing->Add(name);
}

void NoteFolderCreated(const std::string& hostPath) {
  NoteEntryAdded(hostPath);
  KeepListing(WithoutTrailingSlashes(hostPath), FolderListing{});
}

void NoteEntryRemoved(const std::string& hostPath) {
  if (g_listings.empty()) return;
  std::string name;
  if (FolderListing* listing = ListingOfParent(hostPath, &name)) listing->Remove(name);
  g_listings.erase(WithoutTrailingSlashes(hostPath));
}

}  // namespace platform
