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

// --- what the last load did ------------------------------------------------------------
// A refused file changed nothing; a damaged one is loaded as far as its
// records are whole; a full disk stops the load where the work files ended.
// Records counted are the file's text lines and vector (or point) records.
enum class TLoadOutcome : uint8_t { kWhole, kRefused, kDamaged, kDiskFull, kCancelled };

struct TDrawingLoadReport {
  TLoadOutcome outcome = TLoadOutcome::kWhole;
  int32_t recordsLoaded = 0;  // records of the file that reached the work files
  int32_t recordsInFile = 0;  // records the file says it holds
};

extern TDrawingLoadReport LastDrawingLoad;  // set by every load below

// Loads a plain vector (".LG1", ".TMP") or point file (".H2R", ".PLI"). A
// missing file or one of another kind is refused before anything changes.
void LoadVectorDrawing(const std::string& name, int mode);
// Loads a ".SLD": mode 0 replaces the drawing, 1 appends. True only when the
// whole drawing was loaded; a refused file (missing, too short, unknown
// version) changes nothing. Refusals, damage and a full disk are reported
// with the file's name.
bool LoadSldDrawing(const std::string& name, int mode);
// By extension: ".SLD" through LoadSldDrawing, others as plain files. Only
// a whole load (mode 0) makes the name the current drawing name and counts
// as saved; a partial one leaves the drawing unnamed, a refused one leaves
// everything as it was. True when the file was loaded whole.
bool LoadDrawingByExtension(const std::string& name, int mode);
// Raises the highest layer to n - 1, creating the empty layer files between.
void RaiseHighestLayer(int32_t n);
// The four note lines of the text job head from the DOS to the Windows code page.
void ConvertOldDrawingNote();
// Font file names of the font index (at most 2000, as far as the file holds).
int LoadFontIndexNames(std::string* names, int maxNames);
// Brings a tool record of format 52 or older to the current format.
void UpgradeToolRecord(TToolRecord& tool);
