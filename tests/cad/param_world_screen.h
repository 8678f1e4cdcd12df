// The screen of the guide-line and handle tests: the data file slots ready,
// the parameter file loaded, world (0, 0) at the lower left of the graphic
// area at 2 pixels per mm and no grid snap. At the end the slots are closed,
// the parameter image goes and the guide-line snap is off.
#pragma once

#include "cad/snapping.h"
#include "frame/data_slots.h"
#include "frame/param_file.h"
#include "ui/ui_screen.h"
#include "view/cursor_tracking.h"
#include "view/view_transform.h"

namespace cadtest {

class TParamWorldScreen : public uitest::TScreen {
 public:
  TParamWorldScreen() {
    InitDataFileSlots();
    LoadParamFile();
    uitest::UseTwoPixelWorldView();
    GridSnapOn = 0;
    SnapRadius = 0;
  }
  ~TParamWorldScreen() {
    CloseOpenDataFileSlots();
    OpenParamImage(0);
    GuideSnapOn = 0;
  }
};

}  // namespace cadtest
