// The head of an NC program.
#include "machine/nc_header.h"

#include <algorithm>
#include <string>

#include "frame/codepage.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "machine/nc_blocks.h"
#include "machine/nc_dialect_header.h"
#include "machine/nc_header_companions.h"
#include "machine/nc_sequences.h"
#include "machine/nc_settings.h"
#include "machine/nc_setup_blocks.h"
#include "ui/common_dialogs.h"
#include "ui/info_window.h"

namespace {

constexpr const char* kLineEnd = "\r\n";

// Texts of the program are kept in the DOS code page; NC programs are
// written in the Windows code page.
std::string WinText(std::string text) {
  static uint8_t table[256];
  static bool built = false;
  if (!built) {
    for (int c = 0; c < 256; ++c) table[c] = static_cast<uint8_t>(c);
    for (int w = 128; w < 256; ++w) {
      const uint8_t dos = MapAnsiCharToOem(static_cast<uint8_t>(w));
      if (dos != w) table[dos] = static_cast<uint8_t>(w);
    }
    built = true;
  }
  for (char& c : text) c = static_cast<char>(table[static_cast<uint8_t>(c)]);
  return text;
}

void Line(TNcWriterState& st, bool asBlock, const std::string& text) {
  if (asBlock) WriteNcBlock(st, text);
  else AppendNcText(st, text + kLineEnd);
}

std::string Comment(const TNcCommentMarks& marks, const std::string& text) {
  return std::string(marks.Open) + GuardNcCommentText(marks.Guard, text) + marks.Close;
}

// Title, version and export line.
void WriteTitleLines(TNcWriterState& st, const TNcHeaderRow& row) {
  Line(st, row.SetBlocks, WinText(Comment(row.Set, FormatProgramTitleLine())));
  Line(st, row.SetBlocks, WinText(Comment(row.Set, FormatVersionLine())));
  Line(st, row.SetBlocks,
       WinText(Comment(row.Set, "Export " + FormatDialectNameQuoted(st) + FormatDateTimeText())));
}

void WriteRotaryLine(TNcWriterState& st, const TNcHeaderRow& row) {
  WriteRotaryDiameterComment(st, row.Rotary.Open, row.Rotary.Close, row.Rotary.Guard);
}

void WriteToolLines(TNcWriterState& st, const TNcHeaderRow& row) {
  WriteToolListComments(st, row.Tools.Open, row.Tools.Close, row.ToolBlocks, row.Tools.Guard);
}

// Message 222 and the diameter of the rotary axis, to stand in parentheses.
std::string DiameterText(const TNcWriterState& st) {
  std::string diameter = FormatRealText(8, 3, st.Machine.RotaryDiameter);
  diameter.erase(0, std::min(diameter.find_first_not_of(' '), diameter.size()));
  return WinText(GuardNcCommentText(kNcGuardParens, GetMessageText(kMsgNcRotaryDiameter, -29) + diameter));
}

std::string DateText() {
  std::string date;
  FormatDate(date);
  return date;
}

}  // namespace

// The head of the dialect's row; the comment pieces write their own lines
// (raw or numbered as the row says) and leave no text in their block.
void WriteNcCommentHeader(TNcWriterState& st) {
  const TNcHeaderRow& row = NcHeaderRow(st.Dialect);
  const int16_t measuring = st.Machine.ToolMeasuring;
  if (row.CommentBlocksFrom != 0) st.BlockNumber = row.CommentBlocksFrom;
  WriteNcSequence(
      st, row.Head,
      {NcAction("comments",
                [&] {
                  WriteTitleLines(st, row);
                  WriteRotaryLine(st, row);
                  WriteToolLines(st, row);
                }),
       NcAction("title", [&] { WriteTitleLines(st, row); }),
       NcAction("rotary", [&] { WriteRotaryLine(st, row); }),
       NcAction("tools", [&] { WriteToolLines(st, row); }),
       {"diameter", [&] { return DiameterText(st); }},
       {"commentname", [&] { return GuardNcCommentText(kNcGuardParens, st.ProgramName); }},
       {"P3", [&] { return FormatZeroPaddedInteger(st.Machine.Dialect55Count, 3); }},
       {"date", [] { return DateText(); }},
       NcAction("notes", [&] { WriteProgramNoteLines(st); }),
       NcAction("paths", [&] { WriteWorkpiecePathHeader(st); })},
      {{"wanted", [&] { return GetDialectRecord(st.Machine, st.Machine.CurrentDialect).CommentHeaderOn == 1; }},
       {"laser", [&] { return measuring == 1; }},
       {"probe", [&] { return measuring == 2; }},
       {"nomeasuring", [&] { return measuring == 3; }}});
  if (row.CommentBlocksFrom != 0) st.BlockNumber = 1;
}

void WriteNcProgramHeader(TNcWriterState& st) {
  const bool known = st.Dialect <= 99;
  // Stage 1: the comment lines.
  if (known) WriteNcCommentHeader(st);

  // Stage 2: the last written position.
  st.LastPos.x = st.Machine.StartX;
  st.LastPos.y = st.Machine.StartY;
  st.LastPos.z = -st.Machine.SafeZ;
  if (st.RotaryActive != 0) {
    if (st.RotaryMode == 1) st.LastPos.x = kNcUnsetCoordinate;
    else if (st.RotaryMode == 2) st.LastPos.y = kNcUnsetCoordinate;
  }

  // Stage 3: the set-up section.
  if (known) WriteGCodeSetupBlocks(st);

  // Stage 4: hand-over to the record loop.
  st.ToolStation = st.LastToolStation;
  st.ClearanceHeight = st.Machine.SafeZ;
}
