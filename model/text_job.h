// The text job of the drawing: "HS01.TMP", a 379-byte head (the drawing
// head, see drawing_file.h) followed by the text lines, each 219 bytes: the
// line's parameters (TTextParams, 160 bytes) and its placement (59 bytes).
#pragma once

#include <cstdint>
#include <functional>

constexpr int kTextJobHeadSize = 379;
extern uint8_t TextJobHead[kTextJobHeadSize];  // head of "HS01.TMP"
extern int16_t TextLineCount;                  // text lines of the current job; 0 = no texts

constexpr int kTextLineSize = 219;       // parameters and placement of one line in "HS01.TMP"
constexpr int kTextPlacementSize = 59;

// Reads the head of "HS01.TMP" (zeros when the file is shorter) and the line count.
void LoadTextJobHead();
// An empty text job: "HS01.TMP" emptied, no lines.
void ResetTextJobFile();
// Every text line dropped, the job head kept with a line count of 0.
void ResetTextLinesKeepHead();
// Block 38 becomes the current text line parameters; invalid ones are reset.
void LoadTextLineDefaults();
// Clears the four note lines of the head (bytes 175..378) and writes the head back.
void ClearFileNote();

// --- text lines ---------------------------------------------------------------------
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
// The layer of a text line (bytes 158..159 of its parameters).
uint16_t TextLineLayer(const uint8_t* line);
// Hands each whole line of the text job to the visitor until it returns
// false; a job file whose head is cut off holds no lines.
void VisitTextLines(const std::function<bool(uint8_t* line)>& visit);

// --- text objects of the drawing ------------------------------------------------------
struct TExtentsPair;
// True when the text job holds text lines.
bool AnyTextObjects();
// The extent of the text objects of a layer (-1 all): the boxes of the
// valid lines (ComputeTextLineBox); the empty extent (100000 / -100000)
// without any. No glyph outlines yet: outlined lines count by their box too.
void GetTextObjectsExtent(int layer, TExtentsPair& extent);
