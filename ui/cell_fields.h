// Cell fields: single values placed in 8 x 16-pixel character cells of a
// hand-built dialog and edited in place. Each field draws its value, runs the
// line editor (or a small key loop), checks the limits and leaves an exit
// code that tells the dialog where to go next:
//   2 Enter, Tab or a left click     3 Esc, a right click or a redraw request
//   4 Up  5 Down  6 PgDn  7 PgUp     8-15 F1-F8 (9 also a middle click)   17 F10
// (the choice fields give 5 for Tab). While a field is edited it is shown
// inverted (white on black); before and after it is a plain cell button
// (black on the light face).
//
// Number fields read what was typed as a chain such as 10+2.5 (comma as
// decimal point). A value outside the limits sounds the signal and is asked
// again, unless the edit ended with Esc: the value is then clamped to the
// limits. A text that cannot be read (or a division by zero) is asked again;
// Esc on such a text gives back the value the field had when it was entered.
// No field ever stores a value that is not a finite number.
#pragma once

#include <cstdint>
#include <string>

// --- number fields ------------------------------------------------------------------------
// A float in an 8-cell field at (column, row), shown with decimals decimals.
void EditRealField(float& value, int column, int row, float max, float min, int decimals, uint8_t& exitCode);
void EditRealFieldThreeDecimals(float& value, int column, int row, float max, float min, uint8_t& exitCode);
// As EditRealField, but an entry outside the limits is clamped to them (with
// the signal) instead of being asked again.
void EditRealFieldClamped(float& value, int column, int row, float max, float min, int decimals,
                          uint8_t& exitCode);
// A signed 32-bit value in an 8-cell field.
void EditLongField(int32_t& value, int32_t max, int32_t min, int column, int row, uint8_t& exitCode);
// A signed 16-bit value in a field of width cells.
void EditIntegerField(int16_t& value, int16_t max, int16_t min, int width, int column, int row,
                      uint8_t& exitCode);

// --- values asked in the prompt line ------------------------------------------------------
// Shows the prompt, edits the value in the prompt line and opens the strip
// again empty; false when left with Esc.
bool PromptRealValue(const std::string& prompt, float& value, int decimals, float max, float min);
// The same for a 16-bit value (black on white, 8 cells); Esc restores the
// value. The limits are checked when the edit ends with Enter; other exits
// keep the entry clamped to the limits.
void PromptIntegerValue(const std::string& prompt, int16_t& value, int16_t max, int16_t min, uint8_t& exitCode);

// --- choice fields -------------------------------------------------------------------------
// One character of the allowed string (typed as it is or in capitals).
void EditCharFromSetField(char& value, const std::string& allowed, int column, int row, uint8_t& exitCode);

// One key/text pair of a choice field; an unused pair has the key ' ' and no text.
struct TChoicePair {
  char key = ' ';
  std::string text;
};
constexpr int kChoicePairsMax = 6;
// A character value shown as the text of its key. Typed keys are taken in
// capitals; "O" counts as "J"; a blank sets the value to ' '. A value that
// matches no key becomes the character 0. At most kChoicePairsMax pairs are used.
void EditYesNoField(char& value, const TChoicePair* pairs, int pairCount, int column, int row, uint8_t& exitCode);
// A popup list at (x, y): the yes entry sets answer to 'J', the no entry to
// 'N'; a cancel leaves it unchanged. The title is cut to 49 characters.
void AskYesNoPopup(int x, int y, const std::string& title, char& answer);
// After a yes/no field: PgUp (7) sets 'J', PgDn (6) sets 'N', a middle click
// (9) opens AskYesNoPopup below the field's row and clears the exit code.
void ResolveYesNoChoice(char& answer, uint8_t& exitCode, int x, int row);

// --- steps ----------------------------------------------------------------------------------
// A step size that suits a value: |x| up to 1: 0.05, 10: 0.1, 20: 0.2,
// 50: 0.5, 100: 1, 200: 2, 500: 5, above: 10.
float ChooseStepForValue(float x);

// Colours of a field being edited and of a field at rest.
constexpr int16_t kFieldEditBackground = 274;
constexpr int16_t kFieldEditText = 261;
constexpr int16_t kFieldRestText = 274;
constexpr int16_t kFieldRestBox = 260;
