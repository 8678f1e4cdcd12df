// Nearest-first ordering of 100,000 contours: the grid index against the
// plain scan over all contours (the scan only on a tenth of the set).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "paths/contour_order.h"

namespace {

std::vector<TContourEntry> RandomContours(int n) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> coordinate(0.0f, 1000.0f);
  std::uniform_real_distribution<float> size(-3.0f, 3.0f);
  std::vector<TContourEntry> entries(static_cast<size_t>(n), TContourEntry{});
  for (TContourEntry& e : entries) {
    e.startX = coordinate(random);
    e.startY = coordinate(random);
    e.endX = e.startX + size(random);
    e.endY = e.startY + size(random);
    e.linkDistance = 0.55f;
  }
  return entries;
}

void OrderContours(benchmark::State& state, bool useIndex) {
  const std::vector<TContourEntry> entries = RandomContours(int(state.range(0)));
  const TVectorArray none;
  std::vector<TContourStep> steps;
  for (auto _ : state) {
    PlanNearestOrder(entries, none, false, false, 0.55f, useIndex, steps);
    benchmark::DoNotOptimize(steps.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_NearestOrderGrid(benchmark::State& state) { OrderContours(state, true); }
void BM_NearestOrderScan(benchmark::State& state) { OrderContours(state, false); }

}  // namespace

BENCHMARK(BM_NearestOrderGrid)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NearestOrderScan)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
