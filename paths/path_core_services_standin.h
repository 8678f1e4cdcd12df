// TEMPORARY STAND-IN for the path commands of the contour offset and path
// core, to be replaced when they are built: each says it is not yet
// available and changes nothing. Caller: app/dispatcher.cpp.
#pragma once

void RunPathSortMenu();
void RunPathCheckMenu();
void RunPathUtilityCommand();
void RunJoinPathsCommand();
