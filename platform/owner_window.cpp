#include "platform/owner_window.h"

namespace platform {
namespace {

void* g_ownerWindow = nullptr;

}  // namespace

void SetOwnerWindow(void* window) {
  g_ownerWindow = window;
}

void* GetOwnerWindow() {
  return g_ownerWindow;
}

}  // namespace platform
