// Number lists such as "1,3,7-11 15" that select numbers 0-199 (tools of the
// tool table): the reader and the popup that asks for a list.
//
// A list holds numbers and ranges "a-b" separated by commas or blanks; blanks
// after a minus are skipped, so "3 - 7" is the range 3 to 7. A number followed
// by a final minus ("5-") starts a range that never ends and is not selected.
#pragma once

#include <cstdint>
#include <string>

constexpr int kNumberListSize = 200;                             // numbers 0..199
constexpr const char* kNumberListCharacters = "1234567890-, ";  // what a list may hold
constexpr const char* kNumberListError = "Fehler in der Zahleneingabe!";

// Clears every flag, then sets the flag of each number the text selects.
// False when the list is wrong: a number that cannot be read, a range whose
// end lies below its start, or a number outside 0..199. Reading goes on after
// an error, so the numbers read correctly keep their flags.
bool ReadNumberList(const std::string& text, uint8_t (&flags)[kNumberListSize]);

// Asks for a number list in a text popup (title, caption above the field,
// field width in cells, placement 1-9 as on a telephone keypad, else
// centred) and fills the flags from it. All flags are cleared first, also on
// a cancel. Exit code 3 when cancelled or when the list is wrong (the error
// is shown in a message box); 2 when the flags hold the list.
void EditNumberList(const std::string& title, const std::string& caption, uint8_t (&flags)[kNumberListSize],
                    uint8_t& exitCode, int width, int position);
