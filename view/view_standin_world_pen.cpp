// TEMPORARY STAND-IN, to be replaced by the view transform module.
#include "view/view_standin_world_pen.h"

uint8_t PenPendingMove = 1;
