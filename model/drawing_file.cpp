// Drawing files (".SLD"): writing, the recent drawings list and the text job head.
#include "model/drawing_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "frame/codepage.h"
#include "frame/checked_files.h"
#include "frame/data_slots.h"
#include "frame/defaults.h"
#include "frame/file_helpers.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/system_services.h"
#include "frame/whole_file_save.h"
#include "model/layer_files.h"
#include "model/property_exchange.h"
#include "model/property_store.h"
#include "model/record_stream.h"
#include "model/vector_store.h"
#include "model/vector_records.h"
#include "model/text_job.h"
#include "frame/progress_bar.h"
#include "frame/quiet_files.h"
#include "platform/files.h"

namespace {

constexpr uint32_t kSldBlockBytes = 65535;

// The output of one save, a byte stream into the save's temporary: every
// write goes through Put, a short write fails the save.
struct TSldWriter {
  TWholeFileSave save;
  TRecordFileWriter out;
};

void Put(TSldWriter& w, const void* bytes, int32_t count) { PutRecords(w.out, bytes, count); }
int32_t SldPosition(const TSldWriter& w) { return static_cast<int32_t>(w.out.put); }

void PutInt32At(uint8_t* head, int offset, int32_t value) { memcpy(head + offset, &value, 4); }

bool IsKeptSldType(uint8_t type) {
  switch (type) {
    case 1: case 5: case 6: case 7: case 9: case 10: case 11: case 12: case 17: case 18: case 27: case 131:
    case 132:
      return true;
    default:
      return type >= 150 && type <= 158;
  }
}

// The head from the current text job and the layout settings.
void FillSldHead(uint8_t (&head)[kDrawingHeadSize]) {
  LoadTextJobHead();
  memcpy(head, TextJobHead, kDrawingHeadSize);
  memcpy(head, &LayoutArea, 18);
  uint8_t* details = reinterpret_cast<uint8_t*>(&LayoutDetails);
  memcpy(head + 18, details + 1, 16);
  if (details[0] > 7) details[0] = 7;
  head[34] = details[0];
  head[kHeadVersion] = kDrawingFormatVersion;
}

// Text lines of "HS01.TMP" whose text is not empty; returns the count written.
int16_t WriteSldTextLines(TSldWriter& w, int16_t lines) {
  int16_t written = 0;
  if (lines <= 0 || !TestPlainFileExists(kTextJobFileName)) return 0;
  TFileRec f;
  AssignFileChecked(f, kTextJobFileName);
  ResetFileChecked(f, 1, 0);
  if (f.state != plat::kFileInput && f.state != plat::kFileInOut) return 0;
  const int32_t size = GetFileSizeChecked(f);
  int32_t at = kDrawingHeadSize;
  uint8_t params[kTextParamsSize];
  uint8_t placement[kTextPlacementSize];
  for (int16_t i = 0; i < lines && at + kTextLineSize <= size; ++i, at += kTextLineSize) {
    plat::Seek(f, at);
    CheckIoResult();
    if (ReadBlockLongChecked(f, params, kTextParamsSize) != kTextParamsSize) break;
    if (ReadBlockLongChecked(f, placement, kTextPlacementSize) < kTextPlacementSize) break;
    if (!IsTextLineNonEmpty(params)) continue;
    Put(w, params, kTextParamsSize);
    ++written;
  }
  CloseFileChecked(f);
  return written;
}

// The records of every layer that holds some, each layer after its layer
// record; object numbers of contour starts go to the object-number list.
void WriteSldLayerRecords(TSldWriter& w) {
  RecountAllLayerRecords();  // the counts come from the files, not from an older table
  const int64_t total = SumLayerRecordCounts();
  if (total < 2) return;
  StartProgressBar(static_cast<int32_t>(std::min<int64_t>(total, INT32_MAX)));
  for (int layer = 0; layer <= HighestLayer && !w.out.failed; ++layer) {
    if (LayerRecordCounts[layer] <= 0) continue;
    int slot = 0;
    OpenDataFileSlot(BuildLayerFileName(layer), 1, slot, 2);
    if (slot == 0) {
      w.out.failed = true;
      break;
    }
    const TVectorRecord layerRecord{kRecLayer, static_cast<float>(layer), 0.0f, 0.0f};
    Put(w, &layerRecord, kVectorRecordSize);
    TRecordBuffer buffer;
    AllocRecordBuffer(1, buffer, 1);
    int32_t got = 0;
    do {
      got = 0;
      ReadDataFileSlot(slot, buffer, 1000, got);
      AdvanceProgressBar(got);
      for (int32_t i = 0; i < got; ++i) {
        TVectorRecord r;
        memcpy(&r, buffer.bytes.data() + i * kVectorRecordSize, sizeof r);
        if (!IsKeptSldType(r.type)) continue;
        if (r.type == kRecContourStart && r.z <= -1000.0f) AddObjectNumberToList(r.z);
        Put(w, &r, kVectorRecordSize);
      }
    } while (got == 1000 && !w.out.failed);
    AllocRecordBuffer(1, buffer, 0);
    CloseDataFileSlot(slot);
  }
}

// Copies a file's bytes into the drawing (vector section of an export).
void CopyFileIntoSld(TSldWriter& w, const std::string& source, int32_t recordSize) {
  if (source.empty() || GetFileByteSize(source) < 2) return;
  TFileRec f;
  AssignFileChecked(f, source);
  ResetFileChecked(f, 1, 0);
  if (f.state != plat::kFileInput && f.state != plat::kFileInOut) {
    w.out.failed = true;
    return;
  }
  int32_t size = GetFileSizeChecked(f);
  if (recordSize > 1) size -= size % recordSize;
  std::vector<uint8_t> chunk(65535);
  while (size > 0 && !w.out.failed) {
    const int32_t n = std::min<int32_t>(size, static_cast<int32_t>(chunk.size()));
    const int32_t got = ReadBlockLongChecked(f, chunk.data(), n);
    if (got != n) w.out.failed = true;
    Put(w, chunk.data(), got);
    size -= n;
  }
  CloseFileChecked(f);
}

bool IsReadOnlyFile(const std::string& name) {
  uint32_t attr = 0;
  return plat::FileExists(name) && plat::GetFileAttr(name, attr) == 0 && (attr & plat::kAttrReadOnly) != 0;
}

}  // namespace

bool WriteSldDrawing(const std::string& source, const std::string& target, int mode) {
  if (target.empty()) return false;
  if (IsReadOnlyFile(target)) {
    ShowMessageNumber(8);
    return false;
  }
  const std::string temp = ReplaceFileExtension(target, ".$SL");
  TSldWriter w;
  if (!BeginWholeFileSave(w.save, target, temp)) {
    ShowWholeFileSaveFailure(w.save);
    return false;
  }
  AllocObjectNumberList();
  StartRecordFileWriter(w.out, w.save.file, 1, kSldBlockBytes, WriteWholeFileBlock);
  uint8_t head[kDrawingHeadSize];
  FillSldHead(head);
  Put(w, head, kDrawingHeadSize);

  int16_t lines = 0;
  memcpy(&lines, head + kHeadLineCount, 2);
  int16_t written = mode > 2 ? WriteSldTextLines(w, lines) : 0;
  memcpy(head + kHeadLineCount, &written, 2);
  memcpy(TextJobHead + kHeadLineCount, &written, 2);

  PutInt32At(head, kHeadVectorOffset, SldPosition(w));
  if (mode == 1 || mode == 2) CopyFileIntoSld(w, source, kVectorRecordSize);
  if (mode == 255) WriteSldLayerRecords(w);

  PutInt32At(head, kHeadParamOffset, SldPosition(w));
  if (mode > 1) {
    uint8_t block1[443];
    GetParamBlock(1, block1, sizeof block1);
    Put(w, block1, sizeof block1);
  }
  PutInt32At(head, kHeadToolOffset, SldPosition(w));
  if (mode > 1) {
    std::vector<uint8_t> tools(kParamBlockSizes[15]);
    GetParamBlock(15, tools.data(), static_cast<uint16_t>(tools.size()));
    const int32_t count = std::min<int32_t>(HighestLayer + 1, static_cast<int32_t>(tools.size() / kDrawingToolRecordSize));
    Put(w, tools.data(), count * kDrawingToolRecordSize);
  }
  PutInt32At(head, kHeadFrameOffset, SldPosition(w));
  if (mode > 1) {
    if (GetFileByteSize(kFrameFileName) >= 40) {
      CopyFileIntoSld(w, kFrameFileName, kVectorRecordSize);
    } else {
      head[0] = 0;
    }
  }
  PutInt32At(head, kHeadPropertyOffset, SldPosition(w));
  if (mode > 1 && !w.out.failed && ObjectNumberList != nullptr) {
    // The property text of the listed objects goes through Put like every
    // other section, so that a short write is noticed.
    std::string text;
    for (int32_t i = 0; i < ObjectNumberList->count; ++i) {
      std::string line;
      BuildObjectNumberLine(ObjectNumberList->numbers[i], line, 255);
      text += line + "\r\n";
      TPropertyLines lines;
      ReadObjectPropertyLine(ObjectNumberList->numbers[i], lines);
      if (!lines.line.empty()) text += lines.line + "\r\n";
    }
    Put(w, text.data(), static_cast<int32_t>(text.size()));
  }
  PutInt32At(head, kHeadPropertyEnd, SldPosition(w));
  const int32_t propertyOffset = static_cast<int32_t>(head[kHeadPropertyOffset] | (head[kHeadPropertyOffset + 1] << 8) |
                                                      (head[kHeadPropertyOffset + 2] << 16) |
                                                      (uint32_t(head[kHeadPropertyOffset + 3]) << 24));
  for (int i = 0; i < 16; ++i) PutInt32At(head, kHeadReservedOffsets + 4 * i, propertyOffset);
  FlushRecordFileWriter(w.out);
  FreeObjectNumberList();
  // The head goes in last, with the offsets of every section.
  const bool whole = !w.out.failed && PutWholeFileBytesAt(w.save, 0, head, kDrawingHeadSize);
  if (FinishWholeFileSave(w.save, whole)) return true;
  // A write that failed without a result number is data that could not be read.
  if (w.save.result == 0)
    ShowMessageNumber(8);
  else
    ShowWholeFileSaveFailure(w.save);
  return false;
}

bool PrepareDrawingForSave() {
  FlushVectorStoreIntoFile(GetCurrentLayerFileName());
  LoadTextJobHead();
  return TextLineCount > 0 || CheckAnyLayerFileFilled(0);
}

// --- name blocks of the parameter file ----------------------------------------------------

std::string ReadParamNameBlock(int16_t block) {
  uint8_t bytes[256] = {};
  GetParamBlock(block, bytes, sizeof bytes);
  return std::string(reinterpret_cast<const char*>(bytes + 1), bytes[0]);
}

void WriteParamNameBlock(int16_t block, const std::string& text) {
  uint8_t bytes[256] = {};
  const size_t n = std::min<size_t>(text.size(), 255);
  bytes[0] = static_cast<uint8_t>(n);
  memcpy(bytes + 1, text.data(), n);
  PutParamBlock(block, bytes, sizeof bytes);
}

std::string GetDrawingFolder(const std::string& name) {
  const size_t slash = name.find_last_of('\\');
  return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

bool ExportSldDrawingToFile(const std::string& source, const std::string& target, int mode) {
  if (CountFileRecords(source) < 2 || target.empty()) return false;
  WriteParamNameBlock(11, GetDrawingFolder(target));
  return WriteSldDrawing(source, target, mode);
}

// --- saved state ------------------------------------------------------------------------------

namespace {

constexpr uint64_t kFnvOffset = 14695981039346656037ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;
constexpr uint32_t kHashPiece = 65536;

uint64_t HashBytes(uint64_t hash, const void* bytes, size_t count) {
  const uint8_t* p = static_cast<const uint8_t*>(bytes);
  for (size_t i = 0; i < count; ++i) hash = (hash ^ p[i]) * kFnvPrime;
  return hash;
}

// Line points, arcs and their kin continue the contour a start opened.
bool ContinuesContour(uint8_t type) { return type == 10 || type == 12 || type == 17 || type == 18; }

// The sum of the hashes of the layer's contours (a start with what follows
// it; any other record alone), so that their order does not count.
uint64_t HashLayerContours(int32_t layer, const std::vector<TVectorRecord>& records) {
  uint64_t sum = 0;
  for (size_t i = 0; i < records.size();) {
    size_t end = i + 1;
    if (records[i].type == 11)
      while (end < records.size() && ContinuesContour(records[end].type)) ++end;
    const uint64_t seed = HashBytes(kFnvOffset, &layer, sizeof layer);
    sum += HashBytes(seed, records.data() + i, (end - i) * sizeof(TVectorRecord));
    i = end;
  }
  return sum;
}

// Folds the bytes of the file (none when it is missing) into the hash.
uint64_t HashFileBytes(uint64_t hash, const std::string& name) {
  plat::TPasFile f;
  plat::Assign(f, name);
  ResetFileQuiet(f, 1, 0);
  if (f.state < plat::kFileInput) return HashBytes(hash, "-", 1);
  std::vector<uint8_t> piece(kHashPiece);
  for (;;) {
    uint32_t read = 0;
    BlockReadQuiet(f, piece.data(), kHashPiece, read);
    hash = HashBytes(hash, piece.data(), read);
    if (read < kHashPiece) break;
  }
  CloseFileQuiet(f);
  return hash;
}

}  // namespace

uint64_t ComputeDrawingFingerprint() {
  uint64_t hash = kFnvOffset;
  const int32_t top = std::min<int32_t>(HighestLayer, kMaxLayerNumber);
  for (int32_t n = 0; n <= top; ++n) {
    std::vector<TVectorRecord> records, store;
    if (!ReadVectorRecords(BuildLayerFileName(n), -1, records)) hash = HashBytes(hash, "?", 1);
    if (n == CurrentLayer && StoreHoldsData != 0 && ReadVectorRecords(kVectorStoreName, -1, store))
      records.insert(records.end(), store.begin(), store.end());
    // Empty records are dropped whenever the store goes back into a layer.
    std::erase_if(records, [](const TVectorRecord& r) { return r.type == 0; });
    if (records.empty()) continue;
    const uint64_t layerHash = HashLayerContours(n, records);
    hash = HashBytes(hash, &n, sizeof n);
    hash = HashBytes(hash, &layerHash, sizeof layerHash);
  }
  for (const char* name : {kTextJobFileName, kFrameFileName, kPropertyStoreName}) hash = HashFileBytes(hash, name);
  return hash;
}

void RecordDrawingSaved() {
  const uint64_t fingerprint = ComputeDrawingFingerprint();
  plat::TPasFile f;
  plat::Assign(f, kSavedStateFileName);
  RewriteFileQuiet(f, 1);
  if (f.state < plat::kFileInput) return;
  uint32_t written = 0;
  BlockWriteQuiet(f, &fingerprint, sizeof fingerprint, written);
  CloseFileQuiet(f);
  // A note cut short would say "saved" to nothing; without one the user is asked.
  if (written != sizeof fingerprint) DeleteFileQuiet(kSavedStateFileName);
}

bool IsDrawingSaved() {
  if (GetFileByteSizeQuiet(kSavedStateFileName) != int64_t(sizeof(uint64_t))) return false;
  plat::TPasFile f;
  plat::Assign(f, kSavedStateFileName);
  ResetFileQuiet(f, 1, 0);
  if (f.state < plat::kFileInput) return false;
  uint64_t fingerprint = 0;
  uint32_t read = 0;
  BlockReadQuiet(f, &fingerprint, sizeof fingerprint, read);
  CloseFileQuiet(f);
  return read == sizeof fingerprint && fingerprint == ComputeDrawingFingerprint();
}

// --- recent drawings ---------------------------------------------------------------------
bool IsDrawingFileName(const std::string& name, bool check) {
  const size_t dot = name.find_last_of('.');
  if (dot == std::string::npos) return false;
  const std::string ext = name.substr(dot);
  if (ext != ".SLD" && ext != ".LG1" && ext != ".H2R") return false;
  return !check || TestPlainFileExists(name);
}

std::string GetRecentDrawing(int i) {
  if (i < 0 || i >= kRecentDrawingCount) return std::string();
  std::vector<uint8_t> block(kParamBlockSizes[64]);
  GetParamBlock(64, block.data(), static_cast<uint16_t>(block.size()));
  const uint8_t* entry = block.data() + i * kRecentNameSize;
  return std::string(reinterpret_cast<const char*>(entry + 1), entry[0]);
}

void AddRecentDrawing(const std::string& name, bool check) {
  if (!IsDrawingFileName(name, check)) return;
  std::vector<uint8_t> block(kParamBlockSizes[64]);
  GetParamBlock(64, block.data(), static_cast<uint16_t>(block.size()));
  int position = kRecentDrawingCount - 1;
  for (int i = 0; i < kRecentDrawingCount; ++i) {
    const uint8_t* entry = block.data() + i * kRecentNameSize;
    const std::string text(reinterpret_cast<const char*>(entry + 1), entry[0]);
    if (text.empty() || text == name) {
      position = i;
      break;
    }
  }
  memmove(block.data() + kRecentNameSize, block.data(), position * kRecentNameSize);
  memset(block.data(), 0, kRecentNameSize);
  const size_t n = std::min<size_t>(name.size(), 255);
  block[0] = static_cast<uint8_t>(n);
  memcpy(block.data() + 1, name.data(), n);
  PutParamBlock(64, block.data(), static_cast<uint16_t>(block.size()));
}

std::string FormatRecentDrawingEntry(const std::string& name) {
  std::string text = name;
  if (text.size() > 48) {
    text = text.substr(2);
    if (text.size() >= 50) text = text.substr(text.size() - 49);
  }
  return std::string(1, static_cast<char>(136)) + text;
}

// --- the text job head ---------------------------------------------------------------------

void WriteTextJobHeadToFile() {
  TFileRec f;
  AssignFileChecked(f, kTextJobFileName);
  if (TestPlainFileExists(kTextJobFileName)) ResetFileChecked(f, 1, 2); else RewriteFileChecked(f, 1);
  if (f.state != plat::kFileInOut && f.state != plat::kFileOutput) return;
  WriteBlockLongChecked(f, TextJobHead, kTextJobHeadSize);
  CloseFileChecked(f);
}

