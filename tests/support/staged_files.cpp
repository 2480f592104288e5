#include "tests/support/staged_files.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/file.h"
#include "platform/file_system.h"

void MakeStagedFolders(const std::string& windowsPath) {
  std::string path = windowsPath;
  while (!path.empty() && path.back() == '\\') path.pop_back();
  for (std::size_t slash = path.find('\\'); slash != std::string::npos;
       slash = path.find('\\', slash + 1)) {
    const std::string prefix = path.substr(0, slash);
    if (prefix.size() > 2 && !platform::IsDirectory(prefix)) platform::MakeDirectory(prefix);
  }
  if (!platform::IsDirectory(path)) {
    EXPECT_TRUE(platform::MakeDirectory(path)) << "cannot create " << path;
  }
}

void WriteStagedFile(const std::string& windowsPath, const std::string& bytes) {
  const std::size_t slash = windowsPath.rfind('\\');
  if (slash != std::string::npos) MakeStagedFolders(windowsPath.substr(0, slash));
  platform::File file;
  ASSERT_TRUE(file.Open(windowsPath, platform::File::Mode::kCreate))
      << "cannot write " << windowsPath;
  ASSERT_TRUE(file.Write(bytes.data(), bytes.size()));
}

std::string ReadStagedFile(const std::string& windowsPath) {
  platform::File file;
  if (!file.Open(windowsPath, platform::File::Mode::kReadShared)) {
    ADD_FAILURE() << "cannot read " << windowsPath;
    return "";
  }
  std::string bytes;
  char buffer[4096];
  while (const std::size_t got = file.Read(buffer, sizeof buffer)) bytes.append(buffer, got);
  return bytes;
}

void RemoveStagedTree(const std::string& windowsPath) {
  std::string folder = windowsPath;
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  std::vector<platform::DirectoryEntry> entries;
  platform::ListDirectory(folder + "\\*", &entries);
  for (const platform::DirectoryEntry& entry : entries) {
    const std::string path = folder + "\\" + entry.name;
    platform::SetAttributes(path, platform::kAttributeNormal);
    if (entry.IsDirectory()) {
      RemoveStagedTree(path);
    } else {
      platform::RemoveFile(path);
    }
  }
  platform::RemoveEmptyDirectory(folder);
}

std::vector<std::string> ListStagedNames(const std::string& pattern) {
  std::vector<platform::DirectoryEntry> entries;
  platform::ListDirectory(pattern, &entries);
  std::vector<std::string> names;
  for (const platform::DirectoryEntry& entry : entries) names.push_back(entry.name);
  return names;
}
