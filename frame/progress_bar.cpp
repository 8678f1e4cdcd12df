// Progress display in the status row (single level, two levels, busy).
#include "frame/progress_bar.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "frame/program_state.h"
#include "frame/program_state.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"

uint8_t ProgressDisplayOn = 1;

int32_t ProgressTotal = 1;
int32_t ProgressSubRangeStart = 0;
int32_t ProgressSubRangeEnd = 0;
int32_t ProgressOverallTotal = 1;
int32_t ProgressReferenceTotal = 1;
int32_t ProgressLastRedrawTick = 0;
int16_t ProgressBarLeft = 0;
uint16_t ProgressBarBottom = 0;
int16_t ProgressFillEnd = 0;
int16_t ProgressBusyCount = 0;
uint8_t ProgressTwoLevelMode = 0;
double ProgressSubRangeScale = 1.0;

namespace {

constexpr int kBarWidth = 167;         // pixels of a full bar; the box spans one more
constexpr int kBarHeight = 15;         // filled rows: bottom - 14 .. bottom
constexpr int kTextCentre = 83;        // percentage centred this far right of the left edge
constexpr int kTextRaise = 11;         // percentage reference row above the bottom
constexpr uint32_t kThrottleMs = 500;  // two-level redraws at most this often

constexpr int kFaceGrey = 260;
constexpr int kDoneRed = 12;
constexpr int kRestGreen = 10;
constexpr int kTextBlack = 274;

int BoxRight() { return MaxX; }
int BoxTop() { return MenuBarHeight; }

// Pascal Round of v, held inside a range that no screen position leaves.
int Nearest(double v) {
  v = std::clamp(v, -1.0e6, 1.0e6);
  return static_cast<int>(std::nearbyint(v));
}

// Screen column of step n of the total, cut to the box.
int16_t PositionOf(double n, double total) {
  int pos = Nearest(n / total * kBarWidth) + ProgressBarLeft;
  pos = std::clamp(pos, int(ProgressBarLeft), std::max(int(ProgressBarLeft), BoxRight()));
  return static_cast<int16_t>(pos);
}

int PercentOf(double n, double total) { return std::clamp(Nearest(n / total * 100.0), 0, 100); }

void FillBar(int x1, int x2, int color) {
  SetFillBrush(0, color);
  FillScreenRect(x1, ProgressBarBottom - (kBarHeight - 1), x2, ProgressBarBottom);
}

void WritePercent(int percent) {
  SetPenColor(kTextBlack);
  SetRopCopy();
  SetTextAlignment(1, 2);
  DrawScreenText(ProgressBarLeft + kTextCentre, ProgressBarBottom - kTextRaise, std::to_string(percent) + "%");
  SetTextAlignment(0, 2);
}

// The throttled redraw of two-level mode.
void UpdateTwoLevelBar(int32_t n) {
  if (ProgressTotal <= 0) return;
  const uint32_t now = GetTickMs();
  // A last tick of 0 means "draw at the next update".
  if (ProgressLastRedrawTick != 0 && now - static_cast<uint32_t>(ProgressLastRedrawTick) < kThrottleMs) return;
  ProgressLastRedrawTick = static_cast<int32_t>(now);

  const double step = ProgressSubRangeStart + double(n) * ProgressSubRangeScale;
  const int16_t pos = PositionOf(step, ProgressTotal);
  if (pos == ProgressFillEnd) return;
  const int percent = PercentOf(step, ProgressTotal);
  const int16_t subRangeEnd = PositionOf(ProgressSubRangeEnd, std::max(ProgressReferenceTotal, int32_t(1)));
  FillBar(subRangeEnd, BoxRight(), kFaceGrey);
  if (pos < subRangeEnd) FillBar(pos, subRangeEnd, kRestGreen);
  FillBar(ProgressBarLeft, pos, kDoneRed);
  WritePercent(percent);
  ProgressFillEnd = pos;
}

}  // namespace

void ResetProgressBar() {
  ProgressTwoLevelMode = 0;
  ProgressLastRedrawTick = 0;
  ProgressSubRangeScale = 1.0;
}

void ClearProgressBox() {
  SetFillBrush(0, kFaceGrey);
  FillScreenRect(BoxRight() - kBarWidth, BoxTop(), BoxRight(), BoxTop() + 16);
}

void DrawEmptyProgressBar(int32_t n) {
  EraseMouseCursor();
  SetRopCopy();
  ClearProgressBox();
  SetPenColor(kDoneRed);
  DrawFrameRect(BoxRight() - kBarWidth, BoxTop() + 16, BoxRight(), BoxTop());
  ProgressBarLeft = static_cast<int16_t>(BoxRight() - kBarWidth);
  ProgressBarBottom = static_cast<uint16_t>(BoxTop() + kBarHeight);
  ProgressFillEnd = ProgressBarLeft;
  ProgressTotal = n > 0 ? n : 1;
  ProgressReferenceTotal = ProgressTotal;
  ProgressBusyCount = 0;
}

void StartProgressBar(int32_t n) {
  if (ProgressDisplayOn != 0) DrawEmptyProgressBar(n);
}

void AdvanceProgressBar(int32_t n) {
  if (ProgressDisplayOn == 0 || ProgressTotal <= 0) return;
  const int16_t pos = PositionOf(n, ProgressTotal);
  if (pos <= ProgressFillEnd) return;
  FillBar(ProgressFillEnd, pos, kDoneRed);
  ProgressFillEnd = pos;
}

void ShowProgressStep(int32_t n) {
  if (ProgressDisplayOn == 0 || ProgressTotal <= 0) return;
  const int16_t pos = PositionOf(n, ProgressTotal);
  if (pos <= ProgressFillEnd) return;
  FillBar(pos, BoxRight(), kFaceGrey);
  FillBar(ProgressBarLeft, pos, kDoneRed);
  WritePercent(PercentOf(n, ProgressTotal));
  ProgressFillEnd = pos;
}

void UpdateProgressBar(int32_t n) {
  if (ProgressTwoLevelMode)
    UpdateTwoLevelBar(n);
  else
    ShowProgressStep(n);
}

void StartProgressSubRange(int32_t a, int32_t b, int32_t c) {
  c = std::max(c, int32_t(1));
  if (b < 1)
    b = 1;
  else if (b > c)
    b = c;
  if (a < 0)
    a = 0;
  else if (a >= b)
    a = b;
  ProgressSubRangeStart = 0;
  ProgressSubRangeEnd = b;
  ProgressReferenceTotal = b;
  ProgressOverallTotal = c;
  ProgressSubRangeScale = 1.0;
  DrawEmptyProgressBar(c);
  ProgressTwoLevelMode = 1;
  ProgressFillEnd = 0;
  UpdateProgressBar(a);
  ProgressSubRangeStart = a;
  ProgressLastRedrawTick = 0;
}

void SetProgressSubRangeSteps(int32_t m) {
  if (!ProgressTwoLevelMode) {
    StartProgressBar(m);
    return;
  }
  // The bar keeps counting in overall steps; step i of the sub-range stands
  // for start + i x (end - start) / m of them, so step 0 shows the start and
  // step m the end. A count of 0 or less counts the sub-range as one step.
  ProgressReferenceTotal = ProgressOverallTotal;
  ProgressTotal = std::max(ProgressOverallTotal, int32_t(1));
  const double width = double(ProgressSubRangeEnd) - double(ProgressSubRangeStart);
  ProgressSubRangeScale = width / double(std::max(m, int32_t(1)));
}

void EndProgressSubRanges() { ProgressTwoLevelMode = 0; }

void StepBusyIndicator() {
  if (ProgressDisplayOn == 0 || ProgressTotal <= 0) return;
  ProgressBusyCount = static_cast<int16_t>(ProgressBusyCount + 1);
  if (ProgressBusyCount % ProgressTotal != 0) return;
  ProgressBusyCount = 0;
  ProgressFillEnd = static_cast<int16_t>(ProgressFillEnd + 1);
  if (ProgressFillEnd >= BoxRight()) ProgressFillEnd = static_cast<int16_t>(BoxRight() - (kBarWidth - 1));
  SetDrawColorAndMode(7, 12);
  DrawScreenLine(ProgressFillEnd, ProgressBarBottom, ProgressFillEnd, ProgressBarBottom - (kBarHeight - 1));
  SetRopCopy();
}
