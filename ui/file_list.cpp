// The file list with thumbnails.
#include "ui/file_list.h"

#include <algorithm>
#include <cstring>

#include "ui/prompt_line.h"
#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "model/drawing_file.h"
#include "platform/files.h"
#include "ui/common_dialogs.h"
#include "ui/file_previews.h"
#include "ui/popup_list.h"
#include "view/character_cells.h"

namespace {

constexpr int kFrameRight = 772;
constexpr int kTileWidth = 180;
constexpr int kTileHeight = 124;
constexpr int kScrollX1 = 756;
constexpr int kScrollX2 = 771;

std::string UpperCopy(std::string s) {
  UpperCaseString(s);
  return s;
}

void DrawButtonFace(const TBox& b, bool pressed) {
  FillColorRect(b.x1, b.y1, b.x2, b.y2, GetColorRef(260));
  if (pressed) DrawBevelFrame(b.x1, b.y1, b.x2, b.y2); else DrawRaisedEdge(b.x1, b.y1, b.x2, b.y2);
}

void DrawTextButton(const TBox& b, const std::string& picture, const std::string& caption, bool pressed) {
  DrawButtonFace(b, pressed);
  DrawResourceBitmap(b.x1 + 6, b.y1 + 6, 16, 16, kRopSrcCopy, picture);
  SetPenColor(274);
  DrawScreenText(b.x1 + 30, b.y1 + 9, caption);
}

// The arrow of a scroll button: up (dir -1) or down (1), doubled for a page.
void DrawScrollButton(const TBox& b, int dir, bool page) {
  DrawButtonFace(b, false);
  SetPenColor(274);
  SetFillBrush(0, 274);
  const int cx = (b.x1 + b.x2) / 2;
  for (int k = 0; k < (page ? 2 : 1); ++k) {
    const int y = (b.y1 + b.y2) / 2 + (page ? (k == 0 ? -3 : 3) : 0);
    const plat::TPoint tri[3] = {{cx - 4, y - 2 * dir}, {cx + 4, y - 2 * dir}, {cx, y + 2 * dir}};
    DrawPolygon(3, tri);
  }
}

void DrawLabel(const TFileListState& state, int tile, int colour) {
  const int entry = state.top + tile - 1;
  if (entry < 1 || entry > int(state.entries.size())) return;
  const TBox t = FileListTileBox(tile);
  FillColorRect(t.x1, t.y2 + 2, t.x2, t.y2 + 13, GetColorRef(260));
  SetPenColor(colour);
  DrawTextSized(t.x1, t.y2 + 4 + 9, FileListLabel(state.entries[size_t(entry - 1)]), 12, 4);
}

void DrawThumbnail(const std::string& path, const std::string& name, const TBox& box) {
  std::string ext;
  GetFileNamePart(name, 'E', ext);
  UpperCaseString(ext);
  ext = ext.substr(0, 4);
  FillColorRect(box.x1 + 1, box.y1 + 1, box.x2 - 1, box.y2 - 1, GetColorRef(15));
  if (ext == ".H2R" || ext == ".LG1" || ext == ".PLI") DrawVectorFileThumbnail(path, box);
  else if (ext == ".SLD") DrawDrawingThumbnail(path, box);
  else if (ext == ".PRO") DrawProjectPreview(path, box);
  else if (ext == ".HRL") DrawReliefThumbnail(path, box);
  else if (ext == ".HRP") DrawPackedReliefThumbnail(path, box);
  else if (ext == ".HRS") DrawFloatReliefThumbnail(path, box);
  else if (ext == ".RLF") DrawRlfThumbnail(path, box);
  else if (ext == ".PCX") DrawPcxThumbnail(path, box);
  else if (ext == ".BMP") DrawPictureThumbnail(path, 0, box);
  else if (ext == ".GIF") DrawPictureThumbnail(path, 1, box);
  else if (ext == ".JPG") DrawPictureThumbnail(path, 2, box);
  else if (ext == ".STL") DrawStlThumbnail(path, box);
  else if (ext == ".SOR") DrawSorThumbnail(path, box);
}

void DrawEmptyTiles() {
  for (int tile = 1; tile <= kFileListTiles; ++tile) {
    const TBox t = FileListTileBox(tile);
    FillColorRect(t.x1, t.y1, t.x2, t.y2 + 13, GetColorRef(260));
    DrawBevelFrame(t.x1, t.y1, t.x2, t.y2);
  }
}

void DrawFileListThumbnails(const TFileListState& state) {
  DrawEmptyTiles();
  const int n = int(state.entries.size());
  for (int tile = 1; tile <= kFileListTiles; ++tile) {
    const int entry = state.top + tile - 1;
    if (entry < 1 || entry > n) break;
    const std::string& name = state.entries[size_t(entry - 1)];
    DrawThumbnail(state.folder + name, name, FileListTileBox(tile));
    DrawLabel(state, tile, 1);
  }
}

void RedrawFileList(TFileListState& state) {
  ShowPromptLine(0, "", 260, 274);
  DrawFileListThumbnails(state);
  state.selected = 0;
}

// The first note line of a drawing (the text job head), empty when none.
std::string DrawingNoteLine(const std::string& path) {
  if (GetFileByteSize(path) <= kDrawingHeadSize - 1) return std::string();
  uint8_t head[kDrawingHeadSize];
  if (!ReadFileBytes(path, head, kDrawingHeadSize)) return std::string();
  const uint8_t n = head[kHeadNote];
  if (n > 50) return std::string();
  return std::string(reinterpret_cast<const char*>(head + kHeadNote + 1), n);
}

void SelectEntry(TFileListState& state, int entry) {
  if (entry == state.selected) return;
  if (state.selected != 0) {
    for (int tile = 1; tile <= kFileListTiles; ++tile) DrawLabel(state, tile, 1);
  }
  ShowPromptLine(0, "", 260, 274);
  state.selected = entry;
  const int tile = entry - state.top + 1;
  if (tile >= 1 && tile <= kFileListTiles) DrawLabel(state, tile, 12);
  const std::string& name = state.entries[size_t(entry - 1)];
  std::string ext;
  GetFileNamePart(name, 'E', ext);
  UpperCaseString(ext);
  if (ext == ".SLD") {
    const std::string note = DrawingNoteLine(state.folder + name);
    if (!note.empty()) DrawCellButton(1, 2, note, false, 274, 261);
  }
}

void RunFileListMenu(TFileListState& state) {
  TPopupList list;
  InitPopupList(list);
  list.x = MouseX;
  list.y = int16_t(MouseY - 32);
  list.title = "Bibliothek";
  list.captions[0] = "OK";
  list.captions[1] = "Abbruch";
  list.names[0] = "OK";
  list.names[1] = "Abbruch";
  // Without a selection OK is shown greyed and counts as cancel.
  if (state.selected == 0) list.states[0] = 0x00;
  list.result = 1;
  ShowPopupMenu(list);
  state.result = (list.result == 1 && state.selected != 0) ? kFileListOk : kFileListCancelled;
}

bool InBox(const TBox& b, int x, int y) { return x >= b.x1 && x <= b.x2 && y >= b.y1 && y <= b.y2; }

void RunFileListDialog(TFileListState& state) {
  plat::TSearchRec probe;
  const bool any = FindFirstEntry(state.folder + "*.*", 31, probe) == 0;
  FindCloseEntry(probe);
  if (!any) return;
  const int top = FileListTop();
  if (MaxX + 1 < kFrameRight || MaxY + 1 < top + 501) {
    ShowTitledMessage(GetMessageText(3722, -39) + "\r\n" + GetMessageText(3723, -39));
    return;
  }
  const uint8_t savedView = ViewKind;
  ViewKind = 6;
  PollMouseButtons();
  ShowPromptLine(0, "", 260, 274);
  state.result = kFileListRunning;
  state.selected = 0;

  TPopupFrame frame{};
  frame.left = 1;
  frame.right = kFrameRight;
  frame.top = int16_t(top + 1);
  frame.bottom = int16_t(top + 501);
  frame.lines = int16_t(LinesForHeight(500));
  OpenPopupFrame(frame);
  DrawGreyDialogPanel(1, top + 1, kFrameRight, GetMessageText(2044, -20) + " [" + state.folder + "] " + state.pattern,
                      top + 501);
  FillColorRect(kScrollX1, top + 33, kScrollX2, top + 449, GetColorRef(510));
  DrawScrollButton(FileListButtonBox(1), -1, false);
  DrawScrollButton(FileListButtonBox(2), -1, true);
  DrawScrollButton(FileListButtonBox(3), 1, true);
  DrawScrollButton(FileListButtonBox(4), 1, false);
  DrawTextButton(FileListButtonBox(5), "OK", "OK", false);
  DrawTextButton(FileListButtonBox(6), "Esc", "Abbruch", false);
  state.top = 1;
  DrawFileListThumbnails(state);

  while (state.result == kFileListRunning) {
    if (CloseRequested) {
      state.result = kFileListCancelled;
      break;
    }
    if (WheelDelta != 0) {
      HandleFileListButton(state, WheelDelta > 0 ? 2 : 3);
      WheelDelta = 0;
    }
    int16_t x = 0, y = 0;
    PollMousePosition(x, y);
    const uint8_t buttons = MouseButtonState;
    if (buttons == 2) {
      bool hit = false;
      for (int b = 1; b <= 6 && !hit; ++b) {
        if (InBox(FileListButtonBox(b), x, y)) {
          HandleFileListButton(state, b);
          hit = true;
        }
      }
      for (int tile = 1; tile <= kFileListTiles && !hit; ++tile) {
        const int entry = state.top + tile - 1;
        TBox t = FileListTileBox(tile);
        t.y2 = int16_t(t.y2 + 12);
        if (entry <= int(state.entries.size()) && InBox(t, x, y)) {
          SelectEntry(state, entry);
          hit = true;
        }
      }
      if (!hit) WaitForWindowMessage();
    } else if (buttons == 4) {
      RunFileListMenu(state);
    } else {
      WaitForWindowMessage();
    }
  }

  ClosePopupFrame(frame);
  ViewKind = savedView;
  WaitForMouseRelease();
}

}  // namespace

// --- geometry -------------------------------------------------------------------------------

int FileListTop() { return DrawingArea.used ? DrawingArea.y1 : 51; }

TBox FileListTileBox(int tile) {
  const int r = (tile - 1) / 4, c = (tile - 1) % 4;
  const int left = 9 + c * 184, top = FileListTop() + 33 + r * 144;
  return TBox{1, int16_t(left), int16_t(top), int16_t(left + kTileWidth), int16_t(top + kTileHeight)};
}

TBox FileListButtonBox(int button) {
  const int t = FileListTop();
  switch (button) {
    case 1: return TBox{1, kScrollX1, int16_t(t + 33), kScrollX2, int16_t(t + 53)};
    case 2: return TBox{1, kScrollX1, int16_t(t + 55), kScrollX2, int16_t(t + 75)};
    case 3: return TBox{1, kScrollX1, int16_t(t + 407), kScrollX2, int16_t(t + 427)};
    case 4: return TBox{1, kScrollX1, int16_t(t + 429), kScrollX2, int16_t(t + 449)};
    case 5: return TBox{1, 548, int16_t(t + 465), 640, int16_t(t + 493)};
    case 6: return TBox{1, 648, int16_t(t + 465), 740, int16_t(t + 493)};
    default: return TBox{0, 0, 0, 0, 0};
  }
}

std::string FileListLabel(const std::string& name) {
  std::string label = name.substr(0, 35);
  while (!label.empty() && MeasureTextWidthSized(label, 4, 12) > kTileWidth) label.pop_back();
  return label;
}

void HandleFileListButton(TFileListState& state, int button) {
  const int n = int(state.entries.size());
  const int old = state.top;
  switch (button) {
    case 1: state.top = std::max(1, state.top - 4); break;
    case 2: state.top = std::max(1, state.top - 12); break;
    case 3: state.top = std::max(1, std::min(state.top + 12, n - 7)); break;
    case 4: state.top = std::max(1, std::min(state.top + 4, n - 3)); break;
    case 5:
    case 6: {
      const TBox b = FileListButtonBox(button);
      DrawTextButton(b, button == 5 ? "OK" : "Esc", button == 5 ? "OK" : "Abbruch", true);
      if (button == 5 && state.selected != 0) state.result = kFileListOk;
      if (button == 6) state.result = kFileListCancelled;
      WaitForMouseRelease();
      DrawTextButton(b, button == 5 ? "OK" : "Esc", button == 5 ? "OK" : "Abbruch", false);
      return;
    }
    default: return;
  }
  // Paging down never moves the view back up.
  if (button >= 3 && state.top < old) state.top = old;
  if (state.top != old) RedrawFileList(state);
}

// --- the list ----------------------------------------------------------------------------------

int ParseExtensionPattern(const std::string& pattern, std::string (&extensions)[kFileListExtensions]) {
  for (std::string& e : extensions) e.clear();
  const std::string upper = UpperCopy(pattern);
  int n = 0;
  bool inExtension = false;
  for (char c : upper) {
    if (c == '.') {
      if (n >= kFileListExtensions) break;
      extensions[n++] = ".";
      inExtension = true;
    } else if (c == ';' || c == '*') {
      inExtension = false;
    } else if (inExtension) {
      extensions[n - 1] += c;
    }
  }
  return n;
}

void SortFileList(std::vector<std::string>& entries) {
  std::vector<std::string> keys;
  keys.reserve(entries.size());
  for (const std::string& e : entries) keys.push_back(UpperCopy(e));
  for (size_t i = 0; i + 1 < entries.size(); ++i) {
    size_t smallest = i;
    for (size_t j = i + 1; j < entries.size(); ++j)
      if (keys[j] < keys[smallest]) smallest = j;
    if (smallest != i) {
      // Moving the smallest to the front keeps equal names in their order.
      std::rotate(entries.begin() + long(i), entries.begin() + long(smallest), entries.begin() + long(smallest) + 1);
      std::rotate(keys.begin() + long(i), keys.begin() + long(smallest), keys.begin() + long(smallest) + 1);
    }
  }
}

std::vector<std::string> BuildFileList(const std::string& folder, const std::string& pattern) {
  std::string extensions[kFileListExtensions];
  const int count = ParseExtensionPattern(pattern, extensions);
  std::vector<std::string> entries;
  plat::TSearchRec rec;
  int found = FindFirstEntry(folder + "*.*", 31, rec);
  while (found == 0 && int(entries.size()) < kFileListMaxEntries) {
    std::string ext;
    GetFileNamePart(rec.name, 'E', ext);
    UpperCaseString(ext);
    if (!ext.empty() && std::find(extensions, extensions + count, ext) != extensions + count)
      entries.push_back(rec.name.substr(0, kFileListNameMax));
    found = FindNextEntry(rec);
  }
  FindCloseEntry(rec);
  if (entries.size() >= 2) SortFileList(entries);
  return entries;
}

bool ChooseFileFromList(const std::string& folder, const std::string& pattern, std::string& fileName,
                        int maxLength) {
  ShowArrowCursor();
  TFileListState state;
  state.folder = folder;
  state.pattern = pattern;
  state.entries = BuildFileList(folder, pattern);
  fileName.clear();
  if (state.entries.empty()) return false;
  RunFileListDialog(state);
  if (state.result != kFileListOk || state.selected < 1 || state.selected > int(state.entries.size())) return false;
  fileName = (folder + state.entries[size_t(state.selected - 1)]).substr(0, size_t(std::max(maxLength, 0)));
  return true;
}

std::string GetFileFolder(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void DrawFilledBevelBox(const TBox& box, int colour) {
  SetRopCopy();
  FillColorRect(box.x1, box.y1, box.x2, box.y2, GetColorRef(colour));
  DrawBevelFrame(box.x1, box.y1, box.x2, box.y2);
}
