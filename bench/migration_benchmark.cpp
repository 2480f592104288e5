// The whole parameter migration of a machine: generation (extract, bind, dump) and transfer
// (merge, validate, write) for 20 configurations whose controller block has 10k fields, on a
// machine staged in a temporary volume root.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>

#include "base/folder_tree.h"
#include "base/installation_paths.h"
#include "base/message_box.h"
#include "base/message_sink.h"
#include "base/setup_run.h"
#include "migration/migration_context.h"
#include "migration/parameter_file.h"
#include "migration/parameter_migration.h"
#include "migration/setup_config.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/posix/volume_map.h"

namespace {

constexpr int kConfigurations = 20;
constexpr int kFields = 10000;

// Where staging reports: the setup log in the machine's temporary folder.
IMessageSink& StagingLog() {
  struct Staging {
    Staging() { run.logDirectory = "C:\\Temp\\"; }
    SetupRun run;
    CMessageBoxSink sink{run};
  };
  static Staging staging;
  return staging.sink;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  CreateFolderTree(StagingLog(), path.substr(0, path.rfind('\\')));
  platform::File file;
  if (!file.Open(path, platform::File::Mode::kCreate) || !file.Write(bytes.data(), bytes.size())) {
    std::abort();
  }
}

// Guards, then int, double and WORD fields by turns; the block's bytes to match.
std::string Format() {
  std::string format = "field CController {\n  int m__df_beginCController;\n";
  for (int i = 0; i < kFields; ++i) {
    static const char* const kTypes[] = {"int", "double", "WORD"};
    format += std::string("  ") + kTypes[i % 3] + " m_P" + std::to_string(i) + ";\n";
  }
  return format + "  int m__df_endCController;\n};\n";
}

std::size_t BlockSize() {
  std::size_t size = 4;
  for (int i = 0; i < kFields; ++i) {
    if (i % 3 == 1) {
      size = (size + 7) / 8 * 8 + 8;
    } else if (i % 3 == 0) {
      size = (size + 3) / 4 * 4 + 4;
    } else {
      size = (size + 1) / 2 * 2 + 2;
    }
  }
  return (size + 3) / 4 * 4 + 4;
}

std::string MakerFolder() {
  std::string folder;
  if (!FindMakerFolder(&folder)) std::abort();
  return folder;
}

class StagedMachine {
 public:
  StagedMachine() {
    std::string root = (std::filesystem::temp_directory_path() / "migration-bench-XXXXXX").string();
    if (mkdtemp(root.data()) == nullptr) std::abort();
    root_ = root;
    std::filesystem::create_directory(root_ + "/c");
    platform::SetVolumeRoot(root_);
    SetMessageBoxFunction([](const std::string&, unsigned style) {
      return (style & 0x0F) == kMbYesNo ? kIdYes : kIdOk;
    });
    CreateFolderTree(StagingLog(), "C:\\Temp");
    const std::string installation = MakerFolder() + "Control\\";
    WriteFile(MakerFolder() + "setup.cfg", "[SETTINGS]\r\nPATH=Control\\\r\n");
    WriteFile(installation + "vexorand.fmt", Format());
    WriteFile(installation + "config\\config.ini", "[VERSION]\r\nVERSION=5.4.0\r\n");
    std::string block(BlockSize(), '\0');
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 7);
    parameterFile_ = BuildParameterFile({{"CAxis", "axis"}, {"CController", block}});
  }
  ~StagedMachine() { std::filesystem::remove_all(root_); }

  // Every configuration with its binary file and an amendment file of a few lines.
  void StageConfigurations() const {
    for (int i = 0; i < kConfigurations; ++i) {
      const std::string folder = MakerFolder() + "Control\\config\\Config" + std::to_string(i);
      WriteFile(folder + "\\vexorand.dat", parameterFile_);
      WriteFile(folder + "\\amend.dat", "[CAxis]\r\na = 1\r\n[CController]\r\nm_P1 = 0\r\n");
    }
  }

  std::size_t CountAmendmentLines() const {
    platform::File file;
    if (!file.Open(MakerFolder() + "Control\\config\\Config0\\amend.dat",
                   platform::File::Mode::kRead)) {
      return 0;
    }
    std::string text(static_cast<std::size_t>(file.Length()), '\0');
    file.Read(&text[0], text.size());
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  }

 private:
  std::string root_;
  std::string parameterFile_;
};

void BM_GenerationAndTransfer(benchmark::State& state) {
  StagedMachine machine;
  for (auto _ : state) {
    state.PauseTiming();
    machine.StageConfigurations();
    // Each update is a run of its own, which verifies every parameter file anew.
    SetupRun run;
    run.logDirectory = "C:\\Temp\\";
    CMessageBoxSink sink(run);
    MigrationContext context;
    context.migrationFolder = "C:\\Temp\\Vexroand";
    state.ResumeTiming();
    if (!ReadInstallationLayout(sink) || !GenerateParameterFiles(sink, &context) ||
        !TransferParameterFiles(sink, &context)) {
      state.SkipWithError("the migration did not run");
      break;
    }
  }
  // Every field but the two guards must have arrived, next to the file's own lines.
  const std::size_t lines = machine.CountAmendmentLines();
  if (lines != kFields + 3) {
    state.SkipWithError("the amendment file lacks parameters");
  }
  state.counters["configurations"] = kConfigurations;
  state.counters["fields"] = kFields;
}
BENCHMARK(BM_GenerationAndTransfer)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
