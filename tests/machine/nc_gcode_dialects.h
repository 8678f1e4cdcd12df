// The NC dialects (0..99 and the generic 100) by the language they write:
// RS274/ISO G-code that gcode-toolpath reads (G0/G1/G2/G3 with X, Y, Z, I,
// J, F), or a language of its own. For the G-code dialects the row also
// says how their controls read the I/J of an arc, the direction of Z, the
// unit of the numbers and whether their comments are parenthesised, as the
// writer (machine/nc_arcs.cpp, machine/nc_rapid_moves.cpp,
// machine/nc_dialect_header.cpp) makes them; the strict check
// (tests/gcode/strict_check.js) takes these into its description. Made
// from the writer's tables and the programs it writes for the fixture job
// (tests/fixtures/nc/nc_job_fixture.h).
#pragma once

namespace ncdialects {

enum TArcCentres { kArcNone, kArcIncremental, kArcAbsolute };

// What else the check must know of a dialect's programs.
enum TDialectTraits : unsigned {
  kQuarterTurn = 1,    // the job is turned by 90 degrees, (x, y) to (-y, x), before output
  kSpindleByHand = 2,  // no spindle word the check reads: the spindle is not the program's
  kPlanar = 4,         // no Z and no feed words (wire EDM): only the path in X/Y is checked
  kOtherComments = 8,  // comments after ";", "//" or "/", in [ ] or /* */: parentheses are the language's own
  kHundredthSteps = 16, // the control moves in steps of 0.01 mm; the writer rounds its line points to them
  kFeedByControl = 32, // no feed words: the feed is set at the control or by the calling program
  kLengthOffset = 64,  // each new tool moves down only after its length offset (G43 H)
  kToolPreselect = 128,  // a T word makes the next tool ready; M6 swaps it in
};

struct TGcodeDialect {
  int dialect;
  bool gcode;             // false: another language, why in the note
  TArcCentres arcCentres;  // I/J from the arc start, or the centre itself
  int zSign;              // 1 larger Z is higher, -1 larger Z is deeper
  bool inch;              // numbers in inch
  const char* note;
  unsigned traits = 0;  // TDialectTraits
};

inline constexpr TGcodeDialect kDialects[101] = {
    {0, true, kArcIncremental, 1, false, "incremental centres with arc format 2, absolute with 1"},
    {1, true, kArcAbsolute, 1, false, ""},
    {2, true, kArcIncremental, 1, false, "", kSpindleByHand},
    {3, true, kArcAbsolute, 1, false, "", kSpindleByHand},
    {4, false, kArcNone, 1, false, "rapid moves are R blocks, not G0"},
    {5, true, kArcAbsolute, 1, false, ""},
    {6, true, kArcAbsolute, 1, false, ""},
    {7, true, kArcAbsolute, 1, false, ""},
    {8, true, kArcAbsolute, 1, false, ""},
    {9, false, kArcNone, 1, false, "isel intermediate format: FASTABS/MOVEABS/CWABS words in micrometres"},
    {10, true, kArcAbsolute, 1, false, ""},
    {11, false, kArcNone, 1, false, "arc centres as I (negated X) and K (Y): the reader takes K as the Z centre"},
    {12, true, kArcAbsolute, 1, false, "asks two questions before the output", kOtherComments},
    {13, true, kArcAbsolute, 1, false, "", kSpindleByHand},
    {14, true, kArcAbsolute, 1, false, "the test export wrote no program: its dialog needs an answer"},
    {15, true, kArcAbsolute, 1, false, ""},
    {16, true, kArcAbsolute, 1, false, "", kSpindleByHand},
    {17, true, kArcAbsolute, 1, false, ""},
    {18, true, kArcIncremental, 1, false, ""},
    {19, true, kArcAbsolute, 1, false, ""},
    {20, true, kArcIncremental, 1, false, ""},
    {21, true, kArcIncremental, 1, false, ""},
    {22, false, kArcNone, 1, false, "HEIDENHAIN plain language (L ... R FMAX, CC/C DR)"},
    {23, true, kArcAbsolute, 1, false, "", kSpindleByHand},
    {24, true, kArcIncremental, 1, false, ""},
    {25, true, kArcAbsolute, -1, false, "", kSpindleByHand | kOtherComments},
    {26, true, kArcIncremental, 1, false, ""},
    {27, true, kArcIncremental, 1, false, ""},
    {28, true, kArcIncremental, 1, false, ""},
    {29, true, kArcAbsolute, 1, false, "feed and speed are set at the control", kSpindleByHand | kFeedByControl},
    {30, true, kArcAbsolute, 1, false, "", kSpindleByHand},
    {31, false, kArcNone, 1, false, "Cobalm language: MOV/LIN/CIL/CIR blocks"},
    {32, true, kArcIncremental, 1, false, "the test export wrote no program: the tool-format form needs an answer", kSpindleByHand},
    {33, true, kArcAbsolute, 1, false, "", kSpindleByHand},
    {34, true, kArcIncremental, 1, false, "", kSpindleByHand},
    {35, true, kArcIncremental, 1, false, "a subprogram: feed and speed are the calling program's",
     kSpindleByHand | kFeedByControl},
    {36, true, kArcIncremental, 1, false, "", kOtherComments},
    {37, true, kArcIncremental, 1, false, ""},
    {38, true, kArcIncremental, 1, false, "wire EDM: no Z moves at all", kSpindleByHand | kPlanar},
    {39, true, kArcIncremental, 1, false, ""},
    {40, true, kArcAbsolute, 1, false, "", kOtherComments},
    {41, true, kArcIncremental, 1, false, "incremental centres with arc format 2, absolute with 1"},
    {42, true, kArcAbsolute, 1, false, "", kLengthOffset},
    {43, true, kArcIncremental, 1, false, ""},
    {44, false, kArcNone, 1, false, "KUKA robot language: PTP/LIN/CIRC {...}"},
    {45, true, kArcAbsolute, -1, false, "", kSpindleByHand},
    {46, true, kArcAbsolute, 1, false, "the job is turned by 90 degrees before output", kQuarterTurn},
    {47, false, kArcNone, 1, false, "HEIDENHAIN plain language (L ... R FMAX, CC/C DR)"},
    {48, true, kArcIncremental, 1, false, "points on the control's 0.01 mm steps", kSpindleByHand | kOtherComments | kHundredthSteps},
    {49, true, kArcIncremental, 1, false, ""},
    {50, true, kArcAbsolute, 1, false, ""},
    {51, true, kArcIncremental, 1, false, "", kOtherComments},
    {52, true, kArcIncremental, 1, false, "", kOtherComments},
    {53, true, kArcAbsolute, 1, false, ""},
    {54, false, kArcNone, 1, false, "HEIDENHAIN plain language (L ... R FMAX, CC/C DR)"},
    {55, true, kArcIncremental, 1, false, ""},
    {56, true, kArcIncremental, 1, false, ""},
    {57, true, kArcIncremental, 1, false, ""},
    {58, true, kArcIncremental, 1, false, "incremental centres with arc format 2, absolute with 1"},
    {59, true, kArcIncremental, 1, false, ""},
    {60, true, kArcIncremental, 1, false, ""},
    {61, true, kArcIncremental, 1, false, "T makes the next tool ready", kToolPreselect},
    {62, true, kArcIncremental, 1, false, "the test export wrote no program: no default file extension", kOtherComments},
    {63, true, kArcAbsolute, 1, false, ""},
    {64, true, kArcIncremental, 1, false, "", kOtherComments},
    {65, true, kArcIncremental, 1, false, ""},
    {66, true, kArcIncremental, 1, false, ""},
    {67, true, kArcAbsolute, 1, false, ""},
    {68, false, kArcNone, 1, false, "HEIDENHAIN plain language (L ... FMAX, CC/C DR)"},
    {69, false, kArcNone, 1, false, "HEIDENHAIN plain language (L ... F MAX, CC/C DR)"},
    {70, false, kArcNone, 1, false, "HEIDENHAIN plain language (L ... F5000, CC/C DR)"},
    {71, false, kArcNone, 1, false, "HEIDENHAIN plain language (L ... F5000, CC/C DR)"},
    {72, true, kArcIncremental, 1, false, "", kOtherComments},
    {73, false, kArcNone, 1, false, "HEIDENHAIN plain language (L ... F MAX, CC/C DR)"},
    {74, false, kArcNone, 1, false, "Siemens cylinder surface: K=AC()/J=AC() centres, axes swapped"},
    {75, false, kArcNone, 1, false, "Siemens K=AC()/I=AC() arc centres the reader cannot parse"},
    {76, true, kArcIncremental, 1, false, ""},
    {77, true, kArcAbsolute, 1, false, ""},
    {78, true, kArcIncremental, 1, false, "", kSpindleByHand},
    {79, true, kArcAbsolute, 1, false, "", kSpindleByHand},
    {80, true, kArcAbsolute, 1, true, "inch numbers without G20", kSpindleByHand},
    {81, true, kArcAbsolute, -1, false, "", kSpindleByHand | kOtherComments},
    {82, true, kArcIncremental, 1, false, "", kSpindleByHand | kOtherComments},
    {83, true, kArcIncremental, 1, false, "", kOtherComments},
    {84, true, kArcIncremental, 1, false, "", kOtherComments},
    {85, true, kArcIncremental, 1, false, ""},
    {86, true, kArcIncremental, 1, false, ""},
    {87, false, kArcNone, 1, false, "coordinates as signed integers in micrometres (X+10000)"},
    {88, true, kArcIncremental, 1, false, ""},
    {89, true, kArcIncremental, 1, false, ""},
    {90, true, kArcIncremental, 1, false, ""},
    {91, true, kArcIncremental, 1, false, ""},
    {92, true, kArcAbsolute, 1, false, ""},
    {93, false, kArcNone, 1, false, "HEIDENHAIN plain language (L ... F MAX, CC/C DR)"},
    {94, true, kArcIncremental, 1, false, ""},
    {95, true, kArcIncremental, 1, false, ""},
    {96, true, kArcIncremental, 1, false, ""},
    {97, true, kArcAbsolute, 1, false, ""},
    {98, true, kArcIncremental, 1, false, "", kSpindleByHand},
    {99, false, kArcNone, 1, false, "HEIDENHAIN plain language (L ... FMAX, CC/C DR)"},
    {100, true, kArcAbsolute, 1, false, ""},
};

}  // namespace ncdialects
