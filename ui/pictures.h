// Picture files and picture tables: cell matrices of grey values or palette
// indices from BMP, GIF and JPEG files, pictures drawn scaled into a frame or
// unscaled from 8-bit BMP files, named pictures taken out of the picture
// tables, and a drawing saved as BMP, JPEG or GIF.
//
// A picture table ("MVKBild.DAT", "MVKBiPrg.DAT", read only):
//   OFFSET        SIZE DESCRIPTION
//   0                7 not used
//   7                4 number of pictures n (int32)
//   11         44(n+1) directory; entry i: name (length byte + up to 39
//                      characters, capitals) at 0, data offset (int32) at 40;
//                      entry n holds only the end offset of the last picture
//   11 + 44 n          picture data; picture i runs from 11 + 44 n + offset(i)
//                      up to 11 + 44 n + offset(i + 1), a whole BMP or GIF file
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/panels.h"

constexpr const char* kPictureTableName = "MVKBild.DAT";
constexpr const char* kProgramPictureTableName = "MVKBiPrg.DAT";
constexpr int kPictureTableHeadSize = 11;
constexpr int kPictureTableEntrySize = 44;
constexpr int kPictureTableNameMax = 39;
constexpr int kBmp8HeadSize = 1078;

// A matrix of 16-bit cells, one row per picture row from the top.
struct TCellMatrix {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint16_t> cells;  // width * height
  uint16_t At(int x, int y) const { return cells[size_t(y) * size_t(width) + size_t(x)]; }
};
// Palette entries: red, green, blue, flags.
struct TPictureColor {
  uint8_t red = 0, green = 0, blue = 0, flags = 0;
};
using TPicturePalette = TPictureColor[256];

uint8_t GreyOfRgb(int red, int green, int blue);       // 0.3 r + 0.59 g + 0.11 b, rounded
uint16_t GreyOfRgbX100(int red, int green, int blue);  // 30 r + 59 g + 11 b

// Width and height 0 (and no cells) when the file cannot be read.
void LoadJpegGreyMatrix(const std::string& name, bool hundredfold, TCellMatrix& matrix);
void LoadGifGreyMatrix(const std::string& name, bool hundredfold, TCellMatrix& matrix);
void LoadBmpGreyMatrix(const std::string& name, bool hundredfold, TCellMatrix& matrix);
void LoadGifIndexMatrix(const std::string& name, TPicturePalette& palette, TCellMatrix& matrix);
void LoadBmpIndexMatrix(const std::string& name, TPicturePalette& palette, TCellMatrix& matrix);
// Loads the GIF and writes it as an 8-bit BMP file; false when either fails.
bool ConvertGifToBmpFile(const std::string& bmpName, const std::string& gifName);

// Draws a ".BMP", ".GIF" or ".JPG" file scaled down (never up) into the
// frame less the margin on every side; Esc can stop a large picture.
void DrawPictureFileInFrame(const std::string& name, const TBox& frame, int margin);
// Draws the named resource picture whole into the box at (x, y): a picture
// larger than width x height is scaled down keeping its proportions and
// centred; a smaller one is drawn unscaled at (x, y). False when the name is
// not found (nothing drawn).
bool DrawResourcePictureFitted(int x, int y, int width, int height, const std::string& name);
// Draws an uncompressed 8-bit BMP file unscaled with its top-left corner at
// (x, y), at most maxWidth columns and up to lastRow rows; transparent 256:
// the top-left pixel's index is left out and the picture faded by fade.
void DrawBmp8File(const std::string& name, int transparent, int x, int lastRow, int maxWidth, int y, float fade);
// Copies the named picture into a file of its own; the output file is
// created (empty) also when the name is not in the table. True when found
// and copied whole.
bool ExtractTablePicture(const std::string& table, const std::string& name, const std::string& output);
void DrawPictureFromTable(const std::string& table, const std::string& name, int x, float fade, int lastRow,
                          int maxWidth, int y);
void DrawProgramTablePicture(int x1, int y1, int x2, int margin, int pictureHeight, int pictureWidth, float fade,
                             const std::string& name, int y2);
// The picture of the program picture table, faded by scale, 15 pixels from
// the right and bottom edges of the box; nothing unless the box is wider than
// the picture plus 30 and taller than the picture plus 62.
void DrawProgramPictureInCorner(int x1, int y1, int x2, int y2, const std::string& name, int width, int height,
                                float scale);
// Draws a picture of a table into a rectangle with a margin (through a work file).
void DrawTablePictureInFrame(const std::string& table, const std::string& name, int x1, int y1, int x2, int y2,
                             int margin);
// When Esc waits: asks "Exit J/N?"; true for Yes.
bool AskExitOnEscape();

// A drawing made off screen, then saved by the extension of the file name:
// ".BMP" (a failed save sets error code 102), ".JPG" with the quality, ".GIF".
struct TDrawingBitmap {
  plat::TFrameBuffer pixels;
  plat::TFrameBuffer* savedTarget = nullptr;
  bool active = false;
};
void RedirectDrawingToBitmap(TDrawingBitmap& bitmap, int width, int height);
void SaveDrawingBitmapFile(const std::string& name, int quality, TDrawingBitmap& bitmap);
