#include "format/type_record.h"

#include <algorithm>
#include <climits>

#include "format/comment_options.h"
#include "format/traversal_context.h"
#include "values/scalar_types.h"

namespace {

std::int64_t RoundUp(std::int64_t value, int n) {
  return n > 0 && value % n != 0 ? value + n - value % n : value;
}

void RenderScalarNode(const ScalarTypeRow& row, CValueNode& node, IMessageSink& sink) {
  const CFieldRecord& field = *node.field;
  ScalarValue value;
  value.data = node.data;
  if (field.outputFormat) value.outputFormat = field.outputFormat->c_str();
  if (row.multiplier == MultiplierKind::kInteger) {
    value.integerMultiplier = ReadIntegerOption(field.comment, 'm', sink).value_or(1);
  } else if (row.multiplier == MultiplierKind::kReal) {
    value.realMultiplier = ReadRealOption(field.comment, 'm', sink).value_or(1.0);
  }
  node.valueText = row.render(value);
}

}  // namespace

CTypeRecord::CTypeRecord(TypeKind typeKind, std::string typeName)
    : kind(typeKind), name(std::move(typeName)) {}

CTypeRecord CTypeRecord::Scalar(const ScalarTypeRow& row) {
  CTypeRecord record(TypeKind::kScalar, row.name);
  record.size = row.size;
  record.alignment = row.alignment;
  record.scalar = &row;
  return record;
}

bool CTypeRecord::RoundSizeUp(int n) {
  const std::int64_t rounded = RoundUp(size, n);
  if (rounded > INT_MAX) return false;
  size = static_cast<int>(rounded);
  return true;
}

bool CTypeRecord::AddField(CFieldRecord field, int packValue) {
  const CTypeRecord& fieldType = field.FieldType();
  const int a = fieldType.alignment;
  const int newAlignment = alignment < a ? std::min(a, packValue) : alignment;
  const std::int64_t offset = RoundUp(size, std::min(a, newAlignment));
  const std::int64_t end = offset + field.FieldSize();
  if (end > INT_MAX) return false;

  alignment = newAlignment;
  size = static_cast<int>(end);
  nesting = std::max(nesting, fieldType.nesting + 1);
  field.offset = static_cast<int>(offset);
  if ((field.typeIndex == kCharType || field.typeIndex == kUnsignedCharType) &&
      field.elementCount != 0 && !field.outputFormat) {
    field.stringField = true;
  }
  fields.push_back(std::move(field));
  return true;
}

void CTypeRecord::Render(CTraversalContext& context, CValueNode& node) const {
  if (scalar) {
    RenderScalarNode(*scalar, node, context.Sink());
  } else if (kind == TypeKind::kStructure) {
    context.RenderStructure(node);
  }
}

CTypeRecord& CTypeTable::Add(CTypeRecord record) {
  record.index = Count();
  firstByName_.emplace(record.name, record.index);
  records_.push_back(std::make_unique<CTypeRecord>(std::move(record)));
  return *records_.back();
}

void CTypeTable::Clear() {
  records_.clear();
  firstByName_.clear();
}

int CTypeTable::Find(const std::string& name) const {
  const auto found = firstByName_.find(name);
  return found == firstByName_.end() ? -1 : found->second;
}
