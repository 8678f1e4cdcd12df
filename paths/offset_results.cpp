// Offset work files and the result writer (see offset_results.h).
//
// Sections: work file access; the main walk of one segment; the second
// (corner) output; WriteOffsetResultFiles and its wrappers.
#include "paths/offset_results.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "frame/defaults.h"
#include "platform/files.h"
#include "frame/quiet_files.h"
#include "view/world_lines.h"
#include "paths/contour_chaining.h"

const char* const kOffsetIndexFile = "VekAR5.TMP";
const char* const kOffsetChainFile = "VekAR6.TMP";
const char* const kOffsetContourFile = "VekAR7.TMP";
const char* const kOffsetOverflowFile = "VekAR3.TMP";
const char* const kReducedPointsFile = "VekAR9.TMP";

double GetOffsetPointSpacing(int16_t spacingIndex) {
  static const double kSpacing[] = {0.002, 0.002, 0.0025, 0.001, 0.0005, 0.0002};
  return spacingIndex >= 1 && spacingIndex <= 5 ? kSpacing[spacingIndex] : 0.002;
}

// --- work file access ----------------------------------------------------------------

namespace {

// Whole file as bytes in whole records of recordSize; false when missing,
// unreadable, too large for memory or not a whole number of records.
bool LoadWholeRecords(const std::string& name, uint32_t recordSize, std::vector<uint8_t>& bytes) {
  bytes.clear();
  plat::TPasFile file;
  plat::Assign(file, name);
  plat::IoResult();
  plat::gFileMode = 0;
  plat::Reset(file, 1);
  plat::gFileMode = 2;
  int result = plat::IoResult();
  if (result != 0) {
    QuietIoError = uint16_t(result);
    return false;
  }
  const int64_t size = plat::FileSize(file);
  plat::IoResult();
  bool ok = size >= 0 && size % recordSize == 0;
  if (ok && size > 0) {
    try {
      bytes.resize(size_t(size));
    } catch (const std::bad_alloc&) {
      ok = false;
    }
    size_t done = 0;
    while (ok && done < bytes.size()) {
      const uint32_t part = uint32_t(std::min<size_t>(bytes.size() - done, 1u << 30));
      uint32_t got = 0;
      plat::BlockRead(file, bytes.data() + done, part, &got);
      result = plat::IoResult();
      if (result != 0 || got != part) {
        QuietIoError = uint16_t(result != 0 ? result : 100);
        ok = false;
      }
      done += part;
    }
  }
  plat::Close(file);
  plat::IoResult();
  if (!ok) bytes.clear();
  return ok;
}

bool SaveWholeBytes(const std::string& name, const void* data, size_t size) {
  plat::TPasFile file;
  plat::Assign(file, name);
  plat::IoResult();
  plat::Rewrite(file, 1);
  int result = plat::IoResult();
  if (result != 0) {
    QuietIoError = uint16_t(result);
    return false;
  }
  bool ok = true;
  size_t done = 0;
  while (done < size) {
    const uint32_t part = uint32_t(std::min<size_t>(size - done, 1u << 30));
    uint32_t put = 0;
    plat::BlockWrite(file, static_cast<const uint8_t*>(data) + done, part, &put);
    result = plat::IoResult();
    if (result != 0 || put != part) {
      QuietIoError = uint16_t(result != 0 ? result : 101);
      ok = false;
      break;
    }
    done += part;
  }
  plat::Close(file);
  result = plat::IoResult();
  if (result != 0) {
    QuietIoError = uint16_t(result);
    ok = false;
  }
  return ok;
}

}  // namespace

bool LoadOffsetRecordFile(const std::string& name, std::vector<TOffsetRecord>& out) {
  out.clear();
  std::vector<uint8_t> bytes;
  if (!LoadWholeRecords(name, kOffsetRecordSize, bytes)) return false;
  out.resize(bytes.size() / kOffsetRecordSize);
  if (!out.empty()) std::memcpy(out.data(), bytes.data(), bytes.size());
  return true;
}

bool LoadOffsetIndexFile(const std::string& name, std::vector<int32_t>& out) {
  out.clear();
  std::vector<uint8_t> bytes;
  if (!LoadWholeRecords(name, kOffsetIndexEntrySize, bytes)) return false;
  out.resize(bytes.size() / kOffsetIndexEntrySize);
  if (!out.empty()) std::memcpy(out.data(), bytes.data(), bytes.size());
  return true;
}

bool SaveOffsetRecordFile(const std::string& name, const std::vector<TOffsetRecord>& records) {
  return SaveWholeBytes(name, records.data(), records.size() * sizeof(TOffsetRecord));
}

bool SaveOffsetIndexFile(const std::string& name, const std::vector<int32_t>& entries) {
  return SaveWholeBytes(name, entries.data(), entries.size() * sizeof(int32_t));
}

namespace {

// One block through the platform layer: a failure, or a short block (101),
// goes to the quiet error word only; ErrorCode is left alone.
void WriteOffsetFileBlock(plat::TPasFile& f, const void* buffer, uint32_t n, uint32_t& count) {
  count = 0;
  plat::IoResult();
  plat::BlockWrite(f, buffer, n, &count);
  const int result = plat::IoResult();
  if (result != 0 || count != n) QuietIoError = uint16_t(result != 0 ? result : 101);
  if (result != 0) count = 0;
}

void PutBytes(TOffsetFileWriter& writer, const void* data) {
  if (writer.file == nullptr) return;
  PutRecord(writer.out, data);
  if (writer.out.failed) writer.ok = false;
}

}  // namespace

bool OpenOffsetFileWriter(TOffsetFileWriter& writer, const std::string& name, uint32_t recordSize) {
  CloseOffsetFileWriter(writer);
  auto* file = new plat::TPasFile;
  plat::Assign(*file, name);
  plat::IoResult();
  plat::Rewrite(*file, 1);
  const int result = plat::IoResult();
  writer.file = file;
  StartRecordFileWriter(writer.out, *file, recordSize, kOffsetFileBlock, WriteOffsetFileBlock);
  writer.ok = result == 0;
  writer.out.failed = !writer.ok;  // nothing reaches a file that did not open
  if (!writer.ok) QuietIoError = uint16_t(result);
  return writer.ok;
}

void PutOffsetRecord(TOffsetFileWriter& writer, const TOffsetRecord& record) {
  if (writer.out.recordSize == kOffsetRecordSize) PutBytes(writer, &record);
}

void PutOffsetIndexEntry(TOffsetFileWriter& writer, int32_t entry) {
  if (writer.out.recordSize == kOffsetIndexEntrySize) PutBytes(writer, &entry);
}

void CloseOffsetFileWriter(TOffsetFileWriter& writer) {
  if (writer.file == nullptr) return;
  FlushRecordFileWriter(writer.out);
  if (writer.out.failed) writer.ok = false;
  auto* file = static_cast<plat::TPasFile*>(writer.file);
  plat::IoResult();
  plat::Close(*file);
  const int result = plat::IoResult();
  if (result != 0 && writer.ok) {
    QuietIoError = uint16_t(result);
    writer.ok = false;
  }
  delete file;
  writer.file = nullptr;
  writer.out = TRecordFileWriter{};
}

// --- the walk of one segment ------------------------------------------------------------

namespace {

struct TPoint2 {
  double x = 0, y = 0;
};

struct TChainPoint {
  double x = 0, y = 0, h = 0;
};

// One output vector file, written in blocks of 1024 records.
struct TResultSink {
  plat::TPasFile file;
  bool open = false;
  TRecordFileWriter out;
  bool haveLast = false;
  double lastX = 0, lastY = 0;
  int64_t stored = 0;
};

struct TWriterRun {
  uint8_t side = 0;
  double b = 0, c = 0;
  bool piecesOnly = false;
  bool drawing = false;
  int16_t colour = -1;
  bool secondMode = false;
  double spacing = 0.002;
  TResultSink main;
  TResultSink second;
  // The segment being walked.
  TPoint2 s0, s1;
  double dx = 0, dy = 0, len = 0, nx = 0, ny = 0;  // unit normal to the offset side
  bool firstSegment = false;                       // first segment of a contour
};

void OpenResultSink(TResultSink& sink, const std::string& name) {
  plat::Assign(sink.file, name);
  const uint16_t before = QuietIoError;
  QuietIoError = 0;
  RewriteFileQuiet(sink.file, kVectorRecordSize);
  sink.open = QuietIoError == 0;
  if (sink.open) QuietIoError = before;
  // An open sink tries every block; one that did not open drops its records.
  StartRecordFileWriter(sink.out, sink.file, kVectorRecordSize, kOffsetFileBlock, BlockWriteQuiet, !sink.open);
  sink.out.failed = !sink.open;
}

void CloseResultSink(TResultSink& sink) {
  if (sink.open) {
    FlushRecordFileWriter(sink.out);
    CloseFileQuiet(sink.file);
  }
  sink.open = false;
}

void StoreRecord(TWriterRun& run, TResultSink& sink, uint8_t type, double x, double y, double z) {
  // Points that a float record cannot hold are not written.
  if (!(std::fabs(x) < 3.0e38) || !(std::fabs(y) < 3.0e38)) return;
  if (run.drawing) {
    if (type == kRecContourStart)
      MovePenToWorldPoint(float(x), float(y));
    else
      DrawLineToWorldPoint(float(x), float(y));
  }
  const double zStored = std::isfinite(z) ? std::clamp(z, -3.0e38, 3.0e38) : 1.0;
  const TVectorRecord record{type, float(x), float(y), float(zStored)};
  PutRecord(sink.out, &record);
  sink.haveLast = true;
  sink.lastX = x;
  sink.lastY = y;
  ++sink.stored;
}

// A record of the main output: dropped when it repeats the last one (except
// while the first segment of a contour is written).
void WriteMainRecord(TWriterRun& run, uint8_t type, double x, double y, double z) {
  if (run.secondMode) return;
  TResultSink& sink = run.main;
  if (!run.firstSegment && sink.haveLast && std::fabs(x - sink.lastX) <= 0.001 &&
      std::fabs(y - sink.lastY) <= 0.001)
    return;
  StoreRecord(run, sink, type, x, y, z);
}

// Crossing of the line from anchor (a segment end) through p with the
// segment's line moved by dist to the offset side. When the two are parallel
// there is no crossing: the anchor moved by dist (its foot on that line)
// stands in.
TPoint2 CrossOffsetLine(const TWriterRun& run, const TPoint2& anchor, double px, double py, double dist) {
  const TPoint2 foot{anchor.x + run.nx * dist, anchor.y + run.ny * dist};
  const double vx = px - anchor.x;
  const double vy = py - anchor.y;
  const double along = vx * run.nx + vy * run.ny;
  if (std::fabs(along) <= 1e-9 * std::hypot(vx, vy)) return foot;
  const double t = dist / along;
  TPoint2 r{anchor.x + t * vx, anchor.y + t * vy};
  if (!std::isfinite(r.x) || !std::isfinite(r.y)) return foot;
  return r;
}

TPoint2 LevelCrossing(const TChainPoint& p, const TChainPoint& q, double level) {
  const double w = (p.h - level) / (p.h - q.h);
  return TPoint2{p.x + w * (q.x - p.x), p.y + w * (q.y - p.y)};
}

// Receives the records of one walk.
struct TWalkEmit {
  virtual void Record(uint8_t type, double x, double y, double z) = 0;
  virtual void Crossing(bool backInside, const TPoint2& at) { (void)backInside, (void)at; }
  virtual ~TWalkEmit() = default;
};

// Walks the chain at level (relative to c) along the line at dist: outside
// the level the path runs on that line, inside it follows the chain. Returns
// true when a chain point lay beyond the level.
bool WalkChain(const TWriterRun& run, const std::vector<TChainPoint>& chain, double level, double dist,
               bool piecesOnly, TWalkEmit& emit) {
  bool beyond = false;
  for (const TChainPoint& p : chain) beyond = beyond || p.h > level;
  const TChainPoint& p0 = chain.front();
  bool outside = p0.h > level;
  if (outside) {
    const TPoint2 x = CrossOffsetLine(run, run.s0, p0.x, p0.y, dist);
    emit.Record(kRecContourStart, x.x, x.y, 1.0);
  } else if (!piecesOnly) {
    emit.Record(kRecContourStart, p0.x, p0.y, p0.h / level);
  }
  for (size_t r = 0; r + 1 < chain.size(); ++r) {
    const TChainPoint& p = chain[r];
    const TChainPoint& q = chain[r + 1];
    if (outside) {
      if (p.h > level && level >= q.h) {
        const TPoint2 x = LevelCrossing(p, q, level);
        emit.Record(kRecLinePoint, x.x, x.y, 1.0);
        emit.Crossing(true, x);
        outside = false;
      }
    } else if (p.h <= level && level < q.h) {
      const TPoint2 x = LevelCrossing(p, q, level);
      emit.Record(piecesOnly ? kRecContourStart : kRecLinePoint, x.x, x.y, 1.0);
      emit.Crossing(false, x);
      outside = true;
    }
    if (!outside && !piecesOnly) emit.Record(kRecLinePoint, q.x, q.y, q.h / level);
  }
  if (outside) {
    const TChainPoint& last = chain.back();
    if (std::fabs(last.x - run.s1.x) > 0.0008 || std::fabs(last.y - run.s1.y) > 0.0008) {
      const TPoint2 x = CrossOffsetLine(run, run.s1, last.x, last.y, dist);
      emit.Record(kRecLinePoint, x.x, x.y, 1.0);
    }
  }
  return beyond;
}

struct TMainEmit : TWalkEmit {
  TWriterRun& run;
  explicit TMainEmit(TWriterRun& r) : run(r) {}
  void Record(uint8_t type, double x, double y, double z) override { WriteMainRecord(run, type, x, y, z); }
};

// --- the second (corner) output ------------------------------------------------------------

constexpr size_t kMaxCornerCrossings = 8192;
constexpr size_t kMaxCollectedRecords = 4259;

struct TCornerCrossing {
  TPoint2 at;         // the crossing of level A
  TPoint2 companion;  // moved back onto the segment, then replaced by the meeting point
};

struct TCornerState {
  std::vector<TCornerCrossing> backInside;  // outside -> inside
  std::vector<TCornerCrossing> goingOut;    // inside -> outside
};

// Collects the crossings of level A of one segment (first walk).
struct TCrossingCollect : TWalkEmit {
  TWriterRun& run;
  TCornerState& state;
  std::vector<std::pair<bool, size_t>> order;  // kind and list position, as found
  TCrossingCollect(TWriterRun& r, TCornerState& s) : run(r), state(s) {}
  void Record(uint8_t type, double x, double y, double z) override { WriteMainRecord(run, type, x, y, z); }
  void Crossing(bool backInside, const TPoint2& at) override {
    auto& list = backInside ? state.backInside : state.goingOut;
    if (list.size() >= kMaxCornerCrossings) return;
    TCornerCrossing crossing;
    crossing.at = at;
    // Back onto the segment's line, limited to the segment along its major axis.
    TPoint2 back{at.x - run.nx * run.b, at.y - run.ny * run.b};
    const bool steep = std::fabs(run.dx) <= std::fabs(run.dy);
    const double lo = steep ? std::min(run.s0.y, run.s1.y) : std::min(run.s0.x, run.s1.x);
    const double hi = steep ? std::max(run.s0.y, run.s1.y) : std::max(run.s0.x, run.s1.x);
    const double v = steep ? back.y : back.x;
    if (v < lo) back = (steep ? run.s0.y <= run.s1.y : run.s0.x <= run.s1.x) ? run.s0 : run.s1;
    if (v > hi) back = (steep ? run.s0.y <= run.s1.y : run.s0.x <= run.s1.x) ? run.s1 : run.s0;
    crossing.companion = back;
    list.push_back(crossing);
    order.emplace_back(backInside, list.size() - 1);
  }
};

struct TCollectEmit : TWalkEmit {
  std::vector<TVectorRecord> records;
  void Record(uint8_t type, double x, double y, double) override {
    if (!(std::fabs(x) < 3.0e38) || !(std::fabs(y) < 3.0e38)) return;
    if (records.size() < kMaxCollectedRecords) records.push_back(TVectorRecord{type, float(x), float(y), 1.0f});
  }
};

void WriteSecondRecord(TWriterRun& run, uint8_t type, double x, double y) {
  TResultSink& sink = run.second;
  // Only records still in the buffer are compared (none right after a block
  // went out).
  if (sink.out.buffered != 0 && std::fabs(x - sink.lastX) <= run.spacing && std::fabs(y - sink.lastY) <= run.spacing)
    return;
  StoreRecord(run, sink, type, x, y, 1.0);
}

// Meeting point of the connector (at -> companion) with piece k of the
// collected records (from record k - 1 to record k), within the piece's
// extent along its major axis.
bool ConnectorMeetsPiece(const TCornerCrossing& crossing, const std::vector<TVectorRecord>& recs, size_t k,
                         TPoint2& meet) {
  const double ax = recs[k - 1].x, ay = recs[k - 1].y;
  const double bx = recs[k].x, by = recs[k].y;
  const double ux = bx - ax, uy = by - ay;
  const double vx = crossing.companion.x - crossing.at.x, vy = crossing.companion.y - crossing.at.y;
  const double det = ux * vy - uy * vx;
  if (det == 0.0 || !std::isfinite(det)) return false;
  const double t = ((crossing.at.x - ax) * vy - (crossing.at.y - ay) * vx) / det;
  meet = TPoint2{ax + t * ux, ay + t * uy};
  const bool steep = std::fabs(ux) <= std::fabs(uy);
  const double lo = (steep ? std::min(ay, by) : std::min(ax, bx)) - 0.000001;
  const double hi = (steep ? std::max(ay, by) : std::max(ax, bx)) + 0.000001;
  const double v = steep ? meet.y : meet.x;
  return std::isfinite(v) && v >= lo && v <= hi;
}

void WriteCornerPieces(TWriterRun& run, TCornerState& state, const TCrossingCollect& found,
                       const std::vector<TVectorRecord>& recs, bool beyondA) {
  if (!beyondA) {
    for (const TVectorRecord& r : recs) WriteSecondRecord(run, r.type, r.x, r.y);
    return;
  }
  if (found.order.empty() || recs.empty()) return;
  size_t piece = 1;
  bool usedUp = false;
  bool lastBackInside = false;
  bool afterBackInside = false;
  for (const auto& [backInside, position] : found.order) {
    auto& list = backInside ? state.backInside : state.goingOut;
    TCornerCrossing& crossing = list[position];
    lastBackInside = backInside;
    if (usedUp) continue;
    size_t k = piece;
    TPoint2 meet;
    bool met = false;
    for (; k < recs.size(); ++k) {
      if (!backInside && !(afterBackInside && k == piece)) WriteSecondRecord(run, recs[k - 1].type, recs[k - 1].x, recs[k - 1].y);
      if (ConnectorMeetsPiece(crossing, recs, k, meet)) {
        met = true;
        break;
      }
    }
    if (!met) {
      usedUp = true;
      continue;
    }
    WriteSecondRecord(run, backInside ? kRecContourStart : kRecLinePoint, meet.x, meet.y);
    crossing.companion = meet;
    piece = k;
    afterBackInside = backInside;
  }
  if (lastBackInside && !usedUp) {
    for (size_t r = piece; r < recs.size(); ++r) WriteSecondRecord(run, recs[r].type, recs[r].x, recs[r].y);
  }
}

// Pairs every crossing back inside with the first remaining crossing
// outside within the spacing and joins their companion points.
void JoinCornerCrossings(TWriterRun& run, TCornerState& state) {
  for (const TCornerCrossing& in : state.backInside) {
    for (size_t i = 0; i < state.goingOut.size(); ++i) {
      const TCornerCrossing& out = state.goingOut[i];
      if (std::hypot(out.at.x - in.at.x, out.at.y - in.at.y) > run.spacing) continue;
      WriteSecondRecord(run, kRecContourStart, out.companion.x, out.companion.y);
      WriteSecondRecord(run, kRecLinePoint, in.companion.x, in.companion.y);
      state.goingOut[i] = state.goingOut.back();
      state.goingOut.pop_back();
      break;
    }
  }
}

bool SetSegment(TWriterRun& run, const TOffsetRecord& from, const TOffsetRecord& to) {
  run.s0 = TPoint2{from.x, from.y};
  run.s1 = TPoint2{to.x, to.y};
  run.dx = to.x - from.x;
  run.dy = to.y - from.y;
  run.len = std::hypot(run.dx, run.dy);
  if (!(run.len > 0.0) || !std::isfinite(run.len)) return false;
  // Caller's side 0 offsets along the left normal (-dy, dx), 1 along (dy, -dx).
  run.nx = (run.side == 0 ? -run.dy : run.dy) / run.len;
  run.ny = (run.side == 0 ? run.dx : -run.dx) / run.len;
  return true;
}

}  // namespace

// --- WriteOffsetResultFiles and its wrappers -------------------------------------------------

void WriteOffsetResultFiles(const std::string& secondName, const std::string& mainName, uint8_t side, float c,
                            float b, float a, uint8_t piecesOnly, int16_t colour, int16_t spacingIndex) {
  const TErrorCode savedError = ErrorCode;
  TWriterRun run;
  run.side = side == 0 ? 0 : 1;
  run.c = c;
  run.b = b;
  run.piecesOnly = piecesOnly != 0;
  run.colour = colour;
  run.drawing = colour >= 0 && ErrorCode >= -1;
  run.secondMode = a > 0.0f;
  run.spacing = GetOffsetPointSpacing(spacingIndex);
  if (run.drawing) SetLinePenMode(13, colour);
  const double levelA = double(b) / double(c);
  const double levelM = run.secondMode ? double(a) / double(c) : 1.0;

  std::vector<TOffsetRecord> vertices, chain;
  std::vector<int32_t> index;
  const bool haveInput = LoadOffsetRecordFile(kOffsetContourFile, vertices) &&
                         LoadOffsetRecordFile(kOffsetChainFile, chain) && LoadOffsetIndexFile(kOffsetIndexFile, index);
  OpenResultSink(run.main, mainName);
  if (run.secondMode) OpenResultSink(run.second, secondName);
  const bool usable = haveInput && std::isfinite(levelA) && levelA > 0.0 && std::isfinite(levelM) && levelM > 0.0 &&
                      std::isfinite(double(b)) && vertices.size() >= 2 && !index.empty();
  if (usable) {
    TCornerState corners;
    std::vector<TChainPoint> points;
    size_t contourFirst = 0;  // record of the current contour's first vertex
    size_t previous = 0;
    size_t segment = 0;
    bool firstOfContour = true;
    for (size_t k = 1; k < vertices.size(); ++k, ++segment) {
      const bool closing = vertices[k].type == kOffsetContourStart;
      const TOffsetRecord& from = vertices[previous];
      const TOffsetRecord& to = closing ? vertices[contourFirst] : vertices[k];
      run.firstSegment = firstOfContour;
      firstOfContour = closing;
      previous = k;
      if (closing) contourFirst = k;
      // The segment's chain: records from its index entry to the next one.
      if (segment + 1 >= index.size()) break;
      const int64_t begin = index[segment];
      const int64_t end = index[segment + 1];
      if (begin < 0 || end < begin || end > int64_t(chain.size())) continue;
      if (end == begin || !SetSegment(run, from, to)) continue;
      points.clear();
      for (int64_t r = begin; r < end; ++r) {
        const TOffsetRecord& p = chain[size_t(r)];
        if (std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.value))
          points.push_back(TChainPoint{p.x, p.y, p.value});
      }
      if (points.empty()) continue;
      if (points.size() == 1) {
        const bool steep = std::fabs(run.dx) <= std::fabs(run.dy);
        const double major = steep ? run.dy : run.dx;
        const TChainPoint& p = points.front();
        points.push_back(TChainPoint{p.x + run.dx / (1000.0 * major), p.y + run.dy / (1000.0 * major), p.h});
      }
      if (!run.secondMode) {
        TMainEmit emit(run);
        WalkChain(run, points, levelA, run.b, run.piecesOnly, emit);
        continue;
      }
      TCrossingCollect found(run, corners);
      const bool beyondA = WalkChain(run, points, levelA, run.b, run.piecesOnly, found);
      TCollectEmit collect;
      WalkChain(run, points, levelM, double(a), true, collect);
      WriteCornerPieces(run, corners, found, collect.records, beyondA);
    }
    if (run.secondMode) JoinCornerCrossings(run, corners);
  }
  CloseResultSink(run.main);
  if (run.secondMode) CloseResultSink(run.second);
  ErrorCode = savedError;
}

void WriteOffsetCornerFile(uint8_t side, int16_t colour, int16_t spacingIndex, float c, float b, float a) {
  WriteOffsetResultFiles("VekAR1.Eck", "VekAR2.TMP", side, c, b, a, 1, colour, spacingIndex);
  ErrorCode = 0;
  JoinPiecesIntoContours("VekAR1.ECK", "VekAR12.TMP", a, 0);
}

void WriteJoinedOffsetPath(const std::string& name, const std::string& target, uint8_t side, float c, float b,
                           uint8_t flag, int16_t colour) {
  WriteOffsetResultFiles(name, "VekAR2.TMP", side, c, b, 0.0f, 1, colour, 1);
  JoinPiecesIntoContours("VekAR2.TMP", target, b, flag);
}
