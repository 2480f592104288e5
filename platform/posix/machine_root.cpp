#include "platform/machine_root.h"

#include "platform/posix/volume_map.h"

namespace platform {

bool UseMachineRoot(const std::string& root) {
  SetVolumeRoot(root);
  return true;
}

}  // namespace platform
