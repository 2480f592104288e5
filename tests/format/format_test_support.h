// A parser that reports to a recording sink, and a fresh folder, for the format suites.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "format/format_parser.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_folder.h"

class FormatParserTest : public testing::Test {
 protected:
  bool Parse(const std::string& text) {
    return parser_.ParseText("C:\\Pelmo\\Control\\vexorand.fmt", text);
  }
  // Parses a text that must fail and returns the last log entry.
  std::string ErrorOf(const std::string& text) {
    EXPECT_FALSE(Parse(text)) << text;
    return sink_.entries().empty() ? std::string() : sink_.entries().back();
  }
  const CTypeRecord& Type(const std::string& name) {
    const int index = parser_.Types().Find(name);
    EXPECT_GE(index, 0) << name;
    return parser_.Types().At(index < 0 ? 0 : index);
  }
  const CFieldRecord& Field(const std::string& type, std::size_t index) {
    return Type(type).fields.at(index);
  }

  TempFolder folder_;
  RecordingSink sink_;
  CFormatParser parser_{sink_};
};
