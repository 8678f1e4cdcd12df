// The tool-change sequences of the NC dialects, one row per dialect.
#include "machine/nc_dialect_tool_change.h"

#include <cassert>

#include "machine/nc_settings.h"

namespace {

// --- sequences several dialects share -------------------------------------------------

// Retract, tool call with its change code, spindle start, approach. A
// block never moves and stops the spindle at once: the control stops it
// before the move, in the work. Where M6 stops the spindle, M3 follows.
constexpr const char* kCallM3 = "G0 Z{SZ}|{take}{T}{M6}|{S} M3|G0{w}";
constexpr const char* kCallSpeed = "G0 Z{SZ}|{take}{T} {S}|G0{w}";
constexpr const char* kCallApproachM3 = "G0 Z{SZ}|{take}{T}{S}{M6}|G0{w} M3";
constexpr const char* kCallG90 = "G0 Z{SZ}|{take}{T} {S}{M6}|M3|G0 G90{W*}";
constexpr const char* kCallPositioned = "G0 Z{SZ}|{take}{T} {S}{M6}|M3|G0{XY}|G0{w}";
constexpr const char* kCallCoolantAfter = "G0 Z{SZ}|{take}{T}|{S}|G0{w}|{C}";
constexpr const char* kCallNoSpindle = "G00 Z{SZ}|{take}{T}{M6}|{C}|{S}";
// The first plunge after the change runs at feed 0.85.
constexpr const char* kFeedApproach =
    "G0 Z{SZ}|{take}{T}|{S}|?rotaryActive:G0 X{TX} Y{SY}|?rotaryActive:G0{TXY}|?!rotaryActive:G0 X{TX} Y{TY}|"
    "{atTXY}{feed85}G1{w}{F}";
// Only the station is taken over: these controls change tools by hand.
constexpr const char* kStationOnly = "{take:station}G00{w}";
constexpr const char* kDefinedCall = "L Z{SZ} F5000 M9|{take}TOOL DEF {N} L0 R0|L{M6}|{T} {S}|L{W*} F5000 M03|{C}";
constexpr const char* kFmaxCall = "L Z{SZ} FMAX|{take}{T} {S}|M3|L{XY} FMAX|L{W*} FMAX|{C}";
constexpr const char* kFmaxCallCoolantFirst = "L Z{SZ} FMAX|{take}{T} {S}|M3|{C}{coolantDue}|L{XY} FMAX|L{W*} FMAX";
// The length-compensated change with a full X Y Z approach block; 27 splits
// the tool call from its change code when that code is M00.
constexpr const char* kLengthCompensated =
    "G0 Z{SZ}|M5|?coolant:M9|{take}G49{M6} {T}|G43 H{N} Z{SZ}|?coolant:{C}|{S} M3|G0{XYZ}";
constexpr const char* kLengthCompensatedSplit =
    "G0 Z{SZ}|M5|?coolant:M9|?splitCall:{take}G49{M6}|?splitCall:{T}|?!splitCall:{take}G49{M6} {T}|"
    "G43 H{N} Z{SZ}|?coolant:{C}|{S} M3|G0{XYZ}";
// Turn-mill: on the cylinder (incremental words) or on the face with polar
// interpolation.
constexpr const char* kTurnMill =
    "?cylinder:G0 X{SZ}|?!cylinder:G0 Z{SZ}|{take}M212|?cylinder:G50 W0. H0. U0.|?cylinder:G0 C0.|?!cylinder:G13.1|"
    "G28 U0.|G28 W0.|{T} {S} M203|?cylinder:G50 W0. H0. U-{RD}|?cylinder:G0 C0.|?cylinder:G0 X{SZ}|"
    "?!cylinder:G0 Z{SZ}|?!cylinder:G50 H0.|?!cylinder:G0 C0.|?!cylinder:G12.1|?!cylinder:M211";
constexpr const char* kTracyl =
    "{take}G0 X{SZ}|DIAMON|TRANS|TRAFOOF|SETMS()|G54|G0 G95 X300 D0|G0 Z150 D0|G19 {T} D1 M7|SPOS[1]=0|"
    "TRACYL({RD3})|G54|TRANS X{RR3}|DIAMOF|G0 G40 G90 G94 Z0 Y0 {S} M2=3|{C}|G0{w}";
constexpr const char* kTransmit =
    "{take}G0 Z{SZ}|TRAFOOF|TRANS|DIAMON|SETMS()|G54|G0 G95 X300 D0|G0 Z150 D0|G17 {T} D1 M7|SPOS[1]=0|"
    "DIAMOF|TRANSMIT|G54|G0 G40 G90 G94 Z5 {S} M2=3|{C}|G0{w}";
constexpr const char* kMacroLanguage =
    "G0 Z{SZ}|?coolant:M9|Xcall $kontroll|EndIf|{toolUse}|{take}{T}{M6}|{S} M3|{macroVars}|"
    "IF (( $Dia_Diff_d1 != 0 ) or ($rad_Diff_l1 != 0 ))|  Xcall $laenge|ENDIF|SH|G0{XY}|G0{w}";
constexpr const char* kMillTurnRamp =
    "G0 Z{SZ}|M05|M09|{take}{Npre}{T}{M6}|{S} M03|{dwell}|?rotaryOn:G0 X0 Y0|{axisDecl}|G0{XY}|G0{w}|{C}";
constexpr const char* kFiveAxis =
    "?offSZ:G0 Z{SZ}|M05|M09|{take}{Npre}{T}{M6}|M114|{S} M03|{dwell}|G0 Z{SZ} B0|"
    "?startSet:G0 X{SX} Y{SY} C0{atSXY}|?!startSet:G0 C0|?w:G0{wXY}|{C}";
constexpr const char* kIndexed =
    "G0 Z{SZ}|M05|M09|{take}{T}{M6}|{S} M03|?rotaryOn:G0 X0 Y0|?axisDecl55:{axisDecl}|G0{XY}|G0{w}|{C}";
constexpr const char* kClamped =
    "G0 Z{SZ}|G115|M05|M09|M11|{take}{T}{M6}|G0{S} M3|{dwell}|?rotaryOn:G0 X0 Y0{at00}|{axisDecl}|G0{XY}|G0{w}|"
    "{C}|M10";
constexpr const char* kClampedAtEnd =
    "G0 Z{SZ}|?parkSet:G0 X{EX} Y{EY}{atEXY}|G115|M05|M09|M11|{take}{T}{M6}|G17|G60 X0|G40|G90|G0{S} M3|{C}|{dwell}|"
    "?startSet:G0 X{SX} Y{SY}{atSXY}|M10|G0 Z{SZ}|?rotaryOn:G0 X0 Y0{at00}|{axisDecl}|G0{wXY}";
// The length offset of the new tool is active before its first move down;
// G30 is itself the rapid return, so no G00 stands beside it. The return
// leaves the tool at the top in incremental mode: nothing moves before G90.
constexpr const char* kReturnG30 =
    "G91 G30Z0|?coolant:M09|G30X0Y0|M05|M01|{take}{T}{M6}|G90 G54|G43 H{N2} Z{SZ}|"
    "G00{XYZ} {S} M03|?coolant:{C}";
constexpr const char* kReturnG28 =
    "G0 Z{SZ}|M9|G00 G28 G91 Z0|{take}{M6}|G40 G49 G80 G90|{S} M3|{C}|G00 G58 G43 H{N} {next} {C}";

// Dialects 25, 45 and 81 count Z positive into the work: their retract
// goes to the negated safe Z ({-SZ}), as their point words do.
// Most sequences follow the G-code pattern: retract, call, spindle, approach.
// Rows are in dialect order; 23 and 36 write no tool-change blocks.
const TNcToolChangeRow kRows[kNcGenericDialect + 1] = {
    // GCode  Sequence                                                                ApproachAfter  FeedReset
    {true, kCallM3, false, false},                                                                            // 0
    {true, "G00 Z{SZ}|{take}{T} G17{S}{M6}|G00 G40 G90{W*}", false, true},                                    // 1
    {true, kFeedApproach, false, false},                                                                      // 2
    {true, kCallSpeed, false, false},                                                                         // 3
    {false, "R Z10.|M05|G49 R|{take}{T} M06|G48 R|M03{S} R{w}", false, false},                                // 4
    {true, "?comp:G40{compOff}|G0 Z{SZ}|{take}{T}{M6}|{S} M3|{dwellDialect}|G0{w}", false, false},            // 5
    {true, kCallApproachM3, false, false},                                                                    // 6
    {true, "G0 Z{SZ}|{take}{T}{M6}|{cycleCall}|{S} M3|?rotaryActive:G0 Y{SY}|G0{XY}|G0{w}", false, false},    // 7
    {true, "G0 Z{SZ}|{take}{T}{S} M3|G0{w}", false, false},                                                   // 8
    {false, "?farOffSZ:FASTABS Z{SZ}{atSZ}|{take}{T}|{S}|FASTABS{XYZ:xy}|FASTABS{XYZ:z}", false, true},       // 9
    {true, "G0 Z{SZ}|?notFirstMove:{M6}|{firstMoveDone}{take}{T}{S} M3|G0{w}", false, false},                 // 10
    {true, "G0 Y{SZ}|{take}{T} {S}{M6}|G0{w}", false, false},                                                 // 11
    {false, "?!comp:G0 Z{SZ}|?comp:G0 G40 Z{SZ}{compOff}|?coolant:M37|M5 S0|h0|G79 Z0|{take}{T}{M6}|h{N}|"
            "M3 {S}|{C}|G0{w}", false, false},                                                                // 12
    {true, kCallSpeed, false, false},                                                                         // 13
    {true, "G0 Z{SZ}|{take}{T} L31|M3 {S}|G0{w}", false, false},                                              // 14
    {true, kCallM3, false, false},                                                                            // 15
    {true, kCallCoolantAfter, false, false},                                                                  // 16
    {true, kCallCoolantAfter, false, false},                                                                  // 17
    {true, "G0 Z{SZ}|{take}{T}|{M6}|G43|G0{w}|{S} M3", false, false},                                         // 18
    {true, "G0 Z{SZ}|{M6} {T}|{take}{M6} {T}|M101 {T}{compOn}|G56|{S}|G0{w}", false, false},                  // 19
    {true, kMillTurnRamp, false, true},                                                                       // 20
    {true, "G0 Z{SZ}|{take}{T}{M6}|{C}|{S} M3", true, false},                                                 // 21
    {false, "L Z{SZ} R FMAX M|{take}{T} {S}|L R F{M6}|L{W*} R FMAX M", false, true},                          // 22
    {false, nullptr, false, false},                                                                           // 23
    {true, kLengthCompensated, false, false},                                                                 // 24
    {true, "{take:speed}|?station1000:{take}G00 Z{-SZ}|?station1000:{toolName}|?station1000:G97 {S}|"
           "?station1000:{C}|G0{w}", false, false},                                                           // 25
    {true, "G0 Z{SZ} G49 M9|{take}{T}{M6}|G43H{N}|{S} M3|G0{w} {C}", false, true},                            // 26
    {true, kLengthCompensatedSplit, false, false},                                                            // 27
    {true, kCallG90, false, false},                                                                           // 28
    {false, kStationOnly, false, false},                                                                      // 29
    {false, kStationOnly, false, false},                                                                      // 30
    {false, "{take:station}|?circle:HCI{circleOff}|MOV{w}", false, false},                                    // 31
    {false, kTurnMill, true, false},                                                                          // 32
    {true, kCallNoSpindle, true, false},                                                                      // 33
    {true, kCallNoSpindle, true, false},                                                                      // 34
    {true, "{take}{T}{M6}|{C}|{S}", true, false},                                                             // 35
    {false, nullptr, false, false},                                                                           // 36
    {true, "G0 Z{SZ}|M5|{take}{T}{M6}|{S} M3|G0{w}", false, false},                                           // 37
    {false, "M21M24|G0{w}", false, false},                                                                    // 38
    {true, kFiveAxis, false, true},                                                                           // 39
    {false, kMacroLanguage, false, false},                                                                    // 40
    {true, "G0 Z{SZ}|{take}{T} {S}{M6}|G0{w} M3", false, false},                                              // 41
    {true, kReturnG30, false, false},                                                                         // 42
    {true, "G0 Z{SZ}|?coolant:M9|{take}{T}{M6}|M3 {S}|H{N} Z{SZ}|E1 G0{XYZ}|?coolant:{C}", false, false},     // 43
    {false, "{ptp}", false, false},                                                                           // 44
    {true, "G00 Z{-SZ}|{take:coolantKept}G00 {T}|{S}", true, false},                                          // 45
    {true, "G0 Z{SZ}|{take}{T} {S} M3|G0{w}", false, false},                                                  // 46
    {false, "L Z{SZ} R FMAX M|{take}TOOL DEF {N} L0 R0|{T} {S}|L R F{M6}|L{W*} R FMAX M03", false, true},     // 47
    {true, "M10 O6.0|M10 O2.0|G0 Z{SZ}|{take}M06 {T}|M25 {S}|M10 O6.1|M10 O2.1|G0{w}", false, false},         // 48
    {true, "G0 Z{SZ}|{take}{T}|{M6}|{S} M3|G0{w}", false, false},                                             // 49
    {true, "G0 Z{SZ}|{take}{T}|{M6}|{S} M3|G0{XY}|G0{w}", false, false},                                      // 50
    {true, "G00 Z{SZ}|S0|{take}{T}{M6}|{C}|{S}", true, false},                                                // 51
    {true, "G00 Z{SZ}|{take}{T}{M6}|{C}|{S} M3", true, false},                                                // 52
    {true, kCallPositioned, false, false},                                                                    // 53
    {false, "L Z{SZ} R FMAX M|{take}{T} {S}|L{W*} R FMAX M03", false, true},                                  // 54
    {true, kIndexed, false, true},                                                                            // 55
    {true, "G0 Z{SZ}|M9|{take}{T}{M6}|{S} M3|G0{w}|{C}", false, true},                                        // 56
    {true, "G0 Z{SZ}|{Coff}|{take}{T}{M6}|{S} M3|G0{w}|{C}", false, true},                                    // 57
    {true, "G0 Z{SZ}|{take}{T} {S}{M6}|G0{w} M3|{C}", false, false},                                          // 58
    {true, kClamped, false, true},                                                                            // 59
    {true, "G0 Z{SZ}|{take}{S}{M6}|G0 G90{W*}|{C}", false, false},                                            // 60
    {true, kReturnG28, false, true},                                                                          // 61
    {true, "G0 G53 Z0|?coolant:M9|G0 X0 Y0{at00}|M5|{take}{T}|{M6}|{S} M3|G0{w}|{C}", false, true},           // 62
    {true, "G0 Z{SZ}|?coolant:M9|{take}{T}{M6}|{S} M3|G0{XY}|G0{w}|{C}|M62", false, true},                    // 63
    {true, "G0 Z{SZ}|?coolant:M9|{take}{T} D1|L06|{S} M3|G0{XY}|G0{w}|{C}", false, true},                     // 64
    {true, "G0 Z{SZ}|?coolant:M9|{take}{T}{M6}|{S} M3|G0 X0 Y0|G43 Z3 H{N}|{C}|G0{XY}|G0{w}", false, true},   // 65
    {true, "G0 Z{SZ}|{take}{T}{M6}|G0{S} M3|{dwell}|?rotaryOn:G0 X0 Y0{at00}|G0{XY}|G0{w}|{C}", false, true}, // 66
    {true, "G0 Z{SZ}|M5|{take}{T}{M6}|{S} M3|G0{XY}|G0{w}|{C}", false, true},                                 // 67
    {false, kFmaxCall, false, true},                                                                          // 68
    {false, "L Z{SZ} F MAX|{take}TOOL DEF {N} L0 R0|{T} {S}|L{M6}|L{W*} F MAX M03|{C}", false, true},         // 69
    {false, kDefinedCall, false, true},                                                                       // 70
    {false, kDefinedCall, false, true},                                                                       // 71
    {true, "M9|G00 Z{SZ}|S0|{take}{T}|{M6}|{C}|{S} M3|G00{w}", false, false},                                 // 72
    {false, "L Z{SZ} F MAX|{take}{T} {S}|?m6:L{M6}|L{XY} M13|L{W*} F MAX M03{coolantDone}", false, true},     // 73
    {false, kTracyl, false, false},                                                                           // 74
    {false, kTransmit, false, false},                                                                         // 75
    {true, "?coolant:M9|G0 Z{SZ}|{take}{T}{M6}|{S}|G0{w}|?coolant:{C}", false, false},                        // 76
    {true, "?coolant:M9|G0 Z{SZ}|{take}{T}{M6}|{measuring}|{S} M3|?rotaryActive:G0 Y{SY}|G0{XY}|G0{w}",
     false, false},                                                                                           // 77
    {true, kFeedApproach, false, false},                                                                      // 78
    {true, "G0 Z{SZ}|G67 P3|{take}{T} {S}|G68 P3|G0{w}", false, false},                                       // 79
    {true, "G0 Z{SZ}|M21|{take}{T}|M11|G0{w}", false, false},                                                 // 80
    {true, "?comp:G40{compOff}|G00 Z{-SZ}|{take}{toolName}|G97 {S}|{C}|G0{w}", false, false},                 // 81
    {true, "G00 Z{SZ}|{take}{S}|{C}|G0{w}", false, false},                                                    // 82
    {true, "?coolant:M9|G0 Z{SZ}|M20|{take}{T}|{M6}|D1|M46 M21|M3 {S}|G0{w}|?coolant:{C}", false, false},     // 83
    {true, "G0 G53 Z100.|M5|{take:coolantKept}{T}{M6}|{S} M3|?startSet:G90 G0 X{SX} Y{SY} Z{SZ}{atSXY}|"
           "?!startSet:G90 G0 Z{SZ}|G0{wXY}", false, false},                                                   // 84
    {true, "G0 Z{SZ}|?coolant:M9|{take}{T}{M6}|{S} M3|G0{XY}|G43 Z3 H{N}|{C}|G0{w}", false, true},            // 85
    {true, "G0 Z{SZ}|?coolant:M9|{take}{T}{M6}|{S} M3|{C}|G0{w}", false, true},                               // 86
    {true, "G00 Z{SZ}{Hold}|?coolant:M9|{take}{T}{M6}|{S}|{C}|G00{w}", false, true},                          // 87
    {true, "G0 Z{SZ}|M9|{take}{T}{M6}|{S} M3|M13|?rotaryOn:G0 X0 Y0|G0{XY}|G0{w}|{C}", false, true},          // 88
    {true, kCallG90, false, false},                                                                           // 89
    {true, "G0 Z{SZ}|M05|M09|G91 G28 Z0.|G49|{take}{T}{M6}|{S} M03|G0 G43 G90 Z{SZ} H{N}|G0{W*}", false, false}, // 90
    {true, kClampedAtEnd, false, true},                                                                       // 91
    {true, "G0 Z{SZ}|?coolant:M22|M05|G04 Q9|{take}{T}{M6}|{S} M03|G04 Q8|G0{w}|?coolant:{C}", false, false}, // 92
    {false, "{take}TOOL DEF {N} L0 R0|{T} {S}|L M06|{C}", true, true},                                        // 93
    {true, kCallM3, false, false},                                                                            // 94
    {true, kCallM3, false, false},                                                                            // 95
    {true, kCallM3, false, false},                                                                            // 96
    {true, kCallPositioned, false, false},                                                                    // 97
    {true, "?coolant:M9|G00 Z{SZ}|{take}{T}{M6}|G00 Z{SZ} {S}|{C}|G00{w}", false, true},                      // 98
    {false, kFmaxCallCoolantFirst, false, true},                                                              // 99
    {true, kCallM3, false, false},                                                                            // 100
};

}  // namespace

const TNcToolChangeRow& NcToolChangeRow(int dialect) {
  if (dialect < 0 || dialect > kNcGenericDialect) dialect = 0;
  assert(dialect >= 0 && dialect <= kNcGenericDialect);
  return kRows[dialect];
}
