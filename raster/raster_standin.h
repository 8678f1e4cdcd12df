// TEMPORARY STAND-IN for raster images and photo milling, to be replaced when
// that subsystem is built.
#pragma once

// Loads or removes the background picture; not yet available.
void RunBackgroundPictureCommand();
// The raster and scanner commands of menu 17; not yet available.
void DispatchRasterCommand(int menu);
// The photo milling window; left at once with its leave code 9998 in the
// command word.
void RunPhotoMillingLoop(int mode);
