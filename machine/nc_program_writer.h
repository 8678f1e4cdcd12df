// The NC program writer: one run turns a collected path file (tool headers,
// contour starts, line points, 3D points, arc centres, index and insert
// markers) into an NC program of one controller dialect. The run owns one
// TNcWriterState; the header, the record loop, the moves, the arcs and the
// program end all write through it. The input is streamed in blocks of 5000
// records and the output through the 5000-byte buffer, so memory stays flat
// whatever the size of the job.
#pragma once

#include <cstdint>
#include <string>

#include "machine/nc_writer_state.h"

// Message numbers of the run.
constexpr int16_t kMsgNcWriteFailed = 8;
constexpr int16_t kMsgNcQuestion12a = 1247;
constexpr int16_t kMsgNcQuestion12b = 1248;
constexpr int16_t kMsgNcQuestion31 = 2432;

// Scratch files of the run: the arc-fitted copy and the turned or prepared copy.
extern const char* const kNcArcFittedName;   // "VekAR2.TMP"
extern const char* const kNcPreparedName;    // "VekAR3.TMP"

// Writes the whole program. Failures are reported on the screen and through
// the error code; the output then keeps what was written. A write failure
// writes no program end; an aborted run (Esc) still writes it. The caller's
// input file is never changed: every pre-pass works on a scratch copy.
void WriteNcProgram(const std::string& inputFile, const std::string& outputFile,
                    const std::string& programName, uint8_t dialect, uint8_t autoMode);

// The steps of a run, for the writer and its tests.
// Sets up the state of a run (block 14 already in st.Machine): rotary axis,
// numbering, dialect entry values and the initial flags.
void InitNcWriterState(TNcWriterState& st);
// After the tool changer question: RotaryIncremental (dialect 32 with the
// rotary axis) and, for the integrated changers, bit 5 (incremental rotary
// output) or bit 4 in place of bits 4-7.
void SetUpToolChangerBits(TNcWriterState& st);
// Reads the input and writes every move; returns true when the user stopped
// the run with Esc.
bool RunNcRecordLoop(TNcWriterState& st);
// The record loop's own state: the centre of a pending arc.
struct TNcLoopState {
  bool arcPending = false;
  TVectorRecord centre = {};
};
// Handles one input record of the loop.
void HandleNcRecord(TNcWriterState& st, TNcLoopState& loop, const TVectorRecord& record);
// Replaces the input by an arc-fitted scratch copy when the dialect and the
// arc tolerance (block 0) allow it.
void FitArcsForOutput(TNcWriterState& st);
// After the loop: the program end and the last flush, unless writing failed;
// a failed write (also of the last flush) shows message 8.
void FinishNcProgram(TNcWriterState& st);
void ApplyDepthOffset(const TNcWriterState& st, float& depth);
void ApplyFixtureOffset(const TNcWriterState& st, float& x, float& y);
void ShiftIndexAxisY(const TNcWriterState& st, TVectorRecord& record);
void WriteDinInsertFile(TNcWriterState& st, bool start);
bool IsAtContourStart(const TNcWriterState& st, const TVectorRecord& record);
