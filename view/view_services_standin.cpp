// TEMPORARY STAND-IN: see view_services_standin.h.
#include "view/view_services_standin.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "frame/checked_files.h"
#include "frame/main_window.h"
#include "frame/window_draw.h"
#include "platform/files.h"
#include "view/view_transform.h"
#include "frame/file_helpers.h"
#include "frame/param_file.h"
#include "frame/system_services.h"
#include "model/layer_files.h"

namespace {
constexpr const char* kScanRasterName = "Scan0.TMP";

void EmptyLayerFiles(std::string (*nameOf)(int32_t), int last) {
  for (int n = 0; n <= last; ++n) {
    std::string name = nameOf(n);
    if (TestPlainFileExists(name)) CreateEmptyFile(name);
  }
}
}  // namespace

void CreateMissingLayerFiles() {
  for (int n = 0; n <= HighestLayer; ++n) {
    std::string name = BuildLayerFileName(n);
    if (!TestPlainFileExists(name)) CreateEmptyFile(name);
  }
}

int32_t RepairLayerFiles() { return 0; }

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

void FreePointMarkerTable() {}

void ClearWorkFiles(uint16_t flags) {
  if (flags & kClearDrawing) {
    EmptyLayerFiles(BuildLayerFileName, HighestLayer);
    CreateEmptyFile("VekAR1.TMP");
    CreateEmptyFile("VekAR2.TMP");
  }
  if (flags & kClearTexts) CreateEmptyFile("HS01.TMP");
  if (flags & kClearFrame) CreateEmptyFile("RAHMEN.TMP");
  if (flags & kClearToolLayers) EmptyLayerFiles(BuildWLayerFileName, 15);
  if (flags & kClearPathLayers) EmptyLayerFiles(BuildPLayerFileName, 15);
  if ((flags & kClearLaserProject) && TestPlainFileExists("LG_LDP.TMP")) CreateEmptyFile("LG_LDP.TMP");
  if (flags & kClearRelief) CreateEmptyFile("RELAR0.TMR");
  if ((flags & kClearRaster) && TestPlainFileExists("Scan0.TMP")) CreateEmptyFile("Scan0.TMP");
}

bool OpenLayerPanel(int, uint8_t*) { return false; }
void RunJobOverview() {}
void PanViewByDragging(int) {}
void SelectCurrentLayer(int) {}
void PickCurrentLayerAtCursor() {}
void FillCurrentLayerContours() {}
void ClearChosenLayers() {}
void ShowContourArea() {}
void RunMillingTraceMenu(const std::string&) {}

#include "model/undo.h"
#include "model/vector_store.h"

void DeleteSelection() {
  TakeUndoSnapshot(kUndoCurrentLayer | kUndoStore);
  ClearVectorStore();
}

int16_t BandColor = 12;
uint8_t CurvePointCount = 40;

#include "frame/messages.h"

namespace {

struct TDuplicateEntry {
  int64_t first = 0, last = 0;  // record indices, both included
  float minX = 0, minY = 0, maxX = 0, maxY = 0;
};

float RoundedToHundredths(float v) { return static_cast<float>(std::nearbyint(static_cast<double>(v) * 100.0) / 100.0); }

}  // namespace

int32_t RemoveDuplicateContours(const std::string& fileName) {
  constexpr size_t kMaxContours = 65536;
  constexpr const char* kBackup = "VekAR1.BAK";
  std::vector<TVectorRecord> records;
  if (!ReadVectorRecords(fileName, -1, records) || records.empty()) return 0;
  // Listing: a contour runs from a start to the record before the next
  // start; a start directly after a start replaces it.
  std::vector<TDuplicateEntry> contours;
  bool pointSinceStart = false;
  for (size_t i = 0; i < records.size(); ++i) {
    const TVectorRecord r = records[i];
    if (r.type == 11) {
      if (!contours.empty() && !pointSinceStart && contours.back().last + 1 == static_cast<int64_t>(i)) {
        contours.back().first = static_cast<int64_t>(i);  // the earlier start belongs to nothing
      } else {
        if (contours.size() >= kMaxContours) return 0;  // overflow: the file stays as it is
        contours.push_back(TDuplicateEntry{});
      }
      TDuplicateEntry& c = contours.back();
      c.first = c.last = static_cast<int64_t>(i);
      c.minX = c.maxX = r.x;
      c.minY = c.maxY = r.y;
      pointSinceStart = false;
      continue;
    }
    if (contours.empty()) continue;
    TDuplicateEntry& c = contours.back();
    c.last = static_cast<int64_t>(i);
    if (r.type == 10 || r.type == 12) {
      pointSinceStart = true;
      const float x = r.x, y = r.y;
      c.minX = std::min(c.minX, x);
      c.maxX = std::max(c.maxX, x);
      c.minY = std::min(c.minY, y);
      c.maxY = std::max(c.maxY, y);
    }
  }
  if (contours.size() < 2) return 0;
  for (TDuplicateEntry& c : contours) {
    c.minX = RoundedToHundredths(c.minX);
    c.minY = RoundedToHundredths(c.minY);
    c.maxX = RoundedToHundredths(c.maxX);
    c.maxY = RoundedToHundredths(c.maxY);
  }
  std::vector<uint8_t> duplicate(contours.size(), 0);
  int32_t removed = 0;
  for (size_t i = 0; i < contours.size(); ++i) {
    if (duplicate[i]) continue;
    const TDuplicateEntry& a = contours[i];
    for (size_t j = i + 1; j < contours.size(); ++j) {
      if (duplicate[j]) continue;
      const TDuplicateEntry& b = contours[j];
      if (a.minX != b.minX || a.minY != b.minY || a.maxX != b.maxX || a.maxY != b.maxY) continue;
      if (a.last - a.first != b.last - b.first) continue;
      bool same = true;
      for (int64_t k = 0; same && k <= a.last - a.first; ++k) {
        const TVectorRecord ra = records[static_cast<size_t>(a.first + k)];
        const TVectorRecord rb = records[static_cast<size_t>(b.first + k)];
        same = ra.x == rb.x && ra.y == rb.y;
      }
      if (same) {
        duplicate[j] = 2;
        ++removed;
      }
    }
  }
  if (removed == 0) return 0;
  // The only copy of the drawing is never lost: the backup is written
  // first, and a failed rewrite puts the file back from it.
  if (!WriteVectorRecords(kBackup, records.data(), records.size(), false)) return 0;
  std::vector<TVectorRecord> kept;
  kept.reserve(records.size());
  // Records before the first start (an extents head, a path block's tool
  // header) belong to no contour and stay in front.
  size_t lead = 0;
  while (lead < records.size() && records[lead].type != 11) ++lead;
  kept.insert(kept.end(), records.begin(), records.begin() + static_cast<std::ptrdiff_t>(lead));
  for (size_t i = 0; i < contours.size(); ++i)
    if (!duplicate[i])
      kept.insert(kept.end(), records.begin() + contours[i].first, records.begin() + contours[i].last + 1);
  if (!WriteVectorRecords(fileName, kept.data(), kept.size(), false)) {
    if (WriteVectorRecords(fileName, records.data(), records.size(), false)) DeleteFileIfExists(kBackup);
    return 0;
  }
  DeleteFileIfExists(kBackup);
  std::string count = std::to_string(removed);
  if (count.size() < 8) count.insert(0, 8 - count.size(), ' ');
  ShowErrorText(count + GetMessageText(278, 29));
  return removed;
}

void PreviewToolWidth(const std::string& file, uint8_t, int colour) {
  DrawVectorFile(file, plat::kRopCopy, colour, 0);
}
