// The payload of the launch tests on Windows: waits, then leaves a marker that it ran.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main() {
  char marker[MAX_PATH] = "";
  char wait[32] = "0";
  GetEnvironmentVariableA("SETUP_TEST_PAYLOAD_MARKER", marker, sizeof marker);
  GetEnvironmentVariableA("SETUP_TEST_PAYLOAD_WAIT_MS", wait, sizeof wait);
  Sleep(static_cast<DWORD>(std::strtoul(wait, nullptr, 10)));
  if (std::FILE* file = std::fopen(marker, "wb")) {
    std::fputs("ran", file);
    std::fclose(file);
  }
  return 0;
}
