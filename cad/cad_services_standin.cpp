// TEMPORARY STAND-IN: see cad_services_standin.h.
#include "cad/cad_services_standin.h"

#include "frame/not_yet_available.h"

void RunLayerFileEditCommand(const std::string&) { ShowNotYetAvailable(); }
void RunCopyFromLayerCommand() { ShowNotYetAvailable(); }
void RunContourMergeMenu() { ShowNotYetAvailable(); }
void RunDimensionCommand(int) { ShowNotYetAvailable(); }
void RunDimensionLineCommand() { ShowNotYetAvailable(); }
void RunStartPointCommand() { ShowNotYetAvailable(); }
void RunContourPickCommand() { ShowNotYetAvailable(); }
void RunReplaceElementCommand(int) { ShowNotYetAvailable(); }
void RunAlignPointCommand() { ShowNotYetAvailable(); }
void RunDeletePointCommand(int) { ShowNotYetAvailable(); }
void RunInsertPointCommand() { ShowNotYetAvailable(); }
void RunMovePointCommand() { ShowNotYetAvailable(); }
void RunDeleteVectorCommand() { ShowNotYetAvailable(); }
void RunSplitVectorCommand() { ShowNotYetAvailable(); }
void RunEditDrillHoleCommand() { ShowNotYetAvailable(); }
void EditLineWidthSettings() { ShowNotYetAvailable(); }
void RunLineWidthCommand() { ShowNotYetAvailable(); }
void RunShortenLineCommand() { ShowNotYetAvailable(); }
void RunContourPointCommand() { ShowNotYetAvailable(); }
void RunLineTypeMenu() { ShowNotYetAvailable(); }
void RunJoinPointsCommand() { ShowNotYetAvailable(); }
void RunRoundCornersCommand() { ShowNotYetAvailable(); }
void RunSplitContourCommand() { ShowNotYetAvailable(); }
void RunReplaceByShapeCommand(int) { ShowNotYetAvailable(); }
void RunJoinLinesCommand() { ShowNotYetAvailable(); }
void RunAppendPointCommand() { ShowNotYetAvailable(); }
void RunSplitAtPointCommand() { ShowNotYetAvailable(); }
void RunCornerInFrameCommand() { ShowNotYetAvailable(); }
void RunSmoothToCurvesCommand() { ShowNotYetAvailable(); }
void RunIntersectionPointsCommand() { ShowNotYetAvailable(); }
void RunVectorBoundaryMenu() { ShowNotYetAvailable(); }
void RunPolylineMenu() { ShowNotYetAvailable(); }
void RunDrillPatternMenu() { ShowNotYetAvailable(); }
void ReverseMarkedContours() { ShowNotYetAvailable(); }
