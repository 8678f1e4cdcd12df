// The relief in the view: reading a relief file and painting it.
#include "view/relief_view.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "frame/main_window.h"
#include "frame/window_draw.h"
#include "model/vector_records.h"
#include "platform/files.h"
#include "view/view_transform.h"

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
