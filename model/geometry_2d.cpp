#include "model/geometry_2d.h"

#include <cmath>
#include <cstring>
#include <numbers>

#include "model/geometry_tolerances.h"
#include "platform/files.h"
#include "frame/quiet_files.h"

namespace {

double Hypot(double dx, double dy) { return std::sqrt(dx * dx + dy * dy); }

}  // namespace

// --- distances, coincidence, copies -------------------------------------------------

float ComputeRecordDistanceXY(const TVectorRecord& a, const TVectorRecord& b) {
  return static_cast<float>(Hypot(double(a.x) - b.x, double(a.y) - b.y));
}

float ComputeRecordDistanceXY(const TPointRecord& a, const TPointRecord& b) {
  return static_cast<float>(Hypot(double(a.x) - b.x, double(a.y) - b.y));
}

bool TestPointsCoincide(const TVectorRecord& a, const TVectorRecord& b) {
  return Hypot(double(a.x) - b.x, double(a.y) - b.y) < kCoincideTolerance;
}

bool TestPointsCoincide(const TPointRecord& a, const TPointRecord& b) {
  return Hypot(double(a.x) - b.x, double(a.y) - b.y) < kCoincideTolerance;
}

bool TestPointsNearXY(const TVectorRecord& a, const TVectorRecord& b) {
  return std::fabs(double(a.x) - b.x) < kCoincideTolerance && std::fabs(double(a.y) - b.y) < kCoincideTolerance;
}

void MakeMidpointRecord(const TVectorRecord& a, const TVectorRecord& b, TVectorRecord& out) {
  out.type = kRecLinePoint;
  out.x = static_cast<float>((double(a.x) + b.x) / 2.0);
  out.y = static_cast<float>((double(a.y) + b.y) / 2.0);
}

void MakeVectorRecordFromPoint(const TPointRecord& point, TVectorRecord& out) {
  out.type = point.type;
  out.x = point.x;
  out.y = point.y;
  out.z = 0.0f;
}

void CopyPointRecord(const TVectorRecord& source, TVectorRecord& destination) {
  destination.type = source.type;
  destination.x = source.x;
  destination.y = source.y;
}

void CopyPointRecord(const TPointRecord& source, TPointRecord& destination) { destination = source; }

void SwapFloats(float& a, float& b) {
  uint32_t ia, ib;
  std::memcpy(&ia, &a, 4);
  std::memcpy(&ib, &b, 4);
  std::memcpy(&a, &ib, 4);
  std::memcpy(&b, &ia, 4);
}

// --- lines and segments ------------------------------------------------------------

bool IntersectSegments(const TVectorRecord& a1, const TVectorRecord& a2, const TVectorRecord& b1,
                       const TVectorRecord& b2, float& x, float& y) {
  const double d1x = double(a2.x) - a1.x, d1y = double(a2.y) - a1.y;
  const double d2x = double(b2.x) - b1.x, d2y = double(b2.y) - b1.y;
  const double den = d1x * d2y - d1y * d2x;
  if (den == 0.0) return false;
  const double ex = double(b1.x) - a1.x, ey = double(b1.y) - a1.y;
  const double s = (ex * d2y - ey * d2x) / den;
  const double u = (ex * d1y - ey * d1x) / den;
  if (s < 0.0 || s > 1.0 || u < 0.0 || u > 1.0) return false;
  x = static_cast<float>(a1.x + s * d1x);
  y = static_cast<float>(a1.y + s * d1y);
  return true;
}

void IntersectLines(const TVectorRecord& a1, const TVectorRecord& a2, const TVectorRecord& b1,
                    const TVectorRecord& b2, float& x, float& y) {
  const double d1x = double(a2.x) - a1.x, d1y = double(a2.y) - a1.y;
  const double d2x = double(b2.x) - b1.x, d2y = double(b2.y) - b1.y;
  const double den = d1x * d2y - d1y * d2x;
  if (den == 0.0) return;
  const double s = ((double(b1.x) - a1.x) * d2y - (double(b1.y) - a1.y) * d2x) / den;
  x = static_cast<float>(a1.x + s * d1x);
  y = static_cast<float>(a1.y + s * d1y);
}

void ProjectPointOntoSegment(const TVectorRecord& p1, const TVectorRecord& p2, double x, double y, bool& found,
                             double& distanceSquared) {
  found = false;
  const double dx = double(p2.x) - p1.x, dy = double(p2.y) - p1.y;
  const double length2 = dx * dx + dy * dy;
  if (length2 == 0.0) return;
  const double t = ((x - p1.x) * dx + (y - p1.y) * dy) / length2;
  if (t < 0.0 || t > 1.0) return;
  const double fx = p1.x + t * dx - x, fy = p1.y + t * dy - y;
  distanceSquared = fx * fx + fy * fy;
  found = true;
}

bool FindNearestPointOnSegment(const TVectorRecord& p1, const TVectorRecord& p2, double x, double y, double& nx,
                               double& ny) {
  const double dx = double(p2.x) - p1.x, dy = double(p2.y) - p1.y;
  const double length2 = dx * dx + dy * dy;
  if (length2 == 0.0) return false;
  const double t = ((x - p1.x) * dx + (y - p1.y) * dy) / length2;
  if (t > 1.0) {
    nx = p2.x;
    ny = p2.y;
  } else if (t < 0.0) {
    nx = p1.x;
    ny = p1.y;
  } else {
    nx = p1.x + t * dx;
    ny = p1.y + t * dy;
  }
  return true;
}

void ComputeNormalOffset(double x1, double y1, double x2, double y2, double d, double& ox, double& oy) {
  const double dx = x2 - x1, dy = y2 - y1;
  const double length = Hypot(dx, dy);
  if (length == 0.0) {
    ox = 0.0;
    oy = 0.0;
    return;
  }
  ox = -dy / length * d;
  oy = dx / length * d;
}

static double SideProduct(double px, double py, double x1, double y1, double x2, double y2) {
  return (x2 - x1) * (py - y1) - (y2 - y1) * (px - x1);
}

bool TestPointRightOfLine(double px, double py, double x1, double y1, double x2, double y2) {
  return SideProduct(px, py, x1, y1, x2, y2) <= 0.0;
}

bool TestPointLeftOfLine(double px, double py, double x1, double y1, double x2, double y2) {
  return SideProduct(px, py, x1, y1, x2, y2) > 0.0;
}

float MeasureAxisDeviationFromLine(const TVectorRecord& p1, const TVectorRecord& q, const TVectorRecord& p3) {
  const double dx = double(p3.x) - p1.x, dy = double(p3.y) - p1.y;
  if (std::fabs(dx) < std::fabs(dy)) return static_cast<float>(std::fabs(p1.x + dx / dy * (q.y - p1.y) - q.x));
  if (dx != 0.0) return static_cast<float>(std::fabs(p1.y + dy * (q.x - p1.x) / dx - q.y));
  return 0.0f;
}

bool TestPointCloserOnBothAxes(const TVectorRecord& p1, const TVectorRecord& q, const TVectorRecord& p3) {
  return std::fabs(double(q.x) - p1.x) < std::fabs(double(p3.x) - p1.x) &&
         std::fabs(double(q.y) - p1.y) < std::fabs(double(p3.y) - p1.y);
}

float ComputeInverseSlope(const TVectorRecord& a, const TVectorRecord& b) {
  const double dy = double(b.y) - a.y;
  if (std::fabs(dy) < kInverseSlopeTolerance) return 0.0f;
  return static_cast<float>((double(b.x) - a.x) / dy);
}

// --- angles and rotation -----------------------------------------------------------

float ComputeTangentOrZero(double angle, bool& ok) {
  ok = true;
  if (angle == 0.0) return 0.0f;
  const double c = std::cos(angle);
  const double t = std::sin(angle) / c;
  // cos of a float angle near 90 degrees is tiny but not zero; any tangent
  // beyond the float range is the vertical itself.
  if (c == 0.0 || !std::isfinite(t) || std::fabs(t) > 1e7) {
    ok = false;
    return 0.0f;
  }
  return static_cast<float>(t);
}

float ComputeTangentOrZero(double angle) {
  bool ok;
  return ComputeTangentOrZero(angle, ok);
}

double ComputeArcSineOrHalfPi(double s, bool& ok) {
  ok = true;
  if (s == 1.0) return std::numbers::pi / 2.0;
  if (s == -1.0) return -std::numbers::pi / 2.0;
  if (!(s > -1.0 && s < 1.0)) {
    ok = false;
    return 0.0;
  }
  return std::atan(s / std::sqrt(1.0 - s * s));
}

double ComputeArcSineOrHalfPi(double s) {
  bool ok;
  return ComputeArcSineOrHalfPi(s, ok);
}

float ComputeArcSine(double s) {
  if (std::isnan(s)) return 0.0f;
  if (s > 1.0) s = 1.0;
  if (s < -1.0) s = -1.0;
  return static_cast<float>(std::asin(s));
}

void RotatePointAroundCentre(float& x, float& y, const TVectorRecord& pivot, double angle) {
  const double dx = double(x) - pivot.x, dy = double(y) - pivot.y;
  const double r = Hypot(dx, dy);
  double polar;
  if (dx == 0.0) polar = dy > 0.0 ? std::numbers::pi / 2.0 : -std::numbers::pi / 2.0;
  else polar = std::atan(dy / dx) + (dx < 0.0 ? std::numbers::pi : 0.0);
  x = static_cast<float>(pivot.x + r * std::cos(polar + angle));
  y = static_cast<float>(pivot.y + r * std::sin(polar + angle));
}

void RotateVectorAboutOrigin(float& x, float& y, double angle) {
  TVectorRecord origin{};
  RotatePointAroundCentre(x, y, origin, angle);
}

// --- corners, direction, descent, tool ------------------------------------------------

double ComputeCornerThreshold(double degrees) {
  const double half = (180.0 - degrees) / 2.0 * std::numbers::pi / 180.0;
  const double s = 2.0 * std::sin(half);
  return s * s;
}

bool TestSharpCorner(const TVectorRecord& p0, const TVectorRecord& p1, const TVectorRecord& p2, double threshold) {
  const double d1x = double(p1.x) - p0.x, d1y = double(p1.y) - p0.y;
  const double d2x = double(p2.x) - p1.x, d2y = double(p2.y) - p1.y;
  const double l1 = Hypot(d1x, d1y), l2 = Hypot(d2x, d2y);
  if (!(l1 > 0.0) || !(l2 > 0.0)) return false;
  double q = l1 / l2;
  if (q < 1.0) q = 1.0 / q;
  if (q > 10.0) return true;
  const double sx = d1x / l1 + d2x / l2, sy = d1y / l1 + d2y / l2;
  return sx * sx + sy * sy < threshold;
}

bool TestContourCounterClockwise(const TVectorRecord* records, int32_t count) {
  if (records == nullptr || count <= 3) return false;
  int32_t vertex = -1;
  double smallest = kNoCrossingX;
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t type = records[i].type;
    if ((type == kRecLinePoint || type == kRec3DPoint) && records[i].x < smallest) {
      smallest = records[i].x;
      vertex = i;
    }
  }
  if (vertex <= 0) return false;
  const TVectorRecord& v = records[vertex];
  // The neighbours, passing over points that repeat the vertex (the closing
  // point repeats the start); after the last record comes record 0.
  auto same = [&v](const TVectorRecord& r) { return r.x == v.x && r.y == v.y; };
  int32_t p = vertex - 1, n = vertex + 1 < count ? vertex + 1 : 0;
  for (int32_t k = 0; k < count && same(records[p]); ++k) p = p > 0 ? p - 1 : count - 1;
  for (int32_t k = 0; k < count && same(records[n]); ++k) n = n + 1 < count ? n + 1 : 0;
  const TVectorRecord& prev = records[p];
  const TVectorRecord& next = records[n];
  // The leftmost vertex is a convex corner: the sense of the turn there is
  // the sense of the contour. Judging by the heights of the neighbours alone
  // fails for a spike whose both neighbours lie below (or above) it.
  const double turn = (double(v.x) - prev.x) * (double(next.y) - v.y) - (double(v.y) - prev.y) * (double(next.x) - v.x);
  if (turn != 0.0) return turn > 0.0;
  const double y0 = prev.y != v.y ? (double(v.y) + prev.y) / 2.0 : (double(v.y) + next.y) / 2.0;
  auto crossing = [y0](const TVectorRecord& a, const TVectorRecord& b) {
    if (a.y == b.y) return kNoCrossingX;
    const double t = (y0 - a.y) / (double(b.y) - a.y);
    if (!(t > 0.0 && t < 1.0)) return kNoCrossingX;
    return a.x + t * (double(b.x) - a.x);
  };
  const double xIn = crossing(prev, v), xOut = crossing(v, next);
  if (xIn >= xOut) return v.y > next.y;
  return prev.y > v.y;
}

bool CheckSteepDescent(const TVectorRecord& from, const TVectorRecord& to) {
  const double dz = double(from.z) - to.z;
  if (std::fabs(dz) <= kDescentHeightTolerance || from.z <= kDescentHeightTolerance) return false;
  return dz > Hypot(double(from.x) - to.x, double(from.y) - to.y) / kDescentSlope;
}

float ComputeToolRadiusAtDepth(TToolRecord& tool) {
  tool.radiusLimited = 0;
  if (tool.plungeDepth < 0.0f) tool.plungeDepth = 0.0f;
  const double d = tool.plungeDepth, t = tool.tipRadius, a = tool.angle, b = tool.ballRadius, s = tool.shankRadius;
  double r = t, h = 0.0;
  if (b > 0.0) {
    const double e = (90.0 - a) * std::numbers::pi / 180.0;
    const double q = (s - t) / b;
    double ballAngle = e;
    if (q < 1.0) {
      ballAngle = ComputeArcSineOrHalfPi(q < 0.0 ? 0.0 : q);
      if (e < ballAngle) ballAngle = e;
    }
    h = (1.0 - std::cos(ballAngle)) * b;
    if (h > d) {
      const double inside = b * b - (b - d) * (b - d);
      double result = t + std::sqrt(inside > 0.0 ? inside : 0.0);
      if (result > s) result = s;
      return static_cast<float>(result);
    }
    r = t + std::sin(ballAngle) * b;
  }
  if (a > 0.0) {
    bool ok;
    const double tangent = ComputeTangentOrZero(a * std::numbers::pi / 180.0, ok);
    // A flank of 90 degrees or more has no finite cone: the cutter is as
    // wide as its shank wherever it cuts deeper than its tip.
    if (!ok || a >= 90.0) {
      if (d - h > 0.0) {
        tool.radiusLimited = 1;
        return static_cast<float>(s);
      }
    } else {
      r += tangent * (d - h);
    }
  }
  if (r > s) {
    tool.radiusLimited = 1;
    return static_cast<float>(s);
  }
  return static_cast<float>(r);
}

// --- tool header file ---------------------------------------------------------------

void WriteToolHeaderFile(const TToolRecord& tool, int32_t layer, const std::string& name) {
  TToolPathHeader header{};
  BuildToolHeaderBlock(layer, tool, header, kToolHeaderFileValue);
  plat::TPasFile file;
  plat::Assign(file, name);
  RewriteFileQuiet(file, kVectorRecordSize);
  if (file.state < plat::kFileInput) return;
  uint32_t written = 0;
  BlockWriteQuiet(file, header.records, 12, written);
  CloseFileQuiet(file);
}
