// The choice list of a list field of the generic input form: up to 11
// options; dropped below the field it lets the user pick one with the mouse
// or the arrow keys, in place it only shows the current option and waits for
// a key that leaves the field. Positions are character cells (8 x 16 pixels).
#pragma once

#include <cstdint>
#include <string>

constexpr int kChoiceOptions = 11;
constexpr int kChoiceOptionMax = 20;

// Exit codes, as the generic input form counts them.
constexpr uint8_t kChoiceRedrawn = 0;      // a redraw request ended the list
constexpr uint8_t kChoicePicked = 1;       // an option was clicked
constexpr uint8_t kChoiceEnter = 2;        // Enter or a click elsewhere
constexpr uint8_t kChoiceCancel = 3;       // Esc or the right button
constexpr uint8_t kChoicePrevField = 4;
constexpr uint8_t kChoiceNextField = 5;
constexpr uint8_t kChoicePageDown = 6;
constexpr uint8_t kChoicePageUp = 7;
// 8-15 F1-F8, 17 F10.

struct TFieldChoiceList {
  int16_t Column = 0;  // cell of the field
  int16_t Row = 0;
  int16_t Width = 1;   // field width in characters
  int16_t Chosen = 1;  // 1..11
  uint8_t ExitCode = 0;
  std::string Options[kChoiceOptions];  // in use: those before the first empty one
};

// Where the dropped list stands: its options are drawn from column, one a
// row below the field, over cells characters: the field's width, or the
// longest option's where that is wider, moved left where the screen ends.
// The box (pixels) frames them.
struct TDroppedChoiceLayout {
  int column = 0, cells = 1;
  int left = 0, top = 0, right = 0, bottom = 0;
};
void LayOutDroppedChoices(const TFieldChoiceList& list, int screenWidth, TDroppedChoiceLayout& layout);

// A fresh list (cell 0, 0, width 1, option 1 chosen, no options) in the
// pointer; a list the pointer held is freed first. The caller owns the list
// and deletes it when the form no longer shows it.
void NewFieldChoiceList(TFieldChoiceList*& list);
// Option 1..11 as text (cut to 20 characters); other numbers: nothing, or "".
void SetFieldChoiceOption(TFieldChoiceList& list, int option, const std::string& text);
std::string FieldChoiceOption(const TFieldChoiceList& list, int option);
// The options in use (those before the first empty one).
int CountChoiceOptions(const TFieldChoiceList& list);
// drop set: the options drop below the field, each whole, and the user
// picks one; drop clear: the current option is shown in the field until
// a key or button leaves it. Results in Chosen and ExitCode; a list without
// options returns at once.
void RunFieldChoiceList(TFieldChoiceList& list, bool drop);
