#include "cad/arc_fitting.h"

#include <algorithm>
#include <cmath>

#include "model/arcs_to_points.h"
#include "model/geometry_2d.h"
#include "frame/defaults.h"
#include "frame/file_helpers.h"
#include "frame/math_constants.h"
#include "frame/param_file.h"
#include "ui/common_dialogs.h"
#include "frame/progress_bar.h"

namespace {

// Squared length of the sum of two unit vectors below which the direction
// turns by more than 50 degrees.
constexpr double kCornerThreshold = 3.2855752;
constexpr double kNoPreviousZ = -99999.0;
constexpr double kHugeRadius = 19999.99;
constexpr double kLineRadius = 9999.99;
constexpr double kRadiusLimit = 19999.999;
constexpr double kSmallestArcRadius = 0.2;
constexpr double kDropDistance = 0.05;
constexpr int kEscCheckEvery = 256;

struct TCircle {
  double cx = 0, cy = 0, r = 0;
  bool found = false;
};

// Circle through three points in double arithmetic; not found for points on
// one line (or coinciding).
TCircle CircleThrough(double x1, double y1, double x2, double y2, double x3, double y3) {
  TCircle c;
  const double ax = x2 - x1, ay = y2 - y1, bx = x3 - x1, by = y3 - y1;
  const double d = 2.0 * (ax * by - ay * bx);
  const double scale = std::max({std::fabs(ax), std::fabs(ay), std::fabs(bx), std::fabs(by), 1e-300});
  if (std::fabs(d) <= 1e-12 * scale * scale) return c;
  const double a2 = ax * ax + ay * ay, b2 = bx * bx + by * by;
  const double ux = (by * a2 - ay * b2) / d, uy = (ax * b2 - bx * a2) / d;
  c.cx = x1 + ux;
  c.cy = y1 + uy;
  c.r = std::hypot(ux, uy);
  c.found = std::isfinite(c.r);
  return c;
}

double Angle0To2Pi(double x, double y, double cx, double cy) {
  double a = std::atan2(y - cy, x - cx);
  if (a < 0) a += 2.0 * kPi;
  return a;
}

class TArcFitter {
 public:
  TArcFitter(std::vector<TVectorRecord>& out, int32_t mode, double largestSweep, double tolerance,
             double largestRadius, const TArcFeedSettings& feeds)
      : out_(out), form_(std::abs(mode) & 7), feedForm_((std::abs(mode) & 8) != 0),
        noCorner_((std::abs(mode) & 64) != 0), largestSweep_(largestSweep), tolerance_(tolerance),
        largestRadius_(largestRadius) {
    feedOn_ = feeds.feedRecordsOn != 0;
    baseFeed_ = feeds.baseFeed;
    for (int i = 0; i < 14; ++i) {
      radii_[i] = feeds.radii[i];
      percentages_[i] = feeds.percentages[i];
    }
    currentFeed_ = TVectorRecord{kRecToolFeed, feedOn_ ? float(baseFeed_) : 99.999f, 0.0f, 0.0f};
  }

  void Take(const TVectorRecord& rec) {
    switch (rec.type) {
      case kRecLinePoint:
        if (previousType_ == kRec3DPoint || previousType_ == kRecSplinePoint) {
          CloseWindow();
          EmitPoint(rec);
          StartWindow(rec);
        } else {
          Append(rec);
        }
        previousZ_ = kNoPreviousZ;
        break;
      case kRec3DPoint:
        if (double(rec.z) != previousZ_) {
          CloseWindow();
          EmitPoint(rec);
          StartWindow(rec);
          previousZ_ = rec.z;
        } else {
          Append(rec);
        }
        break;
      case kRecSplinePoint: {
        CloseWindow();
        TVectorRecord line = rec;
        line.type = kRecLinePoint;
        EmitPoint(line);
        StartWindow(line);
        previousZ_ = rec.z;
        break;
      }
      default:
        CloseWindow();
        out_.push_back(rec);
        if (rec.type == kRecToolFeed) {
          currentFeed_ = rec;
          lastFeed_ = rec.x;
        }
        StartWindow(rec);
        break;
    }
    previousType_ = rec.type;
  }

  void Finish() { CloseWindow(); }

 private:
  void StartWindow(const TVectorRecord& rec) {
    window_.clear();
    window_.push_back(rec);
    previousDistance_ = -1.0;
  }

  void KeepLastTwo() {
    const TVectorRecord a = window_[window_.size() - 2], b = window_.back();
    window_.clear();
    window_.push_back(a);
    window_.push_back(b);
    previousDistance_ = -1.0;
  }

  void Append(const TVectorRecord& rec) {
    window_.push_back(rec);
    const size_t n = window_.size();
    if (n == 3) {
      if (SharpCornerAt(1) || !CircleTest()) {
        EmitPoint(window_[1]);
        KeepLastTwo();
      }
    } else if (n > 3) {
      if (n >= size_t(kArcFitWindowMax) || SharpCornerAt(n - 2) || !CircleTest()) {
        const TVectorRecord last = window_.back();
        window_.pop_back();
        OutputArc();
        window_.push_back(last);
        KeepLastTwo();
      }
    }
  }

  bool SharpCornerAt(size_t i) const {
    if (noCorner_) return false;
    return TestSharpCorner(window_[i - 1], window_[i], window_[i + 1], kCornerThreshold);
  }

  // The middle reference point of the window.
  void MiddlePoint(double& mx, double& my) const {
    const size_t n = window_.size();
    mx = window_[n / 2].x;
    my = window_[n / 2].y;
    if (!noCorner_) return;
    const double sx = window_.front().x, sy = window_.front().y, ex = window_.back().x, ey = window_.back().y;
    const double ox = (sx + ex) / 2.0, oy = (sy + ey) / 2.0;
    const double dx = -(ey - sy), dy = ex - sx;  // the chord's perpendicular
    for (size_t i = 0; i + 1 < n; ++i) {
      const double ax = window_[i].x, ay = window_[i].y;
      const double bx = window_[i + 1].x, by = window_[i + 1].y;
      const double ux = bx - ax, uy = by - ay;
      const double den = dx * uy - dy * ux;
      if (den == 0.0) continue;
      const double u = (dx * (ay - oy) - dy * (ax - ox)) / -den;
      if (u >= 0.0 && u <= 1.0) {
        mx = ax + u * ux;
        my = ay + u * uy;
        return;
      }
    }
  }

  TCircle WindowCircle() const {
    double mx, my;
    MiddlePoint(mx, my);
    return CircleThrough(window_.front().x, window_.front().y, mx, my, window_.back().x, window_.back().y);
  }

  static double MidpointFactor(double radius) {
    const double r = std::trunc(radius);
    if (r < 5) return 1.2;
    if (r < 50) return 1.5;
    if (r < 250) return 2.0;
    if (r < 1000) return 4.0;
    if (r < 5000) return 6.0;
    return 8.0;
  }

  bool CircleTest() {
    const size_t n = window_.size();
    const double d = std::hypot(double(window_[n - 2].x) - window_[0].x, double(window_[n - 2].y) - window_[0].y);
    if (d < previousDistance_) return false;  // the chain turns back toward its start
    previousDistance_ = d;
    const TCircle c = WindowCircle();
    if (!c.found) return false;
    if (n >= 4) {
      for (const TVectorRecord& p : window_)
        if (!(std::fabs(c.r - std::hypot(p.x - c.cx, p.y - c.cy)) < tolerance_)) return false;
    }
    const double f = MidpointFactor(c.r);
    for (size_t i = 0; i + 1 < n; ++i) {
      const double mx = (double(window_[i].x) + window_[i + 1].x) / 2.0;
      const double my = (double(window_[i].y) + window_[i + 1].y) / 2.0;
      if (!(std::fabs(c.r - std::hypot(mx - c.cx, my - c.cy)) / f < tolerance_)) return false;
    }
    return true;
  }

  void CloseWindow() {
    const size_t n = window_.size();
    if (n == 2) EmitPoint(window_[1]);
    if (n > 2) OutputArc();
    if (n >= 2) StartWindow(window_.back());
  }

  // Points of the window after its first, in order; with `thin` a point within
  // 0.05 of the last emitted one is dropped (the last always comes).
  void EmitPointsAfterStart(bool thin) {
    double lx = window_[0].x, ly = window_[0].y;
    for (size_t i = 1; i < window_.size(); ++i) {
      const TVectorRecord& p = window_[i];
      if (thin && i + 1 < window_.size() && std::hypot(double(p.x) - lx, double(p.y) - ly) <= kDropDistance) continue;
      EmitPoint(p);
      lx = p.x;
      ly = p.y;
    }
  }

  void OutputArc() {
    const TVectorRecord& s = window_.front();
    const TVectorRecord& e = window_.back();
    double mx, my;
    MiddlePoint(mx, my);
    TCircle c = CircleThrough(s.x, s.y, mx, my, e.x, e.y);
    double a0 = 0.0, sweep = 0.0, r;
    if (!c.found) {
      r = kLineRadius;
    } else if (c.r > kRadiusLimit) {
      r = kHugeRadius;
    } else {
      r = c.r;
      a0 = Angle0To2Pi(s.x, s.y, c.cx, c.cy);
      double toEnd = Angle0To2Pi(e.x, e.y, c.cx, c.cy) - a0;
      double toMiddle = Angle0To2Pi(mx, my, c.cx, c.cy) - a0;
      if (toEnd < 0) toEnd += 2.0 * kPi;
      if (toMiddle < 0) toMiddle += 2.0 * kPi;
      sweep = toMiddle < toEnd ? toEnd : toEnd - 2.0 * kPi;
    }
    if (feedForm_) {
      EmitWindowWithRadiusFeed(r);
      return;
    }
    if (r < kSmallestArcRadius) {
      EmitPointsAfterStart(false);
      return;
    }
    if (std::fabs(sweep) <= kDegree || r >= largestRadius_) {
      EmitPointsAfterStart(true);
      return;
    }
    switch (form_) {
      case 0:
        if (!EmitArcRecord(c, r, a0, sweep)) {
          // An arc that cannot be made to end at the window's end keeps the
          // window's points rather than cutting the chord across.
          EmitPointsAfterStart(false);
          return;
        }
        break;
      case 1: {
        const double limit = largestSweep_ > 0.0 ? largestSweep_ : 2.0 * kPi;
        const int k = std::max(1, int(std::ceil(std::fabs(sweep) / limit - 1e-12)));
        const double piece = sweep / k;
        for (int i = 1; i <= k; ++i) {
          out_.push_back(TVectorRecord{kRecArcCentre, float(c.cx), float(c.cy), sweep > 0 ? 1.0f : 0.0f});
          if (i < k) {
            const double a = a0 + piece * i;
            TVectorRecord p{e.type, float(c.cx + r * std::cos(a)), float(c.cy + r * std::sin(a)), e.z};
            EmitPoint(p);
          }
        }
        break;
      }
      case 2:
        out_.push_back(TVectorRecord{kRecArcCentre, float(c.cx), float(c.cy), float(sweep)});
        break;
      case 7: {
        std::vector<TVectorRecord> buffer(kMaxSampledPoints + 2);
        int32_t count = 0;
        ApproximateArcToPointsPrecise(buffer.data(), count, s.x, s.y, s.z, r, r, a0, sweep);
        const uint8_t type = s.type == kRec3DPoint ? kRec3DPoint : kRecLinePoint;
        for (int32_t i = 0; i + 1 < count; ++i) {
          buffer[i].type = type;
          EmitPoint(buffer[i]);
        }
        break;
      }
      default:
        break;
    }
    EmitPoint(e);
  }

  // Form 0: shrinks the sweep until the arc ends where the window ends.
  bool EmitArcRecord(const TCircle& c, double r, double a0, double sweep) {
    const TVectorRecord& e = window_.back();
    const double back = 0.2 * kDegree;
    for (int attempt = 0; attempt <= 15; ++attempt) {
      const double end = a0 + sweep;
      const double f = end - (sweep > 0 ? back : -back);
      const double px = c.cx + r * std::cos(end), py = c.cy + r * std::sin(end);
      const double fx = c.cx + r * std::cos(f), fy = c.cy + r * std::sin(f);
      if (std::hypot(px - fx, py - fy) <= std::hypot(double(e.x) - fx, double(e.y) - fy) + 0.002) {
        out_.push_back(TVectorRecord{kRecArc, float(r), float(a0), float(sweep)});
        return true;
      }
      if (std::fabs(sweep) <= back)
        sweep *= 0.9;
      else
        sweep -= sweep > 0 ? 0.1 * kDegree : -0.1 * kDegree;
    }
    return false;
  }

  void EmitWindowWithRadiusFeed(double radius) {
    if (feedOn_) {
      const double* R = radii_;
      const double* P = percentages_;
      double percent = P[0];
      if (radius > R[0]) {
        int k = 1;
        while (k < 14 && !(radius <= R[k])) ++k;
        if (k < 14 && R[k] != R[k - 1])
          percent = std::round(P[k - 1] + (P[k] - P[k - 1]) * (radius - R[k - 1]) / (R[k] - R[k - 1]));
        else
          percent = P[0];  // above the last threshold
      }
      const double base = baseFeed_, programmed = currentFeed_.x;
      const float feed = float(std::min(percent / 100.0 * base, programmed));
      if (feed != lastFeed_) {
        out_.push_back(TVectorRecord{kRecToolFeed, feed, currentFeed_.y, currentFeed_.z});
        lastFeed_ = feed;
      }
    }
    for (size_t i = 1; i < window_.size(); ++i) out_.push_back(window_[i]);
  }

  void EmitPoint(const TVectorRecord& p) {
    if (feedOn_ && (p.type == kRecLinePoint || p.type == kRec3DPoint)) {
      const float programmed = currentFeed_.x, base = float(baseFeed_);
      const float feed = std::min(programmed, base);
      if (feed != lastFeed_) {
        out_.push_back(TVectorRecord{kRecToolFeed, feed, currentFeed_.y, currentFeed_.z});
        lastFeed_ = feed;
      }
    }
    out_.push_back(p);
  }

  std::vector<TVectorRecord>& out_;
  std::vector<TVectorRecord> window_;
  int form_;
  bool feedForm_, noCorner_;
  double largestSweep_, tolerance_, largestRadius_;
  double baseFeed_ = 0, radii_[14] = {}, percentages_[14] = {};
  bool feedOn_ = false;
  TVectorRecord currentFeed_{};
  float lastFeed_ = -1.0f;
  uint8_t previousType_ = 0;
  double previousZ_ = kNoPreviousZ;
  double previousDistance_ = -1.0;
};

}  // namespace

void FitArcsInRecords(const TVectorRecord* input, int32_t count, std::vector<TVectorRecord>& output, int32_t mode,
                      double largestSweep, double tolerance, double largestRadius, const TArcFeedSettings& feeds) {
  output.clear();
  if (input == nullptr || count <= 0) return;
  output.reserve(size_t(count) + 16);
  TArcFitter fitter(output, mode, largestSweep, tolerance, largestRadius, feeds);
  const bool progress = mode >= 0 && count > 20000;
  if (progress) StartProgressBar(count);
  for (int32_t i = 0; i < count; ++i) {
    fitter.Take(input[i]);
    if (i % kEscCheckEvery == kEscCheckEvery - 1) {
      CheckEscapeAbort();
      if (ErrorCode != 0) break;
      if (progress) UpdateProgressBar(i);
    }
  }
  fitter.Finish();
}

void FitArcsInVectorFile(const std::string& source, const std::string& target, int32_t mode, double largestSweep,
                         double tolerance, double largestRadius) {
  TVectorArray input;
  LoadVectorFileToBuffer(source, input);
  if (input.count <= 0) {
    FreeVectorBuffer(input);
    return;
  }
  TArcFeedSettings feeds{};
  GetParamBlock(kArcFeedBlock, &feeds, sizeof feeds);
  std::vector<TVectorRecord> output;
  FitArcsInRecords(input.records, input.count, output, mode, largestSweep, tolerance, largestRadius, feeds);
  FreeVectorBuffer(input);
  TVectorArray result;
  result.records = output.data();
  result.count = int32_t(output.size());
  result.capacity = result.count;
  WriteVectorBufferToFile(target, result);
}
