// TEMPORARY STAND-IN for the geometry and construction services, to be
// replaced when that subsystem is built. Callers: app/dispatcher.cpp,
// app/program_start.cpp and cad/marking_commands.cpp.
#pragma once

#include <cstdint>
#include <string>

// The scaling, guide-line and editing commands of the main
// dispatcher. Until they are built each says it is not yet available and
// changes nothing.
void RunLayerFileEditCommand(const std::string& layerFile);
void RunCopyFromLayerCommand();
void RunContourMergeMenu();
void RunDimensionCommand(int kind);
void RunDimensionLineCommand();
void RunStartPointCommand();
void RunContourPickCommand();
void RunReplaceElementCommand(int kind);
void RunAlignPointCommand();
void RunDeletePointCommand(int flag);
void RunInsertPointCommand();
void RunMovePointCommand();
void RunDeleteVectorCommand();
void RunSplitVectorCommand();
void RunEditDrillHoleCommand();
void EditLineWidthSettings();
void RunLineWidthCommand();
void RunShortenLineCommand();
void RunContourPointCommand();
void RunLineTypeMenu();
void RunJoinPointsCommand();
void RunRoundCornersCommand();
void RunSplitContourCommand();
void RunReplaceByShapeCommand(int kind);
void RunJoinLinesCommand();
void RunAppendPointCommand();
void RunSplitAtPointCommand();
void RunCornerInFrameCommand();
void RunSmoothToCurvesCommand();
void RunIntersectionPointsCommand();
void RunVectorBoundaryMenu();
void RunPolylineMenu();
void RunDrillPatternMenu();
void ReverseMarkedContours();
