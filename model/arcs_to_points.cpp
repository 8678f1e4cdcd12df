// Arcs, circles and curves turned into line points (see arcs_to_points.h).
//
// Sections:
//   arc sampling
//   arcs and circles from points
//   Bezier sampling
//   B-spline and curve pieces
//   plane across a cell
//   font file name and kerning class
#include "model/arcs_to_points.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "model/geometry_2d.h"
#include "frame/file_helpers.h"
#include "frame/math_constants.h"
#include "frame/param_file.h"
#include "frame/quiet_files.h"

uint16_t LargeArcPointsPerRadian = static_cast<uint16_t>(kLargeArcPointsPerRadian);
std::string CurrentFontFileName;

namespace {

// Pascal Round: halves go to the even neighbour.
double RoundHalfEven(double v) { return std::nearbyint(v); }

// The points-per-radian rule; case 2 (above the maximum) reported in capped.
double PointsPerRadian(double rx, double ry, bool& capped) {
  const double s = std::fabs(rx) + std::fabs(ry);
  double f = s / 8.0 * ArcResolutionWord;
  capped = false;
  if (f > ArcStepAngle) {
    f = s > kLargeArcRadiusSum ? double(LargeArcPointsPerRadian) : double(ArcStepAngle);
    capped = true;
  } else if (f < ArcPointsPerRadian) {
    f = ArcPointsPerRadian;
  }
  return f;
}

void PutPoint(TVectorRecord* buffer, int32_t& count, uint8_t type, double x, double y, float z) {
  if (count >= kMaxSampledPoints) return;
  TVectorRecord& r = buffer[count++];
  r.type = type;
  r.x = static_cast<float>(x);
  r.y = static_cast<float>(y);
  r.z = z;
}

// The shared sampler. spaced: at least ten points, none within 0.01 of the
// point written before it (the end point always written).
void SampleArc(TVectorRecord* buffer, int32_t& count, double x0, double y0, float z, double rx, double ry, double a0,
               double sweep, bool spaced) {
  count = 0;
  if (buffer == nullptr) return;
  const double cx = x0 - rx * std::cos(a0), cy = y0 - ry * std::sin(a0);
  bool capped;
  double f = PointsPerRadian(rx, ry, capped);
  if (spaced && !capped && std::fabs(sweep * f) < kSpacedMinimumPoints && sweep != 0.0)
    f = std::fabs(kSpacedMinimumPoints / sweep);
  double n = sweep * f;
  if (n < 0.0) {
    f = -f;
    n = -n;
  }
  if (!std::isfinite(n) || !std::isfinite(cx) || !std::isfinite(cy)) return;  // refused: no NaN into a file
  double lastX = x0, lastY = y0;
  auto put = [&](double angle, bool always) {
    const double x = cx + rx * std::cos(angle), y = cy + ry * std::sin(angle);
    if (spaced && !always && std::hypot(x - lastX, y - lastY) <= kSpacedPointGap) return;
    PutPoint(buffer, count, kRecLinePoint, x, y, z);
    lastX = x;
    lastY = y;
  };
  if (n > 2.0) {
    // k - 1 intermediate points; never more than the buffer holds.
    const double k = std::min(RoundHalfEven(n), double(kMaxSampledPoints) + 1.0);
    for (int i = 1; i <= int(k) - 1 && count < kMaxSampledPoints; ++i) put(a0 + i / f, false);
  } else if (n > 1.5) {
    put(a0 + sweep / 2.0, false);
  }
  put(a0 + sweep, true);
}

}  // namespace

void SetArcPointLimits(int level) {
  ArcPointsPerRadian = ArcPointsPerRadianOf(level);
  ArcStepAngle = ArcStepAngleOf(level);
}

// --- arc sampling ----------------------------------------------------------------------

void ApproximateArcToPoints(TVectorRecord* buffer, uint16_t& count, float x0, float y0, float z, float rx, float ry,
                            float a0, float sweep) {
  int32_t n = 0;
  SampleArc(buffer, n, x0, y0, z, rx, ry, a0, sweep, false);
  count = static_cast<uint16_t>(n);
}

void SampleEllipticArc(TVectorRecord* buffer, int32_t& count, float x0, float y0, float z, float rx, float ry,
                       float a0, float sweep) {
  SampleArc(buffer, count, x0, y0, z, rx, ry, a0, sweep, false);
}

void ApproximateArcToPointsPrecise(TVectorRecord* buffer, int32_t& count, float x0, float y0, float z, double rx,
                                   double ry, double a0, double sweep) {
  SampleArc(buffer, count, x0, y0, z, rx, ry, a0, sweep, false);
}

void ApproximateArcToSpacedPoints(TVectorRecord* buffer, uint16_t& count, float x0, float y0, float z, float rx,
                                  float ry, float a0, float sweep) {
  int32_t n = 0;
  SampleArc(buffer, n, x0, y0, z, rx, ry, a0, sweep, true);
  count = static_cast<uint16_t>(n);
}

void ApproximateEllipseInBox(const TExtentsPair& box, TVectorRecord* buffer, uint16_t& count) {
  const double x1 = box.minCorner.x, y1 = box.minCorner.y, x2 = box.maxCorner.x, y2 = box.maxCorner.y;
  const double rx = (x2 - x1) / 2.0, ry = (y2 - y1) / 2.0;
  ApproximateArcToPoints(buffer, count, static_cast<float>(x2), static_cast<float>((y1 + y2) / 2.0), 0.0f,
                         static_cast<float>(rx), static_cast<float>(ry), 0.0f, static_cast<float>(2.0 * kPi));
  if (count == 0) return;
  TVectorRecord first = buffer[0];
  // A full buffer gives its last place to the closing point.
  if (count >= kMaxSampledPoints) count = kMaxSampledPoints - 1;
  buffer[count++] = first;
  buffer[0].type = kRecContourStart;
}

// --- arcs and circles from points --------------------------------------------------------

void ComputeArcEndPoint(double x0, double y0, double r, double a, double s, double& x, double& y) {
  x = x0 + r * (std::cos(a + s) - std::cos(a));
  y = y0 + r * (std::sin(a + s) - std::sin(a));
}

void ComputeArcPointAtAngle(double x0, double y0, double b, double r, double a, double& x, double& y) {
  x = x0 + r * (std::cos(a) - std::cos(b));
  y = y0 + r * (std::sin(a) - std::sin(b));
}

double ComputePointAngleOnCircle(double x, double y, double cx, double cy, double r) {
  if (r == 0.0 || !std::isfinite(r)) return 0.0;
  const double q = (x - cx) / r;
  double angle;
  if (q >= 1.0) angle = 0.0;
  else if (q <= -1.0) angle = kPi;
  else if (std::fabs(q) < 1.0) angle = kPi / 2.0 - std::atan(q / std::sqrt(1.0 - q * q));
  else angle = 0.0;  // NaN
  if (y < cy) angle = 2.0 * kPi - angle;
  return angle;
}

namespace {

// Centre and radius through three points; y1 is P1's y, raised by 0.001
// until neither difference is zero. False for points on one line.
bool CircleCentre(const TVectorRecord& p1, double& y1, const TVectorRecord& p2, const TVectorRecord& p3, double& cx,
                  double& cy, double& radius) {
  const double x1 = p1.x;
  for (int guard = 0; guard < 1000 && (p2.y - y1 == 0.0 || p3.y - y1 == 0.0); ++guard) y1 += kCoincideTolerance;
  const double dx2 = p2.x - x1, dy2 = p2.y - y1, dx3 = p3.x - x1, dy3 = p3.y - y1;
  if (dy2 == 0.0 || dy3 == 0.0) return false;
  const double w = dx2 / dy2, v = dx3 / dy3;
  if (w == v) return false;
  const double u = w * (x1 + dx2 / 2.0);
  cx = (v * (dx3 / 2.0 + x1) + dy3 / 2.0 - dy2 / 2.0 - u) / (v - w);
  cy = u + y1 + dy2 / 2.0 - w * cx;
  radius = std::hypot(cx - x1, cy - y1);
  return std::isfinite(cx) && std::isfinite(cy) && std::isfinite(radius);
}

// Brings a sweep into -2 pi .. 2 pi.
double FoldSweep(double s) {
  if (s > 2.0 * kPi) s -= 2.0 * kPi;
  if (s < -2.0 * kPi) s += 2.0 * kPi;
  return s;
}

}  // namespace

void ComputeCircleThroughPoints(const TVectorRecord& p1, const TVectorRecord& p2, const TVectorRecord& p3,
                                TVectorRecord& circle) {
  double y1 = p1.y, cx, cy, radius;
  if (!CircleCentre(p1, y1, p2, p3, cx, cy, radius)) {
    circle.type = 0;
    circle.x = 0.0f;
    circle.y = 0.0f;
    circle.z = kNoCircleRadius;
    return;
  }
  circle.type = kRecLinePoint;
  circle.x = static_cast<float>(cx);
  circle.y = static_cast<float>(cy);
  circle.z = static_cast<float>(radius);
}

float MeasureCircleDeviation(const TVectorRecord& circle, const TVectorRecord& point) {
  return static_cast<float>(std::fabs(circle.z - std::hypot(double(point.x) - circle.x, double(point.y) - circle.y)));
}

void ComputeArcThroughThreePoints(TVectorRecord& p1, const TVectorRecord& p2, const TVectorRecord& p3, double& sweep,
                                  double& startAngle, double& radius) {
  double y1 = p1.y, cx = 0, cy = 0, r = 0;
  const bool found = CircleCentre(p1, y1, p2, p3, cx, cy, r);
  p1.y = static_cast<float>(y1);
  if (!found) {
    radius = kNoCircleRadius;
    startAngle = 0.0;
    sweep = 0.0;
    return;
  }
  if (r > kLargestArcRadius) {
    radius = kStraightArcRadius;
    startAngle = 0.0;
    sweep = 0.0;
    return;
  }
  radius = r;
  startAngle = ComputePointAngleOnCircle(p1.x, y1, cx, cy, r);
  const double e = ComputePointAngleOnCircle(p3.x, p3.y, cx, cy, r);
  const double cross = (double(p2.x) - p1.x) * (double(p3.y) - y1) - (double(p2.y) - y1) * (double(p3.x) - p1.x);
  sweep = FoldSweep(cross > 0.0 ? e - startAngle + 2.0 * kPi : e - startAngle - 2.0 * kPi);
}

void ComputeShortArcSweepWithRadius(const TVectorRecord& p1, const TVectorRecord& c, const TVectorRecord& p2,
                                    double radius, double& sweep, double& startAngle) {
  startAngle = ComputePointAngleOnCircle(p1.x, p1.y, c.x, c.y, radius);
  const double e = ComputePointAngleOnCircle(p2.x, p2.y, c.x, c.y, radius);
  const double cross = (double(p1.x) - c.x) * (double(p2.y) - c.y) - (double(p1.y) - c.y) * (double(p2.x) - c.x);
  sweep = FoldSweep(cross < 0.0 ? e - startAngle - 2.0 * kPi : e - startAngle + 2.0 * kPi);
}

void ComputeShortArcSweep(const TVectorRecord& p1, const TVectorRecord& p2, const TVectorRecord& c, double& sweep,
                          double& startAngle, double& radius) {
  radius = std::hypot(double(p1.x) - c.x, double(p1.y) - c.y);
  if (radius > kLargestArcRadius) radius = kStraightArcRadius;
  ComputeShortArcSweepWithRadius(p1, c, p2, radius, sweep, startAngle);
}

void EnforceMinimumPointGap(TVectorRecord& point, const TVectorRecord& reference, float limit) {
  const double dx = double(point.x) - reference.x, dy = double(point.y) - reference.y;
  const double m = std::max(std::fabs(dx), std::fabs(dy));
  if (m >= limit || m == 0.0) return;  // a point on the reference has no direction to move in
  point.x = static_cast<float>(reference.x + dx * limit / m);
  point.y = static_cast<float>(reference.y + dy * limit / m);
}

void ComputeArcOvershootPoint(const TVectorRecord& p1, const TVectorRecord& p2, const TVectorRecord& p3,
                              TVectorRecord& out, bool beforeStart) {
  TVectorRecord start = p1;
  double sweep, startAngle, radius;
  ComputeArcThroughThreePoints(start, p2, p3, sweep, startAngle, radius);
  const TVectorRecord& reference = beforeStart ? start : p3;
  out = reference;
  out.type = kRecLinePoint;
  if (sweep == 0.0) {
    // No arc (a straight or huge one): continue the straight line instead.
    const double dx = double(p3.x) - start.x, dy = double(p3.y) - start.y;
    const double length = std::hypot(dx, dy);
    if (length > 0.0) {
      const double sign = beforeStart ? -1.0 : 1.0;
      out.x = static_cast<float>(reference.x + sign * dx / length * kOvershootMinimumGap);
      out.y = static_cast<float>(reference.y + sign * dy / length * kOvershootMinimumGap);
    }
    EnforceMinimumPointGap(out, reference, kOvershootMinimumGap);
    return;
  }
  const double degree = kOvershootDegrees * kPi / 180.0;
  const double direction = sweep > 0.0 ? 1.0 : -1.0;
  const double referenceAngle = beforeStart ? startAngle : startAngle + sweep;
  const double wanted = beforeStart ? startAngle - direction * degree : startAngle + sweep + direction * degree;
  double x, y;
  ComputeArcPointAtAngle(reference.x, reference.y, referenceAngle, radius, wanted, x, y);
  out.x = static_cast<float>(x);
  out.y = static_cast<float>(y);
  EnforceMinimumPointGap(out, reference, kOvershootMinimumGap);
}

// --- Bezier sampling ---------------------------------------------------------------------

namespace {

void SampleBezier(const TVectorRecord* control, int degree, TVectorRecord* buffer, uint16_t& count, int16_t n,
                  uint8_t type) {
  if (control == nullptr || buffer == nullptr || n <= 0) return;
  static const double kBinomial[5][5] = {{1}, {1, 1}, {1, 2, 1}, {1, 3, 3, 1}, {1, 4, 6, 4, 1}};
  for (int i = 1; i <= n && count < kMaxSampledPoints; ++i) {
    const double t = double(i) / n, s = 1.0 - t;
    double x = 0, y = 0, z = 0;
    for (int k = 0; k <= degree; ++k) {
      const double w = kBinomial[degree][k] * std::pow(s, degree - k) * std::pow(t, k);
      x += w * control[k].x;
      y += w * control[k].y;
      z += w * control[k].z;
    }
    TVectorRecord& r = buffer[count++];
    r.type = type;
    r.x = static_cast<float>(x);
    r.y = static_cast<float>(y);
    r.z = type == kRec3DPoint ? static_cast<float>(z) : 0.0f;
  }
}

}  // namespace

void SampleQuadraticBezierPoints(const TVectorRecord* control, TVectorRecord* buffer, uint16_t& count, int16_t n) {
  SampleBezier(control, 2, buffer, count, n, kRecLinePoint);
}
void SampleCubicBezierPoints(const TVectorRecord* control, TVectorRecord* buffer, uint16_t& count, int16_t n) {
  SampleBezier(control, 3, buffer, count, n, kRecLinePoint);
}
void SampleQuarticBezierPoints(const TVectorRecord* control, TVectorRecord* buffer, uint16_t& count, int16_t n) {
  SampleBezier(control, 4, buffer, count, n, kRecLinePoint);
}
void SampleQuadraticBezierPoints3D(const TVectorRecord* control, TVectorRecord* buffer, uint16_t& count, int16_t n) {
  SampleBezier(control, 2, buffer, count, n, kRec3DPoint);
}

// --- B-spline and curve pieces ---------------------------------------------------------------

void InitSplineBuilder(TCurveBuilder& builder, int order, int pointsPerSpan) {
  builder.order = static_cast<int16_t>(std::clamp(order, 2, kMaxSplineOrder));
  builder.kind = 1;
  builder.splineCount = 0;
  builder.windowCount = 0;
  builder.pieceCount = 0;
  // m of 0 has no step; one point per span is the least that makes sense.
  builder.pointsPerSpan = static_cast<int16_t>(std::clamp(pointsPerSpan, 1, 300));
  builder.step = 1.0f / builder.pointsPerSpan;
  for (TVectorRecord& r : builder.control) std::memset(&r, 0, sizeof r);
  builder.listLength = 1;
}

namespace {

// One point of the spline of order K over control points P0 .. P(K+1) at t.
TVectorRecord SplinePointAt(const TCurveBuilder& builder, double t) {
  const int k = builder.order;
  const int i = std::clamp(static_cast<int>(t), 0, 3);
  int u[2 * kMaxSplineOrder];
  {
    int v = std::max(1, i - k + 1);
    const int increaseUpTo = std::min(2 * k, k + 1 - i);
    for (int j = 0; j < 2 * k; ++j) {
      if (j < k - i) {
        u[j] = 0;
        continue;
      }
      u[j] = v;
      if (j <= increaseUpTo) ++v;
    }
  }
  double basis[kMaxSplineOrder] = {};
  int b = std::max(0, std::min(k + 1 - i, k - 1));
  basis[b] = 1.0;
  auto w1 = [&](int s, int e) {
    const double den = u[s + e - 1] - u[s];
    return den == 0.0 ? 0.0 : (t - u[s]) / den;
  };
  auto w2 = [&](int s, int e) {
    const double den = u[s + e] - u[s + 1];
    return den == 0.0 ? 0.0 : (u[s + e] - t) / den;
  };
  for (int e = 2; e <= k; ++e) {
    if (b > 0) --b;
    for (int s = b; s <= k - 2; ++s) basis[s] = w1(s, e) * basis[s] + w2(s, e) * basis[s + 1];
    basis[k - 1] = w1(k - 1, e) * basis[k - 1];
  }
  double x = 0, y = 0;
  for (int c = i; c <= std::min(k + 1, i + k - 1); ++c) {
    x += basis[c - i] * builder.control[c].x;
    y += basis[c - i] * builder.control[c].y;
  }
  TVectorRecord r{};
  r.type = kRecLinePoint;
  r.x = static_cast<float>(x);
  r.y = static_cast<float>(y);
  return r;
}

void ShiftWindow(TCurveBuilder& builder, const TVectorRecord& point) {
  const int k = builder.order;
  for (int j = 0; j <= k; ++j) builder.control[j] = builder.control[j + 1];
  builder.control[k + 1] = point;
}

}  // namespace

void EvaluateSplineSpans(TCurveBuilder& builder) {
  const int m = builder.pointsPerSpan;
  float start;
  int points;
  switch (builder.kind) {
    case 2: start = 1.0f; points = 2 * m; break;
    case 3: start = 2.0f; points = m; break;
    case 4: start = 0.0f; points = 3 * m; break;
    case 5: start = 1.0f; points = m; break;
    case 6: start = 0.0f; points = 2 * m; break;
    default: start = 0.0f; points = m; break;
  }
  points = std::min(points, kMaxSampledPoints);
  float t = start + builder.step;
  builder.splineCount = 0;
  for (int p = 0; p < points; ++p) {
    // Float steps drift; a parameter this close to a span end is that end.
    double tt = t;
    if (std::fabs(tt - std::nearbyint(tt)) < 1e-4) tt = std::nearbyint(tt);
    builder.splineOutput[builder.splineCount++] = SplinePointAt(builder, std::min(tt, 3.0));
    t += builder.step;
  }
}

void AddSplineWindowPoint(const TVectorRecord& point, TCurveBuilder& builder) {
  TVectorRecord p = point;
  p.type = kRecLinePoint;
  const int16_t c = builder.windowCount;
  if (c == 0) {
    builder.control[builder.order + 1] = p;
    ShiftWindow(builder, p);
    builder.windowCount = 1;
  } else if (c >= 1 && c <= 10) {
    ShiftWindow(builder, p);
    builder.windowCount = static_cast<int16_t>(c + 1);
    if (builder.windowCount >= builder.order) builder.windowCount = 254;
  } else {
    builder.windowCount = 255;
    ShiftWindow(builder, p);
    EvaluateSplineSpans(builder);
  }
}

void AddCurveListPoint(TCurveBuilder& builder, const TVectorRecord& point) {
  if (builder.listLength > kCurveListLast) {
    builder.listLength = kCurveListLast;
    return;
  }
  if (builder.listLength < 1) builder.listLength = 1;
  TVectorRecord& r = builder.pointList[builder.listLength];
  r = point;
  r.type = kRecLinePoint;
  r.z = 0.0f;
  ++builder.listLength;
}

void EvaluateClampedSpline(const TVectorRecord* control, int n, int order, int pointsPerSpan, TVectorRecord* buffer,
                           int16_t& count) {
  if (control == nullptr || buffer == nullptr || order < 2 || n < order || pointsPerSpan < 1) return;
  const int spans = n - order + 1;
  // Knots 0 (order times), 1 .. spans - 1, spans (order times).
  auto knot = [&](int j) { return double(std::clamp(j - order + 1, 0, spans)); };
  double basis[kSplineControlPoints + kMaxSplineOrder];
  const int total = spans * pointsPerSpan;
  for (int p = 1; p <= total && count < kMaxSampledPoints; ++p) {
    const double t = double(p) / pointsPerSpan;
    // The span holding t (the last span holds its end).
    const int span = std::min(static_cast<int>(t), spans - 1) + order - 1;
    // de Boor's triangle of basis values over the order non-zero functions.
    for (int j = 0; j < order; ++j) basis[j] = 0.0;
    basis[order - 1] = 1.0;
    for (int e = 1; e < order; ++e) {
      for (int j = order - 1 - e; j < order; ++j) {
        const int g = span - (order - 1) + j;  // global index of this basis function
        const double left = knot(g + e) - knot(g);
        const double right = knot(g + e + 1) - knot(g + 1);
        double value = 0.0;
        if (left > 0.0) value += (t - knot(g)) / left * basis[j];
        if (right > 0.0 && j + 1 < order) value += (knot(g + e + 1) - t) / right * basis[j + 1];
        basis[j] = value;
      }
    }
    double x = 0, y = 0;
    for (int j = 0; j < order; ++j) {
      const int g = span - (order - 1) + j;
      x += basis[j] * control[g].x;
      y += basis[j] * control[g].y;
    }
    TVectorRecord& r = buffer[count++];
    r.type = kRecLinePoint;
    r.x = static_cast<float>(x);
    r.y = static_cast<float>(y);
    r.z = 0.0f;
  }
}

void FinishCurvePiece(TCurveBuilder& builder, const TVectorRecord& current, const TVectorRecord& end) {
  builder.splineCount = 0;
  if (builder.listLength >= kCurveListEntries || builder.listLength < 1) {
    builder.listLength = 1;
    return;
  }
  TVectorRecord& last = builder.pointList[builder.listLength];
  last = end;
  last.type = kRecLinePoint;
  last.z = 0.0f;
  const int length = ++builder.listLength;
  TVectorRecord c = current;
  c.type = kRecLinePoint;
  c.z = 0.0f;
  const TVectorRecord* g = builder.pointList;  // g[1] .. g[length - 1]
  builder.pieceCount = 0;
  const int m = builder.pointsPerSpan;
  if (length == 2) {
    builder.pieceOutput[0] = g[1];
    builder.pieceCount = 1;
  } else if (length == 3) {
    const TVectorRecord control[3] = {c, g[1], g[2]};
    uint16_t n = 0;
    SampleQuadraticBezierPoints(control, builder.pieceOutput, n, static_cast<int16_t>(m));
    builder.pieceCount = static_cast<int16_t>(n);
  } else if (length == 4) {
    builder.order = 3;
    const TVectorRecord first[5] = {c, g[1], g[2], g[3], g[3]};
    std::copy(first, first + 5, builder.control);
    builder.kind = 1;
    EvaluateSplineSpans(builder);
    std::copy(builder.splineOutput, builder.splineOutput + builder.splineCount, builder.pieceOutput);
    builder.pieceCount = builder.splineCount;
    const TVectorRecord second[5] = {c, c, g[1], g[2], g[3]};
    std::copy(second, second + 5, builder.control);
    builder.kind = 3;
    EvaluateSplineSpans(builder);
    const int room = std::min<int>(builder.splineCount, kMaxSampledPoints - builder.pieceCount);
    std::copy(builder.splineOutput, builder.splineOutput + room, builder.pieceOutput + builder.pieceCount);
    builder.pieceCount = static_cast<int16_t>(builder.pieceCount + room);
  } else if (length <= 8) {
    builder.order = static_cast<int16_t>(length - 2);
    builder.control[0] = c;
    for (int j = 1; j < length; ++j) builder.control[j] = g[j];
    builder.kind = 4;
    EvaluateSplineSpans(builder);
    std::copy(builder.splineOutput, builder.splineOutput + builder.splineCount, builder.pieceOutput);
    builder.pieceCount = builder.splineCount;
  } else {
    // Seven or more control points: the highest order over all of them, so
    // that the stroke keeps its shape and ends on its end point.
    TVectorRecord control[kCurveListEntries];
    control[0] = c;
    for (int j = 1; j < length; ++j) control[j] = g[j];
    int16_t n = 0;
    EvaluateClampedSpline(control, length, kHighestStrokeOrder, m, builder.pieceOutput, n);
    builder.pieceCount = n;
  }
  builder.listLength = 1;
}

// --- plane across a cell ------------------------------------------------------------------

float InterpolateValueAlongLine(const TVectorRecord& b, const TVectorRecord& x, const TVectorRecord& q, float vb,
                                float vx) {
  const double d = std::hypot(double(x.x) - b.x, double(x.y) - b.y);
  if (d == 0.0) return vb;
  const double qd = std::hypot(double(q.x) - b.x, double(q.y) - b.y);
  const double qx = double(q.x) - b.x, qy = double(q.y) - b.y;
  const double xx = double(x.x) - b.x, xy = double(x.y) - b.y;
  const bool sameSide = std::fabs(qx) > std::fabs(qy) ? (qx >= 0.0) == (xx >= 0.0) : (qy >= 0.0) == (xy >= 0.0);
  return static_cast<float>(sameSide ? vb + qd / d * (vx - vb) : vb + qd / d * (vb - vx));
}

bool InterpolateTriangleAcrossCell(const TVectorRecord& p1, float v1, const TVectorRecord& p2, float v2,
                                   const TVectorRecord& p3, float v3, const TExtentsPair& cell, float& changeX,
                                   float& changeY) {
  if (TestPointsNearXY(p1, p2) || TestPointsNearXY(p1, p3) || TestPointsNearXY(p2, p3)) return false;
  const double s12 = ComputeInverseSlope(p1, p2), s13 = ComputeInverseSlope(p1, p3), s23 = ComputeInverseSlope(p2, p3);
  if (std::fabs(s13 - s12) < kCellSlopeTolerance && std::fabs(s23 - s13) < kCellSlopeTolerance) return false;
  TVectorRecord a, b, c;
  float va, vb, vc;
  if (p1.x >= p2.x) {
    if (p2.x >= p3.x) { a = p3; va = v3; b = p1; vb = v1; c = p2; vc = v2; }
    else { a = p2; va = v2; b = p1; vb = v1; c = p3; vc = v3; }
  } else {
    if (p1.x >= p3.x) { a = p3; va = v3; b = p1; vb = v1; c = p2; vc = v2; }
    else { a = p1; va = v1; b = p2; vb = v2; c = p3; vc = v3; }
  }
  const double x1 = cell.minCorner.x, y1 = cell.minCorner.y, x2 = cell.maxCorner.x, y2 = cell.maxCorner.y;
  if (!(a.x < x2)) return false;
  if (std::fabs(double(b.y) - c.y) < kCellFlatBC) {
    std::swap(a, b);
    std::swap(va, vb);
  }
  auto point = [](double x, double y) {
    TVectorRecord r{};
    r.type = kRecLinePoint;
    r.x = static_cast<float>(x);
    r.y = static_cast<float>(y);
    return r;
  };
  // Q: the horizontal through A meets BC.
  // Packed fields are never bound to references: the crossing goes through locals.
  float qx = b.x, qy = a.y;
  const TVectorRecord aRight = point(double(a.x) + 1.0, a.y);
  IntersectLines(a, aRight, b, c, qx, qy);
  const TVectorRecord q = point(qx, qy);
  const float vq = InterpolateValueAlongLine(b, c, q, vb, vc);
  if (TestPointsNearXY(a, q)) return false;  // no horizontal extent to measure along
  changeX = InterpolateValueAlongLine(a, q, point(x2, a.y), va, vq) -
            InterpolateValueAlongLine(a, q, point(x1, a.y), va, vq);
  TVectorRecord through, f;
  float vThrough;
  if (std::fabs(double(b.y) - a.y) < kCellFlatAB) {
    through = c;
    vThrough = vc;
    float fx = c.x, fy = a.y;
    const TVectorRecord vertical = point(c.x, double(a.y) + 1.0);
    IntersectLines(a, b, point(c.x, a.y), vertical, fx, fy);
    f = point(fx, fy);
  } else {
    through = b;
    vThrough = vb;
    f = point(b.x, a.y);
  }
  const float vf = InterpolateValueAlongLine(a, q, f, va, vq);
  if (TestPointsNearXY(f, through)) return false;
  changeY = InterpolateValueAlongLine(f, through, point(through.x, y2), vf, vThrough) -
            InterpolateValueAlongLine(f, through, point(through.x, y1), vf, vThrough);
  return std::isfinite(changeX) && std::isfinite(changeY);
}

// --- font file name and kerning class -------------------------------------------------------

void SetCurrentFontFileName(const std::string& path) {
  std::string folder, extension, name;
  SplitPathParts(path, folder, extension, name, 255, 255, 255);
  CurrentFontFileName = (name + extension).substr(0, 12);
  if (!CurrentFontFileName.empty() && TestFileExists(CurrentFontFileName) == 0) {
    CurrentFontFileName.clear();
    HandleMissingFontFile();
  }
}

void GetCurrentFontFileName(std::string& name) { name = CurrentFontFileName; }

void HandleMissingFontFile() {}

void FindPairCharInKerningClass(int32_t base, const std::string& classText, char character, int32_t& index) {
  for (size_t i = 0; i < classText.size(); ++i) {
    if (classText[i] == character) {
      index = base + static_cast<int32_t>(i) + 1;
      return;
    }
  }
}
