// vextool fmt diff: what changed between two format descriptions, and what a migration between
// them drops.
#include <cstdio>
#include <map>
#include <set>
#include <vector>

#include "base/json_writer.h"
#include "base/message_sink.h"
#include "format/field_descriptor.h"
#include "format/node_paths.h"
#include "migration/parameter_validation.h"
#include "tools/vextool/command_line.h"
#include "tools/vextool/fmt_dump.h"
#include "tools/vextool/fmt_subcommands.h"
#include "tools/vextool/standard_output.h"
#include "tools/vextool/vextool_sink.h"
#include "values/scalar_types.h"

namespace {

constexpr int kDiffer = 1;
constexpr int kTrouble = 2;

const CommandSyntax kSyntax = {
    {"vextool fmt diff", "compare two format descriptions field by field",
     "OLD.fmt NEW.fmt [--block NAME] [--json] [--lang-dir DIR]",
     "Compares the structures and block formats of two format descriptions, matched by name:\n"
     "those added and removed, and per structure and block its size, alignment, ID span and\n"
     "pack value, and the members added, removed or changed in type (as written), pointer\n"
     "flag, element count, offset, size, output format, element format or ID offset. For a\n"
     "block the size is the one binding checks: a parameter file written for the old block no\n"
     "longer binds to a new block of another size.\n"
     "Then, per block present in both, the consequence for a migration: the parameters of the\n"
     "old block (as the generation step writes them) whose names do not resolve in the new\n"
     "block (as the transfer step checks them) and so are dropped, the array indexes that fall\n"
     "away when a count shrinks listed apart. Comments do not count as a change.",
     "--block NAME  compare only the block format NAME and the structures it uses\n"
     "--json        one object (below) instead of the text\n"
     "--lang-dir DIR  the installation folder whose Lang\\Lang.ini names the string file of\n"
     "              the {@n} comments of both files (default: the current directory)\n"
     "\n"
     "The JSON object: {\"old\", \"new\" (the paths), \"identical\" (true or false),\n"
     "\"types\": [{\"kind\" (\"struct\" or \"block\"), \"name\", \"change\" (\"added\",\n"
     "\"removed\" or \"changed\"), \"changed\" (the names of the attributes that differ),\n"
     "\"old\" and \"new\" ({\"size\", \"align\", \"idspan\", \"pack\"} or null), \"members\":\n"
     "[{\"name\", \"change\", \"changed\", \"old\" and \"new\" ({\"type\", \"pointer\",\n"
     "\"count\", \"offset\", \"size\", \"format\", \"element_format\", \"idoffset\"} or\n"
     "null)}]}], \"migration\": [{\"block\", \"parameters\" (how many the old block has),\n"
     "\"dropped\" [names], \"indexes_fall_away\" [names]}]}. Texts are escaped as in\n"
     "'vextool fmt layout --json'.",
     "0 the layouts are identical; 1 they differ; 2 a file cannot be read or does not parse,\n"
     "the block is in neither, or the report cannot be written; 64 usage.",
     "$ vextool fmt diff old/vexorand.fmt new/vexorand.fmt --block CController\n"
     "block CController: changed\n"
     "  size 1016 -> 1020\n"
     "  + m_dCornerTolerance: double, offset 1008, size 8, id 9\n"
     "  - m_nBacklashComp: int, offset 996, size 4, id 7\n"
     "migration of CController: 98 parameters, 2 dropped\n"
     "  dropped: m_dRapidOverride\n"
     "  dropped: m_nBacklashComp"},
    {ValueOption("--block"), FlagOption("--json"), ValueOption("--lang-dir")},
    {"OLD.fmt", "NEW.fmt"},
};

std::string TypeName(const CFieldRecord& field) {
  return field.writtenType.empty() ? field.owner->At(field.typeIndex).name : field.writtenType;
}

// One attribute of a member or type, as text for comparing and showing.
struct Attribute {
  const char* name;
  std::string text;
  bool number;  // written to JSON without quotes
  bool absent;  // written to JSON as null
};

std::vector<Attribute> MemberAttributes(const CFieldRecord& field) {
  const auto optional = [](const std::optional<std::string>& text) {
    return Attribute{"", text.value_or(""), false, !text};
  };
  Attribute format = optional(field.outputFormat);
  format.name = "format";
  Attribute names = optional(field.elementFormat);
  names.name = "element_format";
  return {
      {"type", TypeName(field), false, false},
      {"pointer", field.pointer ? "true" : "false", true, false},
      {"count", std::to_string(field.elementCount), true, false},
      {"offset", std::to_string(field.offset), true, false},
      {"size", std::to_string(field.FieldSize()), true, false},
      format,
      names,
      {"idoffset", std::to_string(field.idOffset), true, false},
  };
}

std::vector<Attribute> TypeAttributes(const CTypeRecord& type) {
  return {
      {"size", std::to_string(type.size), true, false},
      {"align", std::to_string(type.alignment), true, false},
      {"idspan", std::to_string(type.idSpan), true, false},
      {"pack", std::to_string(type.pack), true, false},
  };
}

std::vector<std::string> ChangedNames(const std::vector<Attribute>& before,
                                      const std::vector<Attribute>& after) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (before[i].text != after[i].text || before[i].absent != after[i].absent) {
      names.push_back(before[i].name);
    }
  }
  return names;
}

struct MemberChange {
  std::string name;
  const char* change;
  std::vector<std::string> changed;
  const CFieldRecord* before = nullptr;
  const CFieldRecord* after = nullptr;
};

struct TypeChange {
  bool block;
  std::string name;
  const char* change;
  std::vector<std::string> changed;
  const CTypeRecord* before = nullptr;
  const CTypeRecord* after = nullptr;
  std::vector<MemberChange> members;
};

struct MigrationLoss {
  std::string block;
  std::size_t parameters = 0;
  std::vector<std::string> dropped;
  std::vector<std::string> indexesFallAway;
};

// Members pair by name; a name declared twice pairs its first with the first, and so on.
std::vector<MemberChange> CompareMembers(const CTypeRecord& before, const CTypeRecord& after) {
  std::map<std::string, std::vector<const CFieldRecord*>> unpaired;
  for (const CFieldRecord& field : after.fields) unpaired[field.name].push_back(&field);
  std::map<std::string, std::size_t> taken;
  std::set<const CFieldRecord*> paired;
  std::vector<MemberChange> changes;
  for (const CFieldRecord& field : before.fields) {
    const std::vector<const CFieldRecord*>& candidates = unpaired[field.name];
    const std::size_t occurrence = taken[field.name]++;
    if (occurrence >= candidates.size()) {
      changes.push_back({field.name, "removed", {}, &field, nullptr});
      continue;
    }
    const CFieldRecord* match = candidates[occurrence];
    paired.insert(match);
    std::vector<std::string> changed =
        ChangedNames(MemberAttributes(field), MemberAttributes(*match));
    if (!changed.empty()) changes.push_back({field.name, "changed", changed, &field, match});
  }
  for (const CFieldRecord& field : after.fields) {
    if (paired.count(&field) == 0) changes.push_back({field.name, "added", {}, nullptr, &field});
  }
  return changes;
}

void CompareTypes(bool block, const std::string& name, const CTypeRecord* before,
                  const CTypeRecord* after, std::vector<TypeChange>* changes) {
  if (before == nullptr || after == nullptr) {
    changes->push_back(
        {block, name, before == nullptr ? "added" : "removed", {}, before, after, {}});
    return;
  }
  TypeChange change{block,
                    name,
                    "changed",
                    ChangedNames(TypeAttributes(*before), TypeAttributes(*after)),
                    before,
                    after,
                    CompareMembers(*before, *after)};
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

// The binding of the old file a second time keeps quiet: the order check speaks of the old file's
// numbering, which is not what is compared here, and what parsing the old file logs was already
// shown once.
class QuietSink : public IMessageSink {
 public:
  explicit QuietSink(VextoolSink& tool) : tool_(tool) {}
  int ShowMessage(const std::string&, unsigned) override { return kIdCancel; }
  void WriteLog(const std::string& text) override { tool_.KeepQuietly(text); }
  int Language() const override { return tool_.Language(); }

 private:
  VextoolSink& tool_;
};

// The old block's parameters as the generation step writes them (bound to zero bytes: the names
// do not depend on the values), checked as the transfer step checks names against the new block.
MigrationLoss LossOfBlock(const std::string& oldPath, const std::string& name,
                          const CTypeRecord& newBlock, std::size_t size, VextoolSink& sink) {
  MigrationLoss loss;
  loss.block = name;
  const std::vector<unsigned char> zeros(size);
  QuietSink quiet(sink);
  CFieldDescriptor binder(quiet);
  if (!binder.Bind(name, zeros.data(), zeros.size(), oldPath)) return loss;
  CParameterNameResolver resolver(newBlock);
  for (const auto& node : binder.Nodes()) {
    if (node->valueText.empty()) continue;
    ++loss.parameters;
    const std::string path = FieldPath(*node);
    if (resolver.Resolves(path)) continue;
    // With every index at 0, a name that resolves lost only its index.
    std::string first = path;
    for (std::size_t open = 0; (open = first.find('[', open)) != std::string::npos;) {
      const std::size_t close = first.find(']', open);
      if (close == std::string::npos) break;
      first.replace(open + 1, close - open - 1, "0");
      open += 2;
    }
    (resolver.Resolves(first) ? loss.indexesFallAway : loss.dropped).push_back(path);
  }
  return loss;
}

std::string MemberText(const CFieldRecord& field) {
  std::string text = TypeName(field) + (field.pointer ? " *" : "");
  if (field.IsArray()) text += "[" + std::to_string(field.elementCount) + "]";
  text +=
      ", offset " + std::to_string(field.offset) + ", size " + std::to_string(field.FieldSize());
  if (field.idOffset != -1) text += ", id " + std::to_string(field.idOffset);
  if (field.outputFormat) text += ", format " + *field.outputFormat;
  return text;
}

std::string AttributeText(const Attribute& attribute) {
  return attribute.absent ? "none" : attribute.text;
}

std::string ChangeText(const std::vector<Attribute>& before, const std::vector<Attribute>& after,
                       const std::vector<std::string>& changed) {
  std::string text;
  for (std::size_t i = 0; i < before.size(); ++i) {
    for (const std::string& name : changed) {
      if (name != before[i].name) continue;
      if (!text.empty()) text += ", ";
      text += name + " " + AttributeText(before[i]) + " -> " + AttributeText(after[i]);
    }
  }
  return text;
}

std::string DiffText(const std::vector<TypeChange>& types,
                     const std::vector<MigrationLoss>& losses) {
  std::string out;
  for (const TypeChange& type : types) {
    out += std::string(type.block ? "block " : "struct ") + type.name + ": " + type.change + "\n";
    if (!type.changed.empty()) {
      out += "  " +
             ChangeText(TypeAttributes(*type.before), TypeAttributes(*type.after), type.changed) +
             (type.block && type.before->size != type.after->size
                  ? " (old parameter files no longer bind)"
                  : "") +
             "\n";
    }
    for (const MemberChange& member : type.members) {
      if (member.before == nullptr) {
        out += "  + " + member.name + ": " + MemberText(*member.after) + "\n";
      } else if (member.after == nullptr) {
        out += "  - " + member.name + ": " + MemberText(*member.before) + "\n";
      } else {
        out += "  ~ " + member.name + ": " +
               ChangeText(MemberAttributes(*member.before), MemberAttributes(*member.after),
                          member.changed) +
               "\n";
      }
    }
  }
  for (const MigrationLoss& loss : losses) {
    out += "migration of " + loss.block + ": " + std::to_string(loss.parameters) + " parameters, " +
           std::to_string(loss.dropped.size()) + " dropped";
    if (!loss.indexesFallAway.empty()) {
      out += ", " + std::to_string(loss.indexesFallAway.size()) + " array indexes fall away";
    }
    out += "\n";
    for (const std::string& name : loss.dropped) out += "  dropped: " + name + "\n";
    for (const std::string& name : loss.indexesFallAway)
      out += "  index falls away: " + name + "\n";
  }
  return out;
}

void WriteAttributes(const std::vector<Attribute>& attributes, JsonWriter& json) {
  json.Open('{');
  for (const Attribute& attribute : attributes) {
    json.Key(attribute.name);
    if (attribute.absent) {
      json.out() += "null";
    } else if (attribute.number) {
      json.out() += attribute.text;
    } else {
      json.String(attribute.text);
    }
  }
  json.Close('}');
}

template <typename Record>
void WriteSide(const Record* record, std::vector<Attribute> (*attributes)(const Record&),
               JsonWriter& json) {
  if (record == nullptr) {
    json.out() += "null";
  } else {
    WriteAttributes(attributes(*record), json);
  }
}

void WriteNames(const std::vector<std::string>& names, JsonWriter& json) {
  json.Open('[');
  for (const std::string& name : names) {
    json.Element();
    json.String(name);
  }
  json.Close(']');
}

// What a type change and a member change share: name, change, changed, old and new.
template <typename Change, typename Record>
void WriteChange(const Change& change, std::vector<Attribute> (*attributes)(const Record&),
                 JsonWriter& json) {
  json.Key("name");
  json.String(change.name);
  json.Key("change");
  json.String(change.change);
  json.Key("changed");
  WriteNames(change.changed, json);
  json.Key("old");
  WriteSide(change.before, attributes, json);
  json.Key("new");
  WriteSide(change.after, attributes, json);
}

std::string DiffJson(const std::string& oldPath, const std::string& newPath,
                     const std::vector<TypeChange>& types, const std::vector<MigrationLoss>& losses,
                     bool identical) {
  JsonWriter json;
  json.Open('{');
  json.Key("old");
  json.String(oldPath);
  json.Key("new");
  json.String(newPath);
  json.Key("identical");
  json.Bool(identical);
  json.Key("types");
  json.Open('[');
  for (const TypeChange& type : types) {
    json.Element();
    json.Open('{');
    json.Key("kind");
    json.String(type.block ? "block" : "struct");
    WriteChange(type, TypeAttributes, json);
    json.Key("members");
    json.Open('[');
    for (const MemberChange& member : type.members) {
      json.Element();
      json.Open('{');
      WriteChange(member, MemberAttributes, json);
      json.Close('}');
    }
    json.Close(']');
    json.Close('}');
  }
  json.Close(']');
  json.Key("migration");
  json.Open('[');
  for (const MigrationLoss& loss : losses) {
    json.Element();
    json.Open('{');
    json.Key("block");
    json.String(loss.block);
    json.Key("parameters");
    json.Number(static_cast<long long>(loss.parameters));
    json.Key("dropped");
    WriteNames(loss.dropped, json);
    json.Key("indexes_fall_away");
    WriteNames(loss.indexesFallAway, json);
    json.Close('}');
  }
  json.Close(']');
  json.Close('}');
  return json.out() + "\n";
}

}  // namespace

int RunFmtDiff(const CommandArguments& arguments, VextoolSink& sink) {
  CommandLine line;
  if (const std::optional<int> status = ReadCommandLine(arguments, kSyntax, &line)) return *status;
  UseLanguageFolderOf(line.Value("--lang-dir"), sink);
  const std::string& oldPath = line.Operand(0);
  const std::string& newPath = line.Operand(1);
  CommandSink counted(sink);
  CFormatParser before(counted), after(counted);
  if (!ParseFormatFile(oldPath, before, counted) || !ParseFormatFile(newPath, after, counted)) {
    return kTrouble;
  }

  const bool oneBlock = line.Has("--block");
  const std::string only = line.Value("--block");
  std::set<std::string> structures;
  if (oneBlock) {
    const CTypeRecord* inOld = before.FindBlock(only);
    const CTypeRecord* inNew = after.FindBlock(only);
    if (inOld == nullptr && inNew == nullptr) {
      std::fprintf(stderr, "vextool fmt diff: no block format '%s' in either file\n", only.c_str());
      return kTrouble;
    }
    if (inOld != nullptr) CollectUsedStructures(*inOld, &structures);
    if (inNew != nullptr) CollectUsedStructures(*inNew, &structures);
  }

  std::vector<TypeChange> types;
  std::set<std::string> seen;
  const auto compareStructure = [&](const std::string& name) {
    if (!seen.insert(name).second || (oneBlock && structures.count(name) == 0)) return;
    CompareTypes(false, name, FindStructure(before, name), FindStructure(after, name), &types);
  };
  for (int i = kScalarTypeCount; i < before.Types().Count(); ++i) {
    compareStructure(before.Types().At(i).name);
  }
  for (int i = kScalarTypeCount; i < after.Types().Count(); ++i) {
    compareStructure(after.Types().At(i).name);
  }

  std::vector<MigrationLoss> losses;
  std::set<std::string> seenBlocks;
  const auto compareBlock = [&](const std::string& name) {
    if (!seenBlocks.insert(name).second || (oneBlock && name != only)) return;
    const CTypeRecord* inOld = before.FindBlock(name);
    const CTypeRecord* inNew = after.FindBlock(name);
    CompareTypes(true, name, inOld, inNew, &types);
    if (inOld != nullptr && inNew != nullptr) {
      losses.push_back(
          LossOfBlock(oldPath, name, *inNew, static_cast<std::size_t>(inOld->size), sink));
    }
  };
  for (int i = 0; i < before.BlockCount(); ++i) compareBlock(before.Block(i).name);
  for (int i = 0; i < after.BlockCount(); ++i) compareBlock(after.Block(i).name);

  const bool identical = types.empty();
  const std::string text = line.Has("--json") ? DiffJson(oldPath, newPath, types, losses, identical)
                                              : DiffText(types, losses);
  if (!WriteStandardOutput(text)) return kTrouble;
  return identical ? 0 : kDiffer;
}
