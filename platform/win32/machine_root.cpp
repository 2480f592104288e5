#include "platform/machine_root.h"

namespace platform {

bool UseMachineRoot(const std::string&) {
  return false;
}

}  // namespace platform
