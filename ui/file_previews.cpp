// File previews.
//
// Sections: reading helpers; size label and shared pieces; vector and point
// files; drawings; reliefs; projects; PCX and pictures; stream painters;
// thumbnail forms.
#include "ui/file_previews.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "cad/prompt_line.h"
#include "frame/data_slots.h"
#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "model/drawing_file.h"
#include "model/vector_records.h"
#include "platform/files.h"
#include "ui/common_dialogs.h"
#include "ui/packed_relief_decoder.h"
#include "ui/pictures.h"
#include "view/view_transform.h"

namespace {

// --- reading helpers ---------------------------------------------------------------------

// A file read by byte positions without messages: previews report nothing.
class TPreviewFile {
 public:
  explicit TPreviewFile(const std::string& name) {
    if (name.empty() || !plat::FileExists(name)) return;
    plat::Assign(file_, name);
    const uint8_t mode = plat::gFileMode;
    plat::gFileMode = 0;
    plat::Reset(file_, 1);
    plat::gFileMode = mode;
    if (plat::IoResult() != 0) return;
    open_ = true;
    size_ = plat::FileSize(file_);
    plat::IoResult();
  }
  ~TPreviewFile() {
    if (open_) plat::Close(file_);
    plat::IoResult();
  }
  TPreviewFile(const TPreviewFile&) = delete;
  TPreviewFile& operator=(const TPreviewFile&) = delete;

  bool Open() const { return open_; }
  int64_t Size() const { return size_; }
  // Bytes read at the position (0 outside the file).
  int64_t ReadAt(int64_t position, void* buffer, int64_t count) {
    if (!open_ || position < 0 || count <= 0 || position >= size_) return 0;
    count = std::min(count, size_ - position);
    plat::Seek(file_, position);
    uint32_t done = 0;
    plat::BlockRead(file_, buffer, static_cast<uint32_t>(count), &done);
    plat::IoResult();
    return done;
  }

 private:
  plat::TPasFile file_;
  bool open_ = false;
  int64_t size_ = 0;
};

int16_t I16(const uint8_t* p) {
  int16_t v;
  memcpy(&v, p, 2);
  return v;
}
uint16_t U16(const uint8_t* p) {
  uint16_t v;
  memcpy(&v, p, 2);
  return v;
}
int32_t I32(const uint8_t* p) {
  int32_t v;
  memcpy(&v, p, 4);
  return v;
}
float F32(const uint8_t* p) {
  float v;
  memcpy(&v, p, 4);
  return v;
}

int ClampScreen(double v) { return static_cast<int>(std::clamp(std::nearbyint(v), -32000.0, 32000.0)); }

uint32_t GreyPixel(int grey) {
  const uint32_t g = static_cast<uint32_t>(std::clamp(grey, 0, 255));
  return g | (g << 8) | (g << 16);
}

uint32_t PixelOfColor(int colorNumber) {
  const plat::TColorRef c = GetColorRef(colorNumber);
  return uint32_t(plat::BlueOf(c)) | (uint32_t(plat::GreenOf(c)) << 8) | (uint32_t(plat::RedOf(c)) << 16);
}

int BoxWidth(const TBox& box) { return box.x2 - box.x1; }
int BoxHeight(const TBox& box) { return box.y2 - box.y1; }

std::string UpperExtensionOf(const std::string& name) {
  std::string ext;
  GetFileNamePart(name, 'E', ext);
  UpperCaseString(ext);
  return ext;
}

// The size label right-aligned 2 pixels from the box's right edge at y = 1.
void DrawSizeLabel(int width, float w, float h) {
  const std::string text = FormatSizeLabel(w, h);
  SetPenColor(13);
  DrawScreenText(width - 2 - 8 * static_cast<int>(text.size()), 1 + 3, text);
}

// The dotted world axes of a fit: x = 0 and y = 0 where they fall in the box.
void DrawPreviewAxes(int width, int height, double originX, double originY) {
  SetPenColor(14);
  SetPenStyle(4, 0x3333, 1);
  if (originX >= 0 && originX <= width) DrawScreenLine(ClampScreen(originX), 0, ClampScreen(originX), height);
  if (originY >= 0 && originY <= height) DrawScreenLine(0, ClampScreen(originY), width, ClampScreen(originY));
  SetPenStyle(0, 0xFFFF, 1);
}

void FillBackground(int width, int height, int background) {
  if (background == -1) {
    DrawLightBlueGradient(0, 0, width, height);
  } else {
    FillColorRect(0, 0, width, height, GetColorRef(background));
  }
}

// Draws vector records with a fit: screen = (x - x0) f + ox, H - ((y - y0) f + oy).
struct TVectorFit {
  double x0 = 0, y0 = 0, factor = 1, offsetX = 0, offsetY = 0;
  int height = 0;
  int ScreenX(double x) const { return ClampScreen((x - x0) * factor + offsetX); }
  int ScreenY(double y) const { return height - ClampScreen((y - y0) * factor + offsetY); }
};

void DrawVectorRecords(const TVectorFit& fit, const uint8_t* bytes, int32_t count, uint32_t recordSize,
                       bool pointFile) {
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* p = bytes + size_t(i) * recordSize;
    const uint8_t type = p[0];
    const float x = F32(p + 1), y = F32(p + 5);
    if (!std::isfinite(x) || !std::isfinite(y)) continue;
    const float z = pointFile ? 0.0f : F32(p + 9);
    bool draw = false, move = false;
    if (pointFile) {
      draw = type == 10 || type == 12 || type == 18;
      move = type == 11;
    } else if (type == 10 || type == 12 || type == 14 || type == 18) {
      const double rz = std::isfinite(z) ? std::nearbyint(z) : 0.0;
      if (rz == -10000.0 || rz == -10001.0) move = true; else draw = true;
    } else {
      move = type == 11;
    }
    if (draw) LineToScreenPoint(fit.ScreenX(x), fit.ScreenY(y));
    if (move) MoveToScreenPoint(fit.ScreenX(x), fit.ScreenY(y));
  }
}

// --- the relief rows -------------------------------------------------------------------------

// The source column of each screen column: round(column / factor), at most the last.
std::vector<int32_t> SourceColumns(int drawn, double factor, int32_t cells) {
  std::vector<int32_t> table(size_t(std::max(drawn, 0)));
  for (int i = 0; i < drawn; ++i) {
    const double s = std::nearbyint(i / factor);
    table[size_t(i)] = static_cast<int32_t>(std::min<double>(s, cells - 1));
  }
  return table;
}

struct TReliefHead {
  int32_t rows = 0, cells = 0;
  int32_t lowest = 0, highest = 0;
  float lowHeight = 0, highHeight = 0;
};

bool ReadReliefHead(TPreviewFile& file, TReliefHead& head) {
  uint8_t bytes[kReliefHeaderSize];
  if (file.ReadAt(0, bytes, kReliefHeaderSize) != kReliefHeaderSize) return false;
  head.rows = U16(bytes + 2);
  head.cells = U16(bytes + 4);
  head.lowest = I16(bytes + 6);
  head.highest = I16(bytes + 8);
  head.lowHeight = F32(bytes + 34);
  head.highHeight = F32(bytes + 38);
  return head.rows > 0 && head.cells > 0;
}

// Rows of a relief drawn as pixel rows at (left, top) with a fit that never
// enlarges; cellBytes 2 (16-bit) or 4 (float); rowBytes the stored row length.
template <typename TGrey>
void DrawReliefRows(TPreviewFile& file, int32_t rows, int32_t cells, int cellBytes, int64_t rowBytes, int64_t first,
                    double factor, int left, int top, int maxRows, TGrey grey) {
  const int drawn = std::min<int>(static_cast<int>(std::trunc(cells * factor)) + 1, cells);
  const std::vector<int32_t> columns = SourceColumns(drawn, factor, cells);
  std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
  TDibBlock block;
  AllocPixelRow(block, drawn);
  for (int i = 0; i < maxRows; ++i) {
    const double s = std::nearbyint(i / factor);
    if (s >= rows) break;
    const int64_t source = static_cast<int64_t>(s);
    if (file.ReadAt(first + source * rowBytes, row.data(), rowBytes) != rowBytes) break;
    for (int c = 0; c < drawn; ++c) SetPixelRowValue(block, c, grey(row.data() + size_t(columns[size_t(c)]) * cellBytes));
    DrawPixelRow(block, left, top + i);
    if (CheckEscapeAbort() != 0) break;
  }
  FreePixelRow(block);
}

}  // namespace

// --- size label and shared pieces -------------------------------------------------------------

std::string FormatSizeLabel(float width, float height) {
  std::string text = FormatRealText(0, 3, width) + "mm x " + FormatRealText(0, 3, height) + "mm";
  if (text.size() > 25) text.resize(25);
  return text;
}

int SplitProjectInfoLines(const std::string& info, std::string (&lines)[4]) {
  for (std::string& line : lines) line.clear();
  int n = 0;
  for (char c : info) {
    if (c == '\r') {
      if (++n >= 4) break;
      continue;
    }
    if (c == '\n') continue;
    if (lines[n].size() < 50) lines[n] += c;
  }
  return std::min(n + 1, 4);
}

int ReliefGrey(double value, double lowest, double highest, int levels) {
  if (!(highest > lowest) || !std::isfinite(value)) return 0;
  const double g = std::nearbyint(std::max(0.0, (value - lowest) * levels / (highest - lowest)));
  return static_cast<int>(std::min(g, 255.0));
}

// --- vector and point files ---------------------------------------------------------------------

void DrawVectorFilePreview(const std::string& name, const TBox& box, int background, bool label) {
  if (!plat::FileExists(name)) return;
  const std::string ext = UpperExtensionOf(name);
  if (ext != ".LG1" && ext != ".H2R" && ext != ".PLI" && ext != ".TMP") return;
  const TDataFileKind kind = GetDataFileKind(name);
  if (kind != 1 && kind != 3) return;
  TVectorExtentsPair extents{};
  ReadFileExtents(name, extents);
  const double xmin = extents.minCorner.x, ymin = extents.minCorner.y;
  const double w = double(extents.maxCorner.x) - xmin, h = double(extents.maxCorner.y) - ymin;
  if (!std::isfinite(w) || !std::isfinite(h) || !(w > 0) || !(h > 0)) return;
  const int width = BoxWidth(box), height = BoxHeight(box);
  FillBackground(width, height, background);
  TVectorFit fit;
  fit.x0 = xmin;
  fit.y0 = ymin;
  fit.factor = std::min((width - 3) / w, height / h);
  fit.height = height;
  DrawPreviewAxes(width, height, -xmin * fit.factor, height - (-ymin * fit.factor));

  SetPenColor(274);
  MoveToScreenPoint(0, 0);
  int slot = 0;
  OpenDataFileSlot(name, kind, slot, 0);
  if (slot != 0) {
    TRecordBuffer buffer;
    AllocRecordBuffer(kind, buffer, 1);
    const uint32_t recordSize = DataFileRecordSize(kind);
    int32_t read = 0;
    do {
      read = 0;
      ReadDataFileSlot(slot, buffer, kSlotBlockRecords, read);
      DrawVectorRecords(fit, buffer.bytes.data(), read, recordSize, kind == 3);
    } while (read == kSlotBlockRecords && CheckEscapeAbort() == 0);
    AllocRecordBuffer(kind, buffer, 0);
    CloseDataFileSlot(slot);
  }
  if (label) DrawSizeLabel(width, static_cast<float>(w), static_cast<float>(h));
}

// --- drawings -----------------------------------------------------------------------------------

void DrawDrawingPreview(const std::string& name, const TBox& box, int background, bool label) {
  TPreviewFile file(name);
  if (!file.Open() || file.Size() <= kDrawingHeadSize - 1) return;
  uint8_t head[kDrawingHeadSize];
  if (file.ReadAt(0, head, kDrawingHeadSize) != kDrawingHeadSize) return;
  const uint8_t savedView = ViewKind;
  ViewKind = 0;

  const int width = BoxWidth(box), height = BoxHeight(box);
  const double xmin = F32(head + 1), ymin = F32(head + 5), xmax = F32(head + 10), ymax = F32(head + 14);
  TVectorFit fit;
  fit.height = height;
  const bool finite = std::isfinite(xmin) && std::isfinite(ymin) && std::isfinite(xmax) && std::isfinite(ymax);
  if (finite && width > 9 && height > 9) {
    const double span = std::max((xmax - xmin) * height / width, ymax - ymin);
    if (span > 0.001) {
      const int margin = FitMargin;
      fit.factor = (height - margin) / span;
      fit.x0 = xmin;
      fit.y0 = ymin;
      fit.offsetX = margin / 2.0;
      fit.offsetY = margin / 2.0;
    }
  }
  FillBackground(width, height, background);
  DrawPreviewAxes(width, height, (0 - fit.x0) * fit.factor + fit.offsetX,
                  height - ((0 - fit.y0) * fit.factor + fit.offsetY));

  const uint8_t version = head[kHeadVersion];
  const int64_t size = file.Size();
  int64_t start = std::clamp<int64_t>(I32(head + kHeadVectorOffset), 0, size);
  int64_t end = size;
  if (version >= 4 && version <= 10) end = std::clamp<int64_t>(I32(head + kHeadParamOffset), start, size);
  start = std::max<int64_t>(start, 0);

  SetPenColor(274);
  MoveToScreenPoint(0, 0);
  constexpr int64_t kChunk = 5000 * 13;
  std::vector<uint8_t> chunk(kChunk);
  for (int64_t at = start; at < end;) {
    const int64_t want = std::min(kChunk, end - at) / 13 * 13;
    if (want <= 0) break;
    const int64_t got = file.ReadAt(at, chunk.data(), want);
    DrawVectorRecords(fit, chunk.data(), static_cast<int32_t>(got / 13), 13, false);
    if (got < want || CheckEscapeAbort() != 0) break;
    at += got;
  }
  if (label && finite) DrawSizeLabel(width, static_cast<float>(xmax - xmin), static_cast<float>(ymax - ymin));
  ViewKind = savedView;
}

// --- reliefs ----------------------------------------------------------------------------------------

void DrawReliefPreview(const std::string& name, const TBox& box) {
  TPreviewFile file(name);
  TReliefHead head;
  if (!file.Open() || !ReadReliefHead(file, head)) return;
  const int width = BoxWidth(box), height = BoxHeight(box);
  if (width <= 0 || height <= 0) return;
  const double factor = std::min({1.0, double(width) / head.cells, double(height) / head.rows});
  const int32_t low = head.lowest, high = head.highest;
  const uint32_t below = PixelOfColor(261);
  // Cells below the lowest cell (the no-height value among them) stay white;
  // cells above the highest take the top grey.
  DrawReliefRows(file, head.rows, head.cells, 2, int64_t(head.cells) * 2, kReliefHeaderSize, factor, 0, 0, height,
                 [&](const uint8_t* p) -> uint32_t {
                   const int32_t v = I16(p);
                   if (v < low) return below;
                   if (high <= low) return GreyPixel(128);
                   return GreyPixel(static_cast<int>((std::min(v, high) - low) * 255LL / (high - low)));
                 });
}

void DrawFloatReliefPreview(const std::string& name, const TBox& box) {
  TPreviewFile file(name);
  TReliefHead head;
  if (!file.Open() || !ReadReliefHead(file, head)) return;
  const int width = BoxWidth(box), height = BoxHeight(box);
  if (width <= 2 || height <= 2) return;
  const double factor = std::min({1.0, double(width - 2) / head.cells, double(height - 2) / head.rows});
  const double low = head.lowHeight, high = head.highHeight;
  const int levels = PaletteSize - 32;
  DrawReliefRows(file, head.rows, head.cells, 4, int64_t(head.cells) * 4, kReliefHeaderSize, factor, 1, 1,
                 height - 2, [&](const uint8_t* p) -> uint32_t { return GreyPixel(ReliefGrey(F32(p), low, high, levels)); });
}

void DrawRlfPreview(const std::string& name, const TBox& box) {
  TPreviewFile file(name);
  uint8_t bytes[kReliefHeaderSize];
  if (!file.Open() || file.ReadAt(0, bytes, kReliefHeaderSize) != kReliefHeaderSize) return;
  const int32_t rows = U16(bytes + 9), cells = U16(bytes + 11);
  const int32_t low = I16(bytes + 29), high = I16(bytes + 31);
  if (rows <= 0 || cells <= 0) return;
  const int width = BoxWidth(box), height = BoxHeight(box);
  if (width <= 2 || height <= 2) return;
  std::string bare = GetNameWithoutExt(name);
  ShowPromptLine(1, "LANG Relief " + bare, 260, 274);
  const int64_t rowBytes = int64_t((cells + 7) / 8 * 8) * 2;
  const double factor = std::min({1.0, double(width - 2) / cells, double(height - 2) / rows});
  const int levels = PaletteSize - 32;
  DrawReliefRows(file, rows, cells, 2, rowBytes, kReliefHeaderSize, factor, 1, 1, height - 2,
                 [&](const uint8_t* p) -> uint32_t {
                   return GreyPixel((ReliefGrey(I16(p), low, high, levels) + 32) % 256);
                 });
}

// --- projects --------------------------------------------------------------------------------------

void DrawProjectPreview(const std::string& name, const TBox& box) {
  TPreviewFile file(name);
  uint8_t bytes[280];
  if (!file.Open() || file.ReadAt(0, bytes, 280) != 280 || bytes[0] != 2) return;
  std::string lines[4];
  SplitProjectInfoLines(std::string(reinterpret_cast<const char*>(bytes + 80), 200), lines);
  const int width = BoxWidth(box);
  SetPenColor(12);
  for (int i = 0; i < 4; ++i) {
    std::string line = lines[i];
    if (line.empty()) continue;
    const int keep = std::max(0, width / 6 - 1);
    if (int(line.size()) > keep) line.resize(size_t(keep));
    while (!line.empty() && MeasureTextWidth(line) > width - 8) line.pop_back();
    DrawScreenText(box.x1 + 4, box.y1 + 4 + 10 * i + 3, line);
  }
}

// --- PCX and pictures --------------------------------------------------------------------------------

void DrawPcxPreview(const std::string& name, const TBox& box) {
  TPreviewFile file(name);
  uint8_t head[128];
  if (!file.Open() || file.ReadAt(0, head, 128) != 128) return;
  const int bits = head[3], planes = head[65];
  if (planes != 1 || (bits != 1 && bits != 4 && bits != 8)) return;
  int32_t width = int32_t(U16(head + 8)) - int32_t(U16(head + 4)) + 1;
  const int32_t height = int32_t(U16(head + 10)) - int32_t(U16(head + 6)) + 1;
  if (bits == 1) width = (width + 7) / 8 * 8;
  if (bits == 4) width = (width + 1) / 2 * 2;
  if (width <= 0 || height <= 0 || width > 32000 || height > 32000) return;
  const int bw = BoxWidth(box), bh = BoxHeight(box);
  if (bw <= 2 || bh <= 2) return;
  const double factor = std::min({1.0, double(bw - 2) / width, double(bh - 2) / height});
  const int32_t lineBytes = bits == 8 ? width : bits == 4 ? width / 2 : width / 8;
  const int drawn = std::min<int>(static_cast<int>(std::trunc(width * factor)) + 1, width);
  const std::vector<int32_t> columns = SourceColumns(drawn, factor, width);

  std::vector<uint8_t> data(2048);
  std::vector<uint8_t> line(static_cast<size_t>(lineBytes));
  int64_t position = 128, have = 0, at = 0;
  auto next = [&](uint8_t& b) {
    if (at >= have) {
      have = file.ReadAt(position, data.data(), 2048);
      position += have;
      at = 0;
      if (have <= 0) return false;
    }
    b = data[size_t(at++)];
    return true;
  };
  TDibBlock block;
  AllocPixelRow(block, drawn);
  int screenRow = 0;
  for (int32_t row = 0; row < height && screenRow < bh - 2; ++row) {
    // One scan line: a byte of 192 or more repeats the next byte (its low six bits) times.
    int32_t filled = 0;
    bool ok = true;
    while (filled < lineBytes) {
      uint8_t b = 0;
      if (!next(b)) { ok = false; break; }
      int run = 1;
      if (b >= 192) {
        run = b & 63;
        if (!next(b)) { ok = false; break; }
      }
      for (int k = 0; k < run && filled < lineBytes; ++k) line[size_t(filled++)] = b;
    }
    if (!ok) break;
    if (screenRow <= row * factor) {
      for (int c = 0; c < drawn; ++c) {
        const int32_t x = columns[size_t(c)];
        int grey = 0;
        if (bits == 8) grey = line[size_t(x)];
        else if (bits == 4) grey = (x % 2 == 0) ? line[size_t(x / 2)] >> 4 : line[size_t(x / 2)] & 15;
        else grey = (line[size_t(x / 8)] >> (7 - x % 8)) & 1 ? 255 : 0;
        SetPixelRowValue(block, c, GreyPixel(grey));
      }
      DrawPixelRow(block, 1, 1 + screenRow);
      ++screenRow;
    }
    if (row % 16 == 15 && CheckEscapeAbort() != 0) break;
  }
  FreePixelRow(block);
}

void DrawPicturePreview(const std::string& name, int kind, const TBox& box) {
  if (!plat::FileExists(name)) return;
  TCellMatrix matrix;
  if (kind == 0) LoadBmpGreyMatrix(name, false, matrix);
  else if (kind == 1) LoadGifGreyMatrix(name, false, matrix);
  else LoadJpegGreyMatrix(name, false, matrix);
  const int32_t width = matrix.width, height = matrix.height;
  if (width <= 0 || height <= 0 || matrix.cells.size() < size_t(width) * size_t(height)) return;
  const int bw = BoxWidth(box), bh = BoxHeight(box);
  if (bw <= 2 || bh <= 2) return;
  const double factor = std::min({1.0, double(bw - 2) / width, double(bh - 2) / height});
  const int drawn = std::min<int>(static_cast<int>(std::trunc(width * factor)) + 1, width);
  const std::vector<int32_t> columns = SourceColumns(drawn, factor, width);
  TDibBlock block;
  AllocPixelRow(block, drawn);
  int screenRow = 0;
  for (int32_t row = 0; row < height && screenRow < bh - 2; ++row) {
    if (screenRow > row * factor) continue;
    for (int c = 0; c < drawn; ++c) SetPixelRowValue(block, c, GreyPixel(matrix.At(columns[size_t(c)], row)));
    DrawPixelRow(block, 1, 1 + screenRow);
    ++screenRow;
  }
  FreePixelRow(block);
}

// --- stream painters ------------------------------------------------------------------------------------

void DrawPreviewError(plat::TDc& dc) {
  plat::DcSetBkMode(dc, plat::kBkTransparent);
  plat::DcSetTextColor(dc, plat::Rgb(255, 255, 255));
  plat::DcTextOut(dc, 19, 39, "ERROR !!!");
  plat::DcTextOut(dc, 21, 41, "ERROR !!!");
  plat::DcSetTextColor(dc, plat::Rgb(0, 0, 0));
  plat::DcTextOut(dc, 20, 40, "ERROR !!!");
}

void DrawLg1StreamPreview(plat::TDc& dc, const plat::TRect& rect, const std::string& name) {
  TPreviewFile file(name);
  if (!file.Open()) return;
  constexpr int64_t kChunk = 65520;
  std::vector<uint8_t> chunk(kChunk);
  double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
  bool any = false, bad = false;
  for (int64_t at = 0; at < file.Size() && !bad;) {
    const int64_t got = file.ReadAt(at, chunk.data(), kChunk) / 13 * 13;
    if (got <= 0) break;
    for (int64_t i = 0; i < got; i += 13) {
      const uint8_t type = chunk[size_t(i)];
      if (type < 10 || type > 14) continue;
      const double x = F32(&chunk[size_t(i) + 1]), y = F32(&chunk[size_t(i) + 5]);
      if (!(std::fabs(x) <= 1e9) || !(std::fabs(y) <= 1e9)) {
        bad = true;
        break;
      }
      if (!any) { xmin = xmax = x; ymin = ymax = y; any = true; }
      xmin = std::min(xmin, x); xmax = std::max(xmax, x);
      ymin = std::min(ymin, y); ymax = std::max(ymax, y);
    }
    at += got;
  }
  const int pw = rect.right - rect.left - 4, ph = rect.bottom - rect.top - 4;
  if (bad || pw <= 0 || ph <= 0) {
    DrawPreviewError(dc);
    return;
  }
  if (!any) return;
  // The larger of the two scales; the tight axis starts one scale unit
  // before its minimum, the other is centred.
  const double ww = std::max(xmax - xmin, 0.00001), wh = std::max(ymax - ymin, 0.00001);
  const double sx = ww / pw, sy = wh / ph;
  const double scale = std::max(sx, sy);
  double ox, oy;
  if (sx >= sy) {
    ox = xmin - scale;
    oy = ymax + scale + (ph * scale - wh) / 2;
  } else {
    oy = ymax + scale;
    ox = xmin - scale - (pw * scale - ww) / 2;
  }
  plat::DcSetPen(dc, plat::TPen{plat::kPenSolid, 1, plat::Rgb(0, 0, 0)});
  uint32_t penColour = 0;
  for (int64_t at = 0; at < file.Size();) {
    const int64_t got = file.ReadAt(at, chunk.data(), kChunk) / 13 * 13;
    if (got <= 0) break;
    for (int64_t i = 0; i < got; i += 13) {
      const uint8_t* p = &chunk[size_t(i)];
      const uint8_t type = p[0];
      if (type == 151) {
        const uint32_t colour = uint32_t(I32(p + 9)) & 0xFFFFFF;
        if (colour != penColour) {
          penColour = colour;
          plat::DcSetPen(dc, plat::TPen{plat::kPenSolid, 1, colour});
        }
        continue;
      }
      if (type < 10 || type > 14) continue;
      const int x = ClampScreen((F32(p + 1) - ox) / scale), y = ClampScreen((oy - F32(p + 5)) / scale);
      if (type == 10 || type == 12 || type == 14) plat::DcLineTo(dc, x, y);
      else plat::DcMoveTo(dc, x, y);
    }
    at += got;
  }
}

void DrawRlfStreamPreview(plat::TDc& dc, const plat::TRect& rect, const std::string& name) {
  TPreviewFile file(name);
  if (!file.Open()) return;
  uint8_t head[kReliefHeaderSize];
  if (file.ReadAt(0, head, kReliefHeaderSize) != kReliefHeaderSize) {
    DrawPreviewError(dc);
    return;
  }
  const int32_t rows = U16(head + 9), cells = U16(head + 11);
  const int32_t low = I16(head + 29), high = I16(head + 31);
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (rows < 2 || rows > 32000 || cells < 2 || cells > 32000 || w <= 0 || h <= 0) {
    DrawPreviewError(dc);
    return;
  }
  const int64_t rowBytes = (int64_t(cells) * 2 + 15) / 16 * 16;
  double step;
  int drawW, drawH, left = 0, top = 0;
  if (cells < rows) {
    step = double(rows) / h;
    drawH = h;
    drawW = static_cast<int>(cells / step);
    left = (w - drawW) / 2;
  } else {
    step = double(cells) / w;
    drawW = w;
    drawH = static_cast<int>(rows / step);
    top = (h - drawH) / 2;
  }
  std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
  std::vector<uint8_t> bgra(size_t(std::max(drawW, 0)) * 4);
  int64_t loaded = -1;
  for (int sy = 0; sy < drawH; ++sy) {
    const int64_t source = std::min<int64_t>(static_cast<int64_t>(std::trunc(sy * step)), rows - 1);
    if (source != loaded) {
      if (file.ReadAt(kReliefHeaderSize + source * rowBytes, row.data(), rowBytes) != rowBytes) {
        DrawPreviewError(dc);
        return;
      }
      loaded = source;
    }
    for (int sx = 0; sx < drawW; ++sx) {
      const int64_t c = std::min<int64_t>(static_cast<int64_t>(std::trunc(sx * step)), cells - 1);
      const int32_t v = I16(&row[size_t(c) * 2]);
      int grey = 0;
      if (high != low) grey = static_cast<int>(std::trunc(double(v - low) * 255.0 / double(high - low)));
      const uint8_t g = static_cast<uint8_t>(std::clamp(grey, 0, 255));
      bgra[size_t(sx) * 4] = g;
      bgra[size_t(sx) * 4 + 1] = g;
      bgra[size_t(sx) * 4 + 2] = g;
      bgra[size_t(sx) * 4 + 3] = 0;
    }
    plat::DcDrawPixels32(dc, left, top + sy, drawW, 1, bgra.data());
  }
}

// --- thumbnail forms ---------------------------------------------------------------------------------------

namespace {

// Clips to the box interior, runs the painter on the inset box, gives the
// whole window back.
template <typename TPaint>
void InBox(const TBox& box, TPaint paint) {
  SetClipWindow(box.x1 + 1, box.y1 + 1, box.x2, box.y2);
  const TBox inner{box.flag, 0, 0, int16_t(box.x2 - box.x1 - 1), int16_t(box.y2 - box.y1 - 1)};
  paint(inner);
  SetClipWindow(0, 0, MaxX + 1, MaxY + 1);
}

}  // namespace

void DrawVectorFileThumbnail(const std::string& name, const TBox& box) {
  InBox(box, [&](const TBox& b) { DrawVectorFilePreview(name, b, 15, true); });
}

void DrawDrawingThumbnail(const std::string& name, const TBox& box) {
  if (GetFileByteSize(name) < kDrawingHeadSize) return;
  InBox(box, [&](const TBox& b) { DrawDrawingPreview(name, b, 15, true); });
}

void DrawReliefThumbnail(const std::string& name, const TBox& box) {
  InBox(box, [&](const TBox& b) { DrawReliefPreview(name, b); });
}

void DrawFloatReliefThumbnail(const std::string& name, const TBox& box) {
  InBox(box, [&](const TBox& b) { DrawFloatReliefPreview(name, b); });
}

void DrawPackedReliefThumbnail(const std::string& name, const TBox& box) {
  const std::string ext = UpperExtensionOf(name);
  if (ext == ".HRL") return DrawReliefThumbnail(name, box);
  if (ext == ".HRS") return DrawFloatReliefThumbnail(name, box);
  if (ext == ".RLF") return DrawRlfThumbnail(name, box);
  if (ext != ".HRP" || !plat::FileExists(name)) return;
  // The decoder may use the side panel strip; it is given back afterwards.
  TBitmapHandle strip = 0;
  SaveScreenRectBitmap(MaxX - 166, 0, MaxX, MaxY, strip);
  DecodePackedReliefFile(name, kPackedPreviewRelief);
  if (strip != 0) RestoreScreenRectBitmap(MaxX - 166, 0, strip);
  DrawReliefThumbnail(kPackedPreviewRelief, box);
}

void DrawPcxThumbnail(const std::string& name, const TBox& box) {
  InBox(box, [&](const TBox& b) { DrawPcxPreview(name, b); });
}

void DrawPictureThumbnail(const std::string& name, int kind, const TBox& box) {
  InBox(box, [&](const TBox& b) { DrawPicturePreview(name, kind, b); });
}

void DrawRlfThumbnail(const std::string& name, const TBox& box) {
  InBox(box, [&](const TBox& b) { DrawRlfPreview(name, b); });
}
