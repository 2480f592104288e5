#include "format/node_paths.h"

#include <vector>

#include "format/field_record.h"

namespace {

std::vector<const CValueNode*> Chain(const CValueNode& node) {
  std::vector<const CValueNode*> chain;
  for (const CValueNode* link = &node; link != nullptr; link = link->parent) chain.push_back(link);
  return {chain.rbegin(), chain.rend()};
}

std::string Trimmed(const std::string& text) {
  const char* blanks = " \t\r\n\v\f";
  const size_t begin = text.find_first_not_of(blanks);
  if (begin == std::string::npos) return std::string();
  return text.substr(begin, text.find_last_not_of(blanks) + 1 - begin);
}

}  // namespace

std::string FieldPath(const CValueNode& node) {
  const std::vector<const CValueNode*> chain = Chain(node);
  std::string path;
  for (size_t i = 0; i < chain.size(); ++i) {
    const CValueNode& member = *chain[i];
    const CValueNode* next = i + 1 < chain.size() ? chain[i + 1] : nullptr;
    if (member.elementCount > 1) {
      path += '[' + std::to_string(member.elementIndex) + ']';
      if (next != nullptr) path += '.';
    } else {
      path += member.field->name;
      if (next != nullptr && next->elementCount == 1) path += '.';
    }
  }
  return path;
}

std::string DisplayNamePath(const CValueNode& node) {
  const std::vector<const CValueNode*> chain = Chain(node);
  std::string path;
  for (size_t i = 0; i < chain.size(); ++i) {
    if (i > 0) path += '.';
    path += Trimmed(chain[i]->displayName);
  }
  return path;
}
