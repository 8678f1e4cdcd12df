// Hatching of closed contours by horizontal scan lines.
//
// Sections:
//   output and the run
//   scan lines
//   joining
//   bands
//   entry points
#include "paths/hatching.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "frame/file_helpers.h"
#include "frame/math_constants.h"
#include "frame/messages.h"
#include "frame/quiet_files.h"
#include "model/record_files.h"
#include "model/record_stream.h"
#include "model/vector_records.h"
#include "platform/files.h"
#include "view/world_lines.h"
#include "ui/common_dialogs.h"

namespace {

constexpr int32_t kReadChunk = 1000;
constexpr int32_t kRotateBlock = 30000;
constexpr int32_t kWriteBlock = 1000;
constexpr int32_t kBandBudget = 6000;
constexpr int32_t kLeastBandBudget = 750;
constexpr int kLineRetries = 10;
// Buckets of the band's segments for the connection test.
constexpr int32_t kMaxBuckets = 256;

// --- output and the run ------------------------------------------------------------------

// Point records written through a buffer; a short write marks the writer failed.
struct TPointWriter {
  plat::TPasFile file;
  TRecordFileWriter out;
  bool open = false;
};

bool OpenPointWriter(TPointWriter& writer, const std::string& name) {
  plat::Assign(writer.file, name);
  RewriteFileQuiet(writer.file, kPointRecordSize);
  StartRecordFileWriter(writer.out, writer.file, kPointRecordSize, kWriteBlock, BlockWriteQuiet);
  writer.open = writer.file.state >= plat::kFileInput;
  return writer.open;
}

void PutPoint(TPointWriter& writer, uint8_t type, float x, float y) {
  const TPointRecord point{type, x, y};
  PutRecord(writer.out, &point);
}

void ClosePointWriter(TPointWriter& writer) {
  if (!writer.open) return;
  FlushRecordFileWriter(writer.out);
  CloseFileQuiet(writer.file);
  writer.open = false;
}

struct THatchLine {
  double sx, ex, y;  // start and end x on the (turned) scan line y
};

struct THatchRun {
  THatchParams* params = nullptr;
  double d = 1.0;
  double g = 0.0;
  float angle = 0.0f;
  int16_t colour = -1;
  uint8_t result = kHatchOk;
  plat::TPasFile source;
  int64_t records = 0;
  std::vector<TPointRecord> points;  // the band's loaded points
  int32_t counted = 0;
  std::vector<double> crossings;
  double y = 0.0;           // the current scan line, kept from band to band
  bool increasing = true;   // direction of the next line
  bool extraLineDone = false;
  TPointWriter target;
  TPointWriter help;
  std::vector<THatchLine> bandLines;  // the band's lines to join
  // Connection test: the band's segments by y bucket.
  double bucketLow = 0.0;
  double bucketHeight = 1.0;
  std::vector<std::vector<int32_t>> buckets;
};

bool ReadPoints(plat::TPasFile& file, TPointRecord* records, uint32_t n, uint32_t& read) {
  read = 0;
  BlockReadQuiet(file, records, n, read);
  return read == n;
}

// Writes a point turned back into the drawing and draws it.
void EmitPoint(THatchRun& run, TPointWriter& writer, uint8_t type, double x, double y) {
  float fx = static_cast<float>(x), fy = static_cast<float>(y);
  if (run.angle != 0.0f) RotatePoint(fx, fy, run.angle);
  if (run.colour >= 0) {
    if (type == kRecContourStart)
      MovePenToWorldPoint(fx, fy);
    else
      DrawLineToWorldPoint(fx, fy);
  }
  PutPoint(writer, type, fx, fy);
}

void EmitLine(THatchRun& run, double sx, double ex, double y) {
  if (run.params->join) {
    run.bandLines.push_back(THatchLine{sx, ex, y});
    PutPoint(run.help, kRecContourStart, static_cast<float>(sx), static_cast<float>(y));
    PutPoint(run.help, kRecLinePoint, static_cast<float>(ex), static_cast<float>(y));
    return;
  }
  EmitPoint(run, run.target, kRecContourStart, sx, y);
  EmitPoint(run, run.target, kRecLinePoint, ex, y);
}

// --- scan lines --------------------------------------------------------------------------

// The crossings of scan line y with the band's segments; false when a
// point lies on the line or the count is odd.
bool FindScanCrossings(THatchRun& run, double y) {
  run.crossings.clear();
  const std::vector<TPointRecord>& p = run.points;
  for (size_t i = 1; i < p.size(); ++i) {
    if (p[i].type != kRecLinePoint && p[i].type != kRec3DPoint) continue;
    const double y1 = p[i - 1].y, y2 = p[i].y;
    if (y1 == y || y2 == y) return false;
    if (y1 == y2) continue;
    const double t = (y - y1) / (y2 - y1);
    if (t > 0.0 && t < 1.0) run.crossings.push_back(p[i - 1].x + t * (static_cast<double>(p[i].x) - p[i - 1].x));
  }
  return run.crossings.size() % 2 == 0;
}

// One scan line from the crossings found.
void WriteScanLine(THatchRun& run, double y, bool increasing) {
  const THatchParams& p = *run.params;
  std::vector<double>& c = run.crossings;
  std::sort(c.begin(), c.end());
  if (!increasing) std::reverse(c.begin(), c.end());
  const double dir = increasing ? 1.0 : -1.0;
  const double left = p.leftX, right = p.rightX;
  bool open = p.inside == 0;  // begun at the rectangle's edge
  double start = increasing ? left : right;
  for (double x : c) {
    if (!(x > left && x < right)) continue;
    if (open) {
      const double end = x - dir * run.g;
      if ((end - start) * dir > 0.0) EmitLine(run, start, end, y);
      open = false;
    } else {
      start = x + dir * run.g;
      open = true;
    }
  }
  if (open && p.inside == 0) {
    const double end = increasing ? right : left;
    if ((end - start) * dir > 0.0) EmitLine(run, start, end, y);
  }
}

// The scan lines of one band, from run.y down to the band's bottom.
void MakeBandLines(THatchRun& run, double bottom) {
  const THatchParams& p = *run.params;
  const bool alternate = p.oneWay == 0 || p.join != 0;
  const double d = run.d;
  run.increasing = true;
  bool lineWorked = false;
  while (run.y > bottom && run.result == kHatchOk) {
    const bool increasing = alternate ? run.increasing : true;
    double lineY = run.y;
    bool found = FindScanCrossings(run, lineY);
    for (int attempt = 0; !found && attempt < kLineRetries; ++attempt) {
      lineY += lineWorked ? d / 20.0 : -d / 20.0;
      found = FindScanCrossings(run, lineY);
    }
    if (found) {
      lineWorked = true;
      WriteScanLine(run, lineY, increasing);
    } else {
      run.crossings.clear();
      run.increasing = !run.increasing;
    }
    run.increasing = !run.increasing;
    if (increasing && PollEscapeAbort()) run.result = kHatchAborted;
    if (run.target.out.failed || run.help.out.failed) run.result = kHatchAborted;

    run.y -= d;
    if (run.y <= bottom && bottom - run.y < d / 2.0) run.y = bottom + d / 8.0;
    if (p.join && !run.extraLineDone && run.y < p.lowerY && p.lowerY - run.y <= 0.75 * d) {
      run.extraLineDone = true;
      run.y = p.lowerY + 0.01;
    }
  }
}

// --- joining -----------------------------------------------------------------------

// Bucket of height y, clamped to the table (also for far or broken values).
int32_t BucketOf(const THatchRun& run, double y) {
  const double v = (y - run.bucketLow) / run.bucketHeight;
  const int32_t last = static_cast<int32_t>(run.buckets.size()) - 1;
  if (!(v >= 0.0)) return 0;
  if (v >= last) return last;
  return static_cast<int32_t>(v);
}

void BuildSegmentBuckets(THatchRun& run, double low, double high) {
  run.buckets.clear();
  if (!(high > low)) high = low + run.d;
  const double wanted = std::ceil((high - low) / run.d);
  const int32_t count = wanted >= kMaxBuckets ? kMaxBuckets : std::max(1, static_cast<int32_t>(wanted));
  run.bucketLow = low;
  run.bucketHeight = (high - low) / count;
  run.buckets.assign(static_cast<size_t>(count), {});
  const std::vector<TPointRecord>& p = run.points;
  for (size_t i = 1; i < p.size(); ++i) {
    const double ya = p[i - 1].y, yb = p[i].y;
    const double y1 = std::min(ya, yb), y2 = std::max(ya, yb);
    if (y2 < low || y1 > high) continue;
    const int32_t b1 = BucketOf(run, y1), b2 = BucketOf(run, y2);
    for (int32_t b = b1; b <= b2; ++b) run.buckets[static_cast<size_t>(b)].push_back(static_cast<int32_t>(i));
  }
}

// True when the segment from (ax, ay) to (bx, by) meets a segment of the
// band (consecutive loaded points, whatever their types).
bool ConnectionCrossesContour(const THatchRun& run, double ax, double ay, double bx, double by) {
  if (run.buckets.empty()) return false;
  const double lowY = std::min(ay, by), highY = std::max(ay, by);
  const int32_t b1 = BucketOf(run, lowY), b2 = BucketOf(run, highY);
  const double ux = bx - ax, uy = by - ay;
  for (int32_t b = b1; b <= b2; ++b) {
    for (int32_t i : run.buckets[static_cast<size_t>(b)]) {
      const TPointRecord& p = run.points[static_cast<size_t>(i - 1)];
      const TPointRecord& q = run.points[static_cast<size_t>(i)];
      const double py = p.y, qy = q.y;
      if (std::max(py, qy) < lowY || std::min(py, qy) > highY) continue;
      const double vx = static_cast<double>(q.x) - p.x, vy = static_cast<double>(q.y) - p.y;
      const double den = ux * vy - uy * vx;
      if (den == 0.0) continue;
      const double wx = p.x - ax, wy = p.y - ay;
      const double t = (wx * vy - wy * vx) / den;  // along the connection
      const double s = (wx * uy - wy * ux) / den;  // along the band's segment
      if (t >= -0.0001 && t <= 0.9999 && s >= -0.0001 && s <= 0.9999) return true;
    }
  }
  return false;
}

void JoinHatchLines(THatchRun& run, double low, double high) {
  std::vector<THatchLine>& lines = run.bandLines;
  if (static_cast<int32_t>(lines.size()) > kMaxJoinLines) {
    run.result = kHatchTooManyLines;
    return;
  }
  BuildSegmentBuckets(run, low, high);
  const double d = run.d;
  std::vector<uint8_t> used(lines.size(), 0);
  for (size_t first = 0; first < lines.size() && run.result == kHatchOk; ++first) {
    if (used[first]) continue;
    used[first] = 1;
    EmitPoint(run, run.target, kRecContourStart, lines[first].sx, lines[first].y);
    EmitPoint(run, run.target, kRecLinePoint, lines[first].ex, lines[first].y);
    size_t current = first;
    for (;;) {
      const THatchLine& cur = lines[current];
      size_t best = lines.size();
      double bestDistance = 36.0 * d;
      for (size_t j = current + 1; j < lines.size(); ++j) {
        // Lines come in falling y (a nudged line by at most d/2): none below
        // this one can still be within 1.9 d.
        if (lines[j].y < cur.y - 2.9 * d) break;
        if (used[j] || !(std::fabs(lines[j].y - cur.y) < 1.9 * d)) continue;
        const double distance = std::hypot(lines[j].sx - cur.ex, lines[j].y - cur.y);
        if (distance < bestDistance) {
          bestDistance = distance;
          best = j;
        }
      }
      if (best == lines.size()) break;
      const THatchLine& next = lines[best];
      bool joined = false;
      if (!ConnectionCrossesContour(run, cur.ex, cur.y, next.sx, next.y)) {
        joined = true;
      } else if (next.sx >= std::min(cur.sx, cur.ex) && next.sx <= std::max(cur.sx, cur.ex) &&
                 !ConnectionCrossesContour(run, next.sx, cur.y, next.sx, next.y)) {
        EmitPoint(run, run.target, kRecLinePoint, next.sx, cur.y);
        joined = true;
      }
      if (!joined) break;
      EmitPoint(run, run.target, kRecLinePoint, next.sx, next.y);
      EmitPoint(run, run.target, kRecLinePoint, next.ex, next.y);
      used[best] = 1;
      current = best;
      if (PollEscapeAbort()) {
        run.result = kHatchAborted;
        break;
      }
    }
    if (run.target.out.failed) run.result = kHatchAborted;
  }
}

// --- bands -------------------------------------------------------------------------------

void AddBandPoint(THatchRun& run, const TPointRecord& record) {
  if (run.counted < kMaxBandPoints) run.points.push_back(record);
  ++run.counted;
}

bool CrossesLevel(const TPointRecord& a, const TPointRecord& b, double level) {
  if (a.y == b.y) return false;
  const double t = (level - a.y) / (static_cast<double>(b.y) - a.y);
  return t >= 0.0 && t <= 1.0;
}

// Loads the points of the band from top down to bottom: every point that
// or whose predecessor lies in it (with a margin of one spacing), the
// file's first point, and the ends of segments that cross its top.
bool LoadBand(THatchRun& run, double top, double bottom, bool whole) {
  run.points.clear();
  run.counted = 0;
  plat::Seek(run.source, 0);
  const double high = top + run.d, low = bottom - run.d;
  std::vector<TPointRecord> chunk(kReadChunk);
  TPointRecord previous{};
  bool previousIn = false, skipped = false;
  int64_t index = 0;
  while (index < run.records) {
    const uint32_t want = static_cast<uint32_t>(std::min<int64_t>(kReadChunk, run.records - index));
    uint32_t read = 0;
    if (!ReadPoints(run.source, chunk.data(), want, read)) return false;
    for (uint32_t k = 0; k < read; ++k, ++index) {
      const TPointRecord& r = chunk[k];
      const bool in = r.y <= high && r.y >= low;
      if (whole || index == 0 || in || previousIn || CrossesLevel(previous, r, high)) {
        if (skipped) AddBandPoint(run, previous);
        AddBandPoint(run, r);
        skipped = false;
      } else {
        skipped = true;
      }
      previous = r;
      previousIn = in;
    }
  }
  return true;
}

// Extents of the points of types 10 and 12 of the source.
bool MeasureSource(THatchRun& run, double& minX, double& minY, double& maxX, double& maxY) {
  minX = minY = 10000.0;
  maxX = maxY = -10000.0;
  plat::Seek(run.source, 0);
  std::vector<TPointRecord> chunk(kReadChunk);
  for (int64_t index = 0; index < run.records;) {
    const uint32_t want = static_cast<uint32_t>(std::min<int64_t>(kReadChunk, run.records - index));
    uint32_t read = 0;
    if (!ReadPoints(run.source, chunk.data(), want, read)) return false;
    for (uint32_t k = 0; k < read; ++k) {
      const TPointRecord& r = chunk[k];
      if (r.type != kRecLinePoint && r.type != kRec3DPoint) continue;
      minX = std::min<double>(minX, r.x);
      maxX = std::max<double>(maxX, r.x);
      minY = std::min<double>(minY, r.y);
      maxY = std::max<double>(maxY, r.y);
    }
    index += read;
  }
  return true;
}

// Appends the rectangle as a closed contour and turns every record of the
// source by alpha, in place.
bool TurnSource(THatchRun& run, bool appendRectangle, float alpha) {
  const THatchParams& p = *run.params;
  if (appendRectangle) {
    const TPointRecord frame[5] = {{kRecContourStart, p.leftX, p.lowerY},
                                   {kRecLinePoint, p.rightX, p.lowerY},
                                   {kRecLinePoint, p.rightX, p.upperY},
                                   {kRecLinePoint, p.leftX, p.upperY},
                                   {kRecLinePoint, p.leftX, p.lowerY}};
    plat::Seek(run.source, run.records);
    uint32_t written = 0;
    BlockWriteQuiet(run.source, frame, 5, written);
    if (written != 5) return false;
    run.records += 5;
  }
  std::vector<TPointRecord> block(kRotateBlock);
  for (int64_t index = 0; index < run.records;) {
    const uint32_t want = static_cast<uint32_t>(std::min<int64_t>(kRotateBlock, run.records - index));
    plat::Seek(run.source, index);
    uint32_t read = 0;
    if (!ReadPoints(run.source, block.data(), want, read)) return false;
    for (uint32_t k = 0; k < read; ++k) {
      float x = block[k].x, y = block[k].y;  // packed fields: no references into them
      RotatePoint(x, y, alpha);
      block[k].x = x;
      block[k].y = y;
    }
    plat::Seek(run.source, index);
    uint32_t written = 0;
    BlockWriteQuiet(run.source, block.data(), read, written);
    if (written != read) return false;
    index += read;
  }
  return true;
}

void MakeBand(THatchRun& run, double bottom, uint8_t showProgress) {
  const THatchParams& p = *run.params;
  if (showProgress) UpdateProgressDisplay(static_cast<int32_t>(std::nearbyint(p.upperY - bottom)));
  if (run.colour >= 0) SetLinePenMode(13, run.colour);
  const double top = run.y;
  if (!p.join) {
    MakeBandLines(run, bottom);
    return;
  }
  run.bandLines.clear();
  if (!OpenPointWriter(run.help, "HELP.TMP")) {
    run.result = kHatchAborted;
    return;
  }
  MakeBandLines(run, bottom);
  ClosePointWriter(run.help);
  if (run.help.out.failed) run.result = kHatchAborted;
  if (run.result == kHatchOk) JoinHatchLines(run, std::min(bottom, run.y) - 3.0 * run.d, top + 3.0 * run.d);
}

}  // namespace

// --- entry points ------------------------------------------------------------------------

void RotatePoint(float& x, float& y, float alpha) {
  if (alpha == 0.0f) return;
  const float r = std::sqrt(x * x + y * y);
  float theta;
  if (x == 0.0f)
    theta = y >= 0.0f ? 1.5707963f : -1.5707963f;
  else
    theta = std::atan(y / x) + (x < 0.0f ? 3.14159265f : 0.0f);
  x = r * std::cos(theta + alpha);
  y = r * std::sin(theta + alpha);
}

void HatchContourFile(const std::string& source, const std::string& target, int16_t colour, THatchParams& params,
                      uint8_t showProgress, uint8_t& result) {
  result = kHatchOk;
  THatchRun run;
  run.params = &params;
  run.colour = colour;
  plat::Assign(run.source, source);
  ResetFileQuiet(run.source, kPointRecordSize, 2);
  if (run.source.state < plat::kFileInput) {
    result = kHatchEmptySource;
    return;
  }
  run.records = plat::FileSize(run.source);
  if (run.records <= 0) {
    CloseFileQuiet(run.source);
    result = kHatchEmptySource;
    return;
  }
  if (!(std::fabs(params.angle) < kTwoPi)) run.result = kHatchBadAngle;
  // A zero spacing (a pocket tool with tip radius 0) would never leave the
  // first line.
  if (!(params.spacing >= kMinHatchSpacing) || !std::isfinite(params.spacing)) run.result = kHatchTooDense;
  if (!(params.safety >= 0.0f) || !std::isfinite(params.safety)) params.safety = 0.0f;
  run.d = params.spacing;
  run.g = params.safety;

  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  if (run.result == kHatchOk && !MeasureSource(run, minX, minY, maxX, maxY)) run.result = kHatchEmptySource;
  // Broken coordinates, or more lines than any machine can use, would keep
  // the scan going without end.
  if (run.result == kHatchOk &&
      (!std::isfinite(minX) || !std::isfinite(maxX) || !std::isfinite(minY) || !std::isfinite(maxY) ||
       std::fabs(minX) > kMaxHatchCoordinate || std::fabs(maxX) > kMaxHatchCoordinate ||
       std::fabs(minY) > kMaxHatchCoordinate || std::fabs(maxY) > kMaxHatchCoordinate))
    run.result = kHatchBadData;
  if (run.result == kHatchOk) {
    if (params.inside) {
      params.leftX = static_cast<float>(minX - 0.01);
      params.rightX = static_cast<float>(maxX + 0.01);
      params.upperY = static_cast<float>(maxY + 0.01);
      params.lowerY = static_cast<float>(minY - 0.01);
    } else if (minX < params.leftX || maxX > params.rightX || maxY > params.upperY || minY < params.lowerY) {
      run.result = kHatchRectangleTooSmall;
    }
  }
  if (run.result == kHatchOk && !params.inside &&
      (!(std::fabs(params.leftX) <= kMaxHatchCoordinate) || !(std::fabs(params.rightX) <= kMaxHatchCoordinate) ||
       !(std::fabs(params.upperY) <= kMaxHatchCoordinate) || !(std::fabs(params.lowerY) <= kMaxHatchCoordinate)))
    run.result = kHatchBadData;
  if (run.result == kHatchOk && params.angle != 0.0f) {
    const bool appendRectangle = params.inside == 0;
    params.inside = 1;
    float xs[4] = {params.leftX, params.rightX, params.rightX, params.leftX};
    float ys[4] = {params.lowerY, params.lowerY, params.upperY, params.upperY};
    double l = 10000.0, r = -10000.0, u = -10000.0, b = 10000.0;
    for (int k = 0; k < 4; ++k) {
      RotatePoint(xs[k], ys[k], -params.angle);
      l = std::min<double>(l, xs[k]);
      r = std::max<double>(r, xs[k]);
      b = std::min<double>(b, ys[k]);
      u = std::max<double>(u, ys[k]);
    }
    if (!TurnSource(run, appendRectangle, -params.angle)) {
      ShowMessageNumber(8);
      run.result = kHatchAborted;
    }
    params.leftX = static_cast<float>(l - 0.01);
    params.rightX = static_cast<float>(r + 0.01);
    params.upperY = static_cast<float>(u + 0.01);
    params.lowerY = static_cast<float>(b - 0.01);
  }
  run.angle = params.angle;

  if (run.result == kHatchOk) {
    if (!OpenPointWriter(run.target, target)) {
      ShowMessageNumber(8);
      run.result = kHatchAborted;
    }
  }
  if (run.result == kHatchOk) {
    if (showProgress) BeginProgressDisplay(static_cast<int32_t>(std::nearbyint(params.upperY - params.lowerY)));
    run.y = static_cast<double>(params.upperY) - run.d / 8.0;
    const double lower = params.lowerY;
    if (run.records < kSingleBandRecords) {
      if (!LoadBand(run, run.y, lower, true)) run.result = kHatchEmptySource;
      if (run.result == kHatchOk && run.y > lower) MakeBand(run, lower, showProgress);
    } else {
      int32_t budget = kBandBudget;
      while (run.y > lower && run.result == kHatchOk) {
        const double height = (static_cast<double>(params.upperY) - lower) /
                              (static_cast<double>(run.records) / budget);
        const double bottom = std::max(run.y - height, lower);
        if (!LoadBand(run, run.y, bottom, false)) {
          run.result = kHatchEmptySource;
          break;
        }
        if (run.counted > kMaxBandPoints - 1) {
          budget /= 2;
          if (budget < kLeastBandBudget) run.result = kHatchTooDense;
          continue;
        }
        MakeBand(run, bottom, showProgress);
      }
    }
    ClosePointWriter(run.target);
    if (run.target.out.failed) {
      ShowMessageNumber(8);
      run.result = kHatchAborted;
    }
  }
  CloseFileQuiet(run.source);
  result = run.result;
}

void HatchContoursInPlace(const std::string& file, int16_t colour, float d) {
  CopyOrAppendRecordFile(file, "VekH2R0.H2R", kCopyNew | kCopyDropAttributes, colour);
  THatchParams params;
  params.inside = 1;
  params.join = 1;
  params.oneWay = 0;
  params.spacing = d;
  params.safety = d / 2.0f;
  params.angle = 0.0f;
  uint8_t result = kHatchOk;
  HatchContourFile("VekH2R0.H2R", "VekH2R1.H2R", colour, params, 1, result);
  if (result == kHatchOk) {
    RenameFileReplacing(file, "VekAR12.TMP");
    CopyOrAppendRecordFile("VekH2R1.H2R", file, kCopyNew, colour);
    CopyOrAppendRecordFile("VekAR12.TMP", file, 0, colour);
    DeleteFileQuiet("VekAR12.TMP");
  }
  DeleteFileQuiet("VekH2R0.H2R");
  DeleteFileQuiet("VekH2R1.H2R");
}
