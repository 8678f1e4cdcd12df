#include "ui/popup_list.h"

#include <algorithm>
#include <cassert>

#include "ui/buttons_controls.h"
#include "frame/main_window.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "platform/files.h"
#include "ui/panels.h"
#include "ui/pictures.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"

void InitPopupList(TPopupList& list) {
  list.x = 0;
  list.y = 0;
  list.title.clear();
  for (int i = 0; i < kPopupEntries; ++i) {
    list.captions[i].clear();
    list.names[i].clear();
    list.states[i] = 1;
  }
  list.result = -1;
  list.leaveOnPagingKeys = 0;
  list.dragFlags = 1;
  list.panelStyle = 8;
  list.pictureName.clear();
  list.pictureWidth = 0;
  list.pictureHeight = 0;
  list.helpLines = nullptr;
}

void ShowPopupMenu(TPopupList& list) { RunPopupMenu(list, 21, 0, 2); }

void SetPopupItemStates(TPopupList& list, uint8_t state) {
  for (uint8_t& s : list.states) s = state;
}

void SetPopupEntries(TPopupList& list, std::span<const TPopupEntry> entries) {
  assert(entries.size() <= size_t(kPopupEntries));
  for (size_t i = 0; i < entries.size(); ++i) {
    list.captions[i] = GetMessageText(entries[i].caption, -39);
    list.names[i] = entries[i].key;
  }
}

// --- colours ------------------------------------------------------------------------------

int16_t PopupTextColorCode(uint8_t state, uint16_t panelStyle) {
  switch (state & 0x0F) {
    case 0: return panelStyle == 5 ? 509 : 260;
    case 1: return 274;
    case 2: return 1;
    case 3: return 7;
    case 4: return 12;
    case 5: return 13;
    case 6: return 3;
    case 7: return 8;
    default: return 260;
  }
}

int16_t PopupBackgroundCode(uint8_t state, uint16_t panelStyle) {
  switch (state & 0xF0) {
    case 0x00:
    case 0x10: return panelStyle == 5 ? 509 : 260;
    case 0x20: return 27;
    case 0x30: return 28;
    case 0x40: return 3;
    case 0x50: return 12;
    case 0x60: return 999;
    case 0x70: return 512;
    case 0x80: return 128;
    default: return 260;
  }
}

namespace {

plat::TColorRef BackgroundRgb(int16_t code) {
  switch (code) {
    case 128: return plat::Rgb(235, 235, 235);
    case 260: return plat::Rgb(192, 192, 192);
    case 512: return plat::Rgb(220, 230, 238);
    case 999: return plat::Rgb(230, 208, 97);
    default: return GetColorRef(code);
  }
}

int MeasureIn(int font, const std::string& text) {
  return font == 4 ? MeasureMenuTextWidth(text) : MeasureTextWidth(text);
}

// The caption's cell centred on the row middle, so it sits beside the icon
// and stays inside its row.
void DrawIn(int font, int x, int middleY, const std::string& text) {
  DrawTextCentredOnRow(font == 4 ? MenuFont : ButtonFont, x, middleY, text);
}

bool HasPicture(const TPopupList& list) {
  return !list.pictureName.empty() && list.pictureWidth > 0 && list.pictureHeight > 0;
}

// Everything one run keeps.
struct TRun {
  TPopupList* list = nullptr;
  TPopupLayout layout;
  TPopupFrame frame{};
  TBox boxes[kPopupEntries + 1]{};
  int rowHeight = 21;
  int font = 2;
  int highlighted = -1;
  int firstBox = 0;
};

std::string UpperExtension(const std::string& name) {
  std::string ext = name.size() >= 4 ? name.substr(name.size() - 4) : name;
  for (char& c : ext) c = char(std::toupper(static_cast<unsigned char>(c)));
  return ext;
}

void PlaceBoxes(TRun& run) {
  const TPopupLayout& l = run.layout;
  const bool titled = !run.list->title.empty();
  run.boxes[0] = titled ? TBox{1, int16_t(l.right - 26), int16_t(l.top + 4), int16_t(l.right - 3), int16_t(l.top + 26)}
                        : TBox{0, 0, 0, 0, 0};
  const int x2 = l.right - 5;
  const int x1 = x2 - (l.columns + 1) * 8;
  for (int i = 1; i <= l.count; ++i) {
    const int y1 = l.top + 4 + (titled ? 24 : 0) + (i - 1) * run.rowHeight;
    run.boxes[i] = TBox{1, int16_t(x1), int16_t(y1), int16_t(x2), int16_t(y1 + run.rowHeight)};
  }
  run.firstBox = titled ? 0 : 1;
}

void DrawEntry(const TRun& run, int i) {
  const TPopupList& list = *run.list;
  const TBox& b = run.boxes[i];
  const uint8_t state = list.states[i - 1];
  FillColorRect(b.x1 + 1, b.y1 + 1, b.x2 - 1, b.y2, BackgroundRgb(PopupBackgroundCode(state, list.panelStyle)));
  const int m = (b.y1 + b.y2) / 2;
  if (!list.names[i - 1].empty()) DrawResourceBitmap(b.x1 + 6, m - 8, 16, 16, kRopSrcCopy, list.names[i - 1]);
  SetPenColor(PopupTextColorCode(state, list.panelStyle));
  std::string caption = list.captions[i - 1];
  if (caption == "\x01") {
    SetPenColor(274);
    DrawScreenLine(b.x1 + 4, m, b.x2 - 4, m);
    return;
  }
  bool split = true;
  if (!caption.empty() && uint8_t(caption[0]) == 136) {
    caption.erase(0, 1);
    split = false;
  }
  const int tx = b.x1 + run.layout.indent + 6;
  const size_t colon = split ? caption.find(':') : std::string::npos;
  if (colon == std::string::npos) {
    DrawIn(run.font, tx, m, caption);
  } else {
    const std::string label = caption.substr(0, colon + 1);
    const std::string value = caption.substr(colon + 1);
    DrawIn(run.font, tx, m, label);
    DrawIn(run.font, run.layout.right - 10 - MeasureIn(run.font, value), m, value);
  }
}

void DrawPanel(TRun& run) {
  TPopupList& list = *run.list;
  const TPopupLayout& l = run.layout;
  DrawDialogPanel(l.left, l.top, l.right, list.panelStyle, list.title, l.bottom);
  const int h = list.title.empty() ? 8 : 32;
  if (HasPicture(list) || list.helpLines != nullptr)
    DrawEtchedVerticalLine(l.left + l.sideWidth - 2, l.top + h - 4, l.bottom - 4);
  if (HasPicture(list)) {
    const std::string ext = UpperExtension(list.pictureName);
    const int px = l.left + 6, py = l.top + h - 2;
    if (ext == ".JPG" || ext == ".GIF") {
      const uint8_t keep = RedrawState;
      const TBox box{1, int16_t(px), int16_t(py), int16_t(px + list.pictureWidth), int16_t(py + list.pictureHeight)};
      DrawPictureFileInFrame(list.pictureName, box, 0);
      RedrawState = keep;
    } else if (ext == ".BMP" || ext == ".HPX") {
      DrawBmp8File(list.pictureName, 0, px, list.pictureHeight, list.pictureWidth, py, 1.0f);
    } else {
      DrawResourceBitmap(px, py, list.pictureWidth, list.pictureHeight, kRopSrcCopy, list.pictureName);
    }
  }
  if (list.helpLines != nullptr) {
    SetPenColor(274);
    for (int i = 0; i < kPopupHelpLines; ++i)
      if (!list.helpLines[i].empty())
        DrawTextInSetFont(l.left + 12, l.top + h + 2 + list.pictureHeight + 16 * i + 12,
                          list.helpLines[i].substr(0, kPopupHelpLineMax));
  }
  if (!list.title.empty()) {
    DrawCaptionButton("", run.boxes[0], 260, 0, 274);
    DrawResourceBitmap(l.right - 23, l.top + 6, 16, 16, kRopSrcCopy, "Abbruch");
  }
  for (int i = 1; i <= l.count; ++i) DrawEntry(run, i);
  RedrawState = 0;
}

void SetHighlight(TRun& run, int entry) {
  if (entry == run.highlighted) return;
  if (run.highlighted >= 1) {
    const TBox& b = run.boxes[run.highlighted];
    SetPenRgb(BackgroundRgb(PopupBackgroundCode(run.list->states[run.highlighted - 1], run.list->panelStyle)));
    DrawFrameRect(b.x1, b.y1, b.x2, b.y2);
    DrawEntry(run, run.highlighted);
  }
  run.highlighted = entry;
  if (entry >= 1) {
    const TBox& b = run.boxes[entry];
    SetPenColor(274);
    MoveToScreenPoint(b.x1, b.y2);
    LineToScreenPoint(b.x2, b.y2);
    LineToScreenPoint(b.x2, b.y1 - 1);
    SetPenColor(261);
    MoveToScreenPoint(b.x2 - 2, b.y1);
    LineToScreenPoint(b.x1, b.y1);
    LineToScreenPoint(b.x1, b.y2 - 1);
  }
}

int EntryUnderMouse(const TRun& run) {
  for (int i = 1; i <= run.layout.count; ++i) {
    const TBox& b = run.boxes[i];
    if (MouseX >= b.x1 && MouseX <= b.x2 && MouseY >= b.y1 && MouseY <= b.y2) return i;
  }
  return -1;
}

// A repaint rebuilds the whole screen (over the panel) and leaves the
// redraw state non-zero; drawing the panel clears it.

}  // namespace

TPopupLayout LayOutPopupList(TPopupList& list, int rowHeight, int font) {
  TPopupLayout l;
  const int rightLimit = MaxX - 1;
  if (HasPicture(list)) {
    l.sideWidth = list.pictureWidth + 4;
    l.sideHeight = list.pictureHeight + 4;
  }
  l.sideHeight += 8;
  if (list.helpLines != nullptr) {
    for (int i = 0; i < kPopupHelpLines; ++i) {
      if (list.helpLines[i].empty()) continue;
      l.sideHeight += 16;
      l.sideWidth = std::max(l.sideWidth, MeasureTextWidth(list.helpLines[i].substr(0, kPopupHelpLineMax)) + 12);
    }
  }
  if (l.sideWidth > 0) l.sideWidth += 8;

  l.count = 1;
  for (int i = kPopupEntries; i >= 1; --i) {
    if (!list.captions[i - 1].empty()) {
      l.count = i;
      break;
    }
  }
  for (int i = 0; i < l.count; ++i) {
    list.captions[i] = list.captions[i].substr(0, kPopupCaptionMax);
    TrimTrailingBlanks(list.captions[i]);
  }
  bool icons = false;
  for (const std::string& name : list.names) icons = icons || !name.empty();
  l.indent = icons ? 24 : 0;
  int w = list.title.empty() ? 0 : MeasureIn(font, list.title) + 24;
  for (const std::string& caption : list.captions) {
    if (caption.empty()) continue;
    std::string shown = uint8_t(caption[0]) == 136 ? caption.substr(1) : caption;
    w = std::max(w, MeasureIn(font, shown) + (icons ? 22 : 0));
  }
  l.columns = w / 8 + 1 + (w % 8 != 0 ? 1 : 0);

  if (list.x < 0) list.x = 0;
  const int minY = list.x + 10 < MaxX - 168 ? 16 : 66;
  if (list.y < minY) list.y = int16_t(minY);
  int right = list.x + (l.columns + 2) * 8 + l.sideWidth;
  int bottom = list.y + std::max(l.count * rowHeight + 8, l.sideHeight) + (list.title.empty() ? 0 : 24);
  const int shiftX = right > rightLimit ? right - rightLimit : 0;
  const int shiftY = bottom > MaxY ? bottom - MaxY : 0;
  l.left = int16_t(list.x - shiftX);
  l.right = int16_t(right - shiftX);
  l.top = int16_t(list.y - shiftY);
  l.bottom = int16_t(bottom - shiftY);
  return l;
}

void RunPopupMenu(TPopupList& list, int rowHeight, int mode, int font) {
  TRun run;
  run.list = &list;
  run.rowHeight = rowHeight > 0 ? rowHeight : 21;
  run.font = font;
  run.layout = LayOutPopupList(list, run.rowHeight, font);
  run.frame.left = run.layout.left;
  run.frame.right = run.layout.right;
  run.frame.top = run.layout.top;
  run.frame.bottom = run.layout.bottom;
  run.frame.lines = int16_t((run.layout.bottom - run.layout.top) / 16 + 1);
  // The cursor goes before the screen is saved: saved with it, it would come
  // back as a remnant when the panel closes.
  if (CursorShown) EraseMouseCursor();
  {
    uint32_t handle = 0;
    SaveScreenBlock(run.frame.left, run.frame.right, run.frame.top, handle, run.frame.lines);
    run.frame.saved = handle;
  }
  PlaceBoxes(run);

  const uint8_t savedCursorMode = CursorMode;
  CursorMode = 132;
  DrawPanel(run);
  WaitForMouseRelease();
  list.result = 0;

  for (;;) {
    ButtonResult = 0;
    PollMouseCursor();
    const uint8_t key = ExtendedKeyFlag ? CursorKeyCode : 0;
    const uint8_t buttons = CloseRequested ? 4 : (ButtonResult != 0 ? ButtonResult : MouseButtonState);
    bool done = false;
    if (buttons == 2 || buttons == 1) {
      int hit = -1;
      for (int i = run.firstBox; i <= run.layout.count && hit < 0; ++i) {
        const TBox& b = run.boxes[i];
        if (b.flag && MouseX >= b.x1 && MouseX <= b.x2 && MouseY >= b.y1 && MouseY <= b.y2) hit = i;
      }
      if (hit >= 0) {
        list.result = int16_t(hit);
        done = true;
      } else if (buttons == 2 && (list.dragFlags & 1) && mode != 1) {
        SetHighlight(run, -1);
        DragPopupFrame(run.frame);
        if (run.frame.left != run.layout.left || run.frame.top != run.layout.top) {
          const int dx = run.frame.left - run.layout.left, dy = run.frame.top - run.layout.top;
          run.layout.left = run.frame.left;
          run.layout.right = int16_t(run.layout.right + dx);
          run.layout.top = run.frame.top;
          run.layout.bottom = int16_t(run.layout.bottom + dy);
          PlaceBoxes(run);
          list.x = run.layout.left;
          list.y = run.layout.top;
        }
      }
    } else if (buttons == 4) {
      list.result = 0;
      done = true;
    } else {
      SetHighlight(run, EntryUnderMouse(run));
    }
    if (list.leaveOnPagingKeys &&
        (key == 71 || key == 72 || key == 73 || key == 79 || key == 80 || key == 81)) {
      list.result = kPopupPaged;
      done = true;
    }
    if (RedrawRequested()) {
      if (mode == -1) {
        list.result = kPopupRedraw;
        done = true;
      } else {
        DrawPanel(run);
        done = false;
      }
    }
    if (mode == 1 && buttons == 2) done = true;
    if (done) break;
    WaitForWindowMessage();
  }

  if (CursorShown) EraseMouseCursor();
  CursorMode = savedCursorMode;
  ClosePopupFrame(run.frame);
  if (mode != 1) WaitForMouseRelease();
}

// --- named pictures -----------------------------------------------------------------------------

void DrawTablePicture(const std::string& table, const std::string& name, int x, int y, int width, int height) {
  const size_t dot = name.rfind('.');
  const std::string work = "_BildDat" + (dot == std::string::npos ? std::string() : name.substr(dot));
  const std::string workPath = plat::ProgramFolder() + work;
  if (ExtractTablePicture(table, name, workPath) && plat::FileExists(workPath)) {
    DrawPictureFileInFrame(workPath, TBox{1, int16_t(x), int16_t(y), int16_t(x + width), int16_t(y + height)}, 0);
  }
  plat::DeleteFileByName(workPath);
}

void DrawNamedPicture(const std::string& name, int x, int y, int width, int height, int transparent) {
  const std::string last4 = name.size() >= 4 ? name.substr(name.size() - 4) : "";
  if (last4 == ".hpx" || last4 == ".BMP") {
    DrawBmp8File(name, transparent, x, height, width, y, 1.0f);
  } else if (last4 == ".GIF" || last4 == ".JPG") {
    DrawTablePicture(plat::ProgramFolder() + kPictureTableName, name, x, y, width, height);
  } else {
    DrawResourceBitmap(x, y, width, height, kRopSrcCopy, name);
  }
}

// --- the frame's choice popups ----------------------------------------------------------------------

int RunChoicePopup(int x, int y, const std::string (&titles)[3], const std::vector<TChoiceLine>& lines) {
  TPopupList list;
  InitPopupList(list);
  list.x = int16_t(x);
  list.y = int16_t(y);
  list.title = titles[0];
  std::string help[kPopupHelpLines];
  bool anyHelp = false;
  for (int i = 1; i < 3; ++i) {
    help[i - 1] = titles[i];
    anyHelp = anyHelp || !titles[i].empty();
  }
  if (anyHelp) list.helpLines = help;
  const int n = std::min<int>(int(lines.size()), kPopupEntries);
  for (int i = 0; i < n; ++i) {
    list.captions[i] = lines[size_t(i)].caption;
    list.names[i] = lines[size_t(i)].picture.substr(0, kPopupIconNameMax);
  }
  ShowPopupMenu(list);
  return list.result > 0 && list.result <= n ? list.result : 0;
}
