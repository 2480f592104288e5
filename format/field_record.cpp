#include "format/field_record.h"

#include "format/type_record.h"
#include "values/scalar_types.h"

const CTypeRecord& CFieldRecord::FieldType() const {
  return owner->At(pointer ? kVoidPointerType : type_index);
}

int CFieldRecord::FieldAlignment() const {
  return FieldType().alignment;
}

std::int64_t CFieldRecord::FieldSize() const {
  const std::int64_t count = element_count == 0 ? 1 : element_count;
  return count * FieldType().size;
}
