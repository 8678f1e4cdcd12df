#include "cad/path_info_window.h"

#include "model/geometry_2d.h"
#include "frame/data_slots.h"
#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/window_draw.h"
#include "ui/common_dialogs.h"
#include "ui/panels.h"
#include "view/character_cells.h"

#include <cstring>

namespace {

struct TScanState {
  bool contourOpen = false;
  TVectorRecord start{};
  bool hasPrevious = false;
  TVectorRecord previous{};
};

void Widen(TPathInfo& info, const TVectorRecord& r) {
  if (r.x < info.minX) info.minX = r.x;
  if (r.x > info.maxX) info.maxX = r.x;
  if (r.y < info.minY) info.minY = r.y;
  if (r.y > info.maxY) info.maxY = r.y;
}

// The contour that ends here counts closed when its last point lies on its start.
void CountContour(TPathInfo& info, const TScanState& s) {
  if (!s.contourOpen) return;
  if (TestPointsCoincide(s.previous, s.start)) {
    ++info.closedContours;
  } else {
    ++info.openContours;
  }
}

void ScanRecord(TPathInfo& info, TScanState& s, const TVectorRecord& r) {
  if (r.type == 10 || r.type == 12) {
    Widen(info, r);
    if (s.hasPrevious) info.length += ComputeRecordDistanceXY(s.previous, r);
    s.previous = r;
    s.hasPrevious = true;
    if (!(info.hasFirstPoint && info.firstPoint.type == r.type)) {
      info.firstPoint = r;
      info.hasFirstPoint = true;
    }
    if (r.type == 12) info.is3D = true;
  } else if (r.type == 11) {
    Widen(info, r);
    CountContour(info, s);
    s.contourOpen = true;
    s.start = r;
    s.previous = r;
    s.hasPrevious = true;
    info.hasFirstPoint = false;
    ZeroVectorRecord(info.firstPoint);
  }
}

}  // namespace

void ScanPathInfo(TPathInfo& info, const std::string& file) {
  info = TPathInfo{};
  info.minX = info.minY = 100000.0f;
  info.maxX = info.maxY = -100000.0f;
  int slot = 0;
  if (TestFileExists(file) == 1) OpenDataFileSlot(file, 1, slot, 0);
  if (slot == 0) {
    info.minX = info.minY = info.maxX = info.maxY = 0;
    return;
  }
  info.records = DataFileSlotSize(slot);
  TScanState state;
  if (info.records > 0) {
    TRecordBuffer buffer;
    AllocRecordBuffer(1, buffer, 1);
    for (;;) {
      int32_t got = 0;
      ReadDataFileSlot(slot, buffer, kSlotBlockRecords, got);
      if (got <= 0) break;
      for (int32_t i = 0; i < got; ++i) {
        TVectorRecord r;
        std::memcpy(&r, buffer.bytes.data() + size_t(i) * sizeof r, sizeof r);
        ScanRecord(info, state, r);
      }
      if (got < kSlotBlockRecords) break;
    }
    AllocRecordBuffer(1, buffer, 0);
  }
  CloseDataFileSlot(slot);
  CountContour(info, state);
  // No point at all: nothing to measure. A single point or a vertical line
  // keeps its count and measures 0 wide.
  if (info.minX > info.maxX) {
    info.records = 0;
    info.minX = info.minY = info.maxX = info.maxY = 0;
    return;
  }
  info.width = info.maxX - info.minX;
  info.height = info.maxY - info.minY;
  info.centreX = (info.minX + info.maxX) / 2;
  info.centreY = (info.minY + info.maxY) / 2;
}

int16_t PathObjectKindMessage(const TPathInfo& info) {
  const float z = info.firstPoint.z;
  if (z == -917 || z == -916 || z == -915) return 2730;
  if (z == -908 || z == -907) return 1279;
  if (z == -906 || z == -905) return info.closedContours == 1 && info.openContours == 0 ? 2728 : 2729;
  if (z == -904 || z == -903) return 1305;
  if (z == -902 || z == -901) return 1278;
  if (z == 0) return 2727;
  return 0;
}

int BuildPathInfoLines(const TPathInfo& info, TPathInfoLine (&lines)[12]) {
  int n = 0;
  const std::string dims = info.is3D ? " 3D" : " 2D";
  if (info.closedContours + info.openContours == 1) {
    const int16_t kind = PathObjectKindMessage(info);
    lines[n++] = {kind != 0 ? GetMessageText(kind, 30) : std::string(), ""};
  } else {
    lines[n++] = {GetMessageText(2732, 30) + dims, FormatLongText(info.closedContours, 8)};
    lines[n++] = {GetMessageText(2733, 30) + dims, FormatLongText(info.openContours, 8)};
  }
  lines[n++] = {GetMessageText(2734, 30), FormatLongText(info.records, 8)};
  const bool sized = info.records > 0;
  const struct {
    int16_t message;
    float value;
  } values[] = {{2735, info.width},  {2736, info.height}, {2737, info.centreX}, {2738, info.centreY},
                {1461, info.minX},   {1462, info.minY},   {3315, info.length}};
  for (const auto& v : values) lines[n++] = {GetMessageText(v.message, 30), FormatRealText(8, 3, sized ? v.value : 0)};
  return n;
}

void ShowPathInfoWindow() {
  if (CursorShown) EraseMouseCursor();
  TPathInfo info;
  ScanPathInfo(info);
  WaitForMouseRelease();

  TPopupFrame frame{};
  frame.left = int16_t((MaxX - 248) / 8 * 8);
  frame.right = int16_t(MaxX - 1);
  frame.top = int16_t(DrawingArea.y1 + 16);
  frame.bottom = int16_t(frame.top + 192);
  frame.lines = int16_t(192 / 16 + 1);
  OpenPopupFrame(frame);
  DrawGreyDialogPanel(frame.left, frame.top, frame.right, GetMessageText(2731, 20), frame.bottom);

  TPathInfoLine lines[12];
  const int n = BuildPathInfoLines(info, lines);
  int y = frame.top + 32;
  for (int i = 0; i < n; ++i) {
    SetPenColor(274);
    DrawScreenText(frame.left + 8, y, lines[i].caption);
    const std::string& value = lines[i].value;
    DrawScreenText(frame.right - 8 - 8 * int(value.size()), y, value);
    y += 16;
  }
  WaitForKeyOrClick();
  ClosePopupFrame(frame);
  WaitForMouseRelease();
}
