// The set-up sequences of the dialects, one row per dialect.
#include "machine/nc_dialect_setup.h"

#include <cassert>

#include "machine/nc_settings.h"

namespace {

// Sequences shared by several dialects.
// Dialects 2, 78.
constexpr const char* kSetupInsertHead =
    "G90|{insert}|G52|{first}{T}|{S}{coolantDue}|{feed85}G0 Z{SZ}|G0 {XY}|G1 Z{clearance}{F}{atclearance}";
// Dialects 8, 10.
constexpr const char* kSetupStartWithZ =
    "~%1|G0 G90 Z{SZ}|?startSet:G0 {SXY}|G0 Z{SZ}";
// Dialects 15, 17.
constexpr const char* kSetupToolSpindle =
    "{first}{T}|{S} M3{coolantDue}|G0 Z{SZ}|G0 {XY}";
// Dialects 28, 89.
constexpr const char* kSetupCycleModes =
    "{first}G17 G40 G80 G90 G94 G98|{T}{M6}|G0 Z{SZ}|G0 {XY}{coolantDue}|{S} M3";
// Dialects 94, 95.
constexpr const char* kSetupPlaneFirst =
    "G90 G17|{first}{T}{M6}|{S} M03|G0 Z{SZ}|G0 {XY}{coolantDue}";

constexpr TNcSetupRow kSetupRows[] = {
    //        set-up sequence
    /*   0 */ {"{user}|{first}{T}{M6}|{S} M3|G0 Z{SZ}|G0 {XY}"},
    /*   1 */ {nullptr},
    /*   2 */ {kSetupInsertHead},
    /*   3 */ {"~%|{first}{T} {S}{coolantDue}|G0 Z{SZ}|G0 {XY}{nofeed}"},
    /*   4 */ {nullptr},
    /*   5 */ {nullptr},
    /*   6 */ {"~%12345*%|{first}G64 G17 G90{S} M3 {T}|{T}{M6}|{S} M3{coolantDue}|G0 Z{SZ}|G0 {XY}"},
    /*   7 */ {"~;{name}|G90 G17|{first}{T}{M6}|{cycleCall}|{S} M3{coolantDue}|G0 Z{SZ}|G0 {XY}"},
    /*   8 */ {kSetupStartWithZ},
    /*   9 */ {nullptr},
    /*  10 */ {kSetupStartWithZ},
    /*  11 */ {nullptr},
    /*  12 */ {nullptr},
    /*  13 */ {"{first}{T} G17 {S}{M6}{coolantDue}|G0 Z{SZ}|G0 {XY}"},
    /*  14 */ {"{first}{T} L31|M3 {S}|M41{coolantDue}|G0 Z{SZ}|G0 {XY}"},
    /*  15 */ {kSetupToolSpindle},
    /*  16 */ {"{first}{T}{M6}|{S}{coolantDue}|G0 Z{SZ}|G0 {XY}|{C}"},
    /*  17 */ {kSetupToolSpindle},
    /*  18 */ {"~%{name},MX,|{first}G90|G94|G54|G17|G0 Z{SZ}|G0 {XY}|{T}|{M6}|G43|{S} M3{coolantDue}"},
    /*  19 */ {"~%1|G0 G90 Z{SZ}|?startSet:G0 {SXY}|{first}{M6} {T}|M100 {T}|{S}{coolantDue}"},
    /*  20 */ {nullptr},
    /*  21 */ {"{first}{T}{M6}|G0 Z{SZ}{coolantDue}|?startSet:G0 {SXY}|{S} M3"},
    /*  22 */ {nullptr},
    /*  23 */ {"{first}G90|G01 G42{coolantDue}"},
    /*  24 */ {"{first}G90 G40 G49 G17|{M6} {T}|G0 G43 H{N} Z{SZ}|?startSet:G0 {SXY}|{coolantDue}{S} M3"},
    /*  25 */ {"{viastation}G17|G90|G75|G0 Z{-SZ}|G0 {XY}|?station1000:{take:station}{toolName}|?station1000:G97 {S}{coolantDue}"},
    /*  26 */ {"{first}G90 G80 G40 G00 G21|{T}{M6}|G43H{N}|{S} M3|G0 Z{SZ}|G0 {XY}{coolantDue}"},
    /*  27 */ {"{first}G90 G54 G40 G49 G17|{M6} {T}|G0 G43 H{N} Z{SZ}|?startSet:G0 {SXY}|{coolantDue}{S} M3"},
    /*  28 */ {kSetupCycleModes},
    /*  29 */ {"{first}|?startSet:G90 G00 Z{SZ}|?startSet:G90 G00 {SXY}|?!startSet:G90|{coolantDue}"},
    /*  30 */ {"{first}G00 Z{SZ}|G00 {FXY}{coolantDue}"},
    /*  31 */ {nullptr},
    /*  32 */ {nullptr},
    /*  33 */ {nullptr},
    /*  34 */ {nullptr},
    /*  35 */ {"{first}{T}{M6}|{S}{coolantDue}"},
    /*  36 */ {"{first}L_KOPF|G00 Z{SZ}|G54|?startSet:G00 G40 G90 {SXY}|?!startSet:G40 G90|{T}{M6}|{S} M3{coolantDue}"},
    /*  37 */ {nullptr},
    /*  38 */ {"{station}|~%|?startSet:G92 {SXY}|(G41 D01 S1)|M22M23"},
    /*  39 */ {nullptr},
    /*  40 */ {nullptr},
    /*  41 */ {"~%12345*%|{first}G64 G17 G90 {S} M3 {T}|{T}{M6}|{S} M3{coolantDue}|G0 Z{SZ}|G0 {XY}"},
    /*  42 */ {"{first}G17 G21 G90 G40 G80 G98|G91 G30Z0|G30X0Y0|M01|{T}{M6}|G90 G54|?startSet:G00 {SXY} {S} M03|?!startSet:{S} M03|G43 H{N2} Z{SZ}{coolantDue}"},
    /*  43 */ {"{first}G90 G80 G40 G17|{T}{M6}|M3 {S}|G0 H{N} Z{SZ}|?startSet:E1 G0 {SXY}|{coolantDue}"},
    /*  44 */ {nullptr},
    /*  45 */ {"{first}G17|G90|G75|{S}|G00 {T}|?startSet:G00 Z{-SZ}|?startSet:G00 {SXY}"},
    /*  46 */ {"{first}{T} {S} M3{coolantDue}|G0 G90 Z{SZ}|G0 G40 G90 {XY}"},
    /*  47 */ {nullptr},
    /*  48 */ {"G74|{first}M06 {T}|M25 {S}|M10 O6.1|M10 O2.1{coolantDue}|G0 Z{SZ}|G0 {XY}"},
    /*  49 */ {"G0 G76 Z0 M5 M70|G22 V1|G54|G60 X0 Y0 Z0|{first}{T}|{M6}|{S} M3{coolantDue}|G0 Z{SZ}|G0 {XY}"},
    /*  50 */ {"{first}{T}{M6}|{S} M3{coolantDue}|?startSet:G0 Z{SZ}|?startSet:G0 {FXY}"},
    /*  51 */ {"{first}G55 G00 Z{SZ}|?startSet:G00 {SXY}|?!startSet:G0 {FXY}|{T}{M6}|{S} M3{coolantDue}"},
    /*  52 */ {"O1|{first}G00 Z{SZ}|?startSet:G00 {SXY}|?!startSet:G0 {FXY}|{T}{M6}|{S} M3{coolantDue}|{C}"},
    /*  53 */ {"G17|G51|G54|{first}{T}{M6}|G40 {S} M3{coolantDue}|G0 Z{SZ}|G0 {XY}"},
    /*  54 */ {nullptr},
    /*  55 */ {nullptr},
    /*  56 */ {"{first}G17|G90|{T}{M6}|{S} M3{coolantDue}|{C}|G0 Z{SZ}|G0 {XY}"},
    /*  57 */ {"{first}G54|G17|G90|{T}{M6}|{S} M3{coolantDue}|{C}|G0 Z{SZ}|G0 {XY}"},
    /*  58 */ {"~%12345*%|{first}G64 G17 G90 |{T}{M6}|{S} M3{coolantDue}|{C}|G0 Z{SZ}|G0 {XY}"},
    /*  59 */ {nullptr},
    /*  60 */ {"O0200|{first}G17 G40 G80 G90 G94 G98{coolantDue}|{S} M3"},
    /*  61 */ {"G17 G40 G49 G80 G90|{first}{T}|{M6}|{S} M3{coolantDue}|G0 G58 G43 Z{SZ} H{N}|G0 {XY} {next} {C}"},
    /*  62 */ {"{first}G90|G94|G17|G0 G53 Z0|G0 X0 Y0{at00}|M5|{T}|{M6}|{S} M3{coolantDue}"},
    /*  63 */ {"G55|G92 X0 Y0 Z{shiftz}|{first}{T}{M6}|{S} M3|M62{coolantDue}|G0 Z{SZ}|G0 {XY}"},
    /*  64 */ {"{first}TRANS Z{shiftz}|{T} D1|L06|{S} M3{coolantDue}|G0 Z{SZ}|G0 {FXY}"},
    /*  65 */ {"{first}G54|G17|G90|G61.1|{T}{M6}|{S} M3|G0 G43 Z{SZ} H{N}{coolantDue}|G0 X0 Y0|{C}|G0 {XY}|G0 Z{SZ}"},
    /*  66 */ {"{first}G17|G90|{T}{M6}|{S} M3|{dwell}|G0 Z{SZ}{coolantDue}|G0 {XY}|{C}"},
    /*  67 */ {"G17|G52|{first}{T}{M6}|{S} M3{coolantDue}|{C}|G0 Z{SZ}|G0 {XY}"},
    /*  68 */ {nullptr},
    /*  69 */ {nullptr},
    /*  70 */ {nullptr},
    /*  71 */ {nullptr},
    /*  72 */ {"{first}{T}|{M6}|{S} M3|G54|TRANS Z1000|G00 Z{SZ}{coolantDue}|{C}|G00 G40 G90 {XY}"},
    /*  73 */ {nullptr},
    /*  74 */ {nullptr},
    /*  75 */ {nullptr},
    /*  76 */ {"~%|G55|G0 Z{SZ}|G0 {XY}|{first}{T}{M6}|G54|{S}{coolantDue}|?coolantAny:{C}"},
    /*  77 */ {"~;{name}|G90 G17|{first}{T}{M6}|?measuring:{measure}|?measuring:G79|?measuring:{g59}|{S} M3{coolantDue}|G0 Z{SZ}|G0 {XY}"},
    /*  78 */ {kSetupInsertHead},
    /*  79 */ {"G0 Z{SZ}|G0 {XY}|{first}{T} G17 {S}{M6}{coolantDue}|G68 P3|G0 {XY}|G0 Z{SZ}"},
    /*  80 */ {"M90|G75|G0 G90 Z{SZ}|G0 G40 G90 X0 Y0|G0 G40 G90 X1 Y1 C01|G0 {XY}|{first}{T}|M11|G0 {XY}|G0 Z{SZ}"},
    /*  81 */ {"{viastation}G17|G90|G75|G0 Z{-SZ}|G0 {XY}|{take:station}{toolName}|G97 {S}{coolantDue}"},
    /*  82 */ {"G71 //in mm|{first}{S}{coolantDue}|G0 Z{SZ}|G0 {XY}"},
    /*  83 */ {"{first}Z_HOCH|G501|G90 G40 G17|HSCCFG(1,0.030,3,0.30)|FFWON|SOFT|{T}|{M6}|D1|M13 M46 M21|M3 {S}|G0 Z{SZ}|G0 {XY}{coolantDue}|{C}"},
    /*  84 */ {"{viastation}G15 H01|G53 Z100. M5|{take:station}{T}{M6}|G90 G0 Z{SZ}|?startSet:G0 {SXY}|{S} M3"},
    /*  85 */ {"{first}G54|G17|G90|{T}{M6}|{S} M3|G0 G43 Z{SZ} H{N}{coolantDue}|G0 {XY}|{C}"},
    /*  86 */ {"{first}G17|G40 G50 G80 G90 G91.1|{T}{M6}|{S} M3|G0 Z{SZ}|G0 {XY}{coolantDue}|{C}"},
    /*  87 */ {"{first}G90|{T}{M6}|{S}|G00 Z{SZ}|G00 {XY}{coolantDue}|{C}"},
    /*  88 */ {"{first}G90|G40|G17|G60 X0|{T}{M6}|{S} M3|M13|G0 Z{SZ}|G0 {XY}{coolantDue}|{C}"},
    /*  89 */ {kSetupCycleModes},
    /*  90 */ {"{first}G90 G0 G17 G40|G49|{T}{M6}|{S} M03|G0 G43 Z{SZ} H{N}{coolantDue}|G0 {XY}|{C}"},
    /*  91 */ {nullptr},
    /*  92 */ {"G17|{first}{T}{M6}|{S} M03|M8|G04 Q8|G0 Z{SZ}|G0 {XY}{coolantDue}|?coolantAny:{C}"},
    /*  93 */ {nullptr},
    /*  94 */ {kSetupPlaneFirst},
    /*  95 */ {kSetupPlaneFirst},
    /*  96 */ {"G90 G21 G17|{first}{T}{M6}|{S} M03|G0 Z{SZ}|G0 {XY}{coolantDue}"},
    /*  97 */ {"G17|G52|{first}{T}{M6}|G40 {S} M3{coolantDue}|G0 Z{SZ}|G0 {XY}"},
    /*  98 */ {"{first}G90|{T}{M6}|G00 Z{SZ} {S}|G00 {XY}{coolantDue}|{C}"},
    /*  99 */ {nullptr},
    /* 100 */ {nullptr},
};
static_assert(sizeof(kSetupRows) / sizeof(kSetupRows[0]) == kNcGenericDialect + 1);

}  // namespace

const TNcSetupRow& NcSetupRow(int dialect) {
  if (dialect < 0 || dialect > kNcGenericDialect) dialect = kNcGenericDialect;
  assert(kSetupRows[kNcGenericDialect].Sequence == nullptr);
  return kSetupRows[dialect];
}
