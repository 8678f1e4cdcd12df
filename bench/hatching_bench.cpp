// Hatching of 2,000 letter-like contours (1,000 letters of an outline and a
// hole, 100 points each: 200,000 points) at spacing 1.4, beside Clipper's
// open-path clipping of the same scan lines by the even-odd region. The
// source is hatched in bands; Clipper holds the whole set in memory.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <vector>

#include <polyclipping/clipper.hpp>

#include "bench_support.h"
#include "frame/defaults.h"
#include "model/vector_records.h"
#include "paths/hatching.h"

namespace {

constexpr int kColumns = 40;
constexpr int kRows = 25;
constexpr int kPointsPerContour = 100;
constexpr float kSpacing = 1.4f;
constexpr double kClipperScale = 1e4;

std::vector<std::vector<TPointRecord>> Contours;
std::vector<double> ScanLines;  // the y of our lines, for Clipper

// A letter: a wavy outline with a notch and a wavy hole, like an "O" or
// "C" with serifs; every letter slightly different.
void MakeLetters() {
  Contours.clear();
  for (int row = 0; row < kRows; ++row)
    for (int col = 0; col < kColumns; ++col) {
      const double cx = 10.0 * col + 5, cy = 10.0 * row + 5;
      const double phase = 0.37 * (row * kColumns + col);
      for (int ring = 0; ring < 2; ++ring) {
        std::vector<TPointRecord> c;
        for (int k = 0; k <= kPointsPerContour - 1; ++k) {
          const int i = k % (kPointsPerContour - 1);
          const double a = 2 * M_PI * i / (kPointsPerContour - 1);
          double r = ring == 0 ? 4.2 + 0.35 * std::sin(5 * a + phase) : 1.6 + 0.25 * std::cos(3 * a + phase);
          if (ring == 0 && std::fabs(a - 0.3) < 0.35) r -= 1.8;  // the notch of a "C"
          c.push_back(TPointRecord{static_cast<uint8_t>(k == 0 ? 11 : 10), static_cast<float>(cx + r * std::cos(a)),
                                   static_cast<float>(cy + 1.2 * r * std::sin(a))});
        }
        Contours.push_back(c);
      }
    }
}

void WriteSource() {
  std::ofstream out("SRC.H2R", std::ios::binary | std::ios::trunc);
  for (const auto& c : Contours)
    out.write(reinterpret_cast<const char*>(c.data()), std::streamsize(c.size() * sizeof(TPointRecord)));
}

size_t HatchOnce() {
  THatchParams params;
  params.spacing = kSpacing;
  params.safety = 0.2f;
  params.oneWay = 1;
  uint8_t result = 0;
  HatchContourFile("SRC.H2R", "OUT.H2R", -1, params, 0, result);
  std::ifstream in("OUT.H2R", std::ios::binary | std::ios::ate);
  return result == 0 ? static_cast<size_t>(in.tellg()) / sizeof(TPointRecord) : 0;
}

void CollectScanLines() {
  std::ifstream in("OUT.H2R", std::ios::binary);
  std::set<float> ys;
  TPointRecord r;
  while (in.read(reinterpret_cast<char*>(&r), sizeof r)) ys.insert(r.y);
  ScanLines.assign(ys.begin(), ys.end());
}

size_t ClipOnce() {
  ClipperLib::Clipper clipper;
  for (double y : ScanLines) {
    const auto iy = static_cast<ClipperLib::cInt>(std::llround(y * kClipperScale));
    ClipperLib::Path line = {{static_cast<ClipperLib::cInt>(-10 * kClipperScale), iy},
                             {static_cast<ClipperLib::cInt>(1000 * kClipperScale), iy}};
    clipper.AddPath(line, ClipperLib::ptSubject, false);
  }
  for (const auto& c : Contours) {
    ClipperLib::Path path;
    for (size_t i = 0; i + 1 < c.size(); ++i)
      path.push_back({static_cast<ClipperLib::cInt>(std::llround(c[i].x * kClipperScale)),
                      static_cast<ClipperLib::cInt>(std::llround(c[i].y * kClipperScale))});
    clipper.AddPath(path, ClipperLib::ptClip, true);
  }
  ClipperLib::PolyTree tree;
  clipper.Execute(ClipperLib::ctIntersection, tree, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd);
  ClipperLib::Paths open;
  ClipperLib::OpenPathsFromPolyTree(tree, open);
  return open.size();
}

void BM_HatchContourFile(benchmark::State& state) {
  size_t records = 0;
  for (auto _ : state) records = HatchOnce();
  state.counters["records"] = static_cast<double>(records);
}

void BM_ClipperScanLines(benchmark::State& state) {
  size_t pieces = 0;
  for (auto _ : state) pieces = ClipOnce();
  state.counters["pieces"] = static_cast<double>(pieces);
}

BENCHMARK(BM_HatchContourFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClipperScanLines)->Unit(benchmark::kMillisecond);

double MillisecondsOf(size_t (*run)(), int repeats) {
  double best = 1e300;
  for (int k = 0; k < repeats; ++k) {
    const auto start = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(run());
    best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = benchsupport::EnterBenchFolder();
  MakeLetters();
  WriteSource();
  const size_t records = HatchOnce();
  CollectScanLines();
  std::printf("%zu contours, %zu points; %zu hatch records on %zu scan lines\n", Contours.size(),
              Contours.size() * kPointsPerContour, records, ScanLines.size());
  benchsupport::RunBenchmarks(argc, argv);
  const double ours = MillisecondsOf(HatchOnce, 5);
  const double clipper = MillisecondsOf(ClipOnce, 5);
  std::printf("best of 5: hatching %.2f ms, Clipper %.2f ms, ratio hatching/Clipper %.2f\n", ours, clipper,
              ours / clipper);
  return benchsupport::LeaveBenchFolder(folder, "error code", ErrorCode);
}
