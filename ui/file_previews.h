// File previews: a small picture of a file's content drawn into a box
// without loading the file into the work files. Vector and point files,
// drawings with their text lines, reliefs (16-bit, float, packed, LANG),
// projects, PCX, BMP, GIF and JPEG pictures, STL models and SOR engraving
// programs. The file list draws thumbnails, the file dialog its preview
// panel. STL and SOR files are read into memory for the picture only: no
// work file and no relief is written or renamed.
//
// A box is a TBox (flag unused, x1, y1, x2, y2). The preview forms draw in
// box-relative coordinates from (0, 0) to (x2 - x1, y2 - y1): the caller has
// set the drawing layer's clip window (which moves the origin) to the box.
// The thumbnail forms take window coordinates, clip to the box interior
// themselves, draw with a 1-pixel inset and give the whole window back.
//
// Every painter does nothing for a missing file and checks every size,
// count and offset it reads before it trusts it: a damaged file draws less,
// never more. Esc stops a long preview; what was drawn stays.
//
// Headers read here:
//   16-bit relief (".HRL", ".TMR", ".BAK"), 128 bytes:
//     OFFSET SIZE DESCRIPTION
//          2    2 rows          4    2 cells per row
//          6    2 lowest cell   8    2 highest cell (signed)
//     then rows of 16-bit cells
//   float relief (".HRS"): the same, lowest and highest height as floats at
//     34 and 38, rows of 4-byte floats
//   LANG relief (".RLF"), 128 bytes: rows at 9, cells at 11, lowest at 29,
//     highest at 31 (16-bit); rows of 16-bit cells padded to 8 cells
//   PCX, 128 bytes: bits per pixel at 3, xmin 4, ymin 6, xmax 8, ymax 10,
//     planes at 65; run-length data from 128
//   project (".PRO"): tag (first byte 2), 78-byte title, 200-byte info at 80
//   binary STL: 80-byte header, facet count (32-bit) at 80, then 50-byte
//     facets (normal, three vertices as floats from byte 12, attribute);
//     the count must fit in the file
#pragma once

#include <cstdint>
#include <string>

#include "platform/draw.h"
#include "ui/panels.h"

// Files of this size or more are not rendered as STL previews.
constexpr int64_t kStlPreviewLimit = 50000000;
// The preview's own scratch file for a decoded ".HRP" relief; erased after
// drawing, so the relief work copies are never touched.
constexpr const char* kPackedPreviewRelief = "HRPVIEW.TMP";

// --- thumbnail forms (window coordinates) ----------------------------------------------
void DrawVectorFileThumbnail(const std::string& name, const TBox& box);
void DrawDrawingThumbnail(const std::string& name, const TBox& box);
void DrawReliefThumbnail(const std::string& name, const TBox& box);
void DrawFloatReliefThumbnail(const std::string& name, const TBox& box);
void DrawPackedReliefThumbnail(const std::string& name, const TBox& box);
void DrawPcxThumbnail(const std::string& name, const TBox& box);
// kind 0 BMP, 1 GIF, 2 JPEG.
void DrawPictureThumbnail(const std::string& name, int kind, const TBox& box);
void DrawRlfThumbnail(const std::string& name, const TBox& box);
void DrawStlThumbnail(const std::string& name, const TBox& box);
void DrawSorThumbnail(const std::string& name, const TBox& box);
// The project's information lines, in window coordinates, without clipping.
void DrawProjectPreview(const std::string& name, const TBox& box);

// --- preview forms (box-relative; the clip window is the box) ------------------------------
// background: a colour number, or -1 for the light-blue gradient.
void DrawVectorFilePreview(const std::string& name, const TBox& box, int background, bool label);
void DrawDrawingPreview(const std::string& name, const TBox& box, int background, bool label);
void DrawReliefPreview(const std::string& name, const TBox& box);
void DrawFloatReliefPreview(const std::string& name, const TBox& box);
void DrawRlfPreview(const std::string& name, const TBox& box);
void DrawPcxPreview(const std::string& name, const TBox& box);
void DrawPicturePreview(const std::string& name, int kind, const TBox& box);
// An STL model, ASCII or binary, seen from above as a grid of grey heights;
// the size label (width and depth) at the bottom left.
void DrawStlPreview(const std::string& name, const TBox& box, int background, bool label);
// A SOR engraving program's contours on colour 261, without label.
void DrawSorPreview(const std::string& name, const TBox& box);

// --- stream painters into a device context -----------------------------------------------
// rect.right and rect.bottom are the width and height (left and top 0).
void DrawLg1StreamPreview(plat::TDc& dc, const plat::TRect& rect, const std::string& name);
void DrawRlfStreamPreview(plat::TDc& dc, const plat::TRect& rect, const std::string& name);
void DrawPreviewError(plat::TDc& dc);

// --- pieces shared with the file list and tests ----------------------------------------------
// "<w>mm x <h>mm" with three decimals and trailing zeros dropped, at most 25 characters.
std::string FormatSizeLabel(float width, float height);
// Up to four lines of the project information block (CR ends a line, LF
// is ignored, at most 50 characters a line).
int SplitProjectInfoLines(const std::string& info, std::string (&lines)[4]);
// The grey of a float or LANG relief height; equal bounds give grey 0.
int ReliefGrey(double value, double lowest, double highest, int levels);
