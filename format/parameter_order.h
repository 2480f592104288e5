// Parameter numbers must rise strictly in the order of the nodes; two that repeat or fall are
// shown to the user, pair by pair.
#pragma once

#include <functional>
#include <string>

#include "format/value_node.h"

class IMessageSink;

// Receives an earlier and a later numbered node whose numbers do not rise; false stops the search.
using ParameterOrderReport =
    std::function<bool(const CValueNode& earlier, const CValueNode& later)>;

// Reports every such pair, by the earlier node's position and then the later one's. Numbers that
// already rise are confirmed in one pass; otherwise each pair costs a logarithmic search.
void FindParameterOrderProblems(const ValueNodeList& nodes, const ParameterOrderReport& report);

// The node's number and display-name path in double quotes: "[N0012]Axis.Group 1.Max speed".
std::string ParameterLabel(const CValueNode& node);

// The message naming the two parameters of one pair, in language `languageIndex`.
std::string ParameterOrderMessage(const CValueNode& earlier, const CValueNode& later,
                                  int languageIndex);

// One OK/Cancel message box per pair through `sink`, until the user cancels.
void CheckParameterOrder(const ValueNodeList& nodes, IMessageSink& sink);
