#include <gtest/gtest.h>

#include <string>

#include "tests/support/staged_machine.h"
#include "tests/tools/vextool_run.h"

namespace {

// The engineer names the installation by its host folder, absolute and with `..` in it; the
// {@n} comments still come from its string file.
TEST(FmtDumpLanguageFolder, AbsoluteHostFolderWithDotDot) {
  StagedMachine machine;
  machine.WriteFile("C:\\Inst\\Lang\\Lang.ini", "[ActiveLang]\r\nActiveLang=eng\r\n");
  machine.WriteFile("C:\\Inst\\Lang\\eng\\Vexorand.string",
                    "[Attribute]\r\nMaxIndex=120\r\n\r\n[STRING]\r\n120=-f%04d\r\n");
  machine.WriteFile("C:\\Inst\\vexorand.fmt", "field CController { int a /*{@120}*/; };\n");
  machine.WriteFile("C:\\Inst\\a.bin", std::string(4, '\0'));
  machine.MakeFolder("C:\\Inst\\sub");
  const VextoolOutcome outcome =
      RunVextoolCaptured({"fmt", "dump", machine.HostPath("C:\\Inst\\vexorand.fmt"), "--block",
                          "CController", "--data", machine.HostPath("C:\\Inst\\a.bin"),
                          "--lang-dir", machine.HostPath("C:\\Inst") + "/sub/.."});
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.out, "[CController]\na = 0000\n") << outcome.err;
  EXPECT_EQ(outcome.err.find("does not exist"), std::string::npos) << outcome.err;
}

}  // namespace
