// Contour direction and the oriented append.
//
// With x to the right and y up, AppendContoursOriented writes every contour
// at even nesting depth (outer contours, islands inside holes) counter-
// clockwise and every contour at odd depth (holes) clockwise. The offset
// core, path generation, relief generators, signs and booleans rely on it.
//
// A contour is a start record (type 11) and its points (10, 12). It is
// judged at its leftmost crossing with its mid-height line: "descending"
// when the segment there runs from a higher to a lower y, which on a closed
// contour's left side means counter-clockwise.
//
// Errors go to the quiet error word QuietIoError: 1 when the user stops
// with Esc, and the codes of the quiet file wrappers. Contours of any length
// are handled whole.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/vector_records.h"

// Start marks written by AppendContoursOriented when asked for.
constexpr float kOuterStartMark = -4.0f;
constexpr float kHoleStartMark = -5.0f;
// Colours of drawn contours.
constexpr int16_t kOuterContourColour = 10;
constexpr int16_t kHoleContourColour = 9;

// Rewrites the file as one path in reverse record order: the first record
// written is type 11, every later one type 10, x, y, z kept.
void ReverseWholeVectorFile(const std::string& name);
// Rewrites the file with every contour reversed (start marks stay on the
// start); records other than 10, 11 and 12 are dropped. Draws each reversed
// contour when colour >= 0.
void ReverseFileContours(const std::string& name, int16_t colour);
// Appends the oriented contours of source at the end of target; contours of
// three records or fewer are dropped, as are records other than 10, 11, 12.
void AppendContoursOriented(const std::string& source, const std::string& target, bool startMarks, bool show,
                            bool strict);
// Reverses one contour in place: the old last point becomes the start (type
// 11) with the z of the start met in the buffer; the rest become type 10.
void ReverseContourRecords(TVectorRecord* records, int32_t count, int16_t colour);
// The leftmost crossing x of the contour with the line y = levelY (raised by
// 0.00002 while a vertex lies on it); 10000 when there is none. descending
// tells the direction of the segment crossing there.
void FindLeftmostCrossing(const TVectorRecord* records, int32_t count, double& levelY, double& crossingX,
                          bool& descending);
// Whether the contour is outer (even nesting depth) among all records of
// the file; strict counts only crossings more than 0.0005 left of the
// contour's own, not strict those less than 0.0005 right of it.
void IsOuterContour(const TVectorRecord* all, int32_t allCount, const TVectorRecord* contour, int32_t count,
                    bool strict, double& levelY, bool& descending, bool& outer);
