#include "platform/payload_file.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/file_system.h"
#include "platform/process.h"
#include "tests/app/test_payload.h"
#include "tests/support/temp_folder.h"

// Between sealing and starting nobody may change, delete or rename the program.
TEST(PayloadFileTest, SealedFileCannotBeChangedUntilStarted) {
  TempFolder folder;
  const std::string program = MakeTestPayload(folder.Path("marker.txt"), 0);
  platform::PayloadFile file;
  ASSERT_TRUE(file.Create(folder.path(), "sep"));
  ASSERT_TRUE(file.Write(program.data(), program.size()));

  // Not even readable while it is being written.
  EXPECT_EQ(CreateFileA(file.Path().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  ASSERT_TRUE(file.Seal());

  const HANDLE writer =
      CreateFileA(file.Path().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
  EXPECT_FALSE(DeleteFileA(file.Path().c_str()));
  EXPECT_FALSE(MoveFileA(file.Path().c_str(), folder.Path("moved.exe").c_str()));

  platform::ProcessHandles handles;
  ASSERT_TRUE(file.Start(&handles));
  EXPECT_EQ(platform::WaitForProcess(handles, 10000), platform::WaitResult::kEnded);
  platform::CloseProcessHandles(&handles);
  EXPECT_EQ(folder.ReadFile("marker.txt"), "ran");
  EXPECT_TRUE(platform::RemoveFile(file.Path()));
}
