// Shared pieces of the NC program header, program end and record loop.
#include "machine/nc_header_companions.h"

#include <algorithm>

#include "frame/checked_files.h"
#include "frame/file_helpers.h"
#include "frame/messages.h"
#include "frame/system_services.h"
#include "machine/nc_blocks.h"
#include "machine/nc_dialect_words.h"
#include "machine/nc_comment_lines.h"
#include "machine/nc_words.h"
#include "ui/common_dialogs.h"
#include "view/character_cells.h"

namespace {

std::string TrimRight(std::string s) {
  TrimTrailingBlanks(s);
  return s;
}

std::string TrimLeft(const std::string& s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  return s.substr(i);
}

// Up to three decimals, trailing zeros and a trailing point removed.
std::string Real3(float v) { return FormatRealText(0, 3, v); }

void WriteLine(TNcWriterState& st, const std::string& text, bool numbered) {
  if (numbered) WriteNcBlock(st, text);
  else AppendNcText(st, text + "\r\n");
}

// The slot whose name the header shows: the dialect chosen last, or the
// run's dialect when none is recorded.
int NamedDialect(const TNcWriterState& st) {
  const int c = st.Machine.CurrentDialect;
  return c >= 0 && c <= kNcGenericDialect ? c : st.Dialect;
}

// Removes the trailing blanks of the tool's name in the record itself.
std::string TrimToolName(TToolRecord& tool) {
  size_t n = std::min<size_t>(tool.name[0], kToolNameMax);
  while (n > 0 && tool.name[n] == ' ') --n;
  tool.name[0] = static_cast<uint8_t>(n);
  return std::string(reinterpret_cast<const char*>(tool.name + 1), n);
}

}  // namespace

void CopyInsertFile(TNcWriterState& st, const std::string& fileName) {
  if (TestFileExists(fileName) != 1) return;
  TFileRec f;
  AssignFileChecked(f, fileName);
  if (ResetTextChecked(f) == 0) return;
  const auto errorBefore = ErrorCode;
  std::string line;
  do {
    ReadLineChecked(f, line, 255);
    if (ErrorCode != errorBefore) break;  // an unreadable file would never end
    WriteNcBlock(st, line);
  } while (!plat::EofText(f));
  CloseFileChecked(f);
}

std::string FormatDialectNameQuoted(const TNcWriterState& st) {
  return "\"" + TrimRight(GetDialectCaption(st.Machine, NamedDialect(st))) + "\"  ";
}

void WriteToolListComments(TNcWriterState& st, const std::string& prefix, const std::string& suffix,
                           bool numbered, TNcCommentGuard guard) {
  const int count = std::min<int>(st.ToolCount, static_cast<int>(st.ToolTable.size()));
  if (count <= 0) return;
  const bool macroLines =
      NcWordsRow(st.Dialect).MacroWords && GetDialectRecord(st.Machine, st.Machine.CurrentDialect).MacroVariables == 1;
  for (int i = 1; i <= count; ++i) {
    TToolRecord& tool = st.ToolTable[static_cast<size_t>(i - 1)];
    std::string k;
    if (tool.ballRadius > 0.0f) k = " FrK=" + Real3(tool.ballRadius);
    if (k.size() > 20) k.resize(20);
    const std::string name = TrimToolName(tool);
    const std::string line = "T" + std::to_string(tool.changeStation) + " FrS=" + Real3(tool.tipRadius) + k +
                             " FWi=" + Real3(tool.angle) + " SnR=" + Real3(tool.shankRadius) +
                             " FEt=" + Real3(tool.plungeDepth) + "  " + name;
    WriteLine(st, prefix + GuardNcCommentText(guard, line) + suffix, numbered);
    if (macroLines) {
      const std::string n = std::to_string(i);
      WriteLine(st, ".VorschubXY" + n + " = " + FormatRoundedInteger(tool.feedXY * 1000.0f), numbered);
      WriteLine(st, ".VorschubZ_" + n + " = " + FormatRoundedInteger(tool.feedZ * 1000.0f), numbered);
      WriteLine(st, ".SpdDrehz__" + n + " = " + FormatRoundedInteger(tool.spindleSpeed), numbered);
    }
  }
}

void WriteRotaryDiameterComment(TNcWriterState& st, const std::string& prefix, const std::string& suffix,
                                TNcCommentGuard guard) {
  if (st.RotaryActive == 0 && st.Dialect != 74) return;
  const std::string text =
      GetMessageText(kMsgNcRotaryDiameter, -29) + TrimLeft(FormatRealText(8, 3, st.Machine.RotaryDiameter));
  AppendNcText(st, prefix + GuardNcCommentText(guard, text) + suffix + "\r\n");
}

void WriteProgramNoteLines(TNcWriterState& st) {
  EditProgramCommentLines(TrimRight(GetDialectCaption(st.Machine, NamedDialect(st))));
  for (int k = 0; k < kNcCommentLines; ++k) {
    const std::string line = GetNcCommentLine(k);
    if (!line.empty()) AppendNcText(st, line + "\r\n");
  }
}

void WriteWorkpiecePathHeader(TNcWriterState& st) {
  std::string folder, extension, name;
  SplitFileName(st.OutputFileName, folder, 255, extension, 255, name, 255);
  if (!extension.empty() && extension[0] == '.') extension.erase(0, 1);
  AppendNcText(st, "%_N_" + name + "_" + extension + "\r\n");
  AppendNcText(st, ";$PATH=/_N_WKS_DIR/_N_" + folder + "_WPD\r\n");
}
