// The start panel offered once after start-up (new drawing, open, continue
// with the last drawing, the switch that decides whether the panel is shown,
// the language), the program options menu and the variant logo in the top
// strip of the menu bar.
//
// Parameter block 0, byte 103, bit 1 (value 2): show the start panel. The
// panel and the options menu toggle it and write block 0 back at once.
#pragma once

#include <cstdint>
#include <string>

#include "ui/buttons_controls.h"
#include "ui/popup_list.h"

constexpr int kStartFlagsByte = 103;
constexpr uint8_t kShowStartPanel = 2;
constexpr int kStartButtons = 5;

// Left x of the variant logo, set by the menu bar layout; drawn while > 0.
extern int16_t VariantLogoX;

struct TStartPanelLayout {
  int16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
// The panel's bounds for the current window and label texts.
TStartPanelLayout LayOutStartPanel();
// Bounds of start button k (1..5) in a panel at (x1, y1).
TButtonRect StartButtonRect(const TStartPanelLayout& layout, int k);
// Picture of start button k (4 follows the start switch); empty outside 1..5.
std::string StartButtonPicture(int k);
bool IsStartPanelSwitchOn();

// Returns at once while the start switch is off or a redraw is pending;
// else runs the panel until buttons 1-3 or a right click end it.
void RunStartScreen();
// "Willkommen bei" and the variant name, one blank between them.
std::string StartPanelTitle();
void DrawStartScreen();
void DrawStartButton(int k, bool pressed);
void DrawInsetFrame(int x1, int y1, int x2, int d, int y2);

// The options popup's title, entries, picture and help lines (kept in
// helpLines, which the list points to).
void SetProgramOptionsTexts(TPopupList& list, std::string (&helpLines)[kPopupHelpLines]);
// Runs the options popup until it is left; 1 when the parameter file was
// reset or the language changed by entry 5 (the caller then redraws the
// menu bar and side page 2).
uint8_t RunProgramOptionsMenu();
void ToggleStartFlags(uint8_t mask);
// The first 8 characters of message 363 (on) or 364 (off).
std::string GetOnOffText(bool on);
void OpenJournalInEditor();
// Asks first; on yes rebuilds the parameter file with defaults and returns
// true.
bool ResetParameterFile();
void DrawVariantLogo();
