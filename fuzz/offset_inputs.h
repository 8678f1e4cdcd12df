// One input of the contour offset chain, shared by the libFuzzer target and
// the corpus replay test. The first byte chooses the settings; with its top
// bit set the rest is taken as a raw vector file, otherwise as a small
// program of contour steps that makes random and degenerate contours
// (zero-length segments, duplicate points, collinear runs, touching
// contours, huge and tiny coordinates). The contours go through point
// reduction, the offset engine, the result writer and its two wrappers, and
// the piece joiner. The run must end with a result or a numbered error.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "frame/defaults.h"
#include "model/vector_records.h"
#include "paths/contour_offset.h"
#include "paths/offset_results.h"
#include "paths/offset_tolerances.h"
#include "platform/files.h"
#include "paths/contour_chaining.h"

namespace fuzzinput {

// Error codes the chain may end with: none, Esc, the engine's codes, the
// joiner's and the input/output codes of the file wrappers.
inline bool IsOffsetChainResult(TErrorCode code) {
  return code <= 0 || (code >= 1 && code <= 14) || (code >= 100 && code <= 105) || (code >= 1000 && code <= 1100);
}

inline void BuildOffsetContours(const uint8_t* data, size_t size, std::vector<TVectorRecord>& records) {
  static const double kScales[] = {1e-6, 0.0004, 0.003, 0.1, 1.0, 10.0, 1e4, 1e6};
  double scale = 1.0, x = 0, y = 0, dx = 1, dy = 0;
  size_t contourStart = 0;
  for (size_t i = 0; i + 2 < size; i += 3) {
    const uint8_t op = data[i] & 7;
    const double a = int8_t(data[i + 1]), b = int8_t(data[i + 2]);
    switch (op) {
      case 0:  // new contour
        x = a * scale, y = b * scale;
        contourStart = records.size();
        records.push_back(TVectorRecord{kRecContourStart, float(x), float(y), 0});
        break;
      case 1:  // a step
        dx = a * scale, dy = b * scale, x += dx, y += dy;
        records.push_back(TVectorRecord{kRecLinePoint, float(x), float(y), 0});
        break;
      case 2:  // the same point again (zero-length segment)
        records.push_back(TVectorRecord{kRecLinePoint, float(x), float(y), 0});
        break;
      case 3:  // a collinear run of the last step
        for (int k = 0; k < 1 + (data[i + 1] & 15); ++k) {
          x += dx, y += dy;
          records.push_back(TVectorRecord{kRecLinePoint, float(x), float(y), 0});
        }
        break;
      case 4:  // close back to the contour's start
        if (contourStart < records.size()) {
          x = records[contourStart].x, y = records[contourStart].y;
          records.push_back(TVectorRecord{kRecLinePoint, float(x), float(y), 0});
        }
        break;
      case 5:  // change the scale
        scale = kScales[data[i + 1] & 7];
        break;
      case 6:  // a square touching the last point
        {
          const double s = (1 + (data[i + 1] & 31)) * scale;
          records.push_back(TVectorRecord{kRecContourStart, float(x), float(y), 0});
          records.push_back(TVectorRecord{kRecLinePoint, float(x + s), float(y), 0});
          records.push_back(TVectorRecord{kRecLinePoint, float(x + s), float(y + s), 0});
          records.push_back(TVectorRecord{kRecLinePoint, float(x), float(y + s), 0});
          records.push_back(TVectorRecord{kRecLinePoint, float(x), float(y), 0});
        }
        break;
      default:  // a record of another type
        records.push_back(TVectorRecord{uint8_t(data[i + 1]), float(a), float(b), 0});
        break;
    }
  }
}

// Runs the chain on one input; returns the error code it ended with.
inline TErrorCode OffsetContours(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t settings = data[0];
  std::vector<TVectorRecord> records;
  if (settings & 0x80) {
    records.resize((size - 1) / sizeof(TVectorRecord));
    if (!records.empty()) std::memcpy(records.data(), data + 1, records.size() * sizeof(TVectorRecord));
  } else {
    BuildOffsetContours(data + 1, size - 1, records);
  }
  std::ofstream(plat::HostPathOf("FUZZIN.TMP"), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(records.data()), std::streamsize(records.size() * sizeof(TVectorRecord)));

  static const float kDistances[] = {0.05f, 0.3f, 1.0f, 4.0f};
  static const float kAngles[] = {0.3490658f, 0.6283185f, 0.05f, 1.5f};
  static const float kModes[] = {-5.0f, -1.0f, -2.0f, -6.0f};
  const uint8_t side = settings & 1;
  const float b = kDistances[(settings >> 1) & 3];
  const float angle = kAngles[(settings >> 3) & 3];
  const float mode = kModes[(settings >> 5) & 3];
  const float c = ComputeBasicTolerance(b);

  ErrorCode = -2;
  ReduceContourPoints("FUZZIN.TMP", kReducedPointsFile, 0, 0.001f, mode, c, 0.0f);
  OffsetContourFile(kReducedPointsFile, side, c, angle, float(M_PI));
  TErrorCode result = ErrorCode;
  if (ErrorCode <= 0) {
    WriteOffsetResultFiles("FUZZSEC.TMP", "FUZZOUT.TMP", side, c, b, 0.0f, 0, -1, 1);
    WriteOffsetCornerFile(side, -1, 2, c, b, b / 2);
    result = ErrorCode > 0 && result <= 0 ? ErrorCode : result;
    ErrorCode = -2;
    WriteJoinedOffsetPath("FUZZSEC.TMP", "FUZZJOIN.TMP", side, c, b, 0, -1);
    result = ErrorCode > 0 && result <= 0 ? ErrorCode : result;
  }
  ErrorCode = -2;
  ChainContoursIntoFile("FUZZIN.TMP", "FUZZCHN.TMP", b);
  result = ErrorCode > 0 && result <= 0 ? ErrorCode : result;
  ErrorCode = 0;
  if (!IsOffsetChainResult(result)) __builtin_trap();
  return result;
}

}  // namespace fuzzinput
