// Point entry shared by several commands: one point by click or typed
// coordinates, a point edited as typed x, y and z, the cubic curve whose
// inner control points start at the thirds of its chord, and the text that
// shows the offset between two points while something is dragged.
//
// The decisions (typed numbers against the snapped cursor, the thirds, the
// offset text) are plain functions; the entry loops run the prompt line
// editor step by step and draw bands, previews and markers in xor in
// BandColor. An entry ends on ButtonResult: 2 left button or Enter, 4 right
// button or Esc (a closing window counts as 4).
#pragma once

#include <cstdint>
#include <string>

#include "model/vector_records.h"

// A cubic curve as the caller keeps it: P0 start, b2 and b3 the inner
// control points, P3 end. After a completed entry P0 has type 16 and the
// others type 10; P0 of type 0 means the entry was cancelled.
struct TCubicCurveEntry {
  TVectorRecord p0{};
  TVectorRecord b2{};
  TVectorRecord b3{};
  TVectorRecord p3{};
};

// The point of an entry: two typed numbers are the point (absolute world
// millimetres); otherwise the cursor point snapped by the current snap mode.
// out keeps its z.
void ResolveEnteredPoint(const double* numbers, int numberCount, TVectorRecord& out);

// The text edited for a typed 3D point: message 1635 and x, y, z with 3
// decimals separated by blanks, cut to 60 characters.
std::string BuildTyped3DPointText(const TVectorRecord& point);
// Two numbers: P becomes a 3D point (x, y, 0); three: (x, y, z); any other
// count leaves P unchanged.
void ApplyTyped3DPoint(TVectorRecord& point, const double* numbers, int numberCount);

// Inner control points at the thirds of the chord P0-P3 (b2 a copy of P0's
// record, b3 of P3's, then moved); P0 becomes type 16, the others type 10.
void PlaceControlPointsAtThirds(TCubicCurveEntry& curve);
// Cancels the entry (P0 type 0).
inline void CancelCurveEntry(TCubicCurveEntry& curve) { curve.p0.type = 0; }

// "dx=" dx " dy=" dy " R=" length " Wi=" angle (degrees, -90 .. 270), every
// number with 4 decimals and no leading blanks.
std::string FormatPointDelta(const TVectorRecord& a, const TVectorRecord& b);

// --- interactive entry ---------------------------------------------------------------------
// One point: the typed x y, or the snapped cursor point at the click. While
// the snap radius is 0 the cursor point follows the guide lines.
void AskPointByMouseOrTyped(const std::string& prompt, TVectorRecord& point);
// Edits the point as typed x, y and z; 1 with the point updated, 0 when the
// edit was left with Esc.
uint8_t EnterTyped3DPoint(TVectorRecord& point);
// P0 and P3 with a rubber band; P0 type 0 on cancel.
void AskTwoPointsWithBand(TVectorRecord& p0, TVectorRecord& p3);
// Moves one inner control point (curve.b2 or curve.b3) with a live preview;
// P0 type 0 on cancel.
void MoveBezierControlPoint(TVectorRecord& control, TCubicCurveEntry& curve);
// The whole curve entry.
void EnterBezierByThirds(TCubicCurveEntry& curve);
// The sampled curve and its dotted control polygon in xor.
void DrawBezierPreview(const TCubicCurveEntry& curve);
