// The catch menu run with scripted clicks: a caught point comes back as a
// left click at it, a failure as a right click with the acoustic signal,
// and the vector store survives the modes that pick a scratch object.
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "cad/catch_modes.h"
#include "cad/snapping.h"
#include "frame/param_file.h"
#include "model/layer_files.h"
#include "model/vector_store.h"
#include "platform/script.h"
#include "platform/system.h"
#include "ui/ui_screen.h"
#include "view/cursor_tracking.h"
#include "view/view_transform.h"

namespace {

TVectorRecord Rec(uint8_t type, float x, float y) { return TVectorRecord{type, x, y, 0.0f}; }

// World (0, 0) at the lower left of the graphic area, 2 pixels per mm; the
// menu opens at (100, 100).
class TCatchScreen : public uitest::TScreen {
 public:
  // The script is given after the layout exists (the clicks are placed by it).
  TCatchScreen() {
    uitest::UseTwoPixelWorldView();
    GridSnapOn = 0;
    GuideSnapOn = 0;
    HighestLayer = 0;
    CurrentLayer = 0;
    MouseX = 100;
    MouseY = 100;
    savedLevel_ = SignalLevel;
    SignalLevel = 2;  // one beep per signal
    InvalidateSnapPointCache();
  }
  ~TCatchScreen() {
    SignalLevel = savedLevel_;
    StoreHoldsData = 0;
    InvalidateSnapPointCache();
  }
  void Write(const std::string& name, const std::vector<TVectorRecord>& records) const {
    std::ofstream(Dir() / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(records.data()), std::streamsize(records.size() * sizeof(TVectorRecord)));
  }
  static int ScreenX(double x) { return DrawingArea.x1 + int(x * 2 + 0.5); }
  static int ScreenY(double y) { return DrawingArea.y2 - int(y * 2 + 0.5); }
  static std::string Click(double x, double y, const char* button = "left") {
    // The move is taken by the wait for the release before each prompt.
    const std::string at = std::to_string(ScreenX(x)) + " " + std::to_string(ScreenY(y));
    return "move " + at + "\nclick " + at + " " + button + "\n";
  }
  static std::string Entry(int k) { return "click 140 " + std::to_string(100 + 28 + (k - 1) * 21 + 10) + "\n"; }

 private:
  uint8_t savedLevel_ = 0;
};

std::string LayerName() { return "Layer0.TMP"; }

TEST(CatchMenu, EndPointComesBackAsALeftClickThere) {
  TCatchScreen screen;
  screen.UseScript(TCatchScreen::Entry(2) + TCatchScreen::Click(21, 22));
  screen.Write(LayerName(), {Rec(kRecContourStart, 20, 20), Rec(kRecLinePoint, 60, 20)});
  std::string typed = "99 99";
  MouseButtonState = 0;
  RunCatchModeMenu(TPointRecord{}, typed, -1);
  EXPECT_EQ(MouseButtonState, 2);
  EXPECT_TRUE(typed.empty());
  EXPECT_FLOAT_EQ(CursorPoint.x, 20.0f);
  EXPECT_FLOAT_EQ(CursorPoint.y, 20.0f);
}

TEST(CatchMenu, CrossingOfSegmentsOutsideBothFailsWithTheSignal) {
  // Lines y = x + 40 and y = 110 - x cross at (35, 75), beyond both vectors.
  const std::vector<TVectorRecord> vectors = {Rec(kRecContourStart, 10, 50), Rec(kRecLinePoint, 20, 60),
                                              Rec(kRecContourStart, 60, 50), Rec(kRecLinePoint, 70, 40)};
  {
    TCatchScreen screen;
    screen.UseScript(TCatchScreen::Entry(6) + TCatchScreen::Click(15, 55) + TCatchScreen::Click(65, 45));
    screen.Write(LayerName(), vectors);
    std::string typed;
    const int before = plat::BeepCount();
    RunCatchModeMenu(TPointRecord{}, typed, -1);
    EXPECT_EQ(MouseButtonState, 4);
    EXPECT_EQ(plat::BeepCount() - before, 1);
  }
  {
    TCatchScreen screen;
  screen.UseScript(TCatchScreen::Entry(5) + TCatchScreen::Click(15, 55) + TCatchScreen::Click(65, 45));
    screen.Write(LayerName(), vectors);
    std::string typed;
    const int before = plat::BeepCount();
    RunCatchModeMenu(TPointRecord{}, typed, -1);
    EXPECT_EQ(MouseButtonState, 2);
    EXPECT_EQ(plat::BeepCount(), before);
    EXPECT_NEAR(CursorPoint.x, 35.0f, 1e-3);
    EXPECT_NEAR(CursorPoint.y, 75.0f, 1e-3);
  }
}

TEST(CatchMenu, ObjectCentreLeavesTheStoreAsItWas) {
  TCatchScreen screen;
  screen.UseScript(TCatchScreen::Entry(4) + TCatchScreen::Click(30, 11));
  screen.Write(LayerName(), {Rec(kRecContourStart, 10, 10), Rec(kRecLinePoint, 50, 10), Rec(kRecLinePoint, 50, 30),
                             Rec(kRecLinePoint, 10, 30), Rec(kRecLinePoint, 10, 10)});
  const std::vector<TVectorRecord> selection = {Rec(kRecContourStart, 100, 100), Rec(kRecLinePoint, 120, 100)};
  screen.Write("VekAR1.TMP", selection);
  StoreHoldsData = 1;
  const std::string storeBefore = screen.ReadFile("VekAR1.TMP");
  std::string typed;
  RunCatchModeMenu(TPointRecord{}, typed, -1);
  EXPECT_EQ(MouseButtonState, 2);
  EXPECT_NEAR(CursorPoint.x, 30.0f, 1e-4);
  EXPECT_NEAR(CursorPoint.y, 20.0f, 1e-4);
  EXPECT_EQ(screen.ReadFile("VekAR1.TMP"), storeBefore);
  EXPECT_EQ(StoreHoldsData, 1);
}

TEST(CatchMenu, NothingPickedFailsAndTheStoreComesBack) {
  TCatchScreen screen;
  screen.UseScript(TCatchScreen::Entry(10) + TCatchScreen::Click(200, 200));
  screen.Write(LayerName(), {Rec(kRecContourStart, 10, 10), Rec(kRecLinePoint, 50, 10)});
  screen.Write("VekAR1.TMP", {Rec(kRecContourStart, 1, 2)});
  StoreHoldsData = 1;
  const std::string storeBefore = screen.ReadFile("VekAR1.TMP");
  std::string typed = "5";
  const int before = plat::BeepCount();
  RunCatchModeMenu(TPointRecord{}, typed, -1);
  EXPECT_EQ(MouseButtonState, 4);
  EXPECT_EQ(plat::BeepCount() - before, 1);
  EXPECT_EQ(typed, "5");
  EXPECT_EQ(screen.ReadFile("VekAR1.TMP"), storeBefore);
}

TEST(CatchMenu, CancelledMenuChangesNothing) {
  TCatchScreen screen;
  screen.UseScript("key Esc\n");
  MouseButtonState = 0;
  std::string typed = "1 2";
  const int before = plat::BeepCount();
  RunCatchModeMenu(TPointRecord{}, typed, -1);
  EXPECT_EQ(typed, "1 2");
  EXPECT_EQ(MouseButtonState, 0);
  EXPECT_EQ(plat::BeepCount(), before);
}

TEST(CatchMenu, TypedInputEntryCatchesNothing) {
  TCatchScreen screen;
  screen.UseScript(TCatchScreen::Entry(1));
  MouseButtonState = 2;
  std::string typed = "1 2";
  RunCatchModeMenu(TPointRecord{}, typed, -1);
  EXPECT_EQ(MouseButtonState, 0);
  EXPECT_EQ(typed, "1 2");
}

TEST(CatchMenu, MainDirectionWithATypedDistance) {
  TCatchScreen screen;
  // The cursor 0.5 mm right of the end point (60, 20): a vertical direction
  // through it; 15 typed gives the point 15 mm above it.
  const std::string at = std::to_string(TCatchScreen::ScreenX(60.5)) + " " + std::to_string(TCatchScreen::ScreenY(50));
  screen.UseScript(TCatchScreen::Entry(11) + "move " + at + "\nmove " + at + "\ntext 15\nkey Enter\n");
  screen.Write(LayerName(), {Rec(kRecContourStart, 20, 20), Rec(kRecLinePoint, 60, 20)});
  std::string typed;
  RunCatchModeMenu(TPointRecord{}, typed, -1);
  EXPECT_EQ(MouseButtonState, 2);
  EXPECT_NEAR(CursorPoint.x, 60.0f, 1e-4);
  EXPECT_NEAR(CursorPoint.y, 35.0f, 1e-4);
}

TEST(CatchMenu, StoreSearchedUnderItsWorkName) {
  // Selector -2 with a selection: the store is searched and back afterwards.
  TCatchScreen screen;
  screen.UseScript(TCatchScreen::Entry(2) + TCatchScreen::Click(41, 41));
  screen.Write("VekAR1.TMP", {Rec(kRecContourStart, 40, 40), Rec(kRecLinePoint, 80, 40)});
  StoreHoldsData = 1;
  std::string typed;
  RunCatchModeMenu(TPointRecord{}, typed, -2);
  EXPECT_FLOAT_EQ(CursorPoint.x, 40.0f);
  EXPECT_EQ(StoreHoldsData, 1);
  EXPECT_EQ(screen.ReadFile("VekAR1.TMP").size(), 26u);
}

}  // namespace
