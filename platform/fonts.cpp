// Text for the drawing context: code page 1252, font files through FreeType,
// glyph masks, and text drawn and measured with the Windows alignment rules.
//
// Sizes follow the Windows font request: the height is the cell height
// (ascent + descent by the font's Windows metrics), a negative height is the
// em size, the width is the average character width (the font is scaled
// horizontally to match it), and a fixed-pitch font advances exactly the
// requested width per character. The escapement turns the baseline
// counter-clockwise around the reference point.
#include "platform/fonts.h"

#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/draw_internal.h"

namespace plat {

TFontState Fonts = {
    {"/usr/share/fonts/truetype/liberation2", "/usr/share/fonts/truetype/liberation",
     "/usr/share/fonts/truetype/dejavu"},
    nullptr, false, {}};

uint32_t CodePointFromWin1252(uint8_t c) {
  // 0x80 .. 0x9F; 0 marks the five bytes without a character (kept as C1 controls).
  static const uint16_t kHigh[32] = {
      0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  if (c >= 0x80 && c <= 0x9F && kHigh[c - 0x80] != 0) return kHigh[c - 0x80];
  return c;
}

namespace {

constexpr int kMissingFontAdvance = 8;
constexpr int kDefaultCellHeight = 16;
constexpr int kMaxPixelSize = 1000;  // larger requests are drawn at this size
constexpr size_t kMaxInstances = 32;
constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_MONO;
constexpr FT_Render_Mode kRenderMode = FT_RENDER_MODE_MONO;

struct TFaceFiles {
  const char* face;  // lower case; null for the fallback row
  const char* regular;
  const char* bold;
};
constexpr TFaceFiles kFaceFiles[] = {
    {"courier new", "LiberationMono-Regular.ttf", "LiberationMono-Bold.ttf"},
    {"courier new", "DejaVuSansMono.ttf", "DejaVuSansMono-Bold.ttf"},
    {"arial", "LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf"},
    {"tahoma", "DejaVuSans.ttf", "DejaVuSans-Bold.ttf"},
    {nullptr, "DejaVuSans.ttf", "DejaVuSans-Bold.ttf"},
};

std::string Lower(const std::string& s) {
  std::string r = s;
  for (char& ch : r)
    if (ch >= 'A' && ch <= 'Z') ch = char(ch - 'A' + 'a');
  return r;
}

void DropInstances() {
  for (auto& inst : Fonts.instances)
    if (inst->face) FT_Done_Face(inst->face);
  Fonts.instances.clear();
}

FT_Face OpenFirstFace(const std::string& face, bool bold) {
  std::string want = Lower(face);
  for (int pass = 0; pass < 2; ++pass) {
    for (const TFaceFiles& row : kFaceFiles) {
      bool matches = pass == 0 ? (row.face && want == row.face) : row.face == nullptr;
      if (!matches) continue;
      const char* files[2] = {bold ? row.bold : row.regular, row.regular};
      for (const char* file : files) {
        for (const std::string& dir : Fonts.dirs) {
          std::string path = dir + "/" + file;
          FT_Face f = nullptr;
          if (FT_New_Face(Fonts.library, path.c_str(), 0, &f) != 0) continue;
          if (FT_IS_SCALABLE(f) && f->units_per_EM > 0) return f;
          FT_Done_Face(f);
        }
      }
    }
  }
  return nullptr;
}

void RotationOf(int escapement, double& c, double& s) {
  switch (escapement) {  // exact for the right angles
    case 0: c = 1; s = 0; return;
    case 900: c = 0; s = 1; return;
    case 1800: c = -1; s = 0; return;
    case 2700: c = 0; s = -1; return;
    default: {
      double a = escapement / 10.0 * 3.14159265358979323846 / 180.0;
      c = std::cos(a);
      s = std::sin(a);
    }
  }
}

// Scales the face for the request and fills in the cell metrics.
void SizeFont(TFontInstance& inst, const TFontSpec& font) {
  FT_Face f = inst.face;
  double upem = f->units_per_EM;
  double winAscent = 0, winDescent = 0, avgWidth = 0;
  const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF) {
    winAscent = os2->usWinAscent;
    winDescent = os2->usWinDescent;
    avgWidth = os2->xAvgCharWidth;
  }
  if (winAscent + winDescent <= 0) {
    winAscent = f->ascender;
    winDescent = -double(f->descender);
  }
  if (winAscent + winDescent <= 0) {
    winAscent = upem * 0.8;
    winDescent = upem * 0.2;
  }
  if (avgWidth <= 0) avgWidth = upem / 2;
  double cellUnits = winAscent + winDescent;

  int cell;
  double vppem;
  if (font.height < 0) {
    vppem = std::min<double>(-double(font.height), kMaxPixelSize);
    cell = std::max(1, int(std::lround(vppem * cellUnits / upem)));
  } else {
    cell = font.height == 0 ? kDefaultCellHeight : std::min(font.height, kMaxPixelSize);
    vppem = cell * upem / cellUnits;
  }
  double hppem = vppem;
  int width = std::clamp(font.width, 0, kMaxPixelSize);
  if (width > 0) hppem = width * upem / avgWidth;
  hppem = std::clamp(hppem, 1.0, double(kMaxPixelSize));
  vppem = std::clamp(vppem, 1.0, double(kMaxPixelSize));
  FT_Set_Char_Size(f, FT_F26Dot6(std::lround(hppem * 64)), FT_F26Dot6(std::lround(vppem * 64)), 72, 72);

  inst.ascent = std::clamp(int(std::lround(cell * winAscent / cellUnits)), 0, cell);
  inst.descent = cell - inst.ascent;
  if ((FT_IS_FIXED_WIDTH(f) || font.fixedPitch) && width > 0) inst.fixedAdvance = width;

  inst.escapement = ((font.escapement % 3600) + 3600) % 3600;
  double c, s;
  RotationOf(inst.escapement, c, s);
  inst.rotation.xx = FT_Fixed(std::lround(c * 65536));
  inst.rotation.xy = FT_Fixed(std::lround(-s * 65536));
  inst.rotation.yx = FT_Fixed(std::lround(s * 65536));
  inst.rotation.yy = FT_Fixed(std::lround(c * 65536));
  FT_Set_Transform(f, inst.escapement ? &inst.rotation : nullptr, nullptr);
}

}  // namespace

void ResetFontCache() { DropInstances(); }

TFontInstance* FontInstanceFor(const TFontSpec& font) {
  if (!Fonts.library && !Fonts.libraryFailed) {
    if (FT_Init_FreeType(&Fonts.library) != 0) {
      Fonts.library = nullptr;
      Fonts.libraryFailed = true;
    }
  }
  if (!Fonts.library) return nullptr;
  bool bold = font.weight >= 600;
  std::string key = Lower(font.face) + "|" + (bold ? "b" : "r") + "|" + std::to_string(font.height) + "|" +
                    std::to_string(font.width) + "|" + std::to_string(font.escapement) + "|" +
                    (font.fixedPitch ? "f" : "v");
  for (auto& inst : Fonts.instances)
    if (inst->key == key) return inst->face ? inst.get() : nullptr;
  if (Fonts.instances.size() >= kMaxInstances) DropInstances();

  auto inst = std::make_unique<TFontInstance>();
  inst->key = key;
  inst->face = OpenFirstFace(font.face, bold);
  if (inst->face) SizeFont(*inst, font);
  Fonts.instances.push_back(std::move(inst));
  TFontInstance* made = Fonts.instances.back().get();
  return made->face ? made : nullptr;
}

const TGlyph& GlyphOf(TFontInstance& font, uint32_t codePoint) {
  auto found = font.glyphs.find(codePoint);
  if (found != font.glyphs.end()) return found->second;
  TGlyph g;
  FT_Face f = font.face;
  FT_UInt index = FT_Get_Char_Index(f, codePoint);
  bool rotated = font.escapement != 0;
  // The advance always comes from the upright glyph so that measuring and
  // drawing agree at every angle.
  if (rotated) FT_Set_Transform(f, nullptr, nullptr);
  bool loaded = FT_Load_Glyph(f, index, kLoadFlags) == 0;
  if (loaded) g.advance = int((f->glyph->advance.x + 32) >> 6);
  if (rotated) {
    FT_Set_Transform(f, &font.rotation, nullptr);
    loaded = FT_Load_Glyph(f, index, kLoadFlags) == 0;
  }
  if (loaded && FT_Render_Glyph(f->glyph, kRenderMode) == 0) {
    const FT_Bitmap& bm = f->glyph->bitmap;
    bool gray = bm.pixel_mode == FT_PIXEL_MODE_GRAY, mono = bm.pixel_mode == FT_PIXEL_MODE_MONO;
    if ((gray || mono) && bm.buffer && bm.width > 0 && bm.rows > 0) {
      g.width = int(bm.width);
      g.height = int(bm.rows);
      g.left = f->glyph->bitmap_left;
      g.top = f->glyph->bitmap_top;
      g.ink.assign(size_t(g.width) * size_t(g.height), 0);
      size_t stride = size_t(bm.pitch < 0 ? -bm.pitch : bm.pitch);
      for (int r = 0; r < g.height; ++r) {
        const uint8_t* row = bm.buffer + stride * size_t(bm.pitch < 0 ? g.height - 1 - r : r);
        for (int c = 0; c < g.width; ++c) {
          bool set = gray ? row[c] >= 128 : ((row[c >> 3] >> (7 - (c & 7))) & 1) != 0;
          g.ink[size_t(r) * size_t(g.width) + size_t(c)] = set ? 1 : 0;
        }
      }
    }
  }
  if (font.fixedAdvance > 0 && g.advance != font.fixedAdvance) {
    // A proportional face standing in for the character-cell font: the
    // glyph is centred in its cell along the baseline.
    double shift = (font.fixedAdvance - g.advance) / 2.0, c, s;
    RotationOf(font.escapement, c, s);
    g.left += int(std::lround(shift * c));
    g.top += int(std::lround(shift * s));
    g.advance = font.fixedAdvance;
  }
  return font.glyphs.emplace(codePoint, std::move(g)).first->second;
}

// ---------------------------------------------------------------------------
// text in the drawing context

int DcMeasureText(const TDc& dc, const std::string& winText) {
  if (winText.empty()) return 0;
  int64_t width = 0;
  TFontInstance* f = FontInstanceFor(dc.font);
  if (!f) {
    width = int64_t(winText.size()) * kMissingFontAdvance;
  } else {
    for (unsigned char ch : winText) width += GlyphOf(*f, CodePointFromWin1252(ch)).advance;
  }
  return int(std::min<int64_t>(width, std::numeric_limits<int>::max()));
}

int DcFontHeight(const TDc& dc) {
  TFontInstance* f = FontInstanceFor(dc.font);
  if (f) return f->ascent + f->descent;
  if (dc.font.height > 0) return std::min(dc.font.height, kMaxPixelSize);
  if (dc.font.height < 0) return std::min(-dc.font.height, kMaxPixelSize);
  return kDefaultCellHeight;
}

void DcTextOut(TDc& dc, int x, int y, const std::string& winText) {
  if (winText.empty() || !DcHasTarget(dc)) return;
  TPainter p = DcPainter(dc, dc.rop2);
  if (p.clip.Empty()) return;
  TFontInstance* f = FontInstanceFor(dc.font);
  if (!f) return;

  std::vector<const TGlyph*> glyphs;
  glyphs.reserve(winText.size());
  int64_t width = 0;
  for (unsigned char ch : winText) {
    glyphs.push_back(&GlyphOf(*f, CodePointFromWin1252(ch)));
    width += glyphs.back()->advance;
  }

  // Baseline start relative to the reference point, along (u) and across (v) the baseline.
  int horizontal = dc.textAlign & 6, vertical = dc.textAlign & 24;
  int64_t u0 = horizontal == kAlignCenter ? -(width / 2) : horizontal == kAlignRight ? -width : 0;
  int64_t v0 = vertical == kAlignBaseline ? 0 : vertical == kAlignBottom ? -int64_t(f->descent) : f->ascent;
  double c, s;
  RotationOf(f->escapement, c, s);
  double ox = double(x) + dc.viewportOrigin.x + double(u0) * c + double(v0) * s;
  double oy = double(y) + dc.viewportOrigin.y - double(u0) * s + double(v0) * c;

  // The device box that may change: the glyphs and, when opaque, the cell.
  bool opaque = dc.bkMode == kBkOpaque;
  double bx0 = std::numeric_limits<double>::infinity(), by0 = bx0, bx1 = -bx0, by1 = -bx0;
  auto grow = [&](double px, double py) {
    bx0 = std::min(bx0, px);
    by0 = std::min(by0, py);
    bx1 = std::max(bx1, px);
    by1 = std::max(by1, py);
  };
  std::vector<std::pair<int64_t, int64_t>> origins(glyphs.size());
  int64_t pen = 0;
  for (size_t i = 0; i < glyphs.size(); ++i) {
    const TGlyph& g = *glyphs[i];
    int64_t gx = std::llround(ox + double(pen) * c), gy = std::llround(oy - double(pen) * s);
    origins[i] = {gx, gy};
    pen += g.advance;
    if (g.ink.empty()) continue;
    grow(double(gx + g.left), double(gy - g.top));
    grow(double(gx + g.left + g.width), double(gy - g.top + g.height));
  }
  if (opaque) {
    for (double u : {0.0, double(width)})
      for (double v : {-double(f->ascent), double(f->descent)}) grow(ox + u * c + v * s, oy - u * s + v * c);
  }
  if (!(bx0 < bx1) || !(by0 < by1)) return;
  int64_t mx0 = std::max(p.clip.left, int64_t(std::floor(std::max(bx0, double(p.clip.left)))));
  int64_t my0 = std::max(p.clip.top, int64_t(std::floor(std::max(by0, double(p.clip.top)))));
  int64_t mx1 = std::min(p.clip.right, int64_t(std::ceil(std::min(bx1, double(p.clip.right)))));
  int64_t my1 = std::min(p.clip.bottom, int64_t(std::ceil(std::min(by1, double(p.clip.bottom)))));
  if (mx0 >= mx1 || my0 >= my1) return;

  // One mask for the whole text, so overlapping glyphs and the background
  // write each pixel once (xor text drawn twice restores the pixels).
  const int64_t mw = mx1 - mx0, mh = my1 - my0;
  std::vector<uint8_t> mask(size_t(mw * mh), 0);
  for (size_t i = 0; i < glyphs.size(); ++i) {
    const TGlyph& g = *glyphs[i];
    int64_t gx0 = origins[i].first + g.left, gy0 = origins[i].second - g.top;
    int64_t cx0 = std::max(gx0, mx0), cx1 = std::min(gx0 + g.width, mx1);
    int64_t cy0 = std::max(gy0, my0), cy1 = std::min(gy0 + g.height, my1);
    for (int64_t py = cy0; py < cy1; ++py)
      for (int64_t px = cx0; px < cx1; ++px)
        if (g.ink[size_t((py - gy0) * g.width + (px - gx0))]) mask[size_t((py - my0) * mw + (px - mx0))] = 1;
  }
  if (opaque) {
    for (int64_t py = my0; py < my1; ++py) {
      for (int64_t px = mx0; px < mx1; ++px) {
        uint8_t& m = mask[size_t((py - my0) * mw + (px - mx0))];
        if (m) continue;
        double rx = double(px) + 0.5 - ox, ry = double(py) + 0.5 - oy;
        double u = rx * c - ry * s, v = rx * s + ry * c;
        if (u >= 0 && u < double(width) && v >= -double(f->ascent) && v < double(f->descent)) m = 2;
      }
    }
  }
  uint32_t ink = DcPixelOf(dc, dc.textColor), bk = DcPixelOf(dc, dc.bkColor);
  for (int64_t py = my0; py < my1; ++py) {
    for (int64_t px = mx0; px < mx1; ++px) {
      uint8_t m = mask[size_t((py - my0) * mw + (px - mx0))];
      if (m == 1) p.Plot(px, py, ink);
      else if (m == 2) p.Plot(px, py, bk);
    }
  }
}

}  // namespace plat
