#include "ui/buttons_controls.h"

#include "frame/quiet_files.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "ui/pictures.h"
#include "view/cursor_tracking.h"

namespace {

constexpr plat::TColorRef kButtonGrey = plat::Rgb(192, 192, 192);

// Pictures of the caption codes 1..16 (code 5 stays text).
constexpr TCaptionCode kCaptionCodes[16] = {
    {"MarkAbLi", true},     {"MarkAb", true},      {"MarkAbRe", true},    {"MarkLinks", true},
    {nullptr, false},       {"MarkRechts", true},  {"MarkSuch", true},    {"MarkHoch", true},
    {"MarkHochR", true},    {"MarkStPkt", true},   {"GrafikZoomP", false}, {"GrafikZoomM", false},
    {"GrafikNorm", false},  {"GrafikNeu", false},  {"FRSpur", false},     {"MarkSuch", true},
};

// Whether a caption code gets the corner marker in the current sub-mode.
bool CodeHasCornerMarker(uint8_t code) {
  switch (code) {
    case 7:
    case 15: return true;
    case 11:
    case 12: return CommandSubMode != 5;
    case 13: return CommandSubMode == 1;
    default: return false;
  }
}

// 16 x 16 arrow icons pointing up, black (0) on grey (15): a single
// triangle, and two stacked ones.
struct TArrowIcon {
  uint8_t pixels[16][16];
};
constexpr TArrowIcon MakeArrowIcon(bool twice) {
  TArrowIcon icon{};
  for (auto& row : icon.pixels)
    for (auto& p : row) p = 15;
  auto triangle = [&icon](int apex, int height) {
    for (int r = 0; r < height; ++r)
      for (int c = 7 - r; c <= 8 + r; ++c) icon.pixels[apex + r][c] = 0;
  };
  if (twice) {
    triangle(2, 5);
    triangle(8, 5);
  } else {
    triangle(4, 7);
  }
  return icon;
}
constexpr TArrowIcon kSingleArrow = MakeArrowIcon(false);
constexpr TArrowIcon kDoubleArrow = MakeArrowIcon(true);

void PlaceArrowButton(TButtonRect& button, int x1, int y1, int x2, int y2, const TArrowIcon& icon, bool mirrored) {
  button = TButtonRect{1, int16_t(x1), int16_t(y1), int16_t(x2), int16_t(y2)};
  DrawGreyButtonFace(button);
  DrawArrowIcon16(icon.pixels, 1, mirrored ? -1 : 1, true, false, x1 + 1, y1 + 1);
}

}  // namespace

bool IsPointInButton(const TButtonRect& button, int x, int y) {
  return x >= button.x1 && x <= button.x2 && y >= button.y1 && y <= button.y2;
}

const TCaptionCode* FindCaptionCode(uint8_t code) {
  if (code < 1 || code > 16 || kCaptionCodes[code - 1].picture == nullptr) return nullptr;
  return &kCaptionCodes[code - 1];
}

void DrawIconButton(const std::string& caption, const std::string& pictureName, TButtonRect rect, uint8_t pressed,
                    int16_t textColor, int16_t faceColor) {
  int x1 = rect.x1, y1 = rect.y1, x2 = rect.x2, y2 = rect.y2;
  if (x2 - x1 <= 0 || y2 - y1 <= 0) return;
  --x2;
  --y2;
  if (faceColor == 260) {
    FillColorRect(x1 + 1, y1 + 1, x2, y2, kButtonGrey);
  } else {
    SetFillBrush(0, faceColor);
    SetPenColor(faceColor);
    FillScreenRect(x1 + 1, y1 + 1, x2, y2);
  }
  SetRopCopy();
  if (pressed != 0) {
    DrawBevelFrame(x1, y1, x2, y2);
  } else {
    DrawRaisedEdge(x1, y1, x2, y2);
  }
  int cx = (x1 + x2) / 2;
  const int cy = (y1 + y2) / 2;
  if (caption.empty()) return;

  std::string text = caption;
  std::string picture = pictureName;
  const uint8_t code = uint8_t(caption[0]);
  const TCaptionCode* row = FindCaptionCode(code);
  if (row != nullptr) {
    picture = row->picture;
    text = " ";
    if (row->centred) x1 = cx - 14;
  }
  if (!picture.empty()) {
    DrawResourceBitmap(x1 + 6, cy - 8, 16, 16, kRopSrcCopy, picture);
    cx += 12;
  }
  SetPenColor(textColor);
  SetTextAlignment(1, 2);
  DrawTextAltFont(cx, cy - 4, text);
  SetTextAlignment(0, 2);
  if (row != nullptr && CodeHasCornerMarker(code)) DrawButtonCornerMarker(x1);
}

void DrawCaptionButton(const std::string& caption, const TButtonRect& rect, int16_t faceColor, uint8_t pressed,
                       int16_t textColor) {
  DrawIconButton(caption, "", rect, pressed, textColor, faceColor);
}

void DrawButtonCornerMarker(int x) { DrawResourceBitmap(x + 3, 43, 5, 5, kRopSrcCopy, "MarkF2"); }

void DrawGreyButtonFace(const TButtonRect& rect) {
  FillColorRect(rect.x1, rect.y1, rect.x2, rect.y2, kButtonGrey);
  SetRopCopy();
  SetPenColor(274);
  DrawFrameRect(rect.x1, rect.y1, rect.x2, rect.y2);
}

void DrawScrollBarButtons(int right, int top, int bottom, int size, TButtonRect& topDouble, TButtonRect& topSingle,
                          TButtonRect& bottomSingle, TButtonRect& bottomDouble) {
  const int d = size;
  SetRopCopy();
  SetPenColor(274);
  DrawFrameRect(right - d, top, right, bottom);
  PlaceArrowButton(topDouble, right - d, top, right, top + d, kDoubleArrow, false);
  PlaceArrowButton(topSingle, right - d, top + d, right, top + 2 * d, kSingleArrow, false);
  PlaceArrowButton(bottomSingle, right - d, bottom - 2 * d, right, bottom - d, kSingleArrow, true);
  PlaceArrowButton(bottomDouble, right - d, bottom - d, right, bottom, kDoubleArrow, true);
}

void DrawMakerLogo(int x1, int y1, int x2, float scale, int y2) {
  if (VariantNumber == 13)
    DrawProgramPictureInCorner(x1, y1, x2, y2, kWideMakerLogoPicture, 185, 44, scale);
  else
    DrawProgramPictureInCorner(x1, y1, x2, y2, kMakerLogoPicture, 97, 60, scale);
}
