// Lays a type over the bytes of a data block and produces one value node per field instance.
#pragma once

#include <memory>

#include "format/value_node.h"

class CFieldRecord;
class CTypeRecord;
class IMessageSink;

class CTraversalContext {
 public:
  // The nodes go to `nodes` (the binder's list); with null, walks make no nodes at all. What the
  // rendering finds wrong is logged through `sink`, whose language names array elements.
  CTraversalContext(ValueNodeList* nodes, IMessageSink& sink) : nodes_(nodes), sink_(sink) {}

  // Walks every field of `block` over `data`, which must hold at least the block's size.
  void WalkBlock(const CTypeRecord& block, const unsigned char* data);
  void AddNode(std::unique_ptr<CValueNode> node);
  // A node for `field` at `data` under the current parent, or null when there is no node list.
  std::unique_ptr<CValueNode> MakeNode(const CFieldRecord& field, const unsigned char* data) const;

  // The walk operations: FieldWalk picks the array or single walk; string fields take StringWalk.
  void Walk(const CFieldRecord& field, const unsigned char* data);
  void FieldWalk(const CFieldRecord& field, const unsigned char* data);
  void SingleWalk(const CFieldRecord& field, const unsigned char* data);
  void ArrayWalk(const CFieldRecord& field, const unsigned char* data);
  void StringWalk(const CFieldRecord& field, const unsigned char* data);
  // The render operation of every structure: walks its fields below `node`.
  void RenderStructure(CValueNode& node);
  IMessageSink& Sink() const { return sink_; }

  // Set while the structure being rendered has exactly one field: a string field inside it then
  // gives its text to the structure's node instead of making a node of its own.
  bool singleMember = false;
  CValueNode* currentParent = nullptr;

 private:
  ValueNodeList* nodes_;
  IMessageSink& sink_;
};
