// The controls of the graphic window in the lower strip of the top bar
// (y 26 to 51): the icon bar of picture buttons and the view bar (the layer
// button and the view buttons), laid out by IconBarMode; what a click on each
// of them gives; and the zoom bar panel opened from the graphic.
//
// Slots count from the right: with W the client width, slot n is the 25-pixel
// cell from x = W - 25 n to W - 25 n + 25. A hidden button lies at x = W
// (flag 0, or zero width for a view button), where no click reaches it.
#pragma once

#include <cstdint>

#include "ui/buttons_controls.h"

// View-bar buttons: 0 layer, 1 new graphic, 2 normal view, 3 zoom out,
// 4 zoom in, 5 start points, 6 marking mode, 7 milling trace. The flag
// doubles as the pressed look.
constexpr int kViewBarButtonCount = 8;
extern TButtonRect ViewBarButtons[kViewBarButtonCount];
// The icon-bar buttons, with the pictures drawn on them.
extern TButtonRect HelpIconButton;        // "KHilfe1"
extern TButtonRect ParameterIconButton;   // "Parameter"
extern TButtonRect BackgroundIconButton;  // "GrafikHintG"
extern TButtonRect SelectIconButton;      // "GRAFIKAUSW"
extern TButtonRect PanIconButton;         // "HANDVERSCH"
extern TButtonRect ZoomAllIconButton;     // "GRAFIKALLES"
extern TButtonRect NewGraphicIconButton;  // "GRAFIKNEU"
extern TButtonRect ExportIconButton;      // "EXPORTFR"
extern TButtonRect PrintIconButton;       // "Printer16"
extern TButtonRect SaveIconButton;        // "SPEICHE"
extern TButtonRect RedoIconButton;        // "ReDo"
extern TButtonRect UndoIconButton;        // "UnDo"
// 1 to 5 select a bar layout (1 the main drawing window, 2 most module
// windows); 0 and above 5 draw no bar.
extern uint8_t IconBarMode;
// Right end of the part of the top bar left to prompts and texts.
extern int16_t TopBarTextRight;

// W - 25 n.
uint16_t IconBarSlotX(int n);
// Sets the flag of view button 1 to 0, lays out and draws both bars for
// IconBarMode and stores TopBarTextRight.
void DrawGraphicIconBar();
// Enabled: black text in the given look; not enabled: text colour 260,
// raised. Buttons narrower than 16 pixels are not drawn.
void DrawViewBarButton(int button, bool enabled, uint8_t pressed);
// The record becomes flag 1, (x1, 26)-(x2, 51), drawn raised.
void SetViewBarButton(int x1, int x2, int button, bool enabled);
void ClearViewBarStrip(int x1, int x2);
// The record becomes the flag and (x, 26)-(x + 25, 51), drawn raised with the picture.
void PlaceIconBarButton(int x, uint8_t flag, const char* picture, TButtonRect& button);
// The layer button: message 1511 and the layer number, in the layer's colours
// when it is visible, grey with text colour 7 when hidden.
void DrawLayerButton(int layer, uint8_t pressed);

// A click on the bars. buttons: the mouse-button state (1 middle, any other
// press the plain click). Sets CommandWord by the button hit (the first in
// the order of the input wait) and CommandGiven when the command is to run;
// given is false where the button only changes a mode (marking mode, help
// mode).
struct TBarClick {
  bool hit = false;    // a bar button or the current-layer icon was under the mouse
  bool given = false;  // CommandWord holds a command to run
  bool helpMode = false;  // the help button switched help mode on
};
TBarClick ClickGraphicControls(int x, int y, uint8_t buttons);

// The 3D view panel: two view angles (A about the vertical, B the tilt, in
// degrees), the projection kind (1 grid, 2 vectors, 3 points, 4 faces; the
// kind buttons show only when it is 1 or more), a style byte stepped by the
// "PosA" button and a live preview of a box. Every click steps an angle by 5
// degrees; angles are then whole degrees, A within -89.99..89.99 and B within
// 0..89.99 (0..179.99 with mode 1). result: 2 accepted ("OK"), 3 cancelled
// ("Esc" or the right button); the angles are not put back on cancel.
void RunViewRotationPanel(float& angleA, float& angleB, int16_t& kind, uint8_t mode, uint8_t& result,
                          uint8_t& style);
// A corner of the preview box projected for the angles (pixels from the
// preview's top-left corner).
struct TPreviewPoint {
  int x = 0, y = 0;
};
TPreviewPoint RotatePreviewPoint(double x, double y, double z, double angleA, double angleB);

// Runs the zoom bar panel; result: 0 close (button or right click), 1-4 and
// 6-9 pan in the direction of the grid place, 5 redraw, 10 zoom to a window,
// 11 zoom out, 12 zoom all, 13 the layout area.
void RunZoomBarPanel(int16_t& result);
