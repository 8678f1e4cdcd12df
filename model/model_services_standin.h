// TEMPORARY STAND-IN for the vector store, undo and drawing files, to be
// replaced when the data model is built. The store operations do their plain
// file job; saving a drawing is not possible yet and reports "not saved", so
// nothing is cleared on its account.
#pragma once

#include <string>

constexpr const char* kVectorStoreName = "VekAR1.TMP";
constexpr const char* kScratchStoreName = "VekArZw.TMP";
constexpr const char* kClipboardFileName = "VekArZwC.TMP";

extern bool StoreHoldsData;
extern bool StoreParked;  // the store waits in the scratch file

// "VekAR1.TMP" becomes empty.
void ClearVectorStore();
// Appends the store to the named vector file and empties the store.
void FlushVectorStoreIntoFile(const std::string& name);
// Moves the parked scratch file back into the store.
void LoadStoreFromScratchFile();
void ReleaseUndoSlots();
// Undo snapshot of the work file of the kind (no undo store yet: nothing kept).
void TakeUndoSnapshot(int kind);
// Creates the empty clipboard file.
void CreateClipboardFile();
