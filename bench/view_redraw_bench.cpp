// Redrawing vector files in the headless graphic window: a drawing of
// 1,000,000 records and a typical sign job of 50,000 records, by the fast
// road (whole polylines clipped by the graphics layer) and by the clipping
// road, against the same lines stroked by a plain loop into a frame buffer.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "bench/bench_support.h"
#include "frame/data_slots.h"
#include "frame/defaults.h"
#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/window_draw.h"
#include "model/vector_records.h"
#include "platform/draw.h"
#include "platform/files.h"
#include "platform/window.h"
#include "view/view_transform.h"

namespace {

// Contours of 20 points, scattered over a 1000 x 700 mm sheet.
std::vector<TVectorRecord> MakeDrawing(int32_t count) {
  std::vector<TVectorRecord> records(static_cast<size_t>(count));
  float cx = 0, cy = 0;
  for (int32_t i = 0; i < count; ++i) {
    if (i % 20 == 0) {
      cx = float((i * 37) % 1000);
      cy = float((i * 53) % 700);
      records[size_t(i)] = TVectorRecord{kRecContourStart, cx, cy, 0.0f};
    } else {
      const double a = (i % 20) * 0.33;
      records[size_t(i)] = TVectorRecord{kRecLinePoint, float(cx + 15 * std::cos(a)), float(cy + 10 * std::sin(a)), 0.0f};
    }
  }
  return records;
}

void WriteDrawing(const std::string& name, int32_t count) {
  const std::vector<TVectorRecord> records = MakeDrawing(count);
  std::ofstream(name, std::ios::binary)
      .write(reinterpret_cast<const char*>(records.data()), std::streamsize(records.size() * sizeof(TVectorRecord)));
}

// The empty script ends with a close message; the benchmark keeps running.
void IgnoreClose() { ExitProc = IgnoreClose; }

void FitSheet() {
  TExtentsPair e = {{1, 0, 0}, {5, 1000, 700}};
  FitViewToExtent(e);
}

void BM_RedrawFast(benchmark::State& state, const char* name) {
  FastDrawLimit = 30000;
  FitSheet();
  for (auto _ : state) DrawVectorFile(name, plat::kRopCopy, 12, 0);
}

void BM_RedrawClipping(benchmark::State& state, const char* name) {
  FastDrawLimit = 0;
  FitSheet();
  for (auto _ : state) DrawVectorFile(name, plat::kRopCopy, 12, 0);
  FastDrawLimit = 30000;
}

// The same segments, transformed and stroked with a plain integer line loop
// into a frame buffer of the window's size, records already in memory.
void BM_PlainLoop(benchmark::State& state, int32_t count) {
  const std::vector<TVectorRecord> records = MakeDrawing(count);
  FitSheet();
  const plat::TFrameBuffer& window = plat::WindowFrameBuffer();
  std::vector<uint32_t> fb(size_t(window.width) * size_t(window.height));
  const int w = window.width, h = window.height;
  for (auto _ : state) {
    int px = 0, py = 0;
    for (const TVectorRecord& r : records) {
      int32_t sx, sy;
      WorldToScreenLong(r.x, r.y, sx, sy);
      if (r.type == kRecLinePoint) {
        int x = px, y = py;
        const int dx = std::abs(sx - x), dy = -std::abs(sy - y);
        const int stepX = x < sx ? 1 : -1, stepY = y < sy ? 1 : -1;
        int err = dx + dy;
        while (x != sx || y != sy) {
          if (x >= 0 && y >= 0 && x < w && y < h) fb[size_t(y) * size_t(w) + size_t(x)] = 0xFF0000;
          const int e2 = 2 * err;
          if (e2 >= dy) err += dy, x += stepX;
          if (e2 <= dx) err += dx, y += stepY;
        }
      }
      px = sx, py = sy;
    }
    benchmark::DoNotOptimize(fb.data());
  }
}

BENCHMARK_CAPTURE(BM_RedrawFast, million, "BIG.TMP")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RedrawClipping, million, "BIG.TMP")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlainLoop, million, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RedrawFast, sign_job, "SIGN.TMP")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RedrawClipping, sign_job, "SIGN.TMP")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlainLoop, sign_job, 50000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = benchsupport::EnterBenchFolder();
  InitDataFileSlots();
  ExitProc = IgnoreClose;
  CreateMainWindow(kWindowStyleMaximize, 0);
  SetUpWindowDC();
  GetClientMaxXY(MaxX, MaxY);
  DrawingArea = TLayoutRect{1, 0, 51, int16_t(MaxX - 169), MaxY};
  LayoutArea = TExtentsPair{{1, 0, 0}, {5, 1000, 700}};
  WriteDrawing(folder + "/BIG.TMP", 1000000);
  WriteDrawing(folder + "/SIGN.TMP", 50000);

  benchsupport::RunBenchmarks(argc, argv);
  return benchsupport::LeaveBenchFolder(folder, "error code", ErrorCode);
}
