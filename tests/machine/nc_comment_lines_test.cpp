// The comment-line editor of the NC program header: lines typed and moved
// between with keys and clicks, written to parameter block 56 only on OK.
#include "machine/nc_comment_lines.h"

#include <gtest/gtest.h>

#include <cstring>

#include "frame/param_file.h"
#include "ui/paced_script.h"
#include "ui/ui_screen.h"

namespace {

class TCommentScreen : public uitest::TScreen {
 public:
  TCommentScreen() {
    ParamImage = new TParameterImage;
    FillParamDefaults();
  }
  ~TCommentScreen() {
    delete ParamImage;
    ParamImage = nullptr;
  }
  static void SetLines(const char* (&lines)[4]) {
    TNcCommentLines block{};
    for (int k = 0; k < 4; ++k) {
      block.lines[k][0] = uint8_t(std::strlen(lines[k]));
      std::memcpy(block.lines[k] + 1, lines[k], std::strlen(lines[k]));
    }
    PutParamBlock(kNcCommentBlock, &block, sizeof block);
  }
};

std::string ClickAt(int x, int y) {
  const std::string at = std::to_string(x) + " " + std::to_string(y);
  return "move " + at + "\nclick " + at + " left\n";
}

TEST(NcCommentLines, TypedLinesAreStoredOnOk) {
  struct {
    std::string script;
    const char* expected[4];
  } cases[] = {
      {"text A\nkey Enter\ntext B\nkey Down\ntext C\nkey PgDn\ntext D\nkey Enter\ntext E\nkey F1\n",
       {"1A", "2B", "3C", "4DE"}},  // the last line is not left downwards
      {"key Up\ntext X\nkey Enter\nkey Enter\nkey PgUp\ntext Y\nkey F1\n", {"1X", "2Y", "3", "4"}},
      // A click on line 3, then OK in the title strip.
      {ClickAt(100, 4 * 16 + 8) + "text Z\n" + ClickAt(424 - 48 + 10, 14), {"1", "2", "3Z", "4"}},
  };
  for (const auto& c : cases) {
    TCommentScreen screen;
    const char* start[4] = {"1", "2", "3", "4"};
    TCommentScreen::SetLines(start);
    const auto before = uitest::TScreen::Pixels();
    uitest::NewScript(screen, c.script);
    EditProgramCommentLines("Programm");
    EXPECT_EQ(uitest::TScreen::Pixels(), before) << "the screen under the popup comes back";
    for (int k = 0; k < 4; ++k) EXPECT_EQ(GetNcCommentLine(k), c.expected[k]) << c.script << " line " << k;
  }
}

TEST(NcCommentLines, EscAndCancelLeaveTheBlock) {
  for (const std::string& script : {std::string("text A\nkey Enter\ntext B\nkey Esc\n"),
                                   "text A\nkey Enter\n" + ClickAt(424 - 26 + 10, 14)}) {
    TCommentScreen screen;
    const char* start[4] = {"eins", "", "drei", ""};
    TCommentScreen::SetLines(start);
    uitest::NewScript(screen, script);
    EditProgramCommentLines("Programm");
    EXPECT_EQ(GetNcCommentLine(0), "eins");
    EXPECT_EQ(GetNcCommentLine(1), "");
  }
}

TEST(NcCommentLines, LinesAreHeldToFiftyCharacters) {
  TCommentScreen screen;
  // A stored length byte beyond the line is read as 50 characters.
  TNcCommentLines block{};
  block.lines[0][0] = 200;
  std::memset(block.lines[0] + 1, 'x', 50);
  PutParamBlock(kNcCommentBlock, &block, sizeof block);
  EXPECT_EQ(GetNcCommentLine(0), std::string(50, 'x'));
  EXPECT_EQ(GetNcCommentLine(7), "");
  uitest::NewScript(screen, "key Enter\ntext " + std::string(60, 'y') + "\nkey F1\n");
  EditProgramCommentLines("Programm");
  EXPECT_EQ(GetNcCommentLine(0), std::string(50, 'x'));
  EXPECT_EQ(GetNcCommentLine(1), std::string(50, 'y'));
  TNcCommentLines stored{};
  GetParamBlock(kNcCommentBlock, &stored, sizeof stored);
  EXPECT_EQ(stored.lines[0][0], 50) << "written back with its true length";
}

}  // namespace
