// Reading a stretch of a file piece by piece through one fixed buffer, so memory does not grow
// with the package.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

// The size of the pieces: large enough for full disk speed, small beside any memory limit.
constexpr std::size_t kPackagePieceSize = 1 << 20;

// Reads up to `size` bytes into `buffer`; fewer at the end, 0 on an error.
using ReadFunction = std::function<std::size_t(void* buffer, std::size_t size)>;
using PieceFunction = std::function<bool(const std::uint8_t* piece, std::size_t size)>;

// Reads exactly `size` bytes; false at the end of the file or on an error.
bool ReadExactly(const ReadFunction& read, void* buffer, std::size_t size);

// Reads `size` bytes and hands them to `consume` in pieces; false when the file ends early, a
// read fails or `consume` returns false.
bool ReadInPieces(const ReadFunction& read, std::uint64_t size, const PieceFunction& consume);
