#include "commands/side_menu.h"

#include <algorithm>

#include "commands/command_names.h"
#include "ui/graphic_controls.h"
#include "commands/hints.h"
#include "commands/icon_panel.h"
#include "commands/menu_pages.h"
#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/program_state.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "ui/panels.h"

int16_t SideMenuNumber = 0;
TSideItem SideItems[kSideItems];
int8_t LastSideItem = -1;
int8_t HighlightedSideItem = -1;
int8_t PreviousSideItem = -1;
uint8_t IconPanelShown = 0;
uint8_t IconPanelInFront = 0;
uint8_t SideMenuRedrawRequest = 0;

namespace {

constexpr plat::TColorRef kPanelGrey = plat::Rgb(220, 220, 220);
constexpr plat::TColorRef kValueBoxGrey = plat::Rgb(192, 192, 192);
constexpr char kValueMark = '\0';
constexpr int kValueAfterColon = 12;

int ClientWidth() { return MaxX + 1; }

bool IsValidItem(int i) { return i >= 0 && i < kSideItems; }

// Right end of an item's face: a caption ending in the value mark leaves the
// last 49 pixels to a value box or picture.
int ItemFaceRight(const TSideItem& item) {
  const int W = ClientWidth();
  return !item.caption.empty() && item.caption.back() == kValueMark ? W - 52 : W - 3;
}

// The caption's part up to and including the first ":"; the first 9
// characters when there is none or it stands after position 9.
std::string CaptionHead(const std::string& caption) {
  const size_t colon = caption.find(':');
  if (colon != std::string::npos && colon < 9) return caption.substr(0, colon + 1);
  return caption.substr(0, std::min<size_t>(caption.size(), 9));
}

std::string VisibleCaption(const std::string& caption) {
  std::string text = caption;
  if (!text.empty() && text.back() == kValueMark) text.pop_back();
  return text;
}

void DrawItemCaption(const TSideItem& item, int top) {
  const int x = SidePanelX1() + 26;
  const std::string text = VisibleCaption(item.caption);
  const size_t colon = text.find(':');
  if (colon == std::string::npos) {
    DrawMenuFontText(x, top + 4, text);
  } else {
    DrawMenuFontText(x, top + 4, text.substr(0, colon + 1));
    std::string value = text.substr(colon + 1, kValueAfterColon);
    DrawMenuFontText(SidePanelX2() - 8 - MeasureMenuTextWidth(value), top + 4, value);
  }
  if (item.hotKey == ' ' || item.hotKey == '-' || item.hotKey == '\0') return;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    if (c != item.hotKey) continue;
    const int ux = SidePanelX1() + 25 + MeasureMenuTextWidth(text.substr(0, i));
    DrawScreenLine(ux, top + 14, ux + MeasureMenuTextWidth(text.substr(i, 1)) - 1, top + 14);
    return;
  }
}

void RedrawLayerButton() { DrawLayerButton(CurrentLayer, 0); }

}  // namespace

uint8_t CurrentMenuStyle() {
  if (ParamImage == nullptr) return 1;
  uint8_t block3[kMenuStyleParamByte + 1] = {};
  GetParamBlock(3, block3, sizeof block3);
  const uint8_t style = block3[kMenuStyleParamByte];
  return style >= 1 && style <= 3 ? style : 1;
}

int SidePanelX1() { return SideMenuTextArea.x1; }
int SidePanelY1() { return SideMenuTextArea.y1; }
int SidePanelX2() { return SideMenuTextArea.x2; }
int SideItemTop(int i) { return SidePanelY1() + kSideItemHeight * (i + 1) + 1; }

void LoadSideMenu(int16_t n) {
  HighlightedSideItem = -1;
  PreviousSideItem = -1;
  CommandWord = 0;
  if (n <= 0) {
    for (TSideItem& item : SideItems) item = TSideItem{};
    LastSideItem = -1;
    return;
  }
  SideMenuNumber = n;
  TMenuPage page;
  ReadMenuPage(n, page);
  for (int i = 0; i < kSideItems; ++i) {
    TSideItem& item = SideItems[i];
    const int32_t code = DecodeMenuLineNumber(page.lines[i]);
    item.code = uint16_t(code < 0 ? 0 : code);
    item.enabled = 1;
    item.hotKey = MenuLineHotKey(page.lines[i]);
    item.caption = MenuLineCaption(page.lines[i]);
  }
  if (CursorShown) EraseMouseCursor();
  const int x1 = SidePanelX1(), y1 = SidePanelY1();
  if (LastSideItem > 0) {
    FillColorRect(x1 + 1, y1 + 18, ClientWidth(), y1 + kSideItemHeight * (LastSideItem + 2) + 4, kPanelGrey);
    SetPenColor(15);
    DrawScreenLine(x1, y1, x1, SideMenuTextArea.y2);
  }
  LastSideItem = 0;
  for (int i = kSideItems - 1; i >= 1; --i)
    if (!SideItems[i].caption.empty()) {
      LastSideItem = int8_t(i);
      break;
    }
}

namespace {
void FillAndDrawIconPanel(int16_t group) {
  FillIconPanelForMenu(group);
  DrawIconPanel();
}

void DrawByStyle(int16_t group) {
  switch (CurrentMenuStyle()) {
    case 2:
      FillAndDrawIconPanel(group);
      if (IconPanelShown == 0) DrawSideTextList();
      break;
    case 3:
      // The part drawn last stays in front.
      if (IconPanelInFront == 1 && IconPanelShown != 0) {
        DrawSideTextList();
        FillAndDrawIconPanel(group);
      } else {
        FillAndDrawIconPanel(group);
        DrawSideTextList();
      }
      break;
    default: DrawSideTextList(); break;
  }
}
}  // namespace

void DrawSideMenuByStyle() { DrawByStyle(SideMenuNumber); }

void ShowSideMenu(int16_t n) {
  LoadSideMenu(n);
  IconPanelPage = 0;
  DrawByStyle(n);
  CommandWord = 0;
  RedrawLayerButton();
}

void DrawSideTextList() {
  if (CursorShown) EraseMouseCursor();
  const int x1 = SidePanelX1(), y1 = SidePanelY1();
  DrawGreyDialogPanel(x1, y1 + kSideItemHeight, SidePanelX2() - 1, "",
                      y1 + kSideItemHeight * (std::max<int>(LastSideItem, 0) + 2) + 4);
  for (int i = 0; i <= LastSideItem; ++i) DrawSideItem(i, false);
  if (IsValidItem(HighlightedSideItem) && !SideItems[HighlightedSideItem].caption.empty())
    DrawSideItem(HighlightedSideItem, true);
  IconPanelInFront = 0;
}

void DrawSideItem(int i, bool highlighted) {
  if (!IsValidItem(i)) return;
  const TSideItem& item = SideItems[i];
  const int top = SideItemTop(i);
  const int x1 = SidePanelX1();
  const int W = ClientWidth();
  if (item.caption.empty()) {
    FillColorRect(x1 + 3, top, W - 3, top + 16, GetColorRef(260));
    SetPenColor(8);
    DrawScreenLine(x1 + 3, top + 8, W - 3, top + 8);
    SetPenColor(261);
    DrawScreenLine(x1 + 3, top + 9, W - 3, top + 9);
    return;
  }
  const bool enabled = item.enabled == 1;
  int face = 260, text = enabled ? 274 : 7;
  if (item.code == 0) {
    face = 1;
    text = 261;
  } else if (highlighted) {
    face = 274;
    text = enabled ? 261 : 7;
  } else if (item.code >= 9900) {
    text = enabled ? 1 : 7;
  }
  FillColorRect(x1 + 24, top, ItemFaceRight(item), top + 16, GetColorRef(face));
  if (item.code != 0) {
    std::string picture;
    GetCommandPictureName(int16_t(item.code), picture);
    if (!picture.empty()) DrawResourceBitmap(x1 + 4, top + 1, 16, 16, kRopSrcCopy, picture);
  }
  SetPenColor(text);
  DrawItemCaption(item, top);
}

void SetSideMenuItemEnabled(int i, bool on) {
  if (!IsValidItem(i)) return;
  SideItems[i].enabled = on ? 1 : 0;
  DrawSideItem(i, i == HighlightedSideItem);
}

void SetMenuItemValueText(int i, const std::string& text) {
  if (!IsValidItem(i)) return;
  std::string caption = CaptionHead(SideItems[i].caption) + text;
  if (caption.size() > size_t(kSideCaptionMax)) caption.resize(kSideCaptionMax);
  SideItems[i].caption = caption;
  DrawSideItem(i, i == HighlightedSideItem);
}

void SetMenuItemColourValue(int i, const std::string& text, int16_t colour) {
  if (!IsValidItem(i)) return;
  SideItems[i].caption = CaptionHead(SideItems[i].caption) + kValueMark;
  DrawSideItem(i, i == HighlightedSideItem);
  const int top = SideItemTop(i);
  const int w = MeasureMenuTextWidth(text);
  const int x2 = SidePanelX2();
  FillColorRect(x2 - w - 8, top + 3, x2 - 8, top + 17, kValueBoxGrey);
  SetPenColor(colour);
  DrawMenuFontText(x2 - w - 8, top + 5, text);
}

void SetMenuItemPicture(int i, const std::string& pictureName, int width, int height) {
  if (!IsValidItem(i)) return;
  SideItems[i].caption = CaptionHead(SideItems[i].caption) + kValueMark;
  DrawSideItem(i, i == HighlightedSideItem);
  DrawResourceBitmap(SidePanelX2() - width - 8, SideItemTop(i) + 1, width, height, kRopSrcCopy, pictureName);
}

void RedrawSideMenuIfRequested() {
  if (SideMenuRedrawRequest == 0) return;
  DrawSideMenuByStyle();
  SideMenuRedrawRequest = 0;
}

bool IsOverSideTextList(int x, int y) {
  if (LastSideItem < 0) return false;
  const int y1 = SidePanelY1();
  return x >= SidePanelX1() && x <= MaxX && y >= y1 + kSideItemHeight &&
         y <= y1 + kSideItemHeight * (LastSideItem + 2);
}

int SideItemAt(int y) {
  const int item = (y - SidePanelY1()) / kSideItemHeight - 1;
  return std::clamp(item, 0, std::max<int>(LastSideItem, 0));
}

void TrackSideTextList(int x, int y) {
  if (!IsOverSideTextList(x, y)) return;
  const int item = SideItemAt(y);
  HighlightedSideItem = int8_t(item);
  ShowDelayedHint(kHintSideItem, int16_t(SideItems[item].code));
  if (item == PreviousSideItem) return;
  if (IsValidItem(PreviousSideItem) && !SideItems[PreviousSideItem].caption.empty())
    DrawSideItem(PreviousSideItem, false);
  if (!SideItems[item].caption.empty()) DrawSideItem(item, true);
  PreviousSideItem = int8_t(item);
}

uint16_t SideItemClickCode(int i, uint8_t button) {
  if (!IsValidItem(i) || i > LastSideItem) return 0;
  const TSideItem& item = SideItems[i];
  if (item.enabled != 1) return 0;
  if (button & 2) return item.code;
  if (button & 1) {
    switch (item.code) {
      case 38: return 39;
      case 618: return 627;
      case 3187: return 3188;
      case 8992: return 8993;
      default: return 0;
    }
  }
  return 0;
}
