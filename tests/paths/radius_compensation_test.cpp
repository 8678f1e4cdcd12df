// The radius compensation driver: its retries, its reports and its geometry.
#include "paths/radius_compensation.h"

#include <algorithm>
#include <cmath>

#include "frame/param_file.h"
#include "model/layer_files.h"
#include "model/vector_store.h"
#include "paths/offset_tolerances.h"
#include "platform/backend.h"
#include "view/graphic_window.h"
#include "paths_test_support.h"

namespace {

using pathstest::PathsTest;
using pathstest::Rec;

// --- stages that record what the driver asks --------------------------------------------
struct TStageLog {
  std::vector<float> tolerances, modes, stepFactors;  // reduction
  std::vector<float> distances, roundings, limits;    // offset
  std::vector<std::vector<float>> joinWidths;         // per offset run, the widths of its joins
  int reducedRecords = 5;                              // records the reduction leaves
  int engineCode = 0;                                  // code the offset sets
  int joinFailures = 1000;                             // joins that end with 102 before one succeeds
};
TStageLog Log;

void RecordReduce(const std::string&, const std::string& target, int16_t, float tolerance, float mode, float step,
                  float) {
  Log.tolerances.push_back(tolerance);
  Log.modes.push_back(mode);
  Log.stepFactors.push_back(step);
  std::vector<TVectorRecord> records(size_t(Log.reducedRecords), Rec(10, 1, 1));
  if (!records.empty()) records[0].type = 11;
  WriteVectorRecords(target, records.data(), records.size(), false);
}

void RecordOffset(const std::string&, uint8_t, float d, float rounding, float limit) {
  Log.distances.push_back(d);
  Log.roundings.push_back(rounding);
  Log.limits.push_back(limit);
  Log.joinWidths.emplace_back();
  if (Log.engineCode != 0) ErrorCode = Log.engineCode;
}

void RecordJoin(const std::string&, const std::string& target, uint8_t, float, float b, uint8_t, int16_t) {
  Log.joinWidths.back().push_back(b);
  if (Log.joinFailures > 0) {
    --Log.joinFailures;
    ErrorCode = 102;
    return;
  }
  const TVectorRecord path[5] = {Rec(11, 0, 0), Rec(10, 0, 1), Rec(10, 1, 1), Rec(10, 1, 0), Rec(10, 0, 0)};
  WriteVectorRecords(target, path, 5, false);
}

class CompensationTest : public PathsTest {
 protected:
  void SetUp() override {
    PathsTest::SetUp();
    Log = TStageLog{};
  }
  void TearDown() override {
    ResetCompensationStages();
    PathsTest::TearDown();
  }
  void UseRecordingStages() { CompensationStages = {RecordReduce, RecordOffset, RecordJoin}; }
  void WriteSquare(const std::string& name, float x, float y, float size, bool counterClockwise = true) {
    std::vector<TVectorRecord> r = {Rec(11, x, y), Rec(10, x + size, y), Rec(10, x + size, y + size),
                                    Rec(10, x, y + size), Rec(10, x, y)};
    if (!counterClockwise) std::reverse(r.begin() + 1, r.end() - 1);
    WriteVectors(name, r);
  }
};

std::vector<float> Degrees(const std::vector<float>& radians) {
  std::vector<float> out;
  for (float r : radians) out.push_back(std::round(r * 180.0f / 3.14159265f * 1000.0f) / 1000.0f);
  return out;
}

// Shortest distance of (x, y) to the boundary of the axis-parallel square.
double DistanceToSquare(double x, double y, double x0, double y0, double size) {
  const double dx = std::max({x0 - x, 0.0, x - (x0 + size)});
  const double dy = std::max({y0 - y, 0.0, y - (y0 + size)});
  if (dx > 0 || dy > 0) return std::hypot(dx, dy);
  return std::min({x - x0, x0 + size - x, y - y0, y0 + size - y});
}

TEST_F(CompensationTest, RetriesFollowTheTable) {
  const float W = 1.5f;
  const float p0 = ComputeBasicTolerance(W);
  const struct {
    const char* what;
    float rounding;
    int joinFailures;
    int engineCode;
    int reduced;
    int32_t code;
    std::vector<float> roundings;  // degrees of each offset run
    std::vector<float> distances;  // computing distance of each run
    std::vector<size_t> joins;     // joins of each run
  } cases[] = {
      {"three failed assemblies from 160", 160, 1000, 0, 5, 103, {160, 45, 44}, {p0, 1.1f * p0, 1.001f * W}, {6, 6, 2}},
      {"three failed assemblies from 20", 20, 1000, 0, 5, 103, {20, 19, 18}, {p0, 1.1f * p0, 1.001f * W}, {6, 6, 2}},
      {"joined after two widenings", 160, 2, 0, 5, 0, {160}, {p0}, {3}},
      {"second run joins", 160, 7, 0, 5, 0, {160, 45}, {p0, 1.1f * p0}, {6, 2}},
      {"engine code 2 stops at once", 160, 1000, 2, 5, 2, {160}, {p0}, {0}},
      {"engine code 14 stops at once", 160, 1000, 14, 5, 14, {160}, {p0}, {0}},
      {"three records after reduction", 160, 0, 0, 3, 100, {}, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Log = TStageLog{};
    Log.joinFailures = c.joinFailures;
    Log.engineCode = c.engineCode;
    Log.reducedRecords = c.reduced;
    UseRecordingStages();
    TCompensationSettings settings;
    ReadCompensationSettings(settings);
    settings.roundingAngle = c.rounding;
    settings.reductionMode = 3;
    settings.sideFlag = 1;
    ErrorCode = 0;
    CompensateRadiusWithRetry("IN.TMP", "OUT.TMP", 8, settings, W, W);
    EXPECT_EQ(ErrorCode, c.code);
    EXPECT_EQ(Degrees(Log.roundings), c.roundings);
    ASSERT_EQ(Log.distances.size(), c.distances.size());
    for (size_t i = 0; i < c.distances.size(); ++i) EXPECT_FLOAT_EQ(Log.distances[i], c.distances[i]) << i;
    for (float limit : Log.limits) EXPECT_FLOAT_EQ(limit, 3.1415927f);
    ASSERT_EQ(Log.joinWidths.size(), c.joins.size());
    for (size_t i = 0; i < c.joins.size(); ++i) EXPECT_EQ(Log.joinWidths[i].size(), c.joins[i]) << "run " << i;
    // The reduction coarsens 0.001, 0.002, 0.004 and gets the mode negated.
    const std::vector<float> tolerances = {0.001f, 0.002f, 0.004f};
    for (size_t i = 0; i < Log.tolerances.size(); ++i) {
      EXPECT_FLOAT_EQ(Log.tolerances[i], tolerances[i]);
      EXPECT_EQ(Log.modes[i], -3.0f);
    }
    EXPECT_EQ(settings.roundingAngle, c.roundings.empty() ? c.rounding : c.roundings.back()) << "the copy keeps it";
  }
}

TEST_F(CompensationTest, WideningStepsByTheHundredthAndStopsBelowTheComputingDistance) {
  UseRecordingStages();
  Log.joinWidths.emplace_back();
  // p - W = 0.075: steps of 0.01, five widenings, then 103.
  AssembleOffsetPath("VekAR9", "OUT.TMP", 1, 1.575f, 1.5f, 13, false);
  EXPECT_EQ(ErrorCode, 103);
  const std::vector<float> expected = {1.5f, 1.51f, 1.52f, 1.53f, 1.54f, 1.55f};
  ASSERT_EQ(Log.joinWidths[0].size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(Log.joinWidths[0][i], expected[i], 1e-5);
  // A width that passes 0.999 p is capped there and leaves one more run.
  Log.joinWidths.assign(1, {});
  ErrorCode = 0;
  AssembleOffsetPath("VekAR9", "OUT.TMP", 1, 1.02f, 1.0f, 13, false);
  EXPECT_EQ(ErrorCode, 103);
  ASSERT_EQ(Log.joinWidths[0].size(), 3u);
  EXPECT_NEAR(Log.joinWidths[0][1], 1.01f, 1e-5);
  EXPECT_FLOAT_EQ(Log.joinWidths[0][2], 0.999f * 1.02f);
}

TEST_F(CompensationTest, CommandReportsEachCodeAndLeavesTheLayerAlone) {
  const std::string crossing = "Error|HRKORRD : \x9A" "berschneidung in Bahn(en)?";
  const std::string reduce = "\r\nReduzieren Sie die Datenmenge und/oder\r\nerh\x94hen Sie den Abrundungswinkel!";
  const struct {
    int engineCode;
    int reduced;
    std::string box;
  } cases[] = {
      {2, 5, "Error|HRKORRD : zuviele Vektoren pro Bahn"},
      {3, 5, "Error|HRKORRD : zuviele Konturen (>20000)"},
      {4, 5, "Error|HRKORRD : Disketten/Plattenfehler"},
      {6, 5, crossing},
      {7, 5, "TORV|HRKORRD : zuviele Kontrollvektoren!" + reduce},
      {8, 5, crossing},
      {9, 5, "Error|HRKORRD : Rechentiefe \x81" "berschritten"},
      {10, 5, "Error|HRKORRD :\r\nZu viele 3D-Vektoren aus einem Konturvektor!"},
      {11, 5, crossing},
      {12, 5, "TORV|HRKORRD Zu viele Punkte." + reduce},
      {13, 5, "Error|HRKORRD : Fehler in der Kontur!"},
      {14, 5, "Error|HRKORRD : Zu wenig Speicher!"},
      {0, 3, "Error|KONTBILD : keine Daten"},
      {0, 5, "Error|KONTBILD : Bahnerzeugung unm\x94glich"},
  };
  WriteSquare("VekAR1.TMP", 0, 0, 10);
  const std::vector<TVectorRecord> layerBefore = {Rec(11, 50, 50), Rec(10, 60, 60)};
  WriteLayer(layerBefore);
  size_t seen = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.engineCode);
    Log = TStageLog{};
    Log.engineCode = c.engineCode;
    Log.reducedRecords = c.reduced;
    UseRecordingStages();
    EXPECT_FALSE(CompensateIntoCurrentLayer(true, false, true, 1.0f));
    EXPECT_LE(Log.distances.size(), c.engineCode != 0 ? 1u : 3u) << "engine codes are not retried";
    const std::vector<std::string> lines = TranscriptLines();
    ASSERT_EQ(lines.size(), seen + 1);
    std::string text = lines.back().substr(7);
    text = text.substr(0, text.rfind('|'));
    for (size_t at; (at = text.find("\\n")) != std::string::npos;) text.replace(at, 2, "\r\n");
    EXPECT_EQ(plat::wnd::WinFromUtf8(text), plat::wnd::WinFromUtf8(plat::wnd::Utf8FromWin(c.box)));
    seen = lines.size();
    const std::vector<TVectorRecord> layer = ReadLayer();
    EXPECT_EQ(layer.size(), layerBefore.size()) << "the layer is unchanged";
    ErrorCode = 0;
  }
}

TEST_F(CompensationTest, SquareIsCompensatedOnEitherSideIntoTheLayer) {
  const struct {
    bool sameSide;
    bool keepInput;
  } cases[] = {{true, false}, {false, true}};
  std::vector<double> lows;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sameSide);
    WriteSquare("VekAR1.TMP", 0, 0, 10);
    WriteLayer({});
    ASSERT_TRUE(CompensateIntoCurrentLayer(c.sameSide, true, c.keepInput, 1.0f)) << ErrorCode;
    EXPECT_EQ(ErrorCode, 0);
    std::vector<TVectorRecord> layer = ReadLayer();
    if (c.keepInput) {
      ASSERT_GE(layer.size(), 5u);
      EXPECT_EQ(layer[0].type, 11);
      const float x2 = layer[2].x, y2 = layer[2].y;
      EXPECT_EQ(x2, 10.0f);
      EXPECT_EQ(y2, 10.0f);
      layer.erase(layer.begin(), layer.begin() + 5);
    }
    ASSERT_GE(layer.size(), 5u);
    int starts = 0;
    double low = 1e9;
    for (const TVectorRecord& r : layer) {
      const float x = r.x, y = r.y;
      starts += r.type == 11;
      EXPECT_NEAR(DistanceToSquare(x, y, 0, 0, 10), 1.0, 0.02) << x << " " << y;
      low = std::min(low, double(x));
    }
    EXPECT_EQ(starts, 1);
    lows.push_back(low);
  }
  // One run lies outside (down to -1), the other inside (from 1).
  std::sort(lows.begin(), lows.end());
  EXPECT_NEAR(lows[0], -1.0, 0.02);
  EXPECT_NEAR(lows[1], 1.0, 0.02);
}

TEST_F(CompensationTest, WidthBelowTheLeastIsRefused) {
  UseRecordingStages();
  WriteSquare("VekAR1.TMP", 0, 0, 10);
  WriteLayer({});
  EXPECT_FALSE(CompensateIntoCurrentLayer(true, false, false, 0.0009f));
  EXPECT_EQ(ErrorCode, 0) << "nothing done, nothing told";
  TCompensationSettings settings;
  ReadCompensationSettings(settings);
  CompensateRadiusWithRetry("VekAR1.TMP", "OUT.TMP", 8, settings, 0.0005f, 0.0005f);
  EXPECT_EQ(ErrorCode, 100);
  ErrorCode = 0;
  // The frame clearing would step rings of 0.0005 mm across the area.
  EXPECT_FALSE(CompensateOrClearSelection(4, 0.0005f));
  EXPECT_TRUE(Log.tolerances.empty()) << "no stage ran";
  EXPECT_TRUE(ReadLayer().empty());
  const std::vector<std::string> lines = TranscriptLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("KONTBILD : keine Daten"), std::string::npos);
}

TEST_F(CompensationTest, FrameClearingAddsRingsUntilTheyVanish) {
  WriteSquare("VekAR1.TMP", 4, 4, 2);
  WriteLayer({});
  LayoutArea = {{1, 0, 0}, {5, 10, 10}};
  ASSERT_TRUE(CompensateOrClearSelection(4, 1.0f));
  EXPECT_EQ(ErrorCode, 0);
  const std::vector<TVectorRecord> layer = ReadLayer();
  // Rings W apart from both sides: inside the frame at 1 (x from 1 to 9),
  // around the square at 1 (3 to 7), and the square itself; the nearest-first
  // ordering may link rings into longer paths.
  bool frameRing = false, squareRing = false, square = false;
  for (const TVectorRecord& r : layer) {
    const float x = r.x, y = r.y;
    EXPECT_GE(x, -0.01f);
    EXPECT_LE(x, 10.01f);
    EXPECT_GE(y, -0.01f);
    EXPECT_LE(y, 10.01f);
    frameRing |= std::fabs(x - 1.0f) < 0.01f && std::fabs(y - 1.0f) < 0.01f;
    squareRing |= std::fabs(x - 3.0f) < 0.01f && y > 3.5f && y < 6.5f;
    square |= x == 4.0f && y == 4.0f;
  }
  EXPECT_TRUE(frameRing);
  EXPECT_TRUE(squareRing);
  EXPECT_TRUE(square);
  EXPECT_GE(layer.size(), 40u);
}

TEST_F(CompensationTest, DirectionOfTheOutlineIsJudgedAtTheLeftmostVertex) {
  const struct {
    const char* what;
    std::vector<TVectorRecord> records;
    bool counterClockwise;
  } cases[] = {
      {"counter-clockwise square",
       {Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 10, 10), Rec(10, 0, 10), Rec(10, 0, 0)}, true},
      {"clockwise square", {Rec(11, 0, 0), Rec(10, 0, 10), Rec(10, 10, 10), Rec(10, 10, 0), Rec(10, 0, 0)}, false},
      {"clockwise diamond", {Rec(11, 5, 0), Rec(10, 0, 5), Rec(10, 5, 10), Rec(10, 10, 5), Rec(10, 5, 0)}, false},
      {"counter-clockwise diamond",
       {Rec(11, 5, 0), Rec(10, 10, 5), Rec(10, 5, 10), Rec(10, 0, 5), Rec(10, 5, 0)}, true},
      {"three records", {Rec(11, 0, 0), Rec(10, 0, 10), Rec(10, 10, 10)}, true},
      {"leftmost vertex shared: the later contour decides",
       {Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 10, 10), Rec(10, 0, 10), Rec(10, 0, 0), Rec(11, 0, 0), Rec(10, 5, 0),
        Rec(10, 5, -5), Rec(10, 0, -5), Rec(10, 0, 0)},
       false},
  };
  for (const auto& c : cases) {
    WriteVectors("DIR.TMP", c.records);
    EXPECT_EQ(TestFileOutlineCounterClockwise("DIR.TMP"), c.counterClockwise) << c.what;
  }
  EXPECT_TRUE(TestFileOutlineCounterClockwise("MISSING.TMP"));
}

TEST_F(CompensationTest, BoundaryIsTheRectangleOrTheFrameFile) {
  const TExtentsPair box = {{1, 1, 2}, {5, 3, 4}};
  WriteVectors("T.TMP", {Rec(11, 9, 9)});
  AppendBoundaryContour("T.TMP", "S.TMP", "", 1, box, -1);
  AppendBoundaryContour("T.TMP", "S.TMP", "", 0, box, -1);
  const std::vector<TVectorRecord> t = ReadVectors("T.TMP");
  const float expected[][3] = {{11, 9, 9}, {11, 1, 2}, {10, 1, 4}, {10, 3, 4}, {10, 3, 2}, {10, 1, 2},
                               {11, 1, 2}, {10, 3, 2}, {10, 3, 4}, {10, 1, 4}, {10, 1, 2}};
  ASSERT_EQ(t.size(), 11u);
  for (size_t i = 0; i < t.size(); ++i) {
    const float x = t[i].x, y = t[i].y, z = t[i].z;
    EXPECT_EQ(float(t[i].type), expected[i][0]) << i;
    EXPECT_EQ(x, expected[i][1]) << i;
    EXPECT_EQ(y, expected[i][2]) << i;
    EXPECT_EQ(z, 0.0f);
  }
  // A frame file goes in as it is (direction 1) or reversed (direction 0).
  WriteSquare("FRAME.TMP", 0, 0, 20);
  WriteVectors("T.TMP", {});
  AppendBoundaryContour("T.TMP", "S.TMP", "FRAME.TMP", 1, box, -1);
  AppendBoundaryContour("T.TMP", "S.TMP", "FRAME.TMP", 0, box, -1);
  const std::vector<TVectorRecord> f = ReadVectors("T.TMP");
  ASSERT_EQ(f.size(), 10u);
  EXPECT_TRUE(TestFileOutlineCounterClockwise("FRAME.TMP"));
  WriteVectors("ONE.TMP", std::vector<TVectorRecord>(f.begin() + 5, f.end()));
  EXPECT_FALSE(TestFileOutlineCounterClockwise("ONE.TMP")) << "the second copy runs the other way";
}

TEST_F(CompensationTest, FrameFileIsNamedOnlyWhenShownAndFilled) {
  WriteSquare(kFrameFileName, 0, 0, 20);
  DisplayFlags = 0;
  EXPECT_EQ(GetFrameFileName(), "");
  DisplayFlags = 64;
  EXPECT_EQ(GetFrameFileName(), "RAHMEN.TMP");
  WriteVectors(kFrameFileName, {Rec(11, 0, 0), Rec(10, 1, 1), Rec(10, 0, 0)});
  EXPECT_EQ(GetFrameFileName(), "");
  DisplayFlags = 0;
}

}  // namespace
