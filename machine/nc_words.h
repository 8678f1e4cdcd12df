// The tool, spindle, feed, coolant and dwell words of the NC dialects and
// the small blocks around a tool change. Word builders return their text
// (most with a leading blank); block writers write through WriteNcBlock.
// The words of each dialect are its row of the word table (nc_dialect_words.h).
#pragma once

#include <string>

#include "machine/nc_writer_state.h"

// Message numbers of the warnings.
constexpr int16_t kMsgNcToolNameMissing1 = 542;
constexpr int16_t kMsgNcToolNameMissing2 = 2610;
constexpr int16_t kMsgNcSpeedCapped1 = 2425;
constexpr int16_t kMsgNcSpeedCapped2 = 2426;

std::string GetToolChangeCode(const TNcWriterState& st);
std::string FormatToolWord(TNcWriterState& st);
std::string FormatNextToolWord(TNcWriterState& st);
// The tool call of controls that may call tools by name (tool-change code 2
// of the record): "G00 C" and the name, else the tool word.
std::string FormatToolCallOrName(TNcWriterState& st);
std::string FormatSpindleWord(TNcWriterState& st);
std::string FormatFeedWord(const TNcWriterState& st);
std::string GetCoolantWord(TNcWriterState& st);
std::string FormatCoolantCodes(const TNcWriterState& st, bool on);
void WriteRotaryAxisDeclaration(TNcWriterState& st);
void WriteSpindleRampDwell(TNcWriterState& st);
void WriteDialectDwell(TNcWriterState& st);
void WriteToolUseCondition(TNcWriterState& st);
void WriteToolMacroVariables(TNcWriterState& st);
void WriteCycleCallBlock(TNcWriterState& st);
std::string FormatXYWords(TNcWriterState& st, TVectorRecord& point);
void WriteRapidXYBlock(TNcWriterState& st, TVectorRecord& point);
void WriteRapidXYBlockFmax(TNcWriterState& st, TVectorRecord& point);
