// One instance of a field inside a bound data block, with its value text and parameter number.
#pragma once

#include <memory>
#include <string>
#include <vector>

class CFieldRecord;

struct CValueNode {
  // The node of the enclosing structure or array; null at the top.
  CValueNode* parent = nullptr;
  const CFieldRecord* field = nullptr;
  // For array elements: the index and the array's element count.
  int elementIndex = -1;
  int elementCount = 1;
  // First byte of the instance inside the bound data.
  const unsigned char* data = nullptr;
  // This node's share of its parameter number; -1 means none.
  int idOffset = 0;
  // Set by the binder.
  int id = -1;
  std::string idText;
  // Shown only in messages, so UTF-8 like the catalogue that names array elements; names taken
  // from the format file are converted from the system code page.
  std::string displayName;
  std::string valueText;
};

// The nodes of one binding in traversal order: a node always comes before the nodes of its parts.
using ValueNodeList = std::vector<std::unique_ptr<CValueNode>>;
