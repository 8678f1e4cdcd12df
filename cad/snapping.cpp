// Snapping of clicked points and the guide lines; see snapping.h.
#include "cad/snapping.h"

#include <algorithm>
#include <cmath>

#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/program_state.h"
#include "frame/quiet_files.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "ui/common_dialogs.h"
#include "ui/popup_list.h"
#include "ui/prompt_strip.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"
#include "view/redraw.h"
#include "view/view_transform.h"

TSnapPointCache SnapPointCache;
uint32_t SnapContentStamp = 0;
uint32_t SnapFileReads = 0;

namespace {

constexpr int16_t kGuideLineParamBlock = 1;
constexpr int16_t kSelectorVectorStore = -2;
constexpr int16_t kSelectorCurrentLayer = -1;
const char* const kVectorStoreName = "VekAR1.TMP";

bool IsFreeSlot(float value) { return value <= kFreeGuideLine; }

float* ListOf(TGuideLineBlock& block, bool vertical) { return vertical ? block.xLines : block.yLines; }

// World length of a number of pixels at the current view scale.
double PixelsToWorld(double pixels) {
  const double scale = ViewScaleX > 0.0f ? ViewScaleX : 1.0;
  return pixels / scale;
}

// The nearest entry of a list (up to its first free slot, at most count
// entries) strictly nearer than limit; -1 when none.
int NearestListEntry(const float* list, int count, double value, double limit, double& distance) {
  int found = -1;
  distance = limit;
  for (int i = 0; i < count && !IsFreeSlot(list[i]); ++i) {
    const double d = std::fabs(list[i] - value);
    if (d < distance) {
      distance = d;
      found = i;
    }
  }
  return found;
}

constexpr int kFingerprintRecords = 16;

// The file's size in records and FNV-1a over 16 records spread evenly over
// it (first and last included); both 0 for a file that cannot be opened.
void ReadSnapFileState(const std::string& name, int64_t& records, uint64_t& fingerprint) {
  records = 0;
  fingerprint = 0;
  if (!FileExistsPlain(name)) return;
  plat::TPasFile file;
  plat::Assign(file, name);
  ResetFileQuiet(file, kVectorRecordSize, 0);
  if (file.state < plat::kFileInput) return;
  records = plat::FileSize(file);
  uint64_t hash = 1469598103934665603ull;
  for (int k = 0; k < kFingerprintRecords && records > 0; ++k) {
    const int64_t index = records == 1 ? 0 : int64_t(k) * (records - 1) / (kFingerprintRecords - 1);
    plat::Seek(file, index);
    uint8_t bytes[kVectorRecordSize] = {};
    uint32_t done = 0;
    BlockReadQuiet(file, bytes, 1, done);
    for (uint8_t b : bytes) hash = (hash ^ b) * 1099511628211ull;
  }
  CloseFileQuiet(file);
  fingerprint = hash;
}

// Reads the candidate points of the file into the cache unless they are
// there already for the file's present size, fingerprint and the content
// stamp.
void LoadSnapCandidates(const std::string& name) {
  int64_t size = 0;
  uint64_t fingerprint = 0;
  ReadSnapFileState(name, size, fingerprint);
  if (SnapPointCache.name == name && SnapPointCache.byteSize == size && SnapPointCache.fingerprint == fingerprint &&
      SnapPointCache.stamp == SnapContentStamp)
    return;
  SnapPointCache.name = name;
  SnapPointCache.byteSize = size;
  SnapPointCache.fingerprint = fingerprint;
  SnapPointCache.stamp = SnapContentStamp;
  SnapPointCache.points.clear();
  ++SnapFileReads;
  if (size <= 0) return;

  TVectorArray array;
  LoadRecordArray(name, array);  // a short or broken file gives no array: nothing to snap to
  SnapPointCache.points.reserve(static_cast<size_t>(array.count));
  for (int32_t i = 0; i < array.count; ++i) {
    const TVectorRecord& r = array.records[i];
    if (r.type != kRecLinePoint && r.type != kRecContourStart && r.type != kRec3DPoint) continue;
    if (!std::isfinite(r.x) || !std::isfinite(r.y)) continue;
    SnapPointCache.points.push_back({r.x, r.y, static_cast<int32_t>(SnapPointCache.points.size())});
  }
  FreeRecordArray(array);
  std::sort(SnapPointCache.points.begin(), SnapPointCache.points.end(),
            [](const TSnapCandidate& a, const TSnapCandidate& b) {
              return a.x < b.x || (a.x == b.x && a.order < b.order);
            });
}

}  // namespace

void InvalidateSnapPointCache() {
  ++SnapContentStamp;
  SnapPointCache.name.clear();
  SnapPointCache.points.clear();
  SnapPointCache.points.shrink_to_fit();
}

// --- guide lines -----------------------------------------------------------------------------

void ReadGuideLineBlock(TGuideLineBlock& block) {
  ClearGuideLines(block);
  GetParamBlock(kGuideLineParamBlock, &block, sizeof block);
}

void WriteGuideLineBlock(const TGuideLineBlock& block) { PutParamBlock(kGuideLineParamBlock, &block, sizeof block); }

void UpdateGuideSnapFlag(const TGuideLineBlock& block) { GuideSnapOn = block.shown != 0 && block.catching != 0; }

bool AddGuideLine(TGuideLineBlock& block, bool vertical, float position) {
  float* list = ListOf(block, vertical);
  for (int i = 0; i < kGuideLinesManaged; ++i) {
    if (IsFreeSlot(list[i])) {
      list[i] = position;
      return true;
    }
  }
  return false;
}

bool FindNearestGuideLine(const TGuideLineBlock& block, float x, float y, TGuideLineHit& hit) {
  double dx = 0.0, dy = 0.0;
  const int iv = NearestListEntry(block.xLines, kGuideLinesManaged, x, 10000.0, dx);
  const int ih = NearestListEntry(block.yLines, kGuideLinesManaged, y, 10000.0, dy);
  if (iv < 0 && ih < 0) return false;
  if (ih >= 0 && (iv < 0 || dy <= dx)) {
    hit = {block.yLines[ih], false, ih};
  } else {
    hit = {block.xLines[iv], true, iv};
  }
  return true;
}

void ClearGuideLines(TGuideLineBlock& block) {
  for (int i = 0; i < kGuideLineSlots; ++i) {
    block.xLines[i] = kFreeGuideLine;
    block.yLines[i] = kFreeGuideLine;
  }
  block.shown = 0;
  block.catching = 0;
  block.unused = 0;
}

bool AddFrameGuideLines(TGuideLineBlock& block, const TExtentsPair& area) {
  bool ok = AddGuideLine(block, true, area.minCorner.x);
  ok = AddGuideLine(block, true, area.maxCorner.x) && ok;
  ok = AddGuideLine(block, false, area.minCorner.y) && ok;
  ok = AddGuideLine(block, false, area.maxCorner.y) && ok;
  return ok;
}

bool AddCentreGuideLines(TGuideLineBlock& block, const TExtentsPair& area) {
  bool ok = AddGuideLine(block, true, (area.minCorner.x + area.maxCorner.x) / 2.0f);
  ok = AddGuideLine(block, false, (area.minCorner.y + area.maxCorner.y) / 2.0f) && ok;
  return ok;
}

void DeleteGuideLine(TGuideLineBlock& block, bool vertical, int index) {
  if (index < 0 || index >= kGuideLinesManaged) return;
  float* list = ListOf(block, vertical);
  for (int i = index; i < kGuideLinesManaged - 1; ++i) list[i] = list[i + 1];
  list[kGuideLinesManaged - 1] = kFreeGuideLine;
}

bool MoveGuideLine(TGuideLineBlock& block, const TGuideLineHit& hit, float position, float low, float high) {
  if (hit.index < 0 || hit.index >= kGuideLinesManaged) return false;
  if (position >= low && position <= high) {
    ListOf(block, hit.vertical)[hit.index] = position;
    return true;
  }
  DeleteGuideLine(block, hit.vertical, hit.index);
  return false;
}

// --- snapping --------------------------------------------------------------------------------

void SnapToGuideLineLists(const TGuideLineBlock& block, TPointRecord& point, double& dxOut, double& dyOut,
                          double r) {
  const int iv = NearestListEntry(block.xLines, kGuideLineSlots, point.x, r, dxOut);
  const int ih = NearestListEntry(block.yLines, kGuideLineSlots, point.y, r, dyOut);
  if (iv >= 0) point.x = block.xLines[iv];
  if (ih >= 0) point.y = block.yLines[ih];
  if (iv >= 0 || ih >= 0) point.type = kRecLinePoint;
}

void SnapPointToGuideLines(TPointRecord& point) {
  if (GuideSnapOn == 0) return;
  TGuideLineBlock block;
  ReadGuideLineBlock(block);
  double dx = 0.0, dy = 0.0;
  SnapToGuideLineLists(block, point, dx, dy, PixelsToWorld(kGuideSnapPixels));
}

bool FindNearestFilePointInBox(const std::string& name, TPointRecord& point, double r) {
  if (!(r > 0.0) || !std::isfinite(point.x) || !std::isfinite(point.y)) return false;
  LoadSnapCandidates(name);
  const std::vector<TSnapCandidate>& points = SnapPointCache.points;
  const double px = point.x, py = point.y;
  auto first = std::lower_bound(points.begin(), points.end(), px - r,
                                [](const TSnapCandidate& c, double x) { return c.x < x; });
  double best = 2.0 * r * r;
  const TSnapCandidate* found = nullptr;
  for (auto it = first; it != points.end() && it->x <= px + r; ++it) {
    const double dx = it->x - px, dy = it->y - py;
    if (std::fabs(dx) > r || std::fabs(dy) > r) continue;
    const double d2 = dx * dx + dy * dy;
    // The file's first of equal candidates wins.
    if (d2 < best || (found != nullptr && d2 == best && it->order < found->order)) {
      best = d2;
      found = &*it;
    }
  }
  if (found == nullptr) return false;
  point.x = found->x;
  point.y = found->y;
  point.type = kRecLinePoint;
  return true;
}

std::string SnapFileForSelector(int16_t selector) {
  if (selector == kSelectorVectorStore) return kVectorStoreName;
  if (selector == kSelectorCurrentLayer) return GetCurrentLayerFileName();
  if (selector >= 0 && selector <= kMaxLayerNumber) return BuildLayerFileName(selector);
  return "";
}

void SnapPointToLayerVectors(TPointRecord& point, int16_t selector) {
  if (SnapRadius == 0) return;
  const std::string name = SnapFileForSelector(selector);
  if (name.empty()) return;
  FindNearestFilePointInBox(name, point, PixelsToWorld(SnapRadius));
}

uint8_t SnapPoint(TPointRecord& point, int16_t selector) {
  point.type = 0;
  TPointRecord guided = point, drawn = point;
  SnapPointToGuideLines(guided);
  SnapPointToLayerVectors(drawn, selector);
  const TPointRecord* chosen = nullptr;
  if (guided.type == kRecLinePoint && drawn.type == kRecLinePoint) {
    const double dg = std::hypot(double(guided.x) - point.x, double(guided.y) - point.y);
    const double dd = std::hypot(double(drawn.x) - point.x, double(drawn.y) - point.y);
    chosen = dg < dd ? &guided : &drawn;
  } else if (guided.type == kRecLinePoint) {
    chosen = &guided;
  } else if (drawn.type == kRecLinePoint) {
    chosen = &drawn;
  }
  if (chosen != nullptr) point = *chosen;
  return point.type;
}

uint8_t SnapCursorPoint(TPointRecord& point) {
  point = CursorPoint;
  return SnapPoint(point, SnapLayerSelector);
}

uint8_t SnapPointForLayer(TPointRecord& point, int16_t selector) {
  return SnapPoint(point, selector < 0 ? kSelectorVectorStore : selector);
}

void SnapCursorToLayerVectors(TPointRecord& point) {
  point = CursorPoint;
  SnapPointToLayerVectors(point, SnapLayerSelector < 0 ? kSelectorCurrentLayer : SnapLayerSelector);
}

uint8_t EditPromptAndSnapCursor(std::string& typed) {
  EditPromptLine(typed);
  TPointRecord point = CursorPoint;
  const uint8_t type = SnapPoint(point, SnapLayerSelector);
  CursorPoint = point;
  return type;
}

bool TestCursorNearGuideLine() {
  TGuideLineBlock block;
  ReadGuideLineBlock(block);
  if (block.shown == 0 || block.catching == 0) return false;
  const double r = PixelsToWorld(kGuideSnapPixels);
  double d = 0.0;
  return NearestListEntry(block.xLines, kGuideLineSlots, CursorPoint.x, r, d) >= 0 ||
         NearestListEntry(block.yLines, kGuideLineSlots, CursorPoint.y, r, d) >= 0;
}

// --- the guide-line command --------------------------------------------------------------------

namespace {

constexpr uint16_t kNoRedrawBit = 256;
constexpr uint8_t kGuideCursorMode = 132;
constexpr uint8_t kDeleteScanCode = 83;
constexpr int kXorColour = 12;
constexpr int kLineColour = 1;
constexpr int kMenuRaise = 32;
constexpr uint8_t kViewRedrawKind = 2;

constexpr int16_t kMsgPlaceVertical = 1135;
constexpr int16_t kMsgPlaceHorizontal = 1136;
constexpr int16_t kMsgListFull = 1137;
constexpr int16_t kMsgMenuTitle = 1138;
constexpr int16_t kMsgLinesHidden = 1147;

const TPopupEntry kGuideMenu[] = {
    {1139, "HiNeuHoriz"}, {1140, "HiNeuVert"}, {103, "HiLinRahmen"}, {2481, "HiLinKreuz"},
    {1141, "HiVersch"},   {1142, "HiLoeschAlle"},
};

void RedrawUnless(bool noRedraw) {
  if (!noRedraw) RedrawFileView("", kViewRedrawKind);
}

void DrawListLines(const TGuideLineBlock& block) {
  for (int list = 0; list < 2; ++list) {
    const float* values = list == 0 ? block.xLines : block.yLines;
    for (int i = 0; i < kGuideLineSlots && !IsFreeSlot(values[i]); ++i)
      DrawGuideLine(list == 0, kCopyMode, kLineColour, values[i]);
  }
}

// Menu entries 1 and 2 and modes 1 and 2.
void AddLineInteractively(TGuideLineBlock& block, bool vertical) {
  float position = vertical ? CursorPoint.x : CursorPoint.y;
  if (!PlaceGuideLineInteractively(position, false, vertical)) return;
  if (!AddGuideLine(block, vertical, position)) {
    ShowErrorText(GetMessageText(kMsgListFull, -39));
    return;
  }
  WriteGuideLineBlock(block);
  DrawGuideLine(vertical, kCopyMode, kLineColour, position);
}

// Menu entry 5 and mode 3.
void MoveLineInteractively(TGuideLineBlock& block, bool noRedraw) {
  if (MouseButtonState == 4) return;
  TGuideLineHit hit;
  if (!FindNearestGuideLine(block, CursorPoint.x, CursorPoint.y, hit)) return;
  DrawGuideLine(hit.vertical, kCopyMode, CurrentColor, hit.position);
  WaitForMouseRelease();
  float position = hit.position;
  if (!PlaceGuideLineInteractively(position, true, hit.vertical)) {
    DrawGuideLine(hit.vertical, kCopyMode, kLineColour, hit.position);
    return;
  }
  const float low = hit.vertical ? WorldXMin : WorldYMin;
  const float high = hit.vertical ? WorldXMax : WorldYMax;
  const bool kept = MoveGuideLine(block, hit, position, low, high);
  WriteGuideLineBlock(block);
  if (kept) DrawGuideLine(hit.vertical, kCopyMode, kLineColour, position);
  else RedrawUnless(noRedraw);  // the deleted line must leave the screen
}

void RunGuideLineMenu(TGuideLineBlock& block, bool noRedraw) {
  int16_t x = MouseX, y = int16_t(MouseY - kMenuRaise);
  for (;;) {
    TPopupList list;
    InitPopupList(list);
    list.x = x;
    list.y = y;
    list.title = GetMessageText(kMsgMenuTitle, -39);
    const uint8_t state = block.shown ? 1 : 3;
    SetPopupEntries(list, kGuideMenu);
    for (int i = 0; i < 6; ++i) list.states[i] = state;
    list.captions[6] = GetMessageText(block.shown ? 1144 : 1143, -39);
    list.names[6] = block.shown ? "HiZeigen" : "HiNZeigen";
    list.captions[7] = GetMessageText(block.catching ? 1146 : 1145, -39);
    list.names[7] = block.catching ? "HiFangen" : "HiNFangen";
    list.states[7] = state;
    ShowPopupMenu(list);
    const int choice = list.result;
    if (choice <= 0 || CloseRequested) break;
    if (choice <= 3) {
      x = MouseX;
      y = int16_t(MouseY - kMenuRaise);
    } else {
      x = list.x;
      y = list.y;
    }
    const bool hidden = block.shown == 0;
    switch (choice) {
      case 1:
      case 2:
        if (hidden) ShowTitledMessage(GetMessageText(kMsgLinesHidden, -39));
        else AddLineInteractively(block, choice == 2);
        break;
      case 3:
      case 4: {
        if (hidden) {
          ShowErrorText(GetMessageText(kMsgLinesHidden, -39));
          break;
        }
        const bool fitted = choice == 3 ? AddFrameGuideLines(block, LayoutArea) : AddCentreGuideLines(block, LayoutArea);
        if (!fitted) ShowErrorText(GetMessageText(kMsgListFull, -39));
        WriteGuideLineBlock(block);
        DrawListLines(block);
        break;
      }
      case 5:
        if (hidden) {
          ShowTitledMessage(GetMessageText(kMsgLinesHidden, -39));
        } else {
          WaitForInputEvent();
          MoveLineInteractively(block, noRedraw);
        }
        break;
      case 6:
        if (hidden) {
          ShowErrorText(GetMessageText(kMsgLinesHidden, -39));
          break;
        }
        ClearGuideLines(block);
        WriteGuideLineBlock(block);
        RedrawUnless(noRedraw);
        break;
      case 7:
        block.shown = block.shown ? 0 : 1;
        if (block.shown) block.catching = 1;
        WriteGuideLineBlock(block);
        RedrawUnless(noRedraw);
        break;
      case 8:
        block.catching = block.catching ? 0 : 1;
        if (block.catching && !block.shown) {
          block.shown = 1;
          WriteGuideLineBlock(block);
          RedrawUnless(noRedraw);
        } else {
          WriteGuideLineBlock(block);
        }
        break;
      default:
        break;
    }
    UpdateGuideSnapFlag(block);
  }
}

}  // namespace

bool PlaceGuideLineInteractively(float& position, bool showValue, bool vertical) {
  ShowInputPrompt(GetMessageText(vertical ? kMsgPlaceVertical : kMsgPlaceHorizontal, -39));
  if (showValue) ShowTopBarText(FormatRealText(8, 3, position));
  ClearKeyBuffer();
  float shown = position;
  DrawGuideLine(vertical, kXorMode, kXorColour, shown);
  std::string text;
  bool deleteKey = false;
  ButtonResult = 0;
  MouseButtonState = 0;  // the click that led here is used up
  for (;;) {
    EditPromptLine(text);
    if (CloseRequested && ButtonResult == 0) ButtonResult = 4;
    deleteKey = CursorKeyCode == kDeleteScanCode && ExtendedKeyFlag != 0;
    if (ButtonResult != 0 || deleteKey) break;
    const float at = vertical ? CursorPoint.x : CursorPoint.y;
    if (at != shown) {
      DrawGuideLine(vertical, kXorMode, kXorColour, shown);
      shown = at;
      DrawGuideLine(vertical, kXorMode, kXorColour, shown);
    }
  }
  DrawGuideLine(vertical, kXorMode, kXorColour, shown);
  if (showValue) ShowTopBarText("");
  if (ButtonResult == 4) return false;
  TCoordinateList list;
  int count = 0;
  if (!text.empty()) ParseCoordinateList(text, list, 0, count);
  if (count == 1) {
    position = CoordinateListValue(list, 1);
  } else {
    TPointRecord snapped{};
    SnapCursorToLayerVectors(snapped);
    position = vertical ? snapped.x : snapped.y;
  }
  if (showValue && deleteKey) position = kFreeGuideLine;
  return true;
}

void RunGuideLineCommand(uint16_t mode) {
  const bool noRedraw = (mode & kNoRedrawBit) != 0;
  const int action = mode & 0xFF;
  TGuideLineBlock block;
  ReadGuideLineBlock(block);
  if (block.shown == 0) {
    block.shown = 1;
    block.catching = 1;
    WriteGuideLineBlock(block);
    RedrawUnless(noRedraw);
  }
  UpdateGuideSnapFlag(block);
  EraseMouseCursor();
  const uint8_t savedCursorMode = CursorMode;
  CursorMode = kGuideCursorMode;
  switch (action) {
    case 0: RunGuideLineMenu(block, noRedraw); break;
    case 1:
    case 2:
    case 3:
      WaitForMouseRelease();
      if (action == 3) MoveLineInteractively(block, noRedraw);
      else AddLineInteractively(block, action == 2);
      CommandWord = 0;
      break;
    default: break;
  }
  CursorMode = savedCursorMode;
}
