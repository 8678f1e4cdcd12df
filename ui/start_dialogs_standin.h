// TEMPORARY STAND-IN for the dialog toolkit pieces the program frame calls,
// to be replaced when the dialog toolkit is built.
#pragma once

#include <cstdint>
#include <string>

// The title, version and question pieces are built for real now; callers of
// this file find them here until they include their own headers.
#include "ui/common_dialogs.h"
#include "ui/info_window.h"
// EnterMarkMode is built with the input wait; callers find it here until
// they include that header themselves.
#include "commands/input_wait.h"

// Opens the text file in the editor when it exists (no editor yet).
void EditTextFileIfExists(const std::string& name);
// Top-left corner of a popup of width x height pixels by a position code:
// 1-3 top, 4-6 middle, 7-9 bottom row of the graphic area; 1, 4, 7 left,
// 2, 5, 8 centre, 3, 6, 9 right; any other code centres. left rounded down to
// a multiple of 8, top to a multiple of 16.
void PlacePopupByPosition(int code, int width, int height, int& top, int& left);

// Help and work text commands of the main dispatcher; no help viewer or text
// editor exists yet, so nothing opens.
void OpenWorkTextFile(int mode);
void OpenHelpTopic(int code);
void OpenModeHelpPage();

// --- hint popups ----------------------------------------------------------------
// The least hint popup of the help system: help topic n of the help text
// file in the program folder, its title in quotes and the lines up to the
// first empty or "|" line ("&" lines left out), in a framed box near the
// mouse. False (nothing drawn) when the file or topic is missing or the
// topic has no lines.
struct TPopupFrame;
bool ShowHintPopup(int n, TPopupFrame& frame);
// Closes the popup frame when it holds lines and sets its line count to 0.
void ClosePopupFrameIfOpen(TPopupFrame& frame);
