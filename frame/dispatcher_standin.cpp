// TEMPORARY STAND-IN: see dispatcher_standin.h.
#include "frame/dispatcher_standin.h"

#include "frame/main_window.h"
#include "frame/program_start.h"
#include "ui/info_window.h"
#include "view/redraw.h"

void DispatchMainCommand(int32_t) {
  switch (CommandWord) {
    case 1: RebuildScreen(); break;
    case kQuitCommand: AskQuitProgram(); break;
    case 1091:  // the info window
      ShowInfoWindow();
      if (RedrawState > 0) RedrawCurrentView(2);
      break;
    default: break;
  }
}
