// Amendment and temporary parameter files are text that people edit by hand. The input is split
// at its first NUL byte into a temporary parameter file and an amendment file, which are then
// carried through the whole transfer of one configuration.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/message_box.h"
#include "base/message_sink.h"
#include "base/setup_run.h"
#include "migration/amendment_file.h"
#include "platform/file.h"
#include "platform/file_system.h"

namespace {

const char kFormat[] =
    "struct Axis { double MaxSpeed; int Gain[3]; };\n"
    "field CController { int m_X; int m_Arr[4]; Axis m_Axis[2]; int* m_P; };\n";

const std::string& ScratchFolder() {
  static const std::string folder = [] {
    std::string path = "/tmp/amendment_file_fuzzer_" + std::to_string(getpid());
    platform::MakeDirectory(path);
    return path + "/";
  }();
  return folder;
}

bool Write(const std::string& path, const void* bytes, std::size_t size) {
  platform::File file;
  return file.Open(path, platform::File::Mode::kCreate) && file.Write(bytes, size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SetMessageBoxFunction([](const std::string&, unsigned) { return kIdOk; });
  SetupRun run;
  run.logDirectory = ScratchFolder();
  CMessageBoxSink sink(run);
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = std::min(input.find('\0'), input.size());
  const std::string format = ScratchFolder() + "vexorand.fmt";
  const std::string temporary = ScratchFolder() + "a_amend.dat";
  const std::string amendment = ScratchFolder() + "amend.dat";
  if (!Write(format, kFormat, sizeof kFormat - 1) || !Write(temporary, input.data(), split) ||
      !Write(amendment, input.data() + split, input.size() - split)) {
    return 0;
  }
  TransferConfiguration(sink, temporary, amendment, format);
  return 0;
}
