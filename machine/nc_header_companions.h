// Pieces shared by the program header, the program end and the record loop
// of the NC writer: user insert files, the quoted dialect name, the tool
// list and rotary diameter comments, the user note lines and the workpiece
// path lines.
#pragma once

#include <string>

#include "machine/nc_dialect_header.h"
#include "machine/nc_writer_state.h"

// Message of the rotary diameter comment.
constexpr int16_t kMsgNcRotaryDiameter = 222;

// Copies a text file into the program, one numbered block per line. A
// missing or unreadable file writes nothing.
void CopyInsertFile(TNcWriterState& st, const std::string& fileName);
// The current dialect's name in double quotes followed by two blanks.
std::string FormatDialectNameQuoted(const TNcWriterState& st);
// One comment line prefix + tool description + suffix per tool of the run,
// numbered blocks or raw lines; the guard keeps the comment marks out of the
// description (a tool name with parentheses).
void WriteToolListComments(TNcWriterState& st, const std::string& prefix,
                           const std::string& suffix, bool numbered,
                           TNcCommentGuard guard = kNcGuardNone);
// Raw comment line with the rotary diameter (rotary axis in use or dialect 74).
void WriteRotaryDiameterComment(TNcWriterState& st, const std::string& prefix,
                                const std::string& suffix, TNcCommentGuard guard = kNcGuardNone);
// Asks for the four note lines and writes those that are not empty.
void WriteProgramNoteLines(TNcWriterState& st);
// The two workpiece path lines of the output file.
void WriteWorkpiecePathHeader(TNcWriterState& st);
