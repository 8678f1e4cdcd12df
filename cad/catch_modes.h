// Catch modes: ways to find the point a command waits for besides a plain
// click (end point, middle of a vector, centre of an object, crossings,
// perpendicular foot, nearest point on the vectors, crossing of the current
// line with an object, extreme points, a main direction with a typed
// distance, the middle between two points).
//
// The result goes back through shared state as if the user had clicked
// there: CursorPoint gets the point, the caller's typed text is emptied and
// the mouse-button state (MouseButtonState and ButtonResult) becomes 2; a
// failure sets it to 4 and gives the acoustic signal.
//
// The computations of every mode are plain functions of points and files;
// RunCatchModeMenu asks the clicks on the prompt line (PromptPoint) and runs
// them. The modes that need a scratch object put the vector store aside and
// bring it back whatever happens.
#pragma once

#include <cstdint>
#include <string>

#include "model/vector_records.h"

constexpr int kCatchEndPointPixels = 30;
constexpr int kCatchDirectionPixels = 20;
constexpr int kMainDirectionCandidates = 8;
// Records of the last contour looked at for the main direction.
constexpr int32_t kMainDirectionTailRecords = 5000;

// --- the menu ------------------------------------------------------------------------------
// Shows the catch menu at the mouse and runs the chosen mode on the file the
// selector names; the reference point is the end of the current line (mode
// 9). Cancelling the menu changes nothing.
void RunCatchModeMenu(const TPointRecord& reference, std::string& promptText, int16_t selector);
// Runs one mode (2..12 as numbered in the menu; 1 typed input) on a file.
void RunCatchMode(int mode, const TPointRecord& reference, std::string& promptText, const std::string& file);
// Asks a click and reads the segment nearest to it: the record before the
// found one and the found one. False on a cancel or when nothing is found.
bool PickFileSegment(const std::string& prompt, const std::string& file, TVectorRecord& a, TVectorRecord& b);

// --- results -------------------------------------------------------------------------------
// Empties the typed text, puts (x, y) into the cursor point, button state 2.
void SetCatchResult(std::string& promptText, double x, double y);
// Button state 4 and the acoustic signal.
void FailCatch();

// The file the catch menu searches for a selector: -2 the vector store, 0..50
// that layer, any other value the current layer.
std::string CatchFileForSelector(int16_t selector);
// The last record of the current layer's file; type 0 when it is empty.
void ReadLastLayerRecord(TVectorRecord& record);

// --- line geometry ---------------------------------------------------------------------------
// Crossing of the infinite lines; false when they are parallel.
bool IntersectLinesChecked(const TVectorRecord& a1, const TVectorRecord& a2, const TVectorRecord& b1,
                           const TVectorRecord& b2, double& x, double& y);
// Crossing of the infinite line A with the segment B (parameter 0..1
// inclusive); false when parallel or off the segment.
bool IntersectLineWithSegment(const TVectorRecord& a1, const TVectorRecord& a2, const TVectorRecord& b1,
                              const TVectorRecord& b2, double& x, double& y);
// Foot of the perpendicular from (px, py) on the infinite line p1-p2; false
// for a zero-length line.
bool ComputePerpendicularFoot(const TVectorRecord& p1, const TVectorRecord& p2, double px, double py, double& x,
                              double& y);

// --- file searches ---------------------------------------------------------------------------
// Nearest point on the vectors of the file: every record of types 10, 11, 12
// and the nearest point of each segment ending in a 10 or 12; strictly
// nearer replaces, starting at 10000. False when nothing is that near.
bool FindNearestPointOnFileVectors(const std::string& name, double x, double y, double& nx, double& ny);
// The crossing of the line from lineStart through lineThrough with the
// segments of the file (each record of type 10 or 12 with the record of type
// 10, 11 or 12 before it) that lies nearest (refX, refY), nearer than 9999.
bool FindLineCrossingInFile(const std::string& name, const TVectorRecord& lineStart, const TVectorRecord& lineThrough,
                            double refX, double refY, double& x, double& y);
// Centre of the extent of the file's points: false when it holds none.
bool ComputeFileExtentCentre(const std::string& name, double& x, double& y);

// --- extreme points --------------------------------------------------------------------------
// Leftmost, top, bottom and rightmost record of types 10, 12, 18 (the first
// strictly extreme one each); false when there is none.
bool FindExtremePoints(const TVectorRecord* records, int32_t count, TVectorRecord extremes[4]);
// Index (0..3) of the extreme point nearest (x, y); an earlier one wins on
// equal distance.
int ChooseNearestExtreme(const TVectorRecord extremes[4], double x, double y);

// --- main direction ----------------------------------------------------------------------------
// Candidates from the last contour of the records: the end point; with more
// than one record also the midpoint of the last segment, the record before
// the last, the centre of the contour's extent and its leftmost, top, bottom
// and rightmost points. Returns the count (0 for no contour).
int CollectMainDirectionCandidates(const TVectorRecord* records, int32_t count,
                                   TVectorRecord candidates[kMainDirectionCandidates]);
int CollectMainDirectionCandidatesFromFile(const std::string& name,
                                           TVectorRecord candidates[kMainDirectionCandidates]);

enum TCatchDirection : uint8_t { kDirectionNone = 0, kDirectionVertical, kDirectionHorizontal, kDirectionDiagonal };
struct TDirectionCapture {
  TCatchDirection direction = kDirectionNone;
  int candidate = -1;  // index into the candidates
  double trackedX = 0.0, trackedY = 0.0;
  double offsetX = 0.0, offsetY = 0.0;  // tracked point minus candidate ("dx=", "dy=")
};
// Tests the candidates in order against the cursor with the capture distance
// (world), each able to replace the best so far.
void CaptureMainDirection(const TVectorRecord* candidates, int count, double cursorX, double cursorY, double capture,
                          TDirectionCapture& out);
// The top-bar text of a capture: "dx=" and " dy=" with 3 decimals, trailing
// zeros dropped.
std::string FormatDirectionOffsets(const TDirectionCapture& capture);
// The point from the capture and the typed numbers: none the tracked point;
// one a distance along the direction (a diagonal beeps and keeps the tracked
// point: beep set); two an offset from the candidate. False for more numbers
// or without a capture.
bool ResolveMainDirectionInput(const TVectorRecord* candidates, const TDirectionCapture& capture,
                               const double* numbers, int numberCount, double& x, double& y, bool& beep);
