// The POSIX edition reports the NT family and never switches the computer off by itself: a
// power-off runs the command an operator configured, and nothing when there is none.
#include "platform/system_actions.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

extern char** environ;

namespace platform {

namespace {

constexpr const char* kPowerOffCommandVariable = "SETUP_POWER_OFF_COMMAND";
constexpr std::uint32_t kPlatformNt = 2;

}  // namespace

bool QueryPlatformId(std::uint32_t* platformId) {
  *platformId = kPlatformNt;
  return true;
}

void EnableShutdownPrivilege() {}

void RequestSystemExit(std::uint32_t flags) {
  const char* command = std::getenv(kPowerOffCommandVariable);
  if (command == nullptr || *command == '\0') return;
  // The flags reach the command as its first argument.
  const std::string flagText = std::to_string(flags);
  char* const arguments[] = {const_cast<char*>("sh"),
                             const_cast<char*>("-c"),
                             const_cast<char*>(command),
                             const_cast<char*>("sh"),
                             const_cast<char*>(flagText.c_str()),
                             nullptr};
  pid_t process = 0;
  if (posix_spawn(&process, "/bin/sh", nullptr, nullptr, arguments, environ) != 0) return;
  int status = 0;
  waitpid(process, &status, 0);
}

}  // namespace platform
