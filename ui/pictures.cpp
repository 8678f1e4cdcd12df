#include "ui/pictures.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>

#include "frame/checked_files.h"
#include "frame/defaults.h"
#include "frame/main_window.h"
#include "platform/window.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "platform/files.h"
#include "platform/picture_codecs.h"

uint8_t GreyOfRgb(int red, int green, int blue) {
  return uint8_t(std::clamp(int(std::nearbyint(0.3 * red + 0.59 * green + 0.11 * blue)), 0, 255));
}

uint16_t GreyOfRgbX100(int red, int green, int blue) { return uint16_t(30 * red + 59 * green + 11 * blue); }

namespace {

std::string UpperExt(const std::string& name) {
  const size_t dot = name.rfind('.');
  std::string ext = dot == std::string::npos ? "" : name.substr(dot);
  for (char& c : ext) c = char(std::toupper(static_cast<unsigned char>(c)));
  return ext;
}

bool Decode(const std::string& name, const std::string& kind, plat::TDecodedPicture& picture) {
  const std::string host = plat::HostPathOf(name);
  if (kind == ".JPG") return plat::ReadJpegPicture(host, picture);
  if (kind == ".GIF") return plat::ReadGifPicture(host, picture);
  return plat::ReadBmpPicture(host, picture);
}

void GreyMatrixOf(const plat::TDecodedPicture& p, bool hundredfold, TCellMatrix& m) {
  m = TCellMatrix{};
  if (p.width <= 0 || p.height <= 0) return;
  m.width = p.width;
  m.height = p.height;
  m.cells.resize(size_t(p.width) * size_t(p.height));
  for (size_t i = 0; i < m.cells.size(); ++i) {
    int r, g, b;
    if (p.indexed) {
      const uint8_t k = p.pixels[i];
      r = p.palette[3 * size_t(k)];
      g = p.palette[3 * size_t(k) + 1];
      b = p.palette[3 * size_t(k) + 2];
    } else {
      r = p.pixels[3 * i];
      g = p.pixels[3 * i + 1];
      b = p.pixels[3 * i + 2];
    }
    if (p.sourceBits == 1) {
      // A set bit (palette entry 1) counts 255, a clear one 0.
      m.cells[i] = (r == p.palette[3] && g == p.palette[4] && b == p.palette[5] &&
                    !(r == p.palette[0] && g == p.palette[1] && b == p.palette[2])) ? 255 : 0;
    } else if (hundredfold && p.sourceBits >= 24) {
      m.cells[i] = GreyOfRgbX100(r, g, b);
    } else {
      m.cells[i] = GreyOfRgb(r, g, b);
    }
  }
}

void IndexMatrixOf(const plat::TDecodedPicture& p, TPicturePalette& palette, TCellMatrix& m) {
  if (!p.indexed) {
    GreyMatrixOf(p, false, m);
    return;
  }
  m = TCellMatrix{};
  m.width = p.width;
  m.height = p.height;
  m.cells.assign(p.pixels.begin(), p.pixels.end());
  for (int i = 0; i < 256; ++i)
    palette[i] = TPictureColor{p.palette[size_t(3 * i)], p.palette[size_t(3 * i + 1)], p.palette[size_t(3 * i + 2)], 0};
}

}  // namespace

void LoadJpegGreyMatrix(const std::string& name, bool hundredfold, TCellMatrix& matrix) {
  plat::TDecodedPicture p;
  Decode(name, ".JPG", p);
  GreyMatrixOf(p, hundredfold, matrix);
}

void LoadGifGreyMatrix(const std::string& name, bool hundredfold, TCellMatrix& matrix) {
  plat::TDecodedPicture p;
  Decode(name, ".GIF", p);
  GreyMatrixOf(p, hundredfold, matrix);
}

void LoadBmpGreyMatrix(const std::string& name, bool hundredfold, TCellMatrix& matrix) {
  plat::TDecodedPicture p;
  Decode(name, ".BMP", p);
  GreyMatrixOf(p, hundredfold, matrix);
}

void LoadGifIndexMatrix(const std::string& name, TPicturePalette& palette, TCellMatrix& matrix) {
  plat::TDecodedPicture p;
  Decode(name, ".GIF", p);
  IndexMatrixOf(p, palette, matrix);
}

void LoadBmpIndexMatrix(const std::string& name, TPicturePalette& palette, TCellMatrix& matrix) {
  plat::TDecodedPicture p;
  Decode(name, ".BMP", p);
  IndexMatrixOf(p, palette, matrix);
}

bool ConvertGifToBmpFile(const std::string& bmpName, const std::string& gifName) {
  plat::TDecodedPicture p;
  if (!Decode(gifName, ".GIF", p)) return false;
  return plat::WriteBmp8Picture(plat::HostPathOf(bmpName), p.width, p.height, p.pixels.data(), p.palette.data());
}

// --- drawing ---------------------------------------------------------------------------------

bool AskExitOnEscape() {
  if (!PollKeyPressed()) return false;
  if (KeyBuffer[0] != 27) return false;
  ReadNextKey();
  return RunMessageBox(GetProgramTitle(), "Exit J/N?", 4) == 1;  // Yes / No
}

bool DrawResourcePictureFitted(int x, int y, int width, int height, const std::string& name) {
  plat::TPixelBlock picture;
  if (!plat::LoadResourcePicture(name, picture)) return false;
  if (picture.width < 1 || picture.height < 1 || width < 1 || height < 1) return true;
  assert(picture.pixels.size() >= size_t(picture.width) * size_t(picture.height));
  const double scale = std::min({double(width) / picture.width, double(height) / picture.height, 1.0});
  plat::TPixelBlock part;
  part.width = std::max(1, int(std::lround(picture.width * scale)));
  part.height = std::max(1, int(std::lround(picture.height * scale)));
  part.pixels.resize(size_t(part.width) * size_t(part.height));
  // Output column k takes source column k (w - 1) / (outW - 1) rounded, so
  // the first and last columns (and rows) of the picture both show.
  auto source = [](int k, int out, int in) {
    return out < 2 ? 0 : int((int64_t(k) * (in - 1) * 2 + (out - 1)) / (2 * (out - 1)));
  };
  for (int r = 0; r < part.height; ++r) {
    const int sy = source(r, part.height, picture.height);
    for (int k = 0; k < part.width; ++k)
      part.pixels[size_t(r) * size_t(part.width) + size_t(k)] =
          picture.pixels[size_t(sy) * size_t(picture.width) + size_t(source(k, part.width, picture.width))];
  }
  if (DcState != kDcActive) return true;
  const bool scaled = scale < 1.0;
  const int dx = scaled ? (width - part.width) / 2 : 0, dy = scaled ? (height - part.height) / 2 : 0;
  plat::DcDrawBlock(plat::WindowDc(), x + dx, y + dy, part);
  return true;
}

void DrawPictureFileInFrame(const std::string& name, const TBox& frame, int margin) {
  const std::string kind = UpperExt(name);
  if (kind != ".BMP" && kind != ".GIF" && kind != ".JPG") return;
  TCellMatrix m;
  TPicturePalette palette{};
  bool paletteCells = false;
  plat::TDecodedPicture p;
  Decode(name, kind, p);
  if (kind == ".JPG") {
    GreyMatrixOf(p, false, m);
  } else {
    IndexMatrixOf(p, palette, m);
    paletteCells = p.indexed;
  }
  if (m.width < 1 || m.height < 1) return;
  const int availW = frame.x2 - frame.x1 - 2 * margin;
  const int availH = frame.y2 - frame.y1 - 2 * margin;
  if (availW < 1 || availH < 1) return;
  const double scale = std::min({double(availW) / m.width, double(availH) / m.height, 1.0});
  const int outW = std::max(1, int(std::nearbyint(m.width * scale)));
  std::vector<int> sourceColumn(static_cast<size_t>(outW));
  for (int k = 0; k < outW; ++k) sourceColumn[size_t(k)] = std::min(int(std::nearbyint(k / scale)), m.width - 1);
  SetClipWindow(frame.x1 + margin, frame.y1 + margin, frame.x2 - margin, frame.y2 - margin);
  TDibBlock row;
  AllocPixelRow(row, outW);
  // Output row r (from 1) takes the first source row i with i x scale >= r - 1,
  // so the picture's top row is drawn as well.
  int r = 1;
  for (int i = 0; i < m.height; ++i) {
    if (i * scale < r - 1) continue;
    for (int k = 0; k < outW; ++k) {
      const uint16_t cell = m.At(sourceColumn[size_t(k)], i);
      if (paletteCells) {
        const TPictureColor& c = palette[cell & 0xFF];
        SetPixelRowValue(row, k, uint32_t(c.blue) | uint32_t(c.green) << 8 | uint32_t(c.red) << 16);
      } else {
        SetPixelRowGray(row, k, uint8_t(std::min<int>(cell, 255)));
      }
    }
    DrawPixelRow(row, 0, r - 1);
    ++r;
    if (ErrorCode == 1 || AskExitOnEscape()) break;
  }
  FreePixelRow(row);
  SetClipWindow(0, 0, MaxX + 1, MaxY + 1);
}

namespace {

// Reads up to count bytes at position into buffer through the checked file
// layer; the number read.
uint32_t ReadAt(TFileRec& f, int64_t position, void* buffer, uint32_t count) {
  plat::Seek(f, position);
  if (plat::IoResult() != 0) return 0;
  return uint32_t(ReadBlockLongChecked(f, buffer, int32_t(count)));
}

}  // namespace

void DrawBmp8File(const std::string& name, int transparent, int x, int lastRow, int maxWidth, int y, float fade) {
  if (!plat::FileExists(name)) return;
  TFileRec f;
  AssignFileChecked(f, name);
  ResetFileChecked(f, 1, 0);
  if (f.fd < 0) return;
  const int64_t fileSize = plat::FileSize(f);
  uint8_t head[kBmp8HeadSize];
  const uint32_t got = ReadAt(f, 0, head, sizeof head);
  auto u32 = [&](int at) { uint32_t v; std::memcpy(&v, head + at, 4); return v; };
  auto u16 = [&](int at) { uint16_t v; std::memcpy(&v, head + at, 2); return v; };
  const int32_t width = int32_t(u32(18));
  const int32_t height = int32_t(u32(22));
  const uint32_t dataOffset = u32(10);
  const bool good = got == sizeof head && head[0] == 'B' && head[1] == 'M' && u16(26) == 1 && u16(28) == 8 &&
                    u32(30) == 0 && width > 0 && width < 8192 && height > 0 && dataOffset >= 54;
  const int64_t rowLength = (int64_t(width) + 3) / 4 * 4;
  // A head that claims more rows than the file holds is refused.
  if (!good || int64_t(dataOffset) + rowLength * height > fileSize) {
    CloseFileChecked(f);
    return;
  }
  const int columns = std::clamp(maxWidth, 0, int(rowLength));
  const int rows = std::clamp(lastRow, 0, int(height));
  uint8_t colors[256][3];
  for (int i = 0; i < 256; ++i) {
    const uint8_t* e = head + 54 + 4 * i;  // blue, green, red, reserved
    for (int c = 0; c < 3; ++c) {
      double v = e[c];
      if (transparent == 256 && fade != 1.0f && fade != 0.0f) v = std::nearbyint(v / fade + 255.0 - 256.0 / fade);
      colors[i][c] = uint8_t(std::clamp(int(v), 0, 255));
    }
  }
  std::vector<uint8_t> line(static_cast<size_t>(rowLength));
  int transparentIndex = -1;
  if (transparent == 256) {
    if (ReadAt(f, int64_t(dataOffset) + rowLength * (height - 1), line.data(), 1) == 1) transparentIndex = line[0];
  }
  TDibBlock block;
  for (int row = 0; row < rows; ++row) {
    const int64_t at = int64_t(dataOffset) + rowLength * (height - 1 - row);
    if (at < dataOffset) break;
    if (ReadAt(f, at, line.data(), uint32_t(columns)) != uint32_t(columns)) break;
    int k = 0;
    while (k < columns) {
      if (int(line[size_t(k)]) == transparentIndex) {
        ++k;
        continue;
      }
      int end = k;
      while (end < columns && int(line[size_t(end)]) != transparentIndex) ++end;
      AllocPixelRow(block, end - k);
      for (int i = k; i < end; ++i) {
        const uint8_t* c = colors[line[size_t(i)]];
        SetPixelRowValue(block, i - k, uint32_t(c[0]) | uint32_t(c[1]) << 8 | uint32_t(c[2]) << 16);
      }
      DrawPixelRow(block, x + k, y + row);
      k = end;
    }
  }
  FreePixelRow(block);
  CloseFileChecked(f);
}

bool ExtractTablePicture(const std::string& table, const std::string& name, const std::string& output) {
  std::string wanted = name.substr(0, kPictureTableNameMax);
  for (char& c : wanted) c = char(std::toupper(static_cast<unsigned char>(c)));
  TFileRec in;
  AssignFileChecked(in, table);
  ResetFileChecked(in, 1, 0);
  const bool opened = in.fd >= 0;
  int64_t begin = -1, end = -1;
  if (opened) {
    const int64_t fileSize = plat::FileSize(in);
    uint8_t head[kPictureTableHeadSize];
    int32_t n = -1;
    if (ReadAt(in, 0, head, sizeof head) == sizeof head) std::memcpy(&n, head + 7, 4);
    const int64_t dataStart = kPictureTableHeadSize + int64_t(kPictureTableEntrySize) * n;
    // The directory must lie within the file before any entry is trusted.
    if (n >= 0 && dataStart + kPictureTableEntrySize <= fileSize) {
      uint8_t entry[kPictureTableEntrySize];
      for (int32_t i = 0; i < n; ++i) {
        if (ReadAt(in, kPictureTableHeadSize + int64_t(kPictureTableEntrySize) * i, entry, sizeof entry) != sizeof entry)
          break;
        const int length = std::min<int>(entry[0], kPictureTableNameMax);
        if (length != int(wanted.size()) || std::memcmp(entry + 1, wanted.data(), size_t(length)) != 0) continue;
        uint8_t next[kPictureTableEntrySize];
        if (ReadAt(in, kPictureTableHeadSize + int64_t(kPictureTableEntrySize) * (i + 1), next, sizeof next) !=
            sizeof next)
          break;
        int32_t from, to;
        std::memcpy(&from, entry + 40, 4);
        std::memcpy(&to, next + 40, 4);
        if (from >= 0 && to >= from && dataStart + to <= fileSize) {
          begin = dataStart + from;
          end = dataStart + to;
        }
        break;
      }
    }
  }
  TFileRec out;
  AssignFileChecked(out, output);
  RewriteFileChecked(out, 1);
  bool copied = false;
  if (begin >= 0 && out.fd >= 0) {
    copied = true;
    std::vector<uint8_t> chunk(65535);
    for (int64_t at = begin; at < end && copied;) {
      const uint32_t count = uint32_t(std::min<int64_t>(65535, end - at));
      copied = ReadAt(in, at, chunk.data(), count) == count &&
               WriteBlockLongChecked(out, chunk.data(), int32_t(count)) == int32_t(count);
      at += count;
    }
  }
  if (out.fd >= 0) CloseFileChecked(out);
  if (opened) CloseFileChecked(in);
  return copied;
}

namespace {
std::string WorkFileFor(const std::string& name) {
  const size_t dot = name.rfind('.');
  return plat::ProgramFolder() + "_BildDat" + (dot == std::string::npos ? std::string() : name.substr(dot));
}
}  // namespace

void DrawPictureFromTable(const std::string& table, const std::string& name, int x, float fade, int lastRow,
                          int maxWidth, int y) {
  const std::string work = WorkFileFor(name);
  const std::string bmp = plat::ProgramFolder() + "_BildDat.BMP";
  const bool found = ExtractTablePicture(table, name, work);
  if (found && UpperExt(name) == ".GIF") ConvertGifToBmpFile(bmp, work);
  if (work != bmp) plat::DeleteFileByName(work);
  if (found) DrawBmp8File(bmp, 256, x, lastRow, maxWidth, y, fade);
  plat::DeleteFileByName(bmp);
}

void DrawProgramTablePicture(int x1, int y1, int x2, int margin, int pictureHeight, int pictureWidth, float fade,
                             const std::string& name, int y2) {
  const std::string table = plat::ProgramFolder() + kProgramPictureTableName;
  if (margin < 0) {
    if (x2 - x1 <= pictureWidth + 10 || y2 - y1 <= pictureHeight + 10) return;
    DrawPictureFromTable(table, name, x2 - 5 - pictureWidth, fade, pictureHeight, pictureWidth,
                         y2 - 5 - pictureHeight);
  } else {
    if (x2 - x1 <= pictureWidth + 2 * (margin + 15) || y2 - y1 <= pictureHeight + 62) return;
    DrawPictureFromTable(table, name, x2 - margin - 15 - pictureWidth, fade, pictureHeight, pictureWidth,
                         y2 - 15 - pictureHeight);
  }
}

void DrawProgramPictureInCorner(int x1, int y1, int x2, int y2, const std::string& name, int width, int height,
                                float scale) {
  // The logos are decoration: without the table nothing is drawn and no file error is reported.
  if (!plat::FileExists(plat::ProgramFolder() + kProgramPictureTableName)) return;
  DrawProgramTablePicture(x1, y1, x2, 0, height, width, scale, name, y2);
}

void DrawTablePictureInFrame(const std::string& table, const std::string& name, int x1, int y1, int x2, int y2,
                             int margin) {
  const std::string work = WorkFileFor(name);
  if (ExtractTablePicture(table, name, work) && plat::FileExists(work))
    DrawPictureFileInFrame(work, TBox{1, int16_t(x1), int16_t(y1), int16_t(x2), int16_t(y2)}, margin);
  plat::DeleteFileByName(work);
}

// --- a drawing saved as a picture -----------------------------------------------------------------

void RedirectDrawingToBitmap(TDrawingBitmap& bitmap, int width, int height) {
  plat::ResizeFrameBuffer(bitmap.pixels, std::max(width, 1), std::max(height, 1), 0xFFFFFF);
  plat::TDc& dc = plat::WindowDc();
  bitmap.savedTarget = dc.target;
  dc.target = &bitmap.pixels;
  plat::DcSetViewportOrigin(dc, 0, 0);
  plat::DcResetClip(dc);
  bitmap.active = true;
}

void SaveDrawingBitmapFile(const std::string& name, int quality, TDrawingBitmap& bitmap) {
  if (bitmap.active) {
    plat::TDc& dc = plat::WindowDc();
    dc.target = bitmap.savedTarget;
    plat::DcSetViewportOrigin(dc, 0, 0);
    plat::DcResetClip(dc);
    bitmap.active = false;
  }
  const plat::TFrameBuffer& fb = bitmap.pixels;
  std::vector<uint8_t> rgb(size_t(fb.width) * size_t(fb.height) * 3);
  for (size_t i = 0; i < fb.pixels.size(); ++i) {
    rgb[3 * i] = uint8_t(fb.pixels[i] >> 16);
    rgb[3 * i + 1] = uint8_t(fb.pixels[i] >> 8);
    rgb[3 * i + 2] = uint8_t(fb.pixels[i]);
  }
  const std::string kind = UpperExt(name);
  const std::string host = plat::HostPathOf(name);
  if (kind == ".BMP") {
    if (!plat::WriteBmp24Picture(host, fb.width, fb.height, rgb.data())) ErrorCode = 102;
  } else if (kind == ".JPG") {
    plat::WriteJpegPicture(host, fb.width, fb.height, rgb.data(), quality);
  } else if (kind == ".GIF") {
    plat::WriteGifPicture(host, fb.width, fb.height, rgb.data());
  }
  bitmap.pixels = plat::TFrameBuffer{};
}
