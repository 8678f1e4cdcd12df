// TEMPORARY STAND-IN for the machining operations and tools services, to be
// replaced when that subsystem is built: the property exchange of the
// drawing files and the tool record upgrade. Callers: app/dispatcher.cpp,
// model/drawing_file.cpp, model/drawing_load.cpp and
// paths/tool_table_editor.cpp.
#pragma once

#include <cstdint>
#include <string>

#include "frame/defaults.h"
#include "platform/files.h"

// The object-number list: a count, up to 5000 object numbers and as many
// replacement numbers. One list at a time.
constexpr int32_t kObjectNumberListMax = 5000;
struct TObjectNumberList {
  int32_t count = 0;
  int32_t numbers[kObjectNumberListMax] = {};
  int32_t replacements[kObjectNumberListMax] = {};
};
extern TObjectNumberList* ObjectNumberList;
void AllocObjectNumberList();
void FreeObjectNumberList();
// Adds the object number of a contour-start z (skipped: none, listed, list full).
void AddObjectNumberToList(float z);
// The bytes start..end of the open drawing become the store (append false)
// or are merged into it object by object with new numbers where taken.
void CopyDrawingProperties(plat::TPasFile& file, int32_t start, int32_t end, bool append);
// Brings a tool record of format 52 or older to the current format.
void UpgradeToolRecord(TToolRecord& tool);

// --- commands of the main dispatcher: until the machining subsystem is built
// each returns at once and changes nothing.
void DispatchMilling2DCommand();
void RunCuttingDepthsCommand(int mode);
void RunLeadMovesCommand();
void RunHoldingTabsCommand(int mode);
void RunPocketStrategyMenu();
void RunMillingPropertyDialog();
void RunPathListEditor();
void SaveToolTableFile();
void LoadToolTableFile();
void RunDirectMilling(int mode);
void RunPathExport();
void RunMultipleExport();
void ShowToolPathPreview(int menu, int mode);
