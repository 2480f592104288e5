// The POSIX code page is UTF-8: none of its bytes opens a double-byte character.
#include <gtest/gtest.h>

#include "base/multibyte_case.h"
#include "platform/path_split.h"

namespace {

TEST(MultiByteCasePosix, Utf8BytesAreNoLeadBytes) {
  // Under the GBK rule the last byte of 中 (E4 B8 AD) would take the 'a' as its trail byte.
  EXPECT_EQ(ToUpperMultiByte("\xE4\xB8\xAD"
                             "a\\b"),
            "\xE4\xB8\xAD"
            "A\\B");
  EXPECT_EQ(ToLowerMultiByte("\xC3\x89T\xC3\xA9"), "\xC3\x89t\xC3\xA9");
  EXPECT_EQ(platform::FindLastSeparator("C:\\\xE4\xB8\xAD\\x"), 6u);
}

}  // namespace
