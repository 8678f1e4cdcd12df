// TEMPORARY STAND-IN for the text, sign and plate services, to be replaced
// when that subsystem is built: the commands of the text subsystem, the
// font chooser and the dialog services it lends. Each body does nothing, or
// the least its callers need.
// Callers: app/dispatcher, app/program_start and app/hook_setup (texts
// under whole-drawing transforms, the font chooser of the drawing loader).
#pragma once

#include <cstdint>
#include <string>

// Writes the font index "TORVHZE.PAR" (the font subsystem builds it).
void RebuildFontIndexFile(uint8_t flag);
void LoadCurrentTextLine(int16_t number);
void LogTextParameters();
void RepairTextParameters(int32_t& count);
void FreePlateAndSignBuffers();

// --- fonts --------------------------------------------------------------------------
// The font chooser; no chooser yet: the name comes back empty (cancelled).
void ChooseFontFile(std::string& fontFileName, const std::string& sampleText);

// --- commands of the main dispatcher: until the text subsystem is built each
// says it is not yet available and changes nothing.
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

// --- text objects under whole-drawing transforms (the hooks of
// cad/drawing_transforms.h) ---------------------------------------------------------
// Whether the text objects take part in a whole-drawing transform; no
// question yet: they may (true).
bool AskIncludeTexts();
// Kind 1 adds (vx, vy) to the text positions, kind 4 scales positions about
// (px, py) by (vx, vy) with the heights; no text placement yet: nothing moves.
void TransformTextObjects(int layer, double px, double py, double vx, double vy, int kind);
