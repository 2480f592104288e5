#include "tools/vextool/fmt_header_writer.h"

#include <cinttypes>
#include <set>
#include <vector>

#include "base/text_format.h"
#include "format/format_parser.h"
#include "values/scalar_types.h"

namespace {

// The C type of each scalar type, by type index; a pointer of the 32-bit program is 4 bytes.
constexpr const char* kCScalarTypes[kScalarTypeCount] = {
    "uint32_t", "uint8_t",  "char",    "uint8_t",  "double",  "float",    "int32_t",  "uint32_t",
    "int32_t",  "uint32_t", "int16_t", "uint16_t", "int64_t", "uint64_t", "uint32_t",
};

// Words a generated name must not be: C and C++ keywords and the names the header itself uses.
const std::set<std::string>& ReservedNames() {
  static const std::set<std::string> names = {
      "alignas",
      "alignof",
      "and",
      "and_eq",
      "asm",
      "auto",
      "bitand",
      "bitor",
      "bool",
      "break",
      "case",
      "catch",
      "char",
      "char8_t",
      "char16_t",
      "char32_t",
      "class",
      "compl",
      "concept",
      "const",
      "consteval",
      "constexpr",
      "constinit",
      "const_cast",
      "continue",
      "co_await",
      "co_return",
      "co_yield",
      "decltype",
      "default",
      "delete",
      "do",
      "double",
      "dynamic_cast",
      "else",
      "enum",
      "explicit",
      "export",
      "extern",
      "false",
      "float",
      "for",
      "friend",
      "goto",
      "if",
      "inline",
      "int",
      "long",
      "mutable",
      "namespace",
      "new",
      "noexcept",
      "not",
      "not_eq",
      "nullptr",
      "operator",
      "or",
      "or_eq",
      "private",
      "protected",
      "public",
      "register",
      "reinterpret_cast",
      "requires",
      "restrict",
      "return",
      "short",
      "signed",
      "sizeof",
      "static",
      "static_assert",
      "static_cast",
      "struct",
      "switch",
      "template",
      "this",
      "thread_local",
      "throw",
      "true",
      "try",
      "typedef",
      "typeid",
      "typename",
      "union",
      "unsigned",
      "using",
      "virtual",
      "void",
      "volatile",
      "wchar_t",
      "while",
      "xor",
      "xor_eq",
      "_Alignas",
      "_Alignof",
      "_Atomic",
      "_Bool",
      "_Complex",
      "_Generic",
      "_Imaginary",
      "_Noreturn",
      "_Static_assert",
      "_Thread_local",
      "int8_t",
      "int16_t",
      "int32_t",
      "int64_t",
      "uint8_t",
      "uint16_t",
      "uint32_t",
      "uint64_t",
      "size_t",
      "ptrdiff_t",
      "offsetof",
      "NULL",
      "VEX_ALIGNOF",
      "VEX_FIELD_SIZE",
      "max_align_t",
      "wint_t",
      "assert",
  };
  return names;
}

bool IsCIdentifier(const std::string& name) {
  if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
  for (const char c : name) {
    const bool usable =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    if (!usable) return false;
  }
  return ReservedNames().count(name) == 0;
}

// `name` when C can use it and it is still free, else `fallback`.
std::string UsableName(const std::string& name, const std::string& fallback,
                       std::set<std::string>& used) {
  std::string chosen = IsCIdentifier(name) && used.count(name) == 0 ? name : fallback;
  while (used.count(chosen) != 0) chosen += "_";
  used.insert(chosen);
  return chosen;
}

// A declared name in a comment: bytes that are not plain ASCII as \xNN.
std::string Printable(const std::string& name) {
  std::string text;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    text += byte >= 0x20 && byte < 0x7F ? std::string(1, c) : FormatText("\\x%02X", byte);
  }
  return text;
}

class HeaderWriter {
 public:
  explicit HeaderWriter(const CFormatParser& parser)
      : parser_(parser), typeNames_(static_cast<std::size_t>(parser.Types().Count())) {
    for (int i = 0; i < kScalarTypeCount; ++i) TypeName(i) = kCScalarTypes[i];
  }

  std::string Write(const std::string& sourceName) {
    out_ += "/* The layout of " + Printable(sourceName) + ", written by vextool fmt header.\n";
    out_ +=
        "   Sizes and offsets are those of the 32-bit controller program; every one is asserted.\n"
        "   A block format's data has no tail padding: its size is the end of its last field. */\n"
        "#pragma once\n\n"
        "#include <assert.h>\n#include <stddef.h>\n#include <stdint.h>\n\n"
        "#if defined(__cplusplus)\n#define VEX_ALIGNOF(type) alignof(type)\n"
        "#else\n#define VEX_ALIGNOF(type) _Alignof(type)\n#endif\n"
        "#define VEX_FIELD_SIZE(type, field) sizeof(((type*)0)->field)\n\n"
        "#pragma pack(push, 8)\n";
    for (int i = kScalarTypeCount; i < parser_.Types().Count(); ++i) {
      const CTypeRecord& type = parser_.Types().At(i);
      TypeName(i) = UsableName(type.name, "type_" + std::to_string(i), used_);
      WriteType(type, TypeName(i));
    }
    for (int i = 0; i < parser_.BlockCount(); ++i) {
      const CTypeRecord& block = parser_.Block(i);
      WriteType(block, UsableName(block.name, "block_" + std::to_string(i), used_));
    }
    out_ += "\n#pragma pack(pop)\n";
    return out_;
  }

 private:
  std::string& TypeName(int typeIndex) { return typeNames_[static_cast<std::size_t>(typeIndex)]; }

  void WriteType(const CTypeRecord& type, const std::string& cName) {
    if (type.pack != pack_) {
      out_ += FormatText("\n#pragma pack(%d)\n", type.pack);
      pack_ = type.pack;
    }
    const bool block = type.kind == TypeKind::kBlock;
    out_ += "\n";
    if (cName != type.name || block) {
      out_ += FormatText("/* %s %s */\n", block ? "field" : "struct", Printable(type.name).c_str());
    }
    out_ += "typedef struct " + cName + " {\n";
    std::set<std::string> usedFields;
    std::vector<std::string> fieldNames;
    for (std::size_t i = 0; i < type.fields.size(); ++i) {
      const CFieldRecord& field = type.fields[i];
      fieldNames.push_back(UsableName(field.name, "field_" + std::to_string(i), usedFields));
      const int typeIndex = field.pointer ? kVoidPointerType : field.typeIndex;
      // Elaborated, so that a member named after its type (Axis Axis;) is also C++.
      const char* tag = typeIndex >= kScalarTypeCount ? "struct " : "";
      out_ += "  " + std::string(tag) + TypeName(typeIndex) + " " + fieldNames.back();
      if (field.IsArray()) out_ += "[" + std::to_string(field.elementCount) + "]";
      out_ += ";";
      if (field.pointer || fieldNames.back() != field.name) {
        out_ += " /* " + Printable(parser_.Types().At(field.typeIndex).name) +
                (field.pointer ? " *" : " ") + Printable(field.name) + " */";
      }
      out_ += "\n";
    }
    out_ += "} " + cName + ";\n";

    // A block's data ends with its last field; the C struct may carry tail padding after it.
    const std::int64_t rounded = (static_cast<std::int64_t>(type.size) + type.alignment - 1) /
                                 type.alignment * type.alignment;
    Assert("sizeof(" + cName + ")", rounded, cName + ": size");
    Assert("VEX_ALIGNOF(" + cName + ")", type.alignment, cName + ": alignment");
    for (std::size_t i = 0; i < type.fields.size(); ++i) {
      const CFieldRecord& field = type.fields[i];
      const std::string& name = fieldNames[i];
      Assert("offsetof(" + cName + ", " + name + ")", field.offset,
             cName + "." + name + ": offset");
      Assert("VEX_FIELD_SIZE(" + cName + ", " + name + ")", field.FieldSize(),
             cName + "." + name + ": size");
    }
    if (block && !type.fields.empty()) {
      const CFieldRecord& last = type.fields.back();
      const std::string& name = fieldNames.back();
      Assert("offsetof(" + cName + ", " + name + ") + VEX_FIELD_SIZE(" + cName + ", " + name + ")",
             last.offset + last.FieldSize(), cName + ": data size");
    }
  }

  void Assert(const std::string& expression, std::int64_t value, const std::string& what) {
    out_ += FormatText("static_assert(%s == %" PRId64 ", \"%s\");\n", expression.c_str(), value,
                       what.c_str());
  }

  const CFormatParser& parser_;
  std::vector<std::string> typeNames_;
  std::set<std::string> used_;
  int pack_ = CFormatParser::kDefaultPack;
  std::string out_;
};

}  // namespace

std::string LayoutHeader(const CFormatParser& parser, const std::string& sourceName) {
  return HeaderWriter(parser).Write(sourceName);
}
