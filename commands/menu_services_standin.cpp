// TEMPORARY STAND-IN: see menu_services_standin.h.
#include "commands/menu_services_standin.h"

#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"

#include <cstring>

uint8_t ClickTrackingState = 0;
int16_t CurrentSideMenu = 2;

namespace {
uint32_t busySinceMs = 0;  // 0: no command running
}

void WaitForMenuCommand() {
  ShowBusyState(0);
  // No menu, icon or key yields a command yet; keep the input state fresh so
  // the close and quit messages are seen.
  for (;;) {
    int16_t x, y;
    PollMousePosition(x, y);
    while (PollKeyPressed()) ReadNextKey();
    WaitForWindowMessage();
  }
}

void ShowBusyState(uint8_t state) {
  if (state == 1) {
    busySinceMs = GetTickMs();
    if (busySinceMs == 0) busySinceMs = 1;
    DrawResourceBitmap(MaxX - 25, 0, 25, 26, kRopSrcCopy, "_LDAktion");
    return;
  }
  if (state != 0) return;
  if (busySinceMs != 0) {
    uint8_t block0[153];
    GetParamBlock(0, block0, sizeof block0);
    uint32_t ms;
    memcpy(&ms, block0 + 49, 4);
    if (ms > 2073600000u) ms = 0;
    ms += GetTickMs() - busySinceMs;
    memcpy(block0 + 49, &ms, 4);
    PutParamBlock(0, block0, sizeof block0);
    busySinceMs = 0;
  }
  DrawResourceBitmap(MaxX - 25, 0, 25, 26, kRopSrcCopy, "_LDFrei");
}

void BuildMenuTables() {}
void ResetMenuState() {}
void FreeMenuTables() {}
void DrawMenuBar(int16_t) {}
void ShowSideMenu(int16_t n) {
  if (n >= 0) CurrentSideMenu = n;
}
void ReloadSideMenu(int16_t n) { CurrentSideMenu = n; }
void RedrawSideMenu() {}
void DrawGraphicIconBar() {}
void ClearSideMenuArea() {
  int16_t left = MaxX - 168;
  FillColorRect(left, 51, MaxX, MaxY, plat::Rgb(220, 220, 220));
}
void UpdateLayerPathFlag() {}
void UpdateGraphicDragState() {}
void ShowStartButtons() {}
void ShowStartInfoPanel(const std::string&) {}
bool RunProgramOptionsMenu() { return false; }

namespace {
void DrawButtonFace(const TBox& box, int16_t faceColor, uint8_t pressed) {
  FillColorRect(box.x1, box.y1, box.x2, box.y2, faceColor == 260 ? plat::Rgb(192, 192, 192) : GetColorRef(faceColor));
  if (pressed) {
    DrawBevelFrame(box.x1, box.y1, box.x2, box.y2);
  } else {
    DrawRaisedEdge(box.x1, box.y1, box.x2, box.y2);
  }
}
void DrawButtonCaption(const std::string& caption, const TBox& box, int16_t textColor) {
  if (caption.empty()) return;
  SetPenColor(textColor);
  const int w = MeasureTextWidth(caption);
  DrawTextAltFont((box.x1 + box.x2 - w) / 2, (box.y1 + box.y2) / 2 + 5, caption);
}
}  // namespace

void DrawCaptionButton(const std::string& caption, const TBox& box, int16_t faceColor, int16_t textColor,
                       uint8_t pressed) {
  DrawButtonFace(box, faceColor, pressed);
  DrawButtonCaption(caption, box, textColor);
}

void DrawIconButton(const std::string& pictureName, const std::string& caption, const TBox& box, uint8_t pressed,
                    int16_t textColor, int16_t faceColor) {
  DrawButtonFace(box, faceColor, pressed);
  const int x = (box.x1 + box.x2) / 2 - 8;
  const int y = (box.y1 + box.y2) / 2 - 8;
  if (pictureName.empty() || !DrawResourceBitmap(x, y, 16, 16, kRopSrcCopy, pictureName))
    DrawButtonCaption(caption, box, textColor);
}
