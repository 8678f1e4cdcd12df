// The NC program writer on a path file of 10,000,000 records (130 MB) as
// dialect 0, and a plain buffered write of the program's bytes for
// comparison. The writer streams: its peak memory is printed before and
// after the run and must not grow with the size of the job.
//
// Runs in a fresh temporary folder, headless (the preview draws into the
// headless frame buffer as it does on the screen).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "bench/bench_support.h"
#include "frame/data_slots.h"
#include "frame/defaults.h"
#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/window_draw.h"
#include "machine/nc_program_writer.h"
#include "machine/nc_settings.h"
#include "model/vector_records.h"
#include "platform/files.h"
#include "frame/progress_bar.h"

namespace {

constexpr int64_t kRecords = 10000000;
constexpr int kContourLength = 100;
std::string Folder;

void IgnoreClose() {}

long PeakKb() {
  struct rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// One tool, then contours of 100 records (a start and 99 line points),
// written in pieces so that building the file needs no memory either.
void WriteJob(const std::string& hostPath) {
  std::ofstream out(hostPath, std::ios::binary);
  std::vector<TVectorRecord> piece;
  piece.reserve(100000);
  const TVectorRecord tool[] = {{150, 3, 1.5f, 0}, {151, 0, 0, 0},       {152, 0, 0, 0},     {153, 0, 0, 0},
                                {154, 0, 0, 0},    {155, 0, 0, 0.5f},    {156, 1.2f, 2, 5},  {157, 18000, 0, 1}};
  for (const TVectorRecord& r : tool) piece.push_back(r);
  for (int64_t i = static_cast<int64_t>(piece.size()); i < kRecords; ++i) {
    const float x = static_cast<float>(i % 4000) * 0.125f, y = static_cast<float>((i / 4000) % 4000) * 0.125f;
    piece.push_back(TVectorRecord{static_cast<uint8_t>(i % kContourLength == 0 ? 11 : 10), x, y, 0.0f});
    if (piece.size() == piece.capacity()) {
      out.write(reinterpret_cast<const char*>(piece.data()), static_cast<std::streamsize>(piece.size() * 13));
      piece.clear();
    }
  }
  out.write(reinterpret_cast<const char*>(piece.data()), static_cast<std::streamsize>(piece.size() * 13));
}

int64_t ProgramBytes() { return static_cast<int64_t>(std::filesystem::file_size(Folder + "/OUT.NC")); }

void BM_WriteNcProgramDialect0(benchmark::State& state) {
  const long before = PeakKb();
  for (auto _ : state) WriteNcProgram("JOB.TMP", "OUT.NC", "OUT", 0, 0);
  state.SetBytesProcessed(state.iterations() * ProgramBytes());
  state.counters["program_MB"] = static_cast<double>(ProgramBytes()) / 1e6;
  state.counters["peak_kB_before"] = static_cast<double>(before);
  state.counters["peak_kB_after"] = static_cast<double>(PeakKb());
}
BENCHMARK(BM_WriteNcProgramDialect0)->Unit(benchmark::kMillisecond)->Iterations(1);

// The same bytes written through a plain 64 kB stdio buffer.
void BM_PlainBufferedWrite(benchmark::State& state) {
  std::vector<char> data(1 << 20);
  for (auto _ : state) {
    FILE* in = std::fopen((Folder + "/OUT.NC").c_str(), "rb");
    FILE* out = std::fopen((Folder + "/PLAIN.NC").c_str(), "wb");
    if (in == nullptr || out == nullptr) {
      state.SkipWithError("cannot open the program");
      if (in) std::fclose(in);
      if (out) std::fclose(out);
      break;
    }
    std::setvbuf(out, nullptr, _IOFBF, 65536);
    size_t n = 0;
    while ((n = std::fread(data.data(), 1, data.size(), in)) > 0) std::fwrite(data.data(), 1, n, out);
    std::fclose(in);
    std::fclose(out);
  }
  state.SetBytesProcessed(state.iterations() * ProgramBytes());
}
BENCHMARK(BM_PlainBufferedWrite)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  Folder = benchsupport::EnterBenchFolder();
  InitDataFileSlots();
  ProgressDisplayOn = 0;
  ExitProc = IgnoreClose;
  CreateMainWindow(kWindowStyleMaximize, 0);
  SetUpWindowDC();
  delete ParamImage;
  ParamImage = new TParameterImage{};
  WriteNcSettingsDefaults();
  TNcSettings settings;
  LoadNcSettings(settings);
  settings.CurrentDialect = 0;
  StoreNcSettings(settings);
  WriteJob(Folder + "/JOB.TMP");
  std::printf("path file: %s/JOB.TMP (%lld records)\n", Folder.c_str(), static_cast<long long>(kRecords));

  benchsupport::RunBenchmarks(argc, argv);
  return benchsupport::LeaveBenchFolder(Folder, "error code", ErrorCode);
}
