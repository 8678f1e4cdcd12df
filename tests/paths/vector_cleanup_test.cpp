// The in-place clean-up passes: optimisation, grid snap and short-segment
// smoothing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "frame/param_file.h"
#include "model/layer_files.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "paths/vector_cleanup.h"
#include "paths_test_support.h"
#include "ui/paced_script.h"
#include "ui/ui_screen.h"

namespace {

using pathstest::PathsTest;
using pathstest::Rec;

class VectorCleanupTest : public PathsTest {
 protected:
  void ExpectRecords(const std::vector<TVectorRecord>& got, const std::vector<TVectorRecord>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(got[i].type, want[i].type);
      EXPECT_NEAR(got[i].x, want[i].x, 1e-5);
      EXPECT_NEAR(got[i].y, want[i].y, 1e-5);
      EXPECT_NEAR(got[i].z, want[i].z, 1e-5);
    }
  }
};

std::vector<TVectorRecord> Square(float x, float y, float s, bool counterClockwise) {
  if (counterClockwise)
    return {Rec(11, x, y), Rec(10, x + s, y), Rec(10, x + s, y + s), Rec(10, x, y + s), Rec(10, x, y)};
  return {Rec(11, x, y), Rec(10, x, y + s), Rec(10, x + s, y + s), Rec(10, x + s, y), Rec(10, x, y)};
}

std::vector<TVectorRecord> Join(std::initializer_list<std::vector<TVectorRecord>> parts) {
  std::vector<TVectorRecord> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

TEST_F(VectorCleanupTest, OptimisationDropsAndClosesAsAsked) {
  struct TCase {
    const char* what;
    std::vector<TVectorRecord> input;
    int16_t minRecords;
    uint8_t closeAll;
    std::vector<TVectorRecord> want;
  } cases[] = {
      {"three collinear points lose the middle", {Rec(11, 0, 0), Rec(10, 5, 0, 3), Rec(10, 10, 0, 4)}, 2, 0,
       {Rec(11, 0, 0), Rec(10, 10, 0)}},
      {"two starts: the first goes", {Rec(11, 0, 0), Rec(11, 1, 1), Rec(10, 5, 1), Rec(10, 5, 5)}, 2, 0,
       {Rec(11, 1, 1), Rec(10, 5, 1), Rec(10, 5, 5)}},
      {"minRecords 2 keeps a contour below the size limit", {Rec(11, 0, 0), Rec(10, 0.05f, 0.05f)}, 2, 0,
       {Rec(11, 0, 0), Rec(10, 0.05f, 0.05f)}},
      {"minRecords 3 drops a contour of two records", {Rec(11, 0, 0), Rec(10, 10, 10)}, 3, 0, {}},
      {"closeAll: 0.02 from the start adds a closing point",
       {Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 10, 10), Rec(10, 0.02f, 0)}, 2, 1,
       {Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 10, 10), Rec(10, 0.02f, 0), Rec(10, 0, 0)}},
      {"closeAll: 0.005 from the start moves the last point",
       {Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 10, 10), Rec(10, 0.005f, 0)}, 2, 1,
       {Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 10, 10), Rec(10, 0, 0)}},
      {"without closeAll an open contour stays open",
       {Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 10, 10), Rec(10, 0.02f, 0)}, 2, 0,
       {Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 10, 10), Rec(10, 0.02f, 0)}},
      {"layer, colour and tool records do not survive",
       {Rec(1, 0, 0), Rec(5, 9, 9), Rec(128, 2, 0), Rec(11, 0, 0), Rec(151, 1, 0), Rec(10, 10, 0), Rec(10, 10, 10),
        Rec(150, 1, 1), Rec(9, 0, 0)},
       2, 0, {Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 10, 10)}},
      {"small contours by direction and size",
       Join({Square(0, 0, 0.5f, true), Square(5, 0, 0.5f, false), Square(10, 0, 2, false)}), 3, 0,
       Join({Square(0, 0, 0.5f, true), Square(10, 0, 2, false)})},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    WriteVectors("OPT.TMP", c.input);
    OptimizeVectorFile("OPT.TMP", c.minRecords, c.closeAll, 256, 0.0022225, 0.0001, 0.0000044802778, 1.0, 0.0001);
    ExpectRecords(ReadVectors("OPT.TMP"), c.want);
  }
}

TEST_F(VectorCleanupTest, LongContoursPassThroughWindowsAndStayClosed) {
  // 1000 points on a circle with collinear extra points between them: the
  // file shrinks, the contour stays one closed contour with its start.
  std::vector<TVectorRecord> input;
  for (int k = 0; k <= 1000; ++k) {
    const double a = 2 * M_PI * k / 1000;
    input.push_back(Rec(k == 0 ? 11 : 10, static_cast<float>(50 * std::cos(a)), static_cast<float>(50 * std::sin(a))));
  }
  input.push_back(Rec(10, 50, 0));
  input.insert(input.begin() + 1, Rec(10, 50, 0.00001f));
  WriteVectors("BIG.TMP", input);
  OptimizeVectorFileDefault("BIG.TMP", 0.0);
  const std::vector<TVectorRecord> out = ReadVectors("BIG.TMP");
  ASSERT_GT(out.size(), 100u);
  EXPECT_LT(out.size(), input.size());
  EXPECT_EQ(out.front().type, 11);
  for (size_t i = 1; i < out.size(); ++i) EXPECT_EQ(out[i].type, 10);
  EXPECT_EQ(float(out.back().x), float(out.front().x));
  EXPECT_EQ(float(out.back().y), float(out.front().y));
  for (const TVectorRecord& r : out) EXPECT_NEAR(std::hypot(r.x, r.y), 50.0, 0.01);
}

TEST_F(VectorCleanupTest, GridSnapRoundsAndDropsRepeats) {
  struct TCase {
    const char* what;
    std::vector<TVectorRecord> input;
    int flags;
    double step;
    std::vector<TVectorRecord> want;
  } cases[] = {
      {"repeat after rounding is dropped", {Rec(11, 0.4f, 0), Rec(10, 0.6f, 0), Rec(10, 1.4f, 0)}, 0, 1.0,
       {Rec(11, 0, 0), Rec(10, 1, 0)}},
      {"a dot stays a dot", {Rec(11, 0.1f, 0.1f), Rec(10, 0.2f, 0.2f), Rec(11, 5, 5), Rec(10, 6, 5)}, 0, 1.0,
       {Rec(11, 0, 0), Rec(10, 0, 0), Rec(11, 5, 5), Rec(10, 6, 5)}},
      {"a dot at the file's end", {Rec(11, 0.1f, 0.1f), Rec(10, 0.2f, 0.2f)}, 0, 1.0,
       {Rec(11, 0, 0), Rec(10, 0, 0)}},
      {"a repeat after a start is no dot once the path goes on",
       {Rec(11, 0, 0), Rec(10, 0.1f, 0), Rec(10, 3, 0), Rec(11, 5, 5), Rec(10, 6, 5)}, 0, 1.0,
       {Rec(11, 0, 0), Rec(10, 3, 0), Rec(11, 5, 5), Rec(10, 6, 5)}},
      {"3D points keep differing heights", {Rec(11, 0, 0), Rec(12, 0.1f, 0, 1), Rec(12, 0.2f, 0, 1), Rec(12, 0, 0, 2)},
       0, 1.0, {Rec(11, 0, 0), Rec(12, 0, 0, 1), Rec(12, 0, 0, 2)}},
      {"layer records kept without the flag",
       {Rec(128, 1, 0), Rec(11, 0.26f, 0), Rec(10, 1.1f, 0.74f)}, 0, 0.5,
       {Rec(128, 1, 0), Rec(11, 0.5f, 0), Rec(10, 1, 0.5f)}},
      {"layer records dropped with 0x40", {Rec(128, 1, 0), Rec(11, 0, 0), Rec(10, 1, 0)}, kSnapDropLayers, 1.0,
       {Rec(11, 0, 0), Rec(10, 1, 0)}},
      {"step 0 leaves the file", {Rec(11, 0.4f, 0), Rec(10, 0.6f, 0)}, 0, 0.0, {Rec(11, 0.4f, 0), Rec(10, 0.6f, 0)}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    WriteVectors("SNAP.TMP", c.input);
    SnapVectorFileToGrid("SNAP.TMP", c.flags, c.step);
    ExpectRecords(ReadVectors("SNAP.TMP"), c.want);
  }
}

TEST_F(VectorCleanupTest, SmoothingRemovesShortSegments) {
  struct TCase {
    const char* what;
    std::vector<TVectorRecord> input;
    std::vector<TVectorRecord> want;
  } cases[] = {
      {"a short segment after a long one pulls the point back",
       {Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 10.1f, 0), Rec(10, 20, 0)},
       {Rec(11, 0, 0), Rec(10, 9.5f, 0), Rec(10, 10.1f, 0), Rec(10, 20, 0)}},
      {"a short segment after a short one drops the point",
       {Rec(11, 0, 0), Rec(10, 1, 0), Rec(10, 1.1f, 0), Rec(10, 5, 0)},
       {Rec(11, 0, 0), Rec(10, 1.1f, 0), Rec(10, 5, 0)}},
      {"line points take the depth of the feed record",
       {Rec(156, 1000, 2, 5), Rec(11, 0, 0), Rec(10, 10, 0), Rec(9, 0, 0), Rec(11, 0, 0), Rec(10, 10, 0)},
       {Rec(156, 1000, 2, 5), Rec(11, 0, 0), Rec(10, 10, 0, 2), Rec(9, 0, 0), Rec(11, 0, 0), Rec(10, 10, 0, 0)}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    WriteVectors("SM.TMP", c.input);
    SmoothShortSegments("SM.TMP", 0.5);
    ExpectRecords(ReadVectors("SM.TMP"), c.want);
  }
}

TEST(OptimizeStatusLine, CountsSitBehindTheirLabels) {
  EXPECT_EQ(FormatOptimizeStatus(1234, 0, 0, 0), "QueV: 1234  OptV:    0  OptB:    0  OptF: 1.00");
  EXPECT_EQ(FormatOptimizeStatus(54321, 300, 7, 600), "QueV: 54321 OptV:  300  OptB:    7  OptF: 0.50");
  EXPECT_EQ(FormatOptimizeStatus(1234567, 10, 1, 40), "QueV:1234567OptV:   10  OptB:    1  OptF: 0.25");
}

// The optimisation command and its dialog run with scripted keys on a
// headless screen; layer 0 is current and the store is empty.
class TOptimizeScreen : public uitest::TScreen {
 public:
  TOptimizeScreen() {
    ParamImage = new TParameterImage;
    FillParamDefaults();
    InitUndoSlots();
    HighestLayer = 0;
    CurrentLayer = 0;
    StoreHoldsData = 0;
  }
  ~TOptimizeScreen() {
    ReleaseUndoSlots();
    delete ParamImage;
    ParamImage = nullptr;
    StoreHoldsData = 0;
  }
  void Write(const std::string& name, const std::vector<TVectorRecord>& records) const {
    std::ofstream(Dir() / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(records.data()), std::streamsize(records.size() * sizeof(TVectorRecord)));
  }
  std::vector<TVectorRecord> Read(const std::string& name) const {
    const std::string bytes = ReadFile(name);
    std::vector<TVectorRecord> out(bytes.size() / sizeof(TVectorRecord));
    if (!out.empty()) std::memcpy(out.data(), bytes.data(), out.size() * sizeof(TVectorRecord));
    return out;
  }
  static TOptimizeSettings Stored() {
    TOptimizeSettings s;
    GetParamBlock(kOptimizeSettingsBlock, &s, sizeof s);
    return s;
  }
  static void Store(float resolution, float minRecords, float sizeLimit, uint8_t closeAll) {
    TOptimizeSettings s{};
    s.resolution = resolution;
    s.minRecords = minRecords;
    s.sizeLimit = sizeLimit;
    s.closeAll = closeAll;
    PutParamBlock(kOptimizeSettingsBlock, &s, sizeof s);
  }
};

void ExpectSettings(const TOptimizeSettings& s, float resolution, float minRecords, float sizeLimit, char closeAll) {
  const float r = s.resolution, m = s.minRecords, d = s.sizeLimit;
  EXPECT_FLOAT_EQ(r, resolution);
  EXPECT_FLOAT_EQ(m, minRecords);
  EXPECT_FLOAT_EQ(d, sizeLimit);
  EXPECT_EQ(char(s.closeAll), closeAll);
}

TEST(OptimizeSettingsDialog, OkStoresTheBlockAndEscKeepsIt) {
  TOptimizeScreen screen;
  TOptimizeScreen::Store(2000, 3, 0.02f, 'N');
  // Size limit, minimum records, closing flag, resolution; then OK.
  uitest::NewScript(screen, "text 0.05\nkey Enter\ntext 5\nkey Enter\ntext j\nkey Enter\ntext 1000\nkey F1\n");
  TOptimizeSettings s;
  EXPECT_TRUE(EditOptimizeSettings(s));
  ExpectSettings(TOptimizeScreen::Stored(), 1000, 5, 0.05f, 'J');

  uitest::NewScript(screen, "text 0.5\nkey Enter\ntext 9\nkey Esc\n");
  EXPECT_FALSE(EditOptimizeSettings(s));
  ExpectSettings(TOptimizeScreen::Stored(), 1000, 5, 0.05f, 'J');
}

TEST(OptimizeSettingsDialog, AnUnsetBlockProposesSoundValues) {
  TOptimizeScreen screen;
  TOptimizeScreen::Store(0, 0, 0, 0);  // a resolution of 0 would divide by zero
  uitest::NewScript(screen, "key F1\n");
  TOptimizeSettings s;
  EXPECT_TRUE(EditOptimizeSettings(s));
  ExpectSettings(TOptimizeScreen::Stored(), 12000, 2, 0.01f, 'N');
}

// A square drawn with points every millimetre along its sides.
std::vector<TVectorRecord> DenseSquare(float x, float y) {
  std::vector<TVectorRecord> r = {Rec(11, x, y)};
  for (int i = 1; i <= 10; ++i) r.push_back(Rec(10, x + i, y));
  for (int i = 1; i <= 10; ++i) r.push_back(Rec(10, x + 10, y + i));
  for (int i = 1; i <= 10; ++i) r.push_back(Rec(10, x + 10 - i, y + 10));
  for (int i = 1; i <= 10; ++i) r.push_back(Rec(10, x, y + 10 - i));
  return r;
}

TEST(OptimizeCommand, ThinsTheCurrentLayerAndRemovesDuplicates) {
  TOptimizeScreen screen;
  TOptimizeScreen::Store(1000, 2, 0.01f, 'N');
  std::vector<TVectorRecord> layer = DenseSquare(0, 0);
  const std::vector<TVectorRecord> again = DenseSquare(0, 0);
  const std::vector<TVectorRecord> other = DenseSquare(20, 0);
  layer.insert(layer.end(), other.begin(), other.end());
  layer.insert(layer.end(), again.begin(), again.end());
  screen.Write("Layer0.TMP", layer);
  // The form confirmed as it stands. The Esc checks between the passes take
  // any key that waits, so the OK box of the removed contour finds the
  // script used up and closes as with Esc.
  uitest::NewScript(screen, "key F1\n");
  RunOptimizeCommand();
  const std::string transcript = screen.ReadFile("transcript.txt");
  EXPECT_NE(transcript.find("       1Eintr"), std::string::npos) << transcript;
  const std::vector<TVectorRecord> got = screen.Read("Layer0.TMP");
  // Two squares of their four corners, closed on their starts.
  const std::vector<TVectorRecord> want = {Rec(11, 0, 0),  Rec(10, 10, 0), Rec(10, 10, 10), Rec(10, 0, 10),
                                           Rec(10, 0, 0),  Rec(11, 20, 0), Rec(10, 30, 0),  Rec(10, 30, 10),
                                           Rec(10, 20, 10), Rec(10, 20, 0)};
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(i);
    const float x = got[i].x, y = got[i].y;
    EXPECT_EQ(got[i].type, want[i].type);
    EXPECT_NEAR(x, want[i].x, 1e-4);
    EXPECT_NEAR(y, want[i].y, 1e-4);
  }
  EXPECT_FALSE(std::filesystem::exists(screen.Dir() / "VekAR1.BAK"));
}

TEST(OptimizeCommand, CancelledSettingsLeaveTheLayerAlone) {
  TOptimizeScreen screen;
  TOptimizeScreen::Store(1000, 2, 0.01f, 'N');
  std::vector<TVectorRecord> layer = DenseSquare(0, 0);
  layer[5].z = -10000.0f;  // a pen-up mark stays a pen-up mark
  screen.Write("Layer0.TMP", layer);
  const std::string before = screen.ReadFile("Layer0.TMP");
  uitest::NewScript(screen, "key Esc\n");
  RunOptimizeCommand();
  EXPECT_EQ(screen.ReadFile("Layer0.TMP"), before);
}

TEST(RemoveDuplicates, OnlyExactRepeatsGoAndTheHeadStays) {
  TOptimizeScreen screen;
  const std::vector<TVectorRecord> a = Square(0, 0, 5, true);
  std::vector<TVectorRecord> nearA = a;
  nearA[2].x += 0.001f;  // same box after rounding, other points: kept
  std::vector<TVectorRecord> file = {Rec(1, 0, 0), Rec(5, 10, 10)};
  for (const std::vector<TVectorRecord>* part : {&a, static_cast<const std::vector<TVectorRecord>*>(&nearA), &a, &a})
    file.insert(file.end(), part->begin(), part->end());
  screen.Write("DUP.TMP", file);
  uitest::NewScript(screen, "wait 60000\nkey Enter\n");
  EXPECT_EQ(RemoveDuplicateContours("DUP.TMP"), 2);
  EXPECT_NE(screen.ReadFile("transcript.txt").find("       2Eintr"), std::string::npos);
  std::vector<TVectorRecord> want = {Rec(1, 0, 0), Rec(5, 10, 10)};
  want.insert(want.end(), a.begin(), a.end());
  want.insert(want.end(), nearA.begin(), nearA.end());
  const std::vector<TVectorRecord> got = screen.Read("DUP.TMP");
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    const float gx = got[i].x, wx = want[i].x;
    EXPECT_EQ(got[i].type, want[i].type) << i;
    EXPECT_EQ(gx, wx) << i;
  }
  EXPECT_FALSE(std::filesystem::exists(screen.Dir() / "VekAR1.BAK"));
  // Nothing repeated: the file is not touched and nothing is shown.
  const std::string before = screen.ReadFile("DUP.TMP");
  EXPECT_EQ(RemoveDuplicateContours("DUP.TMP"), 0);
  EXPECT_EQ(screen.ReadFile("DUP.TMP"), before);
}

}  // namespace
