#include "platform/path_split.h"

#include <algorithm>

#include "platform/ascii_characters.h"

namespace platform {
namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

}  // namespace

std::size_t FindNextSeparator(const std::string& path, std::size_t from, LeadByteRule isLeadByte) {
  if (isLeadByte == nullptr) isLeadByte = IsSystemLeadByte;
  for (std::size_t i = from; i < path.size(); ++i) {
    if (isLeadByte(path[i])) {
      ++i;
    } else if (IsSeparator(path[i])) {
      return i;
    }
  }
  return std::string::npos;
}

std::size_t FindLastSeparator(const std::string& path, std::size_t end, LeadByteRule isLeadByte) {
  const std::size_t stop = end < path.size() ? end + 1 : path.size();
  std::size_t found = std::string::npos;
  // Read from the front: only there is it known which bytes are trail bytes.
  for (std::size_t at = FindNextSeparator(path, 0, isLeadByte); at < stop;
       at = FindNextSeparator(path, at + 1, isLeadByte)) {
    found = at;
  }
  return found;
}

bool EndsWithSeparator(const std::string& path, LeadByteRule isLeadByte) {
  return !path.empty() && FindLastSeparator(path, std::string::npos, isLeadByte) == path.size() - 1;
}

std::string WithTrailingSeparator(std::string path, LeadByteRule isLeadByte) {
  if (!path.empty() && !EndsWithSeparator(path, isLeadByte)) path += '\\';
  return path;
}

std::string WithoutTrailingSeparators(std::string path, std::size_t keep, LeadByteRule isLeadByte) {
  if (isLeadByte == nullptr) isLeadByte = IsSystemLeadByte;
  std::size_t end = 0;  // just past the last character that is no separator
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (isLeadByte(path[i])) {
      end = std::min(i + 2, path.size());
      ++i;
    } else if (!IsSeparator(path[i])) {
      end = i + 1;
    }
  }
  path.resize(std::max(end, std::min(keep, path.size())));
  return path;
}

std::string FileNameOf(const std::string& path, LeadByteRule isLeadByte) {
  const std::size_t separator = FindLastSeparator(path, std::string::npos, isLeadByte);
  if (separator != std::string::npos) return path.substr(separator + 1);
  const bool drive = path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
  return drive ? path.substr(2) : path;
}

}  // namespace platform
