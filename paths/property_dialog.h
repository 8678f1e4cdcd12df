// The machining property dialog: the one dialog in which every per-object
// milling and drilling operation asks its values. A title, the picture of the
// operation, the tool with its profile at the right, the target layer and up
// to four number fields with captions and limits. The operation names the
// fields; the dialog only edits them.
//
// Rows (16 pixels, counted from the dialog's top): tool 7, layer 8, value
// fields 10-13; captions at the left, values in an 8-cell field at column 40.
// Active fields: 1 tool, 2 layer, 4-7 value fields 1-4.
//
// Keys: Enter, Tab or Down the next field (tool, layer, then the value
// fields), Up the previous one (never before the start field), PgDn and PgUp
// step the tool or layer number, F2 or a middle click opens the tool
// selection or the layer list, F1 or "OK" confirms, Esc, "Abbruch" or the
// right button cancel. A click on a row makes it active, on the tool panel
// opens the tool selection, on the title bar moves the dialog.
#pragma once

#include <cstdint>
#include <string>

#include "ui/panels.h"

constexpr int kPropertyFieldsMax = 4;
constexpr int kPropertyDialogWidth = 528;
constexpr int kPropertyDialogHeight = 238;

// Results of the dialog.
constexpr uint8_t kPropertyCancelled = 3;
constexpr uint8_t kPropertyConfirmed = 8;

struct TPropertyField {
  std::string caption;
  float value = 0.0f;
  float upperLimit = 0.0f;
  float lowerLimit = 0.0f;
};

// One run of the dialog: the caller's values, where they are drawn, and the
// active field.
struct TPropertyDialog {
  std::string title;
  std::string picture;
  int16_t pictureWidth = 0;
  int16_t pictureHeight = 0;
  int16_t* tool = nullptr;
  int16_t* layer = nullptr;
  TPropertyField* fields = nullptr;
  int count = 0;
  bool currentTool = false;  // the tool was given negative: the current tool, not changeable
  TPopupFrame frame{};
  TBox ok{};
  TBox cancel{};
  int field = 1;
  uint8_t result = 0;  // 3, 8, or 0 while running / after a redraw request
};

// Places the dialog (528 x 238) around the window's centre cell.
void LayOutPropertyDialog(TPropertyDialog& d);
// Draws the whole dialog into its frame; sets the start field.
void DrawPropertyDialog(TPropertyDialog& d);
// Runs the fields until the result is 3 or 8, or a redraw request ends the
// run (result 0).
void RunPropertyDialogFields(TPropertyDialog& d);

// Edits tool, layer and the first count (0-4) fields in place. A negative
// tool stands for the current tool (the tool of the current layer), which is
// shown but cannot be changed, and no layer is asked; tool then comes back as
// that tool's number. Values are changed in place also when the dialog is
// cancelled: callers test result (3 cancelled, 8 confirmed).
void RunPropertyDialog(const std::string& title, const std::string& picture, int16_t pictureWidth,
                       int16_t pictureHeight, int16_t& tool, int16_t& layer, TPropertyField (&fields)[kPropertyFieldsMax],
                       uint8_t count, uint8_t& result);
