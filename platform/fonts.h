// Fonts for the drawing context: the Windows face names mapped to installed
// TrueType files, loaded through FreeType when first used, with their glyphs
// rendered once and kept as two-level masks, so text is crisp, the same on
// every run, and xor text restores exactly. The glyphs come from FreeType's
// monochrome rasteriser (a pixel is ink when its centre lies inside the
// outline, with dropout control): thresholding grey coverage at one half
// loses the thin stems of the narrow menu fonts.
//
//   "Courier New" -> Liberation Mono (else DejaVu Sans Mono)
//   "Arial"       -> Liberation Sans
//   "Tahoma"      -> DejaVu Sans
//   anything else, or a face whose files are missing -> DejaVu Sans
// Weight 600 and above takes the bold file. With no usable file at all, text
// is measured at 8 pixels a character and nothing is drawn.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/draw.h"

namespace plat {

// Unicode code point of a byte of the Windows code page 1252.
uint32_t CodePointFromWin1252(uint8_t c);

struct TGlyph {
  int left = 0;    // ink box relative to the pen position on the baseline:
  int top = 0;     // columns to the right, rows above
  int width = 0;
  int height = 0;
  int advance = 0;           // pixels along the baseline
  std::vector<uint8_t> ink;  // width * height, 1 = set, rows top-down
};

struct TFontInstance {
  std::string key;
  FT_Face face = nullptr;  // null: no font file could be used
  int ascent = 0;          // cell rows above and below the baseline
  int descent = 0;
  int fixedAdvance = 0;    // > 0: every character advances exactly this much
  int escapement = 0;      // tenths of a degree, 0 .. 3599
  FT_Matrix rotation{};
  std::unordered_map<uint32_t, TGlyph> glyphs;
};

struct TFontState {
  std::vector<std::string> dirs;  // folders searched for font files, in order
  FT_Library library = nullptr;
  bool libraryFailed = false;
  std::vector<std::unique_ptr<TFontInstance>> instances;
};
extern TFontState Fonts;

// Drops every face and glyph (needed after changing Fonts.dirs).
void ResetFontCache();
// The loaded font for a request; null when no font file can be used.
TFontInstance* FontInstanceFor(const TFontSpec& font);
// The glyph of a code point, rendered on first use.
const TGlyph& GlyphOf(TFontInstance& font, uint32_t codePoint);

}  // namespace plat
