// Layer files.
//
// The drawing is kept in numbered layers, one vector file per layer in the
// data folder (the program folder, which is the current folder). Tool paths
// and relief milling paths have their own per-layer files, reliefs may be
// kept per layer:
//   "Layer"  + n + ".TMP"   drawing layer, n = 0 .. highest layer
//   "WLayer" + n + ".TMP"   tool paths of layer n, n = 0 .. 15
//   "PLayer" + n + ".TMP"   relief milling paths by Z layers, n = 0 .. 15
//   "RelLay" + n + ".TMR"   relief of layer n, n = 0 .. highest layer
// n is written in decimal without leading zeros. Missing files count as
// empty everywhere here.
#pragma once

#include <cstdint>
#include <string>

#include "frame/layer_colours.h"

constexpr int kToolLayerCount = 16;    // tool and path layer files 0 .. 15
constexpr int kLastPathLayerKept = 11; // path layer files are deleted up to 11

// --- layer state -------------------------------------------------------------------
// HighestLayer and CurrentLayer are in frame/layer_colours.h, beside the
// layers' colours: the parameter file sets them at start.

// Records (13 bytes) of each drawing layer file as last counted.
extern int32_t LayerRecordCounts[kMaxLayerNumber + 1];
// Non-zero: the layer is shown and searchable. Every layer is shown after
// the start and after the drawing is emptied (new or opened drawing); only
// the layer panel switches layers off.
extern uint8_t LayerVisible[kMaxLayerNumber + 1];

// Any number as an existing layer: negative gives 0, others are taken
// modulo the layer count (HighestLayer + 1).
int32_t WrapLayerNumber(int32_t n);
// Every layer shown and searchable.
void ShowAllLayers();

// --- names -------------------------------------------------------------------------
std::string BuildLayerFileName(int32_t n);     // n wrapped by WrapLayerNumber
std::string BuildWLayerFileName(int32_t n);    // number text cut to 4 characters
std::string BuildPLayerFileName(int32_t n);
std::string BuildRelLayFileName(int32_t n);    // n clamped to 0 .. highest layer
std::string BuildLayerBareName(int32_t n);     // without folder; n clamped to 0 .. highest layer
std::string BuildWLayerBareName(int32_t n);    // without folder; number text cut to 2 characters
std::string BuildPLayerBareName(int32_t n);    // without folder
std::string GetCurrentLayerFileName();
int16_t GetCurrentLayerColour();

// --- counts ------------------------------------------------------------------------
// Every drawing layer's count from its byte size.
void RecountAllLayerRecords();
// The current layer's count from its file; returns it.
int32_t RecountCurrentLayerRecords();
// Sum of the counts of layers 0 .. highest layer as last counted.
int64_t SumLayerRecordCounts();

// --- tests and clean-up --------------------------------------------------------------
// Kind 0 drawing layers, 1 tool layers, 2 path layers: true when any of the
// files exists and holds at least one record.
bool CheckAnyLayerFileFilled(int kind);
// Deletes the path layer files n .. 11 without messages.
void DeletePLayerFilesFrom(int32_t n);
// Deletes the per-object relief copies ("RO" + 6 digits + ".TMR" and
// "ROSICH.TMR") of the current folder.
void DeleteObjectReliefCopies();
// Deletes every file of the folder (not its subfolders). An empty folder
// name is refused.
void DeleteAllFilesInFolder(const std::string& folder);

// --- work files ------------------------------------------------------------------------
// Work files cleared by ClearWorkFiles, by flag.
enum TWorkFileFlag : uint16_t {
  kClearPathList = 0x01, kClearDrawing = 0x2E, kClearTexts = 0x10, kClearGuideLines = 0x40,
  kClearFrame = 0x80, kClearToolLayers = 0x100, kClearPathLayers = 0x200, kClearLaserProject = 0x400,
  kClearRelief = 0x800, kClearRaster = 0x1000, kClearTools = 0x2000,
};
// Empties the work files chosen by the flags; emptying the drawing shows
// every layer again.
void ClearWorkFiles(uint16_t flags);
// Creates the layer files "Layer" + n + ".TMP" for n = 0 to the highest layer that are missing.
void CreateMissingLayerFiles();

// --- repair at start ----------------------------------------------------------------------
// A write cut short (a full disk) can leave a partial record at the end of a
// 13-byte record file. The repair cuts the drawing layer files 0 .. highest
// layer and the store work files ("VekAR1.TMP", "VekAR2.TMP", "VekArZw.TMP")
// back to whole records, with one journal line per file naming the bytes cut.
// A file that cannot be cut (read-only) keeps its bytes and gets a journal
// line with the I/O result; it is never deleted.
// Messages of the repair: the title, and the counts of files cut and not cut.
constexpr int16_t kMsgPartialRecordsCut = 4160;
constexpr int16_t kMsgFilesCut = 4161;
constexpr int16_t kMsgFilesNotCut = 4162;
struct TLayerRepair {
  int32_t filesCut;     // files cut back to whole records
  int32_t filesLocked;  // files with a partial record that could not be cut
};
TLayerRepair RepairLayerFiles();
