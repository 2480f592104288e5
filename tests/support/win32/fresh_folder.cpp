#include "tests/support/fresh_folder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/file_system.h"
#include "platform/special_folders.h"

std::string CreateFreshFolder(std::shared_ptr<void>*) {
  static std::mt19937 random{std::random_device{}()};
  const std::string temp = platform::GetTempFolder();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string path = temp + "setup-test-" + std::to_string(random()) + "\\";
    if (platform::MakeDirectory(path)) return path;
  }
  ADD_FAILURE() << "cannot create a folder in " << temp;
  return temp;
}
