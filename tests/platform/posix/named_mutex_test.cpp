#include "platform/named_mutex.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/posix/fault_injection.h"
#include "tests/support/mutex_holder.h"
#include "tests/support/staged_machine.h"

namespace {

constexpr const char* kName = "kqx_TEST_7000{F87C04A0-D4EA-11d4-88B8-0050FC09F3B0}";

TEST(NamedMutexTest, ReportsAHolderInAnotherProcessUntilItLetsGo) {
  StagedMachine machine;
  MutexHolder holder(kName);

  bool existed = false;
  platform::MutexHandle handle = platform::CreateNamedMutex(kName, &existed);
  EXPECT_TRUE(handle.IsValid());
  EXPECT_TRUE(existed);
  platform::CloseNamedMutex(&handle);
  EXPECT_FALSE(handle.IsValid());

  holder.Release();
  handle = platform::CreateNamedMutex(kName, &existed);
  EXPECT_TRUE(handle.IsValid());
  EXPECT_FALSE(existed);

  // While this process holds it, a second creation sees it too.
  bool secondExisted = false;
  platform::MutexHandle second = platform::CreateNamedMutex(kName, &secondExisted);
  EXPECT_TRUE(secondExisted);
  platform::CloseNamedMutex(&second);
  platform::CloseNamedMutex(&handle);

  handle = platform::CreateNamedMutex("another", &existed);
  EXPECT_FALSE(existed);
  platform::CloseNamedMutex(&handle);
}

#ifdef SETUP_FAULT_INJECTION
// Another user's lock file does not open for writing (the injected failure stands for that, as
// tests run as root): the holder must still be seen.
TEST(NamedMutexTest, ALockFileThatWillNotOpenForWritingStillTells) {
  StagedMachine machine;
  MutexHolder holder(kName);
  for (const bool held : {true, false}) {
    if (!held) holder.Release();
    bool existed = !held;
    platform::ArmFault(1, EACCES);
    platform::MutexHandle handle = platform::CreateNamedMutex(kName, &existed);
    EXPECT_EQ(existed, held);
    platform::CloseNamedMutex(&handle);
  }
  platform::DisarmFaults();
}
#endif

}  // namespace
