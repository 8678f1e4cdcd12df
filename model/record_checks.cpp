// Record checks and the edit question.
#include "model/record_checks.h"

#include <cmath>
#include <vector>

#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/program_state.h"
#include "model/layer_files.h"
#include "model/model_hooks.h"
#include "model/undo.h"
#include "model/vector_records.h"
#include "model/vector_store.h"
#include "platform/draw.h"
#include "platform/files.h"

namespace {
using TRecords = std::vector<TVectorRecord>;

TRecords LoadRecords(const std::string& file, int64_t limit) {
  TRecords records;
  if (!ReadVectorRecords(file, limit, records)) records.clear();
  return records;
}

bool IsToolType(uint8_t type) { return type >= kRecTool1 && type <= kRecTool8; }
bool IsHeaderType(uint8_t type) {
  return type == kRecMinCorner || type == kRecMaxCorner || type == kRecPathFactor || type == kRecPathLayer ||
         type == kRecPathEnd;
}

bool SameFile(const std::string& a, const std::string& b) { return plat::HostPathOf(a) == plat::HostPathOf(b); }

// Undo snapshot before a clean-up of the current layer file.
void SnapshotWhenCurrentLayer(const std::string& file) {
  if (SameFile(file, GetCurrentLayerFileName())) TakeUndoSnapshot(kUndoCurrentLayer);
}

// The question with three picture buttons; 0 cancel, 2 keep, 3 delete.
int AskKeepDeleteCancel(const std::string& text) {
  const TCommandCode kept = CommandWord;
  CommandWord = 8501;
  int16_t answer = 2;
  AskPictureButtonsHook(GetMessageText(4010, -39), text, GetMessageText(1493, -16), "Abbruch",
                        GetMessageText(134, -16), "OK", GetMessageText(609, -16), "LOESCHEN", 0, 0, answer);
  CommandWord = kept;
  return answer == 2 || answer == 3 ? answer : 0;
}
}  // namespace

// --- scans ----------------------------------------------------------------------------------------

bool CheckFileHasToolRecords(const std::string& file) {
  for (const TVectorRecord& r : LoadRecords(file, 500))
    if (r.type == kRecTool1 || r.type == kRecToolColour || r.type == kRecTool6 || r.type == kRecToolFeed ||
        r.type == kRecTool8)
      return true;
  return false;
}

bool CheckFileHasObjectNumbers(const std::string& file) {
  for (const TVectorRecord& r : LoadRecords(file, 500))
    if (r.type == kRecContourStart && r.z < -1000.0f) return true;
  return false;
}

bool CheckFileHasAngleRecords(const std::string& file) {
  for (const TVectorRecord& r : LoadRecords(file, 5000))
    if (r.type == kRecAngles) return true;
  return false;
}

int FindCheckedRecordKind(const std::string& file, int flags) {
  const bool tools = (flags & 1) && CheckToolRecords;
  const bool points3d = (flags & 2) && Check3DPoints;
  const bool headers = (flags & 8) && CheckToolRecords;
  if (!tools && !points3d && !headers) return 0;
  for (const TVectorRecord& r : LoadRecords(file, -1)) {
    if (tools && IsToolType(r.type)) return 1;
    if (points3d && r.type == kRec3DPoint) return 2;
    if (headers && IsHeaderType(r.type)) return 8;
  }
  return 0;
}

bool CheckFileHas3DPoints(const std::string& file) { return FindCheckedRecordKind(file, 2) == 2; }

int ScanFileFor3DAndToolRecords(const std::string& file) {
  int found = 0;
  for (const TVectorRecord& r : LoadRecords(file, -1)) {
    if (r.type == kRec3DPoint || r.type == kRecAltContourStart) found |= 1;
    if (IsToolType(r.type)) found |= 2;
    if (found == 3) break;
  }
  return found;
}

void GetLowest3DHeight(const std::string& file, double offset, double& height) {
  bool any = false;
  double lowest = 0.0;
  for (const TVectorRecord& r : LoadRecords(file, -1)) {
    if (r.type != kRec3DPoint) continue;
    if (!any || r.z < lowest) lowest = r.z;
    any = true;
  }
  height = lowest - offset;
}

int32_t GetPathDepthAndToolCount(const std::string& file, double& depth) {
  depth = 0.0;
  double plunge = 0.0;
  bool first = true;
  int32_t tools = 0;
  for (const TVectorRecord& r : LoadRecords(file, -1)) {
    double candidate;
    if (r.type == kRecToolFeed) {
      plunge = r.y;
      continue;
    }
    if (r.type == kRecTool8) {
      ++tools;
      continue;
    }
    if (r.type == kRecLinePoint) candidate = plunge;
    else if (r.type == kRec3DPoint) candidate = r.z;
    else continue;
    if (first || candidate > depth) depth = candidate;
    first = false;
  }
  return tools;
}

bool CheckAllContoursClosed(const std::string& file) {
  const TRecords records = LoadRecords(file, -1);
  bool open = false;  // a contour is being walked
  float sx = 0, sy = 0, lx = 0, ly = 0;
  int count = 0;
  auto closed = [&]() { return count >= 3 && std::fabs(lx - sx) <= 0.001 && std::fabs(ly - sy) <= 0.001; };
  for (const TVectorRecord& r : records) {
    if (r.type == kRecContourStart) {
      if (open && !closed()) return false;
      open = true;
      sx = lx = r.x;
      sy = ly = r.y;
      count = 1;
    } else if (r.type == kRecLinePoint || r.type == kRec3DPoint) {
      if (!open) {  // points before any start: a contour from its first point
        open = true;
        sx = r.x;
        sy = r.y;
        count = 0;
      }
      lx = r.x;
      ly = r.y;
      ++count;
    }
  }
  return !open || closed();
}

bool ScanPenUpMarks(const std::string& file, int mode) {
  TRecords records = LoadRecords(file, -1);
  bool found = false;
  for (TVectorRecord& r : records) {
    if (!IsPenUpPoint(r)) continue;
    if (mode != 2) return true;
    found = true;
    r.type = kRecContourStart;
    r.z = 0.0f;
  }
  if (found) WriteVectorRecords(file, records.data(), records.size(), false);
  return found;
}

// --- clean-ups ------------------------------------------------------------------------------------

void StripToolRecords(const std::string& file) {
  TRecords records = LoadRecords(file, -1);
  if (records.empty()) return;
  SnapshotWhenCurrentLayer(file);
  TRecords kept;
  kept.reserve(records.size());
  for (const TVectorRecord& r : records)
    if (!IsToolType(r.type) && !IsHeaderType(r.type)) kept.push_back(r);
  WriteVectorRecords(file, kept.data(), kept.size(), false);
}

void Flatten3DPoints(const std::string& file) {
  TRecords records = LoadRecords(file, -1);
  if (records.empty()) return;
  SnapshotWhenCurrentLayer(file);
  for (TVectorRecord& r : records) {
    if (r.type == kRec3DPoint) r.type = kRecLinePoint;
    if (r.type == kRecLinePoint) r.z = 0.0f;
  }
  WriteVectorRecords(file, records.data(), records.size(), false);
}

bool ClearContourMarks(const std::string& file, int colour) {
  TRecords records = LoadRecords(file, -1);
  if (records.empty()) return true;
  bool changed = false, asked = false, yes = false, stopped = false;
  for (TVectorRecord& r : records) {
    if (r.type != kRecContourStart || !(r.z < 0.0f)) continue;
    if (r.z == -3.0f || r.z == -5.0f || r.z == -10.0f || r.z == -11.0f) {
      r.z = 0.0f;
      changed = true;
      continue;
    }
    if (!asked) {
      asked = true;
      yes = AskYesNo(GetMessageText(1018, -39) + "\r\n" + GetMessageText(1019, -39)) != 0;
      if (!yes) {
        stopped = true;
        break;
      }
    }
    r.z = 0.0f;
    changed = true;
  }
  if (changed) {
    SnapshotWhenCurrentLayer(file);
    // After a no, the starts cleared before the question stay cleared and
    // the rest of the file stays as it was.
    WriteVectorRecords(file, records.data(), records.size(), false);
  }
  if (yes) DrawVectorFileHook(file, plat::kRopCopy, colour, kDrawIgnoreColours);
  return !stopped;
}

// --- questions ------------------------------------------------------------------------------------

int AskStripToolRecords(const std::string& file) {
  if (!CheckToolRecords || !CheckFileHasToolRecords(file)) return 4;
  switch (AskKeepDeleteCancel(GetMessageText(1632, -39) + "\r\n" + GetMessageText(1083, -39))) {
    case 2: return 2;
    case 3: StripToolRecords(file); return 3;
    default: MouseButtonState = 4; return 1;
  }
}

int AskDelete3DPoints(const std::string& file) {
  if (!Check3DPoints || FindCheckedRecordKind(file, 11) == 0) return 3;
  switch (AskKeepDeleteCancel(GetMessageText(1633, -39) + "\r\n" + GetMessageText(1083, -39))) {
    case 2: return 2;
    case 3: Flatten3DPoints(file); return 3;
    default: MouseButtonState = 4; return 1;
  }
}

bool AskStripToolAnd3DRecords(const std::string& file, int colour, int flags) {
  if ((flags & 1) && (!CheckToolRecords || !CheckFileHasToolRecords(file))) flags &= ~1;
  if ((flags & 2) && (!Check3DPoints || !CheckFileHas3DPoints(file))) flags &= ~2;
  if (flags & 4) {
    if (!ClearContourMarks(file, colour)) {
      MouseButtonState = 4;
      return false;
    }
    flags &= ~4;
  }
  if ((flags & 3) == 0) return true;
  const int16_t first = (flags & 3) == 3 ? 1634 : (flags & 1) ? 1632 : 1633;
  switch (AskKeepDeleteCancel(GetMessageText(first, -39) + "\r\n" + GetMessageText(1083, -39))) {
    case 2: return true;
    case 3:
      if (flags & 1) StripToolRecords(file);
      if (flags & 2) Flatten3DPoints(file);
      return true;
    default: MouseButtonState = 4; return false;
  }
}
