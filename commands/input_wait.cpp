// The input wait, its key map and button map, the journal of the returned
// commands and the tooltips of the icon bar.
//
// Sections:
//   logo animation
//   keys, bars and mouse areas
//   tooltips
//   marking, drag commands and the journal
//   the wait
#include "commands/input_wait.h"

#include <algorithm>

#include "commands/command_hooks.h"
#include "commands/command_names.h"
#include "commands/drawing_file_commands.h"
#include "ui/graphic_controls.h"
#include "commands/hints.h"
#include "commands/icon_panel.h"
#include "commands/menu_bar.h"
#include "commands/menu_pages.h"
#include "commands/side_menu.h"
#include "commands/start_panel.h"
#include "commands/state_icons.h"
#include "frame/checked_files.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/program_state.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "model/drawing_file.h"
#include "model/layer_files.h"
#include "model/vector_store.h"
#include "ui/panels.h"
#include "ui/start_dialogs_standin.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"
#include "model/delete_selection.h"

uint8_t LeaveWaitFlag = 0;
uint8_t ClickTracking = 0;
int16_t TooltipIndex = -1;
uint8_t SelectionHandlesRebuild = 0;
uint8_t GivenByDrawingClick = 0;

namespace {

void RemoveCursor() {
  if (CursorShown) EraseMouseCursor();
}

// State of the running wait.
uint8_t passButtons = 0;
bool helpMode = false;
TPopupFrame tooltipFrame{};
bool tooltipOpen = false;

// --- logo animation ----------------------------------------------------------------------
// The variant logo's animation: the 120 saved one-pixel columns of the logo
// strip, scrolled cyclically one column every 40 ms.
constexpr int kLogoColumns = 120;
constexpr int kLogoHeight = 26;
constexpr uint32_t kLogoStepMs = 40;
struct TLogoAnimation {
  bool running = false;
  int x = 0;
  int phase = 0;
  uint32_t lastTick = 0;
  TBitmapHandle columns[kLogoColumns] = {};
};
TLogoAnimation logo;

void StartLogoAnimation() {
  logo.running = false;
  if (VariantLogoX <= 0 || AnimationsOn != 1) return;
  logo.x = VariantLogoX;
  for (int j = 0; j < kLogoColumns; ++j)
    SaveScreenRectBitmap(logo.x + j, 0, logo.x + j, kLogoHeight - 1, logo.columns[j]);
  logo.phase = 0;
  logo.lastTick = GetTickMs();
  logo.running = true;
}

void AdvanceLogoAnimation() {
  if (!logo.running) return;
  const uint32_t now = GetTickMs();
  if (now - logo.lastTick < kLogoStepMs) return;
  logo.lastTick = now;
  logo.phase = (logo.phase + 1) % kLogoColumns;
  RemoveCursor();
  for (int j = 0; j < kLogoColumns; ++j) DrawSavedBitmap(logo.x + j, 0, logo.columns[(j + logo.phase) % kLogoColumns]);
}

void FreeLogoAnimation() {
  if (!logo.running) return;
  for (TBitmapHandle& column : logo.columns) {
    if (column != 0) DeleteSavedBitmap(column);
    column = 0;
  }
  logo.running = false;
}

bool MenuDriven() { return (MenuBarMode & ~4) != 0; }
bool ViewButtonsEnabled() { return (MenuBarMode & 2) != 0; }

// --- keys, bars and mouse areas ----------------------------------------------------------
bool InArea(const TLayoutRect& r, int x, int y) {
  return r.used && x >= r.x1 && x <= r.x2 && y >= r.y1 && y <= r.y2;
}

void DrawBarIcon(const TButtonRect& button, const char* picture, uint8_t pressed, bool marker) {
  DrawIconButton(" ", picture, button, pressed, 274, 260);
  if (marker) DrawButtonCornerMarker(button.x1);
}

void PressViewButton(int button) {
  ViewBarButtons[button].flag = 1;
  DrawViewBarButton(button, true, 1);
}

void UnhighlightSideItem() {
  if (IconPanelInFront) return;
  if (HighlightedSideItem >= 0 && HighlightedSideItem <= LastSideItem) DrawSideItem(HighlightedSideItem, false);
}

// F9 inside the wait: help mode, the next command shows its help topic.
void SwitchHelpModeOn() {
  helpMode = true;
  RemoveCursor();
  CursorMode = 254;
}

void ZoomStepAtCursor(bool zoomIn) {
  if (CommandSubMode == 2 || CommandSubMode == 4 || ViewKind == 6) return;
  ZoomAtCursor(zoomIn);
  if (MenuBarMode == 0) LeaveWaitFlag = 1;
}

// Hot keys: a side-menu letter clicks its item, Alt + a title letter its
// title, both in the same pass.
void ApplyHotKey(uint8_t key) {
  if (key < 128) {
    for (int i = 0; i <= LastSideItem && i < kSideItems; ++i) {
      if (SideItems[i].hotKey != ' ' && uint8_t(SideItems[i].hotKey) == key) {
        MouseX = int16_t(SidePanelX1() + 2);
        MouseY = int16_t(SidePanelY1() + (i + 1) * kSideItemHeight + 2);
        passButtons = 2;
        MouseButtonState = 2;
        return;
      }
    }
    return;
  }
  const uint8_t letter = uint8_t(key - 128);
  for (int k = 1; k <= kMenuBarTitles; ++k) {
    const TMenuBarTitle& title = MenuBarTitles[k - 1];
    if (title.hotKey != ' ' && uint8_t(title.hotKey) == letter) {
      MouseX = int16_t(title.startPixel + 8);
      MouseY = 14;
      passButtons = 2;
      MouseButtonState = 2;
      return;
    }
  }
}

void HandleKey(uint8_t key, bool extended) {
  if (key == 255) return;
  if (!extended) {
    switch (key) {
      case 1:
        if (CommandSubMode == 0) {
          MarkWholeCurrentLayer();
          HideSelectionHandlesHook();
          ShowSelectionHandlesHook();
        }
        return;
      case 3: CopyStoreToClipboardFile(); return;
      case 9:
      case 32:
        if (!MenuDriven()) return;
        DrawActionIcon(1);
        HideSelectionHandlesHook();
        CommandWord = 643;
        CommandGiven = 1;
        TransformSelectionHook();
        CommandWord = 0;
        CommandGiven = 0;
        ShowSelectionHandlesHook();
        EnterMarkMode();
        DrawActionIcon(0);
        return;
      case 19:
        if (MenuBarMode != 0) SaveDrawing(0);
        return;
      case 22: PasteClipboardFileIntoStore(); return;
      case 24:
        CutStoreToClipboardFile();
        HideSelectionHandlesHook();
        return;
      case 27:
        if (CommandSubMode == 0) {
          HideSelectionHandlesHook();
          FlushVectorStoreToCurrentLayer();
        }
        return;
      case 43:
      case 45:
        if (CommandSubMode != 2 && CommandSubMode != 4) ZoomStepAtCursor(key == 43);
        return;
      case 59: break;  // as F1
      case 64: break;  // as F6
      default: ApplyHotKey(key); return;
    }
  }
  if (extended && (key == 83 || key == 8)) {
    if (CommandSubMode == 261) {
      CommandWord = 1356;
      CommandGiven = 1;
    } else if (MenuDriven() && (StoreHoldsData != 0 || (MenuBarMode & 1) == 0)) {
      HideSelectionHandlesHook();
      DeleteSelection();
      ShowSelectionHandlesHook();
    }
    return;
  }
  if (key == 59) {
    WaitForMouseRelease();
    EnterMarkMode();
    SetPenColor(274);
    UnhighlightSideItem();
    return;
  }
  if (key == 64) {
    if (CommandWord == 1112) {
      ClickTracking = uint8_t(ClickTracking | 2);
      DrawBarIcon(PanIconButton, "HANDVERSCH", 1, false);
    }
    return;
  }
  // Other extended keys: Alt + letter and Alt + digit (128 and above) are
  // hot keys; navigation keys keep their scan codes below 128 and must not
  // be taken for the letters of side items.
  if (key >= 128) ApplyHotKey(key);
}

// The graphic window under the mouse.
void HandleGraphicWindow(bool& leftHeld) {
  EndIconPanelHighlight();
  CloseIconBarTooltip();
  const uint8_t state = passButtons;
  leftHeld = state == 2;
  if (!helpMode) RestoreCommandCursor();
  if (!SelectionHandleClickHook()) {
    CommandGiven = state == 2 ? 1 : 0;
    GivenByDrawingClick = CommandGiven;
  }
  if (CommandWord == 0 || CommandWord >= 9900) {
    WaitForMouseRelease();
    EnterMarkMode();
    UnhighlightSideItem();
  }
  if (state == 2 || (ClickTracking & 2) != 0) {
    if (IsDragCommand()) {
      if (ClickTracking & 2) MouseButtonState = 0;
      ClickTracking = uint8_t(ClickTracking | 1);
      CommandGiven = 1;
      leftHeld = true;
    } else {
      ClickTracking = uint8_t(ClickTracking & ~3);
    }
  }
  if ((CommandSubMode == 0 || CommandSubMode == 5) && state == 1) {
    CommandWord = CursorNearGuideLineHook() ? 1695 : 1698;
    CommandGiven = 1;
  }
}

// The bar buttons; the first hit decides.
void HandleBarButtons() {
  const TBarClick click = ClickGraphicControls(MouseX, MouseY, passButtons);
  if (!click.hit) return;
  if (click.helpMode) {
    helpMode = true;
    HelpIconButton.flag = 1;
    return;
  }
  // The marking-mode button in help mode shows the help of 41 and ends help mode.
  if (!click.given && CommandWord == 41 && helpMode) {
    OpenHelpTopic(41);
    helpMode = false;
    CursorMode = 4;
  }
}

// After a command was given.
void FinishGivenCommand(bool leftHeld) {
  if (!leftHeld && !IconPanelInFront) {
    CloseIconBarTooltip();
    UnhighlightSideItem();
  }
  switch (CommandWord) {
    case 1105: PressViewButton(2); break;
    case 1106: PressViewButton(3); break;
    case 1107: PressViewButton(4); break;
    case 1306: PressViewButton(7); break;
    case 40:
      if (DisplayFlags & 32) {
        DrawViewBarButton(5, ViewButtonsEnabled(), 0);
        ViewBarButtons[5].flag = 0;
        CommandWord = 1102;
        WaitForMouseRelease();
      } else {
        ViewBarButtons[5].flag = 1;
        DrawViewBarButton(5, ViewButtonsEnabled(), 1);
      }
      DisplayFlags = uint8_t(DisplayFlags ^ 32);
      break;
    default: break;
  }
  if (helpMode) {
    OpenHelpTopic(CommandWord);
    CloseHint();
    ResetBarButtons();
    WaitForMouseRelease();
    CommandGiven = 0;
    helpMode = false;
    CursorMode = 4;
  }
  if ((DisplayFlags & 16) && CommandWord != 41) {
    ViewBarButtons[6].flag = 0;
    DrawViewBarButton(6, ViewButtonsEnabled(), 0);
    DisplayFlags = uint8_t(DisplayFlags & ~16);
  }
}

// One pass over the mouse areas; true when a menu area took it.
void HandleMouseAreas(bool& leftHeld, int16_t& listBottom, bool& overlap) {
  const int x = MouseX, y = MouseY;
  if (InArea(DrawingArea, x, y)) {
    HandleGraphicWindow(leftHeld);
    return;
  }
  if (x >= 0 && y >= 0 && x <= MaxX && y <= MaxY) {
    SetArrowCursor();
    CursorMode = helpMode ? 254 : 4;
  }
  if (IsPointInButton(MenuBarBox, x, y)) {
    CloseIconBarTooltip();
    HandleMenuBarClick();
    listBottom = SideTextListBottom();
    overlap = listBottom >= IconPanelBox.y1;
    return;
  }
  if (InArea(LayerBar, x, y)) {
    if (passButtons == 2) {
      CommandWord = 7927;
      CommandGiven = 1;
    }
    return;
  }
  if ((CommandSubMode == 0 || CommandSubMode == 5) && passButtons == 2) {
    if (InArea(TopRuler, x, y)) {
      CommandWord = 1696;
      CommandGiven = 1;
      return;
    }
    if (InArea(LeftRuler, x, y)) {
      CommandWord = 1697;
      CommandGiven = 1;
      return;
    }
  }
  if (HandleSideMenuArea(listBottom, overlap)) {
    if (passButtons != 2 && passButtons != 1) ShowIconBarTooltip(helpMode);
    return;
  }
  if (passButtons != 2 && passButtons != 1) ShowIconBarTooltip(helpMode);
  if (passButtons != 0) HandleBarButtons();
}

// --- tooltips -------------------------------------------------------------------------

struct TTooltip {
  const TButtonRect* button;  // null: a state icon by its x from the right
  int16_t message;
  int16_t length;
};

int TooltipHit(int x, int y, TButtonRect& box) {
  const TTooltip kTips[] = {
      {&ViewBarButtons[0], 2927, 39}, {&HelpIconButton, 2928, 39},       {&ParameterIconButton, 287, 29},
      {&BackgroundIconButton, 2028, 29}, {&SelectIconButton, 1459, 20},  {&PanIconButton, 2779, 29},
      {&ZoomAllIconButton, 2929, 39},  {&NewGraphicIconButton, 2930, 39}, {&ViewBarButtons[2], 2776, 29},
      {&ViewBarButtons[3], 2778, 29},  {&ViewBarButtons[4], 2777, 29},   {&ViewBarButtons[7], 1667, 20},
      {&ViewBarButtons[5], 2931, 39},  {&ViewBarButtons[6], 2932, 39},   {&ExportIconButton, 2933, 39},
      {&PrintIconButton, 756, 29},     {&SaveIconButton, 1686, 20},      {&RedoIconButton, 2934, 39},
      {&UndoIconButton, 2935, 39}};
  int index = 1;
  for (const TTooltip& tip : kTips) {
    if (tip.button->x2 > tip.button->x1 && IsPointInButton(*tip.button, x, y)) {
      box = *tip.button;
      return index;
    }
    ++index;
  }
  const int w = MaxX + 1;
  struct TIconTip {
    int x1, x2;
    bool shown;
  } const kIcons[] = {{w - 25, w, true},
                      {w - 50, w - 25, true},
                      {w - 76, w - 51, (StateIconFlags & kStateShowToolLayers) != 0},
                      {w - 102, w - 77, (StateIconFlags & kStateShowPathLayers) != 0}};
  for (const TIconTip& icon : kIcons) {
    if (icon.shown && x >= icon.x1 && x <= icon.x2 && y >= 0 && y <= 25) {
      box = TButtonRect{1, int16_t(icon.x1), 0, int16_t(icon.x2), 25};
      return index;
    }
    ++index;
  }
  return -1;
}

std::string TooltipText(int index) {
  static const int16_t kMessages[] = {2927, 2928, 287,  2028, 1459, 2779, 2929, 2930, 2776, 2778, 2777, 1667,
                                      2931, 2932, 2933, 756,  1686, 2934, 2935, 2936, 2937, 2938, 2939};
  static const int16_t kLengths[] = {39, 39, 29, 29, 20, 29, 39, 39, 29, 29, 29, 20,
                                     39, 39, 39, 29, 20, 39, 39, 39, 39, 39, 39};
  if (index < 1 || index > 23) return "";
  return GetMessageText(kMessages[index - 1], int16_t(-kLengths[index - 1]));
}

}  // namespace

uint8_t WaitButtonState() { return passButtons; }

void CloseIconBarTooltip() {
  if (tooltipOpen) ClosePopupFrame(tooltipFrame);
  tooltipOpen = false;
  TooltipIndex = -1;
}

void CloseTooltipBeforeDrawing() {
  if (!tooltipOpen) return;
  TButtonRect box{};
  const bool stays = TooltipHit(MouseX, MouseY, box) == TooltipIndex && WheelDelta == 0 && !PollKeyPressed();
  if (!stays) CloseIconBarTooltip();
}

void ShowIconBarTooltip(bool inHelpMode) {
  TButtonRect box{};
  const int index = inHelpMode ? -1 : TooltipHit(MouseX, MouseY, box);
  if (index < 0) {
    CloseIconBarTooltip();
    return;
  }
  if (index == TooltipIndex && tooltipOpen) return;
  CloseIconBarTooltip();
  // A delayed menu hint still open here would be put back over the tooltip.
  CloseHint();
  const std::string text = TooltipText(index);
  // Measured in the font it is drawn in, so that the saved block holds every
  // pixel the text covers.
  const int width = MeasureTextWidth(text) + 10;
  int x = box.x2 + 2;
  const int y = box.y2 + 2;
  if (x + width > MaxX) x = std::max(MaxX - width, 0);
  tooltipFrame = TPopupFrame{};
  tooltipFrame.left = int16_t(x);
  tooltipFrame.top = int16_t(y);
  tooltipFrame.right = int16_t(x + width);
  tooltipFrame.bottom = int16_t(y + 22);
  tooltipFrame.lines = int16_t(LinesForHeight(22));
  RemoveCursor();
  OpenPopupFrame(tooltipFrame);
  FillColorRect(tooltipFrame.left, tooltipFrame.top, tooltipFrame.right, tooltipFrame.bottom,
                plat::Rgb(255, 255, 225));
  SetPenColor(274);
  DrawFrameRect(tooltipFrame.left, tooltipFrame.top, tooltipFrame.right, tooltipFrame.bottom);
  DrawTextInSetFont(tooltipFrame.left + 5, tooltipFrame.top + 7 - 3, text);
  SetRopCopy();
  tooltipOpen = true;
  TooltipIndex = int16_t(index);
}

void ResetBarButtons() {
  for (int b = 1; b < kViewBarButtonCount; ++b) {
    if (!ViewBarButtons[b].flag) continue;
    if (b >= 5 && !ViewButtonsEnabled()) continue;
    DrawViewBarButton(b, true, 0);
    ViewBarButtons[b].flag = 0;
  }
  struct TIcon {
    TButtonRect* button;
    const char* picture;
  } const kIcons[] = {{&BackgroundIconButton, "GrafikHintG"}, {&SelectIconButton, "GRAFIKAUSW"},
                      {&PanIconButton, "HANDVERSCH"},         {&ZoomAllIconButton, "GRAFIKALLES"},
                      {&NewGraphicIconButton, "GRAFIKNEU"},   {&HelpIconButton, "KHilfe1"},
                      {&ParameterIconButton, "Parameter"}};
  for (const TIcon& icon : kIcons) {
    if (!icon.button->flag || icon.button->x2 <= icon.button->x1) continue;
    const bool marker = icon.button == &HelpIconButton || (icon.button == &ParameterIconButton && ParameterMarkerFlag == 1);
    DrawBarIcon(*icon.button, icon.picture, 0, marker);
  }
}

// --- marking, drag commands and the journal ----------------------------------------------
void EnterMarkMode() {
  if (LeaveWaitFlag) return;
  CommandWord = 41;
  ViewBarButtons[6].flag = 1;
  DrawViewBarButton(6, ViewButtonsEnabled(), 1);
  DisplayFlags = uint8_t(DisplayFlags | 16);
}

void SwitchOffStartPointDisplay() {
  DrawViewBarButton(5, ViewButtonsEnabled(), 0);
  ViewBarButtons[5].flag = 0;
  DisplayFlags = uint8_t(DisplayFlags & ~32);
}

bool IsDragCommand(uint16_t code) {
  if (code == 44 || code == 69 || code == 114 || code == 1112) return true;
  if ((code >= 93 && code <= 101) || (code >= 105 && code <= 107) || (code >= 116 && code <= 121)) return true;
  if (code == 611 || (code >= 613 && code <= 618) || (code >= 633 && code <= 635) || (code >= 651 && code <= 653))
    return true;
  return false;
}

bool IsDragCommand() { return IsDragCommand(CommandWord); }

bool CommandJournalName(uint16_t code, std::string& name) {
  name.clear();
  if (code == 0 || code == 7926) return false;
  struct TFixed {
    uint16_t code;
    const char* name;
  };
  static const TFixed kFixed[] = {{40, "MarkPos"},
                                  {41, "markieren"},
                                  {45, "markieren-SecMenu"},
                                  {632, "UnDo"},
                                  {636, "ReDo"},
                                  {945, "Layer- (3D-) Werkzeug"},
                                  {1092, "CAD-Parameter"},
                                  {1093, "CAD-Parameter"},
                                  {1101, "Grafik einstellen"},
                                  {1102, "Grafik Neu"},
                                  {1105, "Grafik NORM"},
                                  {1106, "Grafik ZOOM-"},
                                  {1107, "Grafik ZOOM+"},
                                  {1111, "Grafik Alles"},
                                  {1113, "Grafik Hintergrund"},
                                  {1115, "Reliefgrafik-Einstellung [N]"},
                                  {1306, "Fr\x84serSpur"},
                                  {3189, "direct mill auto"},
                                  {3190, "direct mill einricht."},
                                  {7927, "SetAktLayer"},
                                  {9911, "Schrift-Editor"},
                                  {9945, "Relief Datei:"},
                                  {9946, "Relief Edit:"},
                                  {9947, "Relief Autokorr:"},
                                  {9948, "Relief VTR:"}};
  for (const TFixed& fixed : kFixed) {
    if (fixed.code == code) {
      name = fixed.name;
      return true;
    }
  }
  FindMenuTextOfCommand(code, name);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return true;
}

void JournalCommand(uint16_t code, const std::string& text) {
  std::string date, time;
  FormatDate(date);
  FormatTimeOfDay(time);
  WriteJournalLine(code, date + time + " " + text);
}

void JournalCommandName() {
  std::string name;
  if (CommandJournalName(CommandWord, name)) JournalCommand(CommandWord, name);
}

void UpdateGraphicDragState() {
  if (ClickTracking & 1) {
    int16_t x = 0, y = 0;
    PollMousePosition(x, y);
    if (MouseButtonState == 2) ClickTracking = uint8_t(ClickTracking | 2);
    else ClickTracking = uint8_t(ClickTracking & ~2);
    if (InArea(DrawingArea, x, y)) return;
  }
  WaitForMouseRelease();
  ClickTracking = uint8_t(ClickTracking & ~2);
}

// --- the wait ----------------------------------------------------------------------------
void WaitForMenuCommand() {
  // Set-up.
  TooltipIndex = -1;
  tooltipOpen = false;
  EnsureMenuTables();
  ResetBarButtons();
  if (DisplayFlags & 16) DrawViewBarButton(6, ViewButtonsEnabled(), 1);
  if (DisplayFlags & 32) DrawViewBarButton(5, ViewButtonsEnabled(), 1);
  ReleaseMouseCapture();
  int16_t listBottom = SideTextListBottom();
  bool overlap = listBottom >= IconPanelBox.y1;
  if (StoreFlagAtDraw == (StoreHoldsData ? 1 : 0)) RefreshSelectionItems();
  SelectionHandlesRebuild = 1;
  DrawActionIcon(0);
  helpMode = false;
  bool leftHeld = false;
  if (VariantLogoX > 0) {
    DrawVariantLogo();
    StartLogoAnimation();
  }
  RedrawSideMenuIfRequested();
  if (MouseButtonState == 4) WaitForMouseRelease();

  void (*const previousF9)() = F9Procedure;
  F9Procedure = SwitchHelpModeOn;
  CommandGiven = 0;
  do {
    GivenByDrawingClick = 0;
    AdvanceLogoAnimation();
    if (SelectionHandlesRebuild) ShowSelectionHandlesHook();
    CommandGiven = 0;
    if (ViewKind != 254) LeaveWaitFlag = 0;
    if (AnimationsOn != 1) WaitForWindowMessage();
    ButtonResult = 0;
    CloseTooltipBeforeDrawing();
    PollGraphicCursor();
    // A close request reads as the right button; here it only ends the wait
    // once this pass has found no command.
    const bool closing = CloseRequested;
    passButtons = ButtonResult != 0 && !closing ? ButtonResult : MouseButtonState;
    const uint8_t key = CursorKeyCode;
    const bool escape = key == 27 && ExtendedKeyFlag == 0;
    // Esc reads as the right button only for the running command: over a
    // bar or the icon panel it is no click and starts nothing.
    if (escape && ButtonResult == 4) passButtons = MouseButtonState;
    HandleKey(key, ExtendedKeyFlag != 0);
    if (CommandGiven == 0) {
      if (passButtons == 1 && CommandSubMode == 0) {
        EnterMarkMode();
      } else if (passButtons == 4 && CommandSubMode == 0 && InArea(DrawingArea, MouseX, MouseY) && !escape &&
                 (StoreHoldsData != 0 || SumLayerRecordCounts() > 0)) {
        CommandWord = 45;
        CommandGiven = 1;
      }
    }
    if (CommandGiven == 0) HandleMouseAreas(leftHeld, listBottom, overlap);
    if (CommandGiven == 1) FinishGivenCommand(leftHeld);
    CloseHintOutsideMenus();
    if (closing && CommandGiven == 0) break;
  } while (CommandGiven == 0 && LeaveWaitFlag == 0);
  F9Procedure = previousF9;

  // End.
  FreeLogoAnimation();
  CloseIconBarTooltip();
  if (LeaveWaitFlag == 1 || CommandGiven == 0) {
    CommandWord = 0;
  } else {
    HideSelectionHandlesHook();
    JournalCommandName();
  }
  DrawActionIcon(1);
  RestoreCommandCursor();
  CaptureMouse();
  ClickTracking = uint8_t(IsDragCommand() ? (ClickTracking | 1) : (ClickTracking & ~1));
  CloseHint();
}

void RestoreCommandCursor() {
  if (CursorMode == SavedCursorMode) return;
  RemoveCursor();
  CursorMode = SavedCursorMode;
}
