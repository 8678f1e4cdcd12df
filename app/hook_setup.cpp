// Connects the hooks of the lower layers to the screen, the dialogs and the
// commands above them.
#include "app/hook_setup.h"

#include "cad/drawing_transforms.h"
#include "cad/layout_limits_dialog.h"
#include "cad/selection_handles.h"
#include "cad/snapping.h"
#include "cad/transform_dialog.h"
#include "commands/command_hooks.h"
#include "commands/input_wait.h"
#include "commands/menu_pages.h"
#include "frame/not_yet_available.h"
#include "frame/param_file.h"
#include "machine/nc_settings.h"
#include "ui/prompt_line.h"
#include "model/model_hooks.h"
#include "text/text_services_standin.h"
#include "ui/common_dialogs.h"
#include "ui/prompt_strip.h"
#include "view/character_cells.h"
#include "view/redraw.h"
#include "view/view_hooks.h"
#include "view/view_transform.h"

void InstallFrameHooks() { WriteNcSettingsDefaultsHook = WriteNcSettingsDefaults; }

void InstallModelHooks() {
  ShowPromptHook = ShowPromptLine;
  BeepHook = [](int32_t code) { BeepSignal(code); };
  WaitMouseReleaseHook = WaitForMouseRelease;
  CheckEscapeHook = CheckEscapeAbort;
  AskPictureButtonsHook = AskWithPictureButtons;
  DrawVectorFileHook = DrawVectorFile;
  DrawVectorRecordHook = DrawVectorRecord;
  ViewScaleHook = [] { return ViewScaleX; };
  DrawSquareMarkHook = DrawSquareMark;
  ClearPromptStripHook = DrawPanelBackground;
  RestoreGraphicAreaHook = RestoreGraphicArea;
  WaitForInputHook = WaitMsOrInput;
  ChooseFontFileHook = ChooseFontFile;
  SaveLayoutAreaHook = SaveLayoutAreaToParams;
  FlushDrawnRecordsHook = FlushDashedContour;
}

void InstallViewHooks() { ResetDrawingAreaHook = ResetDrawingArea; }

void InstallCommandHooks() {
  ShowSelectionHandlesHook = [] { ShowSelectionHandles(); };
  HideSelectionHandlesHook = [] { HideSelectionHandles(); };
  SelectionHandleClickHook = [] { return HandleSelectionHandleClick(); };
  TransformSelectionHook = [] { RunTransformCommand(SelectionHandles, SelectionHandleExtent, true); };
  CursorNearGuideLineHook = TestCursorNearGuideLine;
  LayoutLimitsDialogHook = ShowLayoutLimitsDialog;
  // The caption of the menu entry; a code only icons or keys give is
  // titled by its journal name.
  CommandTitleHook = [](uint16_t code) {
    std::string name;
    FindMenuEntryCaption(code, name);
    if (name.empty()) CommandJournalName(code, name);
    return name;
  };
}

void InstallCadHooks() {
  AskIncludeTextsHook = AskIncludeTexts;
  TransformTextObjectsHook = TransformTextObjects;
}
