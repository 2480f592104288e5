// vextool fmt diff's report as one JSON object.
#include "base/json_writer.h"
#include "tools/vextool/fmt_diff_model.h"

namespace {

void WriteSide(const Attributes& attributes, JsonWriter& json) {
  if (attributes.empty()) {
    json.Null();
    return;
  }
  json.Open('{');
  for (const Attribute& attribute : attributes) {
    json.Key(attribute.name);
    switch (attribute.kind) {
      case Attribute::Kind::kText:
        json.String(attribute.text);
        break;
      case Attribute::Kind::kNumber:
        json.Number(attribute.number);
        break;
      case Attribute::Kind::kBool:
        json.Bool(attribute.number != 0);
        break;
      case Attribute::Kind::kAbsent:
        json.Null();
        break;
    }
  }
  json.Close('}');
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
void WriteChange(const Change& change, JsonWriter& json) {
  json.Key("name");
  json.String(change.name);
  json.Key("change");
  json.String(change.change);
  json.Key("changed");
  WriteNames(change.changed, json);
  json.Key("old");
  WriteSide(change.before, json);
  json.Key("new");
  WriteSide(change.after, json);
}

void WriteType(const TypeChange& type, JsonWriter& json) {
  json.Element();
  json.Open('{');
  json.Key("kind");
  json.String(type.block ? "block" : "struct");
  WriteChange(type, json);
  json.Key("members");
  json.Open('[');
  for (const Change& member : type.members) {
    json.Element();
    json.Open('{');
    WriteChange(member, json);
    json.Close('}');
  }
  json.Close(']');
  json.Key("likely_renamed");
  json.Open('[');
  for (const LikelyRename& rename : type.renames) {
    json.Element();
    json.Open('{');
    json.Key("old");
    json.String(rename.before);
    json.Key("new");
    json.String(rename.after);
    json.Close('}');
  }
  json.Close(']');
  json.Close('}');
}

void WriteLoss(const MigrationLoss& loss, JsonWriter& json) {
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

}  // namespace

std::string DiffJson(const DiffReport& report) {
  JsonWriter json;
  json.Open('{');
  json.Key("old");
  json.Utf8(report.oldPath);
  json.Key("new");
  json.Utf8(report.newPath);
  json.Key("identical");
  json.Bool(report.Identical());
  json.Key("types");
  json.Open('[');
  for (const TypeChange& type : report.types) WriteType(type, json);
  json.Close(']');
  json.Key("migration");
  json.Open('[');
  for (const MigrationLoss& loss : report.losses) WriteLoss(loss, json);
  json.Close(']');
  json.Close('}');
  return json.out() + "\n";
}
