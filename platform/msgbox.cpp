// Message boxes drawn into the main window's frame buffer.
//
// The box saves the screen under it, draws a raised grey panel with a
// caption bar, an icon by style, the text and the buttons, waits for an
// answer and puts the screen back. A script (headless runs, or TORV_SCRIPT)
// answers it; otherwise it is modal on the window's own events. Every box is
// written to the transcript as "msgbox|CAPTION|TEXT|ANSWER" (UTF-8, line
// breaks inside the texts written as "\n").
//
// Contents: box kinds - layout - drawing - answers - MessageBox.
#include <algorithm>
#include <cstdio>
#include <deque>

#include "platform/backend.h"
#include "platform/script.h"
#include "platform/system.h"

namespace plat {

namespace {

// --- box kinds -------------------------------------------------------------------

struct TBoxButton {
  const char* label;  // Windows code page
  int id;
};

// Buttons of each button style, and the answers: `yes` for Enter / y,
// `no` for n, `cancel` for Esc, closing and a missing answer.
struct TBoxKind {
  int count;
  TBoxButton buttons[3];
  int yes;
  int no;
  int cancel;
};

const TBoxKind kBoxKinds[6] = {
    {1, {{"OK", kIdOk}}, kIdOk, kIdOk, kIdOk},
    {2, {{"OK", kIdOk}, {"Abbrechen", kIdCancel}}, kIdOk, kIdCancel, kIdCancel},
    {3, {{"Abbrechen", kIdAbort}, {"Wiederholen", kIdRetry}, {"Ignorieren", kIdIgnore}}, kIdAbort, kIdIgnore,
     kIdAbort},
    {3, {{"Ja", kIdYes}, {"Nein", kIdNo}, {"Abbrechen", kIdCancel}}, kIdYes, kIdNo, kIdCancel},
    {2, {{"Ja", kIdYes}, {"Nein", kIdNo}}, kIdYes, kIdNo, kIdNo},
    {2, {{"Wiederholen", kIdRetry}, {"Abbrechen", kIdCancel}}, kIdRetry, kIdCancel, kIdCancel},
};

const TBoxKind& BoxKindOf(uint32_t style) {
  uint32_t buttons = style & 0x0F;
  return kBoxKinds[buttons < 6 ? buttons : 0];
}

const char* AnswerName(int id) {
  switch (id) {
    case kIdOk: return "OK";
    case kIdCancel: return "Cancel";
    case kIdAbort: return "Abort";
    case kIdRetry: return "Retry";
    case kIdIgnore: return "Ignore";
    case kIdYes: return "Yes";
    case kIdNo: return "No";
    default: return "?";
  }
}

// UTF-8 for the transcript, with line breaks written as "\n".
std::string TranscriptText(const std::string& winText) {
  std::string out;
  std::string utf8 = wnd::Utf8FromWin(winText);
  for (size_t i = 0; i < utf8.size(); ++i) {
    char c = utf8[i];
    if (c == '\r' || c == '\n') {
      out += "\\n";
      if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

// --- layout ------------------------------------------------------------------------------

constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
constexpr int kBorder = 3;

struct TBoxLayout {
  TRect box;
  TRect captionBar;
  TPoint icon;
  TPoint text;
  int lineHeight = 16;
  std::vector<std::string> lines;
  TRect buttons[3];
  int buttonCount = 0;
};

TFontSpec BoxFont(bool bold) {
  TFontSpec f;
  f.face = "Tahoma";
  f.height = 16;
  f.width = 0;
  f.weight = bold ? 700 : 400;
  return f;
}

// Splits at CR LF, CR or LF.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += c;
    }
  }
  return lines;
}

// Breaks a line at blanks (or inside a word too long for a line) so that no
// piece is wider than maxWidth.
void WrapLine(const TDc& dc, const std::string& line, int maxWidth, std::vector<std::string>& out) {
  std::string rest = line;
  while (!rest.empty() && DcMeasureText(dc, rest) > maxWidth) {
    // The longest start that fits (at least one character).
    size_t lo = 1, hi = rest.size();
    while (lo < hi) {
      size_t mid = (lo + hi + 1) / 2;
      if (DcMeasureText(dc, rest.substr(0, mid)) <= maxWidth) lo = mid;
      else hi = mid - 1;
    }
    size_t cut = lo;
    size_t blank = rest.rfind(' ', cut);
    size_t take = (blank != std::string::npos && blank > 0) ? blank : cut;
    out.push_back(rest.substr(0, take));
    rest.erase(0, take);
    if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
  }
  out.push_back(rest);
}

TBoxLayout LayOutBox(TDc& dc, const std::string& caption, const std::string& text, uint32_t style,
                     int clientWidth, int clientHeight) {
  TBoxLayout L;
  const TBoxKind& kind = BoxKindOf(style);
  bool hasIcon = (style & 0x70) != 0;
  int iconSpace = hasIcon ? kIconSize + kMargin : 0;

  DcSelectFont(dc, BoxFont(true));
  int captionWidth = DcMeasureText(dc, caption);
  int captionHeight = std::max(20, DcFontHeight(dc) + 4);
  DcSelectFont(dc, BoxFont(false));
  L.lineHeight = std::max(1, DcFontHeight(dc));

  int maxTextWidth = std::max(160, clientWidth * 2 / 3 - iconSpace - 2 * kMargin);
  for (const std::string& line : SplitLines(text)) WrapLine(dc, line, maxTextWidth, L.lines);
  int textWidth = 0;
  for (const std::string& line : L.lines) textWidth = std::max(textWidth, DcMeasureText(dc, line));

  int buttonWidth = kButtonWidth;
  for (int i = 0; i < kind.count; ++i)
    buttonWidth = std::max(buttonWidth, DcMeasureText(dc, kind.buttons[i].label) + 16);
  int buttonsWidth = kind.count * buttonWidth + (kind.count - 1) * kButtonGap;

  int contentWidth = std::max({iconSpace + textWidth, buttonsWidth, captionWidth + 8, 120});
  int textHeight = std::max(int(L.lines.size()) * L.lineHeight, hasIcon ? kIconSize : 0);
  int width = contentWidth + 2 * kMargin + 2 * kBorder;
  int height = 2 * kBorder + captionHeight + kMargin + textHeight + kMargin + kButtonHeight + kMargin;
  width = std::min(width, std::max(1, clientWidth));
  height = std::min(height, std::max(1, clientHeight));

  int left = (clientWidth - width) / 2, top = (clientHeight - height) / 2;
  L.box = TRect{left, top, left + width, top + height};
  L.captionBar = TRect{left + kBorder, top + kBorder, left + width - kBorder, top + kBorder + captionHeight};
  int bodyTop = L.captionBar.bottom + kMargin;
  L.icon = TPoint{left + kBorder + kMargin, bodyTop};
  L.text = TPoint{left + kBorder + kMargin + iconSpace, bodyTop};
  if (hasIcon && int(L.lines.size()) * L.lineHeight < kIconSize)
    L.text.y += (kIconSize - int(L.lines.size()) * L.lineHeight) / 2;
  int buttonTop = top + height - kBorder - kMargin - kButtonHeight;
  int buttonLeft = left + (width - buttonsWidth) / 2;
  L.buttonCount = kind.count;
  for (int i = 0; i < kind.count; ++i) {
    int x = buttonLeft + i * (buttonWidth + kButtonGap);
    L.buttons[i] = TRect{x, buttonTop, x + buttonWidth, buttonTop + kButtonHeight};
  }
  return L;
}

// --- drawing ----------------------------------------------------------------------------------

const TColorRef kFace = Rgb(192, 192, 192), kLight = Rgb(255, 255, 255), kShadow = Rgb(128, 128, 128),
                kDark = Rgb(0, 0, 0), kCaption = Rgb(0, 0, 128);

void Fill(TDc& dc, int left, int top, int right, int bottom, TColorRef c) {
  TBrush b;
  b.color = c;
  DcFillRect(dc, TRect{left, top, right, bottom}, b);
}

// A raised 3-D frame inside r (two pixels wide).
void RaisedFrame(TDc& dc, const TRect& r) {
  Fill(dc, r.left, r.top, r.right, r.top + 1, kLight);
  Fill(dc, r.left, r.top, r.left + 1, r.bottom, kLight);
  Fill(dc, r.left, r.bottom - 1, r.right, r.bottom, kDark);
  Fill(dc, r.right - 1, r.top, r.right, r.bottom, kDark);
  Fill(dc, r.left + 1, r.bottom - 2, r.right - 1, r.bottom - 1, kShadow);
  Fill(dc, r.right - 2, r.top + 1, r.right - 1, r.bottom - 1, kShadow);
}

void Text(TDc& dc, int x, int y, const std::string& s, TColorRef c) {
  DcSetBkMode(dc, kBkTransparent);
  DcSetTextAlign(dc, kAlignLeft | kAlignTop);
  DcSetTextColor(dc, c);
  DcTextOut(dc, x, y, s);
}

void DrawIcon(TDc& dc, TPoint at, uint32_t style) {
  int kind = int(style & 0x70);
  if (kind == 0) return;
  int x = at.x, y = at.y, s = kIconSize;
  TPen pen;
  TBrush brush;
  const char* mark = "";
  TColorRef markColor = kLight;
  if (kind == 0x30) {  // exclamation: yellow triangle
    pen.color = kDark;
    brush.color = Rgb(255, 255, 0);
    DcSetPen(dc, pen);
    DcSetBrush(dc, brush);
    TPoint tri[3] = {{x + s / 2, y}, {x + s - 1, y + s - 1}, {x, y + s - 1}};
    DcPolygon(dc, tri, 3);
    mark = "!";
    markColor = kDark;
  } else {
    pen.color = kind == 0x10 ? Rgb(128, 0, 0) : Rgb(0, 0, 128);
    brush.color = kind == 0x10 ? Rgb(255, 0, 0) : Rgb(0, 0, 255);
    DcSetPen(dc, pen);
    DcSetBrush(dc, brush);
    DcEllipse(dc, x, y, x + s, y + s);
    mark = kind == 0x10 ? "X" : kind == 0x20 ? "?" : "i";
  }
  DcSelectFont(dc, BoxFont(true));
  int w = DcMeasureText(dc, mark), h = DcFontHeight(dc);
  Text(dc, x + (s - w) / 2, y + (s - h) / 2 + (kind == 0x30 ? 3 : 0), mark, markColor);
  DcSelectFont(dc, BoxFont(false));
}

void DrawButton(TDc& dc, const TRect& r, const char* label, bool focused) {
  Fill(dc, r.left, r.top, r.right, r.bottom, kFace);
  TRect inner = r;
  if (focused) {
    // The default button carries a black outline.
    Fill(dc, r.left, r.top, r.right, r.top + 1, kDark);
    Fill(dc, r.left, r.bottom - 1, r.right, r.bottom, kDark);
    Fill(dc, r.left, r.top, r.left + 1, r.bottom, kDark);
    Fill(dc, r.right - 1, r.top, r.right, r.bottom, kDark);
    inner = TRect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
  RaisedFrame(dc, inner);
  int w = DcMeasureText(dc, label), h = DcFontHeight(dc);
  Text(dc, r.left + (r.right - r.left - w) / 2, r.top + (r.bottom - r.top - h) / 2, label, kDark);
}

void DrawButtons(TDc& dc, const TBoxLayout& L, const TBoxKind& kind, int focus) {
  DcSelectFont(dc, BoxFont(false));
  for (int i = 0; i < L.buttonCount; ++i) DrawButton(dc, L.buttons[i], kind.buttons[i].label, i == focus);
}

void DrawBox(TDc& dc, const TBoxLayout& L, const std::string& caption, uint32_t style, int focus) {
  const TRect& b = L.box;
  Fill(dc, b.left, b.top, b.right, b.bottom, kFace);
  RaisedFrame(dc, b);
  Fill(dc, L.captionBar.left, L.captionBar.top, L.captionBar.right, L.captionBar.bottom, kCaption);
  DcSelectFont(dc, BoxFont(true));
  int captionTextTop = L.captionBar.top + (L.captionBar.bottom - L.captionBar.top - DcFontHeight(dc)) / 2;
  TDc captionDc = dc;
  DcIntersectClip(captionDc, L.captionBar);
  Text(captionDc, L.captionBar.left + 4, captionTextTop, caption, kLight);

  TDc bodyDc = dc;
  DcIntersectClip(bodyDc, TRect{b.left + kBorder, L.captionBar.bottom, b.right - kBorder, b.bottom - kBorder});
  DrawIcon(bodyDc, L.icon, style);
  DcSelectFont(bodyDc, BoxFont(false));
  for (size_t i = 0; i < L.lines.size(); ++i)
    Text(bodyDc, L.text.x, L.text.y + int(i) * L.lineHeight, L.lines[i], kDark);
  DrawButtons(bodyDc, L, BoxKindOf(style), focus);
}

// --- answers ------------------------------------------------------------------------------------

int ScriptedResult(const TBoxKind& kind) {
  switch (TakeScriptedAnswerKind()) {
    case kAnswerYes: return kind.yes;
    case kAnswerNo: return kind.no;
    default: return kind.cancel;
  }
}

int ButtonAt(const TBoxLayout& L, int x, int y) {
  for (int i = 0; i < L.buttonCount; ++i) {
    const TRect& r = L.buttons[i];
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return i;
  }
  return -1;
}

// Modal loop on the window's own events (SDL without a script).
int RunInteractively(TDc& dc, const TBoxLayout& L, const TBoxKind& kind, int focus) {
  std::deque<TMessage> incoming;
  int pressed = -1;
  int result = 0;
  PresentNow();
  while (result == 0) {
    MainWindow.ops->pump(incoming);
    while (!incoming.empty() && result == 0) {
      TMessage m = incoming.front();
      incoming.pop_front();
      NoteKeyState(m);
      int x = int16_t(uint32_t(m.lParam) & 0xFFFF), y = int16_t(uint32_t(m.lParam) >> 16);
      int newFocus = focus;
      switch (m.message) {
        case kMsgClose:
          result = kind.cancel;
          break;
        case kMsgKeyDown:
        case kMsgSysKeyDown:
          switch (m.wParam) {
            case kVkReturn:
            case kVkSpace: result = kind.buttons[focus].id; break;
            case kVkEscape: result = kind.cancel; break;
            case 'Y': if (kind.yes == kIdYes) result = kIdYes; break;
            case 'N': if (kind.no == kIdNo) result = kIdNo; break;
            case kVkTab:
            case kVkRight: newFocus = (focus + 1) % kind.count; break;
            case kVkLeft: newFocus = (focus + kind.count - 1) % kind.count; break;
            default: break;
          }
          break;
        case kMsgLButtonDown:
          pressed = ButtonAt(L, x, y);
          if (pressed >= 0) newFocus = pressed;
          break;
        case kMsgLButtonUp:
          if (pressed >= 0 && ButtonAt(L, x, y) == pressed) result = kind.buttons[pressed].id;
          pressed = -1;
          break;
        default:
          break;
      }
      if (newFocus != focus) {
        focus = newFocus;
        DrawButtons(dc, L, kind, focus);
      }
    }
    if (result != 0) break;
    MainWindow.ops->present(false);
    MainWindow.ops->waitEvent(30);
  }
  // Key releases still belong to the program (it tracks Ctrl and Shift);
  // the rest of the answering keystroke does not.
  for (const TMessage& m : incoming)
    if (m.message == kMsgKeyUp || m.message == kMsgSysKeyUp) MainWindow.queue.push_back(m);
  return result;
}

}  // namespace

int MessageBox(const std::string& caption, const std::string& text, uint32_t style) {
  const TBoxKind& kind = BoxKindOf(style);
  int focus = int((style >> 8) & 3);
  if (focus >= kind.count) focus = 0;
  int result = 0;
  bool scripted = ScriptIsActive();

  if (!MainWindow.open || MainWindow.frame.width <= 0 || MainWindow.frame.height <= 0) {
    if (scripted) {
      result = ScriptedResult(kind);
    } else {
      std::fprintf(stderr, "%s: %s\n", wnd::Utf8FromWin(caption).c_str(), wnd::Utf8FromWin(text).c_str());
      result = kind.no;
    }
  } else {
    // A context of its own leaves the program's pen, font and clip alone.
    TDc dc;
    DcReset(dc, &MainWindow.frame);
    TBoxLayout L = LayOutBox(dc, caption, text, style, MainWindow.frame.width, MainWindow.frame.height);
    TPixelBlock under = DcSaveBlock(dc, L.box);
    DrawBox(dc, L, caption, style, focus);
    if (scripted) {
      PresentNow();
      result = ScriptedResult(kind);
    } else {
      result = RunInteractively(dc, L, kind, focus);
    }
    DcResetClip(dc);
    DcDrawBlock(dc, L.box.left, L.box.top, under);
    PresentNow();
  }
  TranscriptLine("msgbox|" + TranscriptText(caption) + "|" + TranscriptText(text) + "|" + AnswerName(result));
  return result;
}

}  // namespace plat
