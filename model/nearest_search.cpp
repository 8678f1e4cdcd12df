// Nearest-record searches.
#include "model/nearest_search.h"

#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

#include "frame/messages.h"
#include "frame/layer_colours.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "model/model_hooks.h"
#include "model/vector_store.h"
#include "platform/draw.h"

namespace {
using TRecords = std::vector<TVectorRecord>;

bool IsVertexType(uint8_t type) {
  return type == kRecLinePoint || type == kRecContourStart || type == kRec3DPoint || type == kRecSplinePoint;
}
bool IsSegmentType(uint8_t type) {
  return type == kRecLinePoint || type == kRec3DPoint || type == kRecSplinePoint;
}
bool IsContourBodyType(uint8_t type) {
  return type == kRecLinePoint || type == kRec3DPoint || type == kRecSplineStartEnd || type == kRecSplinePoint;
}

TRecords LoadRecords(const std::string& file) {
  TRecords records;
  if (!ReadVectorRecords(file, -1, records)) records.clear();
  return records;
}

// Index of the record nearest to (px, py), -1 when none is nearer than start.
int64_t SearchNearest(const TRecords& records, double px, double py, int flags, double start) {
  double best = start;
  int64_t found = -1;
  double prevX = 0.0, prevY = 0.0;
  for (size_t i = 0; i < records.size(); ++i) {
    const TVectorRecord& r = records[i];
    double d;
    bool candidate;
    if (flags & kNearestSegment) {
      candidate = IsSegmentType(r.type);
      d = candidate ? DistancePointToSegment(px, py, prevX, prevY, r.x, r.y) : 0.0;
      prevX = r.x;
      prevY = r.y;
    } else {
      candidate = IsVertexType(r.type);
      d = std::hypot(r.x - px, r.y - py);
      if (r.type == kRecContourStart && !(flags & kNearestNoPenalty)) d += kStartPenalty;
    }
    if (candidate && d < best) {
      best = d;
      found = static_cast<int64_t>(i);
    }
  }
  return found;
}

void MarkResult(float x, float y) {
  SetDrawColorAndMode(plat::kRopCopy, 13);
  DrawSquareMarkHook(2, x, y);
}

// The layer files a layer search covers by its bits 3-4.
std::vector<std::string> LayerSearchFiles(int flags) {
  std::vector<std::string> files;
  const int kind = flags & (kNearestVisibleLayers | kNearestToolLayers);
  for (int n = 0; n <= HighestLayer; ++n) {
    if (kind == kNearestVisibleLayers && LayerVisible[n]) files.push_back(BuildLayerFileName(n));
    else if (kind == kNearestToolLayers && n < kToolLayerCount) files.push_back(BuildWLayerFileName(n));
  }
  return files;
}

// Records [start, end) of the contour that begins at start.
size_t ContourEnd(const TRecords& records, size_t start) {
  size_t end = start + 1;
  while (end < records.size() && IsContourBodyType(records[end].type)) ++end;
  return end;
}
}  // namespace

void FindNearestVectorPoint(const std::string& file, TPointRecord& point, int32_t& index, int flags) {
  const TRecords records = LoadRecords(file);
  const int64_t found = SearchNearest(records, point.x, point.y, flags, kFileSearchStart);
  if (found < 0) {
    point.type = 0;
    index = 0;
    return;
  }
  const TVectorRecord& r = records[static_cast<size_t>(found)];
  point = TPointRecord{r.type, r.x, r.y};
  index = static_cast<int32_t>(found);
  if (flags & kNearestMark) MarkResult(r.x, r.y);
}

void FindNearestRecordInFile(const std::string& file, TVectorRecord& record, int32_t& index, int flags) {
  const TRecords records = LoadRecords(file);
  const int64_t found = SearchNearest(records, record.x, record.y, flags, kFileSearchStart);
  if (found < 0) {
    record = TVectorRecord{};
    index = 0;
    return;
  }
  record = records[static_cast<size_t>(found)];
  index = static_cast<int32_t>(found);
  if (flags & kNearestMark) MarkResult(record.x, record.y);
}

namespace {

// The nearest hit of find over the searched layer files (type 0: none).
template <typename TRecord, typename TFind>
TRecord FindNearestInLayers(const TRecord& query, int flags, TFind find) {
  TRecord best{};
  double bestDistance = 0.0;
  for (const std::string& file : LayerSearchFiles(flags)) {
    TRecord probe = query;
    int32_t index = 0;
    find(file, probe, index, flags & 7);
    if (probe.type == 0) continue;
    const double d = std::hypot(probe.x - query.x, probe.y - query.y);
    if (best.type == 0 || d < bestDistance) {
      best = probe;
      bestDistance = d;
    }
  }
  return best;
}

}  // namespace

void FindNearestPointInLayers(TPointRecord& point, int flags) {
  const TPointRecord query = point;
  const TPointRecord best = FindNearestInLayers(query, flags, FindNearestVectorPoint);
  point = best.type != 0 ? best : TPointRecord{0, query.x, query.y};
}

void FindNearestRecordInLayers(TVectorRecord& record, int flags) {
  record = FindNearestInLayers(record, flags, FindNearestRecordInFile);
}

void FindNearestSegmentInFile(const std::string& file, const TPointRecord& point, int32_t& index, double& distance) {
  const TRecords records = LoadRecords(file);
  const int64_t found = SearchNearest(records, point.x, point.y, kNearestSegment, kFileSearchStart);
  index = static_cast<int32_t>(found);
  distance = kFileSearchStart;
  if (found < 0) return;
  // The distance of the winner, measured as the search measured it.
  const TVectorRecord& r = records[static_cast<size_t>(found)];
  const double ax = found > 0 ? records[static_cast<size_t>(found - 1)].x : 0.0;
  const double ay = found > 0 ? records[static_cast<size_t>(found - 1)].y : 0.0;
  distance = DistancePointToSegment(point.x, point.y, ax, ay, r.x, r.y);
}

void MoveContourNearestEnd(const std::string& source, const std::string& target, const TPointRecord& point,
                           uint8_t& type, int flags, double& tolerance) {
  type = 0;
  TRecords records = LoadRecords(source);
  int64_t winner = -1;
  auto measure = [&](const TVectorRecord& r, int64_t start, uint8_t kind) {
    const double d = std::fabs(r.x - point.x) + std::fabs(r.y - point.y);
    if (d < tolerance) {
      tolerance = d;
      winner = start;
      type = kind;
    }
  };
  int64_t start = -1;
  const TVectorRecord* last = nullptr;
  for (size_t i = 0; i < records.size(); ++i) {
    const TVectorRecord& r = records[i];
    if (r.type == kRecContourStart) {
      if (start >= 0 && last != nullptr) measure(*last, start, last->type);
      start = static_cast<int64_t>(i);
      last = nullptr;
      measure(r, start, kRecContourStart);
    } else if (IsSegmentType(r.type)) {
      last = &r;
    }
  }
  if (start >= 0 && last != nullptr) measure(*last, start, last->type);
  if (winner < 0) return;

  const size_t begin = static_cast<size_t>(winner);
  const size_t end = ContourEnd(records, begin);
  if (!WriteVectorRecords(target, records.data() + begin, end - begin, false)) {
    ShowMessageNumber(8);
    return;
  }
  if (flags & 4) {
    records.erase(records.begin() + static_cast<std::ptrdiff_t>(begin),
                  records.begin() + static_cast<std::ptrdiff_t>(end));
    if (!WriteVectorRecords(source, records.data(), records.size(), false)) ShowMessageNumber(8);
  }
}

void TakePathBlockAtPoint(const std::string& target, const std::string& source, const TPointRecord& point,
                          TToolPathHeader& header, uint8_t& found, int flags) {
  found = 0;
  TRecords records = LoadRecords(source);
  const float scale = ViewScaleHook();
  double best = scale > 0 ? kPickTolerancePixels / scale : 0.0;
  int64_t blockStart = -1, winner = -1;
  double prevX = 0.0, prevY = 0.0;
  for (size_t i = 0; i < records.size(); ++i) {
    const TVectorRecord& r = records[i];
    if (r.type == kRecMinCorner) blockStart = static_cast<int64_t>(i);
    if (IsSegmentType(r.type) && blockStart >= 0) {
      const double d = DistancePointToSegment(point.x, point.y, prevX, prevY, r.x, r.y);
      if (d < best) {
        best = d;
        winner = blockStart;
      }
    }
    if (IsVertexType(r.type)) {
      prevX = r.x;
      prevY = r.y;
    }
  }
  if (winner < 0) return;

  memset(&header, 0, sizeof header);
  const size_t begin = static_cast<size_t>(winner);
  const size_t headerEnd = std::min(records.size(), begin + 12);
  for (size_t i = begin; i < headerEnd; ++i) header.records[i - begin] = records[i];
  size_t end = headerEnd;
  while (end < records.size() && (IsContourBodyType(records[end].type) || records[end].type == kRecContourStart))
    ++end;
  const bool draw = (flags & (2 | 8)) != 0;
  if (draw) {
    SetDrawColorAndMode(plat::kRopCopy, (flags & 8) ? PaperColor : 12);
    for (size_t i = headerEnd; i < end; ++i) DrawVectorRecordHook(records[i]);
  }
  if (!WriteVectorRecords(target, records.data() + headerEnd, end - headerEnd, false)) {
    ShowMessageNumber(8);
    return;
  }
  found = 1;
  if (flags & 4) {
    // The block's closing record goes with it.
    if (end < records.size() && records[end].type == kRecPathEnd) ++end;
    records.erase(records.begin() + static_cast<std::ptrdiff_t>(begin),
                  records.begin() + static_cast<std::ptrdiff_t>(end));
    if (!WriteVectorRecords(source, records.data(), records.size(), false)) ShowMessageNumber(8);
  }
}
