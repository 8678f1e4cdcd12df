// The program's state that every layer reads: the program and data folders,
// the variant, the command word of the main loop and the screen layout the
// start sequence computes.
#pragma once

#include <cstdint>
#include <string>

#include "frame/main_window.h"

// --- folders and variant -----------------------------------------------------
extern std::string ProgramFolderName;  // with trailing backslash
extern std::string DataFolderName;     // with trailing backslash; also the current folder
extern int32_t VariantCode;            // 48 in this build
extern uint8_t VariantOptionFlag;      // 1 once the variant words have been read
constexpr int32_t kBuildVariantCode = 48;
constexpr int32_t kVersionThousandths = 7020;

// --- the command word ----------------------------------------------------------
// 0 no command; 9999 quits; 9998, 9997 and 9900 leave a sub-loop.
using TCommandCode = uint16_t;
extern TCommandCode CommandWord;
// Set to 1 as soon as a command has been given (key, click, menu, panel);
// the input wait clears it at the start of every pass.
extern uint8_t CommandGiven;
// Which window's command loop runs: 0 the main 2D drawing, 1 relief,
// 2 projection, 3 tool-path preview, 4 raster and scanner, 5 text and sign
// window, 6 photo milling, 261 text-object mode; -1 while some relief
// operations run. 2 and 4 refuse zooming; 0 and 3 show the frame file.
extern int16_t CommandSubMode;
constexpr TCommandCode kQuitCommand = 9999;

// --- screen layout -----------------------------------------------------------------
extern int16_t MenuBarHeight;       // always 51
extern int16_t SidePanelLeft;       // maximum x - 168
extern int16_t DrawingAreaLastX;    // maximum x - 169
extern uint8_t ScreenModeWord;      // 0 main screen
extern bool LayoutDone;
extern int16_t StatusBaseline;      // maximum y - 48
extern TLayoutRect MenuTitleBar;
extern TLayoutRect SideMenuTextArea;
extern TLayoutRect SideMenuIconArea;
extern TLayoutRect LayerBar;
extern TLayoutRect TopRuler;
extern TLayoutRect LeftRuler;
// Menu-bar state flags: bit 0 menu titles active, bit 1 view-bar buttons
// enabled, bit 2 icon panel enabled (7 on the main screen, 0 while suspended).
extern uint8_t MenuBarMode;
// Left x of the current-layer icon in the menu bar for the client width.
int CurrentLayerIconX();

// Journal line with the date and time appended.
void LogDatedJournalLine(const std::string& text);
