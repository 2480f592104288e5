// vextool fmt diff's report as text.
#include "tools/vextool/fmt_diff_model.h"

namespace {

const Attribute& Find(const Attributes& attributes, const char* name) {
  for (const Attribute& attribute : attributes) {
    if (std::string(name) == attribute.name) return attribute;
  }
  static const Attribute kNone{"", Attribute::Kind::kAbsent, ""};
  return kNone;
}

std::string Shown(const Attribute& attribute) {
  switch (attribute.kind) {
    case Attribute::Kind::kText:
      return attribute.text;
    case Attribute::Kind::kNumber:
      return std::to_string(attribute.number);
    case Attribute::Kind::kBool:
      return attribute.number != 0 ? "true" : "false";
    case Attribute::Kind::kAbsent:
      break;
  }
  return "none";
}

// "int *[3], offset 8, size 24, id 2, format %X": a member as declared and placed.
std::string MemberText(const Attributes& member) {
  std::string text = Shown(Find(member, "type"));
  if (Find(member, "pointer").number != 0) text += " *";
  const long long count = Find(member, "count").number;
  if (count != 0) text += "[" + std::to_string(count) + "]";
  text += ", offset " + Shown(Find(member, "offset")) + ", size " + Shown(Find(member, "size"));
  if (Find(member, "idoffset").number != -1) text += ", id " + Shown(Find(member, "idoffset"));
  const Attribute& format = Find(member, "format");
  if (format.kind != Attribute::Kind::kAbsent) text += ", format " + format.text;
  return text;
}

std::string ChangeText(const Change& change) {
  std::string text;
  for (std::size_t i = 0; i < change.before.size(); ++i) {
    for (const std::string& name : change.changed) {
      if (name != change.before[i].name) continue;
      if (!text.empty()) text += ", ";
      text += name + " " + Shown(change.before[i]) + " -> " + Shown(change.after[i]);
    }
  }
  return text;
}

void AppendType(const TypeChange& type, std::string& out) {
  out += std::string(type.block ? "block " : "struct ") + type.name + ": " + type.change + "\n";
  if (!type.changed.empty()) {
    out += "  " + ChangeText(type) +
           (type.sizeChanged ? " (old parameter files no longer bind)" : "") + "\n";
  }
  for (const Change& member : type.members) {
    if (member.before.empty()) {
      out += "  + " + member.name + ": " + MemberText(member.after) + "\n";
    } else if (member.after.empty()) {
      out += "  - " + member.name + ": " + MemberText(member.before) + "\n";
    } else {
      out += "  ~ " + member.name + ": " + ChangeText(member) + "\n";
    }
  }
  for (const LikelyRename& rename : type.renames) {
    out += "  likely renamed: " + rename.before + " -> " + rename.after +
           " (same type, offset and id)\n";
  }
}

void AppendLoss(const MigrationLoss& loss, std::string& out) {
  out += "migration of " + loss.block + ": " + std::to_string(loss.parameters) + " parameters, " +
         std::to_string(loss.dropped.size()) + " dropped";
  if (!loss.indexesFallAway.empty()) {
    out += ", " + std::to_string(loss.indexesFallAway.size()) + " array indexes fall away";
  }
  out += "\n";
  for (const std::string& name : loss.dropped) out += "  dropped: " + name + "\n";
  for (const std::string& name : loss.indexesFallAway) {
    out += "  index falls away: " + name + "\n";
  }
}

}  // namespace

std::string DiffText(const DiffReport& report) {
  std::string out;
  for (const TypeChange& type : report.types) AppendType(type, out);
  for (const MigrationLoss& loss : report.losses) AppendLoss(loss, out);
  return out;
}
