// A file whose path cannot be looked up is unreadable, never missing: a reader above the platform
// layer (here the format lexer, as the parameter dump uses it) tells the two apart.
#include <gtest/gtest.h>

#include <cerrno>

#include "format/format_lexer.h"
#include "platform/file_system.h"
#include "platform/posix/fault_injection.h"
#include "tests/support/temp_folder.h"

#ifdef SETUP_FAULT_INJECTION

namespace {

TEST(UnreadablePathTest, AFailingLookupIsNoMissingFile) {
  TempFolder folder;
  folder.WriteFile("a.fmt", "field CController { int m_X; };\n");
  for (const platform::FileOperation failing :
       {platform::FileOperation::kQuery, platform::FileOperation::kList}) {
    platform::ArmFault(1, EIO, failing);
    // A name in another letter case is found by listing its folder.
    EXPECT_EQ(platform::QueryPath(
                  folder.Path(failing == platform::FileOperation::kList ? "A.FMT" : "a.fmt")),
              platform::PathKind::kUnknown);
    platform::ArmFault(1, EIO, failing);
    CFormatLexer lexer;
    EXPECT_FALSE(lexer.Open(folder.Path("A.FMT")));
    EXPECT_TRUE(lexer.WasUnreadable());
    platform::DisarmFaults();
  }
  EXPECT_EQ(platform::QueryPath(folder.Path("none.fmt")), platform::PathKind::kMissing);
}

}  // namespace

#endif
