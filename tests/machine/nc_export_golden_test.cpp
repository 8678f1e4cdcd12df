// The DIN/ISO export of a whole job: the fixture path file exported with the
// last machine type for the generic dialect (100), dialect 0 and dialect 58
// gives the reviewed golden programs; dialects 0 and 58 are read back by an
// independent G-code reader (the npm package gcode-toolpath, installed into
// the build folder by the ctest step "gcode_reader_install").
// TORV_RECORD_GOLDENS=1 writes the goldens instead of comparing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "exchange/format_registry.h"
#include "app/program_start.h"
#include "machine/nc_export_commands.h"
#include "machine/nc_export_fixture.h"
#include "machine/nc_gcode_reader.h"
#include "machine/nc_settings.h"
#include "platform/files.h"

namespace {

namespace fs = std::filesystem;
using nctest::kGoldenDir;
using nctest::ReadAll;

class NcExportGolden : public nctest::NcExportTest {
 protected:
  void CheckGolden(int dialect, const fs::path& program) {
    ASSERT_FALSE(program.empty()) << "no program written for dialect " << dialect;
    nctest::CheckGoldenFile(kGoldenDir / ("dialect_" + std::to_string(dialect) + ".nc"), ReadAll(program),
                            "dialect " + std::to_string(dialect));
  }

  // Reads the program with gcode-toolpath and checks every move against the
  // fixture; returns the tools of the moves in order of their changes.
  std::vector<int> CheckWithReader(const fs::path& program, float clearance1, float clearance2) {
    std::vector<int> tools;
    const nctest::TGcodeScriptRun node = nctest::RunGcodeScript("moves.js", {program.string()});
    const std::string& out = node.out;
    EXPECT_EQ(node.exitCode, 0) << out;
    static const std::regex kMove(
        R"re(\{"motion":"(G[0-3])","tool":(-?\d+),"x":([-+0-9.eE]+),"y":([-+0-9.eE]+),"z":([-+0-9.eE]+)(?:,"cx":([-+0-9.eE]+),"cy":([-+0-9.eE]+))?\})re");
    // Rapid moves also run at the clearance and safe heights, and the first
    // one starts from the unknown height 0 of the reader.
    const std::vector<float> levels = {clearance1, clearance2, settings_->SafeZ, 0.0f};
    int count = 0, arcs = 0;
    double lastX = 0.0, lastY = 0.0;  // the reader starts at X0 Y0
    for (auto it = std::sregex_iterator(out.begin(), out.end(), kMove); it != std::sregex_iterator(); ++it) {
      const std::smatch& m = *it;
      ++count;
      const std::string motion = m[1];
      const int tool = std::stoi(m[2]);
      if (tools.empty() || tools.back() != tool) tools.push_back(tool);
      const double x = std::stod(m[3]), y = std::stod(m[4]), z = std::stod(m[5]);
      bool xyKnown = false, xyzKnown = false;
      for (const ncfixture::TPoint& p : job_.points) {
        if (std::fabs(p.x - x) <= 0.001 && std::fabs(p.y - y) <= 0.001) {
          xyKnown = true;
          if (std::fabs(p.z - z) <= 0.001) xyzKnown = true;
        }
      }
      bool atLevel = false;
      for (float level : levels) atLevel = atLevel || std::fabs(level - z) <= 0.001;
      // A rapid straight up or down stays where the last move ended.
      const bool zOnly = std::fabs(x - lastX) <= 0.001 && std::fabs(y - lastY) <= 0.001;
      lastX = x;
      lastY = y;
      if (motion == "G0") {
        EXPECT_TRUE(xyKnown || zOnly) << "G0 to " << x << " " << y << " " << z;
        EXPECT_TRUE(xyzKnown || atLevel) << "G0 to " << x << " " << y << " " << z;
      } else {
        EXPECT_TRUE(xyzKnown) << motion << " to " << x << " " << y << " " << z << " is not a fixture point";
      }
      if (m[6].matched) {
        ++arcs;
        const double cx = std::stod(m[6]), cy = std::stod(m[7]);
        bool centreKnown = false;
        for (const ncfixture::TPoint& c : job_.centres)
          centreKnown = centreKnown || (std::fabs(c.x - cx) <= 0.001 && std::fabs(c.y - cy) <= 0.001);
        EXPECT_TRUE(centreKnown) << "arc centre " << cx << " " << cy;
      }
    }
    EXPECT_GT(count, 20) << out;
    EXPECT_EQ(arcs, 2);
    return tools;
  }
};

TEST_F(NcExportGolden, GenericDialectWritesTheBareProgram) {
  const fs::path program = Export(100);
  CheckGolden(100, program);
}

// The tool change from station 1 to station 2 (from the block before the
// tool call on, five blocks), block numbers dropped.
std::string ToolChangeBlocks(const std::string& program) {
  std::istringstream in(program);
  std::vector<std::string> lines;
  std::string line;
  static const std::regex kNumber(R"(^N\d+ )");
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::regex_replace(line, kNumber, ""));
  }
  std::string blocks;
  for (size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].rfind("T2", 0) != 0) continue;
    for (size_t k = i - 1; k < lines.size() && k < i + 4; ++k) blocks += lines[k] + "\n";
    break;
  }
  return blocks;
}

TEST_F(NcExportGolden, Dialect0) {
  settings_->ArcFormat = 2;
  const fs::path program = Export(0);
  CheckGolden(0, program);
  EXPECT_EQ(CheckWithReader(program, 5.0f, 3.0f), (std::vector<int>{1, 2}));
  // "G0 Z" + Zs; T + M6 (no change code in dialect 0's record); S + " M3";
  // "G0" + W (W: the clearance move that carried the change); then the approach.
  EXPECT_EQ(ToolChangeBlocks(ReadAll(program)), "G0 Z10\nT2\nS12000 M3\nG0 Z3\nG0 X80 Y10\n");
}

TEST_F(NcExportGolden, Dialect58) {
  settings_->ArcFormat = 2;
  const fs::path program = Export(58);
  CheckGolden(58, program);
  EXPECT_EQ(CheckWithReader(program, 5.0f, 3.0f), (std::vector<int>{1, 2}));
  // "G0 Z" + Zs; T + " " + S + M6; "G0" + W + " M3"; C; then the approach.
  EXPECT_EQ(ToolChangeBlocks(ReadAll(program)), "G0 Z10\nT2 S12000 M6\nG0 Z3 M3\nM8\nG0 X80 Y10\n");
}

TEST_F(NcExportGolden, AutoExportAsksNothingAndOverwrites) {
  settings_->CurrentDialect = 0;
  const std::string name = plat::DosPathOf((screen_.Dir() / "AUTO.NC").string());
  WriteNcString(settings_->LastNcFile, 255, name);
  StoreNcSettings(*settings_);
  std::ofstream(screen_.Dir() / "AUTO.NC") << "old";
  ExportDinIsoAuto("JOB.TMP");  // a question would end the test: the script is empty
  const std::string text = ReadAll(screen_.Dir() / "AUTO.NC");
  EXPECT_EQ(text.find("old"), std::string::npos);
  EXPECT_NE(text.find("G3 Y40"), std::string::npos);
  EXPECT_NE(text.find("M30"), std::string::npos);
}

TEST_F(NcExportGolden, AutoExportWithoutMachineTypeOnlyTellsSo) {
  settings_->CurrentDialect = -1;
  StoreNcSettings(*settings_);
  screen_.UseScript("key Enter\n");
  ExportDinIsoAuto("JOB.TMP");
  EXPECT_NE(screen_.ReadFile("transcript.txt").find("DIN/ISO"), std::string::npos)
      << screen_.ReadFile("transcript.txt");
  for (const auto& e : fs::directory_iterator(screen_.Dir())) EXPECT_NE(e.path().extension(), ".NC");
}

TEST_F(NcExportGolden, ChoosingTheMachineTypeStoresItAndExports) {
  settings_->CurrentDialect = -1;  // no type yet: ExportDinIso asks for one
  StoreNcSettings(*settings_);
  screen_.UseScript("text 58\nkey Enter\ntext CHOSEN\nkey Enter\n");
  ExportDinIso("JOB.TMP");
  std::string text;
  for (const auto& e : fs::directory_iterator(screen_.Dir()))
    if (e.path().stem() == "CHOSEN") text = ReadAll(e.path());
  EXPECT_NE(text.find("WinPC-NC"), std::string::npos) << text;
  TNcSettings stored;
  LoadNcSettings(stored);
  EXPECT_EQ(int(stored.CurrentDialect), 58);
  // Cancelling the choice writes nothing.
  screen_.UseScript("key Esc\n");
  ExportDinIsoChoose("JOB.TMP");
  int programs = 0;
  for (const auto& e : fs::directory_iterator(screen_.Dir())) programs += e.path().stem() == "CHOSEN";
  EXPECT_EQ(programs, 1);
}

TEST_F(NcExportGolden, ChoosingOnAnEmptyJobDoesNothing) {
  std::ofstream(screen_.Dir() / "EMPTY.TMP").close();
  ExportDinIsoChoose("EMPTY.TMP");  // would ask for the machine type otherwise
  EXPECT_EQ(screen_.ReadFile("transcript.txt").find("msgbox"), std::string::npos);
}

TEST_F(NcExportGolden, LastMachineTypeOnAnEmptyJobWritesHeaderAndEnd) {
  std::ofstream(screen_.Dir() / "JOB.TMP", std::ios::trunc).close();
  const std::string text = ReadAll(Export(0));
  EXPECT_NE(text.find("G90 G40 G17"), std::string::npos) << text;
  EXPECT_NE(text.find("M30"), std::string::npos) << text;
  EXPECT_EQ(text.find("G1 "), std::string::npos) << text;
}

// The import/export dispatcher routes the DIN/ISO codes to the export
// commands: 3107 repeated (automatic 1) uses the last machine type and only
// asks the file, 3107 from a menu asks the machine type, 3112 asks nothing.
TEST_F(NcExportGolden, ImportExportDispatcherReachesTheExports) {
  settings_->CurrentDialect = 0;
  settings_->ArcFormat = 2;
  StoreNcSettings(*settings_);
  CommandWord = 3107;
  screen_.UseScript("text PROG\nkey Enter\n");
  EXPECT_TRUE(DispatchImportExport("JOB.TMP", 1));
  fs::path program;
  for (const auto& e : fs::directory_iterator(screen_.Dir()))
    if (e.path().stem() == "PROG") program = e.path();
  ASSERT_FALSE(program.empty());
  const fs::path golden = kGoldenDir / "dialect_0.nc";
  if (fs::exists(golden)) { EXPECT_EQ(ReadAll(program), ReadAll(golden)); }

  TNcSettings stored;
  LoadNcSettings(stored);
  WriteNcString(stored.LastNcFile, 255, plat::DosPathOf((screen_.Dir() / "AUTO.NC").string()));
  StoreNcSettings(stored);
  CommandWord = 3112;
  CloseRequested = false;  // the close that ended the last script is over
  screen_.UseScript("");
  EXPECT_TRUE(DispatchImportExport("JOB.TMP", 0));
  EXPECT_NE(ReadAll(screen_.Dir() / "AUTO.NC").find("M30"), std::string::npos);

  // A code of the export range without a writer is not handled.
  CommandWord = 3120;
  EXPECT_FALSE(DispatchImportExport("JOB.TMP", 0));
  CommandWord = 0;
}

TEST_F(NcExportGolden, ImportExportDispatcherAsksTheMachineTypeFromAMenu) {
  settings_->CurrentDialect = 0;
  StoreNcSettings(*settings_);
  CommandWord = 3107;
  screen_.UseScript("text 58\nkey Enter\ntext ASKED\nkey Enter\n");
  EXPECT_TRUE(DispatchImportExport("JOB.TMP", 0));
  std::string asked;
  for (const auto& e : fs::directory_iterator(screen_.Dir()))
    if (e.path().stem() == "ASKED") asked = ReadAll(e.path());
  EXPECT_NE(asked.find("WinPC-NC"), std::string::npos) << asked;
  CommandWord = 0;
}

}  // namespace
