// TEMPORARY STAND-IN: see start_dialogs_standin.h.
#include "ui/start_dialogs_standin.h"

#include "frame/program_start.h"

#include "frame/codepage.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "platform/system.h"

void EditTextFileIfExists(const std::string&) {}



void PlacePopupByPosition(int code, int width, int height, int& top, int& left) {
  int16_t centreX = 0, centreY = 0;
  GetWindowCentreCell(centreX, centreY);
  if (code < 1 || code > 9) code = 5;
  const int rowOf = (code - 1) / 3, columnOf = (code - 1) % 3;
  top = rowOf == 0 ? DrawingArea.y1 : rowOf == 1 ? centreY - height / 2 : DrawingArea.y2 - height;
  left = columnOf == 0 ? DrawingArea.x1 : columnOf == 1 ? centreX - width / 2 : DrawingArea.x2 - width;
  left = left / 8 * 8;
  top = top / 16 * 16;
}

void OpenWorkTextFile(int) {}
void OpenHelpTopic(int) {}
void OpenModeHelpPage() {}
