// The tabbed window of the settings dialogs: a shaded panel of 576 pixels
// with a title, a close button and up to six tabs above one page. The caller
// fills Title and TabCaptions, opens the window, then repeatedly draws the
// page of SelectedTab inside PageArea and runs the window, until SelectedTab
// is below 0, and closes it:
//   OpenTabWindow(w);
//   while (w.SelectedTab >= 0) { DrawPage(w.SelectedTab, w.PageArea); RunTabWindow(w); }
//   CloseTabWindow(w);
#pragma once

#include <cstdint>
#include <string>

#include "ui/buttons_controls.h"
#include "ui/panels.h"

constexpr int kTabCount = 6;
constexpr int kTabCaptionMax = 10;
constexpr int kTabWindowWidth = 576;
constexpr int kTabWidth = (kTabWindowWidth - 14) / kTabCount;  // 93

struct TTabPageArea {
  int16_t Left = 0, Right = 0, Top = 0, Bottom = 0;
};

struct TTabWindow {
  std::string Title;                    // up to 40 characters
  std::string TabCaptions[kTabCount];   // an empty caption leaves its tab undrawn
  TButtonRect CloseButton{};
  TButtonRect Tabs[kTabCount]{};
  TPopupFrame Frame{};
  TTabPageArea PageArea;
  int8_t TabCount = 0;     // highest tab index with a caption (0 when none)
  int8_t SelectedTab = 0;  // 0..5, -1 when the window is to close
};

// Places the panel, its close button, the tabs and the page on a screen of
// the given size; draws nothing.
void LayOutTabWindow(TTabWindow& window, int screenWidth, int screenHeight);
// Where a tab's caption is drawn: centred on this x, its top on this y, in
// the menu font.
int TabCaptionX(const TButtonRect& tab);
int TabCaptionTop(const TButtonRect& tab);
// Saves the screen, draws the panel, the page and the tabs; tab 0 is selected.
void OpenTabWindow(TTabWindow& window);
// Waits for a click on the close button (SelectedTab -1) or on a tab 0 to
// TabCount (that tab becomes selected), or for the right button, Esc or F1
// (SelectedTab -1).
void RunTabWindow(TTabWindow& window);
// Puts the saved screen back.
void CloseTabWindow(TTabWindow& window);
// A tab with a caption: its bottom and right edge and the caption.
void DrawWindowTab(const TButtonRect& tab, const std::string& caption);
// Joins the tab to the page below it.
void MarkSelectedTab(const TButtonRect& tab);
