// The real torv started on damaged work files: a layer file torn in its last
// record is cut back to whole records with one message, and a settings file
// of the right size full of garbage neither stops the program nor gets
// rewritten beyond the fields the program keeps on exit.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "frame/param_file.h"
#include "platform/files.h"
#include "support/program_runner.h"

namespace {

using namespace torvtest;

constexpr size_t kRecordSize = 42;  // one message: 40 text bytes, CR LF

std::string MessageText(int number) {
  const std::string messages = ReadFile(fs::path(TORV_BINARY_DIR) / "TORV.TX0");
  if (messages.size() < (size_t(number) + 1) * kRecordSize) return "";
  std::string text = messages.substr(size_t(number) * kRecordSize, 40);
  text.erase(text.find_last_not_of(' ') + 1);
  return plat::Utf8FromDos(text);  // the transcript's texts are UTF-8
}

// Closes the window and answers whatever the end asks with No.
const std::string kEnd = "close\nkey n\nkey n\n";

TEST(DamagedStartFilesRun, ATornLayerFileIsCutBackWithOneMessage) {
  TempFolder home;
  ASSERT_FALSE(home.Path().empty());
  CopyShippedFiles(home.Path());
  ASSERT_EQ(RunHeadless(home, StartScript()).exitCode, 0);  // a settings file of the program's own
  fs::remove(home.Path() / "transcript.txt");
  std::string records;
  for (int i = 0; i < 3 * 13; ++i) records += char(i % 2 ? 10 : 11);
  WriteFile(home.Path() / "Layer0.TMP", records + "\x0a\x01\x02\x03\x04");  // 3 records and 5 bytes
  WriteFile(home.Path() / "Layer1.TMP", std::string(13 + 6, '\0'));
  WriteFile(home.Path() / "MENUREC.TXT", "");

  // The font notice and the repair's message take an Enter each.
  TRunResult run = RunHeadless(home, "key Enter\n" + StartScript() + kEnd);
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(ReadFile(home.Path() / "Layer0.TMP").substr(0, 3 * 13), records);
  EXPECT_EQ(fs::file_size(home.Path() / "Layer0.TMP") % 13, 0u);
  EXPECT_EQ(fs::file_size(home.Path() / "Layer1.TMP"), 13u);
  const std::string transcript = ReadFile(home.Path() / "transcript.txt");
  const std::string title = MessageText(4160);
  ASSERT_FALSE(title.empty());
  const size_t at = transcript.find("msgbox|TORV|" + title);
  ASSERT_NE(at, std::string::npos) << transcript;
  EXPECT_EQ(transcript.find(title, at + 12 + title.size()), std::string::npos) << "one message for both files";
  EXPECT_NE(transcript.find("\\n2 " + MessageText(4161) + "|OK", at), std::string::npos) << transcript;
  const std::string journal = ReadFile(home.Path() / "MENUREC.TXT");
  EXPECT_NE(journal.find("Layer0.TMP: 5 Byte abgeschnitten"), std::string::npos) << journal;
  EXPECT_NE(journal.find("Layer1.TMP: 6 Byte abgeschnitten"), std::string::npos) << journal;
}

// The fields of block 0 that the end of a run writes: the running time.
constexpr size_t kRunTimeFrom = 49, kRunTimeTo = 57;

TEST(DamagedStartFilesRun, GarbageSettingsOfTheRightSizeKeepTheProgramRunning) {
  for (uint32_t seed : {2501u, 77u}) {
    TempFolder home;
    ASSERT_FALSE(home.Path().empty());
    CopyShippedFiles(home.Path());
    std::mt19937 random(seed);
    std::string garbage(kParamImageSize, '\0');
    for (char& c : garbage) c = char(random() & 0xFF);
    WriteFile(home.Path() / "TORV.PAR", garbage);

    // Start, the file menu and the info window, the layer panel, then the end.
    const std::string script = StartScript() + Pause(100) + "click 20 8\n" + Pause(100) + "key Esc\n" +
                               Pause(100) + "key F1\n" + Pause(100) + "key Esc\n" + Pause(100) + kEnd;
    TRunResult run = RunHeadless(home, script);
    ASSERT_TRUE(run.finished) << seed;
    EXPECT_EQ(run.exitCode, 0) << seed << ReadFile(home.Path() / "transcript.txt");
    const std::string after = ReadFile(home.Path() / "TORV.PAR");
    ASSERT_EQ(after.size(), garbage.size()) << seed;
    EXPECT_FALSE(fs::exists(home.Path() / "TORVBad.PAR")) << "a file of the right size is used";
    const size_t block0 = size_t(GetParamBlockOffset(0));
    std::string keptBefore = garbage, keptAfter = after;
    keptBefore.erase(block0 + kRunTimeFrom, kRunTimeTo - kRunTimeFrom);
    keptAfter.erase(block0 + kRunTimeFrom, kRunTimeTo - kRunTimeFrom);
    size_t first = 0;
    while (first < keptBefore.size() && keptBefore[first] == keptAfter[first]) ++first;
    EXPECT_EQ(first, keptBefore.size()) << seed << ": first changed byte " << first;
  }
}

}  // namespace
