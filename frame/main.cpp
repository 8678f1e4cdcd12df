// Program entry: opens the main window, draws the empty frame and runs the
// message loop until the window is closed.
#include "frame/main_window.h"
#include "frame/window_draw.h"

namespace {

// The empty frame: light grey client area, a black line across at y 50.
// Also the repaint hook, so the frame follows size changes of the window.
void DrawEmptyFrame() {
  GetClientMaxXY(MaxX, MaxY);
  FillColorRect(0, 0, MaxX, MaxY, plat::Rgb(220, 220, 220));
  SetPenStyle(0, 0, 1);
  SetDrawColorAndMode(13, 274);
  DrawScreenLine(0, 50, MaxX + 1, 50);
}

void EndProgram() { ReleaseWindowAndHalt(); }

}  // namespace

int main() {
  CreateMainWindow(kWindowStyleMaximize, 0);
  SetUpWindowDC();
  DrawEmptyFrame();
  SetMainWindowCaption("TORV");
  RepaintHook = DrawEmptyFrame;
  ViewKind = 0;

  ExitProc = EndProgram;
  for (;;) {
    PumpWindowMessages();
    WaitForWindowMessage();
  }
}
