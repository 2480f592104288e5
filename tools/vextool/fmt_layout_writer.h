// The layout of a parsed format description, as text for people and as JSON for tools.
#pragma once

#include <string>

class CFormatParser;

// Every declared structure and block format with its fields' places and the padding holes
// between them, in the manner of pahole.
std::string LayoutText(const CFormatParser& parser);

// {"types":[T...],"blocks":[T...]}; strings escaped, bytes above 127 as \u0080 to \u00FF.
std::string LayoutJson(const CFormatParser& parser);
