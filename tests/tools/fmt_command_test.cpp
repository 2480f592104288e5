#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_identity.h"
#include "platform/file_system.h"
#include "platform/setup_api.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/vextool_run.h"
#include "tools/vextool/commands.h"

namespace {

using Outcome = VextoolOutcome;

class FmtCommandTest : public testing::Test {
 protected:
  Outcome Vextool(const CommandArguments& arguments) { return RunVextoolCaptured(arguments); }
  std::string Write(const std::string& name, const std::string& text) {
    folder().WriteFile(name, text);
    return folder().Path(name);
  }
  const TempFolder& folder() const { return folder_; }

  TempFolder folder_;
};

TEST_F(FmtCommandTest, DiffOfKnownPairs) {
  const char* axes = "struct Axis { int x; int y; };\n";
  const struct {
    const char* what;
    std::string before;
    std::string after;
    std::vector<std::string> options;
    int status;
    std::vector<const char*> expected;
  } cases[] = {
      {"comments are no change, guard fields no parameters",
       "field CController { int m__df_beginCController; int a /* old */; "
       "int m__df_endCController; };",
       "field CController { int m__df_beginCController; int a /* new */; "
       "int m__df_endCController; };",
       {},
       0,
       {"migration of CController: 1 parameters, 0 dropped\n"}},
      {"a renamed member is dropped",
       "field CController { int a; int b; };",
       "field CController { int a; int c; };",
       {},
       1,
       {"  - b: int, offset 4, size 4\n", "  + c: int, offset 4, size 4\n",
        "  likely renamed: b -> c (same type, offset and id)\n",
        "migration of CController: 2 parameters, 1 dropped\n  dropped: b\n"}},
      {"a member moved is no rename",
       "field CController { int a; int b; };",
       "field CController { int c; int a; };",
       {},
       1,
       {"  + c: int, offset 0, size 4\nmigration of CController"}},
      {"an alias is compared as written, a grown member moves the next",
       "field CController { short a; int b; };",
       "field CController { WORD a; double b; };",
       {},
       1,
       {"  size 8 -> 16, align 4 -> 8 (old parameter files no longer bind)\n",
        "  ~ a: type short -> WORD, format none -> 0x%04X\n",
        "  ~ b: type int -> double, offset 4 -> 8, size 4 -> 8\n", "0 dropped"}},
      {"a shrinking count drops indexes",
       std::string(axes) + "field CController { Axis axes[3]; };",
       std::string(axes) + "field CController { Axis axes[2]; };",
       {},
       1,
       {"  ~ axes: count 3 -> 2, size 24 -> 16\n",
        "6 parameters, 0 dropped, 2 array indexes fall away\n",
        "  index falls away: axes[2].x\n  index falls away: axes[2].y\n"}},
      {"structures added and removed",
       std::string(axes) + "field CController { int a; };",
       "struct Spindle { int rpm; };\nfield CController { int a; };",
       {},
       1,
       {"struct Axis: removed\n", "struct Spindle: added\n"}},
      {"--block leaves other blocks and their structures out",
       std::string(axes) + "field CController { int a; };\nfield CTool { Axis t; };",
       "struct Axis { int x; };\nfield CController { int a; };\nfield CTool { Axis t; };",
       {"--block", "CController"},
       0,
       {}},
      {"a file that does not parse is trouble",
       "field CController { int a; };",
       "field CController { int a }",
       {},
       2,
       {}},
      {"a block in neither file is trouble",
       "field CController { int a; };",
       "field CController { int a; };",
       {"--block=CTool"},
       2,
       {}},
  };
  for (const auto& c : cases) {
    CommandArguments arguments = {"fmt", "diff", Write("old.fmt", c.before),
                                  Write("new.fmt", c.after)};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const Outcome outcome = Vextool(arguments);
    EXPECT_EQ(outcome.status, c.status) << c.what << "\n" << outcome.out << outcome.err;
    for (const char* text : c.expected) {
      EXPECT_NE(outcome.out.find(text), std::string::npos) << c.what << ": " << text << "\nin\n"
                                                           << outcome.out;
    }
  }
}

TEST_F(FmtCommandTest, DiffJsonFollowsItsSchema) {
  const std::string before = Write("old.fmt", "field B { int a; char n[2]; };");
  const std::string after = Write("new.fmt", "field B { int a /* -f%X */; };");
  const auto escaped = [](std::string path) {
    for (std::size_t at = 0; (at = path.find('\\', at)) != std::string::npos; at += 2) {
      path.insert(at, 1, '\\');
    }
    return path;
  };
  const Outcome outcome = Vextool({"fmt", "diff", before, after, "--json"});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.out,
            "{\"old\":\"" + escaped(platform::HostPathOf(before)) + "\",\"new\":\"" +
                escaped(platform::HostPathOf(after)) +
                "\",\"identical\":false,\"types\":[{\"kind\":\"block\",\"name\":\"B\","
                "\"change\":\"changed\",\"changed\":[\"size\",\"idspan\"],"
                "\"old\":{\"size\":6,\"align\":4,\"idspan\":2,\"pack\":8},"
                "\"new\":{\"size\":4,\"align\":4,\"idspan\":1,\"pack\":8},\"members\":["
                "{\"name\":\"a\",\"change\":\"changed\",\"changed\":[\"format\"],"
                "\"old\":{\"type\":\"int\",\"pointer\":false,\"count\":0,\"offset\":0,"
                "\"size\":4,\"format\":null,\"element_format\":null,\"idoffset\":-1},"
                "\"new\":{\"type\":\"int\",\"pointer\":false,\"count\":0,\"offset\":0,"
                "\"size\":4,\"format\":\"%X\",\"element_format\":null,\"idoffset\":-1}},"
                "{\"name\":\"n\",\"change\":\"removed\",\"changed\":[],"
                "\"old\":{\"type\":\"char\",\"pointer\":false,\"count\":2,\"offset\":4,"
                "\"size\":2,\"format\":null,\"element_format\":null,\"idoffset\":-1},"
                "\"new\":null}],\"likely_renamed\":[]}],"
                "\"migration\":[{\"block\":\"B\",\"parameters\":2,\"dropped\":[\"n\"],"
                "\"indexes_fall_away\":[]}]}\n");
}

// What check says of a file it cannot use, and how: place first, the system's reason for a file
// that cannot be read.
TEST_F(FmtCommandTest, CheckSaysWhatIsWrongWithAFile) {
  const struct {
    const char* name;
    const char* text;
    const char* said;
  } cases[] = {
      {"empty.fmt", "", "'%s' declares nothing"},
      {"structs.fmt", "struct A { int x; };\n", "'%s' declares no block format"},
      {"bad.fmt", "\nfield C { int a }", "vextool: bad.fmt:2: Expecting token 'semicolon(;)'\n"},
      {"missing.fmt", nullptr, "cannot read '%s': "},
  };
  for (const auto& c : cases) {
    const std::string path = c.text != nullptr ? Write(c.name, c.text) : folder().Path(c.name);
    const Outcome outcome = Vextool({"fmt", "check", path});
    EXPECT_EQ(outcome.status, 1) << c.name;
    EXPECT_EQ(outcome.out, "") << c.name;
    std::string said = c.said;
    if (said.find("%s") != std::string::npos) said.replace(said.find("%s"), 2, path);
    if (c.text == nullptr) said += platform::SystemErrorText(platform::kErrorFileNotFound);
    EXPECT_NE(outcome.err.find(said), std::string::npos) << outcome.err;
  }
}

TEST_F(FmtCommandTest, WhatTheWorkLogsAlsoReachesStandardError) {
  // A malformed multiplier is logged while the value is rendered.
  const std::string format = Write("bad.fmt", "field CController { int a /* -m 12x */; };");
  const std::string data = Write("c.bin", std::string(4, '\0'));
  const Outcome outcome =
      Vextool({"fmt", "dump", format, "--block", "CController", "--data", data});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_NE(outcome.err.find("vextool: Illegal comment string\n"), std::string::npos)
      << outcome.err;
  EXPECT_EQ(outcome.log, std::vector<std::string>{"Illegal comment string\n"});

  // The terminal is spared the log's level mark and the name of the class that logged it.
  const Outcome missing = Vextool({"fmt", "dump", format, "--block", "CTool", "--data", data});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "vextool: The format of data block(CTool) not found.\n");
  EXPECT_EQ(missing.log,
            std::vector<std::string>{"|E|CFieldDescriptor: The format of data block(CTool) not "
                                     "found.\n"});
}

TEST_F(FmtCommandTest, LangPicksTheLanguageOfTheMessagesPrinted) {
  const std::string format =
      Write("c.fmt", "field CController { int a /* -g2 */; int b /* -g1 */; };");
  const std::string data = Write("c.bin", std::string(8, '\0'));
  const struct {
    CommandArguments lang;
    const char* text;
  } cases[] = {
      {{}, "There is repeated serial number"},
      {{"--lang", "zh"}, "参数编号重复或顺序有误"},
      {{"--lang=ru"}, "There is repeated serial number"},
      {{"--lang", "en"}, "There is repeated serial number"},
  };
  for (const auto& c : cases) {
    CommandArguments arguments = c.lang;
    arguments.insert(arguments.end(),
                     {"fmt", "dump", format, "--block", "CController", "--data", data});
    const Outcome outcome = Vextool(arguments);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.err.find(std::string("vextool fmt dump: warning: ") + c.text),
              std::string::npos)
        << outcome.err;
  }
  EXPECT_NE(Vextool({"--help"}).out.find("--lang LANG"), std::string::npos);
}

TEST_F(FmtCommandTest, DumpToAFileThatCannotBeWrittenSaysSo) {
  const std::string format = Write("c.fmt", "field CController { int a; };");
  const std::string data = Write("c.bin", std::string(4, '\0'));
  const Outcome outcome = Vextool({"fmt", "dump", format, "--block", "CController", "--data", data,
                                   "-o", folder().Path("no such folder\\dump.txt")});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find("cannot write '" + folder().Path("no such folder\\dump.txt") + "'"),
            std::string::npos)
      << outcome.err;
  EXPECT_EQ(outcome.err.find("cannot read"), std::string::npos) << outcome.err;
}

}  // namespace
