// The screen of the construction tests: world (0, 0) at the lower left of
// the graphic area, 2 pixels per mm, no snapping, layer 0 current; clicks and
// typed values as script lines and the records they leave.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "cad/construction_frame.h"
#include "cad/snapping.h"
#include "frame/param_file.h"
#include "model/layer_files.h"
#include "model/vector_store.h"
#include "platform/system.h"
#include "ui/ui_screen.h"
#include "view/cursor_tracking.h"
#include "view/view_transform.h"

namespace cadtest {


inline TVectorRecord Rec(uint8_t type, float x, float y) { return TVectorRecord{type, x, y, 0.0f}; }

// World (0, 0) at the lower left of the graphic area, 2 pixels per mm, no
// snapping; layer 0 is the current layer.
class TLineScreen : public uitest::TScreen {
 public:
  TLineScreen() {
    uitest::UseTwoPixelWorldView();
    GridSnapOn = 0;
    GuideSnapOn = 0;
    SnapRadius = 0;
    HighestLayer = 0;
    CurrentLayer = 0;
    StoreHoldsData = 0;
    savedLevel_ = SignalLevel;
    SignalLevel = 2;  // one beep per signal
    Write(GetCurrentLayerFileName(), {});
    InvalidateSnapPointCache();
  }
  ~TLineScreen() {
    SignalLevel = savedLevel_;
    StoreHoldsData = 0;
    InvalidateSnapPointCache();
  }
  void Write(const std::string& name, const std::vector<TVectorRecord>& records) const {
    std::ofstream(Dir() / BareName(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(records.data()), std::streamsize(records.size() * sizeof(TVectorRecord)));
  }
  std::vector<TVectorRecord> Read(const std::string& name) const {
    const std::string bytes = ReadFile(BareName(name));
    std::vector<TVectorRecord> out(bytes.size() / sizeof(TVectorRecord));
    if (!out.empty()) std::memcpy(out.data(), bytes.data(), out.size() * sizeof(TVectorRecord));
    return out;
  }
  std::vector<TVectorRecord> Layer() const { return Read(GetCurrentLayerFileName()); }
  static std::string BareName(const std::string& name) {
    const size_t slash = name.find_last_of("\\/");
    return slash == std::string::npos ? name : name.substr(slash + 1);
  }
  static int ScreenX(double x) { return DrawingArea.x1 + int(std::lround(x * 2)); }
  static int ScreenY(double y) { return DrawingArea.y2 - int(std::lround(y * 2)); }
  // World point of a click at (x, y) after pixel rounding.
  static double WorldX(double x) { return (ScreenX(x) - DrawingArea.x1) / 2.0; }
  static double WorldY(double y) { return (DrawingArea.y2 - ScreenY(y)) / 2.0; }
  static std::string Click(double x, double y, const char* button = "left") {
    const std::string at = std::to_string(ScreenX(x)) + " " + std::to_string(ScreenY(y));
    return "move " + at + "\nclick " + at + " " + button + "\n";
  }
  // Typed numbers and Enter. The wait is taken by the wait for the mouse
  // release that begins a run, so that no typed character is lost to the
  // key buffer being emptied at the prompt.
  static std::string Typed(const char* numbers) { return std::string("wait 1\ntext ") + numbers + "\nkey Enter\n"; }
  void Run(int code) const { RunConstructionCommand(GetCurrentLayerFileName(), code); }

 private:
  uint8_t savedLevel_ = 0;
};

inline void ExpectRecords(const std::vector<TVectorRecord>& got, const std::vector<TVectorRecord>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "record " << i);
    EXPECT_EQ(got[i].type, want[i].type);
    EXPECT_NEAR(got[i].x, want[i].x, 0.001);
    EXPECT_NEAR(got[i].y, want[i].y, 0.001);
    EXPECT_NEAR(got[i].z, want[i].z, 0.001);
  }
}

}  // namespace cadtest
