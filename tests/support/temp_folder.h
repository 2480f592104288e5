// A fresh empty folder for one test, removed with everything in it at the end. Its path is in
// Windows form with a trailing backslash and works with every platform function on both
// systems: on Windows a real folder below the temporary directory, on POSIX a folder in the
// active StagedMachine (or in a machine of its own when none is active).
#pragma once

#include <memory>
#include <string>

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, ending in a backslash.
  const std::string& path() const { return path_; }
  // path() + relative.
  std::string Path(const std::string& relative) const { return path_ + relative; }

  void WriteFile(const std::string& relative, const std::string& bytes) const;
  std::string ReadFile(const std::string& relative) const;

 private:
  std::shared_ptr<void> keepAlive_;
  std::string path_;
};
