// The prompt strip, the top-bar text and the prompt line.
#include "ui/prompt_strip.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "ui/graphic_controls.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/program_state.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "ui/calculator.h"
#include "ui/line_editor.h"
#include "ui/panels.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"
#include "view/view_transform.h"

int16_t PromptInputColumn = 1;
int16_t PromptWidth = 1;
int16_t PromptPosition = 1;
uint8_t PromptCaretShown = 0;
uint8_t PromptCaretStamp = 0;
uint8_t PromptActive = 0;
uint8_t PromptStripShown = 0;
int16_t TopBarTextWidth = 0;

namespace {

constexpr uint8_t kScanHome = 71, kScanLeft = 75, kScanRight = 77, kScanEnd = 79, kScanDel = 83;
constexpr uint8_t kAltR = 210;  // Alt+R as the cursor poll reports it
constexpr int16_t kHelpTopicCoordinates = 7802;

// The last column of the graphic area.
int GraphicAreaRight() { return MaxX - 169; }

void XorPromptCaret() {
  int x = 8 * (PromptInputColumn + PromptPosition) - 7;
  if (PromptPosition > PromptWidth) x -= 2;
  const int y1 = 16 * kPromptRow + 5, y2 = 16 * kPromptRow + 15;
  SetDrawColorAndMode(7, 261);
  DrawScreenLine(x, y1, x, y2 + 1);
  DrawScreenLine(x + 1, y1, x + 1, y2 + 1);
  SetRopCopy();
}

void ShowPromptCaret(bool shown) {
  if (bool(PromptCaretShown) != shown) XorPromptCaret();
  PromptCaretShown = shown ? 1 : 0;
}

void DrawPromptText(const std::string& text) {
  if (CursorShown) EraseMouseCursor();
  ShowPromptCaret(false);
  const int x1 = 8 * PromptInputColumn;
  const int x2 = std::min(8 * (PromptInputColumn + PromptWidth) + 1, GraphicAreaRight() - 2);
  FillColorRect(x1, 16 * kPromptRow + 4, x2, 16 * kPromptRow + 15, GetColorRef(261));
  DrawCellButton(PromptInputColumn, kPromptRow, text, false, 274, 261);
  SetRopCopy();
  ShowPromptCaret(true);
}

// The cursor poll reads the mouse position before it takes waiting input, so
// a click can arrive with a position the poll has not seen: the world point
// is taken where the button went down (snapped as the poll snaps).
void TakeClickPosition() {
  const int16_t mx = MouseX, my = MouseY;
  if (mx == CursorX && my == CursorY) return;
  if (!(ViewScaleX > 0) || !(ViewScaleY > 0)) return;
  double x = WorldXMin + (double(mx) - DrawingArea.x1) / ViewScaleX;
  double y = WorldYMin + (double(DrawingArea.y2) - my) / ViewScaleY;
  if (GridSnapOn && CursorMode != 4 && mx < DrawingArea.x2 && my >= DrawingArea.y1 && TrackGridX > 0 &&
      TrackGridY > 0) {
    x = RoundNearest(x / TrackGridX) * double(TrackGridX);
    y = RoundNearest(y / TrackGridY) * double(TrackGridY);
  }
  CursorPoint.x = float(x);
  CursorPoint.y = float(y);
}

bool IsCoordinateChar(char c) {
  return (c >= '0' && c <= '9') || c == '.' || c == ',' || c == '-' || c == '+' || c == '*' || c == 'x' ||
         c == '/' || c == ':' || c == 'W' || c == 'w';
}

// The world rectangle between two corners, drawn in xor (twice removes it).
void XorWorldRectangle(const TPointRecord& a, const TPointRecord& b) {
  int32_t x1, y1, x2, y2;
  WorldToScreenLong(a.x, a.y, x1, y1);
  WorldToScreenLong(b.x, b.y, x2, y2);
  auto clip = [](int32_t v) { return int(std::clamp<int32_t>(v, -30000, 30000)); };
  if (CursorShown) EraseMouseCursor();
  SetDrawColorAndMode(7, 12);
  DrawFrameRect(clip(x1), clip(y1), clip(x2), clip(y2));
  SetRopCopy();
}

// The prompt line loop shared by the point prompts; key codes 59, 61 and 62
// end it too when separators is set.
void RunPromptLoop(std::string& text, bool watchMenu, bool separators, bool& leftForMenu, uint8_t& separator) {
  leftForMenu = false;
  separator = 0;
  for (;;) {
    EditPromptLine(text);
    if (separators && CursorKeyCode != 255 &&
        (CursorKeyCode == 59 || CursorKeyCode == 61 || CursorKeyCode == 62)) {
      separator = CursorKeyCode;
      return;
    }
    if (ButtonResult != 0) return;
    if (watchMenu && GetCursorOverMenu()) {
      leftForMenu = true;
      return;
    }
  }
}

}  // namespace

float CoordinateListValue(const TCoordinateList& list, int i) {
  if (i < 1 || i > 6) return 0.0f;
  const TPointRecord& p = list.points[(i - 1) / 2];
  return (i % 2) ? p.x : p.y;
}

// --- strip and top bar ----------------------------------------------------------------------

void DrawPanelBackground() {
  if (CursorShown) EraseMouseCursor();
  DrawWhiteField(0, 17, GraphicAreaRight(), MenuBarHeight - 1, 0);
  SetPenColor(274);
  SetRopCopy();
  TopBarTextWidth = 0;
  if ((PromptInputColumn + 25) * 8 > GraphicAreaRight()) {
    DrawGraphicIconBar();
    PromptInputColumn = 1;
  }
  PromptCaretShown = 0;
  PromptStripShown = 1;
}

void ClearDrawingArea() {
  if (CursorShown) EraseMouseCursor();
  FillColorRect(0, 17, GraphicAreaRight(), MenuBarHeight - 2, plat::Rgb(220, 220, 220));
  SetPenColor(274);
  DrawScreenLine(0, MenuBarHeight - 1, MaxX + 1, MenuBarHeight - 1);
  SetRopCopy();
  if (VariantNumber != 21) DrawGraphicIconBar();
  PromptCaretShown = 0;
  PromptStripShown = 0;
}

void ResetDrawingArea() { ClearDrawingArea(); }

void RestoreGraphicArea() {
  if (MenuBarMode == 0) DrawPanelBackground();
  else if (PromptStripShown) ClearDrawingArea();
}

void ShowTopBarIconText(const std::string& picture, const std::string& text) {
  if (!PromptStripShown) DrawPanelBackground();
  if (CursorShown) EraseMouseCursor();
  const int right = GraphicAreaRight() - 2;
  const int width = MeasureTextWidth(text);
  const int box = std::max<int>(TopBarTextWidth, width) + (picture.empty() ? 8 : 24);
  FillColorRect(right - box, 19, right, 31, GetColorRef(261));
  int textRight = right - 4;
  if (!picture.empty()) {
    DrawResourceBitmap(right - 18, 19, 16, 16, kRopSrcCopy, picture);
    textRight = right - 20;
  }
  SetPenColor(13);
  DrawScreenText(textRight - width, 21, text);
  SetRopCopy();
  TopBarTextWidth = int16_t(width);
}

void ShowTopBarText(const std::string& text) { ShowTopBarIconText("", text); }

// --- prompt line ------------------------------------------------------------------------------

void ShowInputPrompt(const std::string& prompt) {
  DrawPanelBackground();
  const std::string text = (!prompt.empty() && prompt[0] == ' ') ? prompt : " " + prompt;
  SetPenColor(274);
  DrawScreenText(0, 21, text);
  SetRopCopy();
  PromptInputColumn = 1;
  PromptWidth = int16_t(std::max(1, GraphicAreaRight() / 8 - PromptInputColumn));
  PromptPosition = 1;
  PromptCaretShown = 0;
  PromptActive = 1;
}

void EditPromptLine(std::string& text) {
  ButtonResult = 0;
  CursorKeyCode = 255;
  ExtendedKeyFlag = 0;
  if (int(text.size()) > PromptWidth) text.resize(size_t(std::max<int>(PromptWidth, 0)));
  PromptPosition = int16_t(std::clamp<int>(PromptPosition, 1, int(text.size()) + 1));
  uint8_t key = 255;
  bool extended = false;

  if (!text.empty()) {
    // Wait with a blinking caret for a button or a key.
    for (;;) {
      PollMouseButtons();
      if (RedrawRequested()) {
        ButtonResult = 4;
        break;
      }
      if (MouseButtonState != 0) {
        ButtonResult = MouseButtonState;
        break;
      }
      const bool keyWaits = PollKeyPressed();
      if (!keyWaits && CloseRequested) {
        ButtonResult = 4;
        break;
      }
      if (keyWaits) {
        key = ReadNextKey();
        if (key == 0) {
          extended = true;
          key = ReadNextKey();
          if (key == 19) key = kAltR;  // the DOS Alt scan code of R
        }
        break;
      }
      if (CheckTimerElapsed(PromptCaretStamp, PromptCaretShown ? 50 : 15)) ShowPromptCaret(!PromptCaretShown);
      WaitForWindowMessage();
    }
  } else {
    PollGraphicCursor();
    if (ButtonResult == 0 && MouseButtonState != 0) {
      ButtonResult = MouseButtonState;
      TakeClickPosition();
    }
    if (RedrawRequested()) ButtonResult = 4;
    key = CursorKeyCode;
    extended = ExtendedKeyFlag != 0;
  }
  CursorKeyCode = key;
  ExtendedKeyFlag = extended ? 1 : 0;

  if (key != 255 || extended) {
    if (extended) {
      switch (key) {
        case kScanHome: PromptPosition = 1; break;
        case kScanEnd: PromptPosition = int16_t(text.size() + 1); break;
        case kScanLeft:
          if (PromptPosition > 1) --PromptPosition;
          break;
        case kScanRight:
          if (PromptPosition <= int(text.size())) ++PromptPosition;
          break;
        case kScanDel:
          if (PromptPosition <= int(text.size())) text.erase(size_t(PromptPosition - 1), 1);
          break;
        case kAltR: {
          std::string result;
          RunCalculator(result);
          if (!result.empty()) {
            if (int(result.size()) > PromptWidth) result.resize(size_t(PromptWidth));
            text = result;
            PromptPosition = int16_t(text.size() + 1);
          }
          break;
        }
        default: break;
      }
    } else if (key == 13) {
      ButtonResult = 2;
    } else if (key == 27) {
      ButtonResult = 4;
    } else if (key == 25) {
      text.clear();
      PromptPosition = 1;
    } else if (key == 8) {
      if (PromptPosition > 1) {
        text.erase(size_t(PromptPosition - 2), 1);
        --PromptPosition;
      }
    } else if (key >= 32 && ButtonResult == 0) {
      if (int(text.size()) < PromptWidth) {
        text.insert(text.begin() + (PromptPosition - 1), char(key));
        ++PromptPosition;
      }
    }
  }
  DrawPromptText(text);
}

void WaitForInputEvent() {
  WaitForMouseRelease();
  for (;;) {
    ButtonResult = 0;
    PollGraphicCursor();
    if (ButtonResult == 0) ButtonResult = MouseButtonState;
    if (ButtonResult != 0) return;
  }
}

int ParseCoordinateList(const std::string& text, TCoordinateList& list, int expected, int& count) {
  list = TCoordinateList{};
  count = 0;
  size_t i = 0;
  for (int slot = 1; slot <= 6; ++slot) {
    while (i < text.size() && !IsCoordinateChar(text[i])) ++i;
    if (i >= text.size()) break;
    std::string run;
    while (i < text.size() && IsCoordinateChar(text[i])) run += text[i++];
    int16_t code = 0;
    const float value = ParseNumberExpression(run, code);
    const bool good = code == 0 && std::isfinite(value);
    TPointRecord& p = list.points[(slot - 1) / 2];
    if (slot % 2) p.x = good ? value : 0.0f;
    else p.y = good ? value : 0.0f;
    count = good ? slot : 0;
  }
  list.points[0].type = uint8_t(count);
  if (count > 0 && expected > 0 && count != expected) {
    uint8_t answer = 0;
    AskYesNoTwoLines(GetMessageText(1610, -39), GetMessageText(1865, -39), answer);
    if (answer) {
      const TCommandCode saved = CommandWord;
      CommandWord = kHelpTopicCoordinates;
      if (HelpHook) HelpHook();
      CommandWord = saved;
    }
  }
  return count;
}

namespace {

// Puts the point typed on the prompt line into point, or the cursor's when
// none was typed or the prompt ended with button 4; returns the button result.
uint8_t TakeEnteredPoint(const std::string& text, TPointRecord& point) {
  const uint8_t buttons = ButtonResult;
  TCoordinateList list;
  int count = 0;
  if (buttons != 4 && !text.empty()) ParseCoordinateList(text, list, 2, count);
  if (count == 2) {
    point.x = list.points[0].x;
    point.y = list.points[0].y;
  } else {
    point.x = CursorPoint.x;
    point.y = CursorPoint.y;
  }
  return buttons;
}

}  // namespace

void PromptPoint(const std::string& prompt, TPointRecord& point) {
  const bool watchMenu = point.type == 255;
  if (!watchMenu) point.type = 0;
  ShowInputPrompt(prompt);
  WaitForMouseRelease();
  ClearKeyBuffer();
  std::string text;
  bool leftForMenu = false;
  uint8_t separator = 0;
  RunPromptLoop(text, watchMenu, false, leftForMenu, separator);
  if (leftForMenu) {
    point.type = 255;
  } else {
    const uint8_t buttons = TakeEnteredPoint(text, point);
    point.type = buttons == 4 ? 0 : 10;
  }
  PromptActive = 0;
  DrawPanelBackground();
}

void PromptPointOrSeparator(const std::string& prompt, TPointRecord& point) {
  point.type = 0;
  ShowInputPrompt(prompt);
  WaitForMouseRelease();
  ClearKeyBuffer();
  std::string text;
  bool leftForMenu = false;
  uint8_t separator = 0;
  RunPromptLoop(text, false, true, leftForMenu, separator);
  if (separator != 0) {
    point.x = CursorPoint.x;
    point.y = CursorPoint.y;
    point.type = separator == 59 ? 8 : (separator == 61 ? 10 : 11);
  } else {
    const uint8_t buttons = TakeEnteredPoint(text, point);
    point.type = buttons == 4 ? 0 : buttons;
  }
  PromptActive = 0;
  DrawPanelBackground();
}

void PromptRectangle(TPointRecord (&rectangle)[2], uint8_t& result) {
  result = 0;
  TPointRecord first{0, 0.0f, 0.0f};
  PromptPoint(GetMessageText(6, -39), first);
  if (first.type == 0) return;
  rectangle[0] = TPointRecord{0, first.x, first.y};
  rectangle[1] = rectangle[0];
  DelayMs(20);
  XorWorldRectangle(rectangle[0], rectangle[1]);

  PollMouseButtons();
  bool cancelled = false;
  bool taken = false;
  if (MouseButtonState == 2) {
    // A held left button: a drag once it has been held long enough and moved far enough.
    const uint32_t start = GetTickMs();
    const int16_t sx = MouseX, sy = MouseY;
    bool dragging = false;
    for (;;) {
      PollMouseButtons();
      if (MouseButtonState != 2) break;
      if (!dragging && GetTickMs() - start > 200 && (std::abs(MouseX - sx) > 6 || std::abs(MouseY - sy) >= 7))
        dragging = true;
      if (dragging) {
        ButtonResult = 0;
        PollGraphicCursor();
        if (CursorPoint.x != rectangle[1].x || CursorPoint.y != rectangle[1].y) {
          XorWorldRectangle(rectangle[0], rectangle[1]);
          rectangle[1].x = CursorPoint.x;
          rectangle[1].y = CursorPoint.y;
          XorWorldRectangle(rectangle[0], rectangle[1]);
        }
      }
      if (CloseRequested) break;
      WaitForWindowMessage();
    }
    taken = dragging && !CloseRequested;
    cancelled = CloseRequested;
  }
  if (!taken && !cancelled) {
    // Released at once: the second corner is typed or clicked.
    ShowInputPrompt(GetMessageText(7, -39));
    WaitForMouseRelease();
    std::string text;
    for (;;) {
      EditPromptLine(text);
      if (text.empty() && (CursorPoint.x != rectangle[1].x || CursorPoint.y != rectangle[1].y)) {
        XorWorldRectangle(rectangle[0], rectangle[1]);
        rectangle[1].x = CursorPoint.x;
        rectangle[1].y = CursorPoint.y;
        XorWorldRectangle(rectangle[0], rectangle[1]);
      }
      if (ButtonResult != 0) break;
    }
    if (ButtonResult == 2) {
      TCoordinateList list;
      int count = 0;
      if (!text.empty()) ParseCoordinateList(text, list, 2, count);
      XorWorldRectangle(rectangle[0], rectangle[1]);
      if (count == 2) {
        rectangle[1].x = list.points[0].x;
        rectangle[1].y = list.points[0].y;
      } else {
        rectangle[1].x = CursorPoint.x;
        rectangle[1].y = CursorPoint.y;
      }
      XorWorldRectangle(rectangle[0], rectangle[1]);
      taken = true;
    }
    PromptActive = 0;
    DrawPanelBackground();
  }
  XorWorldRectangle(rectangle[0], rectangle[1]);
  WaitForMouseRelease();
  if (!taken) return;
  const float ax = rectangle[0].x, ay = rectangle[0].y, bx = rectangle[1].x, by = rectangle[1].y;
  const float x1 = std::min(ax, bx), x2 = std::max(ax, bx);
  const float y1 = std::min(ay, by), y2 = std::max(ay, by);
  rectangle[0] = TPointRecord{0, x1, y1};
  rectangle[1] = TPointRecord{0, x2, y2};
  if (x2 - x1 < 0.001f || y2 - y1 < 0.001f) return;
  result = 1;
  XorWorldRectangle(rectangle[0], rectangle[1]);
}
