#include "commands/menu_bar.h"

#include "commands/hints.h"
#include "commands/menu_pages.h"
#include "commands/side_menu.h"
#include "commands/start_panel.h"
#include "commands/state_icons.h"
#include "frame/main_window.h"
#include "frame/program_state.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "ui/prompt_strip.h"

std::string MenuBarText;
TMenuBarTitle MenuBarTitles[kMenuBarTitles];
uint8_t HighlightedTitle = 0;
int16_t ColourScaleX = 0;

namespace {

constexpr plat::TColorRef kBarGrey = plat::Rgb(220, 220, 220);

int ClientWidth() { return MaxX + 1; }

// Underlines the first character of the title equal to its hot-key letter
// (compared in upper case).
void DrawTitleHotKey(const TMenuBarTitle& entry) {
  if (entry.hotKey == ' ' || entry.hotKey == '\0') return;
  for (size_t i = 0; i < entry.title.size(); ++i) {
    char c = entry.title[i];
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    if (c != entry.hotKey) continue;
    const int x = entry.startPixel + 7 + MeasureMenuTextWidth(entry.title.substr(0, i));
    const int w = MeasureMenuTextWidth(entry.title.substr(i, 1));
    DrawScreenLine(x, 15, x + w - 1, 15);
    return;
  }
}

}  // namespace

int MenuBarActiveWidth() { return MenuBarTitles[kMenuBarTitles - 1].startPixel; }

void DrawMenuBar(int16_t page) {
  FillColorRect(0, 0, MenuBarActiveWidth(), 16, kBarGrey);
  MenuBarText.clear();
  for (int k = 1; k <= kMenuBarTitles; ++k) {
    TMenuLine line;
    ReadMenuLine(page, k, line);
    TMenuBarTitle& entry = MenuBarTitles[k - 1];
    entry.code = int16_t(DecodeMenuLineNumber(line));
    entry.hotKey = MenuLineHotKey(line);
    entry.title = MenuLineTitle(line);
    entry.startPos = uint8_t(MenuBarText.size());
    entry.startPixel = int16_t(MeasureMenuTextWidth(MenuBarText));
    if (!entry.title.empty()) {
      MenuBarText += entry.title + "  ";
      if (MenuBarText.size() > size_t(kMenuBarTextMax)) MenuBarText.resize(kMenuBarTextMax);
    }
  }
  while (MenuBarText.size() > 1 && MenuBarText.back() == ' ') MenuBarText.pop_back();
  const int w = MeasureMenuTextWidth(MenuBarText) + 8;
  const int W = ClientWidth();

  // State icons from the right, each while the titles leave room for it.
  MenuBarBox = TButtonRect{1, 0, 0, int16_t(MaxX), 24};
  const bool action = w < W - 33;
  const bool current = w < W - 58;
  const bool tool = w < W - 83;
  const bool path = w < W - 108 && (VariantNumber == 1 || VariantNumber == 4 || VariantNumber == 6);
  auto setBit = [](uint8_t bit, bool on) {
    StateIconFlags = uint8_t(on ? (StateIconFlags | bit) : (StateIconFlags & ~bit));
  };
  setBit(kStateShowAction, action);
  setBit(kStateShowCurrentLayer, current);
  setBit(kStateShowToolLayers, tool);
  setBit(kStateShowPathLayers, path);
  if (action) DrawActionIcon(0);
  if (current) DrawCurrentLayerIcon();
  if (tool) DrawToolLayerIcon();
  if (path) DrawPathLayerIcon();

  int R = path ? W - 100 : tool ? W - 75 : current ? W - 50 : action ? W - 25 : W;
  if (MenuBarActiveWidth() < R - 130) {
    VariantLogoX = int16_t(R - 123);
    DrawVariantLogo();
  } else {
    VariantLogoX = 0;
  }
  R -= 142;
  ColourScaleX = int16_t(MenuBarActiveWidth() < R - 14 ? R : 0);
  DrawMenuBarTitles();
}

void DrawMenuBarTitles() {
  FillColorRect(0, 0, MenuBarActiveWidth(), 16, kBarGrey);
  if (MenuBarMode & 1) {
    SetPenColor(274);
    DrawMenuFontText(8, 5, MenuBarText);
    for (int k = 1; k < kMenuBarTitles; ++k)
      if (!MenuBarTitles[k - 1].title.empty()) DrawTitleHotKey(MenuBarTitles[k - 1]);
  } else {
    SetPenColor(261);
    DrawMenuFontText(8, 5, MenuBarText);
  }
  HighlightedTitle = 0;
}

void HighlightMenuTitle(int k, bool on) {
  if (k < 1 || k > kMenuBarTitles - 1) return;
  const TMenuBarTitle& entry = MenuBarTitles[k - 1];
  const size_t start = entry.startPos;
  if (start >= MenuBarText.size()) return;
  const size_t next = MenuBarTitles[k].startPos;
  std::string text = MenuBarText.substr(start, next > start ? next - start : std::string::npos);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  const int x = entry.startPixel + 7;
  const int w = MeasureMenuTextWidth(text);
  FillColorRect(x, 1, x + w, 15, GetColorRef(on ? 274 : 260));
  SetPenColor(on ? 261 : 274);
  DrawMenuFontText(x + 1, 5, text);
  DrawTitleHotKey(entry);
}

void SetMenuBarMode(uint8_t mode) {
  if (mode == MenuBarMode) return;
  MenuBarMode = mode;
  DrawMenuBarTitles();
  ResetDrawingArea();
}

int MenuBarTitleAt(int x) {
  for (int k = 1; k < kMenuBarTitles; ++k)
    if (MenuBarTitles[k].startPixel >= x) return k;
  return kMenuBarTitles;
}

void HandleMenuBarClick() {
  if ((MenuBarMode & 1) == 0) return;
  if ((MouseButtonState & 2) == 0) {
    if (MouseX < MenuBarActiveWidth()) ShowDelayedHint(kHintMenuBar, kMenuBarHintTopic);
    return;
  }
  for (;;) {
    if (MouseX >= MenuBarActiveWidth()) return;
    const int k = MenuBarTitleAt(MouseX);
    if (k != HighlightedTitle) {
      DrawMenuBarTitles();
      HighlightMenuTitle(k, true);
      HighlightedTitle = uint8_t(k);
      CommandWord = 0;
    }
    const int16_t code = MenuBarTitles[k - 1].code;
    if (SideMenuNumber != code - 9900) {
      ShowSideMenu(int16_t(code - 9900));
      MouseButtonState = 0;
    }
    if (CurrentMenuStyle() == 2 && code >= 9900) RunMenuPagePopup(MenuBarTitles[k - 1].startPixel, code - 9900);
    if (CurrentMenuStyle() != 2 || CommandWord != 0 || CloseRequested) return;
    int16_t mx = 0, my = 0;
    PollMousePosition(mx, my);
    // Sliding on: the popup ended by a left press that is still on the bar.
    if ((MouseButtonState & 2) == 0 || !IsPointInButton(MenuBarBox, mx, my)) return;
  }
}
