// Sections: bar layouts (the table of the five layouts); clicks (the order
// and commands of the input wait's bar buttons); drawing the bars; the zoom
// bar panel; the 3D view rotation panel with its box preview.
#include "ui/graphic_controls.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "frame/main_window.h"
#include "frame/math_constants.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/program_state.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "ui/panels.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"
#include "view/view_transform.h"

TButtonRect ViewBarButtons[kViewBarButtonCount]{};
TButtonRect HelpIconButton{};
TButtonRect ParameterIconButton{};
TButtonRect BackgroundIconButton{};
TButtonRect SelectIconButton{};
TButtonRect PanIconButton{};
TButtonRect ZoomAllIconButton{};
TButtonRect NewGraphicIconButton{};
TButtonRect ExportIconButton{};
TButtonRect PrintIconButton{};
TButtonRect SaveIconButton{};
TButtonRect RedoIconButton{};
TButtonRect UndoIconButton{};
uint8_t IconBarMode = 1;
int16_t TopBarTextRight = 0;

namespace {

constexpr int kBarTop = 26;
constexpr int kBarBottom = 51;
constexpr int kSlotWidth = 25;

int ClientWidth() { return MaxX + 1; }

// --- bar layouts ------------------------------------------------------------------------

enum TIconId : uint8_t { kHelp, kParameter, kBackground, kSelect, kPan, kZoomAll, kNewGraphic, kExport, kPrint, kSave,
                         kRedo, kUndo, kIconCount };

struct TIconButton {
  TButtonRect* button;
  const char* picture;
};
const TIconButton kIconButtons[kIconCount] = {
    {&HelpIconButton, "KHilfe1"},        {&ParameterIconButton, "Parameter"},  {&BackgroundIconButton, "GrafikHintG"},
    {&SelectIconButton, "GRAFIKAUSW"},   {&PanIconButton, "HANDVERSCH"},       {&ZoomAllIconButton, "GRAFIKALLES"},
    {&NewGraphicIconButton, "GRAFIKNEU"}, {&ExportIconButton, "EXPORTFR"},     {&PrintIconButton, "Printer16"},
    {&SaveIconButton, "SPEICHE"},        {&RedoIconButton, "ReDo"},            {&UndoIconButton, "UnDo"},
};

struct TIconPlace {
  uint8_t icon;  // TIconId
  uint8_t slot;
  bool marker;
};
struct TViewPlace {
  uint8_t button;  // 2..7
  uint8_t slot;
};
struct TBarLayout {
  bool layerButton;
  bool layerMarker;
  TIconPlace icons[12];
  int iconCount;
  TViewPlace views[6];
  int viewCount;
  bool clearSlot6;
  int16_t textRightFromW;  // TopBarTextRight = W - this
};

// Layouts of IconBarMode 1 to 5.
const TBarLayout kLayouts[5] = {
    {true, true,
     {{kHelp, 4, true}, {kParameter, 5, true}, {kBackground, 7, false}, {kSelect, 8, false}, {kPan, 9, false},
      {kZoomAll, 10, false}, {kNewGraphic, 11, false}, {kExport, 20, true}, {kPrint, 21, false}, {kSave, 22, true},
      {kRedo, 23, false}, {kUndo, 24, false}},
     12, {{2, 12}, {3, 13}, {4, 14}, {7, 16}, {5, 17}, {6, 18}}, 6, true, 251},
    {true, false, {{kHelp, 4, true}, {kParameter, 5, false}, {kZoomAll, 6, false}, {kNewGraphic, 7, false}}, 4,
     {{2, 8}, {3, 9}, {4, 10}}, 3, false, 251},
    {true, false,
     {{kHelp, 4, true}, {kParameter, 5, true}, {kZoomAll, 6, false}, {kNewGraphic, 7, false}, {kRedo, 12, false},
      {kUndo, 13, false}},
     6, {{2, 8}, {3, 9}, {4, 10}, {6, 11}}, 4, false, 326},
    {false, false, {{kHelp, 1, true}, {kParameter, 2, true}, {kNewGraphic, 3, false}}, 3, {{2, 4}, {3, 5}, {4, 6}}, 3,
     false, 225},
    {true, true,
     {{kHelp, 4, true}, {kParameter, 5, true}, {kSelect, 7, false}, {kPan, 8, false}, {kZoomAll, 9, false},
      {kNewGraphic, 10, false}},
     6, {{2, 11}, {3, 12}, {4, 13}}, 3, true, 351},
};

// Caption codes of the view buttons 1..7 (button 0 carries the layer text).
constexpr uint8_t kViewCaptionCodes[kViewBarButtonCount] = {0, 14, 13, 12, 11, 10, 7, 15};

void HideIconButton(TButtonRect& button) {
  const int16_t w = int16_t(ClientWidth());
  button = TButtonRect{0, w, kBarTop, int16_t(w + kSlotWidth), kBarBottom};
}

void HideViewButton(TButtonRect& button) {
  const int16_t w = int16_t(ClientWidth());
  button = TButtonRect{0, w, kBarTop, w, kBarBottom};
}

void RemoveCursor() {
  if (CursorShown) EraseMouseCursor();
}

// --- clicks ------------------------------------------------------------------------------

// Plain click of the parameter button by variant.
uint16_t ParameterCommand(bool middle) {
  switch (VariantNumber) {
    case 15: case 16: case 17: case 18: case 20: return 1093;
    case 23: return 1096;
    case 21: case 24: case 25: return 1097;
    default: return middle ? 1109 : 1092;
  }
}

// Middle click of the normal-view button: the relief graphic settings where
// the variant offers them and the wait runs in sub-mode 1.
uint16_t NormalViewMiddleCommand() { return VariantOptionFlag != 0 && CommandSubMode == 1 ? 1115 : 1105; }

enum TClickKind : uint8_t {
  kGive,         // the command is given
  kNormalView,   // given; the middle click by variant and sub-mode
  kGivePressed,  // given; the button is drawn pressed and flagged
  kMarkingMode,  // plain: marking mode without a command
  kHelpButton,   // plain: help mode; middle: the help index
  kParameterButton,
};

struct TClickTarget {
  TButtonRect* button;  // null: the current-layer state icon
  uint16_t plain;
  uint16_t middle;
  uint8_t kind;
  const char* picture;  // icon buttons drawn pressed
  bool marker;
};

// The order in which a click is tested; the first hit decides.
const TClickTarget kClickTargets[] = {
    {&ViewBarButtons[0], 7926, 8916, kGive, nullptr, false},
    {&ViewBarButtons[2], 1105, 1105, kNormalView, nullptr, false},
    {&ViewBarButtons[3], 1106, 1114, kGive, nullptr, false},
    {&ViewBarButtons[4], 1107, 1114, kGive, nullptr, false},
    {&ViewBarButtons[5], 40, 40, kGive, nullptr, false},
    {&ViewBarButtons[6], 41, 45, kMarkingMode, nullptr, false},
    {&ViewBarButtons[7], 1306, 1094, kGive, nullptr, false},
    {&UndoIconButton, 632, 632, kGive, nullptr, false},
    {&RedoIconButton, 636, 636, kGive, nullptr, false},
    {&SaveIconButton, 3113, 3114, kGive, nullptr, false},
    {&PrintIconButton, 3232, 3232, kGive, nullptr, false},
    {&ExportIconButton, 3189, 3190, kGive, nullptr, false},
    {nullptr, 945, 946, kGive, nullptr, false},
    {&BackgroundIconButton, 1113, 1113, kGivePressed, "GrafikHintG", false},
    {&SelectIconButton, 1110, 1110, kGivePressed, "GRAFIKAUSW", false},
    {&PanIconButton, 1112, 1112, kGivePressed, "HANDVERSCH", false},
    {&ZoomAllIconButton, 1111, 1111, kGivePressed, "GRAFIKALLES", false},
    {&NewGraphicIconButton, 1102, 1102, kGivePressed, "GRAFIKNEU", false},
    {&HelpIconButton, 0, 7901, kHelpButton, "KHilfe1", true},
    {&ParameterIconButton, 0, 0, kParameterButton, "Parameter", true},
};

bool TargetHit(const TClickTarget& target, int x, int y) {
  if (target.button != nullptr) return IsPointInButton(*target.button, x, y);
  const int left = CurrentLayerIconX();
  return x >= left && x <= left + 25 && y >= 0 && y <= 25;
}

void DrawIconPressed(const TClickTarget& target) {
  TButtonRect& button = *target.button;
  button.flag = 1;
  RemoveCursor();
  DrawIconButton(" ", target.picture, button, 1, 274, 260);
  if (target.marker) DrawButtonCornerMarker(button.x1);
}

}  // namespace

uint16_t IconBarSlotX(int n) { return uint16_t(ClientWidth() - kSlotWidth * n); }

void DrawViewBarButton(int button, bool enabled, uint8_t pressed) {
  if (button < 0 || button >= kViewBarButtonCount) return;
  RemoveCursor();
  const TButtonRect& rect = ViewBarButtons[button];
  if (rect.x2 - rect.x1 < 16) return;
  const std::string caption = button == 0 ? std::string("Layer: 0") : std::string(1, char(kViewCaptionCodes[button]));
  DrawIconButton(caption, "", rect, enabled ? pressed : 0, enabled ? 274 : 260, 260);
}

void SetViewBarButton(int x1, int x2, int button, bool enabled) {
  if (button < 0 || button >= kViewBarButtonCount) return;
  ViewBarButtons[button] = TButtonRect{1, int16_t(x1), kBarTop, int16_t(x2), kBarBottom};
  DrawViewBarButton(button, enabled, 0);
}

void ClearViewBarStrip(int x1, int x2) { FillColorRect(x1, kBarTop, x2, kBarBottom, GetColorRef(260)); }

void PlaceIconBarButton(int x, uint8_t flag, const char* picture, TButtonRect& button) {
  button = TButtonRect{flag, int16_t(x), kBarTop, int16_t(x + kSlotWidth), kBarBottom};
  DrawIconButton(" ", picture, button, 0, 274, 260);
}

void DrawLayerButton(int layer, uint8_t pressed) {
  const int n = layer < 0 ? 0 : (layer > kMaxLayerNumber ? kMaxLayerNumber : layer);
  const std::string text = GetMessageText(1511, -10) + " " + std::to_string(n);
  int16_t face = 15, textColor = 7;
  if (LayerVisible[n]) {
    face = MapLayerToColorIndex(n);
    textColor = ContrastTextColor(n);
  }
  RemoveCursor();
  DrawIconButton(text, "", ViewBarButtons[0], pressed, textColor, face);
  if (IconBarMode == 1) DrawButtonCornerMarker(ViewBarButtons[0].x1);
}

void DrawGraphicIconBar() {
  ViewBarButtons[1].flag = 0;
  if (IconBarMode < 1 || IconBarMode > 5) return;
  const TBarLayout& layout = kLayouts[IconBarMode - 1];
  const int w = ClientWidth();
  RemoveCursor();
  SetRopCopy();

  if (layout.layerButton) {
    ViewBarButtons[0] = TButtonRect{1, int16_t(w - 75), kBarTop, int16_t(w), kBarBottom};
    DrawLayerButton(CurrentLayer, 0);
    if (layout.layerMarker && IconBarMode != 1) DrawButtonCornerMarker(ViewBarButtons[0].x1);
  } else {
    HideViewButton(ViewBarButtons[0]);
  }

  bool placed[kIconCount] = {};
  for (int i = 0; i < layout.iconCount; ++i) {
    const TIconPlace& place = layout.icons[i];
    const TIconButton& icon = kIconButtons[place.icon];
    const int x = IconBarSlotX(place.slot);
    PlaceIconBarButton(x, 1, icon.picture, *icon.button);
    if (place.marker) DrawButtonCornerMarker(x);
    placed[place.icon] = true;
  }
  for (int i = 0; i < kIconCount; ++i)
    if (!placed[i]) HideIconButton(*kIconButtons[i].button);

  bool viewPlaced[kViewBarButtonCount] = {};
  for (int i = 0; i < layout.viewCount; ++i) {
    const TViewPlace& place = layout.views[i];
    const int x = IconBarSlotX(place.slot);
    SetViewBarButton(x, x + kSlotWidth, place.button, true);
    viewPlaced[place.button] = true;
  }
  for (int b = 1; b < kViewBarButtonCount; ++b)
    if (!viewPlaced[b]) HideViewButton(ViewBarButtons[b]);

  if (layout.clearSlot6) ClearViewBarStrip(IconBarSlotX(6), IconBarSlotX(6) + kSlotWidth);
  TopBarTextRight = int16_t(w - layout.textRightFromW);
}

TBarClick ClickGraphicControls(int x, int y, uint8_t buttons) {
  TBarClick click;
  const bool middle = buttons == 1;
  for (const TClickTarget& target : kClickTargets) {
    if (!TargetHit(target, x, y)) continue;
    click.hit = true;
    switch (target.kind) {
      case kGive:
        CommandWord = middle ? target.middle : target.plain;
        click.given = true;
        break;
      case kNormalView:
        CommandWord = middle ? NormalViewMiddleCommand() : target.plain;
        click.given = true;
        break;
      case kGivePressed:
        CommandWord = middle ? target.middle : target.plain;
        click.given = true;
        DrawIconPressed(target);
        break;
      case kMarkingMode:
        if (middle) {
          CommandWord = target.middle;
          click.given = true;
        } else {
          CommandWord = target.plain;
          ViewBarButtons[6].flag = 1;
          DrawViewBarButton(6, true, 1);
          WaitForMouseRelease();
          DisplayFlags = uint8_t(DisplayFlags | 16);
        }
        break;
      case kHelpButton:
        DrawIconPressed(target);
        if (middle) {
          CommandWord = target.middle;
          click.given = true;
        } else {
          RemoveCursor();
          CursorMode = 254;
          click.helpMode = true;
        }
        break;
      case kParameterButton:
        DrawIconPressed(target);
        CommandWord = ParameterCommand(middle);
        click.given = true;
        break;
    }
    if (click.given) CommandGiven = 1;
    return click;
  }
  return click;
}

// --- zoom bar panel -----------------------------------------------------------------------

namespace {

constexpr int kZoomButtons = 14;
// Caption codes of the 3 x 3 grid, row by row.
constexpr uint8_t kZoomGridCodes[9] = {16, 8, 9, 4, 14, 6, 1, 2, 3};
struct TZoomCommand {
  const char* caption;
  const char* picture;
};
const TZoomCommand kZoomCommands[4] = {
    {"ZOOM +", "GRAFIKZOOMP"}, {"ZOOM -", "GRAFIKZOOMM"}, {"ALLES", "GRAFIKAlles"}, {"NORM", "GRAFIKNorm"}};

void LayOutZoomBar(TButtonRect (&buttons)[kZoomButtons]) {
  const int w = ClientWidth();
  buttons[0] = TButtonRect{1, int16_t(w - 30), 84, int16_t(w - 7), 106};
  const int c = w - 136;
  for (int k = 1; k <= 9; ++k) {
    const int x1 = c + 40 * ((k - 1) % 3), y1 = 114 + 40 * ((k - 1) / 3);
    buttons[k] = TButtonRect{1, int16_t(x1), int16_t(y1), int16_t(x1 + 40), int16_t(y1 + 40)};
  }
  for (int i = 0; i < 4; ++i) {
    const int y1 = 234 + 40 * i;
    buttons[10 + i] = TButtonRect{1, int16_t(c), int16_t(y1), int16_t(c + 120), int16_t(y1 + 40)};
  }
}

}  // namespace

void RunZoomBarPanel(int16_t& result) {
  RemoveCursor();
  const uint8_t savedCursorMode = CursorMode;
  CursorMode = 4;
  DrawViewBarButton(1, true, 1);

  const int w = ClientWidth();
  TPopupFrame frame{};
  frame.left = int16_t(w - 149);
  frame.top = 80;
  frame.right = int16_t(w - 4);
  frame.bottom = 404;
  frame.lines = 21;
  OpenPopupFrame(frame);
  DrawGreyDialogPanel(frame.left, frame.top, frame.right, "Grafik", frame.bottom);

  TButtonRect buttons[kZoomButtons];
  LayOutZoomBar(buttons);
  DrawIconButton(" ", "Abbruch", buttons[0], 0, 274, 260);
  for (int k = 1; k <= 9; ++k) DrawCaptionButton(std::string(1, char(kZoomGridCodes[k - 1])), buttons[k], 260, 0, 274);
  for (int i = 0; i < 4; ++i) DrawIconButton(kZoomCommands[i].caption, kZoomCommands[i].picture, buttons[10 + i], 0, 274, 260);

  WaitForMouseRelease();
  result = -1;
  while (result < 0) {
    ButtonResult = 0;
    PollMouseCursor();
    const uint8_t state = CloseRequested ? 4 : (ButtonResult != 0 ? ButtonResult : MouseButtonState);
    if (state == 4) {
      result = 0;
    } else if (state == 2) {
      for (int i = 0; i < kZoomButtons && result < 0; ++i)
        if (IsPointInButton(buttons[i], MouseX, MouseY)) result = int16_t(i);
    }
    if (result < 0) WaitForWindowMessage();
  }

  RemoveCursor();
  CursorMode = savedCursorMode;
  ClosePopupFrame(frame);
  DrawViewBarButton(1, true, 0);
}

// --- 3D view rotation panel ------------------------------------------------------------------

namespace {

constexpr float kMaxTurn = 89.99f;

struct TPreviewFace {
  double corners[4][3];
  int16_t colour;
};
// The flat box 100 x 80 x 28: bottom, top, back side, right side, left side.
const TPreviewFace kPreviewFaces[5] = {
    {{{0, 0, 0}, {100, 0, 0}, {100, 80, 0}, {0, 80, 0}}, 9},
    {{{0, 0, 28}, {100, 0, 28}, {100, 80, 28}, {0, 80, 28}}, 7},
    {{{0, 80, 0}, {100, 80, 0}, {100, 80, 28}, {0, 80, 28}}, 3},
    {{{100, 0, 0}, {100, 80, 0}, {100, 80, 28}, {100, 0, 28}}, 8},
    {{{0, 0, 0}, {0, 80, 0}, {0, 80, 28}, {0, 0, 28}}, 8},
};

const char* const kRotationPictures[10] = {nullptr,        "DrehenLiOb", "DrehenOben",  "DrehenReOb", "DrehenLinks",
                                           nullptr,        "DrehenRechts", "DrehenLiUn", "DrehenUnten", "DrehenReUn"};
const char* const kProjectionPictures[5] = {nullptr, "ProjGitter", "ProjVektor", "ProjPunkt", "ProjFlaech"};
// Steps of A and B of the rotation buttons 1..9 (5 is the style button).
constexpr int kStepA[10] = {0, -5, 0, 5, -5, 0, 5, -5, 0, 5};
constexpr int kStepB[10] = {0, 5, 5, 5, 0, 0, 0, -5, -5, -5};

struct TRotationPanel {
  int x1 = 0, x2 = 0, y0 = 0, top = 0, bottom = 0;
  TButtonRect buttons[16]{};  // 1..15
  int count = 11;
};

int16_t StyleTextColour(uint8_t style) {
  switch (style) {
    case 1: return 274;
    case 2: return 3;
    case 3: return 12;
    default: return 260;
  }
}

void DrawStyleButton(const TRotationPanel& panel, uint8_t style, uint8_t pressed) {
  DrawCaptionButton("PosA", panel.buttons[5], 260, pressed, StyleTextColour(style));
}

void DrawRotationButton(const TRotationPanel& panel, int i, uint8_t pressed) {
  if (i == 5) return;
  if (i == 10) DrawIconButton("OK", "OK", panel.buttons[10], pressed, 274, 260);
  else if (i == 11) DrawIconButton("Esc", "Abbruch", panel.buttons[11], pressed, 274, 260);
  else DrawIconButton(" ", kRotationPictures[i], panel.buttons[i], pressed, 274, 260);
}

void DrawProjectionButton(const TRotationPanel& panel, int kind, bool pressed) {
  const TButtonRect& b = panel.buttons[11 + kind];
  DrawCaptionButton("", b, 260, pressed ? 1 : 0, 274);
  DrawResourceBitmap(b.x1 + 3, b.y1 + 3, 72, 48, kRopSrcCopy, kProjectionPictures[kind]);
}

std::string AngleText(float angle) {
  char text[32];
  std::snprintf(text, sizeof text, "%6.1f", double(angle));
  return std::string(text) + char(248);
}

void DrawAngleDisplay(const TRotationPanel& panel, float a, float b) {
  const int x = panel.x2 - 123, y = panel.y0 + 8;
  FillColorRect(x + 4, y, x + 96, y + 27, plat::Rgb(192, 192, 192));
  DrawResourceBitmap(x + 4, y - 3, 32, 16, kRopSrcCopy, "_DrehenWiXY");
  SetPenColor(274);
  DrawScreenText(x + 40, y, AngleText(a));
  DrawResourceBitmap(x + 4, y + 15, 32, 16, kRopSrcCopy, "_DrehenWiYZ");
  DrawScreenText(x + 40, y + 20, AngleText(b));
}

void DrawRotationPreview(const TRotationPanel& panel, float a, float b) {
  const int left = panel.x1 + 4, top = panel.y0 + 4, right = panel.x2 - 126, bottom = panel.bottom - 4;
  SetClipWindow(left, top, right, bottom);
  FillColorRect(0, 0, right - left, bottom - top, GetColorRef(261));
  SetRopCopy();
  const int faces[3] = {b >= 90 ? 0 : 1, 2, a >= 0 ? 4 : 3};
  for (int f : faces) {
    plat::TPoint points[5];
    for (int i = 0; i < 4; ++i) {
      const double* c = kPreviewFaces[f].corners[i];
      const TPreviewPoint p = RotatePreviewPoint(c[0], c[1], c[2], a, b);
      points[i] = plat::TPoint{p.x, p.y};
    }
    points[4] = points[0];
    SetFillBrush(0, kPreviewFaces[f].colour);
    SetPenColor(kPreviewFaces[f].colour);
    DrawPolygon(5, points);
  }
  SetClipWindow(0, 0, MaxX + 1, MaxY + 1);
}

void LayOutRotationPanel(TRotationPanel& panel, int16_t kind) {
  const int cx = (MaxX + 2) / 2, cy = (MaxY + 2) / 2;
  int x1 = cx - 169;
  panel.x1 = x1 < 0 ? 0 : x1 - x1 % 8;
  panel.x2 = panel.x1 + 338;
  panel.y0 = cy - 125;
  panel.top = kind >= 1 ? panel.y0 - 62 : panel.y0;
  panel.bottom = cy + 77;
  panel.count = kind >= 1 ? 15 : 11;
  const int gx = panel.x2 - 123, gy = panel.y0 + 40;
  for (int i = 1; i <= 9; ++i) {
    const int x = gx + 40 * ((i - 1) % 3), y = gy + 40 * ((i - 1) / 3);
    panel.buttons[i] = TButtonRect{1, int16_t(x), int16_t(y), int16_t(x + 40), int16_t(y + 40)};
  }
  panel.buttons[10] = TButtonRect{1, int16_t(gx), int16_t(panel.y0 + 160), int16_t(panel.x2 - 63), int16_t(panel.y0 + 200)};
  panel.buttons[11] =
      TButtonRect{1, int16_t(panel.x2 - 63), int16_t(panel.y0 + 160), int16_t(panel.x2 - 3), int16_t(panel.y0 + 200)};
  const int p = (338 - 30) / 4;
  for (int k = 1; k <= 4; ++k) {
    const int x = panel.x1 + 6 + (k - 1) * (p + 6);
    panel.buttons[11 + k] = TButtonRect{1, int16_t(x), int16_t(panel.top + 6), int16_t(x + p), int16_t(panel.top + 60)};
  }
}

}  // namespace

TPreviewPoint RotatePreviewPoint(double x, double y, double z, double angleA, double angleB) {
  const double u = x - 50, v = y - 40;
  const double r = std::sqrt(u * u + v * v);
  double phi;
  if (u == 0) phi = v < 0 ? -kPi / 2 : kPi / 2;
  else phi = std::atan(v / u) + (u < 0 ? kPi : 0);
  const double turned = phi - angleA * kPi / 180;
  const double tilt = angleB * kPi / 180;
  TPreviewPoint p;
  p.x = RoundNearest(r * std::cos(turned)) + 50 + 52;
  const int yTurned = RoundNearest(r * std::sin(turned)) + 40;
  p.y = RoundNearest((yTurned - 28) * std::cos(tilt) - z * std::sin(tilt)) + 100;
  return p;
}

void RunViewRotationPanel(float& angleA, float& angleB, int16_t& kind, uint8_t mode, uint8_t& result,
                          uint8_t& style) {
  const float maxTilt = mode == 1 ? 179.99f : kMaxTurn;
  RemoveCursor();
  const uint8_t savedCursorMode = CursorMode;
  CursorMode = 4;

  TRotationPanel panel;
  LayOutRotationPanel(panel, kind);
  TPopupFrame frame{};
  frame.left = int16_t(panel.x1);
  frame.right = int16_t(panel.x2);
  frame.top = int16_t(panel.top);
  frame.bottom = int16_t(panel.bottom);
  frame.lines = int16_t((panel.bottom - panel.top) / 16 + 1);
  OpenPopupFrame(frame);
  DrawGreyDialogPanel(panel.x1, panel.top, panel.x2, "", panel.bottom);
  if (kind >= 1) {
    DrawEtchedLine(panel.x1 + 4, panel.y0 + 2, panel.x2 - 4);
    for (int k = 1; k <= 4; ++k) DrawProjectionButton(panel, k, kind == k);
  }
  for (int i = 1; i <= 11; ++i) DrawRotationButton(panel, i, 0);
  DrawStyleButton(panel, style, 0);
  DrawAngleDisplay(panel, angleA, angleB);
  DrawRotationPreview(panel, angleA, angleB);
  result = 0;
  float shownA = angleA, shownB = angleB;
  WaitForMouseRelease();

  while (result == 0) {
    ButtonResult = 0;
    PollMouseCursor();
    const uint8_t buttons = CloseRequested ? 4 : (ButtonResult != 0 ? ButtonResult : MouseButtonState);
    if (buttons == 4) {
      result = 3;
      break;
    }
    int hit = 0;
    if (buttons == 2)
      for (int i = 1; i <= panel.count && hit == 0; ++i)
        if (IsPointInButton(panel.buttons[i], MouseX, MouseY)) hit = i;
    if (hit == 0) {
      WaitForWindowMessage();
      continue;
    }
    RemoveCursor();
    if (hit == 5) DrawStyleButton(panel, style, 1);
    else if (hit <= 11) DrawRotationButton(panel, hit, 1);
    if (hit <= 9 && hit != 5) {
      angleA += float(kStepA[hit]);
      angleB += float(kStepB[hit]);
    } else if (hit == 5) {
      style = style > 2 ? 0 : uint8_t(style + 1);
    } else if (hit == 10) {
      result = 2;
    } else if (hit == 11) {
      result = 3;
    } else {
      if (kind >= 1 && kind <= 4) DrawProjectionButton(panel, kind, false);
      kind = int16_t(hit - 11);
      DrawProjectionButton(panel, kind, true);
    }
    if (angleA != shownA || angleB != shownB) {
      angleA = std::clamp(float(RoundNearest(angleA)), -kMaxTurn, kMaxTurn);
      angleB = std::clamp(float(RoundNearest(angleB)), 0.0f, maxTilt);
      if (angleA != shownA || angleB != shownB) {
        shownA = angleA;
        shownB = angleB;
        DrawAngleDisplay(panel, angleA, angleB);
        DrawRotationPreview(panel, angleA, angleB);
        DelayMs(200);
      }
    }
    DelayMs(100);
    if (hit == 5 || hit >= 12) DrawStyleButton(panel, style, 0);
    else DrawRotationButton(panel, hit, 0);
    WaitForMouseRelease();
  }

  RemoveCursor();
  ClosePopupFrame(frame);
  CursorMode = savedCursorMode;
}
