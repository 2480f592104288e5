#include "base/message_box.h"

#include <gtest/gtest.h>

#include "tests/support/message_recorder.h"

namespace {

TEST(MessageBoxFunction, AnInnerHostGivesTheBoxesBackToTheOuterOne) {
  MessageRecorder outer;
  {
    MessageRecorder inner;
    ShowMessageBox("inner", kMbOk);
    ASSERT_EQ(inner.messages().size(), 1u);
  }
  ShowMessageBox("outer", kMbOk);
  ASSERT_EQ(outer.messages().size(), 1u);
  EXPECT_EQ(outer.messages()[0].text, "outer");
}

}  // namespace
