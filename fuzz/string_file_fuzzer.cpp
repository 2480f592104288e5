// Arbitrary bytes as a string file "Vexorand.string" and as one string-file text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/language_folder.h"
#include "base/message_box.h"
#include "base/message_sink.h"
#include "base/setup_log.h"
#include "base/setup_run.h"
#include "base/string_escapes.h"
#include "base/string_table.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/posix/volume_map.h"
#include "platform/profile.h"

namespace {

const char kStringFile[] = "C:\\Inst\\Lang\\chn\\Vexorand.string";

void RemoveMachine() {
  std::error_code ignored;
  std::filesystem::remove_all(platform::GetVolumeRoot(), ignored);
}

void StageMachine() {
  char root[] = "/tmp/string_file_fuzzer.XXXXXX";
  if (mkdtemp(root) == nullptr) {
    std::abort();
  }
  platform::SetVolumeRoot(root);
  std::atexit(RemoveMachine);
  // A drive is a folder of the root; the program never makes one itself.
  std::filesystem::create_directory(std::string(root) + "/c");
  for (const char* folder : {"C:\\Temp", "C:\\Inst", "C:\\Inst\\Lang", "C:\\Inst\\Lang\\chn"}) {
    platform::MakeDirectory(folder);
  }
  platform::WriteProfileString("ActiveLang", "ActiveLang", "chn", "C:\\Inst\\Lang\\Lang.ini");
  SetMessageBoxFunction([](const std::string&, unsigned) { return kIdOk; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool staged = (StageMachine(), true);
  (void)staged;

  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string decoded = DecodeEscapes(bytes);
  if (decoded.size() > bytes.size() || decoded.find('\0') != std::string::npos) {
    std::abort();
  }

  {
    platform::File file;
    if (!file.Open(kStringFile, platform::File::Mode::kCreate) || !file.Write(data, size)) {
      std::abort();
    }
  }
  // Each input is a run of its own, which reads the string file afresh.
  SetupRun run;
  run.logDirectory = "C:\\Temp\\";
  CMessageBoxSink sink(run);
  DetermineLanguageFolder("C:\\Inst\\", sink);
  if (run.languageFolder.empty()) {
    std::abort();
  }
  for (int index : {-1, 0, 1, 2, 3, 7, 100, 1000000, 2147483647}) {
    const std::string& text = GetString(index, sink);
    if (text.find('\0') != std::string::npos || (index == 0 && text != "" && text != "!ErrStr!")) {
      std::abort();
    }
  }
  platform::RemoveFile(GetLogFilePath(run));
  return 0;
}
