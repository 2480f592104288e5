// Checking carried parameter names against a new format description: N names against a block of
// N fields, from 1k to 100k; time per name should stay flat as N grows.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "base/message_box.h"
#include "base/message_sink.h"
#include "base/setup_run.h"
#include "migration/parameter_validation.h"

namespace {

// A format of `count` int fields and the controller list that carries them, every tenth name
// unknown to the format, in the opposite order so no lookup is helped by position.
struct Workload {
  std::string formatPath;
  ParameterList controller;

  explicit Workload(int count) {
    formatPath = "/tmp/validation-benchmark-" + std::to_string(getpid()) + "-" +
                 std::to_string(count) + ".fmt";
    std::ofstream format(formatPath);
    format << "field CController {\n";
    controller.push_back({"[CController]", ""});
    for (int i = 0; i < count; ++i) {
      format << "int f" << i << ";\n";
      controller.push_back({(i % 10 == 0 ? "gone" : "f") + std::to_string(count - 1 - i), "1"});
    }
    format << "};\n";
  }
  ~Workload() { std::remove(formatPath.c_str()); }
};

void BM_ValidateNames(benchmark::State& state) {
  SetMessageBoxFunction([](const std::string&, unsigned) { return kIdOk; });
  const Workload workload(static_cast<int>(state.range(0)));
  SetupRun run;
  CMessageBoxSink sink(run);
  for (auto _ : state) {
    state.PauseTiming();
    ParameterList controller = workload.controller;
    state.ResumeTiming();
    benchmark::DoNotOptimize(ValidateAgainstFormat(sink, workload.formatPath, &controller));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  SetMessageBoxFunction(nullptr);
}
BENCHMARK(BM_ValidateNames)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
