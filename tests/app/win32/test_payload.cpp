#include "tests/app/test_payload.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>

// The program reads what to do from its environment, which it inherits from the test.
std::string MakeTestPayload(const std::string& markerFile, unsigned milliseconds) {
  SetEnvironmentVariableA("SETUP_TEST_PAYLOAD_MARKER", markerFile.c_str());
  SetEnvironmentVariableA("SETUP_TEST_PAYLOAD_WAIT_MS", std::to_string(milliseconds).c_str());
  std::ifstream program(TEST_PAYLOAD_PROGRAM, std::ios::binary);
  EXPECT_TRUE(program.good()) << "cannot read " << TEST_PAYLOAD_PROGRAM;
  return std::string(std::istreambuf_iterator<char>(program), std::istreambuf_iterator<char>());
}
