// TEMPORARY STAND-IN: see cad_services_standin.h.
#include "cad/cad_services_standin.h"

#include "frame/main_window.h"
#include "frame/window_draw.h"

#include <algorithm>

void ShowPromptLine(int16_t line, const std::string& text, int16_t background, int16_t textColor) {
  if (line < 0) {
    FillColorRect(DrawingArea.x1, 17, MaxX - 169, 49, GetColorRef(background));
    line = int16_t(-line);
  }
  size_t maxChars = size_t(std::max(0, (MaxX + 1) / 8 - 1));
  std::string shown = text.substr(0, std::min(text.size(), maxChars));
  int y = 16 * line + 21;
  FillColorRect(8, y - 3, 8 + 8 * int(shown.size()), y + 12, GetColorRef(background));
  SetPenColor(textColor);
  SetTextAlignment(0, 2);  // left, top
  DrawScreenText(8, y, shown);
  SetTextAlignment(1, 0);  // back to the layout's centre-bottom
}

void ShowLayoutLimitsDialog() {}
void RedrawSelectionHandles() {}
