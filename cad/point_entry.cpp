// Point entry: the decisions of the entry routines; see point_entry.h.
#include "cad/point_entry.h"

#include <cmath>
#include <cstdio>

#include "model/arcs_to_points.h"
#include "model/geometry_2d.h"
#include "model/geometry_tolerances.h"
#include "cad/snapping.h"
#include "frame/main_window.h"
#include "frame/math_constants.h"
#include "frame/param_file.h"
#include "frame/messages.h"
#include "frame/window_draw.h"
#include "ui/line_editor.h"
#include "ui/prompt_strip.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"
#include "view/screen_scheme.h"
#include "view/view_transform.h"

namespace {

constexpr size_t kTyped3DTextMax = 60;
constexpr int16_t kTyped3DPrompt = 1635;
constexpr int16_t kPromptFirstPoint = 11;
constexpr int16_t kPromptSecondPoint = 12;
constexpr int kControlMarker = 2;
constexpr int kPenSolid = 0;
constexpr int kPenDotted = 4;
constexpr uint16_t kDottedPattern = 0x3333;
// Exit codes of the text field that end the 3D point edit.
constexpr uint8_t kEditEnter = 2;
constexpr uint8_t kEditEsc = 3;
constexpr uint8_t kEditF1 = 8;

std::string FixedText(double value, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  return buffer;
}

// Up to six typed numbers; the count.
int ReadTypedNumbers(const std::string& text, int expected, double numbers[6]) {
  if (text.empty()) return 0;
  TCoordinateList list;
  int count = 0;
  ParseCoordinateList(text, list, expected, count);
  for (int i = 0; i < count && i < 6; ++i) numbers[i] = CoordinateListValue(list, i + 1);
  return count;
}

// One step of the prompt line and the guide snap of the cursor; true while
// the entry goes on.
bool PromptStep(std::string& text) {
  EditPromptLine(text);
  if (SnapRadius == 0) SnapPointToGuideLines(CursorPoint);
  if (CloseRequested && ButtonResult == 0) ButtonResult = 4;
  return ButtonResult == 0;
}

// The point of an entry that ended with a click or Enter.
void TakeEnteredPoint(const std::string& text, TVectorRecord& point) {
  double numbers[6] = {};
  const int count = ReadTypedNumbers(text, 2, numbers);
  ResolveEnteredPoint(numbers, count, point);
}

void DrawBand(const TVectorRecord& a, const TVectorRecord& b) {
  EraseMouseCursor();
  SetDrawColorAndMode(kXorMode, BandColor);
  MoveToWorldPoint(a.x, a.y);
  LineToWorldPoint(b.x, b.y);
}

void DrawControlMarker(const TVectorRecord& p) {
  EraseMouseCursor();
  SetDrawColorAndMode(kXorMode, BandColor);
  DrawPointMarker(kControlMarker, p.x, p.y);
}

bool CursorAwayFrom(const TVectorRecord& p) {
  TVectorRecord cursor{};
  cursor.x = CursorPoint.x;
  cursor.y = CursorPoint.y;
  return !TestPointsCoincide(cursor, p);
}

}  // namespace

void ResolveEnteredPoint(const double* numbers, int numberCount, TVectorRecord& out) {
  if (numberCount == 2) {
    out.x = static_cast<float>(numbers[0]);
    out.y = static_cast<float>(numbers[1]);
    return;
  }
  TPointRecord snapped{};
  SnapCursorPoint(snapped);
  out.x = snapped.x;
  out.y = snapped.y;
}

std::string BuildTyped3DPointText(const TVectorRecord& point) {
  std::string text = GetMessageText(kTyped3DPrompt, -39);
  if (!text.empty() && text.back() != ' ') text += ' ';
  text += FixedText(point.x, 3) + " " + FixedText(point.y, 3) + " " + FixedText(point.z, 3);
  if (text.size() > kTyped3DTextMax) text.resize(kTyped3DTextMax);
  return text;
}

void ApplyTyped3DPoint(TVectorRecord& point, const double* numbers, int numberCount) {
  if (numberCount != 2 && numberCount != 3) return;
  point.type = kRec3DPoint;
  point.x = static_cast<float>(numbers[0]);
  point.y = static_cast<float>(numbers[1]);
  point.z = numberCount == 3 ? static_cast<float>(numbers[2]) : 0.0f;
}

void PlaceControlPointsAtThirds(TCubicCurveEntry& curve) {
  const double x0 = curve.p0.x, y0 = curve.p0.y;
  const double dx = double(curve.p3.x) - x0, dy = double(curve.p3.y) - y0;
  curve.b2 = curve.p0;
  curve.b3 = curve.p3;
  curve.b2.x = static_cast<float>(x0 + dx / 3.0);
  curve.b2.y = static_cast<float>(y0 + dy / 3.0);
  curve.b3.x = static_cast<float>(x0 + 2.0 * dx / 3.0);
  curve.b3.y = static_cast<float>(y0 + 2.0 * dy / 3.0);
  curve.p0.type = kRecBezierEnd;
  curve.b2.type = kRecLinePoint;
  curve.b3.type = kRecLinePoint;
  curve.p3.type = kRecLinePoint;
}

std::string FormatPointDelta(const TVectorRecord& a, const TVectorRecord& b) {
  const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
  const double r = std::sqrt(dx * dx + dy * dy);
  double angle;
  if (dx != 0.0) {
    angle = std::atan(dy / dx);
    if (dx < 0.0) angle += kPi;
  } else {
    angle = dy >= 0.0 ? kPi / 2.0 : -kPi / 2.0;
  }
  return "dx=" + FixedText(dx, 4) + " dy=" + FixedText(dy, 4) + " R=" + FixedText(r, 4) +
         " Wi=" + FixedText(angle * 180.0 / kPi, 4);
}

// --- interactive entry ---------------------------------------------------------------------

void AskPointByMouseOrTyped(const std::string& prompt, TVectorRecord& point) {
  ShowInputPrompt(prompt);
  std::string text;
  ButtonResult = 0;
  MouseButtonState = 0;  // the click that led here is used up
  while (PromptStep(text)) {
  }
  if (ButtonResult != 4) TakeEnteredPoint(text, point);
  EraseMouseCursor();
}

uint8_t EnterTyped3DPoint(TVectorRecord& point) {
  std::string text = BuildTyped3DPointText(point);
  uint8_t exitCode = 0;
  do {
    EditTextField(1, kPromptRow, 40, 0, text, 274, 261, exitCode);
    if (CloseRequested && exitCode != kEditEnter && exitCode != kEditF1) exitCode = kEditEsc;
  } while (exitCode != kEditEnter && exitCode != kEditEsc && exitCode != kEditF1);
  if (exitCode == kEditEsc) return 0;
  // The prompt text in front of the numbers holds no digits.
  double numbers[6] = {};
  const int count = ReadTypedNumbers(text.substr(std::min(text.size(), GetMessageText(kTyped3DPrompt, -39).size())), 0,
                                     numbers);
  ApplyTyped3DPoint(point, numbers, count);
  return 1;
}

void AskTwoPointsWithBand(TVectorRecord& p0, TVectorRecord& p3) {
  AskPointByMouseOrTyped(GetMessageText(kPromptFirstPoint, -39), p0);
  if (ButtonResult == 4) {
    p0.type = 0;
    return;
  }
  p0.type = kRecContourStart;
  WaitForMouseRelease();
  ShowInputPrompt(GetMessageText(kPromptSecondPoint, -39));
  p3 = p0;
  DrawBand(p0, p3);
  std::string text;
  ButtonResult = 0;
  MouseButtonState = 0;  // the click that led here is used up
  while (PromptStep(text)) {
    if (CursorAwayFrom(p3)) {
      DrawBand(p0, p3);
      p3.x = CursorPoint.x;
      p3.y = CursorPoint.y;
      DrawBand(p0, p3);
    }
  }
  p3.type = kRecLinePoint;
  DrawBand(p0, p3);
  if (ButtonResult == 4) {
    p0.type = 0;
    return;
  }
  TakeEnteredPoint(text, p3);
  DrawBand(p0, p3);
}

void DrawBezierPreview(const TCubicCurveEntry& curve) {
  const TVectorRecord control[4] = {curve.p0, curve.b2, curve.b3, curve.p3};
  TVectorRecord points[kMaxSampledPoints];
  uint16_t count = 0;
  SampleBezierPoints(control, points, count, CurvePointCount > 0 ? CurvePointCount : 1);
  EraseMouseCursor();
  SetDrawColorAndMode(kXorMode, BandColor);
  MoveToWorldPoint(curve.p0.x, curve.p0.y);
  for (uint16_t i = 0; i < count; ++i) LineToWorldPoint(points[i].x, points[i].y);
  SetPenStyle(kPenDotted, kDottedPattern, 1);
  MoveToWorldPoint(curve.p0.x, curve.p0.y);
  LineToWorldPoint(curve.b2.x, curve.b2.y);
  LineToWorldPoint(curve.b3.x, curve.b3.y);
  LineToWorldPoint(curve.p3.x, curve.p3.y);
  SetPenStyle(kPenSolid, 0xFFFF, 1);
}

void MoveBezierControlPoint(TVectorRecord& control, TCubicCurveEntry& curve) {
  DrawBezierPreview(curve);
  std::string text;
  ButtonResult = 0;
  MouseButtonState = 0;  // the click that led here is used up
  // The cursor rests where the last point was given: until it moves, an
  // Enter without numbers keeps the control point where it is.
  const TPointRecord rest = CursorPoint;
  bool moved = false;
  while (PromptStep(text)) {
    moved = moved || CursorPoint.x != rest.x || CursorPoint.y != rest.y;
    if (moved && CursorAwayFrom(control)) {
      DrawControlMarker(control);
      DrawBezierPreview(curve);
      control.x = CursorPoint.x;
      control.y = CursorPoint.y;
      DrawBezierPreview(curve);
      DrawControlMarker(control);
    }
  }
  control.type = kRecLinePoint;
  DrawBezierPreview(curve);
  if (ButtonResult == 4) {
    curve.p0.type = 0;
    DrawControlMarker(control);
    return;
  }
  DrawControlMarker(control);
  double numbers[6] = {};
  const int count = ReadTypedNumbers(text, 2, numbers);
  if (moved || count == 2) ResolveEnteredPoint(numbers, count, control);
  // The marker follows the point; the preview is left off, because the next
  // placement draws it anew (left on, that xor drawing would erase it and
  // leave a picture behind at the end).
  DrawControlMarker(control);
  WaitForMouseRelease();
}

void EnterBezierByThirds(TCubicCurveEntry& curve) {
  AskTwoPointsWithBand(curve.p0, curve.p3);
  if (curve.p0.type != 0) {
    DrawBand(curve.p0, curve.p3);  // the preview takes over from the band
    WaitForMouseRelease();
    ShowInputPrompt(GetMessageText(kPromptSecondPoint, -39));
    const uint8_t startType = curve.p0.type;
    PlaceControlPointsAtThirds(curve);
    curve.p0.type = startType;  // typed 16 only when the entry is complete
    DrawControlMarker(curve.b2);
    DrawControlMarker(curve.b3);
    ShowInputPrompt("Position b2");
    MoveBezierControlPoint(curve.b2, curve);
    if (curve.p0.type == 0) {
      DrawControlMarker(curve.b3);  // no marker stays behind a cancel
    } else {
      ShowInputPrompt("Position b3");
      MoveBezierControlPoint(curve.b3, curve);
      if (curve.p0.type == 0) DrawControlMarker(curve.b2);
    }
    if (curve.p0.type != 0) {
      curve.p0.type = kRecBezierEnd;
      DrawControlMarker(curve.b2);
      DrawControlMarker(curve.b3);
    }
  }
  DrawPanelBackground();
}
