// Uses of the offset engine's raw chain besides the joined path.
#include "paths/offset_variants.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "frame/defaults.h"
#include "frame/math_constants.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "model/vector_store.h"
#include "paths/compensation_settings.h"
#include "paths/contour_offset.h"
#include "paths/hatching.h"
#include "paths/offset_results.h"
#include "paths/offset_tolerances.h"
#include "paths/path_errors.h"
#include "paths/point_files.h"
#include "paths/radius_compensation.h"
#include "paths/tool_table.h"
#include "platform/files.h"
#include "ui/prompt_strip.h"
#include "view/view_transform.h"

namespace {

constexpr const char* kStoreFile = "VekAR1.TMP";
constexpr const char* kPiecesFile = "VekAR2.TMP";
constexpr const char* kDepthFile = "VekAR3.TMP";
constexpr const char* kHatchSource = "VekH2R0.H2R";
constexpr const char* kHatchLines = "VekH2R1.H2R";
constexpr float kLimitAngle = 3.1415927f;
constexpr float kCornerLimitAngle = 0.62831855f;  // pi / 5

// The chain file whole; false (and nothing) when it is missing or broken.
bool LoadChain(const std::string& name, std::vector<TOffsetRecord>& chain) {
  return LoadOffsetRecordFile(name, chain);
}

bool WriteAll(const std::string& name, const std::vector<TVectorRecord>& records, bool append) {
  return WriteVectorRecords(name, records.data(), records.size(), append);
}

// Output with the shared write rule: a record that repeats the last written
// type and point is not written again.
struct TPathWriter {
  std::vector<TVectorRecord> records;
  void Put(uint8_t type, double x, double y, float z = 0.0f) {
    const TVectorRecord r{type, float(x), float(y), z};
    if (!records.empty()) {
      const TVectorRecord& last = records.back();
      if (last.type == r.type && last.x == r.x && last.y == r.y) return;
    }
    records.push_back(r);
  }
};

// Reduction of the selection with the settings' mode.
void ReduceSelection(const TCompensationSettings& settings, float stepFactor) {
  ReduceContourPoints(kStoreFile, kReducedPointsFile, 7, 0.0001f, -float(settings.reductionMode), stepFactor, 0.001f);
}

void HatchLastOffset(const std::string& target, const std::string& frameName, uint8_t insideFlag, int16_t colour,
                     const TExtentsPair& extents, float angle, float margin, float spacing, bool toLayer) {
  std::vector<TOffsetRecord> chain;
  if (!LoadChain(kOffsetChainFile, chain) || chain.size() * kOffsetRecordSize <= 75) return;
  // The hatching refuses such a spacing itself; checked here before it is
  // used for the rectangle.
  if (!(spacing >= kMinHatchSpacing)) {
    ErrorCode = kHatchTooDense + 20;
    return;
  }
  float minX, minY, maxX, maxY;
  ConvertOffsetPointsWithBounds(minX, minY, maxX, maxY);
  const float m = spacing / 4.0f;
  const float leastX = extents.minCorner.x, leastY = extents.minCorner.y;
  const float mostX = extents.maxCorner.x, mostY = extents.maxCorner.y;
  THatchParams params;
  params.leftX = std::min(minX - m, leastX);
  params.lowerY = std::min(minY - m, leastY);
  params.rightX = std::max(maxX + m, mostX);
  params.upperY = std::max(maxY + m, mostY);
  params.spacing = spacing;
  params.safety = std::max(spacing / 2.0f - margin, spacing / 4.0f);
  params.angle = angle;
  params.inside = insideFlag;
  params.join = toLayer ? 0 : 1;
  params.oneWay = toLayer ? 1 : 0;
  if (insideFlag == 0 && !frameName.empty()) {
    ConvertVectorFileToPointFile(frameName, kHatchSource, true);
    params.inside = 1;
  }
  uint8_t result = 0;
  HatchContourFile(kHatchSource, kHatchLines, colour, params, 1, result);
  if (result != 0) ErrorCode = result + 20;
  plat::DeleteFileByName(kHatchSource);
  if (result == 0 && !toLayer && !frameName.empty() && std::fabs(angle) > 0.01f) {
    ConvertVectorFileToPointFile(frameName, kHatchLines, true);
  }
  if (result == 0) {
    if (toLayer && !plat::FileExists(target)) WriteVectorRecords(target, nullptr, 0, false);
    ConvertPointFileToVectorFile(kHatchLines, target, toLayer);
  }
  plat::DeleteFileByName(kHatchLines);
}

void DrawWithCurrentPen(const std::string& name) {
  std::vector<TVectorRecord> records;
  ReadVectorRecords(name, -1, records);
  for (const TVectorRecord& r : records) DrawVectorRecord(r);
}

void DrawChainWithCurrentPen(const std::string& name) {
  std::vector<TOffsetRecord> chain;
  LoadChain(name, chain);
  for (const TOffsetRecord& c : chain) {
    DrawVectorRecord(TVectorRecord{c.type == kOffsetContourStart ? uint8_t(kRecContourStart) : uint8_t(kRecLinePoint),
                                   float(c.x), float(c.y), 0.0f});
  }
}

}  // namespace

void HatchInsideLastOffset(const std::string& target, const std::string& frameName, uint8_t insideFlag,
                           int16_t colour, const TExtentsPair& extents, float angle, float margin, float spacing) {
  HatchLastOffset(target, frameName, insideFlag, colour, extents, angle, margin, spacing, false);
}

void HatchInsideLastOffsetToLayer(const std::string& target, const std::string& frameName, uint8_t insideFlag,
                                  int16_t colour, const TExtentsPair& extents, float angle, float margin,
                                  float spacing) {
  HatchLastOffset(target, frameName, insideFlag, colour, extents, angle, margin, spacing, true);
}

bool AppendPointsWithoutRepeats(const std::string& source, const std::string& target, int16_t colour) {
  std::vector<TVectorRecord> in;
  ReadVectorRecords(source, -1, in);
  std::vector<TVectorRecord> out;
  out.reserve(in.size());
  bool havePoint = false;
  float lastX = 0, lastY = 0;
  for (const TVectorRecord& r : in) {
    const float x = r.x, y = r.y;
    if (r.type == kRecContourStart) {
      out.push_back({kRecContourStart, x, y, 0.0f});
    } else if (r.type == kRecLinePoint || r.type == kRec3DPoint) {
      if (havePoint && std::fabs(x - lastX) <= kRepeatedPointGap && std::fabs(y - lastY) <= kRepeatedPointGap) {
        continue;
      }
      out.push_back({kRecLinePoint, x, y, 0.0f});
    } else {
      continue;
    }
    havePoint = true;
    lastX = x;
    lastY = y;
  }
  const bool ok = WriteAll(target, out, true);
  if (!ok) ShowMessageNumber(8);
  if (colour >= 0) {
    SetPenColor(colour);
    for (const TVectorRecord& r : out) DrawVectorRecord(r);
  }
  return ok;
}

bool WriteCornerStopPath(const std::string& chain, const std::string& target, float W, int16_t colour) {
  std::vector<TOffsetRecord> points;
  LoadChain(chain, points);
  TPathWriter out;
  const double reach = double(W) + 0.01;
  int state = 0;
  bool startPending = false;
  double px = 0, py = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    const TOffsetRecord r = points[i];
    const bool near = r.value < kCornerStopNear;
    if (r.type == kOffsetContourStart) {
      state = near ? 2 : 0;
      px = r.x;
      py = r.y;
      startPending = true;
      continue;
    }
    if (r.type != kOffsetLinePoint && r.type != kRec3DPoint) continue;
    if (r.x == px && r.y == py) continue;
    if (near) state |= 1;
    const double dx = r.x - px, dy = r.y - py;
    const double length = std::sqrt(dx * dx + dy * dy);
    switch (state) {
      case 0:
        if (startPending) {
          out.Put(kRecContourStart, px, py);
          startPending = false;
        }
        out.Put(kRecLinePoint, r.x, r.y);
        break;
      case 1:
        if (length > reach) {
          // A piece that begins the path needs its start record, or it
          // would be drawn from wherever the previous path ended.
          if (startPending) {
            out.Put(kRecContourStart, px, py);
            startPending = false;
          }
          const double f = (length - W) / length;
          out.Put(kRecLinePoint, px + f * dx, py + f * dy);
        }
        break;
      case 2:
        if (length > reach) {
          out.Put(startPending ? kRecContourStart : kRecLinePoint, r.x, r.y);
          startPending = false;
        }
        break;
      default:
        break;
    }
    state = near ? 2 : 0;
    px = r.x;
    py = r.y;
  }
  const bool ok = WriteAll(target, out.records, false);
  if (!ok) ShowMessageNumber(8);
  if (colour >= 0) {
    SetPenColor(colour);
    for (const TVectorRecord& r : out.records) DrawVectorRecord(r);
  }
  return ok;
}

bool WriteDepthPoints(const std::string& chain, const std::string& target, int16_t colour, double& largest) {
  std::vector<TOffsetRecord> points;
  LoadChain(chain, points);
  std::vector<TVectorRecord> out;
  largest = 0;
  bool havePoint = false;
  double lastX = 0, lastY = 0;
  for (const TOffsetRecord& record : points) {
    const TOffsetRecord r = record;
    const double value = r.value;
    const float z = float(value);
    if (r.type == kOffsetContourStart) {
      out.push_back({kRecContourStart, float(r.x), float(r.y), z});
      out.push_back({kRec3DPoint, float(r.x), float(r.y), z});
    } else if (r.type == kOffsetLinePoint || r.type == kRec3DPoint) {
      if (havePoint && std::fabs(r.x - lastX) <= kRepeatedPointGap && std::fabs(r.y - lastY) <= kRepeatedPointGap) {
        continue;
      }
      out.push_back({kRec3DPoint, float(r.x), float(r.y), z});
    } else {
      continue;
    }
    if (std::isfinite(value) && value > largest) largest = value;
    havePoint = true;
    lastX = r.x;
    lastY = r.y;
  }
  if (largest > 0.0 && largest < 1.0) {
    for (TVectorRecord& r : out) r.z = float(r.z / largest);
  }
  const bool ok = WriteAll(target, out, false);
  if (!ok) ShowMessageNumber(8);
  if (colour >= 0) DrawVectorFile(target, 13, colour, 0);
  return ok;
}

bool CompensateSelectionUnjoined(float W) {
  TCompensationSettings settings;
  ReadCompensationSettings(settings);
  settings.sideFlag = 1;
  const float p = ComputeOffsetTolerance(LayoutArea, W);
  ReduceSelection(settings, p);
  DrawPanelBackground();
  if (CountVectorRecordsQuiet(kReducedPointsFile) <= 0) return false;
  OffsetContourFile(kReducedPointsFile, 1, p, settings.roundingAngle * kDegreeFloat, kLimitAngle);
  DrawPanelBackground();
  bool appended = false;
  if (ErrorCode == 0) {
    WriteOffsetResultFiles("VekAR9", kPiecesFile, settings.sideFlag, p, W, 0.0f, 0, 13, 1);
    AppendPointsWithoutRepeats(kPiecesFile, GetCurrentLayerFileName(), GetCurrentLayerColour());
    appended = true;
  }
  if (ErrorCode > 0) ReportGlobalError();
  return appended;
}

bool CompensateUnjoinedWithToolRadius(int flags) {
  ErrorCode = 0;
  float W = GetCurrentToolCutRadius();
  if ((flags & 1) != 0) AskCompensationWidth(W);
  if (!(W >= kMinCompensationWidth)) return false;
  return CompensateSelectionUnjoined(W);
}

bool CompensateWithCornerStops(float W) {
  TCompensationSettings settings;
  ReadCompensationSettings(settings);
  ReduceSelection(settings, W);
  DrawPanelBackground();
  if (CountVectorRecordsQuiet(kReducedPointsFile) <= 0) return false;
  OffsetContourFile(kReducedPointsFile, 1, W, settings.roundingAngle * kDegreeFloat, kCornerLimitAngle);
  DrawPanelBackground();
  bool appended = false;
  if (ErrorCode == 0) {
    DrawChainWithCurrentPen(kOffsetChainFile);
    WriteCornerStopPath(kOffsetChainFile, kPiecesFile, W, -1);
    if (AskYesNoMessage(44) != 0) {
      DrawWithCurrentPen(kStoreFile);
      std::vector<TVectorRecord> path;
      ReadVectorRecords(kPiecesFile, -1, path);
      if (!WriteAll(GetCurrentLayerFileName(), path, true)) ShowMessageNumber(8);
      DrawVectorFile(kPiecesFile, 13, GetCurrentLayerColour(), 0);
      appended = true;
    } else {
      DrawWithCurrentPen(kPiecesFile);
    }
  }
  if (ErrorCode > 0) ReportGlobalError();
  return appended;
}

void EngraveDepthFromOffset(uint8_t side, float W, float limitAngle) {
  ErrorCode = 0;
  if (!plat::FileExists(kStoreFile) || !(W >= kMinCompensationWidth)) return;
  TCompensationSettings settings;
  ReadCompensationSettings(settings);
  ReduceSelection(settings, W);
  ResetDrawingArea();
  if (CountVectorRecordsQuiet(kReducedPointsFile) <= 0) return;
  const float p = ComputeOffsetTolerance(LayoutArea, W);
  OffsetContourFile(kReducedPointsFile, side, p, settings.roundingAngle * kDegreeFloat, limitAngle);
  if (ErrorCode == 0) {
    FlushVectorStoreToCurrentLayer();
    double largest = 0;
    WriteDepthPoints(kOffsetChainFile, kDepthFile, GetCurrentLayerColour(), largest);
    std::vector<TVectorRecord> path;
    ReadVectorRecords(kDepthFile, -1, path);
    if (!WriteAll(kStoreFile, path, false)) ShowMessageNumber(8);
    StoreHoldsData = 1;
    DrawVectorFile(kStoreFile, 13, 12, 0);
  }
  if (ErrorCode > 0) ReportGlobalError();
}

void AskAndEngraveDepth(float limitAngle) {
  float W = 1.0f;
  AskCompensationWidth(W);
  if (W >= kMinCompensationWidth) EngraveDepthFromOffset(1, W, limitAngle);
}
