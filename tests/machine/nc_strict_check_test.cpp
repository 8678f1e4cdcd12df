// The strict G-code check tests/gcode/strict_check.js: a small clean program
// passes, each kind of fault put into a copy of it is found with its line and
// reason, unreadable input ends with code 2, and the reviewed goldens of
// dialects 0, 58 and 100 give exactly today's findings against the fixture
// job. The check runs on node with gcode-toolpath, installed into the build
// folder by the ctest step "gcode_reader_install".
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "fixtures/nc/nc_job_fixture.h"
#include "machine/nc_gcode_dialects.h"
#include "machine/nc_gcode_reader.h"
#include "machine/nc_strict_description.h"
#include "support/program_runner.h"

namespace {

namespace fs = std::filesystem;

struct TCheckRun {
  int exitCode = -1;
  std::vector<std::string> faults;  // "LINE: reason"
};

// Runs the check on a program text and a description text.
TCheckRun RunCheck(const std::string& program, const std::string& description) {
  TCheckRun run;
  torvtest::TempFolder folder(torvtest::TFolderStart::kEmpty);
  torvtest::WriteFile(folder.Path() / "PROG.NC", program);
  torvtest::WriteFile(folder.Path() / "want.json", description);
  const nctest::TGcodeScriptRun node = nctest::RunGcodeScript(
      "strict_check.js", {(folder.Path() / "PROG.NC").string(), (folder.Path() / "want.json").string()},
      folder.Path() / "stderr.txt");
  run.exitCode = node.exitCode;
  run.faults = node.Lines();
  return run;
}

// --- a small clean program and its description ----------------------------------

// Two tools; contour 1 a line, a counter-clockwise half circle and a line,
// contour 2 a clockwise 270-degree arc, contour 3 a 3D line of tool 2.
const std::vector<std::string> kClean = {
    "(strict check fixture)",      // 1
    "G90 G21 G17",                 // 2
    "T1 M6",                       // 3
    "S10000 M3",                   // 4
    "G0 Z5",                       // 5
    "G0 X0 Y0",                    // 6
    "G1 Z-1 F100",                 // 7
    "G1 X20 F300",                 // 8
    "G3 X20 Y20 I0 J10",           // 9
    "G1 X0",                       // 10
    "G1 Y0",                       // 11
    "G0 Z5",                       // 12
    "G0 X40 Y0",                   // 13
    "G1 Z-1 F100",                 // 14
    "G2 X50 Y10 I0 J10",           // 15
    "G0 Z10",                      // 16
    "T2 M6",                       // 17
    "M3",                          // 18
    "G0 Z3",                       // 19
    "G0 X60 Y0",                   // 20
    "G1 Z-0.5 F50",                // 21
    "G1 X70 Y5 Z-1 F200",          // 22
    "G0 Z10",                      // 23
    "M5",                          // 24
    "M30",                         // 25
};

std::string Description(bool m6Stops, const std::string& arcCentres = "incremental") {
  return std::string(R"({"unit":"mm","surfaceZ":0,"zSign":1,"clearance":{"1":5,"2":3},)") +
         R"("arcCentres":")" + arcCentres + "\"," +
         R"("spindle":{"switched":true,"m6Stops":)" + (m6Stops ? "true" : "false") + "}," +
         R"("contours":[
  {"start":[0,0,-1],"points":[{"to":[20,0,-1]},{"to":[20,20,-1],"arc":{"dir":"ccw","sweep":180}},
                              {"to":[0,20,-1]},{"to":[0,0,-1]}]},
  {"start":[40,0,-1],"points":[{"to":[50,10,-1],"arc":{"dir":"cw","sweep":270}}]},
  {"start":[60,0,-0.5],"points":[{"to":[70,5,-1]}]}]})";
}

// The same first contour in inch.
const std::vector<std::string> kCleanInch = {
    "G90 G20 G17",       // 1
    "T1 M6",             // 2
    "S10000 M3",         // 3
    "G0 Z0.2",           // 4
    "G0 X0 Y0",          // 5
    "G1 Z-0.04 F4",      // 6
    "G1 X1 F12",         // 7
    "G3 X1 Y1 I0 J0.5",  // 8
    "G0 Z0.2",           // 9
    "M30",               // 10
};

const char* kInchDescription =
    R"({"unit":"inch","surfaceZ":0,"zSign":1,"clearance":{"1":5},"spindle":{"switched":true,"m6Stops":true},
  "contours":[{"start":[0,0,-1.016],"points":[{"to":[25.4,0,-1.016]},
                                               {"to":[25.4,25.4,-1.016],"arc":{"dir":"ccw","sweep":180}}]}]})";

// Edits of a program: a line replaced (text), removed ("" with remove), or
// the program's lines given in a new order (1-based).
struct TEdit {
  int line;
  std::string text;
};

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& l : lines) text += l + "\r\n";
  return text;
}

std::string Edited(const std::vector<std::string>& base, const std::vector<TEdit>& edits,
                   const std::vector<int>& order = {}) {
  std::vector<std::string> lines = base;
  for (const TEdit& e : edits) lines[e.line - 1] = e.text;
  if (!order.empty()) {
    std::vector<std::string> moved;
    for (int i : order) moved.push_back(lines[i - 1]);
    lines = moved;
  }
  return Join(lines);
}

// A planar (wire EDM) description: contour 1 of the clean program, its
// first point straight below the start, heights and feeds not checked.
const char* kPlanarDescription =
    R"({"unit":"mm","surfaceZ":0,"zSign":1,"planar":true,"clearance":{"1":5},)"
    R"("spindle":{"switched":false,"m6Stops":true},"contours":[{"start":[0,0,0],"points":[{"to":[0,0,-1]},)"
    R"({"to":[20,0,-1]},{"to":[20,20,-1],"arc":{"dir":"ccw","sweep":180}},{"to":[0,20,-1]},{"to":[0,0,-1]}]}]})";

const std::vector<std::string> kPlanar = {
    "G0 X0 Y0",           // 1
    "G1 X20",             // 2
    "G3 X20 Y20 I0 J10",  // 3
    "G1 X0",              // 4
    "G1 Y0",              // 5
    "M30",                // 6
};

// Description(true) with the area rapid moves may reach.
std::string WithArea(const std::string& description) {
  return R"({"area":[-50,-50,150,100],)" + description.substr(1);
}

// The description with the program's comments in parentheses or in other marks.
std::string WithComments(const std::string& description, const char* marks) {
  return std::string(R"({"comments":")") + marks + "\"," + description.substr(1);
}

TEST(NcStrictCheck, CleanProgramsPass) {
  for (bool m6Stops : {false, true}) {
    const TCheckRun run = RunCheck(Join(kClean), Description(m6Stops));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.faults, std::vector<std::string>{}) << "m6Stops " << m6Stops;
  }
  const TCheckRun absolute =
      RunCheck(Edited(kClean, {{9, "G3 X20 Y20 I20 J10"}, {15, "G2 X50 Y10 I40 J10"}}), Description(true, "absolute"));
  EXPECT_EQ(absolute.exitCode, 0);
  EXPECT_EQ(absolute.faults, std::vector<std::string>{});
  const TCheckRun inch = RunCheck(Join(kCleanInch), kInchDescription);
  EXPECT_EQ(inch.exitCode, 0);
  EXPECT_EQ(inch.faults, std::vector<std::string>{});
}

// Programs a control runs cleanly, written in ways the reader or the check
// must not take for faults.
TEST(NcStrictCheck, OtherFormsOfCleanProgramsPass) {
  struct TCleanCase {
    const char* name;
    std::string program;
    std::string description;
  };
  const std::vector<TCleanCase> cases = {
      {"M13 starts the spindle with coolant", Edited(kClean, {{4, "S10000 M13"}}), Description(true)},
      {"modal words between G0 and the axes", Edited(kClean, {{13, "G0 G40 G90 X40 Y0"}}), Description(true)},
      {"G53 Z alone retracts to the machine's top", Edited(kClean, {{16, "G0 G53 Z0\r\nM5"}}), Description(true)},
      {"G92 declares where the tool stands", Edited(kClean, {{6, "G0 X-5 Y-5\r\nG92 X0 Y0"}}), Description(true)},
      {"a feed down in the air away from any contour",
       Edited(kClean, {{5, "G0 Z10"}, {6, "G0 X-12.5 Y7.25\r\nG1 Z6 F850\r\nG0 X0 Y0"}}), Description(true)},
      {"rapid moves inside the work area", Join(kClean), WithArea(Description(true))},
      {"G53 Z0 retracts to the machine's home", Edited(kClean, {{23, "G0 G53 Z0\r\nG0 X0 Y0"}}),
       Description(true)},
      {"a reference return of Z goes to the top of its travel",
       Edited(kClean, {{5, "G91 G30 Z0\r\nG90\r\nG0 X-12.5 Y7.25\r\nG0 Z5"}}), Description(true)},
      {"machine zero of Z is the top of its travel",
       Edited(kClean, {{5, "G0 G53 Z0\r\nG0 X-12.5 Y7.25\r\nG0 Z5"}}), Description(true)},
      {"a planar program with a point below the start", Join(kPlanar), kPlanarDescription},
      {"comments in parentheses, one a line", Join(kClean), WithComments(Description(true), "parentheses")},
      {"parentheses after a semicolon", Edited(kClean, {{1, ";(tool (R1) list"}, {3, "T1 M6 (Werkzeug [R1])"}}),
       WithComments(Description(true), "parentheses")},
      {"parentheses of a language with other comments", Edited(kClean, {{1, "(tool (R1) list"}}),
       WithComments(Description(true), "other")},
      {"a G1 without axis words before the first feed", Edited(kClean, {{4, "S10000 M3\r\nG1 G42"}}),
       Description(true)},
      {"no F words where the control sets the feed",
       Edited(kClean, {{7, "G1 Z-1"}, {8, "G1 X20"}, {14, "G1 Z-1"}, {21, "G1 Z-0.5"}, {22, "G1 X70 Y5 Z-1"}}),
       "{\"feed\":\"control\"," + Description(true).substr(1)},
      {"each new tool moves down after its length offset",
       Edited(kClean, {{5, "G0 G43 H1 Z5"}, {19, "G0 G43 H2 Z3"}}), "{\"lengthOffset\":true," + Description(true).substr(1)},
      {"T makes the next tool ready while the current one cuts",
       Edited(kClean, {{3, "T1\r\nM6"}, {4, "S10000 M3 T2"}, {17, "M6"}, {18, "M3 T1"}}),
       "{\"toolPreselect\":true," + Description(true).substr(1)},
  };
  for (const TCleanCase& c : cases) {
    const TCheckRun run = RunCheck(c.program, c.description);
    EXPECT_EQ(run.exitCode, 0) << c.name;
    EXPECT_EQ(run.faults, std::vector<std::string>{}) << c.name;
  }
}

struct TFaultCase {
  const char* name;
  std::string program;
  std::string description;
  std::vector<std::string> faults;
};

TEST(NcStrictCheck, EachFaultIsFoundAtItsLine) {
  const std::string mm = Description(true);
  const std::vector<int> contoursSwapped = {1, 2, 3, 4, 5, 13, 14, 15, 12, 6, 7, 8, 9, 10, 11, 16, 17,
                                            18, 19, 20, 21, 22, 23, 24, 25};
  const std::vector<TFaultCase> cases = {
      {"rapid across below the clearance", Edited(kClean, {{12, "G0 Z2"}}), mm,
       {"13: G0 X/Y move at height 2 below the clearance 5 of tool 1"}},
      {"rapid across below the clearance of the second tool", Edited(kClean, {{19, "G0 Z2.5"}}), mm,
       {"20: G0 X/Y move at height 2.5 below the clearance 3 of tool 2"}},
      {"rapid across before any height", Edited(kClean, {}, {1, 2, 3, 4, 6, 5, 7, 8, 9, 10, 11, 12, 13, 14, 15,
                                                             16, 17, 18, 19, 20, 21, 22, 23, 24, 25}),
       mm, {"5: G0 X/Y move before any Z height"}},
      {"a new tool moves down before its length offset",
       Edited(kClean, {{5, "G0 G43 H1 Z5"}}), "{\"lengthOffset\":true," + mm.substr(1),
       {"19: Z move down with tool 2 before its G43 H", "21: Z move down with tool 2 before its G43 H",
        "22: Z move down with tool 2 before its G43 H"}},
      {"rapid across below the clearance after a reference return",
       Edited(kClean, {{5, "G91 G28 Z0\r\nG90\r\nG0 Z2"}}), mm,
       {"8: G0 X/Y move at height 2 below the clearance 5 of tool 1"}},
      {"rapid across after G53 to a Z other than machine zero", Edited(kClean, {{5, "G0 G53 Z-50"}}), mm,
       {"6: G0 X/Y move at height 0 below the clearance 5 of tool 1"}},
      {"rapid down into the work", Edited(kClean, {{14, "G0 Z-1 F100"}}), mm,
       {"14: G0 down into the work to height -1"}},
      {"feed 0", Edited(kClean, {{8, "G1 X20 F0"}}), mm,
       {"8: G1 with feed 0", "9: G3 with feed 0", "10: G1 with feed 0", "11: G1 with feed 0"}},
      {"cut before any feed", Edited(kClean, {{7, "G1 Z-1"}}), mm, {"7: G1 before any feed"}},
      {"cut before any feed after a G1 that moves nothing", Edited(kClean, {{6, "G0 X0 Y0\r\nG1"}, {7, "G1 Z-1"}}),
       mm, {"8: G1 before any feed"}},
      {"no spindle start after M6", Edited(kClean, {{18, "(M3 missing)"}}), mm,
       {"21: G1 with the spindle stopped", "22: G1 with the spindle stopped"}},
      {"spindle stopped in the block of the cut", Edited(kClean, {{22, "G1 X70 Y5 Z-1 F200 M5"}}), mm,
       {"22: spindle stopped in the work at height -0.5", "22: G1 with the spindle stopped"}},
      {"spindle speed 0", Edited(kClean, {{4, "S0 M3"}}), mm,
       {"7: G1 with the spindle stopped", "8: G1 with the spindle stopped", "9: G3 with the spindle stopped",
        "10: G1 with the spindle stopped", "11: G1 with the spindle stopped", "14: G1 with the spindle stopped",
        "15: G2 with the spindle stopped", "21: G1 with the spindle stopped", "22: G1 with the spindle stopped"}},
      {"arc radii differ by 0.002", Edited(kClean, {{9, "G3 X20 Y20 I0 J10.001"}}), mm,
       {"9: G3 start radius 10.001 and end radius 9.999 differ"}},
      {"arc in the wrong direction", Edited(kClean, {{9, "G2 X20 Y20 I0 J10"}}), mm,
       {"9: G2 where G3 is expected"}},
      {"quarter arc where 270 degrees are expected", Edited(kClean, {{15, "G2 X50 Y10 I10 J0"}}), mm,
       {"15: G2 sweeps 90.0 degrees, expected 270.0"}},
      {"arc where a line is expected", Edited(kClean, {{8, "G3 X20 I10 J0 F300"}}), mm,
       {"8: G3 where a straight cut is expected"}},
      {"contours in the wrong order", Edited(kClean, {}, contoursSwapped), mm,
       {"7: contour 2 cut before contour 1"}},
      {"a point of the contour skipped", Edited(kClean, {{10, "(G1 X0 dropped)"}, {11, "G1 X0 Y0"}}), mm,
       {"11: cut skips X0 Y20 H-1 of contour 1"}},
      {"a cut off the contour", Edited(kClean, {{10, "(G1 X0 dropped)"}}), mm,
       {"11: cut to X20 Y0 H-1 out of order, expected X0 Y20 H-1", "13: contour 1 left after 2 of 4 points"}},
      {"contour started in its middle", Edited(kClean, {{6, "G0 X20 Y0"}}), mm,
       {"7: contour 1 starts at X20 Y0, expected X0 Y0"}},
      {"arc centre in inch, end point in mm", Edited(kClean, {{9, "G3 X20 Y20 I0 J0.3937"}}), mm,
       {"9: G3 centre I/J in another unit than X/Y"}},
      {"arc centre in mm, end point in inch", Edited(kCleanInch, {{8, "G3 X1 Y1 I0 J12.7"}}), kInchDescription,
       {"8: G3 centre I/J in another unit than X/Y"}},
      {"arc centre absolute for a control reading it incremental", Edited(kClean, {{15, "G2 X50 Y10 I40 J10"}}),
       mm, {"15: G2 start radius 41.2311 and end radius 30 differ"}},
      {"arc centre incremental for a control reading it absolute", Join(kClean), Description(true, "absolute"),
       {"9: G3 sweeps 53.1 degrees, expected 180.0", "15: G2 start radius 41.2311 and end radius 50 differ"}},
      {"inch units in a mm program", Edited(kClean, {{25, "G20 M30"}}), mm,
       {"25: G20 (inch) in a program in mm"}},
      {"spindle stopped before the retract", Edited(kClean, {{23, "M5"}, {24, "G0 Z10"}}), mm,
       {"23: spindle stopped in the work at height -1"}},
      {"spindle speed 0 before the retract", Edited(kClean, {{23, "S0\r\nG0 Z10"}}), mm,
       {"23: spindle stopped in the work at height -1"}},
      {"no retract before the program end", Edited(kClean, {{23, "(no retract)"}}), mm,
       {"24: spindle stopped in the work at height -1", "25: program ends at height -1 below the clearance 3 of tool 2"}},
      {"G53 to a machine Z other than home", Edited(kClean, {{23, "G0 G53 Z-50"}}), mm,
       {"24: spindle stopped in the work at height -1", "25: program ends at height -1 below the clearance 3 of tool 2"}},
      {"no retract and no program end word", Edited(kClean, {{23, "(no retract)"}, {24, "(no M5)"}, {25, "(no M30)"}}),
       mm, {"25: program ends at height -1 below the clearance 3 of tool 2"}},
      {"rapid outside the work area", Edited(kClean, {{23, "G0 Z10\r\nG0 X-10000 Y-10000"}}), WithArea(mm),
       {"24: G0 to X-10000 Y-10000 outside the work area"}},
      {"a comment inside a comment", Edited(kClean, {{1, "(Export \"Eckelmann (ME)\")"}}),
       WithComments(mm, "parentheses"), {"1: comment nests \"(\" inside a comment"}},
      {"a comment left open", Edited(kClean, {{1, "(Export \"MAHO\"  11.12.26"}}), WithComments(mm, "parentheses"),
       {"1: comment left open at the end of the line"}},
      {"a parenthesis closing no comment", Edited(kClean, {{3, "T1 M6 (Fraeser R1) D3)"}}),
       WithComments(mm, "parentheses"), {"3: \")\" outside a comment"}},
      {"planar program skipping a point", Edited(kPlanar, {{4, "(G1 X0 dropped)"}, {5, "G1 X0 Y0"}}),
       kPlanarDescription, {"5: cut skips X0 Y20 H-1 of contour 1"}},
  };
  for (const TFaultCase& c : cases) {
    const TCheckRun run = RunCheck(c.program, c.description);
    EXPECT_EQ(run.exitCode, 1) << c.name;
    EXPECT_EQ(run.faults, c.faults) << c.name;
  }
}

TEST(NcStrictCheck, ArcRadiiWithinATousandthPass) {
  const TCheckRun run = RunCheck(Edited(kClean, {{9, "G3 X20 Y20 I0 J10.0004"}}), Description(true));
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.faults, std::vector<std::string>{});
}

TEST(NcStrictCheck, UnreadableInputEndsWithCode2) {
  EXPECT_EQ(RunCheck(Join(kClean), "{\"unit\":").exitCode, 2);
  EXPECT_EQ(RunCheck(Join(kClean), R"({"unit":"cm","surfaceZ":0,"zSign":1,"clearance":{"1":5},)"
                                   R"("spindle":{"switched":true},"contours":[]})")
                .exitCode,
            2);
  EXPECT_EQ(RunCheck(Join(kClean), R"({"unit":"mm","surfaceZ":0,"zSign":1,"clearance":{"1":5},)"
                                   R"("spindle":{"switched":true},"contours":[{"start":[0,0]}]})")
                .exitCode,
            2);
  EXPECT_EQ(RunCheck(Join(kClean), "{\"feed\":\"hand\"," + Description(true).substr(1)).exitCode, 2);
}

// --- the goldens against the fixture job ----------------------------------------

// The description of the fixture job for a dialect, with its arc centres
// read the given way.
std::string FixtureDescription(int dialect, ncdialects::TArcCentres arcCentres) {
  ncdialects::TGcodeDialect row = ncdialects::kDialects[dialect];
  row.arcCentres = arcCentres;
  return ncstrict::BuildStrictDescription(ncfixture::BuildJob(), row, false);
}

// Today's findings in the reviewed goldens: a test that fails when one
// disappears or a new one comes. Dialects 0 and 58 (arc format 2) write
// incremental arc centres; the generic dialect writes absolute ones without
// a G90.1, so a control reading by the standard sees wrong radii.
TEST(NcStrictCheck, GoldensGiveTodaysFindings) {
  // The fixture's second arc, clockwise from (60, 10) to (70, 20) around
  // (60, 20), sweeps 270 degrees.
  EXPECT_NE(FixtureDescription(0, ncdialects::kArcIncremental).find(R"("dir":"cw","sweep":270})"),
            std::string::npos)
      << FixtureDescription(0, ncdialects::kArcIncremental);
  struct TGoldenCase {
    int dialect;
    ncdialects::TArcCentres arcCentres;
    std::vector<std::string> faults;
  };
  const std::vector<TGoldenCase> cases = {
      // Dialects 0 and 58 now pass; 100 read with the wrong arc centres fails.
      {0, ncdialects::kArcIncremental, {}},
      {58, ncdialects::kArcIncremental, {}},
      {100, ncdialects::kArcIncremental,
       {"9: G3 start radius 42.4264 and end radius 31.6228 differ",
        "16: G2 start radius 63.2456 and end radius 50.9902 differ"}},
      {100, ncdialects::kArcAbsolute, {}},
  };
  for (const TGoldenCase& c : cases) {
    const fs::path golden = fs::path(TORV_FIXTURES_DIR) / "nc" / ("dialect_" + std::to_string(c.dialect) + ".nc");
    const TCheckRun run = RunCheck(torvtest::ReadFile(golden), FixtureDescription(c.dialect, c.arcCentres));
    EXPECT_EQ(run.exitCode, c.faults.empty() ? 0 : 1) << "dialect " << c.dialect;
    EXPECT_EQ(run.faults, c.faults) << "dialect " << c.dialect << " " << c.arcCentres;
  }
}

// The dialect list is indexed by dialect number; an excluded dialect names
// its language, a G-code one has a Z direction.
TEST(NcStrictCheck, DialectListRowsStandAtTheirNumbers) {
  for (int d = 0; d <= 100; ++d) {
    const ncdialects::TGcodeDialect& row = ncdialects::kDialects[d];
    EXPECT_EQ(row.dialect, d);
    if (!row.gcode) {
      EXPECT_EQ(row.arcCentres, ncdialects::kArcNone) << d;
      EXPECT_NE(std::string(row.note), "") << d;
    } else {
      EXPECT_NE(row.arcCentres, ncdialects::kArcNone) << d;
      EXPECT_TRUE(row.zSign == 1 || row.zSign == -1) << d;
    }
  }
  // The goldens' dialects as the golden check above reads them.
  EXPECT_EQ(ncdialects::kDialects[0].arcCentres, ncdialects::kArcIncremental);
  EXPECT_EQ(ncdialects::kDialects[58].arcCentres, ncdialects::kArcIncremental);
  EXPECT_EQ(ncdialects::kDialects[100].arcCentres, ncdialects::kArcAbsolute);
}

}  // namespace
