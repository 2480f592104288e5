// The sequencer's own decisions, on any system: what each state shows, asks and does with the
// step timer, and how a run ends. Whole runs on staged machines are in posix/.
#include "app/update_sequencer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/md5.h"
#include "app/package_trailer.h"
#include "base/message_box.h"
#include "base/messages.h"
#include "platform/file_system.h"
#include "platform/special_folders.h"
#include "tests/app/sequencer_test_access.h"
#include "tests/app/test_package.h"
#include "tests/support/mutex_holder.h"
#include "tests/support/scripted_host.h"
#include "tests/support/temp_folder.h"

namespace {

using Trace = std::vector<std::string>;

// The payload files in the temporary directory.
std::vector<std::string> PayloadFiles() {
  std::vector<platform::DirectoryEntry> entries;
  platform::ListDirectory(platform::GetTempFolder() + "sep*.tmp", &entries);
  std::vector<std::string> names;
  for (const platform::DirectoryEntry& entry : entries) names.push_back(entry.name);
  return names;
}

// A failed start leaves its payload file behind; the test removes it.
void RemovePayloadFilesNotIn(const std::vector<std::string>& before) {
  for (const std::string& name : PayloadFiles()) {
    if (std::find(before.begin(), before.end(), name) == before.end()) {
      platform::RemoveFile(platform::GetTempFolder() + name);
    }
  }
}

struct NoPause {
  std::vector<unsigned>* pauses;
  void operator()(unsigned milliseconds) const { pauses->push_back(milliseconds); }
};

}  // namespace

TEST(UpdateSequencerTest, OtherTimersDoNotStep) {
  ScriptedHost host;
  CUpdateSequencer sequencer(host);
  SequencerTestAccess::SetStateNumber(&sequencer, 8);  // a step would fail at once
  EXPECT_FALSE(sequencer.OnTimer(kStepTimerId + 1));
  EXPECT_FALSE(sequencer.OnTimer(0));
  EXPECT_EQ(sequencer.GetState(), static_cast<SequencerState>(8));
  EXPECT_TRUE(host.Trace().empty());
  EXPECT_EQ(sequencer.GetRunEnd(), CUpdateSequencer::RunEnd::kRunning);
}

TEST(UpdateSequencerTest, StatesOutsideTheSequenceFail) {
  for (const int state : {8, 12, 15, -1, 1000}) {
    ScriptedHost host;
    CUpdateSequencer sequencer(host);
    SequencerTestAccess::SetStateNumber(&sequencer, state);
    EXPECT_TRUE(sequencer.OnTimer(kStepTimerId));
    EXPECT_EQ(host.Trace(), (Trace{"stop", "message 0x0", "close"})) << state;
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0].text, "Invalid state!");
    EXPECT_EQ(sequencer.GetRunEnd(), CUpdateSequencer::RunEnd::kFailed);
    EXPECT_EQ(sequencer.GetFailureText(), "Invalid state!");
  }
}

TEST(UpdateSequencerTest, WaitsForTheControlProgramToEnd) {
  TempFolder machine;  // the mutex lives in a volume root on POSIX
  MutexHolder controlProgram(kControlProgramMutexName);
  ScriptedHost host;
  CUpdateSequencer sequencer(host);
  for (int tick = 0; tick < 3; ++tick) {
    EXPECT_TRUE(sequencer.OnTimer(kStepTimerId));
    EXPECT_EQ(host.TakeNewTrace(), Trace{"label 140"});
    EXPECT_EQ(sequencer.GetState(), SequencerState::kWaitForControlProgram);
  }
  controlProgram.Release();
  sequencer.Step();
  EXPECT_EQ(host.TakeNewTrace(), Trace{"label 140"});
  EXPECT_EQ(sequencer.GetState(), SequencerState::kConfirm);

  // From now on the run holds the mutex itself, so a second one would wait.
  ScriptedHost otherHost;
  CUpdateSequencer other(otherHost);
  other.Step();
  EXPECT_EQ(other.GetState(), SequencerState::kWaitForControlProgram);
}

// A damaged package must stop the run before the warning, so before anything is deleted.
TEST(UpdateSequencerTest, PackageIsCheckedBeforeTheWarning) {
  TempFolder folder;
  const std::string intact = "program image" + std::string("payload bytes");
  std::string package = MakePackage("program image", "payload bytes");
  package[3] ^= 0x01;
  folder.WriteFile("damaged.exe", package);
  ScriptedHost host;
  host.Run().packageFile = folder.Path("damaged.exe");
  CUpdateSequencer sequencer(host);
  SequencerTestAccess::SetState(&sequencer, SequencerState::kConfirm);
  sequencer.Step();
  EXPECT_EQ(host.Trace(), (Trace{"stop", "label 141", "stop", "message 0x0", "close"}));
  ASSERT_EQ(host.Messages().size(), 1u);
  EXPECT_EQ(host.Messages()[0].text, std::string(kSignatureMismatch.chinese) +
                                         FormatSignature(ComputeMd5(intact.data(), intact.size())));
  EXPECT_EQ(sequencer.GetRunEnd(), CUpdateSequencer::RunEnd::kFailed);
  EXPECT_EQ(sequencer.GetState(), SequencerState::kConfirm);
}

TEST(UpdateSequencerTest, UnreadablePackageFailsInTheSecondLanguage) {
  TempFolder folder;
  folder.WriteFile("short.exe", "too short for a trailer");
  for (const std::string& name : {std::string("short.exe"), std::string("missing.exe")}) {
    ScriptedHost host;
    host.Run().language = 2;
    host.Run().packageFile = folder.Path(name);
    CUpdateSequencer sequencer(host);
    SequencerTestAccess::SetState(&sequencer, SequencerState::kConfirm);
    sequencer.Step();
    ASSERT_EQ(host.Messages().size(), 1u) << name;
    EXPECT_EQ(host.Messages()[0].text, kPackageUnreadable.second);
    EXPECT_TRUE(host.Closed());
  }
}

// State 5 checks the package again: it may have changed since state 1.
TEST(UpdateSequencerTest, PayloadLaunchFailuresEndTheRunWithTheirMessages) {
  const std::string damagedPackage = [] {
    std::string bytes = MakePackage("program image", "payload bytes");
    bytes[0] ^= 0x01;
    return bytes;
  }();
  const std::string storedDigest = FormatSignature(ComputeMd5("program imagepayload bytes", 26));
  const Trace failsAtOnce = {"label 145", "stop", "message 0x0", "close"};
  const Trace failsAtTheStart = {"label 145", "stop", "start", "stop", "message 0x0", "close"};
  struct Case {
    const char* package;  // nullptr: no such file
    std::string bytes;
    const TwoTextMessage& message;
    std::string appended;
    Trace trace;
  };
  const Case cases[] = {
      {nullptr, "", kPackageUnreadable, "", failsAtOnce},
      {"damaged.exe", damagedPackage, kSignatureMismatch, storedDigest, failsAtOnce},
      {"no-program.exe", MakePackage("MZ", std::string(4096, '\x7F')), kProcessStartFailed, "",
       failsAtTheStart},
  };
  for (const int language : {0, 2}) {
    for (const Case& test : cases) {
      TempFolder folder;
      const std::string name = test.package != nullptr ? test.package : "missing.exe";
      if (test.package != nullptr) folder.WriteFile(name, test.bytes);
      const std::vector<std::string> payloadFiles = PayloadFiles();

      ScriptedHost host;
      host.Run().language = language;
      host.Run().packageFile = folder.Path(name);
      CUpdateSequencer sequencer(host);
      SequencerTestAccess::SetState(&sequencer, SequencerState::kStartPayload);
      sequencer.Step();
      EXPECT_EQ(host.Trace(), test.trace) << name;
      ASSERT_EQ(host.Messages().size(), 1u) << name;
      EXPECT_EQ(host.Messages()[0].text, host.Localise(test.message) + test.appended) << name;
      EXPECT_EQ(sequencer.GetRunEnd(), CUpdateSequencer::RunEnd::kFailed) << name;
      RemovePayloadFilesNotIn(payloadFiles);
    }
  }
}

TEST(UpdateSequencerTest, SeparationQuestionDefaultsToNoAndKeepsTheTimer) {
  for (const int language : {0, 2}) {
    ScriptedHost host({kIdNo});
    host.Run().language = language;
    CUpdateSequencer sequencer(host);
    SequencerTestAccess::SetState(&sequencer, SequencerState::kAskAboutSeparation);
    sequencer.Step();
    EXPECT_EQ(host.Trace(), (Trace{"stop", "message 0x104", "start"}));
    EXPECT_EQ(host.Messages()[0].text, host.Localise(kSeparationQuestion));
    EXPECT_EQ(sequencer.GetState(), SequencerState::kFinish);
    EXPECT_FALSE(host.Closed());
  }
}

TEST(UpdateSequencerTest, FinishPausesThenAsksAndCloses) {
  std::vector<unsigned> pauses;
  ScriptedHost host({kIdNo});
  CUpdateSequencer sequencer(host, NoPause{&pauses});
  SequencerTestAccess::SetState(&sequencer, SequencerState::kFinish);
  sequencer.Step();
  EXPECT_EQ(host.Trace(), (Trace{"stop", "label 151", "message 0x34", "close"}));
  EXPECT_EQ(pauses, std::vector<unsigned>{kFinishDelayMs});
  EXPECT_EQ(host.Messages()[0].text, kPowerOffQuestion.chinese);
  EXPECT_EQ(sequencer.GetRunEnd(), CUpdateSequencer::RunEnd::kFinished);
  EXPECT_FALSE(host.TimerRunning());
}
