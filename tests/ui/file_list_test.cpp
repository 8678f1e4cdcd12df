// The file list with thumbnails: extensions from the pattern, the sorted
// list, paging limits, and scripted runs that pick, confirm and cancel.
#include "ui/file_list.h"

#include <cstring>
#include <set>

#include "view/screen_scheme.h"
#include "support/program_runner.h"
#include "ui/popup_list.h"
#include "file_test_support.h"
#include "ui_screen.h"

namespace {

using uitest::TScreen;

using uitest::Click;
using uitest::Folder;
using uitest::Rec;
using uitest::Write;

// The layout of the list's right-click menu opened at (x, y): "OK" and
// "Abbruch" under the title "Bibliothek".
TPopupLayout RightClickMenuLayout(int x, int y) {
  TPopupList list;
  InitPopupList(list);
  list.x = x;
  list.y = y - 32;
  list.title = "Bibliothek";
  list.captions[0] = "OK";
  list.captions[1] = "Abbruch";
  list.names[0] = "OK";
  list.names[1] = "Abbruch";
  const TPopupLayout layout = LayOutPopupList(list, 21, 2);
  return layout;
}

TEST(FileList, ExtensionsFromThePattern) {
  std::string ext[kFileListExtensions];
  ASSERT_EQ(ParseExtensionPattern("*.lg1;*.h2r", ext), 2);
  EXPECT_EQ(ext[0], ".LG1");
  EXPECT_EQ(ext[1], ".H2R");
  EXPECT_EQ(ParseExtensionPattern("*.a;*.b;*.c;*.d;*.e;*.f;*.g;*.h;*.i", ext), 8);
  EXPECT_EQ(ext[7], ".H");
  EXPECT_EQ(ParseExtensionPattern("*.jpg;*.jpeg", ext), 2);
  EXPECT_EQ(ext[1], ".JPEG");
}

TEST(FileList, SortIgnoresCaseAndKeepsEqualNamesInOrder) {
  std::vector<std::string> names = {"b.SLD", "A.sld", "C.sld", "a.SLD", "ab.sld"};
  SortFileList(names);
  EXPECT_EQ(names, (std::vector<std::string>{"A.sld", "a.SLD", "ab.sld", "b.SLD", "C.sld"}));
}

TEST(FileList, FolderPart) {
  EXPECT_EQ(GetFileFolder("C:\\a\\b\\x.sld"), "C:\\a\\b\\");
  EXPECT_EQ(GetFileFolder("x.sld"), "");
  EXPECT_EQ(GetFileFolder("C:\\"), "C:\\");
}

TEST(FileList, TheListHoldsTheMatchingFilesSorted) {
  TScreen screen;
  for (const char* n : {"z.lg1", "B.H2R", "a.LG1", "note.txt", "noext"}) Write(screen, n, "x");
  const auto list = BuildFileList(Folder(screen), "*.lg1;*.h2r");
  EXPECT_EQ(list, (std::vector<std::string>{"a.LG1", "B.H2R", "z.lg1"}));
}

TEST(FileList, PagingStopsWhereTheLastEntriesShow) {
  TScreen screen;
  TFileListState state;
  state.folder = Folder(screen);
  for (int i = 0; i < 13; ++i) state.entries.push_back("f" + std::to_string(i) + ".LG1");
  HandleFileListButton(state, 3);  // page down
  EXPECT_EQ(state.top, 6);
  state.top = 1;
  HandleFileListButton(state, 4);  // row down
  EXPECT_EQ(state.top, 5);
  HandleFileListButton(state, 4);
  EXPECT_EQ(state.top, 9);
  HandleFileListButton(state, 4);
  EXPECT_EQ(state.top, 10);
  HandleFileListButton(state, 4);
  EXPECT_EQ(state.top, 10);
  HandleFileListButton(state, 2);  // page up
  EXPECT_EQ(state.top, 1);
  // A short list never pages to a top below 1.
  state.entries.resize(3);
  HandleFileListButton(state, 3);
  EXPECT_EQ(state.top, 1);
  HandleFileListButton(state, 4);
  EXPECT_EQ(state.top, 1);
}

TEST(FileList, LabelsAreCutToTheTileWidth) {
  TScreen screen;
  EXPECT_EQ(FileListLabel("a.SLD"), "a.SLD");
  const std::string label = FileListLabel(std::string(60, 'W') + ".SLD");
  EXPECT_LE(label.size(), 35u);
  EXPECT_LE(MeasureTextWidthSized(label, 4, 12), 180);
}

class FileListRun : public ::testing::Test {
 protected:
  void SetUp() override {
    InitScreenPalette();
    const std::string square = Rec(11, 0, 0) + Rec(10, 10, 0) + Rec(10, 10, 10) + Rec(10, 0, 0);
    Write(screen_, "eins.LG1", square);
    Write(screen_, "zwei.LG1", square);
    Write(screen_, "drei.txt", "x");
  }
  TScreen screen_;
};

TEST_F(FileListRun, APickedTileConfirmedWithOkIsReturned) {
  // Sorted: eins.LG1 (tile 1), zwei.LG1 (tile 2).
  screen_.UseScript(Click(FileListTileBox(2)) + "shot " + (screen_.Dir() / "list.png").string() + "\n" +
                    Click(FileListButtonBox(5)));
  const auto before = TScreen::Pixels();
  std::string name;
  EXPECT_TRUE(ChooseFileFromList(Folder(screen_), "*.lg1", name, 255));
  EXPECT_EQ(name, Folder(screen_) + "zwei.LG1");
  // The screen under the window is back.
  EXPECT_EQ(TScreen::CountChanged(before, TScreen::Pixels(), 0, 60, 700, 500), 0);
  // While it was open: both squares drawn black in their tiles, the third
  // tile empty, the chosen name's label in colour 12.
  const torvtest::TPicture shot = torvtest::ReadPng(screen_.Dir() / "list.png");
  ASSERT_TRUE(shot.error.empty()) << shot.error;
  auto count = [&](const TBox& b, uint32_t rgb) {
    int n = 0;
    // Inside the bevel frame, whose inner edge is black too.
    for (int y = b.y1 + 3; y < b.y2 - 1; ++y)
      for (int x = b.x1 + 3; x < b.x2 - 1; ++x) n += shot.At(x, y) == rgb;
    return n;
  };
  EXPECT_GT(count(FileListTileBox(1), 0), 100);
  EXPECT_GT(count(FileListTileBox(2), 0), 100);
  EXPECT_EQ(count(FileListTileBox(3), 0), 0);
  const TBox t2 = FileListTileBox(2);
  const uint32_t red = plat::PixelFromColorRef(GetColorRef(12)) & 0xFFFFFF;
  EXPECT_GT(count(TBox{1, int16_t(t2.x1 - 2), t2.y2, t2.x2, int16_t(t2.y2 + 16)}, red), 0);
}

TEST_F(FileListRun, OkWithoutASelectionDoesNotEndTheRun) {
  screen_.UseScript(Click(FileListButtonBox(5)) + Click(FileListTileBox(1)) + Click(FileListButtonBox(5)));
  std::string name;
  EXPECT_TRUE(ChooseFileFromList(Folder(screen_), "*.lg1", name, 255));
  EXPECT_EQ(name, Folder(screen_) + "eins.LG1");
}

TEST_F(FileListRun, RightClickMenuWithoutSelectionOnlyCancels) {
  // The menu opens at the mouse; its first entry is "OK", shown disabled.
  const int x = 300, y = 300;
  const TPopupLayout layout = RightClickMenuLayout(x, y);
  const int okY = layout.top + 4 + 24 + 10;
  screen_.UseScript("click " + std::to_string(x) + " " + std::to_string(y) + " right\n" + "click " +
                    std::to_string(layout.right - 20) + " " + std::to_string(okY) + "\n");
  std::string name = "old";
  EXPECT_FALSE(ChooseFileFromList(Folder(screen_), "*.lg1", name, 255));
  EXPECT_TRUE(name.empty());
}

TEST_F(FileListRun, RightClickMenuOkWithASelectionConfirms) {
  const int x = 300, y = 300;
  const TPopupLayout layout = RightClickMenuLayout(x, y);
  const int okY = layout.top + 4 + 24 + 10;
  screen_.UseScript(Click(FileListTileBox(1)) + "move " + std::to_string(x) + " " + std::to_string(y) + "\nclick " +
                    std::to_string(x) + " " + std::to_string(y) + " right\n" + "click " +
                    std::to_string(layout.right - 20) + " " + std::to_string(okY) + "\n");
  std::string name;
  EXPECT_TRUE(ChooseFileFromList(Folder(screen_), "*.lg1", name, 255));
  EXPECT_EQ(name, Folder(screen_) + "eins.LG1");
}

TEST_F(FileListRun, NoMatchingFileShowsNoWindow) {
  std::string name = "old";
  EXPECT_FALSE(ChooseFileFromList(Folder(screen_), "*.sld", name, 255));
  EXPECT_TRUE(name.empty());
}

TEST(FileListSmallWindow, ATooSmallWindowSaysSo) {
  TScreen screen("key Enter\n", "640x480");
  Write(screen, "a.LG1", "x");
  std::string name;
  EXPECT_FALSE(ChooseFileFromList(Folder(screen), "*.lg1", name, 255));
  EXPECT_NE(screen.ReadFile("transcript.txt").find("msgbox|"), std::string::npos);
}

}  // namespace

namespace {

// An STL model and a SOR engraving get their thumbnails in the list.
TEST_F(FileListRun, StlAndSorFilesShowThumbnails) {
  for (const char* name : {"cube_binary.stl", "engraving.sor"}) {
    std::error_code ec;
    std::filesystem::copy_file(std::filesystem::path(TORV_FIXTURES_DIR) / "previews" / name, screen_.Dir() / name, ec);
    ASSERT_FALSE(ec) << name;
  }
  const std::string shot = (screen_.Dir() / "models.png").string();
  // The painters look for Esc while they draw: the shot waits until the
  // list itself waits for input.
  std::string pause;
  for (int i = 0; i < 2000; ++i) pause += "wait 1\n";
  screen_.UseScript(pause + "shot " + shot + "\n" + Click(FileListButtonBox(6)));
  std::string name;
  ChooseFileFromList(Folder(screen_), "*.stl;*.sor", name, 255);
  const torvtest::TPicture pic = torvtest::ReadPng(shot);
  ASSERT_TRUE(pic.error.empty()) << pic.error;
  // Sorted: cube_binary.stl (tile 1), engraving.sor (tile 2); an empty tile
  // keeps the tile face only.
  auto colours = [&](const TBox& b) {
    std::set<uint32_t> seen;
    for (int y = b.y1 + 3; y < b.y2 - 1; ++y)
      for (int x = b.x1 + 3; x < b.x2 - 1; ++x) seen.insert(pic.At(x, y));
    return seen.size();
  };
  EXPECT_GT(colours(FileListTileBox(1)), 1u);
  EXPECT_GT(colours(FileListTileBox(2)), 1u);
  EXPECT_EQ(colours(FileListTileBox(3)), 1u);
}

}  // namespace
