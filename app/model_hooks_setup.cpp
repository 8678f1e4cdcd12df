// Connects the model's hooks to the screen and the dialogs.
#include "app/model_hooks_setup.h"

#include "ui/prompt_line.h"
#include "model/model_hooks.h"
#include "ui/common_dialogs.h"
#include "text/text_services_standin.h"
#include "ui/prompt_strip.h"
#include "view/character_cells.h"
#include "view/redraw.h"
#include "view/view_transform.h"

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
}
