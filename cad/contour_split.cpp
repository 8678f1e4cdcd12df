#include "cad/contour_split.h"

#include <algorithm>
#include <cmath>

#include "model/geometry_2d.h"
#include "model/geometry_tolerances.h"
#include "frame/messages.h"
#include "frame/quiet_files.h"
#include "model/record_stream.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "platform/files.h"
#include "view/world_lines.h"
#include "commands/input_wait.h"
#include "frame/progress_bar.h"

namespace {

constexpr int16_t kCrossingMarkColour = 13;
// Messages of a split that stopped early.
constexpr int16_t kTooManyCrossingsMessage = 4007;
constexpr int16_t kSplitAbortedMessage = 4008;

bool IsPointType(uint8_t type) { return type == kRecLinePoint || type == kRec3DPoint; }

double Distance(double ax, double ay, double bx, double by) { return std::hypot(ax - bx, ay - by); }

int RegionCode(double px, double py, double x, double y, double w, double h) {
  int code = 0;
  if (px < x) code |= 1;
  if (px > x + w) code |= 2;
  if (py < y) code |= 4;
  if (py > y + h) code |= 8;
  return code;
}

// Walks the chains of the set and hands each segment (index of its end
// point, its start record, its end record) to the action. A point on top
// of the one before makes no segment: it takes that one's type, so a point
// on top of a start becomes a start.
template <typename TSegmentAction>
void WalkChainSegments(TVectorArray& array, TSegmentAction&& action) {
  int32_t previous = -1;
  for (int32_t i = 0; i < array.count; ++i) {
    TVectorRecord& record = array.records[i];
    if (record.type == kRecContourStart) {
      previous = i;
      continue;
    }
    if (!IsPointType(record.type)) continue;
    if (previous >= 0) {
      const TVectorRecord& p = array.records[previous];
      if (std::fabs(double(record.x) - p.x) < kCoincideTolerance &&
          std::fabs(double(record.y) - p.y) < kCoincideTolerance) {
        record.type = p.type;
      } else {
        action(i, p, record);
      }
    }
    previous = i;
  }
}

}  // namespace

void CleanContourRecords(TVectorArray& array, TExtentsPair& extents, float tolerance) {
  ClearPointExtents(extents);
  TVectorRecord* r = array.records;
  int32_t kept = 0;
  int32_t lastKept = -1;       // index in the kept records
  int32_t previousStart = -1;  // index in the kept records
  for (int32_t i = 0; i < array.count; ++i) {
    const TVectorRecord record = r[i];
    const uint8_t type = record.type;
    // A point that is no finite number (a damaged file) is no geometry.
    if (!std::isfinite(record.x) || !std::isfinite(record.y)) continue;
    if (lastKept < 0) {
      if (!IsPointType(type) && type != kRecContourStart) continue;
      r[kept] = record;
      lastKept = kept;
      if (type == kRecContourStart) previousStart = kept;
      ++kept;
      continue;
    }
    if (IsPointType(type)) {
      if (Distance(record.x, record.y, r[lastKept].x, r[lastKept].y) < tolerance) continue;
      r[kept] = record;
      lastKept = kept++;
    } else if (type == kRecContourStart) {
      if (r[lastKept].type == kRecContourStart && previousStart == lastKept) {
        kept = lastKept;  // the start without points goes
      }
      r[kept] = record;
      lastKept = previousStart = kept++;
    }
  }
  array.count = kept;
  for (int32_t i = 0; i < kept; ++i) {
    // Packed fields are read by value, never bound to references.
    const float x = r[i].x, y = r[i].y;
    if (x < extents.minCorner.x) extents.minCorner.x = x;
    if (y < extents.minCorner.y) extents.minCorner.y = y;
    if (x > extents.maxCorner.x) extents.maxCorner.x = x;
    if (y > extents.maxCorner.y) extents.maxCorner.y = y;
  }
}

void GatherCellSegments(TVectorArray& array, std::vector<TCellEntry>& cell, double x, double y, double w, double h) {
  cell.clear();
  WalkChainSegments(array, [&](int32_t i, const TVectorRecord& p, const TVectorRecord& record) {
    const int codePrevious = RegionCode(p.x, p.y, x, y, w, h);
    const int codeThis = RegionCode(record.x, record.y, x, y, w, h);
    if ((codePrevious & codeThis) == 0) {
      if (codePrevious != 0 || p.type == kRecContourStart) cell.push_back({i, kRecContourStart, p.x, p.y, 0.0f});
      cell.push_back({i, kRecLinePoint, record.x, record.y, 0.0f});
    }
  });
}

void FindCellCrossings(const std::vector<TCellEntry>& e, const TVectorArray& array,
                       std::vector<TSegmentCrossing>& crossings) {
  const int32_t k = static_cast<int32_t>(e.size());
  if (k <= 3) return;
  for (int32_t i = 1; i <= k - 3; ++i) {
    if (e[i].type == kRecContourStart) continue;
    const TCellEntry& a0 = e[i - 1];
    const TCellEntry& a1 = e[i];
    const double d1x = double(a1.x) - a0.x, d1y = double(a1.y) - a0.y;
    for (int32_t j = i + 2; j <= k - 1; ++j) {
      if (e[j].type == kRecContourStart) continue;
      const TCellEntry& b0 = e[j - 1];
      const TCellEntry& b1 = e[j];
      const double d2x = double(b0.x) - b1.x, d2y = double(b0.y) - b1.y;
      const double den = d1y * d2x - d1x * d2y;
      if (den == 0.0) continue;
      const double ex = double(b0.x) - a0.x, ey = double(b0.y) - a0.y;
      const double s = (ey * d2x - ex * d2y) / den;
      const double u = (ex * d1y - ey * d1x) / den;
      if (s < 0.0 || s > 1.0 || u < 0.0 || u > 1.0) continue;
      if (static_cast<int32_t>(crossings.size()) >= kMaxSplitCrossings) {
        QuietIoError = 1101;
        return;
      }
      const double cx = a0.x + s * d1x, cy = a0.y + s * d1y;
      // The closing point of a closed contour, and any touch at a chain's
      // start, is no crossing.
      if ((a0.type == kRecContourStart && Distance(cx, cy, a0.x, a0.y) < kSplitStartGap) ||
          (b0.type == kRecContourStart && Distance(cx, cy, b0.x, b0.y) < kSplitStartGap))
        continue;
      TSegmentCrossing crossing;
      crossing.first = a1.index;
      crossing.second = b1.index;
      crossing.point.type = kRecLinePoint;
      crossing.point.x = static_cast<float>(cx);
      crossing.point.y = static_cast<float>(cy);
      crossing.point.z = 0.0f;
      crossings.push_back(crossing);
    }
    if (PollEscapeAbort()) {
      QuietIoError = 1;
      return;
    }
  }
  (void)array;
}

void FindAllCrossings(TVectorArray& array, std::vector<TSegmentCrossing>& crossings, const TExtentsPair& extents) {
  crossings.clear();
  const int32_t n = array.count;
  const double perCell = n >= kSplitDenseRecords ? kSplitRecordsPerCellDense : kSplitRecordsPerCell;
  int c = static_cast<int>(std::nearbyint(std::sqrt(n / perCell)));
  if (c < 1) c = 1;
  const double minX = extents.minCorner.x, minY = extents.minCorner.y;
  const double maxX = extents.maxCorner.x, maxY = extents.maxCorner.y;
  std::vector<TCellEntry> cell;
  // A set without width or height (all on one line) has no grid to lay; it
  // is one cell, as is a small set. The single cell covers the extents, so
  // nothing beyond a fixed window is missed.
  if (c == 1 || !(maxX - minX > 0.0) || !(maxY - minY > 0.0)) {
    GatherCellSegments(array, cell, minX - 1.0, minY - 1.0, maxX - minX + 2.0, maxY - minY + 2.0);
    FindCellCrossings(cell, array, crossings);
    return;
  }
  const double w = (maxX - minX) / c, h = (maxY - minY) / c;
  // Rows run from the top, cells from the left; cell (row, column) spans
  // x = minX + w column .. + w and y = maxY - h (row + 1) .. + h. The
  // segments are sorted into the cells they touch in one walk, in record
  // order, with the same chain rule as GatherCellSegments: walking the
  // whole file once per cell would make the search quadratic.
  std::vector<std::vector<TCellEntry>> cells(size_t(c) * size_t(c));
  auto cellX = [&](int column) { return minX + w * column; };
  auto cellY = [&](int row) { return maxY - h * (row + 1); };
  WalkChainSegments(array, [&](int32_t i, const TVectorRecord& p, const TVectorRecord& record) {
    const double x0 = std::min<double>(p.x, record.x), x1 = std::max<double>(p.x, record.x);
    const double y0 = std::min<double>(p.y, record.y), y1 = std::max<double>(p.y, record.y);
    // Candidate cells with a margin of one; the region codes decide. A
    // value that is no number (a damaged file) falls to cell 0.
    auto index = [c](double v) { return v > 0.0 ? (v < c ? static_cast<int>(v) : c) : 0; };
    const int c0 = std::clamp(index((x0 - minX) / w) - 1, 0, c - 1);
    const int c1 = std::clamp(index((x1 - minX) / w) + 1, 0, c - 1);
    const int r0 = std::clamp(index((maxY - y1) / h) - 1, 0, c - 1);
    const int r1 = std::clamp(index((maxY - y0) / h) + 1, 0, c - 1);
    for (int row = r0; row <= r1; ++row)
      for (int column = c0; column <= c1; ++column) {
        const double x = cellX(column), y = cellY(row);
        const int codePrevious = RegionCode(p.x, p.y, x, y, w, h);
        const int codeThis = RegionCode(record.x, record.y, x, y, w, h);
        if ((codePrevious & codeThis) != 0) continue;
        std::vector<TCellEntry>& cell = cells[size_t(row) * size_t(c) + size_t(column)];
        if (codePrevious != 0 || p.type == kRecContourStart) cell.push_back({i, kRecContourStart, p.x, p.y, 0.0f});
        cell.push_back({i, kRecLinePoint, record.x, record.y, 0.0f});
      }
  });
  StartProgressBar(c * c);
  int32_t done = 0;
  for (int row = 0; row < c; ++row) {
    for (int column = 0; column < c; ++column) {
      std::vector<TCellEntry>& cell = cells[size_t(row) * size_t(c) + size_t(column)];
      FindCellCrossings(cell, array, crossings);
      std::vector<TCellEntry>().swap(cell);
      UpdateProgressBar(++done);
      if (QuietIoError > 0) return;
    }
  }
}

namespace {

// The split contours, collected whole before the file is written (the
// crossings test the last record kept).
struct TSplitOutput {
  std::vector<TVectorRecord> out;
  TVectorRecord contourStart{};
};

bool NearLastWritten(const TSplitOutput& w, double x, double y) {
  return !w.out.empty() && Distance(x, y, w.out.back().x, w.out.back().y) < kSplitStartGap;
}

// Writes the segment p-c with the crossings that lie on it, nearest first.
void InsertSegmentCrossings(TSplitOutput& w, const TVectorRecord& p, const TVectorRecord& c,
                            std::vector<TVectorRecord>& found) {
  const double dx = double(c.x) - p.x, dy = double(c.y) - p.y;
  const double length2 = dx * dx + dy * dy;
  std::vector<TVectorRecord> onSegment;
  if (length2 > 0.0) {
    for (const TVectorRecord& x : found) {
      if (Distance(x.x, x.y, c.x, c.y) < kSplitOnSegmentEnd) {
        onSegment.push_back(x);
        continue;
      }
      const double t = ((double(x.x) - p.x) * dx + (double(x.y) - p.y) * dy) / length2;
      if (t < kSplitFootParamLow || t > 1.0) continue;
      const double fx = p.x + t * dx - x.x, fy = p.y + t * dy - x.y;
      if (fx * fx + fy * fy < kSplitFootDistanceSquared) onSegment.push_back(x);
    }
  }
  std::sort(onSegment.begin(), onSegment.end(), [&p](const TVectorRecord& a, const TVectorRecord& b) {
    return Distance(a.x, a.y, p.x, p.y) < Distance(b.x, b.y, p.x, p.y);
  });
  for (const TVectorRecord& x : onSegment) {
    if (Distance(x.x, x.y, w.contourStart.x, w.contourStart.y) <= kSplitStartGap) continue;
    if (!NearLastWritten(w, x.x, x.y)) w.out.push_back(x);
    TVectorRecord start = x;
    start.type = kRecContourStart;
    w.out.push_back(start);
    SetLinePenMode(13, kCrossingMarkColour);
    DrawWorldPointBox(1, x.x, x.y);
  }
  if (!NearLastWritten(w, c.x, c.y)) w.out.push_back(c);
}

}  // namespace

void WriteContoursSplitAtCrossings(const std::string& target, const TVectorArray& array,
                                   const std::vector<TSegmentCrossing>& crossings) {
  // Crossings by the index of each of their two segments.
  std::vector<std::pair<int32_t, int32_t>> byIndex;
  byIndex.reserve(crossings.size() * 2);
  for (int32_t i = 0; i < static_cast<int32_t>(crossings.size()); ++i) {
    byIndex.push_back({crossings[i].first, i});
    if (crossings[i].second != crossings[i].first) byIndex.push_back({crossings[i].second, i});
  }
  std::sort(byIndex.begin(), byIndex.end());
  TSplitOutput w;
  w.out.reserve(static_cast<size_t>(array.count) + crossings.size() * 4);
  std::vector<TVectorRecord> found;
  TVectorRecord previous{};
  bool havePrevious = false;
  size_t cursor = 0;
  for (int32_t i = 0; i < array.count; ++i) {
    const TVectorRecord& r = array.records[i];
    if (r.type == kRecContourStart) {
      previous = r;
      havePrevious = true;
      w.contourStart = r;
      w.out.push_back(r);
      continue;
    }
    if (!IsPointType(r.type)) continue;
    while (cursor < byIndex.size() && byIndex[cursor].first < i) ++cursor;
    found.clear();
    for (size_t k = cursor; k < byIndex.size() && byIndex[k].first == i; ++k)
      found.push_back(crossings[static_cast<size_t>(byIndex[k].second)].point);
    if (found.empty() || !havePrevious) w.out.push_back(r);
    else InsertSegmentCrossings(w, previous, r, found);
    previous = r;
    havePrevious = true;
  }
  plat::TPasFile file;
  plat::Assign(file, target);
  RewriteFileQuiet(file, kVectorRecordSize);
  if (file.state < plat::kFileInput) return;
  TRecordFileWriter out;
  StartRecordFileWriter(out, file, kVectorRecordSize, kSplitWriteBlock, BlockWriteQuiet);
  PutRecords(out, w.out.data(), static_cast<int64_t>(w.out.size()));
  FlushRecordFileWriter(out);
  CloseFileQuiet(file);
}

void SplitContoursAtCrossingsWithStatus(const std::string& source, const std::string& target, uint8_t& status) {
  QuietIoError = 0;
  TVectorArray array;
  const int64_t bytes = GetFileByteSizeQuiet(source);
  LoadRecordArray(source, array);
  if (bytes > 0 && array.count == 0) {
    // Not readable whole: nothing is written.
    if (QuietIoError == 0) QuietIoError = 1011;
    FreeRecordArray(array);
    status = 3;
    return;
  }
  TExtentsPair extents;
  ClearPointExtents(extents);
  if (array.count > 3) CleanContourRecords(array, extents, kSplitCleanTolerance);
  std::vector<TSegmentCrossing> crossings;
  if (array.count > 3) FindAllCrossings(array, crossings, extents);
  if (QuietIoError == 0) {
    if (!crossings.empty()) {
      WriteContoursSplitAtCrossings(target, array, crossings);
    } else {
      WriteRecordArrayToFile(target, array);
    }
  }
  // A run that stopped early (list full, Esc) leaves the target untouched.
  FreeRecordArray(array);
  status = QuietIoError > 0 ? 3 : 0;
}

void SplitContoursAtCrossings(const std::string& source, const std::string& target) {
  uint8_t status = 0;
  SplitContoursAtCrossingsWithStatus(source, target, status);
}

void RunSplitAtCrossingsCommand() {
  TakeUndoSnapshot(1 | 2);
  uint8_t status = 0;
  SplitContoursAtCrossingsWithStatus(kVectorStoreName, kVectorStoreName, status);
  // File errors stay quiet, as in every geometry file operation.
  if (QuietIoError == 1101) ShowMessageNumber(kTooManyCrossingsMessage);
  else if (QuietIoError == 1) ShowMessageNumber(kSplitAbortedMessage);
  EnterMarkMode();
}
