#include "format/traversal_context.h"

#include <algorithm>
#include <cstring>

#include "base/message_sink.h"
#include "base/messages.h"
#include "base/text_format.h"
#include "format/comment_options.h"
#include "format/type_record.h"
#include "platform/text_encoding.h"
#include "values/output_format.h"

namespace {

std::string Quoted(const std::string& text) {
  return '"' + text + '"';
}

// Restores a member of the context when a walk leaves its level.
template <typename T>
class SavedValue {
 public:
  explicit SavedValue(T& value) : value_(value), saved_(value) {}
  ~SavedValue() { value_ = saved_; }
  SavedValue(const SavedValue&) = delete;
  SavedValue& operator=(const SavedValue&) = delete;

 private:
  T& value_;
  T saved_;
};

}  // namespace

void CTraversalContext::WalkBlock(const CTypeRecord& block, const unsigned char* data) {
  for (const CFieldRecord& field : block.fields) Walk(field, data + field.offset);
}

void CTraversalContext::AddNode(std::unique_ptr<CValueNode> node) {
  nodes_->push_back(std::move(node));
}

std::unique_ptr<CValueNode> CTraversalContext::MakeNode(const CFieldRecord& field,
                                                        const unsigned char* data) const {
  if (!nodes_) return nullptr;
  auto node = std::make_unique<CValueNode>();
  node->parent = currentParent;
  node->field = &field;
  node->data = data;
  node->idOffset = field.idOffset;
  node->displayName =
      platform::SystemTextToUtf8(ReadCommentOption(field.comment, 'n').value_or(field.name));
  return node;
}

void CTraversalContext::Walk(const CFieldRecord& field, const unsigned char* data) {
  if (field.stringField) {
    StringWalk(field, data);
  } else {
    FieldWalk(field, data);
  }
}

void CTraversalContext::FieldWalk(const CFieldRecord& field, const unsigned char* data) {
  if (field.IsArray()) {
    ArrayWalk(field, data);
  } else {
    SingleWalk(field, data);
  }
}

void CTraversalContext::SingleWalk(const CFieldRecord& field, const unsigned char* data) {
  std::unique_ptr<CValueNode> node = MakeNode(field, data);
  if (!node) return;
  const CTypeRecord& type = field.FieldType();
  CValueNode& added = *node;
  if (!type.HasFields()) {
    type.Render(*this, added);
    AddNode(std::move(node));
  } else {
    AddNode(std::move(node));
    type.Render(*this, added);
  }
}

void CTraversalContext::RenderStructure(CValueNode& node) {
  const CTypeRecord& type = node.field->FieldType();
  if (!type.HasFields()) return;
  SavedValue<bool> savedSingle(singleMember);
  if (type.fields.size() == 1) singleMember = true;
  SavedValue<CValueNode*> savedParent(currentParent);
  currentParent = &node;
  for (const CFieldRecord& part : type.fields) Walk(part, node.data + part.offset);
}

void CTraversalContext::ArrayWalk(const CFieldRecord& field, const unsigned char* data) {
  const CTypeRecord& type = field.FieldType();
  std::unique_ptr<CValueNode> array = MakeNode(field, data);
  if (!array) return;
  CValueNode& arrayNode = *array;
  AddNode(std::move(array));
  SavedValue<CValueNode*> savedParent(currentParent);
  currentParent = &arrayNode;
  // A scalar element takes one parameter number.
  const std::uint32_t span = type.HasFields() ? static_cast<std::uint32_t>(type.idSpan) : 1u;
  const int first = std::max(field.lowerIndex, 0);
  const int last = std::min(field.upperIndex, field.elementCount - 1);
  for (int i = first; i <= last; ++i) {
    std::unique_ptr<CValueNode> element =
        MakeNode(field, data + static_cast<std::size_t>(i) * static_cast<std::size_t>(type.size));
    element->elementIndex = i;
    element->elementCount = field.elementCount;
    element->displayName =
        field.elementFormat
            ? platform::SystemTextToUtf8(FormatElementName(field.elementFormat->c_str(), i))
            : FormatText(sink_.Localise(kArrayGroupName), i);
    // Numbers wrap in 32 bits, as they always have.
    element->idOffset =
        field.idOffset == -1 ? -1 : static_cast<int>(static_cast<std::uint32_t>(i) * span);
    CValueNode& elementNode = *element;
    if (type.HasFields()) {
      AddNode(std::move(element));
      type.Render(*this, elementNode);
    } else {
      type.Render(*this, elementNode);
      AddNode(std::move(element));
    }
  }
}

void CTraversalContext::StringWalk(const CFieldRecord& field, const unsigned char* data) {
  if (!nodes_) return;
  const std::size_t limit = static_cast<std::size_t>(field.elementCount);
  const void* nul = std::memchr(data, 0, limit);
  const std::size_t length =
      nul ? static_cast<std::size_t>(static_cast<const unsigned char*>(nul) - data) : limit;
  const std::string text = Quoted(std::string(reinterpret_cast<const char*>(data), length));
  if (singleMember) {
    if (currentParent) currentParent->valueText = text;
    return;
  }
  std::unique_ptr<CValueNode> node = MakeNode(field, data);
  node->valueText = text;
  AddNode(std::move(node));
}
