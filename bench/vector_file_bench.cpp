// Whole-file record operations on a vector file of 1,000,000 records
// (13 MB): copying through the block slots, converting to a point file,
// shifting and mirroring in place, and a plain byte copy for comparison.
//
// Runs in a fresh temporary folder, headless. Compare the copy figures
// with `cp` of the same file (the program prints the file's path first).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <vector>

#include "bench/bench_support.h"
#include "frame/data_slots.h"
#include "frame/defaults.h"
#include "model/record_files.h"
#include "frame/quiet_files.h"
#include "model/vector_records.h"
#include "platform/files.h"
#include "frame/progress_bar.h"

namespace {

constexpr int32_t kRecords = 1000000;
constexpr int64_t kBytes = int64_t{kRecords} * 13;

void WriteBenchFile(const std::string& hostPath) {
  std::vector<TVectorRecord> records(kRecords);
  for (int32_t i = 0; i < kRecords; ++i) {
    const uint8_t type = i % 50 == 0 ? kRecContourStart : (i % 97 == 0 ? kRecArc : kRecLinePoint);
    records[static_cast<size_t>(i)] = TVectorRecord{type, float(i % 1000), float(i / 1000), 0.0f};
  }
  records[0] = TVectorRecord{kRecMinCorner, 0.0f, 0.0f, 0.0f};
  records[1] = TVectorRecord{kRecMaxCorner, 999.0f, 999.0f, 0.0f};
  std::ofstream(hostPath, std::ios::binary)
      .write(reinterpret_cast<const char*>(records.data()), static_cast<std::streamsize>(kBytes));
}

void BM_CopyVectorFile(benchmark::State& state) {
  for (auto _ : state) CopyOrAppendRecordFile("BENCH.TMP", "COPY.TMP", kCopyNew, 0);
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_CopyVectorFile)->Unit(benchmark::kMillisecond);

void BM_ConvertToPointFile(benchmark::State& state) {
  for (auto _ : state) CopyOrAppendRecordFile("BENCH.TMP", "COPY.H2R", kCopyNew, 0);
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_ConvertToPointFile)->Unit(benchmark::kMillisecond);

void BM_ShiftInPlace(benchmark::State& state) {
  for (auto _ : state) TransformFileCoordinates("BENCH.TMP", 0.0, 0.0, 0.5, -0.5, kTransformShift);
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_ShiftInPlace)->Unit(benchmark::kMillisecond);

void BM_MirrorInPlace(benchmark::State& state) {
  for (auto _ : state) TransformFileCoordinates("BENCH.TMP", 0.0, 0.0, 500.0, 0.0, kTransformMirrorX);
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_MirrorInPlace)->Unit(benchmark::kMillisecond);

void BM_CopyFileBytes(benchmark::State& state) {
  for (auto _ : state) CopyFileBytes("BENCH.TMP", "PLAIN.TMP", false);
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_CopyFileBytes)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = benchsupport::EnterBenchFolder();
  InitDataFileSlots();
  ProgressDisplayOn = 0;
  WriteBenchFile(folder + "/BENCH.TMP");
  std::printf("bench file: %s/BENCH.TMP (%lld bytes)\n", folder.c_str(), static_cast<long long>(kBytes));

  benchsupport::RunBenchmarks(argc, argv);
  return benchsupport::LeaveBenchFolder(folder, "error code", ErrorCode);
}
