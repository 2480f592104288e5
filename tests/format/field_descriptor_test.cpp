#include "format/field_descriptor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/message_box.h"
#include "format/node_paths.h"
#include "format/parameter_order.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "tests/support/message_recorder.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_folder.h"

namespace {

class FieldDescriptorTest : public testing::Test {
 protected:
  // Binds `bytes` to block `block` of the format text; the second language for the messages.
  bool Bind(const std::string& format, const std::vector<unsigned char>& bytes,
            const std::string& block = "CController") {
    folder_.WriteFile("vexorand.fmt", format);
    return binder_.Bind(block, bytes.data(), bytes.size(), FormatPath());
  }
  std::string FormatPath() const { return folder_.Path("vexorand.fmt"); }

  std::vector<std::string> Paths() const {
    std::vector<std::string> paths;
    for (const auto& node : binder_.Nodes()) {
      if (!node->valueText.empty()) paths.push_back(FieldPath(*node));
    }
    return paths;
  }
  std::vector<std::string> IdTexts() const {
    std::vector<std::string> texts;
    for (const auto& node : binder_.Nodes()) {
      if (!node->idText.empty()) texts.push_back(node->idText);
    }
    return texts;
  }

  FieldDescriptorTest() { sink_.UseLanguage(2); }

  TempFolder folder_;
  RecordingSink sink_;
  CFieldDescriptor binder_{sink_};
};

template <typename T>
void Put(std::vector<unsigned char>& bytes, size_t offset, T value) {
  std::memcpy(bytes.data() + offset, &value, sizeof value);
}

TEST_F(FieldDescriptorTest, FieldPathsOfArraysStructuresAndSingleElements) {
  const char* format =
      "struct Axis { double MaxSpeed; int Gear; };\n"
      "struct Spindle { int MaxSpeed; short Dir; };\n"
      "field CController { double Gain[3]; Axis Axis[2]; Spindle Spindle; int X[1]; };\n";
  std::vector<unsigned char> bytes(24 + 32 + 8 + 4);
  Put(bytes, 8, 0.5);
  Put(bytes, 24 + 16, 1.25);
  Put(bytes, 24 + 32, 3000);
  Put(bytes, 24 + 32 + 8, -7);
  ASSERT_TRUE(Bind(format, bytes));
  EXPECT_EQ(Paths(), (std::vector<std::string>{"Gain[0]", "Gain[1]", "Gain[2]", "Axis[0].MaxSpeed",
                                               "Axis[0].Gear", "Axis[1].MaxSpeed", "Axis[1].Gear",
                                               "Spindle.MaxSpeed", "Spindle.Dir", "X.X"}));
  EXPECT_EQ(binder_.TextDump("CController"),
            "[CController]\nGain[0] = 0\nGain[1] = 0.5\nGain[2] = 0\nAxis[0].MaxSpeed = 0\n"
            "Axis[0].Gear = 0\nAxis[1].MaxSpeed = 1.25\nAxis[1].Gear = 0\n"
            "Spindle.MaxSpeed = 3000\nSpindle.Dir = 0\nX.X = -7\n");
}

TEST_F(FieldDescriptorTest, NumbersAddUpAlongTheChainAndNeedAValueText) {
  const char* format =
      "struct Axis /* -r 10 */ { int a /* -g1 */; int b /* -g2 */; char name[4]; };\n"
      "field CController { int first /* -g5 */; Axis axis[2] /* -g100 */; int last; };\n";
  std::vector<unsigned char> bytes(4 + 2 * 12 + 4);
  ASSERT_TRUE(Bind(format, bytes));
  // The string field has no `g` option, so it is not numbered; `last` has none either.
  EXPECT_EQ(IdTexts(), (std::vector<std::string>{"N0005", "N0101", "N0102", "N0111", "N0112"}));
  EXPECT_TRUE(sink_.messages().empty());

  binder_.idLetter = 'P';
  binder_.idBase = 12345;
  folder_.WriteFile("vexorand.fmt", format);
  ASSERT_TRUE(binder_.Bind("CController", bytes.data(), bytes.size(), FormatPath()));
  EXPECT_EQ(IdTexts().front(), "P12350");
}

TEST_F(FieldDescriptorTest, MiddleFieldsAreSortedByIdOffsetGuardsStay) {
  const char* format =
      "field CController { int a /* -g1 */; int b /* -g3 */; int c /* -g2 */; int d /* -g9 */; "
      "};\n";
  std::vector<unsigned char> bytes(16);
  Put(bytes, 0, 1);
  Put(bytes, 4, 3);
  Put(bytes, 8, 2);
  Put(bytes, 12, 9);
  ASSERT_TRUE(Bind(format, bytes));
  EXPECT_EQ(binder_.TextDump("CController"), "[CController]\na = 1\nc = 2\nb = 3\nd = 9\n");
  EXPECT_TRUE(sink_.messages().empty());

  // With two fields nothing is sorted, and the falling pair is reported.
  ASSERT_TRUE(Bind("field CController { int a /* -g100 */; int b /* -g1 */; };\n",
                   std::vector<unsigned char>(8)));
  ASSERT_EQ(sink_.messages().size(), 1u);
  EXPECT_EQ(sink_.messages()[0].text,
            "There is repeated serial number or the sequence is wrong: \r\n\"[N0100]a\" and "
            "\"[N0001]b\"\r\nPlease modify");
  EXPECT_EQ(sink_.messages()[0].style, kMbOkCancel | kMbIconExclamation);
}

TEST_F(FieldDescriptorTest, FieldsWithoutIdOffsetsKeepTheirDeclarationOrder) {
  // Enough fields that an unstable sort would move equal keys about.
  std::string format = "field CController {";
  std::vector<std::string> names;
  for (int i = 0; i < 40; ++i) {
    names.push_back("f" + std::to_string(i));
    format += " int " + names.back() + ";";
  }
  ASSERT_TRUE(Bind(format + " };\n", std::vector<unsigned char>(160)));
  EXPECT_EQ(Paths(), names);
}

TEST_F(FieldDescriptorTest, OrderCheckNamesEveryPairUntilCancelled) {
  const char* format =
      "struct S { int p /* -g5 -n' Max speed ' */; int q /* -g5 */; };\n"
      "field CController { int head; S s[2] /* -g0 -F'Axis %d' */; int tail; };\n";
  std::vector<unsigned char> bytes(4 + 16 + 4);
  ASSERT_TRUE(Bind(format, bytes));
  // The parts of element 0 share 5, those of element 1 (two numbers later) share 7.
  ASSERT_EQ(sink_.messages().size(), 2u);
  EXPECT_NE(sink_.messages()[0].text.find("\"[N0005]s.Axis 0.Max speed\" and "
                                          "\"[N0005]s.Axis 0.q\""),
            std::string::npos)
      << sink_.messages()[0].text;

  // The boxes go to the binder's sink, never to the process's message function.
  MessageRecorder process;
  RecordingSink cancelling({kIdCancel});
  CFieldDescriptor binder(cancelling);
  ASSERT_TRUE(binder.Bind("CController", bytes.data(), bytes.size(), FormatPath()));
  EXPECT_EQ(cancelling.messages().size(), 1u);
  EXPECT_TRUE(process.messages().empty());
}

TEST_F(FieldDescriptorTest, OrderCheckMessageIsUtf8WhereverTheNamesComeFrom) {
  // Names written in the format file are in the system code page; "第%d组" is the catalogue's.
  const char* format =
      "field CController { int a[2] /* -g9 -n'A\xE0' */; int b[1] /* -g1 -F'B\xE0 %d' */; };\n";
  sink_.UseLanguage(0);
  ASSERT_TRUE(Bind(format, std::vector<unsigned char>(12)));
  ASSERT_EQ(sink_.messages().size(), 2u);
  const std::string first = "\"[N0009]" + platform::SystemTextToUtf8("A\xE0") + ".第0组\"";
  const std::string later = "\"[N0001]b." + platform::SystemTextToUtf8("B\xE0 0") + "\"";
  EXPECT_EQ(sink_.messages()[0].text,
            "参数编号重复或顺序有误: \r\n" + first + " 和 " + later + "\r\n请修改");
}

TEST(ParameterOrder, FindsExactlyThePairsThatDoNotRise) {
  const std::vector<int> ids = {1, 5, 3, -1, 3, 9, 2};
  ValueNodeList nodes;
  for (int id : ids) {
    nodes.push_back(std::make_unique<CValueNode>());
    nodes.back()->id = id;
  }
  std::vector<std::pair<int, int>> found;
  FindParameterOrderProblems(nodes, [&](const CValueNode& a, const CValueNode& b) {
    found.emplace_back(a.id, b.id);
    return true;
  });
  std::vector<std::pair<int, int>> expected;
  for (size_t i = 0; i < ids.size(); ++i) {
    for (size_t j = i + 1; j < ids.size(); ++j) {
      if (ids[i] != -1 && ids[j] != -1 && ids[i] >= ids[j]) expected.emplace_back(ids[i], ids[j]);
    }
  }
  EXPECT_EQ(found, expected);
}

TEST_F(FieldDescriptorTest, TextDumpFileHasCrLfLinesAndQuotedStrings) {
  const char* format = "field CController { char name[8]; WORD w; };\n";
  std::vector<unsigned char> bytes(10);
  std::memcpy(bytes.data(), "abc", 3);
  Put<std::uint16_t>(bytes, 8, 0xBEEF);
  folder_.WriteFile("vexorand.fmt", format);
  ASSERT_TRUE(binder_.WriteTextDump("CController", bytes.data(), bytes.size(), FormatPath(),
                                    folder_.Path("a_amend.dat")));
  EXPECT_EQ(folder_.ReadFile("a_amend.dat"), "[CController]\r\nname = \"abc\"\r\nw = 0xBEEF\r\n");
  EXPECT_EQ(binder_.FormatPath(), FormatPath());
}

// A parameter line ends at ';' (comment) and at a line break: a value text holding one is left
// out of the dump, and named, rather than cut short or allowed to add lines.
TEST_F(FieldDescriptorTest, ValuesAParameterLineCannotHoldAreLeftOutAndNamed) {
  const struct {
    const char* stored;
    bool carried;
  } cases[] = {{"ATC;24 pockets", false}, {"AB\nm_a = 99", false}, {"AB\rx", false},
               {"plain text", true},      {"a = b [c]", true},     {"", true}};
  for (const auto& c : cases) {
    std::vector<unsigned char> bytes(20);
    std::memcpy(bytes.data(), c.stored, std::strlen(c.stored));
    Put(bytes, 16, 5);
    ASSERT_TRUE(Bind("field CController { char m_szModel[16]; int m_a; };\n", bytes));
    const std::string dump = binder_.TextDump("CController");
    const std::string line = std::string("m_szModel = \"") + c.stored + "\"\n";
    EXPECT_EQ(dump, "[CController]\n" + (c.carried ? line : "") + "m_a = 5\n") << c.stored;
    EXPECT_EQ(binder_.UncarriedNodes().size(), c.carried ? 0u : 1u) << c.stored;
  }
}

TEST_F(FieldDescriptorTest, TrailingWhiteSpaceIsTrimmedFromTextsAndNames) {
  std::vector<unsigned char> bytes(4);
  Put(bytes, 0, 7);
  ASSERT_TRUE(Bind("field CController { int a /* -f'%d  ' -n'Speed  ' -g1 */; };\n", bytes));
  const CValueNode& node = *binder_.Nodes().at(0);
  EXPECT_EQ(node.valueText, "7");
  EXPECT_EQ(node.displayName, "Speed");
}

TEST_F(FieldDescriptorTest, FailuresLogAndBindNothing) {
  const char* format = "field CController { int a; char b; };\n";
  std::vector<unsigned char> bytes(4);
  EXPECT_FALSE(Bind(format, bytes));
  EXPECT_EQ(sink_.entries().back(),
            "|E|CFieldDescriptor: ERROR! The size of data block(CController), 4 bytes, is not "
            "equal to the value(5 bytes) described in format file.\n");
  EXPECT_EQ(binder_.BoundBlock(), nullptr);
  EXPECT_TRUE(binder_.Nodes().empty());

  EXPECT_FALSE(Bind(format, std::vector<unsigned char>(5), "Controller"));
  EXPECT_EQ(sink_.entries().back(),
            "|E|CFieldDescriptor: The format of data block(Controller) not found.\n");

  EXPECT_FALSE(binder_.WriteTextDump("CController", bytes.data(), bytes.size(), FormatPath(),
                                     folder_.Path("out.dat")));
  EXPECT_FALSE(platform::PathExists(folder_.Path("out.dat")));
}

TEST_F(FieldDescriptorTest, SyntaxErrorsAndMissingFilesFail) {
  EXPECT_FALSE(Bind("field CController { int a; }\n", std::vector<unsigned char>(4)));
  EXPECT_FALSE(binder_.Bind("CController", nullptr, 0, folder_.Path("missing.fmt")));
  // An output file that cannot be created is a failure, not a silent success.
  folder_.WriteFile("vexorand.fmt", "field CController { int a; };\n");
  std::vector<unsigned char> bytes(4);
  EXPECT_FALSE(binder_.WriteTextDump("CController", bytes.data(), bytes.size(), FormatPath(),
                                     folder_.Path("no such folder\\out.dat")));
}

TEST_F(FieldDescriptorTest, NodesWithoutValueTextAreNotWritten) {
  ASSERT_TRUE(
      Bind("field CController { char pad[0x10] /* -f%c */; };\n", std::vector<unsigned char>(16)));
  EXPECT_EQ(binder_.TextDump("CController"), "[CController]\n");
}

}  // namespace
