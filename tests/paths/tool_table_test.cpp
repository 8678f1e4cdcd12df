// The tool table and the tools carried by path files.
#include "paths/tool_table.h"

#include "paths_test_support.h"

namespace {

using pathstest::PathsTest;
using pathstest::Rec;

TToolRecord MakeTool(const std::string& name) {
  TToolRecord tool;
  SetToolRecordDefaults(tool, 5);
  tool.name[0] = uint8_t(name.size());
  std::memcpy(&tool.name[1], name.data(), name.size());
  tool.plungeDepth = 2.5f;
  tool.tipRadius = 0.1f;
  tool.angle = 30.0f;
  tool.ballRadius = 0.0f;
  tool.shankRadius = 3.0f;
  tool.feedXY = 12.0f;
  tool.feedZ = 4.0f;
  tool.clearanceHeight = 1.5f;
  tool.spindleSpeed = 24000.0f;
  tool.toolLifePath = 7.0f;
  tool.changeStation = 3;
  return tool;
}

std::string NameOf(const TToolRecord& tool) { return std::string(reinterpret_cast<const char*>(&tool.name[1]), tool.name[0]); }

TEST(ToolColours, StandardColoursAndTheirRepeats) {
  const struct { int32_t number; uint32_t rgb; } cases[] = {
      {0, 0},        {1, 8388608},  {29, 8388608}, {2, 32768},     {16, 32768},   {30, 32768},
      {4, 128},      {6, 128},      {18, 128},     {20, 128},      {7, 12632256}, {21, 12632256},
      {9, 16711680}, {12, 255},     {26, 255},     {14, 65535},    {28, 65535},   {15, 16777215},
      {31, 8421376}, {32, 0},       {-1, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ToolColourToRgb(c.number), c.rgb) << c.number;
}

TEST(ToolChecks, EachBitNamesItsValue) {
  const TToolRecord good = MakeTool("T");
  EXPECT_EQ(CheckToolValues(good, kToolCheckAll), 0);
  EXPECT_TRUE(AreToolValuesComplete(good));
  struct TCase { const char* what; void (*change)(TToolRecord&); uint8_t failed; };
  const TCase cases[] = {
      {"plunge 0", [](TToolRecord& t) { t.plungeDepth = 0; }, kToolCheckPlunge},
      {"no radius", [](TToolRecord& t) { t.tipRadius = 0; t.ballRadius = 0; }, kToolCheckRadius},
      {"ball radius only", [](TToolRecord& t) { t.tipRadius = 0; t.ballRadius = 1; }, 0},
      {"XY feed negative", [](TToolRecord& t) { t.feedXY = -1; }, kToolCheckFeedXY},
      {"Z feed 0", [](TToolRecord& t) { t.feedZ = 0; }, kToolCheckFeedZ},
      {"no station", [](TToolRecord& t) { t.changeStation = 0; }, kToolCheckStation},
  };
  for (const TCase& c : cases) {
    TToolRecord tool = good;
    c.change(tool);
    EXPECT_EQ(CheckToolValues(tool, kToolCheckAll), c.failed) << c.what;
    EXPECT_EQ(CheckToolValues(tool, uint8_t(kToolCheckAll & ~c.failed)), 0) << c.what << ": only asked bits fail";
  }
}

TEST_F(PathsTest, ConfirmShowsOnlyTheFirstFailedGroup) {
  TToolRecord tool = MakeTool("T");
  tool.plungeDepth = 0;
  tool.changeStation = 0;
  EXPECT_FALSE(ConfirmToolValues(tool, kToolCheckAll));
  EXPECT_TRUE(ConfirmToolValues(tool, kToolCheckFeedXY)) << "checks not asked for do not count";
  const std::vector<std::string> boxes = TranscriptLines();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find(GetMessageText(1031, -39)), std::string::npos) << boxes[0];
}

TEST_F(PathsTest, EmptyToolsAndTheFreshTable) {
  EXPECT_FALSE(HasDefinedTools(199)) << "a table of default tools holds no tool";
  TToolRecord tool;
  SetToolRecordDefaults(tool, 9);
  EXPECT_TRUE(IsEmptyToolRecord(tool)) << "the colour does not count";
  tool.extra[2] = 1.0f;
  EXPECT_FALSE(IsEmptyToolRecord(tool));
  WriteToolRecord(MakeTool("Stichel"), 3);
  EXPECT_FALSE(HasDefinedTools(2));
  EXPECT_TRUE(HasDefinedTools(3));
  TToolRecord back;
  ReadToolRecord(back, 3);
  EXPECT_EQ(NameOf(back), "Stichel");
  EXPECT_EQ(+back.changeStation, 3);
}

TEST_F(PathsTest, OnlyPlacesZeroTo199AreTools) {
  for (int32_t place : {-1, 200, 100000}) WriteToolRecord(MakeTool("Falsch"), place);
  EXPECT_FALSE(HasDefinedTools(199)) << "no write outside the table";
  for (int32_t place : {-5, 200}) {
    TToolRecord tool = MakeTool("x");
    ReadToolRecord(tool, place);
    EXPECT_TRUE(IsEmptyToolRecord(tool)) << place;
  }
}

TEST_F(PathsTest, CurrentToolUsableAndCutRadius) {
  CurrentLayer = 2;
  EXPECT_FALSE(IsCurrentToolUsable());
  TToolRecord tool = MakeTool("V");
  tool.angle = 0.0f;
  tool.tipRadius = 1.25f;
  WriteToolRecord(tool, 2);
  EXPECT_TRUE(IsCurrentToolUsable());
  EXPECT_FLOAT_EQ(GetCurrentToolCutRadius(), 1.25f);
  tool.changeStation = 0;
  WriteToolRecord(tool, 2);
  EXPECT_FALSE(IsCurrentToolUsable()) << "no change station, whatever the rest";
}

TEST(ToolRanges, OutOfRangeValues) {
  EXPECT_FALSE(IsToolRecordOutOfRange(MakeTool("ok")));
  struct TCase { const char* what; void (*change)(TToolRecord&); };
  const TCase cases[] = {
      {"name length 41", [](TToolRecord& t) { t.name[0] = 41; }},
      {"angle 91", [](TToolRecord& t) { t.angle = 91; }},
      {"feed 1001", [](TToolRecord& t) { t.feedXY = 1001; }},
      {"plunge negative", [](TToolRecord& t) { t.plungeDepth = -0.1f; }},
      {"speed 500001", [](TToolRecord& t) { t.spindleSpeed = 500001; }},
      {"station 10001", [](TToolRecord& t) { t.changeStation = 10001; }},
  };
  for (const TCase& c : cases) {
    TToolRecord tool = MakeTool("ok");
    c.change(tool);
    EXPECT_TRUE(IsToolRecordOutOfRange(tool)) << c.what;
  }
}

TEST(ToolHeaderRecords, RecordsApplyFieldByField) {
  TToolRecord tool;
  SetToolRecordDefaults(tool, 0);
  const struct { float x; uint8_t type; } typeCases[] = {{300.0f, 0}, {12.6f, 13}, {-1.0f, 0}, {255.4f, 255}};
  for (const auto& c : typeCases) {
    ReadToolHeaderRecord(Rec(155, c.x, 0, 6.0f), tool);
    EXPECT_EQ(+tool.switch132, c.type) << c.x;
    EXPECT_EQ(+tool.feedZ, 6.0f);
  }
  TVectorRecord colour = Rec(151, 0.75f, 0);
  SetRecordZInt(colour, int32_t(ToolColourToRgb(21)));
  ReadToolHeaderRecord(colour, tool);
  EXPECT_EQ(+tool.colorNumber, 7) << "21 comes back as its twin";
  EXPECT_EQ(+tool.ballRadius, 0.75f);
  tool.radiusLimited = 1;
  ReadToolHeaderRecord(Rec(157, 9000, 3, 17.0f), tool);
  EXPECT_EQ(+tool.changeStation, 17);
  EXPECT_EQ(+tool.radiusLimited, 0);
  ReadToolHeaderRecord(Rec(157, 9000, 3, 1e9f), tool);
  EXPECT_EQ(uint16_t(+tool.changeStation), 65535) << "a station beyond 16 bits is capped";
}

TEST(ToolHeaderRecords, NamePiecesNeverReadPastTheirRecord) {
  TToolRecord tool;
  SetToolRecordDefaults(tool, 0);
  TVectorRecord piece = Rec(152, 0, 0);
  uint8_t* bytes = reinterpret_cast<uint8_t*>(&piece);
  bytes[1] = 255;  // a damaged length byte
  std::memcpy(bytes + 2, "ABCDEFGHIJK", 11);
  ReadToolHeaderRecord(piece, tool);
  EXPECT_EQ(NameOf(tool), "ABCDEFGHIJ");
  bytes[1] = 3;
  piece.type = 153;
  ReadToolHeaderRecord(piece, tool);
  EXPECT_EQ(NameOf(tool), "ABCDEFGHIJABC") << "the length byte limits a short piece";
}

TEST_F(PathsTest, ToolsOfAFileAreReadAndRewrittenInPlace) {
  TToolPathHeader first, second;
  BuildToolHeaderBlock(0, MakeTool("Fraeser-Lang-25-Zeichen!"), first, 50.0f);
  BuildToolHeaderBlock(1, MakeTool("Bohrer"), second, 70.0f);
  std::vector<TVectorRecord> file = {Rec(11, 0, 0), Rec(10, 5, 5)};
  file.insert(file.end(), first.records, first.records + 12);
  file.push_back(Rec(11, 1, 1));
  file.push_back(first.records[12]);
  const int32_t secondAt = int32_t(file.size()) + 4;
  file.insert(file.end(), second.records, second.records + 13);
  WriteVectors("TOOLS.TMP", file);

  TToolRecord tools[kToolCount];
  int32_t count = -1;
  ReadToolsOfFile("TOOLS.TMP", tools, count);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(NameOf(tools[0]), "Fraeser-Lang-25-Zeic") << "20 characters travel";
  EXPECT_EQ(NameOf(tools[1]), "Bohrer              ");
  EXPECT_EQ(+tools[1].feedXY, 12.0f);
  EXPECT_EQ(+tools[1].changeStation, 3);
  EXPECT_EQ(+tools[1].switch132, 70);
  EXPECT_TRUE(IsEmptyToolRecord(tools[2]));

  TToolRecord first_;
  ReadFirstToolOfFile("TOOLS.TMP", first_);
  EXPECT_EQ(+first_.switch132, 50);
  TToolRecord fromHeader;
  ReadToolFromHeaderRecords(second.records, 13, fromHeader);
  EXPECT_EQ(NameOf(fromHeader), "Bohrer") << "cut before the first blank";

  TToolRecord changed = MakeTool("Neu");
  changed.feedXY = 33.0f;
  changed.colorNumber = 12;
  WriteToolHeaderRecords("TOOLS.TMP", secondAt, changed);
  std::vector<TVectorRecord> after = ReadVectors("TOOLS.TMP");
  ASSERT_EQ(after.size(), file.size());
  for (size_t i = 0; i < file.size(); ++i)
    if (i < size_t(secondAt) || i >= size_t(secondAt) + 8) { EXPECT_EQ(std::memcmp(&after[i], &file[i], 13), 0) << i; }
  ReadToolsOfFile("TOOLS.TMP", tools, count);
  EXPECT_EQ(+tools[1].feedXY, 33.0f);
  EXPECT_EQ(+tools[1].colorNumber, 12);
  EXPECT_EQ(NameOf(tools[1]), "Neu                 ");
  EXPECT_EQ(+after[size_t(secondAt) + 5].x, 70.0f) << "the block kind stays";

  WriteToolHeaderRecords("TOOLS.TMP", 1, changed);
  EXPECT_EQ(ReadVectors("TOOLS.TMP").size(), file.size());
  EXPECT_EQ(std::memcmp(ReadVectors("TOOLS.TMP").data(), after.data(), after.size() * 13), 0)
      << "a position that holds no tool is left alone";
}

TEST_F(PathsTest, AFileWithoutToolsCountsNone) {
  WriteVectors("PLAIN.TMP", {Rec(11, 0, 0), Rec(10, 1, 1), Rec(150, 1, 1), Rec(10, 2, 2)});
  TToolRecord tools[kToolCount];
  int32_t count = -1;
  ReadToolsOfFile("PLAIN.TMP", tools, count);
  EXPECT_EQ(count, 0);
}

}  // namespace
