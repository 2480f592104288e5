#include "base/system_reason.h"

#include "platform/file_system.h"
#include "platform/setup_api.h"
#include "platform/text_encoding.h"

std::string LastErrorReason() {
  return platform::SystemTextToUtf8(platform::SystemErrorText(platform::LastErrorCode()));
}
