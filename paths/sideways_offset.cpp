// Sideways offset of open paths.
#include "paths/sideways_offset.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "frame/defaults.h"
#include "frame/messages.h"
#include "frame/quiet_files.h"
#include "platform/files.h"
#include "view/world_lines.h"
#include "ui/common_dialogs.h"

namespace {

// Message of the rejected-corner report (its text is followed by the count).
constexpr int16_t kRejectedCornersMessage = 4030;
constexpr double kDropDistance = 0.001;
constexpr double kShortestCleanedSegment = 0.0002;
constexpr int kStepPasses = 5;

struct TPoint2 {
  double x = 0.0, y = 0.0;
};

bool SamePoint(const TPoint2& a, const TPoint2& b) { return a.x == b.x && a.y == b.y; }

TPoint2 PointOf(const TVectorRecord& r) { return TPoint2{r.x, r.y}; }

// The offset vector of the segment a -> b: d x (-dy, dx) / length.
TPoint2 OffsetVector(const TPoint2& a, const TPoint2& b, double d) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length = std::hypot(dx, dy);
  if (length == 0.0) return TPoint2{};
  return TPoint2{-dy / length * d, dx / length * d};
}

struct TOffsetRun {
  std::vector<TVectorRecord> out;
  int flags = 0;
  double d = 0.0;
  int32_t rejected = 0;
};

void PutRecord(TOffsetRun& run, uint8_t type, double x, double y) {
  const float fx = static_cast<float>(x), fy = static_cast<float>(y);
  run.out.push_back(TVectorRecord{type, fx, fy, 0.0f});
  if (run.flags & kSidewaysDraw) {
    if (type == kRecContourStart)
      MovePenToWorldPoint(fx, fy);
    else
      DrawLineToWorldPoint(fx, fy);
  }
}

// The mitred corner between the offset segments p -> q and q -> next; false
// when the corner is rejected (then counted and marked).
bool FindCorner(TOffsetRun& run, const TPoint2& p, const TPoint2& q, const TPoint2& q2, const TPoint2& next,
                TPoint2& corner) {
  const TPoint2 m = OffsetVector(p, q, run.d), k = OffsetVector(q2, next, run.d);
  const TPoint2 a{p.x + m.x, p.y + m.y}, b{q.x + m.x, q.y + m.y};
  const TPoint2 c{q2.x + k.x, q2.y + k.y}, dd{next.x + k.x, next.y + k.y};
  const TPoint2 u{b.x - a.x, b.y - a.y}, v{c.x - dd.x, c.y - dd.y};
  const double den = u.y * v.x - u.x * v.y;
  bool accepted;
  if (den != 0.0) {
    const double t = ((c.y - a.y) * v.x - (c.x - a.x) * v.y) / den;
    const double s = ((c.x - a.x) * u.y - (c.y - a.y) * u.x) / den;
    corner = TPoint2{a.x + t * u.x, a.y + t * u.y};
    accepted = t > 0.0 && s <= 1.0;
  } else {
    corner = b;
    accepted = !SamePoint(a, dd);
  }
  if (!accepted && (run.flags & kSidewaysClean)) {
    ++run.rejected;
    if (!(run.flags & kSidewaysQuietClean))
      DrawWorldPointBox(2, static_cast<float>(corner.x), static_cast<float>(corner.y));
  }
  return accepted;
}

struct TSegment {
  TPoint2 a, b;
};

// Segments of the paths of an array (types 10 and 11 only).
std::vector<TSegment> CollectSegments(const TVectorRecord* records, int32_t count) {
  std::vector<TSegment> segments;
  bool open = false;
  TPoint2 last;
  for (int32_t i = 0; i < count; ++i) {
    const TVectorRecord& r = records[i];
    if (r.type == kRecContourStart) {
      open = true;
      last = PointOf(r);
    } else if (r.type == kRecLinePoint) {
      if (open) segments.push_back(TSegment{last, PointOf(r)});
      open = true;
      last = PointOf(r);
    }
  }
  return segments;
}

// Distance of (x, y) from a segment: perpendicular where the foot lies on
// it, else to the nearer end.
double DistanceToSegment(const TSegment& s, double x, double y) {
  const double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
  const double length2 = dx * dx + dy * dy;
  if (length2 > 0.0) {
    const double t = ((x - s.a.x) * dx + (y - s.a.y) * dy) / length2;
    if (t >= 0.0 && t <= 1.0) return std::fabs((x - s.a.x) * dy - (y - s.a.y) * dx) / std::sqrt(length2);
  }
  return std::min(std::hypot(x - s.a.x, y - s.a.y), std::hypot(x - s.b.x, y - s.b.y));
}

// Keeps the segments of records whose middle lies at least limit from every
// reference segment; removed segments split the paths.
std::vector<TVectorRecord> CleanNearSegments(const std::vector<TVectorRecord>& records,
                                             const std::vector<TSegment>& reference, double limit) {
  std::vector<TVectorRecord> kept;
  kept.reserve(records.size());
  TVectorRecord pending{};
  bool havePending = false, havePrevious = false;
  TVectorRecord previous{};
  const int32_t total = static_cast<int32_t>(records.size());
  BeginProgressDisplay(total);
  for (int32_t i = 0; i < total; ++i) {
    if (i % 1000 == 0) UpdateProgressDisplay(i);
    const TVectorRecord& r = records[static_cast<size_t>(i)];
    if (r.type == kRecContourStart) {
      pending = r;
      havePending = true;
    } else if (r.type == kRecLinePoint || r.type == kRec3DPoint) {
      bool keep = true;
      if (havePrevious) {
        const double dx = static_cast<double>(r.x) - previous.x, dy = static_cast<double>(r.y) - previous.y;
        if (std::hypot(dx, dy) > kShortestCleanedSegment) {
          const double mx = previous.x + dx / 2.0, my = previous.y + dy / 2.0;
          for (const TSegment& s : reference)
            if (DistanceToSegment(s, mx, my) < limit) {
              keep = false;
              break;
            }
        }
      }
      if (keep) {
        if (havePending) kept.push_back(pending);
        havePending = false;
        kept.push_back(r);
      } else {
        pending = r;
        pending.type = kRecContourStart;
        havePending = true;
      }
    } else {
      kept.push_back(r);
    }
    previous = r;
    havePrevious = true;
  }
  UpdateProgressDisplay(total);
  return kept;
}

bool CopyToArray(const std::vector<TVectorRecord>& records, TVectorArray& array) {
  FreeRecordArray(array);
  if (!AllocRecordArray(array, static_cast<int32_t>(records.size()))) return false;
  std::copy(records.begin(), records.end(), array.records);
  return true;
}

// Writes the array as the file; false on a short write.
bool WriteWholeArray(const std::string& name, const TVectorArray& array) {
  plat::TPasFile file;
  plat::Assign(file, name);
  RewriteFileQuiet(file, kVectorRecordSize);
  if (file.state < plat::kFileInput) return false;
  uint32_t written = 0;
  const uint32_t count = array.records != nullptr ? static_cast<uint32_t>(std::max(array.count, 0)) : 0;
  if (count > 0) BlockWriteQuiet(file, array.records, count, written);
  CloseFileQuiet(file);
  return written == count;
}

}  // namespace

void OffsetOpenPaths(const TVectorArray& input, TVectorArray& output, int flags, double d) {
  TOffsetRun run;
  run.flags = flags;
  run.d = d;
  const int32_t count = input.records != nullptr ? std::max(input.count, 0) : 0;
  run.out.reserve(static_cast<size_t>(count) * 2 + 10);
  if (flags & kSidewaysDraw) SetLinePenMode(13, 12);

  int state = 0;
  TPoint2 s, p, q, s2;
  size_t startIndex = 0;
  auto finishPath = [&]() {
    TPoint2 corner;
    if (SamePoint(q, s) && FindCorner(run, p, q, s, s2, corner)) {
      PutRecord(run, kRecLinePoint, corner.x, corner.y);
      run.out[startIndex] = TVectorRecord{kRecContourStart, static_cast<float>(corner.x),
                                          static_cast<float>(corner.y), 0.0f};
    } else {
      const TPoint2 m = OffsetVector(p, q, d);
      PutRecord(run, kRecLinePoint, q.x + m.x, q.y + m.y);
    }
  };
  for (int32_t i = 0; i < count; ++i) {
    const TVectorRecord& r = input.records[i];
    const TPoint2 here = PointOf(r);
    if (r.type == kRecContourStart) {
      if (state == 2) finishPath();
      state = 1;
      s = p = here;
    } else if (r.type == kRecLinePoint) {
      if (state == 0) {
        state = 1;
        s = p = here;
      } else if (state == 1) {
        if (SamePoint(here, p)) {
          if (flags & kSidewaysPointSquares) {
            PutRecord(run, kRecContourStart, p.x - d, p.y - d);
            PutRecord(run, kRecLinePoint, p.x + d, p.y - d);
            PutRecord(run, kRecLinePoint, p.x + d, p.y + d);
            PutRecord(run, kRecLinePoint, p.x - d, p.y + d);
            PutRecord(run, kRecLinePoint, p.x - d, p.y - d);
          }
        } else {
          state = 2;
          q = s2 = here;
          const TPoint2 m = OffsetVector(p, q, d);
          startIndex = run.out.size();
          PutRecord(run, kRecContourStart, p.x + m.x, p.y + m.y);
        }
      } else if (!SamePoint(here, q)) {
        TPoint2 corner;
        if (FindCorner(run, p, q, q, here, corner)) PutRecord(run, kRecLinePoint, corner.x, corner.y);
        p = q;
        q = here;
      }
    }
  }
  if (state == 2) finishPath();

  if (run.rejected > 0 && (flags & kSidewaysClean)) {
    if (!(flags & kSidewaysQuietClean)) {
      std::string text;
      GetMessageTextRaw(kRejectedCornersMessage, text);
      ShowTitledMessage(text + "\r\n" + std::to_string(run.rejected));
    }
    run.out = CleanNearSegments(run.out, CollectSegments(input.records, count), std::fabs(d) / 1.01);
  }
  if (!CopyToArray(run.out, output)) ErrorCode = 1011;
}

void OffsetPathsSideways(const std::string& source, const std::string& target, int flags, double d) {
  TVectorArray input, output;
  LoadRecordArray(source, input);
  DropClosePoints(input, kDropDistance);
  OffsetOpenPaths(input, output, flags, d);
  if (!WriteWholeArray(target, output)) ShowMessageNumber(8);
  FreeRecordArray(input);
  FreeRecordArray(output);
}

void OffsetPathsInSteps(const TVectorArray& input, TVectorArray& output, int flags, double d) {
  const double step = d / kStepPasses;
  TVectorArray current;
  if (!CopyToArray(std::vector<TVectorRecord>(input.records, input.records + std::max(input.count, 0)), current))
    return;
  for (int pass = 1; pass <= kStepPasses; ++pass) {
    DropClosePoints(current, std::fabs(step));
    TVectorArray next;
    OffsetOpenPaths(current, next, pass == kStepPasses ? flags : 0, step);
    FreeRecordArray(current);
    current = next;
  }
  FreeRecordArray(output);
  output = current;
}

void DropClosePoints(TVectorArray& array, double x) {
  if (array.records == nullptr || array.count <= 0) return;
  int32_t kept = 0;
  bool haveKept = false, lastDropped = false;
  TVectorRecord lastSeen{};
  uint8_t previousType = 0;
  // A path whose last point was dropped ends at that point.
  auto keepEndPoint = [&]() {
    if (lastDropped && kept > 0) {
      TVectorRecord& last = array.records[kept - 1];
      if (last.x != lastSeen.x || last.y != lastSeen.y) {
        const uint8_t type = last.type;
        last = lastSeen;
        if (type == kRecContourStart || type == kRecAltContourStart) last.type = type;
      }
    }
    lastDropped = false;
  };
  for (int32_t i = 0; i < array.count; ++i) {
    const TVectorRecord r = array.records[i];
    if (r.type != kRecLinePoint && r.type != kRecContourStart && r.type != kRec3DPoint &&
        r.type != kRecAltContourStart)
      continue;
    const bool start = r.type == kRecContourStart || r.type == kRecAltContourStart;
    if (start) keepEndPoint();
    bool drop = false;
    if (haveKept && !start && !(r.type == kRecLinePoint && previousType == kRecContourStart)) {
      const TVectorRecord& last = array.records[kept - 1];
      drop = std::hypot(static_cast<double>(r.x) - last.x, static_cast<double>(r.y) - last.y) < x;
    }
    if (drop) {
      lastDropped = true;
    } else {
      array.records[kept++] = r;
      haveKept = true;
      lastDropped = false;
    }
    lastSeen = r;
    previousType = r.type;
  }
  keepEndPoint();
  array.count = kept;
}

void RemovePathPartsNearReference(const std::string& source, const std::string& target,
                                  const std::string& reference, double x) {
  TVectorArray input, near;
  LoadRecordArray(source, input);
  LoadRecordArray(reference, near);
  std::vector<TVectorRecord> records;
  if (input.records != nullptr && input.count > 0) {
    const std::vector<TVectorRecord> all(input.records, input.records + input.count);
    records = CleanNearSegments(all, CollectSegments(near.records, near.records ? near.count : 0), x);
  }
  TVectorArray result;
  if (CopyToArray(records, result) && !WriteWholeArray(target, result)) ShowMessageNumber(8);
  FreeRecordArray(result);
  FreeRecordArray(input);
  FreeRecordArray(near);
}
