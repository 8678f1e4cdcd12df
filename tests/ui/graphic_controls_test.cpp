// The bars of the graphic window: every button lies at the rectangle of its
// layout and a scripted click on it gives its command; hidden buttons are
// out of reach; the layer button's colours; the zoom bar panel.
#include "ui/graphic_controls.h"

#include <cstring>
#include <vector>

#include "commands/bar_screen.h"
#include "commands/command_names.h"
#include "commands/state_icons.h"
#include "frame/param_file.h"
#include "app/program_start.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "view/cursor_tracking.h"
#include "view/view_transform.h"

namespace {

using uitest::TScreen;

// Palette entries 0..15 as the standard colours, so that face colours differ.
void LoadStandardColours() {
  static const uint8_t kStd[16][3] = {{0, 0, 0},       {0, 0, 128},   {0, 128, 0},   {0, 128, 128},
                                      {128, 0, 0},     {128, 0, 128}, {128, 128, 0}, {192, 192, 192},
                                      {128, 128, 128}, {0, 0, 255},   {0, 255, 0},   {0, 255, 255},
                                      {255, 0, 0},     {255, 0, 255}, {255, 255, 0}, {255, 255, 255}};
  LoadPaletteEntries(&kStd[0][0], 0, 16);
}

int SlotCentre(int slot) { return MaxX + 1 - 25 * slot + 12; }

struct TClickCase {
  int mode;
  int slot;        // click at the slot's centre, y 38
  uint16_t code;   // 0: nothing is hit
  bool given;
};

// Plain clicks, layout by layout; a code of 0 marks a slot where nothing lies.
const TClickCase kPlainClicks[] = {
    // Mode 1, the main drawing window.
    {1, 1, 7926, true}, {1, 3, 7926, true}, {1, 5, 1092, true}, {1, 6, 0, false}, {1, 7, 1113, true},
    {1, 8, 1110, true}, {1, 9, 1112, true}, {1, 10, 1111, true}, {1, 11, 1102, true}, {1, 12, 1105, true},
    {1, 13, 1106, true}, {1, 14, 1107, true}, {1, 15, 0, false}, {1, 16, 1306, true}, {1, 17, 40, true},
    {1, 18, 41, false}, {1, 19, 0, false}, {1, 20, 3189, true}, {1, 21, 3232, true}, {1, 22, 3113, true},
    {1, 23, 636, true}, {1, 24, 632, true}, {1, 25, 0, false},
    // Mode 2, most module windows.
    {2, 2, 7926, true}, {2, 5, 1092, true}, {2, 6, 1111, true}, {2, 7, 1102, true}, {2, 8, 1105, true},
    {2, 9, 1106, true}, {2, 10, 1107, true}, {2, 11, 0, false}, {2, 12, 0, false}, {2, 16, 0, false},
    {2, 20, 0, false}, {2, 24, 0, false},
    // Mode 3.
    {3, 1, 7926, true}, {3, 5, 1092, true}, {3, 6, 1111, true}, {3, 7, 1102, true}, {3, 8, 1105, true},
    {3, 9, 1106, true}, {3, 10, 1107, true}, {3, 11, 41, false}, {3, 12, 636, true}, {3, 13, 632, true},
    {3, 14, 0, false},
    // Mode 4: no layer button.
    {4, 2, 1092, true}, {4, 3, 1102, true}, {4, 4, 1105, true}, {4, 5, 1106, true}, {4, 6, 1107, true},
    {4, 7, 0, false},
    // Mode 5.
    {5, 3, 7926, true}, {5, 5, 1092, true}, {5, 6, 0, false}, {5, 7, 1110, true}, {5, 8, 1112, true},
    {5, 9, 1111, true}, {5, 10, 1102, true}, {5, 11, 1105, true}, {5, 12, 1106, true}, {5, 13, 1107, true},
    {5, 14, 0, false},
};

TBarClick ClickAt(TScreen& screen, int x, int y, const char* button = "left") {
  CommandWord = 0;
  CommandGiven = 0;
  CursorMode = 4;
  bartest::TakeScriptedPress(screen, x, y, button);
  EXPECT_EQ(MouseX, x);
  EXPECT_EQ(MouseY, y);
  return ClickGraphicControls(MouseX, MouseY, MouseButtonState);
}

class GraphicControls : public testing::Test {
 protected:
  void SetUp() override {
    keepVariant = VariantNumber;
    keepMode = IconBarMode;
    VariantNumber = 0;
    CurrentLayer = 0;
    LayerVisible[0] = 1;
    DisplayFlags = 0;
  }
  void TearDown() override {
    VariantNumber = keepVariant;
    IconBarMode = keepMode;
    CommandWord = 0;
    CommandGiven = 0;
    CursorMode = 4;
    DisplayFlags = 0;
  }
  int16_t keepVariant = 0;
  uint8_t keepMode = 1;
};

TEST_F(GraphicControls, EveryLayoutPutsEachButtonWhereAClickFindsIt) {
  TScreen screen;
  for (const TClickCase& c : kPlainClicks) {
    IconBarMode = uint8_t(c.mode);
    DrawGraphicIconBar();
    const TBarClick click = ClickAt(screen, SlotCentre(c.slot), 38);
    SCOPED_TRACE("mode " + std::to_string(c.mode) + " slot " + std::to_string(c.slot));
    EXPECT_EQ(click.hit, c.code != 0);
    EXPECT_EQ(CommandWord, c.code);
    EXPECT_EQ(click.given, c.given);
    EXPECT_EQ(CommandGiven, c.given ? 1 : 0);
  }
}

TEST_F(GraphicControls, TheTextAreaEndsLeftOfEachLayout) {
  TScreen screen;
  const int16_t expected[5] = {251, 251, 326, 225, 351};
  for (int mode = 1; mode <= 5; ++mode) {
    IconBarMode = uint8_t(mode);
    DrawGraphicIconBar();
    EXPECT_EQ(TopBarTextRight, MaxX + 1 - expected[mode - 1]) << "mode " << mode;
  }
}

TEST_F(GraphicControls, MiddleClicksGiveTheSecondCommand) {
  TScreen screen;
  IconBarMode = 1;
  DrawGraphicIconBar();
  const struct {
    int slot;
    uint16_t code;
  } kMiddle[] = {{2, 8916}, {4, 7901}, {5, 1109}, {12, 1105}, {13, 1114}, {14, 1114}, {16, 1094},
                 {17, 40},  {18, 45},  {20, 3190}, {22, 3114}, {24, 632}};
  for (const auto& m : kMiddle) {
    const TBarClick click = ClickAt(screen, SlotCentre(m.slot), 38, "middle");
    EXPECT_TRUE(click.given) << "slot " << m.slot;
    EXPECT_EQ(CommandWord, m.code) << "slot " << m.slot;
  }
  // The current-layer state icon at the right end of the menu bar.
  EXPECT_TRUE(ClickAt(screen, CurrentLayerIconX() + 12, 12).given);
  EXPECT_EQ(CommandWord, 945);
  ClickAt(screen, CurrentLayerIconX() + 12, 12, "middle");
  EXPECT_EQ(CommandWord, 946);
}

// The middle click of the normal-view button gives the relief graphic
// settings only with the variant flag on and in sub-mode 1.
TEST_F(GraphicControls, TheNormalViewMiddleClickFollowsTheVariantFlagAndSubMode) {
  TScreen screen;
  IconBarMode = 1;
  DrawGraphicIconBar();
  const uint8_t keepFlag = VariantOptionFlag;
  const int32_t keepCode = VariantCode;
  const struct {
    uint8_t flag;
    int16_t subMode;
    const char* button;
    uint16_t code;
  } kCases[] = {{1, 1, "middle", 1115}, {1, 0, "middle", 1105}, {1, 5, "middle", 1105},
                {0, 1, "middle", 1105}, {1, 1, "left", 1105},   {0, 0, "left", 1105}};
  for (const auto& c : kCases) {
    VariantOptionFlag = c.flag;
    CommandSubMode = c.subMode;
    const TBarClick click = ClickAt(screen, SlotCentre(12), 38, c.button);
    SCOPED_TRACE(std::string(c.button) + " flag " + std::to_string(c.flag) + " sub-mode " + std::to_string(c.subMode));
    EXPECT_TRUE(click.given);
    EXPECT_EQ(CommandWord, c.code);
  }
  // The variant set-up at start switches the flag on.
  VariantOptionFlag = 0;
  SetUpVariant("TORV", kBuildVariantCode);
  EXPECT_EQ(int(VariantOptionFlag), 1);
  CommandSubMode = 1;
  ClickAt(screen, SlotCentre(12), 38, "middle");
  EXPECT_EQ(CommandWord, 1115);
  CommandSubMode = 0;
  VariantOptionFlag = keepFlag;
  VariantCode = keepCode;
}

TEST_F(GraphicControls, HelpAndMarkingButtonsSwitchModesWithoutACommand) {
  TScreen screen;
  IconBarMode = 1;
  DrawGraphicIconBar();
  const TBarClick help = ClickAt(screen, SlotCentre(4), 38);
  EXPECT_TRUE(help.hit);
  EXPECT_TRUE(help.helpMode);
  EXPECT_FALSE(help.given);
  EXPECT_EQ(CursorMode, 254);
  EXPECT_EQ(int(HelpIconButton.flag), 1) << "drawn pressed";

  const TBarClick marking = ClickAt(screen, SlotCentre(18), 38);
  EXPECT_FALSE(marking.given);
  EXPECT_EQ(CommandWord, 41);
  EXPECT_EQ(int(ViewBarButtons[6].flag), 1);
  EXPECT_EQ(DisplayFlags & 16, 16);
}

TEST_F(GraphicControls, TheParameterButtonFollowsTheVariant) {
  TScreen screen;
  IconBarMode = 1;
  DrawGraphicIconBar();
  const struct {
    int16_t variant;
    uint16_t code;
  } kVariants[] = {{0, 1092}, {15, 1093}, {20, 1093}, {23, 1096}, {21, 1097}, {25, 1097}, {19, 1092}};
  for (const auto& v : kVariants) {
    VariantNumber = v.variant;
    ClickAt(screen, SlotCentre(5), 38);
    EXPECT_EQ(CommandWord, v.code) << "variant " << v.variant;
  }
}

TEST_F(GraphicControls, HiddenButtonsLieBeyondTheRightEdge) {
  TScreen screen;
  IconBarMode = 2;
  DrawGraphicIconBar();
  const int w = MaxX + 1;
  for (const TButtonRect* b : {&BackgroundIconButton, &SelectIconButton, &PanIconButton, &ExportIconButton,
                               &PrintIconButton, &SaveIconButton, &RedoIconButton, &UndoIconButton}) {
    EXPECT_EQ(int(b->x1), w);
    EXPECT_EQ(int(b->flag), 0);
  }
  for (int i = 5; i <= 7; ++i) EXPECT_EQ(ViewBarButtons[i].x2 - ViewBarButtons[i].x1, 0) << i;
  IconBarMode = 4;
  DrawGraphicIconBar();
  EXPECT_EQ(int(ViewBarButtons[0].x1), w);
  EXPECT_EQ(int(ViewBarButtons[0].x2), w);
  EXPECT_TRUE(ClickAt(screen, MaxX - 2, 38).helpMode) << "the help button is in slot 1";
}

TEST_F(GraphicControls, ModesOutsideOneToFiveDrawNothingAndKeepTheRecords) {
  TScreen screen;
  IconBarMode = 1;
  DrawGraphicIconBar();
  ViewBarButtons[1].flag = 1;
  const TButtonRect undo = UndoIconButton;
  const auto before = TScreen::Pixels();
  for (uint8_t mode : {uint8_t(0), uint8_t(6)}) {
    IconBarMode = mode;
    DrawGraphicIconBar();
    EXPECT_TRUE(TScreen::Pixels() == before);
    EXPECT_EQ(std::memcmp(&undo, &UndoIconButton, sizeof undo), 0);
    EXPECT_EQ(int(ViewBarButtons[1].flag), 0);
  }
}

TEST_F(GraphicControls, ButtonsShowTheirPicturesAndMarkers) {
  TScreen screen;
  IconBarMode = 1;
  DrawGraphicIconBar();
  // An icon button (x, 26)-(x + 25, 51) shows its picture at (x + 6, 30).
  EXPECT_EQ(bartest::PictureDiffers("UnDo", IconBarSlotX(24) + 6, 30), 0);
  EXPECT_EQ(bartest::PictureDiffers("MarkF2", IconBarSlotX(22) + 3, 43), 0) << "save has the marker";
  EXPECT_GT(bartest::PictureDiffers("MarkF2", IconBarSlotX(21) + 3, 43), 0) << "print has none";
  EXPECT_EQ(bartest::PictureDiffers("MarkF2", IconBarSlotX(3) + 3, 43), 0) << "the layer button has one in mode 1";
  // View button 4 (zoom in, code 11) draws its picture at the left, not
  // centred, with the marker unless the sub-mode is 5.
  EXPECT_GT(bartest::PictureDiffers("GrafikZoomP", IconBarSlotX(14) + 6, 30), 0);
  EXPECT_EQ(bartest::PictureDiffers("MarkF2", IconBarSlotX(14) + 3, 43), 0);
  CommandSubMode = 5;
  DrawGraphicIconBar();
  EXPECT_EQ(bartest::PictureDiffers("GrafikZoomP", IconBarSlotX(14) + 6, 30), 0);
  CommandSubMode = 0;
}

TEST_F(GraphicControls, TheLayerButtonShowsTheLayerColourOrGreyWhenHidden) {
  TScreen screen;
  LoadStandardColours();
  PaperColor = 261;
  IconBarMode = 2;
  CurrentLayer = 2;
  LayerVisible[2] = 1;
  DrawGraphicIconBar();
  const int x = ViewBarButtons[0].x1 + 4, y = ViewBarButtons[0].y1 + 4;
  EXPECT_EQ(TScreen::PixelAt(x, y) & 0xFFFFFF, plat::PixelFromColorRef(GetColorRef(MapLayerToColorIndex(2))) & 0xFFFFFF);
  LayerVisible[2] = 0;
  DrawLayerButton(2, 0);
  EXPECT_EQ(TScreen::PixelAt(x, y) & 0xFFFFFF, plat::PixelFromColorRef(GetColorRef(15)) & 0xFFFFFF);
  EXPECT_NE(GetColorRef(15), GetColorRef(MapLayerToColorIndex(2)));
  LayerVisible[2] = 1;
  CurrentLayer = 0;
}

// The zoom bar panel: the close button, the 3 x 3 grid and the four buttons
// below it, each clicked at its centre.
TEST_F(GraphicControls, TheZoomBarReturnsTheButtonClicked) {
  TScreen screen;
  const int w = MaxX + 1, c = w - 136;
  std::vector<std::pair<int, int>> centres = {{w - 18, 95}};
  for (int k = 1; k <= 9; ++k) centres.push_back({c + 40 * ((k - 1) % 3) + 20, 114 + 40 * ((k - 1) / 3) + 20});
  for (int i = 0; i < 4; ++i) centres.push_back({c + 60, 234 + 40 * i + 20});
  for (int i = 0; i < int(centres.size()); ++i) {
    CloseRequested = false;
    MouseButtonState = 0;
    MouseKeyFlags = 0;
    screen.UseScript("click " + std::to_string(centres[size_t(i)].first) + " " +
                     std::to_string(centres[size_t(i)].second) + "\n");
    const auto before = TScreen::Pixels();
    int16_t result = -5;
    RunZoomBarPanel(result);
    EXPECT_EQ(result, i);
    EXPECT_TRUE(TScreen::Pixels() == before) << "screen given back after button " << i;
  }
  CloseRequested = false;
  MouseButtonState = 0;
  MouseKeyFlags = 0;
  screen.UseScript("click 40 300\nclick " + std::to_string(c + 20) + " 250 right\n");
  int16_t result = -5;
  RunZoomBarPanel(result);
  EXPECT_EQ(result, 0) << "a click beside the buttons is ignored, the right button closes";
}

}  // namespace

namespace {

// --- the 3D view panel -------------------------------------------------------------------

// On the 1024 x 768 screen the panel spans x 336..674 with y0 = 259: the
// rotation grid starts at (551, 299), "OK" and "Esc" lie below it and the
// four projection buttons (kind 1 or more) across the top.
std::string ClickRotation(int button) {
  int x = 0, y = 0;
  if (button <= 9) {
    x = 551 + 40 * ((button - 1) % 3) + 20;
    y = 299 + 40 * ((button - 1) / 3) + 20;
  } else if (button == 10 || button == 11) {
    x = button == 10 ? 581 : 641;
    y = 439;
  } else {
    x = 342 + 83 * (button - 12) + 38;
    y = 230;
  }
  return "click " + std::to_string(x) + " " + std::to_string(y) + "\n";
}

struct TRotation {
  float a, b;
  int16_t kind;
  uint8_t style;
  uint8_t result;
};

TRotation RunRotation(std::initializer_list<int> buttons, TRotation start, uint8_t mode = 0,
                      const std::string& tail = "") {
  std::string script;
  for (int b : buttons) script += ClickRotation(b);
  TScreen screen(script + tail);
  plat::ResetScript();
  const auto before = TScreen::Pixels();
  TRotation r = start;
  RunViewRotationPanel(r.a, r.b, r.kind, mode, r.result, r.style);
  EXPECT_TRUE(TScreen::Pixels() == before) << "screen given back";
  return r;
}

TEST(ViewRotation, EachClickStepsAndTheAnglesStayInRange) {
  const struct {
    const char* what;
    std::initializer_list<int> buttons;
    float a0, b0;
    uint8_t mode;
    float a, b;
  } kCases[] = {
      {"right from 87 stops at 89.99", {6, 10}, 87, 0, 0, 89.99f, 0},
      {"down from 3 stops at 0", {8, 10}, 0, 3, 0, 0, 0},
      {"left from -87 stops at -89.99", {4, 10}, -87, 10, 0, -89.99f, 10},
      {"up-left steps both", {1, 1, 10}, 0, 0, 0, -10, 10},
      {"down-right steps both", {9, 10}, 20, 40, 0, 25, 35},
      {"fractions round at the first change", {2, 10}, 10.4f, 20.6f, 0, 10, 26},
      {"fractions stay without a change", {5, 10}, 10.4f, 20.6f, 0, 10.4f, 20.6f},
      {"the tilt stops at 89.99", {2, 10}, 0, 88, 0, 0, 89.99f},
      {"mode 1 tilts to 179.99", {2, 2, 10}, 0, 172, 1, 0, 179.99f},
  };
  for (const auto& c : kCases) {
    const TRotation r = RunRotation(c.buttons, TRotation{c.a0, c.b0, 0, 0, 0}, c.mode);
    EXPECT_EQ(r.result, 2) << c.what;
    EXPECT_FLOAT_EQ(r.a, c.a) << c.what;
    EXPECT_FLOAT_EQ(r.b, c.b) << c.what;
  }
}

TEST(ViewRotation, CancelKeepsTheAnglesAsChanged) {
  TRotation r = RunRotation({6, 11}, TRotation{0, 0, 0, 0, 0});
  EXPECT_EQ(r.result, 3);
  EXPECT_FLOAT_EQ(r.a, 5);
  r = RunRotation({}, TRotation{1, 2, 0, 0, 0}, 0, "click 200 200 right\n");
  EXPECT_EQ(r.result, 3);
  EXPECT_FLOAT_EQ(r.a, 1);
}

TEST(ViewRotation, TheStyleButtonCycles) {
  EXPECT_EQ(RunRotation({5, 10}, TRotation{0, 0, 0, 2, 0}).style, 3);
  EXPECT_EQ(RunRotation({5, 5, 10}, TRotation{0, 0, 0, 2, 0}).style, 0);
  EXPECT_EQ(RunRotation({5, 5, 5, 10}, TRotation{0, 0, 0, 7, 0}).style, 2) << "a value above 2 becomes 0";
}

TEST(ViewRotation, ProjectionKindButtonsOnlyWithAKind) {
  EXPECT_EQ(RunRotation({14, 10}, TRotation{0, 0, 1, 0, 0}).kind, 3);
  EXPECT_EQ(RunRotation({15, 12, 10}, TRotation{0, 0, 2, 0, 0}).kind, 1);
  const TRotation none = RunRotation({14, 10}, TRotation{0, 0, 0, 0, 0});
  EXPECT_EQ(none.kind, 0) << "no kind buttons without a kind";
  EXPECT_EQ(none.result, 2);
}

TEST(ViewRotation, ThePreviewProjection) {
  const struct {
    double x, y, z, a, b;
    int px, py;
  } kCases[] = {
      {0, 0, 0, 0, 0, 52, 72},     {100, 80, 0, 0, 0, 152, 152}, {100, 80, 28, 0, 0, 152, 152},
      {100, 0, 0, 90, 0, 62, 62},  {50, 40, 28, 30, 90, 102, 72}, {0, 80, 0, 0, 60, 52, 126},
  };
  for (const auto& c : kCases) {
    const TPreviewPoint p = RotatePreviewPoint(c.x, c.y, c.z, c.a, c.b);
    EXPECT_EQ(p.x, c.px) << c.x << " " << c.y << " " << c.z << " A " << c.a << " B " << c.b;
    EXPECT_EQ(p.y, c.py) << c.x << " " << c.y << " " << c.z << " A " << c.a << " B " << c.b;
  }
}

}  // namespace
