// The window that owns the shell's operations and the message boxes: the progress dialog while it
// is open. Kept here so that the copy and the message box need not know the dialog.
#pragma once

namespace platform {

// `window` is a window handle, or nullptr for none; GetOwnerWindow gives what was set last.
void SetOwnerWindow(void* window);
void* GetOwnerWindow();

}  // namespace platform
