#include "platform/system_actions.h"

#include <windows.h>

namespace platform {
namespace {

constexpr DWORD kExtendedRecordSize = 156;
constexpr DWORD kBasicRecordSize = 148;

}  // namespace

bool QueryPlatformId(std::uint32_t* platformId) {
  // The extended record begins with the basic one, so one buffer serves both attempts.
  OSVERSIONINFOEXA version{};
  static_assert(sizeof version == kExtendedRecordSize, "extended version record");
  static_assert(sizeof(OSVERSIONINFOA) == kBasicRecordSize, "basic version record");
  auto* basic = reinterpret_cast<OSVERSIONINFOA*>(&version);
// GetVersionExA is deprecated, but the platform identifier is exactly what it reports.
#if defined(_MSC_VER)
#pragma warning(push)
#pragma warning(disable : 4996)
#else
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  version.dwOSVersionInfoSize = kExtendedRecordSize;
  if (!GetVersionExA(basic)) {
    version.dwOSVersionInfoSize = kBasicRecordSize;
    if (!GetVersionExA(basic)) return false;
  }
#if defined(_MSC_VER)
#pragma warning(pop)
#else
#pragma GCC diagnostic pop
#endif
  *platformId = version.dwPlatformId;
  return true;
}

void EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
    return;
  }
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
  AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  CloseHandle(token);
}

void RequestSystemExit(std::uint32_t flags) {
  ExitWindowsEx(flags, 0xFFFFFFFF);
}

}  // namespace platform
