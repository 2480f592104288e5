#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "migration/crc32.h"
#include "migration/parameter_file.h"
#include "migration/parameter_store.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_folder.h"
#include "tools/vextool/commands.h"
#include "tools/vextool/vextool_sink.h"

namespace {

struct CommandResult {
  int status;
  std::string output;
};

void StoreLittleEndian32(std::string* bytes, std::size_t offset, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    (*bytes)[offset++] = static_cast<char>((value >> shift) & 0xFF);
  }
}

const std::string kAxis = "axis data";
const std::string kController("\x05\x00\x00\x00\xFF\x7F\x00\x00", 8);

class DatCommandTest : public testing::Test {
 protected:
  // A file of two sections, built the way tests and the demo stage machines.
  std::string Build() {
    folder_.WriteFile("axis.bin", kAxis);
    folder_.WriteFile("controller.bin", kController);
    const std::string dat = folder_.Path("vexorand.dat");
    EXPECT_EQ(RunDat({"build", "-o", dat, "CAxis=" + folder_.Path("axis.bin"),
                      "CController=" + folder_.Path("controller.bin")})
                  .status,
              0);
    return dat;
  }

  CommandResult RunDat(const CommandArguments& arguments) {
    testing::internal::CaptureStdout();
    const int status = RunDatCommand(arguments, sink_);
    return {status, testing::internal::GetCapturedStdout()};
  }

  TempFolder folder_;
  RecordingSink log_;
  VextoolSink sink_{log_, 1};
};

TEST_F(DatCommandTest, BuiltFilesAreListedVerifiedAndGiveTheirSectionsBack) {
  const std::string dat = Build();
  // The setup program itself accepts what the tool writes.
  EXPECT_TRUE(IsParameterFileGood(dat));

  const CommandResult verify = RunDat({"verify", dat});
  EXPECT_EQ(verify.status, 0);
  EXPECT_EQ(verify.output, dat + ": good\n");

  const CommandResult list = RunDat({"list", dat});
  EXPECT_EQ(list.status, 0);
  EXPECT_NE(list.output.find("magic:    FFLC\n"), std::string::npos) << list.output;
  EXPECT_NE(list.output.find(", holds\n"), std::string::npos) << list.output;
  EXPECT_NE(list.output.find("0x00000008  CAxis"), std::string::npos) << list.output;
  EXPECT_NE(list.output.find("0x00000051  CController"), std::string::npos) << list.output;
  EXPECT_EQ(list.output.find("chain:"), std::string::npos) << list.output;

  // Names match on four characters, as the control program matches them.
  for (const char* name : {"CController", "CCon"}) {
    const std::string out = folder_.Path(std::string(name) + ".out");
    EXPECT_EQ(RunDat({"extract", dat, name, "-o", out}).status, 0) << name;
    EXPECT_EQ(folder_.ReadFile(std::string(name) + ".out"), kController) << name;
  }
  EXPECT_EQ(RunDat({"extract", dat, "CAxis", "-o", folder_.Path("axis.out")}).status, 0);
  EXPECT_EQ(folder_.ReadFile("axis.out"), kAxis);
  EXPECT_EQ(RunDat({"extract", dat, "CSpindle", "-o", folder_.Path("none.out")}).status, 1);
}

TEST_F(DatCommandTest, VerifyFailsOnEveryKindOfDamageAndSaysWhy) {
  const std::string good = BuildParameterFile({{"CAxis", kAxis}, {"CController", kController}});
  struct Case {
    const char* name;
    std::string bytes;
    const char* reason;
  };
  std::vector<Case> cases;
  std::string changedByte = good;
  changedByte.back() ^= 1;
  cases.push_back({"changed.dat", changedByte, "checksum does not hold"});
  std::string wrongMagic = good;
  wrongMagic[0] = 'X';
  cases.push_back({"magic.dat", wrongMagic, "wrong file magic"});
  // A valid checksum over a chain that points past the end of the file.
  std::string broken = good;
  StoreLittleEndian32(&broken, 8 + 16, 0x7FFFFFFF);
  StoreLittleEndian32(&broken, 4, ComputeCrc32(broken.data() + 8, broken.size() - 8));
  cases.push_back({"chain.dat", broken, "section chain broken"});
  cases.push_back({"short.dat", "FFLC", "shorter than its 8-byte header"});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    folder_.WriteFile(c.name, c.bytes);
    const CommandResult verify = RunDat({"verify", folder_.Path(c.name)});
    EXPECT_EQ(verify.status, 1);
    EXPECT_NE(verify.output.find(c.reason), std::string::npos) << verify.output;
    EXPECT_EQ(verify.output.find("good"), std::string::npos) << verify.output;
  }
  EXPECT_EQ(RunDat({"verify", folder_.Path("missing.dat")}).status, 1);
}

TEST_F(DatCommandTest, DumpBindsTheControllerSectionToItsBlockFormat) {
  const std::string dat = Build();
  folder_.WriteFile("vexorand.fmt", "field CController { int m_X; int m_Y; };\n");
  const CommandResult dump = RunDat({"dump", dat, "--fmt", folder_.Path("vexorand.fmt")});
  EXPECT_EQ(dump.status, 0);
  EXPECT_NE(dump.output.find("[CController]"), std::string::npos) << dump.output;
  EXPECT_NE(dump.output.find("m_X = 5"), std::string::npos) << dump.output;
  EXPECT_NE(dump.output.find("m_Y = 32767"), std::string::npos) << dump.output;

  // A block whose size differs from the section's is refused.
  folder_.WriteFile("other.fmt", "field CController { int m_X; };\n");
  EXPECT_EQ(RunDat({"dump", dat, "--fmt", folder_.Path("other.fmt")}).status, 1);
  ASSERT_FALSE(log_.entries().empty());
  EXPECT_NE(log_.entries().back().find("is not equal to the value(4 bytes)"), std::string::npos);
}

}  // namespace
