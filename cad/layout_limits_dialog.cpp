// The layout limits dialog; see layout_limits_dialog.h.
//
// Sections: origin codes - storing - actions - the dialog.
#include "cad/layout_limits_dialog.h"

#include <cmath>
#include <cstring>
#include <utility>

#include "cad/drawing_transforms.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/system_services.h"
#include "model/layer_files.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "ui/info_window.h"
#include "ui/input_form.h"
#include "view/redraw.h"
#include "view/view_transform.h"

namespace {

constexpr double kOriginTolerance = 0.001;
constexpr double kSmallestLayout = 0.01;
constexpr double kSmallestStored = 0.001;
constexpr uint8_t kFrameFlag = 64;
constexpr uint8_t kFormCancelled = 3;
constexpr int16_t kMessageTitle = 89;
constexpr int16_t kMessageTooSmall = 4016;
constexpr int16_t kMessageOrigin = 4017;
constexpr int16_t kMessageAction = 4018;
constexpr uint8_t kViewLayout = 2;
constexpr int kUndoLayoutAll = 268;
constexpr int kUndoLayoutLayer = 265;

int AxisPosition(float low, float high) {
  if (std::fabs(low) < kOriginTolerance) return 1;
  if (std::fabs((double(low) + high) / 2) < kOriginTolerance) return 2;
  if (std::fabs(high) < kOriginTolerance) return 3;
  return 0;
}

void RedrawInLayout() { RedrawFileInView(GetCurrentLayerFileName(), LayoutArea, kViewLayout); }

void DrawingExtent(bool allLayers, TExtentsPair& e) {
  if (allLayers) GetAllLayersExtent(e);
  else GetCurrentLayerExtent(e);
}

bool UsableExtent(const TExtentsPair& e) {
  return double(e.maxCorner.x) - e.minCorner.x > kSmallestLayout &&
         double(e.maxCorner.y) - e.minCorner.y > kSmallestLayout;
}

}  // namespace

// --- origin codes ------------------------------------------------------------------------

uint8_t GetLayoutOriginCodeOf(const TExtentsPair& a) {
  const int px = AxisPosition(a.minCorner.x, a.maxCorner.x);
  const int py = AxisPosition(a.minCorner.y, a.maxCorner.y);
  if (px == 0 || py == 0) return 0;
  const char letters[3] = {'L', 'Z', 'R'};
  return uint8_t(letters[px - 1] + (py == 2 ? 64 : 0) + (py == 3 ? 128 : 0));
}

uint8_t GetLayoutOriginCode() { return GetLayoutOriginCodeOf(LayoutArea); }

int OriginPositionOfCode(uint8_t code) {
  // The letters themselves carry bit 64 ('L' is 76): the row is found by
  // which offset leaves a letter.
  const int offsets[3] = {128, 64, 0};  // top, middle, bottom row
  const char letters[3] = {'L', 'Z', 'R'};
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column)
      if (int(code) == letters[column] + offsets[row]) return row * 3 + column + 1;
  return 0;
}

void PlaceLayoutAtOrigin(int position, float w, float h, TExtentsPair& a) {
  if (position < 1 || position > 9) return;
  const int column = (position - 1) % 3, row = (position - 1) / 3;
  a.minCorner.x = column == 0 ? 0.0f : column == 1 ? -w / 2 : -w;
  a.maxCorner.x = column == 0 ? w : column == 1 ? w / 2 : 0.0f;
  a.minCorner.y = row == 0 ? -h : row == 1 ? -h / 2 : 0.0f;
  a.maxCorner.y = row == 0 ? 0.0f : row == 1 ? h / 2 : h;
}

// --- storing ------------------------------------------------------------------------------

bool StoreLayoutArea(const TExtentsPair& previousArea, const TExtentsPair& previousDetails) {
  TExtentsPair& a = LayoutArea;
  if (a.minCorner.x > a.maxCorner.x) std::swap(a.minCorner.x, a.maxCorner.x);
  if (a.minCorner.y > a.maxCorner.y) std::swap(a.minCorner.y, a.maxCorner.y);
  if (!(double(a.maxCorner.x) - a.minCorner.x >= kSmallestStored &&
        double(a.maxCorner.y) - a.minCorner.y >= kSmallestStored)) {
    LayoutArea = previousArea;
    LayoutDetails = previousDetails;
    ShowErrorText(GetMessageText(kMessageTitle, -39) + " " + GetMessageText(kMessageTooSmall, -39));
    return false;
  }
  uint8_t block3[121] = {};
  GetParamBlock(3, block3, sizeof block3);
  const uint8_t frame = a.minCorner.type != 0 ? kFrameFlag : 0;
  DisplayFlags = uint8_t((DisplayFlags & ~kFrameFlag) | frame);
  block3[10] = uint8_t((block3[10] & (16 | 32)) | (DisplayFlags & ~(16 | 32)));
  PutParamBlock(3, block3, sizeof block3);
  SaveLayoutAreaToParams();
  return true;
}

// --- actions ------------------------------------------------------------------------------

void FitLayoutAreaToDrawing(bool allLayers) {
  TExtentsPair e;
  DrawingExtent(allLayers, e);
  if (!UsableExtent(e)) return;
  const uint8_t frame = LayoutArea.minCorner.type;
  LayoutArea = e;
  LayoutArea.minCorner.type = frame;
  LayoutArea.maxCorner.type = kRecMaxCorner;
  SaveLayoutAreaToParams();
  RedrawInLayout();
}

void CentreDrawingInLayoutArea(bool allLayers) {
  TExtentsPair e;
  DrawingExtent(allLayers, e);
  if (!UsableExtent(e)) return;
  const TExtentsPair& l = LayoutArea;
  const double dx = (double(l.minCorner.x) + l.maxCorner.x - e.minCorner.x - e.maxCorner.x) / 2;
  const double dy = (double(l.minCorner.y) + l.maxCorner.y - e.minCorner.y - e.maxCorner.y) / 2;
  ShiftDrawingFiles(dx, dy, allLayers);
  RedrawInLayout();
}

void CentreLayoutAreaOnOrigin() {
  FlushVectorStoreToCurrentLayer();
  TExtentsPair& l = LayoutArea;
  const float a = (l.maxCorner.x - l.minCorner.x) / 2, c = (l.maxCorner.y - l.minCorner.y) / 2;
  const double dx = -(double(l.minCorner.x) + a), dy = -(double(l.minCorner.y) + c);
  l.minCorner.x = -a;
  l.maxCorner.x = a;
  l.minCorner.y = -c;
  l.maxCorner.y = c;
  TakeUndoSnapshot(12);
  ShiftDrawingFiles(dx, dy, true);
  SaveLayoutAreaToParams();
  RedrawInLayout();
}

void MoveDrawingInteractively(bool allLayers) {
  TExtentsPair e;
  DrawingExtent(allLayers, e);
  if (!UsableExtent(e)) return;
  TPointRecord shift{};
  uint8_t status = 0;
  DragExtentFrame(e, 12, shift, status);
  if (status != 2) return;
  ShiftDrawingFiles(shift.x, shift.y, allLayers);
  RedrawInLayout();
}

// --- the dialog -------------------------------------------------------------------------------
// One form: the origin position (0 free, 1-9 as the grid from the top
// left), the corners, width and height, the switches, the margins, the
// frame switch and the action (0 none, 1-4 the four actions). With an
// origin position the corners follow from width and height.

namespace {

void SetReal(TInputField& f, const std::string& caption, float value, float high) {
  f = TInputField{};
  f.caption = caption;
  f.kind = 'S';
  f.value = value;
  f.lowerLimit = -9999.999f;
  f.upperLimit = high;
  f.width = 8;
  f.decimals = 3;
}

void SetInt(TInputField& f, const std::string& caption, int value, int high) {
  f = TInputField{};
  f.caption = caption;
  f.kind = 'I';
  f.value = float(value);
  f.lowerLimit = 0;
  f.upperLimit = float(high);
  f.width = 1;
}

void SetSwitch(TInputField& f, const std::string& caption, bool on) {
  f = TInputField{};
  f.caption = caption;
  f.kind = 'B';
  f.value = on ? 1.0f : 0.0f;
  f.width = 1;
}

float MarginAt(const TExtentsPair& d, int i) {
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&d);
  const int offsets[4] = {1, 5, 10, 14};
  float v;
  std::memcpy(&v, bytes + offsets[i], 4);
  return v;
}

void SetMarginAt(TExtentsPair& d, int i, float v) {
  uint8_t* bytes = reinterpret_cast<uint8_t*>(&d);
  const int offsets[4] = {1, 5, 10, 14};
  std::memcpy(bytes + offsets[i], &v, 4);
}

}  // namespace

void RunLayoutLimitsDialog(int mode) {
  FlushVectorStoreToCurrentLayer();
  const TExtentsPair oldArea = LayoutArea, oldDetails = LayoutDetails;
  const int rows = mode & kLayoutRowsMask;
  if (rows == 1 || rows == 2) LayoutArea.minCorner.type = 0;
  if (rows == 2) LayoutDetails.minCorner.type &= uint8_t(~1);
  const TExtentsPair& a = LayoutArea;
  const uint8_t sw = LayoutDetails.minCorner.type;
  TInputField f[kInputFieldEntries];
  int n = 0;
  const int originField = n;
  SetInt(f[n++], GetMessageText(kMessageOrigin, -39),
         (mode & kLayoutOriginGrid) ? OriginPositionOfCode(GetLayoutOriginCode()) : 0, 9);
  const int cornerField = n;
  SetReal(f[n++], GetMessageText(90, -39), a.minCorner.x, 9999.999f);
  SetReal(f[n++], GetMessageText(91, -39), a.minCorner.y, 9999.999f);
  SetReal(f[n++], GetMessageText(92, -39), a.maxCorner.x, 9999.999f);
  SetReal(f[n++], GetMessageText(93, -39), a.maxCorner.y, 9999.999f);
  const int sizeField = n;
  SetReal(f[n++], GetMessageText(2740, -39), a.maxCorner.x - a.minCorner.x, 9999.999f);
  SetReal(f[n++], GetMessageText(2741, -39), a.maxCorner.y - a.minCorner.y, 9999.999f);
  const int switchField = n;
  SetSwitch(f[n++], GetMessageText(2087, -39), (sw & 4) != 0);
  SetSwitch(f[n++], GetMessageText(2088, -39), (sw & 2) != 0);
  int marginField = -1, frameField = -1;
  if (rows < 2) {
    SetSwitch(f[n++], GetMessageText(2089, -39), (sw & 1) != 0);
    marginField = n;
    for (int i = 0; i < 4; ++i) SetReal(f[n++], GetMessageText(int16_t(94 + i), -39), MarginAt(LayoutDetails, i), 49.99f);
    if (rows == 0) {
      frameField = n;
      SetSwitch(f[n++], GetMessageText(1624, -39), a.minCorner.type != 0);
    }
  }
  const int actionField = (mode & kLayoutNoActions) ? -1 : n;
  if (actionField >= 0) SetInt(f[n++], GetMessageText(kMessageAction, -39), 0, 4);

  bool cancelled = RunInputForm(GetMessageText(kMessageTitle, -39), f, uint8_t(n)) == kFormCancelled;
  if (!cancelled) {
    const int origin = int(std::lround(f[originField].value));
    if (origin >= 1 && origin <= 9) {
      PlaceLayoutAtOrigin(origin, f[sizeField].value, f[sizeField + 1].value, LayoutArea);
    } else {
      LayoutArea.minCorner.x = f[cornerField].value;
      LayoutArea.minCorner.y = f[cornerField + 1].value;
      LayoutArea.maxCorner.x = f[cornerField + 2].value;
      LayoutArea.maxCorner.y = f[cornerField + 3].value;
    }
    uint8_t s = uint8_t(LayoutDetails.minCorner.type & ~7);
    if (f[switchField].value != 0) s |= 4;
    if (f[switchField + 1].value != 0) s |= 2;
    if (marginField >= 0) {
      if (f[marginField - 1].value != 0) s |= 1;
      if (s & 1)
        for (int i = 0; i < 4; ++i) SetMarginAt(LayoutDetails, i, f[marginField + i].value);
    } else {
      s |= uint8_t(LayoutDetails.minCorner.type & 1);
    }
    LayoutDetails.minCorner.type = s;
    if (frameField >= 0) LayoutArea.minCorner.type = f[frameField].value != 0 ? 1 : 0;
    if (std::fabs(double(LayoutArea.maxCorner.x) - LayoutArea.minCorner.x) < kSmallestLayout ||
        std::fabs(double(LayoutArea.maxCorner.y) - LayoutArea.minCorner.y) < kSmallestLayout) {
      ShowTitledMessage(GetMessageText(kMessageTooSmall, -39));
      cancelled = true;
    }
  }
  if (cancelled) {
    LayoutArea = oldArea;
    LayoutDetails = oldDetails;
    return;
  }
  const int action = actionField >= 0 ? int(std::lround(f[actionField].value)) : 0;
  const bool allLayers = true;
  const TExtentsPair newArea = LayoutArea, newDetails = LayoutDetails;
  LayoutArea = oldArea;
  LayoutDetails = oldDetails;
  TakeUndoSnapshot(allLayers ? kUndoLayoutAll : kUndoLayoutLayer);
  LayoutArea = newArea;
  LayoutDetails = newDetails;
  switch (action) {
    case 1:
      FitLayoutAreaToDrawing(allLayers);
      break;
    case 2:
      if (StoreLayoutArea(oldArea, oldDetails)) CentreDrawingInLayoutArea(allLayers);
      break;
    case 3:
      if (StoreLayoutArea(oldArea, oldDetails)) CentreLayoutAreaOnOrigin();
      break;
    case 4:
      MoveDrawingInteractively(allLayers);
      break;
    default:
      if (StoreLayoutArea(oldArea, oldDetails) && !(mode & kLayoutNoRedraw)) RedrawInLayout();
      break;
  }
}

void ShowLayoutLimitsDialog() {
  int mode = 8;
  switch (VariantNumber) {
    case 3: case 5: case 12: case 13: case 20: case 21: mode = 9; break;
    case 7: case 19: case 26: mode = 1; break;
    case 23: mode = 0; break;
    default: break;
  }
  RunLayoutLimitsDialog(mode);
}
