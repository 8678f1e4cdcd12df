// The construction procedure: every interactive drawing command (points,
// lines, polylines, and later arcs, circles, rectangles, curves) runs
// through RunConstructionCommand once per command code.
//
// A run opens the layer file, learns its last point and the start of its
// last contour, runs one construction and ends. Nothing is kept between
// runs: the layer file is the only state, so the next click on the same
// command continues the same contour. A run that ends with the right button
// or Esc moves the last contour into the vector store (it becomes the
// selection).
//
// Point entry: two typed numbers are an absolute point in millimetres,
// otherwise the cursor point snapped by the current snap mode; the cursor
// jumps onto the contour start within max(catch radius, 8) pixels. A point
// written within 0.00005 of the contour start takes the start's exact
// coordinates, closes the contour and flashes it with the acoustic signal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/vector_records.h"
#include "ui/prompt_strip.h"

// Records read back from the end of the layer file to find its last contour.
constexpr int32_t kConstructionTailRecords = 5000;
// Points of an arc, circle or curve preview.
constexpr int kConstructionBufferPoints = 1001;
// Two points closer than this are the same point of a construction.
constexpr double kConstructionSamePoint = 0.00005;
// The contour start catches the cursor at least this many pixels away.
constexpr int kMinStartCatchPixels = 8;

// Entry events.
constexpr uint8_t kEventNone = 0;
constexpr uint8_t kEventMiddle = 1;
constexpr uint8_t kEventConfirm = 2;
constexpr uint8_t kEventCancel = 4;

// Message numbers of the constructions.
constexpr int16_t kMsgFirstPoint = 11;
constexpr int16_t kMsgSecondPoint = 12;
constexpr int16_t kMsgEnterPoint = 32;
constexpr int16_t kMsgNeedsLastPoint = 67;

// The state of one run, shared by every step of it.
struct TConstructionState {
  std::string targetFile;
  uint8_t fileKind = 0;        // 1 vector file, 3 point file
  uint16_t catchRadius = 0;    // pixels; 0 after the catch-mode menu was used
  TPointRecord contourStart{};  // last type-11 record; type 0 for an empty file
  uint8_t cursorOnStart = 0;   // the last entry step caught the contour start
  int32_t startIndex = 0;      // record number of the contour start
  int16_t layerColour = 0;
  uint8_t closed = 0;          // the last record written closed the contour
  TPointRecord lastPoint{};    // last record of the file; type 0 at (0, 0) when empty
  std::string typedText;
  TCoordinateList coordinates{};
  uint8_t numberCount = 0;
  uint8_t event = kEventNone;
  int32_t recordCount = 0;     // records in the file when the run began
  std::vector<TPointRecord> pointBuffer;
  uint16_t bufferCount = 0;
  float previewFactor = 0.0f;  // preview points per radian and millimetre of radius
  uint8_t startNew = 0;        // the next element begins a new contour
  int16_t commandCode = 0;
  TPointRecord bandEnd{};      // end of the rubber band drawn from the last point
};

extern TConstructionState Construction;

// --- the run -----------------------------------------------------------------------------
void RunConstructionCommand(const std::string& layerFile, int code);
// Records in the target file now.
int32_t CountTargetRecords();
// Reads the end of the target file: last point, contour start, start index, start-new.
void OpenConstructionRun();
// True for the codes that may run on an empty layer file.
bool IsAllowedOnEmptyLayer(int code);
// The end step after a right button or Esc: the contour from the start
// index to the end of the file moves into the vector store and is drawn in
// colour 12.
void MoveLastContourToStore();

// --- point entry -------------------------------------------------------------------------
void StepPointEntry(std::string& typed);
void CatchContourStart();
void TakeCursorPoint(TPointRecord& point);
// The entry loop in pieces, for constructions with keys of their own:
// BeginEntryLoop shows the prompt and clears the event; each EntryLoopStep
// runs one editor step, catches the contour start and sets the event (a
// move onto the side menu or a closing window cancels); true once it is set.
void BeginEntryLoop(const std::string& prompt, uint8_t& menuState);
bool EntryLoopStep(uint8_t& menuState);
// Typed x y, else the cursor point (after a cancel always the cursor).
void ResolveConstructionPoint(TPointRecord& point);
void AskConstructionPoint(const std::string& prompt, TPointRecord& point);
void AskConstructionPointWithBand(const std::string& prompt, TPointRecord& point);
// One point written with the given type unless cancelled; it becomes the last point.
void AskAndWritePoint(uint8_t type, const std::string& prompt);
// The typed numbers of the run (count in numberCount); expected as for ParseCoordinateList.
int ParseTypedNumbers(int expected);
float TypedNumber(int i);

// --- writing -----------------------------------------------------------------------------
void WriteConstructionPoint(const TPointRecord& point);
void WriteConstructionPointZ(uint8_t type, float x, float y, float z);
// Appends and draws one segment from the last point (dotted for a new
// start); a repeat of the last point with its type is not written. The point
// becomes the last point (and the contour start for type 11).
void AppendContourPoint(const TPointRecord& point, uint8_t type);
void WriteAndDrawPoint(const TPointRecord& point, int16_t colour);

// --- drawing -----------------------------------------------------------------------------
void DrawRubberBand(const TPointRecord& point);
void UpdateRubberBand(const TPointRecord& point);
// The band drawn in copy mode in the paper colour.
void EraseRubberBand();
void DrawSegment(const TPointRecord& a, const TPointRecord& b);
bool PointsDiffer(const TPointRecord& a, const TPointRecord& b);
void MarkEnteredPoint(const TPointRecord& point);
void DrawContourFromStart(int16_t colour);
void FlashClosedContour();

// --- editing commands of the frame -----------------------------------------------------------
void DeleteLastContour();
// flag 1: the last record; flag 0: also an arc end record with its arc.
void DeleteLastPoint(int flag);
void CloseContour();
