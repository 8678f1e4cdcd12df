// TEMPORARY STAND-IN: see path_core_services_standin.h.
#include "paths/path_core_services_standin.h"

#include "frame/not_yet_available.h"

void RunPathSortMenu() { ShowNotYetAvailable(); }
void RunPathCheckMenu() { ShowNotYetAvailable(); }
void RunPathUtilityCommand() { ShowNotYetAvailable(); }
void RunJoinPathsCommand() { ShowNotYetAvailable(); }
