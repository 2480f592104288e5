#include "base/language_folder.h"

#include <gtest/gtest.h>

#include "base/message_box.h"
#include "tests/support/message_recorder.h"
#include "tests/support/staged_files.h"
#include "tests/support/temp_folder.h"

namespace {

class LanguageFolderTest : public ::testing::Test {
 protected:
  // The folder chosen by the last successful determination, kept across failures.
  void Establish() {
    temp_.WriteFile("Known\\Lang\\Lang.ini", "[ActiveLang]\nActiveLang=rus\n");
    MakeStagedFolders(temp_.Path("Known\\Lang\\rus\\"));
    DetermineLanguageFolder(temp_.Path("Known\\"), messages_);
    ASSERT_EQ(GetLanguageFolder(messages_), temp_.Path("Known\\Lang\\rus\\"));
  }

  MessageRecorder messages_;
  TempFolder temp_;
};

TEST_F(LanguageFolderTest, ActiveLangNamesTheFolder) {
  temp_.WriteFile("Lang\\Lang.ini", "[activelang]\nACTIVELANG = CHN\n");
  MakeStagedFolders(temp_.Path("Lang\\chn\\"));
  DetermineLanguageFolder(temp_.path(), messages_);
  // The name is taken as written; the file system matches it without regard to case.
  EXPECT_EQ(GetLanguageFolder(messages_), temp_.Path("Lang\\CHN\\"));
  EXPECT_TRUE(messages_.messages().empty());

  temp_.WriteFile("Lang\\Lang.ini", "[ActiveLang]\nActiveLang=chn\\\n");
  DetermineLanguageFolder(temp_.path(), messages_);
  EXPECT_EQ(GetLanguageFolder(messages_), temp_.Path("Lang\\chn\\"));
}

TEST_F(LanguageFolderTest, MissingLangFolder) {
  Establish();
  DetermineLanguageFolder(temp_.Path("Nowhere\\"), messages_);
  ASSERT_EQ(messages_.messages().size(), 1u);
  EXPECT_EQ(messages_.messages()[0].text, "The path(" + temp_.Path("Nowhere\\Lang\\") +
                                              ") to specify language information does not exist.");
  EXPECT_EQ(messages_.messages()[0].style, kMbIconStop);
  EXPECT_EQ(GetLanguageFolder(messages_), temp_.Path("Known\\Lang\\rus\\"));
}

TEST_F(LanguageFolderTest, MissingSettingsFileInEitherLanguage) {
  MakeStagedFolders(temp_.Path("Lang\\chn\\"));
  const std::string file = temp_.Path("Lang\\Lang.ini");
  DetermineLanguageFolder(temp_.path(), messages_);
  messages_.UseLanguage(2);
  DetermineLanguageFolder(temp_.path(), messages_);
  ASSERT_EQ(messages_.messages().size(), 2u);
  EXPECT_EQ(messages_.messages()[0].text, "用于存储语言配置信息的文件" + file + "不存在。");
  EXPECT_EQ(messages_.messages()[1].text,
            "The language configuration file(" + file + ") does not exist.");
  EXPECT_EQ(messages_.messages()[1].style, kMbIconStop);
}

TEST_F(LanguageFolderTest, EmptyActiveLang) {
  messages_.UseLanguage(2);
  const std::string file = temp_.Path("Lang\\Lang.ini");
  temp_.WriteFile("Lang\\Lang.ini", "[ActiveLang]\nActiveLang=   \n[Other]\nActiveLang=chn\n");
  DetermineLanguageFolder(temp_.path(), messages_);
  ASSERT_EQ(messages_.messages().size(), 1u);
  EXPECT_EQ(messages_.messages()[0].text, "Language configuration File(" + file + ") Error.");
  EXPECT_EQ(messages_.messages()[0].style, kMbIconStop);
}

TEST_F(LanguageFolderTest, ActiveLangNamingNoFolder) {
  Establish();
  temp_.WriteFile("Lang\\Lang.ini", "[ActiveLang]\nActiveLang=eng\n");
  MakeStagedFolders(temp_.Path("Lang\\chn\\"));
  DetermineLanguageFolder(temp_.path(), messages_);
  ASSERT_EQ(messages_.messages().size(), 1u);
  EXPECT_EQ(messages_.messages()[0].text, "The path(" + temp_.Path("Lang\\eng\\") +
                                              ") to specify language information does not exist.");
  EXPECT_EQ(GetLanguageFolder(messages_), temp_.Path("Known\\Lang\\rus\\"));
}

// Every localised string asks for the folder while it is unknown; the user is told once.
TEST_F(LanguageFolderTest, EachMessageIsShownOncePerRun) {
  for (int i = 0; i < 20; ++i) DetermineLanguageFolder(temp_.Path("Lost\\"), messages_);
  ASSERT_EQ(messages_.messages().size(), 1u);
  temp_.WriteFile("Lost\\Lang\\Lang.ini", "[ActiveLang]\nActiveLang=eng\n");
  for (int i = 0; i < 20; ++i) DetermineLanguageFolder(temp_.Path("Lost\\"), messages_);
  EXPECT_EQ(messages_.messages().size(), 2u);  // another fault, said once as well
}

}  // namespace
