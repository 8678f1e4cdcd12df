// Writing dialect sequences held as text.
#include "machine/nc_sequences.h"

#include <stdexcept>

#include "machine/nc_blocks.h"
#include "machine/nc_words.h"

void TakeNewTool(TNcWriterState& st) {
  st.LastToolStation = st.ToolStation;
  st.LastSpindleSpeed = st.SpindleSpeed;
  st.CoolantPending = 1;
}

namespace {

std::string CommonPiece(TNcWriterState& st, std::string_view name) {
  if (name == "T") return FormatToolWord(st);
  if (name == "M6") return GetToolChangeCode(st);
  if (name == "S") return FormatSpindleWord(st);
  if (name == "C") return GetCoolantWord(st);
  if (name == "Coff") return FormatCoolantCodes(st, false);
  if (name == "F") return FormatFeedWord(st);
  if (name == "SZ") return FormatNcNumber(st, st.Machine.SafeZ);
  if (name == "N") return std::to_string(st.LastToolStation);
  if (name == "take") {
    TakeNewTool(st);
    return "";
  }
  throw std::logic_error("NC sequence: unknown piece {" + std::string(name) + "}");
}

bool CommonCondition(const TNcWriterState& st, std::string_view name) {
  if (name == "coolant") return st.Machine.CoolantOn == 1;
  if (name == "numbered") return st.Machine.BlockNumbering != 0;
  throw std::logic_error("NC sequence: unknown condition ?" + std::string(name));
}

std::string PieceText(TNcWriterState& st, std::string_view name, std::initializer_list<TNcPiece> pieces) {
  for (const TNcPiece& p : pieces)
    if (p.Name == name) return p.Text();
  return CommonPiece(st, name);
}

bool ConditionHolds(const TNcWriterState& st, std::string_view name, std::initializer_list<TNcCondition> conditions) {
  for (const TNcCondition& c : conditions)
    if (c.Name == name) return c.Holds();
  return CommonCondition(st, name);
}

void WriteSequenceBlock(TNcWriterState& st, std::string_view block, std::initializer_list<TNcPiece> pieces,
                        std::initializer_list<TNcCondition> conditions) {
  if (!block.empty() && block.front() == '?') {
    const size_t colon = block.find(':');
    if (colon == std::string_view::npos)
      throw std::logic_error("NC sequence: condition without ':' in \"" + std::string(block) + "\"");
    if (!ConditionHolds(st, block.substr(1, colon - 1), conditions)) return;
    block.remove_prefix(colon + 1);
  }
  const bool raw = !block.empty() && block.front() == '~';
  const bool bare = !block.empty() && block.front() == '^';
  if (raw || bare) block.remove_prefix(1);
  std::string text;
  while (!block.empty()) {
    const size_t open = block.find('{');
    text += block.substr(0, open);
    if (open == std::string_view::npos) break;
    const size_t close = block.find('}', open);
    if (close == std::string_view::npos)
      throw std::logic_error("NC sequence: unclosed piece in \"" + std::string(block) + "\"");
    text += PieceText(st, block.substr(open + 1, close - open - 1), pieces);
    block.remove_prefix(close + 1);
  }
  if (raw) AppendNcText(st, text + GetNcLineEnd(st));
  else if (bare) AppendNcText(st, text);
  else WriteNcBlock(st, text);
}

}  // namespace

void WriteNcSequence(TNcWriterState& st, std::string_view sequence, std::initializer_list<TNcPiece> pieces,
                     std::initializer_list<TNcCondition> conditions) {
  while (true) {
    const size_t bar = sequence.find('|');
    WriteSequenceBlock(st, sequence.substr(0, bar), pieces, conditions);
    if (bar == std::string_view::npos) return;
    sequence.remove_prefix(bar + 1);
  }
}
