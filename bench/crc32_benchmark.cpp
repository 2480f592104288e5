// Our CRC-32 beside zlib's on the same 1 MiB, in one run; compare the bytes_per_second figures.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdint>
#include <random>
#include <vector>

#include "migration/crc32.h"
#include "migration/crc32_internal.h"

namespace {

constexpr std::size_t kMebibyte = 1 << 20;

const std::vector<unsigned char>& Data() {
  static const std::vector<unsigned char> data = [] {
    std::mt19937 generator(7);
    std::vector<unsigned char> bytes(kMebibyte);
    for (unsigned char& byte : bytes) byte = static_cast<unsigned char>(generator());
    return bytes;
  }();
  return data;
}

void BM_Crc32(benchmark::State& state) {
  const std::vector<unsigned char>& data = Data();
  for (auto _ : state) {
    benchmark::DoNotOptimize(ComputeCrc32(data.data(), data.size()));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kMebibyte));
}
BENCHMARK(BM_Crc32);

// The portable table path alone, as on a processor without carry-less multiplication.
void BM_Crc32Tables(benchmark::State& state) {
  const std::vector<unsigned char>& data = Data();
  for (auto _ : state) {
    benchmark::DoNotOptimize(~UpdateCrc32WithTables(data.data(), data.size(), kCrc32Start));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kMebibyte));
}
BENCHMARK(BM_Crc32Tables);

void BM_ZlibCrc32(benchmark::State& state) {
  const std::vector<unsigned char>& data = Data();
  for (auto _ : state) {
    benchmark::DoNotOptimize(crc32(0L, data.data(), static_cast<uInt>(data.size())));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kMebibyte));
}
BENCHMARK(BM_ZlibCrc32);

}  // namespace

BENCHMARK_MAIN();
