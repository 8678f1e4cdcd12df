// Smooth curves through points (see curve_through_points.h).
#include "view/curve_through_points.h"

#include <algorithm>
#include <cmath>

namespace {

// The coordinates of a record as an array (x, y, z).
void PointCoords(const TVectorRecord& p, double* c) {
  c[0] = p.x;
  c[1] = p.y;
  c[2] = p.z;
}

// Unit direction and length of A-B over the first dims coordinates; a chord
// shorter than kShortestCurveChord counts as that long.
double ComputeChord(const TVectorRecord& a, const TVectorRecord& b, int dims, double* dir) {
  double ca[3], cb[3], sum = 0.0;
  PointCoords(a, ca);
  PointCoords(b, cb);
  for (int i = 0; i < dims; ++i) {
    dir[i] = cb[i] - ca[i];
    sum += dir[i] * dir[i];
  }
  double length = std::sqrt(sum);
  if (!(length >= kShortestCurveChord)) length = std::isnan(length) ? length : kShortestCurveChord;
  for (int i = 0; i < dims; ++i) dir[i] /= length;
  return length;
}

// Akima's tangent from the chord directions two back (m1) to two ahead (m4).
double AkimaTangent(double m1, double m2, double m3, double m4) {
  const double w1 = std::fabs(m4 - m3), w2 = std::fabs(m2 - m1);
  if (!(w1 + w2 >= kAkimaWeightFloor)) return (m2 + m3) / 2.0;
  return (w1 * m2 + w2 * m3) / (w1 + w2);
}

// The engine over 2 or 3 coordinates; chord[c][i] is coordinate c of chord i.
struct TCurveView {
  int dims;
  double* chord[3];
  double* newTangent;
  double* startTangent;
  double* chordLength;
  double* coeff;
  TVectorRecord *pa, *pb, *pc, *pd, *pe;
  int32_t* outCount;
  int resolution;
  uint8_t type;
  float z;  // z of the plane engine's points
};

void StoreChord(TCurveView& v, int i, const TVectorRecord& a, const TVectorRecord& b) {
  double dir[3] = {};
  v.chordLength[i] = ComputeChord(a, b, v.dims, dir);
  for (int c = 0; c < v.dims; ++c) v.chord[c][i] = dir[c];
}

// The Hermite span P-Q with chord length h, tangents t0 at P and t1 at Q.
void EmitSpan(TCurveView& v, const TVectorRecord& p, const TVectorRecord& q, double h, const double* t0,
              const double* t1, TVectorRecord* out, int32_t capacity) {
  double cp[3], cq[3];
  PointCoords(p, cp);
  PointCoords(q, cq);
  for (int c = 0; c < v.dims; ++c) {
    const double slope = (cq[c] - cp[c]) / h;
    v.coeff[4 * c + 0] = cp[c];
    v.coeff[4 * c + 1] = t0[c];
    v.coeff[4 * c + 2] = (3.0 * slope - 2.0 * t0[c] - t1[c]) / h;
    v.coeff[4 * c + 3] = (t0[c] + t1[c] - 2.0 * slope) / (h * h);
  }
  for (int k = 1; k <= v.resolution; ++k) {
    if (*v.outCount >= capacity) return;
    TVectorRecord r{v.type, q.x, q.y, v.dims == 3 ? q.z : v.z};
    // The last point is Q itself, so that spans meet exactly.
    if (k < v.resolution) {
      const double s = h * k / v.resolution;
      double value[3];
      for (int c = 0; c < v.dims; ++c) {
        const double* a = &v.coeff[4 * c];
        value[c] = ((a[3] * s + a[2]) * s + a[1]) * s + a[0];
      }
      r.x = static_cast<float>(value[0]);
      r.y = static_cast<float>(value[1]);
      if (v.dims == 3) r.z = static_cast<float>(value[2]);
    }
    out[(*v.outCount)++] = r;
  }
}

void StepCurve(TCurveView& v, TVectorRecord* out, int32_t capacity, int kind, bool finish) {
  if (kind == kCurveStepStart) {
    StoreChord(v, 0, *v.pa, *v.pb);
    StoreChord(v, 1, *v.pb, *v.pc);
    StoreChord(v, 2, *v.pc, *v.pd);
    for (int c = 0; c < v.dims; ++c) v.startTangent[c] = v.chord[c][0];
    return;
  }
  if (kind != kCurveStepSpan) return;
  StoreChord(v, 3, *v.pd, *v.pe);
  for (int c = 0; c < v.dims; ++c)
    v.newTangent[c] = AkimaTangent(v.chord[c][0], v.chord[c][1], v.chord[c][2], v.chord[c][3]);
  EmitSpan(v, *v.pb, *v.pc, v.chordLength[1], v.startTangent, v.newTangent, out, capacity);
  for (int c = 0; c < v.dims; ++c) v.startTangent[c] = v.newTangent[c];
  if (!finish) return;
  double endTangent[3] = {};
  for (int c = 0; c < v.dims; ++c) endTangent[c] = v.chord[c][3];
  EmitSpan(v, *v.pc, *v.pd, v.chordLength[2], v.startTangent, endTangent, out, capacity);
}

int ClampResolution(int resolution, int highest) { return std::clamp(resolution, 1, highest); }

void ShiftChords(double* chord) {
  for (int i = 0; i < 3; ++i) chord[i] = chord[i + 1];
}

}  // namespace

void ComputeCurveSegmentPoints(TCurveState2D& state, TVectorRecord* outBuffer, int32_t capacity, int kind, float z,
                               bool finish) {
  TCurveView v{2,
               {state.chordX, state.chordY, nullptr},
               state.newTangent,
               state.startTangent,
               state.chordLength,
               state.coeff,
               &state.pa, &state.pb, &state.pc, &state.pd, &state.pe,
               &state.outCount,
               ClampResolution(state.resolution, kMaxCurveResolution),
               kRecLinePoint,
               z};
  StepCurve(v, outBuffer, capacity, kind, finish);
}

void StepCurve3D(TCurveState3D& state, TVectorRecord* outBuffer, int32_t capacity, int kind, bool finish) {
  TCurveView v{3,
               {state.chordX, state.chordY, state.chordZ},
               state.newTangent,
               state.startTangent,
               state.chordLength,
               state.coeff,
               &state.pa, &state.pb, &state.pc, &state.pd, &state.pe,
               &state.outCount,
               ClampResolution(state.resolution, kMaxCurveResolution),
               kRec3DPoint,
               0.0f};
  StepCurve(v, outBuffer, capacity, kind, finish);
}

void ShiftCurveWindow2D(TCurveState2D& state) {
  state.pa = state.pb, state.pb = state.pc, state.pc = state.pd, state.pd = state.pe;
  ShiftChords(state.chordX);
  ShiftChords(state.chordY);
  ShiftChords(state.chordLength);
}

void ShiftCurveWindow3D(TCurveState3D& state) {
  state.pa = state.pb, state.pb = state.pc, state.pc = state.pd, state.pd = state.pe;
  ShiftChords(state.chordX);
  ShiftChords(state.chordY);
  ShiftChords(state.chordZ);
  ShiftChords(state.chordLength);
}

void ComputeEndExtraPoint(const TVectorRecord& p1, const TVectorRecord& p2, const TVectorRecord& p3,
                          TVectorRecord& extra, bool atStart) {
  double a[3], b[3], c[3], result[3];
  PointCoords(p1, a);
  PointCoords(p2, b);
  PointCoords(p3, c);
  const double u = atStart ? 0.1 : 0.9;
  const double w0 = (1 - u) * (1 - u) * (1 - u), w1 = 3 * u * (1 - u) * (1 - u), w2 = 3 * u * u * (1 - u),
               w3 = u * u * u;
  for (int i = 0; i < 3; ++i) {
    const double m = (a[i] + c[i]) / 2.0, d = b[i] - m;
    const double q1 = (a[i] + m) / 2.0 + d, q2 = (c[i] + m) / 2.0 + d;
    const double onCurve = w0 * a[i] + w1 * q1 + w2 * q2 + w3 * c[i];
    const double end = atStart ? a[i] : c[i];
    result[i] = 2.0 * end - onCurve;
  }
  extra = TVectorRecord{kRecLinePoint, static_cast<float>(result[0]), static_cast<float>(result[1]),
                        static_cast<float>(result[2])};
}

int32_t FitCurveThroughPoints(const TVectorRecord* points, int32_t count, int resolution, int32_t& outCount,
                              TVectorRecord* outBuffer, int32_t capacity) {
  outCount = 0;
  if (points == nullptr || count < 1 || capacity < 1) return 0;
  outBuffer[outCount++] = points[0];
  if (count < 3) return outCount;
  TCurveState3D state;
  state.resolution = static_cast<int16_t>(ClampResolution(resolution, kMaxFitResolution));
  state.outCount = outCount;
  ComputeEndExtraPoint(points[0], points[1], points[2], state.pa, true);
  state.pb = points[0], state.pc = points[1], state.pd = points[2];
  StepCurve3D(state, outBuffer, capacity, kCurveStepStart, false);
  for (int32_t i = 3; i < count; ++i) {
    state.pe = points[i];
    StepCurve3D(state, outBuffer, capacity, kCurveStepSpan, false);
    ShiftCurveWindow3D(state);
  }
  ComputeEndExtraPoint(points[count - 3], points[count - 2], points[count - 1], state.pe, false);
  StepCurve3D(state, outBuffer, capacity, kCurveStepSpan, true);
  outCount = state.outCount;
  return outCount;
}
