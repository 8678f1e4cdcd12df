// A whole vector file with its curve records turned into line points (see
// curves_to_lines.h).
#include "view/curves_to_lines.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "frame/data_slots.h"
#include "frame/window_draw.h"
#include "model/arcs_to_points.h"
#include "model/layer_files.h"
#include "model/model_hooks.h"
#include "model/vector_records.h"
#include "view/curve_through_points.h"
#include "view/screen_scheme.h"
#include "view/world_lines.h"

namespace {

// The "no point yet" record of the conversion.
constexpr TVectorRecord kNoPoint{kRecEmpty, -99999.0f, -99999.0f, 0.0f};
// Room for the points of one curve step (two spans of the largest resolution).
constexpr int32_t kCurveStepRoom = 2 * kMaxCurveResolution + 2;

struct TCurveConversion {
  uint8_t options = 0;
  int outSlot = 0;
  TRecordBuffer out;
  int32_t outFilled = 0;
  int64_t written = 0;
  bool writeFailed = false;
  TVectorRecord lastWritten = kNoPoint;
  TVectorRecord current = kNoPoint;
  TVectorRecord pendingStart = kNoPoint;
  bool startPending = false;
  TVectorRecord snapStart = kNoPoint;
  bool snapValid = false;
  TVectorRecord control1{}, control2{};
  TVectorRecord ellipseRadii{};
  TCurveState2D curve;
  bool curveOpen = false;
  int curvePoints = 0;  // 18 records of the open curve
  std::unique_ptr<TCurveBuilder> builder = std::make_unique<TCurveBuilder>();
  std::vector<TVectorRecord> points = std::vector<TVectorRecord>(kMaxSampledPoints + kCurveStepRoom);
};

double DistanceXY(const TVectorRecord& a, const TVectorRecord& b) {
  return std::hypot(double(a.x) - b.x, double(a.y) - b.y);
}

void FlushOutput(TCurveConversion& c) {
  if (c.outFilled == 0 || c.writeFailed) return;
  int32_t count = 0;
  WriteDataFileSlot(c.outSlot, c.out, c.outFilled, count);
  if (count != c.outFilled) c.writeFailed = true;
  c.written += count;
  c.outFilled = 0;
}

void PutOutput(TCurveConversion& c, const TVectorRecord& r) {
  if (c.writeFailed) return;
  std::memcpy(&c.out.bytes[size_t(c.outFilled) * kVectorRecordSize], &r, kVectorRecordSize);
  if (++c.outFilled == kSlotBlockRecords) FlushOutput(c);
}

// A point through the merge rule: written and drawn, or only made current.
void AddPoint(TCurveConversion& c, const TVectorRecord& r) {
  const TVectorRecord& last = c.lastWritten;
  if (r.type == last.type && DistanceXY(r, last) <= kCurveMergeTolerance && r.z == last.z) {
    c.current = r;
    return;
  }
  PutOutput(c, r);
  if (r.type == kRecLinePoint || r.type == kRec3DPoint) DrawLineToWorldPoint(r.x, r.y);
  else if (r.type == kRecContourStart || r.type == kRecAltContourStart) MovePenToWorldPoint(r.x, r.y);
  c.lastWritten = r;
  c.current = r;
}

// The pending contour start before a point of height z: written unless it
// lies on the pen position with that z. Either way it is settled, so that it
// cannot turn up later in the middle of its contour.
void SettleStart(TCurveConversion& c, float z) {
  if (!c.startPending) return;
  c.startPending = false;
  const TVectorRecord& s = c.pendingStart;
  if (DistanceXY(s, c.lastWritten) <= kCurveMergeTolerance && s.z == z) return;
  AddPoint(c, s);
}

// A generated point as the options want it: type 12 with the curve start's z,
// or a line point.
TVectorRecord GeneratedPoint(const TCurveConversion& c, const TVectorRecord& p, float startZ) {
  if (c.options & kCurvesAs3DPoints) return TVectorRecord{kRec3DPoint, p.x, p.y, startZ};
  return TVectorRecord{kRecLinePoint, p.x, p.y, p.z};
}

void AddGeneratedPoints(TCurveConversion& c, const TVectorRecord* p, int32_t n, float startZ) {
  for (int32_t i = 0; i < n; ++i) AddPoint(c, GeneratedPoint(c, p[i], startZ));
}

// Arc points; with snapping, an end within kArcEndSnapDistance of the contour
// start is replaced by the start itself.
void AddArcPoints(TCurveConversion& c, int32_t n, float startZ) {
  if (n <= 0) return;
  AddGeneratedPoints(c, c.points.data(), n - 1, startZ);
  TVectorRecord end = GeneratedPoint(c, c.points[n - 1], startZ);
  if ((c.options & kCurvesSnapArcEnds) && c.snapValid) {
    const double d = DistanceXY(c.snapStart, end);
    if (d > 0.0 && d < kArcEndSnapDistance) end.x = c.snapStart.x, end.y = c.snapStart.y;
  }
  AddPoint(c, end);
}

void ConvertArc(TCurveConversion& c, float rx, float ry, float a0, float sweep) {
  SettleStart(c, c.pendingStart.z);
  const TVectorRecord from = c.current;
  uint16_t n = 0;
  ApproximateArcToPoints(c.points.data(), n, from.x, from.y, from.z, rx, ry, a0, sweep);
  AddArcPoints(c, std::min<int32_t>(n, kMaxSampledPoints), from.z);
}

int CurveResolution() { return std::clamp<int>(CurvePointCount, 1, kMaxCurveResolution); }

void EmitCurveStep(TCurveConversion& c, int kind, bool finish) {
  c.curve.outCount = 0;
  ComputeCurveSegmentPoints(c.curve, c.points.data(), kCurveStepRoom, kind, c.current.z, finish);
  AddGeneratedPoints(c, c.points.data(), c.curve.outCount, c.current.z);
}

// Closes the open curve with the guide point end: the last spans leave the
// last 18 point towards it. A curve of one point is a line to it.
void CloseCurve(TCurveConversion& c, const TVectorRecord& end) {
  c.curveOpen = false;
  if (c.curvePoints == 1) {
    AddPoint(c, GeneratedPoint(c, c.curve.pc, c.current.z));
  } else if (c.curvePoints >= 2) {
    const TVectorRecord last = c.curve.pd;
    c.curve.pe = end;
    EmitCurveStep(c, kCurveStepSpan, true);
    c.current = GeneratedPoint(c, last, c.current.z);
  }
  c.curvePoints = 0;
}

void ConvertCurveRecord(TCurveConversion& c, const TVectorRecord& r) {
  if (!c.curveOpen) {
    SettleStart(c, c.pendingStart.z);
    c.curve = TCurveState2D{};
    c.curve.resolution = static_cast<int16_t>(CurveResolution());
    c.curve.pb = c.current;
    c.curve.pa = TVectorRecord{kRecLinePoint, 2.0f * c.current.x - r.x, 2.0f * c.current.y - r.y, c.current.z};
    c.curveOpen = true;
    c.curvePoints = 0;
    return;
  }
  CloseCurve(c, r);
}

void ConvertCurvePoint(TCurveConversion& c, const TVectorRecord& r) {
  if (!c.curveOpen) return;  // a point outside a curve has no neighbours to follow
  ++c.curvePoints;
  if (c.curvePoints == 1) {
    c.curve.pc = r;
  } else if (c.curvePoints == 2) {
    c.curve.pd = r;
    EmitCurveStep(c, kCurveStepStart, false);
  } else {
    c.curve.pe = r;
    EmitCurveStep(c, kCurveStepSpan, false);
    ShiftCurveWindow2D(c.curve);
  }
}

// A curve left open at the end of the file ends straight on at its last point.
void CloseOpenCurve(TCurveConversion& c) {
  if (!c.curveOpen) return;
  const TVectorRecord& d = c.curve.pd;
  const TVectorRecord& p = c.curve.pc;
  CloseCurve(c, TVectorRecord{kRecLinePoint, 2.0f * d.x - p.x, 2.0f * d.y - p.y, d.z});
}

// x to the nearest integer, then to an existing layer (non-numbers to 0).
float WrapLayerRecordNumber(float x) {
  const double rounded = std::nearbyint(double(x));
  if (!(rounded >= 0.0)) return 0.0f;
  const int32_t n = rounded > 2.0e9 ? INT32_MAX : static_cast<int32_t>(rounded);
  return static_cast<float>(WrapLayerNumber(n));
}

void ConvertRecord(TCurveConversion& c, const TVectorRecord& r) {
  switch (r.type) {
    case kRecMinCorner: case kRecMaxCorner: case kRecPathFactor: case kRecPathLayer: case kRecPathEnd:
    case kRecPassThrough: case kRecTool1: case kRecToolColour: case kRecToolName1: case kRecToolName2:
    case kRecTool5: case kRecTool6: case kRecToolFeed: case kRecTool8:
      PutOutput(c, r);
      break;
    case kRecLinePoint: case kRec3DPoint:
      SettleStart(c, r.z);
      AddPoint(c, r);
      break;
    case kRecContourStart:
      c.pendingStart = r;
      c.startPending = true;
      if (c.options & kCurvesSnapArcEnds) c.snapStart = r, c.snapValid = true;
      break;
    case kRecArc: ConvertArc(c, r.x, r.x, r.y, r.z); break;
    case kRecBezierControl1: c.control1 = r; break;
    case kRecBezierControl2: c.control2 = r; break;
    case kRecBezierEnd: {
      SettleStart(c, r.z);
      const TVectorRecord from = c.current;
      const TVectorRecord control[4] = {from, c.control1, c.control2, r};
      uint16_t n = 0;
      SampleBezierPoints(control, c.points.data(), n, static_cast<int16_t>(CurveResolution()));
      AddGeneratedPoints(c, c.points.data(), std::min<int32_t>(n, kMaxSampledPoints), from.z);
      break;
    }
    case kRecSplineStartEnd: ConvertCurveRecord(c, r); break;
    case kRecSplinePoint: ConvertCurvePoint(c, r); break;
    case kRecEllipseRadii: c.ellipseRadii = r; break;
    case kRecEllipticArc:
      if (c.ellipseRadii.x > 0 && c.ellipseRadii.y > 0) ConvertArc(c, c.ellipseRadii.x, c.ellipseRadii.y, r.x, r.y);
      break;
    case kRecCurveListPoint: AddCurveListPoint(*c.builder, r); break;
    case kRecCurvePieceEnd: {
      SettleStart(c, r.z);
      const TVectorRecord from = c.current;
      FinishCurvePiece(*c.builder, from, r);
      AddGeneratedPoints(c, c.builder->pieceOutput, std::clamp<int32_t>(c.builder->pieceCount, 0, kMaxSampledPoints),
                         from.z);
      break;
    }
    case kRecAltContourStart: AddPoint(c, r); break;
    case kRecLayer: {
      TVectorRecord layer = r;
      layer.x = WrapLayerRecordNumber(r.x);
      c.lastWritten = kNoPoint;
      PutOutput(c, layer);
      break;
    }
    default: break;  // other records have no place among line points
  }
}

}  // namespace

int64_t ConvertCurvesToLines(const std::string& inputFile, const std::string& outputFile, int16_t colour,
                             uint8_t options) {
  int inSlot = 0;
  OpenDataFileSlot(inputFile, 1, inSlot, 0);
  if (inSlot == 0) return 0;
  TCurveConversion c;
  c.options = options;
  OpenDataFileSlot(outputFile, 2, c.outSlot, 0);
  if (c.outSlot == 0) {
    CloseDataFileSlot(inSlot);
    return 0;
  }
  TRecordBuffer in;
  AllocRecordBuffer(1, in, 1);
  AllocRecordBuffer(2, c.out, 1);
  SetLinePenMode(kCopyMode, colour);
  MovePenToWorldPoint(0.0f, 0.0f);
  int32_t read = 0;
  do {
    read = 0;
    ReadDataFileSlot(inSlot, in, kSlotBlockRecords, read);
    for (int32_t i = 0; i < read && !c.writeFailed; ++i) {
      TVectorRecord r;
      std::memcpy(&r, &in.bytes[size_t(i) * kVectorRecordSize], kVectorRecordSize);
      ConvertRecord(c, r);
    }
  } while (read == kSlotBlockRecords && !c.writeFailed && CheckEscapeHook() == 0);
  CloseOpenCurve(c);
  FlushOutput(c);
  AllocRecordBuffer(1, in, 0);
  AllocRecordBuffer(2, c.out, 0);
  CloseDataFileSlot(c.outSlot);
  CloseDataFileSlot(inSlot);
  return c.written;
}
