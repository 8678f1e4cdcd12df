// The transform dialog; see transform_dialog.h.
//
// Sections: state and helpers - applying - the dialog (the panel) - commands
// and the handle loop.
#include "cad/transform_dialog.h"

#include <cmath>
#include <string>

#include "model/geometry_2d.h"
#include "cad/snapping.h"
#include "cad/mouse_selection.h"
#include "frame/window_draw.h"
#include "ui/buttons_controls.h"
#include "model/record_files.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "model/layer_files.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "ui/cell_fields.h"
#include "ui/common_dialogs.h"
#include "ui/panels.h"
#include "ui/popup_list.h"
#include "commands/input_wait.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"
#include "view/extents.h"
#include "view/view_transform.h"

TTransformDialogState TransformDialogState{};

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;
constexpr float kValueLimit = 10000.0f;
constexpr float kShearLimit = 45.0f;
constexpr float kAngleLimit = 360.0f;
constexpr int kUndoLayerAndStore = kUndoCurrentLayer | kUndoStore;  // 3

bool StoreHasRecords() { return StoreHoldsData != 0 && CountVectorRecordsQuiet(kVectorStoreName) > 0; }

void StoreExtent(TExtentsPair& e) { GetVectorFileExtentOwnBuffer(kVectorStoreName, true, e); }

}  // namespace

// --- state and helpers -------------------------------------------------------------------

void ResetTransformDialogState() { TransformDialogState = TTransformDialogState{}; }

float KeepRatioOtherValue(float oldValue, float newValue, float other) {
  if (oldValue == 0.0f || !std::isfinite(oldValue)) return other;
  const double v = double(newValue) / oldValue * other;
  return std::isfinite(v) ? float(v) : other;
}

double SizeFactor(double target, double length) { return length <= kHandleThinExtent ? 0.0 : target / length; }

// --- applying ------------------------------------------------------------------------------

void ApplyTransformToStore(uint8_t mode, const TExtentsPair& extent, bool paintOver, double tx, double ty,
                           double angle, double fx, double fy, double cx, double cy) {
  (void)extent;
  if (mode < kTransformRotate || mode > kTransformShear) return;
  RewriteStoreRecords(paintOver, [=](TVectorRecord& r) {
    switch (mode) {
      case kTransformRotate:
        RotateRecordAbout(r, cx, cy, angle);
        break;
      case kTransformPercent:
      case kTransformSize:
        MapRecordAxes(r, fx, cx - fx * cx, fy, cy - fy * cy);
        break;
      case kTransformShear:
        if (IsPositionRecordType(r.type)) {
          const double x = r.x - (double(r.y) - cy) * tx;
          r.x = float(x);
          r.y = float(r.y + (x - cx) * ty);
        }
        break;
    }
  });
}

void ApplyTransformState(TTransformDialogState& s, TExtentsPair& extent) {
  if (!StoreHasRecords()) return;
  float rx = 0, ry = 0;
  GetReferencePoint(extent, s.reference, rx, ry);
  const bool duplicate = s.result == kResultDuplicate;
  TakeUndoSnapshot(kUndoLayerAndStore);
  if (duplicate)
    CopyOrAppendRecordFile(kVectorStoreName, GetCurrentLayerFileName(), kCopyDraw, GetCurrentLayerColour());
  const bool paintOver = !duplicate;
  switch (s.mode) {
    case kTransformMove:
      if (s.toggle == kToggleAbsolute) {
        s.value1 -= rx;
        s.value2 -= ry;
      }
      ShiftStoreRecords(paintOver, s.value1, s.value2);
      break;
    case kTransformRotate:
      if (s.toggle == kToggleRelative) {
        s.value2 += rx;
        s.value3 += ry;
      }
      ApplyTransformToStore(s.mode, extent, paintOver, 0, 0, s.value1 * kDegreesToRadians, 1, 1, s.value2, s.value3);
      break;
    case kTransformPercent:
      ApplyTransformToStore(s.mode, extent, paintOver, 0, 0, 0, s.value1 / 100.0, s.value2 / 100.0, rx, ry);
      break;
    case kTransformSize:
      ApplyTransformToStore(s.mode, extent, paintOver, 0, 0, 0,
                            SizeFactor(s.value1, double(extent.maxCorner.x) - extent.minCorner.x),
                            SizeFactor(s.value2, double(extent.maxCorner.y) - extent.minCorner.y), rx, ry);
      break;
    case kTransformShear:
      ApplyTransformToStore(s.mode, extent, paintOver, ComputeTangentOrZero(s.value1 * kDegreesToRadians),
                            ComputeTangentOrZero(s.value2 * kDegreesToRadians), 0, 1, 1, rx, ry);
      break;
    default:
      return;
  }
  StoreExtent(extent);
}

// --- the dialog ------------------------------------------------------------------------------
// A panel at the right edge of the graphic window: five mode buttons, up to
// three value rows with step (or mirror) buttons, the toggle, the 3 x 3
// reference grid and the duplicate and apply buttons. Within one opening
// every mode (and, for moves and turns, every toggle) keeps its own slot of
// values.

namespace {

constexpr int kPanelWidth = 184;
constexpr int kLabelCells = 6;  // a row's label ("Winkel") before its minus button
constexpr int kPanelHeight = 334;
constexpr int kHighlightColour = 12;
constexpr int16_t kGreyText = 7;
constexpr int16_t kBlackText = 274;
constexpr int16_t kFaceColour = 260;
constexpr int16_t kMessageRelative = 4055;
constexpr int16_t kMessageAbsolute = 4056;
constexpr int16_t kMessageKeepRatioOn = 2817;
constexpr int16_t kMessageKeepRatioOff = 2818;
constexpr int kBoxCancel = 1, kBoxFirstMode = 2, kBoxFirstRow = 7, kBoxToggle = 16, kBoxFirstReference = 17,
              kBoxDuplicate = 26, kBoxApply = 27;

int RowCount(uint8_t mode) { return mode == kTransformRotate ? 3 : 2; }

float StepOf(uint8_t mode) { return mode == kTransformRotate ? 1.0f : 0.1f; }

void RowLimits(uint8_t mode, int row, float& low, float& high) {
  high = mode == kTransformShear ? kShearLimit : (mode == kTransformRotate && row == 0) ? kAngleLimit : kValueLimit;
  low = -high;
}

float ClampToRow(uint8_t mode, int row, float v) {
  float low, high;
  RowLimits(mode, row, low, high);
  if (!std::isfinite(v)) return 0.0f;
  return v < low ? low : v > high ? high : v;
}

void SetPanelBox(TBox& b, int x1, int y1, int x2, int y2) {
  b = TBox{1, int16_t(x1), int16_t(y1), int16_t(x2), int16_t(y2)};
}

// Slot of a mode and toggle: moves and turns keep one per toggle.
int SlotOf(uint8_t mode, uint8_t toggle) {
  const int m = mode >= 1 && mode <= 5 ? mode : 1;
  return (m - 1) * 2 + ((m <= kTransformRotate && toggle == kToggleAbsolute) ? 1 : 0);
}

struct TDialogRun {
  const TExtentsPair* extent = nullptr;
  TTransformPanelLayout layout;
  bool offerDuplicate = false;
  uint8_t mode = kTransformMove;
  uint8_t toggle = kToggleAbsolute;
  uint8_t reference = 5;
  bool keepRatio = false;
  float shown[3] = {0, 0, 0};
  float slots[10][3] = {};
};

// The shown values go into the slot of the mode and toggle; a turn's angle
// is shared by both toggles.
void SaveSlot(TDialogRun& d) {
  float* s = d.slots[SlotOf(d.mode, d.toggle)];
  for (int i = 0; i < 3; ++i) s[i] = d.shown[i];
  const uint8_t otherToggle = uint8_t(kToggleRelative + kToggleAbsolute - d.toggle);
  if (d.mode == kTransformRotate) d.slots[SlotOf(kTransformRotate, otherToggle)][0] = d.shown[0];
}

// Moves in absolute terms always show the reference point.
void LoadSlot(TDialogRun& d) {
  const float* s = d.slots[SlotOf(d.mode, d.toggle)];
  for (int i = 0; i < 3; ++i) d.shown[i] = s[i];
  if (d.mode == kTransformMove && d.toggle == kToggleAbsolute) {
    d.shown[2] = 0;
    GetReferencePoint(*d.extent, d.reference, d.shown[0], d.shown[1]);
  }
}

void FillSlots(TDialogRun& d, const TTransformDialogState& s) {
  const TExtentsPair& e = *d.extent;
  float cx = 0, cy = 0;
  GetReferencePoint(e, 5, cx, cy);
  float(&v)[10][3] = d.slots;
  for (auto& slot : v) slot[0] = slot[1] = slot[2] = 0;
  v[SlotOf(kTransformRotate, kToggleAbsolute)][1] = cx;
  v[SlotOf(kTransformRotate, kToggleAbsolute)][2] = cy;
  v[SlotOf(kTransformPercent, 0)][0] = v[SlotOf(kTransformPercent, 0)][1] = 100;
  v[SlotOf(kTransformSize, 0)][0] = e.maxCorner.x - e.minCorner.x;
  v[SlotOf(kTransformSize, 0)][1] = e.maxCorner.y - e.minCorner.y;
  // The mode last used reopens with its last values (a size always starts
  // from the selection's size).
  TDialogRun last = d;
  last.mode = s.mode;
  last.toggle = s.toggle;
  last.shown[0] = s.value1;
  last.shown[1] = s.value2;
  last.shown[2] = s.value3;
  if (s.mode == kTransformSize) {
    last.shown[0] = e.maxCorner.x - e.minCorner.x;
    last.shown[1] = e.maxCorner.y - e.minCorner.y;
  }
  if (s.mode >= kTransformMove && s.mode <= kTransformShear) SaveSlot(last);
  for (int i = 0; i < 10; ++i)
    for (int k = 0; k < 3; ++k) d.slots[i][k] = last.slots[i][k];
}

std::string RowLabel(uint8_t mode, int row) {
  if (mode == kTransformRotate) return row == 0 ? GetMessageText(2872, -kLabelCells) : row == 1 ? "X" : "Y";
  if (mode == kTransformShear) return row == 0 ? "H" : "V";
  return row == 0 ? "X" : "Y";
}

int RowLine(const TTransformPanelLayout& L, int row) { return L.titleLine + 1 + 2 * row; }

void DrawValueField(const TDialogRun& d, int row) {
  DrawPlainCellButton(d.layout.fieldColumn, RowLine(d.layout, row), FormatRealText(8, 3, d.shown[row]), kFieldRestText,
                      kFieldRestBox);
}

void DrawRows(const TDialogRun& d) {
  const TTransformPanelLayout& L = d.layout;
  const int top = 16 * L.titleLine;
  FillColorRect(L.left + 3, top, L.right - 3, 16 * (L.titleLine + 6) + 4, GetColorRef(kFaceColour));
  FillColorRect(L.left + 3, top, L.right - 3, top + 15, plat::Rgb(235, 235, 235));
  WriteCellText(L.textColumn, L.titleLine, GetMessageText(int16_t(998 + d.mode), -19), false, kBlackText, kBlackText);
  for (int row = 0; row < RowCount(d.mode); ++row) {
    const int line = RowLine(L, row);
    const int16_t labelColour = (d.mode == kTransformRotate && row > 0) ? kHighlightColour : kBlackText;
    WriteCellText(L.textColumn, line, RowLabel(d.mode, row), false, labelColour, labelColour);
    const TBox& minus = L.boxes[kBoxFirstRow - 1 + 3 * row];
    const TBox& plus = L.boxes[kBoxFirstRow + 1 + 3 * row];
    if (minus.flag) DrawIconButton(" ", "StepMinus", minus, 0, kBlackText, kFaceColour);
    const char* picture = d.mode != kTransformPercent ? "StepPlus" : row == 0 ? "Spiegeln" : "SpiegelnY";
    DrawIconButton(" ", picture, plus, 0, kBlackText, kFaceColour);
    DrawValueField(d, row);
  }
}

void DrawToggle(const TDialogRun& d) {
  const TBox& b = d.layout.boxes[kBoxToggle - 1];
  int16_t message = d.toggle == kToggleAbsolute ? kMessageAbsolute : kMessageRelative;
  int16_t colour = kBlackText;
  if (d.mode == kTransformPercent || d.mode == kTransformSize)
    message = d.keepRatio ? kMessageKeepRatioOn : kMessageKeepRatioOff;
  else if (d.mode == kTransformShear)
    colour = kGreyText;
  DrawCaptionButton(GetMessageText(message, -19), b, kFaceColour, 0, colour);
  const int unitLine = 16 * d.layout.titleLine;
  const bool degrees = d.mode == kTransformRotate || d.mode == kTransformShear;
  FillColorRect(8 * d.layout.textColumn + 88, unitLine + 148, 8 * d.layout.textColumn + 143, unitLine + 187,
                GetColorRef(kFaceColour));
  DrawNamedPicture(degrees ? "UMFGrad" : "UMFPos", 8 * d.layout.textColumn + 88, unitLine + 148, 56, 40, 0);
}

void DrawReferenceGrid(const TDialogRun& d) {
  for (int n = 1; n <= 9; ++n) {
    const TBox& b = d.layout.boxes[kBoxFirstReference - 2 + n];
    FillColorRect(b.x1, b.y1, b.x2, b.y2, GetColorRef(n == d.reference ? kHighlightColour : 261));
    SetDrawColorAndMode(kCopyMode, kBlackText);
    DrawFrameRect(b.x1, b.y1, b.x2, b.y2);
  }
}

void DrawModeButtons(const TDialogRun& d) {
  static const char* const kPictures[5] = {"UmfPosit", "UmfDreh", "SkalierProz", "UmfGroesse", "UmfNeigen"};
  for (int k = 0; k < 5; ++k)
    DrawIconButton(" ", kPictures[k], d.layout.boxes[kBoxFirstMode - 1 + k], d.mode == k + 1, kBlackText, kFaceColour);
}

void DrawPanel(const TDialogRun& d) {
  const TTransformPanelLayout& L = d.layout;
  DrawGreyDialogPanel(L.left, L.top, L.right, GetMessageText(1004, -19), L.bottom);
  TBox cancel = L.boxes[kBoxCancel - 1];
  PlacePictureButton(cancel, cancel.x1, cancel.y1, "Abbruch");
  DrawModeButtons(d);
  DrawRows(d);
  DrawToggle(d);
  DrawNamedPicture("UMFBezug", 8 * L.textColumn + 4, 16 * L.titleLine + 144, 80, 64, 0);
  DrawReferenceGrid(d);
  if (L.boxes[kBoxDuplicate - 1].flag)
    DrawIconButton(GetMessageText(1005, -15), "UmfDupliz", L.boxes[kBoxDuplicate - 1], 0, kBlackText, kFaceColour);
  DrawIconButton(GetMessageText(1006, -15), "Mass", L.boxes[kBoxApply - 1], 0, kBlackText, kFaceColour);
}

// Mode, toggle or reference change: the shown values go to their slot
// first, the new slot comes back afterwards.
void SwitchTo(TDialogRun& d, uint8_t mode, uint8_t toggle, uint8_t reference) {
  SaveSlot(d);
  d.mode = mode;
  d.toggle = toggle;
  d.reference = reference;
  LayOutTransformPanel(d.layout, d.mode, d.offerDuplicate);
  LoadSlot(d);
  DrawModeButtons(d);
  DrawRows(d);
  DrawToggle(d);
  DrawReferenceGrid(d);
}

bool RatioMode(uint8_t mode) { return mode == kTransformPercent || mode == kTransformSize; }

// A step or mirror press on a row; with keep-ratio the other row follows.
void StepRow(TDialogRun& d, int row, int direction) {
  const int rows = d.keepRatio && RatioMode(d.mode) ? 2 : 1;
  for (int k = 0; k < rows; ++k) {
    const int r = rows == 2 ? k : row;
    if (d.mode == kTransformPercent) d.shown[r] = -d.shown[r];
    else d.shown[r] = ClampToRow(d.mode, r, d.shown[r] + direction * StepOf(d.mode));
    DrawValueField(d, r);
  }
}

void EditRow(TDialogRun& d, int row) {
  float low, high;
  RowLimits(d.mode, row, low, high);
  const float old = d.shown[row];
  uint8_t exitCode = 0;
  WaitForMouseRelease();
  EditRealField(d.shown[row], d.layout.fieldColumn, RowLine(d.layout, row), high, low, 3, exitCode);
  if (d.keepRatio && RatioMode(d.mode) && d.shown[row] != old) {
    const int other = 1 - row;
    d.shown[other] = ClampToRow(d.mode, other, KeepRatioOtherValue(old, d.shown[row], d.shown[other]));
  }
  for (int r = 0; r < RowCount(d.mode); ++r) DrawValueField(d, r);
}

}  // namespace

void LayOutTransformPanel(TTransformPanelLayout& L, uint8_t mode, bool offerDuplicate) {
  const int w = DrawingArea.x2;
  const int y0 = (DrawingArea.y1 / 16 + 1) * 16;
  L.left = w - kPanelWidth;
  L.right = w;
  L.top = y0;
  L.bottom = y0 + kPanelHeight;
  L.textColumn = (w - kPanelWidth) / 8 + 2;
  const int x = 8 * L.textColumn;
  for (TBox& b : L.boxes) b = TBox{};
  SetPanelBox(L.boxes[kBoxCancel - 1], w - 26, y0 + 4, w - 4, y0 + 26);
  const int x0 = w - (kPanelWidth - 3);  // left edge of the full-width buttons
  const int d = (kPanelWidth - 3) / 5;
  for (int k = 0; k < 5; ++k)
    SetPanelBox(L.boxes[kBoxFirstMode - 1 + k], x0 + k * d, y0 + 26, x0 + (k + 1) * d - 1, y0 + 26 + d);
  L.titleLine = (y0 + 26 + d) / 16 + 1;
  // The value field sits between the step buttons: the minus button after
  // the label's cells, the field three cells further, plus from W - 27.
  const int minusX = x + 8 * kLabelCells;
  L.fieldColumn = L.textColumn + kLabelCells + 3;
  const int rows = RowCount(mode);
  for (int row = 0; row < rows; ++row) {
    const int top = 16 * (L.titleLine + 1 + 2 * row);
    if (mode != kTransformPercent) SetPanelBox(L.boxes[kBoxFirstRow - 1 + 3 * row], minusX, top - 4, minusX + 23, top + 20);
    SetPanelBox(L.boxes[kBoxFirstRow + 3 * row], minusX + 24, top - 4, w - 28, top + 20);
    SetPanelBox(L.boxes[kBoxFirstRow + 1 + 3 * row], w - 27, top - 4, w - 3, top + 20);
  }
  const int line = 16 * L.titleLine;
  SetPanelBox(L.boxes[kBoxToggle - 1], x0, line + 112, w - 2, line + 136);
  for (int n = 0; n < 9; ++n) {
    const int bx = x + 10 + 28 * (n % 3), by = line + 150 + 20 * (n / 3);
    SetPanelBox(L.boxes[kBoxFirstReference - 1 + n], bx, by, bx + 9, by + 9);
  }
  if (offerDuplicate) SetPanelBox(L.boxes[kBoxDuplicate - 1], x0, line + 216, w - 2, line + 240);
  SetPanelBox(L.boxes[kBoxApply - 1], x0, line + 242, w - 2, line + 266);
}

bool RunTransformDialog(const TExtentsPair& extent, TTransformDialogState& s, bool offerDuplicate) {
  if (s.reference == 0) s.reference = 1;
  if (s.reference > 9) s.reference = 9;
  TDialogRun d;
  d.extent = &extent;
  d.offerDuplicate = offerDuplicate;
  d.mode = s.mode >= kTransformMove && s.mode <= kTransformShear ? s.mode : kTransformMove;
  d.toggle = s.toggle == kToggleRelative ? kToggleRelative : kToggleAbsolute;
  d.reference = s.reference;
  FillSlots(d, s);
  LayOutTransformPanel(d.layout, d.mode, offerDuplicate);
  LoadSlot(d);

  EraseMouseCursor();
  TPopupFrame frame{};
  frame.left = int16_t(d.layout.left);
  frame.right = int16_t(d.layout.right);
  frame.top = int16_t(d.layout.top);
  frame.lines = int16_t(LinesForHeight(kPanelHeight + 1));
  frame.bottom = int16_t(d.layout.bottom);
  OpenPopupFrame(frame);
  DrawPanel(d);

  int result = 0;  // 1 cancelled, kBoxDuplicate, kBoxApply
  while (result == 0) {
    if (CloseRequested || RedrawRequested()) {
      result = 1;
      break;
    }
    if (PollKeyPressed()) {
      if (ReadNextKey() == 27) result = 1;
      continue;
    }
    int16_t mx = 0, my = 0;
    PollMousePosition(mx, my);
    if (MouseButtonState == 4) {
      result = 1;
      break;
    }
    if (MouseButtonState != 2) {
      WaitForWindowMessage();
      continue;
    }
    int hit = 0;
    for (int n = 1; n <= kTransformPanelBoxes && hit == 0; ++n)
      if (d.layout.boxes[n - 1].flag && IsPointInButton(d.layout.boxes[n - 1], mx, my)) hit = n;
    if (hit >= kBoxFirstRow && hit < kBoxToggle && (hit - kBoxFirstRow) % 3 == 1) {
      EditRow(d, (hit - kBoxFirstRow) / 3);  // ends with the button up or on the next click
      continue;
    }
    WaitForMouseRelease();
    if (hit == kBoxCancel) {
      result = 1;
    } else if (hit >= kBoxFirstMode && hit < kBoxFirstRow) {
      const uint8_t mode = uint8_t(hit - kBoxFirstMode + 1);
      if (mode != d.mode) {
        d.keepRatio = false;
        SwitchTo(d, mode, d.toggle, d.reference);
      }
    } else if (hit >= kBoxFirstRow && hit < kBoxToggle) {
      StepRow(d, (hit - kBoxFirstRow) / 3, (hit - kBoxFirstRow) % 3 == 0 ? -1 : 1);
    } else if (hit == kBoxToggle) {
      if (RatioMode(d.mode)) {
        d.keepRatio = !d.keepRatio;
        DrawToggle(d);
      } else if (d.mode != kTransformShear) {
        SwitchTo(d, d.mode, uint8_t(kToggleRelative + kToggleAbsolute - d.toggle), d.reference);
      }
    } else if (hit >= kBoxFirstReference && hit < kBoxDuplicate) {
      SwitchTo(d, d.mode, d.toggle, uint8_t(hit - kBoxFirstReference + 1));
    } else if (hit == kBoxDuplicate || hit == kBoxApply) {
      result = hit;
    }
  }
  ClosePopupFrame(frame);
  // The state takes what was shown, also on cancel.
  s.mode = d.mode;
  s.toggle = d.toggle;
  s.reference = d.reference;
  s.value1 = d.shown[0];
  s.value2 = d.shown[1];
  s.value3 = d.mode == kTransformRotate ? d.shown[2] : 0.0f;
  if (result == 1) return false;
  s.result = result == kBoxDuplicate ? kResultDuplicate : kResultApply;
  return true;
}

// --- commands --------------------------------------------------------------------------------

void RunTransformCommand(THandleSet& handles, TExtentsPair& extent, bool offerDuplicate) {
  (void)handles;
  if (!StoreHasRecords()) return;
  if (RunTransformDialog(extent, TransformDialogState, offerDuplicate))
    ApplyTransformState(TransformDialogState, extent);
  WaitForMouseRelease();
}

void TransformSelectionCommand() {
  if (!EnsureSelectionInStore()) return;
  WaitForMouseRelease();
  TExtentsPair extent{};
  StoreExtent(extent);
  THandleSet handles{};
  RunTransformCommand(handles, extent, true);
  EnterMarkMode();
}

void RunSelectionHandleLoop() {
  THandleSet handles{};
  TExtentsPair extent{};
  ShowSelectionHandles(handles, extent);
  for (;;) {
    ButtonResult = 0;
    PollGraphicCursor();
    if (CloseRequested || ButtonResult == 4 || MouseButtonState == 4) break;
    if (CursorKeyCode == 9 || CursorKeyCode == ' ') {
      HideSelectionHandles(handles, extent);
      RunTransformCommand(handles, extent, false);
      ShowSelectionHandles(handles, extent);
      continue;
    }
    if (MouseButtonState == 2) {
      HandleSelectionHandleClick(handles, extent, false);
      WaitForMouseRelease();
      continue;
    }
    WaitForWindowMessage();
  }
  WaitForMouseRelease();
  HideSelectionHandles(handles, extent);
}
