// The file dialogs: filters by data kind, the extension check, default
// extensions, the file note, the note editor's closing rule, and scripted
// open and save dialogs (pick, type, cancel, overwrite, library, project).
#include "ui/file_dialogs.h"

#include <cstring>

#include "model/text_job.h"
#include "view/screen_scheme.h"
#include "support/program_runner.h"
#include "ui/file_list.h"
#include "file_test_support.h"
#include "ui_screen.h"

namespace {

using uitest::TScreen;

using uitest::Click;
using uitest::Folder;
using uitest::Rec;
using uitest::Write;

// Row i (from 0) of the dialog's file list.
std::string ClickRow(int i) {
  const TBox list = GetFileDialogBox(kDialogList);
  return Click(list.x1 + 40, list.y1 + 2 + i * kFileDialogRowHeight + 8);
}

// A drawing with a note: head of 379 bytes, note lines at 175.
std::string DrawingWithNote(const std::string& line1, const std::string& line2) {
  std::string head(379, '\0');
  head[175] = char(line1.size());
  memcpy(&head[176], line1.data(), line1.size());
  head[226] = char(line2.size());
  memcpy(&head[227], line2.data(), line2.size());
  head[174] = 9;
  return head;
}

TEST(FileFilters, ByDataKind) {
  struct TCase {
    int kind;
    const char* ext;
    const char* filter;
    const char* accepted;
    bool preview;
  } cases[] = {
      {0, ".DXF", "DXF|*.DXF|", ".DXF", false},
      {0, ".SLD", "SLD|*.SLD|", ".SLD", true},
      {10, "", "*.*|*.*|", ".*  ", false},
      {10, ".*", "*.*|*.*|", ".*  ", false},
      {10, ".NC", "NC|*.NC|", ".NC", false},
      {4, "", "Marvek-Data SLD, LG1, H2R|*.sld;*.lg1;*.h2r|SLD|*.sld|LG1|*.lg1|H2R|*.h2r|", ".SLD.LG1.H2R", true},
      {11, "", "WZB|*.wzb|", ".WZB", false},
      {21, "", "BMP, GIF, JPG|*.bmp;*.gif;*.jpg|BMP|*.bmp|GIF|*.gif|JPG|*.jpg|", ".PCX.BMP.GIF.JPG", false},
      {99, "", "*.*|*.*|", ".*  ", false},
  };
  for (const TCase& c : cases) {
    const TFileFilter f = BuildFileFilter(c.kind, c.ext);
    EXPECT_EQ(f.filter, c.filter) << c.kind << c.ext;
    EXPECT_EQ(f.accepted, c.accepted) << c.kind << c.ext;
    EXPECT_EQ(f.preview, c.preview) << c.kind << c.ext;
  }
}

TEST(FileFilters, DefaultExtensions) {
  EXPECT_EQ(DefaultExtensionOfPattern("*.lg1;*.h2r"), "lg1");
  EXPECT_EQ(DefaultExtensionOfPattern("*.sld"), "sld");
  EXPECT_EQ(DefaultExtensionOfPattern("*.*"), "");
  EXPECT_EQ(DefaultExtensionOfPattern("*.nc "), "nc");
  EXPECT_EQ(ApplyDefaultExtension("C:\\a\\x", "sld"), "C:\\a\\x.sld");
  EXPECT_EQ(ApplyDefaultExtension("C:\\a\\x.", "sld"), "C:\\a\\x.sld");
  EXPECT_EQ(ApplyDefaultExtension("C:\\a\\x.dxf", "sld"), "C:\\a\\x.dxf");
  EXPECT_EQ(ApplyDefaultExtension("C:\\a\\x", ""), "C:\\a\\x.");
}

TEST(FileFilters, ChosenExtensionsAreCheckedAndUpperCased) {
  TScreen screen("key Enter\n");
  struct TCase {
    const char* accepted;
    const char* name;
    const char* result;
  } cases[] = {
      {".SLD.LG1.H2R", "C:\\a\\x.lg1", "C:\\a\\x.LG1"},
      {".HRL.HRP.PCX.BMP.GIF.JPG.JPEG", "C:\\p.jpeg", "C:\\p.JPEG"},
      {".NC .DXF", "C:\\n.nc", "C:\\n.NC"},
      {".*  ", "C:\\any.xyz", "C:\\any.XYZ"},
      {".EPS.AI ", "C:\\b.ai", "C:\\b.AI"},
      {".SLD", "", ""},
  };
  for (const TCase& c : cases) {
    std::string name = c.name;
    CheckChosenExtension(name, c.accepted);
    EXPECT_EQ(name, c.result) << c.name;
  }
  EXPECT_EQ(screen.ReadFile("transcript.txt").find("msgbox|"), std::string::npos);
  std::string refused = "C:\\x.txt";
  CheckChosenExtension(refused, ".SLD.LG1");
  EXPECT_TRUE(refused.empty());
  EXPECT_NE(screen.ReadFile("transcript.txt").find("msgbox|"), std::string::npos);
  // Message 1091 ("Dateiendung hier nicht zulässig", 31 characters) whole.
  EXPECT_NE(screen.ReadFile("transcript.txt").find("ssig|"), std::string::npos)
      << "the refusal is shown whole: " << screen.ReadFile("transcript.txt");
}

TEST(FileNotes, ReadFromDrawingsToolAndMethodFiles) {
  TScreen screen;
  Write(screen, "a.SLD", DrawingWithNote("Kunde", "Auftrag 7"));
  EXPECT_EQ(ReadFileNoteText("a.SLD", ".sld"), "Kunde\r\nAuftrag 7\r\n\r\n");
  EXPECT_EQ(ReadFileNoteText("a.SLD", ".SLD"), "Kunde\r\nAuftrag 7\r\n\r\n");
  std::string tool(204 + 50, '\0');
  tool[0] = 3;
  memcpy(&tool[1], "WZB", 3);
  Write(screen, "t.wzb", tool);
  EXPECT_EQ(ReadFileNoteText("t.wzb", ".wzb"), "WZB\r\n\r\n\r\n");
  // Not a note file, missing, too short, or a length byte above 50: no note.
  EXPECT_EQ(ReadFileNoteText("a.SLD", ".lg1"), "");
  EXPECT_EQ(ReadFileNoteText("none.SLD", ".sld"), "");
  Write(screen, "s.SLD", std::string(300, '\0'));
  EXPECT_EQ(ReadFileNoteText("s.SLD", ".sld"), "");
  std::string bad = DrawingWithNote("x", "y");
  bad[175 + 153] = 51;
  Write(screen, "b.SLD", bad);
  EXPECT_EQ(ReadFileNoteText("b.SLD", ".sld"), "");
}

TEST(FileNotes, TextAndNoteBothWays) {
  TFileNote note;
  memset(&note, 0x55, sizeof note);
  FileNoteFromText(note, "eins\r\nzwei");
  EXPECT_EQ(note.lines[0][0], 4);
  EXPECT_EQ(note.lines[2][0], 0);
  EXPECT_EQ(note.lines[0][5], 0);  // unused characters are zero
  EXPECT_EQ(FileNoteToText(note), "eins\r\nzwei\r\n\r\n");
  FileNoteFromText(note, std::string(70, 'x'));
  EXPECT_EQ(note.lines[0][0], 50);
}

TEST(FileNotes, TheEditorAsksBeforeCuttingALongNote) {
  TScreen screen("key n\nkey y\n");
  std::vector<std::string> lines = {"1", "2", "3", "4", "5", "", ""};
  EXPECT_FALSE(AcceptNoteLines(lines, "Abfrage", "Zu lang?"));  // "No": keep editing
  EXPECT_TRUE(AcceptNoteLines(lines, "Abfrage", "Zu lang?"));   // "Yes": cut
  EXPECT_EQ(lines, (std::vector<std::string>{"1", "2", "3", "4"}));
  std::vector<std::string> two = {"a", "b", ""};
  EXPECT_TRUE(AcceptNoteLines(two, "Abfrage", "Zu lang?"));  // no question
  EXPECT_EQ(two, (std::vector<std::string>{"a", "b", "", ""}));
  const std::string transcript = screen.ReadFile("transcript.txt");
  EXPECT_EQ(std::count(transcript.begin(), transcript.end(), '\n'), 2);
}

TEST(FileNotes, EditFileNoteTypesLinesAndConfirms) {
  TScreen screen;
  // OK sits at (112, 136) of the form's client area; the form is centred.
  const int left = (MaxX + 1 - 442) / 2, top = (MaxY + 1 - 210) / 2 + 26;
  screen.UseScript("text Hallo\nkey Enter\ntext Welt\n" + Click(left + 150, top + 148));
  std::string text = "Alt";
  EXPECT_TRUE(EditFileNote(text, "", "", "", "", ""));
  EXPECT_EQ(text, "AltHallo\r\nWelt\r\n\r\n");
  screen.UseScript("text x\nkey Esc\n");
  std::string kept = "bleibt";
  EXPECT_FALSE(EditFileNote(kept, "", "", "", "", ""));
  EXPECT_EQ(kept, "bleibt");
}

class FileDialogRun : public ::testing::Test {
 protected:
  void SetUp() override {
    InitScreenPalette();
    const std::string square = Rec(11, 0, 0) + Rec(10, 10, 0) + Rec(10, 10, 10) + Rec(10, 0, 0);
    Write(screen_, "Alpha.LG1", square);
    Write(screen_, "Beta.SLD", DrawingWithNote("Notiz B", ""));
    Write(screen_, "Gamma.txt", "x");
    std::filesystem::create_directory(screen_.Dir() / "Sub");
    Write(screen_, "Sub/Inner.LG1", square);
  }
  TScreen screen_;
};

TEST_F(FileDialogRun, OpenPicksAListedDrawing) {
  // Rows: [..], [Sub], Alpha.LG1, Beta.SLD (Gamma.txt is filtered out).
  screen_.UseScript(ClickRow(3) + "key Enter\n");
  std::string name;
  RunFileDialog(Folder(screen_), "", 4, name, 0);
  EXPECT_EQ(name, Folder(screen_) + "Beta.SLD");
}

TEST_F(FileDialogRun, OpenEntersAFolderAndTakesATypedName) {
  screen_.UseScript(ClickRow(1) + "text inner.lg1\nkey Enter\n");
  std::string name;
  RunFileDialog(Folder(screen_), "", 4, name, 0);
  EXPECT_EQ(name, Folder(screen_) + "Sub\\inner.LG1");
}

TEST_F(FileDialogRun, CancelGivesAnEmptyName) {
  screen_.UseScript(ClickRow(2) + "key Esc\n");
  std::string name = "vorher";
  RunFileDialog(Folder(screen_), "", 4, name, 0);
  EXPECT_TRUE(name.empty());
  screen_.UseScript(Click(GetFileDialogBox(kDialogCancel)));
  RunFileDialog(Folder(screen_), "", 4, name, 0);
  EXPECT_TRUE(name.empty());
}

TEST_F(FileDialogRun, OpenOfAMissingFileStaysOpen) {
  screen_.UseScript("text fehlt.sld\nkey Enter\nkey Enter\nkey Esc\n");
  std::string name;
  RunFileDialog(Folder(screen_), "", 4, name, 0);
  EXPECT_TRUE(name.empty());
  EXPECT_NE(screen_.ReadFile("transcript.txt").find("msgbox|"), std::string::npos);
}

TEST_F(FileDialogRun, SaveAddsTheDefaultExtension) {
  screen_.UseScript("text Neu\nkey Enter\n");
  std::string name;
  RunFileDialog(Folder(screen_), ".SLD", 0, name, 1);
  EXPECT_EQ(name, Folder(screen_) + "Neu.SLD");
}

TEST_F(FileDialogRun, SaveAsksBeforeOverwriting) {
  // No: the dialog stays; the name is changed and taken.
  screen_.UseScript("text Beta\nkey Enter\nkey n\ntext 2\nkey Enter\n");
  std::string name;
  RunFileDialog(Folder(screen_), ".SLD", 0, name, 1);
  EXPECT_EQ(name, Folder(screen_) + "Beta2.SLD");
  screen_.UseScript("text Beta\nkey Enter\nkey y\n");
  name.clear();
  RunFileDialog(Folder(screen_), ".SLD", 0, name, 1);
  EXPECT_EQ(name, Folder(screen_) + "Beta.SLD");
}

TEST_F(FileDialogRun, SaveStartsWithTheSuggestedName) {
  screen_.UseScript("key Enter\n");
  std::string name = Folder(screen_) + "Vorschlag.SLD";
  RunFileDialog("C:\\", ".SLD", 0, name, 1);
  EXPECT_EQ(name, Folder(screen_) + "Vorschlag.SLD");
}

TEST_F(FileDialogRun, TypingReplacesTheSuggestedName) {
  screen_.UseScript("text Anders\nkey Enter\n");
  std::string name = Folder(screen_) + "Vorschlag.SLD";
  RunFileDialog("", ".SLD", 0, name, 1);
  EXPECT_EQ(name, Folder(screen_) + "Anders.SLD");
  // Backspace after the suggestion empties the field; the typed name follows.
  screen_.UseScript("key Backspace\ntext X\nkey Enter\n");
  name = Folder(screen_) + "Vorschlag.SLD";
  RunFileDialog("", ".SLD", 0, name, 1);
  EXPECT_EQ(name, Folder(screen_) + "X.SLD");
}

TEST_F(FileDialogRun, AWrongExtensionIsRefused) {
  screen_.UseScript("text Gamma.txt\nkey Enter\nkey Enter\n");
  std::string name;
  RunFileDialog(Folder(screen_), "", 4, name, 0);
  EXPECT_TRUE(name.empty());
}

TEST_F(FileDialogRun, OpenShowsThePreviewAndTheNoteOfTheSelection) {
  const std::string lg1 = (screen_.Dir() / "lg1.png").string(), sld = (screen_.Dir() / "sld.png").string();
  screen_.UseScript(ClickRow(2) + "shot " + lg1 + "\n" + ClickRow(3) + "shot " + sld + "\nkey Esc\n");
  std::string name;
  RunFileDialog(Folder(screen_), "", 4, name, 0);
  const torvtest::TPicture a = torvtest::ReadPng(lg1), b = torvtest::ReadPng(sld);
  ASSERT_TRUE(a.error.empty() && b.error.empty());
  auto count = [](const torvtest::TPicture& pic, const TBox& box, uint32_t rgb) {
    int n = 0;
    for (int y = box.y1 + 2; y < box.y2 - 1; ++y)
      for (int x = box.x1 + 2; x < box.x2 - 1; ++x) n += pic.At(x, y) == rgb;
    return n;
  };
  const TBox preview = GetFileDialogBox(kDialogPreview), memo = GetFileDialogBox(kDialogMemo);
  // Alpha.LG1: the square in black; no note.
  EXPECT_GT(count(a, preview, 0x000000), 100);
  EXPECT_EQ(count(a, memo, 0x000000), 0);
  // Beta.SLD: its note in the memo.
  EXPECT_GT(count(b, memo, 0x000000), 5);
}

TEST_F(FileDialogRun, TheLibraryButtonListsTheDrawingsWithThumbnails) {
  // Library: the file list of the folder with the current pattern; tile 2
  // is Beta.SLD ("*.sld;*.lg1;*.h2r" lists Alpha.LG1 and Beta.SLD).
  screen_.UseScript(Click(GetFileDialogBox(kDialogLibrary)) + Click(FileListTileBox(2)) +
                    Click(FileListButtonBox(5)));
  std::string name;
  RunFileDialog(Folder(screen_), "", 4, name, 0);
  EXPECT_EQ(name, Folder(screen_) + "Beta.SLD");
}

TEST_F(FileDialogRun, LibraryCancelledShowsTheDialogAgain) {
  screen_.UseScript(Click(GetFileDialogBox(kDialogLibrary)) + Click(FileListButtonBox(6)) + ClickRow(2) +
                    "key Enter\n");
  std::string name;
  RunFileDialog(Folder(screen_), "", 4, name, 0);
  EXPECT_EQ(name, Folder(screen_) + "Alpha.LG1");
}

TEST_F(FileDialogRun, ProjectButtonReopensInTheProjectFolder) {
  std::filesystem::create_directory(screen_.Dir() / "PROJECT");
  Write(screen_, "PROJECT/_Project.SLD", DrawingWithNote("P", ""));
  // In the project folder: [..], _Project.SLD.
  screen_.UseScript(Click(GetFileDialogBox(kDialogProject)) + ClickRow(1) + "key Enter\n");
  std::string name;
  RunFileDialog(Folder(screen_), "", 4, name, 0);
  EXPECT_EQ(name, Folder(screen_) + "PROJECT\\_Project.SLD");
}

TEST_F(FileDialogRun, SavingADrawingStoresTheEditedNoteInTheTextJob) {
  Write(screen_, "HS01.TMP", DrawingWithNote("Alt", ""));
  const int left = (MaxX + 1 - 442) / 2, top = (MaxY + 1 - 210) / 2 + 26;
  screen_.UseScript(Click(GetFileDialogBox(kDialogChange)) + "text !\n" + Click(left + 150, top + 148) +
                    "text Mit Notiz\nkey Enter\n");
  std::string name;
  RunFileDialog(Folder(screen_), ".SLD", 0, name, 1);
  EXPECT_EQ(name, Folder(screen_) + "Mit Notiz.SLD");
  EXPECT_EQ(ReadFileNoteText("HS01.TMP", ".sld"), "Alt\r\n\r\n\r\n!");
  LoadTextJobHead();
  EXPECT_EQ(TextJobHead[175], 3);
}

}  // namespace
