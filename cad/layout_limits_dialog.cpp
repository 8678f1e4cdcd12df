// The layout limits dialog; see layout_limits_dialog.h.
//
// Sections: origin codes - storing - actions - moving the drawing with the
// mouse - the dialog.
#include "cad/layout_limits_dialog.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "cad/drawing_transforms.h"
#include "ui/buttons_controls.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "model/text_job.h"
#include "ui/cell_fields.h"
#include "ui/common_dialogs.h"
#include "ui/info_window.h"
#include "ui/panels.h"
#include "ui/popup_list.h"
#include "ui/prompt_strip.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"
#include "view/redraw.h"
#include "view/view_transform.h"

namespace {

constexpr double kOriginTolerance = 0.001;
constexpr double kSmallestLayout = 0.01;
constexpr double kSmallestStored = 0.001;
constexpr uint8_t kFrameFlag = 64;
constexpr int16_t kMessageTitle = 89;
constexpr int16_t kMessageTooSmall = 4016;
constexpr uint8_t kViewLayout = 2;
constexpr int kUndoLayoutAll = 268;
constexpr int kUndoLayoutLayer = 265;
constexpr int kTextShift = 1;
constexpr int kPreviewColour = 12;

int AxisPosition(float low, float high) {
  if (std::fabs(low) < kOriginTolerance) return 1;
  if (std::fabs((double(low) + high) / 2) < kOriginTolerance) return 2;
  if (std::fabs(high) < kOriginTolerance) return 3;
  return 0;
}

void RedrawInLayout() { RedrawFileInView(GetCurrentLayerFileName(), LayoutArea, kViewLayout); }

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
  GetDrawingExtentWithTexts(allLayers, e);
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
  GetDrawingExtentWithTexts(allLayers, e);
  if (!UsableExtent(e)) return;
  const TExtentsPair& l = LayoutArea;
  const double dx = (double(l.minCorner.x) + l.maxCorner.x - e.minCorner.x - e.maxCorner.x) / 2;
  const double dy = (double(l.minCorner.y) + l.maxCorner.y - e.minCorner.y - e.maxCorner.y) / 2;
  ShiftDrawingFiles(dx, dy, allLayers);
  TransformTextObjectsHook(TextLayerOf(allLayers), 0.0, 0.0, dx, dy, kTextShift);
  RedrawInLayout();
}

void CentreLayoutAreaOnOrigin() {
  FlushVectorStoreToCurrentLayer();
  const bool allLayers = TransformAllLayers();
  TExtentsPair& l = LayoutArea;
  const float a = (l.maxCorner.x - l.minCorner.x) / 2, c = (l.maxCorner.y - l.minCorner.y) / 2;
  const double dx = -(double(l.minCorner.x) + a), dy = -(double(l.minCorner.y) + c);
  l.minCorner.x = -a;
  l.maxCorner.x = a;
  l.minCorner.y = -c;
  l.maxCorner.y = c;
  TakeUndoSnapshot(allLayers ? kUndoLayersAndTexts : kUndoLayerAndTexts);
  ShiftDrawingFiles(dx, dy, allLayers);
  TransformTextObjectsHook(TextLayerOf(allLayers), 0.0, 0.0, dx, dy, kTextShift);
  SaveLayoutAreaToParams();
  RedrawInLayout();
}

// --- moving the drawing with the mouse ----------------------------------------------------------
// A preview of the drawing (at most 20000 records) follows the cursor with
// the extent's first corner on it; F3 and F4 turn it by +30 and -30 degrees
// about the middle of the moved frame.

namespace {

constexpr int32_t kPreviewRecords = 20000;
constexpr double kPreviewStep = 0.52359877559829887;  // 30 degrees
constexpr uint8_t kScanF3 = 61, kScanF4 = 62;

struct TMovePreview {
  std::vector<TVectorRecord> records;
  TExtentsPair extent{};
};

void FillMovePreview(bool allLayers, TMovePreview& p) {
  std::string names[kMaxLayerNumber + 1];
  const int n = CollectDrawingFiles(allLayers, names);
  for (int i = 0; i < n && int32_t(p.records.size()) < kPreviewRecords; ++i) {
    std::vector<TVectorRecord> part;
    ReadVectorRecords(names[i], kPreviewRecords - int64_t(p.records.size()), part);
    p.records.insert(p.records.end(), part.begin(), part.end());
  }
}

void PreviewPixel(double x, double y, int& sx, int& sy) {
  int32_t lx = 0, ly = 0;
  WorldToScreenLong(float(std::clamp(x, -1.0e6, 1.0e6)), float(std::clamp(y, -1.0e6, 1.0e6)), lx, ly);
  sx = int(std::clamp<int32_t>(lx, -30000, 30000));
  sy = int(std::clamp<int32_t>(ly, -30000, 30000));
}

// Draws (xor) the frame shifted by (dx, dy) and the records shifted and
// turned by angle about the frame's middle: lines to 10 and 12, moves to
// 11 and 27; an arc or any other record lifts the pen.
void DrawMovePreview(const TMovePreview& p, double dx, double dy, double angle) {
  EraseMouseCursor();
  const TExtentsPair& e = p.extent;
  const double x1 = e.minCorner.x + dx, y1 = e.minCorner.y + dy, x2 = e.maxCorner.x + dx, y2 = e.maxCorner.y + dy;
  const double cx = (x1 + x2) / 2, cy = (y1 + y2) / 2, c = std::cos(angle), s = std::sin(angle);
  SetDrawColorAndMode(kXorMode, kPreviewColour);
  SetPenStyle(4, 0x3333, 1);
  int ax, ay, bx, by;
  PreviewPixel(x1, y2, ax, ay);
  PreviewPixel(x2, y1, bx, by);
  DrawFrameRect(ax, ay, bx, by);
  SetPenStyle(0, 0xFFFF, 1);
  bool penDown = false;
  int lx = 0, ly = 0;
  for (const TVectorRecord& r : p.records) {
    const uint8_t t = r.type;
    if (t != kRecLinePoint && t != kRec3DPoint && t != kRecContourStart && t != kRecAltContourStart) {
      penDown = false;
      continue;
    }
    const double px = r.x + dx - cx, py = r.y + dy - cy;
    int sx, sy;
    PreviewPixel(cx + px * c - py * s, cy + px * s + py * c, sx, sy);
    if (penDown && (t == kRecLinePoint || t == kRec3DPoint)) DrawScreenLine(lx, ly, sx, sy);
    penDown = true;
    lx = sx;
    ly = sy;
  }
  SetRopCopy();
}

}  // namespace

void MoveDrawingInteractively(bool allLayers) {
  TMovePreview p;
  GetDrawingExtentWithTexts(allLayers, p.extent);
  if (!UsableExtent(p.extent)) return;
  FillMovePreview(allLayers, p);
  ShowInputPrompt(GetMessageText(6, -39) + " (" + GetMessageText(784, -39) + " <F3>:+30\xF8 <F4>:-30\xF8)");
  const float firstX = p.extent.minCorner.x, firstY = p.extent.minCorner.y;
  double angle = 0.0;
  double dx = CursorPoint.x - firstX, dy = CursorPoint.y - firstY;
  DrawMovePreview(p, dx, dy, angle);
  std::string text;
  ButtonResult = 0;
  MouseButtonState = 0;  // the click that led here is used up
  for (;;) {
    EditPromptLine(text);
    if (CloseRequested && ButtonResult == 0) ButtonResult = 4;
    if (ButtonResult != 0) break;
    double turn = 0.0;
    if (ExtendedKeyFlag != 0 && CursorKeyCode == kScanF3) turn = kPreviewStep;
    if (ExtendedKeyFlag != 0 && CursorKeyCode == kScanF4) turn = -kPreviewStep;
    const double ndx = CursorPoint.x - firstX, ndy = CursorPoint.y - firstY;
    if (turn != 0.0 || ndx != dx || ndy != dy) {
      DrawMovePreview(p, dx, dy, angle);
      angle += turn;
      dx = ndx;
      dy = ndy;
      DrawMovePreview(p, dx, dy, angle);
    }
  }
  DrawMovePreview(p, dx, dy, angle);
  if (ButtonResult != 2) return;
  double px = CursorPoint.x, py = CursorPoint.y;
  TCoordinateList list;
  int count = 0;
  if (!text.empty()) ParseCoordinateList(text, list, 2, count);
  if (count == 2) {
    px = CoordinateListValue(list, 1);
    py = CoordinateListValue(list, 2);
  }
  const double sx = px - firstX, sy = py - firstY;
  const bool turned = std::fabs(angle) > kSmallestRotation;
  if (turned && AnyTextObjects() && !AskIncludeTextsHook()) return;
  ShiftDrawingFiles(sx, sy, allLayers);
  if (turned) {
    const double cx = (double(p.extent.minCorner.x) + p.extent.maxCorner.x) / 2 + sx;
    const double cy = (double(p.extent.minCorner.y) + p.extent.maxCorner.y) / 2 + sy;
    RotateDrawingFiles(angle, cx, cy, allLayers ? kRotateAllLayers : kRotateCurrentLayer);
  }
  TransformTextObjectsHook(TextLayerOf(allLayers), 0.0, 0.0, sx, sy, kTextShift);
  RedrawInLayout();
}

// --- the dialog -------------------------------------------------------------------------------
// A panel at the top left: a light grey field with the value rows, cancel
// and OK at the top right, the four actions on the right and, with the
// origin grid, nine boxes for the origin positions and a tenth for the free
// corners. The current field runs on each pass: value rows are edited, a box
// ends the dialog or picks an origin position.

namespace {

constexpr int kPanelLeft = 0, kPanelRight = 480, kPanelTop = 48, kPanelBottom = 297;
constexpr int kFirstValueField = 7, kLastField = 18, kFirstOriginField = 19, kFreeField = 28;
constexpr int kFieldCancel = 1, kFieldOk = 2, kFirstActionField = 3;
constexpr int16_t kGreyText = 7;
constexpr int16_t kBlackText = 274;
constexpr int16_t kFaceColour = 260;
constexpr plat::TColorRef kFieldGrey = plat::Rgb(235, 235, 235);
// The action buttons start this far right of the panel's left edge and end
// 8 pixels before its right edge; a caption keeps 8 pixels each side.
constexpr int kActionLeft = 328, kActionMargin = 8 + 16;
// The origin frame runs this far left of the panel's right edge; the heading
// keeps this gap before it.
constexpr int kOriginFrameWidth = 136, kHeadingGap = 8;

std::string ActionCaption(int k) { return GetMessageText(int16_t(774 + k), -39); }

struct TLayoutDialog {
  int mode = 0;
  TLayoutPanelLayout layout;
  int origin = 0;  // 1..9 the chosen origin position, 0 the free corners
  float width = 0, height = 0;
};

float MarginAt(const TExtentsPair& d, int i) {
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&d);
  const int offsets[4] = {1, 5, 10, 14};
  float v;
  std::memcpy(&v, bytes + offsets[i], 4);
  return std::isfinite(v) ? v : 0.0f;
}

void SetMarginAt(TExtentsPair& d, int i, float v) {
  uint8_t* bytes = reinterpret_cast<uint8_t*>(&d);
  const int offsets[4] = {1, 5, 10, 14};
  std::memcpy(bytes + offsets[i], &v, 4);
}

int LastEditableField(int mode) {
  const int rows = mode & kLayoutRowsMask;
  return rows == 0 ? 18 : rows == 1 ? 17 : 12;
}

bool MarginFrameOn() { return (LayoutDetails.minCorner.type & 1) != 0; }

bool FieldSkipped(const TLayoutDialog& d, int field) {
  if (d.origin != 0 && (field == 9 || field == 10)) return true;
  if (field >= 14 && field <= 17 && !MarginFrameOn()) return true;
  return false;
}

std::string FieldCaption(const TLayoutDialog& d, int field) {
  if (field == 7) return GetMessageText(d.origin != 0 ? 2740 : 90, -24);
  if (field == 8) return GetMessageText(d.origin != 0 ? 2741 : 91, -24);
  if (field == 9 || field == 10) return GetMessageText(int16_t(field + 83), -24);
  if (field >= 11 && field <= 13) return GetMessageText(int16_t(2087 + field - 11), -24);
  if (field >= 14 && field <= 17) return GetMessageText(int16_t(94 + field - 14), -24);
  return GetMessageText(1624, -24);
}

// Switch bits of the yes/no rows 11-13 in LayoutDetails' first byte.
uint8_t SwitchBit(int field) { return field == 11 ? 4 : field == 12 ? 2 : 1; }

bool SwitchOn(int field) {
  if (field == 18) return LayoutArea.minCorner.type != 0;
  return (LayoutDetails.minCorner.type & SwitchBit(field)) != 0;
}

float FieldValue(const TLayoutDialog& d, int field) {
  const TExtentsPair& a = LayoutArea;
  switch (field) {
    case 7: return d.origin != 0 ? d.width : a.minCorner.x;
    case 8: return d.origin != 0 ? d.height : a.minCorner.y;
    case 9: return a.maxCorner.x;
    case 10: return a.maxCorner.y;
    default: return MarginAt(LayoutDetails, field - 14);
  }
}

int RowOfField(const TLayoutDialog& d, int field) { return d.layout.firstRowLine + field - kFirstValueField; }

bool FieldShown(const TLayoutDialog& d, int field) {
  return field <= LastEditableField(d.mode) && !(d.origin != 0 && (field == 9 || field == 10));
}

void DrawField(const TLayoutDialog& d, int field) {
  const TLayoutPanelLayout& L = d.layout;
  const int row = RowOfField(d, field);
  FillColorRect(L.left + 5, 16 * row, L.left + 319, 16 * row + 15, kFieldGrey);
  if (!FieldShown(d, field)) return;
  const bool greyed = field >= 14 && field <= 17 && !MarginFrameOn();
  WriteCellText(L.labelColumn, row, FieldCaption(d, field), false, greyed ? kGreyText : kBlackText, kBlackText);
  const std::string value = (field >= 11 && field <= 13) || field == 18 ? FormatYesNoText(SwitchOn(field) ? 'J' : 'N')
                                                                         : FormatRealText(8, 3, FieldValue(d, field));
  DrawPlainCellButton(L.fieldColumn, row, value, greyed ? kGreyText : kFieldRestText, kFieldRestBox);
}

void DrawFields(const TLayoutDialog& d) {
  for (int f = kFirstValueField; f <= kLastField; ++f) DrawField(d, f);
}

void DrawOriginGrid(const TLayoutDialog& d) {
  if (!(d.mode & kLayoutOriginGrid)) return;
  for (int n = kFirstOriginField; n <= kFreeField; ++n) {
    const TBox& b = d.layout.boxes[n - 1];
    const bool chosen = n == kFreeField ? d.origin == 0 : d.origin == n - kFirstOriginField + 1;
    FillColorRect(b.x1, b.y1, b.x2, b.y2, GetColorRef(chosen ? 12 : 261));
    SetDrawColorAndMode(13, kBlackText);
    DrawFrameRect(b.x1, b.y1, b.x2, b.y2);
  }
}

void DrawLayoutPanel(const TLayoutDialog& d) {
  const TLayoutPanelLayout& L = d.layout;
  DrawGreyDialogPanel(L.left, L.top, L.right, GetMessageText(89, -39), L.bottom);
  FillColorRect(L.left + 4, L.top + 47, L.left + 320, L.bottom - 4, kFieldGrey);
  DrawBevelFrame(L.left + 4, L.top + 47, L.left + 320, L.bottom - 4);
  TBox cancel = L.boxes[kFieldCancel - 1], ok = L.boxes[kFieldOk - 1];
  PlaceCancelButton(cancel.x1, cancel.y1, cancel);
  PlaceOkButton(ok.x1, ok.y1, ok);
  const bool actions = !(d.mode & kLayoutNoActions);
  for (int k = 0; k < 4; ++k)
    DrawCaptionButton(ActionCaption(k), L.boxes[kFirstActionField - 1 + k], kFaceColour, 0,
                      actions ? kBlackText : kGreyText);
  WriteCellText(L.heading.x1 / 8, L.firstRowLine - 1, LayoutLimitsHeading(), false, kBlackText, kBlackText);
  if (d.mode & kLayoutOriginGrid) {
    const TBox& f = L.originFrame;
    SetDrawColorAndMode(13, kBlackText);
    DrawFrameRect(f.x1, f.y1, f.x2, f.y2);
    DrawOriginGrid(d);
  } else {
    DrawNamedPicture("LayoutGrenzen", L.right - 150, L.top + 40, 142, 80, 0);
  }
  DrawFields(d);
}

// The corners for the chosen origin from the current width and height.
void PlaceAtChosenOrigin(TLayoutDialog& d) {
  if (d.origin == 0) return;
  PlaceLayoutAtOrigin(d.origin, d.width, d.height, LayoutArea);
}

void StoreFieldValue(TLayoutDialog& d, int field, float v) {
  TExtentsPair& a = LayoutArea;
  switch (field) {
    case 7:
      if (d.origin != 0) d.width = v;
      else a.minCorner.x = v;
      break;
    case 8:
      if (d.origin != 0) d.height = v;
      else a.minCorner.y = v;
      break;
    case 9: a.maxCorner.x = v; break;
    case 10: a.maxCorner.y = v; break;
    default: SetMarginAt(LayoutDetails, field - 14, v); break;
  }
  PlaceAtChosenOrigin(d);
}

// One pass of a value row; the exit code of its editor.
uint8_t EditField(TLayoutDialog& d, int field) {
  const int row = RowOfField(d, field);
  uint8_t exitCode = 0;
  if ((field >= 11 && field <= 13) || field == 18) {
    TChoicePair pairs[3];
    pairs[0] = {'J', FormatYesNoText('J')};
    pairs[1] = {'N', FormatYesNoText('N')};
    pairs[2] = {'Y', FormatYesNoText('J')};
    char value = SwitchOn(field) ? 'J' : 'N';
    const char before = value;
    EditYesNoField(value, pairs, 3, d.layout.fieldColumn, row, exitCode);
    ResolveYesNoChoice(value, exitCode, d.layout.fieldColumn * 8, row);
    const bool on = value == 'J' || value == 'Y' || (value == 0 && before == 'J');
    if (field == 18) {
      LayoutArea.minCorner.type = on ? 1 : 0;
    } else {
      const uint8_t bit = SwitchBit(field);
      const uint8_t switches = LayoutDetails.minCorner.type;
      LayoutDetails.minCorner.type = uint8_t(on ? (switches | bit) : (switches & ~bit));
    }
    if (field == 13) DrawFields(d);  // the margin rows greyed or not
    else DrawField(d, field);
    return exitCode;
  }
  float v = FieldValue(d, field);
  const float high = field >= 14 ? 49.99f : 9999.999f;
  EditRealField(v, d.layout.fieldColumn, row, high, -9999.999f, 3, exitCode);
  StoreFieldValue(d, field, v);
  DrawFields(d);
  return exitCode;
}

// The field under a click; 0 none.
int HitLayoutField(const TLayoutDialog& d, int x, int y) {
  for (int n = 1; n <= kFreeField; ++n) {
    const TBox& b = d.layout.boxes[n - 1];
    if (b.flag == 0) continue;
    const int m = n >= kFirstOriginField ? 3 : 0;
    if (x >= b.x1 - m && x <= b.x2 + m && y >= b.y1 - m && y <= b.y2 + m) return n;
  }
  return 0;
}

void ChooseOrigin(TLayoutDialog& d, int position) {
  d.width = LayoutArea.maxCorner.x - LayoutArea.minCorner.x;
  d.height = LayoutArea.maxCorner.y - LayoutArea.minCorner.y;
  d.origin = position;
  PlaceAtChosenOrigin(d);
  DrawOriginGrid(d);
  DrawFields(d);
}

}  // namespace

std::string LayoutLimitsHeading() { return GetMessageText(1056, -39) + " " + GetMessageText(757, -39); }

void LayOutLayoutLimitsPanel(TLayoutPanelLayout& L, int mode) {
  L.left = kPanelLeft;
  // The panel widens until the action buttons hold their captions whole and
  // the origin frame stands clear right of the heading.
  int widest = 0;
  if (!(mode & kLayoutNoActions))
    for (int k = 0; k < 4; ++k) widest = std::max(widest, MeasureButtonTextWidth(ActionCaption(k)));
  L.right = std::max(kPanelRight, L.left + kActionLeft + widest + kActionMargin);
  const int headingLeft = (L.left / 8 + 1) * 8;
  const int headingRight = headingLeft + MeasureScreenTextWidth(LayoutLimitsHeading()) - 1;
  if (mode & kLayoutOriginGrid) L.right = std::max(L.right, headingRight + kHeadingGap + kOriginFrameWidth);
  L.top = kPanelTop;
  L.bottom = kPanelBottom;
  L.labelColumn = L.left / 8 + 1;
  L.fieldColumn = L.left / 8 + 31;
  L.firstRowLine = (L.top + 47) / 16 + 1;
  for (TBox& b : L.boxes) b = TBox{};
  L.originFrame = TBox{};
  auto set = [&](int n, int x1, int y1, int x2, int y2) {
    L.boxes[n - 1] = TBox{1, int16_t(x1), int16_t(y1), int16_t(x2), int16_t(y2)};
  };
  set(kFieldCancel, L.right - 26, L.top + 4, L.right - 4, L.top + 26);
  set(kFieldOk, L.right - 50, L.top + 4, L.right - 28, L.top + 26);
  if (!(mode & kLayoutNoActions))
    for (int k = 0; k < 4; ++k)
      set(kFirstActionField + k, L.left + kActionLeft, L.top + 128 + 32 * k, L.right - 8, L.top + 150 + 32 * k);
  for (int f = kFirstValueField; f <= LastEditableField(mode); ++f) {
    const int row = L.firstRowLine + f - kFirstValueField;
    set(f, L.left + 5, 16 * row, L.left + 319, 16 * row + 15);
  }
  if (mode & kLayoutOriginGrid) {
    const int xs[3] = {125, 69, 13}, ys[3] = {51, 81, 111};
    for (int n = 0; n < 9; ++n) {
      const int cx = L.right - xs[n % 3], cy = L.top + ys[n / 3];
      set(kFirstOriginField + n, cx - 5, cy - 5, cx + 4, cy + 4);
    }
    set(kFreeField, L.right - 147 - 5, L.top + 96 - 5, L.right - 147 + 4, L.top + 96 + 4);
    L.originFrame = TBox{1, int16_t(L.right - kOriginFrameWidth), int16_t(L.top + 40), int16_t(L.right - 2),
                         int16_t(L.top + 121)};
  }
  const int headingLine = L.firstRowLine - 1;
  L.heading = TBox{1, int16_t(headingLeft), int16_t(16 * headingLine), int16_t(headingRight),
                   int16_t(16 * headingLine + 15)};
}

void RunLayoutLimitsDialog(int mode) {
  EraseMouseCursor();
  FlushVectorStoreToCurrentLayer();
  const TExtentsPair oldArea = LayoutArea, oldDetails = LayoutDetails;
  const int rows = mode & kLayoutRowsMask;
  if (rows == 1 || rows == 2) LayoutArea.minCorner.type = 0;
  if (rows == 2) LayoutDetails.minCorner.type &= uint8_t(~1);

  TLayoutDialog d;
  d.mode = mode;
  LayOutLayoutLimitsPanel(d.layout, mode);
  d.origin = (mode & kLayoutOriginGrid) ? OriginPositionOfCode(GetLayoutOriginCode()) : 0;
  d.width = LayoutArea.maxCorner.x - LayoutArea.minCorner.x;
  d.height = LayoutArea.maxCorner.y - LayoutArea.minCorner.y;

  TPopupFrame frame{};
  frame.left = int16_t(d.layout.left);
  frame.right = int16_t(d.layout.right);
  frame.top = int16_t(d.layout.top);
  frame.lines = int16_t(LinesForHeight(d.layout.bottom - d.layout.top + 1));
  frame.bottom = int16_t(d.layout.bottom);
  OpenPopupFrame(frame);
  DrawLayoutPanel(d);

  const int last = LastEditableField(mode);
  int field = kFirstValueField;
  int exitField = 0;  // the field that ended the dialog; 1 cancel
  while (exitField == 0) {
    if (CloseRequested) {
      exitField = kFieldCancel;
      break;
    }
    if (field >= kFirstOriginField) {
      ChooseOrigin(d, field == kFreeField ? 0 : field - kFirstOriginField + 1);
      WaitForMouseRelease();
      field = kFirstValueField;
      continue;
    }
    if (field < kFirstValueField) {
      exitField = field;
      break;
    }
    const uint8_t code = EditField(d, field);
    if (code == 2 && MouseButtonState == 2) {
      // A click ended the edit: that box becomes the current field.
      const int hit = HitLayoutField(d, MouseX, MouseY);
      if (hit < kFirstValueField) WaitForMouseRelease();
      if (hit != 0) field = hit;
      continue;
    }
    int step = 0;
    switch (code) {
      case 2: case 5: step = 1; break;
      case 4: step = -1; break;
      case 3: exitField = kFieldCancel; break;
      case 8: exitField = kFieldOk; break;  // F1
      default: break;
    }
    if (step != 0) {
      int next = field;
      for (int f = field + step; f >= kFirstValueField && f <= last; f += step)
        if (!FieldSkipped(d, f)) {
          next = f;
          break;
        }
      field = next;
    }
  }
  ClosePopupFrame(frame);
  WaitForMouseRelease();

  bool cancelled = exitField == kFieldCancel;
  if (!cancelled && (std::fabs(double(LayoutArea.maxCorner.x) - LayoutArea.minCorner.x) < kSmallestLayout ||
                     std::fabs(double(LayoutArea.maxCorner.y) - LayoutArea.minCorner.y) < kSmallestLayout)) {
    ShowTitledMessage(GetMessageText(kMessageTooSmall, -39));
    cancelled = true;
  }
  if (cancelled) {
    LayoutArea = oldArea;
    LayoutDetails = oldDetails;
    return;
  }
  const bool allLayers = TransformAllLayersFlag == 1;
  const TExtentsPair newArea = LayoutArea, newDetails = LayoutDetails;
  LayoutArea = oldArea;
  LayoutDetails = oldDetails;
  TakeUndoSnapshot(allLayers ? kUndoLayoutAll : kUndoLayoutLayer);
  LayoutArea = newArea;
  LayoutDetails = newDetails;
  switch (exitField) {
    case kFirstActionField:
      FitLayoutAreaToDrawing(allLayers);
      break;
    case kFirstActionField + 1:
      if (StoreLayoutArea(oldArea, oldDetails)) CentreDrawingInLayoutArea(allLayers);
      break;
    case kFirstActionField + 2:
      if (StoreLayoutArea(oldArea, oldDetails)) CentreLayoutAreaOnOrigin();
      break;
    case kFirstActionField + 3:
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
