#include "format/field_descriptor.h"

#include <algorithm>
#include <cstdint>

#include "base/message_sink.h"
#include "base/text_format.h"
#include "format/node_paths.h"
#include "format/parameter_order.h"
#include "format/traversal_context.h"
#include "platform/file.h"

namespace {

void TrimTrailingWhiteSpace(std::string& text) {
  const size_t end = text.find_last_not_of(" \t\r\n\v\f");
  text.resize(end == std::string::npos ? 0 : end + 1);
}

}  // namespace

bool FitsParameterLine(std::string_view value) {
  return value.find_first_of(";\r\n") == std::string_view::npos;
}

CFieldDescriptor::CFieldDescriptor(IMessageSink& sink) : sink_(sink), parser_(sink) {}

CFieldDescriptor::~CFieldDescriptor() {
  Reset();
}

void CFieldDescriptor::Reset() {
  data_ = nullptr;
  formatPath_.clear();
  block_ = nullptr;
  nodes_.clear();
  parser_.Reset();
}

bool CFieldDescriptor::Bind(const std::string& blockName, const unsigned char* data,
                            std::size_t size, const std::string& formatPath) {
  Reset();
  if (!parser_.Parse(formatPath)) return false;
  CTypeRecord* block = parser_.FindBlock(blockName);
  if (block == nullptr) {
    return Fail(FormatText("|E|CFieldDescriptor: The format of data block(%s) not found.\n",
                           blockName.c_str()));
  }
  if (size != static_cast<std::size_t>(block->size) || (data == nullptr && size != 0)) {
    // The size is printed whole, never cut to an int.
    return Fail(
        FormatText("|E|CFieldDescriptor: ERROR! The size of data block(%s), ", blockName.c_str()) +
        std::to_string(size) +
        FormatText(" bytes, is not equal to the value(%d bytes) described in format "
                   "file.\n",
                   block->size));
  }
  block_ = block;
  data_ = data;
  formatPath_ = formatPath;  // the parser refused a longer one
  if (block->fields.empty()) return true;

  SortMiddleFields(*block);
  CTraversalContext context(&nodes_, sink_);
  context.WalkBlock(*block, data);
  NumberNodes();
  TrimNodeTexts();
  CheckParameterOrder(nodes_, sink_);
  return true;
}

bool CFieldDescriptor::Fail(const std::string& logLine) {
  sink_.WriteLog(logLine);
  return false;
}

// The guard fields stay first and last; everything between them follows its ID offset, so that
// the numbers rise in the order the nodes are listed.
void CFieldDescriptor::SortMiddleFields(CTypeRecord& block) const {
  if (block.fields.size() < 3) return;
  // Stable, so fields without ID offsets keep the order they were declared in.
  std::stable_sort(
      block.fields.begin() + 1, block.fields.end() - 1,
      [](const CFieldRecord& a, const CFieldRecord& b) { return a.idOffset < b.idOffset; });
}

void CFieldDescriptor::NumberNodes() {
  for (const auto& node : nodes_) {
    // Numbers wrap in 32 bits, as they always have.
    std::uint32_t sum = static_cast<std::uint32_t>(idBase);
    bool numbered = true;
    for (const CValueNode* link = node.get(); link != nullptr && numbered; link = link->parent) {
      numbered = link->idOffset != -1;
      sum += static_cast<std::uint32_t>(link->idOffset);
    }
    if (!numbered || node->valueText.empty()) continue;
    node->id = static_cast<int>(sum);
    node->idText = FormatText("%c%04d", idLetter, node->id);
  }
}

void CFieldDescriptor::TrimNodeTexts() {
  for (const auto& node : nodes_) {
    TrimTrailingWhiteSpace(node->valueText);
    TrimTrailingWhiteSpace(node->idText);
    TrimTrailingWhiteSpace(node->displayName);
  }
}

std::string CFieldDescriptor::TextDump(const std::string& blockName) const {
  std::string text = "[" + blockName + "]\n";
  for (const auto& node : nodes_) {
    if (node->valueText.empty() || !FitsParameterLine(node->valueText)) continue;
    text += FieldPath(*node);
    text += " = ";
    text += node->valueText;
    text += '\n';
  }
  return text;
}

bool CFieldDescriptor::WriteTextDump(const std::string& blockName, const unsigned char* data,
                                     std::size_t size, const std::string& formatPath,
                                     const std::string& outputPath) {
  if (!Bind(blockName, data, size, formatPath)) return false;
  std::string text = TextDump(blockName);
  // Text mode on the controller's system: every line ends in CR LF on disk.
  std::string bytes;
  bytes.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  platform::File file;
  if (!file.Open(outputPath, platform::File::Mode::kCreate)) return false;
  return file.Write(bytes.data(), bytes.size());
}

std::vector<const CValueNode*> CFieldDescriptor::UncarriedNodes() const {
  std::vector<const CValueNode*> nodes;
  for (const auto& node : nodes_) {
    if (!node->valueText.empty() && !FitsParameterLine(node->valueText)) {
      nodes.push_back(node.get());
    }
  }
  return nodes;
}
