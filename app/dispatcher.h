// The main command dispatcher: the one switch that turns the command word of
// the main screen into an operation. It runs once per pass of the main loop,
// right after the input wait has set the command word, and does one thing
// for the code it finds: run a command procedure, hand a code range to a
// sub-dispatcher, or enter a module with its own command loop. A code
// without an entry (other than 0) shows that the function is not yet
// available and changes nothing.
//
// The table is ordered by code; ranges include both ends. Modules with their
// own command loop (font editor, relief work guide, relief module) or window
// (projection, scanner, photo milling, tool path preview) park the vector
// store in "VekArZw.TMP" while they run and bring it back afterwards; after
// a module screen the main screen is drawn whole again.
#pragma once

#include <cstdint>

struct TDispatchEntry {
  uint16_t first;         // first code of the entry
  uint16_t last;          // last code (equal to first for a single code)
  const char* operation;  // what the code reaches, by the operation's name
  void (*run)();
};

// The operation the last dispatch reached ("" when the code has no entry).
// Entries that choose between operations name the one they ran.
extern const char* DispatchedOperation;

// Reads the command word once and runs its operation. The variant code
// chooses the navigation panels of code 6001.
void DispatchMainCommand(int32_t variantCode);
// The entry that holds the code; null for codes without one.
const TDispatchEntry* FindDispatchEntry(uint16_t code);
// The whole table and its length, in code order.
const TDispatchEntry* DispatchTable(int& count);

// Code 3189: the path export when the machine record field (block 14 @1582)
// is clear, else direct milling with output mode 2.
void RunAutoHandOver();
// Code 6001: the navigation panels (1, 3); kind 11 for variant code 18.
void RunNavigationCommand(int32_t variantCode);
// The three modules with their own loops (codes 9911, 9915, 9944/9945/9948).
void RunFontEditorModule();
void RunReliefGuideModule();
void RunReliefModule(uint16_t code);
