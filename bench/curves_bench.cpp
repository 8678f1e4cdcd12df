// Converting a vector file of 1,000,000 records full of curves (arcs, Bezier
// segments, curves through points) to line points, against a plain buffered
// write of the very bytes the conversion writes. The conversion should take
// at most three times the plain write.
//
// Runs in a fresh temporary folder, headless.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <numbers>
#include <vector>

#include "bench/bench_support.h"
#include "frame/data_slots.h"
#include "frame/defaults.h"
#include "frame/layer_colours.h"
#include "frame/param_file.h"
#include "frame/progress_bar.h"
#include "model/vector_records.h"
#include "view/curves_to_lines.h"
#include "view/screen_scheme.h"

namespace {

constexpr int32_t kRecords = 1000000;

// Groups of ten records: a contour start, two lines, an arc with its end
// point, a Bezier segment, a curve through two points.
void WriteBenchFile(const std::string& hostPath) {
  std::vector<TVectorRecord> records;
  records.reserve(kRecords);
  records.push_back(TVectorRecord{kRecMinCorner, 0.0f, 0.0f, 0.0f});
  records.push_back(TVectorRecord{kRecMaxCorner, 1000.0f, 1000.0f, 0.0f});
  for (int32_t g = 0; records.size() + 10 <= size_t{kRecords}; ++g) {
    const float x = float(g % 900);
    const float y = float((g / 900) % 900);
    records.push_back(TVectorRecord{kRecContourStart, x, y, 0.0f});
    records.push_back(TVectorRecord{kRecLinePoint, x + 10.0f, y, 0.0f});
    records.push_back(TVectorRecord{kRecLinePoint, x + 10.0f, y + 5.0f, 0.0f});
    records.push_back(TVectorRecord{kRecArc, 5.0f, 0.0f, float(std::numbers::pi / 2)});
    records.push_back(TVectorRecord{kRecLinePoint, x + 5.0f, y + 10.0f, 0.0f});
    records.push_back(TVectorRecord{kRecBezierControl1, x + 3.0f, y + 12.0f, 0.0f});
    records.push_back(TVectorRecord{kRecBezierControl2, x + 1.0f, y + 12.0f, 0.0f});
    records.push_back(TVectorRecord{kRecBezierEnd, x, y + 10.0f, 0.0f});
    records.push_back(TVectorRecord{kRecSplineStartEnd, x, y + 10.0f, 0.0f});
    records.push_back(TVectorRecord{kRecSplinePoint, x - 2.0f, y + 5.0f, 0.0f});
  }
  while (records.size() < size_t{kRecords}) records.push_back(TVectorRecord{kRecLinePoint, 0.0f, 0.0f, 0.0f});
  std::ofstream(hostPath, std::ios::binary)
      .write(reinterpret_cast<const char*>(records.data()), static_cast<std::streamsize>(records.size() * 13));
}

std::vector<char> gOutputBytes;  // what the conversion writes, for the plain write

void BM_ConvertCurvesToLines(benchmark::State& state) {
  int64_t written = 0;
  for (auto _ : state) written = ConvertCurvesToLines("BENCH.LG1", "LINES.TMP", 7, 0);
  state.counters["records"] = double(written);
  state.SetBytesProcessed(state.iterations() * int64_t{kRecords} * 13);
}
BENCHMARK(BM_ConvertCurvesToLines)->Unit(benchmark::kMillisecond);

void BM_PlainWriteOfTheSameBytes(benchmark::State& state) {
  for (auto _ : state) {
    std::ofstream out("PLAIN.TMP", std::ios::binary);
    out.write(gOutputBytes.data(), static_cast<std::streamsize>(gOutputBytes.size()));
  }
  state.SetBytesProcessed(state.iterations() * int64_t(gOutputBytes.size()));
}
BENCHMARK(BM_PlainWriteOfTheSameBytes)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = benchsupport::EnterBenchFolder();
  InitDataFileSlots();
  ProgressDisplayOn = 0;
  HighestLayer = 5;
  CurvePointCount = 8;
  ArcResolutionWord = 20;
  ArcPointsPerRadian = float(12.0 / std::numbers::pi);
  ArcStepAngle = 80.0f;
  WriteBenchFile(folder + "/BENCH.LG1");
  const int64_t written = ConvertCurvesToLines("BENCH.LG1", "LINES.TMP", 7, 0);
  std::ifstream in(folder + "/LINES.TMP", std::ios::binary);
  gOutputBytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  std::printf("bench file: %s/BENCH.LG1, %lld records out (%zu bytes)\n", folder.c_str(),
              static_cast<long long>(written), gOutputBytes.size());

  benchsupport::RunBenchmarks(argc, argv);
  return benchsupport::LeaveBenchFolder(folder, "error code", ErrorCode);
}
