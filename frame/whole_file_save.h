// Whole-file saves: every rewrite of a user's file in one piece goes through
// here (drawings, the settings, and tool tables and method files when they
// are written), so that no fault can leave a half-written file under the
// user's name.
//
// A save writes a temporary beside the target (its caller names it: "A.$SL"
// for "A.SLD", "TORVBak.PAR" for "TORV.PAR"), puts it on the disk (flush),
// closes it and renames it over the target in one step, then puts the
// folder entry on the disk. At every moment the target name holds the whole
// old file or the whole new one. On any failure the temporary is removed,
// the target stays untouched, and the save keeps the step that failed and
// its I/O result; ErrorCode takes the code of the checked wrapper of that
// step and the journal a line. Nothing is drawn: the caller tells the user,
// in words (ShowWholeFileSaveFailure), or with a message of its own.
//
//   BeginWholeFileSave      creates the temporary (record size 1)
//   PutWholeFileBytes       writes bytes; WriteWholeFileBlock does the same
//                           as the block call of a record writer
//   PutWholeFileBytesAt     writes bytes again at an offset (a head whose
//                           offsets are known only at the end)
//   CloseWholeFileSave      flush and close; the caller may then check the
//                           temporary (read it back) before
//   CommitWholeFileSave     the rename over the target and the folder flush
//   FinishWholeFileSave     both
//   AbandonWholeFileSave    closes and removes the temporary
#pragma once

#include <cstdint>
#include <string>

#include "platform/files.h"

// The step of a save that failed.
enum TSaveStep : uint8_t {
  kSaveStepNone = 0,
  kSaveStepCreate,   // the temporary could not be created
  kSaveStepWrite,    // a write came short or failed (or the caller's data did)
  kSaveStepFlush,    // the bytes could not be put on the disk
  kSaveStepClose,
  kSaveStepCheck,    // the caller's check of the closed temporary failed
  kSaveStepReplace,  // the rename over the target failed
};

// Points of a save at which SaveStepHook is called, in order.
enum TSavePoint : uint8_t {
  kSavePartWritten = 0,  // after each part that reached the temporary
  kSaveFlushed,          // the temporary is whole on the disk, still open
  kSaveBeforeRename,     // closed (and checked), the target still the old file
  kSaveAfterRename,      // the target is the new file
};
// Called at every point of every save; nullptr normally. Tests stop the
// process there to show that a crash leaves the old or the new file.
extern void (*SaveStepHook)(TSavePoint point);

struct TWholeFileSave {
  std::string target;  // as the caller named it
  std::string temp;
  plat::TPasFile file;
  TSaveStep failedStep = kSaveStepNone;
  int result = 0;  // I/O result of the failed step (0: the caller's data failed)
};

// The I/O result of the last failed WriteWholeFileBlock (0 none); reset by
// BeginWholeFileSave.
extern int WholeFileWriteResult;

bool BeginWholeFileSave(TWholeFileSave& s, const std::string& target, const std::string& temp);
// The block call of a record writer on the temporary (TBlockWriteCall):
// count comes back smaller on a short write, 0 after a failure, without a
// message; the failure's result stays in WholeFileWriteResult.
void WriteWholeFileBlock(plat::TPasFile& f, const void* buffer, uint32_t n, uint32_t& count);
// False (and the save abandoned) when not every byte arrived.
bool PutWholeFileBytes(TWholeFileSave& s, const void* bytes, uint32_t count);
bool PutWholeFileBytesAt(TWholeFileSave& s, int64_t offset, const void* bytes, uint32_t count);
// written false: the caller's writing failed (a record writer that came
// short, data that could not be read); the save is abandoned as a failed
// write with the result WholeFileWriteResult holds.
bool CloseWholeFileSave(TWholeFileSave& s, bool written);
bool CommitWholeFileSave(TWholeFileSave& s);
bool FinishWholeFileSave(TWholeFileSave& s, bool written);
void AbandonWholeFileSave(TWholeFileSave& s, TSaveStep step, int result);

// --- telling the user ---------------------------------------------------------------
// A failed save in words: a read-only folder is named as read-only, a full
// disk as full with the file's name, anything else as a failed save of the
// file with its I/O result. Lines are separated by CR LF.
std::string DescribeSaveFailure(const TWholeFileSave& s);
// The cause alone when it can be told in words (a read-only folder, a full
// disk), else empty.
std::string DescribeSaveCause(const TWholeFileSave& s);
// The description in a message box (ShowTitledMessage).
void ShowWholeFileSaveFailure(const TWholeFileSave& s);
