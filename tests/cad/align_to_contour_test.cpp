// Command 703 through the 2D milling dispatcher: the selection's middle moves
// onto the middle of a picked reference contour in x and y, in x only, in y
// only, or not at all when the axes popup is cancelled.
#include "cad/align_to_contour.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/program_start.h"
#include "frame/data_slots.h"
#include "frame/param_file.h"
#include "geometry_test_support.h"
#include "model/layer_files.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "paths/machining_services_standin.h"
#include "ui/paced_script.h"
#include "ui/popup_list.h"
#include "ui/ui_screen.h"
#include "view/cursor_tracking.h"
#include "view/view_transform.h"

namespace {

using geomtest::ReadRaw;
using geomtest::Rec;
using geomtest::WriteRaw;

// World (0, 0) at the lower left of the graphic area, 2 pixels per mm; the
// square (20, 20) .. (30, 30) selected, the reference rectangle
// (50, 60) .. (70, 80) in the current layer.
class TAlignScreen : public uitest::TScreen {
 public:
  TAlignScreen() {
    InitDataFileSlots();
    LoadParamFile();
    uitest::UseTwoPixelWorldView();
    GridSnapOn = 0;
    SnapRadius = 0;
    HighestLayer = 1;
    CurrentLayer = 0;
    WriteRaw(BuildLayerBareName(0), {Rec(kRecContourStart, 50, 60), Rec(kRecLinePoint, 70, 60),
                                     Rec(kRecLinePoint, 70, 80), Rec(kRecLinePoint, 50, 80),
                                     Rec(kRecLinePoint, 50, 60)});
    WriteRaw(BuildLayerBareName(1), {});
    WriteRaw(kVectorStoreName, {Rec(kRecContourStart, 20, 20), Rec(kRecLinePoint, 30, 20), Rec(kRecLinePoint, 30, 30),
                                Rec(kRecLayer, 3, 0)});
    StoreHoldsData = 1;
    if (UndoSlots != nullptr) ReleaseUndoSlots();
    InitUndoSlots();
  }
  ~TAlignScreen() {
    CloseOpenDataFileSlots();
    OpenParamImage(0);
    StoreHoldsData = 0;
    HighestLayer = 0;
    CommandWord = 0;
  }
  static std::string At(double x, double y) {
    return std::to_string(DrawingArea.x1 + int(x * 2 + 0.5)) + " " + std::to_string(DrawingArea.y2 - int(y * 2 + 0.5));
  }
  // A click on entry k of the axes popup.
  static std::string PopupEntry(int k) {
    TPopupList list;
    FillAlignAxesList(list);
    const TPopupLayout l = LayOutPopupList(list, 21, 2);
    return "click " + std::to_string(l.left + 40) + " " + std::to_string(l.top + 28 + (k - 1) * 21 + 10) + " left\n";
  }
};

void ExpectShift(const std::vector<TVectorRecord>& r, double dx, double dy) {
  ASSERT_EQ(r.size(), 4u);
  EXPECT_NEAR(r[0].x, 20 + dx, 1e-3);
  EXPECT_NEAR(r[0].y, 20 + dy, 1e-3);
  EXPECT_NEAR(r[2].x, 30 + dx, 1e-3);
  EXPECT_NEAR(r[2].y, 30 + dy, 1e-3);
  EXPECT_EQ(float(r[3].x), 3) << "the layer record stays";
}

TEST(AlignToContour, Command703MovesTheSelectionByTheChosenAxes) {
  struct TCase {
    int entry;  // 0: Esc
    double dx, dy;
  } cases[] = {{1, 35, 45}, {2, 35, 0}, {3, 0, 45}, {0, 0, 0}};
  for (const TCase& c : cases) {
    TAlignScreen screen;
    // A click on the reference's lower edge, then the popup (laid out with
    // the screen's messages and size).
    const std::string choice = c.entry == 0 ? "key Esc\n" : TAlignScreen::PopupEntry(c.entry);
    uitest::NewScript(screen, "click " + TAlignScreen::At(60, 60) + " left\n" + choice);
    CommandWord = kAlignSelectionCommand;
    DispatchMilling2DCommand();
    SCOPED_TRACE(c.entry);
    ExpectShift(ReadRaw(kVectorStoreName), c.dx, c.dy);
    EXPECT_EQ(StoreHoldsData, 1);
    EXPECT_EQ(ReadRaw(BuildLayerBareName(0)).size(), 5u) << "the reference stays in its layer";
    EXPECT_EQ(CurrentLayer, 0);
  }
}

TEST(AlignToContour, NothingPickedOrCancelledLeavesTheSelection) {
  {
    // A click far from every contour: the selection comes back unchanged.
    TAlignScreen screen;
    uitest::NewScript(screen, "click " + TAlignScreen::At(200, 150) + " left\n");
    AlignSelectionToContour();
    ExpectShift(ReadRaw(kVectorStoreName), 0, 0);
    EXPECT_EQ(StoreHoldsData, 1);
  }
  {
    TAlignScreen screen;
    uitest::NewScript(screen, "click " + TAlignScreen::At(60, 60) + " right\n");
    AlignSelectionToContour();
    ExpectShift(ReadRaw(kVectorStoreName), 0, 0);
  }
}

}  // namespace
