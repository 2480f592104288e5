#include "tests/support/test_log_directory.h"

namespace {

std::string& Directory() {
  static std::string directory;
  return directory;
}

}  // namespace

void SetTestLogDirectory(const std::string& directory) {
  Directory() = directory;
}

const std::string& TestLogDirectory() {
  return Directory();
}
