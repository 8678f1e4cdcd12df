// TEMPORARY STAND-IN for the path commands of the contour offset and path
// core, to be replaced when they are built: each returns at once and
// changes nothing. Caller: app/dispatcher.cpp.
#pragma once

void RunPathSortMenu();
void RunPathCheckMenu();
void RunPathUtilityCommand();
void RunJoinPathsCommand();
