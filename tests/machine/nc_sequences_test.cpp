// Dialect sequences held as text: blocks, pieces, conditions, raw lines.
#include "machine/nc_sequences.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "machine/nc_test_support.h"

namespace {

using nctest::Lines;
using nctest::MakeState;

TEST(NcSequences, BlocksPiecesAndConditionsInOrder) {
  auto st = MakeState(0);
  st->Machine.SafeZ = 10.0f;
  st->Machine.CoolantOn = 0;
  int calls = 0;
  WriteNcSequence(*st, "G0 Z{SZ}|?coolant:M9|{w}{w}|{empty}|~%{w}|?mine:M30",
                  {{"w", [&] { return " X" + std::to_string(++calls); }}, {"empty", [] { return std::string(); }}},
                  {{"mine", [] { return true; }}});
  // The coolant block is left out, the empty one too; pieces run left to
  // right; the raw line gets no number.
  EXPECT_EQ(Lines(*st), "G0 Z10|X1 X2|% X3|M30|");
}

TEST(NcSequences, BareTextGetsNeitherNumberNorLineEnd) {
  auto st = MakeState(1, 1);  // numbered, line end " *\r\n"
  st->BlockNumber = 10;
  WriteNcSequence(*st, "M30|~%|^\x04");
  EXPECT_EQ(nctest::Buffered(*st), "N10 M30 *\r\n% *\r\n\x04");
}

TEST(NcSequences, NegatedConditionsAndActions) {
  auto st = MakeState(0);
  st->Machine.CoolantOn = 0;
  int acted = 0;
  WriteNcSequence(*st, "?!coolant:M9|?coolant:M8|{act}M5|?!mine:M0",
                  {NcAction("act", [&] { ++acted; })}, {{"mine", [] { return true; }}});
  EXPECT_EQ(Lines(*st), "M9|M5|");
  EXPECT_EQ(acted, 1);
}

TEST(NcSequences, TakeNewToolHappensWhereTheSequenceSaysSo) {
  auto st = MakeState(0);
  st->LastToolStation = 1;
  st->ToolStation = 5;
  st->CoolantPending = 0;
  WriteNcSequence(*st, "{N}|{take}{N}");
  EXPECT_EQ(Lines(*st), "1|5|");
  EXPECT_EQ(st->CoolantPending, 1);
}

TEST(NcSequences, FaultsOfTheTableThrow) {
  auto st = MakeState(0);
  for (const char* bad : {"G0{nosuch}", "?nosuch:M5", "?coolant M5", "G0 {T"})
    EXPECT_THROW(WriteNcSequence(*st, bad), std::logic_error) << bad;
}

}  // namespace
