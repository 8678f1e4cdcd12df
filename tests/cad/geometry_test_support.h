// Small helpers of the geometry tests: records, raw vector files in the
// current folder and an outside check of polygon orientation and area.
#pragma once

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "model/vector_records.h"

#ifdef TORV_HAVE_CLIPPER
#include <clipper.hpp>
// Opens a test body that checks against Clipper.
#define REQUIRE_CLIPPER() (void)0
#else
// Without the library the outside checks fail, never pass silently.
#define REQUIRE_CLIPPER() \
  do {                    \
    FAIL() << "libpolyclipping-dev is missing: run scripts/install-deps.sh"; \
  } while (0)
#endif

namespace geomtest {

inline TVectorRecord Rec(uint8_t type, float x, float y, float z = 0.0f) {
  TVectorRecord r{};
  r.type = type;
  r.x = x;
  r.y = y;
  r.z = z;
  return r;
}

// Writes the records as a raw file of 13-byte records (our readers are not
// used to make fixtures).
inline void WriteRaw(const std::string& name, const std::vector<TVectorRecord>& records) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  if (!records.empty())
    out.write(reinterpret_cast<const char*>(records.data()), std::streamsize(records.size() * sizeof(TVectorRecord)));
}

inline std::vector<TVectorRecord> ReadRaw(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<TVectorRecord> records(bytes.size() / sizeof(TVectorRecord));
  if (!records.empty()) std::memcpy(records.data(), bytes.data(), records.size() * sizeof(TVectorRecord));
  return records;
}

// Splits records into contours (a start and the points after it).
inline std::vector<std::vector<TVectorRecord>> Contours(const std::vector<TVectorRecord>& records) {
  std::vector<std::vector<TVectorRecord>> out;
  for (const TVectorRecord& r : records) {
    if (r.type == kRecContourStart || out.empty()) out.emplace_back();
    out.back().push_back(r);
  }
  return out;
}

// A closed polygon as start + points + closing point.
inline std::vector<TVectorRecord> Closed(const std::vector<std::pair<float, float>>& points, bool reverse = false) {
  std::vector<std::pair<float, float>> p = points;
  if (reverse) std::vector<std::pair<float, float>>(p.rbegin(), p.rend()).swap(p);
  std::vector<TVectorRecord> out;
  out.push_back(Rec(kRecContourStart, p[0].first, p[0].second));
  for (size_t i = 1; i < p.size(); ++i) out.push_back(Rec(kRecLinePoint, p[i].first, p[i].second));
  out.push_back(Rec(kRecLinePoint, p[0].first, p[0].second));
  return out;
}

#ifdef TORV_HAVE_CLIPPER
// Clipper works on integers: micrometres.
inline ClipperLib::Path ToClipper(const std::vector<TVectorRecord>& contour) {
  ClipperLib::Path path;
  for (size_t i = 0; i < contour.size(); ++i) {
    const ClipperLib::IntPoint p(ClipperLib::cInt(std::llround(contour[i].x * 1000.0)),
                                 ClipperLib::cInt(std::llround(contour[i].y * 1000.0)));
    if (i + 1 == contour.size() && !path.empty() && p == path.front()) break;  // closing point
    path.push_back(p);
  }
  return path;
}
// Counter-clockwise with y up, by Clipper.
inline bool ClipperCounterClockwise(const std::vector<TVectorRecord>& contour) {
  return ClipperLib::Orientation(ToClipper(contour));
}
// Signed area in square millimetres, by Clipper.
inline double ClipperArea(const std::vector<TVectorRecord>& contour) {
  return ClipperLib::Area(ToClipper(contour)) / 1e6;
}
#endif

}  // namespace geomtest
