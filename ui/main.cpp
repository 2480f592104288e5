// Setup.exe: the Windows edition of the update program.
#include <windows.h>
// windows.h first: the common controls header needs its types.
#include <commctrl.h>

#include "ui/message_box_win32.h"
#include "ui/setup_application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  InstallWin32MessageBox();
  return RunSetupApplication(instance);
}
