#include "app/package_trailer.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(PackageTrailerTest, SignatureFoldsEachByteWithItsUpdatedNeighbour) {
  Md5Digest digest;
  for (std::size_t i = 0; i < digest.size(); ++i) {
    digest[i] = static_cast<std::uint8_t>(i);
  }
  // The last group ends in 0E, not 0F: the last byte meets the already folded first one.
  EXPECT_EQ(FormatSignature(digest), "01030107-0103010F-01030107-0103010E");
  digest.fill(0xAB);
  EXPECT_EQ(FormatSignature(digest), "00000000-00000000-00000000-000000AB");
}

TEST(PackageTrailerTest, FieldsAreLittleEndian) {
  std::uint8_t bytes[kTrailerSize];
  for (std::size_t i = 0; i < kTrailerSize; ++i) {
    bytes[i] = static_cast<std::uint8_t>(i + 1);
  }
  const PackageTrailer trailer = DecodeTrailer(bytes);
  EXPECT_EQ(trailer.payloadOffset, 0x04030201u);
  EXPECT_EQ(trailer.reserved, 0x08070605u);
  EXPECT_EQ(trailer.digest[0], 9);
  EXPECT_EQ(trailer.digest[15], 24);

  std::uint8_t encoded[kTrailerSize];
  EncodeTrailer(trailer, encoded);
  EXPECT_EQ(0, std::memcmp(encoded, bytes, kTrailerSize));
}

TEST(PackageTrailerTest, PayloadMustLieBeforeTheTrailer) {
  PackageTrailer trailer;
  trailer.payloadOffset = 100;
  const std::optional<PayloadRange> payload = LocatePayload(1000, trailer);
  ASSERT_TRUE(payload);
  EXPECT_EQ(payload->offset, 100u);
  EXPECT_EQ(payload->length, 1000u - 100u - kTrailerSize);

  trailer.payloadOffset = 0;
  EXPECT_TRUE(LocatePayload(25, trailer));
  EXPECT_FALSE(LocatePayload(24, trailer));  // nothing before the trailer
  EXPECT_FALSE(LocatePayload(23, trailer));  // no room for a trailer
  EXPECT_FALSE(LocatePayload(0, trailer));

  trailer.payloadOffset = 976;  // right at the trailer: an empty payload
  EXPECT_FALSE(LocatePayload(1000, trailer));
  trailer.payloadOffset = 0xFFFFFFFF;
  EXPECT_FALSE(LocatePayload(1000, trailer));
}
