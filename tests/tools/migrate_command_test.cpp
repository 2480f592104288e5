#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "migration/parameter_file.h"
#include "platform/file_identity.h"
#include "platform/file_system.h"
#include "tests/support/host_tree.h"
#include "tests/support/staged_files.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/vextool_run.h"
#include "tools/vextool/commands.h"

namespace {

using Outcome = VextoolOutcome;

constexpr const char kOldFormat[] =
    "#pragma pack(4)\nfield CController { int m__df_beginCController; int a; int b; char s[8];\n"
    "int m__df_endCController; };\n";
constexpr const char kNewFormat[] =
    "#pragma pack(4)\nfield CController { int m__df_beginCController; int a; int c; char s[8];\n"
    "int m__df_endCController; };\n";
constexpr const char kNewAmendment[] = "[CController]\r\na = 1\r\nc = 9\r\n[Other]\r\nx = 1\r\n";

// An old installation with configurations Mill and Gone, a new one with Mill only.
class MigrateCommandTest : public testing::Test {
 protected:
  MigrateCommandTest() {
    std::string block(24, '\0');
    const int a = 5, b = 7;
    std::memcpy(&block[4], &a, 4);
    std::memcpy(&block[8], &b, 4);
    std::memcpy(&block[12], "AB;CD", 5);
    dat_ = BuildParameterFile({{"CController", block}});
    Stage();
  }
  // The two installations as they were staged, whatever a test did to them.
  void Stage() const {
    for (const char* tree : {"old", "new"}) RemoveStagedTree(folder().Path(tree));
    folder().WriteFile("old\\vexorand.fmt", kOldFormat);
    folder().WriteFile("old\\config\\Mill\\vexorand.dat", dat_);
    folder().WriteFile("old\\config\\Gone\\vexorand.dat", dat_);
    folder().WriteFile("new\\vexorand.fmt", kNewFormat);
    folder().WriteFile("new\\config\\Mill\\amend.dat", kNewAmendment);
  }
  Outcome Migrate(const std::string& from, const std::string& to,
                  std::vector<std::string> options) {
    CommandArguments arguments = {"migrate", "--from", folder().Path(from), "--to",
                                  folder().Path(to)};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return RunVextoolCaptured(arguments);
  }
  Outcome Migrate(std::vector<std::string> options) { return Migrate("old", "new", options); }
  const TempFolder& folder() const { return folder_; }

  TempFolder folder_;
  std::string dat_;
};

TEST_F(MigrateCommandTest, DryRunReportsEveryParameterAndWritesNothing) {
  // A damaged file is read from its good backup, as the update would restore it.
  std::string damaged = dat_;
  damaged[damaged.size() - 1] ^= 0x40;
  folder().WriteFile("old\\config\\Mill\\vexorand.dat", damaged);
  folder().WriteFile("old\\config\\Mill\\vexorand.dat.bak", dat_);

  const Outcome outcome = Migrate({"--dry-run", "--json"});
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  for (const char* expected : {
           "\"name\":\"Gone\",",
           "\"status\":\"skipped\",\"reason\":\"the new installation has no such configuration\"",
           "vexorand.dat.bak\",\"amendment\":",
           "\"status\":\"would be written\",\"reason\":null,\"parameters\":3,\"carried\":[{"
           "\"name\":\"a\",\"value\":\"5\",\"previous\":\"1\"}],\"dropped\":[{\"name\":\"b\","
           "\"value\":\"7\"}],"
           // Left out whole: the new version's value stays.
           "\"not_carried\":[{\"name\":\"s\",\"value\":\"\\\"AB;CD\\\"\",\"reason\":\"a ';' starts "
           "a comment in "
           "amend.dat\"}],\"left\":[{\"name\":\"c\",\"value\":\"9\"}]",
       }) {
    EXPECT_NE(outcome.out.find(expected), std::string::npos) << expected << "\nin\n" << outcome.out;
  }
  EXPECT_EQ(folder().ReadFile("new\\config\\Mill\\amend.dat"), kNewAmendment);
  EXPECT_EQ(folder().ReadFile("old\\config\\Mill\\vexorand.dat"), damaged);

  // Files are named as the host names them, with the letter case on the disk.
  const auto hostPath = [this](const std::string& relative) {
    std::string path = platform::HostPathOf(folder().Path(relative));
    for (std::size_t at = 0; (at = path.find('\\', at)) != std::string::npos; at += 2) {
      path.insert(at, 1, '\\');
    }
    return "\"" + path + "\"";
  };
  for (const std::string& expected :
       {"{\"from\":" + hostPath("old") + ",\"to\":" + hostPath("new") + ",",
        "\"amendment\":" + hostPath("new\\config\\Mill\\amend.dat") + ","}) {
    EXPECT_NE(outcome.out.find(expected), std::string::npos) << expected << "\nin\n" << outcome.out;
  }
}

// The round trip: what the report promised is what amend.dat then holds, beside the new
// version's other sections; no binary file is deleted.
TEST_F(MigrateCommandTest, RunWritesTheAmendmentFileAndKeepsBinaryFiles) {
  const Outcome outcome = Migrate({"--config", "MILL"});
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.out.find("Gone"), std::string::npos) << outcome.out;
  EXPECT_NE(outcome.out.find("configuration Mill: written\n"), std::string::npos) << outcome.out;
  EXPECT_NE(outcome.out.find("    a = 5 (the new amend.dat had 1)\n"), std::string::npos);
  EXPECT_NE(outcome.out.find("  dropped, unknown to the new format: 1\n    b = 7\n"),
            std::string::npos);
  EXPECT_EQ(folder().ReadFile("new\\config\\Mill\\amend.dat"),
            "[CController]\r\na = 5\r\nc = 9\r\n[Other]\r\nx = 1\r\n");
  EXPECT_EQ(folder().ReadFile("old\\config\\Mill\\vexorand.dat"), dat_);
}

// What the report says is what happened, and the old installation is only read, whatever the
// run finds there.
TEST_F(MigrateCommandTest, ReportsWhatHappenedAndNeverWritesTheOldInstallation) {
  struct Case {
    const char* label;
    std::function<void(const TempFolder&)> prepare;
    const char* from;
    const char* to;
    std::vector<std::string> options;
    int status;
    std::string expected;  // on standard error when status is 1 and nothing was reported
    std::string unexpected;
  };
  // amend.dat becomes a folder: it cannot be read, so it is not replaced.
  const auto blockAmendment = [](const TempFolder& f) {
    platform::RemoveFile(f.Path("new\\config\\Mill\\amend.dat"));
    f.WriteFile("new\\config\\Mill\\amend.dat\\blocked", "");
  };
  const std::vector<Case> cases = {
      {"--to missing",
       nullptr,
       "old",
       "nowhere",
       {},
       1,
       "--to '" + folder().Path("nowhere") + "': no such folder\n",
       ""},
      {"--to no installation",
       [](const TempFolder& f) { f.WriteFile("empty\\x.txt", ""); },
       "old",
       "empty",
       {},
       1,
       "--to '" + folder().Path("empty") + "' holds no installation",
       ""},
      {"--from missing",
       nullptr,
       "nowhere",
       "new",
       {},
       1,
       "--from '" + folder().Path("nowhere") + "': no such folder\n",
       ""},
      {"--config names none",
       nullptr,
       "old",
       "new",
       {"--config", "mill", "--config", "Lathe"},
       1,
       "--config 'Lathe': the old installation has no such configuration\n",
       ""},
      {"damaged vexorand.dat, written run",
       [this](const TempFolder& f) {
         std::string damaged = dat_;
         damaged[damaged.size() - 1] ^= 0x40;
         f.WriteFile("old\\config\\Mill\\vexorand.dat", damaged);
         f.WriteFile("old\\config\\Mill\\vexorand.dat.bak", dat_);
       },
       "old",
       "new",
       {"--config", "Mill"},
       0,
       "vexorand.dat.bak\n  to ",
       ""},
      {"not written, text",
       blockAmendment,
       "old",
       "new",
       {"--config", "Mill"},
       1,
       "configuration Mill: not written (amend.dat cannot be read)\n  from ",
       "carried"},
      {"not written, JSON",
       blockAmendment,
       "old",
       "new",
       {"--config", "Mill", "--json"},
       1,
       "\"status\":\"not written\",\"reason\":\"amend.dat cannot be read\",\"parameters\":null,"
       "\"carried\":[],\"dropped\":[],\"not_carried\":[],\"left\":[]}",
       ""},
      // s, which cannot be carried, is the new amend.dat's too, but counts once.
      {"disjoint groups",
       [](const TempFolder& f) {
         f.WriteFile("new\\config\\Mill\\amend.dat",
                     "[CController]\r\na = 1\r\nc = 9\r\ns = \"x\"\r\n");
       },
       "old",
       "new",
       {"--config", "Mill", "--dry-run"},
       0,
       "  parameters of the old block: 3\n  carried: 1\n    a = 5 (the new amend.dat had 1)\n"
       "  dropped, unknown to the new format: 1\n    b = 7\n"
       "  not carried, the value cannot be written: 1\n"
       "    s = \"AB;CD\": a ';' starts a comment in amend.dat\n"
       "  left at the new version's value: 1\n    c = 9\n",
       ""},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.label);
    Stage();
    if (test.prepare) test.prepare(folder());
    const auto before = TreeOf(platform::HostPathOf(folder().Path(test.from)));
    const Outcome outcome = Migrate(test.from, test.to, test.options);
    EXPECT_EQ(outcome.status, test.status) << outcome.err;
    const std::string& shown = test.status == 1 && outcome.out.empty() ? outcome.err : outcome.out;
    EXPECT_NE(shown.find(test.expected), std::string::npos) << shown;
    if (!test.unexpected.empty()) {
      EXPECT_EQ(shown.find(test.unexpected), std::string::npos) << shown;
    }
    EXPECT_EQ(TreeOf(platform::HostPathOf(folder().Path(test.from))), before);
  }
}

}  // namespace
