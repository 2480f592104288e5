#include <gtest/gtest.h>

#include "base/multibyte_case.h"
#include "migration/setup_config.h"

namespace {

TEST(VersionKey, InstallationKeyIgnoresBlanksBackslashesAndCase) {
  for (const char* path : {"Control\\", "  Control\\ \t", "Control", "\\Control\\", "\\\\control",
                           "CONTROL\\\\", "\tcontrol\\ "}) {
    EXPECT_EQ(MakeInstallationKey(path), "CONTROL") << path;
  }
  // Blanks are trimmed before backslashes, so blanks inside them stay.
  EXPECT_EQ(MakeInstallationKey("\\ Control"), " CONTROL");
  EXPECT_EQ(MakeInstallationKey("Control \\ "), "CONTROL ");
  EXPECT_EQ(MakeInstallationKey("Sub\\Control\\"), "SUB\\CONTROL");
  EXPECT_EQ(MakeInstallationKey(" \\ \\ "), " ");
  EXPECT_EQ(MakeInstallationKey(""), "");
}

TEST(VersionKey, MajorVersionIsTheTextBeforeTheFirstPoint) {
  EXPECT_EQ(MakeMajorVersion("5.3.12"), "5");
  EXPECT_EQ(MakeMajorVersion("5"), "5");
  EXPECT_EQ(MakeMajorVersion(".5"), "");
  EXPECT_EQ(MakeMajorVersion(" v6 .1"), "V6");
  EXPECT_EQ(MakeMajorVersion("\tR7b\r\n"), "R7B");
  EXPECT_EQ(MakeMajorVersion(""), "");
}

// The GBK rule of the Windows machines: a trail byte may look like a letter or a backslash.
TEST(VersionKey, UpperCasingLeavesDoubleByteCharactersAlone) {
  const auto upper = [](const std::string& text) { return ToUpperMultiByte(text, IsGbkLeadByte); };
  EXPECT_EQ(upper("abc-xyz_09"), "ABC-XYZ_09");
  // GBK characters whose trail bytes are 'a' (0x61) and 'z' (0x7A) keep them.
  EXPECT_EQ(upper("\x81"
                  "a"
                  "b\xFE"
                  "zc"),
            "\x81"
            "aB\xFE"
            "zC");
  // 0x80 and 0xFF are not lead bytes.
  EXPECT_EQ(upper("\x80"
                  "a\xFF"
                  "b"),
            "\x80"
            "A\xFF"
            "B");
  // A lead byte at the very end has no trail byte to skip.
  EXPECT_EQ(upper("a\xB0"), "A\xB0");
}

}  // namespace
