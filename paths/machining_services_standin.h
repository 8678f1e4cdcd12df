// TEMPORARY STAND-IN for the machining operations and tools services, to be
// replaced when that subsystem is built: the commands of the main
// dispatcher and the tool table files. Callers: app/dispatcher.cpp and
// paths/tool_table_editor.cpp.
#pragma once

// --- commands of the main dispatcher: until the machining subsystem is built
// each says it is not yet available and changes nothing.
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
