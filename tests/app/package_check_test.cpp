#include "app/package_check.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/app/test_package.h"
#include "tests/support/temp_folder.h"

namespace {

const std::string kProgram = "MZ program image";
const std::string kPayload = "payload bytes, an installer in real life";

PackageCheck CheckBytes(const TempFolder& folder, const std::string& bytes) {
  folder.WriteFile("package.exe", bytes);
  return CheckPackageFile(folder.Path("package.exe"));
}

// Byte `index` of the trailer's field at `fieldOffset` counted from the end of the package.
char& TrailerByte(std::string& package, std::size_t fieldOffset, std::size_t index = 0) {
  return package[package.size() - kTrailerSize + fieldOffset + index];
}

}  // namespace

TEST(PackageCheckTest, IntactPackageLocatesItsPayload) {
  TempFolder folder;
  const PackageCheck check = CheckBytes(folder, MakePackage(kProgram, kPayload));
  EXPECT_EQ(check.status, PackageStatus::Intact);
  EXPECT_EQ(check.payload.offset, kProgram.size());
  EXPECT_EQ(check.payload.length, kPayload.size());
  EXPECT_EQ(check.signature, "");
}

// The text shown comes from the stored digest, so it does not depend on which byte changed.
TEST(PackageCheckTest, AnyChangedByteBeforeTheTrailerIsAMismatch) {
  TempFolder folder;
  const std::string intact = MakePackage(kProgram, kPayload);
  std::string expectedSignature;
  for (const std::size_t at : {std::size_t{0}, kProgram.size() - 1, kProgram.size(),
                               kProgram.size() + kPayload.size() - 1}) {
    std::string damaged = intact;
    damaged[at] ^= 0x20;
    const PackageCheck check = CheckBytes(folder, damaged);
    EXPECT_EQ(check.status, PackageStatus::SignatureMismatch) << at;
    if (expectedSignature.empty()) {
      expectedSignature = check.signature;
    }
    EXPECT_EQ(check.signature, expectedSignature) << at;
  }
  EXPECT_EQ(expectedSignature.size(), 35u);
}

TEST(PackageCheckTest, DigestFieldIsNotCoveredButReservedFieldIsIgnored) {
  TempFolder folder;
  std::string package = MakePackage(kProgram, kPayload);
  TrailerByte(package, 4) = 'R';
  TrailerByte(package, 4, 3) = '\xFF';
  EXPECT_EQ(CheckBytes(folder, package).status, PackageStatus::Intact);

  TrailerByte(package, 8, 15) ^= 0x01;
  Md5Digest stored;
  for (std::size_t i = 0; i < stored.size(); ++i) {
    stored[i] = static_cast<std::uint8_t>(TrailerByte(package, 8, i));
  }
  const PackageCheck check = CheckBytes(folder, package);
  EXPECT_EQ(check.status, PackageStatus::SignatureMismatch);
  EXPECT_EQ(check.signature, FormatSignature(stored));
}

TEST(PackageCheckTest, FilesThatCannotHoldAPackageAreUnreadable) {
  TempFolder folder;
  EXPECT_EQ(CheckPackageFile(folder.Path("missing.exe")).status, PackageStatus::PackageUnreadable);
  EXPECT_EQ(CheckBytes(folder, "").status, PackageStatus::PackageUnreadable);
  EXPECT_EQ(CheckBytes(folder, std::string(23, 'x')).status, PackageStatus::PackageUnreadable);
  // A trailer with nothing before it: its digest matches, but there is no payload.
  EXPECT_EQ(CheckBytes(folder, MakePackage("", "")).status, PackageStatus::PackageUnreadable);
}

// The digest matches, yet the offset points past the payload: nothing may be read there.
TEST(PackageCheckTest, OffsetOutsideThePayloadIsUnreadable) {
  TempFolder folder;
  for (const std::uint32_t offset :
       {static_cast<std::uint32_t>(kProgram.size() + kPayload.size()), 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    std::string package = MakePackage(kProgram, kPayload);
    for (std::size_t i = 0; i < 4; ++i) {
      TrailerByte(package, 0, i) = static_cast<char>(offset >> (8 * i));
    }
    EXPECT_EQ(CheckBytes(folder, package).status, PackageStatus::PackageUnreadable) << offset;
  }
}
