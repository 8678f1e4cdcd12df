// TEMPORARY STAND-IN for the menus and command input, to be replaced when the
// menu subsystem is built. It offers the least the program frame calls: the
// input wait (which, with no menus yet, only polls until the window closes),
// the busy-time accounting and empty menu drawing.
#pragma once

#include <cstdint>
#include <string>

#include "ui/panels.h"

extern uint8_t ClickTrackingState;  // bit 1: left button held while tracking clicks in the graphic
extern int16_t CurrentSideMenu;

// Polls keys and clicks until one yields a command and leaves its code in
// CommandWord. Without menus nothing yields a command.
void WaitForMenuCommand();
// 1: a command starts (notes the tick count); 0: it ended (adds the time to
// parameter block 0, byte 49).
void ShowBusyState(uint8_t state);
void BuildMenuTables();
void ResetMenuState();
void FreeMenuTables();
void DrawMenuBar(int16_t n);
void ShowSideMenu(int16_t n);
void ReloadSideMenu(int16_t n);
void RedrawSideMenu();
void DrawGraphicIconBar();
void ClearSideMenuArea();
void UpdateLayerPathFlag();
void UpdateGraphicDragState();
void ShowStartButtons();
void ShowStartInfoPanel(const std::string& title);
bool RunProgramOptionsMenu();
// A 3D button over a box: the face colour (260 light grey), raised or
// pressed, the caption centred in the text colour.
void DrawCaptionButton(const std::string& caption, const TBox& box, int16_t faceColor, int16_t textColor,
                       uint8_t pressed);
// The same with the named picture centred in place of the caption when the
// picture exists.
void DrawIconButton(const std::string& pictureName, const std::string& caption, const TBox& box, uint8_t pressed,
                    int16_t textColor, int16_t faceColor);
