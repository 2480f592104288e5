// Our MD5 beside OpenSSL's on the same 64 MiB, and the whole package check on a file of that size.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "app/md5.h"
#include "app/package_check.h"
#include "platform/file.h"

namespace {

constexpr std::size_t kDataSize = 64 << 20;

const std::vector<std::uint8_t>& TestData() {
  static const std::vector<std::uint8_t> data = [] {
    std::vector<std::uint8_t> bytes(kDataSize);
    std::uint32_t state = 12345;
    for (std::uint8_t& byte : bytes) {
      state = state * 1103515245 + 12345;
      byte = static_cast<std::uint8_t>(state >> 16);
    }
    return bytes;
  }();
  return data;
}

void BM_Md5Ours(benchmark::State& state) {
  const std::vector<std::uint8_t>& data = TestData();
  for (auto _ : state) {
    benchmark::DoNotOptimize(ComputeMd5(data.data(), data.size()));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(data.size()));
}

void BM_Md5OpenSsl(benchmark::State& state) {
  const std::vector<std::uint8_t>& data = TestData();
  for (auto _ : state) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(data.data(), data.size(), digest, &size, EVP_md5(), nullptr);
    benchmark::DoNotOptimize(digest);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(data.size()));
}

// Reading in pieces and hashing, as state 1 and state 5 do (the file is in the page cache).
void BM_PackageCheck(benchmark::State& state) {
  const std::vector<std::uint8_t>& data = TestData();
  const std::string path = "/tmp/md5_benchmark_package.bin";
  {
    platform::File file;
    file.Open(path, platform::File::Mode::kCreate);
    file.Write(data.data(), data.size() - kTrailerSize);
    PackageTrailer trailer;
    trailer.payloadOffset = 1 << 20;
    trailer.digest = ComputeMd5(data.data(), data.size() - kTrailerSize);
    std::uint8_t bytes[kTrailerSize];
    EncodeTrailer(trailer, bytes);
    file.Write(bytes, sizeof bytes);
  }
  for (auto _ : state) {
    if (CheckPackageFile(path).status != PackageStatus::Intact) {
      state.SkipWithError("the package does not check");
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(data.size()));
  std::remove(path.c_str());
}

BENCHMARK(BM_Md5Ours)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Md5OpenSsl)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PackageCheck)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The console output, followed by the ratio of our time to OpenSSL's, taken from the very rows
// printed above: the single row of each, or with repetitions their median rows (never a mean,
// standard deviation or any other aggregate). Processor time, because wall time on a shared
// machine measures the neighbours as much as the hash.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      Times& times = times_[run.run_name.function_name];
      if (run.run_type == Run::RT_Iteration) {
        times.rows.push_back(run.GetAdjustedCPUTime());
      } else if (run.aggregate_name == "median") {
        times.median = run.GetAdjustedCPUTime();
      }
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    const double ours = times_["BM_Md5Ours"].Value();
    const double openssl = times_["BM_Md5OpenSsl"].Value();
    if (ours > 0 && openssl > 0) {
      std::printf("MD5 processor time, ours / OpenSSL: %.3f\n", ours / openssl);
    }
  }

 private:
  struct Times {
    std::vector<double> rows;
    double median = 0;

    double Value() {
      if (median > 0 || rows.empty()) return median;
      std::sort(rows.begin(), rows.end());
      return rows[rows.size() / 2];
    }
  };
  std::map<std::string, Times> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
