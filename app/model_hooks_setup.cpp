// Connects the model's hooks to the screen and the dialogs.
#include "app/model_hooks_setup.h"

#include "ui/prompt_line.h"
#include "model/model_hooks.h"
#include "ui/common_dialogs.h"
#include "view/character_cells.h"
#include "view/view_transform.h"

void InstallModelHooks() {
  ShowPromptHook = ShowPromptLine;
  BeepHook = [](int32_t code) { BeepSignal(code); };
  WaitMouseReleaseHook = WaitForMouseRelease;
  CheckEscapeHook = CheckEscapeAbort;
  AskPictureButtonsHook = AskWithPictureButtons;
  DrawVectorFileHook = DrawVectorFile;
  DrawVectorRecordHook = DrawVectorRecord;
  FlushDrawnRecordsHook = FlushDashedContour;
}
