// Parameter files arrive from the field: the reader must survive any bytes without reading
// outside the file or its buffers.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/message_box.h"
#include "base/message_sink.h"
#include "base/setup_log.h"
#include "base/setup_run.h"
#include "migration/parameter_file.h"
#include "migration/parameter_store.h"
#include "platform/file.h"
#include "platform/file_system.h"

namespace {

const std::string& ScratchFolder() {
  static const std::string folder = [] {
    std::string path = "/tmp/parameter_file_fuzzer_" + std::to_string(getpid());
    platform::MakeDirectory(path);
    return path + "/";
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SetMessageBoxFunction([](const std::string&, unsigned) { return kIdOk; });
  SetupRun run;
  run.logDirectory = ScratchFolder();
  CMessageBoxSink sink(run);
  const std::string path = ScratchFolder() + "vexorand.dat";
  {
    platform::File file;
    if (!file.Open(path, platform::File::Mode::kCreate) || !file.Write(data, size)) {
      return 0;
    }
  }
  VerifyOrRestoreParameterFile(sink, path);
  std::vector<unsigned char> section;
  ExtractParameters(sink, path, "CController", &section);
  platform::RemoveFile(GetLogFilePath(run));
  return 0;
}
