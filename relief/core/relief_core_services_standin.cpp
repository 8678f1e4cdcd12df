// TEMPORARY STAND-IN: see relief_core_services_standin.h.
#include "relief/core/relief_core_services_standin.h"

#include "frame/defaults.h"

#include "frame/main_window.h"
#include "frame/window_draw.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "frame/messages.h"
#include "frame/param_file.h"
#include "model/vector_records.h"
#include "view/view_transform.h"

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

// --- the relief in the view ---

namespace {
constexpr int kReliefHeadBytes = 128;
constexpr int64_t kReliefViewLimit = int64_t(256) << 20;  // larger reliefs are not shown

struct TViewRelief {
  int32_t rows = 0, cells = 0;
  bool floatCells = false;
  double low = 0, high = 0;
  double xStep = 1, yStep = 1, xOrigin = 0, yOrigin = 0;
  std::vector<uint8_t> data;  // the cells, rows * cells * cell size bytes
  double Cell(int32_t r, int32_t c) const {
    const size_t i = size_t(r) * size_t(cells) + size_t(c);
    if (floatCells) {
      float v;
      memcpy(&v, data.data() + i * 4, 4);
      return std::isfinite(v) ? v : low;
    }
    int16_t v;
    memcpy(&v, data.data() + i * 2, 2);
    return v;
  }
};

float HeaderFloat(const uint8_t* h, int offset) {
  float v;
  memcpy(&v, h + offset, 4);
  return v;
}

// Reads the header and all cells; false for a missing, short or damaged file.
bool LoadViewRelief(const std::string& name, bool withCells, TViewRelief& relief) {
  if (name.empty() || !plat::FileExists(name)) return false;
  plat::TPasFile f;
  plat::Assign(f, name);
  const uint8_t mode = plat::gFileMode;
  plat::gFileMode = 0;
  plat::Reset(f, 1);
  plat::gFileMode = mode;
  if (plat::IoResult() != 0) return false;
  const int64_t size = plat::FileSize(f);
  uint8_t h[kReliefHeadBytes];
  uint32_t done = 0;
  bool ok = size >= kReliefHeadBytes;
  if (ok) plat::BlockRead(f, h, kReliefHeadBytes, &done);
  ok = ok && plat::IoResult() == 0 && done == kReliefHeadBytes;
  if (ok) {
    int16_t rows, cells, lowest, highest;
    memcpy(&rows, h + 2, 2);
    memcpy(&cells, h + 4, 2);
    memcpy(&lowest, h + 6, 2);
    memcpy(&highest, h + 8, 2);
    relief.rows = rows;
    relief.cells = cells;
    relief.floatCells = h[1] == 10;
    relief.low = relief.floatCells ? HeaderFloat(h, 34) : lowest;
    relief.high = relief.floatCells ? HeaderFloat(h, 38) : highest;
    relief.xStep = HeaderFloat(h, 10);
    relief.yStep = HeaderFloat(h, 14);
    relief.xOrigin = HeaderFloat(h, 22);
    relief.yOrigin = HeaderFloat(h, 26);
    const int64_t cellBytes = int64_t(rows) * cells * (relief.floatCells ? 4 : 2);
    ok = rows > 0 && cells > 0 && relief.xStep > 0 && relief.yStep > 0 && std::isfinite(relief.xStep) &&
         std::isfinite(relief.yStep) && std::isfinite(relief.xOrigin) && std::isfinite(relief.yOrigin) &&
         std::isfinite(relief.low) && std::isfinite(relief.high) && cellBytes <= kReliefViewLimit &&
         size >= kReliefHeadBytes + cellBytes;
    if (ok && withCells) {
      relief.data.assign(size_t(cellBytes), 0);
      int64_t at = 0;
      while (ok && at < cellBytes) {
        const uint32_t chunk = uint32_t(std::min<int64_t>(cellBytes - at, 1 << 20));
        plat::BlockRead(f, relief.data.data() + at, chunk, &done);
        ok = plat::IoResult() == 0 && done == chunk;
        at += chunk;
      }
    }
  }
  plat::Close(f);
  plat::IoResult();
  return ok;
}

// One palette index per screen pixel for the part of the relief inside the
// graphic window; shaded: by the slope towards the lower left cell.
void PaintViewRelief(const TViewRelief& relief, bool shaded) {
  if (ViewScaleX <= 0 || ViewScaleY <= 0) return;
  const int levels = std::max(1, std::min<int>(PaletteSize, 256) - 32);
  const double range = relief.high > relief.low ? relief.high - relief.low : 1;
  const int left = DrawingArea.x1, right = DrawingArea.x2, top = DrawingArea.y1, bottom = DrawingArea.y2;
  int32_t sx1, sy1, sx2, sy2;
  WorldToScreenLong(float(relief.xOrigin), float(relief.yOrigin), sx1, sy1);
  WorldToScreenLong(float(relief.xOrigin + relief.cells * relief.xStep),
                    float(relief.yOrigin + relief.rows * relief.yStep), sx2, sy2);
  const int x1 = std::max<int>(left, sx1), x2 = std::min<int>(right, sx2 - 1);
  const int y1 = std::max<int>(top, sy2 + 1), y2 = std::min<int>(bottom, sy1);
  if (x1 > x2 || y1 > y2) return;
  TDibBlock row;
  row.width = uint16_t(x2 - x1 + 1);
  row.height = 1;
  row.pixels.assign(row.width, 0);
  for (int sy = y1; sy <= y2; ++sy) {
    const double wy = WorldYMin + (bottom - sy + 0.5) / ViewScaleY;
    const double rowAt = std::floor((wy - relief.yOrigin) / relief.yStep);
    if (!(rowAt >= 0 && rowAt < relief.rows)) continue;
    const int32_t r = int32_t(rowAt);
    for (int sx = x1; sx <= x2; ++sx) {
      const double wx = WorldXMin + (sx - left + 0.5) / ViewScaleX;
      const double cellAt = std::floor((wx - relief.xOrigin) / relief.xStep);
      const int32_t c = cellAt >= 0 ? (cellAt < relief.cells ? int32_t(cellAt) : relief.cells - 1) : 0;
      const double v = relief.Cell(r, c);
      double t;
      if (shaded) {
        const double slope = v - relief.Cell(std::max(r - 1, 0), std::max(c - 1, 0));
        t = 0.5 + slope * 8 / range;
      } else {
        t = (v - relief.low) / range;
      }
      t = std::clamp(t, 0.0, 1.0);
      row.pixels[size_t(sx - x1)] = uint8_t(32 + std::lround(t * (levels - 1)));
    }
    DrawPaletteDibBlock(x1, sy, row);
  }
}
}  // namespace

void GetCurrentReliefBox(TExtentsPair& extent, bool) {
  extent.minCorner = TPointRecord{kRecMinCorner, 100000.0f, 100000.0f};
  extent.maxCorner = TPointRecord{kRecMaxCorner, -100000.0f, -100000.0f};
  TViewRelief relief;
  if (!LoadViewRelief(kCurrentReliefName, false, relief)) return;
  extent.minCorner.x = float(relief.xOrigin);
  extent.minCorner.y = float(relief.yOrigin);
  extent.maxCorner.x = float(relief.xOrigin + relief.cells * relief.xStep);
  extent.maxCorner.y = float(relief.yOrigin + relief.rows * relief.yStep);
}

void DrawReliefBackground(const std::string& fileName) {
  TViewRelief relief;
  if (LoadViewRelief(fileName, true, relief)) PaintViewRelief(relief, false);
}

void DrawCurrentRelief() { DrawReliefBackground(kCurrentReliefName); }

void DrawReliefShaded() {
  TViewRelief relief;
  if (LoadViewRelief(kCurrentReliefName, true, relief)) PaintViewRelief(relief, true);
}

void DrawReliefBoxMarks() {
  TExtentsPair box;
  GetCurrentReliefBox(box, false);
  if (!(box.maxCorner.x > box.minCorner.x)) return;
  SetDrawColorAndMode(plat::kRopCopy, 12);
  int32_t x, y;
  WorldToScreenLong(box.minCorner.x, box.minCorner.y, x, y);
  DrawFrameRect(x - 3, y - 3, x + 3, y + 3);
  WorldToScreenLong(box.maxCorner.x, box.maxCorner.y, x, y);
  DrawFrameRect(x - 3, y - 3, x + 3, y + 3);
}

void SetReliefPalette() {
  if (PaletteSize >= 32) InitScreenPalette();
}

void SetReliefPaletteVariant(uint8_t) { SetReliefPalette(); }

void ApplyColourScheme() {
  uint8_t block3[121] = {};
  GetParamBlock(3, block3, sizeof block3);
  switch (block3[52] & 7) {
    case 1: case 2: PaperColor = 261; break;
    case 3: PaperColor = 511; break;
    case 4: PaperColor = 274; break;
    default: break;
  }
}
