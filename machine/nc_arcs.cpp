// Circular arcs of the NC writer in the dialects' forms.
#include "machine/nc_arcs.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <string>

#include "model/arcs_to_points.h"
#include "frame/math_constants.h"
#include "machine/nc_blocks.h"
#include "machine/nc_feed_moves.h"
#include "machine/nc_words.h"
#include "ui/common_dialogs.h"
#include "view/view_transform.h"

namespace {


bool IsOneOf(int d, std::initializer_list<int> list) {
  return std::find(list.begin(), list.end(), d) != list.end();
}

// The signed sweep from the start to the end around the centre: in (0, 2 pi]
// counter-clockwise, in [-2 pi, 0) clockwise.
double ArcSweep(const TVectorRecord& centre, float startX, float startY, const TVectorRecord& end, bool ccw,
                double& radius, double& startAngle) {
  radius = std::hypot(double(end.x) - centre.x, double(end.y) - centre.y);
  startAngle = ComputePointAngleOnCircle(startX, startY, centre.x, centre.y, radius);
  const double endAngle = ComputePointAngleOnCircle(end.x, end.y, centre.x, centre.y, radius);
  double sweep = endAngle - startAngle + (ccw ? kTwoPi : -kTwoPi);
  while (sweep > kTwoPi) sweep -= kTwoPi;
  while (sweep < -kTwoPi) sweep += kTwoPi;
  return sweep;
}

std::string D3(float v) { return FormatRealText(0, 3, v); }
std::string D4(float v) { return FormatRealText(0, 4, v); }

enum TCentreForm { kCentreN, kCentreD3, kCentreD4 };

std::string CentreWords(const TNcWriterState& st, TCentreForm form, float i, float j) {
  switch (form) {
    case kCentreD3: return " I" + D3(i) + " J" + D3(j);
    case kCentreD4: return " I" + D4(i) + " J" + D4(j);
    default: return " I" + FormatNcNumber(st, i) + " J" + FormatNcNumber(st, j);
  }
}

}  // namespace

float ComputeArcLength(const TVectorRecord& centre, float startX, float startY, const TVectorRecord& end, bool ccw) {
  double r = 0.0, a0 = 0.0;
  const double sweep = ArcSweep(centre, startX, startY, end, ccw, r, a0);
  return static_cast<float>(std::fabs(sweep * r));
}

TVectorRecord ComputeArcMidPoint(const TVectorRecord& centre, float startX, float startY, const TVectorRecord& end,
                                 bool ccw) {
  double r = 0.0, a0 = 0.0;
  const double sweep = ArcSweep(centre, startX, startY, end, ccw, r, a0);
  const double a = a0 + sweep / 2.0;
  return {10, static_cast<float>(centre.x + r * std::cos(a)), static_cast<float>(centre.y + r * std::sin(a)), end.z};
}

void RoundArcCoordinate(const TNcWriterState& st, float& v) {
  const int d = st.Dialect;
  const bool coarse = IsOneOf(d, {1, 4, 9, 14, 22, 24, 38, 42, 46, 47, 48, 49, 54, 67, 68, 69, 70, 71, 93, 99});
  const double factor = coarse ? 1000.0 : 10000.0;
  v = static_cast<float>(static_cast<double>(RoundHalfEven(double(v) * factor)) / factor);
}

namespace {
void RoundArcEnd(const TNcWriterState& st, TVectorRecord& end) {
  float x = end.x, y = end.y;
  RoundArcCoordinate(st, x);
  RoundArcCoordinate(st, y);
  end.x = x;
  end.y = y;
}
}  // namespace

void FormatArcEndWords(TNcWriterState& st, TVectorRecord& end, std::string& text) {
  RoundArcEnd(st, end);
  const bool always = st.Dialect == 6 || st.Dialect == 12;
  if (end.x != st.LastPos.x || always) {
    text += FormatXWord(st, end.x);
    st.LastPos.x = end.x;
  }
  if (end.y != st.LastPos.y || always) {
    text += FormatYWord(st, end.y);
    st.LastPos.y = end.y;
  }
}

void WriteNcArc(TNcWriterState& st, const TVectorRecord& centre, TVectorRecord& end, float feed) {
  const int d = st.Dialect;
  const bool ccw = centre.z != 0.0f;
  std::string text;
  if (IsOneOf(d, {1, 25, 30, 33, 45, 51, 81})) text = ccw ? "G03" : "G02";
  else if (d == 9) text = ccw ? "CCWABS" : "CWABS";
  else if (d == 31) {
    text = ccw ? "CIL" : "CIR";
    if (st.CircleModeWritten == 0) {
      WriteNcBlock(st, "SCI");
      st.CircleModeWritten = 1;
    }
  } else if (d == 44) text = "CIRC {";
  else text = ccw ? "G3" : "G2";

  st.PathLength += ComputeArcLength(centre, st.LastPos.x, st.LastPos.y, end, ccw);

  const float cx = centre.x, cy = centre.y;
  const float ii = cx - st.LastPos.x, jj = cy - st.LastPos.y;  // incremental, from the start
  auto endWords = [&] { FormatArcEndWords(st, end, text); };
  bool feedSettled = false;
  if (IsOneOf(d, {1, 4, 9})) {
    text += CentreWords(st, kCentreN, cx, cy);
    endWords();
  } else if (IsOneOf(d, {42, 46, 50, 97})) {
    text += CentreWords(st, kCentreD3, cx, cy);
    endWords();
  } else if (IsOneOf(d, {25, 29, 30, 33, 45, 81, 92})) {
    endWords();
    text += CentreWords(st, kCentreN, cx, cy);
  } else if (d == 67) {
    endWords();
    text += CentreWords(st, kCentreD3, cx, cy);
  } else if (IsOneOf(d, {24, 27, 28, 32, 34, 35, 36, 37, 38, 43, 49, 51, 52, 56, 60, 61, 64, 72, 83, 84, 89, 90})) {
    endWords();
    text += CentreWords(st, kCentreN, ii, jj);
  } else if (IsOneOf(d, {2, 18, 21, 26, 48, 62, 78}) ||
             (IsOneOf(d, {0, 41, 58}) && st.Machine.ArcFormat != 1)) {
    endWords();
    text += CentreWords(st, kCentreD4, ii, jj);
  } else if (IsOneOf(d, {20, 39, 55, 57, 59, 65, 66, 82, 85, 86, 88, 91, 94, 95, 96, 98})) {
    text += CentreWords(st, kCentreD3, ii, jj);
    endWords();
  } else if (d == 76) {
    text += CentreWords(st, kCentreD4, ii, jj);
    endWords();
  } else if (d == 87) {
    text += CentreWords(st, kCentreN, ii, jj);
    endWords();
  } else if (d == 11) {
    endWords();
    text += " I" + FormatNcNumber(st, -cx) + " K" + FormatNcNumber(st, cy);
  } else if (d == 14) {
    end.x = RoundedToNcResolution(st, end.x);
    end.y = RoundedToNcResolution(st, end.y);
    if (end.x != st.LastPos.x) {
      text += " X" + FormatNcNumber(st, end.x);
      st.LastPos.x = end.x;
    }
    text += " I" + FormatNcNumber(st, cx);
    if (end.y != st.LastPos.y) {
      text += FormatYWord(st, end.y);
      st.LastPos.y = end.y;
    }
    text += " J" + FormatNcNumber(st, cy);
  } else if (d == 74) {
    text += " K=AC(" + FormatNcNumber(st, cx) + ")" + " J=AC(" + FormatNcNumber(st, -cy) + ")";
    endWords();
  } else if (d == 75) {
    text += " I=AC(" + FormatNcNumber(st, cx) + ")" + " J=AC(" + FormatNcNumber(st, cy) + ")";
    endWords();
  } else if (d == 31) {
    RoundArcEnd(st, end);
    text += FormatXWord(st, end.x) + " " + FormatNcNumber(st, cx) + FormatYWord(st, end.y) + " " +
            FormatNcNumber(st, cy) + " Z" + FormatNcNumber(st, st.LastPos.z);
    st.LastPos.x = end.x;
    st.LastPos.y = end.y;
  } else if (d == 44) {
    RoundArcEnd(st, end);
    const TVectorRecord mid = ComputeArcMidPoint(centre, st.LastPos.x, st.LastPos.y, end, ccw);
    const std::string xw = FormatXWord(st, end.x);
    text += "X " + FormatNcNumber(st, mid.x) + ", Y " + FormatNcNumber(st, mid.y) + "},{" +
            (xw.empty() ? xw : xw.substr(1)) + "," + FormatYWord(st, end.y) + "}";
    st.LastPos.x = end.x;
    st.LastPos.y = end.y;
  } else if (IsOneOf(d, {22, 47, 54, 68, 69, 70, 71, 73, 93, 99})) {
    const bool withR = IsOneOf(d, {22, 47, 54});
    RoundArcEnd(st, end);
    WriteNcBlock(st, "CC X" + FormatNcNumber(st, cx) + " Y" + FormatNcNumber(st, cy));
    text = "C X" + FormatNcNumber(st, end.x) + " Y" + FormatNcNumber(st, end.y);
    if (withR) text += ccw ? " DR+ R" : " DR- R";
    else text += ccw ? " DR+" : " DR-";
    if (feed != st.LastFeed) {
      st.LastFeed = feed;
      text += FormatFeedWord(st);
      if (withR) text += " M";
    } else if (withR) {
      text += " F M";
    }
    st.LastPos.x = end.x;
    st.LastPos.y = end.y;
    feedSettled = true;
  } else {
    // 0, 41 and 58 with absolute centres, 40, 53, 80 and every dialect without a form of its own.
    text += CentreWords(st, kCentreD4, cx, cy);
    endWords();
  }

  if (!feedSettled && feed != st.LastFeed) {
    st.LastFeed = feed;
    if (d == 9 || d == 31) WriteNcBlock(st, FormatFeedWord(st));
    else if (d != 38) text += FormatFeedWord(st);
  }
  WriteNcBlock(st, text);
  if (!(d == 55 && st.Machine.Dialect55Mode == 1)) {
    DrawSquareMark(1, end.x, end.y);
    MoveToWorldPoint(end.x, end.y);
  }
  CheckToolLife(st);
}
