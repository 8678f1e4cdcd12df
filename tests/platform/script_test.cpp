// Scripted input: what each script line turns into, and how the lines are
// paced against the program's polling.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/script.h"
#include "platform/system.h"
#include "platform/window.h"
#include "support/headless_folder.h"

using plat::TMessage;

namespace {

struct TExpected {
  uint32_t message;
  uint32_t wParam;
  uint32_t lParam;
};

std::vector<TMessage> MessagesOf(const std::vector<plat::TScriptStep>& steps) {
  std::vector<TMessage> all;
  for (const auto& s : steps) all.insert(all.end(), s.messages.begin(), s.messages.end());
  return all;
}

std::string Describe(const std::vector<TMessage>& ms) {
  std::string out;
  char buf[64];
  for (const TMessage& m : ms) {
    std::snprintf(buf, sizeof buf, "{%u, %u, 0x%08X} ", m.message, m.wParam, uint32_t(m.lParam));
    out += buf;
  }
  return out;
}

struct TLineCase {
  const char* line;
  std::vector<TExpected> expected;
};

TEST(ScriptLines, KeyAndMouseLinesGiveTheWindowsMessages) {
  const TLineCase cases[] = {
      {"key Home", {{256, 36, 0x01470001}, {257, 36, 0xC1470001}}},
      {"key ctrl+Home",
       {{256, 17, 0x001D0001}, {256, 36, 0x01470001}, {257, 36, 0xC1470001}, {257, 17, 0xC01D0001}}},
      {"key ctrl+End",
       {{256, 17, 0x001D0001}, {256, 35, 0x014F0001}, {257, 35, 0xC14F0001}, {257, 17, 0xC01D0001}}},
      {"key alt+s",
       {{260, 18, 0x20380001}, {260, 'S', 0x201F0001}, {262, 's', 0x201F0001}, {261, 'S', 0xE01F0001},
        {257, 18, 0xC0380001}}},
      {"key Enter", {{256, 13, 0x001C0001}, {258, 13, 0x001C0001}, {257, 13, 0xC01C0001}}},
      {"key Esc", {{256, 27, 0x00010001}, {258, 27, 0x00010001}, {257, 27, 0xC0010001}}},
      {"key Backspace", {{256, 8, 0x000E0001}, {258, 8, 0x000E0001}, {257, 8, 0xC00E0001}}},
      {"key Tab", {{256, 9, 0x000F0001}, {258, 9, 0x000F0001}, {257, 9, 0xC00F0001}}},
      {"key shift+Tab",
       {{256, 16, 0x002A0001}, {256, 9, 0x000F0001}, {258, 9, 0x000F0001}, {257, 9, 0xC00F0001},
        {257, 16, 0xC02A0001}}},
      {"key Del", {{256, 46, 0x01530001}, {257, 46, 0xC1530001}}},
      {"key PgDn", {{256, 34, 0x01510001}, {257, 34, 0xC1510001}}},
      {"key Up", {{256, 38, 0x01480001}, {257, 38, 0xC1480001}}},
      {"key F1", {{256, 112, 0x003B0001}, {257, 112, 0xC03B0001}}},
      {"key F9", {{256, 120, 0x00430001}, {257, 120, 0xC0430001}}},
      {"key F12", {{256, 123, 0x00580001}, {257, 123, 0xC0580001}}},
      {"key a", {{256, 'A', 0x001E0001}, {258, 'a', 0x001E0001}, {257, 'A', 0xC01E0001}}},
      {"key A",
       {{256, 16, 0x002A0001}, {256, 'A', 0x001E0001}, {258, 'A', 0x001E0001}, {257, 'A', 0xC01E0001},
        {257, 16, 0xC02A0001}}},
      {"key ctrl+c",
       {{256, 17, 0x001D0001}, {256, 'C', 0x002E0001}, {258, 3, 0x002E0001}, {257, 'C', 0xC02E0001},
        {257, 17, 0xC01D0001}}},
      {"key ctrl+Enter",
       {{256, 17, 0x001D0001}, {256, 13, 0x001C0001}, {258, 10, 0x001C0001}, {257, 13, 0xC01C0001},
        {257, 17, 0xC01D0001}}},
      {"key 5", {{256, '5', 0x00060001}, {258, '5', 0x00060001}, {257, '5', 0xC0060001}}},
      {"key ä", {{258, 228, 1}}},
      {"text ä", {{258, 228, 1}}},
      {"text a b", {{258, 'a', 1}, {258, ' ', 1}, {258, 'b', 1}}},
      {"text €", {{258, 0x80, 1}}},
      {"move 10 20", {{512, 0, (20u << 16) | 10u}}},
      {"click 10 20", {{512, 0, (20u << 16) | 10u}, {513, 1, (20u << 16) | 10u}, {514, 0, (20u << 16) | 10u}}},
      {"click 5 6 right", {{512, 0, (6u << 16) | 5u}, {516, 2, (6u << 16) | 5u}, {517, 0, (6u << 16) | 5u}}},
      {"click 5 6 middle", {{512, 0, (6u << 16) | 5u}, {519, 16, (6u << 16) | 5u}, {520, 0, (6u << 16) | 5u}}},
      {"wheel 120", {{522, 120u << 16, 0}}},
      {"wheel -120", {{522, 0xFF880000u, 0}}},
      {"close", {{16, 0, 0}}},
      {"  # a comment", {}},
      {"", {}},
  };
  for (const TLineCase& c : cases) {
    plat::TScriptParser parser;
    std::vector<plat::TScriptStep> steps;
    std::string error;
    ASSERT_TRUE(plat::ParseScriptLine(parser, c.line, 1, steps, error)) << c.line << ": " << error;
    std::vector<TMessage> got = MessagesOf(steps);
    std::vector<TMessage> want;
    for (const TExpected& e : c.expected) want.push_back({e.message, e.wParam, int32_t(e.lParam)});
    EXPECT_EQ(Describe(got), Describe(want)) << "line: " << c.line;
  }
}

TEST(ScriptLines, HeldButtonsShowInLaterMouseMessagesAndTheWheelKeepsThePosition) {
  plat::TScriptParser parser;
  std::vector<plat::TScriptStep> steps;
  std::string error;
  for (const char* line : {"press 1 2 middle", "move 3 4", "wheel 240", "release 3 4 middle", "move 5 5"})
    ASSERT_TRUE(plat::ParseScriptLine(parser, line, 1, steps, error)) << line;
  std::vector<TMessage> got = MessagesOf(steps);
  std::vector<TMessage> want = {
      {512, 0, (2 << 16) | 1}, {519, 16, (2 << 16) | 1}, {512, 16, (4 << 16) | 3},
      {522, (240u << 16) | 16u, (4 << 16) | 3}, {512, 16, (4 << 16) | 3}, {520, 0, (4 << 16) | 3},
      {512, 0, (5 << 16) | 5}};
  EXPECT_EQ(Describe(got), Describe(want));
}

TEST(ScriptLines, ClickReleasesInASecondStepAndTextTypesOneCharacterPerStep) {
  plat::TScriptParser parser;
  std::vector<plat::TScriptStep> steps;
  std::string error;
  ASSERT_TRUE(plat::ParseScriptLine(parser, "click 3 4", 1, steps, error));
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_FALSE(steps[0].continuation);
  EXPECT_TRUE(steps[1].continuation);
  steps.clear();
  ASSERT_TRUE(plat::ParseScriptLine(parser, "text abc", 2, steps, error));
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_FALSE(steps[0].continuation);
  EXPECT_TRUE(steps[2].continuation);
}

TEST(ScriptLines, AnswersOfMessageBoxes) {
  struct {
    const char* line;
    int answer;
  } cases[] = {
      {"key Enter", plat::kAnswerYes}, {"key y", plat::kAnswerYes},     {"key n", plat::kAnswerNo},
      {"key Esc", plat::kAnswerCancel}, {"key ctrl+y", plat::kAnswerNone}, {"key Home", plat::kAnswerNone},
      {"move 1 1", plat::kAnswerNone},
  };
  for (const auto& c : cases) {
    plat::TScriptParser parser;
    std::vector<plat::TScriptStep> steps;
    std::string error;
    ASSERT_TRUE(plat::ParseScriptLine(parser, c.line, 1, steps, error));
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps[0].answer, c.answer) << c.line;
  }
}

TEST(ScriptLines, MalformedLinesAreRejectedWithAReason) {
  for (const char* line : {"key", "key Foo", "key ctrl+", "move 1", "move a b", "move 1 2 3", "click 1 2 sideways",
                           "wait -5", "wait soon", "shot", "wheel x", "wheel 99999", "close now", "bogus 1", "disk", "disk -2", "disk lots",
                           "move 70000 1"}) {
    plat::TScriptParser parser;
    std::vector<plat::TScriptStep> steps;
    std::string error;
    EXPECT_FALSE(plat::ParseScriptLine(parser, line, 7, steps, error)) << line;
    EXPECT_FALSE(error.empty()) << line;
    EXPECT_TRUE(steps.empty()) << line;
  }
}

TEST(ScriptLines, RelativeShotPathsAreTakenFromTheBaseFolder) {
  plat::TScriptParser parser;
  parser.baseFolder = "/base";
  std::vector<plat::TScriptStep> steps;
  std::string error;
  ASSERT_TRUE(plat::ParseScriptLine(parser, "shot out/a b.png", 1, steps, error));
  ASSERT_TRUE(plat::ParseScriptLine(parser, "shot /abs.png", 2, steps, error));
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].kind, plat::kStepShot);
  EXPECT_EQ(steps[0].shotPath, "/base/out/a b.png");
  EXPECT_EQ(steps[1].shotPath, "/abs.png");
}

// --- playing a script through the headless window ---------------------------------------

// A headless window in a fresh folder (it also writes a transcript, which
// these tests do not read).
class ScriptPlay : public torvtest::HeadlessFolderTest {
 protected:
  void Open(const std::string& script) {
    UseScript(script);
    ASSERT_TRUE(plat::OpenWindow(0, 0, 0, 0, 0));
    plat::ValidateWindow();
  }

  // One poll; records the message, or 0 for an empty poll.
  uint32_t Poll(TMessage* out = nullptr) {
    TMessage m;
    if (!plat::PeekWindowMessage(m)) return 0;
    if (out) *out = m;
    return m.message;
  }

  // Polls until a message comes (at most `limit` polls); the messages that
  // follow without an empty poll in between are the rest of the batch.
  std::vector<TMessage> NextBatch(int limit = 50) {
    std::vector<TMessage> batch;
    TMessage m;
    for (int i = 0; i < limit && batch.empty(); ++i)
      if (plat::PeekWindowMessage(m)) batch.push_back(m);
    while (!batch.empty() && plat::PeekWindowMessage(m)) batch.push_back(m);
    return batch;
  }
};

TEST_F(ScriptPlay, StepsComeOnlyAfterThreeEmptyPolls) {
  Open("key a\nkey b\n");
  int empty = 0;
  TMessage m;
  while (!plat::PeekWindowMessage(m)) ++empty;
  EXPECT_EQ(empty, 3);
  EXPECT_EQ(m.message, 256u);
  EXPECT_EQ(m.wParam, uint32_t('A'));
  // The rest of the first key, then again three empty polls before the next.
  while (plat::PeekWindowMessage(m)) {
  }
  empty = 1;
  while (!plat::PeekWindowMessage(m)) ++empty;
  EXPECT_EQ(empty, 3);
  EXPECT_EQ(m.wParam, uint32_t('B'));
}

TEST_F(ScriptPlay, ClickedButtonStaysDownForSeveralPolls) {
  Open("click 100 50\n");
  std::vector<TMessage> down = NextBatch();
  ASSERT_EQ(down.size(), 2u);
  EXPECT_EQ(down[0].message, 512u);
  EXPECT_EQ(down[1].message, 513u);
  EXPECT_EQ(down[1].lParam, (50 << 16) | 100);
  EXPECT_LT(plat::GetKeyState(1), 0);
  int polls = 1;  // the empty poll that ended the batch
  TMessage m;
  while (!plat::PeekWindowMessage(m)) {
    EXPECT_LT(plat::GetKeyState(1), 0) << "left button reads up while held";
    ++polls;
    ASSERT_LT(polls, 100);
  }
  EXPECT_GE(polls, 3);
  EXPECT_EQ(m.message, 514u);
  EXPECT_EQ(m.wParam, 0u);
  EXPECT_GE(plat::GetKeyState(1), 0);
}

TEST_F(ScriptPlay, KeyStateFollowsTheRetrievedMessages) {
  Open("key ctrl+Home\n");
  TMessage m;
  while (!plat::PeekWindowMessage(m)) {
  }
  ASSERT_EQ(m.wParam, 17u);
  EXPECT_LT(plat::GetKeyState(17), 0);
  ASSERT_TRUE(plat::PeekWindowMessage(m));
  EXPECT_EQ(m.wParam, 36u);
  EXPECT_LT(plat::GetKeyState(36), 0);
  ASSERT_TRUE(plat::PeekWindowMessage(m));  // Home up
  EXPECT_GE(plat::GetKeyState(36), 0);
  EXPECT_LT(plat::GetKeyState(17), 0);
  ASSERT_TRUE(plat::PeekWindowMessage(m));  // Ctrl up
  EXPECT_GE(plat::GetKeyState(17), 0);
}

TEST_F(ScriptPlay, WheelDeltaArrivesInTheHighWord) {
  Open("move 7 8\nwheel -120\n");
  ASSERT_EQ(NextBatch().size(), 1u);
  std::vector<TMessage> wheel = NextBatch();
  ASSERT_EQ(wheel.size(), 1u);
  EXPECT_EQ(wheel[0].message, 522u);
  EXPECT_EQ(int16_t(wheel[0].wParam >> 16), -120);
  EXPECT_EQ(wheel[0].lParam, (8 << 16) | 7);
}

TEST_F(ScriptPlay, EndOfScriptClosesOnceThenAgainAfterAMinute) {
  Open("move 1 1\n");
  ASSERT_EQ(NextBatch()[0].message, 512u);
  std::vector<TMessage> close = NextBatch();
  ASSERT_EQ(close.size(), 1u);
  EXPECT_EQ(close[0].message, 16u);
  uint32_t closedAt = plat::TickMs();
  // The program stays: no second close message within the minute ...
  TMessage m;
  int closes = 0;
  while (plat::TickMs() - closedAt < 59000)
    if (plat::PeekWindowMessage(m) && m.message == 16) ++closes;
  EXPECT_EQ(closes, 0);
  // ... and one after it.
  while (plat::TickMs() - closedAt < 61000)
    if (plat::PeekWindowMessage(m) && m.message == 16) ++closes;
  EXPECT_EQ(closes, 1);
}

TEST_F(ScriptPlay, WaitingForMessagesTakesTheNextLineAtOnce) {
  Open("key Esc\n");
  plat::WaitWindowMessage();
  TMessage m;
  ASSERT_TRUE(plat::PeekWindowMessage(m));
  EXPECT_EQ(m.message, 256u);
  EXPECT_EQ(m.wParam, 27u);
}

TEST_F(ScriptPlay, AProgramThatNeverEndsIsStoppedWithExitCode3) {
  Open("");
  EXPECT_EXIT(
      {
        TMessage m;
        for (;;) {
          plat::WaitWindowMessage();
          while (plat::PeekWindowMessage(m)) {
          }
        }
      },
      ::testing::ExitedWithCode(3), "script ended");
}

// A wait line lets the polling program run that long on the virtual clock
// before the next line comes, at no real cost.
TEST_F(ScriptPlay, WaitLinesHoldTheNextLineForTheirVirtualTime) {
  Open("wait 5000\nkey Esc\n");
  uint32_t before = plat::TickMs();
  auto realStart = std::chrono::steady_clock::now();
  int polls = 0;
  TMessage m;
  while (!plat::PeekWindowMessage(m)) {
    ++polls;
    ASSERT_LT(polls, 20000);
  }
  EXPECT_EQ(m.wParam, 27u);
  EXPECT_GE(plat::TickMs() - before, 5000u);
  EXPECT_GT(polls, 1000) << "the key came before the program had run the wait";
  EXPECT_LT(std::chrono::steady_clock::now() - realStart, std::chrono::seconds(1));
}

// A program that waits for input passes the rest of a wait at once.
TEST_F(ScriptPlay, WaitingForMessagesEndsAWaitAtOnce) {
  Open("wait 5000\nkey Esc\n");
  uint32_t before = plat::TickMs();
  TMessage m;
  ASSERT_FALSE(plat::PeekWindowMessage(m));  // three empty polls take the wait
  ASSERT_FALSE(plat::PeekWindowMessage(m));
  ASSERT_FALSE(plat::PeekWindowMessage(m));
  plat::WaitWindowMessage();
  ASSERT_TRUE(plat::PeekWindowMessage(m));
  EXPECT_EQ(m.wParam, 27u);
  EXPECT_GE(plat::TickMs() - before, 5000u);
}

// A disk line sets the free space of the simulated disk when the program
// reaches it, and not before.
TEST_F(ScriptPlay, DiskLinesFillTheDiskAtTheirPlace) {
  plat::gDiskBytesLeft = -1;
  Open("key a\ndisk 100\nkey Esc\ndisk -1\n");
  std::vector<TMessage> batch = NextBatch();
  ASSERT_FALSE(batch.empty());
  EXPECT_EQ(plat::gDiskBytesLeft, -1);
  NextBatch();
  EXPECT_EQ(plat::gDiskBytesLeft, 100);
  NextBatch();
  EXPECT_EQ(plat::gDiskBytesLeft, -1);
}

TEST_F(ScriptPlay, BadLinesAreSkippedWithAWarning) {
  testing::internal::CaptureStderr();
  Open("bogus line\nkey Esc\n");
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("line 1"), std::string::npos) << err;
  std::vector<TMessage> batch = NextBatch();
  ASSERT_FALSE(batch.empty());
  EXPECT_EQ(batch[0].wParam, 27u);
}

TEST_F(ScriptPlay, MissingScriptIsReportedAndActsAsEmpty) {
  setenv("TORV_SCRIPT", (dir / "no-such-script.txt").c_str(), 1);
  testing::internal::CaptureStderr();
  ASSERT_TRUE(plat::OpenWindow(0, 0, 0, 0, 0));
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("no-such-script.txt"), std::string::npos) << err;
  plat::ValidateWindow();
  std::vector<TMessage> batch = NextBatch();
  ASSERT_EQ(batch.size(), 1u);
  EXPECT_EQ(batch[0].message, 16u);
}

TEST_F(ScriptPlay, ShotWritesAPngOfTheClientArea) {
  setenv("TORV_SCREEN", "320x200", 1);
  std::string savedStart = plat::StartFolder;
  plat::StartFolder = dir.string();
  Open("shot pic.png\nkey Esc\n");
  plat::StartFolder = savedStart;
  NextBatch();
  std::ifstream in((dir / "pic.png").string(), std::ios::binary);
  ASSERT_TRUE(in) << "no screenshot written";
  std::vector<unsigned char> head(24);
  in.read(reinterpret_cast<char*>(head.data()), 24);
  ASSERT_EQ(in.gcount(), 24);
  const unsigned char signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  EXPECT_TRUE(std::equal(signature, signature + 8, head.begin()));
  uint32_t width = (head[16] << 24) | (head[17] << 16) | (head[18] << 8) | head[19];
  uint32_t height = (head[20] << 24) | (head[21] << 16) | (head[22] << 8) | head[23];
  EXPECT_EQ(width, 320u);
  EXPECT_EQ(height, 200u);
}

TEST_F(ScriptPlay, MessageBoxAnswerIsTakenFromTheNextLineAndPendingReleasesArePosted) {
  Open("click 5 5\nkey n\nkey Esc\n");
  ASSERT_EQ(NextBatch().size(), 2u);  // move + button down; the release is still due
  EXPECT_EQ(plat::TakeScriptedAnswer(), 0);
  TMessage m;
  ASSERT_TRUE(plat::PeekWindowMessage(m));
  EXPECT_EQ(m.message, 514u);
  EXPECT_EQ(plat::TakeScriptedAnswer(), 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(plat::TakeScriptedAnswer(), -1);
  EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
}

}  // namespace
