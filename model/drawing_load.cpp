// Drawing loading.
//
// Sections:
//   one open layer file with its write buffer
//   the plain loader
//   ".SLD"
//   layers, tools and old notes
//   loading by name
#include "model/drawing_load.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>
#include <vector>

#include "frame/checked_files.h"
#include "frame/codepage.h"
#include "frame/data_slots.h"
#include "frame/defaults.h"
#include "frame/file_helpers.h"
#include "frame/layer_colours.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "model/arcs_to_points.h"
#include "model/drawing_file.h"
#include "model/geometry_tolerances.h"
#include "model/layer_files.h"
#include "model/model_hooks.h"
#include "model/property_exchange.h"
#include "model/property_store.h"
#include "model/vector_store.h"
#include "model/vector_records.h"
#include "model/text_job.h"

TDrawingLoadReport LastDrawingLoad;

namespace {

constexpr uint16_t kAllWorkFiles = 0xFFFF;

// Message texts of the load reports.
constexpr int16_t kMsgFileNotFound = 49;
constexpr int16_t kMsgDrawingUnreadable = 4009;
constexpr int16_t kMsgFileDamaged = 4140;
constexpr int16_t kMsgCountOf = 4141;
constexpr int16_t kMsgRecordsLoaded = 4142;
constexpr int16_t kMsgStaysUnnamed = 4143;
constexpr int16_t kMsgDiskFullOnLoad = 4144;
constexpr int16_t kMsgSettingsLost = 4148;

// A refused file: why, and its name; nothing was changed.
void RefuseDrawing(const std::string& name, int16_t reason) {
  LastDrawingLoad.outcome = TLoadOutcome::kRefused;
  ShowTitledMessage(GetMessageText(reason, -39) + "\r\n" + name);
}

// One box for a damaged file or a full disk: what happened, the name, how
// many of the file's records got in, and for a replacing load that the
// drawing stays unnamed. The I/O failure behind it is told here, not again.
void ReportPartialLoad(const std::string& name, bool replacing) {
  const TDrawingLoadReport& r = LastDrawingLoad;
  assert(r.outcome == TLoadOutcome::kDamaged || r.outcome == TLoadOutcome::kDiskFull);
  std::string text = GetMessageText(r.outcome == TLoadOutcome::kDamaged ? kMsgFileDamaged : kMsgDiskFullOnLoad, -39) +
                     "\r\n" + name + "\r\n" + std::to_string(r.recordsLoaded) + " " +
                     GetMessageText(kMsgCountOf, -39) + " " + std::to_string(r.recordsInFile) + " " +
                     GetMessageText(kMsgRecordsLoaded, -39);
  // Every record arrived, so what the damage cost lies in the sections after them.
  if (r.outcome == TLoadOutcome::kDamaged && r.recordsLoaded >= r.recordsInFile)
    text += "\r\n" + GetMessageText(kMsgSettingsLost, -39);
  if (replacing) text += "\r\n" + GetMessageText(kMsgStaysUnnamed, -39);
  ShowTitledMessage(text);
  if (ErrorCode >= 1000 && ErrorCode <= 1100) ErrorCode = 0;
}

bool IsOpen(const TFileRec& f) { return f.state >= plat::kFileInput; }

// --- one open layer file with its write buffer ------------------------------------------
struct TLoadLayer {
  int32_t layer = 0;
  TFileRec file;
  std::vector<TVectorRecord> buffer;
  size_t limit = 500;
  int32_t consumed = 0;   // records of the source handled whole (set by the reader)
  int32_t committed = 0;  // of those, the ones whose output is written
  bool writeFailed = false;
  bool raisedNoticeShown = false;
};

void OpenLoadLayer(TLoadLayer& l) {
  AssignFileChecked(l.file, BuildLayerFileName(l.layer));
  if (TestPlainFileExists(BuildLayerFileName(l.layer))) {
    ResetFileChecked(l.file, kVectorRecordSize, 2);
  } else {
    RewriteFileChecked(l.file, kVectorRecordSize);
  }
  if (!IsOpen(l.file)) {
    l.writeFailed = true;
    return;
  }
  plat::Seek(l.file, plat::FileSize(l.file));
  CheckIoResult();
  SetDrawColorAndMode(13, MapLayerToColorIndex(l.layer));
}

void FlushLoadLayer(TLoadLayer& l) {
  if (l.buffer.empty()) return;
  if (!IsOpen(l.file)) {
    l.writeFailed = true;
  } else {
    const int32_t n = static_cast<int32_t>(l.buffer.size());
    if (WriteBlockLongChecked(l.file, l.buffer.data(), n) != n) l.writeFailed = true;
  }
  if (!l.writeFailed) l.committed = l.consumed;
  l.buffer.clear();
}

void CloseLoadLayer(TLoadLayer& l) {
  if (l.buffer.empty() && !l.writeFailed) l.committed = l.consumed;
  FlushLoadLayer(l);
  if (IsOpen(l.file)) CloseFileChecked(l.file);
}

void StoreRecord(TLoadLayer& l, const TVectorRecord& r) {
  if (l.buffer.size() >= l.limit) FlushLoadLayer(l);
  l.buffer.push_back(r);
}

// Switches the target layer; raises the highest layer when needed.
void SwitchLoadLayer(TLoadLayer& l, int32_t layer) {
  if (layer > HighestLayer) {
    RaiseHighestLayer(layer + 1);
    if (!l.raisedNoticeShown) {
      l.raisedNoticeShown = true;
      ShowTitledMessage(GetMessageText(1513, -39) + "\r\n" + GetMessageText(1514, -39));
    }
  }
  if (layer == l.layer) return;
  CloseLoadLayer(l);
  l.layer = layer;
  OpenLoadLayer(l);
}

// --- the plain loader ----------------------------------------------------------------------
struct TVectorLoad {
  int mode = 0;
  TLoadLayer target;
  uint8_t lastType = 0;
  TVectorRecord lastRecord{};
  TExtentsPair extents{};
  bool keepArcs = false;
  bool contourStartSeen = false;
  bool layerNoticePending = true;
  bool geometryBeforeLayer = false;
  bool zeroToolValue = false;
  bool toolHeaderAtStart = false;
};

void Widen(TVectorLoad& s, float x, float y) {
  if (!std::isfinite(x) || !std::isfinite(y)) return;
  const float x0 = s.extents.minCorner.x, y0 = s.extents.minCorner.y;
  const float x1 = s.extents.maxCorner.x, y1 = s.extents.maxCorner.y;
  s.extents.minCorner.x = x < x0 ? x : x0;
  s.extents.minCorner.y = y < y0 ? y : y0;
  s.extents.maxCorner.x = x > x1 ? x : x1;
  s.extents.maxCorner.y = y > y1 ? y : y1;
}

void Store(TVectorLoad& s, uint8_t type, float x, float y, float z) {
  TVectorRecord r{type, x, y, z};
  StoreRecord(s.target, r);
  s.lastRecord = r;
  if (s.mode & kLoadDraw) DrawVectorRecordHook(r);
}

void ExpandArcRecord(TVectorLoad& s, const TVectorRecord& arc) {
  std::vector<TVectorRecord> points(kMaxSampledPoints + 1);
  uint16_t count = 0;
  const TVectorRecord last = s.lastRecord;
  ApproximateArcToPoints(points.data(), count, last.x, last.y, last.z, arc.x, arc.x, arc.y, arc.z);
  count = std::min<uint16_t>(count, kMaxSampledPoints);
  for (uint16_t i = 0; i < count; ++i) {
    const uint8_t type = last.type == kRec3DPoint ? uint8_t(kRec3DPoint) : points[i].type;
    Store(s, type, points[i].x, points[i].y, points[i].z);
    Widen(s, points[i].x, points[i].y);
  }
}

void RouteLoadedRecord(TVectorLoad& s, TVectorRecord r) {
  const uint8_t t = r.type;
  if (s.layerNoticePending && ((t >= 10 && t <= 14) || t == 17 || t == 18)) {
    ClearPromptStripHook();
    ShowPromptHook(1, GetMessageText(200, -39), 260, 274);
    s.geometryBeforeLayer = true;
    s.layerNoticePending = false;
    SetDrawColorAndMode(13, MapLayerToColorIndex(s.target.layer));
  }
  switch (t) {
    case 1: case 5:
      Widen(s, r.x, r.y);
      Store(s, t, r.x, r.y, r.z);
      break;
    case 6: case 7: case 150: case 151: case 154: case 156: case 157: case 158:
      Store(s, t, r.x, r.y, r.z);
      break;
    case 9:
      if (s.lastType != 9) Store(s, t, r.x, r.y, r.z);
      break;
    case 10: case 12: case 17: case 18:
      Store(s, t, r.x, r.y, r.z);
      Widen(s, r.x, r.y);
      break;
    case 11:
      Store(s, t, r.x, r.y, r.z);
      s.contourStartSeen = true;
      break;
    case 13:
      if (!s.contourStartSeen || s.keepArcs) {
        Store(s, kRecAltContourStart, r.x, r.y, r.z);
      } else {
        ExpandArcRecord(s, r);
      }
      break;
    case 14:
      Store(s, kRecLinePoint, r.x, r.y, r.z);
      Widen(s, r.x, r.y);
      s.lastType = 10;
      return;
    case 128: {
      s.layerNoticePending = false;
      const double v = std::isfinite(r.x) ? std::nearbyint(static_cast<double>(r.x)) : -1.0;
      int32_t layer = (v >= 0 && v < 65536) ? static_cast<int32_t>(v) : 65535;
      if (layer >= 50) layer = 49;
      SwitchLoadLayer(s.target, layer);
      break;
    }
    case 152: case 153: {
      uint8_t bytes[12];
      memcpy(bytes, &r.x, 12);
      const int length = std::min<int>(bytes[0], 11);
      for (int p = 1; p <= length; ++p) {
        if (bytes[p] == 0) {
          bytes[0] = static_cast<uint8_t>(p - 1);
          break;
        }
      }
      if (bytes[0] > 11) bytes[0] = 11;
      memcpy(&r.x, bytes, 12);
      Store(s, t, r.x, r.y, r.z);
      break;
    }
    case 155:
      if (r.z == 0.0f) {
        r.z = 0.5f;
        s.zeroToolValue = true;
      }
      Store(s, t, r.x, r.y, r.z);
      break;
    default:
      break;
  }
  s.lastType = t;
}

// --- ".SLD" --------------------------------------------------------------------------------
int32_t HeadInt32(const uint8_t* head, int offset) {
  int32_t v;
  memcpy(&v, head + offset, 4);
  return v;
}

// Reads bytes from .. to of the drawing into the callback in chunks of 65000.
template <typename F>
void ReadSection(TFileRec& f, int32_t from, int32_t to, F take) {
  if (to <= from) return;
  plat::Seek(f, from);
  if (CheckIoResult() != 0) return;
  std::vector<uint8_t> chunk(65000);
  int32_t left = to - from;
  while (left > 0) {
    const int32_t n = std::min<int32_t>(left, 65000);
    const int32_t got = ReadBlockLongChecked(f, chunk.data(), n);
    if (got <= 0) return;
    if (!take(chunk.data(), got)) return;
    left -= got;
    if (got < n) return;
  }
}

struct TSldLoad {
  int mode = 0;
  bool abort = false;
  std::vector<std::string> fontNames;
  std::vector<std::pair<std::string, std::string>> substitutes;
  bool promptShown = false;
  bool escaped = false;       // Esc stopped the vectors
  bool writeFailed = false;   // a work file could not take what was read
  int32_t vectorsRead = 0;    // whole vector records read from the file
  int32_t vectorsWritten = 0; // of those, the ones that reached the layer files
};

std::string PascalText(const uint8_t* bytes, int maxLength) {
  return std::string(reinterpret_cast<const char*>(bytes + 1), std::min<int>(bytes[0], maxLength));
}

void PutPascalText(uint8_t* bytes, const std::string& text, int maxLength) {
  const int n = std::min<int>(static_cast<int>(text.size()), maxLength);
  bytes[0] = static_cast<uint8_t>(n);
  memcpy(bytes + 1, text.data(), n);
}

bool IsFontAcceptable(const TSldLoad& s, const std::string& font) {
  std::string bare;
  GetFileNamePart(font, 'N', bare);
  if (bare == " " || font.empty()) return false;
  if (std::find(s.fontNames.begin(), s.fontNames.end(), font) == s.fontNames.end()) return false;
  return GetFileByteSize(font) > 1661;
}

void CheckTextLineFont(TSldLoad& s, uint8_t* params) {
  std::string font = PascalText(params + 8, 12);
  for (int round = 0; round < 100; ++round) {
    if (IsFontAcceptable(s, font)) break;
    auto hit = std::find_if(s.substitutes.begin(), s.substitutes.end(),
                            [&](const auto& p) { return p.first == font; });
    if (hit != s.substitutes.end()) {
      font = hit->second;
      break;
    }
    ShowPromptHook(0, PascalText(params + 57, 100), 260, 274);
    ShowPromptHook(1, "Font \"" + font + "\" " + GetMessageText(1809, 29), 260, 274);
    s.promptShown = true;
    PlayMessageBeep(0);
    const std::string old = font;
    std::string chosen = font;
    ChooseFontFileHook(chosen, PascalText(params + 57, 100));
    if (chosen.empty()) {
      if (AskYesNoMessage(29) == 1) s.abort = true;
      font = old;  // no choice: the line keeps its font
      break;
    }
    if (s.substitutes.size() < 100) s.substitutes.emplace_back(old, chosen);
    font = chosen;
  }
  PutPascalText(params + 8, font, 12);
  if (s.promptShown) ClearPromptStripHook();
}

bool IsToolRecordUsed(const uint8_t* tool) {
  float f;
  for (int offset : {42, 50, 54, 58}) {
    memcpy(&f, tool + offset, 4);
    if (f != 0.0f) return true;
  }
  int16_t station;
  memcpy(&station, tool + 82, 2);
  return tool[1] != 0 || station != 0;
}

void ReadSldToolSection(TFileRec& f, int32_t start, int32_t end) {
  std::vector<uint8_t> table(kParamBlockSizes[15]);
  GetParamBlock(15, table.data(), static_cast<uint16_t>(table.size()));
  uint8_t block0[153];
  GetParamBlock(0, block0, sizeof block0);
  int32_t whole = 0;
  plat::Seek(f, start);
  if (CheckIoResult() != 0) return;
  int32_t pos = start;
  while (whole < 51 && pos + kDrawingToolRecordSize <= end) {
    uint8_t tool[kDrawingToolRecordSize];
    if (ReadBlockLongChecked(f, tool, kDrawingToolRecordSize) != kDrawingToolRecordSize) break;
    pos += kDrawingToolRecordSize;
    const int32_t k = whole++;
    if (block0[104] == 1 || IsToolRecordUsed(tool)) {
      TToolRecord record;
      memcpy(&record, tool, sizeof record);
      record.colorNumber = MapLayerToColorIndex(k);
      UpgradeToolRecord(record);
      memcpy(table.data() + k * kDrawingToolRecordSize, &record, sizeof record);
    }
  }
  if (whole > 0) PutParamBlock(15, table.data(), static_cast<uint16_t>(table.size()));
}

// False when the frame file could not be written.
bool ReadSldFrameSection(TFileRec& f, int32_t start, int32_t end) {
  if (end - start < 4) {
    reinterpret_cast<uint8_t*>(&LayoutArea)[0] = 0;
    TextJobHead[0] = 0;
    return true;
  }
  TFileRec out;
  AssignFileChecked(out, kFrameFileName);
  RewriteFileChecked(out, 1);
  if (!IsOpen(out)) return false;
  bool written = true;
  ReadSection(f, start, end, [&](const uint8_t* bytes, int32_t n) {
    const int32_t whole = n - n % kVectorRecordSize;
    written = WriteBlockLongChecked(out, bytes, whole) == whole;
    return written && whole == n;
  });
  CloseFileChecked(out);
  return written;
}

void ReadSldVectorSection(TSldLoad& s, TFileRec& f, int32_t start, int32_t end) {
  TLoadLayer l;
  l.limit = 1000;
  l.layer = (s.mode & 1) ? CurrentLayer : 0;
  OpenLoadLayer(l);
  bool stop = false;
  ReadSection(f, start, end, [&](const uint8_t* bytes, int32_t n) {
    const int32_t count = n / kVectorRecordSize;
    for (int32_t i = 0; i < count; ++i) {
      l.consumed = s.vectorsRead++;
      TVectorRecord r;
      memcpy(&r, bytes + i * kVectorRecordSize, sizeof r);
      if (r.type == kRecLayer) {
        const double v = std::isfinite(r.x) ? std::nearbyint(static_cast<double>(r.x)) : -1.0;
        if (v == l.layer) {
          // an ordinary record of the current layer: not kept
        } else if (v >= 0 && v <= 50) {
          SwitchLoadLayer(l, v >= 50 ? 49 : static_cast<int32_t>(v));
          continue;
        } else {
          continue;
        }
      }
      if (r.type >= 10 && r.type <= 12 &&
          !(std::fabs(r.x) < 1e6f && std::fabs(r.y) < 1e6f && std::fabs(r.z) < 1e6f)) {
        continue;
      }
      switch (r.type) {
        case 1: case 5: case 6: case 7: case 9: case 10: case 11: case 12: case 17: case 18: case 27: case 131:
        case 132:
          StoreRecord(l, r);
          break;
        default:
          if (r.type >= 150 && r.type <= 158) StoreRecord(l, r);
      }
      DrawVectorRecordHook(r);
    }
    if (l.writeFailed) stop = true;
    if (n == 65000 && CheckEscapeHook() != 0) stop = s.escaped = true;
    return !stop;
  });
  if (!l.writeFailed) l.consumed = s.vectorsRead;
  CloseLoadLayer(l);
  s.vectorsWritten = l.writeFailed ? l.committed : s.vectorsRead;
  if (l.writeFailed) s.writeFailed = true;
}

}  // namespace

// --- layers, tools and old notes ---------------------------------------------------------
void RaiseHighestLayer(int32_t n) {
  if (n - 1 <= HighestLayer || n - 1 > kMaxLayerNumber) return;
  for (int32_t k = HighestLayer + 1; k <= n - 1; ++k) {
    HighestLayer = static_cast<uint8_t>(k);
    CreateEmptyFile(BuildLayerFileName(k));
  }
  uint8_t block3[121];
  GetParamBlock(3, block3, sizeof block3);
  const int16_t value = static_cast<int16_t>(n);
  memcpy(block3 + 60, &value, 2);
  PutParamBlock(3, block3, sizeof block3);
}

void UpgradeToolRecord(TToolRecord& tool) {
  if (tool.version > 52) return;
  uint8_t* bytes = reinterpret_cast<uint8_t*>(&tool);
  memset(bytes + 124, 0, 8);
  bytes[107] = 0;
  tool.version = kToolRecordVersion;
}

void ConvertOldDrawingNote() {
  for (int line = 0; line < 4; ++line) {
    uint8_t* entry = TextJobHead + kHeadNote + line * 51;
    std::string text = PascalText(entry, 50);
    ConvertOemStringToAnsi(text);
    PutPascalText(entry, text, 50);
  }
}

int LoadFontIndexNames(std::string* names, int maxNames) {
  if (!TestPlainFileExists(kFontIndexName)) return 0;
  TFileRec f;
  AssignFileChecked(f, kFontIndexName);
  ResetFileChecked(f, 1, 0);
  if (!IsOpen(f)) return 0;
  int16_t count = 0;
  int loaded = 0;
  if (ReadBlockLongChecked(f, &count, 2) == 2 && count > 1) {
    const int32_t held = (GetFileSizeChecked(f) - 2) / kFontNameSize;
    const int want = std::min<int>({count - 1, maxNames, kFontIndexMaxNames, static_cast<int>(held)});
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max(want, 0)) * kFontNameSize);
    const int32_t got = want > 0 ? ReadBlockLongChecked(f, bytes.data(), want * kFontNameSize) : 0;
    loaded = got / kFontNameSize;
    for (int i = 0; i < loaded; ++i) names[i] = PascalText(bytes.data() + i * kFontNameSize, 12);
  }
  CloseFileChecked(f);
  return loaded;
}

// --- loading by name ---------------------------------------------------------------------
void LoadVectorDrawing(const std::string& name, int mode) {
  TVectorLoad s;
  s.mode = mode;
  LastDrawingLoad = TDrawingLoadReport{};
  LastDrawingLoad.outcome = TLoadOutcome::kRefused;
  const TDataFileKind kind = GetDataFileKind(name);
  if (kind != 1 && kind != 3) return;  // other kinds are no drawings (said by GetDataFileKind)
  const bool inMemory = kind == 1 && FindRamFileSlot(name) != 0;
  if (!inMemory && !TestPlainFileExists(name)) {
    RefuseDrawing(name, kMsgFileNotFound);
    return;
  }
  uint8_t block3[121];
  GetParamBlock(3, block3, sizeof block3);
  int16_t keep;
  memcpy(&keep, block3 + 107, 2);
  s.keepArcs = keep == 1;
  EraseMouseCursor();
  s.extents.minCorner = {kRecMinCorner, 10000.0f, 10000.0f};
  s.extents.maxCorner = {kRecMaxCorner, -10000.0f, -10000.0f};
  const bool toolPath = kind == 1 && IsToolPathFile(name);
  if (toolPath) {
    ClearPromptStripHook();
    ShowPromptHook(0, GetMessageText(1081, -39), 260, 274);
  }
  int slot = 0;
  OpenDataFileSlot(name, kind, slot, 0);
  if (slot == 0) return;  // refused, said by the slot
  const uint32_t size = DataFileRecordSize(kind);
  // A trailing part of a record is damage: the whole records are loaded.
  const int64_t bytes = inMemory ? 0 : plat::FileSizeBytes(name);
  const bool cut = bytes > 0 && bytes % size != 0;
  LastDrawingLoad.outcome = TLoadOutcome::kWhole;
  LastDrawingLoad.recordsInFile =
      inMemory ? DataFileSlotSize(slot) : static_cast<int32_t>(std::min<int64_t>((bytes + size - 1) / size, INT32_MAX));
  if (mode & kLoadReplace) {
    ClearWorkFiles(kAllWorkFiles);
    s.target.layer = 0;
  } else {
    s.target.layer = CurrentLayer;
  }
  TRecordBuffer buffer;
  AllocRecordBuffer(kind, buffer, 1);
  OpenLoadLayer(s.target);
  auto recordAt = [&](int32_t i) {
    TVectorRecord r{};
    const uint8_t* at = buffer.bytes.data() + i * size;
    memcpy(&r, at, size);
    if (kind == 3) r.z = 0.0f;
    return r;
  };
  int32_t got = 0;
  int32_t first = 0;
  ReadDataFileSlot(slot, buffer, 5, got);
  if (toolPath) {
    if (got >= 5) {
      const uint8_t t[5] = {recordAt(0).type, recordAt(1).type, recordAt(2).type, recordAt(3).type, recordAt(4).type};
      if (t[0] == 1 && t[1] == 5 && t[2] == 6 && t[3] == 7 && t[4] == 1) {
        s.toolHeaderAtStart = true;
        first = 4;
      } else if (t[0] == 1 && t[1] == 5 && t[2] == 128 && t[3] == 1 && t[4] == 5) {
        first = 2;
      }
    }
  } else if (got >= 2 && recordAt(0).type == kRecMinCorner && recordAt(1).type == kRecMaxCorner) {
    Widen(s, recordAt(0).x, recordAt(0).y);
    Widen(s, recordAt(1).x, recordAt(1).y);
    first = (kind == 1 && got >= 3 && recordAt(2).type == kRecPathFactor) ? 0 : 2;
  }
  SeekDataFileSlot(slot, first);
  // The records before the first one read (a skipped head) count as loaded.
  int32_t handled = first;
  bool escaped = false;
  do {
    got = 0;
    ReadDataFileSlot(slot, buffer, kSlotBlockRecords, got);
    for (int32_t i = 0; i < got && !s.target.writeFailed; ++i) {
      s.target.consumed = handled++;
      RouteLoadedRecord(s, recordAt(i));
    }
    escaped = got == kSlotBlockRecords && !s.target.writeFailed && CheckEscapeHook() != 0;
  } while (got == kSlotBlockRecords && !s.target.writeFailed && !escaped);
  if (!s.target.writeFailed) s.target.consumed = handled;
  CloseLoadLayer(s.target);
  AllocRecordBuffer(kind, buffer, 0);
  CloseDataFileSlot(slot);
  LastDrawingLoad.recordsLoaded = s.target.writeFailed ? s.target.committed : handled;
  if (escaped) {
    LastDrawingLoad.outcome = TLoadOutcome::kCancelled;
  } else if (s.target.writeFailed) {
    LastDrawingLoad.outcome = TLoadOutcome::kDiskFull;
  } else if (cut) {
    LastDrawingLoad.outcome = TLoadOutcome::kDamaged;
  }
  if (s.target.writeFailed) {
    ReportPartialLoad(name, (mode & kLoadReplace) != 0);
  } else {
    if (cut) ReportPartialLoad(name, (mode & kLoadReplace) != 0);
    if (s.zeroToolValue) {
      std::string text = GetMessageText(3279, -39);
      if (s.toolHeaderAtStart) text = GetMessageText(3278, -39) + "\r\n" + text;
      ShowTitledMessage(text);
    }
    // A file without geometry keeps the old layout area.
    const bool geometry = s.extents.minCorner.x <= s.extents.maxCorner.x && s.extents.minCorner.y <= s.extents.maxCorner.y;
    if ((mode & kLoadReplace) && geometry) {
      LayoutArea = s.extents;
      reinterpret_cast<uint8_t*>(&LayoutArea)[0] = 0;
      SaveLayoutAreaHook();
    }
  }
  RestoreGraphicAreaHook();
  if (!(mode & kLoadQuiet) && toolPath && s.geometryBeforeLayer) {
    ShowPromptHook(0, GetMessageText(1081, -39), 260, 274);
    ShowPromptHook(1, GetMessageText(200, -39), 260, 274);
    WaitForInputHook(4000);
  }
}

bool LoadSldDrawing(const std::string& name, int mode) {
  TSldLoad s;
  s.mode = mode;
  LastDrawingLoad = TDrawingLoadReport{};
  {
    std::vector<std::string> names(kFontIndexMaxNames);
    names.resize(LoadFontIndexNames(names.data(), kFontIndexMaxNames));
    s.fontNames = std::move(names);
  }
  if (!TestPlainFileExists(name)) {
    RefuseDrawing(name, kMsgFileNotFound);
    return false;
  }
  TFileRec f;
  AssignFileChecked(f, name);
  ResetFileChecked(f, 1, 0);
  if (!IsOpen(f)) {
    RefuseDrawing(name, kMsgDrawingUnreadable);
    return false;
  }
  const int32_t fileSize = GetFileSizeChecked(f);
  uint8_t head[kDrawingHeadSize];
  if (fileSize < kDrawingHeadSize || ReadBlockLongChecked(f, head, kDrawingHeadSize) != kDrawingHeadSize) {
    CloseFileChecked(f);
    RefuseDrawing(name, kMsgDrawingUnreadable);
    return false;
  }
  const uint8_t version = head[kHeadVersion];
  const bool known = (version >= 4 && version <= 20);
  if (!known) {
    CloseFileChecked(f);
    RefuseDrawing(name, kMsgDrawingUnreadable);
    return false;
  }
  EraseMouseCursor();
  AllocObjectNumberList();
  if (!(mode & 1)) ClearWorkFiles(kAllWorkFiles);

  // The text job file: appended to, or new.
  TFileRec job;
  AssignFileChecked(job, kTextJobFileName);
  int16_t linesBefore = 0;
  uint8_t jobHead[kDrawingHeadSize] = {};
  if ((mode & 1) && TestPlainFileExists(kTextJobFileName)) {
    ResetFileChecked(job, 1, 2);
    if (IsOpen(job) && GetFileSizeChecked(job) >= kDrawingHeadSize) {
      ReadBlockLongChecked(job, jobHead, kDrawingHeadSize);
      memcpy(&linesBefore, jobHead + kHeadLineCount, 2);
      linesBefore = std::max<int16_t>(linesBefore, 0);
      // lines are appended after the last whole line
      const int32_t whole = (GetFileSizeChecked(job) - kDrawingHeadSize) / kTextLineSize;
      linesBefore = static_cast<int16_t>(std::min<int32_t>(linesBefore, whole));
      plat::Seek(job, kDrawingHeadSize + linesBefore * kTextLineSize);
      CheckIoResult();
    } else if (IsOpen(job)) {
      CloseFileChecked(job);
      RewriteFileChecked(job, 1);
      memcpy(jobHead, TextJobHead, kDrawingHeadSize);
      WriteBlockLongChecked(job, jobHead, kDrawingHeadSize);
    }
  } else {
    RewriteFileChecked(job, 1);
  }

  memcpy(TextJobHead, head, kDrawingHeadSize);
  ValidateTextNumberField(TextJobHead);
  memcpy(head, TextJobHead, kDrawingHeadSize);
  auto clampOffset = [&](int32_t v) { return std::clamp<int32_t>(v, kDrawingHeadSize, fileSize); };
  int32_t vectorStart = clampOffset(HeadInt32(head, kHeadVectorOffset));
  int32_t vectorEnd = fileSize, toolStart = fileSize, frameStart = fileSize;
  int32_t propertyStart = clampOffset(HeadInt32(head, kHeadPropertyOffset));
  int32_t propertyEnd = clampOffset(HeadInt32(head, kHeadPropertyEnd));
  if (version < 9) ConvertOldDrawingNote();
  bool vectorsOnly = false;
  if (version == 4) {
    vectorEnd = clampOffset(HeadInt32(head, kHeadParamOffset));
    toolStart = clampOffset(HeadInt32(head, kHeadToolOffset));
    frameStart = fileSize;
    propertyStart = propertyEnd = fileSize;
    const float one = 1.0f, three = 3.0f;
    memcpy(TextJobHead + 61, &one, 4);
    memcpy(TextJobHead + 169, &three, 4);
  } else if (version <= 10) {
    vectorEnd = clampOffset(HeadInt32(head, kHeadParamOffset));
    toolStart = clampOffset(HeadInt32(head, kHeadToolOffset));
    frameStart = clampOffset(HeadInt32(head, kHeadFrameOffset));
    if (version <= 7) {
      const float three = 3.0f;
      memcpy(TextJobHead + 169, &three, 4);
    }
  } else {
    ShowTitledMessage(GetMessageText(1625, -39) + "\r\n" + GetMessageText(1626, -39));
    vectorsOnly = true;
    propertyStart = propertyEnd = fileSize;
  }
  uint8_t placement[kTextPlacementSize];
  ClearTextPlacement(placement);

  // The head against the file: the text lines must end where the vectors
  // begin, the vector section must hold whole records, and no section may
  // start past the end. A damaged file is read as far as it is whole.
  int16_t headLines = 0;
  memcpy(&headLines, head + kHeadLineCount, 2);
  const int32_t linesInFile = vectorsOnly ? 0 : std::max<int32_t>(headLines, 0);
  int32_t lineCount = linesInFile;
  bool damaged = false;
  const int32_t rawVectorStart = HeadInt32(head, kHeadVectorOffset);
  const int32_t lineRoom = (vectorStart - kDrawingHeadSize) / kTextParamsSize;
  int32_t vectorsInFile = 0;
  if (rawVectorStart < kDrawingHeadSize || rawVectorStart > fileSize) damaged = true;
  if (!vectorsOnly && kDrawingHeadSize + int64_t(lineCount) * kTextParamsSize != rawVectorStart) damaged = true;
  lineCount = std::min(lineCount, lineRoom);
  if (vectorsOnly) {
    vectorsInFile = (fileSize - vectorStart + kVectorRecordSize - 1) / kVectorRecordSize;
    if ((fileSize - vectorStart) % kVectorRecordSize != 0) damaged = true;
  } else {
    const int32_t rawVectorEnd = HeadInt32(head, kHeadParamOffset);
    if (rawVectorEnd < vectorStart || int64_t(rawVectorEnd) + 443 > fileSize) damaged = true;
    const int64_t span =
        std::max<int64_t>(int64_t(rawVectorEnd) - std::max<int32_t>(rawVectorStart, kDrawingHeadSize), 0);
    if (span % kVectorRecordSize != 0) damaged = true;
    vectorsInFile = static_cast<int32_t>(std::min<int64_t>((span + kVectorRecordSize - 1) / kVectorRecordSize,
                                                           INT32_MAX / 2));
    std::vector<int> sections = {kHeadToolOffset};
    if (version >= 5) sections.push_back(kHeadFrameOffset);
    if (version >= 9) sections.insert(sections.end(), {kHeadPropertyOffset, kHeadPropertyEnd});
    for (int at : sections)
      if (HeadInt32(head, at) < kDrawingHeadSize || HeadInt32(head, at) > fileSize) damaged = true;
  }

  if (!(mode & 1)) {
    if (version < 5) TextJobHead[0] = 0;
    if (version < 7) TextJobHead[34] = 7;
    plat::Seek(job, 0);
    CheckIoResult();
    WriteBlockLongChecked(job, TextJobHead, kDrawingHeadSize);
    memcpy(&LayoutArea, TextJobHead, 18);
    uint8_t* details = reinterpret_cast<uint8_t*>(&LayoutDetails);
    memcpy(details + 1, TextJobHead + 18, 16);
    details[0] = TextJobHead[34];
    SaveLayoutAreaHook();
  }

  // Text lines.
  int16_t loaded = 0;
  int32_t linesDone = 0;  // lines of the file handled: loaded or left out as empty
  if (!vectorsOnly && lineCount > 0 && IsOpen(job)) {
    plat::Seek(f, kDrawingHeadSize);
    CheckIoResult();
    const bool single = linesInFile == 1;
    while (lineCount > 0 && loaded < 32000) {
      uint8_t params[kTextParamsSize];
      int32_t got = ReadBlockLongChecked(f, params, kTextParamsSize);
      if (single && got == kTextParamsSize && IsTextLineEmptyOrInvalid(params)) {
        linesDone = 1;
        got = 0;
      }
      if (got != kTextParamsSize) break;
      CheckTextLineFont(s, params);
      if (s.abort) break;
      if (WriteBlockLongChecked(job, params, kTextParamsSize) != kTextParamsSize ||
          WriteBlockLongChecked(job, placement, kTextPlacementSize) != kTextPlacementSize) {
        s.writeFailed = true;
        break;
      }
      --lineCount;
      ++loaded;
      ++linesDone;
    }
  }
  if (IsOpen(job)) {
    if ((mode == 1) && !s.abort) memcpy(TextJobHead, jobHead, kDrawingHeadSize);
    const int16_t total = static_cast<int16_t>(linesBefore + loaded);
    memcpy(TextJobHead + kHeadLineCount, &total, 2);
    TextLineCount = total;
    plat::Seek(job, 0);
    CheckIoResult();
    WriteBlockLongChecked(job, TextJobHead, kDrawingHeadSize);
    CloseFileChecked(job);
  }

  if (!s.abort && !s.writeFailed) {
    if (!(mode & 1) || propertyEnd > propertyStart) {
      CopyDrawingProperties(f, propertyStart, propertyEnd, (mode & 1) != 0);
    }
    ReadSldVectorSection(s, f, vectorStart, vectorsOnly ? fileSize : std::max(vectorStart, vectorEnd));
  }
  if (!(mode & 1) && !s.abort && !s.writeFailed && !vectorsOnly) {
    if (fileSize - vectorEnd >= 443 && vectorEnd >= kDrawingHeadSize) {
      uint8_t block1[443];
      plat::Seek(f, vectorEnd);
      if (CheckIoResult() == 0 && ReadBlockLongChecked(f, block1, sizeof block1) == 443) {
        PutParamBlock(1, block1, sizeof block1);
      }
    }
    ReadSldToolSection(f, toolStart, std::max(toolStart, frameStart));
    const bool frameWritten = version >= 5 ? ReadSldFrameSection(f, frameStart, std::max(frameStart, propertyStart))
                                           : ReadSldFrameSection(f, 0, 0);
    if (!frameWritten) s.writeFailed = true;
  }
  CloseFileChecked(f);
  FreeObjectNumberList();
  LastDrawingLoad.recordsInFile = linesInFile + vectorsInFile;
  LastDrawingLoad.recordsLoaded = linesDone + (s.writeFailed ? s.vectorsWritten : s.vectorsRead);
  if (s.abort || s.escaped) {
    LastDrawingLoad.outcome = TLoadOutcome::kCancelled;
  } else if (s.writeFailed) {
    LastDrawingLoad.outcome = TLoadOutcome::kDiskFull;
    ReportPartialLoad(name, !(mode & 1));
  } else if (damaged || LastDrawingLoad.recordsLoaded < LastDrawingLoad.recordsInFile) {
    LastDrawingLoad.outcome = TLoadOutcome::kDamaged;
    ReportPartialLoad(name, !(mode & 1));
  }
  return LastDrawingLoad.outcome == TLoadOutcome::kWhole;
}

bool LoadDrawingByExtension(const std::string& name, int mode) {
  const size_t dot = name.find_last_of('.');
  std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
  UpperCaseString(ext);
  if (ext != ".SLD") {
    LoadVectorDrawing(name, kLoadReplace | kLoadDraw);
    if (LastDrawingLoad.outcome != TLoadOutcome::kRefused) ClearFileNote();
  } else {
    if (mode & 1) ResetTextJobFile();
    LoadSldDrawing(name, mode);
  }
  const TLoadOutcome outcome = LastDrawingLoad.outcome;
  if (outcome == TLoadOutcome::kRefused) return false;
  // The name is current only for a drawing loaded whole; after a partial
  // load the drawing is unnamed, so that no save puts less over the file.
  const bool whole = outcome == TLoadOutcome::kWhole;
  if (whole || mode == 0) {
    uint8_t bytes[256] = {};
    const size_t n = whole ? std::min<size_t>(name.size(), 255) : 0;
    bytes[0] = static_cast<uint8_t>(n);
    memcpy(bytes + 1, name.data(), n);
    PutParamBlock(26, bytes, sizeof bytes);
  }
  if (WindowTitleHook != nullptr) WindowTitleHook();
  LoadTextLineDefaults();
  SaveParamFileSafely();
  // A drawing just opened whole is as saved; an appended one is not.
  if (whole && mode == 0) RecordDrawingSaved();
  return whole;
}
