// The hint popup: its box holds every pixel of its text, so that closing it
// gives back the screen it covered.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "frame/program_state.h"
#include "platform/files.h"
#include "tests/ui/ui_screen.h"
#include "ui/hint_popup.h"
#include "ui/panels.h"

namespace {

using uitest::TScreen;

TEST(HintPopup, ClosingGivesBackEveryPixelTheTextCovered) {
  TScreen screen;
  const std::string keptFolder = ProgramFolderName;
  ProgramFolderName = plat::ProgramFolder();
  // Wide letters make the widest lines; a line may be up to 100 characters.
  const struct {
    const char* name;
    std::string line;
  } kCases[] = {
      {"short", "Linie"},
      {"wide letters", std::string(60, 'W')},
      {"long sentence", "Markiert alle Konturen des aktuellen Layers, auch wenn schon welche markiert sind."},
  };
  int topic = 100;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    {
      std::ofstream help(screen.Dir() / "TORVHILF.TXT", std::ios::binary);
      help << "#" << topic << "  Probe\r\n" << c.line << "\r\n\r\n";
    }
    MouseX = int16_t(DrawingArea.x2 - 40);
    MouseY = 120;
    const auto before = TScreen::Pixels();
    TPopupFrame frame{};
    ASSERT_TRUE(ShowHintPopup(topic, frame));
    EXPECT_FALSE(TScreen::Pixels() == before) << "the popup is drawn";
    ClosePopupFrame(frame);
    EXPECT_TRUE(TScreen::Pixels() == before) << "nothing of the text stays behind";
    ++topic;
  }
  ProgramFolderName = keptFolder;
}

}  // namespace
