// Clipper reference and comparison measures for the contour offset engine
// (see offset_reference.h).
#include "offset_reference.h"

#include <clipper.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>

#include "frame/defaults.h"
#include "model/vector_records.h"
#include "paths/contour_offset.h"
#include "paths/offset_results.h"
#include "paths/offset_tolerances.h"
#include "platform/files.h"

namespace offsetref {

namespace {

// Clipper works on integers: 1 unit = 0.1 micrometre.
constexpr double kScale = 10000.0;

ClipperLib::Path ToPath(const TContour& contour) {
  ClipperLib::Path path;
  path.reserve(contour.size());
  for (const TPt& p : contour) path.emplace_back(ClipperLib::cInt(std::llround(p.x * kScale)),
                                                 ClipperLib::cInt(std::llround(p.y * kScale)));
  return path;
}

ClipperLib::Paths ToPaths(const TShape& shape) {
  ClipperLib::Paths paths;
  paths.reserve(shape.size());
  for (const TContour& c : shape) paths.push_back(ToPath(c));
  return paths;
}

TShape FromPaths(const ClipperLib::Paths& paths) {
  TShape shape;
  shape.reserve(paths.size());
  for (const auto& path : paths) {
    TContour c;
    c.reserve(path.size());
    for (const auto& p : path) c.push_back(TPt{double(p.X) / kScale, double(p.Y) / kScale});
    shape.push_back(std::move(c));
  }
  return shape;
}

double PathsArea(const ClipperLib::Paths& paths) {
  double area = 0;
  for (const auto& p : paths) area += ClipperLib::Area(p);
  return area / (kScale * kScale);
}

bool PointInContour(const TContour& c, const TPt& p) {
  bool inside = false;
  for (size_t i = 0, j = c.size() - 1; i < c.size(); j = i++) {
    if ((c[i].y > p.y) != (c[j].y > p.y) &&
        p.x < (c[j].x - c[i].x) * (p.y - c[i].y) / (c[j].y - c[i].y) + c[i].x)
      inside = !inside;
  }
  return inside;
}

// Nearest-segment queries over the segments of a shape through a uniform grid.
class TSegmentGrid {
 public:
  TSegmentGrid(const TShape& shape, double wantedCell) {
    double x1 = 1e300, y1 = 1e300, x2 = -1e300, y2 = -1e300;
    size_t segments = 0;
    for (const TContour& c : shape) {
      segments += c.size();
      for (const TPt& p : c) {
        x1 = std::min(x1, p.x), y1 = std::min(y1, p.y), x2 = std::max(x2, p.x), y2 = std::max(y2, p.y);
      }
    }
    if (segments == 0) return;
    x0_ = x1, y0_ = y1;
    const double w = std::max(x2 - x1, 1e-9), h = std::max(y2 - y1, 1e-9);
    cell_ = std::max(wantedCell, std::sqrt(w * h / double(std::max<size_t>(segments, 1))));
    cell_ = std::max(cell_, std::max(w, h) / 2048.0);
    nx_ = int(w / cell_) + 1;
    ny_ = int(h / cell_) + 1;
    cells_.assign(size_t(nx_) * size_t(ny_), {});
    for (const TContour& c : shape) {
      for (size_t i = 0; i < c.size(); ++i) {
        const TPt& a = c[i];
        const TPt& b = c[(i + 1) % c.size()];
        const int32_t id = int32_t(segs_.size());
        segs_.push_back({a, b});
        Insert(id, a, b);
      }
    }
  }
  bool Empty() const { return segs_.empty(); }
  double Distance(const TPt& p) const {
    if (segs_.empty()) return std::numeric_limits<double>::infinity();
    const int cx = std::clamp(int((p.x - x0_) / cell_), 0, nx_ - 1);
    const int cy = std::clamp(int((p.y - y0_) / cell_), 0, ny_ - 1);
    // Cells outside the grid: the point's distance to the grid box counts.
    const double outside = std::max({0.0, x0_ - p.x, p.x - (x0_ + nx_ * cell_), y0_ - p.y, p.y - (y0_ + ny_ * cell_)});
    double best = std::numeric_limits<double>::infinity();
    const int maxRing = std::max(nx_, ny_);
    for (int r = 0; r <= maxRing; ++r) {
      for (int j = cy - r; j <= cy + r; ++j) {
        if (j < 0 || j >= ny_) continue;
        const bool edgeRow = j == cy - r || j == cy + r;
        for (int i = cx - r; i <= cx + r; i += edgeRow ? 1 : 2 * r) {
          if (i >= 0 && i < nx_) {
            for (int32_t id : cells_[size_t(j) * size_t(nx_) + size_t(i)]) best = std::min(best, SegmentDistance(p, id));
          }
          if (r == 0) break;
        }
      }
      if (best <= outside + r * cell_) break;
    }
    return best;
  }

 private:
  struct TSeg {
    TPt a, b;
  };
  double SegmentDistance(const TPt& p, int32_t id) const {
    const TSeg& s = segs_[size_t(id)];
    const double ux = s.b.x - s.a.x, uy = s.b.y - s.a.y;
    const double l2 = ux * ux + uy * uy;
    double t = l2 > 0 ? ((p.x - s.a.x) * ux + (p.y - s.a.y) * uy) / l2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (s.a.x + t * ux), p.y - (s.a.y + t * uy));
  }
  // Every cell the segment passes through, column by column.
  void Insert(int32_t id, const TPt& a, const TPt& b) {
    const double ax = (a.x - x0_) / cell_, ay = (a.y - y0_) / cell_;
    const double bx = (b.x - x0_) / cell_, by = (b.y - y0_) / cell_;
    const int c0 = std::clamp(int(std::min(ax, bx)), 0, nx_ - 1);
    const int c1 = std::clamp(int(std::max(ax, bx)), 0, nx_ - 1);
    for (int c = c0; c <= c1; ++c) {
      double ya, yb;
      if (bx == ax) {
        ya = ay, yb = by;
      } else {
        const double xl = std::max(double(c), std::min(ax, bx)), xr = std::min(double(c + 1), std::max(ax, bx));
        ya = ay + (by - ay) * (xl - ax) / (bx - ax);
        yb = ay + (by - ay) * (xr - ax) / (bx - ax);
      }
      const int r0 = std::clamp(int(std::min(ya, yb)), 0, ny_ - 1);
      const int r1 = std::clamp(int(std::max(ya, yb)), 0, ny_ - 1);
      for (int r = r0; r <= r1; ++r) cells_[size_t(r) * size_t(nx_) + size_t(c)].push_back(id);
    }
  }
  double x0_ = 0, y0_ = 0, cell_ = 1;
  int nx_ = 0, ny_ = 0;
  std::vector<TSeg> segs_;
  std::vector<std::vector<int32_t>> cells_;
};

// Largest distance from the densified boundary of from to the boundary of to.
double DirectedHausdorff(const TShape& from, const TSegmentGrid& to, double spacing) {
  double worst = 0;
  for (const TContour& c : from) {
    for (size_t i = 0; i < c.size(); ++i) {
      const TPt& a = c[i];
      const TPt& b = c[(i + 1) % c.size()];
      const int steps = std::max(1, int(std::ceil(std::hypot(b.x - a.x, b.y - a.y) / spacing)));
      for (int k = 0; k < steps; ++k) {
        const double t = double(k) / steps;
        worst = std::max(worst, to.Distance(TPt{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)}));
      }
    }
  }
  return worst;
}

void AddContour(TShape& shape, TContour c) {
  if (c.size() >= 3) shape.push_back(std::move(c));
}

TContour Circle(double cx, double cy, double r, int n, double phase = 0) {
  TContour c;
  for (int i = 0; i < n; ++i) {
    const double a = phase + 2 * M_PI * i / n;
    c.push_back(TPt{cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  return c;
}

// A polygon densified to about n points along its edges.
TContour Densified(const std::vector<TPt>& corners, int n) {
  double perimeter = 0;
  for (size_t i = 0; i < corners.size(); ++i) {
    const TPt& a = corners[i];
    const TPt& b = corners[(i + 1) % corners.size()];
    perimeter += std::hypot(b.x - a.x, b.y - a.y);
  }
  TContour c;
  for (size_t i = 0; i < corners.size(); ++i) {
    const TPt& a = corners[i];
    const TPt& b = corners[(i + 1) % corners.size()];
    const int k = std::max(1, int(std::lround(n * std::hypot(b.x - a.x, b.y - a.y) / perimeter)));
    for (int j = 0; j < k; ++j) c.push_back(TPt{a.x + (b.x - a.x) * j / k, a.y + (b.y - a.y) * j / k});
  }
  return c;
}

}  // namespace

double SignedArea(const TContour& c) {
  double a = 0;
  for (size_t i = 0, j = c.size() - 1; i < c.size(); j = i++) a += (c[j].x - c[i].x) * (c[j].y + c[i].y);
  return a / 2;
}

size_t PointCount(const TShape& shape) {
  size_t n = 0;
  for (const auto& c : shape) n += c.size();
  return n;
}

void OrientByNesting(TShape& shape) {
  // Depth by the number of other contours holding a point of this one (the
  // generators keep contours apart, so any vertex will do); bounding boxes
  // keep the test near linear for spread-out shapes.
  struct TBox {
    double x1, y1, x2, y2;
  };
  std::vector<TBox> boxes;
  for (const TContour& c : shape) {
    TBox b{1e300, 1e300, -1e300, -1e300};
    for (const TPt& p : c) b = {std::min(b.x1, p.x), std::min(b.y1, p.y), std::max(b.x2, p.x), std::max(b.y2, p.y)};
    boxes.push_back(b);
  }
  std::vector<size_t> order(shape.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return boxes[a].x1 < boxes[b].x1; });
  for (size_t i = 0; i < shape.size(); ++i) {
    const TPt p = shape[i][0];
    int depth = 0;
    for (size_t j : order) {
      if (boxes[j].x1 > p.x) break;
      if (j == i || boxes[j].x2 < p.x || boxes[j].y1 > p.y || boxes[j].y2 < p.y) continue;
      if (PointInContour(shape[j], p)) ++depth;
    }
    const bool wantCcw = depth % 2 == 0;
    if ((SignedArea(shape[i]) > 0) != wantCcw) std::reverse(shape[i].begin(), shape[i].end());
  }
}

TShape MakeSquareWithHole(int points) {
  TShape shape;
  const int outer = points * 3 / 5;
  AddContour(shape, Densified({{0, 0}, {100, 0}, {100, 100}, {0, 100}}, outer));
  AddContour(shape, Circle(50, 50, 30, points - outer));
  OrientByNesting(shape);
  return shape;
}

TShape MakeLetterContours(int contours, int points, uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  TShape shape;
  const int perContour = std::max(8, points / std::max(contours, 1));
  const int columns = int(std::ceil(std::sqrt(double(contours) * 0.8)));
  int index = 0;
  while (int(shape.size()) < contours) {
    const double ox = 12.0 * (index % columns), oy = 16.0 * (index / columns);
    ++index;
    const int kind = int(unit(rng) * 4);
    if (kind == 0 && int(shape.size()) + 2 <= contours) {  // "O": a ring
      AddContour(shape, Circle(ox + 5, oy + 7, 5, perContour));
      AddContour(shape, Circle(ox + 5, oy + 7, 3, perContour, 0.1));
    } else if (kind == 1) {  // "L"
      AddContour(shape, Densified({{ox, oy}, {ox + 8, oy}, {ox + 8, oy + 2}, {ox + 2, oy + 2}, {ox + 2, oy + 12},
                                   {ox, oy + 12}},
                                  perContour));
    } else if (kind == 2) {  // "T"
      AddContour(shape, Densified({{ox + 4, oy}, {ox + 6, oy}, {ox + 6, oy + 10}, {ox + 10, oy + 10}, {ox + 10, oy + 12},
                                   {ox, oy + 12}, {ox, oy + 10}, {ox + 4, oy + 10}},
                                  perContour));
    } else {  // a curved stroke like "S": a wavy band
      TContour c;
      const int half = perContour / 2;
      for (int i = 0; i < half; ++i) {
        const double t = double(i) / (half - 1);
        c.push_back(TPt{ox + 2 + 6 * t, oy + 6 + 4 * std::sin(2 * M_PI * t) - 1});
      }
      for (int i = half - 1; i >= 0; --i) {
        const double t = double(i) / (half - 1);
        c.push_back(TPt{ox + 2 + 6 * t, oy + 6 + 4 * std::sin(2 * M_PI * t) + 1});
      }
      AddContour(shape, c);
    }
  }
  OrientByNesting(shape);
  return shape;
}

TShape MakeTracedPicture(int contours, int points, uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  TShape shape;
  const int blobs = contours / 2;
  const int perContour = std::max(8, points / std::max(contours, 1));
  const int columns = int(std::ceil(std::sqrt(double(blobs))));
  for (int b = 0; b < blobs; ++b) {
    const double cx = 6.0 * (b % columns) + 3, cy = 6.0 * (b / columns) + 3;
    const double r = 1.8 + 0.3 * unit(rng);  // neighbours never cross: 2 x 2.85 < 6
    const double a1 = 0.2 * unit(rng), a2 = 0.15 * unit(rng), p1 = 6.28 * unit(rng), p2 = 6.28 * unit(rng);
    TContour outer, hole;
    for (int i = 0; i < perContour; ++i) {
      const double a = 2 * M_PI * i / perContour;
      const double rr = r * (1 + a1 * std::sin(3 * a + p1) + a2 * std::sin(5 * a + p2)) + 0.01 * unit(rng);
      outer.push_back(TPt{cx + rr * std::cos(a), cy + rr * std::sin(a)});
      const double rh = 0.7 * (1 + 0.2 * std::sin(2 * a + p2)) + 0.005 * unit(rng);
      hole.push_back(TPt{cx + 0.2 + rh * std::cos(a), cy + rh * std::sin(a)});
    }
    AddContour(shape, outer);
    AddContour(shape, hole);
  }
  OrientByNesting(shape);
  return shape;
}

TShape MakeLayoutShapes(uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  TShape shape;
  // A frame of the layout with a large window, then shapes inside it.
  AddContour(shape, Densified({{0, 0}, {600, 0}, {600, 600}, {0, 600}}, 400));
  AddContour(shape, Densified({{10, 10}, {590, 10}, {590, 590}, {10, 590}}, 400));
  for (int gy = 0; gy < 8; ++gy) {
    for (int gx = 0; gx < 8; ++gx) {
      const double cx = 50 + 70 * gx, cy = 50 + 70 * gy;
      const int kind = (gx + gy * 8) % 4;
      if (kind == 0) {
        AddContour(shape, Circle(cx, cy, 10 + 15 * unit(rng), 360));
      } else if (kind == 1) {  // a star: sharp outer and inner corners
        TContour star;
        const double r1 = 28, r2 = 12 + 6 * unit(rng);
        for (int i = 0; i < 14; ++i) {
          const double a = M_PI * i / 7;
          const double r = i % 2 ? r2 : r1;
          star.push_back(TPt{cx + r * std::cos(a), cy + r * std::sin(a)});
        }
        AddContour(shape, star);
      } else if (kind == 2) {  // a plate with two holes
        AddContour(shape, Densified({{cx - 28, cy - 20}, {cx + 28, cy - 20}, {cx + 28, cy + 20}, {cx - 28, cy + 20}}, 80));
        AddContour(shape, Circle(cx - 12, cy, 6, 120));
        AddContour(shape, Densified({{cx + 4, cy - 8}, {cx + 20, cy - 8}, {cx + 20, cy + 8}, {cx + 4, cy + 8}}, 40));
      } else {  // an irregular polygon
        TContour poly;
        for (int i = 0; i < 24; ++i) {
          const double a = 2 * M_PI * i / 24;
          const double r = 15 + 12 * unit(rng);
          poly.push_back(TPt{cx + r * std::cos(a), cy + r * std::sin(a)});
        }
        AddContour(shape, poly);
      }
    }
  }
  OrientByNesting(shape);
  return shape;
}

TShape MakeSquare(double x, double y, double size) {
  TShape shape{TContour{{x, y}, {x + size, y}, {x + size, y + size}, {x, y + size}}};
  return shape;
}

TShape MakeDumbbell(double neckWidth) {
  const double h = neckWidth / 2;
  TShape shape{TContour{{0, 0}, {20, 0}, {20, 10 - h}, {40, 10 - h}, {40, 0}, {60, 0}, {60, 20}, {40, 20},
                        {40, 10 + h}, {20, 10 + h}, {20, 20}, {0, 20}}};
  return shape;
}

void WriteShapeFile(const std::string& name, const TShape& shape) {
  std::vector<TVectorRecord> records;
  records.reserve(PointCount(shape) + shape.size());
  for (const TContour& c : shape) {
    for (size_t i = 0; i <= c.size(); ++i) {
      const TPt& p = c[i % c.size()];
      records.push_back(TVectorRecord{uint8_t(i == 0 ? kRecContourStart : kRecLinePoint), float(p.x), float(p.y), 0});
    }
  }
  std::ofstream(plat::HostPathOf(name), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(records.data()), std::streamsize(records.size() * sizeof(TVectorRecord)));
}

TShape ReadShapeFile(const std::string& name) {
  std::ifstream in(plat::HostPathOf(name), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  const size_t n = bytes.size() / sizeof(TVectorRecord);
  TShape shape;
  TContour current;
  auto finish = [&]() {
    if (current.size() >= 2 && current.front().x == current.back().x && current.front().y == current.back().y)
      current.pop_back();
    if (current.size() >= 3) shape.push_back(current);
    current.clear();
  };
  for (size_t i = 0; i < n; ++i) {
    TVectorRecord r;
    std::memcpy(&r, bytes.data() + i * sizeof(TVectorRecord), sizeof r);
    if (r.type == kRecContourStart) finish();
    if (r.type == kRecContourStart || r.type == kRecLinePoint) current.push_back(TPt{r.x, r.y});
  }
  finish();
  return shape;
}

double ArcChordError(double d, double roundingAngle) { return std::fabs(d) * (1 - std::cos(roundingAngle / 2)); }

TShape ClipperOffsetShape(const TShape& shape, double delta, double roundingAngle) {
  ClipperLib::ClipperOffset offset;
  offset.ArcTolerance = std::max(ArcChordError(delta, roundingAngle) * kScale, 0.25);
  offset.AddPaths(ToPaths(shape), ClipperLib::jtRound, ClipperLib::etClosedPolygon);
  ClipperLib::Paths solution;
  offset.Execute(solution, delta * kScale);
  return FromPaths(solution);
}

TOffsetComparison CompareOffsets(const TShape& ours, const TShape& reference, const TShape& input, double spacing) {
  TOffsetComparison c;
  const ClipperLib::Paths a = ToPaths(ours), b = ToPaths(reference);
  for (const auto& p : a) (ClipperLib::Area(p) < 0 ? c.holesOurs : c.contoursOurs)++;
  for (const auto& p : b) (ClipperLib::Area(p) < 0 ? c.holesReference : c.contoursReference)++;
  c.areaOurs = PathsArea(a);
  c.areaReference = PathsArea(b);
  ClipperLib::Clipper clipper;
  clipper.AddPaths(a, ClipperLib::ptSubject, true);
  clipper.AddPaths(b, ClipperLib::ptClip, true);
  ClipperLib::Paths difference;
  clipper.Execute(ClipperLib::ctXor, difference, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
  c.xorArea = std::fabs(PathsArea(difference));
  c.relativeXor = c.areaReference != 0 ? c.xorArea / std::fabs(c.areaReference) : c.xorArea;
  const TSegmentGrid gridOurs(ours, spacing * 4), gridReference(reference, spacing * 4);
  c.hausdorff = std::max(DirectedHausdorff(ours, gridReference, spacing), DirectedHausdorff(reference, gridOurs, spacing));
  if (ours.empty() != reference.empty()) c.hausdorff = std::numeric_limits<double>::infinity();
  const TSegmentGrid gridInput(input, spacing * 4);
  c.leastInputDistance = std::numeric_limits<double>::infinity();
  for (const TContour& contour : ours) {
    for (size_t i = 0; i < contour.size(); ++i) {
      const TPt& p = contour[i];
      const TPt& q = contour[(i + 1) % contour.size()];
      const int steps = std::max(1, int(std::ceil(std::hypot(q.x - p.x, q.y - p.y) / spacing)));
      for (int k = 0; k < steps; ++k) {
        const double t = double(k) / steps;
        c.leastInputDistance =
            std::min(c.leastInputDistance, gridInput.Distance(TPt{p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)}));
      }
    }
  }
  return c;
}

std::string DescribeComparison(const TOffsetComparison& c) {
  char text[400];
  std::snprintf(text, sizeof text,
                "contours %d/%d holes %d/%d (ours/Clipper), area %.6f/%.6f, xor %.6g (%.3g of the area), "
                "Hausdorff %.6g, least distance from the input %.6g",
                c.contoursOurs, c.contoursReference, c.holesOurs, c.holesReference, c.areaOurs, c.areaReference,
                c.xorArea, c.relativeXor, c.hausdorff, c.leastInputDistance);
  return text;
}

TShape ReduceShape(const TShape& shape, double b) {
  WriteShapeFile("OFFIN.TMP", shape);
  const float c = ComputeBasicTolerance(float(b));
  ReduceContourPoints("OFFIN.TMP", kReducedPointsFile, 0, 0.001f, -5.0f, c, 0.0f);
  TShape reduced = ReadShapeFile(kReducedPointsFile);
  return reduced;
}

void RunEngineOffset(const TShape& shape, double b, uint8_t side, double roundingAngle, TEngineRun& run) {
  run.reduced = ReduceShape(shape, b);
  run.result.clear();
  const float c = ComputeBasicTolerance(float(b));
  const TErrorCode saved = ErrorCode;
  ErrorCode = -2;  // silent run: the engine and the writer draw nothing
  OffsetContourFile(kReducedPointsFile, side, c, float(roundingAngle), float(M_PI));
  run.errorCode = ErrorCode > 0 ? ErrorCode : 0;
  if (run.errorCode == 0) {
    WriteJoinedOffsetPath("OFFSEC.TMP", "OFFOUT.TMP", side, c, float(b), 0, -1);
    if (ErrorCode > 0) run.errorCode = ErrorCode;
    run.result = ReadShapeFile("OFFOUT.TMP");
  }
  ErrorCode = saved;
}

}  // namespace offsetref
