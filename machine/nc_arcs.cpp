// Circular arcs of the NC writer in the dialects' forms.
#include "machine/nc_arcs.h"

#include <cmath>
#include <numbers>
#include <string>

#include "model/arcs_to_points.h"
#include "frame/math_constants.h"
#include "machine/nc_blocks.h"
#include "machine/nc_dialect_moves.h"
#include "machine/nc_feed_moves.h"
#include "machine/nc_words.h"
#include "ui/common_dialogs.h"
#include "view/view_transform.h"

namespace {

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

// The centre words of the centre forms of the dialect table.
std::string CentreWords(const TNcWriterState& st, TNcCentreForm form, float i, float j) {
  switch (form) {
    case kCentreAbsD3: case kCentreIncD3: return " I" + D3(i) + " J" + D3(j);
    case kCentreAbsD4: case kCentreIncD4: return " I" + D4(i) + " J" + D4(j);
    default: return " I" + FormatNcNumber(st, i) + " J" + FormatNcNumber(st, j);
  }
}

bool IsAbsolute(TNcCentreForm form) {
  return form == kCentreAbsN || form == kCentreAbsD3 || form == kCentreAbsD4;
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
  const bool coarse = (NcMovesRow(st.Dialect).Traits & kMovesCoarseArcs) != 0;
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
  const bool always = (NcMovesRow(st.Dialect).Traits & kMovesBothEndWords) != 0;
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
  const TNcMovesRow& row = NcMovesRow(st.Dialect);
  const bool ccw = centre.z != 0.0f;
  std::string text = ccw ? row.ArcCodes.Ccw : row.ArcCodes.Cw;
  if ((row.Traits & kMovesCircleMode) != 0 && st.CircleModeWritten == 0) {
    WriteNcBlock(st, kNcCircleModeWord);
    st.CircleModeWritten = 1;
  }

  st.PathLength += ComputeArcLength(centre, st.LastPos.x, st.LastPos.y, end, ccw);

  const float cx = centre.x, cy = centre.y;
  const float ii = cx - st.LastPos.x, jj = cy - st.LastPos.y;  // incremental, from the start
  TNcArcForm form = row.Arc;
  TNcCentreForm centreForm = row.Centre;
  if ((row.Traits & kMovesFormat1Absolute) != 0 && st.Machine.ArcFormat == 1) {
    form = kArcCentreFirst;
    centreForm = kCentreAbsD4;
  }
  // The fixed-decimal centre words are in mm; an inch dialect writes them
  // in inch like its axis words (its own number format converts them).
  const bool fixedDecimals = centreForm != kCentreAbsN && centreForm != kCentreIncN;
  const float unit = (row.Traits & kMovesInchCentres) != 0 && fixedDecimals ? kNcMmPerInch : 1.0f;
  const std::string centreWords =
      centreForm == kCentreOwn ? std::string()
      : IsAbsolute(centreForm) ? CentreWords(st, centreForm, cx / unit, cy / unit)
                               : CentreWords(st, centreForm, ii / unit, jj / unit);
  bool feedSettled = false;
  switch (form) {
    case kArcCentreFirst:
      text += centreWords;
      FormatArcEndWords(st, end, text);
      break;
    case kArcEndFirst:
      FormatArcEndWords(st, end, text);
      text += centreWords;
      break;
    case kArcNegatedIK:
      FormatArcEndWords(st, end, text);
      text += " I" + FormatNcNumber(st, -cx) + " K" + FormatNcNumber(st, cy);
      break;
    case kArcSplitWords:
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
      break;
    case kArcSwappedAc:
      text += " K=AC(" + FormatNcNumber(st, cx) + ")" + " J=AC(" + FormatNcNumber(st, -cy) + ")";
      FormatArcEndWords(st, end, text);
      break;
    case kArcAc:
      text += " I=AC(" + FormatNcNumber(st, cx) + ")" + " J=AC(" + FormatNcNumber(st, cy) + ")";
      FormatArcEndWords(st, end, text);
      break;
    case kArcCobalm:
      RoundArcEnd(st, end);
      text += FormatXWord(st, end.x) + " " + FormatNcNumber(st, cx) + FormatYWord(st, end.y) + " " +
              FormatNcNumber(st, cy) + " Z" + FormatNcNumber(st, st.LastPos.z);
      st.LastPos.x = end.x;
      st.LastPos.y = end.y;
      break;
    case kArcKuka: {
      RoundArcEnd(st, end);
      const TVectorRecord mid = ComputeArcMidPoint(centre, st.LastPos.x, st.LastPos.y, end, ccw);
      const std::string xw = FormatXWord(st, end.x);
      text += "X " + FormatNcNumber(st, mid.x) + ", Y " + FormatNcNumber(st, mid.y) + "},{" +
              (xw.empty() ? xw : xw.substr(1)) + "," + FormatYWord(st, end.y) + "}";
      st.LastPos.x = end.x;
      st.LastPos.y = end.y;
      break;
    }
    case kArcCircleCentre: {
      const bool withR = (row.Traits & kMovesRWords) != 0;
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
      break;
    }
  }

  if (!feedSettled && feed != st.LastFeed) {
    st.LastFeed = feed;
    if (row.Feed == kFeedBlock) WriteNcBlock(st, FormatFeedWord(st));
    else if (row.Feed != kFeedNone) text += FormatFeedWord(st);
  }
  WriteNcBlock(st, text);
  if (!((row.Traits & kMovesCentreModeUnmarked) != 0 && st.Machine.Dialect55Mode == 1)) {
    DrawSquareMark(1, end.x, end.y);
    MoveToWorldPoint(end.x, end.y);
  }
  CheckToolLife(st);
}
