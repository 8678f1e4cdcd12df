// The construction procedure; see construction_frame.h.
#include "cad/construction_frame.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "cad/catch_modes.h"
#include "cad/freehand.h"
#include "cad/lines_polylines.h"
#include "cad/snapping.h"
#include "frame/checked_files.h"
#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/not_yet_available.h"
#include "frame/param_file.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"
#include "view/screen_scheme.h"
#include "view/view_transform.h"

TConstructionState Construction;

namespace {

constexpr int16_t kHighlightColour = 12;
constexpr int kPenSolid = 0;
constexpr int kPenDotted = 1;
constexpr uint16_t kDottedPattern = 0x3333;
constexpr int kEnteredMarker = 2;
constexpr uint16_t kFlashMs = 250;
// Display flags of the selection: parameter block 0, byte 100.
constexpr int kDisplayFlagsBlock = 0;
constexpr int kDisplayFlagsByte = 100;

// --- the target file -------------------------------------------------------------------------

uint32_t TargetRecordSize() { return Construction.fileKind == 3 ? kPointRecordSize : kVectorRecordSize; }


// Records first .. first + count - 1 of the target (fewer at its end); z 0
// for a point file.
void ReadTargetRecords(int32_t first, int32_t count, std::vector<TVectorRecord>& out) {
  out.clear();
  if (count <= 0 || first < 0) return;
  const uint32_t size = TargetRecordSize();
  TFileRec f;
  AssignFileChecked(f, Construction.targetFile);
  ResetFileChecked(f, size, 0);
  if (f.fd < 0) return;
  plat::Seek(f, first);
  if (CheckIoResult() != 0) {
    CloseFileChecked(f);
    return;
  }
  std::vector<uint8_t> bytes(size_t(count) * size);
  const int32_t got = ReadBlockLongChecked(f, bytes.data(), count);
  CloseFileChecked(f);
  for (int32_t i = 0; i < got; ++i) {
    TVectorRecord r{};
    std::memcpy(&r, bytes.data() + size_t(i) * size, size);
    out.push_back(r);
  }
}

void AppendTargetRecord(const TVectorRecord& record) {
  TFileRec f;
  AssignFileChecked(f, Construction.targetFile);
  ResetFileChecked(f, TargetRecordSize(), 2);
  if (f.fd < 0) return;
  plat::Seek(f, plat::FileSize(f));
  if (CheckIoResult() == 0) WriteBlockChecked(f, &record, 1);
  CloseFileChecked(f);
}

// Cuts the target after count records.
void TruncateTarget(int32_t count) {
  TFileRec f;
  AssignFileChecked(f, Construction.targetFile);
  ResetFileChecked(f, TargetRecordSize(), 2);
  if (f.fd < 0) return;
  plat::Seek(f, std::max<int32_t>(count, 0));
  if (CheckIoResult() == 0) {
    plat::Truncate(f);
    CheckIoResult();
  }
  CloseFileChecked(f);
}

TPointRecord PointOf(const TVectorRecord& r) { return TPointRecord{r.type, r.x, r.y}; }

double DistanceXY(double ax, double ay, double bx, double by) {
  return std::sqrt((ax - bx) * (ax - bx) + (ay - by) * (ay - by));
}

double StartCatchDistance() {
  const double r = std::max<int>(Construction.catchRadius, kMinStartCatchPixels);
  return ViewScaleX > 0 ? r / ViewScaleX : 0.0;
}

// The entry loop shared by both entries; band: the rubber band follows.
void RunPointEntry(const std::string& prompt, TPointRecord& point, bool band) {
  uint8_t menuState = 0;
  BeginEntryLoop(prompt, menuState);
  if (band) {
    Construction.bandEnd = CursorPoint;
    DrawRubberBand(Construction.bandEnd);
  }
  bool done = false;
  while (!done) {
    done = EntryLoopStep(menuState);
    if (band) UpdateRubberBand(CursorPoint);
  }
  ResolveConstructionPoint(point);
  if (band) UpdateRubberBand(point);
  EraseMouseCursor();
  if (Construction.event == kEventConfirm) MarkEnteredPoint(point);
}

void DrawRecordsFrom(const std::vector<TVectorRecord>& records, int16_t colour) {
  EraseMouseCursor();
  SetDrawColorAndMode(kCopyMode, colour);
  for (const TVectorRecord& r : records) {
    if (r.type == kRecContourStart || r.type == kRecAltContourStart) MoveToWorldPoint(r.x, r.y);
    else if (r.type == kRecLinePoint || r.type == kRec3DPoint) LineToWorldPoint(r.x, r.y);
  }
}

uint8_t SelectionDisplayFlags() {
  if (ParamImage == nullptr) return kDrawIgnoreLayers;
  uint8_t block[kDisplayFlagsByte + 1] = {};
  GetParamBlock(kDisplayFlagsBlock, block, sizeof block);
  return uint8_t(block[kDisplayFlagsByte] | kDrawIgnoreLayers);
}

// The start-point-first rule: one point written as a contour start.
void AskStartPointFirst(uint8_t type) { AskAndWritePoint(type, GetMessageText(kMsgEnterPoint, -39)); }

// The codes DispatchConstruction runs.
bool IsBuiltConstruction(int code) {
  switch (code) {
    case 90: case 91: case 93: case 94: case 102: case 103: case 104: case 105: case 106: case 107:
    case 108: case 113: case 114: case 115: case 116: case 117: case 123: case 131: case 135: case 229:
    case 236: return true;
    default: return false;
  }
}

void DispatchConstruction(int code) {
  // Codes whose construction begins with a start point of its own when the
  // contour has to be started first.
  if ((code == 95 || code == 98 || code == 105 || code == 131 || code == 135) && Construction.startNew) {
    AskStartPointFirst(kRecContourStart);
    return;
  }
  switch (code) {
    case 90: DeleteLastContour(); break;
    case 91: DeleteLastPoint(1); break;
    case 229: DeleteLastPoint(0); break;
    case 93: LineOrNewStart(); break;
    case 94: PlaceSinglePoint(); break;
    case 102: AskStartPointFirst(kRecContourStart); break;
    case 103: AskStartPointFirst(kRecLinePoint); break;
    case 104: MoveToNewStart(); break;
    case 105: LineToWithKeys(); break;
    case 106: DrawSingleLine(); break;
    case 107: DrawFreehandIntoLayer(); break;
    case 108:
    case 236: CloseContour(); break;
    case 113: LineByValues(kLineByOffsets, kRecContourStart); break;
    case 114: LineByValues(kLineByOffsets, kRecLinePoint); break;
    case 115: LineByValues(kLineByLengthAngle, kRecContourStart); break;
    case 116: LineByValues(kLineByLengthAngle, kRecLinePoint); break;
    case 117: LineByValues(kLineBy15Degrees, kRecLinePoint); break;
    case 123: EnterPolyline(); break;
    case 131: Enter3DPoint(); break;
    case 135: ChooseLineKind(); break;
    default: break;  // constructions of other families
  }
}

}  // namespace

int32_t CountTargetRecords() {
  const int64_t bytes = GetFileByteSize(Construction.targetFile);
  return bytes > 0 ? int32_t(std::min<int64_t>(bytes / TargetRecordSize(), INT32_MAX)) : 0;
}

// --- the run -------------------------------------------------------------------------------

bool IsAllowedOnEmptyLayer(int code) {
  if (code >= 92 && code <= 98) return true;
  if (code >= 100 && code <= 102) return true;
  if (code >= 104 && code <= 107) return true;
  if (code >= 109 && code <= 113) return true;
  if (code == 115) return true;
  if (code >= 118 && code <= 122) return true;
  if (code == 124 || code == 131 || code == 132 || code == 135 || code == 136) return true;
  if (code == 227 || code == 228) return true;
  return code >= 230 && code <= 235;
}

void OpenConstructionRun() {
  TConstructionState& s = Construction;
  s.recordCount = CountTargetRecords();
  s.lastPoint = TPointRecord{0, 0.0f, 0.0f};
  s.contourStart = TPointRecord{0, 0.0f, 0.0f};
  s.startIndex = 0;
  if (s.recordCount > 0) {
    // The last contour start is looked for in the tail first and further
    // back only when the tail holds none.
    int32_t end = s.recordCount;
    std::vector<TVectorRecord> block;
    bool lastTaken = false, found = false;
    while (end > 0 && !found) {
      const int32_t first = std::max<int32_t>(0, end - kConstructionTailRecords);
      ReadTargetRecords(first, end - first, block);
      if (block.empty()) break;
      if (!lastTaken) {
        s.lastPoint = PointOf(block.back());
        lastTaken = true;
      }
      for (int32_t i = int32_t(block.size()) - 1; i >= 0; --i) {
        if (block[size_t(i)].type == kRecContourStart) {
          s.contourStart = PointOf(block[size_t(i)]);
          s.startIndex = first + i;
          found = true;
          break;
        }
      }
      end = first;
    }
    if (!found) {
      s.contourStart = TPointRecord{kRecContourStart, 0.0f, 0.0f};
      s.startIndex = 0;
    }
  }
  s.startNew = s.lastPoint.type != kRecContourStart &&
               DistanceXY(s.lastPoint.x, s.lastPoint.y, s.contourStart.x, s.contourStart.y) <=
                   kConstructionSamePoint;
}

void RunConstructionCommand(const std::string& layerFile, int code) {
  // The constructions of the other families are not built yet: say so
  // before the store is flushed or a snapshot taken.
  if (!IsBuiltConstruction(code)) {
    ShowNotYetAvailable(uint16_t(code));
    return;
  }
  TConstructionState& s = Construction;
  s = TConstructionState{};
  s.targetFile = layerFile;
  s.commandCode = int16_t(code);
  DrawPanelBackground();
  s.catchRadius = SnapRadius;
  FlushVectorStoreToCurrentLayer();
  TakeUndoSnapshot(kUndoCurrentLayer);
  s.pointBuffer.assign(kConstructionBufferPoints, TPointRecord{});
  s.previewFactor = ViewScaleX / 16.0f;
  const int kind = GetRecordFileKind(layerFile);
  if (kind == 2) {
    s.pointBuffer.clear();
    return;
  }
  s.fileKind = kind == 0 ? 1 : 3;
  EnsureFileExists(layerFile);
  if (!TestFileExists(layerFile)) {
    s.pointBuffer.clear();
    return;
  }
  s.layerColour = GetCurrentLayerColour();
  OpenConstructionRun();
  if (code != 107) WaitForMouseRelease();
  if (s.recordCount == 0) {
    if (IsAllowedOnEmptyLayer(code)) {
      s.startNew = 1;
      DispatchConstruction(code);
    } else {
      ShowMessageNumber(kMsgNeedsLastPoint);
    }
  } else {
    DispatchConstruction(code);
  }
  s.pointBuffer.clear();
  if (s.event == kEventCancel) {
    MoveLastContourToStore();
    WaitForMouseRelease();
  }
  RecountCurrentLayerRecords();
}

void MoveLastContourToStore() {
  TConstructionState& s = Construction;
  const int32_t count = CountTargetRecords();
  if (count <= 0 || s.startIndex >= count || s.fileKind != 1) return;
  std::vector<TVectorRecord> records;
  const int32_t first = std::max<int32_t>(0, s.startIndex);
  ReadTargetRecords(first, count - first, records);
  if (int32_t(records.size()) != count - first) return;  // keep the file as it is
  if (!WriteVectorRecords(kVectorStoreName, records.data(), records.size(), false)) return;
  TruncateTarget(first);
  StoreHoldsData = 1;
  DrawVectorFile(kVectorStoreName, kCopyMode, kHighlightColour, SelectionDisplayFlags());
}

// --- point entry -----------------------------------------------------------------------------

void StepPointEntry(std::string& typed) {
  EditPromptLine(typed);
  if (ButtonResult == kEventMiddle && Construction.fileKind == 1) {
    Construction.catchRadius = 0;
    RunCatchModeMenu(Construction.lastPoint, typed, -1);
    Construction.event = ButtonResult;
  }
}

void CatchContourStart() {
  TConstructionState& s = Construction;
  if (s.catchRadius == 0) SnapPointToGuideLines(CursorPoint);
  s.cursorOnStart = 0;
  if (s.contourStart.type == 0) return;
  if (StartCatchDistance() > DistanceXY(CursorPoint.x, CursorPoint.y, s.contourStart.x, s.contourStart.y)) {
    CursorPoint.x = s.contourStart.x;
    CursorPoint.y = s.contourStart.y;
    s.cursorOnStart = 1;
  }
}

void TakeCursorPoint(TPointRecord& point) {
  const TConstructionState& s = Construction;
  const TPointRecord cursor = CursorPoint;
  TPointRecord snapped = cursor;
  SnapCursorPoint(snapped);
  point.x = snapped.x;
  point.y = snapped.y;
  if (s.contourStart.type != 0 &&
      StartCatchDistance() > DistanceXY(cursor.x, cursor.y, s.contourStart.x, s.contourStart.y)) {
    point.x = s.contourStart.x;
    point.y = s.contourStart.y;
  }
}

int ParseTypedNumbers(int expected) {
  TConstructionState& s = Construction;
  s.coordinates = TCoordinateList{};
  s.numberCount = 0;
  if (s.typedText.find_first_not_of(' ') == std::string::npos) return 0;
  int count = 0;
  ParseCoordinateList(s.typedText, s.coordinates, expected, count);
  s.numberCount = uint8_t(std::clamp(count, 0, 6));
  return s.numberCount;
}

float TypedNumber(int i) { return CoordinateListValue(Construction.coordinates, i); }

void BeginEntryLoop(const std::string& prompt, uint8_t& menuState) {
  ShowInputPrompt(prompt);
  ClearKeyBuffer();
  Construction.event = kEventNone;
  ButtonResult = 0;
  MouseButtonState = 0;  // the click that led here is used up
  menuState = GetCursorOverMenu() ? 1 : 0;
}

bool EntryLoopStep(uint8_t& menuState) {
  TConstructionState& s = Construction;
  StepPointEntry(s.typedText);
  CatchContourStart();
  if (s.event == kEventNone) s.event = ButtonResult;
  const uint8_t before = menuState;
  TestCursorOverMenu(menuState);
  if (before == 0 && menuState != 0 && s.event == kEventNone) s.event = kEventCancel;
  if (CloseRequested && s.event == kEventNone) s.event = kEventCancel;
  return s.event != kEventNone;
}

void ResolveConstructionPoint(TPointRecord& point) {
  if (Construction.event != kEventCancel && ParseTypedNumbers(2) == 2) {
    point.x = TypedNumber(1);
    point.y = TypedNumber(2);
  } else {
    TakeCursorPoint(point);
  }
}

void AskConstructionPoint(const std::string& prompt, TPointRecord& point) { RunPointEntry(prompt, point, false); }

void AskConstructionPointWithBand(const std::string& prompt, TPointRecord& point) {
  RunPointEntry(prompt, point, true);
}

void AskAndWritePoint(uint8_t type, const std::string& prompt) {
  TConstructionState& s = Construction;
  s.typedText.clear();
  TPointRecord p{type, 0.0f, 0.0f};
  AskConstructionPoint(prompt, p);
  if (s.event == kEventCancel) return;
  p.type = type;
  WriteConstructionPoint(p);
  s.lastPoint = p;
  if (type == kRecContourStart) {
    s.contourStart = p;
    s.startIndex = CountTargetRecords() - 1;
  }
}

// --- writing ---------------------------------------------------------------------------------

void WriteConstructionPoint(const TPointRecord& point) {
  WriteConstructionPointZ(point.type, point.x, point.y, 0.0f);
}

void WriteConstructionPointZ(uint8_t type, float x, float y, float z) {
  TConstructionState& s = Construction;
  s.closed = 0;
  if (s.contourStart.type != 0 && DistanceXY(x, y, s.contourStart.x, s.contourStart.y) < kConstructionSamePoint) {
    x = s.contourStart.x;
    y = s.contourStart.y;
    s.closed = 1;
  }
  AppendTargetRecord(TVectorRecord{type, x, y, z});
  if (s.closed) FlashClosedContour();
}

void WriteAndDrawPoint(const TPointRecord& point, int16_t colour) {
  TConstructionState& s = Construction;
  WriteConstructionPoint(point);
  EraseMouseCursor();
  SetDrawColorAndMode(kCopyMode, colour);
  MoveToWorldPoint(s.lastPoint.x, s.lastPoint.y);
  LineToWorldPoint(point.x, point.y);
}

void AppendContourPoint(const TPointRecord& point, uint8_t type) {
  TConstructionState& s = Construction;
  if (type == s.lastPoint.type && !PointsDiffer(point, s.lastPoint)) return;
  TPointRecord p{type, point.x, point.y};
  EraseMouseCursor();
  if (type == kRecContourStart) SetPenStyle(kPenDotted, kDottedPattern, 1);
  MarkEnteredPoint(p);
  WriteAndDrawPoint(p, s.layerColour);
  SetPenStyle(kPenSolid, 0xFFFF, 1);
  if (type == kRecContourStart) {
    s.contourStart = p;
    s.startIndex = CountTargetRecords() - 1;
  }
  s.lastPoint = p;
}

// --- drawing ---------------------------------------------------------------------------------

bool PointsDiffer(const TPointRecord& a, const TPointRecord& b) {
  return DistanceXY(a.x, a.y, b.x, b.y) > kConstructionSamePoint;
}

void DrawSegment(const TPointRecord& a, const TPointRecord& b) {
  MoveToWorldPoint(a.x, a.y);
  LineToWorldPoint(b.x, b.y);
}

void DrawRubberBand(const TPointRecord& point) {
  EraseMouseCursor();
  SetDrawColorAndMode(kXorMode, BandColor);
  DrawSegment(Construction.lastPoint, point);
}

void UpdateRubberBand(const TPointRecord& point) {
  TConstructionState& s = Construction;
  if (!PointsDiffer(point, s.bandEnd)) return;
  DrawRubberBand(s.bandEnd);
  s.bandEnd.x = point.x;
  s.bandEnd.y = point.y;
  DrawRubberBand(s.bandEnd);
}

void EraseRubberBand() {
  EraseMouseCursor();
  SetDrawColorAndMode(kCopyMode, PaperColor);
  DrawSegment(Construction.lastPoint, Construction.bandEnd);
}

void MarkEnteredPoint(const TPointRecord& point) {
  EraseMouseCursor();
  SetDrawColorAndMode(kCopyMode, kHighlightColour);
  DrawPointMarker(kEnteredMarker, point.x, point.y);
}

void DrawContourFromStart(int16_t colour) {
  const TConstructionState& s = Construction;
  const int32_t count = CountTargetRecords();
  std::vector<TVectorRecord> records;
  ReadTargetRecords(s.startIndex, std::min<int32_t>(count - s.startIndex, kConstructionTailRecords), records);
  DrawRecordsFrom(records, colour);
}

void FlashClosedContour() {
  DrawContourFromStart(kHighlightColour);
  BeepSignal(0);
  DelayMs(kFlashMs);
  DrawContourFromStart(Construction.layerColour);
}

// --- editing commands of the frame -----------------------------------------------------------------

void DeleteLastContour() {
  WaitForMouseRelease();
  const int32_t count = CountTargetRecords();
  if (count <= 0) return;
  if (count == 1) {
    TruncateTarget(0);
    return;
  }
  const int32_t first = std::max<int32_t>(0, count - kConstructionTailRecords);
  std::vector<TVectorRecord> records;
  ReadTargetRecords(first, count - first, records);
  if (records.empty()) return;
  int32_t cut = 0;
  for (int32_t i = int32_t(records.size()) - 1; i >= 0; --i) {
    if (records[size_t(i)].type == kRecContourStart) {
      cut = i;
      break;
    }
  }
  std::vector<TVectorRecord> tail(records.begin() + cut, records.end());
  DrawRecordsFrom(tail, PaperColor);
  TruncateTarget(first + cut);
}

void DeleteLastPoint(int flag) {
  WaitForMouseRelease();
  const int32_t count = CountTargetRecords();
  if (count <= 0) return;
  if (count == 1) {
    TruncateTarget(0);
    return;
  }
  std::vector<TVectorRecord> records;
  ReadTargetRecords(std::max<int32_t>(0, count - 3), std::min<int32_t>(count, 3), records);
  if (records.size() < 2) return;
  int32_t keep = count - 1;  // records kept: up to and including the one read
  TVectorRecord read = records[records.size() - 2];
  if (flag == 0 && read.type == kRecEmpty && count > 2 && records.size() == 3) {
    read = records[0];
    keep = count - 2;
  }
  EraseMouseCursor();
  SetDrawColorAndMode(kCopyMode, PaperColor);
  MoveToWorldPoint(read.x, read.y);
  LineToWorldPoint(records.back().x, records.back().y);
  TruncateTarget(keep);
}

void CloseContour() {
  TConstructionState& s = Construction;
  if (s.contourStart.type == 0 || !PointsDiffer(s.lastPoint, s.contourStart)) return;
  const TPointRecord p{kRecLinePoint, s.contourStart.x, s.contourStart.y};
  WriteAndDrawPoint(p, s.layerColour);
  s.lastPoint = p;
}
