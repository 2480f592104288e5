#include "app/md5.h"

#include <algorithm>
#include <cstring>

#include "base/little_endian.h"

namespace {

constexpr std::array<std::uint32_t, 4> kInitialState = {0x67452301, 0xefcdab89, 0x98badcfe,
                                                        0x10325476};

inline std::uint32_t RotateLeft(std::uint32_t value, int bits) {
  return (value << bits) | (value >> (32 - bits));
}

// The round functions are written so that the term not involving `b` (the value the previous
// step has just produced) can be computed ahead of it: the chain through `b` is what limits MD5.
inline void RoundF(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                   std::uint32_t word, std::uint32_t constant, int shift) {
  a += word + constant + (d ^ (b & (c ^ d)));
  a = RotateLeft(a, shift) + b;
}

inline void RoundG(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                   std::uint32_t word, std::uint32_t constant, int shift) {
  // (b & d) | (c & ~d): the two terms never share a bit, so they can be added separately.
  a += word + constant + (c & ~d);
  a += b & d;
  a = RotateLeft(a, shift) + b;
}

inline void RoundH(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                   std::uint32_t word, std::uint32_t constant, int shift) {
  a += word + constant + (b ^ c ^ d);
  a = RotateLeft(a, shift) + b;
}

inline void RoundI(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                   std::uint32_t word, std::uint32_t constant, int shift) {
  a += word + constant + (c ^ (b | ~d));
  a = RotateLeft(a, shift) + b;
}

void ProcessBlocks(std::array<std::uint32_t, 4>& state, const std::uint8_t* data,
                   std::size_t blocks) {
  std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  for (; blocks > 0; --blocks, data += 64) {
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i) {
      x[i] = LoadLittleEndian32(data + 4 * i);
    }
    const std::uint32_t oldA = a, oldB = b, oldC = c, oldD = d;

    RoundF(a, b, c, d, x[0], 0xd76aa478, 7);
    RoundF(d, a, b, c, x[1], 0xe8c7b756, 12);
    RoundF(c, d, a, b, x[2], 0x242070db, 17);
    RoundF(b, c, d, a, x[3], 0xc1bdceee, 22);
    RoundF(a, b, c, d, x[4], 0xf57c0faf, 7);
    RoundF(d, a, b, c, x[5], 0x4787c62a, 12);
    RoundF(c, d, a, b, x[6], 0xa8304613, 17);
    RoundF(b, c, d, a, x[7], 0xfd469501, 22);
    RoundF(a, b, c, d, x[8], 0x698098d8, 7);
    RoundF(d, a, b, c, x[9], 0x8b44f7af, 12);
    RoundF(c, d, a, b, x[10], 0xffff5bb1, 17);
    RoundF(b, c, d, a, x[11], 0x895cd7be, 22);
    RoundF(a, b, c, d, x[12], 0x6b901122, 7);
    RoundF(d, a, b, c, x[13], 0xfd987193, 12);
    RoundF(c, d, a, b, x[14], 0xa679438e, 17);
    RoundF(b, c, d, a, x[15], 0x49b40821, 22);

    RoundG(a, b, c, d, x[1], 0xf61e2562, 5);
    RoundG(d, a, b, c, x[6], 0xc040b340, 9);
    RoundG(c, d, a, b, x[11], 0x265e5a51, 14);
    RoundG(b, c, d, a, x[0], 0xe9b6c7aa, 20);
    RoundG(a, b, c, d, x[5], 0xd62f105d, 5);
    RoundG(d, a, b, c, x[10], 0x02441453, 9);
    RoundG(c, d, a, b, x[15], 0xd8a1e681, 14);
    RoundG(b, c, d, a, x[4], 0xe7d3fbc8, 20);
    RoundG(a, b, c, d, x[9], 0x21e1cde6, 5);
    RoundG(d, a, b, c, x[14], 0xc33707d6, 9);
    RoundG(c, d, a, b, x[3], 0xf4d50d87, 14);
    RoundG(b, c, d, a, x[8], 0x455a14ed, 20);
    RoundG(a, b, c, d, x[13], 0xa9e3e905, 5);
    RoundG(d, a, b, c, x[2], 0xfcefa3f8, 9);
    RoundG(c, d, a, b, x[7], 0x676f02d9, 14);
    RoundG(b, c, d, a, x[12], 0x8d2a4c8a, 20);

    RoundH(a, b, c, d, x[5], 0xfffa3942, 4);
    RoundH(d, a, b, c, x[8], 0x8771f681, 11);
    RoundH(c, d, a, b, x[11], 0x6d9d6122, 16);
    RoundH(b, c, d, a, x[14], 0xfde5380c, 23);
    RoundH(a, b, c, d, x[1], 0xa4beea44, 4);
    RoundH(d, a, b, c, x[4], 0x4bdecfa9, 11);
    RoundH(c, d, a, b, x[7], 0xf6bb4b60, 16);
    RoundH(b, c, d, a, x[10], 0xbebfbc70, 23);
    RoundH(a, b, c, d, x[13], 0x289b7ec6, 4);
    RoundH(d, a, b, c, x[0], 0xeaa127fa, 11);
    RoundH(c, d, a, b, x[3], 0xd4ef3085, 16);
    RoundH(b, c, d, a, x[6], 0x04881d05, 23);
    RoundH(a, b, c, d, x[9], 0xd9d4d039, 4);
    RoundH(d, a, b, c, x[12], 0xe6db99e5, 11);
    RoundH(c, d, a, b, x[15], 0x1fa27cf8, 16);
    RoundH(b, c, d, a, x[2], 0xc4ac5665, 23);

    RoundI(a, b, c, d, x[0], 0xf4292244, 6);
    RoundI(d, a, b, c, x[7], 0x432aff97, 10);
    RoundI(c, d, a, b, x[14], 0xab9423a7, 15);
    RoundI(b, c, d, a, x[5], 0xfc93a039, 21);
    RoundI(a, b, c, d, x[12], 0x655b59c3, 6);
    RoundI(d, a, b, c, x[3], 0x8f0ccc92, 10);
    RoundI(c, d, a, b, x[10], 0xffeff47d, 15);
    RoundI(b, c, d, a, x[1], 0x85845dd1, 21);
    RoundI(a, b, c, d, x[8], 0x6fa87e4f, 6);
    RoundI(d, a, b, c, x[15], 0xfe2ce6e0, 10);
    RoundI(c, d, a, b, x[6], 0xa3014314, 15);
    RoundI(b, c, d, a, x[13], 0x4e0811a1, 21);
    RoundI(a, b, c, d, x[4], 0xf7537e82, 6);
    RoundI(d, a, b, c, x[11], 0xbd3af235, 10);
    RoundI(c, d, a, b, x[2], 0x2ad7d2bb, 15);
    RoundI(b, c, d, a, x[9], 0xeb86d391, 21);

    a += oldA;
    b += oldB;
    c += oldC;
    d += oldD;
  }
  state = {a, b, c, d};
}

}  // namespace

Md5::Md5() : state_(kInitialState) {}

void Md5::Update(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  length_ += size;
  if (pendingSize_ > 0) {
    const std::size_t take = std::min(size, pending_.size() - pendingSize_);
    std::memcpy(pending_.data() + pendingSize_, bytes, take);
    pendingSize_ += take;
    bytes += take;
    size -= take;
    if (pendingSize_ < pending_.size()) {
      return;
    }
    ProcessBlocks(state_, pending_.data(), 1);
    pendingSize_ = 0;
  }
  const std::size_t whole = size / 64;
  ProcessBlocks(state_, bytes, whole);
  bytes += whole * 64;
  size -= whole * 64;
  std::memcpy(pending_.data(), bytes, size);
  pendingSize_ = size;
}

Md5Digest Md5::Finish() {
  const std::uint64_t bitLength = length_ * 8;
  std::uint8_t padding[72] = {0x80};
  // Pad to 56 bytes past a block boundary, then the length in bits, least significant byte first.
  const std::size_t padSize = (pendingSize_ < 56 ? 56 : 120) - pendingSize_;
  for (std::size_t i = 0; i < 8; ++i) {
    padding[padSize + i] = static_cast<std::uint8_t>(bitLength >> (8 * i));
  }
  Update(padding, padSize + 8);

  Md5Digest digest;
  for (std::size_t i = 0; i < 4; ++i) {
    for (std::size_t j = 0; j < 4; ++j) {
      digest[4 * i + j] = static_cast<std::uint8_t>(state_[i] >> (8 * j));
    }
  }
  *this = Md5();
  return digest;
}

Md5Digest ComputeMd5(const void* data, std::size_t size) {
  Md5 md5;
  md5.Update(data, size);
  return md5.Finish();
}
