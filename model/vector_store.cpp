// Vector store and contour marking.
#include "model/vector_store.h"

#include <algorithm>
#include <cstddef>
#include <cmath>

#include "frame/checked_files.h"
#include "frame/file_helpers.h"
#include "frame/layer_colours.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "model/model_hooks.h"
#include "model/nearest_search.h"
#include "model/record_checks.h"
#include "model/undo.h"
#include "platform/draw.h"
#include "platform/files.h"

uint8_t StoreHoldsData = 0;
bool StoreParked = false;

namespace {
using TRecords = std::vector<TVectorRecord>;
constexpr int kMarkColour = 12;

bool IsContourBodyType(uint8_t type) {
  return type == kRecLinePoint || type == kRec3DPoint || type == kRecSplineStartEnd || type == kRecSplinePoint;
}

TRecords LoadRecords(const std::string& name) {
  TRecords records;
  if (!ReadVectorRecords(name, -1, records)) records.clear();
  return records;
}

void DrawRecords(const TVectorRecord* records, size_t count, int colour) {
  if (count == 0) return;
  EraseMouseCursor();
  SetDrawColorAndMode(plat::kRopCopy, colour);
  for (size_t i = 0; i < count; ++i) DrawVectorRecordHook(records[i]);
  SetRopCopy();
}

}  // namespace

bool AppendFileRecords(const std::string& source, const std::string& target, int colour, bool createNew) {
  TRecords records = LoadRecords(source);
  records.erase(std::remove_if(records.begin(), records.end(), [](const TVectorRecord& r) { return r.type == 0; }),
                records.end());
  if (colour >= 0) DrawRecords(records.data(), records.size(), colour);
  const int64_t before = createNew ? 0 : std::max<int64_t>(plat::FileSizeBytes(target), 0);
  if (WriteVectorRecords(target, records.data(), records.size(), !createNew)) return true;
  // Cut back what arrived of a partial append.
  if (!createNew && plat::FileExists(target)) {
    TFileRec file;
    AssignFileChecked(file, target);
    ResetFileChecked(file, 1, 2);
    if (file.state >= plat::kFileInput) {
      plat::Seek(file, before);
      plat::Truncate(file);
      CloseFileChecked(file);
    }
  }
  ShowMessageNumber(8);
  return false;
}

void CreateStoreWhenClear() {
  if (!StoreHoldsData) CreateEmptyFile(kVectorStoreName);
}

namespace {

double PickTolerance() {
  const float scale = ViewScaleHook();
  return scale > 0.0f ? kPickTolerancePixels / scale : 0.0;
}

// Index of the start of the contour nearest to (px, py) within best, -1 for none.
int64_t FindContourAt(const TRecords& records, double px, double py, bool bySegment) {
  double best = PickTolerance();
  int64_t found = -1, contour = -1;
  double prevX = 0.0, prevY = 0.0;
  for (size_t i = 0; i < records.size(); ++i) {
    const TVectorRecord& r = records[i];
    if (r.type == kRecContourStart) contour = static_cast<int64_t>(i);
    double d;
    if (bySegment) {
      if (r.type == kRecContourStart) {
        prevX = r.x;
        prevY = r.y;
        continue;
      }
      if (r.type != kRecLinePoint && r.type != kRec3DPoint && r.type != kRecSplinePoint) continue;
      d = DistancePointToSegment(px, py, prevX, prevY, r.x, r.y);
      prevX = r.x;
      prevY = r.y;
    } else {
      if (r.type != kRecLinePoint && r.type != kRecContourStart && r.type != kRec3DPoint &&
          r.type != kRecSplinePoint)
        continue;
      d = std::hypot(r.x - px, r.y - py);
      if (r.type == kRecContourStart) d += kStartPenalty;
    }
    if (d < best && contour >= 0) {
      best = d;
      found = contour;
    }
  }
  return found;
}

bool InsideRectangle(const TVectorRecord& r, const TExtentsPair& box) {
  return box.minCorner.x <= r.x && r.x <= box.maxCorner.x && box.minCorner.y <= r.y && r.y <= box.maxCorner.y;
}

}  // namespace

// --- records of whole files --------------------------------------------------------------------

bool ReadVectorRecords(const std::string& name, int64_t limit, std::vector<TVectorRecord>& records) {
  records.clear();
  if (name.empty() || !plat::FileExists(name)) return true;
  TFileRec file;
  AssignFileChecked(file, name);
  ResetFileChecked(file, kVectorRecordSize, 0);
  if (file.state < plat::kFileInput) return false;
  int64_t count = plat::FileSize(file);  // whole records; a broken tail is ignored
  if (limit >= 0) count = std::min(count, limit);
  count = std::clamp<int64_t>(count, 0, INT32_MAX / int64_t(kVectorRecordSize));
  records.resize(static_cast<size_t>(count));
  int32_t got = count > 0 ? ReadBlockLongChecked(file, records.data(), static_cast<int32_t>(count)) : 0;
  CloseFileChecked(file);
  records.resize(static_cast<size_t>(std::max(got, 0)));
  return got == count;
}

bool WriteVectorRecords(const std::string& name, const TVectorRecord* records, size_t count, bool append) {
  if (count > size_t(INT32_MAX / kVectorRecordSize)) return false;
  TFileRec file;
  AssignFileChecked(file, name);
  if (append && plat::FileExists(name)) {
    ResetFileChecked(file, kVectorRecordSize, 2);
    if (file.state < plat::kFileInput) return false;
    plat::Seek(file, plat::FileSize(file));
  } else {
    RewriteFileChecked(file, kVectorRecordSize);
    if (file.state < plat::kFileInput) return false;
  }
  const int32_t written = count > 0 ? WriteBlockLongChecked(file, records, static_cast<int32_t>(count)) : 0;
  CloseFileChecked(file);
  return written == static_cast<int32_t>(count);
}

double DistancePointToSegment(double px, double py, double ax, double ay, double bx, double by) {
  const double length = std::hypot(bx - ax, by - ay);
  const double a = std::hypot(ax - px, ay - py);
  const double b = std::hypot(bx - px, by - py);
  if (a > length || b > length) return std::min(a, b);
  const double cross = std::fabs((ax - px) * (by - ay) - (ay - py) * (bx - ax));
  double divisor = a * length;
  if (divisor < 0.0001) divisor = 0.0001;
  return a * cross / divisor;
}

// --- store life cycle ----------------------------------------------------------------------------

void ClearVectorStore() {
  CreateEmptyFile(kVectorStoreName);
  StoreHoldsData = 0;
}

void FlushVectorStoreIntoFile(const std::string& name) {
  // A store that could not be written out stays: nothing is lost.
  if (StoreHoldsData && !AppendFileRecords(kVectorStoreName, name, GetCurrentLayerColour(), false)) return;
  ClearVectorStore();
}

void FlushVectorStoreToCurrentLayer() {
  FlushVectorStoreIntoFile(GetCurrentLayerFileName());
  RecountCurrentLayerRecords();
}

void MoveStoreToScratchFile() {
  if (StoreHoldsData) {
    if (!AppendFileRecords(kVectorStoreName, kScratchStoreName, -1, true)) return;
  } else {
    CreateEmptyFile(kScratchStoreName);
  }
  ClearVectorStore();
  StoreParked = true;
}

void LoadStoreFromScratchFile() {
  CreateStoreWhenClear();
  if (CountFileRecords(kScratchStoreName) <= 0) {
    CreateEmptyFile(kVectorStoreName);
    StoreHoldsData = 0;
  } else {
    if (CheckFileHasToolRecords(GetCurrentLayerFileName()))
      RunMessageBox(GetProgramTitle(),
                    GetMessageText(4010, -39) + "\r\n" + GetMessageText(1632, -39) + "\r\n" +
                        GetMessageText(1035, -39) + "\r\n" + GetMessageText(1036, -39),
                    0);
    if (!AppendFileRecords(kScratchStoreName, kVectorStoreName, -1, true)) return;  // stays parked
    StoreHoldsData = 1;
  }
  CreateEmptyFile(kScratchStoreName);
  StoreParked = false;
}

void ClearClipboardFile() { CreateEmptyFile(kClipboardFileName); }

void CutStoreToClipboardFile() {
  if (!StoreHoldsData) return;
  if (AppendFileRecords(kVectorStoreName, kClipboardFileName, PaperColor, true)) ClearVectorStore();
}

void CopyStoreToClipboardFile() {
  if (StoreHoldsData) AppendFileRecords(kVectorStoreName, kClipboardFileName, -1, true);
}

void PasteClipboardFileIntoStore() {
  if (CountFileRecords(kClipboardFileName) <= 0) return;
  CreateStoreWhenClear();
  TakeUndoSnapshot(kUndoCurrentLayer | kUndoStore);
  if (AppendFileRecords(kClipboardFileName, kVectorStoreName, kMarkColour, false)) StoreHoldsData = 1;
}

// --- marking -------------------------------------------------------------------------------------

void PickContourIntoStore(const std::string& source, const TPointRecord& point, int flags, uint8_t& found) {
  found = 0;
  TRecords records = LoadRecords(source);
  if (records.empty()) return;
  const int64_t at = FindContourAt(records, point.x, point.y, (flags & kPickBySegment) != 0);
  if (at < 0) return;
  const size_t begin = static_cast<size_t>(at);
  size_t end = begin + 1;
  while (end < records.size() && IsContourBodyType(records[end].type)) ++end;
  if (flags & (kPickDraw | kPickErase))
    DrawRecords(records.data() + begin, end - begin, (flags & kPickErase) ? PaperColor : kMarkColour);
  if (!WriteVectorRecords(kVectorStoreName, records.data() + begin, end - begin, true)) {
    ShowMessageNumber(8);
    return;
  }
  found = 1;
  if (flags & kPickRemove) {
    records.erase(records.begin() + static_cast<std::ptrdiff_t>(begin),
                  records.begin() + static_cast<std::ptrdiff_t>(end));
    if (!WriteVectorRecords(source, records.data(), records.size(), false)) ShowMessageNumber(8);
  }
}

void TakeContoursInRectangle(const std::string& source, const TExtentsPair& rectangle, int flags, uint8_t& found) {
  found = 0;
  const TRecords records = LoadRecords(source);
  TRecords taken, rest;
  taken.reserve(records.size());
  rest.reserve(records.size());
  const bool anyPoint = (flags & kRectAnyPoint) != 0;
  // A group is decided when it has been seen whole, so a contour of any
  // length is taken or left in one piece.
  size_t start = 0;
  while (start < records.size()) {
    size_t end = start + 1;
    while (end < records.size() &&
           (records[end].type == kRecLinePoint || records[end].type == kRec3DPoint))
      ++end;
    bool take = InsideRectangle(records[start], rectangle);
    for (size_t i = start + 1; i < end; ++i) {
      const bool inside = InsideRectangle(records[i], rectangle);
      if (anyPoint && inside) take = true;
      if (!anyPoint && !inside) take = false;
    }
    TRecords& into = take ? taken : rest;
    into.insert(into.end(), records.begin() + static_cast<std::ptrdiff_t>(start),
                records.begin() + static_cast<std::ptrdiff_t>(end));
    start = end;
  }
  if (taken.empty()) return;
  const int64_t storeBefore = std::max<int64_t>(plat::FileSizeBytes(kVectorStoreName), 0);
  if (!WriteVectorRecords(kVectorStoreName, taken.data(), taken.size(), true) ||
      ((flags & kRectCopy) == 0 && !WriteVectorRecords(kRectangleRestName, rest.data(), rest.size(), false))) {
    // The store is cut back; the source is left as it was.
    TFileRec file;
    AssignFileChecked(file, kVectorStoreName);
    ResetFileChecked(file, 1, 2);
    if (file.state >= plat::kFileInput) {
      plat::Seek(file, storeBefore);
      plat::Truncate(file);
      CloseFileChecked(file);
    }
    ShowMessageNumber(8);
    return;
  }
  DrawRecords(taken.data(), taken.size(), (flags & kRectErase) ? PaperColor : kMarkColour);
  found = 1;
  if ((flags & kRectCopy) == 0) {
    if (!WriteVectorRecords(source, rest.data(), rest.size(), false)) ShowMessageNumber(8);
    CreateEmptyFile(kRectangleRestName);
  }
}

void SelectContoursAt(const std::string& file, int flags, const TPointRecord& press, const TPointRecord& release,
                      bool grow) {
  CreateStoreWhenClear();
  if (!grow && (flags & kSelectNoFlush) == 0) {
    if ((flags & kSelectNoUndo) == 0) TakeUndoSnapshot(kUndoCurrentLayer | kUndoStore);
    FlushVectorStoreIntoFile(file);
    RecountCurrentLayerRecords();
    if (StoreHoldsData) return;  // the previous selection could not be put back
  }
  TExtentsPair box;
  const float x1 = press.x, y1 = press.y, x2 = release.x, y2 = release.y;  // packed fields: copies
  box.minCorner = {kRecMinCorner, std::min(x1, x2), std::min(y1, y2)};
  box.maxCorner = {kRecMaxCorner, std::max(x1, x2), std::max(y1, y2)};
  const float scale = ViewScaleHook();
  const double threshold = scale > 0.0f ? kRubberBandPixels / scale : 0.0;
  uint8_t found = 0;
  if (box.maxCorner.x - box.minCorner.x > threshold || box.maxCorner.y - box.minCorner.y > threshold)
    TakeContoursInRectangle(file, box, flags, found);
  else
    PickContourIntoStore(file, press, (flags ^ 5) + 2, found);
  if (found) StoreHoldsData = 1;
  RecountCurrentLayerRecords();
}

void PickContourFromAnyLayerAt(int mode, const TPointRecord& point) {
  int bestLayer = -1;
  double best = kFileSearchStart;
  auto probe = [&](int layer) {
    int32_t index = -1;
    double distance = kFileSearchStart;
    FindNearestSegmentInFile(BuildLayerFileName(layer), point, index, distance);
    if (index >= 0 && distance < best) {
      best = distance;
      bestLayer = layer;
    }
  };
  probe(CurrentLayer);
  for (int n = 0; n <= HighestLayer; ++n)
    if (n != CurrentLayer) probe(n);
  if (bestLayer < 0) return;
  FlushVectorStoreToCurrentLayer();
  if (StoreHoldsData) return;  // the selection could not be put back
  if (mode >= 0) CurrentLayer = static_cast<uint8_t>(bestLayer);
  uint8_t found = 0;
  PickContourIntoStore(BuildLayerFileName(bestLayer), point, mode & 127, found);
  StoreHoldsData = found;
  RecountAllLayerRecords();
}

void MarkWholeCurrentLayer() {
  CreateStoreWhenClear();
  const std::string layer = GetCurrentLayerFileName();
  if (CountFileRecords(layer) <= 0) {
    // Everything already marked: the selection stays as it is.
    if (StoreHoldsData == 0) ShowMessageNumber(42);
    return;
  }
  if (!AppendFileRecords(layer, kVectorStoreName, kMarkColour, false)) return;
  CreateEmptyFile(layer);
  StoreHoldsData = 1;
  RecountCurrentLayerRecords();
}

void RecodeContourStarts(const std::string& file, int mode) {
  TRecords records = LoadRecords(file);
  if (records.empty()) return;
  bool first = true;
  for (TVectorRecord& r : records) {
    if (mode == 0) {
      if (IsPenUpPoint(r)) {
        r.type = kRecContourStart;
        r.z = 0.0f;
      }
    } else if (r.type == kRecContourStart) {
      if (!first) {
        r.type = kRecLinePoint;
        r.z = kPenUpZ;
      }
      first = false;
    }
  }
  if (!WriteVectorRecords(file, records.data(), records.size(), false)) ShowMessageNumber(8);
}

void ChooseEditSourceFile(std::string& name) {
  if (StoreHoldsData && CountFileRecords(kVectorStoreName) > 0) {
    name = kVectorStoreName;
  } else if (CountFileRecords(GetCurrentLayerFileName()) >= 2) {
    name = GetCurrentLayerFileName();
  } else {
    ShowMessageNumber(42);
    name.clear();
  }
}

bool PrepareCurrentLayerForEdit(int flags) {
  FlushVectorStoreIntoFile(GetCurrentLayerFileName());
  if (StoreHoldsData) return false;  // the store could not be put back
  ClearVectorStore();
  if (RecountCurrentLayerRecords() > 0)
    return AskStripToolAnd3DRecords(GetCurrentLayerFileName(), GetCurrentLayerColour(), flags);
  ShowMessageNumber(42);
  WaitMouseReleaseHook();
  return false;
}
