// TEMPORARY STAND-IN for the relief core services the program frame calls,
// to be replaced when the relief core is built: the screen palette, the
// colour bar of the start screen and the relief save at exit.
#pragma once

#include <cstdint>
#include <string>

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

// --- the relief in the view: the least the redraw needs until the relief
// core's own display exists. A relief file here is a 128-byte header (rows
// at 2, cells per row at 4, lowest and highest cell at 6 and 8, cell format
// at 1 with 10 = float cells whose lowest and highest heights are the floats
// at 34 and 38; X and Y step at 10 and 14, X and Y origin at 22 and 26),
// then the rows of cells from the origin upwards. Cell (row r, column c)
// covers x from origin + c * step to origin + (c + 1) * step, likewise y.
// A missing, short or damaged file shows nothing and has no box.
struct TExtentsPair;
constexpr const char* kCurrentReliefName = "RELAR0.TMR";
constexpr const char* kBackgroundPictureName = "Hintergr.TMH";
// The box of the current relief from its header; the empty extent (100000,
// -100000) without a sound relief. The corners carry no z here, so withZ
// changes nothing yet.
void GetCurrentReliefBox(TExtentsPair& extent, bool withZ);
// The current relief as a picture in the view: heights on the relief ramp of
// the palette (entries 32 and above). No display modes and no overlay
// vectors yet.
void DrawCurrentRelief();
// A relief-format file (the current relief or "Hintergr.TMH") as a
// background picture in the view, drawn like DrawCurrentRelief.
void DrawReliefBackground(const std::string& fileName);
// The current relief shaded by its slope (light from the lower left).
void DrawReliefShaded();
// Two small rectangles on the lower left and upper right corners of the
// current relief's box.
void DrawReliefBoxMarks();
// The relief ramp in palette entries 32 and above (the grey ramp until
// relief colour settings exist); nothing with fewer than 32 entries.
void SetReliefPalette();
void SetReliefPaletteVariant(uint8_t flag);
// The paper colour from bits 0-2 of byte 52 of parameter block 3 (1 and 2:
// 261, 3: 511, 4: black paper 274); other values leave it unchanged.
void ApplyColourScheme();
