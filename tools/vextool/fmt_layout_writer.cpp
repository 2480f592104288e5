#include "tools/vextool/fmt_layout_writer.h"

#include <algorithm>
#include <cinttypes>
#include <climits>
#include <optional>

#include "base/json_writer.h"
#include "base/text_format.h"
#include "format/format_parser.h"
#include "values/scalar_types.h"

namespace {

// Where the declaration ends and the place columns begin.
constexpr std::size_t kDeclarationWidth = 44;

// As the file wrote it, so an alias shows its own name.
const std::string& DeclaredTypeName(const CFieldRecord& field) {
  return field.writtenType.empty() ? field.owner->At(field.typeIndex).name : field.writtenType;
}

// The alignment the layout placed the field by: its type's own, capped by the pack value.
int PackedAlignment(const CFieldRecord& field, const CTypeRecord& type) {
  return type.pack > 0 ? std::min(field.FieldAlignment(), type.pack) : field.FieldAlignment();
}

std::string Declarator(const CFieldRecord& field) {
  std::string text = DeclaredTypeName(field) + (field.pointer ? " *" : " ") + field.name;
  if (field.IsArray()) text += "[" + std::to_string(field.elementCount) + "]";
  return text + ";";
}

// Formats as C would write them, so that a line feed stays on its line.
std::string CQuoted(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (c == '\n') {
      quoted += "\\n";
    } else if (byte < 0x20 || byte == 0x7F) {
      quoted += FormatText("\\x%02X", byte);
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string FieldNotes(const CFieldRecord& field, const CTypeRecord& type) {
  std::string notes;
  if (PackedAlignment(field, type) != field.FieldAlignment()) {
    notes += "  own align " + std::to_string(field.FieldAlignment());
  }
  if (field.idOffset != -1) notes += "  id " + std::to_string(field.idOffset);
  if (field.lowerIndex != -1 || field.upperIndex != INT_MAX) {
    notes += FormatText("  k %d~%d", field.lowerIndex, field.upperIndex);
  }
  if (field.stringField) notes += "  string";
  if (field.outputFormat) notes += "  format " + CQuoted(*field.outputFormat);
  if (field.elementFormat) notes += "  names " + CQuoted(*field.elementFormat);
  return notes;
}

std::string Hole(std::int64_t bytes, const char* what) {
  return FormatText("    /* XXX %" PRId64 " byte%s %s */\n", bytes, bytes == 1 ? "" : "s", what);
}

void WriteTypeText(const CTypeRecord& type, std::string& out) {
  const bool block = type.kind == TypeKind::kBlock;
  out += FormatText("%s %s {  /* %s %d, pack %d */\n", block ? "field" : "struct",
                    type.name.c_str(), block ? "block" : "index", type.index, type.pack);
  std::int64_t end = 0;
  std::int64_t holes = 0;
  std::int64_t holeBytes = 0;
  for (const CFieldRecord& field : type.fields) {
    if (field.offset > end) {
      out += Hole(field.offset - end, "hole");
      ++holes;
      holeBytes += field.offset - end;
    }
    std::string line = "    " + Declarator(field);
    if (line.size() < kDeclarationWidth) line.resize(kDeclarationWidth, ' ');
    out += line + FormatText(" /* %6d %6" PRId64 " %2d%s */\n", field.offset, field.FieldSize(),
                             PackedAlignment(field, type), FieldNotes(field, type).c_str());
    end = field.offset + field.FieldSize();
  }
  const std::int64_t padding = type.size - end;
  if (padding > 0) out += Hole(padding, "padding");
  out += FormatText("    /* size: %d, align: %d, idspan: %d, members: %d, holes: %" PRId64
                    ", sum holes: %" PRId64 ", padding: %" PRId64 " */\n};\n\n",
                    type.size, type.alignment, type.idSpan, static_cast<int>(type.fields.size()),
                    holes, holeBytes, padding);
}

void WriteFieldJson(const CFieldRecord& field, const CTypeRecord& type, JsonWriter& json) {
  json.Element();
  json.Open('{');
  json.Key("name");
  json.String(field.name);
  json.Key("type");
  json.String(DeclaredTypeName(field));
  json.Key("type_index");
  json.Number(field.typeIndex);
  json.Key("pointer");
  json.Bool(field.pointer);
  json.Key("count");
  json.Number(field.elementCount);
  json.Key("offset");
  json.Number(field.offset);
  json.Key("size");
  json.Number(field.FieldSize());
  json.Key("align");
  json.Number(field.FieldAlignment());
  json.Key("packed_align");
  json.Number(PackedAlignment(field, type));
  json.Key("format");
  json.OptionalString(field.outputFormat);
  json.Key("element_format");
  json.OptionalString(field.elementFormat);
  json.Key("comment");
  json.OptionalString(field.comment);
  json.Key("idoffset");
  json.Number(field.idOffset);
  json.Key("lower");
  json.Number(field.lowerIndex);
  json.Key("upper");
  json.Number(field.upperIndex);
  json.Key("string");
  json.Bool(field.stringField);
  json.Close('}');
}

void WriteTypeJson(const CTypeRecord& type, JsonWriter& json) {
  json.Element();
  json.Open('{');
  json.Key("index");
  json.Number(type.index);
  json.Key("name");
  json.String(type.name);
  json.Key("size");
  json.Number(type.size);
  json.Key("align");
  json.Number(type.alignment);
  json.Key("idspan");
  json.Number(type.idSpan);
  json.Key("fields");
  json.Open('[');
  for (const CFieldRecord& field : type.fields) WriteFieldJson(field, type, json);
  json.Close(']');
  json.Close('}');
}

}  // namespace

std::string LayoutText(const CFormatParser& parser) {
  std::string out;
  for (int i = kScalarTypeCount; i < parser.Types().Count(); ++i) {
    WriteTypeText(parser.Types().At(i), out);
  }
  for (int i = 0; i < parser.BlockCount(); ++i) WriteTypeText(parser.Block(i), out);
  return out;
}

std::string LayoutJson(const CFormatParser& parser) {
  JsonWriter json;
  json.Open('{');
  json.Key("types");
  json.Open('[');
  for (int i = kScalarTypeCount; i < parser.Types().Count(); ++i) {
    WriteTypeJson(parser.Types().At(i), json);
  }
  json.Close(']');
  json.Key("blocks");
  json.Open('[');
  for (int i = 0; i < parser.BlockCount(); ++i) WriteTypeJson(parser.Block(i), json);
  json.Close(']');
  json.Close('}');
  return json.out() + "\n";
}
