// Straight-line constructions; see lines_polylines.h.
#include "cad/lines_polylines.h"

#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>

#include "cad/construction_frame.h"
#include "cad/point_entry.h"
#include "frame/math_constants.h"
#include "frame/messages.h"
#include "frame/window_draw.h"
#include "frame/main_window.h"
#include "ui/popup_list.h"
#include "ui/prompt_strip.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"
#include "view/view_transform.h"

namespace {

constexpr int kPointObjectMarker = 7;
constexpr size_t kKeysPromptMax = 79;
constexpr size_t kPolylinePromptMax = 40;
// The band end counts as moved beyond this.
constexpr double kBandMoved = 0.00005;
// Below this |cos| or |sin| a tangent is taken as infinite or zero.
constexpr double kTangentLimit = 1e-9;

constexpr int16_t kMsgOffsets = 20;
constexpr int16_t kMsgLengthAngle = 21;
constexpr int16_t kMsg15Degrees = 23;
constexpr int16_t kMsg3DPoint = 1636;
constexpr int16_t kMsgLengthDx = 1717;
constexpr int16_t kMsgLengthDy = 1718;
constexpr int16_t kMsgAngleDx = 1719;
constexpr int16_t kMsgAngleDy = 1720;
constexpr int16_t kMsgLineKinds = 1721;
constexpr int16_t kMsgCancelKeys = 371;
constexpr size_t kCancelKeysShown = 17;
constexpr uint8_t kKeyEsc = 27;
constexpr uint8_t kKeyN = 78;
// The line popup opens this much above the mouse.
constexpr int16_t kLinePopupLift = 32;

struct TLineKind {
  const char* caption;
  const char* icon;
  int mode;
  uint8_t type;
};
constexpr TLineKind kLineKinds[] = {
    {"dX,dY A", "GeradeXYA", kLineByOffsets, kRecContourStart},
    {"dX,dY E", "GERADXY", kLineByOffsets, kRecLinePoint},
    {"R,Wi E", "GERADRW", kLineByLengthAngle, kRecLinePoint},
    {"15\xf8 R,Wi E", "GERAD15", kLineBy15Degrees, kRecLinePoint},
    {"R,dX E", "GeradeRXE", kLineByLengthDx, kRecLinePoint},
    {"R,dY E", "GeradeRYE", kLineByLengthDy, kRecLinePoint},
    {"Wi,dX E", "GeradeWiXE", kLineByAngleDx, kRecLinePoint},
    {"Wi,dY E", "GeradeWiYE", kLineByAngleDy, kRecLinePoint},
};

std::string Prompt(int16_t number) { return GetMessageText(number, -39); }

std::string Fixed3(double v) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%.3f", v);
  return buffer;
}

int16_t ModePrompt(int mode) {
  switch (mode) {
    case kLineByOffsets: return kMsgOffsets;
    case kLineByLengthAngle: return kMsgLengthAngle;
    case kLineBy15Degrees: return kMsg15Degrees;
    case kLineByLengthDx: return kMsgLengthDx;
    case kLineByLengthDy: return kMsgLengthDy;
    case kLineByAngleDx: return kMsgAngleDx;
    default: return kMsgAngleDy;
  }
}

void DrawLayerSegment(const TPointRecord& a, const TPointRecord& b) {
  EraseMouseCursor();
  SetDrawColorAndMode(kCopyMode, Construction.layerColour);
  DrawSegment(a, b);
}

// The band drawn again in xor (erasing it).
void XorBandOff() { DrawRubberBand(Construction.bandEnd); }

// The values shown in the top bar while a line by values is entered.
void ShowLineValues(const TPointRecord& end) {
  const TPointRecord& last = Construction.lastPoint;
  if (std::fabs(double(end.x) - Construction.bandEnd.x) <= kBandMoved &&
      std::fabs(double(end.y) - Construction.bandEnd.y) <= kBandMoved)
    return;
  UpdateRubberBand(end);
  const double dx = double(end.x) - last.x, dy = double(end.y) - last.y;
  ShowTopBarText("dx=" + Fixed3(dx) + " dy=" + Fixed3(dy) + " R=" + Fixed3(std::sqrt(dx * dx + dy * dy)) +
                 " Wi=" + Fixed3(LineValuesAngle(dx, dy)));
}

double Sign(double v) { return v < 0.0 ? -1.0 : 1.0; }

}  // namespace

// --- plain geometry ----------------------------------------------------------------------------

double LineValuesAngle(double dx, double dy) {
  double a = std::fabs(dx) < 0.001 ? 90.0 : std::atan(std::fabs(dy) / std::fabs(dx)) / kDegree;
  if (dy >= 0.0 && dx < 0.0) a = 180.0 - a;
  else if (dy < 0.0 && dx >= 0.0) a = -a;
  else if (dy < 0.0 && dx < 0.0) a += 180.0;
  return a;
}

void SnapBandTo15Degrees(const TPointRecord& last, TPointRecord& end) {
  const double dx = double(end.x) - last.x, dy = double(end.y) - last.y;
  if (std::fabs(dx) <= 0.01) {
    end.x = last.x;
  } else if (std::fabs(dy) <= 0.01) {
    end.y = last.y;
  } else {
    const double a = std::round(std::atan(dy / dx) / k15DegreeStep) * k15DegreeStep;
    if (std::fabs(dx) > std::fabs(dy)) end.y = float(last.y + dx * std::tan(a));
    else end.x = float(last.x + dy / std::tan(a));
  }
}

bool ComputeLineByValues(int mode, const TPointRecord& last, double a, double b, double side, TPointRecord& end) {
  double ex = last.x, ey = last.y;
  switch (mode) {
    case kLineByOffsets:
      ex += a;
      ey += b;
      break;
    case kLineByLengthAngle:
    case kLineBy15Degrees: {
      double w = b * kDegree;
      if (mode == kLineBy15Degrees) w = std::round(w / k15DegreeStep) * k15DegreeStep;
      ex += a * std::cos(w);
      ey += a * std::sin(w);
      break;
    }
    case kLineByLengthDx:
    case kLineByLengthDy: {
      const double rest = a * a - b * b;
      if (rest <= 0.0) return false;
      const double other = Sign(side) * std::sqrt(rest);
      if (mode == kLineByLengthDx) {
        ex += b;
        ey += other;
      } else {
        ex += other;
        ey += b;
      }
      break;
    }
    case kLineByAngleDx:
    case kLineByAngleDy: {
      double w = std::fmod(a, 360.0);
      if (w < 0.0) w += 360.0;
      const double c = std::cos(w * kDegree), s = std::sin(w * kDegree);
      const double xSign = (w > 90.0 && w < 270.0) ? -1.0 : 1.0;
      const double ySign = (w > 180.0 && w < 360.0) ? -1.0 : 1.0;
      if (mode == kLineByAngleDx) {
        if (std::fabs(c) < kTangentLimit) return false;
        ex += xSign * std::fabs(b);
        ey += ySign * std::fabs(s / c * b);
      } else {
        if (std::fabs(s) < kTangentLimit) return false;
        ex += xSign * std::fabs(b * c / s);
        ey += ySign * std::fabs(b);
      }
      break;
    }
    default:
      return false;
  }
  end.x = float(ex);
  end.y = float(ey);
  return true;
}

// --- constructions ------------------------------------------------------------------------------

namespace {

// A line point continues the contour; anything else starts a new one there.
void WritePointOrNewStart(TPointRecord p, uint8_t type) {
  TConstructionState& s = Construction;
  if (type == kRecLinePoint) {
    AppendContourPoint(p, kRecLinePoint);
    return;
  }
  p.type = kRecContourStart;
  WriteConstructionPoint(p);
  s.lastPoint = p;
  s.contourStart = p;
}

}  // namespace

void LineOrNewStart() {
  TConstructionState& s = Construction;
  s.typedText.clear();
  const bool empty = s.recordCount == 0;
  const std::string cancelKeys = Prompt(kMsgCancelKeys).substr(0, kCancelKeysShown);
  std::string prompt = Prompt(kMsgEnterPoint);
  prompt += empty ? " <L>,<R> = PosA, " : " <L> = PosE, <R> = PosA, ";
  prompt += cancelKeys + ":";
  TPointRecord p{};
  if (empty) AskConstructionPoint(prompt, p);
  else AskConstructionPointWithBand(prompt, p);
  uint8_t type = empty ? kRecContourStart : kRecLinePoint;
  if (s.event == kEventCancel) {
    // The right button starts a new contour; Esc or "N" cancels.
    if (CursorKeyCode != kKeyEsc && CursorKeyCode != kKeyN) {
      type = kRecContourStart;
      s.event = kEventConfirm;
    }
  }
  if (!empty && (s.event == kEventCancel || type == kRecContourStart)) EraseRubberBand();
  if (s.event == kEventCancel) return;
  WritePointOrNewStart(p, type);
}

void MoveToNewStart() {
  TConstructionState& s = Construction;
  s.typedText.clear();
  TPointRecord p{};
  AskConstructionPointWithBand(Prompt(kMsgEnterPoint), p);
  if (s.event == kEventCancel) {
    EraseRubberBand();
    return;
  }
  AppendContourPoint(p, kRecContourStart);
}

void LineToWithKeys() {
  TConstructionState& s = Construction;
  s.typedText.clear();
  s.bandEnd = CursorPoint;
  uint8_t defaultType = kRecLinePoint;
  std::string prompt = Prompt(kMsgEnterPoint);
  if (s.recordCount == 0) {
    defaultType = kRecContourStart;
    prompt += ", <L> = PosA:";
    s.lastPoint.x = CursorPoint.x;
    s.lastPoint.y = CursorPoint.y;
  } else {
    prompt += " <L>,<E> = PosE, <A> = PosA:";
  }
  if (prompt.size() > kKeysPromptMax) prompt.resize(kKeysPromptMax);
  uint8_t type = defaultType;
  uint8_t menuState = 0;
  BeginEntryLoop(prompt, menuState);
  if (type == kRecLinePoint) DrawRubberBand(s.bandEnd);
  bool toStart = false;
  bool done = false;
  while (!done) {
    done = EntryLoopStep(menuState);
    if (type == kRecLinePoint) UpdateRubberBand(CursorPoint);
    if (s.typedText.empty()) continue;
    const char key = s.typedText[0];
    if (key == 'A' || key == 'a') {
      s.typedText.erase(0, 1);
      s.event = kEventConfirm;
      if (type == kRecLinePoint) XorBandOff();
      type = kRecContourStart;
      done = true;
    } else if (key == 'E' || key == 'e') {
      s.typedText.erase(0, 1);
      s.event = kEventConfirm;
      type = defaultType;
      done = true;
    } else if (key == 'S' || key == 's') {
      s.typedText.erase(0, 1);
      if (defaultType == kRecLinePoint) {
        if (PointsDiffer(s.lastPoint, s.contourStart)) UpdateRubberBand(s.contourStart);
        s.event = kEventConfirm;
        type = kRecLinePoint;
        toStart = true;
        done = true;
      }
    }
  }
  TPointRecord p{};
  if (toStart) {
    p = s.contourStart;
  } else if (s.event != kEventCancel && ParseTypedNumbers(2) == 2) {
    p.x = TypedNumber(1);
    p.y = TypedNumber(2);
  } else {
    TakeCursorPoint(p);
  }
  if (type == kRecLinePoint) UpdateRubberBand(p);
  if (s.event == kEventConfirm) MarkEnteredPoint(p);
  if (s.event == kEventCancel || type == kRecContourStart) {
    if (type == kRecLinePoint) XorBandOff();
  }
  if (s.event == kEventCancel) return;
  WritePointOrNewStart(p, type);
}

void PlaceSinglePoint() {
  TConstructionState& s = Construction;
  s.typedText.clear();
  TPointRecord p{};
  AskConstructionPoint(Prompt(kMsgEnterPoint), p);
  if (s.event != kEventConfirm) return;
  WriteConstructionPointZ(kRecContourStart, p.x, p.y, 0.0f);
  WriteConstructionPointZ(kRecLinePoint, p.x, p.y, 0.0f);
  EraseMouseCursor();
  SetDrawColorAndMode(kCopyMode, s.layerColour);
  DrawPointMarker(kPointObjectMarker, p.x, p.y);
  s.contourStart = TPointRecord{kRecContourStart, p.x, p.y};
  s.lastPoint = TPointRecord{kRecLinePoint, p.x, p.y};
}

void DrawSingleLine() {
  TConstructionState& s = Construction;
  s.typedText.clear();
  TPointRecord a{};
  AskConstructionPoint(Prompt(kMsgFirstPoint), a);
  if (s.event == kEventCancel || s.event == kEventNone) return;
  if (PointsDiffer(a, s.lastPoint) || s.lastPoint.type == 0) {
    a.type = kRecContourStart;
    WriteConstructionPoint(a);
    s.lastPoint = a;
    s.contourStart = a;
    // A cancel at the second point moves nothing into the vector store.
    s.startIndex = CountTargetRecords();
  }
  WaitForMouseRelease();
  s.typedText.clear();
  TPointRecord b{};
  AskConstructionPointWithBand(Prompt(kMsgSecondPoint), b);
  if (!PointsDiffer(b, s.lastPoint)) return;
  if (s.event == kEventCancel) {
    EraseRubberBand();
    return;
  }
  b.type = kRecLinePoint;
  WriteConstructionPoint(b);
  DrawLayerSegment(s.lastPoint, b);
  s.lastPoint = b;
}

void EnterPolyline() {
  TConstructionState& s = Construction;
  std::string prompt = Prompt(kMsgEnterPoint);
  if (prompt.size() > kPolylinePromptMax) prompt.resize(kPolylinePromptMax);
  s.typedText.clear();
  TPointRecord p{};
  AskConstructionPoint(prompt, p);
  if (s.event != kEventConfirm) return;
  if (PointsDiffer(p, s.lastPoint)) {
    p.type = kRecContourStart;
    WriteConstructionPoint(p);
    s.contourStart = p;
    // The right button at the end selects the polyline, not the contour before it.
    s.startIndex = CountTargetRecords() - 1;
  } else {
    p.type = kRecLinePoint;
    WriteConstructionPoint(p);
  }
  s.lastPoint = p;
  do {
    WaitForMouseRelease();
    s.typedText.clear();
    TPointRecord q{};
    AskConstructionPointWithBand(prompt, q);
    if (s.event == kEventConfirm) AppendContourPoint(q, kRecLinePoint);
  } while (s.event != kEventCancel);
  EraseRubberBand();
}

void LineByValues(int mode, uint8_t type) {
  TConstructionState& s = Construction;
  s.typedText.clear();
  s.bandEnd = CursorPoint;
  uint8_t menuState = 0;
  BeginEntryLoop(Prompt(ModePrompt(mode)), menuState);
  DrawRubberBand(s.bandEnd);
  bool done = false;
  while (!done) {
    done = EntryLoopStep(menuState);
    TPointRecord end = CursorPoint;
    if (mode == kLineBy15Degrees) SnapBandTo15Degrees(s.lastPoint, end);
    ShowLineValues(end);
  }
  TPointRecord end{type, 0.0f, 0.0f};
  if (s.event != kEventCancel && ParseTypedNumbers(2) == 2) {
    XorBandOff();
    double side = 1.0;
    if (mode == kLineByLengthDx) side = Sign(double(CursorPoint.y) - s.lastPoint.y);
    if (mode == kLineByLengthDy) side = Sign(double(CursorPoint.x) - s.lastPoint.x);
    if (!ComputeLineByValues(mode, s.lastPoint, TypedNumber(1), TypedNumber(2), side, end)) {
      s.event = kEventCancel;
      return;
    }
  } else if (s.event != kEventCancel) {
    if (mode == kLineBy15Degrees) {
      end.x = s.bandEnd.x;
      end.y = s.bandEnd.y;
    } else {
      TakeCursorPoint(end);
      UpdateRubberBand(end);
    }
  }
  if (s.event == kEventCancel) {
    EraseRubberBand();
    return;
  }
  AppendContourPoint(end, type);
}

void Enter3DPoint() {
  TConstructionState& s = Construction;
  s.typedText.clear();
  s.bandEnd = CursorPoint;
  uint8_t menuState = 0;
  BeginEntryLoop(Prompt(kMsg3DPoint), menuState);
  DrawRubberBand(s.bandEnd);
  bool done = false;
  while (!done) {
    done = EntryLoopStep(menuState);
    UpdateRubberBand(CursorPoint);
  }
  XorBandOff();
  if (s.event != kEventConfirm) return;
  TVectorRecord p{kRecLinePoint, 0.0f, 0.0f, 0.0f};
  const int count = ParseTypedNumbers(0);
  if (count == 2 || count == 3) {
    p.x = TypedNumber(1);
    p.y = TypedNumber(2);
    if (count == 3) {
      p.type = kRec3DPoint;
      p.z = TypedNumber(3);
    }
  } else {
    TPointRecord c{};
    TakeCursorPoint(c);
    p.x = c.x;
    p.y = c.y;
    if (EnterTyped3DPoint(p) == 0) return;
  }
  const TPointRecord point{p.type, p.x, p.y};
  MarkEnteredPoint(point);
  if (p.type != s.lastPoint.type || PointsDiffer(point, s.lastPoint)) {
    WriteConstructionPointZ(p.type, p.x, p.y, p.z);
    DrawLayerSegment(s.lastPoint, point);
    s.lastPoint = point;
  }
}

void ChooseLineKind() {
  TPopupList list;
  InitPopupList(list);
  list.x = MouseX;
  list.y = int16_t(MouseY - kLinePopupLift);
  list.title = Prompt(kMsgLineKinds);
  for (size_t i = 0; i < std::size(kLineKinds); ++i) {
    list.captions[i] = kLineKinds[i].caption;
    list.names[i] = kLineKinds[i].icon;
  }
  list.result = 1;
  ShowPopupMenu(list);
  if (list.result < 1 || list.result > int16_t(std::size(kLineKinds))) return;
  const TLineKind& kind = kLineKinds[list.result - 1];
  WaitForMouseRelease();
  LineByValues(kind.mode, kind.type);
}
