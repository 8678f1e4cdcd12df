#include "commands/start_panel.h"

#include <algorithm>

#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/program_state.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "commands/command_hooks.h"
#include "commands/drawing_file_commands.h"
#include "model/drawing_file.h"
#include "model/drawing_load.h"
#include "view/screen_scheme.h"
#include "ui/panels.h"
#include "ui/pictures.h"
#include "ui/popup_list.h"
#include "ui/prompt_strip.h"
#include "ui/common_dialogs.h"
#include "ui/start_dialogs_standin.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"
#include "view/redraw.h"
#include "model/layer_files.h"

int16_t VariantLogoX = 0;

namespace {

constexpr int kBlock0Size = 153;
constexpr int kLabelMessages[kStartButtons] = {1148, 1149, 1150, 1152, 3530};
constexpr int kPanelRows = 14;
constexpr uint16_t kClearAllWork = 65535;
constexpr int kJournalEditorMode = 5;
constexpr int kOptionsHelpTopic = 7905;

// The open panel's bounds; valid while RunStartScreen runs.
TStartPanelLayout openPanel;


uint8_t ReadStartFlags() {
  uint8_t block0[kBlock0Size] = {};
  GetParamBlock(0, block0, sizeof block0);
  return block0[kStartFlagsByte];
}

void WaitForButtonRelease() { WaitForMouseRelease(); }

// Runs the start panel's choice: 1 new drawing, 2 open, 3 last drawing.
void ActOnStartChoice(int choice) {
  if (choice == 1) {
    OfferSaveDrawing();
    ClearWorkFiles(kClearAllWork);
    LayoutLimitsDialogHook();
  } else if (choice == 2) {
    OfferSaveDrawing();
    OpenDrawingWithDialog(0);
    DrawPanelBackground();
  }
}

}  // namespace

bool IsStartPanelSwitchOn() { return (ReadStartFlags() & kShowStartPanel) != 0; }

TStartPanelLayout LayOutStartPanel() {
  int a = 320;
  for (int message : {1148, 1149, 1150, 1152}) a = std::max(a, MeasureTextWidth(GetMessageText(int16_t(message), 39)));
  const int w = a + 80;
  TStartPanelLayout layout;
  layout.x1 = int16_t((MaxX + 1) / 2 - w / 2);
  layout.x2 = int16_t(layout.x1 + w);
  layout.y1 = int16_t(((MaxY + 1) / 2) / 16 * 16 - 112);
  layout.y2 = int16_t(layout.y1 + 223);
  return layout;
}

TButtonRect StartButtonRect(const TStartPanelLayout& layout, int k) {
  const int top = layout.y1 + 48 + 32 * (k - 1);
  return TButtonRect{1, int16_t(layout.x1 + 16), int16_t(top), int16_t(layout.x1 + 40), int16_t(top + 24)};
}

std::string StartButtonPicture(int k) {
  switch (k) {
    case 1: return "NEUGRAF";
    case 2: return "OEFFNEN";
    case 3: return "LETZTEGR";
    case 4: return IsStartPanelSwitchOn() ? "AUSWAHL" : "NOTAUSW";
    case 5: return "FlaggeDeut";
    default: return "";
  }
}

void DrawInsetFrame(int x1, int y1, int x2, int d, int y2) {
  DrawBevelFrame(x1, y1, x2, y2);
  DrawEtchedFrame(x1 - d, y1 - d, x2 + d, y2 + d);
}

void DrawStartButton(int k, bool pressed) {
  if (k < 1 || k > kStartButtons) return;
  const TButtonRect rect = StartButtonRect(openPanel, k);
  DrawCaptionButton(" ", rect, 260, pressed ? 1 : 0, 274);
  // A picture larger than the button's face (the 32 x 22 "new" picture) is
  // scaled down to fit it rather than cut.
  DrawResourcePictureFitted(rect.x1 + 4, rect.y1 + 4, 16, 16, StartButtonPicture(k));
}

std::string StartPanelTitle() { return GetMessageText(1153, -29) + " " + GetProgramTitle(); }

void DrawStartScreen() {
  const TStartPanelLayout& p = openPanel;
  DrawGreyDialogPanel(p.x1, p.y1, p.x2, StartPanelTitle(), p.y2);
  DrawColourGradientBar(p.x1 + 8, p.y1 + 32, p.x2 - 8, p.y2 - 8);
  DrawInsetFrame(p.x1 + 8, p.y1 + 32, p.x2 - 8, 4, p.y2 - 8);
  DrawMakerLogo(p.x1, p.y1, p.x2, 2.0f, p.y2);
  for (int k = 1; k <= kStartButtons; ++k) {
    DrawStartButton(k, false);
    SetPenColor(274);
    DrawMenuFontText(p.x1 + 48, p.y1 + 56 + 32 * (k - 1), GetMessageText(int16_t(kLabelMessages[k - 1]), 39));
  }
}

void RunStartScreen() {
  if (RedrawRequested()) return;
  if (!IsStartPanelSwitchOn()) return;
  openPanel = LayOutStartPanel();
  TPopupFrame frame{};
  frame.left = openPanel.x1;
  frame.right = openPanel.x2;
  frame.top = openPanel.y1;
  frame.bottom = openPanel.y2;
  frame.lines = kPanelRows;
  OpenPopupFrame(frame);
  DrawStartScreen();
  const uint8_t keptCursorMode = CursorMode;
  CursorMode = 4;
  WaitForButtonRelease();

  int choice = 0;
  int tested = 0;
  for (;;) {
    PollGraphicCursor();
    if (RedrawRequested()) {
      // The full redraw that follows repaints the screen under the panel.
      uint32_t handle = frame.saved;
      if (handle != 0) DeleteSavedBitmap(handle);
      frame.saved = 0;
      CursorMode = keptCursorMode;
      return;
    }
    if ((MouseButtonState & 4) || CloseRequested) break;
    if ((MouseButtonState & 2) == 0) {
      WaitForWindowMessage();
      continue;
    }
    int hit = 0;
    for (int k = 1; k <= kStartButtons && hit == 0; ++k)
      if (IsPointInButton(StartButtonRect(openPanel, k), MouseX, MouseY)) hit = k;
    if (hit == 0) {
      WaitForButtonRelease();
      continue;
    }
    tested = hit;
    if (hit == 4) {
      DrawStartButton(4, true);
      ToggleStartFlags(kShowStartPanel);
      WaitForButtonRelease();
      DrawStartButton(4, false);
      continue;
    }
    if (hit == 5) {
      WaitForButtonRelease();
      ChooseLanguage();
      DrawStartScreen();
      continue;
    }
    choice = hit;
    break;
  }

  if (CursorShown) EraseMouseCursor();
  if (choice != 0) DrawStartButton(tested, true);
  CursorMode = keptCursorMode;
  WaitForButtonRelease();
  ClosePopupFrame(frame);
  ActOnStartChoice(choice);
}

void ToggleStartFlags(uint8_t mask) {
  uint8_t block0[kBlock0Size] = {};
  GetParamBlock(0, block0, sizeof block0);
  block0[kStartFlagsByte] = uint8_t(block0[kStartFlagsByte] ^ mask);
  PutParamBlock(0, block0, sizeof block0);
  // The switch must survive a program that does not end normally.
  SaveParamFileSafely();
}

std::string GetOnOffText(bool on) { return GetMessageText(on ? 363 : 364, 8); }

void OpenJournalInEditor() {
  LogDatedJournalLine("Edit: ");
  OpenWorkTextFile(kJournalEditorMode);
  WaitForMouseRelease();
  RedrawState = 0;
}

bool ResetParameterFile() {
  uint8_t answer = 0;
  if (!AskYesNoTwoLines(GetMessageText(2635, 39), GetMessageText(1019, 39), answer)) return false;
  // The parameter file is read from the current folder; the empty file makes
  // the loader rebuild it with every default.
  CreateEmptyFile(kParamFileName);
  LoadParamFile();
  RedrawCurrentView(2);
  return true;
}

void SetProgramOptionsTexts(TPopupList& list, std::string (&helpLines)[kPopupHelpLines]) {
  helpLines[0] = GetMessageText(2188, -kPopupHelpLineMax);
  helpLines[1] = GetMessageText(2189, -kPopupHelpLineMax);
  list.pictureName = "ProgrammHilfe1";
  list.pictureWidth = 60;
  list.pictureHeight = 40;
  list.helpLines = helpLines;
  list.title = GetMessageText(1251, 29);
  const bool on = IsStartPanelSwitchOn();
  list.captions[0] = (GetMessageText(1155, 29) + GetOnOffText(on)).substr(0, kPopupCaptionMax);
  list.names[0] = on ? "AUSWAHL" : "NOTAUSW";
  list.captions[1] = GetMessageText(2636, 20);
  list.names[1] = "Parameter";
  list.captions[2] = GetMessageText(2837, 20);
  list.names[2] = "HILFE_W";
  list.captions[3] = GetMessageText(1008, 20);
  list.names[3] = "MenueRec";
  list.captions[4] = GetMessageText(1716, 20);
  list.names[4] = "FlaggeDeut";
  list.captions[5] = GetMessageText(3530, 39);
  list.names[5] = "FlaggeDeut";
}

uint8_t RunProgramOptionsMenu() {
  uint8_t result = 0;
  std::string helpLines[kPopupHelpLines];
  TPopupList list;
  const int16_t x = MouseX, y = int16_t(MouseY - 32);
  for (;;) {
    InitPopupList(list);
    list.x = x;
    list.y = y;
    SetProgramOptionsTexts(list, helpLines);
    ShowPopupMenu(list);
    switch (list.result) {
      case 1: ToggleStartFlags(kShowStartPanel); break;
      case 2:
        if (ResetParameterFile()) result = 1;
        break;
      case 3: OpenHelpTopic(kOptionsHelpTopic); break;
      case 4: OpenJournalInEditor(); break;
      case 5:
        ChooseLanguage();
        result = 1;
        break;
      case 6: ChooseLanguage(); break;
      default: return result;
    }
    if (CloseRequested) return result;
  }
}

void DrawVariantLogo() {
  if (VariantLogoX <= 0) return;
  std::string file;
  int n = 4;
  if (VariantNumber < 2) {
    file = "_TORV.BMP";
  } else if (VariantNumber == 12) {
    file = "_PrgTyp12N.hpx";
    n = 3;
  } else if (VariantNumber == 20) {
    n = 3;
  }
  const int W = MaxX + 1;
  FillColorRect(W - 25 * n - 123, 0, VariantLogoX + 120, 25, plat::Rgb(220, 220, 220));
  if (!file.empty() && TestPlainFileExists(ProgramFolderName + file)) {
    DrawBmp8File(ProgramFolderName + file, 0, VariantLogoX + 6, 24, 104, 0, 1.0f);
  } else {
    const std::string logo = "_" + GetProgramTitle();
    DrawResourceBitmap(VariantLogoX, 0, 119, 25, kRopSrcCopy, logo);
  }
}
