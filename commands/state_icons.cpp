#include "commands/state_icons.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/program_state.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "model/vector_records.h"

uint8_t StateIconFlags = 0;
uint8_t ToolLayersPresent = 0;
uint8_t PathLayersPresent = 0;
uint32_t ActionStartTick = 0;
TButtonRect MenuBarBox{};

namespace {

constexpr int kIconWidth = 25;
constexpr int kIconHeight = 26;
constexpr int kBlock0Size = 153;

int ClientWidth() { return MaxX + 1; }

void DrawLayerIcon(int x, const char* picture) {
  DrawResourceBitmap(x, 0, kIconWidth, kIconHeight, kRopSrcCopy, picture);
  MenuBarBox.x2 = int16_t(x);
}

// Adds the milliseconds since ActionStartTick to the counter of parameter
// block 0; a counter already past the wrap limit starts again from 0.
void AddCommandTime() {
  uint8_t block0[kBlock0Size] = {};
  GetParamBlock(0, block0, sizeof block0);
  int32_t counter = 0;
  std::memcpy(&counter, block0 + kCommandTimeOffset, sizeof counter);
  if (counter > kCommandTimeWrap) counter = 0;
  const uint32_t elapsed = GetTickMs() - ActionStartTick;
  counter = int32_t(uint32_t(counter) + elapsed);
  std::memcpy(block0 + kCommandTimeOffset, &counter, sizeof counter);
  PutParamBlock(0, block0, sizeof block0);
}

// Types of a layer's records that make it a tool-path layer.
bool IsPathRecordType(uint8_t type) {
  return type == 12 || type == 150 || type == 151 || type == 155 || type == 156 || type == 157;
}

}  // namespace

int ActionIconX() { return ClientWidth() - 25; }
int ToolLayerIconX() { return ClientWidth() - 76; }
int PathLayerIconX() { return ClientWidth() - 102; }

void DrawActionIcon(uint8_t mode) {
  if ((StateIconFlags & kStateShowAction) == 0) return;
  if (mode == 1) {
    // 0 means "no command running": a clock that reads 0 still starts one.
    const uint32_t now = GetTickMs();
    ActionStartTick = now == 0 ? 1u : now;
    DrawResourceBitmap(ActionIconX(), 0, kIconWidth, kIconHeight, kRopSrcCopy, "_LDAktion");
  } else if (mode == 0) {
    if (ActionStartTick > 0) {
      AddCommandTime();
      ActionStartTick = 0;
    }
    DrawResourceBitmap(ActionIconX(), 0, kIconWidth, kIconHeight, kRopSrcCopy, "_LDFrei");
  }
}

void DrawCurrentLayerIcon() {
  DrawLayerIcon(CurrentLayerIconX(), (StateIconFlags & kStateLayerHoldsPaths) ? "_LDGLayer3D" : "_LDGLayer2D");
}

void DrawToolLayerIcon() {
  if ((StateIconFlags & kStateShowToolLayers) == 0) return;
  DrawLayerIcon(ToolLayerIconX(), ToolLayersPresent ? "_LDWLayer" : "_LDNotWLayer");
}

void DrawPathLayerIcon() {
  if ((StateIconFlags & kStateShowPathLayers) == 0) return;
  DrawLayerIcon(PathLayerIconX(), PathLayersPresent ? "_LDPLayer" : "_LDNotPLayer");
}

void UpdateLayerPathFlag() {
  const std::string name = GetCurrentLayerFileName();
  if (!TestFileExists(name)) return;
  const int64_t records = GetFileByteSize(name) / int64_t(sizeof(TVectorRecord));
  if (CurrentLayer <= kMaxLayerNumber)
    LayerRecordCounts[CurrentLayer] = int32_t(std::min<int64_t>(records, INT32_MAX));
  const int scanned = int(std::min<int64_t>(records, kLayerScanRecords));
  std::vector<uint8_t> bytes(size_t(scanned) * sizeof(TVectorRecord));
  bool paths = false;
  if (scanned > 0 && ReadFileBytes(name, bytes.data(), int32_t(bytes.size()))) {
    for (int i = 0; i < scanned && !paths; ++i) paths = IsPathRecordType(bytes[size_t(i) * sizeof(TVectorRecord)]);
  }
  StateIconFlags = uint8_t(paths ? (StateIconFlags | kStateLayerHoldsPaths) : (StateIconFlags & ~kStateLayerHoldsPaths));
  if (StateIconFlags & kStateShowCurrentLayer) {
    DrawCurrentLayerIcon();
    DrawToolLayerIcon();
    DrawPathLayerIcon();
  }
}

void ClearSideMenuArea() { FillColorRect(SidePanelLeft, MenuBarHeight, MaxX, MaxY, plat::Rgb(220, 220, 220)); }
