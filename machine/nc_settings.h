// The NC settings: parameter block 14 of the parameter file, the settings of
// the DIN/ISO output with the caption and the code-word record of every
// controller dialect.
//
// TNcSettings, 6639 bytes, packed, little-endian (strings length-prefixed):
//   OFFSET SIZE DESCRIPTION
//        0    8 StartX, StartY         approach position at program start
//        8    4 RotaryDiameter         mm; |d| <= 0.001 means no rotary axis
//       12    8 EndX, EndY             park position at program end
//       20    4 SafeZ                  height of rapid moves
//       24    4 IselNcpFeed            m/min of the isel ncp hand-over
//       28    4 FdinZOffset            dialect 5: subtracted from Z
//       32    1 CoolantOn              1 coolant on at tool changes
//       33    2 CurrentDialect         last dialect chosen, -1 none
//       35    2 SisterToolOffset       added to a worn tool's number
//       37    2 BlockNumbering         mode 0-4
//       39    4 ProgramNumberSetting
//       43    1 ApproachBeforeRapid    dialect 55
//       44  256 LastNcFile             string[255]
//      300 5x256 program paths of the hand-over targets
//     1580    2 MazakToolFormat        dialect 32 tool word bits
//     1582    2 HandoverTarget         0..6
//     1584    2 Dialect55Count         1..999
//     1586    1 CoolantKind            1 M8, 2 M7, 3 M50
//     1587    1 ArcFormat              1 or 2
//     1588    2 Dialect55Mode          1 = centre records before contours
//     1590    2 ToolMeasuring          dialect 77
//     1592    1 ZeroOffsetG59          dialect 77
//     1593    1 ProgramEndCode         dialect 77: 1 M30, 2 M99
//     1594  256 a folder, string[255] (unused by the output)
//     1850    4 UserExtension          string[3], extension of dialect 0
//     1854   17 StartBlockText         string[16], dialect 0
//     1871   17 ProgramStartChar       string[16], dialect 0's last block
//     1888 101x22 DialectNames         string[21] each, blank padded
//     4110 101x25 DialectRecords       TNcDialectRecord each
//     6635    4 CycleFeed              m/min of the "G188 G79" block
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int16_t kNcSettingsBlock = 14;
constexpr int kNcDialectCount = 100;      // dialects 0..99 are offered
constexpr int kNcDialectSlots = 101;      // slot 100: the generic dialect
constexpr int kNcGenericDialect = 100;
constexpr int kNcCaptionLength = 21;

using TDinIsoDialect = uint8_t;  // 0..99, 100 generic

#pragma pack(push, 1)
struct TNcDialectRecord {
  uint8_t ToolChangeCode;   // 0: 1 M6, 2 M66, 3 none, 4 M00
  uint8_t RotaryLetter;     // 1: 1 A, 2 B, 3 C, 4 none
  uint8_t RotaryParallel;   // 2: the rotary axis replaces 1 X, 2 Y, 3 neither
  uint8_t SimpleForm;       // 3: reduced form, no rotary axis, no arc fitting
  uint8_t RadiusCompSide;   // 4: 1 none, 2 G41, 3 G42
  float Factor5;            // 5: not read
  float SignB;              // 9: factor of the B angle word
  float SignC;              // 13: factor of the C angle word
  float DwellTime;          // 17: seconds of the "G04 X" block, 0 none
  uint8_t CoolantM50;       // 21: 1 adds M50/M51
  uint8_t CoolantM52;       // 22: 1 adds M52/M53
  uint8_t CommentHeaderOn;  // 23: 1 yes, 2 no
  uint8_t MacroVariables;   // 24: 1 macro variables (dialect 37), 2 plain
};

struct TNcSettings {
  float StartX;
  float StartY;
  float RotaryDiameter;
  float EndX;
  float EndY;
  float SafeZ;
  float IselNcpFeed;
  float FdinZOffset;
  uint8_t CoolantOn;
  int16_t CurrentDialect;
  int16_t SisterToolOffset;
  int16_t BlockNumbering;
  int32_t ProgramNumberSetting;
  uint8_t ApproachBeforeRapid;
  uint8_t LastNcFile[256];
  uint8_t IselNcpProgramPath[256];
  uint8_t GPiloteProgramPath[256];
  uint8_t IselRemoteProgramPath[256];
  uint8_t WinPcNcProgramPath[256];
  uint8_t BeamiconProgramPath[256];
  int16_t MazakToolFormat;
  int16_t HandoverTarget;
  int16_t Dialect55Count;
  uint8_t CoolantKind;
  uint8_t ArcFormat;
  int16_t Dialect55Mode;
  int16_t ToolMeasuring;
  uint8_t ZeroOffsetG59;
  uint8_t ProgramEndCode;
  uint8_t SpareFolderPath[256];
  uint8_t UserExtension[4];
  uint8_t StartBlockText[17];
  uint8_t ProgramStartChar[17];
  uint8_t DialectNames[kNcDialectSlots][kNcCaptionLength + 1];
  TNcDialectRecord DialectRecords[kNcDialectSlots];
  float CycleFeed;
};
#pragma pack(pop)
static_assert(sizeof(TNcDialectRecord) == 25);
static_assert(sizeof(TNcSettings) == 6639);
static_assert(offsetof(TNcSettings, ApproachBeforeRapid) == 43);
static_assert(offsetof(TNcSettings, MazakToolFormat) == 1580);
static_assert(offsetof(TNcSettings, SpareFolderPath) == 1594);
static_assert(offsetof(TNcSettings, ProgramStartChar) == 1871);
static_assert(offsetof(TNcSettings, DialectNames) == 1888);
static_assert(offsetof(TNcSettings, DialectRecords) == 4110);
static_assert(offsetof(TNcSettings, CycleFeed) == 6635);

// Block 14 whole out of / into the parameter image.
void LoadNcSettings(TNcSettings& settings);
void StoreNcSettings(const TNcSettings& settings);

// The defaults of block 14: the folder paths take the first three characters
// of programFolder (its drive root).
void MakeNcSettingsDefaults(TNcSettings& settings, const std::string& programFolder);
// Writes the defaults into block 14 of the parameter image.
void WriteNcSettingsDefaults();

// The default caption of a dialect without its padding ("" outside 0..99).
std::string GetDefaultDialectCaption(int dialect);
// The stored caption of a dialect slot (clamped to 0..100), padding kept.
std::string GetDialectCaption(const TNcSettings& settings, int dialect);
// A start position of -10000 is switched off: nothing moves to it.
bool IsNcStartPositionSet(const TNcSettings& settings);
// A park position with both coordinates negative is switched off.
bool IsNcParkPositionSet(const TNcSettings& settings);
// The record used for a dialect code: codes above 100 use slot 100.
const TNcDialectRecord& GetDialectRecord(const TNcSettings& settings, int dialect);

// The default NC file extension of a dialect with its dot ("" for 12 and
// 62; dialect 0 the user extension; codes above 99 as dialect 0).
std::string GetNcFileExtension(int16_t dialect);
// "." and at most three characters of UserExtension of block 14.
std::string GetUserNcExtension();
// The same from a given settings record.
std::string GetUserNcExtensionOf(const TNcSettings& settings);

// Length-prefixed string fields.
std::string ReadNcString(const uint8_t* field, int maxLength);
void WriteNcString(uint8_t* field, int maxLength, const std::string& text);
