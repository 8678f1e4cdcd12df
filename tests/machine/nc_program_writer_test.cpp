// The NC program writer: the record handling that the golden programs do
// not show (tool life, feeds, markers, fixture shifts, numbering, rotary
// axis, tool changer bits), the approach and arc rules, the Esc abort and a
// failed write, and the caller's job file staying untouched by pre-passes.
#include "machine/nc_program_writer.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <limits>
#include <fstream>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "fixtures/nc/nc_job_fixture.h"
#include "frame/param_file.h"
#include "machine/nc_approach.h"
#include "machine/nc_arcs.h"
#include "machine/nc_export_commands.h"
#include "machine/nc_settings.h"
#include "machine/nc_test_support.h"
#include "tests/ui/ui_screen.h"

namespace {

namespace fs = std::filesystem;
using ncfixture::Rec;

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(NcWriterRecords, FixtureShiftOfDialect25) {
  struct TCase {
    int station;
    float dx, dy;
  };
  const TCase cases[] = {{1000, 0, 0}, {1001, 0, 0},    {1002, 0, 32},   {1004, 0, 64}, {1005, 0, 0},
                         {1016, 0, 128}, {1032, 32, 128}, {1256, 128, 128}, {1512, 0, 0}, {999, 0, 0}};
  for (const TCase& c : cases) {
    auto st = nctest::MakeState(25);
    st->ToolStation = c.station;
    float x = 10.0f, y = 20.0f;
    ApplyFixtureOffset(*st, x, y);
    EXPECT_EQ(x, 10.0f + c.dx) << c.station;
    EXPECT_EQ(y, 20.0f + c.dy) << c.station;
  }
  auto other = nctest::MakeState(0);
  other->ToolStation = 1002;
  float x = 1.0f, y = 1.0f;
  ApplyFixtureOffset(*other, x, y);
  EXPECT_EQ(y, 1.0f);
}

TEST(NcWriterRecords, ToolHeaderValues) {
  auto st = nctest::MakeState(0);
  TNcLoopState loop;
  struct TCase {
    float life;
    double expected;
  };
  for (const TCase c : {TCase{1.0f, 1000000000.0}, TCase{1.5f, 1.5}, TCase{0.0f, 1000000000.0},
                        TCase{250.0f, 250.0}}) {
    HandleNcRecord(*st, loop, Rec(157, 9000.0f, c.life, 4.6f));
    EXPECT_EQ(st->ToolLife, c.expected) << c.life;
  }
  EXPECT_EQ(st->ToolStation, 5);
  EXPECT_EQ(st->SpindleSpeed, 9000.0f);
  HandleNcRecord(*st, loop, Rec(155, 0, 0, 0.7f));
  EXPECT_EQ(st->FeedZ, 0.7f);
  HandleNcRecord(*st, loop, Rec(155, 0, 0, -2.0f));  // a negative Z feed is not taken
  EXPECT_EQ(st->FeedZ, 0.7f);
  HandleNcRecord(*st, loop, Rec(156, 1.1f, 2.5f, 4.0f));
  EXPECT_EQ(st->FeedXY, 1.1f);
  EXPECT_EQ(st->CutDepth, 2.5f);
  EXPECT_EQ(st->ClearanceHeight, 4.0f);
  HandleNcRecord(*st, loop, ncfixture::NameRecord(152, "ABCDEFGHIJ"));
  HandleNcRecord(*st, loop, ncfixture::NameRecord(153, "KLM"));
  EXPECT_EQ(st->FirstToolName, "ABCDEFGHIJKLM");
}

TEST(NcWriterRecords, MarkersCancelTheApproachOrInsertFiles) {
  uitest::TScreen screen;
  std::ofstream(screen.Dir() / "ErgaenzStart.TXT") << "(START)\r\n";
  auto st = nctest::MakeState(0);
  TNcLoopState loop;
  st->NeedApproach = 1;
  HandleNcRecord(*st, loop, Rec(128, -1.0f, 1.0f, 0));  // cancels, never inserts
  EXPECT_EQ(st->NeedApproach, 0);
  EXPECT_EQ(nctest::Buffered(*st), "");
  st->NeedApproach = 1;
  HandleNcRecord(*st, loop, Rec(128, 999.0f, 2.0f, 0));
  EXPECT_EQ(st->NeedApproach, 0);
  HandleNcRecord(*st, loop, Rec(128, 3.0f, 1.0f, 0));
  EXPECT_EQ(nctest::Buffered(*st), "(START)\r\n");
}

TEST(NcWriterRecords, Dialect78InsertsTheCycleAtAPointContour) {
  uitest::TScreen screen;
  std::ofstream(screen.Dir() / "Zyklus.PGM") << "CYCL DEF 200\r\n";
  auto st = nctest::MakeState(78);
  TNcLoopState loop;
  HandleNcRecord(*st, loop, Rec(156, 1.0f, 2.0f, 5.0f));
  HandleNcRecord(*st, loop, Rec(11, 10.0f, 20.0f, 0));
  HandleNcRecord(*st, loop, Rec(10, 10.0f, 20.0f, 0));  // on its start: a point
  std::string text = nctest::Buffered(*st);
  EXPECT_NE(text.find("CYCL DEF 200"), std::string::npos) << text;
  const size_t cycles = text.size();
  HandleNcRecord(*st, loop, Rec(11, 30.0f, 20.0f, 0));
  HandleNcRecord(*st, loop, Rec(10, 40.0f, 20.0f, 0));  // a real line: no cycle
  text = nctest::Buffered(*st);
  EXPECT_EQ(text.find("CYCL DEF 200", cycles), std::string::npos) << text;
  EXPECT_NE(text.find("X40", cycles), std::string::npos) << text;
}

TEST(NcWriterState, NumberingRotaryAndAngleFactors) {
  struct TCase {
    int dialect;
    int16_t numbering;
    int16_t expected;
  };
  for (const TCase c : {TCase{44, 1, 0}, TCase{44, 3, 0}, TCase{11, 0, 1}, TCase{12, 0, 1}, TCase{14, 0, 1},
                        TCase{14, 2, 2}, TCase{0, 0, 0}}) {
    auto st = nctest::MakeState(c.dialect, c.numbering);
    InitNcWriterState(*st);
    EXPECT_EQ(int(st->Machine.BlockNumbering), c.expected) << c.dialect;
  }
  for (const float d : {0.001f, -0.001f, 0.0f}) {
    auto st = nctest::MakeState(0);
    st->Machine.RotaryDiameter = d;
    InitNcWriterState(*st);
    EXPECT_EQ(st->RotaryActive, 0) << d;
    EXPECT_EQ(st->RotaryOn, 0) << d;
    EXPECT_EQ(st->RotaryFactor, 1.0f) << d;
  }
  auto rotary = nctest::MakeState(0);
  rotary->Machine.RotaryDiameter = 0.0011f;
  InitNcWriterState(*rotary);
  EXPECT_EQ(rotary->RotaryActive, 1);
  auto dia = nctest::MakeState(0);
  dia->Machine.RotaryDiameter = 40.0f;
  InitNcWriterState(*dia);
  EXPECT_NEAR(dia->RotaryFactor, 360.0 / (std::numbers::pi * 40.0), 1e-5);
  auto lathe = nctest::MakeState(74);
  lathe->Machine.RotaryDiameter = 40.0f;
  InitNcWriterState(*lathe);
  EXPECT_EQ(lathe->RotaryActive, 0);
  EXPECT_EQ(lathe->RotaryOn, 1);
  // Dialect 39: A 1.0, B byte 9, C byte 13.
  auto angles = nctest::MakeState(39);
  angles->Machine.DialectRecords[39].SignB = 0.5f;
  angles->Machine.DialectRecords[39].SignC = -1.0f;
  InitNcWriterState(*angles);
  EXPECT_EQ(angles->AngleFactorA, 1.0f);
  EXPECT_EQ(angles->AngleFactorB, 0.5f);
  EXPECT_EQ(angles->AngleFactorC, -1.0f);
}

TEST(NcWriterState, ToolChangerBits) {
  EXPECT_EQ(ToolChangerBitsOf(1.0, 0.0), 0x10);
  EXPECT_EQ(ToolChangerBitsOf(2.0, 0.0), 0x11);
  EXPECT_EQ(ToolChangerBitsOf(3.0, 1.0), 0x06);
  EXPECT_EQ(ToolChangerBitsOf(2.0, 1.0), 0x15);
  EXPECT_EQ(ToolChangerBitsOf(7.0, 0.5), 0x10);
  struct TCase {
    int dialect;
    float diameter;
    int16_t stored;
    uint8_t bits;
    uint8_t incremental;
  };
  const TCase cases[] = {{32, 40.0f, 0x11, 0x21, 1}, {32, 0.0f, 0x15, 0x15, 0}, {32, 40.0f, 0x02, 0x02, 1},
                         {32, 0.0f, 0x26, 0x16, 0}, {0, 40.0f, 0x11, 0x11, 0}};
  for (const TCase& c : cases) {
    auto st = nctest::MakeState(c.dialect);
    st->Machine.RotaryDiameter = c.diameter;
    st->Machine.MazakToolFormat = c.stored;
    InitNcWriterState(*st);
    SetUpToolChangerBits(*st);
    EXPECT_EQ(st->ToolChangerBits, c.bits) << c.dialect << " " << c.stored;
    EXPECT_EQ(st->RotaryIncremental, c.incremental) << c.dialect;
  }
}

TEST(NcApproach, ClearanceForms) {
  struct TCase {
    int dialect;
    const char* text;
  };
  const TCase cases[] = {{0, "G0 Z5\r\n"}, {87, " D+05\r\n"}, {38, ""}, {93, ""}};
  for (const TCase& c : cases) {
    auto st = nctest::MakeState(c.dialect);
    st->ClearanceHeight = 5.0f;
    st->ToolStation = st->LastToolStation = 5;
    st->LastPos.z = 2.0f;
    WriteClearanceMove(*st);
    const std::string text = nctest::Buffered(*st);
    if (std::string(c.text).empty()) EXPECT_EQ(text, "") << c.dialect;
    else EXPECT_NE(text.find(c.text), std::string::npos) << c.dialect << ": " << text;
    EXPECT_EQ(float(st->LastPos.z), -5.0f) << c.dialect;  // counted at the clearance level
    EXPECT_EQ(float(st->TargetPos.z), -5.0f) << c.dialect;
  }
}

TEST(NcApproach, SecondStartWritesNoClearanceButPositionsAgain) {
  auto st = nctest::MakeState(0);
  st->ClearanceHeight = 5.0f;
  st->CutDepth = 2.0f;
  st->LastPos = {0, 0.0f, 0.0f, -5.0f};
  st->TargetPos = {11, 10.0f, 20.0f, -5.0f};
  st->NeedApproach = 1;
  WriteApproachMove(*st, -5.0f);  // not below the clearance level: no plunge
  const std::string text = nctest::Buffered(*st);
  EXPECT_EQ(text.find("Z5"), std::string::npos) << text;
  EXPECT_NE(text.find("X10 Y20"), std::string::npos) << text;
  EXPECT_EQ(text.find("G1"), std::string::npos) << text;
  EXPECT_EQ(st->NeedApproach, 0);
}

TEST(NcApproach, Dialect25AlternatesM12AndM22) {
  auto st = nctest::MakeState(25);
  st->ClearanceHeight = 5.0f;
  st->LastPos = {0, 0.0f, 0.0f, 0.0f};
  st->TargetPos = {11, 10.0f, 20.0f, 0.0f};
  st->ToolStation = st->LastToolStation = 3;
  st->NeedApproach = 1;
  WriteApproachMove(*st, 2.0f);
  EXPECT_EQ(st->ApproachCodeWritten, 1);
  st->TargetPos = {11, 30.0f, 20.0f, 0.0f};
  st->NeedApproach = 1;
  WriteApproachMove(*st, 2.0f);
  const std::string text = nctest::Buffered(*st);
  const size_t m12 = text.find("M12"), m22 = text.find("M22"), second = text.find("M12", m12 + 1);
  ASSERT_NE(m12, std::string::npos) << text;
  ASSERT_NE(m22, std::string::npos) << text;
  ASSERT_NE(second, std::string::npos) << text;
  EXPECT_LT(m12, m22);
  EXPECT_LT(m22, second);
  // A fixture station never writes M12.
  auto fixture = nctest::MakeState(25);
  fixture->ClearanceHeight = 5.0f;
  fixture->TargetPos = {11, 10.0f, 20.0f, 0.0f};
  fixture->ToolStation = fixture->LastToolStation = 1002;
  fixture->NeedApproach = 1;
  WriteApproachMove(*fixture, 2.0f);
  EXPECT_EQ(nctest::Buffered(*fixture).find("M12"), std::string::npos);
}

TEST(NcArcs, CentreWordsAndLength) {
  struct TCase {
    int dialect;
    uint8_t arcFormat;
    const char* text;
  };
  // From (10, 0) around (0, 0) clockwise to (0, -10).
  const TCase cases[] = {
      {0, 2, "G2 X0 Y-10 I-10.0000 J0.0000"},  // incremental, after the end words
      {0, 1, "G2 I0.0000 J0.0000 X0 Y-10"},    // absolute, before the end words
      {40, 2, "G2 I0.0000 J0.0000 X0 Y-10"},   // absolute
      {20, 2, "G2 I-10 J0 X0 Y-10"},           // incremental, 3 decimals at most
      {1, 2, "G02 I0 J0 X0 Y-10"},
  };
  for (const TCase& c : cases) {
    auto st = nctest::MakeState(c.dialect);
    st->Machine.ArcFormat = c.arcFormat;
    st->LastPos = {10, 10.0f, 0.0f, 2.0f};
    st->LastFeed = 1.0f;
    TVectorRecord end{10, 0.0f, -10.0f, 0.0f};
    WriteNcArc(*st, Rec(19, 0, 0, 0), end, 1.0f);
    std::string text = nctest::Buffered(*st);
    const size_t n = text.find(' ');
    if (text.rfind("N", 0) == 0 && n != std::string::npos) text = text.substr(n + 1);
    EXPECT_EQ(text.substr(0, text.find_first_of("\r *")), std::string(c.text).substr(0, std::string(c.text).find(' ')))
        << c.dialect;
    EXPECT_NE(text.find(c.text), std::string::npos) << c.dialect << ": " << text;
    EXPECT_NEAR(st->PathLength, 0.5 * std::numbers::pi * 10.0, 1e-3) << c.dialect;  // a quarter
    EXPECT_EQ(float(st->LastPos.y), -10.0f);
  }
  // Only exactly 0 is clockwise; an arc back to its start is a full circle.
  auto st = nctest::MakeState(0);
  st->LastPos = {10, 10.0f, 0.0f, 2.0f};
  TVectorRecord end{10, 10.0f, 0.0f, 0.0f};
  WriteNcArc(*st, Rec(19, 0, 0, 0.5f), end, 1.0f);
  EXPECT_EQ(nctest::Buffered(*st).rfind("G3", 0), 0u) << nctest::Buffered(*st);
  EXPECT_NEAR(st->PathLength, 2.0 * std::numbers::pi * 10.0, 1e-3);
  EXPECT_NEAR(ComputeArcLength(Rec(19, 0, 0, 0), 10, 0, end, false), 2.0 * std::numbers::pi * 10.0, 1e-3);
}

TEST(NcArcs, ConversationalFormAndEndRounding) {
  auto st = nctest::MakeState(22);
  st->LastPos = {10, 10.0f, 0.0f, 2.0f};
  st->LastFeed = 1.0f;
  TVectorRecord end{10, 0.00049f, 10.0f, 0.0f};
  WriteNcArc(*st, Rec(19, 0, 0, 1.0f), end, 1.0f);
  EXPECT_EQ(float(end.x), 0.0f);  // rounded to 0.001 and stored back
  const std::string text = nctest::Buffered(*st);
  EXPECT_NE(text.find("CC X0 Y0"), std::string::npos) << text;
  EXPECT_NE(text.find("DR+ R F M"), std::string::npos) << text;  // unchanged feed
}

// A whole run through WriteNcProgram in a fresh program folder.
class NcWriterRun : public ::testing::Test {
 protected:
  void SetUp() override {
    delete ParamImage;
    ParamImage = new TParameterImage{};
    settings_ = std::make_unique<TNcSettings>();
    MakeNcSettingsDefaults(*settings_, "C:\\");
    StoreNcSettings(*settings_);
  }
  void TearDown() override { ErrorCode = 0; }
  std::string Job() const { return plat::DosPathOf((screen_.Dir() / "JOB.TMP").string()); }
  std::string Out() const { return plat::DosPathOf((screen_.Dir() / "OUT.NC").string()); }
  // A job of one tool and n line points.
  void WriteLongJob(int n) {
    ncfixture::TJob job;
    ncfixture::AddTool(job, 1.0f, "T", 0.5f, 1.0f, 1.0f, 5.0f, 10000.0f, 0.0f, 1.0f);
    job.records.push_back(Rec(11, 0, 0, 0));
    for (int i = 1; i <= n; ++i) job.records.push_back(Rec(10, float(i), float(i % 2), 0));
    ncfixture::WriteJob((screen_.Dir() / "JOB.TMP").string(), job.records);
  }
  uitest::TScreen screen_;
  std::unique_ptr<TNcSettings> settings_;
};

TEST_F(NcWriterRun, EscStopsTheRunAndTheProgramStillEnds) {
  WriteLongJob(12000);
  PushKeyCode(27);
  screen_.UseScript("key Enter\nwait 10\nkey y\n");  // the notice, then "stop?" yes
  WriteNcProgram(Job(), Out(), "OUT", 0, 0);
  const std::string text = ReadAll(screen_.Dir() / "OUT.NC");
  EXPECT_NE(text.find("X4990 "), std::string::npos);
  EXPECT_EQ(text.find("X5100 "), std::string::npos);  // the second block was not read
  EXPECT_NE(text.find("M30"), std::string::npos) << "the program end is missing";
}

TEST_F(NcWriterRun, AFailedWriteIsReportedAndWritesNoEnd) {
  WriteLongJob(6000);
  screen_.UseScript("key Enter\n");  // the error box
  // The output file may not grow beyond 20000 bytes: the writes behind fail.
  struct rlimit old {};
  getrlimit(RLIMIT_FSIZE, &old);
  void (*previous)(int) = signal(SIGXFSZ, SIG_IGN);
  struct rlimit limit = old;
  limit.rlim_cur = 20000;
  setrlimit(RLIMIT_FSIZE, &limit);
  WriteNcProgram(Job(), Out(), "OUT", 0, 0);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, previous);
  const std::string text = ReadAll(screen_.Dir() / "OUT.NC");
  EXPECT_LE(text.size(), 20000u);
  EXPECT_EQ(text.find("M30"), std::string::npos);
  EXPECT_NE(screen_.ReadFile("transcript.txt").find("msgbox|Error|" + MessageNumberText(8).substr(0, 10)), std::string::npos)
      << screen_.ReadFile("transcript.txt");
}

TEST_F(NcWriterRun, AfterAFailedWriteNothingMoreIsWritten) {
  auto st = nctest::MakeState(0);
  st->WriteFailed = 1;
  screen_.UseScript("key Enter\n");
  FinishNcProgram(*st);
  EXPECT_EQ(st->OutCount, 0);
  EXPECT_NE(screen_.ReadFile("transcript.txt").find("msgbox|Error|" + MessageNumberText(8).substr(0, 10)), std::string::npos);
}

TEST_F(NcWriterRun, AnOutputThatCannotBeCreatedWritesNothing) {
  WriteLongJob(10);
  screen_.UseScript("key Enter\nkey Enter\n");
  const std::string out = plat::DosPathOf((screen_.Dir() / "missing" / "OUT.NC").string());
  WriteNcProgram(Job(), out, "OUT", 0, 0);
  EXPECT_NE(ErrorCode, 0);
  EXPECT_FALSE(fs::exists(screen_.Dir() / "missing" / "OUT.NC"));
  EXPECT_EQ(fs::file_size(screen_.Dir() / "VekAR3.TMP"), 0u);
}

TEST_F(NcWriterRun, PrePassesLeaveTheCallersJobAlone) {
  ncfixture::TJob job = ncfixture::BuildJob();
  job.records.push_back(Rec(10, 1.00049f, 2.0f, 0));  // off the 0.001 grid
  ncfixture::WriteJob((screen_.Dir() / "JOB.TMP").string(), job.records);
  const std::string before = ReadAll(screen_.Dir() / "JOB.TMP");
  // Arc fitting on (a tolerance in block 0) snaps a copy, never the job.
  uint8_t block0[153] = {};
  const float tolerance = 0.01f;
  std::memcpy(block0 + 27, &tolerance, sizeof tolerance);
  PutParamBlock(0, block0, sizeof block0);
  WriteNcProgram(Job(), Out(), "OUT", 100, 0);
  EXPECT_EQ(ReadAll(screen_.Dir() / "JOB.TMP"), before);
  EXPECT_NE(ReadAll(screen_.Dir() / "OUT.NC").find("G1 X1 Y2"), std::string::npos);
  // Dialect 55 with the rotary preparation adds records to a copy only.
  settings_->RotaryDiameter = 40.0f;
  settings_->Dialect55Mode = 1;
  StoreNcSettings(*settings_);
  WriteNcProgram(Job(), Out(), "OUT", 55, 0);
  EXPECT_EQ(ReadAll(screen_.Dir() / "JOB.TMP"), before);
  // The scratch copies are emptied at the end.
  EXPECT_EQ(fs::file_size(screen_.Dir() / "VekAR2.TMP"), 0u);
  EXPECT_EQ(fs::file_size(screen_.Dir() / "VekAR3.TMP"), 0u);
}

// Garbage in a job (unknown types, huge and non-finite values, arcs without
// an end, a zero-radius arc) never stops a run of any dialect.
TEST_F(NcWriterRun, EveryDialectSurvivesAGarbageJob) {
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  const float values[] = {0.0f, 1.5f, -3.0f, 1e30f, -1e30f, nan, inf, 1000.0f, 0.0005f};
  const uint8_t types[] = {10, 11, 12, 19, 27, 128, 130, 131, 132, 134, 150, 152, 153, 155, 156, 157, 200, 1};
  std::vector<TVectorRecord> records;
  uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
  for (int i = 0; i < 400; ++i)
    records.push_back(Rec(types[next() % std::size(types)], values[next() % std::size(values)],
                          values[next() % std::size(values)], values[next() % std::size(values)]));
  records.push_back(Rec(19, 5.0f, 5.0f, 1.0f));
  records.push_back(Rec(10, 5.0f, 5.0f, 0.0f));  // an arc of radius 0
  records.push_back(Rec(19, 1.0f, 1.0f, 0.0f));  // an arc that never ends
  ncfixture::WriteJob((screen_.Dir() / "JOB.TMP").string(), records);
  for (int d = 0; d <= 100; ++d) {
    screen_.UseScript(d == 12 || d == 31 ? "key n\n" : d == 35 ? "key Esc\n" : "");
    WriteNcProgram(Job(), Out(), "OUT", static_cast<uint8_t>(d), 1);
    EXPECT_GT(fs::file_size(screen_.Dir() / "OUT.NC"), 0u) << d;
    ErrorCode = 0;
  }
}

}  // namespace
