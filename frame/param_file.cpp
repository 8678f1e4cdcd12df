// The parameter file: block layout, block copies, loading and the safe save,
// the defaults of the blocks, and the settings taken at start.
//
// Sections: layout and block copies - load and save - defaults -
// settings at start - small settings - text line parameters.
#include "frame/param_file.h"

#include <numbers>
#include <cstdio>
#include <cstring>
#include <new>
#include <span>
#include <vector>

#include "frame/checked_files.h"
#include "frame/defaults.h"
#include "frame/messages.h"
#include "frame/system_services.h"
#include "frame/whole_file_save.h"
#include "platform/files.h"
#include "frame/layer_colours.h"

// --- layout and block copies ---------------------------------------------------------

namespace {

constexpr int32_t SumOfBlockSizes() {
  int32_t sum = 0;
  for (uint16_t size : kParamBlockSizes) sum += size;
  return sum;
}
static_assert(kParamHeadSize + SumOfBlockSizes() == kParamImageSize, "the blocks fill the image");

// Size of a block, the head's for -1, 0 for any other number.
int32_t ParamBlockSize(int16_t block) {
  if (block == kParamHeadBlock) return kParamHeadSize;
  if (block < 0 || block >= kParamBlockCount) return 0;
  return kParamBlockSizes[block];
}

}  // namespace

TParameterImage* ParamImage = nullptr;

int32_t GetParamBlockOffset(int16_t block) {
  if (block < 0) return 0;
  if (block >= kParamBlockCount) return kParamImageSize;
  int32_t offset = kParamHeadSize;
  for (int b = 0; b < block; ++b) offset += kParamBlockSizes[b];
  return offset;
}

void GetParamBlock(int16_t block, void* destination, uint16_t count) {
  const int32_t size = ParamBlockSize(block);
  if (ParamImage == nullptr || size == 0 || destination == nullptr) return;
  const int32_t n = count < size ? count : size;
  std::memcpy(destination, ParamImage->bytes + GetParamBlockOffset(block), static_cast<size_t>(n));
}

void PutParamBlock(int16_t block, const void* source, uint16_t count) {
  const int32_t size = ParamBlockSize(block);
  if (ParamImage == nullptr || size == 0 || source == nullptr) return;
  const int32_t n = count < size ? count : size;
  std::memcpy(ParamImage->bytes + GetParamBlockOffset(block), source, static_cast<size_t>(n));
}

// --- load and save ------------------------------------------------------------------------

namespace {

bool IsOpen(const TFileRec& f) {
  return f.state == plat::kFileInput || f.state == plat::kFileOutput || f.state == plat::kFileInOut;
}

// Runs one checked step and tells whether it succeeded. A failure leaves its
// code in ErrorCode; a success leaves ErrorCode as it was.
template <typename TStep>
bool Succeeds(TStep step) {
  const TErrorCode before = ErrorCode;
  ErrorCode = 0;
  step();
  if (ErrorCode != 0) return false;
  ErrorCode = before;
  return true;
}

bool AllocParamImage() {
  if (ParamImage == nullptr) ParamImage = new (std::nothrow) TParameterImage;
  if (ParamImage == nullptr) return false;
  std::memset(ParamImage->bytes, 0, sizeof ParamImage->bytes);
  return true;
}

// Reads the whole file name into buffer (kParamImageSize bytes); true when
// every byte arrived.
bool ReadWholeParamFile(const char* name, uint8_t* buffer) {
  TFileRec f;
  int32_t got = 0;
  if (!Succeeds([&] { AssignFileChecked(f, name); })) return false;
  if (!Succeeds([&] { ResetFileChecked(f, 1, 0); }) || !IsOpen(f)) return false;
  Succeeds([&] { got = ReadBlockLongChecked(f, buffer, kParamImageSize); });
  Succeeds([&] { CloseFileChecked(f); });
  return got == kParamImageSize;
}

// Writes the image to the backup, the temporary of a whole-file save of
// "TORV.PAR"; true when every byte is on the disk and the backup closed.
bool WriteWholeParamFile(TWholeFileSave& save) {
  if (!BeginWholeFileSave(save, kParamFileName, kParamBackupName)) return false;
  PutWholeFileBytes(save, ParamImage->bytes, kParamImageSize);
  return CloseWholeFileSave(save, true);
}

// The size in bytes of the parameter file, -1 when there is none.
int32_t FindParamFileSize() {
  plat::TSearchRec rec;
  const bool found = plat::FindFirst(kParamFileName, plat::kAttrArchive, rec) == 0;
  plat::FindClose(rec);
  if (!found) return -1;
  TFileRec f;
  int32_t size = 0;
  if (!Succeeds([&] { AssignFileChecked(f, kParamFileName); })) return 0;
  if (!Succeeds([&] { ResetFileChecked(f, 1, 0); }) || !IsOpen(f)) return 0;
  Succeeds([&] { size = GetFileSizeChecked(f); });
  Succeeds([&] { CloseFileChecked(f); });
  return size;
}

// The two lines of the failed save, and its cause where it can be told in words.
void ShowParamSaveFailure(const TWholeFileSave& save) {
  std::string text = GetMessageText(kMsgParamSaveFailed1, -39) + "\r\n" + GetMessageText(kMsgParamSaveFailed2, -39);
  const std::string cause = DescribeSaveCause(save);
  if (!cause.empty()) text += "\r\n" + cause;
  ShowTitledMessage(text);
}

}  // namespace

bool OpenParamImage(uint8_t flag) {
  if (flag == 0) {
    if (ParamImage == nullptr) return false;
    const bool saved = SaveParamFileSafely();
    delete ParamImage;
    ParamImage = nullptr;
    return saved;
  }
  if (!AllocParamImage()) return false;
  return ReadWholeParamFile(kParamFileName, ParamImage->bytes);
}

void LoadParamFile() {
  const int32_t size = FindParamFileSize();
  if (size == kParamImageSize && OpenParamImage(1)) {
    ApplyParamSettings();
    return;
  }
  // Missing, of the wrong size or unreadable: a file with content is kept
  // aside, so that the user's settings survive, and the defaults are stored.
  if (size > 0) Succeeds([] { MoveFileChecked(kParamFileName, kParamBadName); });
  if (AllocParamImage()) {
    FillParamDefaults();
    SaveParamFileSafely();
  }
  ApplyParamSettings();
}

bool SaveParamFileSafely() {
  if (ParamImage == nullptr) return false;
  TWholeFileSave save;
  std::vector<uint8_t> readBack;
  bool equal = false;
  for (int attempt = 0; attempt < 3 && !equal; ++attempt) {
    CheckIoResult();
    if (!WriteWholeParamFile(save)) continue;
    readBack.assign(kParamImageSize, 0);
    equal = ReadWholeParamFile(kParamBackupName, readBack.data()) &&
            std::memcmp(readBack.data(), ParamImage->bytes, kParamImageSize) == 0;
    if (!equal) AbandonWholeFileSave(save, kSaveStepCheck, 0);  // a broken copy; the old file stays
  }
  if (!equal) {
    ShowParamSaveFailure(save);
    return false;
  }
  // The previous settings are kept as a copy "TORVAlt.PAR"; "TORV.PAR" itself
  // is replaced by the checked backup in one rename, so that there is never
  // a moment without a whole "TORV.PAR". An empty "TORV.PAR" holds nothing
  // to keep. Without room for the copy the save stops: the old file stays.
  if (plat::FileSizeBytes(kParamFileName) > 0) {
    if (const int result = plat::CopyFileByName(kParamFileName, kParamPreviousName)) {
      AbandonWholeFileSave(save, kSaveStepReplace, result);
      ShowParamSaveFailure(save);
      return false;
    }
  }
  if (!CommitWholeFileSave(save)) {
    ShowParamSaveFailure(save);
    return false;
  }
  return true;
}

// --- defaults -----------------------------------------------------------------------------

void (*WriteNcSettingsDefaultsHook)() = [] {};

namespace {

// A block being built: zeros, then the fields put at their offsets.
struct TBlockBuilder {
  int16_t block;
  std::vector<uint8_t> bytes;
  explicit TBlockBuilder(int16_t b) : block(b), bytes(static_cast<size_t>(ParamBlockSize(b)), 0) {}
  void Byte(int offset, uint8_t v) { Raw(offset, &v, 1); }
  void Int16(int offset, int16_t v) { Raw(offset, &v, 2); }
  void Int32(int offset, int32_t v) { Raw(offset, &v, 4); }
  void Float(int offset, float v) { Raw(offset, &v, 4); }
  // A length-prefixed string of at most maxLen characters.
  void String(int offset, const std::string& s, int maxLen) {
    const size_t n = s.size() < static_cast<size_t>(maxLen) ? s.size() : static_cast<size_t>(maxLen);
    Byte(offset, static_cast<uint8_t>(n));
    Raw(offset + 1, s.data(), n);
  }
  void Raw(int offset, const void* p, size_t n) {
    if (offset < 0 || static_cast<size_t>(offset) + n > bytes.size()) return;  // never past the block
    std::memcpy(bytes.data() + offset, p, n);
  }
  void Rows(std::span<const TDefaultRow> rows) { PutDefaultRows(bytes.data(), bytes.size(), rows); }
  void Put() const { PutParamBlock(block, bytes.data(), static_cast<uint16_t>(bytes.size())); }
};

// Block 0; bytes not listed are zeros.
constexpr TDefaultRow kGeneralDefaults[] = {
    DefaultFloat(0, 0.0f),
    DefaultFloat(4, 1.0f),
    DefaultInt16(8, 3),
    DefaultFloat(10, 0.5f),
    DefaultFloat(14, 1.0f),
    DefaultByte(18, 2),
    DefaultFloat(19, 0.1f),
    DefaultFloat(23, 0.1f),
    DefaultFloat(27, 0.01f),
    DefaultByte(31, 5),
    DefaultInt32(49, 0),
    DefaultInt32(53, 0),
    DefaultByte(57, 2),
    DefaultInt32(58, 0),
    DefaultFloat(62, 1.0f),
    DefaultInt16(66, 2),
    DefaultFloat(68, 30.0f),
    DefaultFloat(72, 90.0f),
    DefaultFloat(76, 2.0f),
    DefaultInt16(80, 3),
    DefaultFloat(82, 1.0f),
    DefaultFloat(86, 0.1f),
    DefaultFloat(90, 0.001f),
    DefaultByte(94, 'N'),
    DefaultByte(95, 'J'),
    DefaultInt32(96, 16000),
    DefaultByte(100, 8),
    DefaultByte(101, 12),
    DefaultByte(102, 0),
    DefaultByte(103, 2),
    DefaultByte(104, 1),
    DefaultByte(105, 'J'),
    DefaultFloat(106, 0.01f),
    DefaultInt16(110, 800),
    DefaultFloat(112, 0.5f),
    DefaultByte(116, 1),
    DefaultFloat(125, 1.0f),
    DefaultFloat(129, 0.2f),
    DefaultInt16(134, 1),
    DefaultInt16(136, 1),
    DefaultByte(138, 2),
    DefaultFloat(139, 10.0f),
    DefaultFloat(143, 10.0f),
    DefaultByte(147, 2),
    DefaultByte(148, 2),
};

void FillGeneralDefaults() {  // block 0
  TBlockBuilder b(0);
  b.Rows(kGeneralDefaults);
  b.Int16(149, VariantNumber == 12 ? 5 : 4);
  b.Put();
}

// Block 3; bytes not listed are zeros.
constexpr TDefaultRow kScreenDefaults[] = {
    DefaultByte(8, 26),
    DefaultByte(9, 10),
    DefaultInt16(11, 5),
    DefaultByte(13, 2),
    DefaultFloat(15, 0.0f),  // layout area (0, 0) - (100, 100); corner type bytes stay 0
    DefaultFloat(19, 0.0f),
    DefaultFloat(24, 100.0f),
    DefaultFloat(28, 100.0f),
    DefaultFloat(33, 10.0f),  // margins
    DefaultFloat(37, 11.0f),
    DefaultFloat(42, 10.0f),
    DefaultFloat(46, 9.0f),
    DefaultInt16(50, 1006),
    DefaultByte(52, 2),
    DefaultInt16(58, -1),
    DefaultByte(60, 32),
    DefaultByte(62, 1),
    DefaultByte(64, 'J'),
    DefaultByte(65, 'N'),
    DefaultByte(66, 'N'),
    DefaultByte(67, 'N'),
    DefaultByte(72, 'J'),
    DefaultInt16(73, 1),
    DefaultInt16(75, 1024),
    DefaultInt16(77, 768),
    DefaultInt16(79, 50),
    DefaultByte(82, 1),
    DefaultByte(83, 1),
    DefaultByte(84, 1),
    DefaultByte(85, 1),
    DefaultByte(87, 0),  // language number: the German set
    DefaultByte(88, 1),
    DefaultInt16(89, 15),
    DefaultByte(91, 1),
    DefaultByte(92, 'L'),
    DefaultFloat(93, 10.0f),
    DefaultFloat(97, 10.0f),
    DefaultInt16(101, 10),
    DefaultByte(103, 1),
    DefaultInt16(104, 1),
    DefaultByte(106, 2),
    DefaultInt16(107, 1),
    DefaultInt16(117, 2),
};

void FillScreenDefaults() {  // block 3
  TBlockBuilder b(3);
  b.Rows(kScreenDefaults);
  b.Byte(63, VariantNumber == 18 ? 1 : 2);
  const int v = VariantNumber;
  b.Byte(86, (v == 7 || v == 18 || v == 20 || v == 21 || v == 24 || v == 25) ? 0 : 1);
  b.Put();
}

constexpr TDefaultRow kFactorDefaults[] = {Repeated(DefaultFloat(0, 1.0f), 3, 4)};  // block 6

void FillCompensationDefaults() {  // block 7
  uint8_t record[kCompensationSettingsSize];
  SetCompensationDefaults(record);
  PutParamBlock(7, record, kCompensationSettingsSize);
}

// Block 8; bytes not listed are zeros.
constexpr TDefaultRow kRasterDefaults[] = {
    DefaultInt32(0, 1),
    DefaultInt32(4, 1),
    DefaultInt32(8, 300),
    DefaultByte(12, 1),
    DefaultByte(13, 0),
    DefaultByte(14, 'N'),
    DefaultInt32(15, 100),
    DefaultInt32(19, 6),
    DefaultInt32(23, 6),
    DefaultInt32(27, 6),
};

void FillStringBlock(int16_t block, const std::string& s) {
  TBlockBuilder b(block);
  b.String(0, s, 255);
  b.Put();
}

void FillFolderDefaults() {  // blocks 9-13, 26, 20 and the empty strings
  const std::string folder = plat::CurrentFolder();
  for (int16_t block : {9, 10, 11, 12, 13, 26, 20}) FillStringBlock(block, folder);
  for (int16_t block : {39, 49, 50, 51, 61, 67}) FillStringBlock(block, "");
}

void FillToolTableDefaults() {  // block 15
  constexpr int kTools = 200;
  static_assert(kTools * sizeof(TToolRecord) == 28000);
  std::vector<TToolRecord> table(kTools);
  std::memset(table.data(), 0, kTools * sizeof(TToolRecord));
  for (int i = 0; i < kTools; ++i) SetToolRecordDefaults(table[i], MapLayerToColorIndex(i));
  PutParamBlock(15, table.data(), static_cast<uint16_t>(kTools * sizeof(TToolRecord)));
}

// Blocks 1 and 44: 110 unused guide lines.
constexpr TDefaultRow kGuideLineDefaults[] = {Repeated(DefaultFloat(0, -10000.0f), 110, 4)};

// Block 17: ten rows of 3 bytes from 16, the first with word 0, the others -1.
constexpr TDefaultRow kMethodDefaults[] = {
    DefaultInt16(16, 0),
    Repeated(DefaultInt16(19, -1), 9, 3),
    Repeated(DefaultByte(18, '3'), 10, 3),
    DefaultByte(46, 'Z'),
    DefaultByte(47, 'S'),
    DefaultByte(48, 'E'),
};

void FillLayerChoiceDefaults() {  // block 19
  TBlockBuilder b(19);
  for (int layer = 0; layer <= HighestLayer && layer <= kMaxLayerNumber; ++layer) b.Byte(layer, 1);
  b.Put();
}

void FillTextParamDefaultsBlock() {  // block 38
  ResetTextParamBlock();
}

// Block 24 after the rectangle of bytes 0-15.
constexpr TDefaultRow kHatchDefaults[] = {
    DefaultFloat(16, 1.0f),
    DefaultFloat(20, 0.5f),
    DefaultFloat(24, 0.0f),
    DefaultByte(28, 1),
    DefaultByte(32, 'J'),
    DefaultByte(33, 4),
};

void FillHatchDefaults() {  // block 24, from the layout area
  TBlockBuilder b(24);
  b.Float(0, LayoutArea.minCorner.x);
  b.Float(4, LayoutArea.maxCorner.x);
  b.Float(8, LayoutArea.maxCorner.y);
  b.Float(12, LayoutArea.minCorner.y);
  b.Rows(kHatchDefaults);
  b.Put();
}

constexpr TDefaultRow kBlock29Defaults[] = {
    Repeated(DefaultByte(0, 'N'), 3, 1),
    Repeated(DefaultFloat(3, 100.0f), 4, 4),
};

// Block 31.
constexpr TDefaultRow kCircularCopyDefaults[] = {
    DefaultInt16(0, 4),
    DefaultFloat(2, 360.0f),
    DefaultByte(6, 'N'),
};

void FillEditorPathDefaults() {  // block 34
  std::string folder = GetWindowsFolder();
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  const std::string editor = folder + "NOTEPAD.EXE";
  FillStringBlock(34, plat::FileExists(editor) ? editor : "");
}

// Block 43: eleven passes, their words, letters and angles.
constexpr TDefaultRow kPassTableDefaults[] = {
    Repeated(DefaultInt16(0, 1), 11, 2),
    Repeated(DefaultByte(22, 'L'), 11, 1),
    Repeated(DefaultFloat(33, 45.0f), 11, 4),
};

constexpr TDefaultRow kBlock47Defaults[] = {Repeated(DefaultByte(0, 1), 11, 1)};

// Block 58.
constexpr TDefaultRow kNewReliefDefaults[] = {
    DefaultFloat(0, 10.0f),
    DefaultByte(4, 1),
    DefaultByte(5, 1),
    DefaultByte(6, 3),
    DefaultByte(7, 3),
};

// Block 65: ten names of 47 bytes.
constexpr TDefaultRow kBlock65Defaults[] = {Repeated(DefaultString(0, "leer", 46), 10, 47)};

constexpr TDefaultRow kBlock66Defaults[] = {
    Repeated(DefaultFloat(0, 1.0f), 4, 4),
    DefaultByte(16, 4),
    DefaultByte(17, 1),
};

// Block 69.
constexpr TDefaultRow kPathOutputDefaults[] = {
    DefaultByte(0, 1),
};

// Block 71.
constexpr TDefaultRow kExportLiftDefaults[] = {
    DefaultFloat(1, 1.0f),
    DefaultByte(5, 1),
};

// Block 77 after the folder of bytes 0-255.
constexpr TDefaultRow kBlock77Defaults[] = {
    DefaultInt16(256, 50),
    DefaultInt16(258, 80),
    DefaultInt16(260, 280),
    DefaultInt16(262, 1579),
    DefaultInt16(264, 1119),
    DefaultString(266, "GIF", 3),
    DefaultInt16(270, 90),
};

void FillBlock77Defaults() {
  TBlockBuilder b(77);
  b.String(0, plat::CurrentFolder(), 255);
  b.Rows(kBlock77Defaults);
  b.Put();
}

// The blocks built from their rows alone, on zeros; a block without rows
// stays all zeros.
struct TBlockDefaults {
  int16_t block;
  std::span<const TDefaultRow> rows;
};

constexpr TBlockDefaults kRowBlockDefaults[] = {
    {1, kGuideLineDefaults},
    {6, kFactorDefaults},
    {8, kRasterDefaults},
    {17, kMethodDefaults},
    {29, kBlock29Defaults},
    {31, kCircularCopyDefaults},
    {43, kPassTableDefaults},
    {44, kGuideLineDefaults},
    {47, kBlock47Defaults},
    {58, kNewReliefDefaults},
    {65, kBlock65Defaults},
    {66, kBlock66Defaults},
    {69, kPathOutputDefaults},
    {71, kExportLiftDefaults},
    {37, {}}, {40, {}}, {41, {}}, {46, {}}, {56, {}}, {64, {}}, {72, {}},
};

void FillRowBlockDefaults() {
  for (const TBlockDefaults& entry : kRowBlockDefaults) {
    TBlockBuilder b(entry.block);
    b.Rows(entry.rows);
    b.Put();
  }
}

// The records of blocks 2, 4, 5, 14, 16, 18, 21, 22, 23, 25, 27, 28, 30, 32,
// 33, 35, 36, 42, 45, 48, 52-55, 57, 59, 60, 62, 63, 68, 70 and 73-76 belong
// to their modules, which own their layout and defaults; they are zeros
// here. Blocks 37, 40, 41, 46, 56, 64 and 72 are zeros by definition.

}  // namespace

void WriteParamHead() {
  TParameterHead head;
  std::memset(&head, 0, sizeof head);
  head.word = 1;
  head.text[0] = 8;
  std::memset(head.text + 1, ' ', 8);
  PutParamBlock(kParamHeadBlock, &head, sizeof head);
}

void FillParamDefaults() {
  if (ParamImage == nullptr) return;
  std::memset(ParamImage->bytes, 0, sizeof ParamImage->bytes);
  LayoutArea = TExtentsPair{{0, 0.0f, 0.0f}, {0, 100.0f, 100.0f}};
  std::memset(&LayoutDetails, 0, sizeof LayoutDetails);
  WriteParamHead();
  FillGeneralDefaults();
  FillScreenDefaults();
  FillCompensationDefaults();
  FillFolderDefaults();
  FillToolTableDefaults();
  FillLayerChoiceDefaults();
  FillTextParamDefaultsBlock();
  FillHatchDefaults();
  FillEditorPathDefaults();
  FillBlock77Defaults();
  FillRowBlockDefaults();
  WriteNcSettingsDefaultsHook();
}

// --- settings at start ---------------------------------------------------------------------

int32_t FastDrawLimit = 0;
uint8_t GuideSnapOn = 0;
float TrackGridX = 0.0f;
float TrackGridY = 0.0f;
uint8_t GridSnapOn = 0;
uint16_t ArcResolutionWord = 0;
uint8_t ArcResolution = 0;
float ArcPointsPerRadian = 0.0f;
float ArcStepAngle = 0.0f;
uint8_t DisplayFlags = 0;
int16_t BackgroundDisplayWord = 0;
uint8_t SignalLevel = 0;
TExtentsPair LayoutArea = {};
TExtentsPair LayoutDetails = {};
float CursorCircleRadius = 0.0f;
uint16_t SnapRadius = 0;
int16_t SnapLayerSelector = 0;
uint8_t MenuBarStyle = 0;
uint8_t ReliefZeroFlag = 0;
uint8_t CheckToolRecords = 0;
uint8_t Check3DPoints = 0;
uint8_t HandlesSwitch = 0;
uint8_t PointDisplayOn = 0;
uint8_t AnimationsOn = 0;

float ArcPointsPerRadianOf(int n) {
  double stepDegrees = 15.0;
  switch (n) {
    case 3: stepDegrees = 45.0; break;
    case 4: stepDegrees = 40.0; break;
    case 5: stepDegrees = 35.0; break;
    case 6: stepDegrees = 30.0; break;
    case 7: stepDegrees = 22.0; break;
    default: break;
  }
  return static_cast<float>(1.0 / (stepDegrees * std::numbers::pi / 180.0));
}

float ArcStepAngleOf(int n) {
  struct TRange { int from, to; double k; };
  static const TRange kRanges[] = {
      {3, 4, 0.1},        {5, 6, 1.0 / 9},    {7, 8, 1.0 / 8},    {9, 9, 1.0 / 7},   {10, 10, 2.0 / 13},
      {11, 11, 1.0 / 6},  {12, 12, 0.2},      {13, 14, 2.0 / 9},  {15, 15, 0.25},    {16, 16, 2.0 / 7},
      {17, 17, 1.0 / 3},  {18, 19, 0.4},      {20, 24, 0.5},      {25, 29, 2.0 / 3}, {30, 39, 0.8},
      {40, 49, 1.0},      {50, 59, 10.0 / 9}, {60, 69, 1.25},     {70, 80, 10.0 / 7},
  };
  for (const TRange& r : kRanges)
    if (n >= r.from && n <= r.to) return static_cast<float>(180.0 / std::numbers::pi * r.k);
  return 80.0f;
}

void ApplyParamSettings() {
  if (ParamImage == nullptr) return;
  const uint8_t* block0 = ParamImage->bytes + GetParamBlockOffset(0);
  const uint8_t* block1 = ParamImage->bytes + GetParamBlockOffset(1);
  const uint8_t* block3 = ParamImage->bytes + GetParamBlockOffset(3);
  auto i16 = [](const uint8_t* p) { int16_t v; std::memcpy(&v, p, 2); return v; };
  auto i32 = [](const uint8_t* p) { int32_t v; std::memcpy(&v, p, 4); return v; };
  auto f32 = [](const uint8_t* p) { float v; std::memcpy(&v, p, 4); return v; };

  FastDrawLimit = i32(block0 + 96);
  GuideSnapOn = (block1[440] != 0 && block1[441] != 0) ? 1 : 0;

  TrackGridX = f32(block3 + 0);
  TrackGridY = f32(block3 + 4);
  GridSnapOn = 0;
  ArcResolutionWord = block3[8];
  ArcResolution = block3[9];
  ArcPointsPerRadian = ArcPointsPerRadianOf(ArcResolution);
  ArcStepAngle = ArcStepAngleOf(ArcResolution);
  DisplayFlags = block3[10] & static_cast<uint8_t>(~0x30);
  BackgroundDisplayWord = i16(block3 + 11);
  SignalLevel = block3[13];
  std::memcpy(&LayoutArea, block3 + 14, sizeof LayoutArea);
  std::memcpy(&LayoutDetails, block3 + 32, sizeof LayoutDetails);
  CursorCircleRadius = f32(block3 + 53);
  SnapRadius = block3[57];
  SnapLayerSelector = i16(block3 + 58);
  // The number of layers; the highest layer number stays within 0..50.
  const int layers = block3[60];
  HighestLayer = static_cast<uint8_t>(layers < 1 ? 0 : (layers > kMaxLayerNumber + 1 ? kMaxLayerNumber : layers - 1));
  MenuBarStyle = block3[63];
  ReliefZeroFlag = block3[81];
  CheckToolRecords = block3[82];
  Check3DPoints = block3[83];
  HandlesSwitch = block3[84];
  const int16_t current = i16(block3 + 89);
  CurrentLayer = static_cast<uint8_t>(current < 0 ? 0 : (current > HighestLayer ? HighestLayer : current));
  PointDisplayOn = block3[103];
  AnimationsOn = block3[106];

  LoadAngleInputSetting();  // block 14
}

// --- small settings --------------------------------------------------------------------------

uint8_t GetPathOutputMode() {
  uint8_t mode = 0;
  GetParamBlock(69, &mode, 1);
  return mode;
}

void SetPathOutputMode(uint8_t value) { PutParamBlock(69, &value, 1); }

int16_t GetPathDrawColor() { return PaperColor == 274 ? 15 : 8; }

std::string FormatThousandths(float value) {
  char text[64];
  std::snprintf(text, sizeof text, "%4.3f", static_cast<double>(value) / 1000.0);
  return std::string(" ") + text;
}

// --- text line parameters ----------------------------------------------------------------------

void SetTextParamDefaults(TTextParams& params) {
  params.x = 0.0f;
  params.y = 0.0f;
  std::memset(params.fontName, 0, sizeof params.fontName);
  params.fontName[0] = 12;
  std::memcpy(params.fontName + 1, "G1500010.HZE", 12);
  params.capitals = 'K';
  params.height = 10.0f;
  params.kind = 'V';
  params.widthFactor = 1.0f;
  params.textWidth = 1.0f;
  params.slant = 0.0f;
  params.spacing = 2.5f;
  params.alignment = 'Z';
  params.radius = 0.0f;
  params.angle = 0.0f;
  params.direction = 'P';
  params.lineSpacing = 15.0f;
  params.layer = 0;
}

void ResetTextParamBlock() {
  TTextParams params;
  std::memset(&params, 0, sizeof params);
  SetTextParamDefaults(params);
  PutParamBlock(38, &params, sizeof params);
}
