// The selection of contours with the mouse: a click picks the contour at
// the cursor, a rubber band takes the contours inside it, F1 marks the whole
// current layer. The store and the file work below it are the vector
// store's (model/vector_store.h).
#pragma once

#include <string>

// The interactive selection with the mouse (click or rubber band; F1 marks
// the whole current layer; any button other than the left ends); flags as
// of SelectContoursAt.
void SelectContoursWithMouse(const std::string& file, int flags);
// PickContourFromAnyLayerAt at the cursor, on a left button.
void PickContourFromAnyLayer(int mode);
// Contours picked out of the selection go back into the current layer.
void UnmarkContoursWithMouse();
// Makes sure there is a selection; true when the store then holds records.
bool EnsureSelectionInStore();
bool EnsureSelectionInStorePlain();
