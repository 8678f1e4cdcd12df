// TEMPORARY STAND-IN: see cad_services_standin.h.
#include "cad/cad_services_standin.h"

void RunLayerFileEditCommand(const std::string&) {}
void RunCopyFromLayerCommand() {}
void RunContourMergeMenu() {}
void RunDimensionCommand(int) {}
void RunDimensionLineCommand() {}
void RunStartPointCommand() {}
void RunContourPickCommand() {}
void RunReplaceElementCommand(int) {}
void RunAlignPointCommand() {}
void RunDeletePointCommand(int) {}
void RunInsertPointCommand() {}
void RunMovePointCommand() {}
void RunDeleteVectorCommand() {}
void RunSplitVectorCommand() {}
void RunEditDrillHoleCommand() {}
void EditLineWidthSettings() {}
void RunLineWidthCommand() {}
void RunShortenLineCommand() {}
void RunContourPointCommand() {}
void RunLineTypeMenu() {}
void RunJoinPointsCommand() {}
void RunRoundCornersCommand() {}
void RunSplitContourCommand() {}
void RunReplaceByShapeCommand(int) {}
void RunJoinLinesCommand() {}
void RunAppendPointCommand() {}
void RunSplitAtPointCommand() {}
void RunCornerInFrameCommand() {}
void RunSmoothToCurvesCommand() {}
void RunIntersectionPointsCommand() {}
void RunVectorBoundaryMenu() {}
void RunPolylineMenu() {}
void RunDrillPatternMenu() {}
void ReverseMarkedContours() {}
