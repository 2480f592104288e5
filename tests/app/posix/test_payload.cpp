#include "tests/app/test_payload.h"

#include "platform/posix/volume_map.h"

std::string MakeTestPayload(const std::string& markerFile, unsigned milliseconds) {
  std::string script = "#!/bin/sh\n";
  if (milliseconds > 0) {
    script += "sleep " + std::to_string(milliseconds / 1000) + "." +
              std::to_string(milliseconds % 1000 / 100) + "\n";
  }
  return script + "printf ran > '" + platform::ToHostPath(markerFile) + "'\n";
}
