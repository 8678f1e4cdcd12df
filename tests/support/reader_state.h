// Puts back what a test that prepared the headless window and the settings
// for the readers changed: the settings image, the window and its device,
// the command and close flags, the error code and the layer numbers.
#pragma once

#include "frame/defaults.h"
#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "platform/window.h"

namespace torvtest {

inline void ResetReaderState() {
  OpenParamImage(0);
  CommandRunning = false;
  CloseRequested = false;
  ReleaseWindowDc();
  plat::CloseWindow();
  ErrorCode = 0;
  HighestLayer = 0;
  CurrentLayer = 0;
}

}  // namespace torvtest
