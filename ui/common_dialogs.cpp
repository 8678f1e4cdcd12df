#include "ui/common_dialogs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "ui/buttons_controls.h"
#include "ui/panels.h"
#include "frame/checked_files.h"
#include "frame/defaults.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/program_state.h"
#include "frame/system_services.h"
#include "platform/files.h"
#include "ui/pictures.h"
#include "ui/popup_list.h"
#include "view/character_cells.h"
#include "frame/progress_bar.h"
#include "view/cursor_tracking.h"

// --- number and text forms -------------------------------------------------------------

namespace {

std::string Fixed(int width, int d, float x) {
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%*.*f", width, std::clamp(d, 0, 30), static_cast<double>(x));
  return buffer;
}

std::string Cut(std::string s, size_t n) {
  if (s.size() > n) s.resize(n);
  return s;
}

}  // namespace

std::string FormatRealText(int w, int d, float x) {
  if (d < w) {
    std::string text = Fixed(std::min(w, 255), d, x);
    if (w == 8 && text.size() > 8) text.resize(8);
    return Cut(text, 20);
  }
  std::string text = Fixed(10, d, x);
  if (d == 3 && w < 3) {
    const size_t point = text.find('.');
    if (point != std::string::npos) {
      while (text.size() > point + 1 && text.back() == '0') text.pop_back();
      if (text.back() == '.') text.pop_back();
    }
  }
  TrimLeadingBlanks(text);
  return Cut(text, 20);
}

std::string FormatIntegerText(int16_t n, int w) {
  char buffer[300];
  std::snprintf(buffer, sizeof buffer, "%*d", w > 0 ? std::min(w, 255) : 0, int(n));
  return Cut(buffer, 20);
}

std::string FormatLongText(int32_t n, int w) {
  char buffer[300];
  std::snprintf(buffer, sizeof buffer, "%*ld", w > 0 ? std::min(w, 255) : 0, long(n));
  return Cut(buffer, 10);
}

void RoundToDecimals(float& x, int d) {
  static const double kFactors[] = {1, 10, 100, 1000, 10000, 100000};
  const double f = (d >= 1 && d <= 5) ? kFactors[d] : 1.0;
  x = static_cast<float>(std::nearbyint(double(x) * f) / f);
}

std::string FormatDateTimeText() {
  std::string date, time;
  FormatDate(date);
  FormatTimeOfDay(time);
  return date + time;
}

std::string FormatHoursMinutesSeconds(int32_t seconds) {
  if (seconds < 0) seconds = 0;
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%02ld:%02ld:%02ld", long(seconds / 3600), long(seconds / 60 % 60),
                long(seconds % 60));
  return buffer;
}

std::string FormatByteBits(uint8_t b) {
  std::string text = "(";
  for (int bit = 7; bit >= 0; --bit) text += (b >> bit) & 1 ? '1' : '0';
  return text + ")B";
}

std::string FormatNibbleBits(int n) {
  if (n < 1 || n > 15) return "0000";
  std::string text;
  for (int bit = 3; bit >= 0; --bit) text += (n >> bit) & 1 ? '1' : '0';
  return text;
}

namespace {
bool IsYesKey(char key) { return key == 'J' || key == 'O' || key == 'Y'; }
}  // namespace

std::string FormatYesNoText(char key) {
  return "   " + GetMessageText(IsYesKey(key) ? 100 : 101, 5);
}

float YesKeyToReal(char key) { return IsYesKey(key) ? 1.0f : 0.0f; }

int16_t WorkStartHours = 0, WorkStartMinutes = 0, WorkStartSeconds = 0, WorkStartHundredths = 0;

void MarkWorkStartTime() {
  uint16_t h, m, s, hs;
  GetTimeOfDay(h, m, s, hs);
  WorkStartHours = int16_t(h);
  WorkStartMinutes = int16_t(m);
  WorkStartSeconds = int16_t(s);
  WorkStartHundredths = int16_t(hs);
}

std::string FormatWorkingTime(uint16_t h, uint16_t m, uint16_t s, uint16_t hs) {
  const long start = ((long(WorkStartHours) * 60 + WorkStartMinutes) * 60 + WorkStartSeconds) * 100 + WorkStartHundredths;
  const long now = ((long(h) * 60 + m) * 60 + s) * 100 + hs;
  long diff = now - start;
  if (diff < 0) diff += 24L * 3600 * 100;
  const long hours = diff / 360000, minutes = diff / 6000 % 60, seconds = diff / 100 % 60, hundredths = diff % 100;
  char buffer[64];
  std::string text = "ArbZeit=";
  if (hours > 0) {
    std::snprintf(buffer, sizeof buffer, "%2ld:", hours);
    text += buffer;
  }
  std::snprintf(buffer, sizeof buffer, "%2ld:%2ld:%2ld", minutes, seconds, hundredths);
  return text + buffer;
}

void ShowWorkingTime() {
  uint16_t h, m, s, hs;
  GetTimeOfDay(h, m, s, hs);
  DrawPlainCellButton(1, 1, FormatWorkingTime(h, m, s, hs), 274, 260);
}

// --- Esc abort check ---------------------------------------------------------------------

uint8_t CheckEscapeAbort() {
  if (!PollKeyPressed()) return 0;
  if (ReadNextKey() != 27) return 0;
  return AskAbortQuestion();
}

uint8_t AskAbortQuestion() {
  if (!AskYesNoMessage(29)) return 0;
  ErrorCode = 1;
  std::string time;
  FormatTimeOfDay(time);
  WriteJournalLine(uint16_t(CommandWord), time + " Abbruch mit Esc-Taste");
  return 1;
}

// --- picture buttons -------------------------------------------------------------------------

void PlacePictureButton(TBox& box, int x, int y, const std::string& picture) {
  if (box.flag == 0) return;
  box.x1 = int16_t(x);
  box.y1 = int16_t(y);
  box.x2 = int16_t(x + 22);
  box.y2 = int16_t(y + 22);
  DrawCaptionButton("", box, 260, 0, 274);
  DrawResourceBitmap(x + 3, y + 3, 16, 16, kRopSrcCopy, picture);
}

void PlaceCancelButton(int x, int y, TBox& box) {
  box.flag = 1;
  PlacePictureButton(box, x, y, "Abbruch");
}

void PlaceOkButton(int x, int y, TBox& box) {
  box.flag = 1;
  PlacePictureButton(box, x, y, "OK");
}

void DrawPanelWithOkCancel(int x1, int y1, int x2, int y2, const std::string& caption, TBox& cancelBox, TBox& okBox) {
  DrawDialogPanel(x1, y1, x2, 1, caption, y2);
  PlaceCancelButton(x2 - 26, y1 + 4, cancelBox);
  PlaceOkButton(x2 - 48, y1 + 4, okBox);
}

void OpenPopupWithOkCancel(TPopupFrame& frame, int row, int column, int n, const std::string& caption,
                           TBox& cancelBox, TBox& okBox) {
  frame.left = 0;
  frame.right = int16_t(WidenPopupForTitle(caption, column * 8));
  frame.top = int16_t(row * 16);
  frame.lines = int16_t(n);
  frame.bottom = int16_t(frame.top + 16 * n - 1);
  OpenPopupFrame(frame);
  DrawPanelWithOkCancel(frame.left, frame.top, frame.right, frame.bottom, caption, cancelBox, okBox);
}

TBox GetDialogTitleBox(const TPopupFrame& frame) {
  return TBox{1, int16_t(frame.left + 8), int16_t(frame.top + 4), int16_t(frame.right - 52), int16_t(frame.top + 25)};
}

std::string FitDialogTitle(const TPopupFrame& frame, const std::string& caption) {
  const TBox box = GetDialogTitleBox(frame);
  std::string text = caption;
  while (text.size() > 1 && MeasureButtonTextWidth(text) + 4 > box.x2 - box.x1) {
    text.pop_back();
    while (text.size() > 1 && (uint8_t(text.back()) & 0xC0) == 0x80) text.pop_back();  // whole UTF-8 characters
  }
  return text;
}

int WidenPopupForTitle(const std::string& title, int pixels) {
  const std::string shown = !title.empty() && title[0] == '|' ? title.substr(1) : title;
  // Room as in GetDialogTitleBox: 8 pixels before the title, 52 after its
  // box, and 4 spare inside it.
  const int needed = MeasureButtonTextWidth(shown) + 8 + 4 + 52;
  return std::max(pixels, (needed + 7) / 8 * 8);
}

void DrawDialogFrameWithButtons(TPopupFrame& frame, const std::string& caption, bool white, TBox& cancelBox,
                                TBox& okBox) {
  DrawDialogPanel(frame.left, frame.top, frame.right, 3, FitDialogTitle(frame, caption), frame.bottom);
  if (white) {
    DrawWhiteField(frame.left + 4, frame.top + 27, frame.right - 4, frame.bottom - 4, 0);
  } else {
    DrawBevelFrame(frame.left + 4, frame.top + 27, frame.right - 4, frame.bottom - 4);
  }
  PlaceCancelButton(frame.right - 26, frame.top + 4, cancelBox);
  PlaceOkButton(frame.right - 48, frame.top + 4, okBox);
}

void DrawFileDialogButtonRow(int x1, int y1, int x2, int y2, int style, const std::string& caption,
                             TBox (&boxes)[5]) {
  static const char* const kPictures[5] = {"Abbruch", "OK", "SpeichUnter", "OEFFNEN", "KHilfe"};
  DrawDialogPanel(x1, y1, x2, style, caption, y2);
  for (int i = 0; i < 5; ++i) PlacePictureButton(boxes[i], x2 - 26 - 22 * i, y1 + 4, kPictures[i]);
}

void SetPopupPicture(const std::string& name, int width, int height, TPopupList& list) {
  if (!plat::FileExists(name)) return;
  list.pictureName = name.substr(0, kPopupPictureNameMax);
  list.pictureWidth = int16_t(width);
  list.pictureHeight = int16_t(height);
}

// --- hit tests --------------------------------------------------------------------------------

bool IsMouseInBox(const TBox& box) {
  return MouseX >= box.x1 && MouseX <= box.x2 && MouseY >= box.y1 && MouseY <= box.y2;
}

bool IsClickInBox(const TBox& box) { return MouseButtonState == 2 && IsMouseInBox(box); }

int HitTestButtons(const TBox* boxes, int count) {
  int16_t x = 0, y = 0;
  PollMousePosition(x, y);
  DrawMouseCursor(x, y);
  if (MouseButtonState != 2) return MouseButtonState == 4 ? -1 : 0;
  for (int i = 0; i < count; ++i)
    if (boxes[i].flag == 1 && IsMouseInBox(boxes[i])) return i + 1;
  return 0;
}

namespace {
bool Inside(int x1, int y1, int x2, int y2) { return MouseX > x1 && MouseX < x2 && MouseY > y1 && MouseY < y2; }

void PickListLine(int x1, int y1, int x2, int y2, int firstLine, int lastLine, int& line) {
  if (!Inside(x1, y1, x2, y2)) return;
  const int dy = MouseY - y1;
  line = std::min(firstLine + (dy >= 0 ? dy / 16 : -((15 - dy) / 16)), lastLine);
}
}  // namespace

void HitTestListClick(int x1, int y1, int x2, int y2, const TBox& first, const TBox& second, int firstLine,
                      int lastLine, uint8_t& exitCode, int& line) {
  int16_t x = 0, y = 0;
  PollMousePosition(x, y);
  if (MouseButtonState != 2) return;
  if (Inside(second.x1, second.y1, second.x2, second.y2)) {
    exitCode = 8;
  } else if (Inside(first.x1, first.y1, first.x2, first.y2)) {
    exitCode = 3;
  } else {
    PickListLine(x1, y1, x2, y2, firstLine, lastLine, line);
  }
}

void HitTestListLine(int x1, int y1, int x2, int y2, int firstLine, int lastLine, int& line) {
  int16_t x = 0, y = 0;
  PollMousePosition(x, y);
  if (MouseButtonState == 2) PickListLine(x1, y1, x2, y2, firstLine, lastLine, line);
}

// --- the question with picture buttons ----------------------------------------------------------

int SplitMessageLines(const std::string& message, std::string (&lines)[6]) {
  int n = 0;
  size_t i = 0;
  while (i < message.size() && n < 6) {
    size_t end = message.find_first_of("\r\n", i);
    std::string line = message.substr(i, end == std::string::npos ? std::string::npos : end - i);
    lines[n++] = line.substr(0, 80);
    if (end == std::string::npos) break;
    i = end;
    while (i < message.size() && (message[i] == '\r' || message[i] == '\n')) ++i;
  }
  return n;
}

namespace {
int CeilDiv8(int v) { return (v + 7) / 8; }
}  // namespace

int PictureButtonContentWidth(const std::string& caption, const std::string& picture) {
  const int text = caption.empty() ? 0 : MeasureButtonTextWidth(caption) + 4;
  return text + (picture.empty() ? 0 : 16) + 16;
}

void LayOutPictureQuestion(const std::string& heading, const std::string* lines, int n,
                           const std::string (&captions)[3], const std::string (&pictures)[3],
                           TPictureQuestionLayout& layout) {
  int widest = 0;
  for (int i = 0; i < 3; ++i) widest = std::max(widest, PictureButtonContentWidth(captions[i], pictures[i]));
  const int bw = CeilDiv8(widest);
  // The heading and the lines are drawn in the character-cell font.
  int textWidth = MeasureScreenTextWidth(heading) + 24 + 48;  // room for the cancel button
  for (int i = 0; i < n; ++i) textWidth = std::max(textWidth, MeasureScreenTextWidth(lines[i]) + 16);
  const int W = std::max(CeilDiv8(textWidth), 3 * bw + 4);

  const int cx = (DrawingArea.x1 + DrawingArea.x2) / 2;
  const int cy = (DrawingArea.y1 + DrawingArea.y2) / 2;
  const int height = 16 * n + 94;
  layout.left = cx - 4 * W;
  layout.right = cx + 4 * W;
  layout.top = cy - height / 2;
  layout.bottom = cy + height / 2 - 1;
  const int x1 = layout.left, x2 = layout.right, y2 = layout.bottom;
  layout.boxes[0] = TBox{1, int16_t(x2 - 26), int16_t(layout.top + 4), int16_t(x2 - 4), int16_t(layout.top + 26)};
  const int lefts[3] = {x1 + 8, cx - 4 * bw, x2 - 8 - 8 * bw};
  for (int i = 0; i < 3; ++i)
    layout.boxes[i + 1] = TBox{1, int16_t(lefts[i]), int16_t(y2 - 32), int16_t(lefts[i] + 8 * bw), int16_t(y2 - 8)};
}

void AskWithPictureButtons(const std::string& title, const std::string& message, const std::string& caption1,
                           const std::string& picture1, const std::string& caption2, const std::string& picture2,
                           const std::string& caption3, const std::string& picture3, int16_t f1Result,
                           int16_t f2Result, int16_t& result) {
  if (CursorShown) EraseMouseCursor();
  const std::string heading = title.substr(0, 29);
  std::string lines[6];
  const int n = SplitMessageLines(message, lines);
  if (n == 0) return;  // nothing to ask: the result stays as it was
  const std::string captions[3] = {caption1.substr(0, 16), caption2.substr(0, 16), caption3.substr(0, 16)};
  const std::string pictures[3] = {picture1, picture2, picture3};
  TPictureQuestionLayout layout;
  LayOutPictureQuestion(heading, lines, n, captions, pictures, layout);

  TPopupFrame frame{};
  frame.left = int16_t(layout.left);
  frame.right = int16_t(layout.right);
  frame.top = int16_t(layout.top);
  frame.bottom = int16_t(layout.bottom);
  frame.lines = int16_t(LinesForHeight(frame.bottom - frame.top + 2));
  OpenPopupFrame(frame);
  const int x1 = frame.left, y1 = frame.top, x2 = frame.right, y2 = frame.bottom;
  DrawGreyDialogPanel(x1, y1, x2, heading, y2);
  SetPenColor(274);
  for (int i = 0; i < n; ++i) DrawScreenText(x1 + 8, y1 + 46 + 16 * i, lines[i]);

  TBox boxes[4]{};
  PlaceCancelButton(layout.boxes[0].x1, layout.boxes[0].y1, boxes[0]);
  for (int i = 0; i < 3; ++i) {
    TBox& box = boxes[i + 1];
    box = layout.boxes[i + 1];
    if (pictures[i].empty()) {
      DrawCaptionButton(captions[i], box, 260, 0, 274);
    } else {
      DrawIconButton("", "", box, 0, 274, 260);
      const int textW = captions[i].empty() ? 0 : MeasureButtonTextWidth(captions[i]) + 4;
      const int px = (box.x1 + box.x2 - 16 - textW) / 2;
      DrawResourceBitmap(px, (box.y1 + box.y2) / 2 - 8, 16, 16, kRopSrcCopy, pictures[i]);
      if (textW > 0) {
        SetPenColor(274);
        DrawTextAltFont(px + 20, (box.y1 + box.y2) / 2 + 5, captions[i]);
      }
    }
  }
  const std::string& last = lines[n - 1];
  if (!last.empty() && (last.back() == '!' || last.back() == '?')) PlayDingOrBeep();
  CursorMode = 4;
  DrawMouseCursor(MouseX, MouseY);
  WaitForMouseRelease();

  for (;;) {
    ButtonResult = 0;
    PollMouseCursor();
    const uint8_t buttons = ButtonResult != 0 ? ButtonResult : MouseButtonState;
    const bool f2 = ButtonResult == 1 && ExtendedKeyFlag;  // F2 polls as the middle button
    if (f2) {
      result = f2Result;
      break;
    }
    if (buttons == 2) {
      int hit = -1;
      for (int i = 0; i < 4 && hit < 0; ++i)
        if (IsMouseInBox(boxes[i])) hit = i;
      if (hit >= 0) {
        result = int16_t(hit);
        break;
      }
    } else if (buttons == 4) {
      result = 0;
      break;
    }
    if (ExtendedKeyFlag && CursorKeyCode == 59) {
      result = f1Result;
      break;
    }
    if (CloseRequested) {
      result = 0;
      break;
    }
    WaitForWindowMessage();
  }
  ClosePopupFrame(frame);
}

// --- information boxes ----------------------------------------------------------------------

void ShowInfoPairsBox(const std::string (&pairs)[7][2]) {
  int n = 0;
  for (const auto& pair : pairs) n += !(pair[0].empty() && pair[1].empty());
  const int x1 = DrawingArea.x1, y1 = DrawingArea.y1;
  const int x2 = x1 + 320, y2 = y1 + (4 + n) * 16 - 11;
  DrawGreyDialogPanel(x1, y1, x2, GetMessageText(2674, 39), y2);
  int y = y1 / 16 * 16 + 48;
  for (const auto& pair : pairs) {
    if (pair[0].empty() && pair[1].empty()) continue;
    SetPenColor(274);
    DrawTextSized(x1 + 8, y, pair[0], 12, 7);
    SetPenColor(1);
    DrawTextSized(x1 + 216, y, pair[1], 12, 7);
    y += 16;
  }
}

void ShowTablePictureBox(const std::string& caption, const std::string (&texts)[6], const std::string& picture,
                         int width, int height) {
  int widest = width;
  int lines = 0;
  for (const std::string& text : texts) {
    widest = std::max(widest, int(text.size()) * 8);
    lines += !text.empty();
  }
  const int w = widest + 16, h = height + 64 + 16 * lines;
  const int cx = (DrawingArea.x1 + DrawingArea.x2) / 2, cy = (DrawingArea.y1 + DrawingArea.y2) / 2;
  const int x1 = cx - w / 2, y1 = cy - h / 2, x2 = x1 + w, y2 = y1 + h;
  DrawShadedDialogPanel(x1, y1, x2, caption, y2);
  DrawBevelFrame(x1 + 4, y1 + 28, x2 - 4, y2 - 4);
  DrawPictureFromTable(plat::ProgramFolder() + kProgramPictureTableName, picture, cx - width / 2, 1.0f, height, width,
                       y1 + 36);
  int y = y1 + 36 + height + 20;
  SetPenColor(274);
  for (const std::string& text : texts) {
    if (text.empty()) continue;
    DrawMenuFontText(cx - MeasureMenuTextWidth(text) / 2, y, text);
    y += 16;
  }
}

// --- progress forwarders -----------------------------------------------------------------------

void BeginProgressDisplay(int32_t n) { StartProgressBar(n); }
void BeginProgressPart(int32_t n) { SetProgressSubRangeSteps(n); }
void UpdateProgressDisplay(int32_t n) { UpdateProgressBar(n); }
