// Deleting the selection of the drawing.
#pragma once

// Deletes the selection: an undo snapshot of the current layer and the
// store, then the store is emptied.
void DeleteSelection();
