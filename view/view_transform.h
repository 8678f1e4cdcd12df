// The world-to-screen transform of the graphic window and the pen that
// draws vector records in world coordinates (millimetres).
//
// The graphic window is DrawingArea (main window layout): left x1, top y1,
// right x2, bottom y2 in window pixels; screen y grows downwards. World
// points map to sx = nearest((x - WorldXMin) * ViewScaleX) + left,
// sy = bottom - nearest((y - WorldYMin) * ViewScaleY), limited to +-32000.
//
// Lines are clipped to the world window before they reach the graphics
// layer. A contour whose start record has z < 0 is drawn dashed: solid
// first, then its points once more in the paper colour with a dotted pen.
#pragma once

#include <cstdint>
#include <string>

#include "frame/layer_colours.h"
#include "model/model_hooks.h"
#include "model/vector_records.h"

// --- view state -------------------------------------------------------------------
extern float ViewScaleX;  // pixels per millimetre
extern float ViewScaleY;
extern float WorldXMin;   // the visible world rectangle
extern float WorldYMin;
extern float WorldXMax;
extern float WorldYMax;
extern float WorldPenX;                 // end of the last pen operation
extern float WorldPenY;
// Set: the next visible world line starts with a screen MoveTo.
extern uint8_t PenPendingMove;
enum TPenOperation : uint8_t { kPenOpLine = 10, kPenOpMove = 11, kPenOp3DPoint = 12 };
extern uint8_t LastPenOperation;
// Points of the dashed contour being collected (count 0: none active).
extern int16_t DashPointCount;
extern uint8_t DashedContour;
extern uint16_t CursorCircleRadiusPx;  // nearest(CursorCircleRadius * ViewScaleX)
extern uint8_t FitMargin;              // pixels kept free round a fitted extent

constexpr int32_t kDashBufferRecords = 8001;
constexpr int32_t kFastPolylinePoints = 8000;
constexpr int32_t kDrawBlockRecords = 5000;

// Flags of DrawVectorFile: kDraw... in model/model_hooks.h.

// --- transform and pen ---------------------------------------------------------------
void WorldToScreen(float x, float y, int16_t& sx, int16_t& sy);
void WorldToScreenLong(float x, float y, int32_t& sx, int32_t& sy);
void MoveToWorldPoint(float x, float y);
void LineToWorldPoint(float x, float y);
// A zero-length step right after a move draws a dot marker instead.
void LineOrDotToWorldPoint(float x, float y);
// Bits 1 x < x min, 2 x > x max, 4 y < y min, 8 y > y max.
uint8_t ComputeOutCode(double x, double y);
// Clips the segment to the world window; false when nothing is visible.
// Sets PenPendingMove when the start had to move.
bool ClipSegmentToView(double& x1, double& y1, double& x2, double& y2);

// --- records and files -------------------------------------------------------------------
void DrawVectorRecord(const TVectorRecord& record);
void DrawVectorRecordPlain(const TVectorRecord& record);
// mode 13 copy or 7 xor; flags as above. An Esc answered with yes stops
// after the current block and raises ErrorCode to at least 1.
void DrawVectorFile(const std::string& name, int mode, int colour, uint8_t flags);
void FlushDashedContour();
void FreeDashedContour();
void DrawDashedPolyline(const TVectorRecord* points, int n);
bool AskExitDrawing();

// --- markers and labels ------------------------------------------------------------------
void DrawPointMarker(int kind, float x, float y);
void DrawSquareMark(int s, float x, float y);
void DrawSquareMarkAtRecord(const TVectorRecord& record, int s);
void DrawFlagMarker(int sx, int sy, int colour);
void DrawContourEndMark(const TVectorRecord& record);
void DrawDirectionArrow(const TVectorRecord& a, const TVectorRecord& b);
void DrawWorldLabel(const std::string& text, int colour, int placement, float x, float y);
void DrawWorldLabelAbove(const std::string& text, int colour, float x, float y);
void DrawExtentFrame(const TExtentsPair& extent);

// --- colours ----------------------------------------------------------------------------------
int16_t RgbToColorIndex(uint32_t rgb);
int16_t GetRecordColorIndex(const TVectorRecord& record);

// --- fitting ----------------------------------------------------------------------------------
void FitViewToExtent(const TExtentsPair& extent);

// Nearest integer, halves to even.
int32_t RoundNearest(double v);
