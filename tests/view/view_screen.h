// A headless main window with a small graphic window, the standard colours in
// the palette and a fresh work folder, for the view tests; and the golden
// picture comparison. Goldens are written by the tests themselves when
// TORV_RECORD_GOLDENS=1 is set (run once, then checked in).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "frame/defaults.h"
#include "frame/main_window.h"
#include "frame/param_file.h"
#include "app/program_start.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "model/vector_records.h"
#include "model/vector_store.h"
#include "platform/files.h"
#include "platform/draw.h"
#include "platform/window.h"
#include "support/program_runner.h"
#include "support/work_folder.h"
#include "view/cursor_tracking.h"
#include "view/graphic_window.h"
#include "view/redraw.h"
#include "view/view_transform.h"

namespace viewtest {

inline void ScriptEnded() { ExitProc = ScriptEnded; }

// The 16 standard colours and 16 more for layers 11 to 26.
inline void LoadTestPalette() {
  static const uint8_t kStd[16][3] = {{0, 0, 0},       {0, 0, 128},     {0, 128, 0},   {0, 128, 128},
                                      {128, 0, 0},     {128, 0, 128},   {128, 128, 0}, {192, 192, 192},
                                      {128, 128, 128}, {0, 0, 255},     {0, 255, 0},   {0, 255, 255},
                                      {255, 0, 0},     {255, 0, 255},   {255, 255, 0}, {255, 255, 255}};
  std::vector<uint8_t> rgb(32 * 3);
  for (int i = 0; i < 16; ++i) std::memcpy(&rgb[3 * i], kStd[i], 3);
  for (int i = 16; i < 32; ++i) {
    rgb[3 * i] = uint8_t(40 + i * 6);
    rgb[3 * i + 1] = uint8_t(200 - i * 5);
    rgb[3 * i + 2] = uint8_t(i * 7);
  }
  LoadPaletteEntries(rgb.data(), 0, 32);
}

class TViewScreen {
 public:
  // script: input lines fed to the window (see the headless harness).
  explicit TViewScreen(const std::string& script = "") {
    if (!script.empty()) {
      std::ofstream(folder_.Path() + "/script.txt") << script;
    }
    ExitProc = ScriptEnded;
    CloseRequested = false;
    ClearKeyBuffer();
    MouseButtonState = 0;
    MouseKeyFlags = 0;
    WheelDelta = 0;
    CreateMainWindow(kWindowStyleMaximize, 0);
    SetUpWindowDC();
    GetClientMaxXY(MaxX, MaxY);
    LoadTestPalette();
    SetPenStyle(0, 0xFFFF, 1);
    FillColorRect(0, 0, MaxX, MaxY, plat::Rgb(255, 255, 255));
    DrawingArea = TLayoutRect{1, 20, 20, 219, 169};
    TopRuler = TLayoutRect{};
    LeftRuler = TLayoutRect{};
    LayerBar = TLayoutRect{};
    MenuBarHeight = 51;
    SidePanelLeft = int16_t(MaxX - 168);
    PaperColor = 261;
    FitMargin = 10;
    FastDrawLimit = 30000;
    TrackGridX = TrackGridY = 0;
    GridSnapOn = 0;
    GridLinesOn = 0;
    DisplayFlags = 0;
    PointDisplayOn = 0;
    CursorMode = 4;
    CursorShown = false;
    HighestLayer = 3;
    CurrentLayer = 0;
    for (int n = 0; n <= kMaxLayerNumber; ++n) {
      LayerVisible[n] = 1;
      LayerRecordCounts[n] = 0;
    }
    LayoutArea = {{1, 0, 0}, {5, 100, 75}};
    std::memset(&LayoutDetails, 0, sizeof LayoutDetails);
    ViewSetFlag = 0;
    ViewKind = 254;
    ErrorCode = 0;
  }
  ~TViewScreen() {
    ExitProc = nullptr;
    ReleaseWindowDc();
    plat::CloseWindow();
    ClearKeyBuffer();
    MouseButtonState = 0;
    MouseKeyFlags = 0;
    ErrorCode = 0;
  }
  bool Entered() const { return folder_.Entered(); }

 private:
  torvtest::TWorkFolder folder_;
};

inline uint32_t PixelAt(int x, int y) {
  const plat::TFrameBuffer& fb = plat::WindowFrameBuffer();
  if (x < 0 || y < 0 || x >= fb.width || y >= fb.height) return 0xFFFFFFFF;
  return fb.pixels[size_t(y) * size_t(fb.width) + size_t(x)] & 0xFFFFFF;
}

inline uint32_t ColourOf(int colourNumber) {
  const plat::TColorRef c = GetColorRef(colourNumber);
  return uint32_t(plat::RedOf(c)) << 16 | uint32_t(plat::GreenOf(c)) << 8 | uint32_t(plat::BlueOf(c));
}

// Pixels of the colour inside the rectangle (both corners included).
inline int CountPixels(int x1, int y1, int x2, int y2, uint32_t rgb) {
  int n = 0;
  for (int y = y1; y <= y2; ++y)
    for (int x = x1; x <= x2; ++x) n += PixelAt(x, y) == rgb;
  return n;
}

// Compares the top-left width x height of the frame buffer with the golden
// picture tests/fixtures/view/<name>.png; at most maxDiffering pixels may
// differ (text edges drawn by another FreeType build).
inline void ExpectMatchesGolden(const std::string& name, int width, int height, int maxDiffering = 0) {
  const std::string path = std::string(TORV_SOURCE_DIR) + "/tests/fixtures/view/" + name + ".png";
  const plat::TFrameBuffer& fb = plat::WindowFrameBuffer();
  ASSERT_GE(fb.width, width);
  ASSERT_GE(fb.height, height);
  const char* record = std::getenv("TORV_RECORD_GOLDENS");
  if (record != nullptr && std::string(record) == "1") {
    plat::TFrameBuffer part;
    plat::ResizeFrameBuffer(part, width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        part.pixels[size_t(y) * size_t(width) + size_t(x)] = fb.pixels[size_t(y) * size_t(fb.width) + size_t(x)];
    ASSERT_TRUE(plat::WritePng(part, path));
  }
  const torvtest::TPicture pic = torvtest::ReadPng(path);
  ASSERT_TRUE(pic.error.empty()) << path << ": " << pic.error;
  ASSERT_EQ(pic.width, width);
  ASSERT_EQ(pic.height, height);
  int differing = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) differing += pic.At(x, y) != PixelAt(x, y);
  EXPECT_LE(differing, maxDiffering) << "pixels differing from " << name;
}

inline TExtentsPair Extent(float x1, float y1, float x2, float y2) { return {{1, x1, y1}, {5, x2, y2}}; }

inline TVectorRecord Rec(uint8_t type, float x, float y, float z = 0) { return TVectorRecord{type, x, y, z}; }

// Writes the vector records to the file of the program name.
inline void WriteRecordFile(const std::string& name, const std::vector<TVectorRecord>& records) {
  std::ofstream out(plat::HostPathOf(name), std::ios::binary);
  out.write(reinterpret_cast<const char*>(records.data()), std::streamsize(records.size() * sizeof(TVectorRecord)));
}

inline void ExpectViewExtent(float x1, float y1, float x2, float y2) {
  EXPECT_NEAR(float(CurrentViewExtent.minCorner.x), x1, 1e-3);
  EXPECT_NEAR(float(CurrentViewExtent.minCorner.y), y1, 1e-3);
  EXPECT_NEAR(float(CurrentViewExtent.maxCorner.x), x2, 1e-3);
  EXPECT_NEAR(float(CurrentViewExtent.maxCorner.y), y2, 1e-3);
}

// The view screen with two drawing layers (layer 0: (10, 20) .. (40, 30),
// layer 1 empty), tool layer 0: (-50, -60) .. (-20, -30) and the file
// "JOB.TMP" (head (0, 0) .. (7, 8)): (100, 100) .. (120, 130); no store.
class LayerFilesScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StoreHoldsData = false;
    HighestLayer = 1;
    WriteRecordFile(BuildLayerFileName(0), {Rec(kRecContourStart, 10, 20), Rec(kRecLinePoint, 40, 30)});
    WriteRecordFile(BuildLayerFileName(1), {});
    LayerRecordCounts[0] = 2;
    WriteRecordFile(BuildWLayerFileName(0), {Rec(kRecContourStart, -50, -60), Rec(kRecLinePoint, -20, -30)});
    WriteRecordFile("JOB.TMP", {Rec(kRecMinCorner, 0, 0), Rec(kRecMaxCorner, 7, 8), Rec(kRecContourStart, 100, 100),
                                Rec(kRecLinePoint, 120, 130)});
  }
  void TearDown() override { StoreHoldsData = false; }
  TViewScreen screen_;
};

}  // namespace viewtest
