// Maps Windows paths onto the host: drive letters become folders of the root, each component is
// found without regard to letter case, and 8.3 aliases are derived the way NTFS derives them.
#include "platform/posix/volume_map.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

namespace platform {
namespace {

std::string g_explicitRoot;
bool g_rootSet = false;

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool Exists(const std::string& hostPath) {
  struct stat status;
  return lstat(hostPath.c_str(), &status) == 0;
}

char Upper(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

std::vector<std::string> ReadFolderNames(const std::string& hostFolder) {
  std::vector<std::string> names;
  DIR* folder = opendir(hostFolder.c_str());
  if (folder == nullptr) return names;
  while (const dirent* entry = readdir(folder)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(folder);
  std::sort(names.begin(), names.end());
  return names;
}

std::string UpperCase(std::string text) {
  for (char& c : text) c = Upper(c);
  return text;
}

// The names of one folder, found by exact name or by letter case ignored.
struct FolderListing {
  std::set<std::string> names;
  std::map<std::string, std::set<std::string>> byUpperCase;

  void Add(const std::string& name) {
    if (names.insert(name).second) byUpperCase[UpperCase(name)].insert(name);
  }
  void Remove(const std::string& name) {
    if (names.erase(name) == 0) return;
    const auto group = byUpperCase.find(UpperCase(name));
    group->second.erase(name);
    if (group->second.empty()) byUpperCase.erase(group);
  }
};

FolderListing ReadListing(const std::string& hostFolder) {
  FolderListing listing;
  for (const std::string& name : ReadFolderNames(hostFolder)) listing.Add(name);
  return listing;
}

// Listings kept while a walk runs, by host folder.
int g_walkDepth = 0;
unsigned g_walkNumber = 0;
std::map<std::string, FolderListing> g_listings;

// The cached listing of the folder that holds `hostPath`, or nullptr; `name` gets the entry name.
FolderListing* ListingOfParent(const std::string& hostPath, std::string* name) {
  if (g_listings.empty()) return nullptr;
  const std::string path = WithoutTrailingSlashes(hostPath);
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return nullptr;
  *name = path.substr(slash + 1);
  const auto found = g_listings.find(slash == 0 ? "/" : path.substr(0, slash));
  return found == g_listings.end() ? nullptr : &found->second;
}

bool IsShortNameCharacter(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x80 || std::isalnum(byte) || std::strchr("!#$%&'()-@^_`{}~", c) != nullptr;
}

bool IsValidShortName(const std::string& name) {
  const std::size_t dot = name.find('.');
  const std::string base = name.substr(0, dot);
  const std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
  if (base.empty() || base.size() > 8 || extension.size() > 3) return false;
  if (dot != std::string::npos && (extension.empty() || extension.find('.') != std::string::npos))
    return false;
  return std::all_of(base.begin(), base.end(), IsShortNameCharacter) &&
         std::all_of(extension.begin(), extension.end(), IsShortNameCharacter);
}

// Characters of a long name as they appear in its alias: spaces and dots dropped, characters
// that no short name may hold replaced by "_", letters upper-cased.
std::string ShortNameCharacters(const std::string& part) {
  std::string result;
  for (char c : part) {
    if (c == ' ' || c == '.') continue;
    result += IsShortNameCharacter(c) ? Upper(c) : '_';
  }
  return result;
}

// The alias without its number: six characters of the base and three of the extension.
std::string AliasStem(const std::string& name, std::string* extension) {
  std::string trimmed = name;
  trimmed.erase(0, trimmed.find_first_not_of('.'));
  const std::size_t dot = trimmed.rfind('.');
  const std::string base = ShortNameCharacters(trimmed.substr(0, dot));
  *extension = dot == std::string::npos ? "" : ShortNameCharacters(trimmed.substr(dot + 1));
  if (extension->size() > 3) extension->resize(3);
  return base.substr(0, 6);
}

std::string AliasFromFolderNames(const std::vector<std::string>& names, const std::string& name) {
  if (IsValidShortName(name)) return name;
  std::string extension;
  const std::string stem = AliasStem(name, &extension);
  // Names that share a stem are numbered in name order, so "Program Files" is PROGRA~1 and
  // "Program Files (x86)" PROGRA~2.
  int number = 0;
  for (const std::string& other : names) {
    if (IsValidShortName(other)) continue;
    std::string otherExtension;
    if (AliasStem(other, &otherExtension) != stem || otherExtension != extension) continue;
    ++number;
    if (other == name) break;
  }
  std::string alias = stem + "~" + std::to_string(std::max(number, 1));
  if (!extension.empty()) alias += "." + extension;
  return alias;
}

std::string FindInListing(const FolderListing& listing, const std::string& component) {
  if (listing.names.count(component) != 0) return component;
  const auto group = listing.byUpperCase.find(UpperCase(component));
  if (group != listing.byUpperCase.end()) return *group->second.begin();
  if (component.find('~') == std::string::npos) return "";
  const std::vector<std::string> names(listing.names.begin(), listing.names.end());
  for (const std::string& name : names) {
    if (EqualIgnoringCase(AliasFromFolderNames(names, name), component)) return name;
  }
  return "";
}

// The drive's folder in the root, or "" when the machine has no such drive.
std::string DriveFolder(char letter) {
  const std::string& root = GetVolumeRoot();
  const std::string upper = root + "/" + Upper(letter);
  const std::string lower = root + "/" + static_cast<char>(std::tolower(letter));
  if (Exists(lower)) return lower;
  return Exists(upper) ? upper : "";
}

std::string CanonicalHostPath(const std::string& path) {
  char buffer[PATH_MAX];
  return realpath(path.c_str(), buffer) != nullptr ? buffer : path;
}

}  // namespace

void SetVolumeRoot(const std::string& root) {
  g_explicitRoot = root;
  while (g_explicitRoot.size() > 1 && g_explicitRoot.back() == '/') g_explicitRoot.pop_back();
  g_rootSet = true;
  // Programs this process starts (a payload) must work on the same machine.
  if (g_explicitRoot.empty()) {
    unsetenv(kVolumeRootVariable);
  } else {
    setenv(kVolumeRootVariable, g_explicitRoot.c_str(), 1);
  }
}

const std::string& GetVolumeRoot() {
  if (g_rootSet) return g_explicitRoot;
  static std::string fromEnvironment;
  const char* value = std::getenv(kVolumeRootVariable);
  fromEnvironment = value != nullptr ? value : "";
  while (fromEnvironment.size() > 1 && fromEnvironment.back() == '/') fromEnvironment.pop_back();
  return fromEnvironment;
}

ResolvedPath ResolvePath(const std::string& windowsPath) {
  ResolvedPath resolved;
  std::string base;
  std::size_t position = 0;
  if (!windowsPath.empty() && windowsPath[0] == '/') {
    // A host path: backslashes in it separate components too (a host folder with a relative
    // Windows path appended), and ".." is left to the host, which knows its links.
    resolved.hostPathGiven = true;
    base = "/";
  } else if (windowsPath.size() >= 2 && windowsPath[1] == ':' &&
             std::isalpha(static_cast<unsigned char>(windowsPath[0]))) {
    resolved.prefix = windowsPath.substr(0, 2);
    position = 2;
    // Without a root, or without the drive's folder, the drive does not exist: nothing may be
    // created for it, and nothing may land in the host's own root folder.
    if (!GetVolumeRoot().empty()) base = DriveFolder(windowsPath[0]);
  } else if (!windowsPath.empty() && IsSeparator(windowsPath[0])) {
    // Rooted without a drive, or a network share: neither has a folder on this machine.
    resolved.prefix = windowsPath.substr(0, 1);
  } else {
    base = ".";
  }

  // "." and ".." are taken away before any lookup, as Windows does.
  std::vector<std::string> components;
  while (position < windowsPath.size()) {
    std::size_t end = position;
    while (end < windowsPath.size() && !IsSeparator(windowsPath[end])) ++end;
    const std::string component = windowsPath.substr(position, end - position);
    position = end + 1;
    if (component.empty() || component == ".") continue;
    if (component == ".." && !resolved.hostPathGiven && !components.empty() &&
        components.back() != "..") {
      components.pop_back();
    } else if (component != ".." || resolved.hostPathGiven || resolved.prefix.empty()) {
      components.push_back(component);
    }
  }

  if (base.empty()) {
    resolved.names = components;
    return resolved;
  }

  bool exists = Exists(base);
  std::string hostFolder = base == "/" ? "" : base;
  for (const std::string& component : components) {
    std::string name;
    if (exists) name = FindNameInFolder(hostFolder.empty() ? "/" : hostFolder, component);
    if (name.empty()) {
      exists = false;
      name = component;
    }
    resolved.names.push_back(name);
    hostFolder += "/" + name;
  }
  if (hostFolder.empty()) hostFolder = "/";

  resolved.exists = exists;
  resolved.host = base == "." && !resolved.names.empty() ? hostFolder.substr(2) : hostFolder;
  // A trailing separator asks for a folder, as on Windows: "file.txt\" does not exist.
  if (!windowsPath.empty() && IsSeparator(windowsPath.back()) && !resolved.names.empty()) {
    resolved.host += "/";
    if (exists) resolved.exists = Exists(resolved.host);
  }
  return resolved;
}

std::string FindNameInFolder(const std::string& hostFolder, const std::string& component) {
  if (component == "..") return component;
  const std::string folder = WithoutTrailingSlashes(hostFolder);
  if (g_walkDepth > 0) {
    auto cached = g_listings.find(folder);
    if (cached == g_listings.end()) {
      // One look at the exact name first: most names are written as they are stored.
      const std::string path = folder == "/" ? "/" + component : folder + "/" + component;
      if (Exists(path)) return component;
      cached = g_listings.emplace(folder, ReadListing(folder)).first;
    }
    return FindInListing(cached->second, component);
  }
  if (Exists(folder + "/" + component)) return component;
  return FindInListing(ReadListing(folder), component);
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
  if (g_walkDepth > 0) g_listings[WithoutTrailingSlashes(hostPath)] = FolderListing{};
}

void NoteEntryRemoved(const std::string& hostPath) {
  if (g_listings.empty()) return;
  std::string name;
  if (FolderListing* listing = ListingOfParent(hostPath, &name)) listing->Remove(name);
  const std::string path = WithoutTrailingSlashes(hostPath);
  g_listings.erase(path);
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string HostParentOf(const std::string& hostPath) {
  const std::string path = WithoutTrailingSlashes(hostPath);
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string ToHostPath(const std::string& windowsPath) {
  return ResolvePath(windowsPath).host;
}

std::string ToWindowsPath(const std::string& hostPath) {
  if (GetVolumeRoot().empty()) return "";
  const std::string root = CanonicalHostPath(GetVolumeRoot()) + "/";
  const std::string path = CanonicalHostPath(hostPath);
  if (path.compare(0, root.size(), root) != 0) return "";
  std::string rest = path.substr(root.size());
  if (rest.empty() || !std::isalpha(static_cast<unsigned char>(rest[0])) ||
      (rest.size() > 1 && rest[1] != '/')) {
    return "";
  }
  std::string windowsPath = std::string(1, Upper(rest[0])) + ":\\";
  if (rest.size() > 2) windowsPath += rest.substr(2);
  std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
  return windowsPath;
}

std::string ShortNameOf(const std::string& hostFolder, const std::string& name) {
  return AliasFromFolderNames(ReadFolderNames(hostFolder), name);
}

}  // namespace platform
