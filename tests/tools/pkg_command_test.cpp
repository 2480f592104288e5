#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/package_check.h"
#include "platform/file_system.h"
#include "platform/setup_api.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_folder.h"
#include "tools/vextool/commands.h"
#include "tools/vextool/vextool_sink.h"

namespace {

struct CommandResult {
  int status;
  std::string output;
  std::string errors;
};

CommandResult RunPkg(const CommandArguments& arguments) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  RecordingSink log;
  VextoolSink sink(log, 1);
  const int status = RunPkgCommand(arguments, sink);
  const std::string errors = testing::internal::GetCapturedStderr();
  return {status, testing::internal::GetCapturedStdout(), errors};
}

// The smallest ELF program: a 64-byte header whose section header table (one entry of 64 bytes)
// ends the file.
std::string BareElfProgram() {
  std::string image(128, '\0');
  image.replace(0, 5,
                "\x7F"
                "ELF\x02");
  image[0x28] = 64;  // section header table at 64
  image[0x3A] = 64;  // entries of 64 bytes
  image[0x3C] = 1;   // one entry
  return image;
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
    return BuildTo(payload, package_).status;
  }
  CommandResult BuildTo(const std::string& payload, const std::string& output) {
    return RunPkg({"build", "--setup", folder_.Path("setup.exe"), "--payload",
                   folder_.Path(payload), "-o", output});
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
  const CommandResult missing = BuildTo("missing.exe", package_);
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.errors.find("cannot read '" + folder_.Path("missing.exe") +
                                "': " + platform::SystemErrorText(platform::kErrorFileNotFound)),
            std::string::npos)
      << missing.errors;
  EXPECT_EQ(RunPkg({"verify"}).status, kUsageError);
  EXPECT_EQ(RunPkg({"build", "--setup", folder_.Path("setup.exe")}).status, kUsageError);
}

// Writing over an input would destroy it, or make a package of the setup program itself.
TEST_F(PkgCommandTest, AnOutputThatIsAnInputIsRefusedAndNothingIsLeftBehind) {
  for (const char* input : {"setup.exe", "payload.exe"}) {
    const CommandResult refused = BuildTo("payload.exe", folder_.Path(input));
    EXPECT_EQ(refused.status, 1) << input;
    EXPECT_NE(refused.errors.find("is the input"), std::string::npos) << refused.errors;
  }
  EXPECT_EQ(folder_.ReadFile("setup.exe"), kSetup);
  EXPECT_EQ(folder_.ReadFile("payload.exe"), kPayload);
  ASSERT_EQ(Build(), 0);
  ASSERT_EQ(Build(), 0);  // over an older package
  EXPECT_EQ(CheckPackageFile(package_).status, PackageStatus::Intact);
  std::vector<platform::DirectoryEntry> entries;
  ASSERT_TRUE(platform::ListDirectory(folder_.Path("*"), &entries));
  EXPECT_EQ(entries.size(), 3u);  // no temporary file of either build is left
  for (const platform::DirectoryEntry& entry : entries) {
    EXPECT_NE(entry.name.find(".exe"), std::string::npos) << entry.name;
  }
}

TEST_F(PkgCommandTest, VerifySaysWhatIsNoPackage) {
  folder_.WriteFile("short.exe", "shorter than a trailer");
  folder_.WriteFile("bare.exe", BareElfProgram());
  for (const char* file : {"short.exe", "bare.exe"}) {
    const CommandResult verify = RunPkg({"verify", folder_.Path(file)});
    EXPECT_EQ(verify.status, 1) << file;
    EXPECT_NE(verify.errors.find("is not a package"), std::string::npos) << verify.errors;
    EXPECT_EQ(verify.output, "") << file;
  }
}
