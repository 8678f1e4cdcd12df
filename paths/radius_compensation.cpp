// Radius compensation driver.
#include "paths/radius_compensation.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "cad/contour_direction.h"
#include "frame/defaults.h"
#include "frame/math_constants.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "model/vector_store.h"
#include "paths/contour_offset.h"
#include "paths/contour_order.h"
#include "paths/offset_results.h"
#include "paths/offset_tolerances.h"
#include "paths/path_errors.h"
#include "paths/tool_table.h"
#include "platform/files.h"
#include "ui/spin_value.h"
#include "view/graphic_window.h"
#include "view/view_transform.h"

TCompensationStages CompensationStages = {ReduceContourPoints, OffsetContourFile, WriteJoinedOffsetPath};

void ResetCompensationStages() {
  CompensationStages = {ReduceContourPoints, OffsetContourFile, WriteJoinedOffsetPath};
}

namespace {

constexpr const char* kStoreFile = "VekAR1.TMP";
constexpr const char* kOrientedFile = "VekAR3.TMP";
constexpr const char* kResultFile = "VekAR10.TMP";
constexpr const char* kRingFileA = "VekAR11.TMP";
constexpr const char* kRingFileB = "VekAR8.TMP";
constexpr float kLimitAngle = 3.1415927f;
constexpr float kNoVertexX = 10000.0f;

void CreateEmptyFile(const std::string& name) { WriteVectorRecords(name, nullptr, 0, false); }

// Appends the records of source to target; colour >= 0 draws them.
void AppendVectorFile(const std::string& source, const std::string& target, int16_t colour) {
  std::vector<TVectorRecord> records;
  if (!ReadVectorRecords(source, -1, records)) return;
  if (!WriteVectorRecords(target, records.data(), records.size(), true)) ShowMessageNumber(8);
  if (colour >= 0 && !records.empty()) DrawVectorFile(source, 13, colour, 0);
}

void CopyVectorFile(const std::string& source, const std::string& target, int16_t colour) {
  std::vector<TVectorRecord> records;
  ReadVectorRecords(source, -1, records);
  if (!WriteVectorRecords(target, records.data(), records.size(), false)) ShowMessageNumber(8);
  if (colour >= 0 && !records.empty()) DrawVectorFile(source, 13, colour, 0);
}

bool IsPointType(uint8_t type) { return type == kRecLinePoint || type == kRec3DPoint; }

}  // namespace

void AssembleOffsetPath(const std::string& name, const std::string& output, uint8_t side, float p, float W,
                        int16_t colour, bool /*lastTry*/) {
  int tries = 0;
  const float step = std::min((p - W) / 2.0f, 0.01f);
  for (;;) {
    CompensationStages.joinPath(name, output, side, p, W, 0, colour);
    if (ErrorCode != 102) return;
    W += step;
    if (W > 0.999f * p) {
      W = 0.999f * p;
      tries = std::max(tries, 4);
    }
    ErrorCode = 0;
    ++tries;
    if (tries > kAssemblyRetries) {
      ErrorCode = 103;
      return;
    }
  }
}

void CompensateRadiusWithRetry(const std::string& input, const std::string& output, int16_t colour,
                               TCompensationSettings& settings, float W, float W2) {
  // A width this small would creep along the contour without end.
  if (!(W >= kMinCompensationWidth)) {
    ErrorCode = 100;
    return;
  }
  float t = 0.001f;
  float p = ComputeBasicTolerance(W);
  for (int run = 1;; ++run) {
    CompensationStages.reduce(input, kReducedPointsFile, colour, t, -float(settings.reductionMode), p, W2);
    if (CountVectorRecordsQuiet(kReducedPointsFile) <= 3) {
      ErrorCode = 100;
      return;
    }
    CompensationStages.offset(kReducedPointsFile, settings.sideFlag, p, settings.roundingAngle * kDegreeFloat,
                              kLimitAngle);
    if (ErrorCode > 0) return;
    AssembleOffsetPath("VekAR9", output, settings.sideFlag, p, W, 13, run == kCompensationRuns);
    if (ErrorCode != 103 || run >= kCompensationRuns) return;
    ErrorCode = 0;
    p = run == 1 ? 1.1f * p : 1.001f * W;
    if (settings.roundingAngle > 45.0f) {
      settings.roundingAngle = 45.0f;
    } else {
      settings.roundingAngle -= 1.0f;
    }
    t = t < 0.01f ? 2.0f * t : 1.1f * t;
  }
}

bool CompensateIntoCurrentLayer(bool sameSide, bool smallRounding, bool keepInput, float W) {
  ErrorCode = 0;
  if (!plat::FileExists(kStoreFile) || !(W >= kMinCompensationWidth)) return false;
  TCompensationSettings settings;
  ReadCompensationSettings(settings);
  settings.sideFlag = 1;
  settings.roundingAngle = smallRounding ? 20.0f : 160.0f;
  CreateEmptyFile(kOrientedFile);
  AppendContoursOriented(kStoreFile, kOrientedFile, false, false, false);
  if (!sameSide) ReverseFileContours(kOrientedFile, -1);
  CreateEmptyFile(kResultFile);
  CompensateRadiusWithRetry(kOrientedFile, kResultFile, 8, settings, W, W);
  bool appended = false;
  if (ErrorCode == 0) {
    const std::string layer = GetCurrentLayerFileName();
    const int16_t colour = GetCurrentLayerColour();
    if (keepInput) AppendVectorFile(kStoreFile, layer, colour);
    AppendVectorFile(kResultFile, layer, colour);
    appended = true;
  }
  if (ErrorCode > 0) ReportGlobalError();
  return appended;
}

bool CompensateOrClearSelection(int flags, float W) {
  TCompensationSettings settings;
  ReadCompensationSettings(settings);
  settings.sideFlag = 1;
  bool appended = false;
  const std::string layer = GetCurrentLayerFileName();
  const int16_t colour = GetCurrentLayerColour();
  if (!(W >= kMinCompensationWidth)) {
    // Refused before anything is copied: the frame clearing would otherwise
    // append the bare input.
    ErrorCode = 100;
  } else if ((flags & 4) == 0) {
    CreateEmptyFile(kResultFile);
    CompensateRadiusWithRetry(kStoreFile, kResultFile, 8, settings, W, W);
    if (ErrorCode == 0) {
      if ((flags & 2) != 0) AppendVectorFile(kStoreFile, layer, colour);
      AppendVectorFile(kResultFile, layer, colour);
      appended = true;
    }
  } else {
    TExtentsPair frame;
    ComputeFileExtents(kStoreFile, frame);
    GrowExtents(frame, W);
    TExtentsPair widened;
    MergeExtents(frame, LayoutArea, widened);
    CopyVectorFile(kStoreFile, kResultFile, colour);
    const float p3 = ComputeOffsetTolerance(LayoutArea, W);
    ClearByRepeatedOffsets(kStoreFile, kResultFile, GetFrameFileName(), colour, widened, 2, W, W, p3, settings);
    SortContoursNearestFirst(kResultFile, layer, kStoreFile, true, settings.linkAlways != 0, colour, W);
    if (ErrorCode == 100) ErrorCode = 0;
    appended = true;
  }
  if (ErrorCode > 0) ReportGlobalError();
  return appended;
}

bool CompensateWithToolRadius(int flags) {
  ErrorCode = 0;
  if (!plat::FileExists(kStoreFile)) return false;
  float W = GetCurrentToolCutRadius();
  if ((flags & 1) != 0) AskCompensationWidth(W);
  if (!(W >= kMinCompensationWidth)) return false;
  return CompensateOrClearSelection(flags, W);
}

void AskCompensationWidth(float& value) {
  uint8_t exitCode = 0;
  AskSpinValue(GetMessageText(1446, -39), 6, value, 0.0f, 1000.0f, 0.1f, exitCode);
  if (exitCode == 3) value = 0.0001f;
}

void ClearByRepeatedOffsets(const std::string& input, const std::string& output, const std::string& frameName,
                            int16_t colour, const TExtentsPair& extents, int flags, float W, float W3, float p3,
                            TCompensationSettings& settings) {
  if ((flags & 2) != 0) settings.sideFlag = 1;
  if ((flags & 1) != 0) {
    AssembleOffsetPath(input, kRingFileA, settings.sideFlag, p3, W3, colour, false);
  } else {
    CopyVectorFile(input, kRingFileA, -1);
  }
  const bool addFrame = (flags & 2) != 0 ? TestFileOutlineCounterClockwise(kRingFileA)
                                         : TestFileOutlineCounterClockwise(input) == (settings.sideFlag != 0);
  if (addFrame) AppendBoundaryContour(kRingFileA, kResultFile, frameName, settings.sideFlag, extents, colour);
  // Every ring lies W inside the last, so the area is used up after this
  // many; the bound keeps a ring that never vanishes from running forever.
  const double span = std::max(double(extents.maxCorner.x) - extents.minCorner.x,
                               double(extents.maxCorner.y) - extents.minCorner.y);
  const double most = std::isfinite(span) && W >= kMinCompensationWidth ? span / W + 10.0 : 0.0;
  for (double rings = 0; ErrorCode == 0 && rings < most; rings += 2) {
    CompensateRadiusWithRetry(kRingFileA, kRingFileB, -1, settings, W, W);
    if (ErrorCode != 0) break;
    AppendVectorFile(kRingFileB, output, colour);
    CompensateRadiusWithRetry(kRingFileB, kRingFileA, -1, settings, W, W);
    if (ErrorCode != 0) break;
    AppendVectorFile(kRingFileA, output, colour);
  }
  if (ErrorCode == 100) ErrorCode = 0;
}

void AppendBoundaryContour(const std::string& target, const std::string& scratch, const std::string& frameName,
                           uint8_t direction, const TExtentsPair& extents, int16_t colour) {
  if (!frameName.empty()) {
    if (direction == 1) {
      AppendVectorFile(frameName, target, -1);
    } else {
      CopyVectorFile(frameName, scratch, -1);
      ReverseFileContours(scratch, colour);
      AppendVectorFile(scratch, target, -1);
    }
    return;
  }
  const float x1 = extents.minCorner.x, y1 = extents.minCorner.y;
  const float x2 = extents.maxCorner.x, y2 = extents.maxCorner.y;
  TVectorRecord r[5] = {{kRecContourStart, x1, y1, 0.0f}};
  if (direction == 1) {
    r[1] = {kRecLinePoint, x1, y2, 0.0f};
    r[2] = {kRecLinePoint, x2, y2, 0.0f};
    r[3] = {kRecLinePoint, x2, y1, 0.0f};
  } else {
    r[1] = {kRecLinePoint, x2, y1, 0.0f};
    r[2] = {kRecLinePoint, x2, y2, 0.0f};
    r[3] = {kRecLinePoint, x1, y2, 0.0f};
  }
  r[4] = {kRecLinePoint, x1, y1, 0.0f};
  if (!WriteVectorRecords(target, r, 5, true)) ShowMessageNumber(8);
  if (colour >= 0) {
    SetPenColor(colour);
    for (const TVectorRecord& record : r) DrawVectorRecord(record);
  }
}

bool TestFileOutlineCounterClockwise(const std::string& file) {
  std::vector<TVectorRecord> records;
  ReadVectorRecords(file, -1, records);
  if (records.size() <= 3) return true;
  struct TPt {
    float x, y;
  };
  float leastX = kNoVertexX;
  TPt a{0, 0}, b{0, 0}, c{0, 0};
  // Contour state: its first point, the last two points seen.
  bool inContour = false;
  TPt first{0, 0}, prev{0, 0}, vertex{0, 0};
  int seen = 0;  // points of the current contour so far
  auto consider = [&](const TPt& p, const TPt& v, const TPt& n) {
    if (v.x <= leastX && (v.x != p.x || v.y != p.y)) {
      leastX = v.x;
      a = p;
      b = v;
      c = n;
    }
  };
  auto closeContour = [&]() {
    if (inContour && seen >= 2) consider(prev, vertex, first);
  };
  for (const TVectorRecord& r : records) {
    const TPt point{r.x, r.y};
    if (r.type == kRecContourStart) {
      closeContour();
      inContour = true;
      first = point;
      vertex = point;
      seen = 1;
    } else if (IsPointType(r.type) && inContour) {
      if (seen >= 2) consider(prev, vertex, point);
      prev = vertex;
      vertex = point;
      ++seen;
    }
  }
  closeContour();
  if (leastX >= kNoVertexX) return true;
  if (a.y != c.y) {
    const float u = (b.y - a.y) / (c.y - a.y);
    if (u >= 0.0f && u <= 1.0f) return u == 0.0f ? b.y > c.y : a.y > b.y;
  }
  const float level = std::fabs(b.y - a.y) < std::fabs(b.y - c.y) ? (a.y + b.y) / 2.0f : (b.y + c.y) / 2.0f;
  auto crossing = [level](const TPt& p, const TPt& q) {
    if (q.y == p.y) return kNoVertexX;
    const float s = (level - p.y) / (q.y - p.y);
    if (!(s > 0.0f && s < 1.0f)) return kNoVertexX;
    return p.x + s * (q.x - p.x);
  };
  return crossing(b, c) > crossing(a, b) ? a.y > b.y : b.y > c.y;
}

std::string GetFrameFileName() {
  if ((DisplayFlags & 64) != 0 && CountVectorRecordsQuiet(kFrameFileName) > 3) return kFrameFileName;
  return "";
}
