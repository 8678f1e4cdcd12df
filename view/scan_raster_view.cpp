// The raster work file in the view.
#include "view/scan_raster_view.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "model/vector_records.h"
#include "platform/files.h"
#include "view/view_transform.h"

namespace {
constexpr const char* kScanRasterName = "Scan0.TMP";
}  // namespace

int32_t ScanRasterResolution = 0;

void LoadScanSettings() {
  uint8_t block8[31] = {};
  GetParamBlock(8, block8, sizeof block8);
  std::memcpy(&ScanRasterWidth, block8, 4);
  std::memcpy(&ScanRasterHeight, block8 + 4, 4);
  std::memcpy(&ScanRasterResolution, block8 + 8, 4);
}

float GetScanPixelSize() {
  if (ScanRasterResolution <= 0) return 0;
  return float(std::nearbyint(25.4 / ScanRasterResolution * 16384) / 16384);
}

bool HasScanRaster() {
  return GetFileByteSize(kScanRasterName) > 3 && ScanRasterWidth > 4 && ScanRasterHeight > 4;
}

void RasterExtentRecord(TExtentsPair& extent) {
  ResetPointExtents(extent);
  const double p = GetScanPixelSize();
  if (!HasScanRaster() || p <= 0) return;
  extent.minCorner = TPointRecord{kRecLinePoint, 0.0f, 0.0f};
  extent.maxCorner = TPointRecord{kRecLinePoint, float(ScanRasterWidth * p), float(ScanRasterHeight * p)};
}

void DrawScanRasterInView() {
  const double p = GetScanPixelSize();
  if (!HasScanRaster() || p <= 0 || ViewScaleX <= 0 || ViewScaleY <= 0) return;
  const int64_t rowBytes = (int64_t(ScanRasterWidth) + 7) / 8;
  if (rowBytes > (int64_t(1) << 20)) return;  // no sound raster is that wide
  const int64_t rowsPresent = std::min<int64_t>(ScanRasterHeight, GetFileByteSize(kScanRasterName) / rowBytes);
  if (rowsPresent <= 0) return;
  int32_t sx1, sy1, sx2, sy2;
  WorldToScreenLong(0, 0, sx1, sy1);
  WorldToScreenLong(float(ScanRasterWidth * p), float(ScanRasterHeight * p), sx2, sy2);
  const int left = DrawingArea.x1, bottom = DrawingArea.y2;
  const int x1 = std::max<int>(left, sx1), x2 = std::min<int>(DrawingArea.x2, sx2 - 1);
  const int y1 = std::max<int>(DrawingArea.y1, sy2 + 1), y2 = std::min<int>(bottom, sy1);
  if (x1 > x2 || y1 > y2) return;
  plat::TPasFile f;
  plat::Assign(f, kScanRasterName);
  const uint8_t mode = plat::gFileMode;
  plat::gFileMode = 0;
  plat::Reset(f, 1);
  plat::gFileMode = mode;
  if (plat::IoResult() != 0) return;
  std::vector<uint8_t> bits(size_t(rowBytes), 0);
  TDibBlock row;
  row.width = uint16_t(x2 - x1 + 1);
  row.height = 1;
  row.pixels.assign(row.width, 25);
  int64_t loaded = -1;
  for (int sy = y1; sy <= y2; ++sy) {
    // Row 0 is the top row of the picture: world y from (height - 1) x p to height x p.
    const double wy = WorldYMin + (bottom - sy + 0.5) / ViewScaleY;
    const double rowAt = ScanRasterHeight - 1 - std::floor(wy / p);
    if (!(rowAt >= 0 && rowAt < double(rowsPresent))) continue;
    const int64_t r = int64_t(rowAt);
    if (r != loaded) {
      uint32_t done = 0;
      plat::Seek(f, r * rowBytes);
      if (plat::IoResult() == 0) plat::BlockRead(f, bits.data(), uint32_t(rowBytes), &done);
      if (plat::IoResult() != 0 || done != uint32_t(rowBytes)) break;
      loaded = r;
    }
    for (int sx = x1; sx <= x2; ++sx) {
      const double wx = WorldXMin + (sx - left + 0.5) / ViewScaleX;
      const double cellAt = std::floor(wx / p);
      const int64_t c = cellAt >= 0 ? (cellAt < ScanRasterWidth ? int64_t(cellAt) : ScanRasterWidth - 1) : 0;
      const bool ink = (bits[size_t(c >> 3)] >> (7 - (c & 7))) & 1;
      row.pixels[size_t(sx - x1)] = ink ? 18 : 25;
    }
    DrawPaletteDibBlock(x1, sy, row);
  }
  plat::Close(f);
  plat::IoResult();
}
