// TEMPORARY STAND-IN: see raster_standin.h.
#include "raster/raster_standin.h"

#include "frame/not_yet_available.h"
#include "frame/program_state.h"

void RunBackgroundPictureCommand() { ShowNotYetAvailable(); }
void DispatchRasterCommand(int) { ShowNotYetAvailable(); }
void RunPhotoMillingLoop(int) {
  ShowNotYetAvailable();
  CommandWord = 9998;
}
