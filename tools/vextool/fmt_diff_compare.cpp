// vextool fmt diff: pairing the structures, blocks and members of two format descriptions.
#include <map>
#include <set>

#include "format/format_parser.h"
#include "tools/vextool/fmt_diff_model.h"
#include "values/scalar_types.h"

namespace {

Attribute Text(const char* name, const std::string& text) {
  return {name, Attribute::Kind::kText, text};
}
Attribute Number(const char* name, long long number) {
  return {name, Attribute::Kind::kNumber, "", number};
}
Attribute Optional(const char* name, const std::optional<std::string>& text) {
  return text ? Text(name, *text) : Attribute{name, Attribute::Kind::kAbsent, ""};
}

std::string TypeName(const CFieldRecord& field) {
  return field.writtenType.empty() ? field.owner->At(field.typeIndex).name : field.writtenType;
}

Attributes MemberAttributes(const CFieldRecord& field) {
  return {
      Text("type", TypeName(field)),
      {"pointer", Attribute::Kind::kBool, "", field.pointer ? 1 : 0},
      Number("count", field.elementCount),
      Number("offset", field.offset),
      Number("size", field.FieldSize()),
      Optional("format", field.outputFormat),
      Optional("element_format", field.elementFormat),
      Number("idoffset", field.idOffset),
  };
}

Attributes TypeAttributes(const CTypeRecord& type) {
  return {
      Number("size", type.size),
      Number("align", type.alignment),
      Number("idspan", type.idSpan),
      Number("pack", type.pack),
  };
}

std::vector<std::string> ChangedNames(const Attributes& before, const Attributes& after) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (before[i] != after[i]) names.push_back(before[i].name);
  }
  return names;
}

// Members pair by name; a name declared twice pairs its first with the first, and so on.
std::vector<Change> CompareMembers(const CTypeRecord& before, const CTypeRecord& after) {
  std::map<std::string, std::vector<const CFieldRecord*>> unpaired;
  for (const CFieldRecord& field : after.fields) unpaired[field.name].push_back(&field);
  std::map<std::string, std::size_t> taken;
  std::set<const CFieldRecord*> paired;
  std::vector<Change> changes;
  for (const CFieldRecord& field : before.fields) {
    const std::vector<const CFieldRecord*>& candidates = unpaired[field.name];
    const std::size_t occurrence = taken[field.name]++;
    if (occurrence >= candidates.size()) {
      changes.push_back({field.name, "removed", {}, MemberAttributes(field), {}});
      continue;
    }
    const CFieldRecord* match = candidates[occurrence];
    paired.insert(match);
    Change change{field.name, "changed", {}, MemberAttributes(field), MemberAttributes(*match)};
    change.changed = ChangedNames(change.before, change.after);
    if (!change.changed.empty()) changes.push_back(change);
  }
  for (const CFieldRecord& field : after.fields) {
    if (paired.count(&field) == 0) {
      changes.push_back({field.name, "added", {}, {}, MemberAttributes(field)});
    }
  }
  return changes;
}

// A removed member whose type, offset and ID an added one has: everything but the name.
std::vector<LikelyRename> LikelyRenames(const std::vector<Change>& members) {
  const auto sameButName = [](const Attributes& one, const Attributes& other) {
    const auto find = [](const Attributes& attributes, const std::string& name) {
      for (const Attribute& attribute : attributes) {
        if (name == attribute.name) return attribute;
      }
      return Attribute{"", Attribute::Kind::kAbsent, ""};
    };
    for (const char* name : {"type", "offset", "idoffset"}) {
      if (find(one, name) != find(other, name)) return false;
    }
    return true;
  };
  std::vector<LikelyRename> renames;
  std::set<const Change*> taken;
  for (const Change& removed : members) {
    if (!removed.after.empty()) continue;
    for (const Change& added : members) {
      if (!added.before.empty() || taken.count(&added) != 0 ||
          !sameButName(removed.before, added.after)) {
        continue;
      }
      taken.insert(&added);
      renames.push_back({removed.name, added.name});
      break;
    }
  }
  return renames;
}

void CompareTypes(bool block, const std::string& name, const CTypeRecord* before,
                  const CTypeRecord* after, std::vector<TypeChange>* changes) {
  TypeChange change;
  change.block = block;
  change.name = name;
  if (before != nullptr) change.before = TypeAttributes(*before);
  if (after != nullptr) change.after = TypeAttributes(*after);
  if (before == nullptr || after == nullptr) {
    change.change = before == nullptr ? "added" : "removed";
    changes->push_back(change);
    return;
  }
  change.change = "changed";
  change.changed = ChangedNames(change.before, change.after);
  change.sizeChanged = block && before->size != after->size;
  change.members = CompareMembers(*before, *after);
  change.renames = LikelyRenames(change.members);
  if (!change.changed.empty() || !change.members.empty()) changes->push_back(change);
}

// The structures a block uses, however deeply, by name.
void CollectUsedStructures(const CTypeRecord& type, std::set<std::string>* names) {
  for (const CFieldRecord& field : type.fields) {
    if (field.pointer || field.typeIndex < kScalarTypeCount) continue;
    const CTypeRecord& used = field.owner->At(field.typeIndex);
    if (names->insert(used.name).second) CollectUsedStructures(used, names);
  }
}

const CTypeRecord* FindStructure(const CFormatParser& parser, const std::string& name) {
  const int index = parser.Types().Find(name);
  return index >= kScalarTypeCount ? &parser.Types().At(index) : nullptr;
}

}  // namespace

bool CompareFormats(CFormatParser& before, CFormatParser& after, const std::string* onlyBlock,
                    std::vector<TypeChange>* changes) {
  std::set<std::string> structures;
  if (onlyBlock != nullptr) {
    const CTypeRecord* inOld = before.FindBlock(*onlyBlock);
    const CTypeRecord* inNew = after.FindBlock(*onlyBlock);
    if (inOld == nullptr && inNew == nullptr) return false;
    if (inOld != nullptr) CollectUsedStructures(*inOld, &structures);
    if (inNew != nullptr) CollectUsedStructures(*inNew, &structures);
  }

  std::set<std::string> seen;
  const auto compareStructure = [&](const std::string& name) {
    if (!seen.insert(name).second || (onlyBlock != nullptr && structures.count(name) == 0)) return;
    CompareTypes(false, name, FindStructure(before, name), FindStructure(after, name), changes);
  };
  for (int i = kScalarTypeCount; i < before.Types().Count(); ++i) {
    compareStructure(before.Types().At(i).name);
  }
  for (int i = kScalarTypeCount; i < after.Types().Count(); ++i) {
    compareStructure(after.Types().At(i).name);
  }

  std::set<std::string> seenBlocks;
  const auto compareBlock = [&](const std::string& name) {
    if (!seenBlocks.insert(name).second || (onlyBlock != nullptr && name != *onlyBlock)) return;
    CompareTypes(true, name, before.FindBlock(name), after.FindBlock(name), changes);
  };
  for (int i = 0; i < before.BlockCount(); ++i) compareBlock(before.Block(i).name);
  for (int i = 0; i < after.BlockCount(); ++i) compareBlock(after.Block(i).name);
  return true;
}
