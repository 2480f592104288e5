#include "base/power_off.h"

#include "platform/system_actions.h"

namespace {

constexpr std::uint32_t kNtPlatformId = 2;

}  // namespace

bool IsNtFamily() {
  std::uint32_t platformId = 0;
  return platform::QueryPlatformId(&platformId) && platformId == kNtPlatformId;
}

void ShutDownSystem(std::uint32_t flags) {
  if (IsNtFamily()) {
    platform::EnableShutdownPrivilege();
  }
  platform::RequestSystemExit(flags);
}
