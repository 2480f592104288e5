#include "platform/posix/short_names.h"

#include <algorithm>
#include <cstring>

#include "platform/ascii_characters.h"
#include "platform/posix/host_calls.h"
#include "platform/posix/last_error.h"
#include "platform/posix/volume_map.h"

namespace platform {
namespace {

bool IsShortNameCharacter(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x80 || IsAsciiLetter(c) || IsAsciiDigit(c) ||
         std::strchr("!#$%&'()-@^_`{}~", c) != nullptr;
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
    result += IsShortNameCharacter(c) ? ToAsciiUpper(c) : '_';
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

}  // namespace

std::string AliasAmong(const std::vector<std::string>& names, const std::string& name) {
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

bool ShortNameOf(const std::string& hostFolder, const std::string& name, std::string* alias) {
  std::vector<std::string> names;
  if (!ReadFolderNames(hostFolder, &names)) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  std::sort(names.begin(), names.end());
  *alias = AliasAmong(names, name);
  return true;
}

}  // namespace platform
