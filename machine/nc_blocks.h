// NC block output and number formats: every line of an NC program goes
// through WriteNcBlock, which numbers it as the dialect and the numbering
// mode require, appends the dialect's line end and collects it in the run's
// 5000-byte buffer. Around it: the per-dialect number format, rounding to
// the output resolution, the axis words with the rotary substitution, the
// modal point words and the angle words.
//
// All operations work on the run's state; what differs between dialects
// is the row of st.Dialect in the word table (nc_dialect_words.h).
#pragma once

#include <cstdint>
#include <string>

#include "machine/nc_writer_state.h"

// Round to the nearest integer, an exact half to the even neighbour.
int64_t RoundHalfEven(double value);
// The decimal text of x with d decimals, right-aligned in w characters
// (wider when the number needs it); d = 0 writes no point. No locale.
std::string FormatFixedText(double x, int w, int d);

// First block number and highest block number of a dialect.
int32_t GetNcBlockNumberStart(int dialect);
int32_t GetNcBlockNumberLimit(int dialect);

void WriteNcBlock(TNcWriterState& st, const std::string& text);
void AppendNcText(TNcWriterState& st, const std::string& text);
// Writes the buffered bytes. A short write sets WriteFailed for the rest of
// the run; after that nothing more is written (the file would have a gap).
void FlushNcBuffer(TNcWriterState& st);
std::string GetBlockNumberPrefix(TNcWriterState& st);
std::string GetNcLineEnd(const TNcWriterState& st);

std::string FormatNcNumber(const TNcWriterState& st, float value);
std::string FormatRoundedInteger(float value);
std::string FormatZeroPaddedInteger(int16_t n, int16_t width);
void RoundToNcResolution(const TNcWriterState& st, float& value);
// The same as a value (for the fields of packed records).
float RoundedToNcResolution(const TNcWriterState& st, float value);
std::string FormatXWord(const TNcWriterState& st, float x);
std::string FormatYWord(const TNcWriterState& st, float y);
// The modal X, Y, Z words of a target point (x, y rounded in place); updates
// LastPos. At most 40 characters.
std::string FormatPointWords(TNcWriterState& st, TVectorRecord& point);
// A, B, C words of an angle record (radians), dialect 39 only.
std::string FormatAngleWords(TNcWriterState& st, const TVectorRecord& point);
std::string FormatToolOffsetWord(int32_t n);
// The Esc check of the record loop: true when the user confirms the stop.
bool CheckNcEscapeAbort();
