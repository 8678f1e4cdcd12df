// Freehand paths: the path follows the mouse while the left button is held.
// The recorder is also used outside the construction commands (a guide path
// recorded into a work file).
#pragma once

#include <cstdint>
#include <string>

// Options of RecordFreehandPath.
constexpr int kFreehandDrawWhileRecording = 1;
constexpr int kFreehandFitArcs = 2;

// Records a path into the named vector file (rewritten): a contour start
// where the button goes down, a line point at every new cursor position,
// until the button is released or the path comes back to its start. closed
// tells whether it ended on its own start.
void RecordFreehandPath(const std::string& file, int16_t colour, int options, bool& closed);
// Command 107 of the construction commands: one freehand path into the
// current layer, its arcs smoothed.
void DrawFreehandIntoLayer();
