// The feed move and arc rows of the NC dialects.
#include "machine/nc_dialect_moves.h"

#include <cassert>

#include "machine/nc_settings.h"

namespace {

// Linear blocks.
constexpr const char* kLinearG1 = "?moved:G1{w}";
constexpr const char* kLinearG01 = "?moved:G01{w}";
constexpr const char* kLinearMoveAbs = "MOVEABS{w}";
constexpr const char* kLinearLin = "?moved:LIN{w}";
constexpr const char* kLinearLinBraces = "?moved:LIN {lb}{w}{rb}";
constexpr const char* kLinearPlainR = "L{w} R{fp}{mp}{sp}";  // HEIDENHAIN plain language with radius correction
constexpr const char* kLinearPlainF = "L{w}{fp}{mp}{sp}";
constexpr const char* kLinearPlainS = "L{w}{sp}";

// Arc codes.
constexpr TNcArcCodes kCodesG2{"G2", "G3"};
constexpr TNcArcCodes kCodesG02{"G02", "G03"};
constexpr TNcArcCodes kCodesCwAbs{"CWABS", "CCWABS"};
constexpr TNcArcCodes kCodesCir{"CIR", "CIL"};
constexpr TNcArcCodes kCodesCirc{"CIRC {", "CIRC {"};

constexpr TNcMovesRow kMovesRows[] = {
    // dialect, linear block, feed word, coolant, spindle change, spindle block, arc codes, arc form, centre words,
    // file names, traits
    {  0, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcEndFirst, kCentreIncD4, kNameAny, kMovesFormat1Absolute},
    {  1, kLinearG01, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG02, kArcCentreFirst, kCentreAbsN, kNameAny, kMovesCoarseArcs},
    {  2, kLinearG1, kFeedAppend, kCoolBlock, kSpindleBlock, "{S}", kCodesG2, kArcEndFirst, kCentreIncD4, kNameAny, 0},
    {  3, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD4, kNameAny, 0},
    {  4, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsN, kNameAny, kMovesCoarseArcs},
    {  5, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD4, kNameAny, 0},
    {  6, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD4, kNameAny, kMovesBothEndWords},
    {  7, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD4, kNameAny, 0},
    {  8, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD4, kNameAny, 0},
    {  9, kLinearMoveAbs, kFeedBlock, kCoolBlock, kSpindleBlock, "{S}", kCodesCwAbs, kArcCentreFirst, kCentreAbsN, kNameAny, kMovesCoarseArcs},
    { 10, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD4, kNameAny, 0},
    { 11, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcNegatedIK, kCentreOwn, kNameAny, 0},
    { 12, kLinearG1, kFeedToolCall, kCoolG0Block, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD4, kNameAny, kMovesBothEndWords},
    { 13, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD4, kNameAny, 0},
    { 14, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcSplitWords, kCentreOwn, kNameDigits, kMovesCoarseArcs},
    { 15, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD4, kNameAny, 0},
    { 16, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD4, kNameAny, 0},
    { 17, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD4, kNameAny, 0},
    { 18, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcEndFirst, kCentreIncD4, kNameAny, 0},
    { 19, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD4, kNameAny, 0},
    { 20, kLinearG1, kFeedAppend, kCoolAppend, kSpindleBlock, "{S} M03", kCodesG2, kArcCentreFirst, kCentreIncD3, kNameAny, 0},
    { 21, kLinearG1, kFeedAppend, kCoolNone, kSpindleAppendM3, "", kCodesG2, kArcEndFirst, kCentreIncD4, kNameAny, 0},
    { 22, kLinearPlainR, kFeedPiece, kCoolPiece, kSpindlePiece, "", kCodesG2, kArcCircleCentre, kCentreOwn, kNameAny, kMovesRWords | kMovesCoarseArcs},
    { 23, kLinearG1, kFeedAppend, kCoolNone, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD4, kNameAny, 0},
    { 24, kLinearG1, kFeedAppend, kCoolBlockIfOn, kSpindleAppend, "", kCodesG2, kArcEndFirst, kCentreIncN, kNameAny, kMovesCoarseArcs},
    { 25, kLinearG01, kFeedAppend, kCoolDrop, kSpindleBlock, "G97 {S}", kCodesG02, kArcEndFirst, kCentreAbsN, kNameAny, kMovesHeadChange},
    { 26, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcEndFirst, kCentreIncD4, kNameAny, 0},
    { 27, kLinearG1, kFeedAppend, kCoolDrop, kSpindleAppend, "", kCodesG2, kArcEndFirst, kCentreIncN, kNameAny, 0},
    { 28, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcEndFirst, kCentreIncN, kNameAny, 0},
    { 29, kLinearG1, kFeedAppend, kCoolDrop, kSpindleAppend, "", kCodesG2, kArcEndFirst, kCentreAbsN, kNameAny, 0},
    { 30, kLinearG01, kFeedAppend, kCoolDrop, kSpindleAppend, "", kCodesG02, kArcEndFirst, kCentreAbsN, kNameAny, 0},
    { 31, kLinearLin, kFeedBlock, kCoolDrop, kSpindleBlock, "{S}", kCodesCir, kArcCobalm, kCentreOwn, kNameAny, kMovesCircleMode},
    { 32, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcEndFirst, kCentreIncN, kNameDigits, 0},
    { 33, kLinearG01, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG02, kArcEndFirst, kCentreAbsN, kNameAny, 0},
    { 34, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcEndFirst, kCentreIncN, kNameAny, 0},
    { 35, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcEndFirst, kCentreIncN, kNameAny, 0},
    { 36, kLinearG01, kFeedAppend, kCoolAppend, kSpindleBlock, "{S}", kCodesG2, kArcEndFirst, kCentreIncN, kNameAny, 0},
    { 37, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcEndFirst, kCentreIncN, kNameAny, 0},
    { 38, kLinearG1, kFeedNone, kCoolNone, kSpindleNone, "", kCodesG2, kArcEndFirst, kCentreIncN, kNameAny, kMovesCoarseArcs},
    { 39, kLinearG1, kFeedAppend, kCoolAppend, kSpindleBlock, "{S} M03", kCodesG2, kArcCentreFirst, kCentreIncD3, kNameAny, kMovesAngleWords},
    { 40, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD4, kNameAny, 0},
    { 41, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcEndFirst, kCentreIncD4, kNameAny, kMovesFormat1Absolute},
    { 42, kLinearG01, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD3, kNameAny, kMovesCoarseArcs},
    { 43, kLinearG1, kFeedAppend, kCoolBlockIfOn, kSpindleAppend, "", kCodesG2, kArcEndFirst, kCentreIncN, kNameAny, 0},
    { 44, kLinearLinBraces, kFeedAppend, kCoolDrop, kSpindleAppend, "", kCodesCirc, kArcKuka, kCentreOwn, kNameAny, 0},
    { 45, kLinearG01, kFeedAppend, kCoolDrop, kSpindleAppend, "", kCodesG02, kArcEndFirst, kCentreAbsN, kNameAny, 0},
    { 46, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD3, kNameAny, kMovesCoarseArcs},
    { 47, kLinearPlainR, kFeedPiece, kCoolPiece, kSpindlePiece, "", kCodesG2, kArcCircleCentre, kCentreOwn, kNameAny, kMovesRWords | kMovesCoarseArcs},
    { 48, kLinearG1, kFeedAppend, kCoolNone, kSpindleAppend, "", kCodesG2, kArcEndFirst, kCentreIncD4, kNameAny, kMovesCoarseArcs},
    { 49, kLinearG1, kFeedAppend, kCoolNone, kSpindleAppend, "", kCodesG2, kArcEndFirst, kCentreIncN, kNameAny, kMovesCoarseArcs},
    { 50, kLinearG1, kFeedAppend, kCoolNone, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD3, kNameAny, 0},
    { 51, kLinearG01, kFeedAppend, kCoolAppend, kSpindleBlock, "{S}", kCodesG02, kArcEndFirst, kCentreIncN, kNameAny, 0},
    { 52, kLinearG01, kFeedAppend, kCoolAppend, kSpindleBlock, "{S}", kCodesG2, kArcEndFirst, kCentreIncN, kNameAny, 0},
    { 53, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD4, kNameAny, 0},
    { 54, kLinearPlainR, kFeedPiece, kCoolPiece, kSpindlePiece, "", kCodesG2, kArcCircleCentre, kCentreOwn, kNameAny, kMovesRWords | kMovesCoarseArcs},
    { 55, kLinearG1, kFeedAppend, kCoolAppend, kSpindleBlock, "{S} M03", kCodesG2, kArcCentreFirst, kCentreIncD3, kNameAny, kMovesCentreModeUnmarked},
    { 56, kLinearG1, kFeedAppend, kCoolBlockIfOn, kSpindleBlock, "{S} M03", kCodesG2, kArcEndFirst, kCentreIncN, kNameAny, 0},
    { 57, kLinearG1, kFeedAppend, kCoolAppend, kSpindleBlock, "{S} M03", kCodesG2, kArcCentreFirst, kCentreIncD3, kNameAny, 0},
    { 58, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcEndFirst, kCentreIncD4, kNameAny, kMovesFormat1Absolute},
    { 59, kLinearG1, kFeedAppend, kCoolAppend, kSpindleBlock, "G0 {S} M3", kCodesG2, kArcCentreFirst, kCentreIncD3, kNameAny, 0},
    { 60, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcEndFirst, kCentreIncN, kNameAny, 0},
    { 61, kLinearG1, kFeedAppend, kCoolAppend, kSpindleBlock, "{S} M3", kCodesG2, kArcEndFirst, kCentreIncN, kNameAny, 0},
    { 62, kLinearG1, kFeedAppend, kCoolAppend, kSpindleBlock, "{S} M3", kCodesG2, kArcEndFirst, kCentreIncD4, kNameONumber, 0},
    { 63, kLinearG1, kFeedAppend, kCoolAppend, kSpindleBlock, "{S} M3", kCodesG2, kArcCentreFirst, kCentreAbsD4, kNameAny, 0},
    { 64, kLinearG1, kFeedAppend, kCoolAppend, kSpindleBlock, "{S} M3", kCodesG2, kArcEndFirst, kCentreIncN, kNameAny, 0},
    { 65, kLinearG1, kFeedAppend, kCoolAppend, kSpindleBlock, "{S} M3", kCodesG2, kArcCentreFirst, kCentreIncD3, kNameAny, 0},
    { 66, kLinearG1, kFeedAppend, kCoolAppend, kSpindleBlock, "{S} M3", kCodesG2, kArcCentreFirst, kCentreIncD3, kNameAny, 0},
    { 67, kLinearG1, kFeedAppend, kCoolAppend, kSpindleBlock, "{S} M3", kCodesG2, kArcEndFirst, kCentreAbsD3, kNameAny, kMovesCoarseArcs},
    { 68, kLinearPlainS, kFeedAppend, kCoolAppend, kSpindlePiece, "", kCodesG2, kArcCircleCentre, kCentreOwn, kNameAny, kMovesCoarseArcs},
    { 69, kLinearPlainF, kFeedPiece, kCoolPiece, kSpindlePiece, "", kCodesG2, kArcCircleCentre, kCentreOwn, kNameAny, kMovesCoarseArcs},
    { 70, kLinearPlainF, kFeedPiece, kCoolPiece, kSpindlePiece, "", kCodesG2, kArcCircleCentre, kCentreOwn, kNameAny, kMovesCoarseArcs},
    { 71, kLinearPlainF, kFeedPiece, kCoolPiece, kSpindlePiece, "", kCodesG2, kArcCircleCentre, kCentreOwn, kNameAny, kMovesCoarseArcs},
    { 72, kLinearG01, kFeedAppend, kCoolAppend, kSpindleBlock, "{S} M3", kCodesG2, kArcEndFirst, kCentreIncN, kNameAny, 0},
    { 73, kLinearPlainF, kFeedPiece, kCoolPiece, kSpindlePiece, "", kCodesG2, kArcCircleCentre, kCentreOwn, kNameAny, 0},
    { 74, kLinearG1, kFeedAppend, kCoolNone, kSpindleAppend, "", kCodesG2, kArcSwappedAc, kCentreOwn, kNameAny, 0},
    { 75, kLinearG1, kFeedAppend, kCoolNone, kSpindleAppend, "", kCodesG2, kArcAc, kCentreOwn, kNameAny, 0},
    { 76, kLinearG1, kFeedAppend, kCoolNone, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreIncD4, kNameAny, 0},
    { 77, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD4, kNameAny, 0},
    { 78, kLinearG1, kFeedAppend, kCoolBlock, kSpindleBlock, "{S}", kCodesG2, kArcEndFirst, kCentreIncD4, kNameAny, 0},
    { 79, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD4, kNameAny, 0},
    { 80, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD4, kNameAny, kMovesInchCentres},
    { 81, kLinearG01, kFeedAppend, kCoolDrop, kSpindleBlock, "G97 {S}", kCodesG02, kArcEndFirst, kCentreAbsN, kNameAny, 0},
    { 82, kLinearG1, kFeedAppend, kCoolDrop, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreIncD3, kNameAny, 0},
    { 83, kLinearG1, kFeedAppend, kCoolAppend, kSpindleBlock, "M3 {S}", kCodesG2, kArcEndFirst, kCentreIncN, kNameAny, 0},
    { 84, kLinearG1, kFeedAppend, kCoolAppend, kSpindleBlock, "{S}", kCodesG2, kArcEndFirst, kCentreIncN, kNameAny, 0},
    { 85, kLinearG1, kFeedAppend, kCoolAppend, kSpindleBlock, "{S} M3", kCodesG2, kArcCentreFirst, kCentreIncD3, kNameAny, 0},
    { 86, kLinearG1, kFeedAppend, kCoolAppend, kSpindleBlock, "{S} M3", kCodesG2, kArcCentreFirst, kCentreIncD3, kNameAny, 0},
    { 87, kLinearG01, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreIncN, kNameAny, 0},
    { 88, kLinearG1, kFeedAppend, kCoolAppend, kSpindleBlock, "{S} M3", kCodesG2, kArcCentreFirst, kCentreIncD3, kNameAny, 0},
    { 89, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcEndFirst, kCentreIncN, kNameAny, 0},
    { 90, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcEndFirst, kCentreIncN, kNameAny, 0},
    { 91, kLinearG1, kFeedAppend, kCoolAppend, kSpindleBlock, "G0 {S} M3", kCodesG2, kArcCentreFirst, kCentreIncD3, kNameAny, 0},
    { 92, kLinearG1, kFeedAppend, kCoolNone, kSpindleAppend, "", kCodesG2, kArcEndFirst, kCentreAbsN, kNameAny, 0},
    { 93, kLinearPlainF, kFeedPiece, kCoolNone, kSpindlePiece, "", kCodesG2, kArcCircleCentre, kCentreOwn, kNameAny, kMovesCoarseArcs},
    { 94, kLinearG1, kFeedAppend, kCoolNone, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreIncD3, kNameAny, 0},
    { 95, kLinearG1, kFeedAppend, kCoolNone, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreIncD3, kNameAny, 0},
    { 96, kLinearG1, kFeedAppend, kCoolNone, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreIncD3, kNameAny, 0},
    { 97, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD3, kNameAny, 0},
    { 98, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreIncD3, kNameAny, 0},
    { 99, kLinearPlainS, kFeedAppend, kCoolAppend, kSpindlePiece, "", kCodesG2, kArcCircleCentre, kCentreOwn, kNameAny, kMovesCoarseArcs},
    {100, kLinearG1, kFeedAppend, kCoolAppend, kSpindleAppend, "", kCodesG2, kArcCentreFirst, kCentreAbsD4, kNameAny, 0},
};

static_assert(sizeof kMovesRows / sizeof kMovesRows[0] == kNcGenericDialect + 1);

constexpr bool RowsInDialectOrder() {
  for (int i = 0; i <= kNcGenericDialect; ++i)
    if (kMovesRows[i].Dialect != i) return false;
  return true;
}
static_assert(RowsInDialectOrder());

}  // namespace

const TNcMovesRow& NcMovesRow(int dialect) {
  if (dialect < 0 || dialect > kNcGenericDialect) dialect = kNcGenericDialect;
  assert(kMovesRows[dialect].Dialect == dialect);
  return kMovesRows[dialect];
}
