// Snapping a mouse position to a layer of 100,000 records: the move answered
// from the cached candidate points against a search that reads the layer
// file each time (the cache dropped before every move).
//
// Runs in a fresh temporary folder, headless.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <vector>

#include "bench/bench_support.h"
#include "cad/snapping.h"
#include "frame/data_slots.h"
#include "frame/defaults.h"
#include "frame/param_file.h"
#include "model/layer_files.h"
#include "model/vector_records.h"
#include "view/view_transform.h"

namespace {

constexpr int32_t kRecords = 100000;

void WriteLayer(const std::string& hostPath) {
  std::vector<TVectorRecord> records(kRecords);
  uint32_t seed = 12345;
  for (int32_t i = 0; i < kRecords; ++i) {
    seed = seed * 1664525u + 1013904223u;
    const float x = float(seed % 400000) / 1000.0f;
    seed = seed * 1664525u + 1013904223u;
    const float y = float(seed % 300000) / 1000.0f;
    const uint8_t type = i % 40 == 0 ? kRecContourStart : kRecLinePoint;
    records[static_cast<size_t>(i)] = TVectorRecord{type, x, y, 0.0f};
  }
  std::ofstream(hostPath, std::ios::binary)
      .write(reinterpret_cast<const char*>(records.data()), std::streamsize(records.size() * sizeof(TVectorRecord)));
}

// A mouse path across the layer, one position per move.
TPointRecord MousePosition(int64_t step) {
  return TPointRecord{0, float((step * 37) % 400), float((step * 53) % 300)};
}

void BM_SnapMoveCached(benchmark::State& state) {
  int64_t step = 0;
  for (auto _ : state) {
    TPointRecord p = MousePosition(step++);
    benchmark::DoNotOptimize(SnapPoint(p, 0));
  }
}
BENCHMARK(BM_SnapMoveCached)->Unit(benchmark::kMicrosecond);

void BM_SnapMoveRereading(benchmark::State& state) {
  int64_t step = 0;
  for (auto _ : state) {
    InvalidateSnapPointCache();
    TPointRecord p = MousePosition(step++);
    benchmark::DoNotOptimize(SnapPoint(p, 0));
  }
}
BENCHMARK(BM_SnapMoveRereading)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = benchsupport::EnterBenchFolder();
  InitDataFileSlots();
  HighestLayer = 0;
  CurrentLayer = 0;
  WriteLayer(folder + "/" + BuildLayerBareName(0));
  ViewScaleX = 2.0f;  // 2 pixels per millimetre
  SnapRadius = 10;
  GuideSnapOn = 0;
  std::printf("layer of %d records: %s/%s\n", kRecords, folder.c_str(), BuildLayerBareName(0).c_str());

  benchsupport::RunBenchmarks(argc, argv);
  std::printf("layer reads: %u\n", SnapFileReads);
  return benchsupport::LeaveBenchFolder(folder, "error code", ErrorCode);
}
