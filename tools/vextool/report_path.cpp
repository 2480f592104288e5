#include "tools/vextool/report_path.h"

#include "platform/file_identity.h"
#include "platform/text_encoding.h"

std::string ReportPath(const std::string& path) {
  const std::string host = platform::HostPathOf(path);
  return platform::SystemTextToUtf8(host.empty() ? path : host);
}
