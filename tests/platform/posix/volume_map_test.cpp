#include "platform/posix/volume_map.h"

#include <gtest/gtest.h>

#include "platform/drives.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/named_mutex.h"
#include "platform/shell_copy.h"
#include "tests/support/staged_machine.h"

namespace {

TEST(VolumeMapTest, ResolvesEachComponentWithoutRegardToCase) {
  StagedMachine machine;
  machine.WriteFile("C:\\Program Files\\Pelmo\\Control\\Setup.CFG", "x");
  const std::string expected = machine.root() + "/c/Program Files/Pelmo/Control/Setup.CFG";
  EXPECT_EQ(platform::ToHostPath("c:\\PROGRAM FILES\\pelmo\\CONTROL\\setup.cfg"), expected);
  EXPECT_EQ(platform::ToHostPath("C:/program files//Pelmo\\.\\Control\\x\\..\\setup.cfg"),
            expected);
  // Missing components keep their spelling; existing ones before them still resolve.
  EXPECT_EQ(platform::ToHostPath("C:\\program files\\New\\File.TXT"),
            machine.root() + "/c/Program Files/New/File.TXT");
}

// Windows fails all three, so a backup to a drive the machine lacks must not report success.
TEST(VolumeMapTest, PathsOnNoDriveOfTheMachineNameNothing) {
  StagedMachine machine;
  machine.WriteFile("C:\\Src\\f.txt", "f");
  for (const std::string path : {"Q:\\x", "\\x", "\\\\server\\share\\x"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(platform::ToHostPath(path), "");
    EXPECT_FALSE(platform::MakeDirectory(path));
    EXPECT_FALSE(platform::CopyOneFile("C:\\Src\\f.txt", path, false));
    EXPECT_FALSE(platform::ShellCopy("C:\\Src\\*.*", path + "\\Backup\\"));
    platform::File file;
    EXPECT_FALSE(file.Open(path, platform::File::Mode::kCreate));
  }
  EXPECT_FALSE(platform::MakeDirectory("Q:"));
  EXPECT_EQ(platform::GetLogicalDriveMask(), 1u << ('c' - 'a'));
}

// A host folder given on a command line gets Windows-form names appended to it.
TEST(VolumeMapTest, HostPathsTakeBackslashesAndParentFolders) {
  StagedMachine machine;
  machine.WriteFile("C:\\Demo\\Lang\\Vexorand.string", "s");
  const std::string folder = machine.root() + "/c/Demo";
  const std::string expected = folder + "/Lang/Vexorand.string";
  EXPECT_EQ(platform::ToHostPath(folder + "\\Lang\\Vexorand.string"), expected);
  EXPECT_EQ(platform::ToHostPath(folder + "/lang\\VEXORAND.STRING"), expected);
  EXPECT_TRUE(platform::PathExists(folder + "/Lang/..\\Lang\\vexorand.string"));
  EXPECT_TRUE(platform::IsDirectory(folder + "\\Lang\\"));
  platform::File file;
  EXPECT_TRUE(file.Open(folder + "\\Lang\\Vexorand.string", platform::File::Mode::kRead));
}

TEST(VolumeMapTest, ShortAliasesFollowNameOrderWithinAStem) {
  StagedMachine machine;
  machine.MakeFolder("C:\\Program Files");
  machine.MakeFolder("C:\\Program Files (x86)");
  machine.MakeFolder("C:\\Programs");
  machine.WriteFile("C:\\Program Files\\long name.text", "");
  machine.WriteFile("C:\\Program Files\\a+b.c.d", "");

  EXPECT_EQ(platform::GetShortPathForm("C:\\Program Files"), "C:\\PROGRA~1");
  EXPECT_EQ(platform::GetShortPathForm("c:\\program files (X86)\\"), "c:\\PROGRA~2\\");
  // A valid short name is its own alias, case kept.
  EXPECT_EQ(platform::GetShortPathForm("C:\\programs"), "C:\\Programs");
  EXPECT_EQ(platform::GetShortPathForm("C:\\Program Files\\long name.text"),
            "C:\\PROGRA~1\\LONGNA~1.TEX");
  EXPECT_EQ(platform::GetShortPathForm("C:\\Program Files\\a+b.c.d"), "C:\\PROGRA~1\\A_BC~1.D");

  EXPECT_EQ(platform::ToHostPath("C:\\progra~2"), machine.root() + "/c/Program Files (x86)");
  EXPECT_EQ(platform::GetLongPathForm("C:\\PROGRA~1\\LONGNA~1.TEX"),
            "C:\\Program Files\\long name.text");
  EXPECT_TRUE(platform::IsDirectory("C:\\PROGRA~1\\"));
  EXPECT_EQ(platform::GetShortPathForm("C:\\Missing\\x"), "");
  EXPECT_EQ(platform::GetLongPathForm("C:\\PROGRA~3"), "");
}

TEST(VolumeMapTest, HostPathsBelowTheRootMapBackToWindowsForm) {
  StagedMachine machine;
  machine.WriteFile("E:\\Dir\\f.bin", "");
  EXPECT_EQ(platform::ToWindowsPath(machine.root() + "/e/Dir/f.bin"), "E:\\Dir\\f.bin");
  EXPECT_EQ(platform::ToWindowsPath(machine.root() + "/e"), "E:\\");
  EXPECT_EQ(platform::ToWindowsPath("/usr/bin"), "");
  // A host path is taken as it is.
  EXPECT_EQ(platform::ToHostPath("/usr/bin"), "/usr/bin");
}

TEST(VolumeMapTest, WithoutARootNoDriveExists) {
  StagedMachine machine;
  platform::SetVolumeRoot("");
  EXPECT_EQ(platform::ToHostPath("C:\\Windows"), "");
  EXPECT_FALSE(platform::PathExists("C:\\"));
  EXPECT_FALSE(platform::MakeDirectory("C:\\Temp"));
  EXPECT_EQ(platform::GetLogicalDriveMask(), 0u);
  bool existed = false;
  EXPECT_FALSE(platform::CreateNamedMutex("m", &existed).IsValid());
}

TEST(VolumeMapTest, MachinesNestAndRestoreTheRoot) {
  StagedMachine outer;
  {
    StagedMachine inner;
    EXPECT_EQ(platform::GetVolumeRoot(), inner.root());
  }
  EXPECT_EQ(platform::GetVolumeRoot(), outer.root());
}

}  // namespace
