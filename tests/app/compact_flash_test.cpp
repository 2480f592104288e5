#include "app/compact_flash.h"

#include <gtest/gtest.h>

#include <string>

#include "base/setup_run.h"

namespace {

TEST(CompactFlash, PlaceholderIsReplacedEverywhereOrThePathEmptied) {
  std::string path = "CFCard:\\Backup\\";
  ReplaceCompactFlashPlaceholder(&path, 'F');
  EXPECT_EQ(path, "F:\\Backup\\");

  path = "CFCard:\\a;CFCard:\\b\\CFCard:";
  ReplaceCompactFlashPlaceholder(&path, 'G');
  EXPECT_EQ(path, "G:\\a;G:\\b\\G:");

  path = "CFCard:\\Backup\\";
  ReplaceCompactFlashPlaceholder(&path, '\0');
  EXPECT_EQ(path, "");
}

TEST(CompactFlash, PathsWithoutThePlaceholderAreLeftAlone) {
  for (const char* text : {"D:\\Backup\\", "cfcard:\\Backup\\", "CFCard\\", ""}) {
    SetupRun run;
    std::string path = text;
    EXPECT_FALSE(ResolveCompactFlash(run, &path));
    EXPECT_EQ(path, text);
  }
}

}  // namespace
