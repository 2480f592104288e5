// MD5 message digest (RFC 1321), the checksum of installation packages. Fed in pieces, so a
// package of any size is hashed in constant memory.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

using Md5Digest = std::array<std::uint8_t, 16>;

class Md5 {
 public:
  Md5();

  void Update(const void* data, std::size_t size);
  // The digest of everything passed to Update; the object starts afresh afterwards.
  Md5Digest Finish();

 private:
  std::array<std::uint32_t, 4> state_;
  std::uint64_t length_ = 0;  // bytes hashed so far
  std::array<std::uint8_t, 64> pending_;
  std::size_t pendingSize_ = 0;
};

Md5Digest ComputeMd5(const void* data, std::size_t size);
