#include "tests/support/staged_machine.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/ascii_characters.h"
#include "platform/posix/volume_map.h"
#include "platform/profile.h"

namespace fs = std::filesystem;

namespace {

StagedMachine* g_active = nullptr;

std::string MakeFreshHostFolder() {
  std::string pattern = (fs::temp_directory_path() / "setup-machine-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    ADD_FAILURE() << "cannot create a temporary folder";
    return "";
  }
  return pattern;
}

}  // namespace

StagedMachine::StagedMachine()
    : root_(MakeFreshHostFolder()),
      previousRoot_(platform::GetVolumeRoot()),
      previousActive_(g_active) {
  platform::SetVolumeRoot(root_);
  fs::create_directory(root_ + "/c");
  g_active = this;
}

StagedMachine::~StagedMachine() {
  g_active = previousActive_;
  platform::SetVolumeRoot(previousRoot_);
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

StagedMachine* StagedMachine::Active() {
  return g_active;
}

std::string StagedMachine::HostPath(const std::string& windowsPath) const {
  const std::string host = platform::ToHostPath(windowsPath);
  // A drive the machine lacks: where staging a file there puts its folder.
  if (host.empty() && windowsPath.size() >= 2 && windowsPath[1] == ':') {
    std::string rest = windowsPath.substr(2);
    for (char& c : rest) c = c == '\\' ? '/' : c;
    return root_ + "/" + platform::ToAsciiLower(windowsPath[0]) +
           (rest.empty() || rest[0] == '/' ? rest : "/" + rest);
  }
  return host;
}

void StagedMachine::WriteFile(const std::string& windowsPath, const std::string& bytes) const {
  const fs::path host = HostPath(windowsPath);
  fs::create_directories(host.parent_path());
  std::ofstream output(host, std::ios::binary | std::ios::trunc);
  output.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  EXPECT_TRUE(output.good()) << "cannot write " << windowsPath;
}

std::string StagedMachine::ReadFile(const std::string& windowsPath) const {
  std::ifstream input(HostPath(windowsPath), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>());
}

bool StagedMachine::Exists(const std::string& windowsPath) const {
  return fs::exists(HostPath(windowsPath));
}

void StagedMachine::MakeFolder(const std::string& windowsPath) const {
  fs::create_directories(HostPath(windowsPath));
}

void StagedMachine::AddDrive(char letter, const std::string& type) const {
  const char lower = platform::ToAsciiLower(letter);
  fs::create_directories(root_ + "/" + lower);
  if (!type.empty()) {
    const std::string key(1, platform::ToAsciiUpper(letter));
    platform::WriteProfileString("Drives", key, type, root_ + "/drives.ini");
  }
}
