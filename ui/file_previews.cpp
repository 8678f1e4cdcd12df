// File previews.
//
// Sections: reading helpers; size label and shared pieces; vector and point
// files; drawings; reliefs; projects; PCX and pictures; stream painters;
// thumbnail forms.
#include "ui/file_previews.h"

#include <algorithm>
#include <cmath>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ui/prompt_line.h"
#include "frame/data_slots.h"
#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "model/drawing_file.h"
#include "model/record_files.h"
#include "model/vector_records.h"
#include "platform/files.h"
#include "model/text_job.h"
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

// A little-endian value of type T at p.
template <typename T>
T ValueAt(const uint8_t* p) {
  T v;
  memcpy(&v, p, sizeof v);
  return v;
}
int16_t I16(const uint8_t* p) { return ValueAt<int16_t>(p); }
uint16_t U16(const uint8_t* p) { return ValueAt<uint16_t>(p); }
int32_t I32(const uint8_t* p) { return ValueAt<int32_t>(p); }
float F32(const uint8_t* p) { return ValueAt<float>(p); }

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

// Fills the box, fits the extent (xmin, ymin, w, h) into it and draws the
// axes through the origin: the start of every vector preview.
TVectorFit BeginVectorPreview(int width, int height, int background, double xmin, double ymin, double w, double h) {
  FillBackground(width, height, background);
  TVectorFit fit;
  fit.x0 = xmin;
  fit.y0 = ymin;
  fit.factor = std::min((width - 3) / w, height / h);
  fit.height = height;
  DrawPreviewAxes(width, height, -xmin * fit.factor, height - (-ymin * fit.factor));
  return fit;
}

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

// The text lines of a drawing: the line count at byte 35 of the head, then
// 160-byte parameter records from the end of the head. A line is drawn when
// it was read whole, holds text, its font file exists, its placement is at
// least 6 pixels high and touches the box. Until the fonts can set glyphs
// the placement's box stands for the line. True when Esc stopped it.
bool DrawPreviewTextLines(TPreviewFile& file, const uint8_t* head, const TVectorFit& fit, int width, int height) {
  const int32_t count = I16(head + kHeadLineCount);
  if (count <= 0) return false;
  SetPenColor(274);
  uint8_t params[kTextParamsSize];
  for (int32_t i = 0; i < count; ++i) {
    const int64_t at = kDrawingHeadSize + int64_t(i) * kTextParamsSize;
    if (file.ReadAt(at, params, kTextParamsSize) != kTextParamsSize) break;
    if (count == 1 && IsTextLineEmptyOrInvalid(params)) break;
    if (!IsTextLineNonEmpty(params)) continue;
    const uint8_t nameLength = std::min<uint8_t>(params[8], 12);
    const std::string font(reinterpret_cast<const char*>(params + 9), nameLength);
    if (font.empty() || !plat::FileExists(font)) continue;
    double corners[4][2];
    if (!ComputeTextLineBox(params, corners)) continue;
    float lineHeight;
    memcpy(&lineHeight, params + 22, 4);
    if (!(lineHeight * fit.factor >= 6)) continue;
    int sx[4], sy[4];
    for (int k = 0; k < 4; ++k) {
      sx[k] = fit.ScreenX(corners[k][0]);
      sy[k] = fit.ScreenY(corners[k][1]);
    }
    const auto [x1, x2] = std::minmax({sx[0], sx[1], sx[2], sx[3]});
    const auto [y1, y2] = std::minmax({sy[0], sy[1], sy[2], sy[3]});
    if (x2 < 0 || y2 < 0 || x1 > width || y1 > height) continue;
    MoveToScreenPoint(sx[3], sy[3]);
    for (int k = 0; k < 4; ++k) LineToScreenPoint(sx[k], sy[k]);
    if (i % 7 == 6 && CheckEscapeAbort() != 0) return true;
  }
  return false;
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
  const TVectorFit fit = BeginVectorPreview(width, height, background, xmin, ymin, w, h);

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

  const bool aborted = DrawPreviewTextLines(file, head, fit, width, height);

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
  for (int64_t at = start; at < end && !aborted;) {
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

// --- STL models --------------------------------------------------------------------------------------

namespace {

// Reads an STL file for the preview, ASCII or binary, and hands every
// triangle (nine coordinates) to the visitor. False when the file is not a
// whole, sound model: a binary facet count the file cannot hold, an ASCII
// model without its end, a vertex that is no number, a coordinate that is
// not finite or beyond 1e9 in magnitude, or no triangle at all.
class TStlReader {
 public:
  explicit TStlReader(TPreviewFile& file) : file_(file) {}

  template <typename TVisit>
  bool Read(TVisit visit) {
    at_ = 0;
    have_ = used_ = 0;
    return IsAscii() ? ReadAscii(visit) : ReadBinary(visit);
  }

 private:
  static bool Sound(const float* v) {
    for (int i = 0; i < 9; ++i)
      if (!(std::fabs(v[i]) <= 1e9f)) return false;
    return true;
  }

  // One line: ends at a line feed or after 255 characters; carriage
  // returns are dropped. False at the end of the file.
  bool NextLine(std::string& line) {
    line.clear();
    bool any = false;
    while (line.size() < 255) {
      if (used_ >= have_) {
        have_ = file_.ReadAt(at_, buffer_, sizeof buffer_);
        at_ += have_;
        used_ = 0;
        if (have_ <= 0) return any;
      }
      const char c = char(buffer_[used_++]);
      any = true;
      if (c == '\n') return true;
      if (c != '\r') line += c;
    }
    return true;
  }

  static std::string Trimmed(const std::string& line) {
    size_t i = 0;
    while (i < line.size() && line[i] == ' ') ++i;
    return line.substr(i);
  }

  static bool Starts(const std::string& line, const char* keyword) {
    const size_t n = strlen(keyword);
    if (line.size() < n) return false;
    for (size_t i = 0; i < n; ++i)
      if (std::toupper(static_cast<unsigned char>(line[i])) != keyword[i]) return false;
    return true;
  }

  bool IsAscii() {
    std::string line;
    if (!NextLine(line) || !Starts(Trimmed(line), "SOLID")) return false;
    const bool ascii = NextLine(line) && Starts(Trimmed(line), "FACET NORMAL");
    at_ = 0;
    have_ = used_ = 0;
    return ascii;
  }

  // Three numbers after "VERTEX": runs of digits, points, signs and e.
  static bool ParseVertex(const std::string& text, float* xyz) {
    auto numeric = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'; };
    size_t i = 0;
    for (int k = 0; k < 3; ++k) {
      while (i < text.size() && !numeric(text[i])) ++i;
      size_t j = i;
      while (j < text.size() && numeric(text[j])) ++j;
      if (j == i) return false;
      const std::string number = text.substr(i, j - i);
      char* end = nullptr;
      const double v = strtod(number.c_str(), &end);
      if (end != number.c_str() + number.size()) return false;
      xyz[k] = static_cast<float>(v);
      i = j;
    }
    return true;
  }

  template <typename TVisit>
  bool ReadAscii(TVisit visit) {
    std::string line;
    float v[9] = {};
    int slot = 0;
    int64_t triangles = 0;
    for (int64_t n = 1; NextLine(line); ++n) {
      if (n % 4096 == 0 && CheckEscapeAbort() != 0) return false;
      const std::string t = Trimmed(line);
      if (Starts(t, "VERTEX")) {
        if (slot < 1 || slot > 3) continue;
        if (!ParseVertex(t.substr(6), v + 3 * (slot - 1))) return false;
        if (slot++ == 3) {
          if (!Sound(v)) return false;
          visit(v);
          ++triangles;
        }
      } else if (Starts(t, "OUTER LOOP")) {
        slot = 1;
      } else if (Starts(t, "ENDLOOP")) {
        slot = 0;
      } else if (Starts(t, "ENDSOLID")) {
        return triangles > 0;
      }
    }
    return false;  // cut off before its end
  }

  template <typename TVisit>
  bool ReadBinary(TVisit visit) {
    uint8_t head[84];
    if (file_.ReadAt(0, head, 84) != 84) return false;
    uint32_t count;
    memcpy(&count, head + 80, 4);
    if (count == 0 || 84 + 50 * int64_t(count) > file_.Size()) return false;
    constexpr int64_t kFacets = 1000;
    std::vector<uint8_t> block(kFacets * 50);
    for (int64_t done = 0; done < count;) {
      const int64_t n = std::min<int64_t>(kFacets, count - done);
      if (file_.ReadAt(84 + done * 50, block.data(), n * 50) != n * 50) return false;
      for (int64_t i = 0; i < n; ++i) {
        float v[9];
        memcpy(v, &block[size_t(i * 50 + 12)], 36);
        if (!Sound(v)) return false;
        visit(v);
      }
      done += n;
      if (CheckEscapeAbort() != 0) return false;
    }
    return true;
  }

  TPreviewFile& file_;
  int64_t at_ = 0, have_ = 0, used_ = 0;
  uint8_t buffer_[4096];
};

constexpr int kStlGrid = 186;         // cells along the longer side of the model
constexpr int32_t kNoHeight = -32767;

// Cell tests a preview may spend: a model of many large overlapping
// triangles draws what was rasterised until then.
constexpr int64_t kStlCellBudget = 20000000;

struct TStlGrid {
  double xmin = 0, ymin = 0, zmin = 0, zmax = 0, step = 1;
  int cells = 0, rows = 0;
  int64_t budget = kStlCellBudget;
  std::vector<int16_t> height;  // row 0 at ymin; kNoHeight where no triangle lies
};

// The highest point of the triangle over every cell centre it covers, as a
// 16-bit height from 0 (lowest z of the model) to 32000 (highest).
void RasteriseStlTriangle(TStlGrid& grid, const float* v) {
  const double ax = v[0], ay = v[1], bx = v[3], by = v[4], cx = v[6], cy = v[7];
  const double area = (bx - ax) * (cy - ay) - (cx - ax) * (by - ay);
  if (std::fabs(area) < 1e-12) return;
  const double span = grid.zmax - grid.zmin;
  auto cellHeight = [&](double z) {
    return static_cast<int16_t>(span > 0 ? std::clamp(std::nearbyint((z - grid.zmin) * 32000.0 / span), 0.0, 32000.0) : 16000.0);
  };
  const auto [x1, x2] = std::minmax({ax, bx, cx});
  const auto [y1, y2] = std::minmax({ay, by, cy});
  const int c1 = std::max(0, static_cast<int>(std::ceil((x1 - grid.xmin) / grid.step)));
  const int c2 = std::min(grid.cells - 1, static_cast<int>(std::floor((x2 - grid.xmin) / grid.step)));
  const int r1 = std::max(0, static_cast<int>(std::ceil((y1 - grid.ymin) / grid.step)));
  const int r2 = std::min(grid.rows - 1, static_cast<int>(std::floor((y2 - grid.ymin) / grid.step)));
  if (c2 < c1 || r2 < r1) return;
  grid.budget -= int64_t(c2 - c1 + 1) * (r2 - r1 + 1);
  if (grid.budget < 0) return;
  for (int r = r1; r <= r2; ++r) {
    const double py = grid.ymin + r * grid.step;
    for (int c = c1; c <= c2; ++c) {
      const double px = grid.xmin + c * grid.step;
      const double wa = ((bx - px) * (cy - py) - (cx - px) * (by - py)) / area;
      const double wb = ((cx - px) * (ay - py) - (ax - px) * (cy - py)) / area;
      const double wc = 1.0 - wa - wb;
      const double eps = -1e-9;
      if (wa < eps || wb < eps || wc < eps) continue;
      const int16_t h = cellHeight(wa * v[2] + wb * v[5] + wc * v[8]);
      int16_t& cell = grid.height[size_t(r) * size_t(grid.cells) + size_t(c)];
      cell = std::max(cell, h);
    }
  }
}

// Reads and rasterises the model. False when the file gives no preview.
bool BuildStlGrid(const std::string& name, TStlGrid& grid, float& width, float& depth) {
  TPreviewFile file(name);
  if (!file.Open()) return false;
  TStlReader reader(file);
  double lo[3] = {1e30, 1e30, 1e30}, hi[3] = {-1e30, -1e30, -1e30};
  if (!reader.Read([&](const float* v) {
        for (int p = 0; p < 3; ++p)
          for (int k = 0; k < 3; ++k) {
            lo[k] = std::min<double>(lo[k], v[3 * p + k]);
            hi[k] = std::max<double>(hi[k], v[3 * p + k]);
          }
      }))
    return false;
  const double w = hi[0] - lo[0], h = hi[1] - lo[1];
  if (!(w > 0) || !(h > 0)) return false;
  grid.xmin = lo[0];
  grid.ymin = lo[1];
  grid.zmin = lo[2];
  grid.zmax = hi[2];
  grid.step = std::max(w, h) / (kStlGrid - 1);
  grid.cells = std::min(kStlGrid, static_cast<int>(w / grid.step + 1e-6) + 1);
  grid.rows = std::min(kStlGrid, static_cast<int>(h / grid.step + 1e-6) + 1);
  grid.height.assign(size_t(grid.cells) * size_t(grid.rows), int16_t(kNoHeight));
  if (!reader.Read([&](const float* v) { RasteriseStlTriangle(grid, v); })) return false;
  width = static_cast<float>(w);
  depth = static_cast<float>(h);
  return true;
}

}  // namespace

void DrawStlPreview(const std::string& name, const TBox& box, int background, bool label) {
  if (!plat::FileExists(name)) return;
  const int64_t size = GetFileByteSize(name);
  if (size <= 0) return;
  const int width = BoxWidth(box), height = BoxHeight(box);
  if (width <= 0 || height <= 0) return;
  const int fill = background < 0 ? 261 : background;
  if (size >= kStlPreviewLimit) {
    FillColorRect(0, 0, width, height, GetColorRef(fill));
    SetPenColor(13);
    DrawScreenText(8, 1 + 3, "*too big*");
    return;
  }
  // The model becomes a private height grid: the current relief and the
  // work files are not touched.
  TStlGrid grid;
  float w = 0, d = 0;
  if (!BuildStlGrid(name, grid, w, d)) return;
  FillColorRect(0, 0, width, height, GetColorRef(fill));
  const double factor = std::min({1.0, double(width) / grid.cells, double(height) / grid.rows});
  const int drawn = std::min<int>(static_cast<int>(std::trunc(grid.cells * factor)) + 1, grid.cells);
  const std::vector<int32_t> columns = SourceColumns(drawn, factor, grid.cells);
  const uint32_t none = PixelOfColor(fill);
  TDibBlock block;
  AllocPixelRow(block, drawn);
  for (int i = 0; i < height; ++i) {
    const double s = std::nearbyint(i / factor);
    if (s >= grid.rows) break;
    // The top screen row shows the far side (highest y) of the model.
    const size_t row = size_t(grid.rows - 1 - static_cast<int>(s));
    for (int c = 0; c < drawn; ++c) {
      const int16_t v = grid.height[row * size_t(grid.cells) + size_t(columns[size_t(c)])];
      SetPixelRowValue(block, c, v == kNoHeight ? none : GreyPixel(v * 255 / 32000));
    }
    DrawPixelRow(block, 0, i);
  }
  FreePixelRow(block);
  if (label) {
    SetPenColor(1);
    DrawTextSized(6, height - 12, FormatSizeLabel(w, d), 12, 4);
  }
}

// --- SOR engraving programs ----------------------------------------------------------------------------

namespace {

// The SOR program read for its picture: the MAIN program and the
// subprograms it calls, as 13-byte vector records (11 contour start, 10
// line point, 12 3D point). Corner radii are not rounded in the preview.
class TSorPreviewReader {
 public:
  static constexpr size_t kMaxRecords = 1000000;
  static constexpr int64_t kMaxStatements = 500000;
  static constexpr int kMaxDepth = 16;

  bool Read(TPreviewFile& file) {
    if (!LoadLines(file)) return false;
    if (mainLine_ < 0) return false;
    Run(mainLine_, 0);
    return !records_.empty();
  }
  const std::vector<uint8_t>& Records() const { return records_; }

 private:
  struct TPoint { uint8_t type = 11; double x = 0, y = 0, z = 0; };
  struct TLabel { std::string name; int line = 0; };

  bool LoadLines(TPreviewFile& file) {
    constexpr int64_t kMaxProgram = 8 * 1024 * 1024;
    if (file.Size() > kMaxProgram) return false;
    std::string text(static_cast<size_t>(file.Size()), '\0');
    if (file.ReadAt(0, text.data(), file.Size()) != file.Size()) return false;
    bool inBlock = false;
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
      if (line.size() > 59) line.resize(59);
      start = end + 1;
      lines_.push_back(line);
      const std::string key = Keyword(line);
      if (key == "PR") {
        if (inBlock) return false;  // a PR inside a PR block
        inBlock = true;
        size_t at = 2;
        std::string name = Name(line, at);
        if (name.size() > 8) name.resize(8);
        if (name == "MAIN") mainLine_ = int(lines_.size()) - 1;
        else if (labels_.size() < 999) labels_.push_back({name, int(lines_.size()) - 1});
        else return false;
      } else if (key == "END") {
        inBlock = false;
      }
    }
    return true;
  }

  static std::string Keyword(const std::string& line) {
    std::string key;
    for (size_t i = 0; i < line.size() && line[i] != ' ' && key.size() < 9; ++i)
      key += char(std::toupper(static_cast<unsigned char>(line[i])));
    return key;
  }

  static std::string Name(const std::string& line, size_t& at) {
    while (at < line.size() && line[at] == ' ') ++at;
    std::string name;
    while (at < line.size() && (std::isalnum(static_cast<unsigned char>(line[at])) || line[at] == '_')) name += line[at++];
    return name;
  }

  // The next number from the scan position; false when none is there or it
  // cannot be read (the statement then ends the preview).
  bool Number(const std::string& line, size_t& at, double& value) { return NumberCode(line, at, value) == 0; }

  // 0 a number, 6 none left on the line, 7 one that cannot be read.
  static int NumberCode(const std::string& line, size_t& at, double& value) {
    auto numeric = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == ',' || c == '-' || c == '.'; };
    while (at < line.size() && !numeric(line[at])) {
      if (line[at] == ';') at = line.size();
      else ++at;
    }
    std::string text;
    while (at < line.size() && numeric(line[at])) text += line[at++];
    value = 0;
    if (text.empty()) return 6;
    const size_t comma = text.find(',');
    if (comma != std::string::npos) text[comma] = '.';
    char* end = nullptr;
    value = strtod(text.c_str(), &end);
    if (end == text.c_str() + text.size() && std::isfinite(value) && std::fabs(value) <= 1e9) return 0;
    value = 0;
    return 7;
  }

  void Write(uint8_t type, double x, double y, double z) {
    if (records_.size() / 13 >= kMaxRecords) { stop_ = true; return; }
    uint8_t r[13];
    r[0] = type;
    const float fx = float(x), fy = float(y), fz = float(z);
    memcpy(r + 1, &fx, 4);
    memcpy(r + 5, &fy, 4);
    memcpy(r + 9, &fz, 4);
    records_.insert(records_.end(), r, r + 13);
  }

  void Move(double x, double y) {
    if (hasMove_ && lastMove_.x == x && lastMove_.y == y) return;
    hasMove_ = true;
    pending_ = true;
    lastMove_ = TPoint{11, x, y, 0};
    current_ = lastMove_;
  }

  void FlushMove() {
    if (!pending_) return;
    Write(11, lastMove_.x, lastMove_.y, 0);
    pending_ = false;
  }

  void Draw(double x, double y) {
    FlushMove();
    Write(10, x, y, 0);
    current_ = TPoint{10, x, y, 0};
  }

  void Arc(double a0, double sweep, double r, double cx, double cy) {
    if (!(r > 0) || !std::isfinite(sweep)) return;
    if (std::fabs(sweep) == 2 * M_PI) Move(cx + r * std::cos(a0), cy + r * std::sin(a0));
    // About one point per degree, fewer for small circles.
    const int k = std::clamp(static_cast<int>(std::fabs(sweep) * std::clamp(r / 8 * 10, 4.0, 60.0)), 1, 720);
    for (int i = 1; i <= k; ++i) {
      const double a = a0 + sweep * i / k;
      Draw(cx + r * std::cos(a), cy + r * std::sin(a));
    }
  }

  static double AngleOf(double px, double py, double cx, double cy, double r) {
    const double q = (px - cx) / r;
    double a = M_PI / 2 - std::atan(q / std::sqrt(std::fabs(1.00001 - q * q)));
    if (py < cy) a = 2 * M_PI - a;
    return a;
  }

  static double Sweep(double a0, double a1, bool ccw) {
    double s = ccw ? a1 - a0 + 2 * M_PI : a1 - a0 - 2 * M_PI;
    if (s > 2 * M_PI) s -= 2 * M_PI;
    else if (s < -2 * M_PI) s += 2 * M_PI;
    return s;
  }

  // Runs a program from its PR line until END; false ends the whole run.
  bool Run(int line, int depth) {
    for (int n = line + 1; n < int(lines_.size()); ++n) {
      if (stop_ || ++statements_ > kMaxStatements) return false;
      const std::string& text = lines_[size_t(n)];
      const std::string key = Keyword(text);
      size_t at = key.size();
      double f[6] = {};
      auto numbers = [&](int count) {
        for (int i = 0; i < count; ++i)
          if (!Number(text, at, f[i])) return false;
        return true;
      };
      const double cx = current_.x, cy = current_.y;
      if (key == "END") return true;
      if (key == "M" || key == "MR" || key == "D" || key == "DR" || key == "PIK") {
        if (!numbers(2)) return false;
        const bool relative = key == "MR" || key == "DR";
        const double x = relative ? cx + f[0] : f[0], y = relative ? cy + f[1] : f[1];
        if (key[0] == 'M' || key == "PIK") Move(x, y);
        if (key[0] == 'D' || key == "PIK") Draw(x, y);
      } else if (key == "D3A") {
        if (!numbers(3)) return false;
        FlushMove();
        Write(12, f[0], f[1], -f[2]);
        current_ = TPoint{12, f[0], f[1], -f[2]};
      } else if (key == "RQ" || key == "RQA") {
        if (!numbers(4)) return false;
        const double x2 = key == "RQ" ? f[0] + f[2] : f[2], y2 = key == "RQ" ? f[1] + f[3] : f[3];
        Move(f[0], f[1]);
        Draw(x2, f[1]);
        Draw(x2, y2);
        Draw(f[0], y2);
        Draw(f[0], f[1]);
      } else if (key == "OBM") {
        if (!numbers(5)) return false;
        Arc(f[0] * M_PI / 180, f[1] * M_PI / 180, f[2], f[3], f[4]);
      } else if (key == "OB") {
        if (!numbers(3)) return false;
        const double a0 = f[0] * M_PI / 180;
        Arc(a0, f[1] * M_PI / 180, f[2], cx - f[2] * std::cos(a0), cy - f[2] * std::sin(a0));
      } else if (key == "OK") {
        if (!numbers(1)) return false;
        Move(cx + f[0], cy);
        Arc(0, 2 * M_PI, f[0], cx, cy);
      } else if (key == "O") {
        if (!numbers(5) || !(f[2] > 0)) return false;
        while (at < text.size() && text[at] == ' ') ++at;
        const bool ccw = at < text.size() && text[at] == '+';
        const double a0 = AngleOf(cx, cy, f[0], f[1], f[2]), a1 = AngleOf(f[3], f[4], f[0], f[1], f[2]);
        Arc(a0, Sweep(a0, a1, ccw), f[2], f[0], f[1]);
        if (at >= text.size()) return false;  // the direction is missing
      } else if (key == "OP") {
        if (!numbers(6)) return false;
        DrawArcThroughPoints(f);
      } else if (key == "CALL") {
        if (!Call(text, at, depth)) return false;
      }
      // "PR", "RE", "RA", "R", "WZ" and unknown words draw nothing.
    }
    return true;
  }

  void DrawArcThroughPoints(double* f) {
    double x1 = f[0], y1 = f[1];
    const double x2 = f[2], y2 = f[3], x3 = f[4], y3 = f[5];
    for (int i = 0; i < 1000 && (y2 - y1 == 0 || y3 - y1 == 0); ++i) y1 += 0.001;
    // Centre: where the perpendicular bisectors of P1P2 and P1P3 meet.
    const double ax = x2 - x1, ay = y2 - y1, bx = x3 - x1, by = y3 - y1;
    const double det = 2 * (ax * by - ay * bx);
    if (std::fabs(det) < 1e-12) return;
    const double a2 = ax * ax + ay * ay, b2 = bx * bx + by * by;
    const double ux = x1 + (by * a2 - ay * b2) / det, uy = y1 + (ax * b2 - bx * a2) / det;
    const double r = std::hypot(x1 - ux, y1 - uy);
    if (!(r > 0) || !std::isfinite(r)) return;
    const double a0 = AngleOf(x1, y1, ux, uy, r), a1 = AngleOf(x3, y3, ux, uy, r);
    if (current_.x != x1 || current_.y != y1) Move(x1, y1);
    Arc(a0, Sweep(a0, a1, ax * by - ay * bx > 0), r, ux, uy);
  }

  // CALL name scale factor angle step axes count: the subprogram runs
  // count + 1 times, its output scaled, turned, mirrored and moved to the
  // point where each run starts.
  bool Call(const std::string& text, size_t at, int depth) {
    std::string name = Name(text, at);
    if (name.size() > 8) name.resize(8);
    // Trailing fields may be left out (they count as 0); a field that cannot
    // be read ends the run.
    double v[4] = {};
    for (double& value : v)
      if (NumberCode(text, at, value) == 7) return false;
    const std::string axes = Name(text, at).substr(0, 3);
    double count = 0;
    if (NumberCode(text, at, count) == 7) return false;
    double scale = (v[0] < 0.0001 || v[0] > 10000) ? 1 : v[0];
    const double factor = (v[1] < 0.0001 || v[1] > 10000) ? 1 : v[1];
    double angle = v[2];
    const auto label = std::find_if(labels_.begin(), labels_.end(), [&](const TLabel& l) { return l.name == name; });
    if (label == labels_.end() || depth >= kMaxDepth) return true;
    TPoint state = current_;
    const int repeats = static_cast<int>(std::clamp(std::nearbyint(count), -1.0, 10000.0));
    for (int i = 0; i <= repeats; ++i) {
      const size_t first = records_.size();
      current_ = TPoint{11, 0, 0, 0};
      const bool ok = Run(label->line, depth + 1);
      FlushMove();  // a move left pending belongs to this run's output
      const double a = angle * M_PI / 180, c = std::cos(a), s = std::sin(a);
      const bool mx = axes.find('X') != std::string::npos, my = axes.find('Y') != std::string::npos;
      auto place = [&](double& x, double& y) {
        double tx = x * scale, ty = y * scale;
        double rx = tx * c - ty * s, ry = tx * s + ty * c;
        if (mx) rx = -rx;
        if (my) ry = -ry;
        x = rx + state.x;
        y = ry + state.y;
      };
      for (size_t r = first; r + 13 <= records_.size(); r += 13) {
        float fx, fy;
        memcpy(&fx, &records_[r + 1], 4);
        memcpy(&fy, &records_[r + 5], 4);
        double x = fx, y = fy;
        place(x, y);
        fx = float(x);
        fy = float(y);
        memcpy(&records_[r + 1], &fx, 4);
        memcpy(&records_[r + 5], &fy, 4);
      }
      place(current_.x, current_.y);
      state = current_;
      if (!ok) return false;
      scale *= factor;
      angle += v[3];
    }
    current_ = state;
    return true;
  }

  std::vector<std::string> lines_;
  std::vector<TLabel> labels_;
  int mainLine_ = -1;
  std::vector<uint8_t> records_;
  TPoint current_{11, 0, 0, 0}, lastMove_{11, 0, 0, 0};
  bool hasMove_ = false, pending_ = false, stop_ = false;
  int64_t statements_ = 0;
};

}  // namespace

// The records of a SOR program fitted into the box as the vector painter
// fits a vector file.
static void DrawSorRecords(const std::vector<uint8_t>& records, const TBox& box, int background, bool label) {
  const int32_t count = static_cast<int32_t>(records.size() / 13);
  double xmin = 1e30, ymin = 1e30, xmax = -1e30, ymax = -1e30;
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* p = &records[size_t(i) * 13];
    const double x = F32(p + 1), y = F32(p + 5);
    xmin = std::min(xmin, x); xmax = std::max(xmax, x);
    ymin = std::min(ymin, y); ymax = std::max(ymax, y);
  }
  const double w = xmax - xmin, h = ymax - ymin;
  if (!(w > 0) || !(h > 0) || !std::isfinite(w) || !std::isfinite(h)) return;
  const int width = BoxWidth(box), height = BoxHeight(box);
  const TVectorFit fit = BeginVectorPreview(width, height, background, xmin, ymin, w, h);
  SetPenColor(274);
  MoveToScreenPoint(0, 0);
  DrawVectorRecords(fit, records.data(), count, 13, false);
  if (label) DrawSizeLabel(width, static_cast<float>(w), static_cast<float>(h));
}

static void DrawSorInBox(const std::string& name, const TBox& box, int background, bool label) {
  TPreviewFile file(name);
  if (!file.Open()) return;
  TSorPreviewReader reader;
  if (!reader.Read(file)) return;
  DrawSorRecords(reader.Records(), box, background, label);
}

void DrawSorPreview(const std::string& name, const TBox& box) { DrawSorInBox(name, box, 261, false); }

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
  DeleteFileIfExists(kPackedPreviewRelief);
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

void DrawStlThumbnail(const std::string& name, const TBox& box) {
  InBox(box, [&](const TBox& b) { DrawStlPreview(name, b, 15, true); });
}

void DrawSorThumbnail(const std::string& name, const TBox& box) {
  InBox(box, [&](const TBox& b) { DrawSorInBox(name, b, 15, true); });
}
