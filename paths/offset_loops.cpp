// Contour offset engine: band grid, candidate edges, chain tracing.
//
// Sections: small geometry; band rasterisation and the grid; candidate
// edges (bisector pieces and midlines); chain entries and walks; output.
#include "paths/offset_loops.h"

#include <algorithm>
#include <cmath>

#include "frame/defaults.h"
#include "frame/math_constants.h"
#include "view/world_lines.h"
#include "ui/common_dialogs.h"

TOffsetLoopState OffsetLoops;

namespace {

constexpr double kGridEpsilon = 1e-6;  // grid units added around every edge

struct TPt {
  double x = 0, y = 0;
};

inline double EndX(const TOffsetSegment& s) { return s.x + s.dx; }
inline double EndY(const TOffsetSegment& s) { return s.y + s.dy; }
inline double AxisOf(double x, double y, bool alongY) { return alongY ? y : x; }
inline bool SamePoint(double ax, double ay, double bx, double by, double gap) {
  return std::fabs(ax - bx) <= gap && std::fabs(ay - by) <= gap;
}

TOffsetSegment MakeSegment(double ax, double ay, double bx, double by) {
  TOffsetSegment s;
  s.x = ax;
  s.y = ay;
  SetLineDirection(s, bx, by);
  return s;
}

// The point lies within the segment's extent along its major axis, widened.
bool InExtent(const TOffsetSegment& s, double px, double py, double widen) {
  if (s.steep) {
    const double lo = std::min(s.y, EndY(s)), hi = std::max(s.y, EndY(s));
    return py >= lo - widen && py <= hi + widen;
  }
  const double lo = std::min(s.x, EndX(s)), hi = std::max(s.x, EndX(s));
  return px >= lo - widen && px <= hi + widen;
}

// The point of the line at coordinate v of the axis; false when the line
// does not move along that axis.
bool PointAtAxis(const TOffsetSegment& line, bool alongY, double v, TPt& p) {
  const double comp = alongY ? line.dy : line.dx;
  if (comp == 0 || !std::isfinite(comp)) return false;
  const double t = (v - (alongY ? line.y : line.x)) / comp;
  p.x = line.x + t * line.dx;
  p.y = line.y + t * line.dy;
  return std::isfinite(p.x) && std::isfinite(p.y);
}

// Distance of (x, y) from the segment.
double SegmentDistance(double x, double y, const TOffsetSegment& s) {
  const double len2 = s.dx * s.dx + s.dy * s.dy;
  double t = len2 > 0 ? ((x - s.x) * s.dx + (y - s.y) * s.dy) / len2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(s.x + t * s.dx - x, s.y + t * s.dy - y);
}

double Deviation(const TOffsetSegment& e, double reference) {
  return std::fabs(NormalizeAngleDifference(e.angle, reference));
}

}  // namespace

// --- band rasterisation and the grid -----------------------------------------------------------

namespace {

// Grid coordinate of a world coordinate, limited so that it converts safely.
inline double GridUnit(double v, double origin, double cell) {
  const double u = (v - origin) / cell;
  if (!(u > -1e9)) return -1e9;
  if (!(u < 1e9)) return 1e9;
  return u;
}

inline int32_t CellIndex(double u, int32_t n) {
  const double r = std::floor(u + 0.5);
  if (r < 0) return 0;
  if (r > n - 1) return n - 1;
  return int32_t(r);
}

// Adds the cells that the edge a-b (grid units) passes to the row spans.
void SpanEdge(double ax, double ay, double bx, double by, const TBandGrid& grid, std::vector<int32_t>& rowMin,
              std::vector<int32_t>& rowMax) {
  const double ylo = std::min(ay, by), yhi = std::max(ay, by);
  const int32_t r0 = CellIndex(ylo - kGridEpsilon, grid.ny), r1 = CellIndex(yhi + kGridEpsilon, grid.ny);
  const double dy = by - ay;
  for (int32_t r = r0; r <= r1; ++r) {
    double xa, xb;
    if (std::fabs(dy) < 1e-12) {
      xa = std::min(ax, bx);
      xb = std::max(ax, bx);
    } else {
      const double ya = std::max(ylo, r - 0.5), yb = std::min(yhi, r + 0.5);
      const double ta = std::clamp((ya - ay) / dy, 0.0, 1.0), tb = std::clamp((yb - ay) / dy, 0.0, 1.0);
      xa = ax + ta * (bx - ax);
      xb = ax + tb * (bx - ax);
      if (xa > xb) std::swap(xa, xb);
    }
    const int32_t c0 = CellIndex(xa - kGridEpsilon, grid.nx), c1 = CellIndex(xb + kGridEpsilon, grid.nx);
    rowMin[r] = std::min(rowMin[r], c0);
    rowMax[r] = std::max(rowMax[r], c1);
  }
}

// Calls visit(cell) for every cell the band of segment g touches (each once).
template <typename TVisit>
void VisitBandCells(const TBandGrid& grid, int32_t g, TVisit visit) {
  const TOffsetSegment& q = OffsetEngine.prepared[g];
  const TOffsetSegment& o = OffsetEngine.offsets[g];
  const double c = grid.cellSize;
  const TPt pt[4] = {{GridUnit(q.x, grid.originX, c), GridUnit(q.y, grid.originY, c)},
                     {GridUnit(EndX(q), grid.originX, c), GridUnit(EndY(q), grid.originY, c)},
                     {GridUnit(EndX(o), grid.originX, c), GridUnit(EndY(o), grid.originY, c)},
                     {GridUnit(o.x, grid.originX, c), GridUnit(o.y, grid.originY, c)}};
  double ylo = pt[0].y, yhi = pt[0].y;
  for (const TPt& p : pt) {
    ylo = std::min(ylo, p.y);
    yhi = std::max(yhi, p.y);
  }
  const int32_t r0 = CellIndex(ylo - kGridEpsilon, grid.ny), r1 = CellIndex(yhi + kGridEpsilon, grid.ny);
  std::vector<int32_t>& rowMin = OffsetLoops.rowMin;
  std::vector<int32_t>& rowMax = OffsetLoops.rowMax;
  for (int32_t r = r0; r <= r1; ++r) {
    rowMin[r] = INT32_MAX;
    rowMax[r] = -1;
  }
  for (int k = 0; k < 4; ++k) {
    const TPt& a = pt[k];
    const TPt& b = pt[(k + 1) % 4];
    SpanEdge(a.x, a.y, b.x, b.y, grid, rowMin, rowMax);
  }
  for (int32_t r = r0; r <= r1; ++r)
    for (int32_t col = rowMin[r]; col <= rowMax[r]; ++col) visit(int64_t(col) + int64_t(r) * grid.nx);
}

}  // namespace

void ReleaseBandGrid(TBandGrid& grid) {
  std::vector<int64_t>().swap(grid.cellStart);
  std::vector<int32_t>().swap(grid.entries);
}

void BuildBandGrid(TBandGrid& grid) {
  TOffsetEngineState& e = OffsetEngine;
  const int64_t segments = int64_t(e.prepared.size());
  const double width = std::max(0.0, e.maxX - e.minX), height = std::max(0.0, e.maxY - e.minY);
  const int64_t cellLimit = std::clamp<int64_t>(2 * segments, 126 * 126, kMaxGridCells);
  double c = e.cellSize;
  if (!(c > 0)) c = 1.1 * kMinOffsetDistance;
  double nx = 0, ny = 0;
  for (int tries = 0; tries < 200; ++tries) {
    nx = std::trunc(width / c) + 5;
    ny = std::trunc(height / c) + 5;
    if (nx <= kMaxGridAxisCells && ny <= kMaxGridAxisCells && nx * ny <= double(cellLimit)) break;
    double grow = std::max({nx / kMaxGridAxisCells, ny / kMaxGridAxisCells, std::sqrt(nx * ny / double(cellLimit))});
    if (!std::isfinite(grow) || grow > 1e30) grow = 1e30;
    c *= std::max(1.05, grow * 1.01);
  }
  nx = std::clamp(nx, 5.0, double(kMaxGridAxisCells));
  ny = std::clamp(ny, 5.0, double(kMaxGridAxisCells));
  e.cellSize = c;
  grid.cellSize = c;
  grid.nx = int32_t(nx);
  grid.ny = int32_t(ny);
  grid.originX = e.minX - 2 * c;
  grid.originY = e.minY - 2 * c;
  const int64_t cells = int64_t(grid.nx) * grid.ny;
  OffsetLoops.rowMin.assign(size_t(grid.ny), 0);
  OffsetLoops.rowMax.assign(size_t(grid.ny), 0);

  // Count, then fill (cell lists stay ascending: segments go in in order).
  grid.cellStart.assign(size_t(cells) + 1, 0);
  for (int32_t g = 0; g < segments; ++g)
    VisitBandCells(grid, g, [&](int64_t cell) { ++grid.cellStart[size_t(cell) + 1]; });
  for (int64_t n = 0; n < cells; ++n) grid.cellStart[size_t(n) + 1] += grid.cellStart[size_t(n)];
  const int64_t total = grid.cellStart[size_t(cells)];
  if (total > kMaxGridEntries) {
    ErrorCode = 9;
    return;
  }
  grid.entries.assign(size_t(total), 0);
  std::vector<int64_t> fill(grid.cellStart.begin(), grid.cellStart.end() - 1);
  const int32_t contours = int32_t(e.contourFirst.size()) - 1;
  for (int32_t k = 0; k < contours; ++k) {
    for (int32_t g = e.contourFirst[k]; g < e.contourFirst[k + 1]; ++g)
      VisitBandCells(grid, g, [&](int64_t cell) { grid.entries[size_t(fill[size_t(cell)]++)] = g; });
    if ((k & 63) == 63 || k + 1 == contours) {
      UpdateProgressDisplay(e.contourFirst[k + 1]);
      SetLinePenMode(0, 12);
      if (CheckEscapeAbort() != 0) ErrorCode = 1;
      if (ErrorCode > 0) return;
    }
  }
}

void CollectBandCandidates(const TBandGrid& grid, int32_t g) {
  TOffsetLoopState& st = OffsetLoops;
  st.candidates.clear();
  bool overflow = false;
  VisitBandCells(grid, g, [&](int64_t cell) {
    const int64_t a = grid.cellStart[size_t(cell)], b = grid.cellStart[size_t(cell) + 1];
    if (b - a < 2 || overflow) return;
    for (int64_t k = a; k < b; ++k) {
      const int32_t s = grid.entries[size_t(k)];
      if (st.stamp[size_t(s)] == g) continue;
      st.stamp[size_t(s)] = g;
      if (int32_t(st.candidates.size()) >= kMaxBandCandidates) {
        overflow = true;
        return;
      }
      st.candidates.push_back(s);
    }
  });
  if (overflow) {
    ErrorCode = 6;
    st.candidates.clear();
    return;
  }
  std::sort(st.candidates.begin(), st.candidates.end());
}

// --- candidate edges --------------------------------------------------------------------------------

namespace {

// The line's piece inside the band of prepared p and offset o: up to two
// points on the band's boundary. x0 is the crossing with p's line, x1 with
// o's line.
int ClipLineToBand(const TOffsetSegment& line, const TOffsetSegment& p, const TOffsetSegment& o, const TPt& x0,
                   const TPt& x1, TPt (&pts)[2]) {
  int count = 0;
  auto add = [&](double x, double y) {
    if (count == 1 && SamePoint(x, y, pts[0].x, pts[0].y, kSamePointGap)) return;
    if (count < 2) pts[count++] = TPt{x, y};
  };
  const TOffsetSegment startEdge = MakeSegment(p.x, p.y, o.x, o.y);
  const TOffsetSegment endEdge = MakeSegment(EndX(p), EndY(p), EndX(o), EndY(o));
  double cx, cy;
  if (IntersectLinesChecked(line, endEdge, cx, cy) && InExtent(endEdge, cx, cy, kExtentWiden)) add(cx, cy);
  if (IntersectLinesChecked(line, startEdge, cx, cy) && InExtent(startEdge, cx, cy, kExtentWiden)) add(cx, cy);
  if (count < 2 && InExtent(o, x1.x, x1.y, kExtentWiden)) add(x1.x, x1.y);
  if (count == 1 && InExtent(p, x0.x, x0.y, kExtentWiden) &&
      !SamePoint(x0.x, x0.y, pts[0].x, pts[0].y, kSamePointGap * 0.999999))
    add(x0.x, x0.y);
  return count;
}

// Orients the edge to run the same way as q along one axis.
void OrientLikeSegment(TOffsetSegment& edge, const TOffsetSegment& q) {
  bool alongY;
  if (edge.steep == q.steep)
    alongY = edge.steep != 0;
  else if ((edge.steep && std::fabs(edge.slope) >= std::fabs(q.slope)) ||
           (!edge.steep && std::fabs(edge.slope) < std::fabs(q.slope)))
    alongY = false;
  else
    alongY = true;
  const double ce = alongY ? edge.dy : edge.dx, cq = alongY ? q.dy : q.dx;
  if (ce * cq < 0) edge = MakeSegment(EndX(edge), EndY(edge), edge.x, edge.y);
}

}  // namespace

namespace {

// The current segment while it is traced.
struct TTraceContext {
  int32_t g = 0, next = 0, prev = 0;
  const TOffsetSegment* q = nullptr;
  const TOffsetSegment* qo = nullptr;
  uint8_t startType = 0, endType = 0;
  double reference = 0;
};

// Slope form and angle of an edge from the direction (dx, dy) with the
// given steep flag; the edge keeps its own start and end.
void SetEdgeForm(TOffsetSegment& edge, double dx, double dy, uint8_t steep) {
  TOffsetSegment dir;
  dir.dx = dx;
  dir.dy = dy;
  dir.steep = steep;
  if (steep)
    dir.slope = dy != 0 ? dx / dy : 0.0;
  else
    dir.slope = dx != 0 ? dy / dx : 0.0;
  ComputeSegmentAngle(dir);
  edge.steep = steep;
  edge.slope = dir.slope;
  edge.angle = dir.angle;
}

// Two antiparallel segments: the midline between their lines, cut to both
// bands, running the same way as q.
bool MakeMidlineEdge(const TTraceContext& t, const TOffsetSegment& s, const TOffsetSegment& so,
                     TOffsetSegment& edge) {
  const TOffsetSegment& q = *t.q;
  const TOffsetSegment& qo = *t.qo;
  const TOffsetSegment startEdge = MakeSegment(q.x, q.y, qo.x, qo.y);
  const TOffsetSegment endEdge = MakeSegment(EndX(q), EndY(q), EndX(qo), EndY(qo));
  TPt s1, s2;
  IntersectLines(startEdge, s, s1.x, s1.y);
  IntersectLines(endEdge, s, s2.x, s2.y);
  const TPt p1{0.5 * (q.x + s1.x), 0.5 * (q.y + s1.y)};
  const TPt p2{0.5 * (EndX(q) + s2.x), 0.5 * (EndY(q) + s2.y)};
  if (!std::isfinite(p1.x) || !std::isfinite(p1.y) || !std::isfinite(p2.x) || !std::isfinite(p2.y)) return false;
  if (!InExtent(startEdge, p1.x, p1.y, kExtentWiden)) return false;
  const TOffsetSegment mid = MakeSegment(p1.x, p1.y, p2.x, p2.y);
  const bool alongY = q.steep != 0;
  if ((alongY ? mid.dy : mid.dx) == 0) return false;
  const TOffsetSegment cs = MakeSegment(s.x, s.y, so.x, so.y);
  const TOffsetSegment ce = MakeSegment(EndX(s), EndY(s), EndX(so), EndY(so));
  TPt t1, t2;
  IntersectLines(mid, cs, t1.x, t1.y);
  IntersectLines(mid, ce, t2.x, t2.y);
  const double a1 = AxisOf(p1.x, p1.y, alongY), a2 = AxisOf(p2.x, p2.y, alongY);
  const double b1 = AxisOf(t1.x, t1.y, alongY), b2 = AxisOf(t2.x, t2.y, alongY);
  const double lo = std::max(std::min(a1, a2), std::min(b1, b2));
  const double hi = std::min(std::max(a1, a2), std::max(b1, b2));
  if (!(lo <= hi)) return false;
  TPt from, to;
  if (!PointAtAxis(mid, alongY, lo, from) || !PointAtAxis(mid, alongY, hi, to)) return false;
  double dx = mid.dx, dy = mid.dy;
  if ((alongY ? q.dy : q.dx) < 0) {
    std::swap(from, to);
  }
  if ((alongY ? dy : dx) * (alongY ? q.dy : q.dx) < 0) {
    dx = -dx;
    dy = -dy;
  }
  edge.x = from.x;
  edge.y = from.y;
  edge.dx = to.x - from.x;
  edge.dy = to.y - from.y;
  SetEdgeForm(edge, dx, dy, q.steep);
  return true;
}

bool MakeBisectorCandidate(const TTraceContext& t, int32_t g2, TOffsetSegment& edge) {
  const TOffsetSegment& q = *t.q;
  const TOffsetSegment& qo = *t.qo;
  const TOffsetSegment& s = OffsetEngine.prepared[size_t(g2)];
  const TOffsetSegment& so = OffsetEngine.offsets[size_t(g2)];
  if (g2 == t.g) return false;
  if (g2 == t.next && t.endType == 0) return false;
  if (g2 == t.prev && t.startType == 0) return false;
  const double delta = NormalizeAngleDifference(q.angle, s.angle);
  if (std::fabs(delta) < kOneDegree) return false;
  if (std::fabs(delta) > kAntiparallelAngle) return MakeMidlineEdge(t, s, so, edge);
  TPt x0, x1;
  IntersectLines(q, s, x0.x, x0.y);
  IntersectLines(qo, so, x1.x, x1.y);
  if (!std::isfinite(x0.x) || !std::isfinite(x0.y) || !std::isfinite(x1.x) || !std::isfinite(x1.y)) return false;
  TOffsetSegment line = MakeSegment(x0.x, x0.y, x1.x, x1.y);
  if (line.dx == 0 && line.dy == 0) return false;
  TPt a[2], b[2];
  if (ClipLineToBand(line, q, qo, x0, x1, a) < 2) return false;
  if (ClipLineToBand(line, s, so, x0, x1, b) < 2) return false;
  const bool alongY = line.steep != 0;
  const double lo = std::max(std::min(AxisOf(a[0].x, a[0].y, alongY), AxisOf(a[1].x, a[1].y, alongY)),
                             std::min(AxisOf(b[0].x, b[0].y, alongY), AxisOf(b[1].x, b[1].y, alongY)));
  const double hi = std::min(std::max(AxisOf(a[0].x, a[0].y, alongY), AxisOf(a[1].x, a[1].y, alongY)),
                             std::max(AxisOf(b[0].x, b[0].y, alongY), AxisOf(b[1].x, b[1].y, alongY)));
  if (!(lo <= hi)) return false;
  TPt from, to;
  if (!PointAtAxis(line, alongY, lo, from) || !PointAtAxis(line, alongY, hi, to)) return false;
  // Orient the line like q; the cut piece follows it.
  TOffsetSegment oriented = MakeSegment(from.x, from.y, from.x + line.dx, from.y + line.dy);
  OrientLikeSegment(oriented, q);
  if (oriented.dx * (to.x - from.x) + oriented.dy * (to.y - from.y) < 0) std::swap(from, to);
  edge.x = from.x;
  edge.y = from.y;
  edge.dx = to.x - from.x;
  edge.dy = to.y - from.y;
  SetEdgeForm(edge, oriented.dx, oriented.dy, oriented.steep);
  return true;
}

}  // namespace

// --- chain entries and walks -----------------------------------------------------------------------

namespace {

// Edges whose end (atEnd) or start lies on the band edge, nearest to the
// prepared vertex first; the largest (atEnd) or smallest deviation wins.
int32_t FindEntryOnBandEdge(const TOffsetSegment& bandEdge, double vx, double vy, bool atEnd) {
  TOffsetLoopState& st = OffsetLoops;
  st.hits.clear();
  const bool alongY = bandEdge.steep != 0;
  for (int32_t j = 0; j < int32_t(st.table.size()); ++j) {
    const TOffsetSegment& e = st.table[size_t(j)];
    double cx, cy;
    if (!IntersectLinesChecked(e, bandEdge, cx, cy)) continue;
    const double px = atEnd ? EndX(e) : e.x, py = atEnd ? EndY(e) : e.y;
    if (!SamePoint(px, py, cx, cy, kOnEdgeGap)) continue;
    st.hits.push_back(TChainHit{std::fabs(AxisOf(cx, cy, alongY) - AxisOf(vx, vy, alongY)), j, cx, cy});
  }
  if (st.hits.empty()) return -1;
  std::stable_sort(st.hits.begin(), st.hits.end(),
                   [](const TChainHit& a, const TChainHit& b) { return a.distance < b.distance; });
  const double limit = st.hits.front().distance + kOnEdgeGap;
  int32_t best = -1;
  double bestDev = 0;
  for (size_t k = 0; k < st.hits.size() && k < size_t(kMaxTiedEdges); ++k) {
    if (st.hits[k].distance > limit) break;
    const int32_t j = st.hits[k].edge;
    const double dev = st.deviation[size_t(j)];
    if (best < 0 || (atEnd ? dev >= bestDev : dev < bestDev)) {
      best = j;
      bestDev = dev;
    }
  }
  return best;
}

int32_t FindEdgeOfSegment(int32_t g) {
  const TOffsetLoopState& st = OffsetLoops;
  for (int32_t j = 0; j + 1 < int32_t(st.table.size()); ++j)
    if (st.table[size_t(j)].candidate == g) return j;
  return -1;
}

// One step of a walk along the edges: forward to the nearest crossing ahead
// with a smaller deviation, backward to the nearest behind with a larger one.
bool StepChain(bool forward, int32_t& edge, int32_t& before, double& px, double& py) {
  TOffsetLoopState& st = OffsetLoops;
  const TOffsetSegment& e = st.table[size_t(edge)];
  const double devE = st.deviation[size_t(edge)];
  const bool alongY = e.steep != 0;
  const double comp = alongY ? e.dy : e.dx;
  const double sign = comp > 0 ? 1.0 : (comp < 0 ? -1.0 : 0.0);
  const double pa = AxisOf(px, py, alongY);
  const double limitA = forward ? AxisOf(EndX(e), EndY(e), alongY) : AxisOf(e.x, e.y, alongY);
  st.hits.clear();
  const int32_t count = int32_t(st.table.size());
  if (sign != 0) {
    for (int32_t j = 0; j < count; ++j) {
      if (j == edge || j == before) continue;
      const double devJ = st.deviation[size_t(j)];
      if (forward ? !(devJ < devE) : !(devJ > devE)) continue;
      const TOffsetSegment& o = st.table[size_t(j)];
      double cx, cy;
      if (!IntersectLinesChecked(e, o, cx, cy)) continue;
      const double ca = AxisOf(cx, cy, alongY);
      const double dist = forward ? (ca - pa) * sign : (pa - ca) * sign;
      if (!(dist > 0)) continue;
      if (forward ? (ca - limitA) * sign > kBeyondEndGap : (limitA - ca) * sign > kBeyondEndGap) continue;
      if (!InExtent(o, cx, cy, kExtentWiden)) continue;
      st.hits.push_back(TChainHit{dist, j, cx, cy});
    }
  }
  if (!st.hits.empty()) {
    std::stable_sort(st.hits.begin(), st.hits.end(),
                     [](const TChainHit& a, const TChainHit& b) { return a.distance < b.distance; });
    const double limit = st.hits.front().distance + kOnEdgeGap;
    size_t keep = 0;
    while (keep < st.hits.size() && keep < size_t(kMaxTiedEdges) && st.hits[keep].distance <= limit) ++keep;
    st.hits.resize(keep);
  } else {
    // No crossing: edges that begin where e ends (forward) or end where e
    // begins (backward).
    for (int32_t j = 0; j < count; ++j) {
      if (j == edge || j == before) continue;
      const TOffsetSegment& o = st.table[size_t(j)];
      if (forward) {
        if (SamePoint(o.x, o.y, EndX(e), EndY(e), kOnEdgeGap)) st.hits.push_back(TChainHit{0, j, o.x, o.y});
      } else if (SamePoint(EndX(o), EndY(o), e.x, e.y, kOnEdgeGap)) {
        st.hits.push_back(TChainHit{0, j, e.x, e.y});
      }
    }
  }
  int32_t chosen = -1;
  double bestDev = 0;
  double cx = 0, cy = 0;
  for (const TChainHit& h : st.hits) {
    const double dev = st.deviation[size_t(h.edge)];
    if (chosen < 0 || (forward ? dev < bestDev : dev > bestDev)) {
      chosen = h.edge;
      bestDev = dev;
      cx = h.x;
      cy = h.y;
    }
  }
  if (chosen < 0) return false;
  before = edge;
  edge = chosen;
  px = cx;
  py = cy;
  return true;
}

}  // namespace

// --- tracing one segment --------------------------------------------------------------------------------

void TraceSegmentChain(const TBandGrid& grid, int32_t contour, int32_t index) {
  TOffsetEngineState& e = OffsetEngine;
  TOffsetLoopState& st = OffsetLoops;
  const int32_t first = e.contourFirst[size_t(contour)];
  const int32_t n = e.contourFirst[size_t(contour) + 1] - first;
  TTraceContext t;
  t.g = first + index;
  t.next = first + (index + 1) % n;
  t.prev = first + (index + n - 1) % n;
  t.q = &e.prepared[size_t(t.g)];
  t.qo = &e.offsets[size_t(t.g)];
  t.startType = e.prepared[size_t(t.g)].type;
  t.endType = e.prepared[size_t(t.next)].type;
  st.current = t.g;

  CollectBandCandidates(grid, t.g);
  if (ErrorCode > 0) return;
  st.table.clear();
  for (const int32_t g2 : st.candidates) {
    TOffsetSegment edge;
    if (!MakeBisectorCandidate(t, g2, edge)) continue;
    if (int32_t(st.table.size()) >= kMaxCandidateEdges) {
      MovePenToWorldPoint(float(t.q->x), float(t.q->y));
      DrawLineToWorldPoint(float(EndX(*t.q)), float(EndY(*t.q)));
      ErrorCode = 7;
      return;
    }
    edge.type = 0;
    edge.candidate = g2;
    st.table.push_back(edge);
  }
  TOffsetSegment own = *t.qo;
  own.type = 0;
  own.candidate = t.g;
  st.table.push_back(own);
  const TOffsetSegment& qo = *t.qo;
  if (st.table.size() < 2) {
    WriteChainPoint(qo.x, qo.y);
    WriteChainPoint(EndX(qo), EndY(qo));
    return;
  }
  const int32_t last = int32_t(st.table.size()) - 1;
  double reference = t.q->angle + (e.side == 1 ? -kPi / 2 : kPi / 2);
  if (reference < 0) reference += kTwoPi;
  if (reference >= kTwoPi) reference -= kTwoPi;
  st.deviation.resize(st.table.size());
  for (size_t j = 0; j < st.table.size(); ++j) st.deviation[j] = Deviation(st.table[j], reference);

  // Entries: the edge that carries the neighbour at an inner corner, else the
  // edge ending (starting) on the band's end (start) edge.
  int32_t endEdge, startEdge;
  if (t.endType != 0) {
    endEdge = FindEdgeOfSegment(t.next);
    if (endEdge < 0) {
      endEdge = last;
      ErrorCode = 13;
    }
  } else {
    const TOffsetSegment& np = e.prepared[size_t(t.next)];
    const TOffsetSegment& no = e.offsets[size_t(t.next)];
    endEdge = FindEntryOnBandEdge(MakeSegment(np.x, np.y, no.x, no.y), np.x, np.y, true);
    if (endEdge < 0) endEdge = last;
  }
  if (t.startType != 0) {
    startEdge = FindEdgeOfSegment(t.prev);
    if (startEdge < 0) {
      startEdge = last;
      ErrorCode = 13;
    }
  } else {
    const TOffsetSegment& q = *t.q;
    startEdge = FindEntryOnBandEdge(MakeSegment(q.x, q.y, qo.x, qo.y), q.x, q.y, false);
    if (startEdge < 0) startEdge = last;
  }
  const double startX = st.table[size_t(startEdge)].x, startY = st.table[size_t(startEdge)].y;
  const double endX = EndX(st.table[size_t(endEdge)]), endY = EndY(st.table[size_t(endEdge)]);

  std::vector<double>& fx = st.forwardX;
  std::vector<double>& fy = st.forwardY;
  std::vector<double>& bx = st.backwardX;
  std::vector<double>& by = st.backwardY;
  std::vector<double>& cx = st.chainX;
  std::vector<double>& cy = st.chainY;
  fx.clear();
  fy.clear();
  bx.clear();
  by.clear();
  cx.clear();
  cy.clear();
  auto takeForward = [&]() {
    cx.insert(cx.end(), fx.begin(), fx.end());
    cy.insert(cy.end(), fy.begin(), fy.end());
  };
  auto takeBackwardReversed = [&](size_t upTo) {
    for (size_t k = upTo; k-- > 0;) {
      cx.push_back(bx[k]);
      cy.push_back(by[k]);
    }
  };

  if (!(startEdge == endEdge && startEdge != last)) {
    int32_t be = endEdge, bb = -1, fe = startEdge, fb = -1;
    double bpx = endX, bpy = endY, fpx = startX, fpy = startY;
    const bool backOk = StepChain(false, be, bb, bpx, bpy);
    if (!backOk) {
      if (startEdge != endEdge) {
        int32_t steps = 0;
        while (StepChain(true, fe, fb, fpx, fpy)) {
          fx.push_back(fpx);
          fy.push_back(fpy);
          if (++steps >= kMaxChainSteps) {
            ErrorCode = 8;
            break;
          }
        }
        takeForward();
      }
    } else {
      bx.push_back(bpx);
      by.push_back(bpy);
      bool met = false;
      for (int32_t steps = 0; steps < kMaxChainSteps; ++steps) {
        if (!StepChain(true, fe, fb, fpx, fpy)) break;
        fx.push_back(fpx);
        fy.push_back(fpy);
        if (SamePoint(fpx, fpy, bx[0], by[0], kSamePointGap)) {
          met = true;
          break;
        }
      }
      if (met) {
        takeForward();
      } else if (fx.empty()) {
        for (int32_t steps = 1;; ++steps) {
          if (steps >= kMaxChainSteps) {
            ErrorCode = 8;
            break;
          }
          if (!StepChain(false, be, bb, bpx, bpy)) break;
          bx.push_back(bpx);
          by.push_back(bpy);
        }
        takeBackwardReversed(bx.size());
      } else {
        bool metBack = false;
        for (int32_t steps = 1; steps < kMaxChainSteps; ++steps) {
          if (!StepChain(false, be, bb, bpx, bpy)) break;
          bx.push_back(bpx);
          by.push_back(bpy);
          if (SamePoint(bpx, bpy, fx[0], fy[0], kMeetGap)) {
            metBack = true;
            break;
          }
        }
        if (metBack) {
          takeBackwardReversed(bx.size());
        } else if (fx.size() >= 2 && bx.size() >= 2) {
          size_t foundF = 0, foundB = 0;
          bool found = false;
          for (size_t jb = 1; jb < bx.size() && !found; ++jb)
            for (size_t jf = 1; jf < fx.size(); ++jf)
              if (SamePoint(fx[jf], fy[jf], bx[jb], by[jb], kSamePointGap)) {
                foundF = jf;
                foundB = jb;
                found = true;
                break;
              }
          if (found) {
            cx.assign(fx.begin(), fx.begin() + std::ptrdiff_t(foundF + 1));
            cy.assign(fy.begin(), fy.begin() + std::ptrdiff_t(foundF + 1));
            takeBackwardReversed(foundB);
            if (int32_t(cx.size()) > kMaxChainPoints) {
              ErrorCode = 10;
              cx.resize(kMaxChainSteps);
              cy.resize(kMaxChainSteps);
            }
          } else if (int32_t(fx.size() + bx.size()) > kMaxChainPoints) {
            cx.push_back(fx[0]);
            cy.push_back(fy[0]);
          } else {
            takeForward();
            takeBackwardReversed(bx.size());
          }
        } else {
          takeForward();
          takeBackwardReversed(bx.size());
        }
      }
    }
  }

  if (t.startType != 2) WriteChainPoint(startX, startY);
  for (size_t k = 0; k < cx.size(); ++k) WriteChainPoint(cx[k], cy[k]);
  if (t.endType != 2) WriteChainPoint(endX, endY);
}

// --- output ---------------------------------------------------------------------------------------------------

void WriteChainPoint(double x, double y) {
  TOffsetLoopState& st = OffsetLoops;
  const TOffsetSegment& q = OffsetEngine.prepared[size_t(st.current)];
  const double len = std::hypot(q.dx, q.dy);
  const double d = OffsetEngine.distance;
  double value = 1.0;
  if (len > 0 && d > 0) value = std::fabs(q.dx * (y - q.y) - q.dy * (x - q.x)) / (len * d);
  if (!std::isfinite(value)) value = 1.0;
  // The distance from the contour is also limited by every other segment
  // near the band: where several bands meet (an offset that vanishes), a
  // point at d from its own line can lie closer to a third segment, and its
  // value must say so, or the writer would place a path piece there.
  if (d > 0) {
    for (const int32_t g : st.candidates) {
      if (g == st.current) continue;
      const TOffsetSegment& s = OffsetEngine.prepared[size_t(g)];
      const double ratio = SegmentDistance(x, y, s) / d;
      if (ratio < value) value = ratio;
    }
  }
  TOffsetRecord r{kOffsetLinePoint, x, y, value};
  if (st.contourStart) {
    r.type = kOffsetContourStart;
    st.firstPoint = r;
    st.haveFirstPoint = true;
    st.contourStart = false;
  }
  PutOffsetRecord(st.chainWriter, r);
  ++st.chainRecords;
  if (ErrorCode >= -1) {
    if (r.type == kOffsetContourStart)
      MovePenToWorldPoint(float(x), float(y));
    else
      DrawLineToWorldPoint(float(x), float(y));
  }
}

void RemoveOffsetLoops(const TBandGrid& grid) {
  TOffsetEngineState& e = OffsetEngine;
  TOffsetLoopState& st = OffsetLoops;
  st.chainRecords = 0;
  st.contourStart = false;
  st.haveFirstPoint = false;
  const bool opened = OpenOffsetFileWriter(st.chainWriter, kOffsetChainFile, kOffsetRecordSize) &&
                      OpenOffsetFileWriter(st.indexWriter, kOffsetIndexFile, kOffsetIndexEntrySize);
  if (!opened) {
    CloseOffsetFileWriter(st.chainWriter);
    CloseOffsetFileWriter(st.indexWriter);
    ErrorCode = 4;
    return;
  }
  st.stamp.assign(e.prepared.size(), -1);
  st.table.reserve(1024);
  st.candidates.reserve(1024);
  const int32_t contours = int32_t(e.contourFirst.size()) - 1;
  bool haveMarker = false;
  TOffsetRecord marker{kOffsetContourStart, 0.0, 0.0, 0.0};
  bool stopped = false;
  for (int32_t c = 0; c < contours && !stopped; ++c) {
    const int32_t first = e.contourFirst[size_t(c)];
    const int32_t n = e.contourFirst[size_t(c) + 1] - first;
    st.haveFirstPoint = false;
    for (int32_t i = 0; i < n; ++i) {
      PutOffsetIndexEntry(st.indexWriter, int32_t(st.chainRecords));
      if (i == 0) st.contourStart = true;
      if (((first + i) % kTraceCheckInterval) == 0 || i == 0) {
        UpdateProgressDisplay(first + i + 1);
        SetLinePenMode(0, 12);
        if (ErrorCode <= 0 && CheckEscapeAbort() != 0) ErrorCode = 1;
      }
      if (ErrorCode > 0) {
        stopped = true;
        break;
      }
      TraceSegmentChain(grid, c, i);
    }
    if (stopped) break;
    if (st.haveFirstPoint) {
      TOffsetRecord closing = st.firstPoint;
      closing.type = kOffsetLinePoint;
      PutOffsetRecord(st.chainWriter, closing);
      ++st.chainRecords;
      marker = st.firstPoint;
      marker.type = kOffsetContourStart;
      haveMarker = true;
    }
    if (ErrorCode > 0) stopped = true;
  }
  if (!stopped) {
    if (haveMarker) {
      PutOffsetRecord(st.chainWriter, marker);
      ++st.chainRecords;
    }
    PutOffsetIndexEntry(st.indexWriter, int32_t(st.chainRecords));
  }
  CloseOffsetFileWriter(st.chainWriter);
  CloseOffsetFileWriter(st.indexWriter);
  if ((!st.chainWriter.ok || !st.indexWriter.ok) && ErrorCode <= 0) ErrorCode = 4;
}

void ReleaseOffsetLoops() {
  TOffsetLoopState& st = OffsetLoops;
  CloseOffsetFileWriter(st.chainWriter);
  CloseOffsetFileWriter(st.indexWriter);
  std::vector<int32_t>().swap(st.candidates);
  std::vector<int32_t>().swap(st.stamp);
  std::vector<TOffsetSegment>().swap(st.table);
  std::vector<double>().swap(st.deviation);
  std::vector<int32_t>().swap(st.rowMin);
  std::vector<int32_t>().swap(st.rowMax);
  std::vector<TChainHit>().swap(st.hits);
  for (std::vector<double>* v : {&st.forwardX, &st.forwardY, &st.backwardX, &st.backwardY, &st.chainX, &st.chainY})
    std::vector<double>().swap(*v);
}
