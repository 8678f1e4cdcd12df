// TEMPORARY STAND-IN: see relief_core_services_standin.h.
#include "relief/core/relief_core_services_standin.h"

#include "frame/defaults.h"

#include "frame/main_window.h"
#include "frame/window_draw.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "frame/messages.h"

namespace {
// The standard colours 0-15 (black, blue, green, cyan, red, magenta, brown,
// light grey, dark grey, light blue ... white).
const uint8_t kStandardColours[16][3] = {
    {0, 0, 0},       {0, 0, 170},    {0, 170, 0},    {0, 170, 170},   {170, 0, 0},     {170, 0, 170},
    {170, 85, 0},    {170, 170, 170}, {85, 85, 85},  {85, 85, 255},   {85, 255, 85},   {85, 255, 255},
    {255, 85, 85},   {255, 85, 255}, {255, 255, 85}, {255, 255, 255}};
}  // namespace

void InitScreenPalette() {
  uint8_t rgb[256 * 3] = {};
  for (int i = 0; i < 16; ++i)
    for (int c = 0; c < 3; ++c) rgb[i * 3 + c] = kStandardColours[i][c];
  // 16-31: the standard colours at half intensity.
  for (int i = 16; i < 32; ++i)
    for (int c = 0; c < 3; ++c) rgb[i * 3 + c] = uint8_t(kStandardColours[i - 16][c] / 2);
  int size = PaletteSize > 0 && PaletteSize <= 256 ? PaletteSize : 245;
  for (int i = 32; i < size; ++i) {
    uint8_t g = uint8_t((i - 32) * 255 / std::max(1, size - 33));
    rgb[i * 3] = rgb[i * 3 + 1] = rgb[i * 3 + 2] = g;
  }
  LoadPaletteEntries(rgb, 0, size);
}

void ApplyReliefPalette(int16_t) {}

void DrawColourGradientBar(int x1, int y1, int x2, int y2) {
  if (y2 <= y1) return;
  for (int y = y1; y <= y2; ++y) {
    int t = (y - y1) * 255 / (y2 - y1);
    SetPenRgb(plat::Rgb(t, 64 + t / 2, 255 - t));
    DrawScreenLine(x1, y, x2 + 1, y);
  }
}

bool SaveReliefWithFileDialog() { return false; }

void SetLinePenMode(int mode, int16_t colour) {}
void MovePenToWorldPoint(float x, float y) {}
void DrawLineToWorldPoint(float x, float y) {}
void DrawWorldPointBox(int halfSize, float x, float y) {}

bool PollEscapeAbort() {
  if (!PollKeyPressed() || KeyBuffer[0] != 27) return false;
  ReadNextKey();
  return true;
}

void CheckReliefHeaderAndWarn(uint8_t* header) {
  for (int offset = 10; offset <= 30; offset += 4) {
    float v;
    memcpy(&v, header + offset, 4);
    const bool step = offset <= 18;
    if (!std::isfinite(v) || (step && v == 0.0f)) {
      v = step ? 1.0f : 0.0f;
      memcpy(header + offset, &v, 4);
    }
  }
  int16_t lowest, highest;
  memcpy(&lowest, header + 6, 2);
  memcpy(&highest, header + 8, 2);
  if (highest < lowest) {
    lowest = -32767;
    highest = 32767;
    memcpy(header + 6, &lowest, 2);
    memcpy(header + 8, &highest, 2);
    header[0] = 255;
    ShowTitledMessage(GetMessageText(697, -39) + " - " + GetMessageText(58, -39));
  }
}

// --- quiet file wrappers ---


uint16_t QuietIoError = 0;

// Fetches the pending result; on failure records it and sets the code.
static bool QuietFailed(TErrorCode code) {
  const int result = plat::IoResult();
  if (result == 0) return false;
  QuietIoError = static_cast<uint16_t>(result);
  ErrorCode = code;
  return true;
}

void ResetFileQuiet(plat::TPasFile& f, uint32_t recSize, uint8_t fileMode) {
  plat::IoResult();
  plat::gFileMode = fileMode;
  plat::Reset(f, recSize);
  plat::gFileMode = 2;
  QuietFailed(1001);
}

void RewriteFileQuiet(plat::TPasFile& f, uint32_t recSize) {
  plat::IoResult();
  plat::Rewrite(f, recSize);
  QuietFailed(1008);
}

void CloseFileQuiet(plat::TPasFile& f) {
  plat::IoResult();
  plat::Close(f);
  QuietFailed(1004);
}

void BlockReadQuiet(plat::TPasFile& f, void* buffer, uint32_t n, uint32_t& count) {
  plat::IoResult();
  count = 0;
  uint32_t done = 0;
  plat::BlockRead(f, buffer, n, &done);
  count = QuietFailed(1011) ? 0 : done;
}

void BlockWriteQuiet(plat::TPasFile& f, const void* buffer, uint32_t n, uint32_t& count) {
  plat::IoResult();
  count = 0;
  uint32_t done = 0;
  plat::BlockWrite(f, buffer, n, &done);
  count = QuietFailed(1011) ? 0 : done;
}

void ShowReliefVolumeView() {}
void ShowReliefVolumeViewWithPalette() {}
void RunReliefGuideLoop() {}
