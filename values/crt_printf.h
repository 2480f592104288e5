// printf for one argument exactly as the 32-bit Windows C runtime (msvcrt) prints it, on every
// platform: "%I64d" for 64-bit values, "%p" as eight upper-case hexadecimal digits, three-digit
// exponents, "1.#INF00" for infinities. Nothing here hands a format to the C library.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The kind of the single argument a format is applied to.
enum class CrtArgument {
  kInt32,  // int, long, unsigned, pointers, and char, short and bool values widened to int
  kInt64,  // __int64 and unsigned __int64
  kReal    // double (float values widened)
};

// The rendering buffers' capacities less their terminating NUL.
constexpr int kIntegerTextLimit = 63;
constexpr int kRealTextLimit = 639;

// Why `format` does not fit `argument`, or "" when it fits: exactly one conversion besides "%%"
// and literal text, accepted for that argument, and a text that cannot exceed the argument's
// limit above.
std::string FindCrtFormatProblem(std::string_view format, CrtArgument argument);

// Applies `format` to one value; nothing when FindCrtFormatProblem refuses the format for that
// argument kind. The text ends at the first NUL the conversion writes, as a C string would
// ("%c" of 0 gives "").
std::optional<std::string> CrtFormatInt32(std::string_view format, std::uint32_t value);
std::optional<std::string> CrtFormatInt64(std::string_view format, std::uint64_t value);
std::optional<std::string> CrtFormatReal(std::string_view format, double value);
