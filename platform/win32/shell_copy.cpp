#include "platform/shell_copy.h"

// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "platform/owner_window.h"
#include "platform/path_split.h"

namespace platform {

bool ShellCopy(const std::string& sourcePattern, const std::string& destination,
               const std::string& title) {
  // The shell takes lists of paths, each ended by a zero and the list by a second one.
  const std::string from = sourcePattern + '\0';
  // A destination with a trailing backslash is refused by some shells; the folder is the same.
  const std::string to = WithoutTrailingSeparators(destination, 3) + '\0';
  SHFILEOPSTRUCTA operation{};
  operation.hwnd = static_cast<HWND>(GetOwnerWindow());
  operation.wFunc = FO_COPY;
  operation.pFrom = from.c_str();
  operation.pTo = to.c_str();
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR;
  operation.lpszProgressTitle = title.c_str();
  return SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted;
}

}  // namespace platform
