// The Win32 services the update calls, run against the system itself.
#include <gtest/gtest.h>
#include <windows.h>
// windows.h maps this name onto the system's own function, which profile.h declares anew.
#undef WriteProfileString

#include <chrono>
#include <set>

#include "platform/drives.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/named_mutex.h"
#include "platform/process.h"
#include "platform/profile.h"
#include "platform/setup_api.h"
#include "platform/special_folders.h"
#include "platform/system_actions.h"
#include "platform/tree_flush.h"
#include "tests/platform/win32/host_path.h"
#include "tests/support/mutex_holder.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(Win32NamedMutexTest, ReportsAnotherHolderUntilItLetsGo) {
  const std::string name = "setup_test_mutex_" + std::to_string(GetCurrentProcessId());
  MutexHolder holder(name);
  bool existed = false;
  platform::MutexHandle handle = platform::CreateNamedMutex(name, &existed);
  EXPECT_TRUE(handle.IsValid());
  EXPECT_TRUE(existed);
  platform::CloseNamedMutex(&handle);
  holder.Release();
  handle = platform::CreateNamedMutex(name, &existed);
  EXPECT_FALSE(existed);
  platform::CloseNamedMutex(&handle);
}

class Win32ProcessTest : public testing::Test {
 protected:
  // A copy of the sleeper under a temporary name, as a payload is started.
  std::string StageSleeper(const TempFolder& folder, const char* milliseconds) {
    SetEnvironmentVariableA("SETUP_TEST_SLEEP_MS", milliseconds);
    const std::string program = platform::CreateTempFileName(folder.path(), "sep");
    EXPECT_TRUE(platform::CopyOneFile(FromBuildPath(SLEEPER_PROGRAM), program, false));
    return program;
  }
  void TearDown() override { SetEnvironmentVariableA("SETUP_TEST_SLEEP_MS", nullptr); }
};

TEST_F(Win32ProcessTest, StartsWaitsAndTimesOut) {
  TempFolder folder;
  const std::string program = StageSleeper(folder, "600");
  platform::ProcessHandles handles;
  ASSERT_TRUE(platform::StartProcess(program, &handles));
  EXPECT_EQ(platform::WaitForProcess(handles, 50), platform::WaitResult::kTimedOut);
  EXPECT_EQ(platform::WaitForProcess(handles, 20000), platform::WaitResult::kEnded);
  EXPECT_EQ(platform::WaitForProcess(handles, 0), platform::WaitResult::kEnded);
  platform::CloseProcessHandles(&handles);
  EXPECT_EQ(handles.process, 0);
  EXPECT_TRUE(platform::RemoveFile(program));
  EXPECT_FALSE(platform::StartProcess(folder.Path("missing.exe"), &handles));
}

TEST_F(Win32ProcessTest, TempFileNamesAndTheProgramsOwnPath) {
  TempFolder folder;
  std::set<std::string> names;
  for (int i = 0; i < 5; ++i) {
    const std::string name = platform::CreateTempFileName(folder.path(), "sep");
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(name.compare(0, folder.path().size() + 3, folder.path() + "sep"), 0) << name;
    // "sep", up to four hexadecimal digits (fewer when the system's counter is small), ".tmp".
    const std::string unique = name.substr(folder.path().size() + 3);
    EXPECT_GE(unique.size(), 5u) << name;
    EXPECT_LE(unique.size(), 8u) << name;
    EXPECT_EQ(unique.find_first_not_of("0123456789abcdefABCDEF"), unique.size() - 4) << name;
    EXPECT_EQ(unique.substr(unique.size() - 4), ".tmp") << name;
    EXPECT_TRUE(platform::PathExists(name));
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 5u);
  const std::string self = platform::GetExecutablePath();
  EXPECT_TRUE(platform::PathExists(self)) << self;
}

TEST(Win32SystemTest, FoldersDrivesVersionAndErrorTexts) {
  EXPECT_FALSE(platform::GetSpecialFolder(platform::SpecialFolder::kProgramFiles, true).empty());
  EXPECT_TRUE(
      platform::IsDirectory(platform::GetSpecialFolder(platform::SpecialFolder::kSystem, false)));
  const std::string temp = platform::GetTempFolder();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');

  EXPECT_NE(platform::GetLogicalDriveMask() & (1u << 2), 0u);
  EXPECT_EQ(platform::GetDriveKind("C:"), platform::DriveType::kFixed);
  EXPECT_EQ(platform::GetDriveKind("C:\\"), platform::DriveType::kFixed);

  std::uint32_t id = 0;
  ASSERT_TRUE(platform::QueryPlatformId(&id));
  EXPECT_EQ(id, 2u);
  // The wording is the system's own; it comes without the line break the system ends it with.
  const std::string text = platform::SystemErrorText(2);
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.back(), '\n');
}

// Where the volume cannot be flushed (without administrator rights, or under wine), the tree is
// flushed file by file and folder by folder: a read-only file keeps its attribute, and a file
// that cannot be opened for it fails the flush.
TEST(Win32TreeFlushTest, FlushesEachFileWhereTheVolumeRefuses) {
  TempFolder folder;
  folder.WriteFile("backup\\sub\\a.dat", "a");
  folder.WriteFile("backup\\b.dat", "b");
  const std::string readOnly = folder.Path("backup\\b.dat");
  ASSERT_TRUE(platform::SetAttributes(readOnly, platform::kAttributeReadOnly));
  EXPECT_TRUE(platform::FlushTree(folder.Path("backup\\")));
  EXPECT_NE(platform::GetAttributes(readOnly) & platform::kAttributeReadOnly, 0u);
  ASSERT_TRUE(platform::SetAttributes(readOnly, platform::kAttributeNormal));

  platform::File held;
  ASSERT_TRUE(held.Open(folder.Path("backup\\sub\\a.dat"), platform::File::Mode::kRead));
  if (platform::FlushTree(folder.Path("backup"))) GTEST_SKIP() << "the volume was flushed whole";
  EXPECT_EQ(platform::LastErrorCode(), static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
}

// The writer that replaces the file at once takes a name without a folder as the system's
// writer does: the Windows folder's file, not one in the current folder.
TEST(Win32ProfileTest, BothWritersPutABareNameInTheWindowsFolder) {
  using Writer =
      bool (*)(const std::string&, const std::string&, const std::string&, const std::string&);
  const std::string name = "setup_test_" + std::to_string(GetCurrentProcessId()) + ".ini";
  const std::string inWindows =
      platform::GetSpecialFolder(platform::SpecialFolder::kWindows, false) + "\\" + name;
  for (const Writer write :
       {&platform::WriteProfileString, &platform::WriteProfileStringAtomically}) {
    ASSERT_TRUE(write("ActiveLang", "ActiveLang", "rus", name));
    ASSERT_TRUE(write("ActiveLang", "Other", "1", name));
    EXPECT_EQ(platform::ReadProfileString("ActiveLang", "ActiveLang", "", inWindows), "rus");
    EXPECT_EQ(platform::ReadProfileString("ActiveLang", "Other", "", name), "1");
    EXPECT_FALSE(platform::PathExists(name));
    EXPECT_FALSE(platform::PathExists(inWindows + ".tmp"));
    EXPECT_TRUE(platform::RemoveFile(inWindows));
  }
}

TEST(Win32SetupApiTest, InstallsADriverFileIntoAFolder) {
  TempFolder folder;
  folder.WriteFile("card.sys", "driver");
  platform::MakeDirectory(folder.Path("drivers"));
  EXPECT_TRUE(platform::InstallFile(folder.Path("card.sys"), folder.Path("drivers\\")));
  EXPECT_EQ(folder.ReadFile("drivers\\card.sys"), "driver");
  EXPECT_FALSE(platform::InstallFile(folder.Path("none.sys"), folder.Path("drivers\\")));
}

TEST(Win32SetupApiTest, RegistersAnInformationFile) {
  TempFolder folder;
  folder.WriteFile("card.inf",
                   "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=System\r\n"
                   "ClassGuid={4D36E97D-E325-11CE-BFC1-08002BE10318}\r\nProvider=Test\r\n"
                   "DriverVer=01/01/2024,1.0.0.0\r\n");
  if (!platform::RegisterInformationFile(folder.Path("card.inf"))) {
    GTEST_SKIP() << "the system refused to register the file: "
                 << platform::SystemErrorText(platform::LastErrorCode());
  }
  EXPECT_FALSE(platform::RegisterInformationFile(folder.Path("none.inf")));
}

}  // namespace
