#include "format/field_record.h"

#include "format/type_record.h"
#include "values/scalar_types.h"

const CTypeRecord& CFieldRecord::FieldType() const {
  return owner->At(pointer ? kVoidPointerType : typeIndex);
}

int CFieldRecord::FieldAlignment() const {
  return FieldType().alignment;
}

std::int64_t CFieldRecord::FieldSize() const {
  const std::int64_t count = elementCount == 0 ? 1 : elementCount;
  return count * FieldType().size;
}
