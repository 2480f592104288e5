#include <gtest/gtest.h>

#include "app/compact_flash.h"
#include "base/setup_run.h"
#include "tests/support/staged_machine.h"

namespace {

TEST(CompactFlashProbe, FirstDriveFromDToZHoldingTheMarkerFile) {
  StagedMachine machine;
  EXPECT_EQ(FindCompactFlashDrive(), '\0');
  machine.WriteFile("C:\\cfinfo.sys", "");  // C is never probed
  machine.AddDrive('e', "removable");
  machine.WriteFile("E:\\Sub\\cfinfo.sys", "");  // only the root counts
  machine.WriteFile("G:\\CFINFO.SYS", "");
  EXPECT_EQ(FindCompactFlashDrive(), 'G');
  machine.WriteFile("F:\\cfinfo.sys", "");
  EXPECT_EQ(FindCompactFlashDrive(), 'F');
}

TEST(CompactFlashProbe, ResolveProbesOncePerRun) {
  StagedMachine machine;
  machine.WriteFile("F:\\cfinfo.sys", "");
  SetupRun run;
  std::string path = "CFCard:\\Backup\\";
  EXPECT_TRUE(ResolveCompactFlash(run, &path));
  EXPECT_EQ(path, "F:\\Backup\\");
  // A card that appears later is not seen: the first answer stays for the run.
  machine.WriteFile("D:\\cfinfo.sys", "");
  path = "CFCard:\\Other\\";
  EXPECT_TRUE(ResolveCompactFlash(run, &path));
  EXPECT_EQ(path, "F:\\Other\\");
  // A new run probes again.
  SetupRun next;
  path = "CFCard:\\Other\\";
  EXPECT_TRUE(ResolveCompactFlash(next, &path));
  EXPECT_EQ(path, "D:\\Other\\");
}

}  // namespace
