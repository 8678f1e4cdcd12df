// TEMPORARY STAND-IN for the text, sign and plate services, to be replaced
// when that subsystem is built: the text job head, the text line count and
// the font file check.
#pragma once

#include <cstdint>

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
