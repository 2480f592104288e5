// Types of the format language: built-in scalars, declared structures and block formats, with the
// layout rule that places their fields, and the table that registers them.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "format/field_record.h"

struct ScalarTypeRow;
class CTraversalContext;
struct CValueNode;

enum class TypeKind {
  kScalar,     // a row of the scalar type table
  kStructure,  // `struct`: rounded up to its alignment when declared
  kBlock       // `field`: the layout of a whole parameter block, not rounded up
};

class CTypeRecord {
 public:
  CTypeRecord(TypeKind typeKind, std::string typeName);
  static CTypeRecord Scalar(const ScalarTypeRow& row);

  // If the size is not a multiple of n, it becomes the next multiple of n. False, with nothing
  // changed, when that would outgrow 32-bit sizes.
  bool RoundSizeUp(int n);
  // Places `field` after the fields so far under pack value `packValue` (1, 2, 4 or 8) and appends
  // it. False, with nothing changed, when the type would outgrow 32-bit sizes.
  bool AddField(CFieldRecord field, int packValue);
  // Sets the node's value text (scalars) or walks its parts (structures).
  void Render(CTraversalContext& context, CValueNode& node) const;
  bool HasFields() const { return !fields.empty(); }

  TypeKind kind;
  std::string name;
  // Position in the type table or block table.
  int index = -1;
  int size = 0;
  int alignment = 1;
  // Parameter numbers one instance occupies (option `r`, else the number of fields); 0 for scalars.
  int idSpan = 0;
  // The pack value the fields were laid out under; 0 for scalars.
  int pack = 0;
  // Levels of structures inside one another, 0 for a scalar; bounds the walks' recursion.
  int nesting = 0;
  // The scalar row that renders it; null for structures and blocks.
  const ScalarTypeRow* scalar = nullptr;
  std::vector<CFieldRecord> fields;
};

// The registered types; a type's position is its type index. Records never move once added, so
// field records and value nodes may point at them.
class CTypeTable {
 public:
  // Appends the record, sets its index and returns it.
  CTypeRecord& Add(CTypeRecord record);
  void Clear();

  int Count() const { return static_cast<int>(records_.size()); }
  const CTypeRecord& At(int index) const { return *records_[static_cast<std::size_t>(index)]; }
  CTypeRecord& At(int index) { return *records_[static_cast<std::size_t>(index)]; }
  // The index of the first type registered under `name`, or -1.
  int Find(const std::string& name) const;

 private:
  std::vector<std::unique_ptr<CTypeRecord>> records_;
  std::unordered_map<std::string, int> firstByName_;
};
