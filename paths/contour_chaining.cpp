// Contour chaining and point thinning (see contour_chaining.h).
//
// Sections: file helpers; chaining; thinning of one contour; thinning a file.
#include "paths/contour_chaining.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "frame/defaults.h"
#include "frame/quiet_files.h"
#include "model/record_stream.h"
#include "platform/files.h"
#include "view/world_lines.h"

namespace {

// --- file helpers ------------------------------------------------------------------

// Whole file of vector records; a trailing part record is ignored. False when
// the file cannot be opened or memory is short.
bool ReadVectorRecords(const std::string& name, std::vector<TVectorRecord>& records) {
  records.clear();
  plat::TPasFile file;
  plat::Assign(file, name);
  const uint16_t before = QuietIoError;
  QuietIoError = 0;
  ResetFileQuiet(file, kVectorRecordSize, 0);
  if (QuietIoError != 0) return false;
  QuietIoError = before;
  const int64_t count = plat::FileSize(file);
  plat::IoResult();
  bool ok = true;
  if (count > 0) {
    try {
      records.resize(size_t(count));
    } catch (const std::bad_alloc&) {
      records.clear();
      ok = false;
    }
    uint32_t read = 0;
    if (ok) BlockReadQuiet(file, records.data(), uint32_t(records.size()), read);
    records.resize(read);
  }
  CloseFileQuiet(file);
  return ok;
}

struct TRecordSink {
  plat::TPasFile file;
  TRecordFileWriter out;  // every block is tried
};

constexpr uint32_t kSinkBlock = 5000;

void OpenSink(TRecordSink& sink, const std::string& name) {
  plat::Assign(sink.file, name);
  RewriteFileQuiet(sink.file, kVectorRecordSize);
  StartRecordFileWriter(sink.out, sink.file, kVectorRecordSize, kSinkBlock, BlockWriteQuiet, false);
}

void PutRecord(TRecordSink& sink, const TVectorRecord& record) { PutRecord(sink.out, &record); }

void CloseSink(TRecordSink& sink) {
  FlushRecordFileWriter(sink.out);
  CloseFileQuiet(sink.file);
}

// --- chaining ----------------------------------------------------------------------

struct TChainRun {
  std::vector<TVectorRecord> records;
  std::vector<TChainContour> contours;
  TRecordSink sink;
};

void SplitFileIntoContourTable(TChainRun& run) {
  run.contours.clear();
  const int32_t n = int32_t(run.records.size());
  int32_t i = 0;
  while (i < n && run.records[size_t(i)].type != kRecContourStart) ++i;
  while (i < n) {
    int32_t j = i + 1;
    while (j < n && run.records[size_t(j)].type != kRecContourStart) ++j;
    if (j - 1 > i) {  // a start record alone is dropped
      if (int32_t(run.contours.size()) >= kMaxChainContours) {
        ErrorCode = 101;
        return;
      }
      TChainContour c;
      c.first = i;
      c.last = j - 1;
      c.startX = run.records[size_t(i)].x;
      c.startY = run.records[size_t(i)].y;
      c.endX = run.records[size_t(j - 1)].x;
      c.endY = run.records[size_t(j - 1)].y;
      run.contours.push_back(c);
    }
    i = j;
  }
}

void CopyContourToOutput(TChainRun& run, int32_t index, bool withStart) {
  TChainContour& c = run.contours[size_t(index)];
  for (int32_t r = withStart ? c.first : c.first + 1; r <= c.last; ++r) {
    TVectorRecord record = run.records[size_t(r)];
    record.z = 0.0f;
    PutRecord(run.sink, record);
  }
  c.state = 255;
}

double Distance(float ax, float ay, float bx, float by) {
  return std::hypot(double(ax) - double(bx), double(ay) - double(by));
}

// Builds the chain that begins with contour i. Returns true when it closed.
// A trial (write false) only marks; an unfinished trial leaves nothing.
bool BuildContourChain(TChainRun& run, int32_t i, bool write, bool limited, double maxJoin) {
  const int32_t count = int32_t(run.contours.size());
  const float sx = run.contours[size_t(i)].startX;
  const float sy = run.contours[size_t(i)].startY;
  float ex = run.contours[size_t(i)].endX;
  float ey = run.contours[size_t(i)].endY;
  std::vector<int32_t> marked;
  if (write) CopyContourToOutput(run, i, true);
  bool closed = false;
  for (;;) {
    const double d = Distance(ex, ey, sx, sy);
    int32_t best = i;
    double bestDistance = d;
    for (int32_t j = i + 1; j < count && bestDistance > 0.0; ++j) {
      const TChainContour& c = run.contours[size_t(j)];
      if (c.state != 0) continue;
      const double dj = Distance(ex, ey, c.startX, c.startY);
      if (dj < bestDistance) {
        bestDistance = dj;
        best = j;
      }
    }
    if (limited && bestDistance >= maxJoin) break;
    if (best == i) {
      if (write && d > 0.0) PutRecord(run.sink, TVectorRecord{kRecLinePoint, sx, sy, 0.0f});
      closed = true;
      break;
    }
    ex = run.contours[size_t(best)].endX;
    ey = run.contours[size_t(best)].endY;
    if (write) {
      CopyContourToOutput(run, best, false);
    } else {
      run.contours[size_t(best)].state = 1;
      marked.push_back(best);
    }
  }
  for (int32_t m : marked) run.contours[size_t(m)].state = 0;
  return closed;
}

void ChainContoursPass(TChainRun& run, bool unlimited, double maxJoin) {
  for (int32_t i = 0; i < int32_t(run.contours.size()); ++i) {
    if (run.contours[size_t(i)].state != 0) continue;
    if (unlimited) {
      BuildContourChain(run, i, true, false, maxJoin);
    } else if (BuildContourChain(run, i, false, true, maxJoin)) {
      BuildContourChain(run, i, true, false, maxJoin);
    }
  }
}

}  // namespace

void ChainContoursIntoFile(const std::string& inputName, const std::string& outputName, float maxJoin) {
  TChainRun run;
  ReadVectorRecords(inputName, run.records);
  OpenSink(run.sink, outputName);
  if (run.records.size() < 4) {
    CloseSink(run.sink);
    ErrorCode = 100;
    return;
  }
  SplitFileIntoContourTable(run);
  if (ErrorCode == 101) {
    CloseSink(run.sink);
    return;
  }
  for (int32_t i = 0; i < int32_t(run.contours.size()); ++i) {
    const TChainContour& c = run.contours[size_t(i)];
    if (std::fabs(double(c.startX) - c.endX) <= kChainClosedTolerance &&
        std::fabs(double(c.startY) - c.endY) <= kChainClosedTolerance) {
      CopyContourToOutput(run, i, true);
    }
  }
  ChainContoursPass(run, false, maxJoin);
  ChainContoursPass(run, true, maxJoin);
  CloseSink(run.sink);
  if (ErrorCode > 0) return;
  if (run.sink.out.put < 4) {
    ErrorCode = 100;
    return;
  }
  for (const TChainContour& c : run.contours) {
    if (c.state != 255) {
      ErrorCode = 102;
      return;
    }
  }
}

void JoinPiecesIntoContours(const std::string& inputName, const std::string& outputName, float gap, uint8_t) {
  ChainContoursIntoFile(inputName, outputName, gap);
}

// --- thinning of one contour ----------------------------------------------------------

void GrowThinningTolerance(double& tolerance, double factor) {
  if (tolerance < 0.0045)
    tolerance *= 3.333;
  else
    tolerance *= factor;
}

namespace {

double DoubledArea(const TVectorRecord& l, const TVectorRecord& p, const TVectorRecord& n) {
  return std::fabs((double(l.x) - p.x) * (double(l.y) - n.y) - (double(l.x) - n.x) * (double(l.y) - p.y));
}

// Keeps the points whose triangle with the last kept point and the next
// point is larger than the tolerance; the last point is always kept.
void AreaPass(const std::vector<TVectorRecord>& p, int32_t n, double t, std::vector<TVectorRecord>& kept) {
  kept.clear();
  kept.push_back(p[0]);
  int32_t l = 0;
  for (int32_t i = 1; i <= n - 1; ++i) {
    if (DoubledArea(p[size_t(l)], p[size_t(i)], p[size_t(i + 1)]) > t) {
      kept.push_back(p[size_t(i)]);
      l = i;
    } else if (i - l - 1 > 2) {
      const int32_t m = i - (i - l) / 2;
      if (DoubledArea(p[size_t(l)], p[size_t(m)], p[size_t(i + 1)]) > t) {
        kept.push_back(p[size_t(m)]);
        l = m;
      }
    }
  }
  if (n >= 1) kept.push_back(p[size_t(n)]);
}

// Deviation of q from the line through b and a, along the line's minor axis.
double MinorAxisDeviation(const TVectorRecord& b, const TVectorRecord& a, const TVectorRecord& q) {
  const double dx = double(a.x) - b.x;
  const double dy = double(a.y) - b.y;
  if (std::fabs(dx) > std::fabs(dy)) return std::fabs(double(b.y) + dy * ((double(q.x) - b.x) / dx) - q.y);
  if (dy == 0.0) return std::max(std::fabs(double(q.x) - b.x), std::fabs(double(q.y) - b.y));
  return std::fabs(double(b.x) + dx * ((double(q.y) - b.y) / dy) - q.x);
}

// Drops the points that lie near the line from the last output point to
// the current anchor; closes the result back to its start.
void DistancePass(const std::vector<TVectorRecord>& k, double t, double eps, std::vector<TVectorRecord>& out) {
  out.clear();
  out.push_back(k[0]);
  if (k.size() >= 2) {
    TVectorRecord b = k[0];
    TVectorRecord a = k[1];
    TVectorRecord c = k[1];
    for (size_t j = 2; j < k.size(); ++j) {
      const TVectorRecord& q = k[j];
      if (std::fabs(double(q.x) - a.x) <= eps && std::fabs(double(q.y) - a.y) <= eps) continue;
      if (MinorAxisDeviation(b, a, q) > t) {
        out.push_back(c);
        b = c;
        a = q;
      }
      c = q;
    }
  }
  const TVectorRecord& first = k[0];
  TVectorRecord closing{kRecLinePoint, first.x, first.y, 0.0f};
  const TVectorRecord& lastOut = out.back();
  if (out.size() > 1 && lastOut.x == first.x && lastOut.y == first.y) return;
  if (out.size() == 1 || std::fabs(double(lastOut.x) - first.x) > eps ||
      std::fabs(double(lastOut.y) - first.y) > eps) {
    out.push_back(closing);
  } else {
    out.back() = closing;
  }
}

}  // namespace

void ThinContourPoints(const std::vector<TVectorRecord>& points, std::vector<TVectorRecord>& out, int32_t lastIndex,
                       double step, double& tolerance) {
  out.clear();
  if (points.empty() || lastIndex < 0) return;
  lastIndex = std::min<int32_t>(lastIndex, int32_t(points.size()) - 1);
  const double eps = 0.005 / step;
  std::vector<TVectorRecord> work(points.begin(), points.begin() + lastIndex + 1);
  std::vector<TVectorRecord> kept;
  for (;;) {
    AreaPass(work, int32_t(work.size()) - 1, tolerance, kept);
    DistancePass(kept, tolerance, eps, out);
    if (int32_t(out.size()) <= kMaxThinnedPoints) return;
    const int32_t excess = int32_t(out.size()) - kMaxThinnedPoints;
    GrowThinningTolerance(tolerance, excess > 500 ? 2.0 : 1.5);
    work = out;
  }
}

void ThinPointList(const std::vector<TVectorRecord>& input, std::vector<TVectorRecord>& output, int32_t count,
                   double tolerance, double step, int32_t& resultCount) {
  ThinContourPoints(input, output, count, step, tolerance);
  resultCount = int32_t(output.size());
}

// --- thinning a file ---------------------------------------------------------------------

double ComputeThinningStep(const std::string& inputName, float mode, float factor) {
  if (mode == -5.0f) return 1.0;
  double divisor = 0.0;
  if (mode == -1.0f) divisor = 50.0;
  if (mode == -2.0f) divisor = 100.0;
  if (mode == -3.0f) divisor = 200.0;
  if (mode == -4.0f) divisor = 500.0;
  double step = 1.0;
  if (divisor > 0.0) {
    std::vector<TVectorRecord> records;
    ReadVectorRecords(inputName, records);
    double x1 = 1e300, y1 = 1e300, x2 = -1e300, y2 = -1e300;
    for (const TVectorRecord& r : records) {
      if (r.type < kRecLinePoint || r.type > kRec3DPoint) continue;
      if (!std::isfinite(r.x) || !std::isfinite(r.y)) continue;
      x1 = std::min(x1, double(r.x));
      x2 = std::max(x2, double(r.x));
      y1 = std::min(y1, double(r.y));
      y2 = std::max(y2, double(r.y));
    }
    const double w = std::max(x2 - x1, y2 - y1);
    if (w > 0.0) step = w / divisor;
  }
  if (factor > 1.0f) step *= factor;
  return step;
}

namespace {

struct TThinRun {
  TRecordSink sink;
  double step = 1.0;
  double tolerance = kLeastThinTolerance;
  int16_t colour = 0;
};

// Coarse pre-pass for a contour too long for the in-memory buffer: area
// passes with a growing tolerance until at most 9999 points remain. The
// points stay in memory (the streamed scratch file is not needed here).
void ThinLongContour(TThinRun& run, std::vector<TVectorRecord>& points) {
  std::vector<TVectorRecord> kept;
  for (;;) {
    AreaPass(points, int32_t(points.size()) - 1, run.tolerance, kept);
    points.swap(kept);
    if (int32_t(points.size()) - 1 <= kThinPrePassPoints) return;
    GrowThinningTolerance(run.tolerance, 2.0);
  }
}

void WriteThinnedContour(TThinRun& run, const std::vector<TVectorRecord>& points) {
  std::vector<TVectorRecord> out;
  double tolerance = run.tolerance;
  ThinContourPoints(points, out, int32_t(points.size()) - 1, run.step, tolerance);
  if (out.size() < 4) return;
  if (run.colour > 0) SetLinePenMode(13, run.colour);
  for (TVectorRecord r : out) {
    r.x = float(double(r.x) * run.step);
    r.y = float(double(r.y) * run.step);
    PutRecord(run.sink, r);
    if (run.colour > 0) {
      if (r.type == kRecContourStart)
        MovePenToWorldPoint(r.x, r.y);
      else
        DrawLineToWorldPoint(r.x, r.y);
    }
  }
}

void ProcessThinContour(TThinRun& run, std::vector<TVectorRecord>& points) {
  if (int32_t(points.size()) - 1 > kThinInMemoryPoints) ThinLongContour(run, points);
  WriteThinnedContour(run, points);
}

}  // namespace

void ThinContoursInFile(const std::string& inputName, const std::string& outputName, int16_t colour, float mode,
                        float factor, float tolerance) {
  if (!FileExistsPlain(inputName)) return;
  if (mode == -6.0f) {
    CopyFileBytes(inputName, outputName, false);
    return;
  }
  TThinRun run;
  run.colour = colour;
  run.tolerance = std::isfinite(tolerance) ? std::max(tolerance, kLeastThinTolerance) : kLeastThinTolerance;
  run.step = ComputeThinningStep(inputName, mode, factor);
  if (!(run.step > 0.0) || !std::isfinite(run.step)) run.step = 1.0;
  std::vector<TVectorRecord> records;
  ReadVectorRecords(inputName, records);
  OpenSink(run.sink, outputName);
  std::vector<TVectorRecord> contour;
  bool inContour = false;
  for (const TVectorRecord& r : records) {
    const double sx = double(r.x) / run.step;
    const double sy = double(r.y) / run.step;
    const bool usable = std::isfinite(sx) && std::isfinite(sy) && std::fabs(sx) < 1e30 && std::fabs(sy) < 1e30;
    if (r.type == kRecContourStart) {
      if (inContour && contour.size() > 2) ProcessThinContour(run, contour);
      contour.clear();
      inContour = usable;  // a start without a usable point begins no contour
    } else if (r.type != kRecLinePoint || !inContour) {
      continue;
    }
    if (!usable) continue;
    TVectorRecord scaled = r;
    scaled.x = float(sx);
    scaled.y = float(sy);
    contour.push_back(scaled);
  }
  if (inContour && contour.size() > 2) ProcessThinContour(run, contour);
  CloseSink(run.sink);
}

void ThinContourPointsInFile(const std::string& sourceName, const std::string& targetName, int16_t colour,
                             float tolerance, float mode, float stepFactor, float) {
  ThinContoursInFile(sourceName, targetName, colour, mode, stepFactor, tolerance);
}
