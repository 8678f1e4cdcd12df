// The interactive zoom commands: the zoom bar's pans, zoom by window on the
// prompt line and the zoom popup's choices, checked by the view they fit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "model/vector_store.h"
#include "platform/script.h"
#include "ui/graphic_controls.h"
#include "ui/zoom_commands.h"
#include "view/extents.h"
#include "view/view_screen.h"

using namespace viewtest;

namespace {

class ZoomCommands : public LayerFilesScreenTest {};

TEST_F(ZoomCommands, ZoomBarPansOneStepBeyondTheLayoutAtMost) {
  ViewSetFlag = 1;
  FitViewToExtent(Extent(0, 0, 50, 37.5f));
  int moves = 0;
  for (int i = 0; i < 6; ++i) {
    const bool inside = !(WorldXMax > LayoutArea.maxCorner.x);
    const double expected = WorldXMin + 0.7 * (double(WorldXMax) - WorldXMin);
    const float before = CurrentViewExtent.minCorner.x;
    ApplyZoomBarChoice("", 0, 6);  // pan right
    const bool moved = CurrentViewExtent.minCorner.x != before;
    EXPECT_EQ(moved, inside) << "step " << i;
    if (moved) { EXPECT_NEAR(float(CurrentViewExtent.minCorner.x), expected, 1e-3); }
    moves += moved;
  }
  EXPECT_GE(moves, 1);
  EXPECT_LT(moves, 6) << "panning stops beyond the layout area";
}

TEST_F(ZoomCommands, ZoomToWindowShowsTheRectangleGiven) {
  ViewSetFlag = 1;
  FitViewToExtent(Extent(0, 0, 100, 75));
  auto useScript = [](const std::string& text) {
    std::ofstream(std::getenv("TORV_SCRIPT")) << text;
    plat::ResetScript();
  };
  useScript("text 30 20\nkey Enter\ntext 10 5\nkey Enter\n");
  ZoomToWindow("", 0);
  ExpectViewExtent(10, 5, 30, 20);
  // Cancelled at either corner, or no area: the view stays.
  for (const char* script : {"key Esc\n", "text 1 2\nkey Enter\nkey Esc\n", "text 1 2\nkey Enter\ntext 1 9\nkey Enter\n"}) {
    useScript(script);
    ZoomToWindow("", 0);
    ExpectViewExtent(10, 5, 30, 20);
  }
  // The zoom bar's choice 10 is the same command.
  useScript("text 12 6\nkey Enter\ntext 20 10\nkey Enter\n");
  ApplyZoomBarChoice("", 0, 10);
  ExpectViewExtent(12, 6, 20, 10);
}

TEST_F(ZoomCommands, TheZoomPopupOffersAllTheStoreAndFixedLevels) {
  auto pick = [](int entry, int storeChoice) {
    // The list opens 52 pixels down below the zoom-out button of the view
    // bar, or at the mouse while the bar does not show that button.
    MouseX = 20;
    const int x = (ViewBarButtons[3].flag != 0 ? ViewBarButtons[3].x1 : MouseX) + 12;
    const int y = 52 + 4 + (entry - 1) * 21 + 10;
    std::ofstream(std::getenv("TORV_SCRIPT")) << "click " << x << " " << y << "\n";
    plat::ResetScript();
    ShowZoomPopup("", 0, storeChoice);
  };
  ViewSetFlag = 1;
  FitViewToExtent(Extent(0, 0, 100, 75));
  pick(9, 13);  // 500 %: a tenth of the layout area's size either side of its centre
  ExpectViewExtent(40, 30, 60, 45);
  pick(1, 13);  // everything: the drawing layers
  ExpectViewExtent(10, 20, 40, 30);
  WriteRecordFile(kVectorStoreName, {Rec(kRecContourStart, 2, 3), Rec(kRecLinePoint, 8, 7)});
  StoreHoldsData = true;
  pick(2, 255);  // the store is not offered to this caller
  ExpectViewExtent(10, 20, 40, 30);
  pick(2, 13);
  ExpectViewExtent(2, 3, 8, 7);
}

}  // namespace
