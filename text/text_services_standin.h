// TEMPORARY STAND-IN for the text, sign and plate services, to be replaced
// when that subsystem is built: the text job head, the text line count and
// the font file check.
#pragma once

#include <cstdint>
#include <string>

constexpr int kTextJobHeadSize = 379;
extern uint8_t TextJobHead[kTextJobHeadSize];  // head of "HS01.TMP"
extern int16_t TextLineCount;                  // text lines of the current job; 0 = no texts

// Shows message 289 when no "*.HZE" font file exists.
void CheckFontFilesPresent();
// Writes the font index "TORVHZE.PAR" (the font subsystem builds it).
void RebuildFontIndexFile(uint8_t flag);
// Reads the head of "HS01.TMP" (zeros when the file is shorter) and the line count.
void LoadTextJobHead();
void LoadCurrentTextLine(int16_t number);
void LogTextParameters();
void RepairTextParameters(int32_t& count);
void FreePlateAndSignBuffers();
// An empty text job: "HS01.TMP" emptied, no lines.
void ResetTextJobFile();
// Every text line dropped, the job head kept with a line count of 0.
void ResetTextLinesKeepHead();

// --- drawing files ------------------------------------------------------------------
constexpr int kTextLineSize = 219;       // parameters and placement of one line in "HS01.TMP"
constexpr int kTextPlacementSize = 59;
// Block 38 becomes the current text line parameters; invalid ones are reset.
void LoadTextLineDefaults();
// Clears the four note lines of the head (bytes 175..378) and writes the head back.
void ClearFileNote();
// Clamps the text length to 100; true when the text is not empty.
bool IsTextLineNonEmpty(uint8_t* textParams);
// True when the text is empty or the line fails the text line check.
bool IsTextLineEmptyOrInvalid(const uint8_t* textParams);
// The box of a text line's placement, corners bottom left, bottom right,
// top right, top left. No font metrics yet: the box starts at the line's
// position, is as high as the line and, for width kind 'V', as long as
// its characters at the height times the width factor (the other kinds:
// the stored text width), turned by the line's angle. False when the line
// has no text or no size.
bool ComputeTextLineBox(const uint8_t* textParams, double (&corners)[4][2]);
// The number field (bytes 93..96) becomes 1 when 0 or above 100000 in magnitude.
void ValidateTextNumberField(uint8_t* head);
void ClearTextPlacement(uint8_t* placement);
// The font chooser; no chooser yet: the name comes back empty (cancelled).
void ChooseFontFile(std::string& fontFileName, const std::string& sampleText);

// --- commands of the main dispatcher: until the text subsystem is built each
// returns at once and changes nothing.
void RunTextSignWindow();
void DispatchTextSignCommand();
void RunLayoutFunctionsWindow();
void RunNewSerialPlateCommand();
void RunNewSignCommand(int mode);
void MarkInCurrentLayer(int mode);
void RunLayerContourPass();
void RunGraphicTextCommand();
void RunInsertTextCommand();
// The text line at the cursor: no text lines can be edited yet, so nothing is picked.
void PickTextLineAtCursor(uint8_t layer);

// --- dialog services ----------------------------------------------------------------
struct TToolRecord;
// The layer list in its choosing mode; no list yet: false (cancelled), the
// layer unchanged.
bool ChooseLayerNumber(int16_t& layer);
// A tool as a profile sketch in a white framed box; no sketch yet: the box
// alone.
void DrawToolProfileBox(int x1, int y1, int x2, int y2, const TToolRecord& tool);

// --- text objects under whole-drawing transforms ---------------------------------------
struct TExtentsPair;
// True when the text job holds text lines.
bool AnyTextObjects();
// Whether the text objects take part in a whole-drawing transform; no
// question yet: they may (true).
bool AskIncludeTexts();
// The extent of the text objects of a layer (-1 all): the boxes of the
// valid lines (ComputeTextLineBox); the empty extent (100000 / -100000)
// without any. No glyph outlines yet: outlined lines count by their box too.
void GetTextObjectsExtent(int layer, TExtentsPair& extent);
// Kind 1 adds (vx, vy) to the text positions, kind 4 scales positions about
// (px, py) by (vx, vy) with the heights; no text placement yet: nothing moves.
void TransformTextObjects(int layer, double px, double py, double vx, double vy, int kind);

// --- text lines in the view ---------------------------------------------------------------
// Every valid text line of "HS01.TMP" whose layer is visible, in its layer's
// colour; the first invalid line ends the job there. No glyphs yet: each
// line shows as the outline of its box (ComputeTextLineBox).
void DrawTextLinesOfVisibleLayers();
