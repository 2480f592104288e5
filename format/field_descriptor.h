// Binds a parameter block's bytes to its block format: one value node per field instance, with
// its value text and parameter number, and the block written as text lines "path = value".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "format/format_parser.h"
#include "format/value_node.h"

class IMessageSink;

// True when a parameter line "name = value" holds `value` whole.
bool FitsParameterLine(std::string_view value);

class CFieldDescriptor {
 public:
  // What binding finds wrong goes to `sink`: the parse's and the walk's log lines, the binder's
  // own, and a message box per pair of parameter numbers that do not rise.
  explicit CFieldDescriptor(IMessageSink& sink);
  virtual ~CFieldDescriptor();
  CFieldDescriptor(const CFieldDescriptor&) = delete;
  CFieldDescriptor& operator=(const CFieldDescriptor&) = delete;

  // Forgets the binding: no data, no block format, no nodes, the parser reset.
  void Reset();
  // Parses `formatPath`, finds block `blockName` and lays it over `data` (`size` bytes, which
  // must equal the block's size), then numbers the nodes and checks their order. False, with a
  // log line, when the block is missing or the sizes differ; false when the file does not parse.
  bool Bind(const std::string& blockName, const unsigned char* data, std::size_t size,
            const std::string& formatPath);
  // Binds, then writes "[blockName]" and one line per node that has a value text to
  // `outputPath` (CR LF line ends). False when binding fails or the file cannot be written.
  bool WriteTextDump(const std::string& blockName, const unsigned char* data, std::size_t size,
                     const std::string& formatPath, const std::string& outputPath);

  // The dump's text (LF line ends) of the current binding. A value text that a parameter line
  // cannot hold is left out (see UncarriedNodes).
  std::string TextDump(const std::string& blockName) const;
  // The nodes whose value text holds ';', a CR or a LF: in a parameter line it would be cut at
  // the comment or add lines of its own.
  std::vector<const CValueNode*> UncarriedNodes() const;

  const ValueNodeList& Nodes() const { return nodes_; }
  const CTypeRecord* BoundBlock() const { return block_; }
  const unsigned char* BoundData() const { return data_; }
  const std::string& FormatPath() const { return formatPath_; }
  CFormatParser& Parser() { return parser_; }

  // First character of every ID text, and the number added to every parameter number.
  char idLetter = 'N';
  int idBase = 0;

 private:
  void SortMiddleFields(CTypeRecord& block) const;
  void NumberNodes();
  void TrimNodeTexts();
  bool Fail(const std::string& logLine);

  ValueNodeList nodes_;
  const unsigned char* data_ = nullptr;
  std::string formatPath_;
  CTypeRecord* block_ = nullptr;
  IMessageSink& sink_;
  CFormatParser parser_;
};
