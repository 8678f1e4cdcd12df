// Vector records, vector files and point files.
#include "model/vector_records.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/data_file_folder.h"
#include <stdlib.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "frame/data_slots.h"
#include "frame/defaults.h"
#include "platform/files.h"
#include "frame/quiet_files.h"
#include "support/host_files.h"

namespace {

using torvtest::ReadHostFile;

TVectorRecord Rec(uint8_t type, float x, float y, float z = 0.0f) { return TVectorRecord{type, x, y, z}; }

class VectorRecordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    work_ = std::make_unique<torvtest::TDataFileFolder>();
    folder_ = work_->Path();
    ASSERT_TRUE(work_->Entered());
    QuietIoError = 0;
  }
  void TearDown() override {
    FreeVectorBuffer(array_);
    work_.reset();
  }
  std::string Host(const std::string& name) const { return folder_ + "/" + name; }
  void WriteVectors(const std::string& name, const std::vector<TVectorRecord>& records) const {
    torvtest::WriteVectorFile(Host(name), records);
  }
  std::string folder_;
  std::unique_ptr<torvtest::TDataFileFolder> work_;
  TVectorArray array_;
};

// --- records --------------------------------------------------------------------------------------------

TEST(VectorRecordLayout, FieldsSitAtTheirBytes) {
  TVectorRecord record = Rec(kRecLinePoint, 1.0f, -2.0f, kPenUpZ);
  const uint8_t expected[13] = {0x0A, 0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x40, 0x1C, 0xC6};
  EXPECT_EQ(std::memcmp(&record, expected, 13), 0);
  TPointRecord point{kRecContourStart, 0.5f, 4.0f};
  const uint8_t pointBytes[9] = {0x0B, 0x00, 0x00, 0x00, 0x3F, 0x00, 0x00, 0x80, 0x40};
  EXPECT_EQ(std::memcmp(&point, pointBytes, 9), 0);
  SetRecordZInt(record, 0x01020304);
  const uint8_t zBytes[4] = {0x04, 0x03, 0x02, 0x01};
  EXPECT_EQ(std::memcmp(reinterpret_cast<uint8_t*>(&record) + 9, zBytes, 4), 0);
  EXPECT_EQ(GetRecordZInt(record), 0x01020304);
}

TEST(VectorRecordLayout, PenUpMark) {
  EXPECT_TRUE(IsPenUpPoint(Rec(10, 1, 1, -10000.0f)));
  EXPECT_TRUE(IsPenUpPoint(Rec(10, 1, 1, -10001.0f)));
  EXPECT_FALSE(IsPenUpPoint(Rec(10, 1, 1, -9999.0f))) << "a line";
  EXPECT_FALSE(IsPenUpPoint(Rec(12, 1, 1, -10000.0f))) << "only line points carry the mark";
  TVectorRecord empty = Rec(10, 1, 2, 3);
  ZeroVectorRecord(empty);
  const uint8_t zeros[13] = {};
  EXPECT_EQ(std::memcmp(&empty, zeros, 13), 0);
}

// --- tool path header ------------------------------------------------------------------------------------

TToolRecord ToolNamed(const std::string& name) {
  TToolRecord tool;
  std::memset(&tool, 0, sizeof tool);
  SetToolRecordDefaults(tool, 12);
  tool.name[0] = static_cast<uint8_t>(name.size());
  std::memcpy(&tool.name[1], name.data(), name.size());
  tool.plungeDepth = 3.5f;
  tool.clearanceHeight = 2.0f;
  tool.tipRadius = 0.25f;
  tool.angle = 30.0f;
  tool.ballRadius = 1.5f;
  tool.shankRadius = 3.0f;
  tool.feedXY = 20.0f;
  tool.feedZ = 5.0f;
  tool.spindleSpeed = 18000.0f;
  tool.toolLifePath = 99.0f;
  tool.changeStation = 7;
  return tool;
}

TEST(ToolHeader, BlockCarriesTheToolFieldByField) {
  TToolPathHeader header;
  BuildToolHeaderBlock(4, ToolNamed("V-Nut"), header, 40.0f);
  const uint8_t types[13] = {1, 5, 6, 7, 150, 151, 152, 153, 154, 155, 156, 157, 9};
  for (int i = 0; i < 13; ++i) EXPECT_EQ(+header.records[i].type, types[i]) << "record " << i + 1;
  const TVectorRecord* r = header.records;
  EXPECT_EQ(GetRecordZInt(r[0]), 1);
  EXPECT_EQ(+r[0].x, 0.0f);
  EXPECT_EQ(+r[2].x, 1.0f);
  EXPECT_EQ(+r[3].x, 1.0f);
  EXPECT_EQ(GetRecordZInt(r[3]), 4);
  EXPECT_EQ(+r[4].x, 3.0f);
  EXPECT_EQ(+r[4].y, 0.25f);
  EXPECT_EQ(+r[4].z, 30.0f);
  EXPECT_EQ(+r[5].x, 1.5f);
  EXPECT_EQ(GetRecordZInt(r[5]), static_cast<int32_t>(GetColorNumberRgb(12)));
  EXPECT_EQ(+r[9].x, 40.0f);
  EXPECT_EQ(+r[9].z, 5.0f);
  EXPECT_EQ(+r[10].x, 20.0f);
  EXPECT_EQ(+r[10].y, 3.5f);
  EXPECT_EQ(+r[10].z, 2.0f);
  EXPECT_EQ(+r[11].x, 18000.0f);
  EXPECT_EQ(+r[11].y, 99.0f);
  EXPECT_EQ(+r[11].z, 7.0f);
  const uint8_t zeros[13] = {9};
  EXPECT_EQ(std::memcmp(&r[12], zeros, 13), 0);
  EXPECT_EQ(std::memcmp(&r[8].x, zeros + 1, 12), 0);
  // Name records: length byte 11, ten characters, a zero byte.
  const uint8_t* name1 = reinterpret_cast<const uint8_t*>(&r[6]);
  EXPECT_EQ(name1[1], 11);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(name1 + 2), 10), "V-Nut     ");
  EXPECT_EQ(name1[12], 0);
}

TEST(ToolHeader, NamesReadBackFromTheirTwoRecords) {
  const struct { const char* name; const char* back; } cases[] = {
      {"ABCD", "ABCD                "},
      {"123456789012345678901234", "12345678901234567890"},
      {"", "                    "},
      {"0123456789", "0123456789          "},
  };
  for (const auto& c : cases) {
    TToolPathHeader header;
    BuildToolHeaderBlock(0, ToolNamed(c.name), header, 33.0f);
    EXPECT_EQ(JoinToolNameRecords(header.records[6], header.records[7]), c.back) << c.name;
  }
  TVectorRecord name1 = Rec(152, 0, 0), name2 = Rec(153, 0, 0);
  std::memcpy(reinterpret_cast<uint8_t*>(&name1) + 2, "AB\0CDEFGHI", 10);
  EXPECT_EQ(JoinToolNameRecords(name1, name2), "AB") << "readers stop at a zero";
}

TEST_F(VectorRecordsTest, ToolPathFilesAreRecognisedByTheirHeader) {
  TToolPathHeader header;
  BuildToolHeaderBlock(2, ToolNamed("Fraeser"), header, 60.0f);
  const std::vector<TVectorRecord> block(header.records, header.records + 13);
  auto withFront = [&](std::vector<TVectorRecord> front) {
    front.insert(front.end(), block.begin(), block.end());
    return front;
  };
  const TVectorRecord point = Rec(10, 1, 1);
  const TVectorRecord lead = Rec(132, 0, 0);
  const struct { const char* what; std::vector<TVectorRecord> records; bool path; } cases[] = {
      {"header first", withFront({}), true},
      {"after a lead record", withFront({lead}), true},
      {"at the fifth position", withFront({point, point, point, point}), true},
      {"at the fifth position after a lead", withFront({lead, point, point, point, point}), true},
      {"at the sixth position", withFront({point, point, point, point, point}), false},
      {"two lead records", withFront({lead, lead, point, point, point, point}), false},
      {"cut after six header records", std::vector<TVectorRecord>(block.begin(), block.begin() + 6), false},
      {"empty", {}, false},
  };
  for (const auto& c : cases) {
    WriteVectors("PATH.TMP", c.records);
    EXPECT_EQ(IsToolPathFile("PATH.TMP"), c.path) << c.what;
  }
  std::vector<TVectorRecord> swapped = block;
  std::swap(swapped[4], swapped[5]);
  WriteVectors("PATH.TMP", swapped);
  EXPECT_FALSE(IsToolPathFile("PATH.TMP")) << "types out of order";
  std::vector<TVectorRecord> noName = block;
  noName[6].type = 153;
  WriteVectors("PATH.TMP", noName);
  EXPECT_FALSE(IsToolPathFile("PATH.TMP")) << "the name record must follow";
  EXPECT_FALSE(IsToolPathFile("MISSING.TMP"));
  EXPECT_EQ(ErrorCode, 0);
}

// --- arrays ----------------------------------------------------------------------------------------------------

TEST_F(VectorRecordsTest, ArraysRoundTripAndAppend) {
  ASSERT_TRUE(AllocVectorBuffer(array_, 3));
  EXPECT_EQ(array_.capacity, 3);
  array_.records[0] = Rec(11, 1, 2, -1003);
  array_.records[1] = Rec(10, 3, 4, kPenUpZ);
  array_.records[2] = Rec(13, 5, 1, -6.28f);
  WriteVectorBufferToFile("A.TMP", array_);
  AppendVectorBufferToFile("A.TMP", array_);
  TVectorArray loaded;
  LoadVectorFileToBuffer("A.TMP", loaded);
  ASSERT_EQ(loaded.count, 6);
  EXPECT_EQ(loaded.capacity, 6);
  EXPECT_EQ(std::memcmp(loaded.records, array_.records, 39), 0);
  EXPECT_EQ(std::memcmp(loaded.records + 3, array_.records, 39), 0);
  FreeVectorBuffer(loaded);
  EXPECT_EQ(loaded.records, nullptr);
  EXPECT_EQ(loaded.count, 0);
  EXPECT_EQ(loaded.capacity, 0);

  WriteRecordArrayToFile("B.TMP", array_);
  AppendRecordArrayToFile("B.TMP", array_);
  LoadRecordArray("B.TMP", loaded);
  EXPECT_EQ(loaded.count, 6);
  FreeRecordArray(loaded);
  EXPECT_EQ(ReadHostFile(Host("A.TMP")), ReadHostFile(Host("B.TMP")));
  EXPECT_EQ(ErrorCode, 0);
}

TEST_F(VectorRecordsTest, AnOddSizedFileLoadsNothing) {
  std::ofstream(Host("ODD.TMP"), std::ios::binary) << std::string(13 * 4 + 5, '\x0a');
  LoadVectorFileToBuffer("ODD.TMP", array_);
  EXPECT_EQ(array_.count, 0);
  EXPECT_EQ(array_.records, nullptr);
  EXPECT_EQ(ErrorCode, 1010);
  EXPECT_NE(ReadHostFile(Host("MENUREC.TXT")).find("ODD.TMP"), std::string::npos);

  ErrorCode = 0;
  LoadRecordArray("ODD.TMP", array_);
  EXPECT_EQ(array_.count, 0);
  EXPECT_EQ(ErrorCode, 1010);
}

TEST_F(VectorRecordsTest, QuietLoadsOfMissingFilesSayNothing) {
  LoadRecordArray("MISSING.TMP", array_);
  EXPECT_EQ(array_.count, 0);
  EXPECT_EQ(CountVectorRecordsQuiet("MISSING.TMP"), 0);
  EXPECT_FALSE(std::filesystem::exists(Host("MENUREC.TXT")));
  EXPECT_FALSE(std::filesystem::exists(Host("transcript.txt")));
  WriteVectors("C.TMP", {Rec(10, 0, 0), Rec(10, 1, 1)});
  EXPECT_EQ(CountVectorRecordsQuiet("C.TMP"), 2);
}

// --- conversions --------------------------------------------------------------------------------------------------

TEST(RecordFileKinds, ByExtension) {
  const struct { const char* name; int kind; } cases[] = {
      {"A.TMP", 0}, {"a.lg1", 0}, {"B.H2R", 1}, {"C:\\X\\B.PLI", 1}, {"B.TMP.PLI", 1},
      {"D.SLD", 2}, {"E", 2},     {"C:\\D.TMP\\E", 2},
  };
  for (const auto& c : cases) EXPECT_EQ(GetRecordFileKind(c.name), c.kind) << c.name;
}

TEST_F(VectorRecordsTest, PointToVectorAndBackGivesTheSameBytes) {
  std::mt19937 random(42);
  std::uniform_real_distribution<float> coordinate(-5000.0f, 5000.0f);
  const uint8_t types[] = {10, 11, 12, 13, 18, 27, 128};
  std::vector<TPointRecord> points;
  for (int i = 0; i < 4500; ++i)
    points.push_back(TPointRecord{types[random() % 7], coordinate(random), coordinate(random)});
  const std::string bytes(reinterpret_cast<const char*>(points.data()), points.size() * 9);
  std::ofstream(Host("IN.H2R"), std::ios::binary) << bytes;

  CopyFileConvertingRecords("IN.H2R", "MID.TMP", 1);
  const std::string middle = ReadHostFile(Host("MID.TMP"));
  ASSERT_EQ(middle.size(), 4500u * 13);
  for (size_t i = 0; i < 4500; ++i) {
    ASSERT_EQ(middle.compare(i * 13, 9, bytes, i * 9, 9), 0) << "record " << i;
    ASSERT_EQ(middle.compare(i * 13 + 9, 4, std::string(4, '\0')), 0) << "z of record " << i;
  }
  CopyFileConvertingRecords("MID.TMP", "OUT.PLI", 1);
  EXPECT_EQ(ReadHostFile(Host("OUT.PLI")), bytes);
  EXPECT_EQ(QuietIoError, 0);
}

TEST_F(VectorRecordsTest, ConversionsAppendWhenAsked) {
  WriteVectors("V.TMP", {Rec(11, 1, 2, 5), Rec(10, 3, 4, 6)});
  ConvertVectorFileToPointFile("V.TMP", "P.H2R", false);
  ConvertVectorFileToPointFile("V.TMP", "P.H2R", true);
  EXPECT_EQ(std::filesystem::file_size(Host("P.H2R")), 36u);
  CopyFileConvertingRecords("V.TMP", "W.TMP", 1);
  CopyFileConvertingRecords("V.TMP", "W.TMP", 0);
  EXPECT_EQ(ReadHostFile(Host("W.TMP")), ReadHostFile(Host("V.TMP")) + ReadHostFile(Host("V.TMP")));
}

TEST_F(VectorRecordsTest, AnUnknownKindCopiesNothing) {
  WriteVectors("V.TMP", {Rec(11, 1, 2)});
  std::ofstream(Host("T.SLD")) << "keep";
  CopyFileConvertingRecords("V.TMP", "T.SLD", 1);
  EXPECT_EQ(QuietIoError, 1);
  EXPECT_EQ(ReadHostFile(Host("T.SLD")), "keep");
}

// --- extents --------------------------------------------------------------------------------------------------

TEST_F(VectorRecordsTest, FileExtentsCountLinePointsOnly) {
  WriteVectors("E.TMP", {Rec(1, -900, -900), Rec(5, 900, 900), Rec(13, 50, 50, 1), Rec(150, 99, 99)});
  TExtentsPair pair;
  ComputeFileExtents("E.TMP", pair);
  EXPECT_EQ(+pair.minCorner.type, 1);
  EXPECT_EQ(+pair.minCorner.x, 100000.0f);
  EXPECT_EQ(+pair.minCorner.y, 100000.0f);
  EXPECT_EQ(+pair.maxCorner.type, 5);
  EXPECT_EQ(+pair.maxCorner.x, -100000.0f);
  EXPECT_EQ(+pair.maxCorner.y, -100000.0f);

  WriteVectors("F.TMP", {Rec(11, 1, 2), Rec(10, -3, 8), Rec(12, 5, -1, 40)});
  ComputeFileExtents("F.TMP", pair);
  EXPECT_EQ(+pair.minCorner.x, -3.0f);
  EXPECT_EQ(+pair.minCorner.y, -1.0f);
  EXPECT_EQ(+pair.maxCorner.x, 5.0f);
  EXPECT_EQ(+pair.maxCorner.y, 8.0f);
  EXPECT_EQ(AnyPointOutsideExtents("F.TMP", pair), 0) << "bounds are inclusive";
  TExtentsPair smaller = pair;
  smaller.maxCorner.y = 7.9f;
  EXPECT_EQ(AnyPointOutsideExtents("F.TMP", smaller), 1);

  GrowExtents(pair, 1.0f);
  EXPECT_EQ(+pair.minCorner.x, -4.0f);
  EXPECT_EQ(+pair.maxCorner.y, 9.0f);
  TExtentsPair other{{1, -10, 0}, {5, 0, 20}}, merged;
  MergeExtents(pair, other, merged);
  EXPECT_EQ(+merged.minCorner.x, -10.0f);
  EXPECT_EQ(+merged.minCorner.y, -2.0f);
  EXPECT_EQ(+merged.maxCorner.x, 6.0f);
  EXPECT_EQ(+merged.maxCorner.y, 20.0f);
  TVectorExtentsPair vectorPair;
  ClearVectorExtents(vectorPair);
  EXPECT_EQ(+vectorPair.minCorner.x, 100000.0f);
  EXPECT_EQ(+vectorPair.maxCorner.y, -100000.0f);
  EXPECT_EQ(+vectorPair.maxCorner.z, 0.0f);
}

// --- records by meaning under maps -------------------------------------------------------------------------------

struct TArcPoints { double cx, cy, ex, ey; };

// Centre and end point of an arc record that starts at (px, py).
TArcPoints ArcPoints(double px, double py, const TVectorRecord& arc) {
  const double cx = px - arc.x * std::cos(arc.y), cy = py - arc.x * std::sin(arc.y);
  return {cx, cy, cx + arc.x * std::cos(arc.y + arc.z), cy + arc.x * std::sin(arc.y + arc.z)};
}

TEST(RecordMaps, ArcsKeepTheirGeometryUnderMirrorsAndUniformScales) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> any(-50.0, 50.0), angle(0.0, 6.28), sweep(-6.28, 6.28);
  const double factors[] = {1.0, -1.0, 2.5, -0.5};
  for (int trial = 0; trial < 200; ++trial) {
    const double px = any(random), py = any(random);
    const TVectorRecord arc = Rec(kRecArc, float(1.0 + std::fabs(any(random))), float(angle(random)),
                                  float(sweep(random)));
    const double fx = factors[random() % 4], fy = (random() % 2 ? 1.0 : -1.0) * std::fabs(fx);
    const double bx = any(random), by = any(random);
    TVectorRecord mapped = arc;
    MapRecordAxes(mapped, fx, bx, fy, by);
    const TArcPoints before = ArcPoints(px, py, arc);
    const TArcPoints after = ArcPoints(fx * px + bx, fy * py + by, mapped);
    ASSERT_NEAR(after.cx, fx * before.cx + bx, 1e-3) << trial;
    ASSERT_NEAR(after.cy, fy * before.cy + by, 1e-3) << trial;
    ASSERT_NEAR(after.ex, fx * before.ex + bx, 1e-3) << trial;
    ASSERT_NEAR(after.ey, fy * before.ey + by, 1e-3) << trial;
    ASSERT_GE(+mapped.y, 0.0f);
    ASSERT_LT(+mapped.y, 6.2832f);
  }
}

TEST(RecordMaps, ArcsTurnWithTheirPoints) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> any(-50.0, 50.0), angle(0.0, 6.28), sweep(-6.28, 6.28);
  for (int trial = 0; trial < 200; ++trial) {
    const TVectorRecord arc = Rec(kRecArc, float(1.0 + std::fabs(any(random))), float(angle(random)),
                                  float(sweep(random)));
    TVectorRecord start = Rec(kRecLinePoint, float(any(random)), float(any(random)));
    const double cx = any(random), cy = any(random), turn = sweep(random);
    const TArcPoints before = ArcPoints(start.x, start.y, arc);
    TVectorRecord turned = arc, centre = Rec(kRecArcCentre, float(before.cx), float(before.cy), 1.0f);
    RotateRecordAbout(turned, cx, cy, turn);
    RotateRecordAbout(start, cx, cy, turn);
    RotateRecordAbout(centre, cx, cy, turn);
    const TArcPoints after = ArcPoints(start.x, start.y, turned);
    ASSERT_NEAR(after.cx, +centre.x, 1e-3) << trial;
    ASSERT_NEAR(after.cy, +centre.y, 1e-3) << trial;
    ASSERT_EQ(+centre.z, 1.0f) << "turning keeps the direction";
  }
}

TEST(RecordMaps, EachTypeByItsMeaning) {
  // Mirror in x about 0: x' = -x.
  const struct { TVectorRecord in; TVectorRecord out; } cases[] = {
      {Rec(10, 3, 4, kPenUpZ), Rec(10, -3, 4, kPenUpZ)},
      {Rec(11, 3, 4, -1003), Rec(11, -3, 4, -1003)},
      {Rec(14, 1, 2), Rec(14, -1, 2)},
      {Rec(16, 1, 2), Rec(16, -1, 2)},
      {Rec(19, 1, 2, 1), Rec(19, -1, 2, 0)},
      {Rec(19, 1, 2, 0), Rec(19, -1, 2, 1)},
      {Rec(19, 1, 2, 2.5f), Rec(19, -1, 2, -2.5f)},
      {Rec(20, 4, 2), Rec(20, 4, 2)},
      {Rec(128, 3, 0), Rec(128, 3, 0)},
      {Rec(131, 1, 2, 3), Rec(131, 1, 2, 3)},
      {Rec(150, 1, 2, 3), Rec(150, 1, 2, 3)},
      {Rec(1, 1, 2), Rec(1, 1, 2)},
      {Rec(22, 1, 2, 3), Rec(22, 1, 2, 3)},
  };
  for (const auto& c : cases) {
    TVectorRecord record = c.in;
    MapRecordAxes(record, -1.0, 0.0, 1.0, 0.0);
    EXPECT_EQ(std::memcmp(&record, &c.out, 13), 0) << "type " << int(+c.in.type);
  }
  TVectorRecord radii = Rec(20, 4, 2);
  MapRecordAxes(radii, -2.0, 0.0, 3.0, 0.0);
  EXPECT_EQ(+radii.x, 8.0f);
  EXPECT_EQ(+radii.y, 6.0f);
  TVectorRecord elliptic = Rec(21, 0.5f, 1.0f);
  MapRecordAxes(elliptic, 1.0, 0.0, -1.0, 0.0);
  EXPECT_NEAR(+elliptic.x, 6.283185307 - 0.5, 1e-6);
  EXPECT_EQ(+elliptic.y, -1.0f);
}

}  // namespace
