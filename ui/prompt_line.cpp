#include "ui/prompt_line.h"

#include <cstdlib>

#include "frame/main_window.h"
#include "frame/window_draw.h"
#include "ui/prompt_strip.h"
#include "view/character_cells.h"

uint8_t PromptFlags = 0;

namespace {
constexpr int16_t kWhite = 261;
}  // namespace

void ShowPromptLine(int16_t line, const std::string& text, int16_t background, int16_t textColor) {
  const int windowWidth = MaxX + 1;
  const int maxChars = windowWidth / 8 - 1;
  const std::string shown = maxChars <= 0 ? std::string() : text.substr(0, static_cast<size_t>(maxChars));
  if (PromptFlags == 0) {
    DrawPanelBackground();
    PromptFlags |= 1;
  }
  int n = line;
  if (n <= 0) {
    DrawPanelBackground();
    PromptFlags |= 1;
    n = std::abs(n);
  }
  if (n == 1 && background != kWhite) {
    DrawCellButton(1, 2, shown, false, textColor, background);
  } else {
    SetDrawColorAndMode(kCopyMode, textColor);
    DrawTextInSetFont(8, 16 * n + 21, shown);
  }
  PromptFlags |= 2;
}
