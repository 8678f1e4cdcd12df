// The interactive zoom commands: zoom by a window given on the prompt line or
// with the mouse, the zoom popup and the zoom bar. The zoom steps they take
// are in view/redraw.h.
#pragma once

#include <cstdint>
#include <string>

// Zoom by window on the current view (the background kind applied first).
void ZoomWindowCurrentView(uint8_t viewKind);
// Zoom by window: the user gives two corners on the prompt line or with the
// mouse; a cancel closes the prompt strip and changes nothing.
void ZoomToWindow(const std::string& file, uint8_t viewKind);
// The zoom choices: all, the marked contours (not offered when storeChoice
// is 255), and seven levels of the layout area from 10 % to 500 %.
void ShowZoomPopup(const std::string& file, uint8_t viewKind, int storeChoice);
// Pans or zooms by a zoom-bar choice 0..13.
void ApplyZoomBarChoice(const std::string& file, uint8_t viewKind, int choice);
