#include "tests/ui/setup_module.h"

#include <gtest/gtest.h>

#include <string>

HINSTANCE SetupModule() {
  static const HINSTANCE module = [] {
    // The test runs from <build>\tests\ui, Setup.exe lies in <build>\ui.
    wchar_t self[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    for (int level = 0; level < 3; ++level) {
      path.erase(path.find_last_of(L'\\'));
    }
    path += L"\\ui\\Setup.exe";
    return LoadLibraryExW(path.c_str(), nullptr,
                          LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  }();
  EXPECT_NE(module, nullptr) << "Setup.exe not found beside the tests";
  return module;
}
