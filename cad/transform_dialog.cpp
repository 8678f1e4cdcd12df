// The transform dialog; see transform_dialog.h.
//
// Sections: state and helpers - applying - the dialog - commands.
#include "cad/transform_dialog.h"

#include <cmath>

#include "cad/geometry_2d.h"
#include "cad/snapping.h"
#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "model/layer_files.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "ui/input_form.h"
#include "ui/popup_list.h"
#include "ui/start_dialogs_standin.h"
#include "view/character_cells.h"
#include "view/extents.h"
#include "view/view_transform.h"

TTransformDialogState TransformDialogState{};

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;
constexpr float kValueLimit = 10000.0f;
constexpr float kShearLimit = 45.0f;
constexpr float kAngleLimit = 360.0f;
constexpr int kCopyMode = 13;
constexpr int kChangedColour = 12;
constexpr uint8_t kFormCancelled = 3;
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
  if (CountVectorRecordsQuiet(kVectorStoreName) <= 0) return;
  TVectorArray a;
  LoadVectorFileToBuffer(kVectorStoreName, a);
  if (a.count <= 0) return;
  if (paintOver) DrawVectorFile(kVectorStoreName, kCopyMode, PaperColor, kDrawIgnoreColours);
  const int32_t first =
      (a.count >= 2 && a.records[0].type == kRecMinCorner && a.records[1].type == kRecMaxCorner) ? 2 : 0;
  SetDrawColorAndMode(kCopyMode, kChangedColour);
  for (int32_t i = first; i < a.count; ++i) {
    TVectorRecord& r = a.records[i];
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
    DrawVectorRecord(r);
  }
  FlushDashedContour();
  WriteVectorBufferToFile(kVectorStoreName, a);
  FreeVectorBuffer(a);
  InvalidateSnapPointCache();
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
// The mode is chosen first (the five mode captions); then one form holds the
// mode's value rows, the relative/absolute or keep-ratio switch, the
// reference point and, when offered, the duplicate switch.

namespace {

void SetReal(TInputField& f, const std::string& caption, float value, float limit) {
  f = TInputField{};
  f.caption = caption;
  f.kind = 'S';
  f.value = value;
  f.lowerLimit = -limit;
  f.upperLimit = limit;
  f.width = 8;
  f.decimals = 3;
}

void SetSwitch(TInputField& f, const std::string& caption, bool on) {
  f = TInputField{};
  f.caption = caption;
  f.kind = 'B';
  f.value = on ? 1.0f : 0.0f;
  f.width = 1;
}

// Start values of a mode that was not the last used one.
void StartValues(uint8_t mode, uint8_t toggle, const TExtentsPair& e, int reference, float (&v)[3]) {
  v[0] = v[1] = v[2] = 0;
  switch (mode) {
    case kTransformMove:
      if (toggle == kToggleAbsolute) GetReferencePoint(e, reference, v[0], v[1]);
      break;
    case kTransformRotate:
      if (toggle == kToggleAbsolute) GetReferencePoint(e, 5, v[1], v[2]);
      break;
    case kTransformPercent:
      v[0] = v[1] = 100;
      break;
    case kTransformSize:
      v[0] = e.maxCorner.x - e.minCorner.x;
      v[1] = e.maxCorner.y - e.minCorner.y;
      break;
    default:
      break;
  }
}

uint8_t AskMode(uint8_t current) {
  TPopupList list;
  InitPopupList(list);
  list.title = GetMessageText(1004, -39);
  const char* pictures[5] = {"UmfPosit", "UmfDreh", "SkalierProz", "UmfGroesse", "UmfNeigen"};
  for (int k = 0; k < 5; ++k) {
    list.captions[k] = GetMessageText(int16_t(999 + k), -19);
    list.names[k] = pictures[k];
  }
  list.result = current;
  ShowPopupMenu(list);
  return list.result >= 1 && list.result <= 5 ? uint8_t(list.result) : 0;
}

}  // namespace

bool RunTransformDialog(const TExtentsPair& extent, TTransformDialogState& s, bool offerDuplicate) {
  if (s.reference == 0) s.reference = 1;
  if (s.reference > 9) s.reference = 9;
  const uint8_t mode = AskMode(s.mode >= 1 && s.mode <= 5 ? s.mode : kTransformMove);
  if (mode == 0) return false;
  float v[3];
  if (mode == s.mode && !(mode == kTransformMove && s.toggle == kToggleAbsolute)) {
    v[0] = s.value1;
    v[1] = s.value2;
    v[2] = s.value3;
  } else {
    StartValues(mode, s.toggle, extent, s.reference, v);
  }
  TInputField f[kInputFieldEntries];
  int n = 0;
  const float limit = mode == kTransformShear ? kShearLimit : kValueLimit;
  if (mode == kTransformRotate) {
    SetReal(f[n++], GetMessageText(2872, -39), v[0], kAngleLimit);
    SetReal(f[n++], "X", v[1], kValueLimit);
    SetReal(f[n++], "Y", v[2], kValueLimit);
  } else {
    SetReal(f[n++], mode == kTransformShear ? "H" : "X", v[0], limit);
    SetReal(f[n++], mode == kTransformShear ? "V" : "Y", v[1], limit);
  }
  const int switchField = n;
  const bool ratioMode = mode == kTransformPercent || mode == kTransformSize;
  if (mode != kTransformShear)
    SetSwitch(f[n++], GetMessageText(ratioMode ? 2817 : 4014, -39), ratioMode ? false : s.toggle == kToggleAbsolute);
  const int referenceField = n;
  f[n] = TInputField{};
  f[n].caption = GetMessageText(4015, -39);
  f[n].kind = 'I';
  f[n].value = s.reference;
  f[n].lowerLimit = 1;
  f[n].upperLimit = 9;
  f[n].width = 1;
  ++n;
  const int duplicateField = offerDuplicate ? n : -1;
  if (offerDuplicate) SetSwitch(f[n++], GetMessageText(1005, -39), s.result == kResultDuplicate);
  s.mode = mode;
  if (RunInputForm(GetMessageText(1004, -39), f, uint8_t(n)) == kFormCancelled) return false;
  float out[3] = {f[0].value, f[1].value, mode == kTransformRotate ? f[2].value : 0.0f};
  if (ratioMode && f[switchField].value != 0) {
    // Keep-ratio: the row that changed carries the other along.
    if (out[0] != v[0] && out[1] == v[1]) out[1] = KeepRatioOtherValue(v[0], out[0], v[1]);
    else if (out[1] != v[1] && out[0] == v[0]) out[0] = KeepRatioOtherValue(v[1], out[1], v[0]);
  }
  if (!ratioMode && mode != kTransformShear) s.toggle = f[switchField].value != 0 ? kToggleAbsolute : kToggleRelative;
  s.reference = uint8_t(std::lround(f[referenceField].value));
  if (s.reference < 1 || s.reference > 9) s.reference = 5;
  s.value1 = out[0];
  s.value2 = out[1];
  s.value3 = out[2];
  s.result = duplicateField >= 0 && f[duplicateField].value != 0 ? kResultDuplicate : kResultApply;
  return true;
}

// --- commands --------------------------------------------------------------------------------

void RunTransformCommand(THandleSet& handles, TExtentsPair& extent, bool offerDuplicate) {
  (void)handles;
  if (!StoreHasRecords()) return;
  if (RunTransformDialog(extent, TransformDialogState, offerDuplicate)) ApplyTransformState(TransformDialogState, extent);
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
