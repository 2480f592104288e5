#include "migration/parameter_validation.h"

#include <gtest/gtest.h>

#include <string>

#include "format/format_parser.h"
#include "migration/amendment_file.h"
#include "tests/support/message_recorder.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_folder.h"

namespace {

const char kFormat[] =
    "struct Axis { double MaxSpeed; int Gain[3]; };\n"
    "struct Spindle { int Speed; };\n"
    "field CController {\n"
    "  int m_Plain;\n"
    "  int m_Arr[4];\n"
    "  Axis m_Axis[2];\n"
    "  Spindle m_Spindle;\n"
    "  int* m_Pointer;\n"
    "  int m_Twice;\n"
    "  Axis m_Twice[3];\n"
    "};\n";

class NameResolutionTest : public testing::Test {
 protected:
  NameResolutionTest() {
    EXPECT_TRUE(parser_.ParseText("vexorand.fmt", kFormat));
    block_ = parser_.FindBlock("CController");
  }

  bool Resolves(const std::string& name) {
    CParameterNameResolver resolver(*block_);
    return resolver.Resolves(name);
  }

  RecordingSink sink_;
  CFormatParser parser_{sink_};
  const CTypeRecord* block_ = nullptr;
};

TEST_F(NameResolutionTest, APlainFieldTakesNoIndexOrIndexOneOrANegativeOne) {
  ASSERT_NE(block_, nullptr);
  EXPECT_TRUE(Resolves("m_Plain"));
  EXPECT_TRUE(Resolves("m_Plain[1]"));
  EXPECT_TRUE(Resolves("m_Plain[-3]"));
  EXPECT_FALSE(Resolves("m_Plain[0]"));
  EXPECT_FALSE(Resolves("m_Plain[2]"));
  EXPECT_FALSE(Resolves("m_plain"));
  EXPECT_FALSE(Resolves("m_Missing"));
}

TEST_F(NameResolutionTest, AnArrayTakesIndexesBelowItsCountAndAlwaysOne) {
  for (const char* name : {"m_Arr[0]", "m_Arr[3]", "m_Arr[ +2]", "m_Arr[1]", "m_Arr", "m_Arr[",
                           "m_Arr[x]", "m_Arr[-1]"}) {
    EXPECT_TRUE(Resolves(name)) << name;
  }
  for (const char* name : {"m_Arr[4]", "m_Arr[99999999999]"}) {
    EXPECT_FALSE(Resolves(name)) << name;
  }
}

TEST_F(NameResolutionTest, MemberPathsFollowTheFieldTypes) {
  EXPECT_TRUE(Resolves("m_Axis[1].MaxSpeed"));
  EXPECT_TRUE(Resolves("m_Axis[0].Gain[2]"));
  EXPECT_TRUE(Resolves("m_Spindle.Speed"));
  EXPECT_TRUE(Resolves("m_Axis[1]..MaxSpeed"));  // empty components are skipped
  EXPECT_TRUE(Resolves(".m_Plain."));
  EXPECT_FALSE(Resolves("m_Axis[2].MaxSpeed"));
  EXPECT_FALSE(Resolves("m_Axis[0].Gain[3]"));
  EXPECT_FALSE(Resolves("m_Spindle.MaxSpeed"));
  EXPECT_FALSE(Resolves("m_Pointer.Anything"));  // a pointer has no members
  EXPECT_FALSE(Resolves("m_Plain.Speed"));
  // Only the first 1023 characters count.
  EXPECT_TRUE(Resolves("m_Plain" + std::string(1023 - 7, '.') + "NotAMember"));
}

TEST_F(NameResolutionTest, TheFirstDeclarationThatAcceptsTheIndexWinsWithoutLookingFurther) {
  EXPECT_TRUE(Resolves("m_Twice"));
  EXPECT_TRUE(Resolves("m_Twice[2].MaxSpeed"));
  // Index 1 picks the plain int, which has no members; the later array is not tried.
  EXPECT_FALSE(Resolves("m_Twice[1].MaxSpeed"));
  EXPECT_FALSE(Resolves("m_Twice.MaxSpeed"));
}

TEST(ParameterValidationTest, AHundredThousandNamesAgainstAHundredThousandFields) {
  constexpr int kCount = 100000;
  std::string format = "field CController {\n";
  ParameterList controller = {{"[CController]", ""}};
  for (int i = 0; i < kCount; ++i) {
    format += "int f" + std::to_string(i) + ";\n";
    // Every tenth name is one the format no longer has.
    controller.push_back({(i % 10 == 0 ? "gone" : "f") + std::to_string(kCount - 1 - i), "1"});
  }
  format += "};\n";
  TempFolder folder;
  folder.WriteFile("vexorand.fmt", format);
  MessageRecorder messages;

  EXPECT_EQ(ValidateAgainstFormat(messages, folder.Path("vexorand.fmt"), &controller), kCount / 10);
  EXPECT_EQ(controller.size(), 1u + kCount - kCount / 10);
  EXPECT_EQ(controller.front().name, "[CController]");
  EXPECT_TRUE(messages.messages().empty());
}

}  // namespace
