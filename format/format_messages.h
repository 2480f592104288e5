// The error texts of the format description language, as written to the setup log.
#pragma once

constexpr const char kUnexpectedChar[] = "Unexpected char";
constexpr const char kExpectingToken[] = "Expecting token '%s'";
constexpr const char kInvalidToken[] = "Invalid token";
constexpr const char kIncorrectPackValue[] = "Incorrect pack value";
constexpr const char kUndefinedDataType[] = "Undefined data type '%s'";
constexpr const char kArraySizeNotPositive[] = "Array size should be greater than zero";
constexpr const char kExpectingInteger[] = "Expecting an integer";
// Sizes are 32-bit signed in the data files' world; a larger type cannot describe a real block.
constexpr const char kDataTypeTooLarge[] = "Data type '%s' is too large";
// Walking a type recurses once per nesting level.
constexpr const char kDataTypeTooDeep[] = "Data type '%s' is nested too deeply";
// Written by the numeric option readers, without a tag.
constexpr const char kIllegalCommentString[] = "Illegal comment string\n";
