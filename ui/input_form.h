// The generic input form: the one dialog with which commands ask for a
// handful of values. A framed panel with a title, one line per field
// (caption at the left, value at the right), an optional picture area above
// the lines, "OK" and "Abbruch" in the title strip, and keyboard and mouse
// navigation between the fields.
//
// How to use it
//   TInputField fields[kInputFieldEntries];        // entries 1..n are fields[0..n-1]
//   fields[0].caption = "Tiefe";  fields[0].kind = 'S';
//   fields[0].value = 1.5f;  fields[0].upperLimit = 9999.999f;
//   fields[0].lowerLimit = -9999.999f;  fields[0].width = 8;  fields[0].decimals = 3;
//   ... up to 19 fields ...
//   uint8_t code = RunInputForm("Titel", fields, n);
//   if (code != 3) use fields[0].value ...
// The form writes the values back into the same array. With exit code 3
// (Esc, "Abbruch", right button) every value and value text is what it was
// before the call.
//
// Field kinds
//   'S' real number (decimals shown)        'I' integer          'L' layer number (F2 or a
//   middle click opens the layer list)       'W' tool number (F2 or a middle click, or a click
//   on the tool profile, opens the tool chooser)
//   'B' yes/no (J, O or Y yes, N no; value 1.0 / 0.0)
//   'D' yes/no that ends the form as soon as it is yes
//   'T' text (valueText, at most 16 characters; capitals when width is 1)
//   'F' text shown but never edited: the navigation passes over it
//   'A' choice (value = option number 1-11) from the field's choice list:
//       NewFieldChoiceList(field.choiceList) and SetFieldChoiceOption
//       (commands/field_choice_list.h) before each run; the form deletes the
//       list when it ends and leaves the pointer null
// Numbers outside [lowerLimit, upperLimit] and texts that cannot be read
// (including a division by zero in a typed chain like 10/0) are asked again
// in the same field; Esc always leaves the field. A number left as it was
// shown keeps its value (the shown text may be rounded, and "L" and "W"
// texts begin with "#").
// Pictures: a field's pictureName is shown in an area above the lines while
// it is current; a field with toolField 1 adds the profile of that tool
// number beside it.
//
// Exit codes (also the result block's decimals byte)
//   2 Enter on the last field (or a click outside with count bit 7)
//   3 cancelled: Esc, "Abbruch", right button; every field restored
//   8 "OK" or F1        9 F2 or a middle click (not in 'L' and 'W' fields)
//   10 the arrow button
//   Up/PgUp move to the previous field, Down/PgDn/Tab in yes/no fields to the
//   next one; F3-F8 and F10 keep the form running. Codes above 8 are also
//   stored in the decimals byte of the field that was current.
//
// Result block (entry 20 = fields[kInputResultEntry])
//   lowerLimit  number of the field current at the end (n + 1 after Enter on the last)
//   width       1 when any value or value text changed
//   decimals    the exit code
// The decimals byte of every other entry is cleared when the form ends (set
// the decimals of 'S' fields again before each run).
#pragma once

#include <cstdint>
#include <string>

#include "frame/defaults.h"
#include "ui/panels.h"

struct TFieldChoiceList;

constexpr int kInputFieldsMax = 19;     // fields 1..19
constexpr int kInputFieldEntries = 20;  // fields and the result block
constexpr int kInputResultEntry = 19;   // index of the result block
constexpr int kInputCaptionMax = 39;
constexpr int kInputTextMax = 16;
constexpr int kInputPictureNameMax = 39;
constexpr float kInputUpperLimit = 9999.999f;  // the usual limits
constexpr float kInputLowerLimit = -9999.999f;

// Bits of the count argument besides the field count (bits 0-5).
constexpr uint8_t kFormEndsOnOutsideClick = 0x80;  // also skips the final wait for the mouse release

struct TInputField {
  std::string caption;          // text at the left of the line (at most 39 characters)
  std::string valueText;        // kinds 'T' and 'F' (at most 16 characters)
  float value = 0;              // every other kind
  float upperLimit = 0;         // largest value accepted
  float lowerLimit = 0;         // smallest value accepted
  TFieldChoiceList* choiceList = nullptr;  // kind 'A' only; freed by the form
  char kind = 'S';
  uint8_t width = 8;            // cells of the value
  uint8_t decimals = 0;         // kind 'S': decimals shown; afterwards the result byte
  std::string pictureName;      // shown while this field is current; empty: none
  int16_t pictureWidth = 0;     // pixels
  int16_t pictureHeight = 0;
  uint8_t toolField = 0;        // 1: holds a tool number whose profile is shown
};

// Runs the form. count: the field count in bits 0-5 (at most 19) and the
// flags above; placement 1-9 as on a telephone keypad over the graphic area
// (and the form can be dragged by its title strip), 0 or any other value
// centred; arrowButton 1 or 2 adds a picture button "_BUPFEILAB" or
// "_BUPFEILAUF" left of "OK" that ends the form with 10. Returns the exit code.
uint8_t EditInputForm(const std::string& title, TInputField (&fields)[kInputFieldEntries], uint8_t count,
                      int placement, int arrowButton, uint8_t& exitCode);
// The tool chooser of 'W' fields: called with the field's tool number in
// ToolChooserNumber, it leaves the choice there. The tool table sets it when
// the program starts; null: no chooser, the number stays.
extern void (*ToolChooserHook)();
extern int16_t ToolChooserNumber;
// Reads tool record n of the tool table for the profile beside a form's
// picture. The tool table sets it when the program starts; null: the profile
// shows an empty tool record.
extern void (*ToolRecordReader)(TToolRecord& tool, int32_t n);
// Bit 0 set while the settings window draws its pages itself (input forms
// shown inside it end on a redraw request instead of drawing again).
extern uint8_t SettingsWindowFlags;

// Where the form puts its title and lines, as EditInputForm draws them:
// the title's room in the strip before the buttons, each caption's room from
// its cell to the value field, and each value's white field.
struct TInputFormLayout {
  TPopupFrame frame{};
  TBox titleBox{};
  TBox captionBoxes[kInputFieldsMax]{};
  TBox valueBoxes[kInputFieldsMax]{};
};
// Lays the form out as EditInputForm would (captions and value texts cut to
// their limits as the form cuts them).
void LayOutInputForm(const std::string& title, TInputField (&fields)[kInputFieldEntries], uint8_t count,
                     int placement, TInputFormLayout& layout);

// Gives every field the same picture (name, size; tool field flags cleared)
// and runs EditInputForm without arrow button; placement 1 centres.
uint8_t ShowInputForm(const std::string& title, TInputField (&fields)[kInputFieldEntries], uint8_t count,
                      int placement, int pictureWidth, int pictureHeight, const std::string& pictureName);
// Centred, without picture.
uint8_t RunInputForm(const std::string& title, TInputField (&fields)[kInputFieldEntries], uint8_t count);
// Centred, with one picture for all fields.
uint8_t RunInputFormWithPicture(const std::string& title, TInputField (&fields)[kInputFieldEntries], uint8_t count,
                                int pictureWidth, int pictureHeight, const std::string& pictureName);
// Up to four real values (3 decimals, the usual limits) under their captions.
void EditFourValues(const std::string& title, int count, const std::string (&captions)[4], float (&values)[4],
                    uint8_t& exitCode);

// A framed card showing one picture with optional captions above and below,
// at (x, y); the card stays open: the caller closes frame (ClosePopupFrame).
void ShowPictureCard(int x, int y, const std::string& pictureName, TPopupFrame& frame,
                     const std::string& upperCaption, const std::string& lowerCaption, int width, int height);

// The text the value column shows for a field, width characters wide at
// most (used by the form and by dialogs that show the same values).
std::string FormatInputFieldText(const TInputField& field, int width);
