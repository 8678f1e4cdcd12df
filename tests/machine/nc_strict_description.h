// The description the strict G-code check (tests/gcode/strict_check.js)
// reads, built for a fixture job (tests/fixtures/nc/nc_job_fixture.h) and a
// dialect row (nc_gcode_dialects.h): the clearance of every tool from its
// tool header (records 156 and 157), the surface at Z 0 with the dialect's
// Z direction and unit, whether the program switches the spindle, the
// dialect's arc centre form, whether its comments are parenthesised, the
// contours in their order with the arcs of the job's arc list (centre and
// direction; the sweep from the geometry), and the area rapid moves may
// reach.
// The job is turned first where the dialect turns it before output.
#pragma once

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <string>

#include "fixtures/nc/nc_job_fixture.h"
#include "machine/nc_gcode_dialects.h"

namespace ncstrict {

// The start position of the "start" variant of the dialect goldens
// (tests/machine/nc_dialect_goldens_test.cpp); "nostart" has none.
inline constexpr float kStartX = -12.5f;
inline constexpr float kStartY = 7.25f;

// Room around the job, its circles and the start position that rapid moves
// may use (a park or tool change position beside the work), in mm.
inline constexpr double kAreaMargin = 50.0;

// Inch programs write four decimals: a point may be half of 0.0001 inch
// (0.00127 mm) off, in mm.
inline constexpr double kInchTolerance = 0.0013;
// A control that moves in steps of 0.01 mm gets its points rounded to them:
// half a step (0.005 mm) off, with room for the float, in mm.
inline constexpr double kHundredthStepTolerance = 0.0051;

inline std::string Number(double v) {
  std::ostringstream s;
  s.precision(6);
  s << v;
  return s.str();
}

// The sweep in degrees, in (0, 360], of the arc from s to e around c: the
// record gives only the centre, the direction and the end, so the geometry
// decides the sweep (the same point as start and end is a full circle).
inline double SweepOf(ncfixture::TPoint s, ncfixture::TPoint e, ncfixture::TPoint c, bool ccw) {
  const double a0 = std::atan2(s.y - c.y, s.x - c.x), a1 = std::atan2(e.y - c.y, e.x - c.x);
  double sweep = (ccw ? a1 - a0 : a0 - a1) * 180.0 / M_PI;
  while (sweep <= 1e-6) sweep += 360.0;
  return sweep;
}

// The job as the dialect writes it: turned by 90 degrees counter-clockwise
// about the origin where the row says so.
inline ncfixture::TPoint Placed(const ncdialects::TGcodeDialect& row, ncfixture::TPoint p) {
  if ((row.traits & ncdialects::kQuarterTurn) != 0) return {-p.y, p.x, p.z};
  return p;
}

inline std::string BuildStrictDescription(const ncfixture::TJob& job, const ncdialects::TGcodeDialect& row,
                                          bool startPosition) {
  std::map<int, float> clearances;
  float clearance = 0.0f;
  std::string contours;
  size_t point = 0, arc = 0;
  bool arcPending = false;
  ncfixture::TPoint last{};
  double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;  // the origin is inside
  const auto widen = [&](double x, double y) {
    minX = std::min(minX, x);
    minY = std::min(minY, y);
    maxX = std::max(maxX, x);
    maxY = std::max(maxY, y);
  };
  for (const TVectorRecord& r : job.records) {
    if (r.type == 156) clearance = r.z;
    if (r.type == 157) clearances[static_cast<int>(r.z)] = clearance;
    if (r.type == 19) arcPending = true;
    if (r.type != 10 && r.type != 11 && r.type != 12) continue;
    const ncfixture::TPoint p = Placed(row, job.points.at(point++));
    const ncfixture::TPoint from = last;
    last = p;
    widen(p.x, p.y);
    const std::string at = "[" + Number(p.x) + "," + Number(p.y) + "," + Number(p.z) + "]";
    if (r.type == 11) {
      contours += std::string(contours.empty() ? "" : "]},") + "{\"start\":" + at + ",\"points\":[";
      continue;
    }
    if (contours.back() != '[') contours += ",";
    contours += "{\"to\":" + at;
    if (arcPending) {
      const ncfixture::TArc& a = job.arcs.at(arc++);
      const ncfixture::TPoint c = Placed(row, {a.cx, a.cy, 0.0f});
      const double radius = std::hypot(p.x - c.x, p.y - c.y);
      widen(c.x - radius, c.y - radius);
      widen(c.x + radius, c.y + radius);
      const bool ccw = a.sweep > 0.0f;
      contours += std::string(",\"arc\":{\"dir\":\"") + (ccw ? "ccw" : "cw") +
                  "\",\"sweep\":" + Number(SweepOf(from, p, c, ccw)) + "}";
      arcPending = false;
    }
    contours += "}";
  }
  if (startPosition) widen(kStartX, kStartY);
  std::string tools;
  for (const auto& [station, height] : clearances)
    tools += std::string(tools.empty() ? "" : ",") + "\"" + std::to_string(station) + "\":" + Number(height);
  const bool switched = (row.traits & ncdialects::kSpindleByHand) == 0;
  const double tolerance = row.inch                                             ? kInchTolerance
                           : (row.traits & ncdialects::kHundredthSteps) != 0 ? kHundredthStepTolerance
                                                                             : 0.0;
  return std::string("{\"unit\":\"") + (row.inch ? "inch" : "mm") + "\"," +
         (tolerance > 0.0 ? "\"tolerance\":" + Number(tolerance) + "," : "") + "\"surfaceZ\":0,\"zSign\":" +
         std::to_string(row.zSign) + ",\"arcCentres\":\"" +
         (row.arcCentres == ncdialects::kArcAbsolute ? "absolute" : "incremental") + "\",\"clearance\":{" + tools +
         "},\"comments\":\"" + ((row.traits & ncdialects::kOtherComments) != 0 ? "other" : "parentheses") +
         "\",\"planar\":" + ((row.traits & ncdialects::kPlanar) != 0 ? "true" : "false") +
         ",\"feed\":\"" + ((row.traits & ncdialects::kFeedByControl) != 0 ? "control" : "program") + "\"" +
         ",\"lengthOffset\":" + ((row.traits & ncdialects::kLengthOffset) != 0 ? "true" : "false") +
         ",\"toolPreselect\":" + ((row.traits & ncdialects::kToolPreselect) != 0 ? "true" : "false") +
         ",\"spindle\":{\"switched\":" + (switched ? "true" : "false") + ",\"m6Stops\":true},\"area\":[" +
         Number(minX - kAreaMargin) + "," + Number(minY - kAreaMargin) + "," + Number(maxX + kAreaMargin) + "," +
         Number(maxY + kAreaMargin) + "],\"contours\":[" + contours + (contours.empty() ? "" : "]}") + "]}";
}

}  // namespace ncstrict
