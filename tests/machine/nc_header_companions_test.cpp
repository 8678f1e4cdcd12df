// Insert files, the first tool block, the start position and the comment
// lines that the NC program header and end share.
#include "machine/nc_header_companions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "frame/param_file.h"
#include "machine/nc_comment_lines.h"
#include "machine/nc_test_support.h"
#include "ui/paced_script.h"
#include "ui/ui_screen.h"

namespace {

using nctest::Buffered;
using nctest::MakeState;

TToolRecord Tool(int16_t station, const char* name, float tip, float ball, float angle, float shank, float depth) {
  TToolRecord t{};
  t.changeStation = station;
  t.name[0] = static_cast<uint8_t>(std::strlen(name));
  std::memcpy(t.name + 1, name, std::strlen(name));
  t.tipRadius = tip;
  t.ballRadius = ball;
  t.angle = angle;
  t.shankRadius = shank;
  t.plungeDepth = depth;
  t.feedXY = 1.25f;
  t.feedZ = 0.5f;
  t.spindleSpeed = 18000.4f;
  return t;
}

TEST(NcInsertFile, MissingEmptyAndPresentFiles) {
  uitest::TScreen screen;
  {
    auto st = MakeState(0, 1);
    CopyInsertFile(*st, "Zyklus.PGM");
    EXPECT_EQ(Buffered(*st), "") << "a missing file writes nothing";
    EXPECT_EQ(ErrorCode, 0) << "and reports nothing";
  }
  {
    std::ofstream("ErgaenzKopf.PGM").close();
    auto st = MakeState(0, 1);
    CopyInsertFile(*st, "ErgaenzKopf.PGM");
    EXPECT_EQ(Buffered(*st), "");
  }
  {
    std::ofstream("ErgaenzEnde.PGM", std::ios::binary) << "M5\r\n G4 X2\r\n\r\nM30";
    for (int16_t mode : {0, 1, 3}) {
      auto st = MakeState(0, mode);
      CopyInsertFile(*st, "ErgaenzEnde.PGM");
      const char* expected[] = {"M5\r\nG4 X2\r\nM30\r\n", "N1 M5\r\nN2 G4 X2\r\nN3 M30\r\n", "",
                                "N10 M5\r\nN20 G4 X2\r\nN30 M30\r\n"};
      EXPECT_EQ(Buffered(*st), expected[mode]) << "numbering " << mode;
    }
  }
}

TEST(NcHeaderCompanions, QuotedDialectName) {
  auto st = MakeState(0);
  WriteNcString(st->Machine.DialectNames[7], kNcCaptionLength, "Maho 432   ");
  st->Machine.CurrentDialect = 7;
  EXPECT_EQ(FormatDialectNameQuoted(*st), "\"Maho 432\"  ");
}

TEST(NcHeaderCompanions, ToolListLines) {
  auto st = MakeState(0, 1);
  st->ToolTable = {Tool(3, "Fraeser   ", 0.5f, 0.0f, 90.0f, 1.5f, 0.25f),
                   Tool(12, "Kugel", 2.0f, 1.125f, 0.0f, 3.0f, 1.0f), Tool(1, "rest", 0, 0, 0, 0, 0)};
  st->ToolCount = 2;
  WriteToolListComments(*st, "(", ")", true);
  EXPECT_EQ(Buffered(*st),
            "N1 (T3 FrS=0.5 FWi=90 SnR=1.5 FEt=0.25  Fraeser)\r\n"
            "N2 (T12 FrS=2 FrK=1.125 FWi=0 SnR=3 FEt=1  Kugel)\r\n");
  EXPECT_EQ(st->ToolTable[0].name[0], 7) << "the name's trailing blanks go in the list itself";

  st->OutCount = 0;
  WriteToolListComments(*st, ";", "", false);
  EXPECT_EQ(Buffered(*st), ";T3 FrS=0.5 FWi=90 SnR=1.5 FEt=0.25  Fraeser\r\n"
                           ";T12 FrS=2 FrK=1.125 FWi=0 SnR=3 FEt=1  Kugel\r\n");

  auto none = MakeState(0);
  none->ToolTable = st->ToolTable;
  none->ToolCount = 0;
  WriteToolListComments(*none, "(", ")", true);
  EXPECT_EQ(Buffered(*none), "");
}

TEST(NcHeaderCompanions, ToolListWithFeedVariables) {
  auto st = MakeState(37);
  st->Machine.CurrentDialect = 37;
  st->Machine.DialectRecords[37].MacroVariables = 1;
  st->ToolTable = {Tool(3, "F", 0.5f, 0.0f, 90.0f, 1.5f, 0.25f)};
  st->ToolCount = 1;
  WriteToolListComments(*st, "(", ")", false);
  EXPECT_EQ(Buffered(*st),
            "(T3 FrS=0.5 FWi=90 SnR=1.5 FEt=0.25  F)\r\n.VorschubXY1 = 1250\r\n.VorschubZ_1 = 500\r\n"
            ".SpdDrehz__1 = 18000\r\n");
}

TEST(NcHeaderCompanions, RotaryDiameterComment) {
  uitest::TScreen screen;
  const std::string text = GetMessageText(kMsgNcRotaryDiameter, -29);
  ASSERT_FALSE(text.empty());
  const struct {
    int dialect;
    uint8_t rotary;
    bool written;
  } cases[] = {{74, 0, true}, {0, 1, true}, {0, 0, false}};
  for (const auto& c : cases) {
    auto st = MakeState(c.dialect, 1);
    st->RotaryActive = c.rotary;
    st->Machine.RotaryDiameter = 50.0f;
    WriteRotaryDiameterComment(*st, "(", ")");
    EXPECT_EQ(Buffered(*st), c.written ? "(" + text + "50.000)\r\n" : "") << "dialect " << c.dialect;
  }
}

TEST(NcHeaderCompanions, WorkpiecePathLines) {
  auto st = MakeState(83);
  st->OutputFileName = "C:\\NC\\TEIL1.MPF";
  WriteWorkpiecePathHeader(*st);
  EXPECT_EQ(Buffered(*st), "%_N_TEIL1_MPF\r\n;$PATH=/_N_WKS_DIR/_N_C:\\NC\\_WPD\r\n");
}

// The note form is left with Esc: the stored lines that are not empty are
// written as raw lines, in order.
TEST(NcHeaderCompanions, NoteLines) {
  uitest::TScreen screen;
  ParamImage = new TParameterImage;
  FillParamDefaults();
  TNcCommentLines block{};
  const char* lines[4] = {"Teil 7", "", "Spannung links", ""};
  for (int k = 0; k < 4; ++k) {
    block.lines[k][0] = uint8_t(std::strlen(lines[k]));
    std::memcpy(block.lines[k] + 1, lines[k], std::strlen(lines[k]));
  }
  PutParamBlock(kNcCommentBlock, &block, sizeof block);
  uitest::NewScript(screen, "key Esc\n");
  auto st = MakeState(0, 1);
  WriteProgramNoteLines(*st);
  EXPECT_EQ(Buffered(*st), "Teil 7\r\nSpannung links\r\n");
  delete ParamImage;
  ParamImage = nullptr;
}

}  // namespace
