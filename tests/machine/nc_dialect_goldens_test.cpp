// Today's DIN/ISO output of every dialect, pinned byte for byte: each
// fixture job exported through ExportDinIso for the dialects 0..99 and the
// generic 100 gives tests/fixtures/nc/dialects/dialect_NN_<job>_<variant>.nc.
// Variants: "nostart" (StartX/StartY -10000: the first contour start is
// taken, every other setting as the fixture has it) and the settings
// variants of kVariants ("start": a real start position; others change the
// rotary axis, the arc and numbering forms, coolant and tool measuring). A
// variant's golden is kept only where the variant changes the program;
// elsewhere the test checks that the program equals the golden of the
// variant it builds on. TORV_RECORD_GOLDENS=1 records the goldens instead of
// comparing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "frame/param_file.h"
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
    {"index", ncfixture::BuildIndexJob},
    {"fixtures", ncfixture::BuildFixtureStationJob},
};

// The arc-fitting tolerance of the writer: a float at byte 27 of parameter
// block 0 (0: no arc fitting).
constexpr int16_t kArcToleranceBlock = 0;
constexpr uint16_t kArcToleranceBlockSize = 153;
constexpr int kArcToleranceOffset = 27;

void SetArcTolerance(float tolerance) {
  uint8_t block0[kArcToleranceBlockSize] = {};
  GetParamBlock(kArcToleranceBlock, block0, kArcToleranceBlockSize);
  std::memcpy(block0 + kArcToleranceOffset, &tolerance, sizeof tolerance);
  PutParamBlock(kArcToleranceBlock, block0, kArcToleranceBlockSize);
}

// The settings variants beside "nostart". Each starts from the fixture's
// settings and changes what its name says; settings the defaults leave on
// one side are moved together where they gate different dialects, so that
// few goldens reach every branch. A variant runs with the jobs it names and
// is compared with its base variant where it keeps no golden of its own.
struct TSettingsVariant {
  const char* name;
  const char* base;
  const char* jobs;  // blank-separated job names
  void (*apply)(TNcSettings&);
};
const TSettingsVariant kVariants[] = {
    {"start", "nostart", "base arcs passes tools index fixtures",
     [](TNcSettings& s) {
       s.StartX = -12.5f;
       s.StartY = 7.25f;
     }},
    // A rotary axis of 40 mm: the dialect's axis letter replaces X or Y.
    {"rotary", "nostart", "base index", [](TNcSettings& s) { s.RotaryDiameter = 40.0f; }},
    // Dialect 55 with the axis indexed and centre records before contours.
    {"index55", "rotary", "base", [](TNcSettings& s) {
       s.RotaryDiameter = 40.0f;
       s.Dialect55Mode = 1;
     }},
    // Arc centre words in the other form (dialects 0, 41 and 58).
    {"arcform1", "nostart", "arcs", [](TNcSettings& s) { s.ArcFormat = 1; }},
    // Arc fitting of the input with a tolerance of 0.05 mm.
    {"arcfit", "nostart", "base arcs", [](TNcSettings&) { SetArcTolerance(0.05f); }},
    // The block numbering modes 0..3 (the default is 4), each with other
    // settings that no default reaches: coolant off or M7 or M50, approach
    // before the rapid, the park position, tool measuring and program end.
    {"number0", "nostart", "base", [](TNcSettings& s) {
       s.BlockNumbering = 0;
       s.CoolantOn = 0;
       s.ToolMeasuring = 2;
       s.ZeroOffsetG59 = 0;
       s.ProgramEndCode = 2;
     }},
    {"number1", "nostart", "base", [](TNcSettings& s) {
       s.BlockNumbering = 1;
       s.CoolantKind = 2;
       s.ApproachBeforeRapid = 1;
       s.ToolMeasuring = 3;
       s.EndX = 5.0f;
       s.EndY = 15.0f;
     }},
    {"number2", "nostart", "base", [](TNcSettings& s) {
       s.BlockNumbering = 2;
       s.CoolantKind = 3;
       s.ToolMeasuring = 0;
     }},
    {"number3", "nostart", "base", [](TNcSettings& s) { s.BlockNumbering = 3; }},
};

bool RunsWith(const TSettingsVariant& variant, const std::string& job) {
  return (std::string(" ") + variant.jobs + " ").find(" " + job + " ") != std::string::npos;
}

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

  // The fixture's settings: no start position, no park move, no arc fitting.
  void ResetSettings() {
    MakeNcSettingsDefaults(*settings_, "C:\\");
    settings_->StartX = settings_->StartY = -10000.0f;
    settings_->EndX = settings_->EndY = -1.0f;
    SetArcTolerance(0.0f);
  }

  // Every dialect, plain and in every settings variant of the job, against
  // the goldens.
  void CheckAllDialects(const TFixtureJob& job) {
    UseJob(job.build());
    for (int dialect = 0; dialect <= kNcGenericDialect; ++dialect) {
      SCOPED_TRACE("dialect " + std::to_string(dialect) + ", job " + job.name);
      ResetSettings();
      std::map<std::string, std::string> programs;
      const std::string plain = ExportText(dialect);
      ASSERT_FALSE(plain.empty());
      programs["nostart"] = plain;
      nctest::CheckGoldenFile(kDialectGoldenDir / GoldenName(dialect, job.name, "nostart"), plain, "the program");

      for (const TSettingsVariant& variant : kVariants) {
        if (!RunsWith(variant, job.name)) continue;
        SCOPED_TRACE(std::string("variant ") + variant.name);
        ResetSettings();
        variant.apply(*settings_);
        const std::string text = ExportText(dialect);
        programs[variant.name] = text;
        ASSERT_EQ(programs.count(variant.base), 1u) << "the base variant runs first";
        const std::string& base = programs[variant.base];
        const fs::path golden = kDialectGoldenDir / GoldenName(dialect, job.name, variant.name);
        if (nctest::IsRecordingGoldens()) {
          if (text != base) nctest::CheckGoldenFile(golden, text, "the program");
          else fs::remove(golden);
        } else if (fs::exists(golden)) {
          EXPECT_EQ(text, ReadAll(golden)) << "the program differs from " << golden;
        } else {
          EXPECT_EQ(text, base) << "the settings of " << variant.name << " changed a program that equalled the "
                                << variant.base << " one";
        }
      }
    }
    ResetSettings();
  }
};

TEST_F(NcDialectGoldens, BaseJob) { CheckAllDialects(kJobs[0]); }
TEST_F(NcDialectGoldens, ArcJob) { CheckAllDialects(kJobs[1]); }
TEST_F(NcDialectGoldens, DepthPassJob) { CheckAllDialects(kJobs[2]); }
TEST_F(NcDialectGoldens, ThreeToolJob) { CheckAllDialects(kJobs[3]); }
TEST_F(NcDialectGoldens, IndexJob) { CheckAllDialects(kJobs[4]); }
TEST_F(NcDialectGoldens, FixtureStationJob) { CheckAllDialects(kJobs[5]); }

// Every golden in the folder belongs to a dialect, job and variant the
// tests above export: a stale golden would pin nothing.
TEST(NcDialectGoldenFolder, HoldsOnlyGoldensTheTestsCompare) {
  if (nctest::IsRecordingGoldens()) GTEST_SKIP() << "recording";
  std::set<std::string> known;
  for (int dialect = 0; dialect <= kNcGenericDialect; ++dialect)
    for (const TFixtureJob& job : kJobs) {
      known.insert(GoldenName(dialect, job.name, "nostart"));
      for (const TSettingsVariant& variant : kVariants)
        if (RunsWith(variant, job.name)) known.insert(GoldenName(dialect, job.name, variant.name));
    }
  for (const auto& e : fs::directory_iterator(kDialectGoldenDir)) {
    const std::string name = e.path().filename().string();
    EXPECT_TRUE(known.count(name) == 1) << name << " is not compared by any test";
  }
}

}  // namespace
