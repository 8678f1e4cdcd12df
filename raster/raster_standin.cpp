// TEMPORARY STAND-IN: see raster_standin.h.
#include "raster/raster_standin.h"

#include "frame/program_state.h"

void RunBackgroundPictureCommand() {}
void DispatchRasterCommand(int) {}
void RunPhotoMillingLoop(int) { CommandWord = 9998; }
