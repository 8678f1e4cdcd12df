// Job scan before NC output.
#include "machine/nc_job_scan.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "machine/nc_blocks.h"
#include "view/view_transform.h"

namespace {

constexpr uint16_t kScanBlockRecords = 5000;

// The text of a name record: its 12 data bytes hold a length byte and the
// characters; at most 10 of them count.
std::string NamePiece(const TVectorRecord& r) {
  uint8_t data[12];
  std::memcpy(data, &r.x, 12);
  const int n = std::min<int>({data[0], 10, 11});
  return std::string(reinterpret_cast<const char*>(data + 1), static_cast<size_t>(n));
}

void SetToolName(TToolRecord& tool, const std::string& name) {
  const size_t n = std::min(name.size(), static_cast<size_t>(kToolNameMax));
  tool.name[0] = static_cast<uint8_t>(n);
  std::memcpy(tool.name + 1, name.data(), n);
}

std::string ToolName(const TToolRecord& tool) {
  const int n = std::min<int>(tool.name[0], kToolNameMax);
  return std::string(reinterpret_cast<const char*>(tool.name + 1), static_cast<size_t>(n));
}

}  // namespace

void ScanNcJob(TNcWriterState& st) {
  st.ToolTable.assign(kNcToolTableSize, TToolRecord{});
  for (int i = 0; i < kNcToolTableSize; ++i) {
    std::memset(&st.ToolTable[static_cast<size_t>(i)], 0, sizeof(TToolRecord));
    SetToolRecordDefaults(st.ToolTable[static_cast<size_t>(i)], MapLayerToColorIndex(i));
  }
  st.ToolCount = 0;

  st.ExtentMin = {1, 10000.0f, 10000.0f, 0.0f};
  st.ExtentMax = {5, -10000.0f, -10000.0f, 0.0f};
  st.ApproachDepth = 0.0f;
  st.FirstToolClearance = 0.0f;
  st.FirstToolSpeed = st.LastSpindleSpeed;
  st.FirstToolStation = static_cast<int16_t>(st.LastToolStation);
  bool firstTool = true;
  float depth = 0.0f;
  bool startMissing = true;

  const TErrorCode before = ErrorCode;
  ErrorCode = 0;
  TFileRec f;
  AssignFileChecked(f, st.InputFileName);
  if (ErrorCode == 0) ResetFileChecked(f, kVectorRecordSize, 0);
  const bool opened = ErrorCode == 0;
  if (!opened && before != 0) ErrorCode = before;
  if (opened) {
    ErrorCode = before;
    std::vector<TVectorRecord> buffer(kScanBlockRecords);
    uint16_t got = 0;
    do {
      got = ReadBlockChecked(f, buffer.data(), kScanBlockRecords);
      for (uint16_t i = 0; i < got; ++i) {
        const TVectorRecord& r = buffer[i];
        TToolRecord& tool = st.ToolTable[static_cast<size_t>(st.ToolCount)];
        switch (r.type) {
          case 10: case 11: case 12: case 27:
            if (r.x < st.ExtentMin.x) st.ExtentMin.x = r.x;
            if (r.y < st.ExtentMin.y) st.ExtentMin.y = r.y;
            if (r.x > st.ExtentMax.x) st.ExtentMax.x = r.x;
            if (r.y > st.ExtentMax.y) st.ExtentMax.y = r.y;
            if (r.z > depth) depth = r.z;
            if (startMissing && (r.type == 11 || r.type == 27)) {
              st.FirstContourStart = r;
              startMissing = false;
            }
            break;
          case 150:
            tool.shankRadius = r.x;
            tool.tipRadius = r.y;
            tool.angle = r.z;
            break;
          case 151:
            tool.ballRadius = r.x;
            break;
          case 152:
            SetToolName(tool, NamePiece(r));
            break;
          case 153:
            SetToolName(tool, ToolName(tool) + NamePiece(r));
            break;
          case 155:
            tool.feedZ = r.z;
            break;
          case 156:
            tool.feedXY = r.x;
            tool.plungeDepth = r.y;
            tool.clearanceHeight = r.z;
            if (firstTool) {
              st.ApproachDepth = r.y;
              st.FirstToolClearance = r.z;
              if (r.y > depth) depth = r.y;
            }
            break;
          case 157:
            tool.spindleSpeed = r.x;
            tool.toolLifePath = r.y;
            tool.changeStation = static_cast<int16_t>(std::clamp<int64_t>(RoundHalfEven(r.z), INT16_MIN, INT16_MAX));
            if (firstTool) {
              st.FirstToolSpeed = r.x;
              st.FirstToolStation = tool.changeStation;
              st.FirstToolName = ToolName(tool);
              firstTool = false;
            }
            if (st.ToolCount < kNcToolTableLast) st.ToolCount += 1;
            break;
          case 158:
            st.LastRecord158Z = r.z;
            break;
          default:
            break;
        }
      }
    } while (got == kScanBlockRecords);
    CloseFileChecked(f);
  }

  if (startMissing) {
    st.FirstContourStart.x = 0.0f;
    st.FirstContourStart.y = 0.0f;
    st.FirstContourStart.z = 0.0f;
  }
  if (depth < st.ApproachDepth) depth = st.ApproachDepth;
  st.ExtentMin.z = -depth;
  st.ExtentMax.z = 0.0f;
}
