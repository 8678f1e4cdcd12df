// Message boxes in the headless window: answers from the script, the
// transcript line, and the screen under the box put back.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/system.h"
#include "platform/window.h"
#include "support/headless_folder.h"

namespace {

using torvtest::ReadHostFile;

class MessageBoxes : public torvtest::HeadlessFolderTest {
 protected:
  void FillPattern() {
    plat::TFrameBuffer& fb = plat::WindowFrameBuffer();
    for (int y = 0; y < fb.height; ++y)
      for (int x = 0; x < fb.width; ++x) fb.pixels[size_t(y) * fb.width + x] = uint32_t(x * 31 + y * 17) & 0xFFFFFF;
  }
};

TEST_F(MessageBoxes, ScriptedAnswersGiveTheResultOfEachButtonStyle) {
  struct {
    uint32_t style;
    const char* answer;
    int result;
    const char* name;
  } cases[] = {
      {0, "key Enter", plat::kIdOk, "OK"},        {0, "key Esc", plat::kIdOk, "OK"},
      {0, "", plat::kIdOk, "OK"},                 {0x30, "key n", plat::kIdOk, "OK"},
      {1, "key Enter", plat::kIdOk, "OK"},        {1, "key Esc", plat::kIdCancel, "Cancel"},
      {1, "", plat::kIdCancel, "Cancel"},         {4, "key y", plat::kIdYes, "Yes"},
      {4, "key Enter", plat::kIdYes, "Yes"},      {4, "key n", plat::kIdNo, "No"},
      {4, "key Esc", plat::kIdNo, "No"},          {4, "", plat::kIdNo, "No"},
      {4, "move 3 3", plat::kIdNo, "No"},         {0x24, "key y", plat::kIdYes, "Yes"},
      {3, "key y", plat::kIdYes, "Yes"},          {3, "key n", plat::kIdNo, "No"},
      {3, "key Esc", plat::kIdCancel, "Cancel"},  {3, "", plat::kIdCancel, "Cancel"},
      {5, "key Enter", plat::kIdRetry, "Retry"},  {5, "key Esc", plat::kIdCancel, "Cancel"},
  };
  for (const auto& c : cases) {
    UseScript(std::string(c.answer) + "\n");
    std::filesystem::remove(dir / "transcript.txt");
    ASSERT_TRUE(plat::OpenWindow(0, 0, 0, 0, 0));
    testing::internal::CaptureStderr();
    int result = plat::MessageBox("Titel", "Text", c.style);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, c.result) << "style " << c.style << " answer '" << c.answer << "'";
    EXPECT_EQ(Transcript(), std::string("msgbox|Titel|Text|") + c.name + "\n")
        << "style " << c.style << " answer '" << c.answer << "'";
  }
}

TEST_F(MessageBoxes, TranscriptLineHoldsUtf8TextsWithLineBreaksMarked) {
  UseScript("key y\n");
  ASSERT_TRUE(plat::OpenWindow(0, 0, 0, 0, 0));
  EXPECT_EQ(plat::MessageBox("Frage \xE4", "Zeile 1\r\nZeile 2 \xFC\nZeile 3", 0x24), plat::kIdYes);
  EXPECT_EQ(Transcript(), "msgbox|Frage \xC3\xA4|Zeile 1\\nZeile 2 \xC3\xBC\\nZeile 3|Yes\n");
}

TEST_F(MessageBoxes, ScreenUnderTheBoxIsPutBack) {
  UseScript("shot " + (dir / "during.png").string() + "\nkey Enter\n");
  ASSERT_TRUE(plat::OpenWindow(0, 0, 0, 0, 0));
  FillPattern();
  std::vector<uint32_t> before = plat::WindowFrameBuffer().pixels;
  ASSERT_TRUE(plat::WriteScreenshot((dir / "before.png").string()));
  plat::TDc& dc = plat::WindowDc();
  plat::TPen pen{plat::kPenDot, 1, plat::Rgb(1, 2, 3)};
  plat::DcSetPen(dc, pen);
  plat::TRect clip{10, 10, 50, 50};
  plat::DcSetClipRect(dc, clip);

  EXPECT_EQ(plat::MessageBox("Hinweis", "Eine Meldung\r\nmit zwei Zeilen", 0x30), plat::kIdOk);

  EXPECT_TRUE(plat::WindowFrameBuffer().pixels == before) << "pixels under the box changed";
  // The box was really drawn while it was up.
  EXPECT_NE(ReadHostFile(dir / "during.png"), ReadHostFile(dir / "before.png"));
  // The program's drawing state is untouched.
  EXPECT_EQ(dc.pen.style, plat::kPenDot);
  EXPECT_EQ(dc.pen.color, plat::Rgb(1, 2, 3));
  EXPECT_EQ(dc.clip.left, 10);
  EXPECT_EQ(dc.clip.right, 50);
}

TEST_F(MessageBoxes, BoxLargerThanATinyWindowStaysInsideIt) {
  setenv("TORV_SCREEN", "64x48", 1);
  UseScript("key Enter\n");
  ASSERT_TRUE(plat::OpenWindow(0, 0, 0, 0, 0));
  FillPattern();
  std::vector<uint32_t> before = plat::WindowFrameBuffer().pixels;
  std::string longText(600, 'W');
  longText += "\r\n";
  longText += std::string(300, 'i');
  EXPECT_EQ(plat::MessageBox("Ein sehr langer Titel der nicht passt", longText, 0x10), plat::kIdOk);
  EXPECT_TRUE(plat::WindowFrameBuffer().pixels == before);
}

TEST_F(MessageBoxes, WithoutAWindowTheScriptStillAnswers) {
  UseScript("key n\n");
  EXPECT_EQ(plat::MessageBox("Frage", "Ohne Fenster?", 4), plat::kIdNo);
  EXPECT_EQ(Transcript(), "msgbox|Frage|Ohne Fenster?|No\n");
}

TEST_F(MessageBoxes, HeadlessWithoutAScriptCountsAsCancelled) {
  unsetenv("TORV_SCRIPT");
  plat::CloseWindow();
  ASSERT_TRUE(plat::OpenWindow(0, 0, 0, 0, 0));
  testing::internal::CaptureStderr();
  EXPECT_EQ(plat::MessageBox("Frage", "Speichern?", 3), plat::kIdCancel);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("no answer"), std::string::npos);
  EXPECT_EQ(Transcript(), "msgbox|Frage|Speichern?|Cancel\n");
}

}  // namespace
