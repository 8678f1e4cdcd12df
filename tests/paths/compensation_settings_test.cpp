// The compensation settings of parameter block 7 and their journal lines.
#include "paths/compensation_settings.h"

#include "frame/param_file.h"
#include "paths_test_support.h"

namespace {

using pathstest::PathsTest;

TEST_F(PathsTest, FreshSettingsWriteTheDefaultJournalLines) {
  LogCompensationSettings();
  EXPECT_EQ(pathstest::Lines(Journal()),
            (std::vector<std::string>{"#9803 : AKor A2=25.000 A3=25.000 GL=0 \x9AZ=30.000 \x9AO=10.000",
                                      "#9804 : AKor DC=1 AZ=1 AV=1 AN=0 PN=1 BL=2 SI=2"}));
}

TEST_F(PathsTest, JournalLinesFollowTheStoredBlock) {
  TCompensationSettings s;
  ReadCompensationSettings(s);
  EXPECT_EQ(int(s.linkAlways), 1);
  EXPECT_EQ(int(s.deepCutClearing), int('Z'));
  EXPECT_EQ(int(s.deepCutPasses), 4);
  EXPECT_FLOAT_EQ(float(s.engravingSpacing), 0.2f);
  s.roundingAngle = 12.3456f;
  s.sideFlag = 7;  // any value but 0 is logged as set
  s.ringOverlap = 0.0f;
  s.checkCrossings = 0;
  s.reductionMode = 6;
  s.choiceSI = 3;
  PutParamBlock(kCompensationBlock, &s, sizeof s);
  LogCompensationSettings();
  EXPECT_EQ(pathstest::Lines(Journal()),
            (std::vector<std::string>{"#9803 : AKor A2=12.346 A3=25.000 GL=1 \x9AZ=30.000 \x9AO=0.000",
                                      "#9804 : AKor DC=0 AZ=1 AV=1 AN=0 PN=6 BL=2 SI=3"}));
}

}  // namespace
