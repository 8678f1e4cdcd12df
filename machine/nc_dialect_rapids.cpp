// The rapid moves of the NC dialects: one row per dialect.
#include "machine/nc_dialect_rapids.h"

#include <cassert>

namespace {

// Rapid and index forms shared by several dialects.
constexpr const char* kRapidG0 = "G0{w}";
constexpr const char* kRapidG00 = "G00{w}";
constexpr const char* kRapidR = "R{w}";
constexpr const char* kRapidFastAbs = "FASTABS{w}";
constexpr const char* kRapidMov = "?circle:HCI{circleOff}|MOV{w}";
constexpr const char* kRapidPtp = "PTP {lb}{w}{rb}";
constexpr const char* kRapidLFmax = "L{w} FMAX";
constexpr const char* kRapidLFMax = "L{w} F MAX";
constexpr const char* kRapidLFmaxM = "L{w} R FMAX M";
constexpr const char* kRapidLF5000 = "L{w} F5000";
// Compensation off before the rapid: as a block, or in the rapid itself
// after the coolant word that is still due.
constexpr const char* kRapidG0CompOff = "?comp:G40{compOff}|G0{w}";
constexpr const char* kRapidG00CompOff = "?comp:G40{compOff}|G00{w}";
constexpr const char* kRapidCoolantG40 = "?coolantdue:{C}|G0{G40}{w}";
// Up to the safe Z and across to the target before the rapid itself:
// always, or when the settings ask for it.
constexpr const char* kRapidRetractFirst = "G0 Z{SZ}|G0{xy}|G0{w}";
constexpr const char* kRapidRetractOnRequest = "?approach:G0 Z{SZ}|?approach:G0{xy}|G0{w}";

constexpr int kDialectCount = 101;

const TNcRapidsRow kRapidsRows[kDialectCount] = {
    // rapid                 index              clear.  ZUp comp          plunge   retract  traits
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 0
    {kRapidG00,              kRapidG00,         " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 1
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 2
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 3
    {kRapidR,                kRapidR,           " Z",     1, kNcCompNone,  nullptr, nullptr, kNcQuarterArcs},  // 4
    {kRapidG0CompOff,        kRapidG0CompOff,   " Z",     1, kNcCompWords, nullptr, nullptr, kNcDepthOffset},  // 5
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 6
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 7
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 8
    {kRapidFastAbs,          kRapidFastAbs,     " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 9
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 10
    {kRapidG0,               kRapidG0,          " Y",     1, kNcCompNone,  nullptr, nullptr, kNcAlwaysNumbered},  // 11
    {kRapidCoolantG40,       kRapidCoolantG40,  " Z",     1, kNcCompTip,   nullptr, nullptr, kNcSkipsStandingPoints | kNcAlwaysNumbered | kNcAskTipCompensation},  // 12
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 13
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, kNcAlwaysNumbered},  // 14
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 15
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 16
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 17
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 18
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 19
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, kNcRapidForgetsFeed},  // 20
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 21
    {kRapidLFmaxM,           kRapidLFmaxM,      " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 22
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, kNcNoToolChangeBlocks},  // 23
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 24
    {kRapidG00,              kRapidG0,          " Z",    -1, kNcCompNone,  "M12",   "M22",   kNcFixtureStations | kNcFineArcGrid},  // 25
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, kNcFineArcGrid},  // 26
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 27
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 28
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 29
    {kRapidG00,              kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 30
    {kRapidMov,              kRapidG0,          " Z",    -1, kNcCompNone,  nullptr, nullptr, kNcAskZeroPoint},  // 31
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, kNcRotaryIncremental | kNcAskToolChanger},  // 32
    {kRapidG00,              kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 33
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 34
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 35
    {kRapidG00,              kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, kNcNoToolChangeBlocks},  // 36
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 37
    {kRapidG0,               kRapidG0,          nullptr,  1, kNcCompNone,  nullptr, nullptr, 0},  // 38
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, kNcAngleWords | kNcRapidForgetsFeed},  // 39
    {kRapidRetractFirst,     kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 40
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 41
    {kRapidG00,              kRapidG00,         " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 42
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 43
    {kRapidPtp,              kRapidG0,          "Z ",     1, kNcCompNone,  nullptr, nullptr, kNcNeverNumbered},  // 44
    {kRapidG00,              kRapidG0,          " Z",    -1, kNcCompNone,  nullptr, nullptr, kNcFineArcGrid},  // 45
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, kNcTurnedJob},  // 46
    {kRapidLFmaxM,           kRapidLFmaxM,      " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 47
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 48
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 49
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 50
    {kRapidG00,              kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 51
    {kRapidG00,              kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 52
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 53
    {kRapidLFmaxM,           kRapidLFmaxM,      " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 54
    {kRapidRetractOnRequest, kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, kNcRapidForgetsFeed | kNcIndexedAxisMode},  // 55
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, kNcRapidForgetsFeed},  // 56
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 57
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 58
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 59
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 60
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 61
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 62
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 63
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 64
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 65
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 66
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 67
    {kRapidLFmax,            kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 68
    {kRapidLFMax,            kRapidLFMax,       " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 69
    {kRapidLF5000,           kRapidLF5000,      " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 70
    {kRapidLF5000,           kRapidLF5000,      " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 71
    {kRapidG00,              kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 72
    {kRapidLFMax,            kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 73
    {kRapidG0,               kRapidG0,          " X",     1, kNcCompNone,  nullptr, nullptr, kNcNoRotaryOutput},  // 74
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 75
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 76
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 77
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, kNcContourCycleFile},  // 78
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 79
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 80
    {kRapidG00CompOff,       kRapidG0CompOff,   " Z",    -1, kNcCompBlock, "M12",   "M22",   kNcFineArcGrid},  // 81
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 82
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 83
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 84
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 85
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 86
    {kRapidG00,              kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, kNcClearanceToolOffset},  // 87
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 88
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 89
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 90
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 91
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 92
    {kRapidLFMax,            kRapidLFMax,       nullptr,  1, kNcCompNone,  nullptr, nullptr, 0},  // 93
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 94
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 95
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 96
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 97
    {kRapidG00,              kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 98
    {kRapidLFmax,            kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 99
    {kRapidG0,               kRapidG0,          " Z",     1, kNcCompNone,  nullptr, nullptr, 0},  // 100
};

}  // namespace

const TNcRapidsRow& NcRapidsRow(int dialect) {
  if (dialect < 0 || dialect >= kDialectCount) dialect = 0;
  const TNcRapidsRow& row = kRapidsRows[dialect];
  assert(row.Rapid != nullptr && row.Index != nullptr && (row.ZUp == 1 || row.ZUp == -1));
  return row;
}

bool NcRapidsTrait(int dialect, uint32_t trait) { return (NcRapidsRow(dialect).Traits & trait) != 0; }
