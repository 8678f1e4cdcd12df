// The line editor: edits one text in a field of 8 x 16-pixel character cells
// until a key or a click ends the edit, and reports how it ended.
//
// Exit codes (0 = the edit has not ended):
//   2 Enter, Tab or a left click      3 Esc, a right click or a redraw request
//   4 Up  5 Down  6 PgDn  7 PgUp      8-15 F1-F8 (9 also a middle click)
//   17 F10                            18 Ctrl+Y in free-text mode
//   19-44 Ctrl+K then A-Z (mode 0)    44 also Alt+E
//   45, 46 Left, Right in mode 3      47 Del in modes 3 and 4
//   121, 122 Ctrl+Right, Ctrl+Left    123, 124 extended key codes 254, 255
//   125, 126, 127 Ctrl+L, Ctrl+E, Ctrl+S (mode 0)
//   155 + position Ctrl+B (mode 0)
//
// Modes: 0 free text (Ctrl commands, symbol characters on Alt keys),
// 1 capitals, 2-4 numbers ("," typed becomes "."; 3 adds the exits 45, 46,
// 47, 4 the exit 47), 5 plain text, 6 capitals shown as "*". From mode 2 on,
// a digit, ".", "-" or "+" as the first key replaces the whole text, and
// Alt+R opens the calculator, whose result replaces the text. F9 calls the
// help hook and ends nothing.
#pragma once

#include <cstdint>
#include <string>

// Edits text (at most width characters) in the cell field at (column, row);
// the cursor starts after the last character. Returns when exitCode is not 0;
// text holds the edited value in every case.
void EditTextField(int column, int row, int width, int mode, std::string& text, int background, int textColor,
                   uint8_t& exitCode);

// The same with a given start position (1-based, clamped to 1..length + 1);
// position receives the final cursor position.
void EditTextFieldAt(int column, int row, int width, int mode, std::string& text, int background, int textColor,
                     uint8_t& exitCode, int& position);

// Reads the key after an extended-key prefix and sets exitCode for F1-F8
// (8-15), F10 (17), Up (4), Down (5), PgDn (6) and PgUp (7); F9 calls the help
// hook; any other key leaves exitCode unchanged.
void MapExtendedKeyToExitCode(uint8_t& exitCode);

// One step of a form that waits for a key: with a key waiting, an extended
// key goes through MapExtendedKeyToExitCode, Enter sets enterCode and Esc 3
// (other keys change nothing); with none, waits for the next window message.
void ReadFormExitKey(uint8_t& exitCode, uint8_t enterCode);

// True when at least n hundredths of a second have passed since the
// hundredths value in stamp (counted modulo 100); then stores the current value.
bool CheckTimerElapsed(uint8_t& stamp, int n);
