// Cell fields: number fields on the line editor, the prompt-line values, the
// character and yes/no choice fields and the step sizes.
#include "ui/cell_fields.h"

#include <algorithm>
#include <cmath>

#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "ui/common_dialogs.h"
#include "ui/line_editor.h"
#include "ui/popup_list.h"
#include "ui/prompt_strip.h"
#include "view/character_cells.h"

namespace {

constexpr int kNumberMode = 2;           // line editor mode for numbers

double ClampTo(double v, double min, double max) {
  if (v > max) v = max;
  if (v < min) v = min;
  return v;
}

// What a number field needs besides its place: how its value is written and read.
struct TNumberCell {
  int column = 0, row = 0, width = 8;
  double min = 0, max = 0;
  int decimals = 0;       // real fields
  bool isReal = true;
  bool clampEntry = false;  // out-of-range entries clamped instead of asked again
  int16_t background = kFieldEditBackground;
  int16_t textColor = kFieldEditText;
};

std::string FormatCellValue(const TNumberCell& cell, double value) {
  if (cell.isReal) {
    std::string text = FormatRealText(8, cell.decimals, float(value));
    if (text.size() > 10) text.resize(10);
    return text;
  }
  std::string text = FormatLongText(int32_t(std::lround(value)), cell.width);
  if (text.size() > 10) text.resize(10);
  return text;
}

// True when the text is a number (a finite one for reals).
bool ReadCellValue(const TNumberCell& cell, const std::string& text, double& value) {
  int16_t code = 0;
  if (cell.isReal) {
    const float v = ParseNumberExpression(text, code);
    if (code != 0 || !std::isfinite(v)) return false;
    value = v;
    return true;
  }
  const int32_t n = ParseIntegerValue(text, code);
  if (code != 0) return false;
  value = n;
  return true;
}

// The edit loop every number field shares. value holds the field's value
// and receives the result (always within the limits).
void EditNumberCell(const TNumberCell& cell, double& value, uint8_t& exitCode) {
  const double entered = value;
  exitCode = 0;
  for (;;) {
    value = ClampTo(value, cell.min, cell.max);
    std::string text = FormatCellValue(cell, value);
    EditTextField(cell.column, cell.row, cell.width, kNumberMode, text, cell.background, cell.textColor, exitCode);
    double typed = 0;
    if (!ReadCellValue(cell, text, typed)) {
      // Esc (or a redraw request) always leaves, with the value the field had.
      if (exitCode == 3) {
        value = entered;
        break;
      }
      continue;
    }
    if (typed < cell.min || typed > cell.max) {
      value = typed;
      if (exitCode == 3) break;
      BeepSignal();
      if (cell.clampEntry) break;
      continue;
    }
    value = typed;
    break;
  }
  value = ClampTo(value, cell.min, cell.max);
  DrawPlainCellButton(cell.column, cell.row, FormatCellValue(cell, value), kFieldRestText, kFieldRestBox);
}

void EditRealCell(float& value, int column, int row, float max, float min, int decimals, bool clampEntry,
                  uint8_t& exitCode) {
  RoundToDecimals(min, decimals);
  RoundToDecimals(max, decimals);
  TNumberCell cell;
  cell.column = column;
  cell.row = row;
  cell.min = min;
  cell.max = max;
  cell.decimals = decimals;
  cell.clampEntry = clampEntry;
  double v = std::isfinite(value) ? value : 0.0;
  EditNumberCell(cell, v, exitCode);
  value = float(v);
}

// One step of the key loops of the choice fields. Returns a typed character
// (already upper-cased when upper is set), or 0 when there was none; a button,
// a redraw request and the keys with a fixed meaning set exitCode instead.
uint8_t PollChoiceKey(uint8_t& exitCode, bool upper) {
  PollMouseButtons();
  if (RedrawRequested() || CloseRequested) {
    exitCode = 3;
    return 0;
  }
  switch (GetMouseButtonState()) {
    case 0: break;
    case 2: exitCode = 2; return 0;
    case 1: exitCode = 9; return 0;
    default: exitCode = 3; return 0;
  }
  if (!PollKeyPressed()) {
    WaitForWindowMessage();
    return 0;
  }
  uint8_t key = ReadNextKey();
  switch (key) {
    case 0: MapExtendedKeyToExitCode(exitCode); return 0;
    case 9: exitCode = 5; return 0;
    case 13: exitCode = 2; return 0;
    case 27: exitCode = 3; return 0;
    default: break;
  }
  if (upper && key >= 'a' && key <= 'z') key = uint8_t(key - 'a' + 'A');
  return key;
}

void DrawChoiceText(int column, int row, const std::string& text, bool highlighted) {
  if (highlighted) {
    DrawCellButton(column, row, text, false, kFieldEditText, kFieldEditBackground);
    SetRopCopy();
  } else {
    DrawPlainCellButton(column, row, text, kFieldRestText, kFieldRestBox);
  }
}

}  // namespace

// --- number fields ----------------------------------------------------------------------------

void EditRealField(float& value, int column, int row, float max, float min, int decimals, uint8_t& exitCode) {
  EditRealCell(value, column, row, max, min, decimals, false, exitCode);
}

void EditRealFieldThreeDecimals(float& value, int column, int row, float max, float min, uint8_t& exitCode) {
  EditRealCell(value, column, row, max, min, 3, false, exitCode);
}

void EditRealFieldClamped(float& value, int column, int row, float max, float min, int decimals,
                          uint8_t& exitCode) {
  EditRealCell(value, column, row, max, min, decimals, true, exitCode);
}

void EditLongField(int32_t& value, int32_t max, int32_t min, int column, int row, uint8_t& exitCode) {
  TNumberCell cell;
  cell.column = column;
  cell.row = row;
  cell.min = min;
  cell.max = max;
  cell.isReal = false;
  double v = value;
  EditNumberCell(cell, v, exitCode);
  value = int32_t(std::lround(v));
}

void EditIntegerField(int16_t& value, int16_t max, int16_t min, int width, int column, int row,
                      uint8_t& exitCode) {
  TNumberCell cell;
  cell.column = column;
  cell.row = row;
  cell.width = width < 1 ? 1 : width;
  cell.min = min;
  cell.max = max;
  cell.isReal = false;
  double v = value;
  EditNumberCell(cell, v, exitCode);
  value = int16_t(std::lround(v));
}

// --- prompt line ---------------------------------------------------------------------------

bool PromptRealValue(const std::string& prompt, float& value, int decimals, float max, float min) {
  ShowInputPrompt(prompt);
  WaitForMouseRelease();
  ClearKeyBuffer();
  uint8_t exitCode = 0;
  EditRealField(value, PromptInputColumn, kPromptRow, max, min, decimals, exitCode);
  DrawPanelBackground();
  return exitCode != 3;
}

void PromptIntegerValue(const std::string& prompt, int16_t& value, int16_t max, int16_t min, uint8_t& exitCode) {
  ShowInputPrompt(prompt);
  WaitForMouseRelease();
  ClearKeyBuffer();
  const int16_t entered = value;
  TNumberCell cell;
  cell.column = PromptInputColumn;
  cell.row = kPromptRow;
  cell.isReal = false;
  exitCode = 0;
  for (;;) {
    std::string text = FormatIntegerText(value, 8);
    EditTextField(cell.column, cell.row, 8, kNumberMode, text, 261, 274, exitCode);
    if (exitCode == 3) {
      value = entered;
      break;
    }
    double typed = 0;
    if (!ReadCellValue(cell, text, typed)) continue;
    if (exitCode == 2 && (typed < min || typed > max)) {
      BeepSignal();
      continue;
    }
    value = int16_t(ClampTo(typed, min, max));
    break;
  }
  DrawPanelBackground();
}

// --- choice fields ----------------------------------------------------------------------------

void EditCharFromSetField(char& value, const std::string& allowed, int column, int row, uint8_t& exitCode) {
  exitCode = 0;
  DrawChoiceText(column, row, std::string(1, value), true);
  WaitForMouseRelease();
  while (exitCode == 0) {
    const uint8_t key = PollChoiceKey(exitCode, false);
    if (key == 0) continue;
    if (allowed.find(char(key)) != std::string::npos) {
      value = char(key);
      exitCode = 2;
    } else {
      uint8_t upper = key;
      if (upper >= 'a' && upper <= 'z') upper = uint8_t(upper - 'a' + 'A');
      if (allowed.find(char(upper)) != std::string::npos) {
        value = char(upper);
        exitCode = 2;
      }
    }
  }
  DrawChoiceText(column, row, std::string(1, value), false);
}

void EditYesNoField(char& value, const TChoicePair* pairs, int pairCount, int column, int row, uint8_t& exitCode) {
  if (pairCount > kChoicePairsMax) pairCount = kChoicePairsMax;
  if (pairCount < 0 || pairs == nullptr) pairCount = 0;
  size_t longest = 1;
  for (int i = 0; i < pairCount; ++i) longest = std::max(longest, pairs[i].text.size());
  // The text of the value, padded so that a shorter text covers a longer one.
  auto textOf = [&](char v, bool& found) {
    found = true;
    if (v == ' ') return std::string(longest, ' ');
    for (int i = 0; i < pairCount; ++i)
      if (pairs[i].key == v) return pairs[i].text + std::string(longest - pairs[i].text.size(), ' ');
    found = false;
    return std::string();
  };

  exitCode = 0;
  bool found = false;
  std::string shown = textOf(value, found);
  if (!found) value = '\0';
  DrawChoiceText(column, row, shown, true);
  WaitForMouseRelease();
  while (exitCode == 0) {
    uint8_t key = PollChoiceKey(exitCode, true);
    if (key == 0) continue;
    if (key == 'O') key = 'J';
    const std::string text = textOf(char(key), found);
    if (!found) continue;
    value = char(key);
    shown = text;
    DrawChoiceText(column, row, shown, true);
  }
  DrawChoiceText(column, row, shown, false);
}

void AskYesNoPopup(int x, int y, const std::string& title, char& answer) {
  TPopupList list;
  InitPopupList(list);
  list.x = int16_t(x);
  list.y = int16_t(y);
  list.title = title.substr(0, kPopupCaptionMax);
  list.captions[0] = GetMessageText(100, -5);
  list.names[0] = "OK";
  list.captions[1] = GetMessageText(101, -kMessageTextMax);
  list.names[1] = "Abbruch";
  ShowPopupMenu(list);
  if (list.result == 1) answer = 'J';
  else if (list.result == 2) answer = 'N';
}

void ResolveYesNoChoice(char& answer, uint8_t& exitCode, int x, int row) {
  switch (exitCode) {
    case 7: answer = 'J'; break;
    case 6: answer = 'N'; break;
    case 9:
      AskYesNoPopup(x, 16 * row + 18, "", answer);
      exitCode = 0;
      break;
    default: break;
  }
}

// --- steps ------------------------------------------------------------------------------------

float ChooseStepForValue(float x) {
  const float a = std::fabs(x);
  if (a <= 1) return 0.05f;
  if (a <= 10) return 0.1f;
  if (a <= 20) return 0.2f;
  if (a <= 50) return 0.5f;
  if (a <= 100) return 1.0f;
  if (a <= 200) return 2.0f;
  if (a <= 500) return 5.0f;
  return 10.0f;
}
