// Drawing loading: plain vector and point files routed into the layer
// files by their layer records, and ".SLD" drawings (format in drawing_file.h).
#pragma once

#include <cstdint>
#include <string>

struct TToolRecord;

// Mode bits of LoadVectorDrawing.
constexpr int kLoadReplace = 1;      // empty the work files, start in layer 0
constexpr int kLoadDraw = 4;         // draw the stored records
constexpr int kLoadQuiet = 16;       // no closing tool-path notice

constexpr const char* kFontIndexName = "TORVHZE.PAR";
constexpr int kFontIndexMaxNames = 2000;
constexpr int kFontNameSize = 13;

// Loads a plain vector (".LG1", ".TMP") or point file (".H2R", ".PLI").
void LoadVectorDrawing(const std::string& name, int mode);
// Loads a ".SLD": mode 0 replaces the drawing, 1 appends. False when the
// file cannot be read as a drawing (missing, too short, unknown version).
bool LoadSldDrawing(const std::string& name, int mode);
// By extension: ".SLD" through LoadSldDrawing, others as plain files; the
// name becomes the current drawing name. A drawing opened whole (mode 0)
// counts as saved until it changes.
void LoadDrawingByExtension(const std::string& name, int mode);
// Raises the highest layer to n - 1, creating the empty layer files between.
void RaiseHighestLayer(int32_t n);
// The four note lines of the text job head from the DOS to the Windows code page.
void ConvertOldDrawingNote();
// Font file names of the font index (at most 2000, as far as the file holds).
int LoadFontIndexNames(std::string* names, int maxNames);
// Brings a tool record of format 52 or older to the current format.
void UpgradeToolRecord(TToolRecord& tool);
