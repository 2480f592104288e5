// An installation of the control program staged on a StagedMachine: setup.cfg naming the folder
// Control, its format description and version, and configurations with binary parameter files.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "base/folder_tree.h"
#include "base/installation_paths.h"
#include "migration/parameter_file.h"
#include "migration/setup_config.h"
#include "tests/support/staged_machine.h"

// The controller block before the update: its layout and a filled instance.
inline const char kOldFormat[] =
    "field CController {\n"
    "  int m__df_beginCController;\n"
    "  int m_X;\n"
    "  double m_Speed;\n"
    "  int m_Arr[3];\n"
    "  int m_Old;\n"
    "  int m__df_endCController;\n"
    "};\n";

// After the update m_Old is gone, m_Arr has two elements and m_New is new.
inline const char kNewFormat[] =
    "field CController {\n"
    "  int m__df_beginCController;\n"
    "  int m_X;\n"
    "  double m_Speed;\n"
    "  int m_Arr[2];\n"
    "  int m_New;\n"
    "  int m__df_endCController;\n"
    "};\n";

// The bytes of an old block with m_X = x, m_Speed = 2.5, m_Arr = 1 2 3, m_Old = 4.
inline std::string OldControllerBlock(std::int32_t x) {
  std::string block(36, '\0');
  const double speed = 2.5;
  const std::int32_t values[] = {x, 1, 2, 3, 4};
  std::memcpy(&block[4], &values[0], 4);
  std::memcpy(&block[8], &speed, 8);
  std::memcpy(&block[16], &values[1], 16);
  return block;
}

// Each installation is read into the run of `sink` as the update reads setup.cfg.
class StagedInstallation {
 public:
  StagedInstallation(const StagedMachine& machine, IMessageSink& sink)
      : machine_(machine), sink_(sink) {}

  static std::string MakerFolder() {
    std::string folder;
    EXPECT_TRUE(FindMakerFolder(&folder));
    return folder;
  }
  std::string Folder() const { return MakerFolder() + "Control\\"; }
  std::string Config(const std::string& relative) const { return Folder() + "config\\" + relative; }

  void Install(const char* format, const char* version) const {
    machine_.WriteFile(MakerFolder() + "setup.cfg", "[SETTINGS]\r\nPATH=Control\\\r\n");
    machine_.WriteFile(Folder() + "vexorand.fmt", format);
    machine_.WriteFile(Folder() + "config\\config.ini",
                       std::string("[VERSION]\r\nVERSION=") + version + "\r\n");
    EXPECT_TRUE(ReadInstallationLayout(sink_));
  }
  // A binary parameter file whose CController section is `block`, behind another section.
  void AddParameterFile(const std::string& windowsPath, const std::string& block) const {
    machine_.WriteFile(windowsPath,
                       BuildParameterFile({{"CAxis", "axis data"}, {"CController", block}}));
  }
  // The old installation goes, as the update deletes it.
  void Remove() const { DeleteTree(sink_, MakerFolder() + "Control"); }

 private:
  const StagedMachine& machine_;
  IMessageSink& sink_;
};
