// Whole updates on staged machines, from waiting for the control program to the power-off
// question, with a real payload script that installs the new version.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "app/update_sequencer.h"
#include "base/language.h"
#include "base/message_box.h"
#include "base/messages.h"
#include "base/setup_run.h"
#include "base/text_format.h"
#include "migration/parameter_file.h"
#include "platform/file_system.h"
#include "platform/posix/fault_injection.h"
#include "platform/profile.h"
#include "tests/app/sequencer_test_access.h"
#include "tests/app/test_package.h"
#include "tests/support/mutex_holder.h"
#include "tests/support/posix/scoped_environment.h"
#include "tests/support/scripted_host.h"
#include "tests/support/staged_files.h"
#include "tests/support/staged_machine.h"
#include "tests/support/staged_update.h"

namespace fs = std::filesystem;

namespace {

using Trace = std::vector<std::string>;

constexpr char kPackagePath[] = "C:\\Media\\Setup.exe";
const std::string kMaker = kStagedMakerFolder;
const std::string kInstallation = kStagedInstallation;

class UpdateRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StageOldInstallation(machine_, BuildParameterFile({{"CController", StagedControllerBlock()}}));
    UsePackage(MakePackage("program image\n", kStagedPayloadScript));
  }

  void UsePackage(const std::string& bytes) {
    package_ = bytes;
    machine_.WriteFile(kPackagePath, bytes);
  }

  // Every file below the root with its content, the mutex's lock file aside.
  std::map<std::string, std::string> Snapshot() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(machine_.root())) {
      const std::string relative = fs::relative(entry.path(), machine_.root()).string();
      if (relative.rfind(".mutex", 0) == 0) continue;
      std::ifstream input(entry.path(), std::ios::binary);
      files[relative] = entry.is_directory() ? "<folder>"
                                             : std::string(std::istreambuf_iterator<char>(input),
                                                           std::istreambuf_iterator<char>());
    }
    return files;
  }

  std::vector<std::string> List(const std::string& pattern) const {
    return ListStagedNames(pattern);
  }

  // One tick as the dialog's timer gives it; the timer must be running, or the run would hang.
  Trace Tick(CUpdateSequencer& sequencer, ScriptedHost& host) {
    EXPECT_TRUE(host.TimerRunning()) << "tick in state " << sequencer.GetState();
    sequencer.OnTimer(kStepTimerId);
    return host.TakeNewTrace();
  }

  // Ticks until the host closes; each tick's trace, ticks that did nothing left out.
  std::vector<Trace> RunToEnd(CUpdateSequencer& sequencer, ScriptedHost& host) {
    std::vector<Trace> ticks;
    for (int i = 0; i < 400 && !host.Closed() && host.TimerRunning(); ++i) {
      Trace trace = Tick(sequencer, host);
      if (!trace.empty()) ticks.push_back(trace);
    }
    EXPECT_TRUE(host.Closed()) << "stopped in state " << sequencer.GetState();
    return ticks;
  }

  // The package to run, and the log in the temporary folder of the machine.
  static void StartAsTheHostsDo(SetupRun& run) {
    run.packageFile = kPackagePath;
    run.logDirectory = "C:\\Temp\\";
  }

  StagedMachine machine_;
  ScopedEnvironment root_{"SETUP_ROOT", machine_.root()};
  std::string package_;
};

TEST_F(UpdateRunTest, NormalUpdate) {
  ScriptedHost host({kIdOk, kIdYes, kIdNo, kIdNo});
  StartAsTheHostsDo(host.Run());
  CUpdateSequencer sequencer(host, [](unsigned) {});
  host.StartStepTimer();
  host.TakeNewTrace();
  const std::vector<Trace> ticks = RunToEnd(sequencer, host);

  EXPECT_EQ(host.Labels(), (std::vector<int>{140, 141, 142, 144, 145, 146, 147, 148, 150, 151}));
  EXPECT_EQ(sequencer.GetRunEnd(), CUpdateSequencer::RunEnd::kFinished);
  // The timer discipline of each state, and nothing in between (state 6 shows nothing).
  const std::vector<Trace> expected = {{"label 140"},
                                       {"stop", "label 141", "message 0x31", "start"},
                                       {"stop", "message 0x34", "start"},
                                       {"label 142", "stop", "start"},
                                       {"label 144", "stop", "start"},
                                       {"label 145", "stop", "start"},
                                       {"label 146"},
                                       {"stop", "label 147", "start"},
                                       {"label 148", "stop", "start"},
                                       {"stop", "message 0x30", "label 150", "start"},
                                       {"stop", "message 0x104", "start"},
                                       {"stop", "label 151", "message 0x34", "close"}};
  EXPECT_EQ(ticks, expected);
  EXPECT_EQ(host.Messages()[0].text,
            "警告！\n安装程序将删除(" + kMaker +
                ")中的所有文件。请先保存参数，以备新版本安装后恢复。\n\n按<确定>"
                "按钮，进行下一步骤。\n按<取消>按钮，退出安装程序。");

  // The backup holds the old installation; the package was kept beside it.
  const std::vector<std::string> backups = List("D:\\Backup\\Pelmo *");
  ASSERT_EQ(backups.size(), 1u);
  const std::string backup = "D:\\Backup\\" + backups[0] + "\\";
  EXPECT_EQ(machine_.ReadFile(backup + "Control\\vexorand.fmt"), kStagedOldFormat);
  EXPECT_TRUE(machine_.Exists(backup + "Control\\config\\A\\vexorand.dat"));
  EXPECT_EQ(machine_.ReadFile("D:\\Backup\\Setup.exe"), package_);

  // The old installation and its shortcuts are gone; the new one is in place with its language
  // and drivers; the payload file is deleted.
  EXPECT_FALSE(machine_.Exists(kInstallation + "only-in-5.3.txt"));
  EXPECT_FALSE(machine_.Exists("C:\\Users\\Operator\\Desktop\\Vexorand.lnk"));
  EXPECT_FALSE(machine_.Exists("C:\\Users\\Operator\\Start Menu\\Programs\\Vexo rand.lnk"));
  EXPECT_EQ(
      platform::ReadProfileString("ActiveLang", "ActiveLang", "", kInstallation + "lang\\lang.ini"),
      "chn");
  EXPECT_EQ(machine_.ReadFile("C:\\Windows\\System32\\drivers\\vexio.sys"), "driver image");
  EXPECT_EQ(List("C:\\Windows\\INF\\oem*.inf").size(), 1u);
  EXPECT_TRUE(List("C:\\Temp\\sep*.tmp").empty());

  // The parameters the new format still knows were carried; the binary files are gone.
  const std::string amendment = machine_.ReadFile(kInstallation + "config\\A\\amend.dat");
  EXPECT_NE(amendment.find("speed = 1200"), std::string::npos) << amendment;
  EXPECT_NE(amendment.find("newOnly = 3"), std::string::npos) << amendment;
  EXPECT_NE(amendment.find("[Axes]"), std::string::npos) << amendment;
  EXPECT_EQ(amendment.find("oldOnly"), std::string::npos) << amendment;
  EXPECT_EQ(amendment.find("m__df_"), std::string::npos) << amendment;
  EXPECT_FALSE(machine_.Exists(kInstallation + "config\\A\\vexorand.dat"));
}

// A folder the clearing cannot remove (read-only here, as a log held open on Windows) does not
// stop the update, but the run does not count as complete.
TEST_F(UpdateRunTest, WhatTheClearingLeftMakesTheRunIncomplete) {
  const std::string stuck = kInstallation + "Logs";
  machine_.WriteFile(stuck + "\\helper.log", "held");
  ASSERT_TRUE(platform::SetAttributes(stuck, platform::kAttributeReadOnly));
  ScriptedHost host({kIdOk, kIdYes, kIdNo, kIdNo});
  StartAsTheHostsDo(host.Run());
  CUpdateSequencer sequencer(host, [](unsigned) {});
  host.StartStepTimer();
  RunToEnd(sequencer, host);

  EXPECT_EQ(sequencer.GetRunEnd(), CUpdateSequencer::RunEnd::kFinished)
      << sequencer.GetFailureText();
  EXPECT_EQ(sequencer.Report().notDeleted,
            std::vector<std::string>{"C:\\Program Files\\Pelmo\\Control\\Logs"});
  EXPECT_EQ(sequencer.GetExitCode(), kExitIncomplete);
  EXPECT_FALSE(machine_.Exists(kInstallation + "only-in-5.3.txt"));
}

TEST_F(UpdateRunTest, CancelOnTheWarningChangesNothing) {
  const auto before = Snapshot();
  ScriptedHost host({kIdCancel});
  StartAsTheHostsDo(host.Run());
  CUpdateSequencer sequencer(host, [](unsigned) {});
  host.StartStepTimer();
  RunToEnd(sequencer, host);
  EXPECT_EQ(host.Labels(), (std::vector<int>{140, 141}));
  EXPECT_EQ(sequencer.GetRunEnd(), CUpdateSequencer::RunEnd::kCancelled);
  // Only the run's own record is new.
  auto after = Snapshot();
  EXPECT_NE(after["c/Temp/VexorandSetupReport.json"].find("\"exit_code\":2,"), std::string::npos);
  after.erase("c/Temp/VexorandSetupReport.json");
  after.erase("c/Temp/VexorandSetupLog.txt");
  EXPECT_EQ(after, before);
}

// Nothing installed, nothing to warn about.
TEST_F(UpdateRunTest, MissingMakerFolderSkipsTheWarning) {
  fs::remove_all(machine_.HostPath(kMaker));
  ScriptedHost host;
  StartAsTheHostsDo(host.Run());
  CUpdateSequencer sequencer(host, [](unsigned) {});
  SequencerTestAccess::SetState(&sequencer, SequencerState::kConfirm);
  sequencer.Step();
  EXPECT_EQ(host.Trace(), (Trace{"stop", "label 141", "start"}));
  EXPECT_EQ(sequencer.GetState(), SequencerState::kPrepareParameters);
}

TEST_F(UpdateRunTest, DamagedPackageFailsBeforeAnythingChanges) {
  std::string damaged = package_;
  damaged[damaged.size() / 2] ^= 0x20;
  UsePackage(damaged);
  const auto before = Snapshot();
  ScriptedHost host;
  StartAsTheHostsDo(host.Run());
  CUpdateSequencer sequencer(host, [](unsigned) {});
  host.StartStepTimer();
  RunToEnd(sequencer, host);
  EXPECT_EQ(host.Labels(), (std::vector<int>{140, 141}));
  ASSERT_EQ(host.Messages().size(), 1u);
  EXPECT_EQ(host.Messages()[0].text.rfind(kSignatureMismatch.chinese, 0), 0u);
  EXPECT_EQ(host.Messages()[0].style, 0u);
  EXPECT_EQ(sequencer.GetRunEnd(), CUpdateSequencer::RunEnd::kFailed);
  // Only the log tells afterwards where and why the run stopped.
  auto after = Snapshot();
  const std::string log = after["c/Temp/VexorandSetupLog.txt"];
  EXPECT_NE(log.find("stopped in state 1: "), std::string::npos) << log;
  after.erase("c/Temp/VexorandSetupLog.txt");
  EXPECT_NE(after["c/Temp/VexorandSetupReport.json"].find("\"exit_code\":1,"), std::string::npos);
  after.erase("c/Temp/VexorandSetupReport.json");
  EXPECT_EQ(after, before);
}

// The payload is written before anything is deleted: no temporary file, no update.
TEST_F(UpdateRunTest, PayloadFileThatCannotBeWrittenEndsTheRunBeforeTheClearing) {
  fs::remove_all(machine_.HostPath("C:\\Temp"));
  machine_.WriteFile("C:\\Temp", "a file where the temporary directory should be");
  ScriptedHost host({kIdOk});
  StartAsTheHostsDo(host.Run());
  CUpdateSequencer sequencer(host, [](unsigned) {});
  host.StartStepTimer();
  RunToEnd(sequencer, host);
  EXPECT_EQ(host.Labels(), (std::vector<int>{140, 141}));
  EXPECT_EQ(sequencer.GetFailureText(), kTempFileFailed.chinese);
  EXPECT_EQ(sequencer.GetRunEnd(), CUpdateSequencer::RunEnd::kFailed);
  EXPECT_TRUE(machine_.Exists(kInstallation + "only-in-5.3.txt"));
}

TEST_F(UpdateRunTest, WaitsWhileTheControlProgramRuns) {
  MutexHolder controlProgram(kControlProgramMutexName);
  ScriptedHost host({kIdOk, kIdYes, kIdNo, kIdNo});
  StartAsTheHostsDo(host.Run());
  CUpdateSequencer sequencer(host, [](unsigned) {});
  host.StartStepTimer();
  host.TakeNewTrace();
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(Tick(sequencer, host), Trace{"label 140"});
    EXPECT_EQ(sequencer.GetState(), SequencerState::kWaitForControlProgram);
  }
  controlProgram.Release();
  Tick(sequencer, host);
  EXPECT_EQ(sequencer.GetState(), SequencerState::kConfirm);
  RunToEnd(sequencer, host);
  EXPECT_EQ(sequencer.GetRunEnd(), CUpdateSequencer::RunEnd::kFinished);
}

TEST_F(UpdateRunTest, PayloadThatEndsAtOnceIsNoticedOnTheNextTick) {
  ScriptedHost host({kIdOk, kIdYes, kIdNo, kIdNo});
  StartAsTheHostsDo(host.Run());
  CUpdateSequencer sequencer(host, [](unsigned) {});
  host.StartStepTimer();
  while (sequencer.GetState() != SequencerState::kWaitForPayload && !host.Closed())
    Tick(sequencer, host);
  ASSERT_EQ(List("C:\\Temp\\sep*.tmp").size(), 1u);
  // Waiting leaves the ended process for the sequencer to collect.
  ASSERT_EQ(platform::WaitForProcess(SequencerTestAccess::Payload(sequencer), 60000),
            platform::WaitResult::kEnded);
  Tick(sequencer, host);
  EXPECT_EQ(sequencer.GetState(), SequencerState::kRecordLanguage);
  EXPECT_TRUE(List("C:\\Temp\\sep*.tmp").empty());
}

TEST_F(UpdateRunTest, LongPayloadKeepsTheSequencerWaitingAndResponsive) {
  std::ofstream(machine_.root() + "/hold").put('h');
  ScriptedHost host({kIdOk, kIdYes, kIdNo, kIdNo});
  StartAsTheHostsDo(host.Run());
  CUpdateSequencer sequencer(host, [](unsigned) {});
  host.StartStepTimer();
  while (sequencer.GetState() != SequencerState::kWaitForPayload && !host.Closed())
    Tick(sequencer, host);
  host.TakeNewTrace();
  for (int i = 0; i < 10; ++i) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(Tick(sequencer, host).empty());
    // Each tick waits at most 100 ms; the slack is for loaded machines, not a measurement.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(sequencer.GetState(), SequencerState::kWaitForPayload);
  }
  EXPECT_EQ(List("C:\\Temp\\sep*.tmp").size(), 1u);
  fs::remove(machine_.root() + "/hold");
  for (int i = 0; i < 100 && sequencer.GetState() == SequencerState::kWaitForPayload; ++i)
    Tick(sequencer, host);
  EXPECT_EQ(sequencer.GetState(), SequencerState::kRecordLanguage);
  RunToEnd(sequencer, host);
  EXPECT_EQ(sequencer.GetRunEnd(), CUpdateSequencer::RunEnd::kFinished);
}

// Russian: the second texts, "rus" for the new installation; Yes to separation and power-off.
TEST_F(UpdateRunTest, SecondLanguageRunSeparatesAndSwitchesOff) {
  const std::string powerOffRecord = machine_.root() + "/powered-off";
  ScopedEnvironment powerOff("SETUP_POWER_OFF_COMMAND", "echo \"$1\" > '" + powerOffRecord + "'");
  ScriptedHost host({kIdOk, kIdYes, kIdYes, kIdYes});
  StartAsTheHostsDo(host.Run());
  host.Run().language = 2;
  CUpdateSequencer sequencer(host, [](unsigned) {});
  host.StartStepTimer();
  RunToEnd(sequencer, host);
  EXPECT_EQ(sequencer.GetRunEnd(), CUpdateSequencer::RunEnd::kFinished);

  std::vector<std::string> texts;
  for (const RecordedMessage& message : host.Messages()) texts.push_back(message.text);
  ASSERT_GE(texts.size(), 3u);
  EXPECT_EQ(texts.front().rfind("ВНИМАНИЕ:", 0), 0u);
  EXPECT_EQ(texts[texts.size() - 2], kSeparationQuestion.second);
  EXPECT_EQ(texts.back(), kPowerOffQuestion.second);

  EXPECT_EQ(
      platform::ReadProfileString("ActiveLang", "ActiveLang", "", kInstallation + "lang\\lang.ini"),
      "rus");
  EXPECT_TRUE(machine_.Exists("D:\\Pelmo\\Config\\A\\amend.dat"));
  std::ifstream record(powerOffRecord);
  std::string flags;
  record >> flags;
  EXPECT_EQ(flags, "8");
}

}  // namespace

// Faults seen before the clearing, and a payload that installed nothing, end the run through
// Fail with nothing deleted afterwards; the log names the state.
TEST_F(UpdateRunTest, FaultsTheRunCanSeeStopItBeforeTheyCostAnything) {
  struct Case {
    const char* name;
    const char* backupPath;
    const char* payload;
    const TwoTextMessage& message;
    int state;
    bool installationKept;
  };
  // The new setup.cfg as a link to itself: the disk cannot say whether it is there.
  const std::string settingsUnreadable = std::string(kStagedPayloadScript) +
                                         "rm \"$maker/setup.cfg\"\n"
                                         "ln -s setup.cfg \"$maker/setup.cfg\"\n";
  const Case cases[] = {
      {"backup inside the maker folder", "C:\\Program Files\\Pelmo\\Bak\\", kStagedPayloadScript,
       kBackupFailed, 3, true},
      {"backup onto a file", "C:\\Media\\Setup.exe\\", kStagedPayloadScript, kBackupFailed, 3,
       true},
      {"payload installs nothing", "D:\\Backup\\", "#!/bin/sh\nexit 0\n", kNothingInstalled, 6,
       false},
      {"new settings cannot be looked at", "D:\\Backup\\", settingsUnreadable.c_str(),
       kInstallationUnreadable, 6, false},
  };
  for (const Case& test : cases) {
    StagedMachine machine;
    ScopedEnvironment root("SETUP_ROOT", machine.root());
    StageOldInstallation(machine, BuildParameterFile({{"CController", StagedControllerBlock()}}));
    machine.WriteFile(kMaker + "setup.cfg", std::string("[SETTINGS]\r\nPATH=Control\\\r\n") +
                                                "BACKUPPATH=" + test.backupPath + "\r\n");
    machine.WriteFile(kPackagePath, MakePackage("program image\n", test.payload));
    ScriptedHost host({kIdOk, kIdYes, kIdNo, kIdNo});
    StartAsTheHostsDo(host.Run());
    CUpdateSequencer sequencer(host, [](unsigned) {});
    host.StartStepTimer();
    RunToEnd(sequencer, host);
    EXPECT_EQ(sequencer.GetRunEnd(), CUpdateSequencer::RunEnd::kFailed) << test.name;
    const std::string prefix = host.Localise(test.message);
    const std::string text = sequencer.GetFailureText();
    EXPECT_EQ(text.substr(0, 6), prefix.substr(0, 6)) << test.name << ": " << text;
    EXPECT_EQ(machine.Exists(kInstallation + "only-in-5.3.txt"), test.installationKept)
        << test.name;
    // The parameters wait in the migration folder, named in the message.
    EXPECT_TRUE(machine.Exists("C:\\Temp\\Vexroand\\a_amend.dat")) << test.name;
    if (!test.installationKept) {
      EXPECT_NE(text.find("C:\\Temp\\Vexroand"), std::string::npos) << text;
      EXPECT_NE(text.find("D:\\Backup\\Pelmo "), std::string::npos) << text;
    }
    const std::string log = machine.ReadFile("C:\\Temp\\VexorandSetupLog.txt");
    EXPECT_NE(log.find("stopped in state " + std::to_string(test.state)), std::string::npos) << log;
    EXPECT_TRUE(List("C:\\Temp\\sep*.tmp").empty()) << test.name;
  }
}

#ifdef SETUP_FAULT_INJECTION
// A path the disk cannot look at before the clearing (an earlier run's record in state 2, the
// generated-files settings when the clearing begins) would be taken for none: the run ends
// through Fail, naming it and the reason, and nothing is deleted.
TEST_F(UpdateRunTest, PathsTheDiskCannotLookAtStopTheRunBeforeAnythingIsDeleted) {
  const struct {
    const char* name;
    SequencerState from;
  } rows[] = {
      {"setup_run.ini", SequencerState::kPrepareParameters},
      {"Config.ini", SequencerState::kClearOldInstallation},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    StagedMachine machine;
    ScopedEnvironment root("SETUP_ROOT", machine.root());
    StageOldInstallation(machine, BuildParameterFile({{"CController", StagedControllerBlock()}}));
    machine.WriteFile("C:\\Temp\\Vexroand\\setup_run.ini", "[UnfinishedRun]\r\n");
    machine.WriteFile(kPackagePath, package_);
    ScriptedHost host({kIdOk, kIdYes, kIdNo, kIdNo});
    host.Run().packageFile = kPackagePath;
    CUpdateSequencer sequencer(host, [](unsigned) {});
    host.StartStepTimer();
    for (int i = 0; i < 100 && sequencer.GetState() != row.from && !host.Closed(); ++i) {
      Tick(sequencer, host);
    }
    platform::ArmFaultOnName(row.name, EIO, platform::FileOperation::kQuery);
    RunToEnd(sequencer, host);
    platform::DisarmFaults();
    EXPECT_EQ(sequencer.GetRunEnd(), CUpdateSequencer::RunEnd::kFailed);
    const std::string text = sequencer.GetFailureText();
    const std::string unreadable = kFolderUnreadable.chinese;
    EXPECT_EQ(text.rfind(unreadable.substr(0, unreadable.find('%')), 0), 0u) << text;
    EXPECT_NE(text.find(row.name), std::string::npos) << text;
    EXPECT_TRUE(machine.Exists(kInstallation + "only-in-5.3.txt"));
    EXPECT_TRUE(machine.Exists("C:\\Temp\\Vexroand\\setup_run.ini"));
  }
}
#endif

// A settings file that cannot be read (here a folder in its place) would read as one without
// keys: the parameters would be looked for in the wrong place, or the versions found unequal, or
// an earlier run's kept parameters offered under no version.
TEST_F(UpdateRunTest, UnreadableSettingsStopTheRunBeforeAnythingIsDeleted) {
  for (const std::string& file : {kMaker + "setup.cfg", kInstallation + "config\\config.ini",
                                  std::string("C:\\Temp\\Vexroand\\setup_run.ini")}) {
    StagedMachine machine;
    ScopedEnvironment root("SETUP_ROOT", machine.root());
    StageOldInstallation(machine, BuildParameterFile({{"CController", StagedControllerBlock()}}));
    fs::remove(machine.HostPath(file));
    machine.MakeFolder(file);
    machine.WriteFile(kPackagePath, package_);
    ScriptedHost host({kIdOk, kIdYes, kIdNo, kIdNo});
    StartAsTheHostsDo(host.Run());
    CUpdateSequencer sequencer(host, [](unsigned) {});
    host.StartStepTimer();
    RunToEnd(sequencer, host);
    EXPECT_EQ(sequencer.GetRunEnd(), CUpdateSequencer::RunEnd::kFailed) << file;
    EXPECT_EQ(sequencer.GetFailureText(), FormatText(kSettingsUnreadable.chinese, file.c_str()));
    EXPECT_TRUE(machine.Exists(kInstallation + "only-in-5.3.txt")) << file;
    const std::string text = machine.ReadFile("C:\\Temp\\VexorandSetupLog.txt");
    EXPECT_NE(text.find("stopped in state 2"), std::string::npos) << text;
    // The payload written in state 1 goes with the run.
    EXPECT_TRUE(List("C:\\Temp\\sep*.tmp").empty()) << file;
  }
}
