// The built-in aliases of the format language, registered after the scalar types.
#pragma once

struct ScalarAliasRow {
  const char* name;
  // The scalar type it stands for, by its name in kScalarTypes.
  const char* scalarTypeName;
  // Replaces the scalar type's default output; nullptr for none.
  const char* outputFormat;
};

constexpr int kScalarAliasCount = 16;

// The rows in registration order.
extern const ScalarAliasRow kScalarAliases[kScalarAliasCount];
