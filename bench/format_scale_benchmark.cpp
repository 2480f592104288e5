// Parsing, binding (sort, traversal, numbering, order check) and the text dump against the size
// of the block: generated format descriptions of 1k, 10k and 100k fields. Each case reports the
// time per declared field; the ratios between the sizes show whether the growth stays linear.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "base/message_box.h"
#include "base/message_sink.h"
#include "base/setup_run.h"
#include "format/field_descriptor.h"

namespace {

constexpr const char* kBlock = "CController";

std::string FieldLine(int i, int id) {
  const std::string name = "P" + std::to_string(i);
  const std::string g = " /* -g" + std::to_string(id) + " */;\n";
  switch (i % 10) {
    case 0:
      return "  double " + name + " /* -g" + std::to_string(id) + " -n'Speed " + name + "' */;\n";
    case 1:
      return "  int " + name + g;
    case 2:
      return "  WORD " + name + g;
    case 3:
      return "  float " + name + " /* -g" + std::to_string(id) + " -m 2.5 */;\n";
    case 4:
      return "  short " + name + g;
    case 5:
      return "  char " + name + "[16]" + g;
    case 6:
      return "  double " + name + "[4]" + g;
    case 7:
      return "  Axis " + name + g;
    case 8:
      return "  plc_bit_addr_t " + name + g;
    default:
      return "  BYTE " + name + g;
  }
}

// Numbers each field takes: arrays of four take four, an Axis its span of 3.
int NumbersUsed(int i) {
  return i % 10 == 6 ? 4 : i % 10 == 7 ? 3 : 1;
}

// The middle fields are declared in a shuffled order, so the binder has to sort them.
std::string GenerateFormat(int fieldCount) {
  std::vector<int> ids;
  int next = 1;
  for (int i = 0; i < fieldCount; ++i) {
    ids.push_back(next);
    next += NumbersUsed(i);
  }
  std::vector<int> order;
  for (int i = 1; i + 1 < fieldCount; ++i) order.push_back(i);
  std::srand(12345);
  for (std::size_t i = order.size(); i > 1; --i)
    std::swap(order[i - 1], order[static_cast<std::size_t>(std::rand()) % i]);
  order.insert(order.begin(), 0);
  order.push_back(fieldCount - 1);

  std::string text =
      "#pragma pack(4)\n"
      "struct Axis /* -r 3 */ { double MaxSpeed /* -g0 */; int Gear /* -g1 */; WORD Flags /* -g2 "
      "*/; };\n"
      "field CController {\n";
  for (int i : order) text += FieldLine(i, ids[static_cast<std::size_t>(i)]);
  return text + "};\n";
}

struct Case {
  std::string formatPath;
  std::vector<unsigned char> data;
};

// The benchmark's setup log, out of the working folder.
std::string LogFolder() {
  return (std::filesystem::temp_directory_path() / "").string();
}

const Case& CaseOf(int fieldCount) {
  static std::map<int, Case> cases;
  auto found = cases.find(fieldCount);
  if (found != cases.end()) return found->second;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "format_scale_benchmark";
  std::filesystem::create_directories(folder);
  Case& made = cases[fieldCount];
  made.formatPath = (folder / ("fields" + std::to_string(fieldCount) + ".fmt")).string();
  std::ofstream(made.formatPath, std::ios::binary) << GenerateFormat(fieldCount);
  SetupRun run;
  run.logDirectory = LogFolder();
  CMessageBoxSink sink(run);
  CFormatParser parser(sink);
  if (!parser.Parse(made.formatPath) || parser.FindBlock(kBlock) == nullptr) std::abort();
  made.data.resize(static_cast<std::size_t>(parser.FindBlock(kBlock)->size));
  for (std::size_t i = 0; i < made.data.size(); ++i) {
    made.data[i] = static_cast<unsigned char>('A' + i % 23);
  }
  return made;
}

void Prepare() {
  static const bool prepared = [] {
    // Rising numbers give no findings; one would mean the generator or the binder is wrong.
    SetMessageBoxFunction([](const std::string&, unsigned) -> int { std::abort(); });
    return true;
  }();
  (void)prepared;
}

void ReportPerField(benchmark::State& state) {
  state.counters["per_field"] = benchmark::Counter(
      static_cast<double>(state.range(0)),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Parse(benchmark::State& state) {
  Prepare();
  const Case& c = CaseOf(static_cast<int>(state.range(0)));
  SetupRun run;
  run.logDirectory = LogFolder();
  CMessageBoxSink sink(run);
  for (auto _ : state) {
    CFormatParser parser(sink);
    benchmark::DoNotOptimize(parser.Parse(c.formatPath));
  }
  ReportPerField(state);
}

void BM_ParseAndBind(benchmark::State& state) {
  Prepare();
  const Case& c = CaseOf(static_cast<int>(state.range(0)));
  SetupRun run;
  run.logDirectory = LogFolder();
  CMessageBoxSink sink(run);
  for (auto _ : state) {
    CFieldDescriptor binder(sink);
    if (!binder.Bind(kBlock, c.data.data(), c.data.size(), c.formatPath)) std::abort();
    benchmark::DoNotOptimize(binder.Nodes().size());
  }
  ReportPerField(state);
}

void BM_ParseBindAndDump(benchmark::State& state) {
  Prepare();
  const Case& c = CaseOf(static_cast<int>(state.range(0)));
  SetupRun run;
  run.logDirectory = LogFolder();
  CMessageBoxSink sink(run);
  const std::string output = c.formatPath + ".dat";
  for (auto _ : state) {
    CFieldDescriptor binder(sink);
    if (!binder.WriteTextDump(kBlock, c.data.data(), c.data.size(), c.formatPath, output)) {
      std::abort();
    }
  }
  ReportPerField(state);
}

}  // namespace

BENCHMARK(BM_Parse)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseAndBind)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseBindAndDump)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
