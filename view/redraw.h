// Redraw of the graphic window by view kind, the redraw entry points and the
// zoom steps (the interactive zoom commands: ui/zoom_commands.h).
//
// A view kind's low 7 bits choose what the painter draws (0 drawing layers,
// 1 and 11 a file, 2 layers with guide lines, markers and text lines, 3, 4
// and 10 tool layers, 13 a file with tool width, 21-23 file views with grid;
// the backgrounds: 5 the current relief, 12 the raster work file, 14 the
// picture "Hintergr.TMH", each under the layers of kind 2; the relief views:
// 7 relief with box marks and guide lines, 8 shaded relief, 9 relief and
// file, 15 and 16 kind 7 with the tool layers or the file, 17 relief between
// box marks, 18 the relief alone); bit 7 leaves the layout area unprepared.
// ViewKind (main_window.h) keeps the kind of the last painter run.
#pragma once

#include <cstdint>
#include <string>

#include "model/vector_records.h"

extern uint8_t ViewSetFlag;     // 1 once a view has been fitted; else the next redraw starts from the layout area
extern uint8_t StoreDrawn;      // the painter drew the vector store
extern uint8_t BackgroundShown; // 132 while a background kind was chosen

void PaintView(const std::string& file, uint8_t viewKind, uint8_t drawMode);
void RedrawFileInView(const std::string& file, const TExtentsPair& extent, uint8_t viewKind);
void RedrawFileView(const std::string& file, uint8_t viewKind);
void ApplyBackgroundKind(uint8_t& viewKind);
void RedrawCurrentView(uint8_t viewKind);
void RedrawWithExtent(const TExtentsPair& extent, uint8_t viewKind);
void ZoomOutCurrentView(uint8_t viewKind);
void ZoomAllCurrentView(uint8_t viewKind);
// The extent ZoomToAll shows for the kind (may be empty).
void GetZoomAllExtent(const std::string& file, uint8_t viewKind, TExtentsPair& extent);
void ZoomToAll(const std::string& file, uint8_t viewKind);
void ZoomOutAroundCentre(const std::string& file, uint8_t viewKind);
// The fixed zoom levels of the zoom popup, entries 3 to 9 (10 % .. 500 %).
void ZoomToLayoutLevel(const std::string& file, uint8_t viewKind, int entry);
// The extent with the corners (x1, y1) and (x2, y2), their type bytes set.
TExtentsPair MakeExtent(double x1, double y1, double x2, double y2);
// Without a fitted view (ViewSetFlag not 1) the file is drawn on the layout area first.
void EnsureViewSet(const std::string& file, uint8_t viewKind);
void RedrawViewHook();
void SaveLayoutAreaToParams();
void ShowPathDirections(const std::string& fileName, bool squares);
void DrawGuideLine(bool vertical, int drawMode, int colour, float position);
void DrawGuideLines(const uint8_t* block1, int drawMode);
void DrawParamPointMarkers();
void DrawDrawingLayers(uint8_t drawMode);
void DrawToolLayers();
// The tool layers drawn with their tools' width; stops at an Esc (ErrorCode > 0).
void DrawToolLayersWithToolWidth();
void DrawLayersWithAnnotations(uint8_t drawMode);
