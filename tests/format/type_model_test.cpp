#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "format/comment_options.h"
#include "format/traversal_context.h"
#include "tests/format/format_test_support.h"

namespace {

// Little-endian bytes of a data block, written at offsets.
class BlockBytes {
 public:
  explicit BlockBytes(int size) : bytes_(static_cast<std::size_t>(size)) {}
  template <typename T>
  BlockBytes& Put(int offset, T value) {
    std::memcpy(bytes_.data() + offset, &value, sizeof value);
    return *this;
  }
  BlockBytes& PutText(int offset, const char* text) {
    std::memcpy(bytes_.data() + offset, text, std::strlen(text));
    return *this;
  }
  const unsigned char* data() const { return bytes_.data(); }

 private:
  std::vector<unsigned char> bytes_;
};

// What a test compares of a node.
struct NodeSummary {
  std::string displayName;
  std::string valueText;
  int idOffset;
  int elementIndex;
  std::string parent;

  bool operator==(const NodeSummary& other) const {
    return displayName == other.displayName && valueText == other.valueText &&
           idOffset == other.idOffset && elementIndex == other.elementIndex &&
           parent == other.parent;
  }
};

std::ostream& operator<<(std::ostream& out, const NodeSummary& node) {
  return out << "{" << node.displayName << ", " << node.valueText << ", " << node.idOffset << ", "
             << node.elementIndex << ", " << node.parent << "}";
}

class TypeModelTest : public FormatParserTest {
 protected:
  // Element names use the second language's "Group %d".
  void SetUp() override { sink_.UseLanguage(2); }

  std::vector<NodeSummary> Walk(const std::string& block, const BlockBytes& bytes) {
    CTraversalContext context(&nodes_, sink_);
    context.WalkBlock(*parser_.FindBlock(block), bytes.data());
    std::vector<NodeSummary> summaries;
    for (const auto& node : nodes_) {
      summaries.push_back({node->displayName, node->valueText, node->idOffset, node->elementIndex,
                           node->parent ? node->parent->displayName : std::string()});
    }
    return summaries;
  }

  ValueNodeList nodes_;
};

TEST_F(TypeModelTest, NodesComeInTraversalOrderWithTheirIdOffsets) {
  ASSERT_TRUE(
      Parse("struct Axis /* -r10 */ { int a /*-g1*/; double b /*-g2*/; int c; };\n"
            "field CController {\n"
            "  int x /* -g1 -n'Cycle time' */;\n"
            "  Axis ax[2] /* -g100 */;\n"
            "  char name[8] /* -g5 */;\n"
            "  int gain[3] /* -g20 -k 1 ~ 2 -F'Gain %d' */;\n"
            "};"));
  const CTypeRecord& block = *parser_.FindBlock("CController");
  ASSERT_EQ(block.size, 76);
  BlockBytes bytes(76);
  bytes.Put<int>(0, 5).Put<int>(8, -1).Put<double>(16, 0.5).Put<int>(24, 7);
  bytes.Put<int>(32, 2).Put<double>(40, 2.0).Put<int>(48, 3).PutText(56, "abc");
  bytes.Put<int>(64, 10).Put<int>(68, 11).Put<int>(72, 12);
  const std::vector<NodeSummary> expected = {
      {"Cycle time", "5", 1, -1, ""}, {"ax", "", 100, -1, ""},        {"Group 0", "", 0, 0, "ax"},
      {"a", "-1", 1, -1, "Group 0"},  {"b", "0.5", 2, -1, "Group 0"}, {"c", "7", -1, -1, "Group 0"},
      {"Group 1", "", 10, 1, "ax"},   {"a", "2", 1, -1, "Group 1"},   {"b", "2", 2, -1, "Group 1"},
      {"c", "3", -1, -1, "Group 1"},  {"name", "\"abc\"", 5, -1, ""}, {"gain", "", 20, -1, ""},
      {"Gain 1", "11", 1, 1, "gain"}, {"Gain 2", "12", 2, 2, "gain"},
  };
  EXPECT_EQ(Walk("CController", bytes), expected);
  EXPECT_EQ(nodes_[2]->elementCount, 2);
  EXPECT_EQ(nodes_[2]->data, bytes.data() + 8);
  EXPECT_EQ(nodes_[6]->data, bytes.data() + 32);
}

TEST_F(TypeModelTest, ArraysWithoutIdOffsetGiveElementsNone) {
  ASSERT_TRUE(Parse("field B { BYTE raw[3]; };"));
  BlockBytes bytes(3);
  bytes.Put<unsigned char>(0, 0x80).Put<unsigned char>(2, 0x7F);
  const std::vector<NodeSummary> expected = {{"raw", "", -1, -1, ""},
                                             {"Group 0", "0x80", -1, 0, "raw"},
                                             {"Group 1", "0x00", -1, 1, "raw"},
                                             {"Group 2", "0x7F", -1, 2, "raw"}};
  EXPECT_EQ(Walk("B", bytes), expected);
}

TEST_F(TypeModelTest, SingleStringMemberGivesItsTextToTheStructure) {
  ASSERT_TRUE(
      Parse("struct Name { char text[4]; };\n"
            "struct Pair { char text[4]; int n; };\n"
            "field B { Name n; Name list[2]; Pair p; };"));
  BlockBytes bytes(20);
  bytes.PutText(0, "abcd").PutText(4, "x").PutText(12, "pq").Put<int>(16, 9);
  const std::vector<NodeSummary> expected = {
      // The text fills all four bytes: no NUL is read beyond them.
      {"n", "\"abcd\"", -1, -1, ""},
      {"list", "", -1, -1, ""},
      {"Group 0", "\"x\"", -1, 0, "list"},
      {"Group 1", "\"\"", -1, 1, "list"},
      {"p", "", -1, -1, ""},
      {"text", "\"pq\"", -1, -1, "p"},
      {"n", "9", -1, -1, "p"},
  };
  EXPECT_EQ(Walk("B", bytes), expected);
}

TEST_F(TypeModelTest, ScalarRenderingTakesPointerAndMultiplier) {
  ASSERT_TRUE(
      Parse("field B { int *p; int a /* -m 1000 */; int b /* -m0x10 */;\n"
            "int c /* -m 12x */; double d /* -m 0.5 */; };"));
  BlockBytes bytes(24);
  bytes.Put<unsigned>(0, 0x1234abcd).Put<int>(4, 5).Put<int>(8, 5).Put<int>(12, 5);
  bytes.Put<double>(16, 3.0);
  const std::vector<std::string> expected = {"1234ABCD", "5000", "80", "5", "1.5"};
  const std::vector<NodeSummary> nodes = Walk("B", bytes);
  ASSERT_EQ(nodes.size(), expected.size());
  for (std::size_t i = 0; i < nodes.size(); ++i) EXPECT_EQ(nodes[i].valueText, expected[i]);
  EXPECT_EQ(sink_.entries(), std::vector<std::string>{"Illegal comment string\n"});
}

TEST_F(TypeModelTest, AContextWithoutNodeListMakesNothing) {
  ASSERT_TRUE(Parse("struct S { char t[4]; }; field B { int a; S s[2]; char c[4]; };"));
  BlockBytes bytes(16);
  CTraversalContext context(nullptr, sink_);
  context.WalkBlock(*parser_.FindBlock("B"), bytes.data());
  EXPECT_EQ(context.currentParent, nullptr);
  EXPECT_FALSE(context.singleMember);
}

TEST(CommentOptions, ReaderFindsTheFirstPairAnywhere) {
  const std::string text = "-n'Max. speed' -f %0.3f -g12";
  EXPECT_EQ(ReadCommentOption(text, 'n'), "Max. speed");
  EXPECT_EQ(ReadCommentOption(text, 'f'), " %0.3f");
  EXPECT_EQ(ReadCommentOption(text, 'g'), "12");
  EXPECT_EQ(ReadCommentOption(text, 'k'), std::nullopt);
  // Letters are case-sensitive, a quoted value may hide another option, a quote may stay open.
  EXPECT_EQ(ReadCommentOption(std::string("-F'a-f' -f x"), 'f'), " -f x");
  EXPECT_EQ(ReadCommentOption(std::string("-n'open"), 'n'), "open");
  EXPECT_EQ(ReadCommentOption(std::string("-g"), 'g'), "");
  EXPECT_EQ(ReadCommentOption(std::optional<std::string>(), 'g'), std::nullopt);
}

TEST(CommentOptions, NumericReaders) {
  RecordingSink sink;
  const auto integer = [&sink](const char* text) {
    return ReadIntegerOption(std::optional<std::string>(text), 'm', sink);
  };
  EXPECT_EQ(integer("-m 0x10"), 16);
  EXPECT_EQ(integer("-m010"), 8);
  // The value ends at the minus sign; empty, it must not count as a multiplier of 0.
  EXPECT_EQ(integer("-m -5"), std::nullopt);
  EXPECT_EQ(integer("-m'-5'"), -5);
  EXPECT_EQ(integer("-m 99999999999"), INT32_MAX);
  EXPECT_EQ(integer("-m 7 -g1"), 7);
  const auto real = [&sink](const char* text) {
    return ReadRealOption(std::optional<std::string>(text), 'm', sink);
  };
  EXPECT_EQ(real("-m 1.5d2"), 150.0);
  EXPECT_EQ(real("-m .25"), 0.25);
  EXPECT_EQ(real("-m 2e"), std::nullopt);
  EXPECT_EQ(real("-m inf"), std::nullopt);
  EXPECT_EQ(real("-m' '"), std::nullopt);
  EXPECT_EQ(sink.entries().size(), 4u);
  EXPECT_EQ(DecimalPrefixValue("  -12abc"), -12);
  EXPECT_EQ(DecimalPrefixValue("x"), 0);
  EXPECT_EQ(DecimalPrefixValue("-99999999999"), INT32_MIN);
}

}  // namespace
