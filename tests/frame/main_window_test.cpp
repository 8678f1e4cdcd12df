// Window procedure, key buffer, mouse state, scrolling, the pump's ends and
// the clock helpers, run against the headless window.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "frame/main_window.h"
#include "frame/window_draw.h"
#include "platform/system.h"
#include "platform/window.h"

namespace {

constexpr uint32_t kKeyDown = 256, kKeyUp = 257, kChar = 258, kSysChar = 262;

// lParam of a key message: repeat count, scan code, flag bits above.
int32_t KeyParam(int scan, int repeat = 1, uint32_t bits = 0) {
  return int32_t(uint32_t(repeat & 0xFFFF) | (uint32_t(scan & 0xFF) << 16) | bits);
}
int32_t Point(int x, int y) { return int32_t(uint32_t(uint16_t(x)) | (uint32_t(uint16_t(y)) << 16)); }

std::vector<uint8_t> BufferContents() { return std::vector<uint8_t>(KeyBuffer, KeyBuffer + KeyCount); }

// Stands in for the program's exit procedure: stays installed and counts; a
// test that keeps polling after its input ran out is stopped loudly instead
// of ending the test process with 0.
int ExitProcRuns = 0;
void CountingExitProc() {
  ExitProc = CountingExitProc;
  if (++ExitProcRuns > 2) {
    std::fputs("the window was closed while the test still waited for input\n", stderr);
    std::abort();
  }
}

void ResetInputState() {
  ClearKeyBuffer();
  MouseButtonState = 0;
  MouseKeyFlags = 0;
  MouseX = MouseY = 0;
  WheelDelta = 0;
  ScrollPosition = 0;
  ScrollRange = 0;
}

// Opens the headless window with its drawing context; the script (if any)
// comes from TORV_SCRIPT as set by the test.
void OpenHeadlessWindow() {
  setenv("TORV_VIDEO", "headless", 1);
  plat::CloseWindow();  // a window left open elsewhere would keep its script
  CreateMainWindow(kWindowStyleMaximize, 0);
  SetUpWindowDC();
  GetClientMaxXY(MaxX, MaxY);
}

void CloseHeadlessWindow() {
  ReleaseWindowDc();
  plat::CloseWindow();
  unsetenv("TORV_SCRIPT");
  ExitProc = nullptr;
  ViewKind = 254;
  RepaintHook = nullptr;
  HintCloseHook = nullptr;
}

class WindowInput : public ::testing::Test {
 protected:
  void SetUp() override { ResetInputState(); }
  void TearDown() override { ResetInputState(); }
};

// --- keys --------------------------------------------------------------------------

struct TKeyMessage {
  uint32_t message;
  uint32_t wParam;
  int32_t lParam;
};

struct TKeyCase {
  const char* name;
  std::vector<TKeyMessage> messages;
  std::vector<uint8_t> expected;
};

TEST_F(WindowInput, KeyMessagesFillTheBufferAsTheDosKeyboardDid) {
  const uint32_t kAlt = 1u << 29;
  const std::vector<TKeyCase> cases = {
      {"Ctrl+Home", {{kKeyDown, 17, KeyParam(0x1D)}, {kKeyDown, 36, KeyParam(0x47)}}, {0, 254}},
      {"Ctrl+End", {{kKeyDown, 17, KeyParam(0x1D)}, {kKeyDown, 35, KeyParam(0x4F)}}, {0, 255}},
      {"Home", {{kKeyDown, 36, KeyParam(0x47)}}, {0, 0x47}},
      {"Home after Ctrl released",
       {{kKeyDown, 17, KeyParam(0x1D)}, {kKeyUp, 17, KeyParam(0x1D, 1, 3u << 30)}, {kKeyDown, 36, KeyParam(0x47)}},
       {0, 0x47}},
      {"Ctrl+Up keeps its scan code", {{kKeyDown, 17, KeyParam(0x1D)}, {kKeyDown, 38, KeyParam(0x48)}}, {0, 0x48}},
      {"every navigation key",
       {{kKeyDown, 33, KeyParam(0x49)}, {kKeyDown, 34, KeyParam(0x51)}, {kKeyDown, 37, KeyParam(0x4B)},
        {kKeyDown, 39, KeyParam(0x4D)}, {kKeyDown, 40, KeyParam(0x50)}},
       {0, 0x49, 0, 0x51, 0, 0x4B, 0, 0x4D, 0, 0x50}},
      {"held arrow with repeat count 2", {{kKeyDown, 38, KeyParam(0x48, 2)}}, {}},
      {"arrow with a foreign scan code", {{kKeyDown, 38, KeyParam(0x30)}}, {}},
      {"Delete", {{kKeyDown, 46, KeyParam(0x53, 1, 1u << 24)}}, {0, 0x53}},
      {"Delete with another scan code", {{kKeyDown, 46, KeyParam(0x52)}}, {}},
      {"F1 and F9", {{kKeyDown, 112, KeyParam(0x3B)}, {kKeyDown, 120, KeyParam(0x43)}}, {0, 0x3B, 0, 0x43}},
      {"F1 held (previous state bit)", {{kKeyDown, 112, KeyParam(0x3B, 1, 1u << 30)}}, {}},
      {"F10 is not taken", {{kKeyDown, 121, KeyParam(0x44)}}, {}},
      {"Alt+S", {{kSysChar, 's', KeyParam(0x1F, 1, kAlt)}}, {0, 31}},
      {"Alt+Z and Alt+A", {{kSysChar, 'Z', KeyParam(0x2C, 1, kAlt)}, {kSysChar, 'a', KeyParam(0x1E, 1, kAlt)}},
       {0, 44, 0, 30}},
      {"Alt+1, Alt+9, Alt+0",
       {{kSysChar, '1', KeyParam(2, 1, kAlt)}, {kSysChar, '9', KeyParam(10, 1, kAlt)}, {kSysChar, '0', KeyParam(11, 1, kAlt)}},
       {0, 120, 0, 128, 0, 129}},
      {"Alt+punctuation", {{kSysChar, ',', KeyParam(0x33, 1, kAlt)}, {kSysChar, '-', KeyParam(0x0C, 1, kAlt)}}, {}},
      {"system character without Alt", {{kSysChar, 's', KeyParam(0x1F)}}, {}},
      {"typed a-umlaut and sharp s", {{kChar, 0xE4, KeyParam(0x28)}, {kChar, 0xDF, KeyParam(0x0C)}}, {132, 225}},
      {"typed plain characters and Enter", {{kChar, 'A', 0}, {kChar, 13, 0}}, {'A', 13}},
  };
  for (const TKeyCase& c : cases) {
    ResetInputState();
    for (const TKeyMessage& m : c.messages) HandleMainWindowMessage(m.message, m.wParam, m.lParam);
    EXPECT_EQ(BufferContents(), c.expected) << c.name;
  }
}

TEST_F(WindowInput, SeventeenthKeyIsDroppedWithABeep) {
  int beeps = plat::BeepCount();
  for (int i = 0; i < 17; ++i) HandleMainWindowMessage(kChar, uint32_t('a' + i), 0);
  EXPECT_EQ(KeyCount, 16);
  EXPECT_EQ(plat::BeepCount(), beeps + 1);
  std::vector<uint8_t> expected;
  for (int i = 0; i < 16; ++i) expected.push_back(uint8_t('a' + i));
  EXPECT_EQ(BufferContents(), expected);
}

TEST_F(WindowInput, ExtendedKeyWithoutRoomForBothEntriesIsDroppedWhole) {
  for (int i = 0; i < 15; ++i) PushKeyCode(uint8_t('a' + i));
  int beeps = plat::BeepCount();
  HandleMainWindowMessage(kKeyDown, 36, KeyParam(0x47));
  EXPECT_EQ(KeyCount, 15);  // no lone 0 that would make the next key extended
  EXPECT_EQ(KeyBuffer[14], 'o');
  EXPECT_EQ(plat::BeepCount(), beeps + 1);
}

TEST_F(WindowInput, ReadNextKeyTakesKeysInOrder) {
  HandleMainWindowMessage(kChar, 'x', 0);
  HandleMainWindowMessage(kKeyDown, 40, KeyParam(0x50));
  HandleMainWindowMessage(kChar, 'y', 0);
  EXPECT_TRUE(PollKeyPressed());
  EXPECT_EQ(ReadNextKey(), 'x');
  EXPECT_EQ(ReadNextKey(), 0);
  EXPECT_EQ(ReadNextKey(), 0x50);
  EXPECT_EQ(ReadNextKey(), 'y');
  EXPECT_EQ(KeyCount, 0);
  EXPECT_FALSE(PollKeyPressed());
}

// --- mouse ----------------------------------------------------------------------------

TEST_F(WindowInput, MouseMessagesGiveTheButtonStateAtThePoll) {
  struct TCase {
    const char* name;
    uint32_t message;
    uint32_t wParam;
    uint8_t expected;
  };
  const TCase cases[] = {
      {"left down", 513, 1, 2},
      {"left up", 514, 0, 0},
      {"right down", 516, 2, 4},
      {"right with Shift is the middle button", 516, 2 | 4, 1},
      {"move with right and Shift held", 512, 2 | 4, 1},
      {"left with Shift stays left", 513, 1 | 4, 2},
      {"left and right held", 513, 1 | 2, 6},
      {"middle down", 519, 16, 1},
      {"middle up", 520, 0, 0},
      {"middle up while left held", 520, 1, 2},
      {"plain move", 512, 0, 0},
  };
  for (const TCase& c : cases) {
    ResetInputState();
    HandleMainWindowMessage(c.message, c.wParam, Point(300, 200));
    PollMouseButtons();
    EXPECT_EQ(GetMouseButtonState(), c.expected) << c.name;
  }
}

TEST_F(WindowInput, MousePositionComesFromTheLastMouseMessage) {
  HandleMainWindowMessage(512, 0, Point(300, 200));
  HandleMainWindowMessage(513, 1, Point(-5, 767));
  int16_t x = 0, y = 0;
  PollMousePosition(x, y);
  EXPECT_EQ(x, -5);
  EXPECT_EQ(y, 767);
  EXPECT_EQ(GetMouseButtonState(), 2);
}

TEST_F(WindowInput, CtrlAndShiftFlags) {
  EXPECT_TRUE(IsCtrlKeyUp());
  EXPECT_TRUE(IsShiftKeyUp());
  HandleMainWindowMessage(kKeyDown, 17, KeyParam(0x1D));
  EXPECT_FALSE(IsCtrlKeyUp());
  // The Ctrl flag alone leaves the button state as the last mouse message set it.
  MouseButtonState = 2;
  UpdateMouseButtonState();
  EXPECT_EQ(GetMouseButtonState(), 2);
  HandleMainWindowMessage(kKeyUp, 17, KeyParam(0x1D, 1, 3u << 30));
  EXPECT_TRUE(IsCtrlKeyUp());
  HandleMainWindowMessage(512, 4, Point(1, 1));
  EXPECT_FALSE(IsShiftKeyUp());
}

TEST_F(WindowInput, WheelDeltaIsTheSignedHighWord) {
  HandleMainWindowMessage(522, uint32_t(uint16_t(-240)) << 16, Point(10, 10));
  EXPECT_EQ(WheelDelta, -240);
  HandleMainWindowMessage(522, 120u << 16, Point(10, 10));
  EXPECT_EQ(WheelDelta, 120);
}

// --- scrolling ---------------------------------------------------------------------------

TEST_F(WindowInput, ScrollRequestsMoveAndClampThePosition) {
  struct TCase {
    int32_t start, range;
    int code;
    int32_t thumb, expected;
  };
  const TCase cases[] = {
      {10, 100, 5, 40, 40}, {10, 100, 4, 30, 30}, {5, 100, 0, 0, 4},   {0, 100, 0, 0, 0},
      {99, 100, 1, 0, 100}, {100, 100, 1, 0, 100}, {50, 100, 2, 0, 40}, {5, 100, 2, 0, 0},
      {50, 100, 3, 0, 60},  {95, 100, 3, 0, 100},  {50, 100, 6, 0, 0},  {50, 100, 7, 0, 100},
      {50, 100, 8, 7, 50},  {50, 100, 9, 0, 50},   {0, 7, 3, 0, 0},
  };
  for (const TCase& c : cases) {
    ScrollPosition = c.start;
    ScrollRange = c.range;
    HandleMainWindowMessage(277, uint32_t(c.code) | (uint32_t(c.thumb) << 16), 0);
    EXPECT_EQ(ScrollPosition, c.expected) << "start " << c.start << " code " << c.code;
  }
}

// --- typed input through the platform --------------------------------------------------

TEST(MainWindow, ScriptedKeysReachTheKeyBufferConverted) {
  char path[] = "/tmp/torv_keysXXXXXX";
  int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  {
    std::ofstream script(path);
    script << "key ctrl+Home\n"
              "text \xC3\xA4\n"  // "ä" in UTF-8
              "key F1\n"
              "key alt+s\n"
              "key Home\n";
  }
  ResetInputState();
  setenv("TORV_SCRIPT", path, 1);
  OpenHeadlessWindow();
  ExitProcRuns = 0;
  ExitProc = CountingExitProc;
  std::vector<uint8_t> keys;
  for (int i = 0; i < 9; ++i) keys.push_back(ReadNextKey());
  EXPECT_EQ(keys, (std::vector<uint8_t>{0, 254, 132, 0, 0x3B, 0, 31, 0, 0x47}));
  CloseHeadlessWindow();
  ResetInputState();
  std::remove(path);
}

TEST(MainWindow, PaintRebuildsOnlyTheUpdateRectangleOnceAViewExists) {
  unsetenv("TORV_SCRIPT");
  OpenHeadlessWindow();
  ExitProc = CountingExitProc;
  static int repaints = 0, hintCloses = 0;
  repaints = hintCloses = 0;
  RepaintHook = [] {
    ++repaints;
    FillColorRect(0, 0, MaxX, MaxY, plat::Rgb(255, 0, 0));
  };
  HintCloseHook = [] { ++hintCloses; };
  FillColorRect(0, 0, MaxX, MaxY, plat::Rgb(0, 0, 0));
  plat::ValidateWindow();

  // No view yet: the paint is taken but nothing is rebuilt.
  ViewKind = 254;
  plat::TRect area{100, 50, 110, 60};
  plat::InvalidateWindow(&area);
  HandleMainWindowMessage(15, 0, 0);
  EXPECT_EQ(repaints, 0);
  plat::TRect left;
  EXPECT_FALSE(plat::GetUpdateRect(left));

  ViewKind = 0;
  plat::InvalidateWindow(&area);
  HandleMainWindowMessage(15, 0, 0);
  EXPECT_EQ(repaints, 1);
  EXPECT_EQ(hintCloses, 2);
  const plat::TFrameBuffer& fb = plat::WindowFrameBuffer();
  auto pixel = [&](int x, int y) { return fb.pixels[size_t(y) * size_t(fb.width) + size_t(x)]; };
  uint32_t red = plat::PixelFromColorRef(plat::Rgb(255, 0, 0));
  EXPECT_EQ(pixel(100, 50), red);
  EXPECT_EQ(pixel(109, 59), red);
  EXPECT_NE(pixel(110, 59), red);
  EXPECT_NE(pixel(99, 50), red);
  EXPECT_NE(pixel(500, 500), red);
  // Afterwards the whole client area (up to the layout's maximum) is drawable again.
  DrawScreenLine(0, 300, 20, 300);
  EXPECT_NE(pixel(5, 300), plat::PixelFromColorRef(plat::Rgb(0, 0, 0)));
  CloseHeadlessWindow();
}

// --- the ends of the program -----------------------------------------------------------

void ExitProcThatReports() {
  static int runs = 0;
  if (++runs > 1) std::_Exit(9);
  std::fputs("exit procedure ran\n", stderr);
  ReleaseWindowAndHalt();
}

TEST(MainWindowDeathTest, QuitMessageEndsWith255AfterTheExitProcedure) {
  EXPECT_EXIT(
      {
        OpenHeadlessWindow();
        ExitProc = ExitProcThatReports;
        plat::PostWindowMessage(18, 0, 0);
        PumpWindowMessages();
        std::fputs("pump returned\n", stderr);
        std::exit(7);
      },
      ::testing::ExitedWithCode(255), "exit procedure ran");
}

TEST(MainWindowDeathTest, DestroyPostsTheQuitMessage) {
  EXPECT_EXIT(
      {
        OpenHeadlessWindow();
        plat::PostWindowMessage(2, 0, 0);
        PumpWindowMessages();
        std::exit(7);
      },
      ::testing::ExitedWithCode(255), "");
}

TEST(MainWindowDeathTest, CloseRunsTheExitProcedureOnceAndEndsWithZero) {
  EXPECT_EXIT(
      {
        OpenHeadlessWindow();
        ExitProc = ExitProcThatReports;
        plat::PostWindowMessage(16, 0, 0);
        plat::PostWindowMessage(16, 0, 0);
        PumpWindowMessages();
        std::exit(7);
      },
      ::testing::ExitedWithCode(0), "exit procedure ran");
}

TEST(MainWindowDeathTest, CloseWithoutExitProcedureEndsWithZero) {
  EXPECT_EXIT(
      {
        OpenHeadlessWindow();
        ExitProc = nullptr;
        HandleMainWindowMessage(16, 0, 0);
        std::exit(7);
      },
      ::testing::ExitedWithCode(0), "");
}

TExitProc PreviousProc = nullptr;
void InnerExitProc() { std::fputs("inner\n", stderr); }
void OuterExitProc() {
  std::fputs("outer\n", stderr);
  ExitProc = PreviousProc;  // puts the procedure it replaced back
}

TEST(MainWindowDeathTest, HaltRunsTheChainOfExitProceduresOnce) {
  EXPECT_EXIT(
      {
        ExitProc = InnerExitProc;
        PreviousProc = ExitProc;
        ExitProc = OuterExitProc;
        HaltProgram(5);
      },
      ::testing::ExitedWithCode(5), "^outer\ninner\n$");
}

// --- clock --------------------------------------------------------------------------------

TEST(MainWindow, LongDelayWaitsMoreThanItsMilliseconds) {
  setenv("TORV_VIDEO", "headless", 1);  // virtual clock: no real waiting
  uint32_t before = plat::TickMs();
  DelayMs(2500);
  EXPECT_GT(plat::TickMs() - before, 2500u);
}

// True when text has the shape: '9' stands for any digit, other characters for themselves.
bool MatchesShape(const std::string& text, const std::string& shape) {
  if (text.size() != shape.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    bool ok = shape[i] == '9' ? (text[i] >= '0' && text[i] <= '9') : text[i] == shape[i];
    if (!ok) return false;
  }
  return true;
}

TEST(MainWindow, DateAndTimeTexts) {
  setenv("TORV_VIDEO", "headless", 1);
  std::string date, time;
  FormatDate(date);
  FormatTimeOfDay(time);
  EXPECT_TRUE(MatchesShape(date, "99.99.99  ")) << date;
  EXPECT_TRUE(MatchesShape(time, "99:99:99 h ")) << time;
  uint16_t y, m, d, w;
  GetDateAndWeekday(y, m, d, w);
  EXPECT_EQ(date.substr(0, 2), (d < 10 ? "0" : "") + std::to_string(d));
  EXPECT_EQ(date.substr(3, 2), (m < 10 ? "0" : "") + std::to_string(m));
  EXPECT_LE(w, 6);
}

}  // namespace
