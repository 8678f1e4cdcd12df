// The contour offset engine with its result writer against Clipper on four
// generated inputs:
//   (a) a 1000-point square with a hole, offset 2 mm;
//   (b) about 2,000 letter-like contours with 200,000 points, offset 0.3 mm;
//   (c) a traced picture: 19,998 contours (the engine takes at most 19,999
//       per call) with about 1,000,000 points, offset 0.2 mm;
//   (d) offset 0.05 mm on a 600 mm layout.
// Ours is OffsetContourFile at the computing distance plus the joined path at
// the wanted distance (files included); Clipper's is ClipperOffset on the same
// reduced contours with round joins at the same arc step. After the runs a
// table gives per input both times, their ratio, the process's peak memory
// after the input (inputs run smallest first) and the comparison measures.
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "bench_support.h"
#include "frame/defaults.h"
#include "offset_reference.h"
#include "paths/contour_offset.h"
#include "paths/offset_results.h"
#include "paths/offset_tolerances.h"

namespace {

using namespace offsetref;

constexpr double kTwentyDegrees = 0.3490658;

struct TInput {
  const char* label;
  double b;
  int iterations;
  std::function<TShape()> make;
  // Filled while running.
  TShape reduced;
  TShape ours;
  TShape theirs;
  double oursSeconds = 0, theirsSeconds = 0;
  long peakKiB = 0;
  int errorCode = 0;
  size_t points = 0;
};

std::vector<TInput>& Inputs() {
  static std::vector<TInput> inputs = {
      {"(a) square with hole", 2.0, 20, [] { return MakeSquareWithHole(1000); }},
      {"(d) 0.05 mm on 600 mm", 0.05, 5, [] { return MakeLayoutShapes(4); }},
      {"(b) letters", 0.3, 3, [] { return MakeLetterContours(2000, 200000, 1); }},
      {"(c) traced picture", 0.2, 1, [] { return MakeTracedPicture(19998, 1000000, 2); }},
  };
  return inputs;
}

long PeakKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void RunOurs(benchmark::State& state, TInput& input) {
  if (input.reduced.empty()) {
    const TShape shape = input.make();
    input.points = PointCount(shape);
    input.reduced = ReduceShape(shape, input.b);  // leaves the reduced file in "VekAR9.TMP"
  }
  const float c = ComputeBasicTolerance(float(input.b));
  double best = 1e300;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    ErrorCode = -2;
    OffsetContourFile(kReducedPointsFile, 1, c, float(kTwentyDegrees), float(M_PI));
    if (ErrorCode > 0) input.errorCode = ErrorCode;
    WriteJoinedOffsetPath("OFFSEC.TMP", "OFFOUT.TMP", 1, c, float(input.b), 0, -1);
    if (ErrorCode > 0 && input.errorCode == 0) input.errorCode = ErrorCode;
    ErrorCode = 0;
    best = std::min(best, Seconds(start));
  }
  input.oursSeconds = best;
  input.ours = ReadShapeFile("OFFOUT.TMP");
  input.peakKiB = PeakKiB();
}

void RunTheirs(benchmark::State& state, TInput& input) {
  double best = 1e300;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    input.theirs = ClipperOffsetShape(input.reduced, input.b, kTwentyDegrees);
    benchmark::DoNotOptimize(input.theirs.data());
    best = std::min(best, Seconds(start));
  }
  input.theirsSeconds = best;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = benchsupport::EnterBenchFolder();
  for (TInput& input : Inputs()) {
    benchsupport::RegisterBesideClipper(
        "ours", input.label, input.iterations, [&input](benchmark::State& s) { RunOurs(s, input); },
        [&input](benchmark::State& s) { RunTheirs(s, input); });
  }
  benchsupport::RunBenchmarks(argc, argv);

  std::printf("\n%-24s %9s %9s %11s %11s %7s %10s\n", "input", "points", "reduced", "ours ms", "clipper ms", "ratio",
              "peak MiB");
  for (const TInput& input : Inputs()) {
    std::printf("%-24s %9zu %9zu %11.1f %11.1f %7.2f %10.1f\n", input.label, input.points, PointCount(input.reduced),
                input.oursSeconds * 1e3, input.theirsSeconds * 1e3,
                input.theirsSeconds > 0 ? input.oursSeconds / input.theirsSeconds : 0.0, input.peakKiB / 1024.0);
  }
  std::printf("\n");
  int disagreements = 0;
  for (const TInput& input : Inputs()) {
    if (input.reduced.empty()) continue;
    const TOffsetComparison c = CompareOffsets(input.ours, input.theirs, input.reduced, std::max(input.b / 4, 0.01));
    const double tolerance = 2 * ArcChordError(input.b, kTwentyDegrees) + 0.004;
    const bool agree = input.errorCode == 0 && c.contoursOurs == c.contoursReference &&
                       c.holesOurs == c.holesReference && c.hausdorff <= tolerance && c.relativeXor <= 5e-3 &&
                       c.leastInputDistance >= input.b - 0.004;
    disagreements += !agree;
    std::printf("%-24s %s (error %d; tolerance %.4g): %s\n", input.label, agree ? "agrees" : "DIFFERS",
                input.errorCode, tolerance, DescribeComparison(c).c_str());
  }
  return benchsupport::LeaveBenchFolder(folder, "disagreeing inputs:", disagreements);
}
