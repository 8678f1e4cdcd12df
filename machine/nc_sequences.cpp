// Writing dialect sequences held as text.
#include "machine/nc_sequences.h"

#include <stdexcept>
#include <utility>

#include "machine/nc_blocks.h"
#include "machine/nc_settings.h"
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
  if (name == "-SZ") return FormatNcNumber(st, -st.Machine.SafeZ);  // Z positive into the work
  if (name == "N") return std::to_string(st.LastToolStation);
  if (name == "N2") {
    const std::string n = std::to_string(st.LastToolStation);
    return n.size() == 1 ? "0" + n : n;
  }
  if (name == "next") return FormatNextToolWord(st);
  if (name == "toolName") return FormatToolCallOrName(st);
  if (name == "name") return st.ProgramName;
  if (name == "G40") {
    if (st.CompensationOn == 0) return "";
    st.CompensationOn = 0;
    return " G40";
  }
  if (name == "lb") return "{";
  if (name == "rb") return "}";
  if (name == "take") {
    TakeNewTool(st);
    return "";
  }
  if (name == "take:station") {
    st.LastToolStation = st.ToolStation;
    return "";
  }
  if (name == "coolantDue") {
    st.CoolantPending = 1;
    return "";
  }
  if (name == "feed85") {
    st.LastFeed = 0.85f;  // the first plunge after a tool call
    return "";
  }
  if (name == "at00") {
    st.LastPos.x = 0.0f;
    st.LastPos.y = 0.0f;
    return "";
  }
  if (name == "dwell") {
    WriteSpindleRampDwell(st);
    return "";
  }
  if (name == "cycleCall") {
    WriteCycleCallBlock(st);
    return "";
  }
  if (name == "compOff") {
    st.CompensationOn = 0;
    return "";
  }
  if (name == "circleOff") {
    st.CircleModeWritten = 0;
    return "";
  }
  throw std::logic_error("NC sequence: unknown piece {" + std::string(name) + "}");
}

bool CommonCondition(const TNcWriterState& st, std::string_view name) {
  if (name == "coolant") return st.Machine.CoolantOn == 1;
  if (name == "coolantAny") return st.Machine.CoolantOn != 0;
  if (name == "numbered") return st.Machine.BlockNumbering != 0;
  if (name == "startSet") return IsNcStartPositionSet(st.Machine);
  if (name == "parkSet") return IsNcParkPositionSet(st.Machine);
  if (name == "comp") return st.CompensationOn != 0;
  if (name == "circle") return st.CircleModeWritten != 0;
  if (name == "rotaryOn") return st.RotaryOn != 0;
  if (name == "rotaryActive") return st.RotaryActive != 0;
  if (name == "cylinder") return st.RotaryIncremental != 0;
  if (name == "station1000") return st.ToolStation <= 1000;
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
    std::string_view name = block.substr(1, colon - 1);
    const bool negated = !name.empty() && name.front() == '!';
    if (negated) name.remove_prefix(1);
    if (ConditionHolds(st, name, conditions) == negated) return;
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

TNcPiece NcAction(std::string_view name, std::function<void()> act) {
  return {name, [act = std::move(act)] {
            act();
            return std::string();
          }};
}

void WriteNcSequence(TNcWriterState& st, std::string_view sequence, std::initializer_list<TNcPiece> pieces,
                     std::initializer_list<TNcCondition> conditions) {
  while (true) {
    const size_t bar = sequence.find('|');
    WriteSequenceBlock(st, sequence.substr(0, bar), pieces, conditions);
    if (bar == std::string_view::npos) return;
    sequence.remove_prefix(bar + 1);
  }
}
