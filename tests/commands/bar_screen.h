// Helpers of the bar and button tests: scripted clicks taken in-process and
// resource pictures compared with the frame buffer.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "frame/main_window.h"
#include "platform/picture_codecs.h"
#include "ui/ui_screen.h"

namespace bartest {

// Feeds one click through the script and polls until its button is down; the
// mouse state then holds the click.
inline void TakeScriptedPress(uitest::TScreen& screen, int x, int y, const char* button = "left") {
  CloseRequested = false;
  MouseButtonState = 0;
  MouseKeyFlags = 0;
  screen.UseScript("click " + std::to_string(x) + " " + std::to_string(y) + " " + button + "\n");
  for (int guard = 0; guard < 1000 && MouseButtonState == 0 && !CloseRequested; ++guard) {
    int16_t mx = 0, my = 0;
    PollMousePosition(mx, my);
    if (MouseButtonState == 0) WaitForWindowMessage();
  }
}

// Pixels of the picture that differ from the screen at (x, y).
inline int PictureDiffers(const std::string& name, int x, int y) {
  plat::TPixelBlock picture;
  if (!plat::LoadResourcePicture(name, picture)) return -1;
  int differ = 0;
  for (int py = 0; py < picture.height; ++py)
    for (int px = 0; px < picture.width; ++px)
      differ += (uitest::TScreen::PixelAt(x + px, y + py) & 0xFFFFFF) !=
                (picture.pixels[size_t(py * picture.width + px)] & 0xFFFFFF);
  return differ;
}

}  // namespace bartest
