// The contour table and the nearest-first ordering.
#include "paths/contour_order.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>

#include "frame/quiet_files.h"
#include "view/world_lines.h"

// --- the paged table ----------------------------------------------------------------

namespace {

bool IsContourIndex(int32_t n) { return n >= 0 && n < kMaxContours; }

TContourEntry* EntrySlot(TContourTable& table, int32_t n, bool allocate) {
  TContourEntry*& page = table.pages[n / kContourPageEntries];
  if (page == nullptr && allocate) page = new (std::nothrow) TContourEntry[kContourPageEntries]();
  return page == nullptr ? nullptr : &page[n % kContourPageEntries];
}

// Makes entry n the current one, read from its slot (the page made first
// when allocate).
void EnterContour(TContourTable& table, int32_t n, bool allocate) {
  table.current = n;
  TContourEntry* slot = EntrySlot(table, n, allocate);
  if (slot != nullptr)
    table.entry = *slot;
  else
    table.status = kContourPageMissing;
}

}  // namespace

void ResetContourTable(TContourTable& table) {
  table.current = 0;
  std::memset(&table.entry, 0, sizeof table.entry);
  for (TContourEntry*& page : table.pages) page = nullptr;
}

void FreeContourTable(TContourTable& table) {
  for (TContourEntry*& page : table.pages) {
    delete[] page;
    page = nullptr;
  }
}

void SelectContour(TContourTable& table, int32_t n) {
  if (n == table.current) return;
  if (!IsContourIndex(n)) {
    table.status = kContourPageMissing;
    return;
  }
  if (IsContourIndex(table.current)) {
    TContourEntry* slot = EntrySlot(table, table.current, true);
    if (slot != nullptr) *slot = table.entry;
  }
  EnterContour(table, n, true);
}

void LoadContour(TContourTable& table, int32_t n) {
  if (n == table.current) return;
  if (!IsContourIndex(n)) {
    table.status = kContourPageMissing;
    return;
  }
  EnterContour(table, n, false);
}

void StoreContourAt(TContourTable& table, int32_t n) {
  if (!IsContourIndex(n)) {
    table.status = kContourPageMissing;
    return;
  }
  table.current = n;
  TContourEntry* slot = EntrySlot(table, n, false);
  if (slot != nullptr)
    *slot = table.entry;
  else
    table.status = kContourPageMissing;
}

// --- building ---------------------------------------------------------------------------

namespace {

constexpr float kEmptyBoxMin = 1e30f;

void EmptyBox(TContourEntry& e) {
  e.box[0] = e.box[1] = kEmptyBoxMin;
  e.box[2] = e.box[3] = -kEmptyBoxMin;
}

void WidenBox(float (&box)[4], float x, float y) {
  box[0] = std::min(box[0], x);
  box[1] = std::min(box[1], y);
  box[2] = std::max(box[2], x);
  box[3] = std::max(box[3], y);
}

uint8_t StartMarkOf(float z) {
  if (!std::isfinite(z)) return 0;
  const double mark = std::nearbyint(z);
  return mark == -5.0 ? 251 : mark == -4.0 ? 252 : 0;
}

bool ReadWholeFile(plat::TPasFile& file, std::vector<TVectorRecord>& records) {
  const int64_t size = plat::FileSize(file);
  plat::IoResult();
  records.clear();
  if (size <= 0) return true;
  try {
    records.resize(size_t(size));
  } catch (const std::bad_alloc&) {
    records.clear();
    return false;
  }
  plat::Seek(file, 0);
  plat::IoResult();
  uint32_t read = 0;
  BlockReadQuiet(file, records.data(), uint32_t(records.size()), read);
  records.resize(read);
  return true;
}

// Lists the contours of records into the table (see BuildContourTable).
void BuildFromRecords(const std::vector<TVectorRecord>& records, int32_t& last, TContourTable& table, float d) {
  QuietIoError = 0;
  last = -1;
  table.extents.minCorner = TPointRecord{kRecMinCorner, kEmptyExtentsMin, kEmptyExtentsMin};
  table.extents.maxCorner = TPointRecord{kRecMaxCorner, kEmptyExtentsMax, kEmptyExtentsMax};
  SelectContour(table, 0);
  table.entry.endIndex = 0;
  table.entry.linkDistance = d;
  if (records.size() <= 3) {
    QuietIoError = 1103;
    return;
  }
  TContourEntry e{};
  bool open = false;
  // Closes the open contour ending at record end; false when the table is full.
  auto close = [&](int32_t end) {
    e.middleY = (e.box[1] + e.box[3]) / 2.0f;
    // Packed corners: widened through copies.
    const float minX = table.extents.minCorner.x, minY = table.extents.minCorner.y;
    const float maxX = table.extents.maxCorner.x, maxY = table.extents.maxCorner.y;
    table.extents.minCorner.x = std::min(minX, e.box[0]);
    table.extents.minCorner.y = std::min(minY, e.box[1]);
    table.extents.maxCorner.x = std::max(maxX, e.box[2]);
    table.extents.maxCorner.y = std::max(maxY, e.box[3]);
    e.linkDistance = d;
    e.endIndex = end;
    if (e.endIndex <= e.startIndex) return true;  // a start record alone is dropped
    if (last + 1 >= kMaxContours) {
      QuietIoError = 1101;
      return false;
    }
    SelectContour(table, last + 1);
    table.entry = e;
    ++last;
    return true;
  };
  const int32_t count = int32_t(records.size());
  for (int32_t i = 0; i < count; ++i) {
    const TVectorRecord& r = records[size_t(i)];
    if (r.type == kRecContourStart) {
      if (open && !close(i - 1)) return;
      open = true;
      e = TContourEntry{};
      EmptyBox(e);
      e.startIndex = i;
      e.linkDistance = d;
      e.startX = e.endX = r.x;
      e.startY = e.endY = r.y;
      e.startMark = StartMarkOf(r.z);
    } else if (r.type == kRecLayer) {
      if (r.z > 0.0f) d = 1.1f * r.z;
    } else if (open) {
      e.endX = r.x;
      e.endY = r.y;
    }
    if (open && (r.type == kRecLinePoint || r.type == kRecContourStart || r.type == kRec3DPoint))
      WidenBox(e.box, r.x, r.y);
  }
  if (open && !close(count - 1)) return;
  SelectContour(table, 0);
}

}  // namespace

void BuildContourTable(plat::TPasFile& file, int32_t& last, TContourTable& table, float linkDistance) {
  std::vector<TVectorRecord> records;
  if (!ReadWholeFile(file, records)) {
    last = -1;
    QuietIoError = 1101;
    return;
  }
  BuildFromRecords(records, last, table, linkDistance);
}

// --- crossing test --------------------------------------------------------------------------

bool LinkCrossesObstacles(const TVectorArray& obstacles, float x1, float y1, float x2, float y2) {
  if (obstacles.records == nullptr || obstacles.count < 2) return false;
  const double ax = x1, ay = y1, dx = double(x2) - x1, dy = double(y2) - y1;
  double px = obstacles.records[0].x, py = obstacles.records[0].y;
  for (int32_t i = 1; i < obstacles.count; ++i) {
    const TVectorRecord& r = obstacles.records[i];
    if (r.type == kRecContourStart) {
      px = r.x;
      py = r.y;
      continue;
    }
    if (r.type != kRecLinePoint && r.type != kRec3DPoint) continue;
    const double ex = double(r.x) - px, ey = double(r.y) - py;
    const double denominator = dx * ey - dy * ex;
    if (denominator != 0.0) {
      const double t = ((px - ax) * ey - (py - ay) * ex) / denominator;  // along the link
      const double u = ((px - ax) * dy - (py - ay) * dx) / denominator;  // along the obstacle
      if (t >= -0.001 && t <= 1.001 && u >= -0.001 && u <= 1.001) return true;
    }
    px = r.x;
    py = r.y;
  }
  return false;
}

// --- planning -------------------------------------------------------------------------------

namespace {

constexpr float kNoDistance = 1e20f;

// One function for both searches, so that both compute the same floats.
__attribute__((noinline)) float GapDistance(float fromX, float fromY, float toX, float toY) {
  const float dx = toX - fromX;
  const float dy = toY - fromY;
  return std::sqrt(dx * dx + dy * dy);
}

// Among equal distances the first in scan order wins.
bool Precedes(int32_t a, int32_t b, bool backward) { return backward ? a > b : a < b; }

struct TNearestScan {
  const std::vector<TContourEntry>& entries;
  const std::vector<uint8_t>& used;
  bool backward;

  int32_t Find(float x, float y) const {
    const int32_t n = int32_t(entries.size());
    float best = kNoDistance;
    int32_t found = -1;
    for (int32_t k = 0; k < n; ++k) {
      const int32_t i = backward ? n - 1 - k : k;
      if (used[size_t(i)]) continue;
      const float d = GapDistance(x, y, entries[size_t(i)].startX, entries[size_t(i)].startY);
      if (d < best) {
        best = d;
        found = i;
      }
    }
    return found;
  }
};

// Uniform grid over the contour starts; taken entries are removed.
class TStartGrid {
 public:
  TStartGrid(const std::vector<TContourEntry>& entries, bool backward) : entries_(entries), backward_(backward) {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool any = false;
    for (const TContourEntry& e : entries) {
      if (!std::isfinite(e.startX) || !std::isfinite(e.startY)) continue;
      if (!any) {
        x0 = x1 = e.startX;
        y0 = y1 = e.startY;
        any = true;
      }
      x0 = std::min<double>(x0, e.startX);
      x1 = std::max<double>(x1, e.startX);
      y0 = std::min<double>(y0, e.startY);
      y1 = std::max<double>(y1, e.startY);
    }
    const double w = std::max(x1 - x0, 1e-9), h = std::max(y1 - y0, 1e-9);
    const double cell = std::sqrt(w * h / double(std::max<size_t>(entries.size(), 1)));
    columns_ = int32_t(std::clamp(w / std::max(cell, 1e-12), 1.0, 2048.0));
    rows_ = int32_t(std::clamp(h / std::max(cell, 1e-12), 1.0, 2048.0));
    x0_ = x0;
    y0_ = y0;
    cellW_ = w / columns_;
    cellH_ = h / rows_;
    cells_.assign(size_t(columns_) * size_t(rows_), {});
    position_.assign(entries.size(), -1);
    for (int32_t i = 0; i < int32_t(entries.size()); ++i) {
      const TContourEntry& e = entries[size_t(i)];
      if (!std::isfinite(e.startX) || !std::isfinite(e.startY)) continue;
      std::vector<int32_t>& c = cells_[CellOf(e.startX, e.startY)];
      position_[size_t(i)] = int32_t(c.size());
      c.push_back(i);
      ++alive_;
    }
  }

  void Remove(int32_t i) {
    if (position_[size_t(i)] < 0) return;
    const TContourEntry& e = entries_[size_t(i)];
    std::vector<int32_t>& c = cells_[CellOf(e.startX, e.startY)];
    const int32_t at = position_[size_t(i)];
    c[size_t(at)] = c.back();
    position_[size_t(c[size_t(at)])] = at;
    c.pop_back();
    position_[size_t(i)] = -1;
    --alive_;
  }

  int32_t Find(float x, float y) const {
    if (alive_ == 0) return -1;
    const int32_t cx = Column(x), cy = Row(y);
    float best = kNoDistance;
    int32_t found = -1;
    const int32_t maxRing = std::max(columns_, rows_);
    for (int32_t r = 0; r <= maxRing; ++r) {
      const int32_t left = cx - r, right = cx + r, bottom = cy - r, top = cy + r;
      for (int32_t j = std::max(bottom, 0); j <= std::min(top, rows_ - 1); ++j) {
        const bool edgeRow = j == bottom || j == top;
        for (int32_t i = std::max(left, 0); i <= std::min(right, columns_ - 1); ++i) {
          if (!edgeRow && i != left && i != right) {
            i = right - 1;  // skip the inside, searched already
            continue;
          }
          for (int32_t k : cells_[size_t(j) * size_t(columns_) + size_t(i)]) {
            const float d = GapDistance(x, y, entries_[size_t(k)].startX, entries_[size_t(k)].startY);
            if (d < best || (d == best && found >= 0 && Precedes(k, found, backward_))) {
              best = d;
              found = k;
            }
          }
        }
      }
      // Distance to the nearest cell outside the searched block.
      double bound = 1e300;
      if (left > 0) bound = std::min(bound, std::max(0.0, double(x) - (x0_ + left * cellW_)));
      if (right < columns_ - 1) bound = std::min(bound, std::max(0.0, x0_ + (right + 1) * cellW_ - double(x)));
      if (bottom > 0) bound = std::min(bound, std::max(0.0, double(y) - (y0_ + bottom * cellH_)));
      if (top < rows_ - 1) bound = std::min(bound, std::max(0.0, y0_ + (top + 1) * cellH_ - double(y)));
      if (bound == 1e300) break;  // the whole grid is searched
      if (found >= 0 && bound > double(best) * (1.0 + 1e-5) + 1e-6 * (cellW_ + cellH_)) break;
    }
    return found;
  }

 private:
  int32_t Column(double x) const {
    const double c = std::floor((x - x0_) / cellW_);
    return int32_t(std::clamp(std::isfinite(c) ? c : 0.0, 0.0, double(columns_ - 1)));
  }
  int32_t Row(double y) const {
    const double c = std::floor((y - y0_) / cellH_);
    return int32_t(std::clamp(std::isfinite(c) ? c : 0.0, 0.0, double(rows_ - 1)));
  }
  size_t CellOf(float x, float y) const { return size_t(Row(y)) * size_t(columns_) + size_t(Column(x)); }

  const std::vector<TContourEntry>& entries_;
  bool backward_;
  double x0_ = 0, y0_ = 0, cellW_ = 1, cellH_ = 1;
  int32_t columns_ = 1, rows_ = 1;
  int32_t alive_ = 0;
  std::vector<std::vector<int32_t>> cells_;
  std::vector<int32_t> position_;
};

}  // namespace

void PlanNearestOrder(const std::vector<TContourEntry>& entries, const TVectorArray& obstacles, bool backward,
                      bool linkAlways, float tolerance, bool useIndex, std::vector<TContourStep>& steps) {
  steps.clear();
  const int32_t n = int32_t(entries.size());
  if (n == 0) return;
  std::vector<uint8_t> used(size_t(n), 0);
  TNearestScan scan{entries, used, backward};
  std::unique_ptr<TStartGrid> grid;
  if (useIndex) grid = std::make_unique<TStartGrid>(entries, backward);
  int32_t firstFree = backward ? n - 1 : 0;
  auto firstUntaken = [&]() {
    while (used[size_t(firstFree)]) firstFree += backward ? -1 : 1;
    return firstFree;
  };
  float x = entries[size_t(firstFree)].startX, y = entries[size_t(firstFree)].startY;
  bool jump = true;
  int32_t left = n;
  while (left > 0) {
    const int32_t best = grid ? grid->Find(x, y) : scan.Find(x, y);
    if (best < 0) break;  // only unreachable starts remain
    const TContourEntry& e = entries[size_t(best)];
    const float gap = GapDistance(x, y, e.startX, e.startY);
    bool linked = false;
    if (!jump) {
      if (gap < tolerance) {
        linked = true;
      } else if ((gap < e.linkDistance || linkAlways) && !LinkCrossesObstacles(obstacles, x, y, e.startX, e.startY)) {
        linked = true;
      } else {
        jump = true;
        const int32_t f = firstUntaken();
        x = entries[size_t(f)].startX;
        y = entries[size_t(f)].startY;
        continue;
      }
    }
    steps.push_back(TContourStep{best, linked});
    used[size_t(best)] = 1;
    if (grid) grid->Remove(best);
    --left;
    jump = false;
    x = e.endX;
    y = e.endY;
  }
  // Contours whose start no distance reaches (not a finite point) still go out, in scan order.
  for (int32_t k = 0; k < n && left > 0; ++k) {
    const int32_t i = backward ? n - 1 - k : k;
    if (used[size_t(i)]) continue;
    steps.push_back(TContourStep{i, false});
    used[size_t(i)] = 1;
    --left;
  }
}

// --- ordering files -----------------------------------------------------------------------

namespace {

bool IsPathPointType(uint8_t type) {
  return type == kRecLinePoint || type == kRecContourStart || type == kRec3DPoint;
}

void AppendStep(const std::vector<TVectorRecord>& records, const TContourEntry& e, bool linked,
                std::vector<TVectorRecord>& out) {
  const int32_t last = std::min<int32_t>(e.endIndex, int32_t(records.size()) - 1);
  bool first = true;
  for (int32_t k = e.startIndex; k <= last; ++k) {
    TVectorRecord r = records[size_t(k)];
    if (!IsPathPointType(r.type)) continue;
    if (first && linked) {
      first = false;
      const uint8_t next = k + 1 <= last ? records[size_t(k + 1)].type : 0;
      if (next != kRecLinePoint && next != kRecContourStart) continue;  // the link cannot lead into it
      r.type = kRecLinePoint;
    }
    first = false;
    if (r.type == kRecContourStart)
      MovePenToWorldPoint(r.x, r.y);
    else
      DrawLineToWorldPoint(r.x, r.y);
    out.push_back(r);
  }
}

void AppendRecordsToFile(const std::string& name, const std::vector<TVectorRecord>& records) {
  plat::TPasFile file;
  plat::Assign(file, name);
  if (FileExistsPlain(name)) {
    ResetFileQuiet(file, kVectorRecordSize, 2);
    if (QuietIoError != 0) return;
    plat::Seek(file, plat::FileSize(file));
    plat::IoResult();
  } else {
    RewriteFileQuiet(file, kVectorRecordSize);
    if (QuietIoError != 0) return;
  }
  for (size_t done = 0; done < records.size();) {
    const uint32_t n = uint32_t(std::min<size_t>(5000, records.size() - done));
    uint32_t written = 0;
    BlockWriteQuiet(file, &records[done], n, written);
    if (written != n) break;
    done += n;
  }
  CloseFileQuiet(file);
}

}  // namespace

void OrderContoursByNearest(const std::string& source, const std::string& target, const TVectorArray& obstacles,
                            bool backward, bool linkAlways, int16_t colour, float tolerance) {
  tolerance *= 1.1f;
  std::vector<TVectorRecord> records;
  bool read = false;
  QuietIoError = 0;
  if (FileExistsPlain(source)) {
    plat::TPasFile file;
    plat::Assign(file, source);
    ResetFileQuiet(file, kVectorRecordSize, 0);
    if (QuietIoError == 0) {
      read = ReadWholeFile(file, records);
      CloseFileQuiet(file);
    }
  } else {
    QuietIoError = 1103;
  }
  TContourTable* table = new (std::nothrow) TContourTable();
  int32_t last = -1;
  if (table != nullptr && read) {
    ResetContourTable(*table);
    BuildFromRecords(records, last, *table, tolerance);
    if (QuietIoError <= 1 && last >= 0) {
      std::vector<TContourEntry> entries(size_t(last) + 1);
      for (int32_t i = 0; i <= last; ++i) {
        LoadContour(*table, i);
        entries[size_t(i)] = table->entry;
      }
      std::vector<TContourStep> steps;
      PlanNearestOrder(entries, obstacles, backward, linkAlways, tolerance, true, steps);
      SetLinePenMode(13, colour);
      MovePenToWorldPoint(0.0f, 0.0f);
      std::vector<TVectorRecord> out;
      out.reserve(records.size());
      for (const TContourStep& step : steps) AppendStep(records, entries[size_t(step.entry)], step.linked, out);
      AppendRecordsToFile(target, out);
    }
  }
  if (table != nullptr) {
    FreeContourTable(*table);
    delete table;
  }
  DeleteFileQuiet(source);
}

void SortContoursNearestFirst(const std::string& source, const std::string& target, const std::string& obstacleFile,
                              bool backward, bool linkAlways, int16_t colour, float tolerance) {
  TVectorArray obstacles;
  if (!obstacleFile.empty()) LoadRecordArray(obstacleFile, obstacles);
  OrderContoursByNearest(source, target, obstacles, backward, linkAlways, colour, tolerance);
  FreeRecordArray(obstacles);
}
