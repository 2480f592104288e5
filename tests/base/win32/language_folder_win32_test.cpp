#include <gtest/gtest.h>
#include <windows.h>

#include "base/language_folder.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_folder.h"

namespace {

// A path is bytes of the system code page; the message around it is UTF-8, so the path must be
// converted before it is inserted, or the box shows mojibake.
TEST(LanguageFolderWin32, PathInMessageIsConvertedFromTheCodePage) {
  char accented[8] = {};
  BOOL lossy = FALSE;
  const int length =
      WideCharToMultiByte(CP_ACP, 0, L"\u00e9", 1, accented, sizeof accented, nullptr, &lossy);
  if (length != 1 || lossy) {
    GTEST_SKIP() << "the system code page has no single byte for e acute";
  }
  MessageRecorder messages;
  TempFolder temp;
  DetermineLanguageFolder(temp.Path(std::string("Caf") + accented + "\\"), messages);
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_NE(messages.messages()[0].text.find("Caf\xC3\xA9\\Lang\\)"), std::string::npos)
      << messages.messages()[0].text;
}

}  // namespace
