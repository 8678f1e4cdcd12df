// The job scan before NC output: extents, tool table, first tool and first
// contour start, read from small vector files the tests write.
#include "machine/nc_job_scan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <vector>

#include "machine/nc_test_support.h"
#include "support/work_folder.h"

namespace {

using nctest::MakeState;

TVectorRecord Rec(uint8_t type, float x, float y, float z) { return TVectorRecord{type, x, y, z}; }

// A name record: a length byte and the characters in the 12 data bytes.
TVectorRecord NameRec(uint8_t type, const std::string& text) {
  TVectorRecord r{type, 0.0f, 0.0f, 0.0f};
  uint8_t data[12] = {};
  data[0] = static_cast<uint8_t>(text.size());
  std::memcpy(data + 1, text.data(), std::min<size_t>(text.size(), 11));
  std::memcpy(&r.x, data, 12);
  return r;
}

class NcJobScanTest : public ::testing::Test {
 protected:
  torvtest::TWorkFolder work_;
  void WriteJob(const std::vector<TVectorRecord>& records) {
    std::ofstream out(work_.Path() + "/JOB.TMP", std::ios::binary);
    out.write(reinterpret_cast<const char*>(records.data()), static_cast<std::streamsize>(records.size() * 13));
  }
  std::unique_ptr<TNcWriterState> Scan() {
    auto st = MakeState(0);
    st->InputFileName = "JOB.TMP";
    ErrorCode = 0;
    ScanNcJob(*st);
    return st;
  }
};

TEST_F(NcJobScanTest, ToolsExtentsAndFirstStart) {
  WriteJob({
      Rec(1, 0, 0, 0), Rec(5, 50, 50, 0),  // extents records are not points
      Rec(150, 3.0f, 0.1f, 30.0f), Rec(151, 0.5f, 0, 0), NameRec(152, "Stichel 30 Grad"),
      NameRec(153, "fein"), Rec(155, 0, 0, 0.2f), Rec(156, 1.5f, 0.3f, 5.0f), Rec(157, 18000.0f, 500.0f, 4.4f),
      Rec(10, 3, 4, 0.3f), Rec(11, -2, 7, 0.1f), Rec(12, 20, -1, 0.8f), Rec(27, 5, 5, 0),
      Rec(156, 2.0f, 1.0f, 8.0f), Rec(157, 12000.0f, 0.0f, 7.0f), Rec(158, 0, 0, 2.5f),
  });
  auto st = Scan();
  EXPECT_EQ(ErrorCode, 0);
  EXPECT_EQ(st->ToolCount, 2);
  const TToolRecord& t0 = st->ToolTable[0];
  EXPECT_EQ(+t0.shankRadius, 3.0f);
  EXPECT_EQ(+t0.tipRadius, 0.1f);
  EXPECT_EQ(+t0.angle, 30.0f);
  EXPECT_EQ(+t0.ballRadius, 0.5f);
  EXPECT_EQ(+t0.feedZ, 0.2f);
  EXPECT_EQ(+t0.feedXY, 1.5f);
  EXPECT_EQ(+t0.changeStation, 4);
  EXPECT_EQ(+st->ToolTable[1].changeStation, 7);
  EXPECT_EQ(+st->ToolTable[1].plungeDepth, 1.0f);
  EXPECT_EQ(st->FirstToolName, "Stichel 30fein");  // ten characters of each piece
  EXPECT_EQ(st->FirstToolSpeed, 18000.0f);
  EXPECT_EQ(st->FirstToolStation, 4);
  EXPECT_EQ(st->ApproachDepth, 0.3f);
  EXPECT_EQ(st->FirstToolClearance, 5.0f);
  EXPECT_EQ(+st->ExtentMin.type, 1);
  EXPECT_EQ(+st->ExtentMin.x, -2.0f);
  EXPECT_EQ(+st->ExtentMin.y, -1.0f);
  EXPECT_EQ(+st->ExtentMin.z, -0.8f);
  EXPECT_EQ(+st->ExtentMax.type, 5);
  EXPECT_EQ(+st->ExtentMax.x, 20.0f);
  EXPECT_EQ(+st->ExtentMax.y, 7.0f);
  EXPECT_EQ(+st->ExtentMax.z, 0.0f);
  EXPECT_EQ(+st->FirstContourStart.type, 11);
  EXPECT_EQ(+st->FirstContourStart.x, -2.0f);
  EXPECT_EQ(st->LastRecord158Z, 2.5f);
}

TEST_F(NcJobScanTest, JobWithoutToolsOrStarts) {
  WriteJob({Rec(10, 1, 1, 0), Rec(10, 2, 3, 0)});
  auto st = Scan();
  EXPECT_EQ(st->ToolCount, 0);
  EXPECT_EQ(st->FirstToolSpeed, 1000.0f);
  EXPECT_EQ(st->FirstToolStation, 0);
  EXPECT_EQ(+st->FirstContourStart.x, 0.0f);
  EXPECT_EQ(+st->FirstContourStart.y, 0.0f);
  EXPECT_EQ(+st->FirstContourStart.z, 0.0f);
  EXPECT_EQ(+st->ToolTable.size(), static_cast<size_t>(kNcToolTableSize));
}

TEST_F(NcJobScanTest, DepthIsNeverShallowerThanTheFirstPlunge) {
  WriteJob({Rec(156, 1.0f, 2.0f, 5.0f), Rec(157, 1000, 0, 1), Rec(11, 0, 0, 0), Rec(10, 5, 5, 0)});
  auto st = Scan();
  EXPECT_EQ(+st->ExtentMin.z, -2.0f);
}

TEST_F(NcJobScanTest, ToolBlocksBeforeTheirCloseShareAnEntry) {
  WriteJob({Rec(156, 1.0f, 2.0f, 5.0f), Rec(156, 3.0f, 4.0f, 6.0f), Rec(157, 1000, 0, 1)});
  auto st = Scan();
  EXPECT_EQ(st->ToolCount, 1);
  EXPECT_EQ(+st->ToolTable[0].feedXY, 3.0f);
  EXPECT_EQ(+st->ToolTable[1].feedXY, +st->ToolTable[2].feedXY);  // untouched defaults
}

TEST_F(NcJobScanTest, ToolTableHoldsAtMost199ClosedTools) {
  std::vector<TVectorRecord> records;
  for (int i = 0; i < 210; ++i) {
    records.push_back(Rec(156, static_cast<float>(i), 1, 1));
    records.push_back(Rec(157, 1000, 0, static_cast<float>(i)));
  }
  WriteJob(records);
  auto st = Scan();
  EXPECT_EQ(st->ToolCount, 199);
  EXPECT_EQ(+st->ToolTable[199].changeStation, 209);  // the last entry is overwritten
}

TEST_F(NcJobScanTest, AMissingFileLeavesTheStartValues) {
  auto st = MakeState(0);
  st->InputFileName = "MISSING.TMP";
  ScanNcJob(*st);
  EXPECT_EQ(+st->ExtentMin.x, 10000.0f);
  EXPECT_EQ(+st->ExtentMax.x, -10000.0f);
  EXPECT_EQ(st->ToolCount, 0);
  ErrorCode = 0;
}

}  // namespace
