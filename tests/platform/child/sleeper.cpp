// A program for the process tests: sleeps as long as its environment says, then ends.
#include <chrono>
#include <cstdlib>
#include <thread>

int main() {
  const char* milliseconds = std::getenv("SETUP_TEST_SLEEP_MS");
  if (milliseconds != nullptr) {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(milliseconds)));
  }
  return 0;
}
