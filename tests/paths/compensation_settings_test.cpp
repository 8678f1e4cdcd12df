// The compensation settings of parameter block 7 and their journal lines.
#include "paths/compensation_settings.h"

#include "frame/param_file.h"
#include "paths_test_support.h"
#include "ui/paced_script.h"
#include "ui/ui_screen.h"

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

// The settings page run in the input form with scripted keys: a headless
// window, the default parameter image, the journal in the screen's folder.
class TSettingsPage : public uitest::TScreen {
 public:
  TSettingsPage() {
    ParamImage = new TParameterImage;
    FillParamDefaults();
    RedrawState = 0;  // choice fields run their list only while no rebuild is pending
  }
  ~TSettingsPage() {
    delete ParamImage;
    ParamImage = nullptr;
  }
  static TCompensationSettings Stored() {
    TCompensationSettings s;
    ReadCompensationSettings(s);
    return s;
  }
  std::vector<std::string> Journal() const { return pathstest::Lines(ReadFile("MENUREC.TXT")); }
  int MessageBoxes() const {
    int n = 0;
    for (const std::string& line : pathstest::Lines(ReadFile("transcript.txt"))) n += line.rfind("msgbox|", 0) == 0;
    return n;
  }
};

TEST(CompensationSettingsPage, ValuesAreStoredAndLogged) {
  TSettingsPage page;
  // A2 40, A3 unchanged, GL yes, ÜZ 45; then OK.
  uitest::NewScript(page, "text 40\nkey Enter\nkey Enter\ntext j\nkey Enter\ntext 45\nkey F1\n");
  EditCompensationSettings(128, 0);
  const TCompensationSettings s = TSettingsPage::Stored();
  EXPECT_FLOAT_EQ(s.roundingAngle, 40);
  EXPECT_FLOAT_EQ(s.secondRoundingAngle, 25);
  EXPECT_EQ(s.sideFlag, 1);
  EXPECT_FLOAT_EQ(s.lineStepover, 45);
  EXPECT_EQ(s.reductionMode, 1);
  EXPECT_EQ(s.choiceBL, 2);
  EXPECT_EQ(page.Journal(),
            (std::vector<std::string>{"#9803 : AKor A2=40.000 A3=25.000 GL=1 \x9AZ=45.000 \x9AO=10.000",
                                      "#9804 : AKor DC=1 AZ=1 AV=1 AN=0 PN=1 BL=2 SI=2"}));
}

TEST(CompensationSettingsPage, CancelLeavesBlockAndJournal) {
  TSettingsPage page;
  TCompensationSettings before = TSettingsPage::Stored();
  uitest::NewScript(page, "text 40\nkey Enter\ntext 50\nkey Enter\ntext j\nkey Esc\n");
  EditCompensationSettings(128, 0);
  const TCompensationSettings after = TSettingsPage::Stored();
  EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
  EXPECT_TRUE(page.Journal().empty());
  // A number outside 5-180 is asked again; Esc then cancels the page.
  uitest::NewScript(page, "text 200\nkey Enter\nkey Esc\nkey Esc\n");
  EditCompensationSettings(128, 0);
  EXPECT_FLOAT_EQ(TSettingsPage::Stored().roundingAngle, 25);
}

void StoreFlags(uint8_t an, uint8_t f28, uint8_t f29) {
  TCompensationSettings s = TSettingsPage::Stored();
  s.flagAN = an;
  s.flag28 = f28;
  s.flag29 = f29;
  PutParamBlock(kCompensationBlock, &s, sizeof s);
}

TEST(CompensationSettingsPage, FlagsAnAnd28AreNeverStoredTogether) {
  // Yes to the question: AN is cleared and the page is stored.
  {
    TSettingsPage page;
    StoreFlags(1, 1, 0);
    uitest::NewScript(page, "text 33\nkey F1\nkey Enter\n");
    EditCompensationSettings(128, 0);
    EXPECT_EQ(TSettingsPage::Stored().flagAN, 0);
    EXPECT_EQ(TSettingsPage::Stored().flag28, 1);
    EXPECT_FLOAT_EQ(TSettingsPage::Stored().roundingAngle, 33);
    EXPECT_EQ(page.MessageBoxes(), 1) << page.ReadFile("transcript.txt");
    EXPECT_EQ(page.Journal().size(), 2u);
  }
  // No: the page comes back with the values entered and asks again.
  {
    TSettingsPage page;
    StoreFlags(1, 1, 0);
    uitest::NewScript(page, "text 33\nkey F1\ntext n\nkey F1\nkey Enter\n");
    EditCompensationSettings(128, 0);
    const TCompensationSettings s = TSettingsPage::Stored();
    EXPECT_FLOAT_EQ(s.roundingAngle, 33) << "the values entered before the question are kept";
    EXPECT_EQ(s.flagAN, 0);
    EXPECT_EQ(s.flag28, 1);
    EXPECT_EQ(page.MessageBoxes(), 2);
  }
  // No, then Esc on the second showing: nothing is stored.
  {
    TSettingsPage page;
    StoreFlags(1, 1, 0);
    uitest::NewScript(page, "text 33\nkey F1\ntext n\nkey Esc\n");
    EditCompensationSettings(128, 0);
    EXPECT_EQ(TSettingsPage::Stored().flagAN, 1);
    EXPECT_FLOAT_EQ(TSettingsPage::Stored().roundingAngle, 25);
    EXPECT_TRUE(page.Journal().empty());
  }
}

TEST(CompensationSettingsPage, Flag29IsClearedWhen28IsSet) {
  TSettingsPage page;
  StoreFlags(0, 1, 1);
  uitest::NewScript(page, "key F1\nkey Enter\n");
  EditCompensationSettings(128, 0);
  EXPECT_EQ(TSettingsPage::Stored().flag28, 1);
  EXPECT_EQ(TSettingsPage::Stored().flag29, 0);
  EXPECT_EQ(page.MessageBoxes(), 1) << "one note";
  // Flag 29 alone stays.
  StoreFlags(0, 0, 1);
  uitest::NewScript(page, "key F1\n");
  EditCompensationSettings(128, 0);
  EXPECT_EQ(TSettingsPage::Stored().flag29, 1);
  EXPECT_EQ(page.MessageBoxes(), 1);
}

TEST(CompensationSettingsPage, ChoicesKeepTheirIndexAndUnreadableOnesAreClamped) {
  TSettingsPage page;
  TCompensationSettings s = TSettingsPage::Stored();
  s.reductionMode = 6;
  s.choiceBL = 9;
  s.choiceSI = 0;
  PutParamBlock(kCompensationBlock, &s, sizeof s);
  uitest::NewScript(page, "key F1\n");
  EditCompensationSettings(128, 0);
  const TCompensationSettings after = TSettingsPage::Stored();
  EXPECT_EQ(after.reductionMode, 6);
  EXPECT_EQ(after.choiceBL, 3);
  EXPECT_EQ(after.choiceSI, 1);
}

}  // namespace
