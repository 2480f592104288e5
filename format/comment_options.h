// Options inside field and structure comments: a minus sign, a one-letter name and a value, as in
// -n'Max. speed' -f %0.3f -g12.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class IMessageSink;

// The value of option `letter`, or nothing. A quoted value runs to the next single quote (or the
// end); an unquoted one to the next minus sign, without trailing white space.
std::optional<std::string> ReadCommentOption(std::string_view text, char letter);
std::optional<std::string> ReadCommentOption(const std::string& text, char letter);
std::optional<std::string> ReadCommentOption(const std::optional<std::string>& text, char letter);

// Numeric options (the multiplier `m`): the value read as strtol with base 0, or as strtod reads
// it, must be followed by nothing or white space; otherwise "Illegal comment string" is logged
// through `sink` and the option counts as absent.
std::optional<std::int32_t> ReadIntegerOption(const std::optional<std::string>& text, char letter,
                                              IMessageSink& sink);
std::optional<double> ReadRealOption(const std::optional<std::string>& text, char letter,
                                     IMessageSink& sink);

// atoi: leading white space, a sign and decimal digits; anything after them is ignored, 0 when
// there are none; saturates at the limits of int.
std::int32_t DecimalPrefixValue(std::string_view text);
