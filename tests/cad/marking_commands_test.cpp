// The search and marking commands: the marking menu's entries and their
// states, grouping, the commands that pick with the mouse, and the path
// information command.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "app/program_start.h"
#include "model/layer_files.h"
#include "cad/marking_commands.h"
#include "model/undo.h"
#include "model/vector_records.h"
#include "model/vector_store.h"
#include "support/param_image.h"
#include "support/record_bytes.h"
#include "tests/ui/ui_screen.h"
#include "view/view_transform.h"

namespace {

namespace fs = std::filesystem;
using torvtest::Rec;
using torvtest::Records;
using uitest::TScreen;

const std::string kSquare = Records({Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 10, 10), Rec(10, 0, 0)});
const std::string kLine = Records({Rec(11, 20, 20), Rec(10, 30, 25)});
const std::string kGrouped = Records({Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 20, 20, -10000), Rec(10, 30, 25)});

// The states of the marking menu's entries, by entry number 1..13.
struct TMenuStates {
  uint8_t state[kMarkingMenuEntries];
  uint8_t operator[](int entry) const { return state[entry - 1]; }
};

class Marking : public ::testing::Test {
 protected:
  void SetUp() override {
    HighestLayer = 3;
    CurrentLayer = 0;
    for (uint8_t& v : LayerVisible) v = 1;
    for (int n = 0; n <= HighestLayer; ++n) Put(BuildLayerBareName(n), "");
    ClearVectorStore();
    ClearClipboardFile();
    RecountAllLayerRecords();
    if (UndoSlots != nullptr) ReleaseUndoSlots();
    InitUndoSlots();
    keptCommand_ = CommandWord;
    paramImage_.Install();
    CheckToolRecords = 0;
    Check3DPoints = 0;
    // A view of 0..100 mm over the graphic window.
    TExtentsPair extent;
    extent.minCorner = {1, 0, 0};
    extent.maxCorner = {5, 100, 100};
    FitViewToExtent(extent);
  }
  void TearDown() override {
    CommandWord = keptCommand_;
    StoreHoldsData = 0;
    MouseKeyFlags = 0;
    paramImage_.Restore();
  }
  std::string File(const std::string& name) { return screen_.ReadFile(name); }
  void Put(const std::string& name, const std::string& bytes) {
    std::ofstream(screen_.Dir() / name, std::ios::binary) << bytes;
  }
  void Select(const std::string& bytes) {
    Put(kVectorStoreName, bytes);
    StoreHoldsData = 1;
  }
  void Layer(int n, const std::string& bytes) {
    Put(BuildLayerBareName(n), bytes);
    RecountAllLayerRecords();
  }
  // The script lines of a move to a world point and a click there.
  static std::string ClickAt(float x, float y, const char* button = "left") {
    int16_t sx = 0, sy = 0;
    WorldToScreen(x, y, sx, sy);
    const std::string at = std::to_string(sx) + " " + std::to_string(sy);
    return "move " + at + "\nwait 20\nclick " + at + " " + button + "\n";
  }
  TMenuStates States() {
    TPopupList list;
    BuildMarkingMenu(list);
    TMenuStates s;
    for (int i = 0; i < kMarkingMenuEntries; ++i) s.state[i] = list.states[i];
    return s;
  }
  TScreen screen_;
  TCommandCode keptCommand_ = 0;
  torvtest::TZeroedParamImage paramImage_;
};

TEST_F(Marking, MenuCarriesTitleCaptionsAndKeys) {
  TPopupList list;
  MouseX = 300;
  MouseY = 200;
  BuildMarkingMenu(list);
  EXPECT_EQ(list.title, GetMessageText(1555, 49));
  EXPECT_EQ(list.x, 300);
  EXPECT_EQ(list.y, 168) << "32 pixels above the mouse";
  const char* keys[] = {"SUCHALLE",  "EntMarkAlle", "MarkPos",  "EntMarkPos", "MarkInLayer", "BAHNDREH",      "_Wegeinfo",
                        "Ausschneiden", "Kopieren_W", "Einfuegen", "LOESCHEN", "GRUPPIEREN", "GRUPPIERAUFHEB"};
  const int16_t messages[] = {1557, 1556, 2238, 713, 2328, 0, 2731, 3006, 701, 1355, 4013, 2239, 2240};
  for (int i = 0; i < kMarkingMenuEntries; ++i) {
    EXPECT_EQ(list.names[i], keys[i]);
    EXPECT_EQ(list.captions[i], messages[i] ? GetMessageText(messages[i], 49) : "drehe Bahn(en)");
    EXPECT_FALSE(list.captions[i].empty()) << i + 1;
  }
  EXPECT_TRUE(list.captions[kMarkingMenuEntries].empty());
}

TEST_F(Marking, EmptyLayerGreysMarkingButNotThePathInfoWhileThereIsASelection) {
  TMenuStates s = States();
  for (int e : {1, 2, 3, 4, 6, 7}) EXPECT_EQ(s[e], 3) << e;
  EXPECT_EQ(s[5], 3) << "all layers empty";
  for (int e : {8, 9, 10, 11}) EXPECT_EQ(s[e], 35) << e;

  Select(kSquare);
  s = States();
  EXPECT_EQ(s[1], 3);
  EXPECT_EQ(s[3], 3);
  for (int e : {2, 4, 6, 7}) EXPECT_EQ(s[e], 1) << e;
  EXPECT_EQ(s[8], 33);
  EXPECT_EQ(s[9], 33);
  EXPECT_EQ(s[10], 35) << "nothing on the clipboard";
  EXPECT_EQ(s[11], 33);

  StoreHoldsData = 0;
  Layer(2, kLine);
  s = States();
  EXPECT_EQ(s[5], 1) << "another layer holds records";
  EXPECT_EQ(s[1], 3) << "the current layer is still empty";
  EXPECT_EQ(s[7], 3);
  Layer(0, kSquare);
  s = States();
  EXPECT_EQ(s[1], 1);
  EXPECT_EQ(s[3], 1);
  EXPECT_EQ(s[7], 1);
  Put(kClipboardFileName, kLine);
  EXPECT_EQ(States()[10], 33);
}

TEST_F(Marking, GroupingEntriesFollowTheSelectionsMarks) {
  Select(kSquare + kLine);
  TMenuStates s = States();
  EXPECT_EQ(s[12], 1) << "ungrouped: grouping offered";
  EXPECT_EQ(s[13], 3);
  Select(kGrouped);
  s = States();
  EXPECT_EQ(s[12], 3) << "already grouped";
  EXPECT_EQ(s[13], 1);
  Select("");
  s = States();
  EXPECT_EQ(s[12], 3);
  EXPECT_EQ(s[13], 3);
}

TEST_F(Marking, ScanSelectionGrouping) {
  uint8_t state = 9;
  ScanSelectionGrouping("NICHTDA.TMP", state);
  EXPECT_EQ(state, 2);
  Put("A.TMP", "");
  ScanSelectionGrouping("A.TMP", state);
  EXPECT_EQ(state, 2);
  Put("A.TMP", kSquare);
  ScanSelectionGrouping("A.TMP", state);
  EXPECT_EQ(state, 0);
  Put("A.TMP", Records({Rec(11, 0, 0), Rec(10, 1, 1, -9999.9f), Rec(12, 2, 2, -20000)}));
  ScanSelectionGrouping("A.TMP", state);
  EXPECT_EQ(state, 0) << "only a line point below -10000 is a mark";
  // A mark in the third block of 5000.
  std::string big;
  for (int i = 0; i < 12000; ++i) big += Records({Rec(i % 50 ? 10 : 11, float(i), 0)});
  big += Records({Rec(10, 1, 1, -10000)});
  Put("A.TMP", big);
  ScanSelectionGrouping("A.TMP", state);
  EXPECT_EQ(state, 1);
}

TEST_F(Marking, GroupAndUngroupTheSelection) {
  Select(kSquare + kLine);
  EXPECT_FALSE(RunMarkingMenuEntry(12));
  EXPECT_EQ(CommandWord, 41) << "marking mode follows";
  EXPECT_EQ(File(kVectorStoreName), Records({Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 10, 10), Rec(10, 0, 0),
                                             Rec(10, 20, 20, -10000), Rec(10, 30, 25)}));
  EXPECT_FALSE(RunMarkingMenuEntry(13));
  EXPECT_EQ(File(kVectorStoreName), kSquare + kLine);

  StoreHoldsData = 0;
  Put(kVectorStoreName, kSquare + kLine);
  RunMarkingMenuEntry(12);
  EXPECT_EQ(File(kVectorStoreName), kSquare + kLine) << "no selection, nothing grouped";
}

TEST_F(Marking, PasteWithAnEmptyClipboardChangesNothing) {
  Select(kSquare);
  Layer(0, kLine);
  RunMarkingMenuEntry(10);
  EXPECT_EQ(File(kVectorStoreName), kSquare);
  EXPECT_EQ(File(BuildLayerBareName(0)), kLine);
  EXPECT_FALSE(UndoSlotHoldsStep(0)) << "no undo snapshot";
}

TEST_F(Marking, UnmarkAllPutsTheSelectionBackAfterASnapshot) {
  Layer(0, kLine);
  Select(kSquare);
  UnmarkAll();
  EXPECT_EQ(File(BuildLayerBareName(0)), kLine + kSquare);
  EXPECT_EQ(StoreHoldsData, 0);
  EXPECT_EQ(LayerRecordCounts[0], 6);
  ASSERT_TRUE(UndoSlotHoldsStep(0));
  ASSERT_TRUE(StepUndoRedo(0));
  EXPECT_EQ(File(BuildLayerBareName(0)), kLine);
  EXPECT_EQ(File(kVectorStoreName), kSquare);
  EXPECT_EQ(StoreHoldsData, 1);
}

TEST_F(Marking, ThePickedMenuEntryRuns) {
  Layer(0, kSquare + kLine);
  MouseX = 300;
  MouseY = 300;
  TPopupList probe;
  BuildMarkingMenu(probe);
  const TPopupLayout layout = LayOutPopupList(probe, 21, 2);
  const int entryY = layout.top + 28 + 10;  // entry 1
  screen_.UseScript("click " + std::to_string(layout.left + 40) + " " + std::to_string(entryY) + "\n");
  EXPECT_FALSE(RunMarkingMenu());
  EXPECT_EQ(File(kVectorStoreName), kSquare + kLine) << "entry 1 marks the whole layer";
  EXPECT_EQ(File(BuildLayerBareName(0)), "");
  EXPECT_EQ(CommandWord, 41);
}

// "Alles markieren" when the layer's only contour is marked already: the
// selection stays whole and nothing is reported; with nothing marked and an
// empty layer the user hears that there is nothing to mark.
TEST_F(Marking, MarkAllKeepsAWhollyMarkedLayerMarked) {
  struct TCase {
    const char* name;
    void (*run)();
  };
  const TCase cases[] = {
      {"command 43", [] { MarkWholeCurrentLayer(); }},
      {"marking menu entry 1", [] { RunMarkingMenuEntry(1); }},
  };
  for (const TCase& c : cases) {
    Layer(0, "");
    Select(kSquare);
    Put("transcript.txt", "");
    c.run();
    EXPECT_EQ(File(kVectorStoreName), kSquare) << c.name;
    EXPECT_EQ(StoreHoldsData, 1) << c.name;
    EXPECT_EQ(File(BuildLayerBareName(0)), "") << c.name;
    EXPECT_EQ(File("transcript.txt").find("Nichts zu bearbeiten"), std::string::npos) << c.name;

    ClearVectorStore();
    screen_.UseScript("key Enter\n");
    c.run();
    EXPECT_EQ(StoreHoldsData, 0) << c.name;
    EXPECT_NE(File("transcript.txt").find("Nichts zu bearbeiten"), std::string::npos) << c.name;
  }
}

TEST_F(Marking, CancelledMenuRunsNothing) {
  Layer(0, kSquare);
  CommandWord = 45;
  screen_.UseScript("click 10 300 right\n");
  EXPECT_FALSE(RunMarkingMenu());
  EXPECT_EQ(File(BuildLayerBareName(0)), kSquare);
  EXPECT_EQ(StoreHoldsData, 0);
  EXPECT_EQ(CommandWord, 45);
}

TEST_F(Marking, MarkingEntryReturnsTrueAndARightClickLeavesTheSelection) {
  Layer(0, kLine);
  Select(kSquare);
  screen_.UseScript(ClickAt(25, 22, "right"));
  EXPECT_TRUE(RunMarkingMenuEntry(3));
  EXPECT_EQ(File(kVectorStoreName), kSquare);
  EXPECT_EQ(StoreHoldsData, 1);
  EXPECT_EQ(CommandWord, 41);
}

TEST_F(Marking, ContourMarkingTakesTheClickedContourAndPutsThePreviousBack) {
  Layer(0, kLine);
  Select(kSquare);
  // A click takes the contour of the nearest vertex within 20 pixels.
  screen_.UseScript(ClickAt(29.5f, 24.6f));
  RunContourMarking(GetCurrentLayerFileName(), 1);
  EXPECT_EQ(File(kVectorStoreName), kLine);
  EXPECT_EQ(File(BuildLayerBareName(0)), kSquare) << "the previous selection went back";
  EXPECT_EQ(StoreHoldsData, 1);
}

TEST_F(Marking, PickInAnyLayerMakesTheContoursLayerCurrent) {
  Layer(2, kLine);
  Layer(1, kSquare);
  screen_.UseScript(ClickAt(25, 22.5f));
  PickInAnyLayerCommand();
  EXPECT_EQ(CurrentLayer, 2);
  EXPECT_EQ(File(kVectorStoreName), kLine);
  EXPECT_EQ(File(BuildLayerBareName(2)), "");
  EXPECT_EQ(File(BuildLayerBareName(1)), kSquare);
  EXPECT_EQ(StoreHoldsData, 1);
}

TEST_F(Marking, ContourMarkingWithCtrlPicksOverAllLayers) {
  Layer(3, kSquare);
  MouseKeyFlags = 8;
  screen_.UseScript(ClickAt(10, 5));
  RunContourMarking(GetCurrentLayerFileName(), 1);
  EXPECT_EQ(CurrentLayer, 3);
  EXPECT_EQ(File(kVectorStoreName), kSquare);
  EXPECT_EQ(StoreHoldsData, 1);
}

TEST_F(Marking, PathInfoWithNothingToShowSaysSo) {
  screen_.UseScript("key Enter\n");
  const auto before = TScreen::Pixels();
  ShowSelectionPathInfo();
  EXPECT_NE(File("transcript.txt").find("Nichts zu bearbeiten"), std::string::npos);
  EXPECT_TRUE(TScreen::Pixels() == before) << "no window opened";
}

}  // namespace
