// The comment head of every NC dialect.
#include "machine/nc_dialect_header.h"

#include <iterator>
#include <string>

#include "machine/nc_settings.h"

namespace {

// Marks of comment lines.
constexpr TNcCommentMarks kNone{"", "", kNcGuardNone};
constexpr TNcCommentMarks kParens{"(", ")", kNcGuardParens};
constexpr TNcCommentMarks kParensSpaced{"( ", " )", kNcGuardParens};
constexpr TNcCommentMarks kPercentParens{"%(", ")", kNcGuardParens};
constexpr TNcCommentMarks kStarParens{"(* ", " *)", kNcGuardParens};
// After ";" the rest of the line is a comment, parentheses included.
constexpr TNcCommentMarks kSemiParens{";(", ")", kNcGuardNone};
constexpr TNcCommentMarks kSemi{";", "", kNcGuardNone};
constexpr TNcCommentMarks kSlashes{"//", "", kNcGuardNone};
constexpr TNcCommentMarks kSlash{"/", "", kNcGuardNone};
constexpr TNcCommentMarks kBrackets{"[", "]", kNcGuardBrackets};
constexpr TNcCommentMarks kCStyle{"/*", "*/", kNcGuardNone};

// Heads shared by several dialects.
constexpr const char* kNoHead = "";
constexpr const char* kComments = "{comments}";
constexpr const char* kPercent0001 = "~%0001|{comments}";
constexpr const char* kO1233 = "~O1233|{comments}";
constexpr const char* kPercent = "~%|{comments}";
constexpr const char* kSwitchedOnAfterM90 = "M90|?wanted:{comments}";
constexpr const char* kDiameterBlock = "{title}|?rotaryActive:({diameter})|{tools}";
constexpr const char* kPgmNamed = "BEGIN PGM {name} MM|{comments}";
constexpr const char* kPgm9001 = "BEGIN PGM 9001 MM|{comments}";
constexpr const char* kMainProgram = "~%_N_{name}_MPF|{comments}";
// The cylinder surface and face dialects set up their axes in the head.
constexpr const char* kSpinnerMantle =
    "%_N_{name}_MPF|{title}|;Gravur auf Mantelflaeche|{rotary}|{tools}|"
    "GETD(AX5)|TRANS|TRAFOOF|DIAMON|M48|SETMS()|SYNC_OFF|G0 Q1=20|G54";
constexpr const char* kSpinnerFace =
    "%_N_{name}_MPF|{title}|;Gravur auf Stirnflaeche|{rotary}|{tools}|"
    "GETD(AX5)|TRANS|TRAFOOF|DIAMON|M48|SETMS()|SYNC_OFF|G0 Q1=20|G54";
// The Mazak turning head says how the rotary axis is used.
constexpr const char* kMazakTurning =
    "~O00000001|{title}|?cylinder:~(Mantelfl\xE4" "che Z/W[X], C/H[Y], X/U[Z], T32-Betrieb A-Code )|"
    "?!cylinder:~(Planseite, kartesisch, T32-Betrieb A-Code )|{rotary}|{tools}";
constexpr const char* kToolMeasuring =
    "{comments}|?laser:~(Werkzeugvermessung mit Laser)|?probe:~(Werkzeugvermessung mit Me\xDF" "dose)|"
    "?nomeasuring:~(keine Werkzeugvermessung)";

constexpr bool kRaw = false;
constexpr bool kBlocks = true;

// clang-format off
const TNcHeaderRow kRows[kNcDialectSlots] = {
    // Set            Rotary          Tools           SetBlocks ToolBlocks from  Head
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    "?wanted:{comments}"},                  // 0
    {kParens,        kSemiParens,    kSemiParens,    kRaw,    kRaw,    0,    kComments},                             // 1
    {kParens,        kParens,        kParens,        kBlocks, kBlocks, 0,    kDiameterBlock},                        // 2
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 3
    {kPercentParens, kPercentParens, kPercentParens, kRaw,    kRaw,    0,    kComments},                             // 4
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 5
    {kNone,          kNone,          kNone,          kRaw,    kRaw,    0,    kNoHead},                               // 6
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 7
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 8
    {kSemi,          kSemi,          kSemi,          kBlocks, kBlocks, 0,    "IMF_PBL|{comments}"},                  // 9
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 10
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 11
    {kSemi,          kSemi,          kSemi,          kRaw,    kRaw,    0,    kComments},                             // 12
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 13
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 14
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 15
    {kNone,          kNone,          kNone,          kRaw,    kRaw,    0,    "~%1"},                                 // 16
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 17
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 18
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 19
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kPercent0001},                          // 20
    {kNone,          kNone,          kNone,          kRaw,    kRaw,    0,    kNoHead},                               // 21
    {kSemi,          kSemiParens,    kSemiParens,    kBlocks, kBlocks, 0,    kComments},                             // 22
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 23
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 24
    {kSlashes,       kSlashes,       kSlashes,       kRaw,    kRaw,    0,    kSwitchedOnAfterM90},                   // 25
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 26
    {kNone,          kNone,          kNone,          kRaw,    kRaw,    0,    kNoHead},                               // 27
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    "~O0001;|{comments}"},                  // 28
    {kNone,          kNone,          kNone,          kRaw,    kRaw,    0,    "~%10"},                                // 29
    {kNone,          kNone,          kNone,          kRaw,    kRaw,    0,    kNoHead},                               // 30
    {kNone,          kNone,          kNone,          kRaw,    kRaw,    0,    kNoHead},                               // 31
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kMazakTurning},                         // 32
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 33
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kPercent},                              // 34
    {kNone,          kNone,          kNone,          kRaw,    kRaw,    0,    "~%|{notes}"},                          // 35
    {kSemi,          kSemi,          kSemi,          kBlocks, kBlocks, 0,    kComments},                             // 36
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 37
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 38
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kPercent0001},                          // 39
    {kSlashes,       kSlashes,       kSlashes,       kRaw,    kRaw,    0,    kComments},                             // 40
    {kNone,          kNone,          kNone,          kRaw,    kRaw,    0,    kNoHead},                               // 41
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    "~O0001|{comments}"},                   // 42
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 43
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    "~DEF TEST ( )|~|{title}|~"},           // 44
    {kNone,          kNone,          kNone,          kRaw,    kRaw,    0,    kNoHead},                               // 45
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    "{comments}|~%%%%"},                    // 46
    {kNone,          kNone,          kNone,          kRaw,    kRaw,    0,    kNoHead},                               // 47
    {kSemi,          kSemi,          kSemi,          kRaw,    kRaw,    0,    "~{date}|~Marvek|{comments}"},          // 48
    {kStarParens,    kStarParens,    kStarParens,    kRaw,    kRaw,    0,    "~\x02\r|~(DFS,P 1234, Marvek,RWED)|{comments}"},  // 49
    {kParensSpaced,  kParensSpaced,  kParensSpaced,  kRaw,    kRaw,    0,    kComments},                             // 50
    {kSemi,          kSemi,          kSemi,          kRaw,    kBlocks, 0,    "{paths}|{comments}"},                  // 51
    {kBrackets,      kBrackets,      kBrackets,      kRaw,    kRaw,    0,    kComments},                             // 52
    {kParens,        kBrackets,      kParens,        kBlocks, kBlocks, 9001, "~%PM|{title}|{rotary}|?rotaryActive:({diameter})|{tools}"},  // 53
    {kNone,          kNone,          kNone,          kRaw,    kRaw,    0,    kNoHead},                               // 54
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    "~%{P3} ({commentname})|{comments}"},   // 55
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    "{comments}|~%1000"},                   // 56
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kO1233},                                // 57
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 58
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kPercent0001},                          // 59
    {kNone,          kNone,          kNone,          kRaw,    kRaw,    0,    kNoHead},                               // 60
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    "~\x12%|{comments}"},                   // 61
    {kCStyle,        kCStyle,        kCStyle,        kRaw,    kRaw,    0,    kComments},                             // 62
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 63
    {kSemi,          kSemi,          kSemi,          kBlocks, kRaw,    0,    kComments},                             // 64
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kO1233},                                // 65
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 66
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    "~%PM|~N9001|{comments}"},              // 67
    {kSemi,          kSemi,          kSemi,          kBlocks, kBlocks, 0,    kPgm9001},                              // 68
    {kSemi,          kSemi,          kSemi,          kBlocks, kBlocks, 0,    kPgmNamed},                             // 69
    {kNone,          kNone,          kNone,          kRaw,    kRaw,    0,    "BEGIN PGM {name} MM"},                 // 70
    {kNone,          kNone,          kNone,          kRaw,    kRaw,    0,    "BEGIN PGM {name} MM"},                 // 71
    {kSemi,          kSemi,          kSemi,          kBlocks, kBlocks, 0,    kMainProgram},                          // 72
    {kSemi,          kSemi,          kSemi,          kBlocks, kBlocks, 0,    kPgmNamed},                             // 73
    {kSemi,          kSemi,          kSemi,          kBlocks, kBlocks, 0,    kSpinnerMantle},                        // 74
    {kSemi,          kSemi,          kSemi,          kBlocks, kBlocks, 0,    kSpinnerFace},                          // 75
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 76
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kToolMeasuring},                        // 77
    {kParens,        kParens,        kParens,        kBlocks, kBlocks, 0,    kDiameterBlock},                        // 78
    {kNone,          kNone,          kNone,          kRaw,    kRaw,    0,    "~[|~\"{name}\""},                      // 79
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 80
    {kSlashes,       kSlashes,       kSlashes,       kRaw,    kRaw,    0,    kSwitchedOnAfterM90},                   // 81
    {kSlashes,       kSlashes,       kSlashes,       kRaw,    kRaw,    0,    "% //Programmstart|{comments}"},        // 82
    {kSemi,          kSemi,          kSemi,          kBlocks, kBlocks, 0,    kMainProgram},                          // 83
    {kSlash,         kSlash,         kSlash,         kBlocks, kBlocks, 0,    "~%|~O1|{comments}"},                   // 84
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    "~%|~O1233|{comments}"},                // 85
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    "~%1|{comments}"},                      // 86
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    "{comments}|~%|~(&P01/0000)"},          // 87
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    "~%1234 ({commentname})|{comments}"},   // 88
    {kNone,          kNone,          kNone,          kRaw,    kRaw,    0,    "~O0001"},                              // 89
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    "~00001 ({commentname})|{comments}"},   // 90
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kPercent0001},                          // 91
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kPercent},                              // 92
    {kSemi,          kSemi,          kSemi,          kBlocks, kBlocks, 0,    kPgmNamed},                             // 93
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 94
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 95
    {kParens,        kParens,        kParens,        kRaw,    kRaw,    0,    kComments},                             // 96
    {kParens,        kBrackets,      kParens,        kBlocks, kBlocks, 9001, "~%PM9{P3}|~N9{P3}|{title}|{rotary}|?rotaryActive:({diameter})|{tools}"},  // 97
    {kNone,          kNone,          kNone,          kRaw,    kRaw,    0,    "~&%{name}|~%|~(&%{commentname}/000000\")"},  // 98
    {kSemi,          kSemi,          kSemi,          kBlocks, kBlocks, 0,    kPgm9001},                              // 99
    {kNone,          kNone,          kNone,          kRaw,    kRaw,    0,    kNoHead},                               // 100 generic
};
// clang-format on
static_assert(std::size(kRows) == kNcDialectSlots);

}  // namespace

std::string GuardNcCommentText(TNcCommentGuard guard, std::string text) {
  for (char& c : text) {
    if (guard == kNcGuardParens) {
      if (c == '(') c = '[';
      else if (c == ')') c = ']';
    } else if (guard == kNcGuardBrackets) {
      if (c == '[') c = '(';
      else if (c == ']') c = ')';
    }
  }
  return text;
}

const TNcHeaderRow& NcHeaderRow(int dialect) {
  if (dialect < 0 || dialect > kNcGenericDialect) return kRows[kNcGenericDialect];
  return kRows[dialect];
}
