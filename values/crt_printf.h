// printf for one argument exactly as the 32-bit Windows C runtime (msvcrt) prints it, on every
// platform: "%I64d" for 64-bit values, "%p" as eight upper-case hexadecimal digits, three-digit
// exponents, "1.#INF00" for infinities. Nothing here hands a format to the C library.
#pragma once

#include <cstdint>
#include <string>

// The kind of the single argument a format is applied to.
enum class CrtArgument {
  kInt32,  // int, long, unsigned, pointers, and char, short and bool values widened to int
  kInt64,  // __int64 and unsigned __int64
  kReal    // double (float values widened)
};

// Why a format does not fit an argument, or "" when it fits. `limit` is the largest text length
// the result may reach (the rendering buffer's size less its terminating NUL).
std::string FindCrtFormatProblem(const std::string& format, CrtArgument argument, int limit);

// Applies `format` (which FindCrtFormatProblem accepted for the same argument kind) to one value.
// The text ends at the first NUL the conversion writes, as a C string would ("%c" of 0 gives "").
// A format that does not fit gives "".
std::string CrtFormatInt32(const std::string& format, std::uint32_t value);
std::string CrtFormatInt64(const std::string& format, std::uint64_t value);
std::string CrtFormatReal(const std::string& format, double value);
