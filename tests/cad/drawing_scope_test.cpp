// The all-layers switch of the whole-drawing commands: the commands started
// without a scope (command 400 and the layout functions) work on every layer
// when it is 1 and on the current layer otherwise.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "cad/drawing_transforms.h"
#include "cad/snapping.h"
#include "frame/data_slots.h"
#include "frame/param_file.h"
#include "geometry_test_support.h"
#include "model/layer_files.h"
#include "ui/paced_script.h"
#include "ui/ui_screen.h"

namespace {

using geomtest::ReadRaw;
using geomtest::Rec;
using geomtest::WriteRaw;

class TScopeScreen : public uitest::TScreen {
 public:
  TScopeScreen() {
    InitDataFileSlots();
    LoadParamFile();
    HighestLayer = 1;
    CurrentLayer = 0;
    CheckToolRecords = 0;
    Check3DPoints = 0;
    for (int n = 0; n <= 1; ++n)
      WriteRaw(BuildLayerBareName(n), {Rec(kRecContourStart, 10, 20), Rec(kRecLinePoint, 30, 40)});
    InvalidateSnapPointCache();
  }
  ~TScopeScreen() {
    TransformAllLayersFlag = 0;
    CloseOpenDataFileSlots();
    OpenParamImage(0);
    HighestLayer = 0;
  }
};

TEST(DrawingScope, TheSwitchChoosesTheLayersOfCommand400) {
  for (const uint8_t flag : {uint8_t(1), uint8_t(0), uint8_t(2)}) {
    TScopeScreen screen;
    TransformAllLayersFlag = flag;
    uitest::NewScript(screen, "text 200\nkey Enter\n");
    ScaleDrawingByPercent();
    SCOPED_TRACE(int(flag));
    EXPECT_NEAR(ReadRaw(BuildLayerBareName(0))[1].x, 60, 1e-4);
    EXPECT_NEAR(ReadRaw(BuildLayerBareName(1))[1].x, flag == 1 ? 60 : 30, 1e-4) << "only 1 means all layers";
  }
}

}  // namespace
