// One field of a structure or block format: what was declared, and where the layout put it.
#pragma once

#include <climits>
#include <cstdint>
#include <optional>
#include <string>

class CTypeRecord;
class CTypeTable;

class CFieldRecord {
 public:
  // The type a field's bytes hold: `void*` for a pointer field, else the declared type.
  const CTypeRecord& FieldType() const;
  int FieldAlignment() const;
  // Element count (1 for a plain field) times the field type's size.
  std::int64_t FieldSize() const;
  bool IsArray() const { return elementCount != 0; }

  std::string name;
  // From the alias or option `f`; already accepted by the output format check.
  std::optional<std::string> outputFormat;
  // Option `F`, applied to an array element's index; already checked.
  std::optional<std::string> elementFormat;
  // The inner text of the field's comment (after {@n} was looked up).
  std::optional<std::string> comment;
  int typeIndex = -1;
  // The type's name as the file wrote it: an alias keeps its own name.
  std::string writtenType;
  bool pointer = false;
  // 0 for a plain field.
  int elementCount = 0;
  // Byte offset inside the containing type; set by the layout.
  int offset = -1;
  // Option `k`: the element indexes outside this range get no value node.
  int lowerIndex = -1;
  int upperIndex = INT_MAX;
  // Option `g`; -1 gives neither the field nor anything inside it a parameter number.
  int idOffset = -1;
  // A `char` or `unsigned char` array without an output format, walked as one text.
  bool stringField = false;
  // The table that `typeIndex` refers to.
  const CTypeTable* owner = nullptr;
};
