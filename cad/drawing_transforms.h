// Transforms of the whole drawing: the current layer, or every drawing layer
// when allLayers is set. Mirroring (always followed by reversing the contour
// directions), uniform scaling by a percentage, separate factors per axis,
// scaling to a measured width or height, shifting and rotating.
//
// Every record changes by its meaning (MapRecordAxes, RotateRecordAbout):
// points move, an arc keeps its shape (radius, start angle, sweep follow the
// map), ellipse radii scale; path headers, tool blocks, layer and angle
// records never move. A leading extent head (types 1 and 5) follows the
// drawing.
//
// The operations below the commands work on given values (callers take the
// undo snapshot); the commands at the end ask their values in input forms
// and point picks, run the checks, take the snapshot, transform and redraw.
// Text objects take part where the commands say so (TransformTextObjectsHook);
// the commands that mirror, distort or rotate ask first (AskIncludeTextsHook).
#pragma once

#include <cstdint>
#include <string>

#include "model/vector_records.h"

// --- bits of MirrorDrawing ---------------------------------------------------------------
constexpr int kMirrorInX = 2;             // bits 0-1: 2 mirror in x (x' = x1 + x2 - x), 3 in y
constexpr int kMirrorInY = 3;
constexpr int kMirrorAllLayers = 8;
constexpr int kMirrorReverse = 16;        // reverse the contour directions afterwards
constexpr int kMirrorRedrawLayer = 32;    // redraw only the current layer
constexpr int kMirrorAboutLayout = 64;    // about the layout area

// Kinds of ScaleDrawingToMeasure (bits 0-2), +8 for all layers.
constexpr int kMeasureWidth = 1;      // uniform to a width
constexpr int kMeasureHeight = 2;     // uniform to a height
constexpr int kMeasureXWidth = 4;     // x only to a width
constexpr int kMeasureYHeight = 5;    // y only to a height
constexpr int kMeasureXPercent = 6;   // x only by percent
constexpr int kMeasureAllLayers = 8;

// Files of RotateDrawing (bits 4-5 of its flags).
constexpr int kRotateCurrentLayer = 0;
constexpr int kRotateAllLayers = 1;
constexpr int kRotateVectorStore = 2;

// Largest extent width or height that counts as no extent.
constexpr double kDegenerateExtent = 0.01;
constexpr double kSmallestMeasure = 0.001;
constexpr double kSmallestTarget = 0.01;
constexpr double kSmallestRotation = 0.00001;
constexpr float kDistortFactorMin = 0.001f;
constexpr float kDistortFactorMax = 1000.0f;

// The scope of the layout functions and the whole-drawing commands: 1 all
// layers, any other value the current layer.
extern uint8_t TransformAllLayersFlag;
bool TransformAllLayers();

// The names of the files a transform works on: every drawing layer 0 ..
// HighestLayer, or the current layer.
int CollectDrawingFiles(bool allLayers, std::string names[]);

// Extent of the points (10, 11, 12, 27) of the current layer / of all layers;
// the empty extent (100000 / -100000) when there are none.
void GetCurrentLayerExtent(TExtentsPair& out);
void GetAllLayersExtent(TExtentsPair& out);
// Width and height above kDegenerateExtent.
bool ExtentIsUsable(const TExtentsPair& e);
// The extent of the drawing with its text objects: of the current layer,
// of all layers (the layout area when nothing is drawn), or either by the
// flag.
void GetCurrentLayerDrawingExtent(TExtentsPair& out);
void GetAllLayersDrawingExtent(TExtentsPair& out);
void GetDrawingExtentWithTexts(bool allLayers, TExtentsPair& out);
// The text layer argument of TransformTextObjectsHook: -1 all, else the current layer.
int TextLayerOf(bool allLayers);

// --- the text objects under these transforms -----------------------------------------------
// Hooks to the text subsystem, set by app/ at program start (InstallCadHooks,
// app/hook_setup.h). Whether the text objects take part in a
// whole-drawing transform; default: they may (true).
extern bool (*AskIncludeTextsHook)();
// Kind 1 adds (vx, vy) to the text positions, kind 4 scales positions about
// (px, py) by (vx, vy) with the heights; default: nothing moves.
extern void (*TransformTextObjectsHook)(int layer, double px, double py, double vx, double vy, int kind);

// Mirrors by the mode bits about the middle of the reference extent; nothing
// when that extent is degenerate. With kMirrorReverse every mirrored file's
// contours are reversed; for all layers a layer holding tool records or 3D
// points keeps its direction and message 76 is shown once. False when
// nothing changed.
bool MirrorDrawing(int mode);

// Reverses the point order of every contour in place. A contour runs from a
// start (11 or 27) over its line and 3D points; a contour that holds any
// other record (an arc, a curve) keeps its order, and records outside
// contours stay where they are, so the file keeps its length. The new start
// keeps a negative mark of the old start's z. Returns false when the file
// cannot be read or written (message 8 for a short write); 3D points show
// message 76.
bool ReverseContourDirections(const std::string& name);

// Scales every file by f = |percent / 100| about the origin, 3D heights
// included. Nothing for a factor of 0.
void ScaleDrawingByFactor(double percent, bool allLayers);

// Factors limited to 0.001 .. 1000 (written back); nothing when all three
// are 1. Points scale by fx, fy and 3D heights by fz about the origin.
void DistortDrawing(float& fx, float& fy, float& fz, bool allLayers);

// The factors of a scale to a measure: kinds 1, 2, 4, 5 from two picked
// points and the target measure, kind 6 from a percentage (target). Returns
// 0 when done, 4011 when the measure or target is too small (the message to
// show), -1 for an unknown kind.
int ComputeMeasureFactors(int kind, const TVectorRecord& p1, const TVectorRecord& p2, double target, double& fx,
                          double& fy);
// Scales about the minimum corner of the drawing's extent with its texts
// (the origin when it is degenerate); withTexts scales the text objects
// alike. False when nothing changed (factors of 1).
bool ScaleDrawingAboutCorner(double fx, double fy, bool allLayers, bool withTexts = false);

// Shifts every file by (dx, dy).
void ShiftDrawingFiles(double dx, double dy, bool allLayers);

// The angle that turns the line P-Q horizontal (mode 2, points ordered by x)
// or vertical (mode 3, ordered by y); 0 when the line is too steep or flat
// for that.
double ComputeLineRotationAngle(int mode, const TVectorRecord& a, const TVectorRecord& b);
// Centre of a rotation: centreKind 1 the middle of the extent (current layer
// for the layer and the store, all layers for all), 2 the middle of the
// layout area.
void GetRotationCentre(int centreKind, int files, double& cx, double& cy);
// Turns the files by angle (radians, counter-clockwise) about (cx, cy);
// nothing for an angle of 0.00001 or less in magnitude.
bool RotateDrawingFiles(double angle, double cx, double cy, int files);

// --- commands ------------------------------------------------------------------------------
// "SpiegelnXY": asks the axis and the reference, then mirrors with the
// contour directions reversed.
// Without an argument the scope is TransformAllLayersFlag.
void MirrorDrawingCommand(bool allLayers);
void MirrorDrawingCommand();
// Command 400 "SkalierProz": one percentage, magnitude used; the texts
// scale along about the origin.
void ScaleDrawingByPercent(bool allLayers);
void ScaleDrawingByPercent();
// "VerzerrXYZ": three factors (parameter block 6); texts stay.
void DistortDrawingXYZ(bool allLayers);
void DistortDrawingXYZ();
// Kinds as above (+8 all layers): two picked points and the target, or a
// percentage for x.
void ScaleDrawingToMeasure(int kind);
// Kind 1 by typed offsets, 2 by moving the reference corner; +8 all layers.
void ShiftDrawing(int kind);
// Flags: bits 0-1 1 typed angle, 2 make a picked line horizontal, 3
// vertical; bits 2-3 centre 1 middle of the extent, 2 of the layout area;
// bits 4-5 files (kRotate...).
void RotateDrawing(int flags);
// Two points picked with the mouse, each snapped to the nearest drawing
// point (current layer, all layers with allLayers, or the store with
// store) and marked; false when cancelled (the marks are erased).
bool PickTwoPoints(TVectorRecord& first, TVectorRecord& second, bool allLayers, bool store);
// The extent's frame follows the cursor in xor until a click: status 2 and
// the shift (cursor point, or two typed numbers, minus the first corner),
// else status 3.
void DragExtentFrame(const TExtentsPair& extent, int colour, TPointRecord& shift, uint8_t& status);
