#include "cad/contour_direction.h"

#include <algorithm>
#include <cmath>

#include "model/geometry_tolerances.h"
#include "frame/quiet_files.h"
#include "platform/files.h"
#include "frame/progress_bar.h"
#include "view/world_lines.h"

namespace {

// A raise of the level per vertex hit; more would mean a broken input.
constexpr int kMaxLevelRaises = 100000;

bool IsPointType(uint8_t type) { return type == kRecLinePoint || type == kRec3DPoint; }
bool IsContourType(uint8_t type) { return IsPointType(type) || type == kRecContourStart; }

// Loads the file whole; false (file left alone) when it cannot be read whole.
bool LoadWhole(const std::string& name, TVectorArray& array) {
  const int64_t bytes = GetFileByteSizeQuiet(name);
  LoadRecordArray(name, array);
  if (bytes > 0 && array.count == 0) {
    FreeRecordArray(array);
    return false;
  }
  return true;
}

// Truncates the file and writes the records (quiet wrappers).
void RewriteWithRecords(const std::string& name, const std::vector<TVectorRecord>& records) {
  plat::TPasFile file;
  plat::Assign(file, name);
  RewriteFileQuiet(file, kVectorRecordSize);
  if (file.state < plat::kFileInput) return;
  uint32_t written = 0;
  if (!records.empty()) BlockWriteQuiet(file, records.data(), static_cast<uint32_t>(records.size()), written);
  CloseFileQuiet(file);
}

void DrawContour(const TVectorRecord* records, int32_t count, int16_t colour) {
  SetLinePenMode(13, colour);
  for (int32_t i = 0; i < count; ++i) {
    if (records[i].type == kRecContourStart) MovePenToWorldPoint(records[i].x, records[i].y);
    else DrawLineToWorldPoint(records[i].x, records[i].y);
  }
}

// True when a vertex of the pair lies exactly on the level.
bool OnLevel(const TVectorRecord& a, const TVectorRecord& b, double level) {
  return double(a.y) == level || double(b.y) == level;
}

// The crossing x of the segment a-b with y = level when 0 < t < 1.
bool CrossingX(const TVectorRecord& a, const TVectorRecord& b, double level, double& x) {
  const double dy = double(b.y) - a.y;
  if (dy == 0.0) return false;
  const double t = (level - a.y) / dy;
  if (!(t > 0.0 && t < 1.0)) return false;
  x = static_cast<float>(a.x + (double(b.x) - a.x) * t);
  return true;
}

}  // namespace

void ReverseWholeVectorFile(const std::string& name) {
  TVectorArray array;
  if (!LoadWhole(name, array)) return;
  std::vector<TVectorRecord> out;
  out.reserve(static_cast<size_t>(array.count));
  for (int32_t i = array.count - 1; i >= 0; --i) {
    TVectorRecord r = array.records[i];
    r.type = out.empty() ? kRecContourStart : kRecLinePoint;
    out.push_back(r);
  }
  FreeRecordArray(array);
  RewriteWithRecords(name, out);
}

void ReverseContourRecords(TVectorRecord* records, int32_t count, int16_t colour) {
  if (records == nullptr || count <= 0) return;
  float startZ = 0.0f;
  for (int32_t i = 0; i < count; ++i) {
    if (records[i].type == kRecContourStart) startZ = records[i].z;
    records[i].type = kRecLinePoint;
  }
  std::reverse(records, records + count);
  records[0].type = kRecContourStart;
  records[0].z = startZ;
  if (colour >= 0) DrawContour(records, count, colour);
}

void ReverseFileContours(const std::string& name, int16_t colour) {
  QuietIoError = 0;
  TVectorArray array;
  if (!LoadWhole(name, array)) return;
  std::vector<TVectorRecord> out, contour;
  out.reserve(static_cast<size_t>(array.count));
  auto flush = [&] {
    ReverseContourRecords(contour.data(), static_cast<int32_t>(contour.size()), colour);
    out.insert(out.end(), contour.begin(), contour.end());
    contour.clear();
  };
  for (int32_t i = 0; i < array.count; ++i) {
    TVectorRecord r = array.records[i];
    if (r.type == kRecContourStart) {
      if (!contour.empty()) flush();
      contour.push_back(r);
    } else if (IsPointType(r.type)) {
      // Points before any start: their first point is their start.
      if (contour.empty()) r.type = kRecContourStart;
      contour.push_back(r);
    }
  }
  if (!contour.empty()) flush();
  FreeRecordArray(array);
  RewriteWithRecords(name, out);
}

void FindLeftmostCrossing(const TVectorRecord* records, int32_t count, double& levelY, double& crossingX,
                          bool& descending) {
  crossingX = kNoCrossingX;
  if (records == nullptr || count < 3) return;
  descending = false;
  for (int raises = 0; raises <= kMaxLevelRaises; ++raises) {
    double x = kNoCrossingX;
    bool found = false, down = false, hit = false;
    for (int32_t i = 0; i < count; ++i) {
      const TVectorRecord& previous = records[i == 0 ? 0 : i - 1];
      const TVectorRecord& current = records[i];
      if (OnLevel(previous, current, levelY)) {
        hit = true;
        break;
      }
      double cx;
      if (!CrossingX(previous, current, levelY, cx)) continue;
      if (cx < x) {
        x = cx;
        found = true;
        down = previous.y > current.y;
      }
    }
    if (hit) {
      levelY += kLevelRaise;
      continue;
    }
    crossingX = x;
    descending = found && down;
    return;
  }
}

void IsOuterContour(const TVectorRecord* all, int32_t allCount, const TVectorRecord* contour, int32_t count,
                    bool strict, double& levelY, bool& descending, bool& outer) {
  for (int raises = 0; raises <= kMaxLevelRaises; ++raises) {
    double x0 = kNoCrossingX;
    descending = false;
    FindLeftmostCrossing(contour, count, levelY, x0, descending);
    const double reference = strict ? x0 - kNestingBand : x0;
    int64_t crossings = 0;
    bool hit = false;
    // Segments are pairs of consecutive contour records whose second one is
    // a point; other record types are not geometry and are passed over.
    const TVectorRecord* previous = nullptr;
    for (int32_t i = 0; i < allCount; ++i) {
      const TVectorRecord& current = all[i];
      if (!IsContourType(current.type)) continue;
      const TVectorRecord& from = previous != nullptr ? *previous : current;
      previous = &current;
      if (OnLevel(from, current, levelY)) {
        hit = true;
        break;
      }
      if (current.type == kRecContourStart) continue;
      double cx;
      if (!CrossingX(from, current, levelY, cx)) continue;
      if (strict ? cx < reference : cx - reference < kNestingBand) ++crossings;
    }
    if (hit) {
      levelY += kLevelRaise;
      continue;
    }
    outer = strict ? crossings % 2 == 0 : crossings % 2 == 1;
    return;
  }
  outer = true;
}

namespace {

struct TOrientState {
  const TVectorRecord* all = nullptr;
  int32_t allCount = 0;
  bool strict = false, startMarks = false, show = false;
  plat::TPasFile* target = nullptr;
  std::vector<TVectorRecord> contour, reversed;
  float lowestY = kEmptyExtentsMin, highestY = kEmptyExtentsMax, lowestX = kEmptyExtentsMin;
};

void ResetBounds(TOrientState& state) {
  state.lowestY = kEmptyExtentsMin;
  state.highestY = kEmptyExtentsMax;
  state.lowestX = kEmptyExtentsMin;
}

void Collect(TOrientState& state, const TVectorRecord& r) {
  state.contour.push_back(r);
  // Packed fields are read by value, never bound to references.
  const float x = r.x, y = r.y;
  state.lowestY = std::min(state.lowestY, y);
  state.highestY = std::max(state.highestY, y);
  state.lowestX = std::min(state.lowestX, x);
}

// Drops, keeps or reverses the buffered contour and writes it.
void OrientAndWriteContour(TOrientState& state) {
  std::vector<TVectorRecord>& c = state.contour;
  if (c.size() <= 3) {
    c.clear();
    return;
  }
  double level = (double(state.lowestY) + state.highestY) / 2.0;
  bool descending = false, outer = false;
  IsOuterContour(state.all, state.allCount, c.data(), static_cast<int32_t>(c.size()), state.strict, level,
                 descending, outer);
  std::vector<TVectorRecord>* written = &c;
  if (descending != outer) {
    state.reversed.clear();
    for (size_t i = c.size(); i-- > 0;) {
      TVectorRecord r = c[i];
      r.type = state.reversed.empty() ? kRecContourStart : kRecLinePoint;
      state.reversed.push_back(r);
    }
    written = &state.reversed;
  }
  const int16_t colour = outer ? kOuterContourColour : kHoleContourColour;
  if (state.startMarks) (*written)[0].z = outer ? kOuterStartMark : kHoleStartMark;
  uint32_t count = 0;
  BlockWriteQuiet(*state.target, written->data(), static_cast<uint32_t>(written->size()), count);
  if (state.show) DrawContour(written->data(), static_cast<int32_t>(written->size()), colour);
  if (PollEscapeAbort()) QuietIoError = 1;
  c.clear();
}

}  // namespace

void AppendContoursOriented(const std::string& source, const std::string& target, bool startMarks, bool show,
                            bool strict) {
  if (GetFileByteSizeQuiet(source) < 2 * static_cast<int64_t>(kVectorRecordSize)) return;
  QuietIoError = 0;
  TVectorArray array;
  if (!LoadWhole(source, array)) return;
  if (array.count <= 2) {
    FreeRecordArray(array);
    return;
  }
  if (show) StartProgressBar(array.count);
  plat::TPasFile file;
  plat::Assign(file, target);
  ResetFileQuiet(file, kVectorRecordSize, 2);
  if (file.state < plat::kFileInput) {
    FreeRecordArray(array);
    return;
  }
  plat::Seek(file, plat::FileSize(file));
  TOrientState state;
  state.all = array.records;
  state.allCount = array.count;
  state.strict = strict;
  state.startMarks = startMarks;
  state.show = show;
  state.target = &file;
  bool haveStart = false, open = false;
  TVectorRecord lastStart{};
  for (int32_t i = 0; i < array.count; ++i) {
    if (show && i % 100 == 0) UpdateProgressBar(i);
    const TVectorRecord& r = array.records[i];
    if (IsPointType(r.type)) {
      if (!open) {
        ResetBounds(state);
        if (haveStart) {
          Collect(state, lastStart);
        } else {
          // Points before any start: the first of them is the start.
          TVectorRecord start = r;
          start.type = kRecContourStart;
          Collect(state, start);
          haveStart = true;
          lastStart = start;
          open = true;
          continue;
        }
        open = true;
      }
      Collect(state, r);
    } else if (r.type == kRecContourStart) {
      if (open) OrientAndWriteContour(state);
      open = false;
      lastStart = r;
      haveStart = true;
    }
    if (QuietIoError > 0) break;
  }
  if (QuietIoError == 0 || QuietIoError == 1) OrientAndWriteContour(state);
  CloseFileQuiet(file);
  FreeRecordArray(array);
}
