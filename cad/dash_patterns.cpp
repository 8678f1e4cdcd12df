#include "cad/dash_patterns.h"

#include <cmath>

#include "model/geometry_tolerances.h"
#include "frame/quiet_files.h"

namespace {

struct TDashState {
  TDashPattern base{};
  double lengths[kMaxDashElements] = {};  // the working copy, fitted per contour
  int count = 1;
  int index = 1;  // next element, 1 .. count
  double remaining = 0.0;
  bool drawn = true;
  TVectorRecord last{};
  std::vector<TVectorRecord>* output = nullptr;
  bool overflow = false;
};

void NextDashElement(TDashState& s) {
  if (s.index > s.count) s.index = 1;
  const double length = s.lengths[s.index - 1];
  s.remaining = std::fabs(length);
  s.drawn = length >= 0.0;
  ++s.index;
}

void EmitDashRecord(TDashState& s, const TVectorRecord& r) {
  if (static_cast<int64_t>(s.output->size()) >= kMaxDashOutputRecords) {
    s.overflow = true;
    return;
  }
  s.output->push_back(r);
}

void FitDashPatternToContour(TDashState& s, double contourLength, bool fit) {
  for (int i = 0; i < kMaxDashElements; ++i) s.lengths[i] = s.base.lengths[i];
  if (!fit || s.count < 2 || !(s.base.total > 0.0f)) return;
  const double n = std::nearbyint(contourLength / s.base.total);
  if (n < 2.0) return;
  const double scale = contourLength / n / s.base.total;
  for (int i = 0; i < s.count; ++i) s.lengths[i] *= scale;
}

// The rest of the segment after the splits: drawn records are emitted and
// the element's remaining length shrinks.
void FinishDashRecord(TDashState& s, const TVectorRecord& r, double rest) {
  if (rest == 0.0) return;
  if (s.drawn) EmitDashRecord(s, r);
  s.remaining -= rest;
}

void DashContour(TDashState& s, const std::vector<TVectorRecord>& contour, bool fit, double contourLength) {
  FitDashPatternToContour(s, contourLength, fit);
  for (const TVectorRecord& r : contour) {
    if (r.type == kRecContourStart) {
      s.index = 1;
      NextDashElement(s);
      EmitDashRecord(s, r);
    } else if (r.type == kRecLinePoint || r.type == kRec3DPoint) {
      if (s.count == 1) {
        EmitDashRecord(s, r);
      } else {
        const double dx = double(r.x) - s.last.x, dy = double(r.y) - s.last.y;
        const double length = std::hypot(dx, dy);
        double rest = length;
        double along = 0.0;
        // Zero-length elements still count: a piece of no length is a point.
        while (rest > s.remaining + kDashTolerance || (rest > 0.0 && s.remaining == 0.0)) {
          along += s.remaining;
          TVectorRecord cut{};
          const double t = length > 0.0 ? along / length : 0.0;
          cut.x = static_cast<float>(s.last.x + dx * t);
          cut.y = static_cast<float>(s.last.y + dy * t);
          if (s.drawn) {
            cut.type = r.type;
            cut.z = r.z;
          } else {
            cut.type = kRecContourStart;
            cut.z = 0.0f;
          }
          EmitDashRecord(s, cut);
          rest -= s.remaining;
          NextDashElement(s);
          if (s.overflow) return;
        }
        if (rest < 0.0) rest = 0.0;
        // Within the tolerance the element ends on the record itself.
        if (rest > s.remaining) rest = s.remaining;
        FinishDashRecord(s, r, rest);
      }
    }
    s.last = r;
    if (s.overflow) return;
  }
}

}  // namespace

bool ApplyDashPattern(const TVectorRecord* input, int32_t count, std::vector<TVectorRecord>& output, bool fit,
                      TDashPattern pattern, int32_t& outputCount) {
  output.clear();
  outputCount = 0;
  if (pattern.count < 1 || pattern.count > kMaxDashElements) return false;
  // Repeating elements that are all of no length would never get along a
  // segment.
  double sum = 0.0;
  for (int i = 0; i < pattern.count; ++i) sum += std::fabs(double(pattern.lengths[i]));
  if (pattern.count >= 2 && !(sum > 0.0)) return false;
  if (!std::isfinite(sum)) return false;
  TDashState s;
  s.base = pattern;
  s.count = pattern.count;
  s.output = &output;
  s.index = 1;
  for (int i = 0; i < kMaxDashElements; ++i) s.lengths[i] = pattern.lengths[i];
  NextDashElement(s);
  std::vector<TVectorRecord> contour;
  double contourLength = 0.0;
  for (int32_t i = 0; i < count && input != nullptr; ++i) {
    TVectorRecord r = input[i];
    if (r.type != kRecContourStart && r.type != kRecLinePoint && r.type != kRec3DPoint) continue;
    if (r.type == kRecContourStart && !contour.empty()) {
      DashContour(s, contour, fit, contourLength);
      contour.clear();
      contourLength = 0.0;
    }
    // Points before any start: the first of them starts their contour.
    if (contour.empty()) r.type = kRecContourStart;
    else contourLength += std::hypot(double(r.x) - contour.back().x, double(r.y) - contour.back().y);
    contour.push_back(r);
    if (s.overflow) break;
  }
  if (!contour.empty() && !s.overflow) DashContour(s, contour, fit, contourLength);
  if (s.overflow) {
    output.clear();
    return false;
  }
  outputCount = static_cast<int32_t>(output.size());
  return true;
}

void DashVectorFile(const std::string& source, const std::string& target, const TDashPattern& pattern, bool fit) {
  QuietIoError = 0;
  TVectorArray array;
  const int64_t bytes = GetFileByteSizeQuiet(source);
  LoadRecordArray(source, array);
  if (bytes > 0 && array.count == 0) {
    if (QuietIoError == 0) QuietIoError = 1011;
    FreeRecordArray(array);
    return;
  }
  std::vector<TVectorRecord> output;
  int32_t outputCount = 0;
  const bool ok = ApplyDashPattern(array.records, array.count, output, fit, pattern, outputCount);
  FreeRecordArray(array);
  if (!ok) {
    QuietIoError = 1101;
    return;
  }
  TVectorArray result;
  result.records = output.data();
  result.count = outputCount;
  result.capacity = outputCount;
  WriteRecordArrayToFile(target, result);
}
