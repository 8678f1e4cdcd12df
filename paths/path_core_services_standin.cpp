// TEMPORARY STAND-IN: see path_core_services_standin.h.
#include "paths/path_core_services_standin.h"

void RunPathSortMenu() {}
void RunPathCheckMenu() {}
void RunPathUtilityCommand() {}
void RunJoinPathsCommand() {}
