// TEMPORARY STAND-IN for the screen view services not built yet, to be
// replaced when the view subsystem is built. Callers: app/dispatcher.cpp,
// app/program_start.cpp and view/redraw.cpp.
#pragma once

#include <cstdint>
#include <string>

// The table of point markers; none is allocated yet, so nothing is freed.
void FreePointMarkerTable();

// --- commands of the main dispatcher that belong to the view. Until they are
// built each says it is not yet available and changes nothing (a panel
// reports no change).
bool OpenLayerPanel(int mode, uint8_t* layerVisibility);
void RunJobOverview();
void PanViewByDragging(int mode);
void SelectCurrentLayer(int mode);
void PickCurrentLayerAtCursor();
void FillCurrentLayerContours();
void ClearChosenLayers();
void ShowContourArea();
void RunMillingTraceMenu(const std::string& layerFile);

// The file drawn with the tool's width: until the tool-width preview is built,
// the path itself in the colour (mode is the preview's mode byte).
void PreviewToolWidth(const std::string& file, uint8_t mode, int colour);
