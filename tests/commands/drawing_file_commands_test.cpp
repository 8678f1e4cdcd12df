// The drawing commands around the file dialogs: the note editor of the text
// job head, the questions that offer to save, the recent drawings popup and
// the cut-out marks of contour starts.
#include <cstring>

#include "support/drawing_test_support.h"
#include "commands/drawing_file_commands.h"
#include "model/drawing_file.h"
#include "model/drawing_load.h"
#include "platform/files.h"
#include "model/layer_files.h"
#include "model/property_store.h"
#include "model/vector_store.h"
#include "frame/window_draw.h"
#include "platform/script.h"
#include "model/text_job.h"
#include "ui/popup_list.h"

namespace {

using drawtest::Bytes;
using drawtest::Rec;
using drawtest::Records;

class DrawingCommands : public drawtest::DrawingFolderTest {
 protected:
  void SetUp() override {
    drawtest::DrawingFolderTest::SetUp();
    GetClientMaxXY(MaxX, MaxY);
  }
  void TearDown() override {
    MaxX = 0;
    MaxY = 0;
    drawtest::DrawingFolderTest::TearDown();
  }
  void UseScript(const std::string& script) {
    WriteFile("script.txt", script);
    plat::ResetScript();
  }
  std::string Transcript() const { return ReadFile("transcript.txt"); }
  int Boxes() const {
    const std::string t = Transcript();
    int n = 0;
    for (size_t at = t.find("msgbox|"); at != std::string::npos; at = t.find("msgbox|", at + 1)) ++n;
    return n;
  }
  void MakeContent() {
    WriteFile(BuildLayerFileName(0), Bytes({Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 0, 0)}));
  }
  // A text job head whose note has the given first line.
  void WriteHead(const std::string& line1) {
    std::string head(kDrawingHeadSize, '\0');
    head[kHeadNote] = char(line1.size());
    memcpy(&head[kHeadNote + 1], line1.data(), line1.size());
    WriteFile("HS01.TMP", head);
  }
  std::string NoteLine(int k) {
    const std::string head = ReadFile("HS01.TMP");
    if (head.size() < size_t(kDrawingHeadSize)) return "<short>";
    const size_t at = size_t(kHeadNote + 51 * k);
    return head.substr(at + 1, uint8_t(head[at]));
  }
};

TEST_F(DrawingCommands, NoteEditorStoresTheLinesOnOk) {
  WriteHead("Kunde");
  // The popup's OK button sits left of Abort at the top right of a
  // 52-column frame (x 368..390, y 4..26). The click comes after a key
  // that ends the line, so that every typed character is in before it, and
  // after a wait, so that the next line's edit (which first waits for the
  // buttons to come up) has begun.
  UseScript("text  A\nkey Enter\ntext Zweite Zeile\nkey Down\nwait 200\nclick 379 15\n");
  EditDrawingNote();
  EXPECT_EQ(NoteLine(0), "Kunde A");
  EXPECT_EQ(NoteLine(1), "Zweite Zeile");
  EXPECT_EQ(NoteLine(2), "");
  EXPECT_EQ(TextJobHead[kHeadNote], 7);
}

TEST_F(DrawingCommands, NoteEditorAbortKeepsTheOldNote) {
  WriteHead("Kunde");
  UseScript("text  geaendert\nkey Esc\n");
  EditDrawingNote();
  EXPECT_EQ(NoteLine(0), "Kunde");
  EXPECT_EQ(TextJobHead[kHeadNote], 5);
}

TEST_F(DrawingCommands, NoteEditorMovesBetweenLinesWithTheArrowKeys) {
  WriteHead("");
  UseScript("key Down\nkey Down\ntext drei\nkey Up\ntext zwei\nkey Up\nwait 200\nclick 379 15\n");
  EditDrawingNote();
  EXPECT_EQ(NoteLine(0), "");
  EXPECT_EQ(NoteLine(1), "zwei");
  EXPECT_EQ(NoteLine(2), "drei");
}

TEST_F(DrawingCommands, OfferToSaveOnlyWhenThereIsSomething) {
  OfferSaveDrawing();
  EXPECT_EQ(Boxes(), 0);
  MakeContent();
  RecountAllLayerRecords();
  UseScript("key n\n");
  OfferSaveDrawing();
  EXPECT_EQ(Boxes(), 1);
  EXPECT_NE(Transcript().find("|No"), std::string::npos);
}

TEST_F(DrawingCommands, AskBeforeOpenStopsTheOpenOnlyAfterACancelledSave) {
  EXPECT_FALSE(AskSaveBeforeOpen());  // nothing to save, nothing asked
  EXPECT_EQ(Boxes(), 0);
  MakeContent();
  RecountAllLayerRecords();
  UseScript("key n\n");
  EXPECT_FALSE(AskSaveBeforeOpen());
  UseScript("key y\nkey Esc\n");  // yes, then the save dialog is cancelled
  EXPECT_TRUE(AskSaveBeforeOpen());
}

TEST_F(DrawingCommands, SaveAsAsksTheNameAndKeepsTheNote) {
  MakeContent();
  RecountAllLayerRecords();
  WriteHead("Kunde");
  CloseRequested = false;  // the used-up script asked the window to close
  UseScript("text Neu\nkey Enter\n");
  EXPECT_TRUE(SaveDrawing(1));
  ASSERT_TRUE(Exists("Neu.SLD"));
  const std::string saved = ReadFile("Neu.SLD");
  ASSERT_GE(saved.size(), size_t(kDrawingHeadSize));
  EXPECT_EQ(saved.substr(kHeadNote, 6), std::string("\x05Kunde"));
  EXPECT_EQ(GetRecentDrawing(0), plat::CurrentFolder() + "Neu.SLD");
}

// An unnamed drawing is offered no name: Enter alone saves nothing, in
// particular no nameless ".SLD".
TEST_F(DrawingCommands, SaveAsOfAnUnnamedDrawingOffersNoBareExtension) {
  MakeContent();
  RecountAllLayerRecords();
  UseScript("key Enter\nkey Esc\n");
  EXPECT_FALSE(SaveDrawing(1));
  EXPECT_FALSE(Exists(".SLD"));
  EXPECT_FALSE(Exists(".sld"));
}

// After a save nothing offers to save again until the drawing changes.
TEST_F(DrawingCommands, ASavedDrawingIsNotOfferedForSavingAgain) {
  MakeContent();
  RecountAllLayerRecords();
  UseScript("text Neu\nkey Enter\n");
  ASSERT_TRUE(SaveDrawing(1));
  const int before = Boxes();
  UseScript("");
  OfferSaveDrawing();
  EXPECT_FALSE(AskSaveBeforeOpen());
  EXPECT_FALSE(AskSaveUnsavedWork());
  EXPECT_EQ(Boxes(), before) << Transcript();

  WriteFile(BuildLayerFileName(1), Bytes({Rec(11, 5, 5), Rec(10, 6, 6)}));
  RecountAllLayerRecords();
  UseScript("key n\nkey n\nkey n\n");
  OfferSaveDrawing();
  EXPECT_FALSE(AskSaveBeforeOpen());
  EXPECT_FALSE(AskSaveUnsavedWork());
  EXPECT_EQ(Boxes(), before + 3) << "a changed drawing is offered each time";
}

TPopupLayout RecentLayout(const std::vector<std::string>& names) {
  TPopupList list;
  InitPopupList(list);
  list.x = MouseX;
  list.y = int16_t(MouseY - 32);
  list.title = GetMessageText(3115, -39);
  for (size_t i = 0; i < names.size(); ++i) {
    list.captions[i] = FormatRecentDrawingEntry(names[i]);
    list.names[i] = "OEFFNEN";
  }
  return LayOutPopupList(list, 21, 2);
}

std::string ClickEntry(const TPopupLayout& l, bool titled, int i) {
  const int y = l.top + 4 + (titled ? 24 : 0) + (i - 1) * 21 + 10;
  return "click " + std::to_string(l.right - 20) + " " + std::to_string(y) + "\n";
}

TEST_F(DrawingCommands, RecentDrawingOpensAndMovesToTheTop) {
  WriteFile("ALT.LG1", Bytes({Rec(11, 1, 1), Rec(10, 2, 2)}));
  WriteFile("NEU.LG1", Bytes({Rec(11, 5, 5), Rec(10, 6, 6), Rec(10, 7, 7)}));
  const std::string alt = plat::CurrentFolder() + "ALT.LG1", neu = plat::CurrentFolder() + "NEU.LG1";
  AddRecentDrawing(alt, false);
  AddRecentDrawing(neu, false);
  MouseX = 200;
  MouseY = 300;
  const TPopupLayout l = RecentLayout({neu, alt});
  UseScript(ClickEntry(l, !GetMessageText(3115, -39).empty(), 2));
  RunRecentDrawingsCommand();
  EXPECT_EQ(GetRecentDrawing(0), alt);
  EXPECT_EQ(GetRecentDrawing(1), neu);
  const auto layer0 = Records(ReadFile(BuildLayerFileName(0)));
  ASSERT_FALSE(layer0.empty());
  EXPECT_EQ(float(layer0.back().x), 2.0f);
}

TEST_F(DrawingCommands, RecentDrawingThatIsGoneSaysSo) {
  const std::string gone = plat::CurrentFolder() + "WEG.SLD";
  AddRecentDrawing(gone, false);
  MouseX = 200;
  MouseY = 300;
  const TPopupLayout l = RecentLayout({gone});
  UseScript(ClickEntry(l, !GetMessageText(3115, -39).empty(), 1) + "key Enter\n");
  RunRecentDrawingsCommand();
  EXPECT_EQ(Boxes(), 1);
  EXPECT_EQ(GetRecentDrawing(0), gone);  // the entry stays
}

TEST_F(DrawingCommands, ContourStartsGetTheirCutOutMark) {
  const std::string closed = Bytes({Rec(11, 0, 0, -1005), Rec(10, 10, 0), Rec(10, 10, 10), Rec(10, 0, 0),
                                    Rec(11, 20, 0, 0), Rec(10, 30, 0), Rec(10, 30, 10), Rec(10, 20, 0)});
  WriteFile(kVectorStoreName, closed);
  StoreHoldsData = 1;
  MarkContourStarts(kVectorStoreName, 2);
  const auto layer0 = Records(ReadFile(BuildLayerFileName(0)));
  ASSERT_EQ(layer0.size(), 8u);
  EXPECT_EQ(float(layer0[0].z), -2.0f);
  EXPECT_EQ(float(layer0[4].z), -2.0f);
  EXPECT_EQ(float(layer0[1].z), 0.0f);  // points keep their z
  EXPECT_TRUE(ReadFile(kVectorStoreName).empty());
  EXPECT_EQ(Boxes(), 0);
}

TEST_F(DrawingCommands, CutOutMarksNeedClosedContoursInTheStore) {
  UseScript("key Enter\nkey Enter\n");
  StoreHoldsData = 0;
  MarkContourStarts(kVectorStoreName, 1);
  EXPECT_EQ(Boxes(), 1);  // message 82: nothing marked
  const std::string open = Bytes({Rec(11, 0, 0, -7), Rec(10, 10, 0), Rec(10, 10, 10)});
  WriteFile(kVectorStoreName, open);
  StoreHoldsData = 1;
  MarkContourStarts(kVectorStoreName, 1);
  EXPECT_EQ(Boxes(), 2);  // message 1395
  EXPECT_EQ(ReadFile(kVectorStoreName), open);
  // Mode 3 clears the marks of open contours too.
  MarkContourStarts(kVectorStoreName, 3);
  const auto layer0 = Records(ReadFile(BuildLayerFileName(0)));
  ASSERT_EQ(layer0.size(), 3u);
  EXPECT_EQ(float(layer0[0].z), 0.0f);
}

// The drawing name, the drawing folder and the recent list follow only a
// save that wrote the file.
TEST_F(DrawingCommands, AFailedSaveAsKeepsTheOldNameAndRecentList) {
  MakeContent();
  RecountAllLayerRecords();
  const std::string old = plat::CurrentFolder() + "ALT.SLD";
  WriteParamNameBlock(26, old);
  AddRecentDrawing(old, false);
  UseScript("text Neu\nkey Enter\nkey Enter\nkey Enter\n");
  plat::gDiskBytesLeft = 100;
  EXPECT_FALSE(SaveDrawing(1));
  plat::gDiskBytesLeft = -1;
  ErrorCode = 0;
  EXPECT_FALSE(Exists("Neu.SLD"));
  EXPECT_EQ(ReadParamNameBlock(26), old);
  EXPECT_EQ(GetRecentDrawing(0), old);
  EXPECT_EQ(GetRecentDrawing(1), "");
  // With room again the same save goes through and the name becomes current.
  CloseRequested = false;  // the used-up script asked the window to close
  UseScript("text Neu\nkey Enter\n");
  EXPECT_TRUE(SaveDrawing(1)) << Transcript();
  EXPECT_TRUE(Exists("Neu.SLD"));
  EXPECT_EQ(ReadParamNameBlock(26), plat::CurrentFolder() + "Neu.SLD");
  EXPECT_EQ(GetRecentDrawing(0), plat::CurrentFolder() + "Neu.SLD");
}

// A refused drawing changes nothing: work files, name, recent list; the
// message names the file.
TEST_F(DrawingCommands, ARefusedDrawingChangesNothingAndSaysWhichFile) {
  MakeContent();
  WriteHead("Kunde");
  RecountAllLayerRecords();
  ASSERT_TRUE(SaveDrawingToFile("GUT.SLD", 1));
  std::string future = ReadFile("GUT.SLD");
  future[kHeadVersion] = char(99);
  WriteFile("NEU99.SLD", future);
  WriteFile("KURZ.SLD", future.substr(0, 200));
  WriteFile(BuildLayerFileName(1), Bytes({Rec(11, 3, 3), Rec(10, 4, 4)}));
  const std::string name = plat::CurrentFolder() + "DA.SLD";
  WriteParamNameBlock(26, name);
  AddRecentDrawing(name, false);
  const std::string layer0 = ReadFile(BuildLayerFileName(0)), layer1 = ReadFile(BuildLayerFileName(1));
  const std::string job = ReadFile("HS01.TMP");
  for (const char* refused : {"WEG.SLD", "WEG.LG1", "NEU99.SLD", "KURZ.SLD"}) {
    const std::string file = plat::CurrentFolder() + refused;
    const int before = Boxes();
    UseScript("key Enter\n");
    EXPECT_FALSE(OpenDrawingFile(file, 0)) << refused;
    EXPECT_EQ(Boxes(), before + 1) << refused;
    EXPECT_NE(Transcript().rfind(refused), std::string::npos) << refused << Transcript();
    EXPECT_EQ(ReadFile(BuildLayerFileName(0)), layer0) << refused;
    EXPECT_EQ(ReadFile(BuildLayerFileName(1)), layer1) << refused;
    EXPECT_EQ(ReadFile("HS01.TMP"), job) << refused;
    EXPECT_EQ(ReadParamNameBlock(26), name) << refused;
    EXPECT_EQ(GetRecentDrawing(0), name) << refused;
    EXPECT_EQ(GetRecentDrawing(1), "") << refused;
    ErrorCode = 0;
  }
}

// A damaged drawing comes in as far as it is whole, says how much, and
// leaves the drawing unnamed and unsaved; the whole one is named.
TEST_F(DrawingCommands, ADamagedDrawingLeavesTheDrawingUnnamed) {
  MakeContent();
  RecountAllLayerRecords();
  ASSERT_TRUE(SaveDrawingToFile("GUT.SLD", 1));
  const std::string good = ReadFile("GUT.SLD");
  // 2 layer records are not in it: a layer record and 3 records of layer 0.
  WriteFile("CUT.SLD", good.substr(0, kDrawingHeadSize + 2 * 13 + 4));
  const std::string name = plat::CurrentFolder() + "DA.SLD";
  WriteParamNameBlock(26, name);
  UseScript("key Enter\n");
  EXPECT_FALSE(OpenDrawingFile(plat::CurrentFolder() + "CUT.SLD", 0));
  const std::string t = Transcript();
  EXPECT_NE(t.find("CUT.SLD"), std::string::npos) << t;
  EXPECT_NE(t.find("\\n2 " + GetMessageText(4141, -39) + " 4 "), std::string::npos) << t;
  EXPECT_EQ(ReadParamNameBlock(26), "");
  EXPECT_EQ(GetRecentDrawing(0), "");
  EXPECT_FALSE(IsDrawingSaved());
  EXPECT_EQ(Records(ReadFile(BuildLayerFileName(0))).size(), 1u);

  EXPECT_TRUE(OpenDrawingFile(plat::CurrentFolder() + "GUT.SLD", 0));
  EXPECT_EQ(ReadParamNameBlock(26), plat::CurrentFolder() + "GUT.SLD");
  EXPECT_EQ(GetRecentDrawing(0), plat::CurrentFolder() + "GUT.SLD");
  EXPECT_TRUE(IsDrawingSaved());
}

}  // namespace
