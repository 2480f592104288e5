#include <gtest/gtest.h>

#include "migration/amendment_file.h"

namespace {

std::vector<std::string> Lines(const ParameterList& entries) {
  std::vector<std::string> lines;
  for (const ParameterEntry& entry : entries) {
    lines.push_back(FormatParameterLine(entry));
  }
  return lines;
}

using Lines_ = std::vector<std::string>;

TEST(ParameterMergeTest, CarriedValuesReplaceKnownOnesAndNewOnesGoBeforeTheLastEntry) {
  ParameterList controller = {{"[CController]", ""}, {"m_X", "1"}, {"m_Last", "9"}};
  MergeParameters({{"[CController]", ""}, {"m_X", "5"}, {"m_Y", "7"}}, &controller);
  EXPECT_EQ(Lines(controller), (Lines_{"[CController]", "m_X = 5", "m_Y = 7", "m_Last = 9"}));
}

TEST(ParameterMergeTest, NamesMatchExactlyAndEachCarriedEntryIsUsedOnce) {
  ParameterList controller = {{"[CController]", ""}, {"m_a", "1"}, {"m_A", "2"}, {"m_End", "0"}};
  MergeParameters({{"m_A", "20"}, {"m_A", "21"}, {"m_b", "3"}}, &controller);
  EXPECT_EQ(Lines(controller),
            (Lines_{"[CController]", "m_a = 1", "m_A = 20", "m_A = 21", "m_b = 3", "m_End = 0"}));
}

TEST(ParameterMergeTest, NothingCarriedLeavesTheSectionAsItIs) {
  ParameterList controller = {{"[CController]", ""}, {"m_X", "1"}};
  MergeParameters({}, &controller);
  EXPECT_EQ(Lines(controller), (Lines_{"[CController]", "m_X = 1"}));
  ParameterList none;
  MergeParameters({}, &none);
  EXPECT_TRUE(none.empty());
}

TEST(ParameterMergeTest, CarriedEntriesAreNeverLeftWithoutASection) {
  // No section in the amendment file: it is made, header first.
  ParameterList missing;
  MergeParameters({{"[CController]", ""}, {"m_X", "5"}, {"m_Y", "7"}}, &missing);
  EXPECT_EQ(Lines(missing), (Lines_{"[CController]", "m_X = 5", "m_Y = 7"}));

  // A section holding only its header: the entries follow it instead of standing above it.
  ParameterList headerOnly = {{"[CController]", ""}};
  MergeParameters({{"[CController]", ""}, {"m_X", "5"}}, &headerOnly);
  EXPECT_EQ(Lines(headerOnly), (Lines_{"[CController]", "m_X = 5"}));

  // A temporary file without its header line still lands inside the section.
  ParameterList bare;
  MergeParameters({{"m_X", "5"}}, &bare);
  EXPECT_EQ(Lines(bare), (Lines_{"[CController]", "m_X = 5"}));
}

TEST(ParameterMergeTest, GuardFieldsAreRemovedWhateverFollowsTheirNames) {
  ParameterList entries = {{"[CController]", ""},
                           {"m__df_beginCController", "0"},
                           {"m__df_endCController", "0"},
                           {"m__df_endCController[0]", "1"},
                           {"m__df_beginCController.x", "2"},
                           {"m__df_beginCControllerX", "3"},
                           {"Axis.m__df_endCController", "4"}};
  RemoveMarkerEntries(&entries);
  EXPECT_EQ(Lines(entries), (Lines_{"[CController]", "m__df_beginCControllerX = 3",
                                    "Axis.m__df_endCController = 4"}));
}

}  // namespace
