// The parameter file "TORV.PAR": every setting of the program in one
// fixed-size image of numbered blocks, held whole in memory while the
// program runs.
//
// File layout (62761 bytes, little-endian, no headers or checksums):
//   OFFSET SIZE  DESCRIPTION
//        0  151  head (block number -1), TParameterHead
//      151  ...  blocks 0-77 one after the other, each the packed record of
//                its owner (sizes in kParamBlockSizes); block b starts at
//                151 + the sizes of the blocks below b
//   TParameterHead:
//        0    2  word 1
//        2  140  reserved, zeros
//      142    9  length-prefixed text of 8 blanks
//
// Yes/no flags in blocks are the letters "J" and "N"; strings are
// length-prefixed (a length byte and up to 255 characters).
//
// Saving goes through a backup (frame/whole_file_save.h): the image is
// written to "TORVBak.PAR" and read back; only when it compares equal is the
// old "TORV.PAR" copied to "TORVAlt.PAR" and replaced by the backup in one
// rename. A file of the wrong size is kept as "TORVBad.PAR" and replaced by
// defaults.
#pragma once

#include <cstdint>
#include <string>

#include "frame/point_records.h"

// --- the image -------------------------------------------------------------------
constexpr int kParamBlockCount = 78;
constexpr int kParamHeadSize = 151;
constexpr int32_t kParamImageSize = 62761;
constexpr int16_t kParamHeadBlock = -1;

constexpr const char* kParamFileName = "TORV.PAR";
constexpr const char* kParamBackupName = "TORVBak.PAR";
constexpr const char* kParamPreviousName = "TORVAlt.PAR";
constexpr const char* kParamBadName = "TORVBad.PAR";

// Message numbers of the failed save: the settings could not be stored.
constexpr int16_t kMsgParamSaveFailed1 = 3129;
constexpr int16_t kMsgParamSaveFailed2 = 3130;

struct TParameterImage {
  uint8_t bytes[kParamImageSize];
};
static_assert(sizeof(TParameterImage) == 62761);

#pragma pack(push, 1)
struct TParameterHead {
  int16_t word;           // 1
  uint8_t reserved[140];  // zeros
  uint8_t text[9];        // length 8, eight blanks
};
#pragma pack(pop)
static_assert(sizeof(TParameterHead) == kParamHeadSize);

// Sizes of blocks 0-77.
inline constexpr uint16_t kParamBlockSizes[kParamBlockCount] = {
    153, 443, 818,  121, 177, 2857, 12,  107,  31,  256,  // 0-9
    256, 256, 256,  256, 6639, 28000, 60, 49,  217, 51,   // 10-19
    256, 560, 4075, 28,  34,  87,   256, 296,  287, 19,   // 20-29
    22,  7,   71,   206, 256, 57,   12,  4002, 160, 256,  // 30-39
    512, 512, 117,  81,  443, 420,  262, 11,   21,  256,  // 40-49
    256, 256, 517,  261, 10,  8,    204, 42,   8,   25,   // 50-59
    18,  256, 15,   17,  2560, 470, 26,  256,  162, 1,    // 60-69
    160, 6,   4,    256, 200, 1657, 18,  344,             // 70-77
};

// The image; nullptr before LoadParamFile and after OpenParamImage (0).
extern TParameterImage* ParamImage;

// Byte offset of a block: the head (-1) and every negative number 0, blocks
// 0-77 as laid out, 78 and above the total size.
int32_t GetParamBlockOffset(int16_t block);
// Copy count bytes of a block out of / into the image. The count is cut to
// the block's size, and nothing is copied for a number outside -1..77 or
// while no image exists.
void GetParamBlock(int16_t block, void* destination, uint16_t count);
void PutParamBlock(int16_t block, const void* source, uint16_t count);

// flag 1: allocate the image and read "TORV.PAR" into it (true when the
// whole file was read); flag 0: save it (SaveParamFileSafely) and free it.
bool OpenParamImage(uint8_t flag);
// Loads "TORV.PAR", or keeps a file of the wrong size aside and recreates it
// with defaults (stored at once); then applies the settings.
void LoadParamFile();
// Writes the image through the backup; after 3 failed tries messages 3129
// and 3130 are shown and "TORV.PAR" is left as it was. True when saved.
bool SaveParamFileSafely();
// The defaults of the head and of every block; the NC settings block last,
// through WriteNcSettingsDefaultsHook.
void FillParamDefaults();
// Writes the defaults of the NC settings block, which the machine module
// owns; set at program start (WriteNcSettingsDefaults). The default writes
// nothing and leaves the block zeros.
extern void (*WriteNcSettingsDefaultsHook)();
void WriteParamHead();

// --- settings taken into working values at start --------------------------------------
// Copies the settings of blocks 0, 1, 3 and 14 into the working values below
// and into those of their own modules: the highest layer (block 3 @60, the
// number of layers, kept within 0..50) and the current layer (block 3 @89)
// of the layer files, and the angle input scale (block 14).
void ApplyParamSettings();

extern int32_t FastDrawLimit;         // block 0 @96: largest coordinate drawn without clipping
extern uint8_t GuideSnapOn;           // block 1: bytes 440 and 441 both non-zero
extern float TrackGridX;              // block 3 @0, @4: grid of mouse tracking
extern float TrackGridY;
extern uint8_t GridSnapOn;            // off at start
extern uint16_t ArcResolutionWord;    // block 3 @8
extern uint8_t ArcResolution;         // block 3 @9: n
extern float ArcPointsPerRadian;      // derived from n
extern float ArcStepAngle;            // derived from n, degrees
extern uint8_t DisplayFlags;          // block 3 @10 without 16 (marking) and 32 (start points)
extern int16_t BackgroundDisplayWord; // block 3 @11
extern uint8_t SignalLevel;           // block 3 @13
extern TExtentsPair LayoutArea;       // block 3 @14
extern TExtentsPair LayoutDetails;    // block 3 @32: switch byte and margins
extern float CursorCircleRadius;      // block 3 @53, mm
extern uint16_t SnapRadius;           // block 3 @57, pixels
extern int16_t SnapLayerSelector;     // block 3 @58
extern uint8_t MenuBarStyle;          // block 3 @63
extern uint8_t ReliefZeroFlag;        // block 3 @81
extern uint8_t CheckToolRecords;      // block 3 @82
extern uint8_t Check3DPoints;         // block 3 @83
extern uint8_t HandlesSwitch;         // block 3 @84
extern uint8_t PointDisplayOn;        // block 3 @103
extern uint8_t AnimationsOn;          // block 3 @106

// The two values derived from the arc resolution n.
float ArcPointsPerRadianOf(int n);
float ArcStepAngleOf(int n);

// --- small settings ------------------------------------------------------------------------
// What follows a tool-path computation (block 69): below 2 the export menu,
// 2 sending directly.
uint8_t GetPathOutputMode();
void SetPathOutputMode(uint8_t value);
// 15 on black paper (paper colour 274), else 8.
int16_t GetPathDrawColor();
// " " and value / 1000 with 3 decimals in at least 4 characters.
std::string FormatThousandths(float value);

// --- text line parameters (block 38) -------------------------------------------------------
#pragma pack(push, 1)
struct TTextParams {
  float x;                 // 0
  float y;                 // 4
  uint8_t fontName[13];    // 8, string[12]
  uint8_t capitals;        // 21 'G' or 'K'
  float height;            // 22
  uint8_t kind;            // 26 'V', 'B' or 'T'
  float widthFactor;       // 27
  float textWidth;         // 31
  float slant;             // 35
  float spacing;           // 39
  uint8_t alignment;       // 43
  float radius;            // 44
  float angle;             // 48
  uint8_t direction;       // 52 'P' or 'N'
  float lineSpacing;       // 53
  uint8_t text[101];       // 57, string[100]
  uint16_t layer;          // 158
};
#pragma pack(pop)
static_assert(sizeof(TTextParams) == 160);

// The default parameters; the text is left as it is.
void SetTextParamDefaults(TTextParams& params);
// Block 38 becomes the defaults with an empty text.
void ResetTextParamBlock();
