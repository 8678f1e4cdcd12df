// Transforms of the whole drawing; see drawing_transforms.h.
//
// Sections: files and extents - mirroring and contour reversal - scaling,
// distortion and measures - shifting and rotating - the commands with their
// forms and picks.
#include "cad/drawing_transforms.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "cad/snapping.h"
#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/quiet_files.h"
#include "frame/window_draw.h"
#include "ui/field_choice_list.h"
#include "model/layer_files.h"
#include "model/nearest_search.h"
#include "model/record_checks.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "model/text_job.h"
#include "ui/common_dialogs.h"
#include "ui/input_form.h"
#include "ui/prompt_strip.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"
#include "view/extents.h"
#include "view/redraw.h"
#include "view/view_transform.h"

namespace {

constexpr int kTextShift = 1;
constexpr int kTextScale = 4;
constexpr int16_t kMessageShortWrite = 8;
constexpr int16_t kMessageKeptDirection = 76;
constexpr int kMessageMeasureTooSmall = 4011;

bool IsExtentPoint(uint8_t t) {
  return t == kRecLinePoint || t == kRecContourStart || t == kRec3DPoint || t == kRecAltContourStart;
}

// A file begins with an extent head: its first two records are 1 and 5 and
// the third is no path header record.
bool HasExtentHead(const TVectorArray& a) {
  return a.count >= 2 && a.records[0].type == kRecMinCorner && a.records[1].type == kRecMaxCorner &&
         (a.count == 2 || (a.records[2].type != kRecPathFactor && a.records[2].type != kRecPathLayer));
}

// Packed fields bind to no reference: compare copies.
void AddToExtent(TExtentsPair& e, float x, float y) {
  if (x < e.minCorner.x) e.minCorner.x = x;
  if (y < e.minCorner.y) e.minCorner.y = y;
  if (x > e.maxCorner.x) e.maxCorner.x = x;
  if (y > e.maxCorner.y) e.maxCorner.y = y;
}

void AddFileToExtent(const std::string& name, TExtentsPair& e) {
  if (!FileExistsPlain(name)) return;
  TVectorArray a;
  LoadRecordArray(name, a);
  const int32_t first = HasExtentHead(a) ? 2 : 0;
  for (int32_t i = first; i < a.count; ++i) {
    if (IsExtentPoint(a.records[i].type)) AddToExtent(e, a.records[i].x, a.records[i].y);
  }
  FreeRecordArray(a);
}

// Recomputes a leading extent head from the points after it.
void RefreshExtentHead(TVectorArray& a) {
  if (!HasExtentHead(a)) return;
  TExtentsPair e;
  ClearPointExtents(e);
  for (int32_t i = 2; i < a.count; ++i) {
    if (IsExtentPoint(a.records[i].type)) AddToExtent(e, a.records[i].x, a.records[i].y);
  }
  if (e.minCorner.x > e.maxCorner.x) return;  // no points: the head stays
  a.records[0].x = e.minCorner.x;
  a.records[0].y = e.minCorner.y;
  a.records[1].x = e.maxCorner.x;
  a.records[1].y = e.maxCorner.y;
}

// Loads, changes every record after a head by its meaning, refreshes the
// head and writes the file back. False when the file cannot be read.
template <typename TChange>
bool RewriteFileRecords(const std::string& name, TChange change) {
  if (!FileExistsPlain(name) || GetFileByteSizeQuiet(name) < static_cast<int64_t>(kVectorRecordSize)) return true;
  TVectorArray a;
  LoadVectorFileToBuffer(name, a);
  if (a.count <= 0) return false;
  const int32_t first = HasExtentHead(a) ? 2 : 0;
  for (int32_t i = first; i < a.count; ++i) change(a.records[i]);
  RefreshExtentHead(a);
  WriteVectorBufferToFile(name, a);
  FreeVectorBuffer(a);
  InvalidateSnapPointCache();
  return true;
}

int FilesForRotation(int files, std::string names[]) {
  if (files == kRotateVectorStore) {
    names[0] = kVectorStoreName;
    return 1;
  }
  return CollectDrawingFiles(files == kRotateAllLayers, names);
}

}  // namespace

uint8_t TransformAllLayersFlag = 0;
bool (*AskIncludeTextsHook)() = [] { return true; };
void (*TransformTextObjectsHook)(int, double, double, double, double, int) = [](int, double, double, double, double,
                                                                                  int) {};

bool TransformAllLayers() { return TransformAllLayersFlag == 1; }

// --- files and extents --------------------------------------------------------------------------

int CollectDrawingFiles(bool allLayers, std::string names[]) {
  if (!allLayers) {
    names[0] = GetCurrentLayerFileName();
    return 1;
  }
  int n = 0;
  for (int layer = 0; layer <= HighestLayer && layer <= kMaxLayerNumber; ++layer) names[n++] = BuildLayerFileName(layer);
  return n;
}

void GetCurrentLayerExtent(TExtentsPair& out) {
  ClearPointExtents(out);
  AddFileToExtent(GetCurrentLayerFileName(), out);
}

void GetAllLayersExtent(TExtentsPair& out) {
  ClearPointExtents(out);
  std::string names[kMaxLayerNumber + 1];
  const int n = CollectDrawingFiles(true, names);
  for (int i = 0; i < n; ++i) AddFileToExtent(names[i], out);
}

namespace {

void MergeTextObjectsExtent(int layer, TExtentsPair& out) {
  TExtentsPair texts;
  GetTextObjectsExtent(layer, texts);
  if (texts.minCorner.x <= texts.maxCorner.x && texts.minCorner.y <= texts.maxCorner.y) {
    AddToExtent(out, texts.minCorner.x, texts.minCorner.y);
    AddToExtent(out, texts.maxCorner.x, texts.maxCorner.y);
  }
}

}  // namespace

void GetCurrentLayerDrawingExtent(TExtentsPair& out) {
  GetCurrentLayerExtent(out);
  MergeTextObjectsExtent(CurrentLayer, out);
}

void GetAllLayersDrawingExtent(TExtentsPair& out) {
  GetAllLayersExtent(out);
  MergeTextObjectsExtent(-1, out);
  // Nothing drawn on any layer: the layout area stands for the drawing.
  if (out.minCorner.x > out.maxCorner.x || out.minCorner.y > out.maxCorner.y) out = LayoutArea;
}

void GetDrawingExtentWithTexts(bool allLayers, TExtentsPair& out) {
  if (allLayers) GetAllLayersDrawingExtent(out);
  else GetCurrentLayerDrawingExtent(out);
}

int TextLayerOf(bool allLayers) { return allLayers ? -1 : CurrentLayer; }

bool ExtentIsUsable(const TExtentsPair& e) {
  return double(e.maxCorner.x) - e.minCorner.x > kDegenerateExtent &&
         double(e.maxCorner.y) - e.minCorner.y > kDegenerateExtent;
}

// --- mirroring and contour reversal ----------------------------------------------------------------

bool MirrorDrawing(int mode) {
  const bool allLayers = (mode & kMirrorAllLayers) != 0;
  const int axis = mode & 3;
  if (axis != kMirrorInX && axis != kMirrorInY) return false;
  TExtentsPair reference;
  if (mode & kMirrorAboutLayout) reference = LayoutArea;
  else if (allLayers) GetAllLayersExtent(reference);
  else GetCurrentLayerExtent(reference);
  if (!ExtentIsUsable(reference)) return false;

  const double sumX = double(reference.minCorner.x) + reference.maxCorner.x;
  const double sumY = double(reference.minCorner.y) + reference.maxCorner.y;
  std::string names[kMaxLayerNumber + 1];
  const int n = CollectDrawingFiles(allLayers, names);
  bool skipped = false;
  for (int i = 0; i < n; ++i) {
    if (!FileExistsPlain(names[i])) continue;
    const bool ok = axis == kMirrorInX ? RewriteFileRecords(names[i], [&](TVectorRecord& r) {
      MapRecordAxes(r, -1.0, sumX, 1.0, 0.0);
    })
                                       : RewriteFileRecords(names[i], [&](TVectorRecord& r) {
                                           MapRecordAxes(r, 1.0, 0.0, -1.0, sumY);
                                         });
    if (!ok || !(mode & kMirrorReverse)) continue;
    if (allLayers && (CheckFileHasToolRecords(names[i]) || CheckFileHas3DPoints(names[i]))) {
      skipped = true;
      continue;
    }
    ReverseContourDirections(names[i]);
  }
  if (skipped) ShowMessageNumber(kMessageKeptDirection);
  return true;
}

bool ReverseContourDirections(const std::string& name) {
  if (!FileExistsPlain(name) || GetFileByteSizeQuiet(name) < static_cast<int64_t>(kVectorRecordSize)) return true;
  TVectorArray a;
  LoadVectorFileToBuffer(name, a);
  if (a.count <= 0) return false;
  bool has3D = false;
  int32_t i = HasExtentHead(a) ? 2 : 0;
  while (i < a.count) {
    const uint8_t t = a.records[i].type;
    if (t != kRecContourStart && t != kRecAltContourStart) {
      ++i;
      continue;
    }
    // The contour runs to the next start or to a record that belongs to no
    // contour (headers, tool blocks, layer and angle records).
    int32_t end = i + 1;
    bool onlyPoints = true;
    while (end < a.count) {
      const uint8_t u = a.records[end].type;
      if (u == kRecContourStart || u == kRecAltContourStart) break;
      if (u != kRecArc && u != kRecEllipseRadii && u != kRecEllipticArc && !IsPositionRecordType(u)) break;
      if (u != kRecLinePoint && u != kRec3DPoint) onlyPoints = false;
      ++end;
    }
    // A contour with an arc or a curve keeps its order.
    if (onlyPoints && end - i >= 2) {
      const float startZ = a.records[i].z;
      a.records[i].type = kRecLinePoint;
      a.records[i].z = 0.0f;
      for (int32_t k = i + 1; k < end; ++k) {
        if (a.records[k].type == kRecLinePoint) a.records[k].z = 0.0f;
        else has3D = true;
      }
      std::reverse(a.records + i, a.records + end);
      a.records[i].type = kRecContourStart;
      a.records[i].z = startZ < 0.0f ? startZ : 0.0f;
    }
    i = end;
  }
  const int32_t count = a.count;
  WriteVectorBufferToFile(name, a);
  FreeVectorBuffer(a);
  InvalidateSnapPointCache();
  if (GetFileByteSizeQuiet(name) != static_cast<int64_t>(count) * kVectorRecordSize) {
    ShowMessageNumber(kMessageShortWrite);
    return false;
  }
  if (has3D) ShowMessageNumber(kMessageKeptDirection);
  return true;
}

// --- scaling, distortion and measures -------------------------------------------------------------

void ScaleDrawingByFactor(double percent, bool allLayers) {
  const double f = std::fabs(percent / 100.0);
  if (f == 0.0 || !std::isfinite(f)) return;
  std::string names[kMaxLayerNumber + 1];
  const int n = CollectDrawingFiles(allLayers, names);
  for (int i = 0; i < n; ++i) {
    RewriteFileRecords(names[i], [f](TVectorRecord& r) {
      MapRecordAxes(r, f, 0.0, f, 0.0);
      if (r.type == kRec3DPoint) r.z = static_cast<float>(r.z * f);
    });
  }
}

void DistortDrawing(float& fx, float& fy, float& fz, bool allLayers) {
  auto limit = [](float& v) {
    if (!(v >= kDistortFactorMin)) v = kDistortFactorMin;  // NaN too
    if (v > kDistortFactorMax) v = kDistortFactorMax;
  };
  limit(fx);
  limit(fy);
  limit(fz);
  if (fx == 1.0f && fy == 1.0f && fz == 1.0f) return;
  const double ax = fx, ay = fy, az = fz;
  std::string names[kMaxLayerNumber + 1];
  const int n = CollectDrawingFiles(allLayers, names);
  for (int i = 0; i < n; ++i) {
    RewriteFileRecords(names[i], [=](TVectorRecord& r) {
      MapRecordAxes(r, ax, 0.0, ay, 0.0);
      if (r.type == kRec3DPoint) r.z = static_cast<float>(r.z * az);
    });
  }
}

int ComputeMeasureFactors(int kind, const TVectorRecord& p1, const TVectorRecord& p2, double target, double& fx,
                          double& fy) {
  fx = 1.0;
  fy = 1.0;
  switch (kind & 7) {
    case kMeasureWidth:
    case kMeasureHeight:
    case kMeasureXWidth:
    case kMeasureYHeight: {
      const int k = kind & 7;
      const bool width = k == kMeasureWidth || k == kMeasureXWidth;
      const double measure = width ? std::fabs(double(p2.x) - p1.x) : std::fabs(double(p2.y) - p1.y);
      if (measure < kSmallestMeasure || !(target >= kSmallestTarget)) return kMessageMeasureTooSmall;
      const double d = target / measure;
      if (k == kMeasureWidth || k == kMeasureHeight) fx = fy = d;
      else if (k == kMeasureXWidth) fx = d;
      else fy = d;
      return 0;
    }
    case kMeasureXPercent:
      fx = std::fabs(target / 100.0);
      if (!(fx * 100.0 >= kSmallestTarget)) {
        fx = 1.0;
        return kMessageMeasureTooSmall;
      }
      return 0;
    default:
      return -1;
  }
}

bool ScaleDrawingAboutCorner(double fx, double fy, bool allLayers, bool withTexts) {
  if (fx == 1.0 && fy == 1.0) return false;
  if (!(fx > 0.0) || !(fy > 0.0) || !std::isfinite(fx) || !std::isfinite(fy)) return false;
  TExtentsPair e;
  GetDrawingExtentWithTexts(allLayers, e);
  double cx = 0.0, cy = 0.0;
  if (ExtentIsUsable(e)) {
    cx = e.minCorner.x;
    cy = e.minCorner.y;
  }
  std::string names[kMaxLayerNumber + 1];
  const int n = CollectDrawingFiles(allLayers, names);
  for (int i = 0; i < n; ++i) {
    RewriteFileRecords(names[i], [=](TVectorRecord& r) {
      MapRecordAxes(r, fx, cx - fx * cx, fy, cy - fy * cy);
    });
  }
  if (withTexts) TransformTextObjectsHook(TextLayerOf(allLayers), cx, cy, fx, fy, kTextScale);
  return true;
}

// --- shifting and rotating ------------------------------------------------------------------------

void ShiftDrawingFiles(double dx, double dy, bool allLayers) {
  if (!std::isfinite(dx) || !std::isfinite(dy) || (dx == 0.0 && dy == 0.0)) return;
  std::string names[kMaxLayerNumber + 1];
  const int n = CollectDrawingFiles(allLayers, names);
  for (int i = 0; i < n; ++i) {
    RewriteFileRecords(names[i], [=](TVectorRecord& r) { MapRecordAxes(r, 1.0, dx, 1.0, dy); });
  }
}

double ComputeLineRotationAngle(int mode, const TVectorRecord& a, const TVectorRecord& b) {
  if (mode == 2) {
    const TVectorRecord& p = a.x <= b.x ? a : b;
    const TVectorRecord& q = a.x <= b.x ? b : a;
    const double den = double(q.x) - p.x;
    if (std::fabs(den) <= kSmallestRotation) return 0.0;
    return -std::atan((double(q.y) - p.y) / den);
  }
  if (mode == 3) {
    const TVectorRecord& p = a.y <= b.y ? a : b;
    const TVectorRecord& q = a.y <= b.y ? b : a;
    const double den = double(q.y) - p.y;
    if (std::fabs(den) <= kSmallestRotation) return 0.0;
    return std::atan((double(q.x) - p.x) / den);
  }
  return 0.0;
}

void GetRotationCentre(int centreKind, int files, double& cx, double& cy) {
  TExtentsPair e;
  if (centreKind == 2) {
    e = LayoutArea;
  } else if (files == kRotateAllLayers) {
    GetAllLayersExtent(e);
  } else {
    GetCurrentLayerExtent(e);
  }
  if (e.minCorner.x > e.maxCorner.x || e.minCorner.y > e.maxCorner.y) {
    cx = cy = 0.0;  // nothing drawn
    return;
  }
  cx = (double(e.minCorner.x) + e.maxCorner.x) / 2.0;
  cy = (double(e.minCorner.y) + e.maxCorner.y) / 2.0;
}

bool RotateDrawingFiles(double angle, double cx, double cy, int files) {
  if (!(std::fabs(angle) > kSmallestRotation) || !std::isfinite(angle)) return false;
  std::string names[kMaxLayerNumber + 1];
  const int n = FilesForRotation(files, names);
  for (int i = 0; i < n; ++i) {
    RewriteFileRecords(names[i], [=](TVectorRecord& r) { RotateRecordAbout(r, cx, cy, angle); });
  }
  return true;
}

// --- commands ------------------------------------------------------------------------------------

namespace {

constexpr uint8_t kViewRedrawKind = 2;
constexpr uint8_t kFormCancelled = 3;
constexpr int kMarkColour = 12;
constexpr int kSquareMark = 3;
constexpr int kCheckTools = 1;
constexpr int kCheckTools3D = 2;
constexpr int16_t kMirrorReferenceByte = 138;
constexpr int16_t kParamBlock0Size = 153;
constexpr int16_t kDistortBlock = 6;
constexpr double kDegreesToRadians = 0.017453292519943295;

// One real field of an input form.
void SetRealField(TInputField& f, const std::string& caption, float value, float low, float high) {
  f.caption = caption;
  f.kind = 'S';
  f.value = value;
  f.lowerLimit = low;
  f.upperLimit = high;
  f.width = 8;
  f.decimals = 3;
}

bool AskValues(const std::string& title, TInputField (&fields)[kInputFieldEntries], int count,
               const std::string& picture = "", int width = 0, int height = 0) {
  const uint8_t code = picture.empty() ? RunInputForm(title, fields, uint8_t(count))
                                       : RunInputFormWithPicture(title, fields, uint8_t(count), width, height, picture);
  return code != kFormCancelled;
}

bool PassChecks(int check) { return AskStripToolAnd3DRecords(GetCurrentLayerFileName(), GetCurrentLayerColour(), check); }

void Snapshot(bool allLayers) { TakeUndoSnapshot(allLayers ? kUndoLayersAndTexts : kUndoLayerAndTexts); }

void Redraw() {
  RedrawCurrentView(kViewRedrawKind);
  DrawPanelBackground();
}

void MarkPoint(const TVectorRecord& p) {
  EraseMouseCursor();
  SetDrawColorAndMode(kXorMode, kMarkColour);
  DrawSquareMark(kSquareMark, p.x, p.y);
}

void DrawFrame(const TExtentsPair& e, int colour) {
  EraseMouseCursor();
  SetDrawColorAndMode(kXorMode, colour);
  DrawExtentFrame(e);
}

// Extent of what is transformed, for the frames and the reference corner.
void DrawingExtent(bool allLayers, TExtentsPair& e) {
  if (allLayers) GetAllLayersExtent(e);
  else GetCurrentLayerExtent(e);
}

}  // namespace

bool PickTwoPoints(TVectorRecord& first, TVectorRecord& second, bool allLayers, bool store) {
  TVectorRecord* points[2] = {&first, &second};
  const int16_t prompts[2] = {11, 12};
  int marked = 0;
  bool ok = true;
  for (int i = 0; i < 2 && ok; ++i) {
    TPointRecord p{};
    MouseButtonState = 0;  // the click that led here is used up
    PromptPoint(GetMessageText(prompts[i], -39), p);
    if (p.type != kRecLinePoint || ButtonResult != 2) {
      ok = false;
      break;
    }
    TPointRecord snapped = CursorPoint;
    snapped.x = p.x;
    snapped.y = p.y;
    if (allLayers) {
      FindNearestPointInLayers(snapped, 0);
    } else {
      int32_t index = -1;
      FindNearestVectorPoint(store ? kVectorStoreName : GetCurrentLayerFileName(), snapped, index, 0);
    }
    if (snapped.type == 0) {  // nothing drawn: the click itself
      snapped.x = p.x;
      snapped.y = p.y;
    }
    points[i]->type = kRecLinePoint;
    points[i]->x = snapped.x;
    points[i]->y = snapped.y;
    MarkPoint(*points[i]);
    ++marked;
    WaitForMouseRelease();
  }
  if (!ok)
    for (int i = 0; i < marked; ++i) MarkPoint(*points[i]);
  return ok;
}

void MirrorDrawingCommand(bool allLayers) {
  uint8_t block0[kParamBlock0Size] = {};
  GetParamBlock(0, block0, sizeof block0);
  TInputField fields[kInputFieldEntries];
  fields[0].caption = GetMessageText(1855, -39);
  fields[0].kind = 'A';
  fields[0].value = 1;
  NewFieldChoiceList(fields[0].choiceList);
  SetFieldChoiceOption(*fields[0].choiceList, 1, "       X");
  SetFieldChoiceOption(*fields[0].choiceList, 2, "       Y");
  fields[0].choiceList->Chosen = 1;
  fields[1].caption = GetMessageText(1856, -39);
  fields[1].kind = 'A';
  const uint8_t stored = block0[kMirrorReferenceByte] == 2 ? 2 : 1;
  fields[1].value = stored;
  NewFieldChoiceList(fields[1].choiceList);
  SetFieldChoiceOption(*fields[1].choiceList, 1, GetMessageText(1857, -20));
  SetFieldChoiceOption(*fields[1].choiceList, 2, GetMessageText(1858, -20));
  fields[1].choiceList->Chosen = stored;
  const std::string title = GetMessageText(allLayers ? 749 : 748, -39) + " " + GetMessageText(1007, -39);
  if (!AskValues(title, fields, 2, "SpiegelnXY", 47, 64)) return;
  // Texts are not mirrored: they stay where they are only when the user agrees.
  if (AnyTextObjects() && !AskIncludeTextsHook()) return;
  const int axis = fields[0].value == 2 ? kMirrorInY : kMirrorInX;
  const bool aboutLayout = fields[1].value == 2;
  block0[kMirrorReferenceByte] = aboutLayout ? 2 : 1;
  PutParamBlock(0, block0, sizeof block0);
  if (!PassChecks(kCheckTools3D)) return;
  FlushVectorStoreIntoFile(GetCurrentLayerFileName());
  Snapshot(allLayers);
  if (MirrorDrawing(kMirrorReverse + (allLayers ? kMirrorAllLayers : 0) + axis + (aboutLayout ? kMirrorAboutLayout : 0)))
    Redraw();
}

void ScaleDrawingByPercent(bool allLayers) {
  FlushVectorStoreToCurrentLayer();
  if (!PassChecks(kCheckTools)) return;
  Snapshot(allLayers);
  TInputField fields[kInputFieldEntries];
  SetRealField(fields[0], GetMessageText(104, -39), 100.0f, kInputLowerLimit, kInputUpperLimit);
  if (!AskValues(GetMessageText(105, -39), fields, 1)) return;
  ScaleDrawingByFactor(fields[0].value, allLayers);
  const double f = std::fabs(double(fields[0].value) / 100.0);
  if (f > 0.0 && std::isfinite(f)) TransformTextObjectsHook(TextLayerOf(allLayers), 0.0, 0.0, f, f, kTextScale);
  Redraw();
}

void MirrorDrawingCommand() { MirrorDrawingCommand(TransformAllLayers()); }
void ScaleDrawingByPercent() { ScaleDrawingByPercent(TransformAllLayers()); }
void DistortDrawingXYZ() { DistortDrawingXYZ(TransformAllLayers()); }

void DistortDrawingXYZ(bool allLayers) {
  FlushVectorStoreToCurrentLayer();
  if (!PassChecks(kCheckTools)) return;
  Snapshot(allLayers);
  if (AnyTextObjects() && !AskIncludeTextsHook()) return;
  float factors[3] = {1.0f, 1.0f, 1.0f};
  GetParamBlock(kDistortBlock, factors, sizeof factors);
  TInputField fields[kInputFieldEntries];
  for (int i = 0; i < 3; ++i) {
    const float v = std::isfinite(factors[i]) ? factors[i] : 1.0f;
    SetRealField(fields[i], GetMessageText(int16_t(109 + i), -39), v, kInputLowerLimit, kInputUpperLimit);
  }
  if (!AskValues(GetMessageText(108, -39), fields, 3)) return;
  for (int i = 0; i < 3; ++i) factors[i] = fields[i].value;
  // Limited before they are stored, so the block never holds a useless factor.
  DistortDrawing(factors[0], factors[1], factors[2], allLayers);
  PutParamBlock(kDistortBlock, factors, sizeof factors);
  Redraw();
}

void ScaleDrawingToMeasure(int kind) {
  const bool allLayers = (kind & kMeasureAllLayers) != 0;
  const int k = kind & 7;
  if (!PassChecks(kCheckTools3D)) return;
  if (k >= kMeasureXWidth && k <= kMeasureXPercent && AnyTextObjects() && !AskIncludeTextsHook()) return;
  TVectorRecord p1{}, p2{};
  double target = 0.0;
  if (k == kMeasureXPercent) {
    TInputField fields[kInputFieldEntries];
    SetRealField(fields[0], GetMessageText(107, -39), 100.0f, kInputLowerLimit, kInputUpperLimit);
    if (!AskValues(GetMessageText(106, -39), fields, 1)) return;
    target = fields[0].value;
  } else if (k == kMeasureWidth || k == kMeasureHeight || k == kMeasureXWidth || k == kMeasureYHeight) {
    if (!PickTwoPoints(p1, p2, allLayers, false)) {
      DrawPanelBackground();
      return;
    }
    MarkPoint(p1);
    MarkPoint(p2);
    const bool width = k == kMeasureWidth || k == kMeasureXWidth;
    const double measure = width ? std::fabs(double(p2.x) - p1.x) : std::fabs(double(p2.y) - p1.y);
    if (measure < kSmallestMeasure) {
      ShowErrorText(GetMessageText(int16_t(kMessageMeasureTooSmall), -39));
      return;
    }
    static const char* const kPictures[] = {"", "MassBreiteBild", "MassHoeheBild", "", "VerzBreiteBild",
                                            "VerzHoeheBild"};
    TInputField fields[kInputFieldEntries];
    SetRealField(fields[0], GetMessageText(104, -39), float(measure), 0.001f, 9999.999f);
    std::string title = GetMessageText(width ? 13 : 14, -39).substr(0, 11) + " " + FormatRealText(0, 3, float(measure));
    if (!AskValues(title, fields, 1, kPictures[k], 64, 64)) return;
    target = fields[0].value;
  } else {
    return;
  }
  double fx = 1.0, fy = 1.0;
  const int refused = ComputeMeasureFactors(k, p1, p2, target, fx, fy);
  if (refused > 0) {
    ShowErrorText(GetMessageText(int16_t(refused), -39));
    return;
  }
  if (refused < 0 || (fx == 1.0 && fy == 1.0)) return;
  Snapshot(allLayers);
  ScaleDrawingAboutCorner(fx, fy, allLayers, k == kMeasureWidth || k == kMeasureHeight);
  Redraw();
}

void ShiftDrawing(int kind) {
  const bool allLayers = (kind & 8) != 0;
  const int k = kind & 7;
  TInputField fields[kInputFieldEntries];
  double dx = 0.0, dy = 0.0;
  if (k == 1) {
    SetRealField(fields[0], "X:", 0.0f, kInputLowerLimit, kInputUpperLimit);
    SetRealField(fields[1], "Y:", 0.0f, kInputLowerLimit, kInputUpperLimit);
    if (!AskValues(GetMessageText(112, -39), fields, 2)) return;
    dx = fields[0].value;
    dy = fields[1].value;
  } else if (k == 2) {
    TExtentsPair e;
    GetDrawingExtentWithTexts(allLayers, e);
    if (e.minCorner.x > e.maxCorner.x) return;  // nothing drawn
    TVectorRecord corner{};
    corner.x = e.minCorner.x;
    corner.y = e.minCorner.y;
    DrawFrame(e, kMarkColour);
    MarkPoint(corner);
    SetRealField(fields[0], "X:", corner.x, kInputLowerLimit, kInputUpperLimit);
    SetRealField(fields[1], "Y:", corner.y, kInputLowerLimit, kInputUpperLimit);
    const bool ok = AskValues(GetMessageText(113, -39), fields, 2);
    DrawFrame(e, kMarkColour);
    MarkPoint(corner);
    if (!ok) return;
    dx = double(fields[0].value) - corner.x;
    dy = double(fields[1].value) - corner.y;
  } else {
    return;
  }
  Snapshot(allLayers);
  ShiftDrawingFiles(dx, dy, allLayers);
  TransformTextObjectsHook(TextLayerOf(allLayers), 0.0, 0.0, dx, dy, kTextShift);
  Redraw();
}

void RotateDrawing(int flags) {
  const int how = flags & 3, centreKind = (flags >> 2) & 3, files = (flags >> 4) & 3;
  if (!PassChecks(kCheckTools3D)) return;
  if (files != kRotateVectorStore && AnyTextObjects() && !AskIncludeTextsHook()) return;
  double cx = 0.0, cy = 0.0;
  GetRotationCentre(centreKind, files, cx, cy);
  TVectorRecord centre{};
  centre.x = float(cx);
  centre.y = float(cy);
  double angle = 0.0;
  if (how == 1) {
    TExtentsPair e;
    if (files == kRotateVectorStore) GetContourFileExtent(kVectorStoreName, e);
    else DrawingExtent(files == kRotateAllLayers, e);
    DrawFrame(e, kMarkColour);
    MarkPoint(centre);
    TInputField fields[kInputFieldEntries];
    SetRealField(fields[0], GetMessageText(1000, -39), 0.0f, -360.0f, 360.0f);
    const bool ok = AskValues(GetMessageText(114, -39), fields, 1, "DreheBild", 64, 64);
    DrawFrame(e, kMarkColour);
    MarkPoint(centre);
    if (!ok || std::fabs(fields[0].value) < 0.001f) return;
    angle = fields[0].value * kDegreesToRadians;
  } else if (how == 2 || how == 3) {
    TVectorRecord a{}, b{};
    if (!PickTwoPoints(a, b, files == kRotateAllLayers, files == kRotateVectorStore)) {
      DrawPanelBackground();
      return;
    }
    MarkPoint(a);
    MarkPoint(b);
    angle = ComputeLineRotationAngle(how, a, b);
  } else {
    return;
  }
  if (std::fabs(angle) <= kSmallestRotation) return;
  TakeUndoSnapshot(files == kRotateVectorStore ? kUndoStore
                                                 : (files == kRotateAllLayers ? kUndoLayersAndTexts : kUndoLayerAndTexts));
  RotateDrawingFiles(angle, cx, cy, files);
  Redraw();
}

void DragExtentFrame(const TExtentsPair& extent, int colour, TPointRecord& shift, uint8_t& status) {
  ShowInputPrompt(GetMessageText(6, -39));
  const TPointRecord start = CursorPoint;
  TExtentsPair shown = extent;
  DrawFrame(shown, colour);
  std::string text;
  ButtonResult = 0;
  MouseButtonState = 0;  // the click that led here is used up
  for (;;) {
    EditPromptLine(text);
    if (CloseRequested && ButtonResult == 0) ButtonResult = 4;
    if (ButtonResult != 0) break;
    const float dx = CursorPoint.x - start.x, dy = CursorPoint.y - start.y;
    if (shown.minCorner.x != extent.minCorner.x + dx || shown.minCorner.y != extent.minCorner.y + dy) {
      DrawFrame(shown, colour);
      shown = extent;
      shown.minCorner.x += dx;
      shown.minCorner.y += dy;
      shown.maxCorner.x += dx;
      shown.maxCorner.y += dy;
      DrawFrame(shown, colour);
    }
  }
  DrawFrame(shown, colour);
  if (ButtonResult != 2) {
    status = 3;
    return;
  }
  status = 2;
  TPointRecord point = CursorPoint;
  TCoordinateList list;
  int count = 0;
  if (!text.empty()) ParseCoordinateList(text, list, 2, count);
  if (count == 2) {
    point.x = CoordinateListValue(list, 1);
    point.y = CoordinateListValue(list, 2);
  }
  shift.type = 0;
  shift.x = point.x - extent.minCorner.x;
  shift.y = point.y - extent.minCorner.y;
}
