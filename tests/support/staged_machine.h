// A whole machine staged in a fresh temporary folder (POSIX only). While it lives, the folder
// is the volume root: drive C exists (C:\ is <root>/c) and every platform function works on
// it; the previous root comes back when it is destroyed, with the folder deleted.
#pragma once

#include <string>

class StagedMachine {
 public:
  StagedMachine();
  ~StagedMachine();
  StagedMachine(const StagedMachine&) = delete;
  StagedMachine& operator=(const StagedMachine&) = delete;

  // The innermost machine alive, or nullptr.
  static StagedMachine* Active();

  // The host folder that is the root.
  const std::string& root() const { return root_; }
  // The host path a Windows path maps to.
  std::string HostPath(const std::string& windowsPath) const;

  // Writes the bytes by Windows path, creating missing folders (a missing drive too) with the
  // names as written.
  void WriteFile(const std::string& windowsPath, const std::string& bytes) const;
  // The file's bytes, "" when it is missing.
  std::string ReadFile(const std::string& windowsPath) const;
  bool Exists(const std::string& windowsPath) const;
  // Creates the folder and its missing parents.
  void MakeFolder(const std::string& windowsPath) const;
  // Makes the drive's folder and records its type in drives.ini ("fixed", "removable",
  // "remote", "cdrom", "ramdisk"; "" records nothing, which counts as fixed).
  void AddDrive(char letter, const std::string& type = "") const;

 private:
  std::string root_;
  std::string previousRoot_;
  StagedMachine* previousActive_;
};
