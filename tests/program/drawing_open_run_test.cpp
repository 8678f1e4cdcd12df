// Opening drawings in the real torv: the drawing named on the command line,
// refused, damaged and partly loaded drawings, and a save as that fails on
// a full disk. The transcript shows the message boxes and the captions.
#include <gtest/gtest.h>

#include <cstring>

#include "frame/param_file.h"
#include "model/drawing_file.h"
#include "platform/files.h"
#include "support/program_runner.h"
#include "support/record_bytes.h"

namespace {

using namespace torvtest;

// A program folder after one run (it then holds the parameter file).
void PrepareHome(const TempFolder& home) {
  ASSERT_FALSE(home.Path().empty());
  CopyShippedFiles(home.Path());
  ASSERT_EQ(RunHeadless(home, StartScript()).exitCode, 0);
}

// A ".SLD" of layer 0 with a closed contour of n corners and no text lines;
// parameter block 1 is the home's own.
std::string Drawing(const TempFolder& home, int corners) {
  std::string vectors = Records({Rec(128, 0, 0)});
  for (int i = 0; i < corners; ++i) vectors += Records({Rec(i == 0 ? 11 : 10, float(10 + i % 90), float(10 + i / 90))});
  const std::string par = ReadFile(home.Path() / "TORV.PAR");
  std::string block1 = par.substr(size_t(GetParamBlockOffset(1)), 443);
  block1.resize(443, '\0');
  std::string head(kDrawingHeadSize, '\0');
  auto put = [&](int at, int32_t v) { memcpy(&head[size_t(at)], &v, 4); };
  const int32_t vectorEnd = kDrawingHeadSize + int32_t(vectors.size());
  const int32_t end = vectorEnd + 443;
  put(kHeadVectorOffset, kDrawingHeadSize);
  put(kHeadParamOffset, vectorEnd);
  put(kHeadToolOffset, end);
  put(kHeadFrameOffset, end);
  put(kHeadPropertyOffset, end);
  put(kHeadPropertyEnd, end);
  head[kHeadVersion] = char(kDrawingFormatVersion);
  return head + vectors + block1;
}

std::string Transcript(const TempFolder& home) { return ReadFile(home.Path() / "transcript.txt"); }

// The message boxes and captions of the transcript that hold the text.
std::vector<std::string> Lines(const std::string& transcript, const std::string& kind, const std::string& text) {
  std::vector<std::string> out;
  size_t at = 0;
  while (at < transcript.size()) {
    size_t end = transcript.find('\n', at);
    if (end == std::string::npos) end = transcript.size();
    const std::string line = transcript.substr(at, end - at);
    if (line.rfind(kind + "|", 0) == 0 && line.find(text) != std::string::npos) out.push_back(line);
    at = end + 1;
  }
  return out;
}

// The start, a box answered, and time for the program to settle.
std::string OpenScript(const std::string& diskLine = "") {
  std::string script = StartScript();
  script.insert(script.find('\n') + 1, diskLine);
  return script + "key Enter\n" + Pause(300);
}

TEST(DrawingOpenRun, TheCommandLineOpensADrawingInAnyCase) {
  TempFolder home;
  PrepareHome(home);
  WriteFile(home.Path() / "teil.sld", Drawing(home, 5));
  ASSERT_EQ(RunHeadlessWithArguments(home, OpenScript(), {"teil.sld"}).exitCode, 0);
  const std::string t = Transcript(home);
  EXPECT_FALSE(Lines(t, "caption", "teil.sld]").empty()) << t;
  EXPECT_TRUE(Lines(t, "msgbox", "teil").empty()) << t;
  EXPECT_EQ(fs::file_size(home.Path() / "Layer0.TMP"), 5 * 13u);
}

// A relative name is taken from the folder the program was started in, not
// from the program folder.
TEST(DrawingOpenRun, ARelativeNameIsFromTheStartFolder) {
  TempFolder home;
  PrepareHome(home);
  fs::create_directory(home.Path() / "auftrag");
  WriteFile(home.Path() / "auftrag" / "teil.SLD", Drawing(home, 7));
  ASSERT_EQ(RunHeadlessWithArguments(home, OpenScript(), {"teil.SLD"}, home.Path() / "auftrag").exitCode, 0);
  const std::string t = Transcript(home);
  EXPECT_FALSE(Lines(t, "caption", "auftrag\\teil.SLD]").empty()) << t;
  EXPECT_EQ(fs::file_size(home.Path() / "Layer0.TMP"), 7 * 13u);
}

TEST(DrawingOpenRun, TheCommandLineSaysWhyItOpensNothing) {
  const struct {
    const char* argument;
    const char* says;
  } cases[] = {
      {"fehlt.SLD", "Datei nicht gefunden"},
      {"plan.DXF", "Diese Dateiart"},
  };
  for (const auto& c : cases) {
    TempFolder home;
    PrepareHome(home);
    WriteFile(home.Path() / "plan.DXF", "0\nSECTION\n");
    WriteFile(home.Path() / "Layer0.TMP", Records({Rec(11, 1, 1), Rec(10, 2, 2)}));
    ASSERT_EQ(RunHeadlessWithArguments(home, OpenScript(), {c.argument}).exitCode, 0);
    const std::string t = Transcript(home);
    const auto boxes = Lines(t, "msgbox", c.argument);
    ASSERT_EQ(boxes.size(), 1u) << t;
    EXPECT_NE(boxes[0].find(c.says), std::string::npos) << boxes[0];
    EXPECT_TRUE(Lines(t, "caption", c.argument).empty()) << t;
    EXPECT_EQ(fs::file_size(home.Path() / "Layer0.TMP"), 2 * 13u) << c.argument;
  }
}

// A drawing of an unknown version is refused: the caption keeps the old
// name, the work files stay.
TEST(DrawingOpenRun, ARefusedDrawingLeavesTheCaption) {
  TempFolder home;
  PrepareHome(home);
  std::string future = Drawing(home, 5);
  future[kHeadVersion] = char(99);
  WriteFile(home.Path() / "NEU.SLD", future);
  WriteFile(home.Path() / "Layer0.TMP", Records({Rec(11, 1, 1), Rec(10, 2, 2)}));
  ASSERT_EQ(RunHeadlessWithArguments(home, OpenScript(), {"NEU.SLD"}).exitCode, 0);
  const std::string t = Transcript(home);
  EXPECT_EQ(Lines(t, "msgbox", "NEU.SLD").size(), 1u) << t;
  EXPECT_TRUE(Lines(t, "caption", "NEU.SLD").empty()) << t;
  EXPECT_EQ(fs::file_size(home.Path() / "Layer0.TMP"), 2 * 13u);
}

// A cut drawing loads its whole records, says how many of how many, and
// leaves the drawing unnamed.
TEST(DrawingOpenRun, ATruncatedDrawingSaysHowMuchCameIn) {
  TempFolder home;
  PrepareHome(home);
  const std::string whole = Drawing(home, 9);  // 10 records
  WriteFile(home.Path() / "KURZ.SLD", whole.substr(0, kDrawingHeadSize + 6 * 13 + 5));
  ASSERT_EQ(RunHeadlessWithArguments(home, OpenScript(), {"KURZ.SLD"}).exitCode, 0);
  const std::string t = Transcript(home);
  const auto boxes = Lines(t, "msgbox", "KURZ.SLD");
  ASSERT_EQ(boxes.size(), 1u) << t;
  EXPECT_NE(boxes[0].find("6 von 10 "), std::string::npos) << boxes[0];
  EXPECT_EQ(boxes[0].find("fehlen"), std::string::npos) << boxes[0];
  EXPECT_TRUE(Lines(t, "caption", "KURZ.SLD").empty()) << t;
  EXPECT_FALSE(Lines(t, "caption", "[]").empty()) << t;
  EXPECT_EQ(fs::file_size(home.Path() / "Layer0.TMP"), 5 * 13u);

  // Cut after its records: every record comes in, and the box says that
  // what follows them is lost.
  WriteFile(home.Path() / "REST.SLD", whole.substr(0, whole.size() - 100));
  fs::remove(home.Path() / "transcript.txt");
  ASSERT_EQ(RunHeadlessWithArguments(home, OpenScript(), {"REST.SLD"}).exitCode, 0);
  const auto rest = Lines(Transcript(home), "msgbox", "REST.SLD");
  ASSERT_EQ(rest.size(), 1u) << Transcript(home);
  EXPECT_NE(rest[0].find("10 von 10 "), std::string::npos) << rest[0];
  EXPECT_NE(rest[0].find("Einstellungen, Werkzeuge, Rahmen fehlen"), std::string::npos) << rest[0];
}

// A load that fills the disk stops, says so with the name and the count,
// and leaves the drawing unnamed.
TEST(DrawingOpenRun, ALoadOntoAFullDiskSaysSoAndLeavesTheDrawingUnnamed) {
  TempFolder home;
  PrepareHome(home);
  WriteFile(home.Path() / "GROSS.SLD", Drawing(home, 8000));
  ASSERT_EQ(RunHeadlessWithArguments(home, OpenScript("disk 40000\n"), {"GROSS.SLD"}).exitCode, 0);
  const std::string t = Transcript(home);
  const auto boxes = Lines(t, "msgbox", "GROSS.SLD");
  ASSERT_EQ(boxes.size(), 1u) << t;
  EXPECT_NE(boxes[0].find("voll"), std::string::npos) << boxes[0];
  EXPECT_NE(boxes[0].find(" von 8001 "), std::string::npos) << boxes[0];
  EXPECT_TRUE(Lines(t, "caption", "GROSS.SLD").empty()) << t;
  EXPECT_LT(fs::file_size(home.Path() / "Layer0.TMP"), 8000 * 13u);
}

// Save as onto a full disk: no file, and the caption stays on the old name.
TEST(DrawingOpenRun, ASaveAsOntoAFullDiskLeavesTheCaptionOnTheOldName) {
  TempFolder home;
  PrepareHome(home);
  WriteFile(home.Path() / "ALT.LG1", Records({Rec(11, 10, 10), Rec(10, 50, 10), Rec(10, 50, 50), Rec(10, 10, 10)}));
  // Ctrl+S of a drawing without a ".SLD" name asks for one: Enter takes
  // the offered "ALT.SLD".
  const std::string script =
      StartScript() + "disk 0\nkey ctrl+s\n" + Pause(300) + "key Enter\n" + Pause(300) + "key Enter\n" + Pause(300);
  ASSERT_EQ(RunHeadlessWithArguments(home, script, {"ALT.LG1"}).exitCode, 0);
  const std::string t = Transcript(home);
  EXPECT_FALSE(Lines(t, "caption", "ALT.LG1]").empty()) << t;
  EXPECT_TRUE(Lines(t, "caption", "ALT.SLD").empty()) << t;
  EXPECT_FALSE(fs::exists(home.Path() / "ALT.SLD"));
}

}  // namespace
