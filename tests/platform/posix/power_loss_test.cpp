// The power-loss model of the fault hook: after a cut, the disk holds only what was flushed.
#include "platform/posix/power_loss.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/file.h"
#include "platform/file_system.h"
#include "tests/support/temp_folder.h"

#ifdef SETUP_FAULT_INJECTION

namespace {

bool Write(const std::string& path, const std::string& text, bool flush) {
  platform::File file;
  return file.Open(path, platform::File::Mode::kCreate) && file.Write(text.data(), text.size()) &&
         (!flush || file.Flush());
}

std::string Held(const TempFolder& folder, const std::string& name) {
  return platform::PathExists(folder.Path(name)) ? folder.ReadFile(name) : "(none)";
}

TEST(PowerLossTest, OnlyWhatWasFlushedSurvivesACut) {
  struct Case {
    const char* what;
    std::function<bool(const TempFolder&)> steps;
    const char* name;
    const char* after;
  };
  const std::vector<Case> cases = {
      {"written, flushed, renamed into place",
       [](const TempFolder& f) {
         return Write(f.Path("t.tmp"), "new", true) &&
                platform::ReplaceFileAtomically(f.Path("t.tmp"), f.Path("old.txt"));
       },
       "old.txt", "new"},
      {"renamed into place without its flush",
       [](const TempFolder& f) {
         return Write(f.Path("t.tmp"), "new", false) &&
                platform::ReplaceFileAtomically(f.Path("t.tmp"), f.Path("old.txt"));
       },
       "old.txt", ""},
      {"rewritten in place without a flush",
       [](const TempFolder& f) { return Write(f.Path("old.txt"), "new", false); }, "old.txt",
       "old"},
      {"made in a new folder whose parent was not flushed",
       [](const TempFolder& f) {
         return platform::MakeDirectory(f.Path("d")) && Write(f.Path("d\\a.tmp"), "kept", true) &&
                platform::ReplaceFileAtomically(f.Path("d\\a.tmp"), f.Path("d\\a.txt"));
       },
       "d\\a.txt", "(none)"},
      {"made in a new folder made durably",
       [](const TempFolder& f) {
         return platform::MakeDirectoryDurably(f.Path("d")) &&
                Write(f.Path("d\\a.tmp"), "kept", true) &&
                platform::ReplaceFileAtomically(f.Path("d\\a.tmp"), f.Path("d\\a.txt"));
       },
       "d\\a.txt", "kept"},
      {"deleted without a flush of its folder",
       [](const TempFolder& f) { return platform::RemoveFile(f.Path("old.txt")); }, "old.txt",
       "(none)"},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    folder.WriteFile("old.txt", "old");
    platform::ModelPowerLoss();
    EXPECT_TRUE(c.steps(folder)) << c.what;
    platform::LoseUnflushedChanges();
    platform::DisarmFaults();
    EXPECT_EQ(Held(folder, c.name), c.after) << c.what;
  }
}

}  // namespace

#endif
