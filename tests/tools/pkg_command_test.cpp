#include <gtest/gtest.h>

#include <string>

#include "app/package_check.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_folder.h"
#include "tools/vextool/commands.h"
#include "tools/vextool/vextool_sink.h"

namespace {

struct CommandResult {
  int status;
  std::string output;
};

CommandResult RunPkg(const CommandArguments& arguments) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  RecordingSink log;
  VextoolSink sink(log, 1);
  const int status = RunPkgCommand(arguments, sink);
  testing::internal::GetCapturedStderr();
  return {status, testing::internal::GetCapturedStdout()};
}

const std::string kSetup = "MZ setup program image";
const std::string kPayload = "the installer";

class PkgCommandTest : public testing::Test {
 protected:
  PkgCommandTest() {
    folder_.WriteFile("setup.exe", kSetup);
    folder_.WriteFile("payload.exe", kPayload);
  }

  int Build(const std::string& payload = "payload.exe") {
    return RunPkg({"build", "--setup", folder_.Path("setup.exe"), "--payload",
                   folder_.Path(payload), "-o", package_})
        .status;
  }

  TempFolder folder_;
  const std::string package_ = folder_.Path("package.exe");
};

}  // namespace

// What the tool builds, the setup program accepts, and the tool gives the payload back.
TEST_F(PkgCommandTest, BuiltPackageVerifiesAndGivesItsPayloadBack) {
  ASSERT_EQ(Build(), 0);
  const PackageCheck check = CheckPackageFile(package_);
  ASSERT_EQ(check.status, PackageStatus::Intact);
  EXPECT_EQ(folder_.ReadFile("package.exe").substr(0, kSetup.size() + kPayload.size()),
            kSetup + kPayload);

  const CommandResult verify = RunPkg({"verify", package_});
  EXPECT_EQ(verify.status, 0);
  EXPECT_NE(verify.output.find("payload offset: " + std::to_string(kSetup.size()) + "\n"),
            std::string::npos)
      << verify.output;
  EXPECT_NE(verify.output.find("payload length: " + std::to_string(kPayload.size()) + "\n"),
            std::string::npos)
      << verify.output;
  EXPECT_NE(verify.output.find("digest: matches\n"), std::string::npos) << verify.output;

  EXPECT_EQ(RunPkg({"extract", package_, "-o", folder_.Path("out.exe")}).status, 0);
  EXPECT_EQ(folder_.ReadFile("out.exe"), kPayload);
}

// The signature printed is the one the setup program would show for the damaged package.
TEST_F(PkgCommandTest, DamagedPackageFailsVerifyAndExtract) {
  ASSERT_EQ(Build(), 0);
  std::string bytes = folder_.ReadFile("package.exe");
  bytes[kSetup.size() + 1] ^= 0x01;
  folder_.WriteFile("package.exe", bytes);
  const PackageCheck check = CheckPackageFile(package_);
  ASSERT_EQ(check.status, PackageStatus::SignatureMismatch);

  const CommandResult verify = RunPkg({"verify", package_});
  EXPECT_EQ(verify.status, 1);
  EXPECT_NE(verify.output.find("signature: " + check.signature + "\n"), std::string::npos)
      << verify.output;
  EXPECT_NE(verify.output.find("digest: does not match\n"), std::string::npos) << verify.output;
  EXPECT_EQ(RunPkg({"extract", package_, "-o", folder_.Path("out.exe")}).status, 1);
}

TEST_F(PkgCommandTest, RefusesWhatCannotMakeOrBeAPackage) {
  folder_.WriteFile("empty.exe", "");
  EXPECT_EQ(Build("empty.exe"), 1);
  EXPECT_EQ(Build("missing.exe"), 1);
  folder_.WriteFile("short.exe", "shorter than a trailer");
  EXPECT_EQ(RunPkg({"verify", folder_.Path("short.exe")}).status, 2);
  EXPECT_EQ(RunPkg({"verify"}).status, kUsageError);
  EXPECT_EQ(RunPkg({"build", "--setup", folder_.Path("setup.exe")}).status, kUsageError);
}
