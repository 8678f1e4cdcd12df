// Splitting a vector file at its crossings: rings of 100 segments on a
// grid, each overlapping its four neighbours (two crossings per pair), from
// 12,500 to 100,000 segments. Reports the crossings found and the fitted
// complexity over the sizes.
//
// Runs in a fresh temporary folder, headless.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "cad/contour_split.h"
#include "model/vector_records.h"
#include "platform/files.h"
#include "frame/progress_bar.h"
#include "frame/quiet_files.h"

namespace {

constexpr int kSegmentsPerRing = 100;
std::string Folder;

// Rings of radius 6 at spacing 10 on a grid of columns x rows.
std::string WriteRings(int rings) {
  const int columns = static_cast<int>(std::ceil(std::sqrt(rings * 1.6)));
  std::vector<TVectorRecord> records;
  records.reserve(size_t(rings) * (kSegmentsPerRing + 1));
  for (int k = 0; k < rings; ++k) {
    const double cx = 10.0 * (k % columns), cy = 10.0 * (k / columns);
    for (int i = 0; i <= kSegmentsPerRing; ++i) {
      const double a = 2 * std::numbers::pi * (i % kSegmentsPerRing) / kSegmentsPerRing + 0.01 * k;
      records.push_back(TVectorRecord{uint8_t(i == 0 ? kRecContourStart : kRecLinePoint),
                                      float(cx + 6 * std::cos(a)), float(cy + 6 * std::sin(a)), 0.0f});
    }
  }
  const std::string name = "RINGS" + std::to_string(rings) + ".TMP";
  std::ofstream(Folder + "/" + name, std::ios::binary)
      .write(reinterpret_cast<const char*>(records.data()), std::streamsize(records.size() * sizeof(TVectorRecord)));
  return name;
}

void BM_SplitAtCrossings(benchmark::State& state) {
  const int rings = static_cast<int>(state.range(0));
  const std::string name = WriteRings(rings);
  uint8_t status = 0;
  for (auto _ : state) SplitContoursAtCrossingsWithStatus(name, "SPLIT.TMP", status);
  if (status != 0) state.SkipWithError("the split stopped early");
  const int64_t written = static_cast<int64_t>(std::filesystem::file_size(Folder + "/SPLIT.TMP")) / 13;
  state.counters["segments"] = double(rings) * kSegmentsPerRing;
  // Each crossing adds a point and a start to both of its segments.
  state.counters["added records"] = double(written - int64_t(rings) * (kSegmentsPerRing + 1));
  state.SetComplexityN(int64_t(rings) * kSegmentsPerRing);
}
BENCHMARK(BM_SplitAtCrossings)
    ->Arg(125)
    ->Arg(250)
    ->Arg(500)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace

int main(int argc, char** argv) {
  Folder = benchsupport::EnterBenchFolder();
  ProgressDisplayOn = 0;
  benchsupport::RunBenchmarks(argc, argv);
  return benchsupport::LeaveBenchFolder(Folder, "quiet error word", QuietIoError);
}
