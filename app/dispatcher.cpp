#include "app/dispatcher.h"

#include <string>

#include "cad/cad_services_standin.h"
#include "cad/construction_frame.h"
#include "cad/drawing_transforms.h"
#include "cad/layout_limits_dialog.h"
#include "cad/transform_dialog.h"
#include "cad/snapping.h"
#include "commands/drawing_file_commands.h"
#include "commands/input_wait.h"
#include "commands/menu_bar.h"
#include "commands/main_screen.h"
#include "commands/menu_services_standin.h"
#include "commands/side_menu.h"
#include "exchange/exchange_standin.h"
#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/not_yet_available.h"
#include "frame/param_file.h"
#include "app/program_start.h"
#include "machine/nc_output_standin.h"
#include "model/drawing_file.h"
#include "model/drawing_load.h"
#include "model/layer_files.h"
#include "cad/marking_commands.h"
#include "cad/mouse_selection.h"
#include "model/model_services_standin.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "paths/machining_services_standin.h"
#include "paths/path_core_services_standin.h"
#include "paths/path_errors.h"
#include "paths/tool_table.h"
#include "paths/vector_cleanup.h"
#include "projection/projection_standin.h"
#include "raster/raster_standin.h"
#include "relief/core/relief_core_services_standin.h"
#include "relief/machining/relief_machining_standin.h"
#include "text/font_services_standin.h"
#include "text/text_services_standin.h"
#include "ui/info_window.h"
#include "ui/start_dialogs_standin.h"
#include "ui/zoom_commands.h"
#include "view/redraw.h"
#include "view/view_services_standin.h"
#include "view/view_transform.h"

const char* DispatchedOperation = "";

namespace {

uint16_t dispatchCode = 0;      // the command word as read at entry
int32_t dispatchVariant = 0;    // the variant code of the main loop

std::string LayerFile() { return GetCurrentLayerFileName(); }

// The rulers switch is the first byte of the graphic window record; a zoom
// switches the rulers on.
void SwitchRulersOn() { DrawingArea.used = 1; }

// Before a module window the main screen is suspended; afterwards it comes
// back (with redraw: the current view is drawn again). The selection waits
// in "VekArZw.TMP" meanwhile, as around the module loops, so a module that
// returns at once leaves it as it was.
void LeaveMainScreen() {
  MoveStoreToScratchFile();
  SuspendMainScreen();
}

// The module screen is gone: the main screen is laid out and drawn whole
// again (menu bar, side menu, rulers and the current view). The command word
// the module ended with (the quit command among them) is kept.
void ReturnToMainScreen() {
  const TCommandCode ending = CommandWord;
  LoadStoreFromScratchFile();
  RestoreMainScreen(0);
  RebuildScreen();
  CommandWord = ending;
}

void Reached(const char* operation) { DispatchedOperation = operation; }

// --- entries with more than one step ----------------------------------------------------
void RunPathDirections() {
  if (LayerVisible[CurrentLayer] != 0) ShowPathDirections(LayerFile(), false);
  if (StoreHoldsData != 0) ShowPathDirections(kVectorStoreName, false);
}

void RunMarkingMenuCommand() {
  if (RunMarkingMenu()) PickTextLineAtCursor(CurrentLayer);
}

// 69: deleting works on the selection when there is one, else on the layer.
void RunDeleteCommand() {
  if (StoreHoldsData != 0 && CountFileRecords(kVectorStoreName) > 0) {
    Reached("DispatchMilling2DCommand");
    DispatchMilling2DCommand();
  } else {
    Reached("RunLayerFileEditCommand");
    RunLayerFileEditCommand(LayerFile());
  }
}

void RunUndoStep(int direction) {
  if (StepUndoRedo(direction)) RedrawFileView("", 2);
}

void RunMillingTraceCommand() {
  FlushVectorStoreToCurrentLayer();
  RunMillingTraceMenu(LayerFile());
}

void RunInfoWindowCommand() {
  ShowInfoWindow();
  if (RedrawState > 0) RedrawCurrentView(2);
}

void RunPathSwitchesCommand() {
  if (EditPathSwitches(0)) RedrawCurrentView(2);
  EnterMarkMode();
}

void RunZoomAllCommand() {
  // The middle button zooms to everything including the layout area.
  if (MouseButtonState == 1) {
    Reached("ZoomAllCurrentView(13)");
    ZoomAllCurrentView(13);
  } else {
    Reached("ZoomAllCurrentView(2)");
    ZoomAllCurrentView(2);
  }
  EnterMarkMode();
}

void RunLayerFillCommand(bool pick) {
  if (pick) {
    PickCurrentLayerAtCursor();
  } else {
    SelectCurrentLayer(1);
  }
  FillCurrentLayerContours();
  EnterMarkMode();
  SwitchOffStartPointDisplay();
}

void RunProjectionCommand() {
  ResetProjectionSettings();
  SetReliefZeroFlag(0);
  LeaveMainScreen();
  RunProjectionWindow();
  ReturnToMainScreen();
}

void RunScannerCommand() {
  LeaveMainScreen();
  FreeLoadedFont();
  FreePointMarkerTable();
  DispatchRasterCommand(17);
  ReturnToMainScreen();
}

void RunPhotoMillingCommand() {
  LeaveMainScreen();
  FreeLoadedFont();
  FreePointMarkerTable();
  ShowSideMenu(23);
  RunPhotoMillingLoop(0);
  ReturnToMainScreen();
}

void RunToolPathPreviewCommand() {
  LeaveMainScreen();
  FreePointMarkerTable();
  ShowToolPathPreview(29, 0);
  ReturnToMainScreen();
}

void RunOutputModeThen(void (*run)()) {
  SetPathOutputMode(1);
  run();
}

// clang-format off
const TDispatchEntry kTable[] = {
    {1, 1, "RebuildScreen", [] { RebuildScreen(); }},
    {20, 20, "ShowLayoutLimitsDialog", [] { ShowLayoutLimitsDialog(); }},
    {26, 26, "RunLayoutFunctionsWindow", [] { RunLayoutFunctionsWindow(); }},
    {36, 36, "RunNewSerialPlateCommand", [] { RunNewSerialPlateCommand(); }},
    {37, 37, "RunNewSignCommand(2)", [] { RunNewSignCommand(2); }},
    {38, 38, "ConfirmClearWork(0,1)", [] { ConfirmClearWork(0, 1); }},
    {39, 39, "ConfirmClearWork(1,1)", [] { ConfirmClearWork(1, 1); }},
    {40, 40, "ShowPathDirections", RunPathDirections},
    {41, 41, "MarkInCurrentLayer(0)", [] { MarkInCurrentLayer(0); }},
    {43, 43, "MarkWholeCurrentLayer", [] { MarkWholeCurrentLayer(); }},
    {44, 44, "UnmarkContoursWithMouse", [] { UnmarkContoursWithMouse(); }},
    {45, 45, "RunMarkingMenu", RunMarkingMenuCommand},
    {50, 68, "DispatchMilling2DCommand", [] { DispatchMilling2DCommand(); }},
    {69, 69, "DispatchMilling2DCommand|RunLayerFileEditCommand", RunDeleteCommand},
    {70, 80, "DispatchMilling2DCommand", [] { DispatchMilling2DCommand(); }},
    {81, 81, "RunCopyFromLayerCommand", [] { RunCopyFromLayerCommand(); }},
    {83, 83, "RunCuttingDepthsCommand(0)", [] { RunCuttingDepthsCommand(0); }},
    {84, 84, "RunContourMergeMenu", [] { RunContourMergeMenu(); }},
    {90, 399, "RunConstructionCommand", [] { RunConstructionCommand(LayerFile(), dispatchCode); }},
    {400, 400, "ScaleDrawingByPercent", [] { ScaleDrawingByPercent(); }},
    {401, 401, "DistortDrawingXYZ", [] { DistortDrawingXYZ(); }},
    {410, 410, "UnmarkAll", [] { UnmarkAll(); }},
    {411, 411, "RunContourMarking(layer,1)", [] { RunContourMarking(LayerFile(), 1); }},
    {412, 412, "PickInAnyLayerCommand", [] { PickInAnyLayerCommand(); }},
    {413, 413, "ShowSelectionPathInfo", [] { ShowSelectionPathInfo(); }},
    {414, 414, "CutStoreToClipboardFile", [] { CutStoreToClipboardFile(); }},
    {415, 415, "CopyStoreToClipboardFile", [] { CopyStoreToClipboardFile(); }},
    {416, 416, "PasteClipboardFileIntoStore", [] { PasteClipboardFileIntoStore(); }},
    {600, 600, "RunDimensionCommand(12)", [] { RunDimensionCommand(12); }},
    {601, 601, "RunDimensionLineCommand", [] { RunDimensionLineCommand(); }},
    {606, 606, "RunDimensionCommand(13)", [] { RunDimensionCommand(13); }},
    {607, 607, "RunStartPointCommand", [] { RunStartPointCommand(); }},
    {610, 610, "RunContourPickCommand", [] { RunContourPickCommand(); }},
    {611, 611, "RunReplaceElementCommand(13)", [] { RunReplaceElementCommand(13); }},
    {612, 612, "RunAlignPointCommand", [] { RunAlignPointCommand(); }},
    {613, 613, "RunDeletePointCommand(0)", [] { RunDeletePointCommand(0); }},
    {614, 614, "RunReplaceElementCommand(1)", [] { RunReplaceElementCommand(1); }},
    {615, 615, "RunReplaceElementCommand(2)", [] { RunReplaceElementCommand(2); }},
    {616, 616, "RunReplaceElementCommand(3)", [] { RunReplaceElementCommand(3); }},
    {617, 617, "RunInsertPointCommand", [] { RunInsertPointCommand(); }},
    {618, 618, "RunMovePointCommand", [] { RunMovePointCommand(); }},
    {619, 619, "RunDeleteVectorCommand", [] { RunDeleteVectorCommand(); }},
    {620, 620, "RunReplaceElementCommand(8)", [] { RunReplaceElementCommand(8); }},
    {621, 621, "RunSplitVectorCommand", [] { RunSplitVectorCommand(); }},
    {622, 622, "RunEditDrillHoleCommand", [] { RunEditDrillHoleCommand(); }},
    {624, 624, "EditLineWidthSettings", [] { EditLineWidthSettings(); }},
    {625, 625, "RunLineWidthCommand", [] { RunLineWidthCommand(); }},
    {626, 626, "RunShortenLineCommand", [] { RunShortenLineCommand(); }},
    {627, 627, "RunContourPointCommand", [] { RunContourPointCommand(); }},
    {628, 628, "RunLineTypeMenu", [] { RunLineTypeMenu(); }},
    {629, 629, "RunJoinPointsCommand", [] { RunJoinPointsCommand(); }},
    {630, 630, "RunRoundCornersCommand", [] { RunRoundCornersCommand(); }},
    {631, 631, "RunSplitContourCommand", [] { RunSplitContourCommand(); }},
    {632, 632, "StepUndoRedo(0)", [] { RunUndoStep(0); }},
    {633, 633, "RunReplaceByShapeCommand(10)", [] { RunReplaceByShapeCommand(10); }},
    {634, 634, "RunReplaceByShapeCommand(11)", [] { RunReplaceByShapeCommand(11); }},
    {635, 635, "RunReplaceByShapeCommand(12)", [] { RunReplaceByShapeCommand(12); }},
    {636, 636, "StepUndoRedo(1)", [] { RunUndoStep(1); }},
    {637, 637, "RunJoinLinesCommand", [] { RunJoinLinesCommand(); }},
    {638, 638, "RunAppendPointCommand", [] { RunAppendPointCommand(); }},
    {639, 639, "RunSplitAtPointCommand", [] { RunSplitAtPointCommand(); }},
    {640, 640, "RunLayerFileEditCommand", [] { RunLayerFileEditCommand(LayerFile()); }},
    {641, 641, "RunCornerInFrameCommand", [] { RunCornerInFrameCommand(); }},
    {642, 642, "SmoothContourSteps", [] { SmoothContourSteps(); }},
    {643, 643, "TransformSelectionCommand", [] { TransformSelectionCommand(); }},
    {645, 645, "RunPathSortMenu", [] { RunPathSortMenu(); }},
    {649, 649, "RunSmoothToCurvesCommand", [] { RunSmoothToCurvesCommand(); }},
    {660, 660, "RunIntersectionPointsCommand", [] { RunIntersectionPointsCommand(); }},
    {698, 698, "RunVectorBoundaryMenu", [] { RunVectorBoundaryMenu(); }},
    {699, 699, "RunPolylineMenu", [] { RunPolylineMenu(); }},
    {700, 799, "DispatchMilling2DCommand", [] { DispatchMilling2DCommand(); }},
    {801, 801, "RunDrillPatternMenu", [] { RunDrillPatternMenu(); }},
    {853, 853, "RunLeadMovesCommand", [] { RunLeadMovesCommand(); }},
    {854, 854, "RunHoldingTabsCommand(0)", [] { RunHoldingTabsCommand(0); }},
    {855, 855, "RunPocketStrategyMenu", [] { RunPocketStrategyMenu(); }},
    {856, 856, "RunMillingPropertyDialog", [] { RunMillingPropertyDialog(); }},
    {858, 858, "RunPathListEditor", [] { RunPathListEditor(); }},
    {860, 860, "RunHoldingTabsCommand(1)", [] { RunHoldingTabsCommand(1); }},
    {944, 944, "SelectTool(layer,0)", [] { SelectTool(CurrentLayer, 0); }},
    {945, 945, "EditToolsOfCurrentLayer", [] { RunToolTableCommand(); EnterMarkMode(); }},
    {1003, 1003, "RunMillingTraceMenu", RunMillingTraceCommand},
    {1091, 1091, "ShowInfoWindow", RunInfoWindowCommand},
    {1092, 1092, "RunSettingsDialog", [] { RunSettingsDialog(); EnterMarkMode(); }},
    {1094, 1094, "EditPathSwitches(0)", RunPathSwitchesCommand},
    {1102, 1102, "RedrawCurrentView(2)", [] { RedrawCurrentView(2); EnterMarkMode(); }},
    {1105, 1105, "RedrawWithExtent(view,2)",
     [] { SwitchRulersOn(); RedrawWithExtent(CurrentViewExtent, 2); EnterMarkMode(); }},
    {1106, 1106, "ZoomOutCurrentView(2)", [] { SwitchRulersOn(); ZoomOutCurrentView(2); EnterMarkMode(); }},
    {1107, 1107, "ZoomWindowCurrentView(2)", [] { SwitchRulersOn(); ZoomWindowCurrentView(2); EnterMarkMode(); }},
    {1109, 1109, "OpenLayerPanel(12)", [] { if (OpenLayerPanel(12, LayerVisible)) RebuildScreen(); }},
    {1110, 1110, "RunJobOverview", [] { RunJobOverview(); EnterMarkMode(); }},
    {1111, 1111, "ZoomAllCurrentView", RunZoomAllCommand},
    {1112, 1112, "PanViewByDragging(0)", [] { PanViewByDragging(0); }},
    {1113, 1113, "RunBackgroundPictureCommand",
     [] { RunBackgroundPictureCommand(); EnterMarkMode(); RedrawCurrentView(2); }},
    {1114, 1114, "ShowZoomPopup", [] { SwitchRulersOn(); ShowZoomPopup("", 2, 13); EnterMarkMode(); }},
    {1201, 1201, "ShowProjectionView(6)", [] { ShowProjectionView(6); }},
    {1202, 1202, "ShowProjectionView(7)", [] { ShowProjectionView(7); }},
    {1203, 1203, "ShowReliefVolumeView", [] { ShowReliefVolumeView(); }},
    {1204, 1204, "ShowReliefVolumeViewWithPalette", [] { ShowReliefVolumeViewWithPalette(); }},
    {1306, 1306, "RunLayerContourPass", [] { RunLayerContourPass(); EnterMarkMode(); }},
    {1311, 1311, "EditDrawingNote", [] { EditDrawingNote(); }},
    {1318, 1318, "RunTextSignWindow", [] { RunTextSignWindow(); }},
    {1319, 1319, "DispatchTextSignCommand", [] { DispatchTextSignCommand(); }},
    {1381, 1382, "DispatchTextSignCommand", [] { DispatchTextSignCommand(); }},
    {1383, 1383, "RunGraphicTextCommand", [] { RunGraphicTextCommand(); }},
    {1384, 1384, "DispatchTextSignCommand", [] { DispatchTextSignCommand(); }},
    {1695, 1695, "RunGuideLineCommand(3)", [] { RunGuideLineCommand(3); }},
    {1696, 1696, "RunGuideLineCommand(1)", [] { RunGuideLineCommand(1); }},
    {1697, 1697, "RunGuideLineCommand(2)", [] { RunGuideLineCommand(2); }},
    {1698, 1698, "RunGuideLineCommand(0)", [] { RunGuideLineCommand(0); }},
    {3011, 3011, "RunOpenDrawingCommand", [] { RunOpenDrawingCommand(); }},
    {3012, 3012, "RunRecentDrawingsCommand", [] { RunRecentDrawingsCommand(); }},
    {3095, 3095, "SaveToolTableFile", [] { SaveToolTableFile(); }},
    {3096, 3096, "LoadToolTableFile", [] { LoadToolTableFile(); }},
    {3098, 3098, "OpenWorkTextFile(0)", [] { OpenWorkTextFile(0); }},
    {3099, 3099, "EditToolsInVectorFile(layer)", [] { EditToolsInVectorFile(LayerFile()); }},
    {3113, 3113, "SaveDrawing(0)", [] { SaveDrawing(0); }},
    {3114, 3114, "SaveDrawing(1)", [] { SaveDrawing(1); }},
    {3186, 3186, "RunMultipleExport", [] { RunOutputModeThen([] { RunMultipleExport(); }); }},
    {3189, 3189, "RunAutoHandOver", [] { RunAutoHandOver(); }},
    {3190, 3190, "RunControllerHandOver", [] { RunControllerHandOver(); }},
    {3192, 3192, "AskSaveAndClearProject", [] { AskSaveAndClearProject(); }},
    {3194, 3194, "OpenProjectFile", [] { OpenProjectFile(); }},
    {3195, 3195, "SaveProjectFile", [] { SaveProjectFile(); }},
    {3196, 3196, "RunPathExport", [] { RunPathExport(); }},
    {3197, 3197, "RunInsertTextCommand", [] { RunInsertTextCommand(); }},
    {3198, 3198, "RunDirectMilling(7)", [] { RunOutputModeThen([] { RunDirectMilling(7); }); }},
    {3199, 3199, "RunDirectMilling(8)", [] { RunOutputModeThen([] { RunDirectMilling(8); }); }},
    {3232, 3232, "RunDirectMilling(136)", [] { RunDirectMilling(136); }},
    {6001, 6001, "RunNavigationCommand", [] { RunNavigationCommand(dispatchVariant); }},
    {7901, 7901, "RunOptionsMenuAndRebuild", [] { RunOptionsMenuAndRebuild(); }},
    {7903, 7906, "OpenHelpTopic", [] { OpenHelpTopic(dispatchCode); }},
    {7925, 7925, "OpenLayerPanel(2)", [] { OpenLayerPanel(2, LayerVisible); }},
    {7926, 7926, "SelectCurrentLayer(1)", [] { RunLayerFillCommand(false); }},
    {7927, 7927, "PickCurrentLayerAtCursor", [] { RunLayerFillCommand(true); }},
    {7937, 7937, "ClearChosenLayers", [] { ClearChosenLayers(); }},
    {7938, 7938, "ConfirmClearTextLines", [] { ConfirmClearTextLines(); }},
    {7940, 7940, "OpenModeHelpPage", [] { OpenModeHelpPage(); }},
    {8795, 8795, "RunProjectionWindow", RunProjectionCommand},
    {8800, 8800, "RunOptimizeCommand", [] { RunOptimizeCommand(); }},
    {8801, 8801, "RunPathCheckMenu", [] { RunPathCheckMenu(); }},
    {8802, 8802, "ShowContourArea", [] { ShowContourArea(); }},
    {8803, 8803, "RunPathUtilityCommand", [] { RunPathUtilityCommand(); }},
    {8804, 8804, "RunJoinPathsCommand", [] { RunJoinPathsCommand(); }},
    {8917, 8917, "RunLayerReport(1)", [] { RunLayerReport(1); }},
    {9911, 9911, "RunFontEditorLoop", [] { RunFontEditorModule(); }},
    {9912, 9912, "DispatchTextSignCommand", [] { DispatchTextSignCommand(); }},
    {9915, 9915, "RunReliefGuideLoop", [] { RunReliefGuideModule(); }},
    {9917, 9917, "DispatchRasterCommand(17)", RunScannerCommand},
    {9920, 9920, "DispatchTextSignCommand", [] { DispatchTextSignCommand(); }},
    {9923, 9923, "RunPhotoMillingLoop(0)", RunPhotoMillingCommand},
    {9925, 9925, "RunImportFormatMenu(1)", [] { RunImportFormatMenu(1); }},
    {9929, 9929, "ShowToolPathPreview(29,0)", RunToolPathPreviewCommand},
    {9944, 9945, "DispatchReliefCommand", [] { RunReliefModule(dispatchCode); }},
    {9948, 9948, "DispatchReliefCommand", [] { RunReliefModule(dispatchCode); }},
    {9999, 9999, "AskQuitProgram", [] { AskQuitProgram(); }},
};
// clang-format on
constexpr int kTableCount = int(sizeof kTable / sizeof kTable[0]);

}  // namespace

const TDispatchEntry* DispatchTable(int& count) {
  count = kTableCount;
  return kTable;
}

const TDispatchEntry* FindDispatchEntry(uint16_t code) {
  for (const TDispatchEntry& entry : kTable) {
    if (code < entry.first) return nullptr;
    if (code <= entry.last) return &entry;
  }
  return nullptr;
}

void DispatchMainCommand(int32_t variantCode) {
  dispatchCode = CommandWord;
  dispatchVariant = variantCode;
  const TDispatchEntry* entry = FindDispatchEntry(dispatchCode);
  DispatchedOperation = entry != nullptr ? entry->operation : "";
  if (entry != nullptr) {
    entry->run();
  } else if (dispatchCode != 0) {
    ShowNotYetAvailable(dispatchCode);
  }
}

void RunAutoHandOver() {
  if (IsMachineRecordFieldClear()) {
    Reached("RunPathExport");
    RunPathExport();
  } else {
    Reached("RunDirectMilling(7)");
    SetPathOutputMode(2);
    RunDirectMilling(7);
  }
}

void RunNavigationCommand(int32_t variantCode) { RunNavigationPanels(1, variantCode == 18 ? 11 : 3); }

void RunFontEditorModule() {
  MoveStoreToScratchFile();
  RunFontEditorLoop();
  LoadStoreFromScratchFile();
  DrawVectorFile(kVectorStoreName, 13, 12, 0);
}

namespace {
constexpr int kBlock3Size = 121;
constexpr int kMenuStyleByte = 63;
constexpr int kLayerBarByte = 86;
}  // namespace

void RunReliefGuideModule() {
  MoveStoreToScratchFile();
  DrawMenuBar(15);
  FreeLoadedFont();
  FreePointMarkerTable();
  KeptSideMenu = SideMenuNumber;
  // The guide lays out its screen with menu style 2 and without the layer
  // bar; the main screen's two settings come back when it is left.
  uint8_t block3[kBlock3Size] = {};
  GetParamBlock(3, block3, kBlock3Size);
  const uint8_t keptStyle = block3[kMenuStyleByte];
  const uint8_t keptLayerBar = block3[kLayerBarByte];
  block3[kMenuStyleByte] = 2;
  block3[kLayerBarByte] = 0;
  PutParamBlock(3, block3, kBlock3Size);
  SetMenuBarMode(4);
  ShowSideMenu(15);
  BackgroundShown = 0;
  RunReliefGuideLoop();
  GetParamBlock(3, block3, kBlock3Size);
  block3[kMenuStyleByte] = keptStyle;
  block3[kLayerBarByte] = keptLayerBar;
  PutParamBlock(3, block3, kBlock3Size);
  SetMenuBarMode(7);
  ReturnToMainScreen();
  ReportGlobalError();
}

void RunReliefModule(uint16_t code) {
  SetReliefZeroFlag(0);
  MoveStoreToScratchFile();
  DrawMenuBar(44);
  FreeLoadedFont();
  FreePointMarkerTable();
  KeptSideMenu = SideMenuNumber;
  ReliefEntryFlag = 0;
  DispatchReliefCommand(code - 9900);
  SetMenuBarMode(7);
  ReturnToMainScreen();
}
