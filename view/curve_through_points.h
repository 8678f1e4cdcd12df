// Smooth curves through points, in the plane and in space.
//
// A curve runs through a sliding window of five consecutive points Pa .. Pe.
// Tangents come from Akima's weighted rule over the four unit chord
// directions of the window; each span between two points is one cubic
// Hermite piece in the chord-length parameter, emitted as a fixed number of
// points (the span's start point is not emitted again). The curve passes
// through Pb, Pc, Pd and the points that follow, never through Pa or the last
// Pe: those only fix the directions at the two ends.
//
// Steps (both engines):
//   kind 4  chords Pa-Pb, Pb-Pc, Pc-Pd; the start tangent is the direction
//           of Pa-Pb, so Pa guides the curve out of Pb.
//   kind 5  chord Pd-Pe, the tangent at Pc, the span Pb-Pc emitted; with
//           finish also the span Pc-Pd, leaving Pd along Pd-Pe.
// After a kind-5 step without finish the caller moves the window by one
// point (ShiftCurveWindow2D / 3D) and puts the next point into Pe.
//
// Emitted points go to the caller's buffer at outCount, never at or past
// capacity (points beyond it are left out).
#pragma once

#include <cstdint>

#include "model/vector_records.h"

constexpr int kCurveStepStart = 4;  // kind: start from Pa .. Pd
constexpr int kCurveStepSpan = 5;   // kind: add Pe, emit a span
// Shortest chord used in a direction (a repeated point keeps a finite tangent).
constexpr double kShortestCurveChord = 0.00001;
// Below this sum of Akima weights the tangent is the mean of the two chords.
constexpr double kAkimaWeightFloor = 0.00001;
// Points per span accepted by FitCurveThroughPoints.
constexpr int kMaxFitResolution = 80;
// Points per span accepted by the steps (a byte setting).
constexpr int kMaxCurveResolution = 255;

struct TCurveState2D {
  double chordX[4] = {}, chordY[4] = {};  // unit directions Pa-Pb, Pb-Pc, Pc-Pd, Pd-Pe
  double newTangent[2] = {};              // at the newest inner point
  double startTangent[2] = {};            // at the start of the next span
  double chordLength[4] = {};
  double coeff[8] = {};                   // c0 .. c3 for x, then y
  TVectorRecord pa{}, pb{}, pc{}, pd{}, pe{};
  int32_t outCount = 0;
  int16_t resolution = 1;                 // points per span
};

struct TCurveState3D {
  double chordX[4] = {}, chordY[4] = {}, chordZ[4] = {};
  double newTangent[3] = {};
  double startTangent[3] = {};
  double chordLength[4] = {};
  double coeff[12] = {};                  // c0 .. c3 for x, then y, then z
  TVectorRecord pa{}, pb{}, pc{}, pd{}, pe{};
  int32_t outCount = 0;
  int16_t resolution = 1;
};

// One step of the plane engine; points are type 10 with the given z.
void ComputeCurveSegmentPoints(TCurveState2D& state, TVectorRecord* outBuffer, int32_t capacity, int kind, float z,
                               bool finish);
// One step of the space engine; points are type 12.
void StepCurve3D(TCurveState3D& state, TVectorRecord* outBuffer, int32_t capacity, int kind, bool finish);
// Pb becomes Pa, Pc Pb, Pd Pc, Pe Pd, and the chords move with them.
void ShiftCurveWindow2D(TCurveState2D& state);
void ShiftCurveWindow3D(TCurveState3D& state);

// The guide point beyond p1 (atStart) or beyond p3 of three consecutive
// points: the reflection, through that end, of the point at a tenth of the
// way along the cubic Bezier that bows through p2's offset from the chord.
// Type 10, z reflected too.
void ComputeEndExtraPoint(const TVectorRecord& p1, const TVectorRecord& p2, const TVectorRecord& p3,
                          TVectorRecord& extra, bool atStart);

// A space curve through count points: the first point, then resolution
// (1 .. 80) type-12 points per span. Fewer than three points give only the
// first. Returns the points written (outCount), never more than capacity.
int32_t FitCurveThroughPoints(const TVectorRecord* points, int32_t count, int resolution, int32_t& outCount,
                              TVectorRecord* outBuffer, int32_t capacity);
