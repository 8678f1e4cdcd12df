// The rapids table of the NC dialects: its bounds and that every form in it
// can be written, whatever state its conditional blocks find.
#include <gtest/gtest.h>

#include "machine/nc_approach.h"
#include "machine/nc_dialect_rapids.h"
#include "machine/nc_program_writer.h"
#include "machine/nc_rapid_moves.h"
#include "machine/nc_test_support.h"

namespace {

using nctest::Lines;
using nctest::MakeState;

TEST(NcDialectRapids, DialectOutsideTheTableGetsTheRowOfDialectZero) {
  for (int d : {-1, 101, 255, 100000}) EXPECT_EQ(&NcRapidsRow(d), &NcRapidsRow(0)) << "dialect " << d;
  EXPECT_NE(&NcRapidsRow(100), &NcRapidsRow(0));
}

// The goldens reach each form in the states of their jobs; here each rapid
// and index form also meets every condition switched on (compensation and
// circle mode on, coolant due, retract before the rapid), so a piece or a
// condition the sequence writer does not know fails here, not on a machine.
TEST(NcDialectRapids, EveryFormWritesWithEveryConditionOn) {
  for (int d = 0; d <= 100; ++d) {
    for (bool index : {false, true}) {
      auto st = MakeState(d);
      st->Machine.SafeZ = 10.0f;
      st->Machine.ApproachBeforeRapid = 1;
      st->CompensationOn = 1;
      st->CircleModeWritten = 1;
      st->CoolantPending = 1;
      st->TargetPos = {11, 30.0f, 40.0f, -2.0f};
      const TNcRapidsRow& row = NcRapidsRow(d);
      EXPECT_NO_THROW(WriteNcRapidSequence(*st, index ? row.Index : row.Rapid, " X7"))
          << "dialect " << d << (index ? " index" : " rapid");
      const std::string lines = Lines(*st);
      EXPECT_NE(lines.find("X7"), std::string::npos) << "dialect " << d << ": " << lines;
    }
  }
}

// The number after the first "Z" of the lines.
float FirstZ(const std::string& lines) {
  const size_t z = lines.find('Z');
  return z == std::string::npos ? 0.0f : std::stof(lines.substr(z + 1));
}

// The retract before an index turn goes up as the clearance move does: in
// the dialects whose Z grows into the work it is negative, never a rapid
// 10 mm down into the work.
TEST(NcDialectRapids, RetractBeforeAnIndexTurnGoesUpAsTheClearanceMove) {
  for (int d : {0, 25, 31, 45, 58, 81}) {
    auto clear = MakeState(d);
    clear->ClearanceHeight = 3.0f;
    clear->LastPos = {0, 0.0f, 0.0f, 2.0f};
    WriteClearanceMove(*clear);
    auto index = MakeState(d);
    index->Machine.SafeZ = 10.0f;
    TNcLoopState loop;
    HandleNcRecord(*index, loop, TVectorRecord{132, 90.0f, 0.0f, 0.0f});
    const float up = FirstZ(Lines(*clear)), retract = FirstZ(Lines(*index));
    ASSERT_NE(up, 0.0f) << "dialect " << d << ": " << Lines(*clear);
    EXPECT_EQ(retract, up / 3.0f * 10.0f) << "dialect " << d << ": " << Lines(*index);
  }
}

}  // namespace
