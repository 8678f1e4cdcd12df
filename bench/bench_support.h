// The start and end shared by the benchmark programs: a fresh temporary
// folder as the current folder, the window headless with an empty script,
// and the folder removed again after the runs.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <stdlib.h>  // mkdtemp, setenv

#include "platform/files.h"

namespace benchsupport {

// Makes the folder and enters it; returns its host path.
inline std::string EnterBenchFolder() {
  char pattern[] = "/tmp/torv_bench_XXXXXX";
  const std::string folder = mkdtemp(pattern);
  setenv("TORV_VIDEO", "headless", 1);
  std::ofstream(folder + "/script.txt").close();
  setenv("TORV_SCRIPT", (folder + "/script.txt").c_str(), 1);
  plat::SetCurrentFolder(plat::DosPathOf(folder));
  return folder;
}

// Registers our run and Clipper's run of one input side by side, with a
// fixed iteration count and times in milliseconds.
inline void RegisterBesideClipper(const std::string& ours, const std::string& label, int iterations,
                                  std::function<void(benchmark::State&)> runOurs,
                                  std::function<void(benchmark::State&)> runTheirs) {
  benchmark::RegisterBenchmark((ours + " " + label).c_str(), runOurs)->Iterations(iterations)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(("clipper " + label).c_str(), runTheirs)
      ->Iterations(iterations)
      ->Unit(benchmark::kMillisecond);
}

inline void RunBenchmarks(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
}

// Reports an error word the runs left behind (named by what), removes the
// folder and returns the exit code.
inline int LeaveBenchFolder(const std::string& folder, const char* what, int errorWord) {
  const bool failed = errorWord != 0;
  if (failed) std::printf("%s %d after the runs\n", what, errorWord);
  std::filesystem::remove_all(folder);
  return failed ? 1 : 0;
}

}  // namespace benchsupport
