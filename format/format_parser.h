// The parser of format description files: builds the type table (built-in scalars, then the
// file's structures), the alias table and the block formats, one per `field` declaration.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "format/format_lexer.h"
#include "format/type_record.h"

class IMessageSink;

struct CAliasRecord {
  std::string name;
  std::optional<std::string> outputFormat;
  int typeIndex = -1;
};

class CFormatParser : public CFormatLexer {
 public:
  static constexpr int kDefaultPack = 8;

  // What a parse finds wrong is logged through `sink`: refused output formats, then the syntax
  // error that ends it, if any.
  explicit CFormatParser(IMessageSink& sink);

  // Forgets every type, alias and block format and the lexer's state; the file path stays.
  void Reset();
  // Parses the file (a Windows path). False when it cannot be read (nothing logged, unless it is
  // too large) or on the first syntax error (logged); what was registered before the error stays
  // registered.
  bool Parse(const std::string& path);
  // Parses `bytes` as the contents of the file `path`, which is not opened.
  bool ParseText(const std::string& path, std::string_view bytes);

  const CTypeTable& Types() const { return types_; }
  int BlockCount() const { return static_cast<int>(blocks_.size()); }
  const CTypeRecord& Block(int index) const { return *blocks_[static_cast<std::size_t>(index)]; }
  // The binder reorders a block's fields before it walks them.
  CTypeRecord& Block(int index) { return *blocks_[static_cast<std::size_t>(index)]; }
  // The first block format named `name` (exact comparison), or null.
  CTypeRecord* FindBlock(const std::string& name);
  const std::vector<CAliasRecord>& Aliases() const { return aliases_; }
  int PackValue() const { return pack_; }
  // The path of the last file parsed.
  const std::string& FilePath() const { return filePath_; }

 private:
  struct TypeSpecifier {
    int typeIndex;
    std::optional<std::string> outputFormat;
    std::string written;
  };

  void RegisterBuiltIns();
  // False, logged, for a path longer than the system's path buffers hold: never cut short.
  bool FitsPath(const std::string& path);
  bool RunGrammar();
  void ParseDeclaration();
  void ParsePragma();
  void ParseAlias();
  void ParseStructure();
  void ParseBlock();
  void ParseMemberList(CTypeRecord& type);
  void ParseMemberLine(CTypeRecord& type);
  TypeSpecifier ParseTypeSpecifier();
  void ParseDeclarator(CTypeRecord& type, const TypeSpecifier& specifier);
  void ApplyFieldComment(CFieldRecord& field, const std::string& token);
  void CheckFieldFormats(CFieldRecord& field, const std::optional<std::string>& typeFormat);
  void AddField(CTypeRecord& type, CFieldRecord field);
  int ParseInteger();
  void AddAlias(CAliasRecord alias);
  void LogFormatProblem(const std::string& reason);
  void Log(const std::string& text);

  CTypeTable types_;
  std::vector<std::unique_ptr<CTypeRecord>> blocks_;
  std::unordered_map<std::string, int> firstBlockByName_;
  std::vector<CAliasRecord> aliases_;
  std::unordered_map<std::string, int> firstAliasByName_;
  int pack_ = kDefaultPack;
  std::string filePath_;
  IMessageSink& sink_;
};
