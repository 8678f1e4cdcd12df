// Buttons shared by the menus, the bars and most commands: the button record
// every hit test reads, the icon and caption button painters with the
// one-character caption codes of the standard bar pictures, the corner marker
// of the top-strip buttons, the grey button face and the four arrow buttons
// of a vertical scroll bar.
//
// Colours are colour numbers of the drawing layer (260 light grey, 261 white,
// 274 black, below 256 palette entries).
#pragma once

#include <cstdint>
#include <string>

#include "ui/panels.h"

// The button record: flag 1 marks an active button (the painters do not read
// it); bounds are window pixels, all four inclusive for hit tests.
using TButtonRect = TBox;

// True when (x, y) lies inside the record's bounds (the flag is not read).
bool IsPointInButton(const TButtonRect& button, int x, int y);

// Caption codes: a caption whose first character has one of these codes draws
// the picture of the code's row instead of its text.
struct TCaptionCode {
  const char* picture;  // null: the caption is drawn as text
  bool centred;         // the picture is centred on the button, else at its left
};
// The row of a code 1..16, or null for every other code (0, 5, 17 and above).
const TCaptionCode* FindCaptionCode(uint8_t code);

// Draws one button: face (260: solid RGB 192,192,192, else a brush of the
// colour), the pressed or raised frame, then the picture and the caption.
// An empty caption draws only face and frame, also when a picture is named
// (picture-only buttons pass one blank). The record is taken by value.
void DrawIconButton(const std::string& caption, const std::string& pictureName, TButtonRect rect, uint8_t pressed,
                    int16_t textColor, int16_t faceColor);
// DrawIconButton without a picture name.
void DrawCaptionButton(const std::string& caption, const TButtonRect& rect, int16_t faceColor, uint8_t pressed,
                       int16_t textColor);
// The 5 x 5 picture "MarkF2" at (x + 3, 43): the lower left corner of a
// button of the top strip (y 26 to 51).
void DrawButtonCornerMarker(int x);
// Fills the rectangle with RGB 192,192,192 and outlines it in black.
void DrawGreyButtonFace(const TButtonRect& rect);
// A vertical scroll bar of width size at the right edge x from top to bottom:
// its outline and four arrow buttons (top double, top single, bottom single,
// bottom double arrow), each record filled with flag 1.
void DrawScrollBarButtons(int right, int top, int bottom, int size, TButtonRect& topDouble, TButtonRect& topSingle,
                          TButtonRect& bottomSingle, TButtonRect& bottomDouble);

// The maker's logo of the program picture table: "_MARVEKG.GIF" (97 x 60), or
// the wide logo (185 x 44) with VariantNumber 13, faded by scale, in the
// lower right corner of the box (DrawProgramPictureInCorner); nothing when
// the box is too small for it.
constexpr const char* kMakerLogoPicture = "_MARVEKG.GIF";
constexpr const char* kWideMakerLogoPicture = "_MARVEKW.GIF";
void DrawMakerLogo(int x1, int y1, int x2, float scale, int y2);
