// NC output file names and the dialect pre-passes.
#include "machine/nc_output_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "frame/defaults.h"
#include "frame/param_file.h"
#include "machine/nc_settings.h"
#include "model/vector_records.h"
#include "support/work_folder.h"

namespace {

class NcOutputFilesTest : public ::testing::Test {
 protected:
  torvtest::TWorkFolder work_;
  void WriteJob(const std::vector<TVectorRecord>& records) {
    std::ofstream out(work_.Path() + "/JOB.TMP", std::ios::binary);
    out.write(reinterpret_cast<const char*>(records.data()), static_cast<std::streamsize>(records.size() * 13));
  }
  std::vector<TVectorRecord> ReadJob(const std::string& name) {
    std::ifstream in(work_.Path() + "/" + name, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<TVectorRecord> records(bytes.size() / 13);
    std::memcpy(records.data(), bytes.data(), records.size() * 13);
    return records;
  }
  void TearDown() override { ErrorCode = 0; }
};

TEST_F(NcOutputFilesTest, NameRules) {
  struct TCase {
    const char* name;
    bool digits;
    bool oNumber;
  };
  const TCase cases[] = {
      {"C:\\NC\\1234.TXT", true, false}, {"A123.TXT", false, false}, {"C:\\NC\\.TXT", false, false},
      {"O1234.NC", false, true},         {"C:\\x.y\\o1", false, true}, {"O12345", false, false},
      {"P123", false, false},            {"0042", true, false},       {"O", false, true},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(IsDigitsFileName(c.name), c.digits) << c.name;
    EXPECT_EQ(IsONumberFileName(c.name), c.oNumber) << c.name;
  }
  EXPECT_EQ(GetNcFileNamePart("C:\\a.b\\PROG.NC"), "PROG");
  EXPECT_EQ(GetNcFileFolderPart("C:\\a.b\\PROG.NC"), "C:\\a.b\\");
}

TEST_F(NcOutputFilesTest, AcceptedNamesAreRemembered) {
  delete ParamImage;
  ParamImage = new TParameterImage{};
  TNcSettings* s = new TNcSettings;
  MakeNcSettingsDefaults(*s, "C:\\");
  StoreNcSettings(*s);
  EXPECT_EQ(AcceptNcOutputFileName("C:\\NC\\A12.TXT", 14), "");  // refused: digits only
  LoadNcSettings(*s);
  EXPECT_EQ(ReadNcString(s->LastNcFile, 255), "");
  EXPECT_EQ(AcceptNcOutputFileName("C:\\NC\\PROG.TXT", 0), "C:\\NC\\PROG.TXT");
  LoadNcSettings(*s);
  EXPECT_EQ(ReadNcString(s->LastNcFile, 255), "C:\\NC\\PROG.TXT");
  uint8_t folder[256] = {};
  GetParamBlock(kNcFolderBlock, folder, sizeof folder);
  EXPECT_EQ(ReadNcString(folder, 255), "C:\\NC\\");
  // The name rule of each dialect; a dialect outside the table takes any name.
  const struct {
    const char* name;
    int dialect;
    bool accepted;
  } rules[] = {{"C:\\NC\\A1.NC", 32, false}, {"C:\\NC\\41.NC", 32, true}, {"C:\\NC\\41.NC", 62, false},
               {"C:\\NC\\O41.NC", 62, true}, {"C:\\NC\\A1.NC", 100, true},  {"C:\\NC\\A1.NC", 150, true}};
  for (const auto& r : rules)
    EXPECT_EQ(AcceptNcOutputFileName(r.name, r.dialect), r.accepted ? r.name : "") << r.name << " " << r.dialect;
  delete s;
  delete ParamImage;
  ParamImage = nullptr;
}

TEST_F(NcOutputFilesTest, QuarterTurnOfDialect46) {
  WriteJob({{1, 0, 0, 0}, {11, 10, 0, 0.5f}, {10, 0, 10, 1}, {151, 7, 8, 9}, {12, 3, 4, 5}, {27, -1, 2, 0},
            {19, 5, 6, 1}, {10, -6, 5, 0}});
  RotateJobForDialect46("JOB.TMP", "TURNED.TMP");
  const auto r = ReadJob("TURNED.TMP");
  ASSERT_EQ(r.size(), 8u);
  EXPECT_EQ(+r[0].x, 0.0f);  // extents record copied
  EXPECT_EQ(+r[1].x, 0.0f);
  EXPECT_EQ(+r[1].y, 10.0f);
  EXPECT_EQ(+r[1].z, 0.5f);
  EXPECT_EQ(+r[2].x, -10.0f);
  EXPECT_EQ(+r[2].y, 0.0f);
  EXPECT_EQ(+r[3].x, 7.0f);
  EXPECT_EQ(+r[3].y, 8.0f);
  EXPECT_EQ(+r[4].x, -4.0f);
  EXPECT_EQ(+r[4].y, 3.0f);
  EXPECT_EQ(+r[5].x, -2.0f);
  EXPECT_EQ(+r[5].y, -1.0f);
  // The arc centre turns with the points: its arc keeps its radius.
  EXPECT_EQ(+r[6].x, -6.0f);
  EXPECT_EQ(+r[6].y, 5.0f);
  EXPECT_EQ(+r[6].z, 1.0f);  // the direction stays
  EXPECT_EQ(+r[7].x, -5.0f);
  EXPECT_EQ(+r[7].y, -6.0f);
}

TEST_F(NcOutputFilesTest, CentreRecordsAroundEveryContour) {
  WriteJob({
      {150, 1, 2, 3},                                   // copied once
      {11, 0, 0, 0}, {10, 10, 0, 0}, {10, 10, 20, 0},   // a contour
      {11, 5, 5, 0},                                    // a lone start: dropped
      {157, 1, 2, 3},                                   // copied once
      {11, 2, 4, 0}, {12, 6, 8, 1},                     // a contour up to the end
  });
  AddContourCentreRecords("JOB.TMP", 2.0f);
  const auto r = ReadJob("JOB.TMP");
  const uint8_t types[] = {150, 132, 134, 11, 10, 10, 130, 157, 132, 134, 11, 12, 130};
  ASSERT_EQ(r.size(), std::size(types));
  for (size_t i = 0; i < r.size(); ++i) EXPECT_EQ(+r[i].type, types[i]) << i;
  EXPECT_EQ(+r[1].x, 20.0f);  // centre Y 10 times the scale
  EXPECT_EQ(+r[1].y, 10.0f);
  EXPECT_EQ(+r[2].x, 5.0f);
  EXPECT_EQ(+r[2].y, 10.0f);
  EXPECT_EQ(+r[8].x, 12.0f);
  EXPECT_EQ(+r[9].x, 4.0f);
  EXPECT_EQ(+r[9].y, 6.0f);
}

TEST_F(NcOutputFilesTest, AToolRecordBeforePointsIsNotDuplicated) {
  WriteJob({{11, 0, 0, 0}, {10, 1, 1, 0}, {151, 0, 0, 0}, {10, 2, 2, 0}, {10, 3, 3, 0}});
  AddContourCentreRecords("JOB.TMP", 1.0f);
  const auto r = ReadJob("JOB.TMP");
  int tools = 0;
  int points = 0;
  for (const auto& rec : r) {
    tools += rec.type == 151;
    points += rec.type == 10;
  }
  EXPECT_EQ(tools, 1);
  EXPECT_EQ(points, 3);
}

}  // namespace
