// Localised strings read one by one from a string file of n entries, as a format file with many
// localised comments reads them: each entry once, through the profile reader.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/file.h"
#include "platform/posix/volume_map.h"
#include "platform/profile.h"

namespace {

class StagedStringFile {
 public:
  explicit StagedStringFile(int entries) {
    std::string root = (std::filesystem::temp_directory_path() / "string-bench-XXXXXX").string();
    if (mkdtemp(root.data()) == nullptr) std::abort();
    root_ = root;
    std::filesystem::create_directory(root_ + "/c");
    platform::SetVolumeRoot(root_);
    std::string text = "[Attribute]\r\nMaxIndex=" + std::to_string(entries) + "\r\n[STRING]\r\n";
    for (int i = 1; i <= entries; ++i) {
      text += std::to_string(i) + "=Localised text number " + std::to_string(i) + "\r\n";
    }
    platform::File file;
    if (!file.Open(kPath, platform::File::Mode::kCreate) || !file.Write(text.data(), text.size())) {
      std::abort();
    }
  }
  ~StagedStringFile() { std::filesystem::remove_all(root_); }
  static constexpr const char* kPath = "C:\\Vexorand.string";

 private:
  std::string root_;
};

void BM_ReadEveryString(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  StagedStringFile file(entries);
  for (auto _ : state) {
    for (int i = 1; i <= entries; ++i) {
      benchmark::DoNotOptimize(platform::ReadProfileString("STRING", std::to_string(i), "!ErrStr!",
                                                           StagedStringFile::kPath, 1024));
    }
  }
  state.SetItemsProcessed(state.iterations() * entries);
}
BENCHMARK(BM_ReadEveryString)->Arg(10)->Arg(400)->Arg(4000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
