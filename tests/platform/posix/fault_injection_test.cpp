// The test builds' fault plan: the N-th file operation fails with the planned error.
#include "platform/posix/fault_injection.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/file.h"
#include "platform/file_system.h"
#include "tests/support/temp_folder.h"

#ifdef SETUP_FAULT_INJECTION

namespace {

TEST(FaultInjectionTest, TheChosenOperationFailsWithTheChosenError) {
  TempFolder folder;
  folder.WriteFile("a.txt", "old");
  platform::File file;
  platform::ArmFault(1, ENOSPC, platform::FileOperation::kWrite);
  ASSERT_TRUE(file.Open(folder.Path("b.txt"), platform::File::Mode::kCreate));
  EXPECT_FALSE(file.Write("new", 3));
  EXPECT_TRUE(platform::FaultInjected());
  EXPECT_EQ(platform::LastErrorCode(), 112u);  // disk full
  EXPECT_TRUE(file.Write("new", 3));
  file.Close();

  platform::ArmFault(1, EIO, platform::FileOperation::kRename);
  EXPECT_FALSE(platform::ReplaceFileAtomically(folder.Path("b.txt"), folder.Path("a.txt")));
  EXPECT_EQ(folder.ReadFile("a.txt"), "old");
  platform::DisarmFaults();
  EXPECT_TRUE(platform::ReplaceFileAtomically(folder.Path("b.txt"), folder.Path("a.txt")));
  EXPECT_EQ(folder.ReadFile("a.txt"), "new");
  EXPECT_GE(platform::CountedFileOperations(), 2u);  // the rename and its fsync
  EXPECT_FALSE(platform::FaultInjected());
}

}  // namespace

#endif
