// vextool fmt diff's report: what changed between two format descriptions and what a migration
// between them drops, built once and written as text or as JSON.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CFormatParser;
class CTypeRecord;
class VextoolSink;

// One attribute of a member or type, as the writers show it.
struct Attribute {
  enum class Kind { kText, kNumber, kBool, kAbsent };
  const char* name;
  Kind kind;
  std::string text;      // kText
  long long number = 0;  // kNumber, and kBool as 0 or 1

  bool operator==(const Attribute& other) const {
    return kind == other.kind && text == other.text && number == other.number;
  }
  bool operator!=(const Attribute& other) const { return !(*this == other); }
};

using Attributes = std::vector<Attribute>;

// A member or a type: added (no `before`), removed (no `after`) or changed in `changed`.
struct Change {
  std::string name;
  const char* change;  // "added", "removed", "changed"
  std::vector<std::string> changed;
  Attributes before, after;  // empty on the side where it does not exist
};

// A removed and an added member of the same type, offset and ID: most likely one renamed.
struct LikelyRename {
  std::string before, after;
};

struct TypeChange : Change {
  bool block = false;
  bool sizeChanged = false;  // for a block: old parameter files no longer bind
  std::vector<Change> members;
  std::vector<LikelyRename> renames;
};

struct MigrationLoss {
  std::string block;
  std::size_t parameters = 0;
  std::vector<std::string> dropped;
  std::vector<std::string> indexesFallAway;
};

struct DiffReport {
  std::string oldPath, newPath;  // as the host names the files, in UTF-8
  std::vector<TypeChange> types;
  std::vector<MigrationLoss> losses;
  bool Identical() const { return types.empty(); }
};

// The changes of the structures and block formats of `before` to `after`; with `onlyBlock`, of
// that block and the structures it uses only. False when `onlyBlock` is in neither.
bool CompareFormats(CFormatParser& before, CFormatParser& after, const std::string* onlyBlock,
                    std::vector<TypeChange>* changes);

// The parameters of the old block NAME (read from `oldPath`) that the new block drops.
MigrationLoss LossOfBlock(const std::string& oldPath, const std::string& name,
                          const CTypeRecord& newBlock, std::size_t size, VextoolSink& sink);

std::string DiffText(const DiffReport& report);
std::string DiffJson(const DiffReport& report);
