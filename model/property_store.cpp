// The object property store.
#include "model/property_store.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "frame/checked_files.h"
#include "frame/data_slots.h"
#include "frame/defaults.h"
#include "frame/file_helpers.h"
#include "frame/messages.h"
#include "frame/system_services.h"
#include "model/layer_files.h"
#include "model/model_hooks.h"
#include "model/vector_store.h"
#include "model/vector_records.h"
#include "frame/progress_bar.h"

const TPropertyKindName PropertyKindNames[kPropertyKindCount] = {
    {-999, "BOHRUN"}, {-998, "SPIRBO"}, {-997, "SENKUN"}, {-996, "TASCHE"}, {-995, "SCHR\xC4G"},
    {-994, "SPIEGF"}, {-993, "RANDFL"}, {-992, "STRECK"}, {-991, "LINIEA"}, {-990, "RELIEF"},
    {-989, "ELLIPS"}, {-988, "VERLAU"}, {-987, "KOZYLI"}, {-986, "LINVER"}, {-985, "SURFA2"},
    {-984, "GITTER"}, {-983, "LINGRA"}, {-982, "SURFA3"}, {-981, "RMAUER"}, {-980, "SURFAS"},
    {-979, "SAND__"}, {-978, "ORNPKT"}, {-977, "STREKA"}, {-976, "RSSKAL"}, {-975, "KONTUR"},
    {-974, "EINF\xDCG"}, {-973, "FLAE3D"}, {-972, "POLYRA"}, {-971, "SURFAR"}, {-970, "POLYLA"},
    {-969, "KORDEL"}, {-968, "BALLFL"}, {-967, "LINE3D"}, {-966, "RKETTE"}, {-965, "MUSTFL"},
    {-964, "RWEAVE"}, {-963, "RSCHNE"}, {-962, "HAMMER"}, {-961, "RWEAS1"}, {-960, "MUSTLI"},
    {-959, "LEITKU"}, {-958, "SCULPT"},
};

// --- whole-text helpers ----------------------------------------------------------------------
namespace {

// Reads the whole file; false when it cannot be opened or read completely.
bool ReadWholeFile(const std::string& name, std::string& bytes) {
  bytes.clear();
  if (!TestPlainFileExists(name)) return false;
  TFileRec f;
  AssignFileChecked(f, name);
  ResetFileChecked(f, 1, 0);
  if (f.state != plat::kFileInput && f.state != plat::kFileInOut) return false;
  const int32_t size = GetFileSizeChecked(f);
  bytes.resize(size > 0 ? size : 0);
  int32_t got = size > 0 ? ReadBlockLongChecked(f, bytes.data(), size) : 0;
  CloseFileChecked(f);
  return got == size;
}

// Writes the whole file new; false when fewer bytes were stored.
bool WriteWholeFile(const std::string& name, const std::string& bytes) {
  TFileRec f;
  AssignFileChecked(f, name);
  RewriteFileChecked(f, 1);
  if (f.state != plat::kFileOutput && f.state != plat::kFileInOut) return false;
  int32_t put = bytes.empty() ? 0 : WriteBlockLongChecked(f, bytes.data(), static_cast<int32_t>(bytes.size()));
  CloseFileChecked(f);
  return put == static_cast<int32_t>(bytes.size());
}

// Lines of a text (CR LF or LF ends; a trailing line without an end counts).
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// The object number of an object line, -1 when the line is none.
int32_t ObjectNumberOfLine(const std::string& line) {
  if (line.size() < 2 || line[0] != '#') return -1;
  std::string digits = line.substr(1, 6);
  int16_t code = 0;
  int32_t n = ParseIntegerValue(digits, code);
  return code == 0 ? n : -1;
}

// Rewrites the store through its backup. keep(line index) tells what to do:
// the lines of object n are replaced by replacement (none for a delete).
void RewriteStore(int32_t n, const TPropertyLines* replacement) {
  const bool hadStore = TestPlainFileExists(kPropertyStoreName);
  std::string old;
  bool haveOld = false;
  if (hadStore) {
    RenameFileReplacing(kPropertyStoreName, kPropertyBackupName);
    if (TestPlainFileExists(kPropertyStoreName)) return;  // the move failed: the store stays as it was
    haveOld = ReadWholeFile(kPropertyBackupName, old);
    if (!haveOld) {
      // The backup cannot be read back: give up and keep the old store whole.
      RenameFileReplacing(kPropertyBackupName, kPropertyStoreName);
      return;
    }
  }
  std::string out;
  std::vector<std::string> lines = SplitLines(old);
  bool found = false;
  std::string objectLine;
  BuildObjectNumberLine(n, objectLine, 255);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!found && ObjectNumberOfLine(lines[i]) == n) {
      found = true;
      if (replacement != nullptr) {
        out += lines[i] + "\r\n";
        if (!replacement->line.empty()) out += replacement->line + "\r\n";
      }
      while (i + 1 < lines.size() && ObjectNumberOfLine(lines[i + 1]) < 0) ++i;
      continue;
    }
    out += lines[i] + "\r\n";
  }
  if (!found && replacement != nullptr) {
    out += objectLine + "\r\n";
    if (!replacement->line.empty()) out += replacement->line + "\r\n";
  }
  if (!WriteWholeFile(kPropertyStoreName, out) && haveOld) {
    // The new store could not be written whole: the backup is the store again.
    RenameFileReplacing(kPropertyBackupName, kPropertyStoreName);
  }
}

}  // namespace

// --- object numbers ----------------------------------------------------------------------------
void EncodeObjectNumberInZ(int32_t n, float& z) {
  if (n > 0) z = -static_cast<float>(n + 1000);
}

int32_t DecodeObjectNumberFromZ(float z) {
  if (!std::isfinite(z)) return -1;
  double n = -(static_cast<double>(z) + 1000.0);
  if (n > 0 && n < 32000) {
    int32_t r = static_cast<int32_t>(std::nearbyint(n));
    return r > 0 ? r : -1;
  }
  return -1;
}

std::string FormatObjectNumber(int32_t n) {
  std::string s = std::to_string(n < 0 ? -n : n);
  if (s.size() < 6) s.insert(0, 6 - s.size(), '0');
  return n < 0 ? "-" + s : s;
}

void BuildObjectNumberLine(int32_t n, std::string& out, int maxLength) {
  out = "#" + FormatObjectNumber(n);
  if (maxLength >= 0 && static_cast<int>(out.size()) > maxLength) out.resize(maxLength);
}

// --- the store ----------------------------------------------------------------------------------
void CreateEmptyPropertyStore() { WriteWholeFile(kPropertyStoreName, std::string()); }

int32_t GetNextObjectNumber() {
  if (!TestPlainFileExists(kPropertyStoreName)) {
    CreateEmptyPropertyStore();
    return 1;
  }
  std::string text;
  if (!ReadWholeFile(kPropertyStoreName, text)) return 1;
  int32_t highest = 0;
  for (const std::string& line : SplitLines(text)) {
    int32_t n = ObjectNumberOfLine(line);
    if (n > highest) highest = n;
  }
  return highest + 1;
}

void ClearPropertyLines(TPropertyLines& buffer) { buffer.line.clear(); }

void ReadObjectPropertyLine(int32_t n, TPropertyLines& buffer) {
  ClearPropertyLines(buffer);
  std::string text;
  if (!TestPlainFileExists(kPropertyStoreName)) return;
  if (!ReadWholeFile(kPropertyStoreName, text)) return;
  std::vector<std::string> lines = SplitLines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (ObjectNumberOfLine(lines[i]) != n) continue;
    if (i + 1 < lines.size() && ObjectNumberOfLine(lines[i + 1]) < 0) {
      buffer.line = lines[i + 1].substr(0, kPropertyLineMax);
    }
    return;
  }
}

TPropertyKind PropertyKindOfLine(const std::string& line) {
  if (line.size() < 6) return 0;
  for (const TPropertyKindName& kind : PropertyKindNames) {
    if (line.compare(0, 6, kind.keyword) == 0) return kind.code;
  }
  return 0;
}

TPropertyKind GetObjectPropertyKind(int32_t n) {
  TPropertyLines buffer;
  ReadObjectPropertyLine(n, buffer);
  return PropertyKindOfLine(buffer.line);
}

void SetPropertyLine(TPropertyLines& buffer, const std::string& key, const std::string& value) {
  if (!buffer.line.empty() && buffer.line.compare(0, key.size(), key) != 0) return;
  buffer.line = (key + " " + value).substr(0, kPropertyLineMax);
}

void WriteObjectProperties(int32_t n, const TPropertyLines& buffer) {
  TPropertyLines cut{buffer.line.substr(0, kPropertyLineMax)};
  RewriteStore(n, &cut);
}

void DeleteObjectProperties(int32_t n) { RewriteStore(n, nullptr); }

void StoreReliefPropertyText(int32_t n, const std::string& text) {
  TPropertyLines buffer;
  SetPropertyLine(buffer, "RELIEF", text);
  WriteObjectProperties(n, buffer);
}

// --- parsing ---------------------------------------------------------------------------------------
void GetPropertyField(const std::string& line, const std::string& key, std::string& out, int maxLength) {
  out.clear();
  if (line.compare(0, key.size(), key) != 0) return;
  out = line.substr(key.size());
  if (maxLength >= 0 && static_cast<int>(out.size()) > maxLength) out.resize(maxLength);
}

bool IsNumberChar(char c) { return (c >= '0' && c <= '9') || c == '+' || c == ',' || c == '-' || c == '.'; }

float TakeNextNumberFromText(std::string& text, int maxLength) {
  size_t start = 0;
  while (start < text.size() && !IsNumberChar(text[start])) ++start;
  if (start >= text.size()) return 0;
  size_t end = start;
  while (end < text.size() && IsNumberChar(text[end])) ++end;
  std::string run = text.substr(start, end - start);
  text = text.substr(end);
  if (maxLength >= 0 && static_cast<int>(text.size()) > maxLength) text.resize(maxLength);
  int16_t code = 0;
  float value = ParseRealValue(run, code);
  if (code != 0 || !std::isfinite(value)) return 0;
  return value;
}

uint8_t TakeNextByteFromText(std::string& text, int maxLength) {
  double v = std::nearbyint(TakeNextNumberFromText(text, maxLength));
  return (v >= 0 && v <= 255) ? static_cast<uint8_t>(v) : 0;
}

int16_t TakeNextIntegerFromText(std::string& text, int maxLength) {
  double v = std::nearbyint(TakeNextNumberFromText(text, maxLength));
  return std::fabs(v) < 32767 ? static_cast<int16_t>(v) : 0;
}

void TakeNextWordFromText(std::string& text, int maxLength, std::string& out) {
  out.clear();
  size_t start = 0;
  while (start < text.size() && text[start] == ' ') ++start;
  if (start >= text.size()) return;
  size_t end;
  size_t rest;
  if (text[start] == '"') {
    ++start;
    end = text.find('"', start);
    if (end == std::string::npos) end = text.size();
    rest = end < text.size() ? end + 1 : end;
  } else {
    end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    rest = end < text.size() ? end + 1 : end;
  }
  if (end == start) return;
  out = text.substr(start, end - start);
  text = text.substr(rest);
  if (maxLength >= 0 && static_cast<int>(text.size()) > maxLength) text.resize(maxLength);
}

std::string QuotePropertyText(const std::string& text) { return "\"" + text + "\""; }

// --- relief copies -----------------------------------------------------------------------------------
std::string BuildObjectReliefName(int32_t n) {
  std::string layer0 = BuildLayerFileName(0);
  std::string folder = layer0.substr(0, layer0.size() - std::string("Layer0.TMP").size());
  return folder + "RO" + FormatObjectNumber(n) + ".TMR";
}

void StoreObjectReliefCopy(int32_t n) {
  if (n <= 0) return;
  const std::string copy = BuildObjectReliefName(n);
  if (TestPlainFileExists(kObjectReliefWorkName)) {
    RenameFileReplacing(kObjectReliefWorkName, copy);
  } else {
    DeleteFileIfExists(copy);
  }
}

// --- contours ----------------------------------------------------------------------------------------
namespace {

struct TContourWalk {
  TVectorRecord start{};
  TVectorRecord last{};
  int64_t startPos = -1;
  int64_t lastPos = -1;
  int result = 0;
  int32_t* number = nullptr;
};

void FinishContourClass(TContourWalk& w) {
  if (w.startPos < 0 || w.start.type != kRecContourStart || w.lastPos < 0 || w.last.type != kRecLinePoint ||
      w.lastPos < w.startPos) {
    return;
  }
  if (w.lastPos == w.startPos + 1 && w.last.x == w.start.x && w.last.y == w.start.y) {
    int32_t n = DecodeObjectNumberFromZ(w.start.z);
    if (n > 0) *w.number = n;
    w.result |= kClassSinglePoint;
    return;
  }
  const bool closed = std::fabs(w.last.x - w.start.x) < 0.001f && std::fabs(w.last.y - w.start.y) < 0.001f;
  w.result |= closed ? kClassClosed : kClassOpen;
  if (w.result == kClassClosed || w.result == kClassOpen) {
    const float z = w.start.z;
    if (z == -4.0f || z == -2.0f || z == -1.0f) {
      *w.number = static_cast<int32_t>(z);
    } else {
      int32_t n = DecodeObjectNumberFromZ(z);
      if (n > 0) *w.number = n;
    }
  }
}

}  // namespace

int ClassifyContoursInFile(const std::string& name, int mode, int32_t& number) {
  number = 0;
  TContourWalk w;
  w.number = &number;
  int slot = 0;
  OpenDataFileSlot(name, 1, slot, 0);
  if (slot == 0) return 0;
  TRecordBuffer buffer;
  AllocRecordBuffer(1, buffer, 1);
  int64_t pos = 0;
  int32_t got = 0;
  bool stop = false;
  do {
    got = 0;
    ReadDataFileSlot(slot, buffer, kSlotBlockRecords, got);
    for (int32_t i = 0; i < got && !stop; ++i, ++pos) {
      TVectorRecord r;
      memcpy(&r, buffer.bytes.data() + i * kVectorRecordSize, sizeof r);
      if (r.type == kRecContourStart || (r.type == kRecLinePoint && r.z <= kPenUpZ)) {
        FinishContourClass(w);
        w.start = r;
        w.startPos = pos;
        w.lastPos = -1;
      } else if (r.type == kRecLinePoint || (r.type == kRec3DPoint && mode == 1)) {
        w.last = r;
        w.last.type = kRecLinePoint;
        w.lastPos = pos;
      } else if (r.type == kRec3DPoint) {
        w.result = 0;
      }
      if (w.result == 3) stop = true;
    }
  } while (got == kSlotBlockRecords && !stop);
  if (!stop) FinishContourClass(w);
  AllocRecordBuffer(1, buffer, 0);
  CloseDataFileSlot(slot);
  return w.result;
}

int IsSingleContourFile(const std::string& name) {
  int slot = 0;
  OpenDataFileSlot(name, 1, slot, 0);
  if (slot == 0) return 0;
  TRecordBuffer buffer;
  AllocRecordBuffer(1, buffer, 1);
  int32_t got = 0;
  ReadDataFileSlot(slot, buffer, kSlotBlockRecords, got);
  int starts = 0;
  for (int32_t i = 0; i < got; ++i) {
    if (buffer.bytes[i * kVectorRecordSize] == kRecContourStart) ++starts;
  }
  AllocRecordBuffer(1, buffer, 0);
  CloseDataFileSlot(slot);
  if (got >= 4 && starts <= 1) return 1;
  if (got == 2 && starts < 2) return 2;
  return 0;
}

void AssignPropertiesToContours(const std::string& name, const std::string& key, const std::string& value,
                                bool keepReliefCopy) {
  int slot = 0;
  OpenDataFileSlot(name, 1, slot, 2);
  if (slot == 0) return;
  const int32_t total = DataFileSlotSize(slot);
  TRecordBuffer buffer;
  AllocRecordBuffer(1, buffer, 1);
  int32_t contours = 0;
  int32_t nextNumber = -1;
  int32_t position = 0;
  bool aborted = false;
  int32_t got = 0;
  do {
    SeekDataFileSlot(slot, position);
    got = 0;
    ReadDataFileSlot(slot, buffer, kSlotBlockRecords, got);
    for (int32_t i = 0; i < got && !aborted; ++i) {
      TVectorRecord r;
      uint8_t* at = buffer.bytes.data() + i * kVectorRecordSize;
      memcpy(&r, at, sizeof r);
      if (r.type == kRecContourStart) {
        ++contours;
        if (contours == 10) StartProgressBar(total);
        if (contours >= 10) UpdateProgressBar(position + i);
        int32_t n = DecodeObjectNumberFromZ(r.z);
        if (n < 0) {
          nextNumber = nextNumber < 0 ? GetNextObjectNumber() : nextNumber + 1;
          n = nextNumber;
          float z = r.z;
          EncodeObjectNumberInZ(n, z);
          r.z = z;
          memcpy(at, &r, sizeof r);
        }
        TPropertyLines lines;
        SetPropertyLine(lines, key, value);
        WriteObjectProperties(n, lines);
        if (keepReliefCopy) StoreObjectReliefCopy(n);
      }
      if (CheckEscapeHook() != 0) aborted = true;
    }
    SeekDataFileSlot(slot, position);
    int32_t put = 0;
    WriteDataFileSlot(slot, buffer, got, put);
    position += got;
  } while (got == kSlotBlockRecords && !aborted);
  AllocRecordBuffer(1, buffer, 0);
  CloseDataFileSlot(slot);
}

void MarkContourStarts(const std::string& name, int mode) {
  if (!StoreHoldsData || CountFileRecords(kVectorStoreName) == 0) {
    ShowMessageNumber(82);
    return;
  }
  if (mode == 1 || mode == 2) {
    int32_t number = 0;
    if (ClassifyContoursInFile(kVectorStoreName, 0, number) != kClassClosed) {
      ShowErrorText(GetMessageText(1395, -39));
      return;
    }
  }
  DrawVectorFileHook(name, 13, 12, 0);
  const bool known = mode >= 1 && mode <= 4;
  const float mark = mode == 1 ? -1.0f : mode == 2 ? -2.0f : mode == 4 ? -4.0f : 0.0f;
  int slot = 0;
  if (known) OpenDataFileSlot(name, 1, slot, 2);
  if (slot != 0) {
    TRecordBuffer buffer;
    AllocRecordBuffer(1, buffer, 1);
    int32_t position = 0, read = 0;
    do {
      SeekDataFileSlot(slot, position);
      read = 0;
      ReadDataFileSlot(slot, buffer, kSlotBlockRecords, read);
      for (int32_t i = 0; i < read; ++i) {
        uint8_t* record = buffer.bytes.data() + size_t(i) * kVectorRecordSize;
        if (record[0] == kRecContourStart) memcpy(record + 9, &mark, 4);
      }
      if (read > 0) {
        SeekDataFileSlot(slot, position);
        int32_t written = 0;
        WriteDataFileSlot(slot, buffer, read, written);
        if (written != read) break;
      }
      position += read;
    } while (read == kSlotBlockRecords);
    AllocRecordBuffer(1, buffer, 0);
    CloseDataFileSlot(slot);
  }
  FlushVectorStoreIntoFile(GetCurrentLayerFileName());
}
