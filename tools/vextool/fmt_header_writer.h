// A C header with the layout of a parsed format description, for a 32-bit controller program
// to prove that its structures and the description agree.
#pragma once

#include <string>

class CFormatParser;

// Structures and block formats in fixed-width types under the same pack values, each followed
// by static_asserts on its size, alignment and every field's offset and size. Names that are not
// usable in C become type_<index>, block_<index> or field_<index>.
std::string LayoutHeader(const CFormatParser& parser, const std::string& sourceName);
