// The built Setup.exe, loaded for its resources only.
#pragma once

#include <windows.h>

// The module handle, loaded once per test run; the tests fail when it cannot be loaded.
HINSTANCE SetupModule();
