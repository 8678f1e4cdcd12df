// TEMPORARY STAND-IN: see machining_services_standin.h.
#include "paths/machining_services_standin.h"

#include "cad/align_to_contour.h"
#include "cad/contour_split.h"
#include "frame/program_state.h"

// Of the 2D milling commands only the split at crossings and the alignment
// to a contour exist yet.
void DispatchMilling2DCommand() {
  if (CommandWord == 59) RunSplitAtCrossingsCommand();
  if (CommandWord == kAlignSelectionCommand) AlignSelectionToContour();
}
void RunCuttingDepthsCommand(int) {}
void RunLeadMovesCommand() {}
void RunHoldingTabsCommand(int) {}
void RunPocketStrategyMenu() {}
void RunMillingPropertyDialog() {}
void RunPathListEditor() {}
void SaveToolTableFile() {}
void LoadToolTableFile() {}
void RunDirectMilling(int) {}
void RunPathExport() {}
void RunMultipleExport() {}
void ShowToolPathPreview(int, int) {}
