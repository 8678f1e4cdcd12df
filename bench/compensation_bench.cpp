// Radius compensation (CompensateRadiusWithRetry: point reduction, offset,
// joined path, retries) at W = 1.5 mm with a rounding angle of 25 degrees on
// two generated inputs:
//   (b) about 2,000 letter-like contours with 200,000 points;
//   (c) a traced picture: 19,998 contours (the engine takes at most 19,999
//       per call) with about 1,000,000 points.
// Beside it Clipper's offset (ClipperOffsetShape, round joins at the same arc
// step) of the same contours after the same point reduction. A table after
// the runs gives both times, their ratio and the result sizes.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "bench_support.h"
#include "frame/defaults.h"
#include "offset_reference.h"
#include "paths/radius_compensation.h"

namespace {

using namespace offsetref;

constexpr float kWidth = 1.5f;
constexpr float kRoundingDegrees = 25.0f;
constexpr double kRoundingRadians = 25.0 * 3.14159265358979 / 180.0;

struct TInput {
  const char* label;
  const char* file;
  int iterations;
  std::function<TShape()> make;
  TShape reduced;
  size_t points = 0;
  size_t oursPoints = 0, theirsPoints = 0;
  size_t oursContours = 0, theirsContours = 0;
  double oursSeconds = 0, theirsSeconds = 0;
  int errorCode = 0;
};

std::vector<TInput>& Inputs() {
  static std::vector<TInput> inputs = {
      {"(b) letters", "BENCHB.TMP", 3, [] { return MakeLetterContours(2000, 200000, 1); }},
      {"(c) traced picture", "BENCHC.TMP", 1, [] { return MakeTracedPicture(19998, 1000000, 2); }},
  };
  return inputs;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void Prepare(TInput& input) {
  if (input.points != 0) return;
  TShape shape = input.make();
  OrientByNesting(shape);
  input.points = PointCount(shape);
  input.reduced = ReduceShape(shape, kWidth);
  WriteShapeFile(input.file, shape);
}

void RunOurs(benchmark::State& state, TInput& input) {
  Prepare(input);
  double best = 1e300;
  for (auto _ : state) {
    uint8_t record[kCompensationSettingsSize];
    SetCompensationDefaults(record);
    TCompensationSettings settings;
    std::memcpy(&settings, record, sizeof settings);
    settings.roundingAngle = kRoundingDegrees;
    settings.sideFlag = 1;
    const auto start = std::chrono::steady_clock::now();
    ErrorCode = 0;
    CompensateRadiusWithRetry(input.file, "COMPOUT.TMP", -1, settings, kWidth, kWidth);
    best = std::min(best, Seconds(start));
    input.errorCode = ErrorCode;
    ErrorCode = 0;
  }
  input.oursSeconds = best;
  const TShape ours = ReadShapeFile("COMPOUT.TMP");
  input.oursContours = ours.size();
  input.oursPoints = PointCount(ours);
}

void RunTheirs(benchmark::State& state, TInput& input) {
  Prepare(input);
  double best = 1e300;
  TShape theirs;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    theirs = ClipperOffsetShape(input.reduced, kWidth, kRoundingRadians);
    benchmark::DoNotOptimize(theirs.data());
    best = std::min(best, Seconds(start));
  }
  input.theirsSeconds = best;
  input.theirsContours = theirs.size();
  input.theirsPoints = PointCount(theirs);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = benchsupport::EnterBenchFolder();
  for (TInput& input : Inputs()) {
    benchsupport::RegisterBesideClipper(
        "compensation", input.label, input.iterations, [&input](benchmark::State& s) { RunOurs(s, input); },
        [&input](benchmark::State& s) { RunTheirs(s, input); });
  }
  benchsupport::RunBenchmarks(argc, argv);

  std::printf("\n%-20s %9s %9s %11s %11s %7s %16s %16s %6s\n", "input", "points", "reduced", "ours ms", "clipper ms",
              "ratio", "ours cont/pts", "clipper cont/pts", "error");
  int failures = 0;
  for (const TInput& input : Inputs()) {
    std::printf("%-20s %9zu %9zu %11.1f %11.1f %7.2f %7zu/%-8zu %7zu/%-8zu %6d\n", input.label, input.points,
                PointCount(input.reduced), input.oursSeconds * 1e3, input.theirsSeconds * 1e3,
                input.theirsSeconds > 0 ? input.oursSeconds / input.theirsSeconds : 0.0, input.oursContours,
                input.oursPoints, input.theirsContours, input.theirsPoints, input.errorCode);
    failures += input.errorCode != 0;
  }
  return benchsupport::LeaveBenchFolder(folder, "inputs with an error code:", failures);
}
