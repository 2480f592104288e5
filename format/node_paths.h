// How a value node is named: by its field path in the text dump, by its display names in
// messages.
#pragma once

#include <string>

#include "format/value_node.h"

// The declared field names from the outermost ancestor down, with element indexes in brackets:
// Gain[0], Axis[1].MaxSpeed, Spindle.MaxSpeed, and X.X for an array of exactly one element.
std::string FieldPath(const CValueNode& node);

// The display names from the outermost ancestor down, each trimmed, joined with '.'.
std::string DisplayNamePath(const CValueNode& node);
