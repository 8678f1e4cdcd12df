// Contour offset engine: reading, preparation, corner arcs, segment offsets.
//
// Sections: geometry of the engine; reading and cleaning; shifting and
// jitter; corner arcs and thinning; segment offsets and joins; the call.
#include "paths/contour_offset.h"

#include <algorithm>
#include <cmath>

#include "frame/defaults.h"
#include "frame/math_constants.h"
#include "model/vector_records.h"
#include "paths/offset_loops.h"
#include "paths/contour_chaining.h"
#include "view/world_lines.h"
#include "ui/common_dialogs.h"

TOffsetEngineState OffsetEngine;

namespace {


inline double Cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

// Unit vector of (dx, dy) turned toward the side opposite the offset
// (engine side 1 offsets left, so the opposite is right).
void OppositeUnitNormal(double dx, double dy, double& nx, double& ny) {
  const double len = std::hypot(dx, dy);
  if (!(len > 0) || !std::isfinite(len)) {
    nx = ny = 0;
    return;
  }
  if (OffsetEngine.side == 1) {
    nx = dy / len;
    ny = -dx / len;
  } else {
    nx = -dy / len;
    ny = dx / len;
  }
}

void GrowBox(double x, double y) {
  TOffsetEngineState& e = OffsetEngine;
  if (!std::isfinite(x) || !std::isfinite(y)) return;
  e.minX = std::min(e.minX, x);
  e.maxX = std::max(e.maxX, x);
  e.minY = std::min(e.minY, y);
  e.maxY = std::max(e.maxY, y);
}

// Sets every segment's direction to the next vertex (the last to vertex 0).
void SetContourDirections(std::vector<TOffsetSegment>& work) {
  const size_t n = work.size();
  for (size_t i = 0; i < n; ++i) {
    const TOffsetSegment& next = work[(i + 1) % n];
    SetLineDirection(work[i], next.x, next.y);
  }
}

}  // namespace

// --- geometry of the engine ----------------------------------------------------------------

void ComputeLineSlope(TOffsetSegment& s) {
  s.steep = std::fabs(s.dx) <= std::fabs(s.dy) ? 1 : 0;
  if (s.steep)
    s.slope = s.dy != 0 ? s.dx / s.dy : 0.0;
  else
    s.slope = s.dx != 0 ? s.dy / s.dx : 0.0;
}

void ComputeSegmentAngle(TOffsetSegment& s) {
  const double a = std::atan(s.slope);
  if (s.steep)
    s.angle = s.dy >= 0 ? kPi / 2 - a : 3 * kPi / 2 - a;
  else if (s.dx >= 0)
    s.angle = s.dy >= 0 ? a : a + kTwoPi;
  else
    s.angle = a + kPi;
  if (s.angle >= kTwoPi) s.angle -= kTwoPi;
  if (s.angle < 0) s.angle += kTwoPi;
}

void SetLineDirection(TOffsetSegment& s, double px, double py) {
  s.dx = px - s.x;
  s.dy = py - s.y;
  ComputeLineSlope(s);
  ComputeSegmentAngle(s);
}

double NormalizeAngleDifference(double a, double b) {
  double r = b - a;
  if (r > kPi)
    r -= kTwoPi;
  else if (r < -kPi)
    r += kTwoPi;
  return r;
}

void IntersectLines(const TOffsetSegment& a, const TOffsetSegment& b, double& x, double& y) {
  double det = Cross(a.dx, a.dy, b.dx, b.dy);
  if (std::fabs(det) < kParallelDeterminant) det = det < 0 ? -kParallelDeterminant : kParallelDeterminant;
  const double t = Cross(b.x - a.x, b.y - a.y, b.dx, b.dy) / det;
  x = a.x + t * a.dx;
  y = a.y + t * a.dy;
}

bool IntersectLinesChecked(const TOffsetSegment& a, const TOffsetSegment& b, double& x, double& y) {
  const double det = Cross(a.dx, a.dy, b.dx, b.dy);
  if (det == 0) return false;
  const double t = Cross(b.x - a.x, b.y - a.y, b.dx, b.dy) / det;
  x = a.x + t * a.dx;
  y = a.y + t * a.dy;
  return std::isfinite(x) && std::isfinite(y);
}

void ComputeSideNormal(const TOffsetSegment& s, uint8_t side, double length, double& nx, double& ny) {
  const double len = std::hypot(s.dx, s.dy);
  if (!(len > 0) || !std::isfinite(len)) {
    nx = ny = 0;
    return;
  }
  const double f = length / len;
  if (side == 1) {
    nx = -s.dy * f;
    ny = s.dx * f;
  } else {
    nx = s.dy * f;
    ny = -s.dx * f;
  }
}

void ShiftSegmentSideways(TOffsetSegment& s, uint8_t side, double length) {
  double nx, ny;
  ComputeSideNormal(s, side, length, nx, ny);
  s.x += nx;
  s.y += ny;
}

// --- shifting and jitter ---------------------------------------------------------------------

void ShiftContourAwayFromSide(std::vector<TOffsetSegment>& work) {
  const size_t n = work.size();
  if (n < 3) return;
  std::vector<TOffsetSegment> out(work);
  for (size_t i = 0; i < n; ++i) {
    const TOffsetSegment& p = work[(i + n - 1) % n];
    const TOffsetSegment& c = work[i];
    const TOffsetSegment& nx = work[(i + 1) % n];
    const double ax = c.x - p.x, ay = c.y - p.y;    // P -> C
    const double bx = nx.x - c.x, by = nx.y - c.y;  // C -> N
    double n1x, n1y, n2x, n2y;
    OppositeUnitNormal(ax, ay, n1x, n1y);
    OppositeUnitNormal(bx, by, n2x, n2y);
    const double m1x = kContourShift * n1x, m1y = kContourShift * n1y;
    const double m2x = kContourShift * n2x, m2y = kContourShift * n2y;
    const double c1x = c.x + m1x, c1y = c.y + m1y;  // C + m1
    const double c2x = c.x + m2x, c2y = c.y + m2y;  // C + m2
    const double midX = 0.5 * (c1x + c2x), midY = 0.5 * (c1y + c2y);
    const double det = Cross(ax, ay, bx, by);
    double rx = midX, ry = midY;
    if (det != 0) {
      // (P + m1) + t1 a = (C + m2) + t2 b
      const double sx = c2x - (p.x + m1x), sy = c2y - (p.y + m1y);
      const double t1 = Cross(sx, sy, bx, by) / det;
      const double t2 = Cross(sx, sy, ax, ay) / det;
      const double xx = p.x + m1x + t1 * ax, xy = p.y + m1y + t1 * ay;
      if (std::isfinite(xx) && std::isfinite(xy)) {
        if (t1 > 0 && t1 <= 1 && t2 > 0 && t2 <= 1) {
          rx = xx;
          ry = xy;
        } else if (std::hypot(xx - c1x, xy - c1y) < kContourShiftFar) {
          rx = xx;
          ry = xy;
        }
      }
    }
    out[i].x = rx;
    out[i].y = ry;
  }
  work.swap(out);
}

namespace {

bool IsSharpVertex(const TOffsetSegment& p, const TOffsetSegment& c, const TOffsetSegment& n) {
  const double ax = c.x - p.x, ay = c.y - p.y, bx = n.x - c.x, by = n.y - c.y;
  const double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
  if (!(la > 0) || !(lb > 0)) return false;
  const double sx = ax / la + bx / lb, sy = ay / la + by / lb;
  return sx * sx + sy * sy < kSharpVertexLimit;
}

}  // namespace

void JitterSharpVertices(std::vector<TOffsetSegment>& work) {
  const size_t n = work.size();
  if (n < 3) return;
  double j = kJitterStep;
  if (IsSharpVertex(work[n - 1], work[0], work[1])) {
    work[0].x += j;
    work[0].y += j;
    j += kJitterStep;
  }
  for (size_t i = 1; i < n; ++i) {
    if (!IsSharpVertex(work[i - 1], work[i], work[(i + 1) % n])) continue;
    work[i].x += j;
    work[i].y += j;
    j += kJitterStep;
    if (j >= kJitterWrap) j -= kJitterWrap;
  }
}

// --- corner arcs and thinning --------------------------------------------------------------------

void InsertCornerArcs(std::vector<TOffsetSegment>& work, double arcStep) {
  const size_t n = work.size();
  if (n < 3) return;
  SetContourDirections(work);
  const bool left = OffsetEngine.side == 1;
  const double innerLimit = OffsetEngine.innerLimit;
  std::vector<TOffsetSegment> out;
  out.reserve(std::min<size_t>(n * 2 + 16, kMaxContourVertices));
  int64_t count = int64_t(n);
  for (size_t i = 0; i < n; ++i) {
    const TOffsetSegment& prev = work[(i + n - 1) % n];
    const TOffsetSegment& cur = work[i];
    const double e = NormalizeAngleDifference(prev.angle, cur.angle);
    const bool inner = left ? e > 0 : e <= 0;
    TOffsetSegment v = cur;
    if (inner) {
      const double turn = std::fabs(e);
      v.type = turn < kOneDegree ? 0 : (turn > innerLimit ? 1 : 2);
      out.push_back(v);
      continue;
    }
    v.type = 0;
    if (!(std::fabs(e) >= arcStep)) {
      out.push_back(v);
      continue;
    }
    // Centre: the crossing of both lines moved by the arc radius away from
    // the offset side, at most kCornerArcCentreLimit from the vertex.
    TOffsetSegment a = prev, b = cur;
    double nx, ny;
    OppositeUnitNormal(a.dx, a.dy, nx, ny);
    a.x += kCornerArcRadius * nx;
    a.y += kCornerArcRadius * ny;
    OppositeUnitNormal(b.dx, b.dy, nx, ny);
    b.x += kCornerArcRadius * nx;
    b.y += kCornerArcRadius * ny;
    double ox, oy;
    IntersectLines(a, b, ox, oy);
    const double dist = std::hypot(ox - cur.x, oy - cur.y);
    if (!std::isfinite(dist)) {
      ox = cur.x;
      oy = cur.y;
    } else if (dist > kCornerArcCentreLimit) {
      ox = cur.x + (ox - cur.x) * (kCornerArcCentreLimit / dist);
      oy = cur.y + (oy - cur.y) * (kCornerArcCentreLimit / dist);
    }
    const double steps = std::trunc(std::fabs(e) / arcStep);
    if (!(steps + 1 + double(count) < double(kMaxContourVertices))) {
      ErrorCode = 2;
      return;
    }
    const int l = int(steps) + 1;
    count += l;
    double theta = prev.angle + (left ? kPi / 2 : -kPi / 2);
    const double step = e / l;
    for (int k = 0; k <= l; ++k, theta += step) {
      TOffsetSegment p;
      p.type = 0;
      p.x = ox + kCornerArcRadius * std::cos(theta);
      p.y = oy + kCornerArcRadius * std::sin(theta);
      out.push_back(p);
    }
  }
  work.swap(out);
  SetContourDirections(work);
}

void ThinWorkContour(std::vector<TOffsetSegment>& work, double tolerance) {
  if (work.size() > size_t(kMaxContourVertices - 1)) work.resize(kMaxContourVertices - 1);
  if (work.size() < 4) return;
  // The shared point thinning works on vector records, closed back to the
  // start, in step units (step 1: millimetres).
  std::vector<TVectorRecord> closed;
  closed.reserve(work.size() + 1);
  for (size_t i = 0; i < work.size(); ++i)
    closed.push_back(TVectorRecord{uint8_t(i == 0 ? kRecContourStart : kRecLinePoint), float(work[i].x),
                                   float(work[i].y), 0.0f});
  closed.push_back(TVectorRecord{kRecLinePoint, float(work[0].x), float(work[0].y), 0.0f});
  MovePenToWorldPoint(closed[0].x, closed[0].y);
  std::vector<TVectorRecord> thinned;
  int32_t count = 0;
  ThinPointList(closed, thinned, int32_t(closed.size()) - 1, tolerance, 1.0, count);
  count = std::min<int32_t>(count, int32_t(thinned.size()));
  if (count >= 2 && thinned[size_t(count) - 1].x == thinned[0].x && thinned[size_t(count) - 1].y == thinned[0].y)
    --count;  // the closing point
  if (count < 3) return;  // thinning would leave no contour: keep it
  std::vector<TOffsetSegment> out(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    out[size_t(i)].x = thinned[size_t(i)].x;
    out[size_t(i)].y = thinned[size_t(i)].y;
  }
  work.swap(out);
}

// --- segment offsets and joins ----------------------------------------------------------------------

void OffsetContourSegments(std::vector<TOffsetSegment>& work) {
  TOffsetEngineState& e = OffsetEngine;
  const size_t n = work.size();
  for (TOffsetSegment& s : work) {
    GrowBox(s.x, s.y);
    ShiftSegmentSideways(s, e.side, e.distance);
  }
  for (size_t i = 0; i < n; ++i) {
    TOffsetSegment& s = work[i];
    if (s.type != 0) continue;
    TOffsetSegment& p = work[(i + n - 1) % n];
    double xx, xy;
    if (!IntersectLinesChecked(p, s, xx, xy)) continue;
    const double lp = p.dx * p.dx + p.dy * p.dy, ls = s.dx * s.dx + s.dy * s.dy;
    if (!(lp > 0) || !(ls > 0)) continue;
    const double tp = ((xx - p.x) * p.dx + (xy - p.y) * p.dy) / lp;
    const double ts = ((xx - s.x) * s.dx + (xy - s.y) * s.dy) / ls;
    if (!(tp > kJoinPredecessorParam && ts < kJoinSegmentParam)) continue;
    const double endX = s.x + s.dx, endY = s.y + s.dy;
    s.x = xx;
    s.y = xy;
    s.dx = endX - xx;
    s.dy = endY - xy;
    if (i != 0) {
      p.dx = xx - p.x;
      p.dy = xy - p.y;
    }
  }
  if (n > 0 && work[0].type == 0) {
    TOffsetSegment& last = work[n - 1];
    last.dx = work[0].x - last.x;
    last.dy = work[0].y - last.y;
  }
  for (TOffsetSegment& s : work) {
    ComputeLineSlope(s);
    ComputeSegmentAngle(s);
    GrowBox(s.x, s.y);
  }
}

// --- contours ------------------------------------------------------------------------------------------

namespace {

void SaveContourCopies(const std::vector<TOffsetSegment>& work) {
  TOffsetEngineState& e = OffsetEngine;
  e.contourFirst.push_back(int32_t(e.totalVertices));
  e.prepared.insert(e.prepared.end(), work.begin(), work.end());
  for (size_t i = 0; i < work.size(); ++i) {
    const TOffsetRecord r{uint8_t(i == 0 ? kOffsetContourStart : kOffsetLinePoint), work[i].x, work[i].y, 0.0};
    PutOffsetRecord(e.contourWriter, r);
  }
}

}  // namespace

void OffsetOneContour(std::vector<TOffsetSegment>& work) {
  TOffsetEngineState& e = OffsetEngine;
  double arcStep = e.roundingAngle;
  double tolerance = kArcThinStart;
  std::vector<TOffsetSegment> arcs;
  for (int attempt = 0;; ++attempt) {
    ErrorCode = e.entryCode;
    arcs = work;
    InsertCornerArcs(arcs, arcStep);
    if (ErrorCode != 2) break;
    if (attempt + 1 >= kMaxArcTries) return;
    // Thin at the current tolerance (0.0005 first), then coarser next time.
    ThinWorkContour(work, tolerance);
    tolerance *= tolerance < kThinFastLimit ? 3.333 : 1.5;
    if (arcStep < kArcStepLimit) arcStep += kArcStepGrowth;
    if (work.size() < 3) {
      ErrorCode = e.entryCode;
      return;  // thinned away: nothing to offset
    }
  }
  if (ErrorCode > 0) return;
  if (arcs.size() < 3) return;
  if (e.totalVertices + int64_t(arcs.size()) > kMaxTotalVertices) {
    ErrorCode = 2;
    return;
  }
  SaveContourCopies(arcs);
  OffsetContourSegments(arcs);
  e.offsets.insert(e.offsets.end(), arcs.begin(), arcs.end());
  if (int32_t(e.contourFirst.size()) >= kMaxOffsetContours) ErrorCode = 3;
  e.totalVertices += int64_t(arcs.size());
  UpdateProgressDisplay(int32_t(std::min<int64_t>(e.totalVertices, INT32_MAX)));
  SetLinePenMode(0, 12);
  if (ErrorCode <= 0 && CheckEscapeAbort() != 0) ErrorCode = 1;
}

namespace {

// Finishes the contour collected in work: closing repeat dropped, shifted,
// jittered, offset.
void FinishContour(std::vector<TOffsetSegment>& work) {
  if (work.size() >= 2) {
    const TOffsetSegment& f = work.front();
    const TOffsetSegment& l = work.back();
    if (std::fabs(f.x - l.x) <= kDuplicatePointGap && std::fabs(f.y - l.y) <= kDuplicatePointGap) work.pop_back();
  }
  if (work.size() >= 3) {
    ShiftContourAwayFromSide(work);
    JitterSharpVertices(work);
    OffsetOneContour(work);
  }
  work.clear();
}

}  // namespace

void ReadContoursForOffset(const std::string& name) {
  TOffsetEngineState& e = OffsetEngine;
  TVectorArray input;
  const TErrorCode before = ErrorCode;
  LoadRecordArray(name, input);
  if (ErrorCode != before && input.count == 0) ErrorCode = before;  // unreadable counts as empty
  if (input.count < 4) {
    FreeRecordArray(input);
    ErrorCode = 100;
    return;
  }
  if (!OpenOffsetFileWriter(e.contourWriter, kOffsetContourFile, kOffsetRecordSize)) {
    FreeRecordArray(input);
    CloseOffsetFileWriter(e.contourWriter);
    ErrorCode = 4;
    return;
  }
  BeginProgressDisplay(input.count);
  // The prepared and offset copies hold one segment per input point and the
  // corner arcs; reserving (untouched, so not yet resident) room for four
  // times the input spares the copies of a growing table.
  const size_t expected = size_t(std::min<int64_t>(int64_t(input.count) * 4, kMaxTotalVertices));
  e.prepared.reserve(expected);
  e.offsets.reserve(expected);
  e.contourFirst.reserve(size_t(std::min<int32_t>(input.count / 4 + 2, kMaxOffsetContours + 1)));
  std::vector<TOffsetSegment> work;
  work.reserve(4096);
  bool inContour = false;
  for (int32_t i = 0; i < input.count; ++i) {
    const TVectorRecord& r = input.records[i];
    if (r.type != kRecLinePoint && r.type != kRecContourStart) continue;
    const double x = r.x, y = r.y;
    if (!std::isfinite(x) || !std::isfinite(y)) continue;
    if (r.type == kRecContourStart) {
      if (work.size() > 2) FinishContour(work);
      work.clear();
      if (ErrorCode > 0) break;
      TOffsetSegment v;
      v.x = x;
      v.y = y;
      work.push_back(v);
      inContour = true;
      continue;
    }
    if (!inContour) continue;  // points before the first contour start
    TOffsetSegment& last = work.back();
    const double ddx = std::fabs(x - last.x), ddy = std::fabs(y - last.y);
    if (ddx <= kDuplicatePointGap && ddy <= kDuplicatePointGap) continue;
    if (ddx < kAxisParallelGap)
      last.x += kAxisNudge;
    else if (ddy < kAxisParallelGap)
      last.y += kAxisNudge;
    TOffsetSegment v;
    v.x = x;
    v.y = y;
    work.push_back(v);
    if (int32_t(work.size()) >= kMaxContourVertices) {
      ErrorCode = 2;
      break;
    }
  }
  if (ErrorCode <= 0 && work.size() > 2) FinishContour(work);
  FreeRecordArray(input);
  if (ErrorCode <= 0) e.contourFirst.push_back(int32_t(e.totalVertices));
  PutOffsetRecord(e.contourWriter, TOffsetRecord{kOffsetContourStart, 0.0, 0.0, 0.0});
  CloseOffsetFileWriter(e.contourWriter);
  if (!e.contourWriter.ok && ErrorCode <= 0) ErrorCode = 4;
}

// --- the call ------------------------------------------------------------------------------------------------

void ReleaseOffsetEngine() {
  TOffsetEngineState& e = OffsetEngine;
  CloseOffsetFileWriter(e.contourWriter);
  std::vector<int32_t>().swap(e.contourFirst);
  std::vector<TOffsetSegment>().swap(e.prepared);
  std::vector<TOffsetSegment>().swap(e.offsets);
}

void OffsetContourFile(const std::string& name, uint8_t side, float d, float roundingAngle, float innerLimit) {
  TOffsetEngineState& e = OffsetEngine;
  ReleaseOffsetEngine();
  e.entryCode = int16_t(std::clamp<TErrorCode>(ErrorCode, INT16_MIN, INT16_MAX));
  if (!std::isfinite(d) || d < kMinOffsetDistance || d > 1e7f) {
    ErrorCode = 100;
    return;
  }
  e.distance = d;
  e.cellSize = 1.1 * double(d);
  e.side = side == 0 ? 1 : 0;
  e.roundingAngle = std::isfinite(roundingAngle) && roundingAngle > 0.001f ? roundingAngle : 0.001;
  e.innerLimit = std::isfinite(innerLimit) ? innerLimit : kPi;
  e.minX = e.minY = 1000000.0;
  e.maxX = e.maxY = -1000000.0;
  e.totalVertices = 0;

  ReadContoursForOffset(name);
  if (ErrorCode <= 0 && !e.contourFirst.empty()) {
    TBandGrid grid;
    BuildBandGrid(grid);
    if (ErrorCode <= 0) RemoveOffsetLoops(grid);
    ReleaseBandGrid(grid);
  }
  ReleaseOffsetLoops();
  ReleaseOffsetEngine();
}
