// Catch modes: the computations of every mode; see catch_modes.h.
//
// Sections:
//   results
//   line geometry
//   file searches
//   extreme points
//   main direction
//   the menu and the interactive modes
#include "cad/catch_modes.h"

#include <cmath>
#include <limits>

#include "model/geometry_2d.h"
#include "cad/snapping.h"
#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/program_state.h"
#include "frame/quiet_files.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "model/nearest_search.h"
#include "model/vector_store.h"
#include "ui/common_dialogs.h"
#include "ui/popup_list.h"
#include "ui/prompt_strip.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"
#include "view/view_transform.h"

namespace {

const char* const kStoreMovedName = "VekAR2.TMP";
constexpr int16_t kCatchMenuCommand = 8502;
constexpr int kMarkColour = 12;
constexpr int kCandidateColour = 13;
constexpr double kDiagonalReach = 99999.0;

// Messages of the menu and its prompts.
constexpr int16_t kMsgMenuTitle = 1383;
constexpr int16_t kMsgPickVector = 39;
constexpr int16_t kMsgPickObject = 1168;
constexpr int16_t kMsgEndPoint = 1381;
constexpr int16_t kMsgMainDirection = 1382;
constexpr int16_t kMsgNearest = 2000;
constexpr int16_t kMsgFirstPoint = 11;
constexpr int16_t kMsgSecondPoint = 12;

const TPopupEntry kCatchMenu[] = {
    {1384, "Eingabe"},   {1381, "Endpunkt"},     {1385, "VektMitte"},      {1386, "ObjektMitt"},
    {1387, "SchnittPkt"}, {1388, "SpktAufVek"},  {1389, "LotAufVekt"},     {2000, "VektNaechst"},
    {2033, "VektSchnObjekt"}, {1390, "ExtremPkte"}, {1391, "HauptRichtung"}, {2739, "_ZwPktMitte"},
};
constexpr int kCatchMenuEntries = int(sizeof kCatchMenu / sizeof kCatchMenu[0]);
// Searches start from these distances.
constexpr double kNearestSearchStart = 10000.0;
constexpr double kCrossingSearchStart = 9999.0;

bool IsPointType(uint8_t t) { return t == kRecLinePoint || t == kRecContourStart || t == kRec3DPoint; }

// The whole file in memory; an unreadable or missing file gives none.
void LoadCatchFile(const std::string& name, TVectorArray& array) {
  array = TVectorArray{};
  if (name.empty() || !FileExistsPlain(name)) return;
  LoadRecordArray(name, array);
}

// Crossing parameters of the lines a1 + t (a2 - a1) and b1 + u (b2 - b1);
// false when parallel.
bool LineParameters(const TVectorRecord& a1, const TVectorRecord& a2, const TVectorRecord& b1,
                    const TVectorRecord& b2, double& t, double& u) {
  const double ax = double(a2.x) - a1.x, ay = double(a2.y) - a1.y;
  const double bx = double(b2.x) - b1.x, by = double(b2.y) - b1.y;
  const double det = ax * by - ay * bx;
  const double scale = std::hypot(ax, ay) * std::hypot(bx, by);
  if (scale == 0.0 || std::fabs(det) <= 1e-12 * scale) return false;
  const double cx = double(b1.x) - a1.x, cy = double(b1.y) - a1.y;
  t = (cx * by - cy * bx) / det;
  u = (cx * ay - cy * ax) / det;
  return true;
}

TVectorRecord PointRec(double x, double y) {
  TVectorRecord r{};
  r.type = kRecLinePoint;
  r.x = static_cast<float>(x);
  r.y = static_cast<float>(y);
  return r;
}

}  // namespace

// --- results -------------------------------------------------------------------------------

void SetCatchResult(std::string& promptText, double x, double y) {
  promptText.clear();
  CursorPoint.x = static_cast<float>(x);
  CursorPoint.y = static_cast<float>(y);
  MouseButtonState = 2;
  ButtonResult = 2;
}

void FailCatch() {
  MouseButtonState = 4;
  ButtonResult = 4;
  BeepSignal();
}

std::string CatchFileForSelector(int16_t selector) {
  if (selector == -2) return kVectorStoreName;
  if (selector >= 0 && selector <= kMaxLayerNumber) return BuildLayerFileName(selector);
  return GetCurrentLayerFileName();
}

void ReadLastLayerRecord(TVectorRecord& record) {
  record = TVectorRecord{};
  TVectorArray array;
  LoadCatchFile(GetCurrentLayerFileName(), array);
  if (array.count > 0) record = array.records[array.count - 1];
  FreeRecordArray(array);
}

// --- line geometry ---------------------------------------------------------------------------

bool IntersectLinesChecked(const TVectorRecord& a1, const TVectorRecord& a2, const TVectorRecord& b1,
                           const TVectorRecord& b2, double& x, double& y) {
  double t = 0.0, u = 0.0;
  if (!LineParameters(a1, a2, b1, b2, t, u)) return false;
  x = a1.x + t * (double(a2.x) - a1.x);
  y = a1.y + t * (double(a2.y) - a1.y);
  return true;
}

bool IntersectLineWithSegment(const TVectorRecord& a1, const TVectorRecord& a2, const TVectorRecord& b1,
                              const TVectorRecord& b2, double& x, double& y) {
  double t = 0.0, u = 0.0;
  if (!LineParameters(a1, a2, b1, b2, t, u)) return false;
  if (u < 0.0 || u > 1.0) return false;
  x = b1.x + u * (double(b2.x) - b1.x);
  y = b1.y + u * (double(b2.y) - b1.y);
  return true;
}

bool ComputePerpendicularFoot(const TVectorRecord& p1, const TVectorRecord& p2, double px, double py, double& x,
                              double& y) {
  const double dx = double(p2.x) - p1.x, dy = double(p2.y) - p1.y;
  const double len2 = dx * dx + dy * dy;
  if (len2 == 0.0) return false;
  const double t = ((px - p1.x) * dx + (py - p1.y) * dy) / len2;
  x = p1.x + t * dx;
  y = p1.y + t * dy;
  return true;
}

// --- file searches ---------------------------------------------------------------------------

bool FindNearestPointOnFileVectors(const std::string& name, double x, double y, double& nx, double& ny) {
  TVectorArray array;
  LoadCatchFile(name, array);
  double best = kNearestSearchStart;
  bool found = false;
  const TVectorRecord* previous = nullptr;
  auto offer = [&](double cx, double cy) {
    const double d = std::hypot(cx - x, cy - y);
    if (d < best) {
      best = d;
      nx = cx;
      ny = cy;
      found = true;
    }
  };
  for (int32_t i = 0; i < array.count; ++i) {
    const TVectorRecord& r = array.records[i];
    if (!IsPointType(r.type)) continue;
    offer(r.x, r.y);
    if ((r.type == kRecLinePoint || r.type == kRec3DPoint) && previous != nullptr) {
      double sx = 0.0, sy = 0.0;
      if (FindNearestPointOnSegment(*previous, r, x, y, sx, sy)) offer(sx, sy);
    }
    previous = &r;
  }
  FreeRecordArray(array);
  return found;
}

bool FindLineCrossingInFile(const std::string& name, const TVectorRecord& lineStart, const TVectorRecord& lineThrough,
                            double refX, double refY, double& x, double& y) {
  TVectorArray array;
  LoadCatchFile(name, array);
  double best = kCrossingSearchStart;
  bool found = false;
  const TVectorRecord* previous = nullptr;
  for (int32_t i = 0; i < array.count; ++i) {
    const TVectorRecord& r = array.records[i];
    if ((r.type == kRecLinePoint || r.type == kRec3DPoint) && previous != nullptr) {
      double cx = 0.0, cy = 0.0;
      if (IntersectLineWithSegment(lineStart, lineThrough, *previous, r, cx, cy)) {
        const double d = std::hypot(cx - refX, cy - refY);
        if (d < best) {
          best = d;
          x = cx;
          y = cy;
          found = true;
        }
      }
    }
    if (IsPointType(r.type)) previous = &r;
  }
  FreeRecordArray(array);
  return found;
}

bool ComputeFileExtentCentre(const std::string& name, double& x, double& y) {
  TVectorArray array;
  LoadCatchFile(name, array);
  double x1 = std::numeric_limits<double>::max(), y1 = x1, x2 = -x1, y2 = -x1;
  bool any = false;
  for (int32_t i = 0; i < array.count; ++i) {
    const TVectorRecord& r = array.records[i];
    if (!IsPointType(r.type) && r.type != kRecAltContourStart && r.type != kRecSplinePoint) continue;
    x1 = std::min(x1, double(r.x));
    x2 = std::max(x2, double(r.x));
    y1 = std::min(y1, double(r.y));
    y2 = std::max(y2, double(r.y));
    any = true;
  }
  FreeRecordArray(array);
  if (!any) return false;
  x = (x1 + x2) / 2.0;
  y = (y1 + y2) / 2.0;
  return true;
}

// --- extreme points --------------------------------------------------------------------------

bool FindExtremePoints(const TVectorRecord* records, int32_t count, TVectorRecord extremes[4]) {
  bool any = false;
  for (int32_t i = 0; i < count; ++i) {
    const TVectorRecord& r = records[i];
    if (r.type != kRecLinePoint && r.type != kRec3DPoint && r.type != kRecSplinePoint) continue;
    if (!any) {
      for (int k = 0; k < 4; ++k) extremes[k] = r;
      any = true;
      continue;
    }
    if (r.x < extremes[0].x) extremes[0] = r;  // leftmost
    if (r.y > extremes[1].y) extremes[1] = r;  // top
    if (r.y < extremes[2].y) extremes[2] = r;  // bottom
    if (r.x > extremes[3].x) extremes[3] = r;  // rightmost
  }
  return any;
}

int ChooseNearestExtreme(const TVectorRecord extremes[4], double x, double y) {
  int chosen = 0;
  double best = std::hypot(extremes[0].x - x, extremes[0].y - y);
  for (int k = 1; k < 4; ++k) {
    const double d = std::hypot(extremes[k].x - x, extremes[k].y - y);
    if (d < best) {
      best = d;
      chosen = k;
    }
  }
  return chosen;
}

// --- main direction ----------------------------------------------------------------------------

int CollectMainDirectionCandidates(const TVectorRecord* records, int32_t count,
                                   TVectorRecord candidates[kMainDirectionCandidates]) {
  int32_t end = count;
  // Trailing contour starts carry no drawn point yet; a drawing of nothing
  // but a start keeps it.
  while (end > 1 && (records[end - 1].type == kRecContourStart || records[end - 1].type == kRecAltContourStart)) --end;
  if (end <= 0) return 0;
  int32_t begin = end - 1;
  while (begin > 0 && records[begin].type != kRecContourStart) --begin;
  if (end - begin > kMainDirectionTailRecords) begin = end - kMainDirectionTailRecords;

  // Only drawn points of the contour count.
  int32_t last = -1, beforeLast = -1;
  for (int32_t i = end - 1; i >= begin && beforeLast < 0; --i) {
    const uint8_t t = records[i].type;
    if (!IsPointType(t) && t != kRecAltContourStart && t != kRecSplinePoint) continue;
    if (last < 0) last = i;
    else beforeLast = i;
  }
  if (last < 0) return 0;
  candidates[0] = records[last];
  if (beforeLast < 0) return 1;
  const TVectorRecord& a = records[beforeLast];
  const TVectorRecord& b = records[last];
  candidates[1] = PointRec((double(a.x) + b.x) / 2.0, (double(a.y) + b.y) / 2.0);
  candidates[2] = a;
  TVectorRecord extremes[4];
  if (!FindExtremePoints(records + begin, end - begin, extremes)) {
    for (int k = 0; k < 4; ++k) extremes[k] = b;
  }
  candidates[3] = PointRec((double(extremes[0].x) + extremes[3].x) / 2.0, (double(extremes[2].y) + extremes[1].y) / 2.0);
  for (int k = 0; k < 4; ++k) candidates[4 + k] = extremes[k];
  return kMainDirectionCandidates;
}

int CollectMainDirectionCandidatesFromFile(const std::string& name,
                                           TVectorRecord candidates[kMainDirectionCandidates]) {
  TVectorArray array;
  LoadCatchFile(name, array);
  const int n = CollectMainDirectionCandidates(array.records, array.count, candidates);
  FreeRecordArray(array);
  return n;
}

void CaptureMainDirection(const TVectorRecord* candidates, int count, double cursorX, double cursorY, double capture,
                          TDirectionCapture& out) {
  out = TDirectionCapture{};
  double best = capture;
  for (int i = 0; i < count; ++i) {
    const double cx = candidates[i].x, cy = candidates[i].y;
    const double dx = cursorX - cx, dy = cursorY - cy;
    const double adx = std::fabs(dx), ady = std::fabs(dy), diag = std::fabs(adx - ady);
    if (adx < best) {
      out = {kDirectionVertical, i, cx, cursorY, 0.0, dy};
      best = adx;
    } else if (ady < best) {
      out = {kDirectionHorizontal, i, cursorX, cy, dx, 0.0};
      best = ady;
    } else if (diag < best) {
      const double h = std::hypot(dx, dy) / std::sqrt(2.0);
      const double hx = dx < 0.0 ? -h : h, hy = dy < 0.0 ? -h : h;
      out = {kDirectionDiagonal, i, cx + hx, cy + hy, hx, hy};
      best = diag;
    }
  }
}

std::string FormatDirectionOffsets(const TDirectionCapture& capture) {
  return "dx=" + FormatRealText(0, 3, static_cast<float>(capture.offsetX)) +
         " dy=" + FormatRealText(0, 3, static_cast<float>(capture.offsetY));
}

bool ResolveMainDirectionInput(const TVectorRecord* candidates, const TDirectionCapture& capture,
                               const double* numbers, int numberCount, double& x, double& y, bool& beep) {
  beep = false;
  if (capture.direction == kDirectionNone || capture.candidate < 0) return false;
  const TVectorRecord& c = candidates[capture.candidate];
  switch (numberCount) {
    case 0:
      x = capture.trackedX;
      y = capture.trackedY;
      return true;
    case 1:
      if (capture.direction == kDirectionVertical) {
        x = c.x;
        y = c.y + numbers[0];
      } else if (capture.direction == kDirectionHorizontal) {
        x = c.x + numbers[0];
        y = c.y;
      } else {
        beep = true;
        x = capture.trackedX;
        y = capture.trackedY;
      }
      return true;
    case 2:
      x = c.x + numbers[0];
      y = c.y + numbers[1];
      return true;
    default:
      return false;
  }
}

// --- the menu and the interactive modes ----------------------------------------------------------

namespace {

double WorldOfPixels(double pixels) { return pixels / (ViewScaleX > 0.0f ? ViewScaleX : 1.0f); }

// A click (or typed point); false when cancelled.
bool AskClick(const std::string& prompt, TPointRecord& point) {
  point.type = 0;
  MouseButtonState = 0;  // the click that led here is used up
  PromptPoint(prompt, point);
  return point.type == kRecLinePoint;
}

void DrawMarker(int mode, int colour, int kind, double x, double y) {
  EraseMouseCursor();
  SetDrawColorAndMode(mode, colour);
  DrawPointMarker(kind, static_cast<float>(x), static_cast<float>(y));
}

void DrawSegment(const TVectorRecord& a, const TVectorRecord& b, int colour) {
  EraseMouseCursor();
  SetDrawColorAndMode(kCopyMode, colour);
  MoveToWorldPoint(a.x, a.y);
  LineToWorldPoint(b.x, b.y);
}

// The clicked point moved to the nearest file point within 30 pixels.
bool AskFilePoint(const std::string& prompt, const std::string& file, TPointRecord& point) {
  if (!AskClick(prompt, point)) return false;
  FindNearestFilePointInBox(file, point, WorldOfPixels(kCatchEndPointPixels));
  return true;
}

// The vector store put aside around a scratch pick: the store file and its
// flag come back as they were, whatever the mode did.
struct TParkedStore {
  bool moved = false;
  uint8_t flag = 0;
  std::string backup;
};

void ParkStore(TParkedStore& parked) {
  parked.flag = StoreHoldsData;
  parked.backup = MakeBackupName(kVectorStoreName);
  parked.moved = FileExistsPlain(kVectorStoreName);
  if (parked.moved) RenameFileReplacing(kVectorStoreName, parked.backup);
  StoreHoldsData = 0;
  WriteVectorRecords(kVectorStoreName, nullptr, 0, false);
}

void RestoreStore(const TParkedStore& parked) {
  if (parked.moved) {
    RenameFileReplacing(parked.backup, kVectorStoreName);
  } else {
    WriteVectorRecords(kVectorStoreName, nullptr, 0, false);
  }
  InvalidateSnapPointCache();
  StoreHoldsData = parked.flag;
}

// Asks a click on an object and copies the contour with the segment nearest
// to it into the (empty) store. False when cancelled or nothing is there.
bool PickScratchObject(const std::string& file) {
  TPointRecord point{};
  if (!AskClick(GetMessageText(kMsgPickObject, -39), point) || ButtonResult != 2) return false;
  uint8_t found = 0;
  PickContourIntoStore(file, point, kPickBySegment, found);
  return found != 0;
}

bool CatchCentre(const std::string& file, double& x, double& y) {
  TParkedStore parked;
  ParkStore(parked);
  const bool ok = PickScratchObject(file) && ComputeFileExtentCentre(kVectorStoreName, x, y);
  RestoreStore(parked);
  return ok;
}

bool CatchCrossing(int mode, const std::string& file, double& x, double& y) {
  TVectorRecord a1{}, a2{}, b1{}, b2{};
  const std::string prompt = GetMessageText(kMsgPickVector, -39);
  if (!PickFileSegment(prompt + " #1", file, a1, a2)) return false;
  DrawSegment(a1, a2, kMarkColour);
  const bool picked = PickFileSegment(prompt + " #2", file, b1, b2);
  DrawSegment(a1, a2, GetCurrentLayerColour());
  if (!picked) return false;
  if (mode == 5) return IntersectLinesChecked(a1, a2, b1, b2, x, y);
  float fx = 0.0f, fy = 0.0f;
  if (!IntersectSegments(a1, a2, b1, b2, fx, fy)) return false;
  x = fx;
  y = fy;
  return true;
}

bool CatchLineCrossing(const TPointRecord& reference, const std::string& file, double& x, double& y) {
  TVectorRecord last{};
  ReadLastLayerRecord(last);
  TParkedStore parked;
  ParkStore(parked);
  bool ok = PickScratchObject(file) && last.type != 0;
  if (ok) {
    TVectorRecord through{};
    through.type = kRecLinePoint;
    through.x = reference.x;
    through.y = reference.y;
    ok = FindLineCrossingInFile(kVectorStoreName, last, through, reference.x, reference.y, x, y);
  }
  RestoreStore(parked);
  return ok;
}

bool CatchExtreme(const std::string& file, double& x, double& y) {
  TParkedStore parked;
  ParkStore(parked);
  bool ok = PickScratchObject(file);
  TVectorRecord extremes[4];
  if (ok) {
    std::vector<TVectorRecord> records;
    ReadVectorRecords(kVectorStoreName, -1, records);
    ok = FindExtremePoints(records.data(), int32_t(records.size()), extremes);
  }
  RestoreStore(parked);
  if (!ok) return false;
  for (const TVectorRecord& e : extremes) DrawMarker(kXorMode, kMarkColour, 1, e.x, e.y);
  TPointRecord point{};
  ok = AskClick(GetMessageText(kMsgEndPoint, -39), point) && ButtonResult == 2;
  if (ok) {
    const TVectorRecord& chosen = extremes[ChooseNearestExtreme(extremes, point.x, point.y)];
    x = chosen.x;
    y = chosen.y;
  }
  for (const TVectorRecord& e : extremes) DrawMarker(kXorMode, kMarkColour, 1, e.x, e.y);
  return ok;
}

bool CatchMiddleOfTwo(const std::string& file, double& x, double& y) {
  TPointRecord first{}, second{};
  if (!AskFilePoint(GetMessageText(kMsgFirstPoint, -39), file, first)) return false;
  DrawMarker(kXorMode, kMarkColour, 2, first.x, first.y);
  const bool ok = AskFilePoint(GetMessageText(kMsgSecondPoint, -39), file, second);
  DrawMarker(kXorMode, kMarkColour, 2, first.x, first.y);
  if (!ok) return false;
  x = (double(first.x) + second.x) / 2.0;
  y = (double(first.y) + second.y) / 2.0;
  return true;
}

// The guide of a capture: a dotted line through the candidate, its marker
// and the tracked point's marker, all in xor (drawing twice erases).
void DrawDirectionGuide(const TVectorRecord* candidates, const TDirectionCapture& c) {
  if (c.direction == kDirectionNone) return;
  const TVectorRecord& k = candidates[c.candidate];
  EraseMouseCursor();
  SetDrawColorAndMode(kXorMode, kMarkColour);
  SetPenStyle(4, 0x3333, 1);
  if (c.direction == kDirectionVertical) {
    MoveToWorldPoint(k.x, WorldYMin);
    LineToWorldPoint(k.x, WorldYMax);
  } else if (c.direction == kDirectionHorizontal) {
    MoveToWorldPoint(WorldXMin, k.y);
    LineToWorldPoint(WorldXMax, k.y);
  } else {
    const double sx = c.offsetX < 0.0 ? -1.0 : 1.0, sy = c.offsetY < 0.0 ? -1.0 : 1.0;
    MoveToWorldPoint(static_cast<float>(k.x - kDiagonalReach * sx), static_cast<float>(k.y - kDiagonalReach * sy));
    LineToWorldPoint(static_cast<float>(k.x + kDiagonalReach * sx), static_cast<float>(k.y + kDiagonalReach * sy));
  }
  SetPenStyle(0, 0xFFFF, 1);
  DrawPointMarker(1, k.x, k.y);
  DrawPointMarker(8, static_cast<float>(c.trackedX), static_cast<float>(c.trackedY));
}

bool SameCapture(const TDirectionCapture& a, const TDirectionCapture& b) {
  return a.direction == b.direction && a.candidate == b.candidate && a.trackedX == b.trackedX &&
         a.trackedY == b.trackedY;
}

// Main direction: false without a result (the button state is then left
// as the loop ended); fail set when the mode failed.
bool CatchMainDirection(const std::string& file, double& x, double& y, bool& fail) {
  fail = false;
  TVectorRecord candidates[kMainDirectionCandidates];
  const int count = CollectMainDirectionCandidatesFromFile(file, candidates);
  if (count == 0) {
    fail = true;
    return false;
  }
  for (int i = 0; i < count; ++i) DrawMarker(kXorMode, kCandidateColour, 2, candidates[i].x, candidates[i].y);
  ShowInputPrompt(GetMessageText(kMsgMainDirection, -39));
  WaitForMouseRelease();
  ClearKeyBuffer();
  std::string text;
  TDirectionCapture shown;
  ButtonResult = 0;
  MouseButtonState = 0;  // the click that led here is used up
  for (;;) {
    EditPromptLine(text);
    if (CloseRequested && ButtonResult == 0) ButtonResult = 4;
    if (ButtonResult != 0) break;
    TDirectionCapture now;
    CaptureMainDirection(candidates, count, CursorPoint.x, CursorPoint.y, WorldOfPixels(kCatchDirectionPixels), now);
    if (!SameCapture(now, shown)) {
      DrawDirectionGuide(candidates, shown);
      DrawDirectionGuide(candidates, now);
      ShowTopBarText(now.direction == kDirectionNone ? std::string() : FormatDirectionOffsets(now));
      shown = now;
    }
  }
  DrawDirectionGuide(candidates, shown);
  ShowTopBarText("");
  for (int i = 0; i < count; ++i) DrawMarker(kXorMode, kCandidateColour, 2, candidates[i].x, candidates[i].y);
  if (ButtonResult != 2) return false;
  TCoordinateList list;
  int typed = 0;
  if (!text.empty()) ParseCoordinateList(text, list, 0, typed);
  double numbers[6] = {};
  for (int i = 0; i < typed && i < 6; ++i) numbers[i] = CoordinateListValue(list, i + 1);
  bool beep = false;
  if (!ResolveMainDirectionInput(candidates, shown, numbers, typed, x, y, beep)) {
    fail = true;
    return false;
  }
  if (beep) BeepSignal();
  return true;
}

}  // namespace

bool PickFileSegment(const std::string& prompt, const std::string& file, TVectorRecord& a, TVectorRecord& b) {
  TPointRecord point{};
  if (!AskClick(prompt, point) || ButtonResult != 2) return false;
  int32_t index = -1;
  FindNearestVectorPoint(file, point, index, kNearestSegment);
  if (point.type == 0 || index < 1) return false;
  std::vector<TVectorRecord> records;
  if (!ReadVectorRecords(file, int64_t(index) + 1, records) || int64_t(records.size()) < int64_t(index) + 1) return false;
  a = records[size_t(index) - 1];
  b = records[size_t(index)];
  return true;
}

void RunCatchMode(int mode, const TPointRecord& reference, std::string& promptText, const std::string& file) {
  double x = 0.0, y = 0.0;
  bool ok = false;
  switch (mode) {
    case 1:
      MouseButtonState = 0;
      ButtonResult = 0;
      return;
    case 2: {
      TPointRecord point{};
      ok = AskFilePoint(GetMessageText(kMsgEndPoint, -39), file, point);
      x = point.x;
      y = point.y;
      break;
    }
    case 3: {
      TVectorRecord a{}, b{};
      ok = PickFileSegment(GetMessageText(kMsgPickVector, -39), file, a, b);
      x = (double(a.x) + b.x) / 2.0;
      y = (double(a.y) + b.y) / 2.0;
      break;
    }
    case 4: ok = CatchCentre(file, x, y); break;
    case 5:
    case 6: ok = CatchCrossing(mode, file, x, y); break;
    case 7: {
      TVectorRecord a{}, b{}, last{};
      ok = PickFileSegment(GetMessageText(kMsgPickVector, -39), file, a, b);
      if (ok) ReadLastLayerRecord(last);
      ok = ok && last.type != 0 && ComputePerpendicularFoot(a, b, last.x, last.y, x, y);
      break;
    }
    case 8: {
      TPointRecord point{};
      ok = AskClick(GetMessageText(kMsgNearest, -39) + " :", point) &&
           FindNearestPointOnFileVectors(file, point.x, point.y, x, y);
      break;
    }
    case 9: ok = CatchLineCrossing(reference, file, x, y); break;
    case 10: ok = CatchExtreme(file, x, y); break;
    case 11: {
      bool fail = false;
      ok = CatchMainDirection(file, x, y, fail);
      if (!ok && !fail) return;  // left without a result
      break;
    }
    case 12: ok = CatchMiddleOfTwo(file, x, y); break;
    default: return;
  }
  if (ok) SetCatchResult(promptText, x, y);
  else FailCatch();
}

void RunCatchModeMenu(const TPointRecord& reference, std::string& promptText, int16_t selector) {
  std::string file = CatchFileForSelector(selector);
  const bool storeMoved = selector == -2 && StoreHoldsData != 0 &&
                          GetFileByteSizeQuiet(kVectorStoreName) > int64_t(kVectorRecordSize);
  if (storeMoved) {
    RenameFileReplacing(kVectorStoreName, kStoreMovedName);
    StoreHoldsData = 0;
    file = kStoreMovedName;
  }
  const TCommandCode savedCommand = CommandWord;
  CommandWord = kCatchMenuCommand;

  TPopupList list;
  InitPopupList(list);
  list.x = MouseX;
  list.y = MouseY;
  list.title = GetMessageText(kMsgMenuTitle, -39);
  SetPopupEntries(list, kCatchMenu);
  ShowPopupMenu(list);
  if (list.result >= 1 && list.result <= kCatchMenuEntries) RunCatchMode(list.result, reference, promptText, file);

  CommandWord = savedCommand;
  if (storeMoved) {
    RenameFileReplacing(kStoreMovedName, kVectorStoreName);
    StoreHoldsData = 1;
  }
  InvalidateSnapPointCache();
}
