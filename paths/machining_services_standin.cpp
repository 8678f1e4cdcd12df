// TEMPORARY STAND-IN: see machining_services_standin.h.
#include "paths/machining_services_standin.h"

#include "cad/align_to_contour.h"
#include "cad/contour_split.h"
#include "frame/not_yet_available.h"
#include "frame/program_state.h"

// Of the 2D milling commands only the split at crossings and the alignment
// to a contour exist yet.
void DispatchMilling2DCommand() {
  if (CommandWord == 59) {
    RunSplitAtCrossingsCommand();
  } else if (CommandWord == kAlignSelectionCommand) {
    AlignSelectionToContour();
  } else {
    ShowNotYetAvailable();
  }
}
void RunCuttingDepthsCommand(int) { ShowNotYetAvailable(); }
void RunLeadMovesCommand() { ShowNotYetAvailable(); }
void RunHoldingTabsCommand(int) { ShowNotYetAvailable(); }
void RunPocketStrategyMenu() { ShowNotYetAvailable(); }
void RunMillingPropertyDialog() { ShowNotYetAvailable(); }
void RunPathListEditor() { ShowNotYetAvailable(); }
void SaveToolTableFile() { ShowNotYetAvailable(); }
void LoadToolTableFile() { ShowNotYetAvailable(); }
void RunDirectMilling(int) { ShowNotYetAvailable(); }
void RunPathExport() { ShowNotYetAvailable(); }
void RunMultipleExport() { ShowNotYetAvailable(); }
void ShowToolPathPreview(int, int) { ShowNotYetAvailable(); }
