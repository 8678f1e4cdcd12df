// In-place clean-up passes over vector files.
//
// Sections:
//   files rewritten in place
//   contour optimizing
//   the optimize command
//   grid snapping and smoothing
//   duplicate contours
#include "paths/vector_cleanup.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "ui/prompt_line.h"
#include "frame/file_helpers.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "model/layer_files.h"
#include "model/record_checks.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "cad/arc_fitting.h"
#include "cad/drawing_transforms.h"
#include "ui/common_dialogs.h"
#include "ui/input_form.h"
#include "ui/prompt_strip.h"
#include "view/redraw.h"
#include "frame/quiet_files.h"
#include "model/vector_records.h"
#include "platform/files.h"
#include "view/world_lines.h"

// --- files rewritten in place ---------------------------------------------------------------

namespace {

constexpr int16_t kSilentDisplay = 256;
constexpr double kCloseGap = 0.01;

// A file read and rewritten at once: records are written behind the read
// position, never onto records not yet read, and the file is cut at the
// end. Output that does not fit behind the read position yet waits.
struct TInPlaceFile {
  plat::TPasFile file;
  int64_t total = 0;
  int64_t fetched = 0;   // records read from the file
  int64_t written = 0;   // write position
  int32_t block = 0;
  std::vector<TVectorRecord> input;
  size_t inputIndex = 0;
  std::vector<TVectorRecord> output;
  bool failed = false;
};

bool OpenInPlace(TInPlaceFile& f, const std::string& name, int32_t block) {
  if (!FileExistsPlain(name)) return false;
  plat::Assign(f.file, name);
  ResetFileQuiet(f.file, kVectorRecordSize, 2);
  if (f.file.state < plat::kFileInput) return false;
  f.total = plat::FileSize(f.file);
  f.block = block;
  return true;
}

bool NextRecord(TInPlaceFile& f, TVectorRecord& record) {
  if (f.inputIndex >= f.input.size()) {
    if (f.fetched >= f.total || f.failed) return false;
    const uint32_t want = static_cast<uint32_t>(std::min<int64_t>(f.block, f.total - f.fetched));
    f.input.resize(want);
    plat::Seek(f.file, f.fetched);
    uint32_t read = 0;
    BlockReadQuiet(f.file, f.input.data(), want, read);
    f.input.resize(read);
    f.inputIndex = 0;
    f.fetched += read;
    if (read != want) f.total = f.fetched;  // a short read ends the pass at what was read
    if (read == 0) return false;
  }
  record = f.input[f.inputIndex++];
  return true;
}

void FlushInPlace(TInPlaceFile& f, bool all) {
  if (f.failed || f.output.empty()) return;
  const int64_t room = all ? static_cast<int64_t>(f.output.size()) : f.fetched - f.written;
  const uint32_t n = static_cast<uint32_t>(std::min<int64_t>(room, static_cast<int64_t>(f.output.size())));
  if (n == 0) return;
  plat::Seek(f.file, f.written);
  uint32_t done = 0;
  BlockWriteQuiet(f.file, f.output.data(), n, done);
  f.written += done;
  f.output.erase(f.output.begin(), f.output.begin() + done);
  if (done != n) f.failed = true;
}

void PutInPlace(TInPlaceFile& f, const TVectorRecord& record) {
  f.output.push_back(record);
  if (static_cast<int32_t>(f.output.size()) >= f.block) FlushInPlace(f, false);
}

// Writes what waits and cuts the file behind it; a short write shows
// message 8 and leaves the file uncut.
void CloseInPlace(TInPlaceFile& f) {
  FlushInPlace(f, true);
  if (f.failed) {
    ShowMessageNumber(8);
  } else {
    plat::Seek(f.file, f.written);
    plat::Truncate(f.file);
  }
  CloseFileQuiet(f.file);
}

// --- contour optimizing ---------------------------------------------------------------------

bool IsContourPointType(uint8_t type) {
  return type == kRecLinePoint || type == kRecContourStart || type == kRec3DPoint || type == kRecAltContourStart;
}

bool IsStartType(uint8_t type) { return type == kRecContourStart || type == kRecAltContourStart; }

double Cross(const TVectorRecord& a, const TVectorRecord& m, const TVectorRecord& i) {
  const double ux = static_cast<double>(a.x) - m.x, uy = static_cast<double>(a.y) - m.y;
  const double vx = static_cast<double>(a.x) - i.x, vy = static_cast<double>(a.y) - i.y;
  return ux * vy - uy * vx;
}

struct TOptimizeRun {
  int16_t minRecords = 2;
  uint8_t closeAll = 0;
  int16_t display = kSilentDisplay;
  double tolA = 0, tolB = 0, tolC = 0, tolD = 0, tolE = 0;
  TInPlaceFile file;
  std::vector<TVectorRecord> window;
  TVectorRecord start{};
  bool inContour = false;
  int64_t startIndex = 0;
  TVectorRecord last{};        // the contour's last record so far
  int64_t contourPoints = 0;   // records of the contour taken into windows
  bool flushed = false;        // a full window of the contour was written
  int32_t kept = 0;
  int64_t source = 0;          // records of the file when the pass began
  int64_t read = 0;            // records read so far
};

void ShowOptimizeStatus(const TOptimizeRun& run) {
  if (run.display >= kSilentDisplay) return;
  ShowPromptLine(1, FormatOptimizeStatus(run.source, run.file.written + static_cast<int64_t>(run.file.output.size()),
                                         run.kept, run.read),
                 260, run.display);
}

// Drops points within the area tolerance of the line from the anchor.
void RunCollinearPass(std::vector<TVectorRecord>& w, double tolC) {
  const size_t n = w.size();
  if (n < 3) return;
  std::vector<uint8_t> dropped(n, 0);
  size_t a = 0;
  for (size_t i = 2; i < n; ++i) {
    const size_t m = i - 1;
    if (std::fabs(Cross(w[a], w[m], w[i])) <= tolC) {
      dropped[m] = 1;
      if (i - a > 2) {
        const size_t k = (a + i) / 2;
        // A long run that bends back in its middle keeps its middle point.
        if (std::fabs(Cross(w[a], w[k], w[i])) > tolC) {
          dropped[k] = 0;
          a = k;
        }
      }
    } else {
      a = m;
    }
  }
  size_t out = 0;
  for (size_t i = 0; i < n; ++i)
    if (!dropped[i]) w[out++] = w[i];
  w.resize(out);
}

// Drops points next to their successor, or whose foot on the line from the
// anchor to the successor lies within tolA.
void RunNearPointPass(std::vector<TVectorRecord>& w, double tolA, double tolB) {
  const size_t n = w.size();
  if (n < 3) return;
  std::vector<uint8_t> dropped(n, 0);
  size_t a = 0;
  for (size_t i = 2; i < n; ++i) {
    const size_t m = i - 1;
    bool drop = std::fabs(static_cast<double>(w[i].x) - w[m].x) <= tolB &&
                std::fabs(static_cast<double>(w[i].y) - w[m].y) <= tolB;
    if (!drop) {
      const double lx = static_cast<double>(w[i].x) - w[a].x, ly = static_cast<double>(w[i].y) - w[a].y;
      const double length2 = lx * lx + ly * ly;
      if (length2 > 0.0) {
        const double px = static_cast<double>(w[m].x) - w[a].x, py = static_cast<double>(w[m].y) - w[a].y;
        const double c = px * ly - py * lx;
        drop = c * c / length2 < tolA * tolA;
      }
    }
    if (drop)
      dropped[m] = 1;
    else
      a = m;
  }
  size_t out = 0;
  for (size_t i = 0; i < n; ++i)
    if (!dropped[i]) w[out++] = w[i];
  w.resize(out);
}

void WriteWindow(TOptimizeRun& run) {
  for (const TVectorRecord& r : run.window) {
    PutInPlace(run.file, r);
    if (run.display != kSilentDisplay) {
      if (IsStartType(r.type))
        MovePenToWorldPoint(r.x, r.y);
      else
        DrawLineToWorldPoint(r.x, r.y);
    }
  }
  run.window.clear();
}

// The direction test of a small contour: does its leftmost crossing with
// the grid line through its middle run downwards?
bool LeftmostCrossingRunsDown(const std::vector<TVectorRecord>& w, double tolE) {
  if (w.size() < 2) return false;
  double low = w[0].y, high = w[0].y;
  for (const TVectorRecord& r : w) {
    low = std::min<double>(low, r.y);
    high = std::max<double>(high, r.y);
  }
  const double middle = (low + high) / 2.0;
  const double level = tolE > 0.0 ? tolE * (std::nearbyint(middle / tolE) + 0.5) : middle;
  double bestX = 0.0;
  bool found = false, down = false;
  for (size_t i = 1; i < w.size(); ++i) {
    const double y1 = w[i - 1].y, y2 = w[i].y;
    if (y1 == y2) continue;
    const double t = (level - y1) / (y2 - y1);
    if (!(t > 0.0 && t < 1.0)) continue;
    const double x = w[i - 1].x + t * (static_cast<double>(w[i].x) - w[i - 1].x);
    if (!found || x < bestX) {
      found = true;
      bestX = x;
      down = y1 > y2;
    }
  }
  return found && down;
}

void FinishContour(TOptimizeRun& run, int64_t endIndex) {
  RunCollinearPass(run.window, run.tolC);
  RunNearPointPass(run.window, run.tolA, run.tolB);
  const int64_t n = endIndex - run.startIndex;
  bool keep = n >= run.minRecords;
  if (keep && run.minRecords > 2 && n <= kOptimizeWindow && !run.flushed &&
      !LeftmostCrossingRunsDown(run.window, run.tolE)) {
    double minX = 1e30, maxX = -1e30, minY = 1e30, maxY = -1e30;
    for (const TVectorRecord& r : run.window) {
      minX = std::min<double>(minX, r.x);
      maxX = std::max<double>(maxX, r.x);
      minY = std::min<double>(minY, r.y);
      maxY = std::max<double>(maxY, r.y);
    }
    keep = maxX - minX >= run.tolD && maxY - minY >= run.tolD;
  }
  if (!keep) {
    run.window.clear();
    return;
  }
  // The contour's last point (the passes never drop the last record).
  const TVectorRecord& end = run.last;
  if (run.contourPoints > 1) {
    const double dx = std::fabs(static_cast<double>(end.x) - run.start.x);
    const double dy = std::fabs(static_cast<double>(end.y) - run.start.y);
    const bool closed = dx == 0.0 && dy == 0.0;
    // A contour that filled whole windows before has its end written
    // already: it is closed by a record.
    const bool endInWindow = !run.window.empty();
    if (run.closeAll && (dx > kCloseGap || dy > kCloseGap)) {
      run.window.push_back(TVectorRecord{kRecLinePoint, run.start.x, run.start.y, 0.0f});
    } else if ((run.closeAll || std::hypot(dx, dy) < kCloseGap) && !closed) {
      if (endInWindow) {
        run.window.back().x = run.start.x;
        run.window.back().y = run.start.y;
      } else {
        run.window.push_back(TVectorRecord{kRecLinePoint, run.start.x, run.start.y, 0.0f});
      }
    }
  }
  WriteWindow(run);
  ++run.kept;
  ShowOptimizeStatus(run);
}

}  // namespace

void OptimizeVectorFile(const std::string& name, int16_t minRecords, uint8_t closeAll, int16_t display, double tolA,
                        double tolB, double tolC, double tolD, double tolE) {
  TOptimizeRun run;
  if (!OpenInPlace(run.file, name, kOptimizeWindow)) return;
  run.minRecords = std::min<int16_t>(minRecords, kOptimizeWindow - 1);
  run.closeAll = closeAll;
  run.display = display;
  run.tolA = tolA;
  run.tolB = tolB;
  run.tolC = tolC;
  run.tolD = tolD;
  run.tolE = tolE > 0.0 && std::isfinite(tolE) ? tolE : 0.0;
  if (display != kSilentDisplay) SetLinePenMode(13, display);
  run.source = run.file.total;
  ShowOptimizeStatus(run);
  int64_t index = 0;
  TVectorRecord r{};
  while (NextRecord(run.file, r)) {
    const int64_t here = index++;
    run.read = index;
    if (!IsContourPointType(r.type)) continue;  // extents, layer, tool records and the rest
    if (run.tolE > 0.0) {
      r.x = static_cast<float>(run.tolE * std::nearbyint(r.x / run.tolE));
      r.y = static_cast<float>(run.tolE * std::nearbyint(r.y / run.tolE));
    }
    if (IsStartType(r.type)) {
      if (run.inContour) {
        if (run.window.size() == 1 && IsStartType(run.window[0].type))
          run.window.clear();  // a contour of one record
        else
          FinishContour(run, here);
      }
      run.inContour = true;
      run.start = r;
      run.startIndex = here;
      run.contourPoints = 0;
      run.flushed = false;
    }
    if (r.type == kRecLinePoint) r.z = 0.0f;
    run.window.push_back(r);
    run.last = r;
    ++run.contourPoints;
    if (static_cast<int32_t>(run.window.size()) >= kOptimizeWindow) {
      RunCollinearPass(run.window, run.tolC);
      RunNearPointPass(run.window, run.tolA, run.tolB);
      WriteWindow(run);
      run.flushed = true;
    }
  }
  if (run.inContour && !(run.window.size() == 1 && IsStartType(run.window[0].type))) FinishContour(run, index);
  CloseInPlace(run.file);
}

void OptimizeVectorFileDefault(const std::string& name, double size) {
  OptimizeVectorFile(name, 2, 1, kSilentDisplay, 0.0022225, 0.05 * std::fabs(size), 0.0000044802778, 0.01, 0.0001);
}

void OptimizeVectorFileShown(const std::string& name, int16_t display, double size) {
  OptimizeVectorFile(name, 2, 0, display, 0.0022225, 0.05 * std::fabs(size), 0.0000044802778, 0.01, 0.0001);
  DrawPanelBackground();
}

std::string FormatOptimizeStatus(int64_t source, int64_t written, int64_t kept, int64_t read) {
  auto field = [](int64_t v, int width) {
    std::string t = std::to_string(v);
    if (static_cast<int>(t.size()) < width) t.insert(0, static_cast<size_t>(width) - t.size(), ' ');
    if (t.size() < 7) t.append(7 - t.size(), ' ');
    return t;
  };
  const int sourceWidth = source < 10000 ? 5 : source < 100000 ? 6 : 7;
  char ratio[32];
  std::snprintf(ratio, sizeof ratio, "%5.2f", read > 0 ? static_cast<double>(written) / static_cast<double>(read) : 1.0);
  return "QueV:" + field(source, sourceWidth) + "OptV:" + field(written, 5) + "OptB:" + field(kept, 5) + "OptF:" +
         std::string(ratio).substr(0, 5);
}

// --- the optimize command -------------------------------------------------------------------

namespace {

constexpr float kDefaultResolution = 12000.0f;

bool InRange(float v, float low, float high) { return std::isfinite(v) && v >= low && v <= high; }

// One field of the settings form, its caption the message text.
void SetSettingsField(TInputField& field, int16_t message, char kind, float value, float low, float high,
                      uint8_t width, uint8_t decimals) {
  field.caption = GetMessageText(message, kInputCaptionMax);
  field.kind = kind;
  field.value = value;
  field.lowerLimit = low;
  field.upperLimit = high;
  field.width = width;
  field.decimals = decimals;
}

}  // namespace

bool EditOptimizeSettings(TOptimizeSettings& settings) {
  std::memset(&settings, 0, sizeof settings);
  GetParamBlock(kOptimizeSettingsBlock, &settings, sizeof settings);
  // An unset block (zeros) would give a resolution of 0 and no tolerance.
  if (!InRange(settings.resolution, 100.0f, 500000.0f)) settings.resolution = kDefaultResolution;
  if (!InRange(settings.minRecords, 1.0f, 100.0f)) settings.minRecords = 2.0f;
  if (!InRange(settings.sizeLimit, 0.0005f, 1.0f)) settings.sizeLimit = 0.01f;
  if (settings.closeAll != 'J') settings.closeAll = 'N';
  TInputField fields[kInputFieldEntries];
  SetSettingsField(fields[0], kMsgOptimizeSizeLimit, 'S', settings.sizeLimit, 0.0005f, 1.0f, 8, 4);
  SetSettingsField(fields[1], kMsgOptimizeMinRecords, 'I', std::nearbyint(settings.minRecords), 1.0f, 100.0f, 8, 0);
  SetSettingsField(fields[2], kMsgOptimizeClose, 'B', settings.closeAll == 'J' ? 1.0f : 0.0f, 0.0f, 1.0f, 5, 0);
  SetSettingsField(fields[3], kMsgOptimizeResolution, 'S', settings.resolution, 100.0f, 500000.0f, 8, 0);
  if (RunInputForm(GetMessageText(kMsgOptimizeTitle, kInputCaptionMax), fields, 4) == 3) return false;
  settings.sizeLimit = fields[0].value;
  settings.minRecords = fields[1].value;
  settings.closeAll = fields[2].value == 1.0f ? 'J' : 'N';
  settings.resolution = fields[3].value;
  PutParamBlock(kOptimizeSettingsBlock, &settings, sizeof settings);
  return true;
}

void RunOptimizeCommand() {
  constexpr int16_t kShowColour = 12;
  const bool onStore = StoreHoldsData != 0 && CountFileRecords(kVectorStoreName) > 0;
  const std::string file = onStore ? std::string(kVectorStoreName) : GetCurrentLayerFileName();
  const int16_t colour = onStore ? kShowColour : GetCurrentLayerColour();
  if (!AskStripToolAnd3DRecords(file, colour, 3)) return;
  // The settings are asked before anything changes, so that a cancelled
  // form leaves the file as it was.
  TOptimizeSettings settings;
  if (!EditOptimizeSettings(settings)) return;
  TakeUndoSnapshot(onStore ? kUndoStore : kUndoCurrentLayer);
  RecodeContourStarts(file, 0);
  const double a = 25.4 / settings.resolution;
  const double tolerance = a * 1.05;
  const double area = a * a * 1.05;
  const int16_t minRecords = static_cast<int16_t>(std::nearbyint(settings.minRecords));
  const uint8_t closeAll = settings.closeAll == 'J' ? 1 : 0;
  const double tolD = settings.sizeLimit;
  if (settings.resolution > 50000.0f) {
    OptimizeVectorFile(file, minRecords, closeAll, kShowColour, tolerance / 2.0, tolerance, area, tolD, 0.000001);
  } else {
    if (!onStore) FlushVectorStoreIntoFile(file);
    if (!CheckFileHas3DPoints(file)) {
      // Each contour is thinned in both directions.
      if (!ReverseContourDirections(file)) return;
      bool aborted = CheckEscapeAbort() != 0;
      if (!aborted) {
        OptimizeVectorFile(file, minRecords, closeAll, kShowColour, tolerance, tolerance, area, tolD, 0.0001);
        aborted = CheckEscapeAbort() != 0;
      }
      // An abort never leaves the contours turned round.
      if (!ReverseContourDirections(file) || aborted || CheckEscapeAbort() != 0) return;
    }
    OptimizeVectorFile(file, minRecords, closeAll, colour, tolerance, tolerance, area, tolD, 0.0001);
    if (CheckEscapeAbort() != 0) return;
    RemoveDuplicateContours(file);
  }
  if (!onStore) RecountCurrentLayerRecords();
  DrawPanelBackground();
  RedrawCurrentView(2);
}

// --- grid snapping and smoothing ------------------------------------------------------------

void SnapVectorFileToGrid(const std::string& name, int flags, double step) {
  if (!(step > 0.0) || !std::isfinite(step)) return;
  TVectorArray array;
  LoadRecordArray(name, array);
  if (array.records == nullptr) return;
  std::vector<TVectorRecord> kept;
  kept.reserve(static_cast<size_t>(array.count));
  bool havePrevious = false, havePending = false;
  TVectorRecord previous{}, pending{};
  auto round = [step](float v) { return static_cast<float>(step * std::nearbyint(v / step)); };
  for (int32_t i = 0; i < array.count; ++i) {
    TVectorRecord r = array.records[i];
    if (r.type == kRecLinePoint || r.type == kRecContourStart) {
      r.x = round(r.x);
      r.y = round(r.y);
      const bool differs = !havePrevious || previous.type == kRec3DPoint || r.x != previous.x || r.y != previous.y;
      if (differs) {
        // A start after a dot (a start with a repeated point) writes the dot.
        if (r.type == kRecContourStart && havePending) kept.push_back(pending);
        havePending = false;
        kept.push_back(r);
      } else if (havePrevious && previous.type == kRecContourStart) {
        pending = r;
        havePending = true;
      } else {
        havePending = false;
      }
      previous = r;
      havePrevious = true;
    } else if (r.type == kRec3DPoint || r.type == kRecAltContourStart) {
      r.x = round(r.x);
      r.y = round(r.y);
      if (!havePrevious || IsStartType(previous.type) || r.x != previous.x || r.y != previous.y ||
          r.z != previous.z) {
        if (havePending && r.type == kRecAltContourStart) kept.push_back(pending);
        havePending = false;
        kept.push_back(r);
      }
      previous = r;
      havePrevious = true;
    } else if (r.type == kRecLayer && (flags & kSnapDropLayers)) {
      continue;
    } else {
      if (havePending) kept.push_back(pending);
      havePending = false;
      kept.push_back(r);
      havePrevious = false;
    }
  }
  if (havePending) kept.push_back(pending);
  TVectorArray result;
  if (AllocRecordArray(result, static_cast<int32_t>(kept.size()))) {
    std::copy(kept.begin(), kept.end(), result.records);
    WriteRecordArrayToFile(name, result);
  }
  FreeRecordArray(result);
  FreeRecordArray(array);
}

void SmoothShortSegments(const std::string& name, double d) {
  if (!(d > 0.0) || !std::isfinite(d)) return;
  TInPlaceFile file;
  if (!OpenInPlace(file, name, kSmoothBlock)) return;
  float depth = 0.0f;
  // p0 written, p1 waiting (the middle point), p2 the newest.
  TVectorRecord p0{}, p1{};
  bool haveP0 = false, haveP1 = false;
  auto distance = [](const TVectorRecord& a, const TVectorRecord& b) {
    const double dx = static_cast<double>(a.x) - b.x, dy = static_cast<double>(a.y) - b.y,
                 dz = static_cast<double>(a.z) - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
  };
  auto writeMiddle = [&]() {
    if (!haveP1) return;
    PutInPlace(file, p1);
    p0 = p1;
    haveP0 = true;
    haveP1 = false;
  };
  TVectorRecord r{};
  while (NextRecord(file, r)) {
    if (r.type == kRecContourStart) {
      writeMiddle();
      PutInPlace(file, r);
      p0 = r;
      p0.z = 0.0f;
      haveP0 = true;
      continue;
    }
    if (r.type == kRecLinePoint || r.type == kRec3DPoint || r.type == kRecAltContourStart) {
      if (r.type == kRecLinePoint) r.z = depth;
      if (!haveP0) {
        PutInPlace(file, r);
        p0 = r;
        haveP0 = true;
      } else if (!haveP1) {
        p1 = r;
        haveP1 = true;
      } else {
        const TVectorRecord p2 = r;
        if (distance(p2, p1) >= d) {
          writeMiddle();
          p1 = p2;
          haveP1 = true;
        } else {
          const double gap = distance(p1, p0);
          if (gap <= 3.0 * d) {
            p1 = p2;  // the middle point is dropped
          } else {
            const double f = (gap - d) / gap;
            p1.x = static_cast<float>(p0.x + f * (static_cast<double>(p1.x) - p0.x));
            p1.y = static_cast<float>(p0.y + f * (static_cast<double>(p1.y) - p0.y));
            p1.z = static_cast<float>(p0.z + f * (static_cast<double>(p1.z) - p0.z));
            writeMiddle();
            p1 = p2;
            haveP1 = true;
          }
        }
      }
      continue;
    }
    writeMiddle();
    if (r.type == kRecToolFeed) depth = r.y;
    if (r.type == kRecPathEnd) depth = 0.0f;
    PutInPlace(file, r);
  }
  writeMiddle();
  CloseInPlace(file);
}

void FitArcsToVectorFile(const std::string& source, const std::string& target, int32_t mode, double largestSweep,
                         double tolerance, double largestRadius) {
  SnapVectorFileToGrid(source, std::abs(mode), 0.001);
  FitArcsInVectorFile(source, target, mode, largestSweep, tolerance, largestRadius);
}

// --- duplicate contours ----------------------------------------------------------------

namespace {

struct TDuplicateEntry {
  int64_t first = 0, last = 0;  // record indices, both included
  float minX = 0, minY = 0, maxX = 0, maxY = 0;
};

float RoundedToHundredths(float v) { return static_cast<float>(std::nearbyint(static_cast<double>(v) * 100.0) / 100.0); }

}  // namespace

int32_t RemoveDuplicateContours(const std::string& fileName) {
  constexpr size_t kMaxContours = 65536;
  constexpr const char* kBackup = "VekAR1.BAK";
  std::vector<TVectorRecord> records;
  if (!ReadVectorRecords(fileName, -1, records) || records.empty()) return 0;
  // Listing: a contour runs from a start to the record before the next
  // start; a start directly after a start replaces it.
  std::vector<TDuplicateEntry> contours;
  bool pointSinceStart = false;
  for (size_t i = 0; i < records.size(); ++i) {
    const TVectorRecord r = records[i];
    if (r.type == 11) {
      if (!contours.empty() && !pointSinceStart && contours.back().last + 1 == static_cast<int64_t>(i)) {
        contours.back().first = static_cast<int64_t>(i);  // the earlier start belongs to nothing
      } else {
        if (contours.size() >= kMaxContours) return 0;  // overflow: the file stays as it is
        contours.push_back(TDuplicateEntry{});
      }
      TDuplicateEntry& c = contours.back();
      c.first = c.last = static_cast<int64_t>(i);
      c.minX = c.maxX = r.x;
      c.minY = c.maxY = r.y;
      pointSinceStart = false;
      continue;
    }
    if (contours.empty()) continue;
    TDuplicateEntry& c = contours.back();
    c.last = static_cast<int64_t>(i);
    if (r.type == 10 || r.type == 12) {
      pointSinceStart = true;
      const float x = r.x, y = r.y;
      c.minX = std::min(c.minX, x);
      c.maxX = std::max(c.maxX, x);
      c.minY = std::min(c.minY, y);
      c.maxY = std::max(c.maxY, y);
    }
  }
  if (contours.size() < 2) return 0;
  for (TDuplicateEntry& c : contours) {
    c.minX = RoundedToHundredths(c.minX);
    c.minY = RoundedToHundredths(c.minY);
    c.maxX = RoundedToHundredths(c.maxX);
    c.maxY = RoundedToHundredths(c.maxY);
  }
  std::vector<uint8_t> duplicate(contours.size(), 0);
  int32_t removed = 0;
  for (size_t i = 0; i < contours.size(); ++i) {
    if (duplicate[i]) continue;
    const TDuplicateEntry& a = contours[i];
    for (size_t j = i + 1; j < contours.size(); ++j) {
      if (duplicate[j]) continue;
      const TDuplicateEntry& b = contours[j];
      if (a.minX != b.minX || a.minY != b.minY || a.maxX != b.maxX || a.maxY != b.maxY) continue;
      if (a.last - a.first != b.last - b.first) continue;
      bool same = true;
      for (int64_t k = 0; same && k <= a.last - a.first; ++k) {
        const TVectorRecord ra = records[static_cast<size_t>(a.first + k)];
        const TVectorRecord rb = records[static_cast<size_t>(b.first + k)];
        same = ra.x == rb.x && ra.y == rb.y;
      }
      if (same) {
        duplicate[j] = 2;
        ++removed;
      }
    }
  }
  if (removed == 0) return 0;
  // The only copy of the drawing is never lost: the backup is written
  // first, and a failed rewrite puts the file back from it.
  if (!WriteVectorRecords(kBackup, records.data(), records.size(), false)) return 0;
  std::vector<TVectorRecord> kept;
  kept.reserve(records.size());
  // Records before the first start (an extents head, a path block's tool
  // header) belong to no contour and stay in front.
  size_t lead = 0;
  while (lead < records.size() && records[lead].type != 11) ++lead;
  kept.insert(kept.end(), records.begin(), records.begin() + static_cast<std::ptrdiff_t>(lead));
  for (size_t i = 0; i < contours.size(); ++i)
    if (!duplicate[i])
      kept.insert(kept.end(), records.begin() + contours[i].first, records.begin() + contours[i].last + 1);
  if (!WriteVectorRecords(fileName, kept.data(), kept.size(), false)) {
    if (WriteVectorRecords(fileName, records.data(), records.size(), false)) DeleteFileIfExists(kBackup);
    return 0;
  }
  DeleteFileIfExists(kBackup);
  std::string count = std::to_string(removed);
  if (count.size() < 8) count.insert(0, 8 - count.size(), ' ');
  ShowErrorText(count + GetMessageText(278, 29));
  return removed;
}
