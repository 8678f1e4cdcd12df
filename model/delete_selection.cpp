// Deleting the selection of the drawing.
#include "model/delete_selection.h"

#include "model/undo.h"
#include "model/vector_store.h"

void DeleteSelection() {
  TakeUndoSnapshot(kUndoCurrentLayer | kUndoStore);
  ClearVectorStore();
}
