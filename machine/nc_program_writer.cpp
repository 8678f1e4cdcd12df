// The NC program writer: the run and its record loop.
#include "machine/nc_program_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "model/geometry_2d.h"
#include "frame/checked_files.h"
#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/quiet_files.h"
#include "frame/window_draw.h"
#include "machine/nc_approach.h"
#include "machine/nc_arcs.h"
#include "machine/nc_blocks.h"
#include "machine/nc_dialect_rapids.h"
#include "machine/nc_export_commands.h"
#include "machine/nc_feed_moves.h"
#include "machine/nc_header.h"
#include "machine/nc_header_companions.h"
#include "machine/nc_job_scan.h"
#include "machine/nc_output_files.h"
#include "machine/nc_program_end.h"
#include "machine/nc_rapid_moves.h"
#include "cad/arc_fitting.h"
#include "paths/vector_cleanup.h"
#include "frame/progress_bar.h"
#include "view/redraw.h"
#include "view/view_transform.h"

const char* const kNcArcFittedName = "VekAR2.TMP";
const char* const kNcPreparedName = "VekAR3.TMP";

namespace {

constexpr uint16_t kLoopBlockRecords = 5000;
constexpr int16_t kArcToleranceBlock = 0;
constexpr uint16_t kArcToleranceBlockSize = 153;
constexpr int kArcToleranceOffset = 27;

// The name piece of a type 152/153 record: its 12 data bytes as a
// length-prefixed string, at most 10 characters.
std::string NamePiece(const TVectorRecord& r) {
  uint8_t data[12];
  std::memcpy(data, &r.x, 12);
  const int n = std::min<int>(data[0], 10);
  return std::string(reinterpret_cast<const char*>(data + 1), static_cast<size_t>(n));
}

int64_t RoundedInt(float v) { return RoundHalfEven(static_cast<double>(v)); }

// The adjustments on the fields of a packed record (no references into it).
void FixtureShift(const TNcWriterState& st, TVectorRecord& r) {
  float x = r.x, y = r.y;
  ApplyFixtureOffset(st, x, y);
  r.x = x;
  r.y = y;
}

void RoundXY(const TNcWriterState& st, TVectorRecord& r) {
  r.x = RoundedToNcResolution(st, r.x);
  r.y = RoundedToNcResolution(st, r.y);
}

bool SamePoint(const TVectorRecord& a, const TVectorRecord& b) {
  return a.x == b.x && a.y == b.y && a.z == b.z;
}

// Dialect 55's mode with the indexed rotary axis (Dialect55Mode 1).
bool IndexedAxisMode(const TNcWriterState& st) {
  return NcRapidsTrait(st.Dialect, kNcIndexedAxisMode) && st.Machine.Dialect55Mode == 1;
}

}  // namespace

// --- small services of the loop ------------------------------------------------------

void ApplyDepthOffset(const TNcWriterState& st, float& depth) {
  if (!NcRapidsTrait(st.Dialect, kNcDepthOffset)) return;
  depth -= st.DepthOffset5;
  if (depth < 0.0f) depth = 0.0f;
}

void ApplyFixtureOffset(const TNcWriterState& st, float& x, float& y) {
  if (!NcRapidsTrait(st.Dialect, kNcFixtureStations) || st.ToolStation <= 1000) return;
  static const float kShift[9][2] = {{0, 0},  {0, 32},  {0, 64},  {0, 96},  {0, 128},
                                     {32, 128}, {64, 128}, {96, 128}, {128, 128}};
  const uint32_t bits = static_cast<uint32_t>(st.ToolStation - 1000) & 0xFFFFu;
  for (int b = 0; b <= 8; ++b) {
    if ((bits & (1u << b)) != 0) {
      x += kShift[b][0];
      y += kShift[b][1];
      return;
    }
  }
}

void ShiftIndexAxisY(const TNcWriterState& st, TVectorRecord& record) {
  if (IndexedAxisMode(st)) record.y -= st.IndexAxisShift;
}

void WriteDinInsertFile(TNcWriterState& st, bool start) {
  if (!IndexedAxisMode(st)) return;
  CopyInsertFile(st, start ? "ErgaenzStart.DIN" : "ErgaenzEnde.DIN");
}

bool IsAtContourStart(const TNcWriterState& st, const TVectorRecord& record) {
  return record.x == RoundedToNcResolution(st, st.TargetPos.x) &&
         record.y == RoundedToNcResolution(st, st.TargetPos.y);
}

// --- arc fitting of the input --------------------------------------------------------

void FitArcsForOutput(TNcWriterState& st) {
  if (st.RotaryActive != 0) return;
  if (GetDialectRecord(st.Machine, st.Dialect).SimpleForm == 1) return;
  uint8_t block0[kArcToleranceBlockSize] = {};
  GetParamBlock(kArcToleranceBlock, block0, kArcToleranceBlockSize);
  float tolerance = 0.0f;
  std::memcpy(&tolerance, block0 + kArcToleranceOffset, sizeof tolerance);
  if (!(tolerance > 0.0f)) return;
  const float angleLimit = NcRapidsTrait(st.Dialect, kNcQuarterArcs) ? 1.5629814f : 6.2831855f;
  const float grid = NcRapidsTrait(st.Dialect, kNcFineArcGrid) ? 0.0001f : 0.001f;
  // The snap rewrites its file: never the caller's, only a scratch copy.
  if (st.InputFileName != kNcPreparedName) {
    CopyFileBytes(st.InputFileName, kNcPreparedName, false);
    st.InputFileName = kNcPreparedName;
  }
  SnapVectorFileToGrid(st.InputFileName, 1, grid);
  FitArcsInVectorFile(st.InputFileName, kNcArcFittedName, 1, angleLimit, tolerance, 10000.0f);
  st.InputFileName = kNcArcFittedName;
}

// --- the state of a run --------------------------------------------------------------

void InitNcWriterState(TNcWriterState& st) {
  const int d = st.Dialect;
  const TNcDialectRecord& entry = GetDialectRecord(st.Machine, d);
  // Rotary axis.
  if (std::fabs(st.Machine.RotaryDiameter) <= 0.001f) {
    st.RotaryFactor = 1.0f;
    st.RotaryActive = st.RotaryOn = 0;
  } else {
    const long double f = 57.29577951308232L / st.Machine.RotaryDiameter * 2.0L;
    st.RotaryFactor = static_cast<float>(f);
    st.RotaryActive = st.RotaryOn = 1;
  }
  if (NcRapidsTrait(d, kNcNoRotaryOutput)) st.RotaryActive = 0;
  st.ToolChangerBits = static_cast<uint8_t>(st.Machine.MazakToolFormat & 0xFF);
  st.CompensationSide = entry.RadiusCompSide;
  if (NcRapidsTrait(d, kNcDepthOffset)) st.DepthOffset5 = st.Machine.FdinZOffset;
  if (NcRapidsTrait(d, kNcNeverNumbered)) st.Machine.BlockNumbering = 0;
  st.BlockNumber = GetNcBlockNumberStart(d);
  st.BlockNumberLimit = GetNcBlockNumberLimit(d);
  st.LastPos = {0, kNcUnsetCoordinate, kNcUnsetCoordinate, 0.0f};
  st.TargetPos = st.LastPos;
  st.FirstContourStart = st.LastPos;
  st.NumberNextMove = 1;
  st.NumberNextToolBlock = 0;
  st.AngleFactorA = 1.0f;
  st.AngleFactorB = entry.SignB;
  st.AngleFactorC = entry.SignC;
  st.RotaryAxis = entry.RotaryLetter;
  st.RotaryMode = entry.RotaryParallel;
  st.OutTotal = 0;
  if (NcRapidsTrait(d, kNcAlwaysNumbered) && st.Machine.BlockNumbering == 0) st.Machine.BlockNumbering = 1;
}

void SetUpToolChangerBits(TNcWriterState& st) {
  st.RotaryIncremental = (NcRapidsTrait(st.Dialect, kNcRotaryIncremental) && st.RotaryActive != 0) ? 1 : 0;
  if ((st.ToolChangerBits & 0x30) != 0) {
    st.ToolChangerBits = static_cast<uint8_t>(st.ToolChangerBits & 0x0F);
    st.ToolChangerBits = static_cast<uint8_t>(st.ToolChangerBits | (st.RotaryIncremental != 0 ? 0x20 : 0x10));
  }
}

namespace {

void AskDialectQuestions(TNcWriterState& st) {
  if (NcRapidsTrait(st.Dialect, kNcAskTipCompensation)) {
    AskYesNoTwoLines(GetMessageText(kMsgNcQuestion12a, 39), GetMessageText(kMsgNcQuestion12b, 39),
                     st.DialectQuestion12);
  } else if (NcRapidsTrait(st.Dialect, kNcAskZeroPoint)) {
    AskYesNoMessage(kMsgNcQuestion31, st.DialectQuestion31);
  }
}

void HandleLinePoint(TNcWriterState& st, TNcLoopState& loop, TVectorRecord r) {
  if (!loop.arcPending) LineToWorldPoint(r.x, r.y);
  ShiftIndexAxisY(st, r);
  if (loop.arcPending) {
    WriteApproachMove(st, st.CutDepth);
    st.Plunging = 0;
    WriteNcArc(st, loop.centre, r, st.FeedXY);
    loop.arcPending = false;
    return;
  }
  RoundXY(st, r);
  FixtureShift(st, r);
  if (st.NeedApproach == 0 && r.x == st.LastPos.x && r.y == st.LastPos.y && st.CutDepth == st.LastPos.z) return;
  if (NcRapidsTrait(st.Dialect, kNcContourCycleFile) && st.NeedApproach != 0 && IsAtContourStart(st, r)) {
    WriteApproachMove(st, st.CutDepth);
    CopyInsertFile(st, "Zyklus.PGM");
    return;
  }
  WriteApproachMove(st, st.CutDepth);
  r.z = st.CutDepth;
  if (NcRapidsTrait(st.Dialect, kNcSkipsStandingPoints) && SamePoint(r, st.LastPos)) return;
  AddPathLength(st, r);
  st.Plunging = 0;
  WriteFeedMove(st, r, st.PendingAngles, st.FeedXY);
  CheckToolLife(st);
}

void HandlePoint3D(TNcWriterState& st, TNcLoopState& loop, TVectorRecord r) {
  if (!loop.arcPending) LineToWorldPoint(r.x, r.y);
  {
        float z = r.z;
        ApplyDepthOffset(st, z);
        r.z = z;
      }
  ShiftIndexAxisY(st, r);
  if (loop.arcPending) {
    WriteApproachMove(st, st.LastPos.z);
    st.Plunging = 0;
    WriteNcArc(st, loop.centre, r, st.FeedXY);
    loop.arcPending = false;
  } else {
    RoundXY(st, r);
    FixtureShift(st, r);
    r.z += st.SurfaceDepth;
    if (st.NeedApproach != 0) WriteApproachMove(st, st.ApproachDepth);
    AddPathLength(st, r);
    if (st.NeedApproach != 0 || !SamePoint(r, st.LastPos) || r.z == st.SurfaceDepth) {
      if (CheckSteepDescent(r, st.LastPos)) {
        st.Plunging = 1;
        WriteFeedMove(st, r, st.PendingAngles, st.FeedZ);
      } else {
        st.Plunging = 0;
        WriteFeedMove(st, r, st.PendingAngles, st.FeedXY);
      }
      CheckToolLife(st);
    }
  }
  st.After3DPoint = 1;
}

}  // namespace

void HandleNcRecord(TNcWriterState& st, TNcLoopState& loop, const TVectorRecord& rec) {
  TVectorRecord r = rec;
  switch (r.type) {
    case 10:
      HandleLinePoint(st, loop, r);
      break;
    case 11: {
      MoveToWorldPoint(r.x, r.y);
      FixtureShift(st, r);
      ShiftIndexAxisY(st, r);
      st.TargetPos = r;
      st.ContourAngles = st.PendingAngles;
      st.TargetPos.z = -st.ClearanceHeight;
      st.NeedApproach = 1;
      st.ApproachDepth = st.SurfaceDepth;
      break;
    }
    case 12:
      HandlePoint3D(st, loop, r);
      break;
    case 19:
      ShiftIndexAxisY(st, r);
      loop.centre = r;
      loop.arcPending = true;
      break;
    case 27: {
      if (st.TargetPos.type == 0) st.TargetPos = r;
      MoveToWorldPoint(r.x, r.y);
      {
        float z = r.z;
        ApplyDepthOffset(st, z);
        r.z = z;
      }
      FixtureShift(st, r);
      ShiftIndexAxisY(st, r);
      if (st.NeedApproach != 0) WriteApproachMove(st, st.TargetPos.z);
      st.TargetPos = r;
      st.ContourAngles = st.PendingAngles;
      WriteRapidMove(st, FormatPointWords(st, st.TargetPos));
      st.ApproachDepth = st.SurfaceDepth;
      break;
    }
    case 128: {
      const int64_t x = RoundedInt(r.x);
      if (x == -1 || x == 999) {
        st.NeedApproach = 0;
      } else {
        const int64_t y = RoundedInt(r.y);
        if (y == 1) CopyInsertFile(st, "ErgaenzStart.TXT");
        else if (y == 2) CopyInsertFile(st, "ErgaenzEnde.TXT");
      }
      break;
    }
    case 130:
      WriteDinInsertFile(st, false);
      break;
    case 131:
      st.PendingAngles.x = r.x;
      st.PendingAngles.y = r.y;
      st.PendingAngles.z = r.z;
      break;
    case 132:
      // Up to the safe height before the axis turns, in the dialect's Z sense.
      WriteNcBlock(st, "G0 Z" + FormatNcNumber(st, st.Machine.SafeZ * NcRapidsRow(st.Dialect).ZUp));
      st.LastPos.z = -st.Machine.SafeZ;
      st.TargetPos.z = -st.Machine.SafeZ;
      WriteAxisIndexMove(st, r);
      break;
    case 134:
      MoveToWorldPoint(r.x, r.y);
      ShiftIndexAxisY(st, r);
      st.TargetPos.x = r.x;
      st.TargetPos.y = r.y;
      st.NeedApproach = 0;
      WriteRapidMove(st, FormatPointWords(st, st.TargetPos));
      st.ApproachDepth = st.SurfaceDepth;
      WriteDinInsertFile(st, true);
      break;
    case 150:
      st.TipCompensation = (st.DialectQuestion12 != 0 && (r.y > 0.0f || r.z > 0.0f)) ? 1 : 0;
      break;
    case 152:
      st.FirstToolName = NamePiece(r);
      break;
    case 153:
      st.FirstToolName += NamePiece(r);
      if (st.FirstToolName.size() > 40) st.FirstToolName.resize(40);
      break;
    case 155:
      if (r.z >= 0.0f) st.FeedZ = r.z;
      break;
    case 156:
      st.FeedXY = r.x;
      st.CutDepth = r.y;
      st.SurfaceDepth = 0.0f;
      st.ClearanceHeight = r.z;
      ApplyDepthOffset(st, st.CutDepth);
      st.ApproachDepth = st.SurfaceDepth;
      break;
    case 157: {
      st.SpindleSpeed = r.x;
      st.ToolLife = r.y > 1.0f ? static_cast<double>(r.y) : 1000000000.0;
      const int64_t station = RoundedInt(r.z);
      st.ToolStation = static_cast<int32_t>(std::clamp<int64_t>(station, INT32_MIN, INT32_MAX));
      st.ToolHeaderCount = static_cast<int16_t>(st.ToolHeaderCount + 1);
      st.ToolChangePending = 1;
      break;
    }
    default:
      break;
  }
}

bool RunNcRecordLoop(TNcWriterState& st) {
  FitArcsForOutput(st);
  TFileRec f;
  const TErrorCode before = ErrorCode;
  ErrorCode = 0;
  AssignFileChecked(f, st.InputFileName);
  if (ErrorCode == 0) ResetFileChecked(f, kVectorRecordSize, 0);
  if (ErrorCode != 0) return false;  // reported by the checked wrappers
  ErrorCode = before;
  const int32_t total = GetFileSizeChecked(f);
  StartProgressBar(total);
  TNcLoopState loop;
  st.NeedApproach = 1;
  st.After3DPoint = 0;
  st.ApproachDepth = st.SurfaceDepth;
  st.ToolHeaderCount = -1;
  std::vector<TVectorRecord> buffer(kLoopBlockRecords);
  int32_t done = 0;
  bool aborted = false;
  uint16_t got = 0;
  do {
    got = ReadBlockChecked(f, buffer.data(), kLoopBlockRecords);
    if (got == 0) break;
    done += got;
    AdvanceProgressBar(done);
    SetDrawColorAndMode(13, 13);
    for (uint16_t i = 0; i < got && st.WriteFailed == 0; ++i) HandleNcRecord(st, loop, buffer[i]);
    aborted = CheckNcEscapeAbort();
  } while (got == kLoopBlockRecords && !aborted && st.WriteFailed == 0);
  CloseFileChecked(f);
  return aborted;
}

// --- the run --------------------------------------------------------------------------

void WriteNcProgram(const std::string& inputFile, const std::string& outputFile, const std::string& programName,
                    uint8_t dialect, uint8_t autoMode) {
  auto st = std::make_unique<TNcWriterState>();
  st->InputFileName = inputFile;
  st->OutputFileName = outputFile;
  st->ProgramName = programName;
  st->CallerInputName = inputFile;
  st->Dialect = dialect;
  st->AutoMode = autoMode;
  LoadNcSettings(st->Machine);
  InitNcWriterState(*st);
  // Input preparations, each on a scratch copy: the caller's file stays as it is.
  if (NcRapidsTrait(dialect, kNcTurnedJob)) {
    RotateJobForDialect46(inputFile, kNcPreparedName);
    st->InputFileName = kNcPreparedName;
  } else if (IndexedAxisMode(*st) && st->RotaryOn != 0) {
    CopyFileBytes(inputFile, kNcPreparedName, false);
    AddContourCentreRecords(kNcPreparedName, st->RotaryFactor);
    st->InputFileName = kNcPreparedName;
  }
  EraseMouseCursor();
  AskDialectQuestions(*st);

  const TErrorCode before = ErrorCode;
  ErrorCode = 0;
  AssignFileChecked(st->OutFile, outputFile);
  if (ErrorCode == 0) RewriteFileChecked(st->OutFile, 1);
  const bool created = ErrorCode == 0;  // a failure stays in ErrorCode, reported by the wrappers
  if (created) ErrorCode = before;
  if (created) {
    if (NcRapidsTrait(dialect, kNcAskToolChanger) && autoMode == 0) AskToolChanger(*st);
    SetUpToolChangerBits(*st);
    ScanNcJob(*st);
    if (st->Machine.SafeZ < st->FirstToolClearance) st->Machine.SafeZ = st->FirstToolClearance;
    WriteNcProgramHeader(*st);
    st->CutDepth = st->ApproachDepth + st->FirstToolClearance;
    st->SurfaceDepth = st->FirstToolClearance;
    if (st->WriteFailed == 0) RunNcRecordLoop(*st);
    FinishNcProgram(*st);
    CloseFileChecked(st->OutFile);
    if (st->SisterToolUsed != 0) DelayMs(2000);
    if (NcRapidsTrait(dialect, kNcTurnedJob)) {
      if (st->SisterToolUsed == 0) DelayMs(1000);
      RedrawFileView(st->CallerInputName, 1);
    }
  }
  CreateEmptyFile(kNcArcFittedName);
  CreateEmptyFile(kNcPreparedName);
}

void FinishNcProgram(TNcWriterState& st) {
  if (st.WriteFailed == 0) {
    WriteNcProgramEnd(st);
    if (st.OutCount > 0) FlushNcBuffer(st);
  }
  // A failure of the last flush is reported as well: the program is cut.
  if (st.WriteFailed != 0) ShowMessageNumber(kMsgNcWriteFailed);
}
