// The contour table and the nearest-first ordering.
#include "paths/contour_order.h"

#include <array>
#include <random>

#include "paths_test_support.h"
#include "frame/quiet_files.h"

namespace {

using pathstest::PathsTest;
using pathstest::Rec;

std::vector<TVectorRecord> Contour(std::initializer_list<TVectorRecord> records) { return records; }

std::vector<TVectorRecord> Join(std::initializer_list<std::vector<TVectorRecord>> parts) {
  std::vector<TVectorRecord> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

void ExpectRecords(const std::vector<TVectorRecord>& got, const std::vector<TVectorRecord>& want, const char* what) {
  ASSERT_EQ(got.size(), want.size()) << what;
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(+got[i].type, +want[i].type) << what << " record " << i;
    EXPECT_EQ(+got[i].x, +want[i].x) << what << " record " << i;
    EXPECT_EQ(+got[i].y, +want[i].y) << what << " record " << i;
  }
}

class ContourOrderTest : public PathsTest {
 protected:
  // Orders SOURCE.TMP into TARGET.TMP and returns the target's records.
  std::vector<TVectorRecord> Order(const std::vector<TVectorRecord>& source, float tolerance, bool linkAlways,
                                   const std::vector<TVectorRecord>& obstacles = {}, bool backward = false) {
    WriteVectors("SOURCE.TMP", source);
    WriteVectors("TARGET.TMP", {});
    WriteVectors("OBST.TMP", obstacles);
    SortContoursNearestFirst("SOURCE.TMP", "TARGET.TMP", "OBST.TMP", backward, linkAlways, 12, tolerance);
    EXPECT_FALSE(std::ifstream(Folder() + "/SOURCE.TMP").good()) << "the source is consumed";
    return ReadVectors("TARGET.TMP");
  }
};

TEST_F(ContourOrderTest, TableListsContoursWithTheirPointsAndDistances) {
  WriteVectors("T.TMP", {Rec(11, 0, 0, -5.0f), Rec(10, 4, 2), Rec(128, 9, 9, 0.0f), Rec(11, 7, 7),
                         Rec(11, 1, 1, -4.2f), Rec(12, 3, -2, 1.0f), Rec(128, 8, 8, 0.0f)});
  plat::TPasFile file;
  plat::Assign(file, "T.TMP");
  plat::Reset(file, 13);
  ASSERT_EQ(plat::IoResult(), 0);
  TContourTable* table = new TContourTable();
  ResetContourTable(*table);
  int32_t last = -9;
  BuildContourTable(file, last, *table, 0.5f);
  plat::Close(file);
  EXPECT_EQ(QuietIoError, 0);
  ASSERT_EQ(last, 1) << "the contour of a start record alone is not listed";
  LoadContour(*table, 0);
  const TContourEntry a = table->entry;
  LoadContour(*table, 1);
  const TContourEntry b = table->entry;
  EXPECT_EQ(a.startIndex, 0);
  EXPECT_EQ(a.endIndex, 2);
  EXPECT_EQ(a.endX, 4.0f) << "a layer change is no end point";
  EXPECT_EQ(a.startMark, 251);
  EXPECT_EQ(a.linkDistance, 0.5f);
  EXPECT_EQ(a.box[2], 4.0f);
  EXPECT_EQ(a.middleY, 1.0f);
  EXPECT_EQ(b.startIndex, 4);
  EXPECT_EQ(b.endIndex, 6);
  EXPECT_EQ(b.startMark, 252);
  EXPECT_EQ(b.linkDistance, 0.5f) << "a layer change with z 0 keeps the distance";
  EXPECT_EQ(b.endX, 3.0f);
  EXPECT_EQ(b.box[1], -2.0f);
  EXPECT_EQ(+table->extents.maxCorner.x, 7.0f) << "the dropped contour still widened the extents";
  FreeContourTable(*table);
  delete table;
}

TEST_F(ContourOrderTest, TooShortFilesAreRefusedAndStillConsumed) {
  EXPECT_TRUE(Order({Rec(11, 0, 0), Rec(10, 1, 1), Rec(10, 2, 2)}, 0.1f, false).empty());
  EXPECT_EQ(QuietIoError, 1103);
  EXPECT_EQ(ErrorCode, 0);
}

TEST_F(ContourOrderTest, ShortGapsLinkAndLongGapsJump) {
  const auto c0 = Contour({Rec(11, 0, 0), Rec(10, 1, 0)});
  const auto c1 = Contour({Rec(11, 5, 0), Rec(10, 6, 0)});
  const auto c2 = Contour({Rec(11, 1.05f, 0), Rec(10, 2, 0)});
  ExpectRecords(Order(Join({c0, c1, c2}), 0.1f, false),
                {Rec(11, 0, 0), Rec(10, 1, 0), Rec(10, 1.05f, 0), Rec(10, 2, 0), Rec(11, 5, 0), Rec(10, 6, 0)},
                "below the tolerance linked, beyond it a move");
  // A gap inside the tolerance is linked even across an obstacle.
  const std::vector<TVectorRecord> wall = {Rec(11, 1.02f, -1), Rec(10, 1.02f, 1)};
  ExpectRecords(Order(Join({c0, c2}), 0.1f, false, wall), {Rec(11, 0, 0), Rec(10, 1, 0), Rec(10, 1.05f, 0), Rec(10, 2, 0)},
                "no crossing test below the tolerance");
}

TEST_F(ContourOrderTest, LongerLinksNeedTheirDistanceOrTheFlagAndAFreeWay) {
  const auto c0 = Contour({Rec(11, 0, 0), Rec(10, 1, 0)});
  const auto c1 = Contour({Rec(11, 3, 0), Rec(10, 4, 0)});
  const std::vector<TVectorRecord> linked = {Rec(11, 0, 0), Rec(10, 1, 0), Rec(10, 3, 0), Rec(10, 4, 0)};
  const std::vector<TVectorRecord> jumped = {Rec(11, 0, 0), Rec(10, 1, 0), Rec(11, 3, 0), Rec(10, 4, 0)};
  const std::vector<TVectorRecord> wall = {Rec(11, 2, -1), Rec(10, 2, 1)};
  const std::vector<TVectorRecord> aside = {Rec(11, 2, 1), Rec(10, 2, 3)};
  ExpectRecords(Order(Join({c0, c1}), 0.1f, false), jumped, "beyond the contour's distance");
  ExpectRecords(Order(Join({c0, c1}), 0.1f, true), linked, "the flag links a free way");
  ExpectRecords(Order(Join({c0, c1}), 0.1f, true, wall), jumped, "an obstacle crossing the link");
  ExpectRecords(Order(Join({c0, c1}), 0.1f, true, aside), linked, "an obstacle beside the link");
  const auto layer = Contour({Rec(128, 1, 0, 2.0f)});
  ExpectRecords(Order(Join({c0, layer, c1}), 0.1f, false),
                linked, "a layer change with z 2 lets the contours after it link up to 2.2");
}

TEST_F(ContourOrderTest, ALinkedContourLosesAStartThatCannotBeALine) {
  const auto c0 = Contour({Rec(11, 0, 0), Rec(10, 1, 0)});
  const auto c1 = Contour({Rec(11, 1, 0.01f), Rec(12, 2, 0, 1.0f), Rec(12, 3, 0, 1.0f)});
  ExpectRecords(Order(Join({c0, c1}), 0.1f, false),
                {Rec(11, 0, 0), Rec(10, 1, 0), Rec(12, 2, 0), Rec(12, 3, 0)}, "start followed by a 3D point");
}

TEST_F(ContourOrderTest, TargetIsAppendedAndHeaderRecordsStayBehind) {
  WriteVectors("TARGET.TMP", {Rec(11, 9, 9), Rec(10, 9, 8)});
  WriteVectors("SOURCE.TMP", {Rec(11, 0, 0), Rec(10, 1, 0), Rec(9, 0, 0), Rec(150, 1, 2), Rec(11, 5, 5), Rec(10, 6, 6)});
  SortContoursNearestFirst("SOURCE.TMP", "TARGET.TMP", "", false, false, 12, 0.1f);
  ExpectRecords(ReadVectors("TARGET.TMP"),
                {Rec(11, 9, 9), Rec(10, 9, 8), Rec(11, 0, 0), Rec(10, 1, 0), Rec(11, 5, 5), Rec(10, 6, 6)},
                "only types 10, 11 and 12 are copied");
}

std::vector<TContourEntry> Entries(std::initializer_list<std::array<float, 4>> points, float link = 0.0f) {
  std::vector<TContourEntry> entries;
  for (const auto& p : points) {
    TContourEntry e{};
    e.startX = p[0];
    e.startY = p[1];
    e.endX = p[2];
    e.endY = p[3];
    e.linkDistance = link;
    entries.push_back(e);
  }
  return entries;
}

std::vector<int32_t> Sequence(const std::vector<TContourStep>& steps) {
  std::vector<int32_t> order;
  for (const TContourStep& s : steps) order.push_back(s.entry);
  return order;
}

TEST(NearestOrder, EqualGapsGoToTheFirstInScanOrder) {
  // From the end of entry 0 at (0, 0), entries 1 and 2 start 1 away; 3 and 4 are far.
  const auto entries = Entries({{{5, 5, 0, 0}}, {{1, 0, 1, 0}}, {{-1, 0, -1, 0}}, {{9, 9, 9, 9}}, {{9, 9, 9, 9}}});
  const TVectorArray none;
  for (bool useIndex : {false, true}) {
    std::vector<TContourStep> steps;
    PlanNearestOrder(entries, none, false, false, 100.0f, useIndex, steps);
    EXPECT_EQ(Sequence(steps), (std::vector<int32_t>{0, 1, 2, 3, 4})) << "forward, index " << useIndex;
    // Backward starts from the last entry; the higher index wins ties.
    PlanNearestOrder(entries, none, true, false, 100.0f, useIndex, steps);
    EXPECT_EQ(Sequence(steps), (std::vector<int32_t>{4, 3, 0, 2, 1})) << "backward, index " << useIndex;
  }
}

TEST(NearestOrder, AJumpGoesToTheFirstContourNotTaken) {
  // 0 ends at (10, 0); 2 starts nearest but beyond linking, so the order jumps
  // to entry 1 (the first not taken), links 3 from there and jumps back to 2.
  const auto entries = Entries({{{0, 0, 10, 0}}, {{50, 50, 50, 51}}, {{12, 0, 13, 0}}, {{50, 52, 0, 0}}});
  for (bool useIndex : {false, true}) {
    std::vector<TContourStep> steps;
    PlanNearestOrder(entries, TVectorArray{}, false, false, 1.5f, useIndex, steps);
    ASSERT_EQ(Sequence(steps), (std::vector<int32_t>{0, 1, 3, 2}));
    EXPECT_FALSE(steps[1].linked);
    EXPECT_TRUE(steps[2].linked);
    EXPECT_FALSE(steps[3].linked);
  }
}

TEST(NearestOrder, GridIndexGivesTheScansOrder) {
  std::mt19937 random(20261210);
  for (int round = 0; round < 6; ++round) {
    const int n = 1500 + 300 * round;
    std::uniform_real_distribution<float> coordinate(-200.0f, round % 2 ? 200.0f : 30.0f);
    std::uniform_int_distribution<int> grid(0, 40);  // whole-millimetre points make many equal gaps
    std::vector<TContourEntry> entries(static_cast<size_t>(n), TContourEntry{});
    for (TContourEntry& e : entries) {
      e = TContourEntry{};
      const bool snapped = random() % 3 == 0;
      e.startX = snapped ? float(grid(random)) : coordinate(random);
      e.startY = snapped ? float(grid(random)) : coordinate(random);
      e.endX = snapped ? float(grid(random)) : coordinate(random);
      e.endY = snapped ? float(grid(random)) : coordinate(random);
      e.linkDistance = float(random() % 20);
    }
    const TVectorArray none;
    for (bool backward : {false, true}) {
      std::vector<TContourStep> plain, indexed;
      PlanNearestOrder(entries, none, backward, round % 3 == 0, 1.5f, false, plain);
      PlanNearestOrder(entries, none, backward, round % 3 == 0, 1.5f, true, indexed);
      ASSERT_EQ(plain.size(), size_t(n));
      ASSERT_EQ(Sequence(indexed), Sequence(plain)) << "round " << round << " backward " << backward;
      for (size_t i = 0; i < plain.size(); ++i) ASSERT_EQ(indexed[i].linked, plain[i].linked) << i;
    }
  }
}

}  // namespace
