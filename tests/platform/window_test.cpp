// The headless window: client size, paint bookkeeping, message order,
// caption transcript, resizing and the code page conversions.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/backend.h"
#include "platform/window.h"
#include "support/headless_folder.h"

using plat::TMessage;

namespace {

class HeadlessWindow : public torvtest::HeadlessFolderTest {
 protected:
  void SetUp() override {
    torvtest::HeadlessFolderTest::SetUp();
    // A script that never ends during a test.
    UseScript("wait 86400000\n");
  }
};

TEST_F(HeadlessWindow, ClientAreaIsTheDefaultOrTheNamedScreenSize) {
  ASSERT_TRUE(plat::OpenWindow(50, 50, 768, 596, 0));
  int w = 0, h = 0;
  plat::GetClientSize(w, h);
  EXPECT_EQ(w, 1024);
  EXPECT_EQ(h, 768);
  EXPECT_EQ(plat::WindowDc().target, &plat::WindowFrameBuffer());
  EXPECT_EQ(plat::WindowFrameBuffer().pixels.size(), size_t(1024 * 768));
  plat::CloseWindow();

  setenv("TORV_SCREEN", "640x480", 1);
  ASSERT_TRUE(plat::OpenWindow(50, 50, 768, 596, 0));
  plat::GetClientSize(w, h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  plat::CloseWindow();

  setenv("TORV_SCREEN", "huge", 1);
  testing::internal::CaptureStderr();
  ASSERT_TRUE(plat::OpenWindow(50, 50, 768, 596, 0));
  EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
  plat::GetClientSize(w, h);
  EXPECT_EQ(w, 1024);
  EXPECT_EQ(h, 768);
}

TEST_F(HeadlessWindow, NewWindowAsksForOnePaintOfTheWholeClient) {
  ASSERT_TRUE(plat::OpenWindow(0, 0, 0, 0, 0));
  TMessage m;
  ASSERT_TRUE(plat::PeekWindowMessage(m));
  EXPECT_EQ(m.message, uint32_t(plat::kMsgPaint));
  plat::TRect r;
  ASSERT_TRUE(plat::GetUpdateRect(r));
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 1024);
  EXPECT_EQ(r.bottom, 768);
  // Not validated: still no second paint message for the same invalidation.
  EXPECT_FALSE(plat::PeekWindowMessage(m));
  plat::ValidateWindow();
  EXPECT_FALSE(plat::GetUpdateRect(r));
}

TEST_F(HeadlessWindow, InvalidatedAreasJoinIntoOnePaintAfterPostedMessages) {
  ASSERT_TRUE(plat::OpenWindow(0, 0, 0, 0, 0));
  plat::ValidateWindow();
  plat::TRect a{10, 20, 30, 40}, b{100, 5, 120, 25};
  plat::InvalidateWindow(&a);
  plat::PostWindowMessage(1234, 5, 6);
  plat::InvalidateWindow(&b);
  TMessage m;
  ASSERT_TRUE(plat::PeekWindowMessage(m));
  EXPECT_EQ(m.message, 1234u);
  EXPECT_EQ(m.wParam, 5u);
  EXPECT_EQ(m.lParam, 6);
  ASSERT_TRUE(plat::PeekWindowMessage(m));
  EXPECT_EQ(m.message, uint32_t(plat::kMsgPaint));
  EXPECT_FALSE(plat::PeekWindowMessage(m));
  plat::TRect r;
  ASSERT_TRUE(plat::GetUpdateRect(r));
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 5);
  EXPECT_EQ(r.right, 120);
  EXPECT_EQ(r.bottom, 40);

  // An area outside the client asks for nothing.
  plat::ValidateWindow();
  plat::TRect outside{2000, 2000, 2100, 2100};
  plat::InvalidateWindow(&outside);
  EXPECT_FALSE(plat::GetUpdateRect(r));
  EXPECT_FALSE(plat::PeekWindowMessage(m));
}

TEST_F(HeadlessWindow, QuitIsOnlyWhatThePostGives) {
  ASSERT_TRUE(plat::OpenWindow(0, 0, 0, 0, 0));
  plat::ValidateWindow();
  plat::PostWindowMessage(plat::kMsgQuit, 255, 0);
  TMessage m;
  ASSERT_TRUE(plat::PeekWindowMessage(m));
  EXPECT_EQ(m.message, uint32_t(plat::kMsgQuit));
  EXPECT_EQ(m.wParam, 255u);
  for (int i = 0; i < 100; ++i) {
    if (plat::PeekWindowMessage(m)) {
      EXPECT_NE(m.message, uint32_t(plat::kMsgQuit));
    }
  }
}

TEST_F(HeadlessWindow, CaptionChangesGoToTheTranscriptInUtf8) {
  ASSERT_TRUE(plat::OpenWindow(0, 0, 0, 0, 0));
  plat::SetWindowCaption("Zeichnung \xE4 1");
  plat::SetWindowCaption("Zeichnung \xE4 1");  // unchanged: no line
  plat::SetWindowCaption("Neu \x80");
  EXPECT_EQ(plat::GetWindowCaption(), "Neu \x80");
  EXPECT_EQ(Transcript(), "caption|Zeichnung \xC3\xA4 1\ncaption|Neu \xE2\x82\xAC\n");
}

TEST_F(HeadlessWindow, MovingThePointerReportsTheNewPosition) {
  ASSERT_TRUE(plat::OpenWindow(0, 0, 0, 0, 0));
  plat::ValidateWindow();
  plat::SetMousePosition(300, 200);
  TMessage m;
  ASSERT_TRUE(plat::PeekWindowMessage(m));
  EXPECT_EQ(m.message, uint32_t(plat::kMsgMouseMove));
  EXPECT_EQ(m.lParam & 0xFFFF, 300);
  EXPECT_EQ(m.lParam >> 16, 200);
}

TEST_F(HeadlessWindow, ResizingKeepsTheOverlapAndRepaintsEverything) {
  ASSERT_TRUE(plat::OpenWindow(0, 0, 0, 0, 0));
  plat::ValidateWindow();
  plat::TFrameBuffer& fb = plat::WindowFrameBuffer();
  fb.pixels[size_t(5) * 1024 + 7] = 0x123456;
  fb.pixels[size_t(700) * 1024 + 1000] = 0x654321;  // outside the smaller size
  plat::ResizeWindowFrame(800, 600);
  ASSERT_EQ(fb.width, 800);
  ASSERT_EQ(fb.height, 600);
  ASSERT_EQ(fb.pixels.size(), size_t(800 * 600));
  EXPECT_EQ(fb.pixels[size_t(5) * 800 + 7], 0x123456u);
  EXPECT_EQ(plat::WindowDc().clip.right, 800);
  EXPECT_EQ(plat::WindowDc().clip.bottom, 600);
  plat::TRect r;
  ASSERT_TRUE(plat::GetUpdateRect(r));
  EXPECT_EQ(r.right, 800);
  EXPECT_EQ(r.bottom, 600);

  plat::ResizeWindowFrame(900, 700);
  EXPECT_EQ(fb.pixels[size_t(5) * 900 + 7], 0x123456u);
  EXPECT_EQ(fb.pixels[size_t(650) * 900 + 850], plat::kWindowBackgroundPixel);
  EXPECT_EQ(plat::WindowDc().clip.right, 900);
}

TEST_F(HeadlessWindow, ClosingResetsEverything) {
  ASSERT_TRUE(plat::OpenWindow(0, 0, 0, 0, 0));
  plat::PostWindowMessage(1234, 0, 0);
  plat::SetWindowCaption("x");
  plat::CloseWindow();
  EXPECT_FALSE(plat::WindowIsOpen());
  EXPECT_EQ(plat::GetWindowCaption(), "");
  TMessage m;
  EXPECT_FALSE(plat::PeekWindowMessage(m));
  int w = -1, h = -1;
  plat::GetClientSize(w, h);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
  EXPECT_FALSE(plat::WriteScreenshot((dir / "none.png").string()));
}

TEST(CodePage, Cp1252AndUtf8ConvertBothWays) {
  struct {
    const char* win;
    const char* utf8;
  } cases[] = {
      {"abc", "abc"},
      {"\xE4\xF6\xFC\xDF", "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F"},
      {"\x80", "\xE2\x82\xAC"},
      {"\x9F", "\xC5\xB8"},
      {"\xB0", "\xC2\xB0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(plat::wnd::Utf8FromWin(c.win), c.utf8);
    EXPECT_EQ(plat::wnd::WinFromUtf8(c.utf8), c.win);
  }
  // Characters without a code page form and broken sequences are dropped.
  EXPECT_EQ(plat::wnd::WinFromUtf8("a\xE4\xB8\xAD" "b"), "ab");
  EXPECT_EQ(plat::wnd::WinFromUtf8("a\xC3"), "a");
  EXPECT_EQ(plat::wnd::WinFromUtf8("a\xC0\x80" "b"), "ab");
  EXPECT_EQ(plat::wnd::WinFromUtf8("\xFF" "x"), "x");
}

}  // namespace
