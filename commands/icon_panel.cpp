// The icon panel: its table, the group filling from the menu pages, drawing
// and the mouse.
#include "commands/icon_panel.h"

#include <cstdlib>

#include "ui/buttons_controls.h"
#include "commands/command_names.h"
#include "ui/graphic_controls.h"
#include "commands/hints.h"
#include "commands/input_wait.h"
#include "commands/menu_bar.h"
#include "commands/menu_pages.h"
#include "commands/side_menu.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/program_state.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "model/vector_store.h"
#include "ui/panels.h"
#include "view/character_cells.h"

TIconPanelItem* IconPanelItems = nullptr;
TButtonRect IconPanelBoxes[kIconPanelItems] = {};
uint8_t IconPanelRowMarks[kIconPanelRows] = {};
std::string IconPanelLabel;
uint8_t SelectedIconTab = 0;
int16_t IconPanelPage = 0;
int16_t CurrentMenuGroup = 0;
uint8_t StoreFlagAtDraw = 0;
uint8_t IconPanelRedrawRequest = 0;
uint8_t ParameterMarkerFlag = 0;
uint8_t ReliefGuideActive = 0;
TButtonRect IconPanelBox = {};
int16_t RaisedIconItem = 0;

namespace {

void RemoveCursor() {
  if (CursorShown) EraseMouseCursor();
}

constexpr plat::TColorRef kPanelGrey = plat::Rgb(192, 192, 192);
constexpr plat::TColorRef kPanelOff = plat::Rgb(220, 220, 220);

// The next item a page fills (1..97).
int fillIndex = 7;

std::string Cut(const std::string& text, size_t n) { return text.size() > n ? text.substr(0, n) : text; }

void BlankItem(int i) { SetIconPanelItem(i, 0, IconPanelLabel, ""); }

int RowOf(int i) { return (i - 1) / kIconPanelColumns + 1; }
bool AtRowStart(int i) { return (i - 1) % kIconPanelColumns == 0; }

void MarkRow(int row, uint8_t mark) {
  if (row >= 1 && row <= kIconPanelRows) IconPanelRowMarks[row - 1] = mark;
}

// Blank items up to and including the first item of the next row; the index
// stops on that item. At a row's first item nothing changes, but index 1
// pads to 7. mark (1 or 2) goes to the row the index then stands in.
void FillToNextRow(uint8_t mark) {
  if (fillIndex == 1 || !AtRowStart(fillIndex)) {
    const int target = (RowOf(fillIndex)) * kIconPanelColumns + 1;
    for (int i = fillIndex; i <= target && i <= kIconPanelItems; ++i) BlankItem(i);
    fillIndex = target;
  }
  if (mark != 0) MarkRow(RowOf(fillIndex), mark);
}

// Pages one after the other; between two a new row (with the separator mark
// when marked).
void ReadPages(const int32_t* pages, int count, uint8_t boundaryMark) {
  for (int k = 0; k < count; ++k) {
    ReadIconPanelPage(pages[k]);
    if (k + 1 < count && fillIndex <= kIconPanelItems) FillToNextRow(boundaryMark);
  }
}

void SetPanelPage(int16_t page) {
  IconPanelPage = page;
  if (ViewBarButtons[0].x2 > ViewBarButtons[0].x1) DrawLayerButton(CurrentLayer, 0);
}

// The side menu of menu-bar title k, when it is not the current one.
void ShowSideMenuOfTitle(int k) {
  if (k < 1 || k > kMenuBarTitles) return;
  // A title that opens no page (no menu bar drawn yet) leaves the side menu.
  if (MenuBarTitles[k - 1].code < 9900) return;
  const int16_t menu = int16_t(MenuBarTitles[k - 1].code - 9900);
  if (SideMenuNumber == menu) return;
  LoadSideMenu(menu);
  DrawSideTextList();
  if (ViewBarButtons[0].x2 > ViewBarButtons[0].x1) DrawLayerButton(CurrentLayer, 0);
  if (IconPanelBox.x2 > IconPanelBox.x1) {
    RemoveCursor();
    FillColorRect(IconPanelBox.x1, IconPanelBox.y1, IconPanelBox.x2, IconPanelBox.y2, kPanelGrey);
    DrawIconPanelLabel(IconPanelLabel, false, false);
  }
  IconPanelInFront = 1;
  DrawMenuBarTitles();
  CurrentMenuGroup = menu;
}

void FinishIconGroup() {
  if (ReliefGuideActive) {
    CommandWord = 9998;
    CommandGiven = 1;
  } else {
    EnterMarkMode();
  }
}

void GiveReliefGroup(uint16_t code) {
  CommandWord = code;
  CommandGiven = 1;
  ParameterMarkerFlag = 2;
}

void BlankRest() {
  for (int i = fillIndex; i <= kIconPanelItems; ++i) BlankItem(i);
  fillIndex = kIconPanelItems + 1;
}

struct TTab {
  int16_t code;
  int16_t message;
  const char* picture;
  const char* selected;
};
constexpr TTab kTabs[5] = {{2, 692, "MenDatei1", "_MenDatei1A"},
                           {4, 693, "MenZeichnen3", "_MenZeichnen3A"},
                           {7, 695, "MenWBahn1", "_MenWBahn1A"},
                           {45, 697, "MenRelief", "_MenReliefA"},
                           {48, 696, "MenRelVTR", "_MenRelVTRA"}};

int TabOfGroup(int16_t group) {
  if (group == 0 || group == 2 || group == 3) return 1;
  if (group == 1 || group == 4) return 2;
  if (group == 7 || group == 8) return 3;
  if (group >= 44 && group <= 47) return 4;
  if (group >= 48 && group <= 50) return 5;
  return 0;
}

void FillTabs(int16_t group) {
  const int selected = TabOfGroup(group);
  for (int t = 1; t <= 5; ++t) {
    const TTab& tab = kTabs[t - 1];
    const std::string caption = GetMessageText(tab.message, -19);
    SetIconPanelItem(t, tab.code, caption, t == selected ? tab.selected : tab.picture);
    if (t == selected) {
      IconPanelLabel = Cut(caption, kIconLabelMax);
      SelectedIconTab = uint8_t(t);
    }
  }
  SetIconPanelItem(6, 0, "", "");
  IconPanelLabel = Cut("[" + IconPanelLabel + "]", kIconLabelMax);
}

// The panel sets of some variants; true when the variant has one.
bool FillVariantSet(uint8_t selectTitle) {
  const int16_t v = VariantNumber;
  const bool keepWhileLeaving = (v == 7 || (v >= 15 && v <= 18) || v == 20) && CommandWord >= 9998;
  if (v == 5 || v == 19 || v == 21) {
    IconPanelLabel = Cut("[" + GetProgramTitle() + "]", kIconLabelMax);
  } else if (v == 7 || (v >= 15 && v <= 18) || v == 20) {
    IconPanelLabel = Cut("[" + GetProgramTitle() + "]", kIconLabelMax);
  } else {
    return false;
  }
  if (keepWhileLeaving) return true;
  fillIndex = 1;
  for (int i = 1; i <= 6; ++i) BlankItem(i);
  fillIndex = 7;
  if (v == 5 || v == 19) {
    if (selectTitle == 1) ShowSideMenuOfTitle(1);
    SetPanelPage(3);
    static const int32_t kPages5[] = {2, 5, 6, 7, 10};
    static const int32_t kPages19[] = {1, 2, 3, 4};
    if (v == 5) ReadPages(kPages5, 5, 1);
    else ReadPages(kPages19, 4, 1);
    BlankRest();
    FinishIconGroup();
  } else if (v == 7) {
    SetIconPanelItem(1, 9998, "STL + Programend", "STL3DSystems");
    SetIconPanelItem(2, 9999, "Programend", "ProgEnde");
    SetPanelPage(48);
    static const int32_t kPages7[] = {48, 49, 45, 46, 47, 10};
    ReadPages(kPages7, 6, 1);
    BlankRest();
    GiveReliefGroup(9948);
  } else if (v == 21) {
    BlankRest();
  } else {
    SetPanelPage(45);
    static const int32_t kPages15[] = {45, 43, 10};
    ReadPages(kPages15, 3, 1);
    BlankRest();
    GiveReliefGroup(9948);
  }
  return true;
}

bool PanelHasWidth() { return IconPanelBox.x2 > IconPanelBox.x1 && IconPanelBox.y2 > IconPanelBox.y1; }
bool PanelDrawable() { return VariantNumber != 23 && CurrentMenuStyle() != 1 && PanelHasWidth(); }

void DrawRowLines() {
  for (int r = 1; r <= kIconPanelRows - 1; ++r) {
    const int y = IconPanelBox.y1 + 26 + 32 * (r - 1);
    if (IconPanelRowMarks[r - 1] == 1) {
      DrawEtchedLine(IconPanelBox.x1 + 4, y, IconPanelBox.x2 - 4);
    } else if (IconPanelRowMarks[r - 1] == 2) {
      SetPenColor(7);
      DrawScreenLine(IconPanelBox.x1 + 4, y, IconPanelBox.x2 - 4, y);
    }
  }
  SetRopCopy();
}

void DrawTabPicture() {
  if (SelectedIconTab < 1 || SelectedIconTab > 5) return;
  const std::string picture = "_KReiter" + std::to_string(SelectedIconTab) + "_7";
  DrawResourceBitmap(IconPanelBox.x1 + 2, IconPanelBox.y1 + 28, 166, 30, kRopSrcCopy, picture);
  for (int i = 1; i <= 6; ++i) {
    if (IconPanelItems == nullptr || !IconPanelItems[i - 1].picture.empty()) continue;
    const TButtonRect& b = IconPanelBoxes[i - 1];
    FillColorRect(b.x1 + 2, b.y1 + 4, b.x2 - 4, b.y2 - 3, kPanelGrey);
  }
}

bool StoreEmpty() { return StoreHoldsData == 0; }

// A click on item i (active): the command, the middle-click variants, the
// tab switch.
void ClickIconItem(int i, uint8_t buttons) {
  RemoveCursor();
  DrawIconPanelItem(i, 1, false);
  const int16_t code = IconPanelItems[i - 1].code;
  uint16_t command = uint16_t(std::abs(int(code)));
  if (buttons == 1) {
    switch (command) {
      case 38: command = 39; break;
      case 618: command = 627; break;
      case 3187: command = 3188; break;
      case 8992: command = 8993; break;
      default: break;
    }
  }
  CommandWord = command;
  WaitForMouseRelease();
  DrawIconPanelItem(i, 0, false);
  if (i < 7 && command < 9998) {
    FillIconPanel(int16_t(command), 1);
    if (ReliefGuideActive && command <= 10) CurrentMenuGroup = int16_t(command);
    RemoveCursor();
    FillColorRect(IconPanelBox.x1 + 2, IconPanelBox.y1 + 26, IconPanelBox.x2 - 2, IconPanelBox.y2 - 2, kPanelGrey);
    DrawTabPicture();
    for (int k = 1; k <= kIconPanelItems; ++k) DrawIconPanelItem(k, 0, !IsIconItemActive(k));
    DrawRowLines();
    StoreFlagAtDraw = StoreEmpty() ? 1 : 0;
    RaisedIconItem = 0;
  } else {
    CommandGiven = 1;
  }
}

}  // namespace

bool AllocateIconPanelItems() {
  if (IconPanelItems != nullptr) return false;
  IconPanelItems = new TIconPanelItem[kIconPanelItems];
  return true;
}

void FreeIconPanelItems() {
  delete[] IconPanelItems;
  IconPanelItems = nullptr;
}

void LayOutIconPanel() {
  IconPanelBox = TButtonRect{1, SideMenuIconArea.x1, SideMenuIconArea.y1, SideMenuIconArea.x2, SideMenuIconArea.y2};
  if (!SideMenuIconArea.used) IconPanelBox = TButtonRect{};
  for (int i = 1; i <= kIconPanelItems; ++i) {
    const int r = RowOf(i), c = (i - 1) % kIconPanelColumns + 1;
    const int left = IconPanelBox.x1 + 5 + 26 * (c - 1), top = IconPanelBox.y1 + 29 + 32 * (r - 1);
    IconPanelBoxes[i - 1] = TButtonRect{1, int16_t(left), int16_t(top), int16_t(left + 26), int16_t(top + 26)};
  }
  IconPanelInFront = 0;
  StoreFlagAtDraw = 0;
}

void SetIconPanelItem(int i, int16_t code, const std::string& caption, const std::string& picture) {
  if (i < 1 || i > kIconPanelItems || IconPanelItems == nullptr) return;
  TIconPanelItem& item = IconPanelItems[i - 1];
  item.code = code;
  item.caption = Cut(caption, kIconCaptionMax);
  item.picture = Cut(picture, kCommandNameMax);
}

// Lines in order: kind "0" skipped; "2" and "3" start a new row ("3" marks
// it as a group head); a caption takes the next item with its command's
// picture; one empty line at the start or right after a caption leaves one
// blank item unless the index stands at a row's first column.
void ReadIconPanelPage(int32_t page) {
  bool afterCaption = true;
  for (int k = 1; k <= kMenuPageLines && fillIndex <= kIconPanelItems; ++k) {
    TMenuLine line;
    ReadMenuLine(page, k, line);
    const char kind = MenuLineIconKind(line);
    if (kind == '0') continue;
    if (kind == '2') FillToNextRow(0);
    else if (kind == '3') FillToNextRow(2);
    if (fillIndex > kIconPanelItems) break;
    const std::string caption = MenuLineCaption(line);
    if (!caption.empty()) {
      const int32_t number = DecodeMenuLineNumber(line);
      int16_t code = int16_t(number < -32768 ? -32768 : number > 32767 ? 32767 : number);
      std::string picture;
      LookupCommandName(code, picture);
      SetIconPanelItem(fillIndex, code, caption, picture);
      ++fillIndex;
      afterCaption = true;
    } else {
      if (afterCaption && !AtRowStart(fillIndex)) {
        BlankItem(fillIndex);
        ++fillIndex;
      }
      afterCaption = false;
    }
  }
}

void FillIconPanel(int16_t group, uint8_t selectTitle) {
  if ((MenuBarMode & 4) == 0) return;
  if (IconPanelItems == nullptr) return;
  IconPanelLabel.clear();
  for (uint8_t& mark : IconPanelRowMarks) mark = 0;
  SelectedIconTab = 0;
  if (VariantNumber == 23) return;
  if (FillVariantSet(selectTitle)) return;

  FillTabs(group);
  fillIndex = 7;
  if (group == 0 || group == 2 || group == 3) {
    if (selectTitle == 1) ShowSideMenuOfTitle(1);
    SetPanelPage(3);
    static const int32_t kPages[] = {2, 3, 10};
    ReadPages(kPages, 3, 1);
    BlankRest();
    FinishIconGroup();
  } else if (group == 1 || group == 4) {
    if (selectTitle == 1) ShowSideMenuOfTitle(3);
    SetPanelPage(4);
    static const int32_t kPages[] = {4, 9, 5, 6};
    ReadPages(kPages, 4, 1);
    BlankRest();
    FinishIconGroup();
  } else if (group == 7 || group == 8) {
    if (selectTitle == 1) ShowSideMenuOfTitle(8);
    SetPanelPage(7);
    static const int32_t kPages[] = {7, 8};
    ReadPages(kPages, 2, 1);
    BlankRest();
    FinishIconGroup();
  } else if (group >= 44 && group <= 47) {
    SetPanelPage(44);
    static const int32_t kPages[] = {45, 46, 47};
    ReadPages(kPages, 3, 1);
    BlankRest();
    GiveReliefGroup(9944);
  } else if (group >= 48 && group <= 50) {
    SetPanelPage(48);
    static const int32_t kPages[] = {48, 49, 50};
    ReadPages(kPages, 3, 0);
    BlankRest();
    GiveReliefGroup(9948);
  } else {
    ReadIconPanelPage(2);
    BlankRest();
  }
}

void FillIconPanelForMenu(int16_t n) {
  if (n == -1) return;
  int16_t group = n;
  if (n == 2 || n == 3 || n == 10) group = 2;
  else if (n == 4 || n == 5 || n == 6 || n == 9) group = 4;
  else if (n == 7 || n == 8) group = 7;
  FillIconPanel(group, 0);
}

bool IsIconItemActive(int i) {
  if (i < 1 || i > kIconPanelItems || IconPanelItems == nullptr) return false;
  return IconPanelItems[i - 1].code > 0 || StoreHoldsData != 0;
}

int IconPanelItemAt(int x, int y) {
  for (int i = 1; i <= kIconPanelItems; ++i)
    if (IsPointInButton(IconPanelBoxes[i - 1], x, y)) return i;
  return 0;
}

void DrawIconPanelItem(int i, uint8_t look, bool dimmed) {
  if (i < 1 || i > kIconPanelItems || IconPanelItems == nullptr) return;
  if (i <= 6 && SelectedIconTab >= 1 && SelectedIconTab <= 5) return;
  const TButtonRect& b = IconPanelBoxes[i - 1];
  const TIconPanelItem& item = IconPanelItems[i - 1];
  if (look == 0) {
    FillColorRect(b.x1, b.y1, b.x2, b.y2, kPanelGrey);
  } else {
    DrawCaptionButton("", b, 260, look == 1 ? 1 : 0, 274);
  }
  if (item.picture.empty()) {
    FillColorRect(b.x1 + 1, b.y1 + 1, b.x2 - 1, b.y2 - 1, kPanelGrey);
    return;
  }
  DrawResourceBitmap(b.x1 + 5, b.y1 + 5, 16, 16, dimmed ? kRopNotSrcCopy : kRopSrcCopy, item.picture);
}

void DrawIconPanelLabel(const std::string& text, bool active, bool bright) {
  if (CurrentMenuStyle() == 1 || IconPanelShown == 0 || !PanelHasWidth()) return;
  const int x1 = IconPanelBox.x1 + 4, y1 = IconPanelBox.y1 + 4, x2 = IconPanelBox.x2 - 4, y2 = IconPanelBox.y1 + 24;
  if (active) {
    DrawRaisedEdge(x1, y1, x2, y2);
    DrawTitleGradient(x1 + 1, y1 + 1, x2 - 1, y2 - 1);
  } else {
    DrawBevelFrame(x1, y1, x2, y2);
    FillColorRect(x1 + 1, y1 + 1, x2 - 1, y2 - 1, kPanelGrey);
  }
  SetPenColor(bright ? 261 : 260);
  const int w = MeasureTextWidth(text);
  DrawScreenText((IconPanelBox.x1 + IconPanelBox.x2) / 2 - w / 2, IconPanelBox.y1 + 12 - 4, text);
  SetRopCopy();
}

void DrawIconPanel() {
  if (!PanelDrawable()) return;
  if (IconPanelShown == 0) {
    FillColorRect(IconPanelBox.x1, IconPanelBox.y1, IconPanelBox.x2, IconPanelBox.y2, kPanelOff);
    StoreFlagAtDraw = 0;
    return;
  }
  RemoveCursor();
  IconPanelInFront = 1;
  FillColorRect(IconPanelBox.x1, IconPanelBox.y1, IconPanelBox.x2, IconPanelBox.y2, kPanelGrey);
  DrawIconPanelLabel(IconPanelLabel, false, false);
  EnsureMenuTables();
  DrawTabPicture();
  int lastTop = IconPanelBox.y1;
  for (int i = 1; i <= kIconPanelItems; ++i) {
    DrawIconPanelItem(i, 0, !IsIconItemActive(i));
    if (IconPanelItems != nullptr && IconPanelItems[i - 1].code > 0) lastTop = IconPanelBoxes[i - 1].y1;
  }
  // The maker's logo in the free room below the last item.
  DrawMakerLogo(IconPanelBox.x1, lastTop + 16, IconPanelBox.x2, 3.0f, IconPanelBox.y2);
  DrawRowLines();
  StoreFlagAtDraw = StoreEmpty() ? 1 : 0;
}

void RefreshSelectionItems() {
  const uint8_t style = CurrentMenuStyle();
  if ((style != 2 && style != 3) || IconPanelShown == 0 || IconPanelInFront == 0 || !PanelHasWidth()) return;
  RemoveCursor();
  EnsureMenuTables();
  DrawTabPicture();
  for (int i = 1; i <= kIconPanelItems; ++i)
    if (IconPanelItems[i - 1].code < 0) DrawIconPanelItem(i, 0, !IsIconItemActive(i));
  DrawRowLines();
  StoreFlagAtDraw = StoreEmpty() ? 1 : 0;
}

void EndIconPanelHighlight() {
  if (RaisedIconItem > 0 && IsIconItemActive(RaisedIconItem)) DrawIconPanelItem(RaisedIconItem, 0, false);
  if (RaisedIconItem > 0) DrawIconPanelLabel(IconPanelLabel, false, false);
  RaisedIconItem = 0;
}

void TrackIconPanel() {
  const int item = IconPanelItemAt(MouseX, MouseY);
  if (item == 0) {
    CloseHint();
    EndIconPanelHighlight();
    return;
  }
  EnsureMenuTables();
  const int16_t code = IconPanelItems[item - 1].code;
  if (item <= 6) ShowDelayedHint(kHintIconPanel, int16_t(code == 0 ? 0 : code + 9900));
  else ShowDelayedHint(kHintIconPanel, int16_t(code < 0 ? -code : code));
  const uint8_t buttons = WaitButtonState();
  const bool active = IsIconItemActive(item);
  if (buttons != 0) {
    if (active) ClickIconItem(item, buttons);
    return;
  }
  if (item == RaisedIconItem) return;
  if (active) DrawIconPanelItem(item, 2, false);
  if (RaisedIconItem > 0 && IsIconItemActive(RaisedIconItem)) DrawIconPanelItem(RaisedIconItem, 0, false);
  DrawIconPanelLabel(IconPanelItems[item - 1].caption, true, active);
  RaisedIconItem = int16_t(item);
}

int16_t SideTextListBottom() { return int16_t(SidePanelY1() + 17 * (LastSideItem + 2) + 2); }

namespace {
bool MouseInPanel() { return IsPointInButton(IconPanelBox, MouseX, MouseY); }
bool MouseInList(int16_t listBottom) {
  return MouseX >= SidePanelX1() && MouseX <= SidePanelX2() && MouseY >= SidePanelY1() + 17 &&
         MouseY <= listBottom && LastSideItem >= 0;
}
// The click rule of the side text list: a command on a left or middle
// click, then the buttons are released.
void ClickSideList() {
  TrackSideTextList(MouseX, MouseY);
  const uint8_t buttons = WaitButtonState();
  if (buttons != 2 && buttons != 1) return;
  const int item = SideItemAt(MouseY);
  const uint16_t code = SideItemClickCode(item, buttons);
  if (code == 0) return;
  CommandWord = code;
  CommandGiven = 1;
  WaitForMouseRelease();
}
}  // namespace

bool HandleSideMenuArea(int16_t& listBottom, bool& overlap) {
  const uint8_t style = CurrentMenuStyle();
  if (style == 1 || style < 1 || style > 3) IconPanelInFront = 0;
  if (IconPanelInFront) {
    if (MouseInPanel() && IconPanelShown) {
      TrackIconPanel();
      return true;
    }
    CloseHint();
    EndIconPanelHighlight();
    if (!MouseInList(listBottom)) return false;
    if (style == 2) return false;
    IconPanelInFront = 0;
    DrawIconPanelLabel(IconPanelLabel, false, false);
    if (overlap) DrawSideTextList();
    ClickSideList();
    return true;
  }
  EndIconPanelHighlight();
  listBottom = SideTextListBottom();
  overlap = listBottom >= IconPanelBox.y1;
  if (MouseInList(listBottom)) {
    if (style == 2 && IconPanelShown) return false;
    ClickSideList();
    return true;
  }
  CloseHint();
  if (MouseInPanel() && IconPanelShown && style != 1 && PanelHasWidth()) {
    IconPanelInFront = 1;
    if (overlap || IconPanelRedrawRequest) DrawIconPanel();
    else if (StoreFlagAtDraw == (StoreHoldsData ? 1 : 0)) RefreshSelectionItems();
    IconPanelRedrawRequest = 0;
    DrawIconPanelLabel(IconPanelLabel, false, false);
    TrackIconPanel();
    return true;
  }
  return false;
}
