// Undo and redo.
//
// Before a command changes working data it takes a snapshot of the files it
// is about to change, named by a flag set. Snapshots live in memory in seven
// slots: slot 0 the newest undo step, slots 1-5 older ones, slot 6 the redo
// step. Undo restores slot 0 after saving the present state of the same
// files into the redo slot; redo does the reverse.
//
// A slot is a growable byte stream of 32768-byte blocks (at most 4000). A
// snapshot is a sequence of entries, each opened by a 13-byte header record
// of type 128: x the entry id, y the byte size of the saved data as a 32-bit
// integer, z the flag value (the flag plus 128 when StoreHoldsData was set).
// The first entry is an opening header with id -1 and the whole flag set.
//
// Snapshot flags and their entries, in writing order:
//     1  the current layer file            id: current layer
//     2  "VekAR1.TMP" while StoreHoldsData id: current layer
//     4  every layer file 0 .. highest     id: layer number
//     8  "HS01.TMP": the 379-byte head and the 160-byte parameter part of
//        each text line (placements are not saved)   id -2
//    16  "EIGENSCH.TMP"                    id -3
//    32  "VekArZw.TMP"                     id -4
//    64  the auxiliary layer's file        id: AuxLayerNumber
//   256  the view window (18 bytes)        id -4
#pragma once

#include <cstdint>
#include <string>

constexpr int kUndoSlotCount = 7;
constexpr int kRedoSlot = 6;
constexpr int kUndoBlockCount = 4000;
constexpr int32_t kUndoBlockBytes = 32768;
constexpr int64_t kUndoSlotCapacity = int64_t(kUndoBlockCount) * kUndoBlockBytes;  // 131,072,000

// Status values of a slot.
constexpr int16_t kUndoLogicalError = -1;
constexpr int16_t kUndoBlockRange = -2;
constexpr int16_t kUndoReadRange = -3;

struct TUndoSlot {
  int32_t size = 0;      // bytes written so far (high-water mark)
  int32_t position = 0;  // read and write position
  uint8_t* blocks[kUndoBlockCount] = {};
  int16_t status = 0;
};

// Snapshot flags.
constexpr int kUndoCurrentLayer = 1;
constexpr int kUndoStore = 2;
constexpr int kUndoAllLayers = 4;
constexpr int kUndoTextJob = 8;
constexpr int kUndoProperties = 16;
constexpr int kUndoScratch = 32;
constexpr int kUndoAuxLayer = 64;
constexpr int kUndoView = 256;
// The drawing with its text job: every layer, or the current one.
constexpr int kUndoLayersAndTexts = kUndoAllLayers | kUndoTextJob;    // 12
constexpr int kUndoLayerAndTexts = kUndoCurrentLayer | kUndoTextJob;  // 9

// The seven slots, allocated before the program body runs; null after
// ReleaseUndoSlots.
extern TUndoSlot* UndoSlots;
// The second layer some commands use as guide (flag 64): its number and file.
extern int16_t AuxLayerNumber;
extern std::string AuxLayerFileName;
// Memory for one slot block; nullptr when none is left. Replaceable so that
// a shortage can be produced on purpose.
extern uint8_t* (*AllocUndoBlockMemory)(uint32_t bytes);

// True when the snapshot was taken whole. Refused (false, older steps kept,
// the user told "UnDo is not available!") when the data would not fit or
// could not be stored whole.
bool TakeUndoSnapshot(int flags);
// TakeUndoSnapshot(1) with the layer made current for the call.
bool TakeLayerUndoSnapshot(int32_t layer);
// 0 undo, 1 redo; true when a step was restored. Nothing to restore:
// message 42.
bool StepUndoRedo(int direction);
// Frees the slots (exit procedure); a second call is reported.
void ReleaseUndoSlots();
// Allocates the slots when they are missing (start-up).
void InitUndoSlots();
// True when the slot holds a step.
bool UndoSlotHoldsStep(int slot);

// --- slot primitives ------------------------------------------------------------------
void ClearUndoSlot(TUndoSlot& slot);
void WriteUndoSlot(TUndoSlot& slot, const void* bytes, int32_t count, int32_t& written);
void ReadUndoSlot(TUndoSlot& slot, void* buffer, int32_t count, int32_t& read);
void SetUndoSlotPosition(TUndoSlot& slot, int32_t position);
void MoveUndoSlot(TUndoSlot& source, TUndoSlot& target);
