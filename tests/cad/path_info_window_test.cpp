// The path information window: the statistics of the selection (contour
// counts, size, centre, length, the object kind of a single contour) and the
// popup that shows them at the right edge of the drawing area.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "frame/messages.h"
#include "cad/path_info_window.h"
#include "model/vector_records.h"
#include "support/record_bytes.h"
#include "tests/ui/ui_screen.h"
#include "tests/support/program_runner.h"

namespace {

namespace fs = std::filesystem;
using torvtest::Rec;
using uitest::TScreen;

void WriteRecords(const fs::path& p, const std::vector<TVectorRecord>& records) {
  std::ofstream out(p, std::ios::binary);
  for (const TVectorRecord& r : records) out.write(reinterpret_cast<const char*>(&r), sizeof r);
}

class PathInfo : public ::testing::Test {
 protected:
  TPathInfo Scan(const std::vector<TVectorRecord>& records) {
    WriteRecords(screen_.Dir() / "VekAR1.TMP", records);
    TPathInfo info;
    ScanPathInfo(info);
    return info;
  }
  TScreen screen_;
};

TEST_F(PathInfo, OneClosedAndOneOpenContour) {
  // A 10 x 10 square from (2, 3) and an open line of length 5 up to (20, 7).
  const TPathInfo info = Scan({Rec(11, 2, 3), Rec(10, 12, 3), Rec(10, 12, 13), Rec(10, 2, 13), Rec(10, 2, 3),
                               Rec(11, 17, 3), Rec(10, 20, 7)});
  EXPECT_EQ(info.records, 7);
  EXPECT_EQ(info.closedContours, 1);
  EXPECT_EQ(info.openContours, 1);
  EXPECT_FALSE(info.is3D);
  EXPECT_FLOAT_EQ(info.width, 18);
  EXPECT_FLOAT_EQ(info.height, 10);
  EXPECT_FLOAT_EQ(info.centreX, 11);
  EXPECT_FLOAT_EQ(info.centreY, 8);
  EXPECT_FLOAT_EQ(info.minX, 2);
  EXPECT_FLOAT_EQ(info.minY, 3);
  // 40 round the square, 5 along the line; the jump between them is a move
  // from the first contour's end to the second start and counts nothing.
  EXPECT_NEAR(info.length, 45, 1e-4);

  TPathInfoLine lines[12];
  const int n = BuildPathInfoLines(info, lines);
  ASSERT_EQ(n, 10);
  EXPECT_EQ(lines[0].caption, GetMessageText(2732, 30) + " 2D");
  EXPECT_EQ(lines[0].value, "       1");
  EXPECT_EQ(lines[1].caption, GetMessageText(2733, 30) + " 2D");
  EXPECT_EQ(lines[1].value, "       1");
  EXPECT_EQ(lines[2].value, "       7");
  EXPECT_EQ(lines[3].value, "  18.000");
  EXPECT_EQ(lines[9].caption, GetMessageText(3315, 30));
  EXPECT_EQ(lines[9].value, "  45.000");
}

TEST_F(PathInfo, AThreeDimensionalPointMarksTheCounts3D) {
  const TPathInfo info = Scan({Rec(11, 0, 0), Rec(12, 3, 4, -2), Rec(11, 5, 5), Rec(10, 6, 6)});
  EXPECT_TRUE(info.is3D);
  TPathInfoLine lines[12];
  BuildPathInfoLines(info, lines);
  EXPECT_EQ(lines[0].caption, GetMessageText(2732, 30) + " 3D");
  EXPECT_EQ(lines[1].caption, GetMessageText(2733, 30) + " 3D");
}

TEST_F(PathInfo, SingleContourNamesItsObjectKindByTheMarkOfItsFirstPoint) {
  struct TCase {
    float z;
    bool closed;
    int16_t message;
  };
  const TCase cases[] = {
      {-905, true, 2728}, {-905, false, 2729}, {-906, true, 2728}, {-916, true, 2730}, {-917, false, 2730},
      {-908, true, 1279}, {-903, true, 1305},  {-901, false, 1278}, {0, true, 2727},   {-3, true, 0},
      {-914, true, 0},    {-909, true, 0},
  };
  for (const TCase& c : cases) {
    std::vector<TVectorRecord> records = {Rec(11, 0, 0), Rec(10, 10, 0, c.z), Rec(10, 10, 10, c.z)};
    if (c.closed) records.push_back(Rec(10, 0, 0, c.z));
    const TPathInfo info = Scan(records);
    EXPECT_EQ(PathObjectKindMessage(info), c.message) << c.z << (c.closed ? " closed" : " open");
    TPathInfoLine lines[12];
    const int n = BuildPathInfoLines(info, lines);
    EXPECT_EQ(n, 9) << "one caption line in place of the two counts";
    EXPECT_EQ(lines[0].caption, c.message != 0 ? GetMessageText(c.message, 30) : std::string());
    EXPECT_EQ(lines[0].value, "");
  }
}

TEST_F(PathInfo, OnlyOtherRecordTypesGiveACountOfZero) {
  const TPathInfo info = Scan({Rec(128, 3, 0), Rec(150, 5, 5), Rec(157, 7, 9), Rec(9, 1, 1)});
  EXPECT_EQ(info.records, 0);
  EXPECT_EQ(info.width, 0);
  EXPECT_EQ(info.minX, 0);
  TPathInfoLine lines[12];
  BuildPathInfoLines(info, lines);
  EXPECT_EQ(lines[2].value, "       0");
  EXPECT_EQ(lines[7].value, "   0.000") << "the minimum corner of nothing is 0";
}

TEST_F(PathInfo, AVerticalLineKeepsItsCount) {
  const TPathInfo info = Scan({Rec(11, 4, 0), Rec(10, 4, 8)});
  EXPECT_EQ(info.records, 2);
  EXPECT_FLOAT_EQ(info.width, 0);
  EXPECT_FLOAT_EQ(info.height, 8);
  EXPECT_FLOAT_EQ(info.length, 8);
}

TEST_F(PathInfo, AContourAcrossBlockBoundariesIsMeasuredWhole) {
  // One closed contour of 12001 records: a zig-zag out and a straight line back.
  std::vector<TVectorRecord> records = {Rec(11, 0, 0)};
  for (int i = 1; i < 12000; ++i) records.push_back(Rec(10, float(i) * 0.01f, (i % 2) ? 1.0f : 0.0f));
  records.push_back(Rec(10, 0, 0));
  const TPathInfo info = Scan(records);
  EXPECT_EQ(info.records, 12001);
  EXPECT_EQ(info.closedContours, 1);
  EXPECT_EQ(info.openContours, 0);
  double expected = 0;
  for (size_t i = 1; i < records.size(); ++i)
    expected += std::hypot(double(records[i].x) - records[i - 1].x, double(records[i].y) - records[i - 1].y);
  EXPECT_NEAR(info.length, expected, expected * 1e-4);
}

TEST_F(PathInfo, AMissingStoreGivesNothing) {
  TPathInfo info;
  ScanPathInfo(info, "NICHTDA.TMP");
  EXPECT_EQ(info.records, 0);
  EXPECT_EQ(info.closedContours + info.openContours, 0);
}

TEST_F(PathInfo, PopupShowsAtTheRightEdgeAndGivesTheScreenBack) {
  WriteRecords(screen_.Dir() / "VekAR1.TMP",
               {Rec(11, 2, 3), Rec(10, 12, 3), Rec(10, 12, 13), Rec(10, 2, 13), Rec(10, 2, 3)});
  const fs::path shot = screen_.Dir() / "info.png";
  std::string script;
  for (int i = 0; i < 200; ++i) script += "wait 1\n";
  screen_.UseScript(script + "shot " + shot.string() + "\nkey x\n");
  const auto before = TScreen::Pixels();
  ShowPathInfoWindow();
  EXPECT_TRUE(TScreen::Pixels() == before) << "the screen under the popup comes back";

  const torvtest::TPicture open = torvtest::ReadPng(shot);
  ASSERT_TRUE(open.error.empty()) << open.error;
  const int w = plat::WindowFrameBuffer().width;
  auto beforeAt = [&](int x, int y) { return before[size_t(y) * size_t(w) + size_t(x)] & 0xFFFFFF; };
  const int x1 = (MaxX - 248) / 8 * 8, x2 = MaxX - 1;
  const int y1 = DrawingArea.y1 + 16, y2 = y1 + 192;
  int inside = 0, outside = 0;
  for (int y = 0; y < open.height; ++y)
    for (int x = 0; x < open.width; ++x) {
      const bool differs = open.At(x, y) != beforeAt(x, y);
      if (x >= x1 - 1 && x <= x2 + 1 && y >= y1 - 1 && y <= y2 + 1) inside += differs;
      else outside += differs;
    }
  EXPECT_GT(inside, (x2 - x1) * (y2 - y1) / 2) << "the popup covers its rectangle";
  EXPECT_EQ(outside, 0) << "nothing is drawn beside the popup";

  // Dark letters on each of the 9 lines (object kind, count, seven values),
  // captions on the left and values on the right.
  for (int line = 0; line < 9; ++line) {
    const int top = y1 + 32 + 16 * line;
    int left = 0, right = 0;
    for (int y = top - 14; y <= top + 14; ++y)
      for (int x = x1 + 8; x < x2 - 8; ++x) {
        const uint32_t c = open.At(x, y);
        const bool dark = (c >> 16 & 0xFF) < 80 && (c >> 8 & 0xFF) < 80 && (c & 0xFF) < 80;
        (x < (x1 + x2) / 2 ? left : right) += dark;
      }
    EXPECT_GT(left + right, 0) << "line " << line;
    if (line > 0) {
      EXPECT_GT(right, 0) << "value of line " << line;
    }
  }
}

}  // namespace
