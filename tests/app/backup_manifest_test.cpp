#include "app/backup_manifest.h"

#include <gtest/gtest.h>

#include <string>

namespace {

BackupManifest SampleManifest() {
  BackupManifest manifest;
  manifest.parts = {{"C:\\Program Files\\Pelmo\\", ""}, {"E:\\Generated\\", "Control\\"}};
  BackupEntry folder;
  folder.path = "Control";
  folder.folder = true;
  BackupEntry file;
  file.part = 1;
  file.path = "Control\\Config\\A b\tc.dat";
  file.size = 10;
  file.digest = ComputeMd5("parameters", 10);
  manifest.entries = {folder, file};
  return manifest;
}

}  // namespace

TEST(BackupManifestTest, ReadsBackWhatItWrote) {
  const std::string text = FormatBackupManifest(SampleManifest());
  BackupManifest read;
  std::string error;
  ASSERT_TRUE(ParseBackupManifest(text, &read, &error)) << error;
  EXPECT_EQ(FormatBackupManifest(read), text);
  ASSERT_EQ(read.entries.size(), 2u);
  EXPECT_EQ(read.entries[1].path, "Control\\Config\\A b\tc.dat");
  EXPECT_EQ(read.entries[1].digest, ComputeMd5("parameters", 10));
}

// A manifest may come from anywhere: nothing in it may lead a restore out of the backup or
// into another part, and every number and digest must be whole.
TEST(BackupManifestTest, RefusesWhatIsNotWellFormed) {
  const std::string header = "Pelmo backup manifest 1\r\npart\t\tC:\\M\\\r\npart\tW\\\tD:\\W\\\r\n";
  const std::string digest = "\t0cc175b9c0f1b6a831c399e269772661\t";
  const char* const bodies[] = {
      "file\t0\t1"
      "\t0cc175b9c0f1b6a831c399e26977266\tshort digest",
      "file\t0\t1"
      "\t0cc175b9c0f1b6a831c399e26977266g\tnot hex",
      "file\t0\t-1\t0cc175b9c0f1b6a831c399e269772661\tnegative",
      "file\t0\t99999999999999999999\t0cc175b9c0f1b6a831c399e269772661\ttoo big",
      "file\t2\t1\t0cc175b9c0f1b6a831c399e269772661\tno such part",
      "file\t1\t1\t0cc175b9c0f1b6a831c399e269772661\tnot below W",
      "folder\t0\t..\\Windows",
      "folder\t0\tA\\..\\..\\B",
      "folder\t0\tC:\\Windows",
      "folder\t0\t\\Windows",
      "folder\t0\tA\\\\B",
      "folder\t0\t",
      "folder\t0\tA\r\nfolder\t0\ta",
      "folder\t0\tA\r\npart\tX\\\tC:\\X\\",
      "link\t0\tA",
  };
  for (const char* body : bodies) {
    BackupManifest manifest;
    std::string error;
    EXPECT_FALSE(ParseBackupManifest(header + body + "\r\n", &manifest, &error)) << body;
    EXPECT_FALSE(error.empty());
  }
  BackupManifest manifest;
  std::string error;
  EXPECT_FALSE(ParseBackupManifest("", &manifest, &error));
  EXPECT_FALSE(ParseBackupManifest("part\t\tC:\\M\\\r\n", &manifest, &error));
  EXPECT_TRUE(ParseBackupManifest(header + "file\t1\t1" + digest + "W\\a\r\n", &manifest, &error))
      << error;
}
