// The preset tool grid and the tool usage pictures.
#include "ui/tool_presets.h"

#include <algorithm>
#include <cstring>

#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/window_draw.h"
#include "ui/common_dialogs.h"
#include "ui/panels.h"
#include "ui/ui_hooks.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"

namespace {

constexpr int kBoxWidth = 88;
constexpr int kBoxHeight = 96;

struct TPresetRow {
  int16_t nameMessage;
  float plungeDepth;
  float tipRadius[kPresetColumns];
  float angle[kPresetColumns];
  float ballRadius[kPresetColumns];
  float shankRadius[kPresetColumns];
};

// Row 1 holds two kinds: columns 1-3 flat cutters, columns 4-5 engraving
// cutters with their own name and plunge depth (patched below).
constexpr TPresetRow kPresetRowTable[kPresetRows] = {
    {2890, 2, {1, 1.5f, 2, 0.05f, 0.05f}, {0, 0, 0, 59, 59}, {0, 0, 0, 0, 0}, {3, 3, 3, 1.5f, 2}},
    {2892, 0.2f, {0.1f, 0.15f, 0.2f, 0.1f, 0.15f}, {20, 20, 20, 25, 25}, {0, 0, 0, 0, 0}, {2, 2, 2, 2, 2}},
    {2893, 1, {0.05f, 0.1f, 0.2f, 0.4f, 0.8f}, {30, 30, 30, 30, 30}, {0, 0, 0, 0, 0}, {2, 2, 2, 2, 2}},
    {2894, 0, {0, 0, 0, 0, 0}, {25, 20, 10, 0, 0}, {0.2f, 0.5f, 1, 2, 3}, {2, 2, 2, 2, 3}},
};

void SetToolName(TToolRecord& tool, const std::string& name) {
  const size_t n = std::min(name.size(), size_t(kToolNameMax));
  tool.name[0] = uint8_t(n);
  std::memcpy(tool.name + 1, name.data(), n);
}

// Top-left corner of preset box (row i, column j), both 1-based.
void PresetBoxCorner(const TPopupFrame& frame, int i, int j, int& x1, int& y1) {
  x1 = frame.left + 92 * j - 84;
  y1 = frame.top + 104 * i - 72;
}

}  // namespace

void FillToolPresets(TToolRecord (&presets)[kPresetCount]) {
  for (int i = 0; i < kPresetRows; ++i) {
    const TPresetRow& row = kPresetRowTable[i];
    for (int j = 0; j < kPresetColumns; ++j) {
      TToolRecord& tool = presets[i * kPresetColumns + j];
      std::memset(&tool, 0, sizeof tool);
      SetToolRecordDefaults(tool, 0);
      tool.feedXY = 1.0f;
      tool.feedZ = 0.8f;
      tool.spindleSpeed = 40000.0f;
      tool.changeStation = 1;
      int16_t message = row.nameMessage;
      tool.plungeDepth = row.plungeDepth;
      if (i == 0) {
        tool.plungeDepth = j < 3 ? float(j + 2) : 3.0f;
        if (j >= 3) message = 2891;
        tool.extra[1] = j < 3 ? row.tipRadius[j] : 3.0f;  // byte 112
        tool.extra[2] = 1.0f;                             // byte 116
        tool.extra[3] = 10.0f;                            // byte 120
      }
      SetToolName(tool, GetMessageText(message, -40));
      tool.tipRadius = row.tipRadius[j];
      tool.angle = row.angle[j];
      tool.ballRadius = row.ballRadius[j];
      tool.shankRadius = row.shankRadius[j];
    }
  }
}

void ShowToolPresetGrid(int x, int y, TToolRecord& tool) {
  if (CursorShown) EraseMouseCursor();
  TPopupFrame frame{};
  frame.left = int16_t(x + 1);
  frame.top = int16_t(y + 1);
  frame.right = int16_t(x + 477);
  frame.bottom = int16_t(y + 449);
  frame.lines = 29;
  OpenPopupFrame(frame);
  DrawGreyDialogPanel(frame.left, frame.top, frame.right, GetMessageText(2889, 39), frame.bottom);
  TBox cancelBox{};
  PlaceCancelButton(frame.right - 26, frame.top + 4, cancelBox);

  TToolRecord presets[kPresetCount];
  FillToolPresets(presets);
  for (int i = 1; i <= kPresetRows; ++i)
    for (int j = 1; j <= kPresetColumns; ++j) {
      int x1 = 0, y1 = 0;
      PresetBoxCorner(frame, i, j, x1, y1);
      FillColorRect(x1, y1, x1 + kBoxWidth, y1 + kBoxHeight, plat::Rgb(192, 192, 192));
      DrawBevelFrame(x1, y1, x1 + kBoxWidth, y1 + kBoxHeight);
      DrawToolProfileHook(x1, y1, x1 + kBoxWidth, y1 + kBoxHeight, presets[(i - 1) * kPresetColumns + (j - 1)]);
    }

  WaitForMouseRelease();
  ShowArrowCursor();
  const TErrorCode errorBefore = ErrorCode;  // Esc in the cursor poll counts as an abort
  for (;;) {
    ButtonResult = 0;
    PollGraphicCursor();
    if (CloseRequested || ButtonResult == 4 || MouseButtonState == 4) break;
    if (MouseButtonState != 2) {
      WaitForWindowMessage();
      continue;
    }
    if (IsMouseInBox(cancelBox)) break;
    int picked = -1;
    for (int i = 1; i <= kPresetRows && picked < 0; ++i)
      for (int j = 1; j <= kPresetColumns; ++j) {
        int x1 = 0, y1 = 0;
        PresetBoxCorner(frame, i, j, x1, y1);
        if (MouseX >= x1 && MouseX <= x1 + kBoxWidth && MouseY >= y1 && MouseY <= y1 + kBoxHeight) {
          picked = (i - 1) * kPresetColumns + (j - 1);
          break;
        }
      }
    if (picked >= 0) {
      tool = presets[picked];
      break;
    }
  }
  ErrorCode = errorBefore;
  ClosePopupFrame(frame);
  WaitForMouseRelease();
}

void GetToolTypePicture(uint8_t code, std::string& key) {
  switch (code) {
    case 10: key = "Stempel"; break;
    case 15: key = "SpiegelFl"; break;
    case 20: case 23: key = "Projektionen"; break;
    case 21: case 22: key = "PSchraege"; break;
    case 24: key = "PPolyRad"; break;
    case 25: key = "PSattel"; break;
    case 26: key = "PEllipse"; break;
    case 28: key = "PLiegKegel"; break;
    case 29: case 30: key = "PPolylinie"; break;
    case 31: case 33: key = "PStuetzpkt"; break;
    case 32: key = "PPolyring"; break;
    case 40: key = "Relief"; break;
    case 50: key = "FrKorr2D"; break;
    case 60: key = "SCHRAUSS"; break;
    case 70: key = "Bohrung"; break;
    case 80: key = "IMPORT"; break;
    default: key = "leer"; break;
  }
}
