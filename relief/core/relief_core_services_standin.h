// TEMPORARY STAND-IN for the relief core services the program frame calls,
// to be replaced when the relief core is built: the screen palette, the
// colour bar of the start screen and the relief save at exit.
#pragma once

#include <cstdint>

#include "platform/files.h"

// The 16 standard colours in entries 0-15, 16 further base colours, then a
// grey ramp up to the palette size; realised on the window.
void InitScreenPalette();
void ApplyReliefPalette(int16_t code);
// A vertical colour gradient of horizontal lines in the rectangle.
void DrawColourGradientBar(int x1, int y1, int x2, int y2);
// The relief cannot be saved before the relief core exists: false (not saved).
bool SaveReliefWithFileDialog();

// World-coordinate line drawing of the geometry file operations (no view
// transform yet: these draw nothing) and the Esc poll of long work.
void SetLinePenMode(int mode, int16_t colour);
void MovePenToWorldPoint(float x, float y);
void DrawLineToWorldPoint(float x, float y);
void DrawWorldPointBox(int halfSize, float x, float y);
// True when the next waiting key is Esc (taken from the buffer); no
// confirmation question yet.
bool PollEscapeAbort();
// Repairs a 128-byte 16-bit relief header in place: non-finite origins become
// 0, zero or non-finite steps and Z unit 1; a highest cell below the lowest
// gives the range -32767..32767 and kind 255 with messages 697 and 58.
void CheckReliefHeaderAndWarn(uint8_t* header);

// --- quiet file wrappers: one file operation without any message or journal
// line; on failure ErrorCode (1001 open, 1008 create, 1004 close, 1011 block
// move) and QuietIoError take the I/O result.


// The error word of the quiet layer (0 = no error).
extern uint16_t QuietIoError;

void ResetFileQuiet(plat::TPasFile& f, uint32_t recSize, uint8_t fileMode);
void RewriteFileQuiet(plat::TPasFile& f, uint32_t recSize);
void CloseFileQuiet(plat::TPasFile& f);
// Moves n records; count is 0 after an error. A short transfer is no error.
void BlockReadQuiet(plat::TPasFile& f, void* buffer, uint32_t n, uint32_t& count);
void BlockWriteQuiet(plat::TPasFile& f, const void* buffer, uint32_t n, uint32_t& count);

// The relief volume views of the dispatcher and the relief work guide with
// its own command loop; without a relief core each returns at once.
void ShowReliefVolumeView();
void ShowReliefVolumeViewWithPalette();
void RunReliefGuideLoop();
