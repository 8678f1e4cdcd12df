// The radius compensation settings and the path dialog values behind them:
// parameter block 7.
//
// TCompensationSettings, 107 bytes, packed, little-endian (floats 4 bytes):
//   OFFSET SIZE DESCRIPTION (journal key)
//        0    4 rounding angle, degrees 5-180 (A2)
//        4    4 second rounding angle, degrees 5-180 (A3)
//        8    4 line stepover, percent 0-90 (ÜZ)
//       12    4 ring overlap, percent 0-90 (ÜO)
//       16    4 value, 1
//       20    1 side flag handed to the offset engine (GL)
//       21    1 point reduction mode 1-6 (PN)
//       22    1 self-intersection check before path generation (DC)
//       23    1 choice 1-3 (BL)
//       24    1 choice 1-3 (SI)
//       25    1 layer order flag: 0 collects path layer 10 last (AZ)
//       26    1 link the next contour whenever the link crosses nothing (AV)
//       27    1 flag, never set together with byte 28 (AN)
//       28    1 flag
//       29    1 flag, cleared when byte 28 is set
//       30    4 engraving line spacing
//       34    4 engraving dialog table index (int32)
//       38    4 engraving mode word (int32): bits 0-1 mode, bit 2 whole list
//       42    4 engraving width
//       46    6 three switches of the engraving dialog, each followed by its value
//       52    1 path layer display mode 0-2
//       53    1 path layer order: 0 ascending
//       54   16 path layers 0-15 shown and used
//       70    4 value, 0.5
//       74    1 flag
//       75    2 tool index of the special deep cutting (int16)
//       77    4 total cutting depth
//       81    4 cutting angle, degrees
//       85    4 depth per pass
//       89    2 number of passes (int16)
//       91    4 tip width
//       95    4 tip offset
//       99    4 plunge angle, degrees
//      103    1 clearing letter "Z", "Y", "C", "D" or "K"
//      104    1 1 clear at every pass, 2 only at the last
//      105    1 1 depth per pass set last, 2 pass count set last
//      106    1 direction letter "E" or "V"
// The defaults are those of SetCompensationDefaults (frame/defaults.h).
#pragma once

#include <cstdint>

#include "frame/defaults.h"

constexpr int16_t kCompensationBlock = 7;

#pragma pack(push, 1)
struct TCompensationSettings {
  float roundingAngle;        // 0
  float secondRoundingAngle;  // 4
  float lineStepover;         // 8
  float ringOverlap;          // 12
  float value16;              // 16
  uint8_t sideFlag;           // 20
  uint8_t reductionMode;      // 21
  uint8_t checkCrossings;     // 22
  uint8_t choiceBL;           // 23
  uint8_t choiceSI;           // 24
  uint8_t layerOrder;         // 25
  uint8_t linkAlways;         // 26
  uint8_t flagAN;             // 27
  uint8_t flag28;             // 28
  uint8_t flag29;             // 29
  float engravingSpacing;     // 30
  int32_t engravingIndex;     // 34
  int32_t engravingMode;      // 38
  float engravingWidth;       // 42
  uint8_t engravingSwitches[6];  // 46: switch, value, switch, value, switch, value
  uint8_t pathLayerDisplay;   // 52
  uint8_t pathLayerOrder;     // 53
  uint8_t pathLayerUsed[16];  // 54
  float value70;              // 70
  uint8_t flag74;             // 74
  int16_t deepCutTool;        // 75
  float deepCutDepth;         // 77
  float deepCutAngle;         // 81
  float deepCutPassDepth;     // 85
  int16_t deepCutPasses;      // 89
  float deepCutTipWidth;      // 91
  float deepCutTipOffset;     // 95
  float deepCutPlungeAngle;   // 99
  uint8_t deepCutClearing;    // 103
  uint8_t deepCutClearWhen;   // 104
  uint8_t deepCutSetLast;     // 105
  uint8_t deepCutDirection;   // 106
};
#pragma pack(pop)
static_assert(sizeof(TCompensationSettings) == kCompensationSettingsSize);

// The settings page: fourteen fields of block 7 in the generic input form
// (formFlags ORed with the field count 14; helpValue the form's placement).
// Flags 27 and 28 may not both stay set: the user is asked to clear 27 or
// to enter the values again; flag 29 is cleared when 28 is set (with a
// note). Unless cancelled the block is stored and its journal lines
// written; cancelled, block 7 and the journal stay as they were.
void EditCompensationSettings(uint8_t formFlags, int helpValue);
// Block 7 as a record.
void ReadCompensationSettings(TCompensationSettings& settings);
// The two journal lines of the stored settings:
//   9803 "AKor A2=25.000 A3=25.000 GL=0 ÜZ=30.000 ÜO=10.000"
//   9804 "AKor DC=1 AZ=1 AV=1 AN=0 PN=1 BL=2 SI=2"
void LogCompensationSettings();
