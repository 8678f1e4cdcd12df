#include "ui/tab_window.h"

#include "frame/main_window.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"

namespace {

constexpr plat::TColorRef kPageColour = plat::Rgb(230, 208, 97);
constexpr plat::TColorRef kPageDark = plat::Rgb(107, 61, 4);
constexpr plat::TColorRef kPageLight = plat::Rgb(230, 230, 210);

void RemoveCursor() {
  if (CursorShown) EraseMouseCursor();
}

void Line(int x1, int y1, int x2, int y2) {
  MoveToScreenPoint(x1, y1);
  LineToScreenPoint(x2, y2);
}

}  // namespace

void DrawWindowTab(const TButtonRect& tab, const std::string& caption) {
  if (caption.empty()) return;
  SetRopCopy();
  SetPenRgb(kPageDark);
  MoveToScreenPoint(tab.x1 + 1, tab.y2);
  LineToScreenPoint(tab.x2, tab.y2);
  LineToScreenPoint(tab.x2, tab.y1);
  SetPenColor(274);
  SetTextAlignment(1, 2);
  DrawMenuFontText(TabCaptionX(tab), TabCaptionTop(tab), caption.substr(0, kTabCaptionMax));
  SetTextAlignment(0, 2);
}

void MarkSelectedTab(const TButtonRect& tab) { FillColorRect(tab.x1 + 1, tab.y2 - 1, tab.x2 - 1, tab.y2 + 1, kPageColour); }

int TabCaptionX(const TButtonRect& tab) { return (tab.x1 + tab.x2) / 2; }

int TabCaptionTop(const TButtonRect& tab) { return (tab.y1 + tab.y2) / 2 - 4; }

void LayOutTabWindow(TTabWindow& window, int screenWidth, int screenHeight) {
  int left = (screenWidth + 1) / 2 - kTabWindowWidth / 2;
  left = left < 0 ? 0 : left - left % 8;
  const int right = left + kTabWindowWidth;
  int t = (((screenHeight + 1) / 2) / 16 - 12) * 16 - 32;
  int top = t - 24;
  if (top < 0) {
    top = 0;
    t = 24;
  }
  const int bottom = t + 404;

  window.Frame = TPopupFrame{};
  window.Frame.left = int16_t(left);
  window.Frame.right = int16_t(right);
  window.Frame.top = int16_t(top);
  window.Frame.bottom = int16_t(bottom);
  window.Frame.lines = int16_t((bottom - top + 15) / 16);
  window.CloseButton = TButtonRect{1, int16_t(right - 26), int16_t(top + 4), int16_t(right - 3), int16_t(top + 26)};
  for (int i = 0; i < kTabCount; ++i)
    window.Tabs[i] = TButtonRect{1, int16_t(left + 9 + i * kTabWidth), int16_t(t + 7),
                                 int16_t(left + 9 + (i + 1) * kTabWidth), int16_t(t + 39)};
  TTabPageArea& page = window.PageArea;
  page.Left = window.Tabs[0].x1;
  page.Right = window.Tabs[kTabCount - 1].x2;
  page.Top = int16_t(t + 39);
  page.Bottom = int16_t(bottom - 6);
}

void OpenTabWindow(TTabWindow& window) {
  RemoveCursor();
  LayOutTabWindow(window, MaxX + 1, MaxY + 1);
  const int left = window.Frame.left, right = window.Frame.right;
  const int top = window.Frame.top, bottom = window.Frame.bottom;
  const int t = window.Tabs[0].y1 - 7;
  OpenPopupFrame(window.Frame);
  DrawShadedDialogPanel(left, top, right, window.Title, bottom);

  DrawCaptionButton("", window.CloseButton, 260, 0, 274);
  DrawResourceBitmap(window.CloseButton.x1 + 3, window.CloseButton.y1 + 3, 16, 16, kRopSrcCopy, "Abbruch");

  window.TabCount = kTabCount - 1;
  while (window.TabCount > 0 && window.TabCaptions[window.TabCount].empty()) --window.TabCount;

  const TTabPageArea& page = window.PageArea;
  FillColorRect(page.Left + 1, t + 8, page.Right - 1, page.Bottom - 1, kPageColour);
  DrawMakerLogo(left, top, right, 1.4f, bottom);

  SetRopCopy();
  SetPenRgb(kPageDark);
  Line(page.Left, page.Bottom, page.Right + 1, page.Bottom);
  Line(page.Left + 1, page.Bottom - 1, page.Right, page.Bottom - 1);
  Line(page.Right, t + 7, page.Right, page.Bottom);
  Line(page.Right - 1, t + 8, page.Right - 1, page.Bottom - 1);
  SetPenRgb(kPageLight);
  Line(page.Left, t + 7, page.Right, t + 7);
  Line(page.Left + 1, t + 8, page.Right - 1, t + 8);
  Line(page.Left, t + 7, page.Left, page.Bottom);
  Line(page.Left + 1, t + 8, page.Left + 1, page.Bottom - 1);
  Line(page.Left + 1, page.Top + 1, page.Right - 1, page.Top + 1);

  for (int i = 0; i < kTabCount; ++i) DrawWindowTab(window.Tabs[i], window.TabCaptions[i]);
  window.SelectedTab = 0;
  MarkSelectedTab(window.Tabs[0]);
}

void RunTabWindow(TTabWindow& window) {
  RemoveCursor();
  const uint8_t savedCursorMode = CursorMode;
  CursorMode = 4;
  if (window.SelectedTab >= 0 && window.SelectedTab < kTabCount) MarkSelectedTab(window.Tabs[window.SelectedTab]);
  for (bool done = false; !done;) {
    ButtonResult = 0;
    PollMouseCursor();
    const uint8_t buttons = CloseRequested ? 4 : (ButtonResult != 0 ? ButtonResult : MouseButtonState);
    const bool f1 = ExtendedKeyFlag != 0 && CursorKeyCode == 59;
    if (buttons == 2) {
      if (IsPointInButton(window.CloseButton, MouseX, MouseY)) {
        window.SelectedTab = -1;
        done = true;
      }
      for (int i = 0; i <= window.TabCount && !done; ++i) {
        if (!IsPointInButton(window.Tabs[i], MouseX, MouseY)) continue;
        const int previous = window.SelectedTab;
        if (previous >= 0 && previous < kTabCount) DrawWindowTab(window.Tabs[previous], window.TabCaptions[previous]);
        SetRopCopy();
        SetPenColor(15);
        Line(window.PageArea.Left + 1, window.PageArea.Top + 1, window.PageArea.Right - 1, window.PageArea.Top + 1);
        window.SelectedTab = int8_t(i);
        MarkSelectedTab(window.Tabs[i]);
        done = true;
      }
    } else if (buttons == 4 || f1) {
      window.SelectedTab = -1;
      done = true;
    }
    if (!done) WaitForWindowMessage();
  }
  RemoveCursor();
  CursorMode = savedCursorMode;
}

void CloseTabWindow(TTabWindow& window) {
  RemoveCursor();
  ClosePopupFrame(window.Frame);
}
