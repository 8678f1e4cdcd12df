// Tool, spindle, feed, coolant, dwell and cycle words of the NC dialects.
#include "machine/nc_words.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "machine/nc_gcode_dialects.h"
#include "machine/nc_test_support.h"
#include "support/work_folder.h"

namespace {

using nctest::Buffered;
using nctest::MakeState;

TEST(NcToolWordTest, ToolCallsOfTheDialects) {
  struct TCase {
    int dialect;
    int32_t tool;
    const char* expected;
  };
  const TCase cases[] = {
      {0, 7, "T7"},           {22, 5, "TOOL CALL 5 Z"}, {69, 5, "TOOL CALL 5 W"}, {42, 5, "T05"},
      {42, 12, "T12"},        {6, 1002, "TT2"},         {6, 999, "T999"},         {9, 4, "GETTOOL 4"},
      {18, 3, "T3 D3"},       {40, 3, "TT=3"},          {60, 3, "(Werkzeug: T3)"}, {74, 5, "T05"},
      {87, 12, "T12"},        {80, 2, "G0 C2"},         {81, 2, "G00 T2"},        {98, 1, "G17 T1"},
      {23, 5, ""},            {44, 5, ""},              {2, 4, "T4"},             {100, 4, "T4"},
      // the dialects whose programs never call the tool word in the goldens
      {29, 5, ""},            {30, 5, ""},              {31, 5, ""},              {38, 5, ""},
      {82, 5, ""},            {93, 5, "TOOL CALL 5 W"}, {48, 5, "T5"},            {75, 7, "T07"},
  };
  for (const TCase& c : cases) {
    auto st = MakeState(c.dialect);
    st->LastToolStation = c.tool;
    st->PathLength = 12.0;
    EXPECT_EQ(FormatToolWord(*st), c.expected) << "dialect " << c.dialect;
    EXPECT_EQ(st->NumberNextToolBlock, 1);
    EXPECT_EQ(st->PathLength, 0.0);
  }
}

TEST(NcToolWordTest, DialectTwoCallsToolZeroWithCodeTwo) {
  auto st = MakeState(78);
  st->Machine.DialectRecords[2].ToolChangeCode = 2;
  st->LastToolStation = 4;
  EXPECT_EQ(FormatToolWord(*st), "T0");
}

TEST(NcToolWordTest, DrillHeadsOfDialect25) {
  auto st = MakeState(25);
  st->LastToolStation = 3;
  EXPECT_EQ(FormatToolWord(*st), "G00 T3");
  st->LastToolStation = 1002;
  EXPECT_EQ(FormatToolWord(*st), "M38\r\nG98 P300 D2");
  st->LastToolStation = 1003;
  EXPECT_EQ(FormatToolWord(*st), "\r\nG98 P300 D3");
  EXPECT_EQ(FormatToolWord(*st), "");
  st->LastToolStation = 3;
  EXPECT_EQ(FormatToolWord(*st), "M48\r\nG00 T3");
}

TEST(NcToolWordTest, MazakToolFormats) {
  struct TCase {
    uint8_t bits;
    int32_t tool;
    const char* expected;
  };
  const TCase cases[] = {{16, 7, "T0700.0"}, {17, 300, "T300000.0"}, {17, 12, "T012000.0"},
                         {20, 7, "T0707.0"}, {32, 7, "T0700.1"},      {3, 7, "T"},
                         {21, 300, "T300000.0"}, {0, 7, "T0700"}};
  for (const TCase& c : cases) {
    auto st = MakeState(32);
    st->ToolChangerBits = c.bits;
    st->LastToolStation = c.tool;
    EXPECT_EQ(FormatToolWord(*st), c.expected) << int(c.bits) << " " << c.tool;
  }
}

TEST(NcToolWordTest, ToolChangeCodes) {
  struct TCase {
    int dialect;
    uint8_t code;
    const char* expected;
  };
  const TCase cases[] = {{0, 1, " M6"},  {1, 1, " M06"}, {5, 2, " M66"}, {22, 3, " M"}, {1, 3, ""},
                         {0, 3, ""},     {0, 4, " M00"}, {48, 1, ""},    {93, 4, ""},   {0, 9, ""},
                         {23, 1, " M6"}, {29, 1, " M6"}, {30, 2, " M66"}, {31, 4, " M00"}, {38, 1, " M6"},
                         {44, 3, ""},    {60, 1, " M6"}, {82, 1, " M6"},  {93, 1, ""},     {47, 3, " M"}};
  for (const TCase& c : cases) {
    auto st = MakeState(c.dialect);
    st->Machine.DialectRecords[c.dialect].ToolChangeCode = c.code;
    EXPECT_EQ(GetToolChangeCode(*st), c.expected) << "dialect " << c.dialect << " code " << int(c.code);
  }
}

TEST(NcToolWordTest, NextToolOfDialect61) {
  auto st = MakeState(61);
  st->ToolTable.assign(kNcToolTableSize, TToolRecord{});
  st->ToolTable[0].changeStation = 4;
  st->ToolTable[1].changeStation = 9;
  st->ToolCount = 2;
  st->ToolHeaderCount = 0;
  EXPECT_EQ(FormatNextToolWord(*st), "T9");
  st->ToolHeaderCount = 1;  // the last tool: back to the first
  EXPECT_EQ(FormatNextToolWord(*st), "T4");
  auto other = MakeState(0);
  EXPECT_EQ(FormatNextToolWord(*other), "");
  EXPECT_EQ(other->NumberNextToolBlock, 1);
}

TEST(NcSpindleWordTest, SpeedsOfTheDialects) {
  struct TCase {
    int dialect;
    float speed;
    const char* expected;
  };
  const TCase cases[] = {
      {0, 12000.0f, "S12000"},     {4, 24000.0f, " S44"},       {6, 8000.0f, " S8000"},
      {9, 8000.0f, " SPINDLE CW RPM8000 TIME2000"},            {20, 8000.0f, " P2000=8000"},
      {48, 24000.0f, "U10"},       {48, 10000.0f, "U4.2"},      {48, 1000.0f, "U2"},
      {59, 8000.0f, " E8000"},     {74, 8000.0f, "S2=8000"},    {76, 8000.0f, "M3 S8000"},
      {87, 8000.0f, "S+8000"},     {42, 8000.0f, "S8000"},      {4, 60000.0f, " S100"},
      {23, 8000.0f, ""},           {0, 0.0f, ""},               {0, 200000.0f, "S100000."},
      {31, 8000.0f, "SEV VV99 8000\r\nSEO 99\r\nWTT 99\r\nSEO 110\r\nWTT 110\r\nTIM 2500"},
  };
  for (const TCase& c : cases) {
    auto st = MakeState(c.dialect);
    st->LastSpindleSpeed = c.speed;
    EXPECT_EQ(FormatSpindleWord(*st), c.expected) << "dialect " << c.dialect << " speed " << c.speed;
  }
}

TEST(NcSpindleWordTest, CappedSpeedsAreKeptForTheRun) {
  auto st = MakeState(4);
  st->LastSpindleSpeed = 60000.0f;
  FormatSpindleWord(*st);
  EXPECT_EQ(st->LastSpindleSpeed, 54000.0f);
  auto st48 = MakeState(48);
  st48->LastSpindleSpeed = 70000.0f;
  EXPECT_EQ(FormatSpindleWord(*st48), "U25");
  EXPECT_EQ(st48->LastSpindleSpeed, 60000.0f);
}

TEST(NcSpindleWordTest, MacroVariablesOfDialect37) {
  auto st = MakeState(37);
  st->Machine.CurrentDialect = 37;
  st->Machine.DialectRecords[37].MacroVariables = 1;
  st->ToolHeaderCount = 2;
  st->LastSpindleSpeed = 8000.0f;
  st->LastFeed = 1.0f;
  EXPECT_EQ(FormatSpindleWord(*st), "S[SpdDrehz__3]");
  EXPECT_EQ(FormatFeedWord(*st), " F[VorschubXY3]");
  st->Plunging = 1;
  EXPECT_EQ(FormatFeedWord(*st), " F[VorschubZ_3]");
  st->Machine.DialectRecords[37].MacroVariables = 2;
  EXPECT_EQ(FormatSpindleWord(*st), "S8000");
  EXPECT_EQ(FormatFeedWord(*st), " F1000");
}

TEST(NcSpindleWordTest, Dialect5CapsAt127WithOneWarningPerRun) {
  torvtest::TWorkFolder work;
  auto st = MakeState(5);
  st->LastSpindleSpeed = 24000.0f;
  EXPECT_EQ(FormatSpindleWord(*st), " S127");
  EXPECT_EQ(st->LastSpindleSpeed, 127.0f);
  EXPECT_EQ(st->SpindleSpeed, 127.0f);
  EXPECT_EQ(st->SpeedCapWarned, 1);
  st->LastSpindleSpeed = 20000.0f;
  EXPECT_EQ(FormatSpindleWord(*st), " S127");
  std::ifstream in(work.Path() + "/transcript.txt");
  const std::string transcript((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // One message box in all: one transcript line.
  EXPECT_EQ(std::count(transcript.begin(), transcript.end(), '\n'), 1) << transcript;
}

TEST(NcFeedWordTest, FeedsOfTheDialects) {
  struct TCase {
    int dialect;
    float feed;
    const char* expected;
  };
  const TCase cases[] = {
      {0, 0.01f, ""},         {0, 1.2f, " F1200"},       {25, 1.2f, " F20"},    {9, 1.2f, " VEL 20000"},
      {31, 1.2f, " FED 1200"}, {3, 1.2f, " F1.2"},       {13, 1.2f, " F20"},    {48, 1.2f, " F200"},
      {4, 1.2f, " F1200"},    {29, 1.2f, ""},            {0, 0.0125f, " F12.5"},
  };
  for (const TCase& c : cases) {
    auto st = MakeState(c.dialect);
    st->LastFeed = c.feed;
    EXPECT_EQ(FormatFeedWord(*st), c.expected) << "dialect " << c.dialect << " feed " << c.feed;
  }
}

// A feed the control would read as F0 stops the cut or trips the control:
// every feed above the threshold of 0.01 m/min writes a non-zero word, by
// unit and number kind.
TEST(NcFeedWordTest, SlowFeedsNeverWriteZero) {
  struct TCase {
    int dialect;
    float feed;  // m/min
    const char* expected;
  };
  const TCase cases[] = {
      // whole mm/s: rounded to the nearest, 1 where that would be 0
      {25, 0.011f, " F1"},   {41, 0.02f, " F1"},    {58, 0.029f, " F1"},   {81, 0.03f, " F1"},
      {58, 0.045f, " F1"},   {58, 0.1f, " F2"},     {58, 0.6f, " F10"},    {25, 1.2f, " F20"},
      // tenths of mm/s, whole mm/min, micrometres/s: the threshold keeps them above 0
      {48, 0.011f, " F2"},   {4, 0.011f, " F11"},   {31, 0.011f, " FED 11"}, {9, 0.011f, " VEL 183"},
      // decimal numbers in m/min, mm/min, mm/s and inch/min
      {3, 0.011f, " F0.011"}, {0, 0.011f, " F11"},  {13, 0.011f, " F0.183"}, {80, 0.011f, " F0.4331"},
  };
  for (const TCase& c : cases) {
    auto st = MakeState(c.dialect);
    st->LastFeed = c.feed;
    EXPECT_EQ(FormatFeedWord(*st), c.expected) << "dialect " << c.dialect << " feed " << c.feed;
  }
}

TEST(NcCoolantWordTest, OnAndOffWordsOfTheDialects) {
  struct TCase {
    int dialect;
    uint8_t on;
    uint8_t kind;
    const char* expected;
  };
  const TCase cases[] = {
      {12, 0, 1, ""},     {12, 1, 1, "M36"},    {8, 0, 1, "M3"},       {8, 1, 1, "M3 M8"},
      {1, 1, 1, "M13"},   {1, 0, 1, "M03"},     {7, 1, 2, "M7"},       {7, 1, 3, "M8"},
      {88, 1, 3, "M50"},  {88, 1, 2, "M7"},     {9, 0, 1, "COOLANT OFF"}, {48, 1, 1, "M10 O4.1"},
      {74, 0, 1, "M27"},  {92, 1, 1, "M12"},    {98, 1, 1, "M8 G4 F4"}, {0, 0, 1, ""},
      {0, 1, 1, "M8"},    {25, 1, 1, ""},       {50, 0, 1, "M9"},      {42, 1, 1, "M08"},
  };
  for (const TCase& c : cases) {
    auto st = MakeState(c.dialect);
    st->Machine.CoolantOn = c.on;
    st->Machine.CoolantKind = c.kind;
    EXPECT_EQ(GetCoolantWord(*st), c.expected) << "dialect " << c.dialect;
    EXPECT_EQ(st->CoolantPending, 0);
  }
  auto st = MakeState(57);
  st->Machine.DialectRecords[57].CoolantM50 = 1;
  st->Machine.DialectRecords[57].CoolantM52 = 1;
  EXPECT_EQ(GetCoolantWord(*st), "M8 M50 M52");
  st->Machine.CoolantOn = 0;
  EXPECT_EQ(GetCoolantWord(*st), "M9 M51 M53");
}

TEST(NcExtraBlocksTest, DwellCycleRotaryAndRapidBlocks) {
  auto st = MakeState(0);
  st->Machine.CurrentDialect = 5;
  st->Machine.DialectRecords[5].DwellTime = 1.5f;
  WriteDialectDwell(*st);
  st->Machine.DialectRecords[5].DwellTime = 0.0f;
  WriteDialectDwell(*st);
  for (float s : {15000.0f, 15001.0f, 30000.0f, 30001.0f}) {
    st->LastSpindleSpeed = s;
    WriteSpindleRampDwell(*st);
  }
  WriteCycleCallBlock(*st);
  st->Machine.CycleFeed = 1.5f;
  WriteCycleCallBlock(*st);
  WriteRotaryAxisDeclaration(*st);  // no rotary diameter: nothing
  st->RotaryOn = 1;
  st->Machine.RotaryDiameter = 40.0f;
  st->RotaryAxis = 1;
  st->RotaryMode = 2;
  WriteRotaryAxisDeclaration(*st);
  st->RotaryMode = 1;
  st->RotaryAxis = 4;
  WriteRotaryAxisDeclaration(*st);
  WriteToolUseCondition(*st);
  WriteToolUseCondition(*st);
  TVectorRecord p{11, 1.00049f, 2.0f, 0.0f};
  WriteRapidXYBlock(*st, p);
  TVectorRecord q{11, 1.0f, 2.0f, 0.0f};
  WriteRapidXYBlockFmax(*st, q);  // repeated position: both words anyway
  EXPECT_EQ(Buffered(*st),
            "G04 X1.5\r\nG4 X2\r\nG4 X3\r\nG4 X3\r\nG4 X4\r\nG188 G79\r\nF1500 G188 G79\r\n"
            "G115 X0 A20\r\nG115 Y0  20\r\nif $nutze1==1\r\nif $nutze2==1\r\nG0 X1 Y2\r\nL X1 Y2 FMAX\r\n");
  EXPECT_EQ(+st->LastPos.x, 1.0f);
}

TEST(NcExtraBlocksTest, MacroVariablesOfTheCurrentTool) {
  auto st = MakeState(37);
  st->ToolTable.assign(kNcToolTableSize, TToolRecord{});
  for (auto& t : st->ToolTable) SetToolRecordDefaults(t, 1);
  TToolRecord& tool = st->ToolTable[0];
  tool.changeStation = 3;
  tool.tipRadius = 0.1f;
  tool.ballRadius = 0.0f;
  tool.angle = 30.0f;
  tool.plungeDepth = 0.25f;
  st->ToolCount = 1;
  st->LastToolStation = 4;  // another tool: nothing
  WriteToolMacroVariables(*st);
  EXPECT_EQ(st->OutCount, 0);
  st->LastToolStation = 3;
  WriteToolMacroVariables(*st);
  const std::string text = Buffered(*st);
  EXPECT_EQ(text.rfind("//\r\n$Tooldia=0.2\r\n$Tooltip=0\r\n$Toolangle=30\r\n$Tooldia2=", 0), 0u) << text;
  EXPECT_NE(text.find("\r\n$ZTIEFE=0.25\r\n"), std::string::npos) << text;
}

}  // namespace

// The strict check asks no feed of a G-code dialect only where the writer
// writes none: the check's traits and the word table must agree.
TEST(NcFeedWordTest, GcodeDialectsWithoutFeedWordsAreKnownToTheCheck) {
  for (const ncdialects::TGcodeDialect& row : ncdialects::kDialects) {
    if (!row.gcode) continue;
    auto st = MakeState(row.dialect);
    st->LastFeed = 1.2f;
    const bool noFeed = (row.traits & (ncdialects::kFeedByControl | ncdialects::kPlanar)) != 0;
    EXPECT_EQ(FormatFeedWord(*st).empty(), noFeed) << "dialect " << row.dialect;
  }
}
