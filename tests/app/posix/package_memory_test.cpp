// The package is hashed and its payload copied in pieces, so a large package costs no more memory
// than a small one. Measured in a child process, whose peak starts at what it inherits.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "app/package_check.h"
#include "platform/posix/volume_map.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr std::uint64_t kPackageSize = std::uint64_t{256} << 20;
constexpr long kAllowedGrowthKiB = 32 << 10;

long PeakResidentKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

TEST(PackageMemoryTest, LargePackageIsCheckedInBoundedMemory) {
  TempFolder folder;
  const std::string package = folder.Path("large.exe");
  // Sparse: the file costs no disk, and its zeros never match the digest of the trailer's zeros,
  // so the whole file is read before the answer comes.
  const int descriptor = open(platform::ToHostPath(package).c_str(), O_WRONLY | O_CREAT, 0600);
  ASSERT_GE(descriptor, 0);
  ASSERT_EQ(ftruncate(descriptor, static_cast<off_t>(kPackageSize)), 0);
  close(descriptor);

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const long before = PeakResidentKiB();
    const PackageCheck check = CheckPackageFile(package);
    const long growth = PeakResidentKiB() - before;
    _exit(check.status == PackageStatus::SignatureMismatch && growth < kAllowedGrowthKiB ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "the check of a " << (kPackageSize >> 20) << " MiB package grew by 32 MiB or more";
}
