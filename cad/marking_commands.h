// The commands with which the user builds and clears the selection (the
// vector store), moves it through the clipboard file, groups its contours
// and asks for information about it, and the marking menu that offers them.
#pragma once

#include <cstdint>
#include <string>

#include "ui/popup_list.h"

constexpr int kMarkingMenuEntries = 13;
constexpr int kMarkingMenuTitle = 1555;

// 410: an undo snapshot of the current layer and the store, then the store
// goes back into the current layer.
void UnmarkAll();
// 411: without Ctrl the question about tool records of the current layer,
// then the selection with the mouse on the file; with Ctrl the contour
// nearest to the next click over all layers.
void RunContourMarking(const std::string& file, int flags);
// 412: waits for a mouse button and picks the nearest contour over all layers.
void PickInAnyLayerCommand();
// 413: makes sure there is a selection and shows the path information window.
void ShowSelectionPathInfo();
// 2 when the file holds no records, 1 when it holds a pen-up line point
// (z of -10000 or less), 0 otherwise.
void ScanSelectionGrouping(const std::string& file, uint8_t& state);

// Fills the marking menu for the present layer, selection and clipboard: the
// title, the 13 captions, their keys and states, at the last mouse position
// (32 pixels higher), entry 1 preset.
void BuildMarkingMenu(TPopupList& list);
// Runs entry 1..13 of the marking menu; true only for entry 3 (marking with
// the mouse), after which the caller looks for a text line at the cursor.
bool RunMarkingMenuEntry(int entry);
// 45: shows the marking menu and runs the chosen entry.
bool RunMarkingMenu();
