// The main command dispatcher: every code reaches its operation and no other
// code reaches anything; the entries that choose between operations; the
// modules that park the vector store around their own loop; the marking and
// clipboard codes on real files.
#include <gtest/gtest.h>

#include <cmath>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/dispatcher.h"
#include "commands/drawing_file_commands.h"
#include "frame/main_window.h"
#include "frame/param_file.h"
#include "app/program_start.h"
#include "model/layer_files.h"
#include "model/undo.h"
#include "model/vector_records.h"
#include "model/vector_store.h"
#include "cad/mouse_selection.h"
#include "support/param_image.h"
#include "support/record_bytes.h"
#include "tests/ui/ui_screen.h"

namespace {

namespace fs = std::filesystem;
using torvtest::Rec;
using torvtest::Records;
using uitest::TScreen;

// The operation each code must reach; codes not listed reach nothing.
struct TExpected {
  uint16_t first, last;
  const char* operation;
};
const TExpected kExpected[] = {
    {1, 1, "RebuildScreen"},
    {20, 20, "ShowLayoutLimitsDialog"},
    {26, 26, "RunLayoutFunctionsWindow"},
    {36, 36, "RunNewSerialPlateCommand"},
    {37, 37, "RunNewSignCommand(2)"},
    {38, 38, "ConfirmClearWork(0,1)"},
    {39, 39, "ConfirmClearWork(1,1)"},
    {40, 40, "ShowPathDirections"},
    {41, 41, "MarkInCurrentLayer(0)"},
    {43, 43, "MarkWholeCurrentLayer"},
    {44, 44, "UnmarkContoursWithMouse"},
    {45, 45, "RunMarkingMenu"},
    {50, 68, "DispatchMilling2DCommand"},
    {69, 69, "DispatchMilling2DCommand|RunLayerFileEditCommand"},
    {70, 80, "DispatchMilling2DCommand"},
    {81, 81, "RunCopyFromLayerCommand"},
    {83, 83, "RunCuttingDepthsCommand(0)"},
    {84, 84, "RunContourMergeMenu"},
    {90, 399, "RunConstructionCommand"},
    {400, 400, "ScaleDrawingByPercent"},
    {401, 401, "DistortDrawingXYZ"},
    {410, 410, "UnmarkAll"},
    {411, 411, "RunContourMarking(layer,1)"},
    {412, 412, "PickInAnyLayerCommand"},
    {413, 413, "ShowSelectionPathInfo"},
    {414, 414, "CutStoreToClipboardFile"},
    {415, 415, "CopyStoreToClipboardFile"},
    {416, 416, "PasteClipboardFileIntoStore"},
    {600, 600, "RunDimensionCommand(12)"},
    {601, 601, "RunDimensionLineCommand"},
    {606, 606, "RunDimensionCommand(13)"},
    {607, 607, "RunStartPointCommand"},
    {610, 610, "RunContourPickCommand"},
    {611, 611, "RunReplaceElementCommand(13)"},
    {612, 612, "RunAlignPointCommand"},
    {613, 613, "RunDeletePointCommand(0)"},
    {614, 614, "RunReplaceElementCommand(1)"},
    {615, 615, "RunReplaceElementCommand(2)"},
    {616, 616, "RunReplaceElementCommand(3)"},
    {617, 617, "RunInsertPointCommand"},
    {618, 618, "RunMovePointCommand"},
    {619, 619, "RunDeleteVectorCommand"},
    {620, 620, "RunReplaceElementCommand(8)"},
    {621, 621, "RunSplitVectorCommand"},
    {622, 622, "RunEditDrillHoleCommand"},
    {624, 624, "EditLineWidthSettings"},
    {625, 625, "RunLineWidthCommand"},
    {626, 626, "RunShortenLineCommand"},
    {627, 627, "RunContourPointCommand"},
    {628, 628, "RunLineTypeMenu"},
    {629, 629, "RunJoinPointsCommand"},
    {630, 630, "RunRoundCornersCommand"},
    {631, 631, "RunSplitContourCommand"},
    {632, 632, "StepUndoRedo(0)"},
    {633, 633, "RunReplaceByShapeCommand(10)"},
    {634, 634, "RunReplaceByShapeCommand(11)"},
    {635, 635, "RunReplaceByShapeCommand(12)"},
    {636, 636, "StepUndoRedo(1)"},
    {637, 637, "RunJoinLinesCommand"},
    {638, 638, "RunAppendPointCommand"},
    {639, 639, "RunSplitAtPointCommand"},
    {640, 640, "RunLayerFileEditCommand"},
    {641, 641, "RunCornerInFrameCommand"},
    {642, 642, "SmoothContourSteps"},
    {643, 643, "TransformSelectionCommand"},
    {645, 645, "RunPathSortMenu"},
    {649, 649, "RunSmoothToCurvesCommand"},
    {660, 660, "RunIntersectionPointsCommand"},
    {698, 698, "RunVectorBoundaryMenu"},
    {699, 699, "RunPolylineMenu"},
    {700, 799, "DispatchMilling2DCommand"},
    {801, 801, "RunDrillPatternMenu"},
    {853, 853, "RunLeadMovesCommand"},
    {854, 854, "RunHoldingTabsCommand(0)"},
    {855, 855, "RunPocketStrategyMenu"},
    {856, 856, "RunMillingPropertyDialog"},
    {858, 858, "RunPathListEditor"},
    {860, 860, "RunHoldingTabsCommand(1)"},
    {944, 944, "SelectTool(layer,0)"},
    {945, 945, "EditToolsOfCurrentLayer"},
    {1003, 1003, "RunMillingTraceMenu"},
    {1091, 1091, "ShowInfoWindow"},
    {1092, 1092, "RunSettingsDialog"},
    {1094, 1094, "EditPathSwitches(0)"},
    {1102, 1102, "RedrawCurrentView(2)"},
    {1105, 1105, "RedrawWithExtent(view,2)"},
    {1106, 1106, "ZoomOutCurrentView(2)"},
    {1107, 1107, "ZoomWindowCurrentView(2)"},
    {1109, 1109, "OpenLayerPanel(12)"},
    {1110, 1110, "RunJobOverview"},
    {1111, 1111, "ZoomAllCurrentView"},
    {1112, 1112, "PanViewByDragging(0)"},
    {1113, 1113, "RunBackgroundPictureCommand"},
    {1114, 1114, "ShowZoomPopup"},
    {1201, 1201, "ShowProjectionView(6)"},
    {1202, 1202, "ShowProjectionView(7)"},
    {1203, 1203, "ShowReliefVolumeView"},
    {1204, 1204, "ShowReliefVolumeViewWithPalette"},
    {1306, 1306, "RunLayerContourPass"},
    {1311, 1311, "EditDrawingNote"},
    {1318, 1318, "RunTextSignWindow"},
    {1319, 1319, "DispatchTextSignCommand"},
    {1381, 1382, "DispatchTextSignCommand"},
    {1383, 1383, "RunGraphicTextCommand"},
    {1384, 1384, "DispatchTextSignCommand"},
    {1695, 1695, "RunGuideLineCommand(3)"},
    {1696, 1696, "RunGuideLineCommand(1)"},
    {1697, 1697, "RunGuideLineCommand(2)"},
    {1698, 1698, "RunGuideLineCommand(0)"},
    {3011, 3011, "RunOpenDrawingCommand"},
    {3012, 3012, "RunRecentDrawingsCommand"},
    {3095, 3095, "SaveToolTableFile"},
    {3096, 3096, "LoadToolTableFile"},
    {3098, 3098, "OpenWorkTextFile(0)"},
    {3099, 3099, "EditToolsInVectorFile(layer)"},
    {3113, 3113, "SaveDrawing(0)"},
    {3114, 3114, "SaveDrawing(1)"},
    {3186, 3186, "RunMultipleExport"},
    {3189, 3189, "RunAutoHandOver"},
    {3190, 3190, "RunControllerHandOver"},
    {3192, 3192, "AskSaveAndClearProject"},
    {3194, 3194, "OpenProjectFile"},
    {3195, 3195, "SaveProjectFile"},
    {3196, 3196, "RunPathExport"},
    {3197, 3197, "RunInsertTextCommand"},
    {3198, 3198, "RunDirectMilling(7)"},
    {3199, 3199, "RunDirectMilling(8)"},
    {3232, 3232, "RunDirectMilling(136)"},
    {6001, 6001, "RunNavigationCommand"},
    {7901, 7901, "RunOptionsMenuAndRebuild"},
    {7903, 7906, "OpenHelpTopic"},
    {7925, 7925, "OpenLayerPanel(2)"},
    {7926, 7926, "SelectCurrentLayer(1)"},
    {7927, 7927, "PickCurrentLayerAtCursor"},
    {7937, 7937, "ClearChosenLayers"},
    {7938, 7938, "ConfirmClearTextLines"},
    {7940, 7940, "OpenModeHelpPage"},
    {8795, 8795, "RunProjectionWindow"},
    {8800, 8800, "RunOptimizeCommand"},
    {8801, 8801, "RunPathCheckMenu"},
    {8802, 8802, "ShowContourArea"},
    {8803, 8803, "RunPathUtilityCommand"},
    {8804, 8804, "RunJoinPathsCommand"},
    {8917, 8917, "RunLayerReport(1)"},
    {9911, 9911, "RunFontEditorLoop"},
    {9912, 9912, "DispatchTextSignCommand"},
    {9915, 9915, "RunReliefGuideLoop"},
    {9917, 9917, "DispatchRasterCommand(17)"},
    {9920, 9920, "DispatchTextSignCommand"},
    {9923, 9923, "RunPhotoMillingLoop(0)"},
    {9925, 9925, "RunImportFormatMenu(1)"},
    {9929, 9929, "ShowToolPathPreview(29,0)"},
    {9944, 9945, "DispatchReliefCommand"},
    {9948, 9948, "DispatchReliefCommand"},
    {9999, 9999, "AskQuitProgram"},
};

std::string ExpectedOperation(uint32_t code) {
  for (const TExpected& e : kExpected)
    if (code >= e.first && code <= e.last) return e.operation;
  return "";
}

TEST(DispatchTable, IsOrderedWithoutOverlaps) {
  int count = 0;
  const TDispatchEntry* table = DispatchTable(count);
  ASSERT_GT(count, 0);
  for (int i = 0; i < count; ++i) {
    EXPECT_LE(table[i].first, table[i].last) << table[i].operation;
    if (i > 0) {
      EXPECT_LT(table[i - 1].last, table[i].first) << table[i].operation;
    }
    EXPECT_NE(table[i].run, nullptr);
  }
}

TEST(DispatchTable, EveryCodeReachesItsOperationAndNoOtherCodeReachesAny) {
  int wrong = 0;
  for (uint32_t code = 0; code <= 0xFFFF; ++code) {
    const TDispatchEntry* entry = FindDispatchEntry(uint16_t(code));
    const std::string got = entry != nullptr ? entry->operation : "";
    const std::string want = ExpectedOperation(code);
    if (got != want && ++wrong <= 20) ADD_FAILURE() << "code " << code << ": " << got << " instead of " << want;
  }
  EXPECT_EQ(wrong, 0);
}

// --- running the dispatcher --------------------------------------------------------------

std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary) << bytes;
}

const std::string kSquare = Records({Rec(11, 0, 0), Rec(10, 10, 0), Rec(10, 10, 10), Rec(10, 0, 0)});
const std::string kLine = Records({Rec(11, 20, 20), Rec(10, 30, 25)});

// A screen with layer 0 current and empty work files.
class Dispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    HighestLayer = 3;
    CurrentLayer = 0;
    for (uint8_t& v : LayerVisible) v = 1;
    for (int n = 0; n <= HighestLayer; ++n) WriteBytes(screen_.Dir() / BuildLayerBareName(n), "");
    ClearVectorStore();
    ClearClipboardFile();
    WriteBytes(screen_.Dir() / kScratchStoreName, "");
    RecountAllLayerRecords();
    // Fresh undo slots: no step from an earlier test.
    if (UndoSlots != nullptr) ReleaseUndoSlots();
    InitUndoSlots();
    keptCommand_ = CommandWord;
    paramImage_.Install();
  }
  void TearDown() override {
    CommandWord = keptCommand_;
    StoreHoldsData = 0;
    paramImage_.Restore();
  }
  void Run(TCommandCode code) {
    CommandWord = code;
    DispatchMainCommand(kBuildVariantCode);
  }
  std::string File(const std::string& name) { return ReadBytes(screen_.Dir() / name); }
  void Put(const std::string& name, const std::string& bytes) { WriteBytes(screen_.Dir() / name, bytes); }
  // The store holds the given records as the selection.
  void Select(const std::string& bytes) {
    Put(kVectorStoreName, bytes);
    StoreHoldsData = 1;
  }

  TScreen screen_;
  TCommandCode keptCommand_ = 0;
  torvtest::TZeroedParamImage paramImage_;
};

TEST_F(Dispatch, CodesWithoutAnEntryDoNothing) {
  Put("Layer0.TMP", kSquare);
  Select(kLine);
  for (TCommandCode code : {0, 2, 42, 82, 402, 1108, 5000, 9998, 65535}) {
    Run(code);
    EXPECT_STREQ(DispatchedOperation, "") << code;
    EXPECT_EQ(CommandWord, code) << code;
    EXPECT_EQ(File("Layer0.TMP"), kSquare) << code;
    EXPECT_EQ(File(kVectorStoreName), kLine) << code;
    EXPECT_EQ(StoreHoldsData, 1) << code;
  }
}

TEST_F(Dispatch, DeleteWorksOnTheSelectionWhenThereIsOneElseOnTheLayer) {
  Run(69);
  EXPECT_STREQ(DispatchedOperation, "RunLayerFileEditCommand");
  Select("");
  Run(69);
  EXPECT_STREQ(DispatchedOperation, "RunLayerFileEditCommand") << "a flag without records is no selection";
  Select(kLine);
  Run(69);
  EXPECT_STREQ(DispatchedOperation, "DispatchMilling2DCommand");
}

TEST_F(Dispatch, SplitAtCrossingsRunsOnTheSelection) {
  // A figure eight: one contour crossing itself at (1, 1).
  Select(Records({Rec(11, 0, 0), Rec(10, 2, 2), Rec(10, 2, 0), Rec(10, 0, 2), Rec(10, 0, 0)}));
  Run(59);
  EXPECT_STREQ(DispatchedOperation, "DispatchMilling2DCommand");
  const std::string store = File(kVectorStoreName);
  ASSERT_EQ(store.size() % sizeof(TVectorRecord), 0u);
  int startsAtCrossing = 0;
  for (size_t at = 0; at < store.size(); at += sizeof(TVectorRecord)) {
    TVectorRecord r;
    std::memcpy(&r, store.data() + at, sizeof r);
    if (r.type == 11 && std::fabs(r.x - 1) < 1e-3 && std::fabs(r.y - 1) < 1e-3) ++startsAtCrossing;
  }
  EXPECT_EQ(startsAtCrossing, 2) << "both loops begin at the crossing";
  EXPECT_EQ(CommandWord, 41) << "mark mode afterwards";
}

TEST_F(Dispatch, ZoomAllWithTheMiddleButtonTakesMode13) {
  MouseButtonState = 1;
  Run(1111);
  EXPECT_STREQ(DispatchedOperation, "ZoomAllCurrentView(13)");
  EXPECT_EQ(CommandWord, 41) << "mark mode follows";
  MouseButtonState = 0;
  Run(1111);
  EXPECT_STREQ(DispatchedOperation, "ZoomAllCurrentView(2)");
  EXPECT_EQ(CommandWord, 41);
}

TEST_F(Dispatch, ViewCommandsSwitchTheRulersOnAndEnterMarkMode) {
  for (TCommandCode code : {1102, 1105, 1106, 1107, 1114}) {
    DrawingArea.used = code == 1102 ? 1 : 0;
    Run(code);
    EXPECT_EQ(CommandWord, 41) << code;
    EXPECT_EQ(DrawingArea.used, 1) << code;
  }
}

TEST_F(Dispatch, UndoWithNothingToUndoLeavesTheScreenAndWithASnapshotRestores) {
  screen_.UseScript("key Enter\n");  // message 42
  const auto before = TScreen::Pixels();
  Run(632);
  EXPECT_TRUE(TScreen::Pixels() == before) << "nothing redrawn";
  EXPECT_NE(screen_.ReadFile("transcript.txt").find("Nichts zu bearbeiten"), std::string::npos);

  Put("Layer0.TMP", kSquare);
  RecountAllLayerRecords();
  ASSERT_TRUE(TakeUndoSnapshot(kUndoCurrentLayer));
  Put("Layer0.TMP", kSquare + kLine);
  Run(632);
  EXPECT_EQ(File("Layer0.TMP"), kSquare);
  Run(636);
  EXPECT_EQ(File("Layer0.TMP"), kSquare + kLine);
}

TEST_F(Dispatch, MarkingAndClipboardCodesMoveTheRecords) {
  Put("Layer0.TMP", kSquare + kLine);
  RecountAllLayerRecords();
  Run(43);
  EXPECT_EQ(File(kVectorStoreName), kSquare + kLine);
  EXPECT_EQ(File("Layer0.TMP"), "");
  EXPECT_EQ(StoreHoldsData, 1);

  Run(415);
  EXPECT_EQ(File(kClipboardFileName), kSquare + kLine) << "copy";
  EXPECT_EQ(File(kVectorStoreName), kSquare + kLine);
  Run(414);
  EXPECT_EQ(File(kClipboardFileName), kSquare + kLine) << "cut";
  EXPECT_EQ(StoreHoldsData, 0);
  Run(416);
  EXPECT_EQ(File(kVectorStoreName), kSquare + kLine) << "paste";
  EXPECT_EQ(StoreHoldsData, 1);

  Run(410);
  EXPECT_EQ(File("Layer0.TMP"), kSquare + kLine) << "unmark all";
  EXPECT_EQ(StoreHoldsData, 0);
  EXPECT_TRUE(UndoSlotHoldsStep(0));
}

TEST_F(Dispatch, UnmarkAllWithAnEmptySelectionStillTakesTheSnapshot) {
  Put("Layer0.TMP", kSquare);
  RecountAllLayerRecords();
  ASSERT_FALSE(UndoSlotHoldsStep(0));
  Run(410);
  EXPECT_TRUE(UndoSlotHoldsStep(0));
  EXPECT_EQ(File("Layer0.TMP"), kSquare);
  EXPECT_EQ(File(kVectorStoreName), "");
}

// The modules with their own loops: the store waits in "VekArZw.TMP" and
// comes back byte for byte; the scratch file is empty afterwards, and the
// layer did not receive the selection.
TEST_F(Dispatch, ModulesParkTheStoreAndBringItBackUnchanged) {
  std::string selection;
  for (int i = 0; i < 700; ++i) selection += Records({Rec(i % 2 ? 10 : 11, float(i) * 0.5f, float(-i) / 3.0f, -3)});
  for (TCommandCode code : {9911, 9915, 9944, 9945, 9948}) {
    Put("Layer0.TMP", kSquare);
    Put(kScratchStoreName, kLine);  // left over from elsewhere: must not reach the store
    Select(selection);
    Run(code);
    EXPECT_EQ(File(kVectorStoreName), selection) << code;
    EXPECT_EQ(StoreHoldsData, 1) << code;
    EXPECT_EQ(File(kScratchStoreName), "") << code;
    EXPECT_EQ(File("Layer0.TMP"), kSquare) << code;
  }
}

TEST_F(Dispatch, ModulesWithoutASelectionComeBackWithout) {
  Put(kScratchStoreName, kLine);
  Run(9944);
  EXPECT_EQ(StoreHoldsData, 0);
  EXPECT_EQ(File(kVectorStoreName), "");
  EXPECT_EQ(File(kScratchStoreName), "");
}

TEST_F(Dispatch, ReliefGuideKeepsTheMainScreenSettings) {
  uint8_t block3[121] = {};
  GetParamBlock(3, block3, sizeof block3);
  block3[63] = 1;
  block3[86] = 1;
  PutParamBlock(3, block3, sizeof block3);
  Run(9915);
  GetParamBlock(3, block3, sizeof block3);
  EXPECT_EQ(block3[63], 1);
  EXPECT_EQ(block3[86], 1);
}

TEST_F(Dispatch, AutoHandOverByTheMachineRecordField) {
  std::vector<uint8_t> block14(kParamBlockSizes[14]);
  GetParamBlock(14, block14.data(), uint16_t(block14.size()));
  block14[1582] = 0;
  block14[1583] = 0;
  PutParamBlock(14, block14.data(), uint16_t(block14.size()));
  SetPathOutputMode(0);
  Run(3189);
  EXPECT_STREQ(DispatchedOperation, "RunPathExport");
  EXPECT_EQ(GetPathOutputMode(), 0);

  block14[1583] = 1;
  PutParamBlock(14, block14.data(), uint16_t(block14.size()));
  Run(3189);
  EXPECT_STREQ(DispatchedOperation, "RunDirectMilling(7)");
  EXPECT_EQ(GetPathOutputMode(), 2);

  Run(3198);
  EXPECT_EQ(GetPathOutputMode(), 1);
}

TEST_F(Dispatch, LayerFillCommandsSwitchTheStartPointsOffAndEnterMarkMode) {
  for (TCommandCode code : {7926, 7927}) {
    DisplayFlags = 32 | 2;
    Run(code);
    EXPECT_EQ(DisplayFlags & 32, 0) << code << ": start points off";
    EXPECT_EQ(DisplayFlags & 2, 2) << code << ": other bits kept";
    EXPECT_EQ(CommandWord, 41) << code;
  }
}

}  // namespace
