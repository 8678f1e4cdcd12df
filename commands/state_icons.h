// The state icons at the right end of the menu bar (each 25 x 26 pixels at
// y 0, W the window's client width):
//   action         x W - 25   a command runs ("_LDAktion") / the program waits ("_LDFrei")
//   current layer  x W - 50   the current layer holds 3D points or tool blocks ("_LDGLayer3D") or not ("_LDGLayer2D")
//   tool layers    x W - 76   some tool layer file holds paths ("_LDWLayer") or none ("_LDNotWLayer")
//   path layers    x W - 102  some path layer file holds paths ("_LDPLayer") or none ("_LDNotPLayer")
// The menu bar decides which icons fit and sets their bits in StateIconFlags;
// this module draws them. The action icon also adds the time spent in
// commands to the counter of parameter block 0.
#pragma once

#include <cstdint>

#include "ui/buttons_controls.h"

// bit 0: the current layer holds tool-path records (3D points, tool blocks);
// bit 1: current-layer icon shown; bit 2: action icon shown; bit 3: tool-layer
// icon shown; bit 4: path-layer icon shown (bits 1-4 set by the menu bar).
extern uint8_t StateIconFlags;
constexpr uint8_t kStateLayerHoldsPaths = 1;
constexpr uint8_t kStateShowCurrentLayer = 2;
constexpr uint8_t kStateShowAction = 4;
constexpr uint8_t kStateShowToolLayers = 8;
constexpr uint8_t kStateShowPathLayers = 16;
// 1 when some tool layer file ("WLayer" + n + ".TMP") / path layer file
// ("PLayer" + n + ".TMP") holds records; set by whoever changes those files.
extern uint8_t ToolLayersPresent;
extern uint8_t PathLayersPresent;
// Millisecond tick at which the running command started; 0 = none.
extern uint32_t ActionStartTick;
// The menu bar's area; its right edge moves to the left edge of each layer
// icon drawn.
extern TButtonRect MenuBarBox;

// Records of the current layer looked at for 3D points and tool blocks.
constexpr int kLayerScanRecords = 1000;
// The command-time counter (parameter block 0, byte 49) restarts from 0 when
// it already stands above this many milliseconds (576 hours).
constexpr int32_t kCommandTimeWrap = 2073600000;
constexpr int kCommandTimeOffset = 49;

// Left x of the icons for a client width.
int ActionIconX();
// CurrentLayerIconX: frame/program_state.h.
int ToolLayerIconX();
int PathLayerIconX();

// Mode 1: a command starts (the tick is noted, "_LDAktion"); mode 0: the
// input wait starts (the elapsed time is added to the counter, "_LDFrei");
// other modes do nothing. Nothing at all while the action icon is not shown.
void DrawActionIcon(uint8_t mode);
// The current-layer icon is drawn whenever called; the tool- and path-layer
// icons only while their bits are set. Each moves MenuBarBox's right edge.
void DrawCurrentLayerIcon();
void DrawToolLayerIcon();
void DrawPathLayerIcon();
// Reads the first records of the current layer file (when it exists): its
// record count goes to LayerRecordCounts, bit 0 to whether a 3D point or a
// tool block is among them; then the layer icons are drawn when the
// current-layer icon is shown.
void UpdateLayerPathFlag();
// Fills the side panel area (from SidePanelLeft and the top of the side
// panel to the window's right and bottom edges) with RGB 220,220,220.
void ClearSideMenuArea();
