// The main of every test program. The runs of the test sinks log into a temporary folder of the
// program's own, removed at the end, so that no test leaves a log in the build tree; a test that
// reads the log sends its run's log elsewhere (LogCapture, ScopedLogDirectory).
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "tests/support/test_log_directory.h"

namespace {

class RunLogFolder {
 public:
  RunLogFolder() {
    std::error_code error;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(error);
    std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; !error && attempt < 100; ++attempt) {
      const std::filesystem::path candidate = temp / ("setup-test-log-" + std::to_string(random()));
      if (std::filesystem::create_directory(candidate, error)) {
        folder_ = candidate;
        return;
      }
    }
  }
  ~RunLogFolder() {
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }
  RunLogFolder(const RunLogFolder&) = delete;
  RunLogFolder& operator=(const RunLogFolder&) = delete;

  // With its trailing separator; empty (the working folder) when none could be made.
  std::string Directory() const { return folder_.empty() ? "" : (folder_ / "").string(); }

 private:
  std::filesystem::path folder_;
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Forked children never return here, so only the process that made the folder removes it.
  const RunLogFolder logFolder;
  SetTestLogDirectory(logFolder.Directory());
  return RUN_ALL_TESTS();
}
