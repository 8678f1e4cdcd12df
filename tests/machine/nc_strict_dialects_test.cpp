// The strict G-code check over the goldens of every G-code dialect
// (tests/machine/nc_gcode_dialects.h): each fixture job and each variant
// whose golden exists, checked against the description of its job in one
// batch run of tests/gcode/strict_check.js. The findings must equal the
// table tests/fixtures/nc/strict_findings.txt, the faults today's writer
// still makes: a finding that disappears (a mended fault) or comes anew
// fails the test until the table is updated with the change.
// TORV_RECORD_GOLDENS=1 writes the table instead.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fixtures/nc/nc_job_fixture.h"
#include "machine/nc_export_fixture.h"
#include "machine/nc_gcode_dialects.h"
#include "machine/nc_gcode_reader.h"
#include "machine/nc_strict_description.h"
#include "support/program_runner.h"

namespace {

namespace fs = std::filesystem;

struct TStrictJob {
  const char* name;
  ncfixture::TJob (*build)();
};
const TStrictJob kStrictJobs[] = {
    {"base", ncfixture::BuildJob},
    {"arcs", ncfixture::BuildArcJob},
    {"passes", ncfixture::BuildDepthPassJob},
    {"tools", ncfixture::BuildThreeToolJob},
};

const fs::path kFindingsFile = nctest::kGoldenDir / "strict_findings.txt";

const char* const kFindingsHead =
    "# The faults the strict G-code check (tests/gcode/strict_check.js) finds\n"
    "# in the goldens of every G-code dialect (tests/fixtures/nc/dialects),\n"
    "# each against the description of its fixture job: the faults today's\n"
    "# writer still makes. Each mend of the writer empties its lines here.\n"
    "# One finding a line, \"GOLDEN:LINE: reason\", sorted; written by\n"
    "# tests/machine/nc_strict_dialects_test.cpp with TORV_RECORD_GOLDENS=1.\n";

struct TBatchRun {
  int exitCode = -1;
  std::vector<std::string> lines;
};

// Runs the check once over the list "NAME<TAB>PROGRAM<TAB>DESCRIPTION".
TBatchRun RunBatch(const fs::path& folder, const std::string& list) {
  TBatchRun run;
  torvtest::WriteFile(folder / "list.txt", list);
  const nctest::TGcodeScriptRun node =
      nctest::RunGcodeScript("strict_check.js", {"--batch", (folder / "list.txt").string()}, folder / "stderr.txt");
  run.exitCode = node.exitCode;
  run.lines = node.Lines();
  return run;
}

std::vector<std::string> ReadFindings(const fs::path& file) {
  std::vector<std::string> findings;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line))
    if (!line.empty() && line[0] != '#') findings.push_back(line);
  return findings;
}

// One batch run reports every program under its name and goes on past an
// unreadable pair, ending with the worst code.
TEST(NcStrictDialects, BatchNamesEachFindingAndGoesOnPastBadInput) {
  torvtest::TempFolder folder(torvtest::TFolderStart::kEmpty);
  const std::string description =
      R"({"unit":"mm","surfaceZ":0,"zSign":1,"clearance":{"1":5},"spindle":{"switched":false,"m6Stops":true},)"
      R"("contours":[{"start":[0,0,-1],"points":[{"to":[20,0,-1]}]}]})";
  torvtest::WriteFile(folder.Path() / "want.json", description);
  torvtest::WriteFile(folder.Path() / "clean.nc", "G0 Z5\r\nG0 X0 Y0\r\nG1 Z-1 F100\r\nG1 X20\r\nG0 Z5\r\nM30\r\n");
  torvtest::WriteFile(folder.Path() / "low.nc", "G0 Z5\r\nG0 X0 Y0\r\nG1 Z-1 F100\r\nG1 X20\r\nM30\r\n");
  const std::string want = (folder.Path() / "want.json").string();
  const TBatchRun run = RunBatch(folder.Path(), "A.nc\t" + (folder.Path() / "clean.nc").string() + "\t" + want +
                                                    "\nB.nc\t" + (folder.Path() / "missing.nc").string() + "\t" +
                                                    want + "\nC.nc\t" + (folder.Path() / "low.nc").string() +
                                                    "\t" + want + "\n");
  EXPECT_EQ(run.exitCode, 2);
  ASSERT_EQ(run.lines.size(), 2u);
  EXPECT_EQ(run.lines[0].rfind("B.nc: unreadable: ", 0), 0u) << run.lines[0];
  EXPECT_EQ(run.lines[1], "C.nc:5: program ends at height -1 below the clearance 5 of tool ?");
}

// The description follows the geometry of the records: the clockwise arc of
// the arc job from left of its centre over the top down to the bottom sweeps
// 270 degrees, and the dialect that turns the job gets the turned contours.
TEST(NcStrictDialects, DescriptionFollowsTheRecords) {
  const std::string arcs = ncstrict::BuildStrictDescription(ncfixture::BuildArcJob(), ncdialects::kDialects[0], false);
  EXPECT_NE(arcs.find(R"({"start":[60,25,-1.5],"points":[{"to":[70,15,-1.5],"arc":{"dir":"cw","sweep":270}})"),
            std::string::npos)
      << arcs;
  EXPECT_NE(arcs.find(R"({"to":[110,25,-1.5],"arc":{"dir":"ccw","sweep":360}})"), std::string::npos) << arcs;
  const std::string turned = ncstrict::BuildStrictDescription(ncfixture::BuildJob(), ncdialects::kDialects[46], true);
  EXPECT_NE(turned.find(R"("contours":[{"start":[-10,10,-2],"points":[{"to":[-10,30,-2]})"), std::string::npos)
      << turned;
  EXPECT_NE(turned.find(R"("clearance":{"1":5,"2":3})"), std::string::npos) << turned;
}

// Each arc a fixture job lists says what its records draw: direction and
// sweep from the point before it, the centre and its end.
TEST(NcStrictDialects, FixtureArcsSayWhatTheyAre) {
  for (const ncfixture::TJob& job : {ncfixture::BuildJob(), ncfixture::BuildArcJob(), ncfixture::BuildDepthPassJob(),
                                     ncfixture::BuildThreeToolJob(), ncfixture::BuildIndexJob(),
                                     ncfixture::BuildFixtureStationJob()}) {
    size_t arc = 0;
    ncfixture::TPoint last{0, 0, 0};
    bool pending = false;
    for (const TVectorRecord& r : job.records) {
      if (r.type == 19) {
        pending = true;
        continue;
      }
      if (r.type != 10 && r.type != 11 && r.type != 12 && r.type != 27) continue;
      const ncfixture::TPoint p{r.x, r.y, 0.0f};
      if (pending) {
        ASSERT_LT(arc, job.arcs.size());
        const ncfixture::TArc& a = job.arcs[arc++];
        const double sweep = ncstrict::SweepOf(last, p, {a.cx, a.cy, 0.0f}, a.sweep > 0.0f);
        EXPECT_NEAR(sweep, std::fabs(a.sweep), 0.01) << "arc " << arc << " around " << a.cx << " " << a.cy;
        pending = false;
      }
      last = p;
    }
    EXPECT_EQ(arc, job.arcs.size());
  }
}

TEST(NcStrictDialects, GoldensGiveTheTableOfFindings) {
  torvtest::TempFolder folder(torvtest::TFolderStart::kEmpty);
  const fs::path goldens = nctest::kGoldenDir / "dialects";
  std::string list;
  int checked = 0;
  for (const ncdialects::TGcodeDialect& row : ncdialects::kDialects) {
    if (!row.gcode) continue;
    for (const TStrictJob& job : kStrictJobs) {
      const ncfixture::TJob built = job.build();
      for (const bool start : {false, true}) {
        char name[64];
        std::snprintf(name, sizeof name, "dialect_%02d_%s_%s.nc", row.dialect, job.name, start ? "start" : "nostart");
        const fs::path golden = goldens / name;
        if (!fs::exists(golden)) {
          // Every G-code dialect has its program without start position.
          EXPECT_TRUE(start) << name << " is missing";
          continue;
        }
        const fs::path description = folder.Path() / (std::string(name) + ".json");
        torvtest::WriteFile(description, ncstrict::BuildStrictDescription(built, row, start));
        list += std::string(name) + "\t" + golden.string() + "\t" + description.string() + "\n";
        ++checked;
      }
    }
  }
  ASSERT_GT(checked, 0);
  const TBatchRun run = RunBatch(folder.Path(), list);
  ASSERT_NE(run.exitCode, 2) << torvtest::ReadFile(folder.Path() / "stderr.txt") << "\n"
                             << (run.lines.empty() ? "" : run.lines.front());
  std::vector<std::string> findings = run.lines;
  std::sort(findings.begin(), findings.end());
  if (nctest::IsRecordingGoldens()) {
    std::string text = kFindingsHead;
    for (const std::string& f : findings) text += f + "\n";
    std::ofstream(kFindingsFile, std::ios::binary) << text;
    return;
  }
  ASSERT_TRUE(fs::exists(kFindingsFile)) << kFindingsFile << " is missing (record with TORV_RECORD_GOLDENS=1)";
  const std::vector<std::string> expected = ReadFindings(kFindingsFile);
  std::vector<std::string> gone, come;
  std::set_difference(expected.begin(), expected.end(), findings.begin(), findings.end(), std::back_inserter(gone));
  std::set_difference(findings.begin(), findings.end(), expected.begin(), expected.end(), std::back_inserter(come));
  std::string report;
  for (const std::string& f : gone) report += "  no longer found: " + f + "\n";
  for (const std::string& f : come) report += "  new: " + f + "\n";
  EXPECT_EQ(findings, expected) << "the findings differ from " << kFindingsFile << ":\n" << report;
  EXPECT_EQ(run.exitCode, findings.empty() ? 0 : 1);
}

}  // namespace
