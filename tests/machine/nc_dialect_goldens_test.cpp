// Today's DIN/ISO output of every dialect, pinned byte for byte: each
// fixture job exported through ExportDinIso for the dialects 0..99 and the
// generic 100 gives tests/fixtures/nc/dialects/dialect_NN_<job>_<variant>.nc.
// Variants: "nostart" (StartX/StartY -10000: the first contour start is
// taken) and "start" (a real start position). A "start" golden is kept only
// where the start position changes the program; elsewhere the test checks
// that the program equals the "nostart" golden. TORV_RECORD_GOLDENS=1
// records the goldens instead of comparing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "machine/nc_export_fixture.h"
#include "machine/nc_program_writer.h"
#include "machine/nc_settings.h"
#include "platform/files.h"

namespace {

namespace fs = std::filesystem;
using nctest::ReadAll;

const fs::path kDialectGoldenDir = nctest::kGoldenDir / "dialects";

// Dialects whose export takes more than the file name. Every other dialect
// writes its program from the name "PROG" without a further question, and
// every dialect 0..100 writes one program file and nothing else beside it.
struct TDialectRun {
  int dialect;
  const char* name;     // what the file dialog is answered with
  const char* answers;  // script lines for what the run asks next
  int boxes;            // message boxes among the questions
  const char* why;
};
const TDialectRun kDialectRuns[] = {
    {5, "PROG", "key Enter\n", 1, "says the spindle speed is capped at 127: OK"},
    {12, "PROG", "key Enter\n", 1, "asks whether the tip radius is compensated (G41): yes"},
    {14, "4711", "", 0, "takes only program names of digits"},
    {31, "PROG", "key Enter\n", 1, "asks whether the zero point is taken from VV30/VV31: yes"},
    {32, "4711", "key Enter\n", 0, "takes only digits; asks the tool changer kind (defaults kept)"},
    {35, "PROG", "key Esc\n", 0, "opens the comment lines of the program head: cancelled, none written"},
    {62, "O4711", "", 0, "takes only program names O and up to four digits"},
};

const TDialectRun& RunOf(int dialect) {
  static const TDialectRun kPlain{-1, "PROG", "", 0, ""};
  for (const TDialectRun& run : kDialectRuns)
    if (run.dialect == dialect) return run;
  return kPlain;
}

struct TFixtureJob {
  const char* name;
  ncfixture::TJob (*build)();
};
const TFixtureJob kJobs[] = {
    {"base", ncfixture::BuildJob},
    {"arcs", ncfixture::BuildArcJob},
    {"passes", ncfixture::BuildDepthPassJob},
    {"tools", ncfixture::BuildThreeToolJob},
};

std::string GoldenName(int dialect, const std::string& job, const std::string& variant) {
  char number[8];
  std::snprintf(number, sizeof number, "%02d", dialect);
  return std::string("dialect_") + number + "_" + job + "_" + variant + ".nc";
}

class NcDialectGoldens : public nctest::NcExportTest {
 protected:
  // The program of one export, the program file removed again so that the
  // next export cannot be mistaken for it.
  std::string ExportText(int dialect) {
    const TDialectRun& run = RunOf(dialect);
    std::set<fs::path> before;
    for (const auto& e : fs::directory_iterator(screen_.Dir())) before.insert(e.path().filename());
    EXPECT_TRUE(nctest::FixClock());  // every program's export line reads the same time
    const fs::path program = Export(dialect, run.name, run.answers);
    for (const auto& e : fs::directory_iterator(screen_.Dir())) {
      const fs::path name = e.path().filename();
      const bool known = before.count(name) == 1 || e.path() == program || name == "transcript.txt" ||
                         name == kNcArcFittedName || name == kNcPreparedName;
      EXPECT_TRUE(known) << "dialect " << dialect << " wrote " << name << " beside its program";
    }
    EXPECT_FALSE(program.empty()) << "dialect " << dialect << " wrote no program; transcript:\n"
                                  << screen_.ReadFile("transcript.txt");
    if (program.empty()) return "";
    std::string text = ReadAll(program);
    fs::remove(program);
    // The program folder is made anew for every run: its path stands as <folder>.
    const std::string folder = plat::DosPathOf(screen_.Dir().string()) + "\\";
    for (size_t at = text.find(folder); at != std::string::npos; at = text.find(folder, at))
      text.replace(at, folder.size(), "<folder>\\");
    // The message boxes of the run: as many as the table answers.
    const std::string transcript = screen_.ReadFile("transcript.txt");
    int boxes = 0;
    for (size_t at = transcript.find("msgbox|"); at != std::string::npos; at = transcript.find("msgbox|", at + 1))
      ++boxes;
    EXPECT_EQ(boxes, run.boxes) << transcript;
    fs::remove(screen_.Dir() / "transcript.txt");
    return text;
  }

  // Every dialect, start position off and on, against the goldens.
  void CheckAllDialects(const TFixtureJob& job) {
    UseJob(job.build());
    for (int dialect = 0; dialect <= kNcGenericDialect; ++dialect) {
      SCOPED_TRACE("dialect " + std::to_string(dialect) + ", job " + job.name);
      settings_->StartX = settings_->StartY = -10000.0f;
      const std::string plain = ExportText(dialect);
      ASSERT_FALSE(plain.empty());
      const fs::path plainGolden = kDialectGoldenDir / GoldenName(dialect, job.name, "nostart");
      nctest::CheckGoldenFile(plainGolden, plain, "the program");

      settings_->StartX = -12.5f;
      settings_->StartY = 7.25f;
      const std::string started = ExportText(dialect);
      const fs::path startGolden = kDialectGoldenDir / GoldenName(dialect, job.name, "start");
      if (nctest::IsRecordingGoldens()) {
        if (started != plain) nctest::CheckGoldenFile(startGolden, started, "the program with start position");
        else fs::remove(startGolden);
      } else if (fs::exists(startGolden)) {
        EXPECT_EQ(started, ReadAll(startGolden)) << "the program with start position differs from " << startGolden;
      } else {
        EXPECT_EQ(started, ReadAll(plainGolden)) << "the start position changed a program it did not change before";
      }
    }
  }
};

TEST_F(NcDialectGoldens, BaseJob) { CheckAllDialects(kJobs[0]); }
TEST_F(NcDialectGoldens, ArcJob) { CheckAllDialects(kJobs[1]); }
TEST_F(NcDialectGoldens, DepthPassJob) { CheckAllDialects(kJobs[2]); }
TEST_F(NcDialectGoldens, ThreeToolJob) { CheckAllDialects(kJobs[3]); }

// Every golden in the folder belongs to a dialect, job and variant the
// tests above export: a stale golden would pin nothing.
TEST(NcDialectGoldenFolder, HoldsOnlyGoldensTheTestsCompare) {
  if (nctest::IsRecordingGoldens()) GTEST_SKIP() << "recording";
  std::set<std::string> known;
  for (int dialect = 0; dialect <= kNcGenericDialect; ++dialect)
    for (const TFixtureJob& job : kJobs)
      for (const char* variant : {"nostart", "start"}) known.insert(GoldenName(dialect, job.name, variant));
  for (const auto& e : fs::directory_iterator(kDialectGoldenDir)) {
    const std::string name = e.path().filename().string();
    EXPECT_TRUE(known.count(name) == 1) << name << " is not compared by any test";
  }
}

}  // namespace
