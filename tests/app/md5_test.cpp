#include "app/md5.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string Hex(const Md5Digest& digest) {
  std::string text;
  for (const std::uint8_t byte : digest) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02x", byte);
    text += pair;
  }
  return text;
}

std::string Md5Hex(const std::string& text) {
  return Hex(ComputeMd5(text.data(), text.size()));
}

}  // namespace

TEST(Md5Test, PassesTheRfcTestSuite) {
  EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(Md5Hex("a"), "0cc175b9c0f1b6a831c399e269772661");
  EXPECT_EQ(Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(Md5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
  EXPECT_EQ(Md5Hex("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
  EXPECT_EQ(Md5Hex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
            "d174ab98d277d9f5a5611c2c9f419d9f");
  EXPECT_EQ(
      Md5Hex("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
      "57edf4a22be3c955ac49da2e2107b67a");
}

// The padding takes one block or two depending on where the message ends.
TEST(Md5Test, LengthsAroundTheBlockBoundary) {
  EXPECT_EQ(Md5Hex(std::string(55, 'a')), "ef1772b6dff9a122358552954ad0df65");
  EXPECT_EQ(Md5Hex(std::string(56, 'a')), "3b0c8ac703f828b04c6c197006d17218");
  EXPECT_EQ(Md5Hex(std::string(57, 'a')), "652b906d60af96844ebd21b674f35e93");
  EXPECT_EQ(Md5Hex(std::string(63, 'a')), "b06521f39153d618550606be297466d5");
  EXPECT_EQ(Md5Hex(std::string(64, 'a')), "014842d480b571495a4a0363793f7367");
  EXPECT_EQ(Md5Hex(std::string(65, 'a')), "c743a45e0d2e6a95cb859adae0248435");
  EXPECT_EQ(Md5Hex(std::string(1000000, 'a')), "7707d6ae4e027c70eea2a935c2296f21");
}

TEST(Md5Test, PiecesGiveTheDigestOfTheWhole) {
  std::string data(1000, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) {
    data[i] = static_cast<char>(i * 131 + 7);
  }
  const Md5Digest whole = ComputeMd5(data.data(), data.size());
  for (const std::size_t split : {0u, 1u, 55u, 56u, 63u, 64u, 65u, 127u, 128u, 999u, 1000u}) {
    Md5 md5;
    md5.Update(data.data(), split);
    md5.Update(data.data() + split, data.size() - split);
    EXPECT_EQ(md5.Finish(), whole) << split;
  }
  Md5 byteByByte;
  for (const char byte : data) {
    byteByByte.Update(&byte, 1);
  }
  EXPECT_EQ(byteByByte.Finish(), whole);
}

TEST(Md5Test, FinishStartsAfresh) {
  Md5 md5;
  md5.Update("abc", 3);
  md5.Finish();
  md5.Update("a", 1);
  EXPECT_EQ(Hex(md5.Finish()), "0cc175b9c0f1b6a831c399e269772661");
}
