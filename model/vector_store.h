// Vector store and contour marking.
//
// The vector store is the current selection: the vector file "VekAR1.TMP"
// together with the flag StoreHoldsData. Marking moves contours out of a
// layer file into the store; most construction, editing and machining
// commands work on the store; flushing puts it back into a layer file.
//
// Work copies of the store:
//   "VekArZw.TMP"   the store parked while a module loop runs (fonts, relief)
//   "VekArZwC.TMP"  the clipboard file of cut, copy and paste
//   "VekARH0.TMP"   the selection while contours are being unmarked
//   "VekAR2.TMP"    what stays behind when contours are taken by a rectangle
//
// A contour, for marking, is a type-11 start followed by records of types
// 10, 12, 17 and 18; the next start or a record of any other type ends it.
// Picking works in screen terms: 20 pixels (20 / view scale in millimetres)
// for a pick, 6 pixels for the rubber-band threshold.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/vector_records.h"

constexpr const char* kVectorStoreName = "VekAR1.TMP";
constexpr const char* kScratchStoreName = "VekArZw.TMP";
constexpr const char* kClipboardFileName = "VekArZwC.TMP";
constexpr const char* kUnmarkStoreName = "VekARH0.TMP";
constexpr const char* kRectangleRestName = "VekAR2.TMP";

constexpr double kPickTolerancePixels = 20.0;
constexpr double kRubberBandPixels = 6.0;
// A contour start counts this much farther than a line point in vertex searches.
constexpr double kStartPenalty = 0.0002;

// 1 while "VekAR1.TMP" holds the current selection.
extern uint8_t StoreHoldsData;
// True while the store waits in the scratch file (a module loop runs).
extern bool StoreParked;

// Flags of PickContourIntoStore.
constexpr int kPickBySegment = 1;   // nearest segment instead of nearest vertex
constexpr int kPickDraw = 2;        // draw the taken records in colour 12
constexpr int kPickRemove = 4;      // remove the contour from the source
constexpr int kPickErase = 8;       // draw in the background colour
// Flags of TakeContoursInRectangle.
constexpr int kRectAnyPoint = 1;    // any point inside (else wholly inside)
constexpr int kRectCopy = 4;        // the source stays unchanged
constexpr int kRectErase = 8;       // draw in the background colour
// Flags of SelectContoursAt and SelectContoursWithMouse (besides 1 and 4 as above).
constexpr int kSelectNoFlush = 8;   // no flush of the previous selection, no undo snapshot
constexpr int kSelectNoUndo = 16;   // no undo snapshot

// Records of a vector file, at most limit of them (limit < 0: all); a
// missing file gives none. False when the file could not be read.
bool ReadVectorRecords(const std::string& name, int64_t limit, std::vector<TVectorRecord>& records);
// Writes the records (append: at the file's end, else the file anew); false
// when fewer than all of them were stored.
bool WriteVectorRecords(const std::string& name, const TVectorRecord* records, size_t count, bool append);

// Distance of P to the segment AB: the nearer end when P lies beyond either
// end, else the perpendicular distance.
double DistancePointToSegment(double px, double py, double ax, double ay, double bx, double by);

// --- store life cycle --------------------------------------------------------------
// "VekAR1.TMP" created empty, StoreHoldsData cleared.
void ClearVectorStore();
// "VekAR1.TMP" created empty when the store holds no selection.
void CreateStoreWhenClear();
// Appends the records of source (empty records dropped) to target, drawn in
// the colour when it is not negative. False, after message 8, when not all
// of them were stored; the target then keeps its old length.
bool AppendFileRecords(const std::string& source, const std::string& target, int colour, bool createNew);
// When the store holds data: append it to the file (drawn in the current
// layer's colour) and clear the store. A short write keeps the store.
void FlushVectorStoreIntoFile(const std::string& name);
// The same into the current layer file, then the layer is recounted.
void FlushVectorStoreToCurrentLayer();
// Parks the store in "VekArZw.TMP" (empty when there is no selection).
void MoveStoreToScratchFile();
// Brings the parked store back; "VekArZw.TMP" is empty afterwards.
void LoadStoreFromScratchFile();
// "VekArZwC.TMP" created empty.
void ClearClipboardFile();
// The store over the clipboard file, drawn in the background colour; the
// store is cleared.
void CutStoreToClipboardFile();
// The store over the clipboard file.
void CopyStoreToClipboardFile();
// Appends the clipboard file to the store (undo snapshot of the current
// layer and the store first) and sets StoreHoldsData.
void PasteClipboardFileIntoStore();

// --- marking ---------------------------------------------------------------------------
// Takes the contour nearest to the point (within 20 pixels) from the source
// into the store; found is 1 when a contour was taken.
void PickContourIntoStore(const std::string& source, const TPointRecord& point, int flags, uint8_t& found);
// Takes the contours inside the rectangle from the source into the store.
// A contour is always taken or left whole, however many records it has.
void TakeContoursInRectangle(const std::string& source, const TExtentsPair& rectangle, int flags, uint8_t& found);
// The selection step after the mouse: press and release in world terms.
// Without grow (Shift) and without flag 8 the previous selection goes back
// into the file first (after an undo snapshot unless flag 16). A rectangle
// wider or taller than 6 pixels takes the contours in it, a smaller one
// picks the contour at the press point. StoreHoldsData is set when
// something was taken.
void SelectContoursAt(const std::string& file, int flags, const TPointRecord& press, const TPointRecord& release,
                      bool grow);
// The contour nearest to the point over all layers (current layer first);
// a negative mode keeps the current layer, the low 7 bits are the flags of
// PickContourIntoStore.
void PickContourFromAnyLayerAt(int mode, const TPointRecord& point);
// Every record of the current layer into the store; with the layer empty
// only an empty selection is reported (message 42).
void MarkWholeCurrentLayer();
// Mode 0 ungroups (pen-up marks become contour starts), mode 1 groups
// (every start but the first becomes a pen-up line point).
void RecodeContourStarts(const std::string& file, int mode);
// "VekAR1.TMP" when the store holds records, else the current layer file
// when it holds at least 2 records, else message 42 and an empty name.
void ChooseEditSourceFile(std::string& name);
// Flushes the store into the current layer and asks about tool and 3D
// records there (flags of AskStripToolAnd3DRecords); message 42 and false
// for an empty layer.
bool PrepareCurrentLayerForEdit(int flags);
