// The tool table and tool records carried by path files.
#include "paths/tool_table.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "model/geometry_2d.h"
#include "ui/prompt_line.h"
#include "frame/checked_files.h"
#include "frame/data_slots.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/system_services.h"
#include "model/layer_files.h"
#include "model/record_checks.h"
#include "ui/input_form.h"
#include "ui/ui_hooks.h"
#include "view/character_cells.h"
#include "view/view_transform.h"

namespace {

constexpr uint32_t PackRgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

constexpr uint32_t kStandardColours[16] = {
    0,
    PackRgb(0, 0, 128),      // 1
    PackRgb(0, 128, 0),      // 2
    PackRgb(0, 128, 128),    // 3
    PackRgb(128, 0, 0),      // 4
    PackRgb(128, 0, 128),    // 5
    PackRgb(128, 0, 0),      // 6
    PackRgb(192, 192, 192),  // 7
    PackRgb(128, 128, 128),  // 8
    PackRgb(0, 0, 255),      // 9
    PackRgb(0, 255, 0),      // 10
    PackRgb(0, 255, 255),    // 11
    PackRgb(255, 0, 0),      // 12
    PackRgb(255, 0, 255),    // 13
    PackRgb(255, 255, 0),    // 14
    PackRgb(255, 255, 255),  // 15
};

bool IsToolPlace(int32_t n) { return n >= 0 && n < kToolCount; }

std::vector<TToolRecord> CopyToolTable() {
  std::vector<TToolRecord> table(kToolCount);
  GetParamBlock(kToolTableBlock, table.data(), uint16_t(kToolTableBytes));
  return table;
}

void StoreToolTable(const std::vector<TToolRecord>& table) {
  PutParamBlock(kToolTableBlock, table.data(), uint16_t(kToolTableBytes));
}

// Round half to even, as the program's arithmetic does.
double RoundEven(double v) { return std::nearbyint(v); }

// The text of a name record: a length byte (at most 11 characters fit in the
// record) and the characters; the first ten are the name's piece.
std::string NamePiece(const TVectorRecord& record) {
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&record);
  const size_t length = std::min<size_t>(std::min<size_t>(bytes[1], 11), 10);
  return std::string(reinterpret_cast<const char*>(bytes + 2), length);
}

void SetToolName(TToolRecord& tool, const std::string& name) { SetToolNameText(tool, name); }
std::string ToolName(const TToolRecord& tool) { return ToolNameText(tool); }

// Length byte 11, ten characters of the blank-padded name from first, a zero byte.
void PutNamePiece(TVectorRecord& record, const std::string& name, size_t first) {
  const std::string padded = name + std::string(22, ' ');
  uint8_t* bytes = reinterpret_cast<uint8_t*>(&record);
  bytes[1] = 11;
  for (size_t i = 0; i < 10; ++i) bytes[2 + i] = uint8_t(padded[first + i]);
  bytes[12] = 0;
}

void ApplyToolRecordsOfSlot(int slot, TToolRecord& tool) {
  TRecordBuffer buffer;
  AllocRecordBuffer(1, buffer, 1);
  bool done = false;
  while (!done) {
    int32_t count = 0;
    ReadDataFileSlot(slot, buffer, kSlotBlockRecords, count);
    const TVectorRecord* records = reinterpret_cast<const TVectorRecord*>(buffer.bytes.data());
    for (int32_t i = 0; i < count && !done; ++i) {
      if (records[i].type < kRecTool1 || records[i].type > kRecTool8) continue;
      ReadToolHeaderRecord(records[i], tool);
      done = records[i].type == kRecTool8;
    }
    if (count < kSlotBlockRecords) break;
  }
  AllocRecordBuffer(1, buffer, 0);
}

}  // namespace

std::string ToolNameText(const TToolRecord& tool) {
  const size_t length = std::min<size_t>(tool.name[0], kToolNameMax);
  return std::string(reinterpret_cast<const char*>(&tool.name[1]), length);
}

void SetToolNameText(TToolRecord& tool, const std::string& name) {
  const size_t length = std::min<size_t>(name.size(), kToolNameMax);
  std::memset(tool.name, 0, sizeof tool.name);
  tool.name[0] = uint8_t(length);
  std::memcpy(&tool.name[1], name.data(), length);
}

uint32_t ToolColourToRgb(int32_t colourNumber) {
  if (colourNumber >= 0 && colourNumber <= 15) return kStandardColours[colourNumber];
  if (colourNumber >= 16 && colourNumber <= 28) return kStandardColours[colourNumber - 14];
  if (colourNumber >= 29 && colourNumber <= 31) return kStandardColours[colourNumber - 28];
  return 0;
}

// --- the table ---------------------------------------------------------------------

void ReadToolRecord(TToolRecord& tool, int32_t n) {
  if (!IsToolPlace(n)) {
    SetToolRecordDefaults(tool, 0);
    return;
  }
  tool = CopyToolTable()[size_t(n)];
}

void WriteToolRecord(const TToolRecord& tool, int32_t n) {
  if (!IsToolPlace(n)) return;
  std::vector<TToolRecord> table = CopyToolTable();
  table[size_t(n)] = tool;
  StoreToolTable(table);
}

void ResetFirstToolRecords() {
  std::vector<TToolRecord> table = CopyToolTable();
  for (int i = 0; i < 50; ++i) SetToolRecordDefaults(table[size_t(i)], MapLayerToColorIndex(i));
  StoreToolTable(table);
}

bool HasDefinedTools(int16_t n) {
  const std::vector<TToolRecord> table = CopyToolTable();
  for (int i = 0; i <= n && i < kToolCount; ++i)
    if (!IsEmptyToolRecord(table[size_t(i)])) return true;
  return false;
}

// --- checks --------------------------------------------------------------------------

uint8_t CheckToolValues(const TToolRecord& tool, uint8_t bits) {
  uint8_t failed = 0;
  if (!(tool.plungeDepth > 0.0f)) failed |= kToolCheckPlunge;
  if (!(tool.tipRadius > 0.0f) && !(tool.ballRadius > 0.0f)) failed |= kToolCheckRadius;
  if (!(tool.feedXY > 0.0f)) failed |= kToolCheckFeedXY;
  if (!(tool.feedZ > 0.0f)) failed |= kToolCheckFeedZ;
  if (tool.changeStation == 0) failed |= kToolCheckStation;
  return failed & bits;
}

bool AreToolValuesComplete(const TToolRecord& tool) { return CheckToolValues(tool, kToolCheckAll) == 0; }

bool ConfirmToolValues(const TToolRecord& tool, uint8_t bits) {
  const uint8_t failed = CheckToolValues(tool, bits);
  if (failed == 0) return true;
  int16_t message = 1034;
  if (failed & kToolCheckPlunge)
    message = 1031;
  else if (failed & kToolCheckRadius)
    message = 1032;
  else if (failed & (kToolCheckFeedXY | kToolCheckFeedZ))
    message = 1033;
  ShowTitledMessage(GetMessageText(message, -39));
  return false;
}

bool IsEmptyToolRecord(const TToolRecord& tool) {
  return tool.name[0] == 0 && tool.plungeDepth == 0.0f && tool.clearanceHeight == 0.5f && tool.tipRadius == 0.0f &&
         tool.angle == 0.0f && tool.ballRadius == 0.0f && tool.shankRadius == 2.0f && tool.feedXY == 2.0f &&
         tool.feedZ == 1.0f && tool.spindleSpeed == 0.0f && tool.toolLifePath == 0.0f && tool.changeStation == 0 &&
         tool.extra[1] == 0.0f && tool.extra[2] == 0.0f && tool.extra[3] == 0.0f;
}

bool IsToolRecordOutOfRange(const TToolRecord& tool) {
  auto outside = [](float v, float low, float high) { return !(v >= low && v <= high); };
  if (tool.name[0] > kToolNameMax) return true;
  for (float v : {tool.plungeDepth, tool.clearanceHeight, tool.tipRadius, tool.ballRadius, tool.shankRadius,
                  tool.feedXY, tool.feedZ})
    if (outside(v, 0.0f, 1000.0f)) return true;
  if (outside(tool.angle, 0.0f, 90.0f)) return true;
  if (outside(tool.spindleSpeed, 0.0f, 500000.0f)) return true;
  return uint16_t(tool.changeStation) > 10000;
}

float GetCurrentToolCutRadius() {
  TToolRecord tool;
  ReadToolRecord(tool, CurrentLayer);
  return ComputeToolRadiusAtDepth(tool);
}

bool IsCurrentToolUsable() {
  TToolRecord tool;
  ReadToolRecord(tool, CurrentLayer);
  return tool.changeStation != 0 && tool.plungeDepth > 0.0f && (tool.tipRadius > 0.005f || tool.ballRadius > 0.005f);
}

uint8_t GetToolEditorGroup() {
  switch (VariantNumber) {
    case 0: case 1: case 4: case 5: case 6: return 2;
    default: return 0;
  }
}

// --- tools in vector files -------------------------------------------------------------

void ReadToolHeaderRecord(const TVectorRecord& record, TToolRecord& tool) {
  switch (record.type) {
    case kRecTool1:
      tool.shankRadius = record.x;
      tool.tipRadius = record.y;
      tool.angle = record.z;
      break;
    case kRecToolColour:
      tool.ballRadius = record.x;
      tool.colorNumber = RgbToColorIndex(uint32_t(GetRecordZInt(record)));
      break;
    case kRecToolName1:
      SetToolName(tool, NamePiece(record));
      break;
    case kRecToolName2:
      SetToolName(tool, ToolName(tool) + NamePiece(record));
      break;
    case kRecTool6:
      // Only a whole number 0-255 is a type code.
      tool.switch132 = (record.x >= 0.0f && record.x < 256.0f) ? uint8_t(std::min(RoundEven(record.x), 255.0)) : 0;
      tool.feedZ = record.z;
      break;
    case kRecToolFeed:
      tool.feedXY = record.x;
      tool.plungeDepth = record.y;
      tool.clearanceHeight = record.z;
      break;
    case kRecTool8: {
      tool.spindleSpeed = record.x;
      tool.toolLifePath = record.y;
      const double station = std::isfinite(record.z) ? std::clamp(RoundEven(record.z), 0.0, 65535.0) : 0.0;
      tool.changeStation = int16_t(uint16_t(station));
      tool.radiusLimited = 0;
      break;
    }
    default:
      break;
  }
}

void ReadFirstToolOfFile(const std::string& name, TToolRecord& tool) {
  SetToolRecordDefaults(tool, 0);
  int slot = 0;
  OpenDataFileSlot(name, 1, slot, 0);
  if (slot == 0) return;
  ApplyToolRecordsOfSlot(slot, tool);
  CloseDataFileSlot(slot);
}

void ReadToolFromHeaderRecords(const TVectorRecord* records, int32_t count, TToolRecord& tool) {
  SetToolRecordDefaults(tool, 0);
  for (int32_t i = 0; i < std::min<int32_t>(count, 13); ++i) {
    if (records[i].type < kRecTool1 || records[i].type > kRecTool8) continue;
    ReadToolHeaderRecord(records[i], tool);
    if (records[i].type == kRecTool8) break;
  }
  const std::string name = ToolName(tool);
  SetToolName(tool, name.substr(0, name.find(' ')));
}

void ReadToolRecordsFromSlot(TToolRecord (&tools)[kToolCount], int32_t (&positions)[kToolCount], int32_t& count,
                             int slot) {
  count = 0;
  ShowPromptLine(0, GetMessageText(554, -39), 260, 274);
  TRecordBuffer buffer;
  AllocRecordBuffer(1, buffer, 1);
  int32_t base = 0;
  for (;;) {
    int32_t read = 0;
    ReadDataFileSlot(slot, buffer, kSlotBlockRecords, read);
    const TVectorRecord* records = reinterpret_cast<const TVectorRecord*>(buffer.bytes.data());
    for (int32_t i = 0; i < read; ++i) {
      const uint8_t type = records[i].type;
      if (type < kRecTool1 || type > kRecTool8) continue;
      if (type == kRecTool1) positions[count] = base + i;
      ReadToolHeaderRecord(records[i], tools[count]);
      if (type == kRecTool8 && count < kToolCount - 1) ++count;
    }
    base += read;
    if (read < kSlotBlockRecords) break;
  }
  AllocRecordBuffer(1, buffer, 0);
  ShowPromptLine(0, "", 260, 274);
}

void ReadToolsOfFile(const std::string& name, TToolRecord (&tools)[kToolCount], int32_t& count) {
  for (int i = 0; i < kToolCount; ++i) SetToolRecordDefaults(tools[i], MapLayerToColorIndex(i));
  count = 0;
  int slot = 0;
  OpenDataFileSlot(name, 1, slot, 0);
  if (slot == 0) return;
  int32_t positions[kToolCount] = {};
  ReadToolRecordsFromSlot(tools, positions, count, slot);
  CloseDataFileSlot(slot);
}

void WriteToolHeaderRecordsToSlot(int slot, int32_t position, const TToolRecord& tool) {
  if (position < 0) return;
  TRecordBuffer buffer;
  buffer.bytes.assign(8 * sizeof(TVectorRecord), 0);
  SeekDataFileSlot(slot, position);
  int32_t read = 0;
  ReadDataFileSlot(slot, buffer, 8, read);
  TVectorRecord r[8];
  std::memcpy(r, buffer.bytes.data(), sizeof r);
  // Only a whole tool is rewritten: a wrong position must not damage paths.
  if (read != 8) return;
  for (int k = 0; k < 8; ++k)
    if (r[k].type != kRecTool1 + k) return;
  const std::string name = ToolName(tool);
  r[0].x = tool.shankRadius;
  r[0].y = tool.tipRadius;
  r[0].z = tool.angle;
  r[1].x = tool.ballRadius;
  r[1].y = 0.0f;
  SetRecordZInt(r[1], int32_t(ToolColourToRgb(tool.colorNumber)));
  PutNamePiece(r[2], name, 0);
  PutNamePiece(r[3], name, 10);
  r[5].z = tool.feedZ;
  r[6].x = tool.feedXY;
  r[6].y = tool.plungeDepth;
  r[6].z = tool.clearanceHeight;
  r[7].x = tool.spindleSpeed;
  r[7].y = tool.toolLifePath;
  r[7].z = float(uint16_t(tool.changeStation));
  std::memcpy(buffer.bytes.data(), r, sizeof r);
  SeekDataFileSlot(slot, position);
  int32_t written = 0;
  WriteDataFileSlot(slot, buffer, 8, written);
}

void WriteToolHeaderRecords(const std::string& name, int32_t position, const TToolRecord& tool) {
  int slot = 0;
  OpenDataFileSlot(name, 1, slot, 2);
  if (slot == 0) return;
  WriteToolHeaderRecordsToSlot(slot, position, tool);
  CloseDataFileSlot(slot);
}

// --- dialogs ----------------------------------------------------------------------------

namespace {

void FillLayerDefaults(TToolRecord* tools) {
  for (int i = 0; i < kToolCount; ++i) SetToolRecordDefaults(tools[i], MapLayerToColorIndex(i));
}

// The input form reaches the tool selection and the tool records through
// its hooks, set once when the program starts.
const bool kToolChooserRegistered = [] {
  ToolChooserHook = SelectToolForInputForm;
  ToolRecordReader = ReadToolRecord;
  return true;
}();

}  // namespace

bool ShowToolListDialog(const std::string& title, TToolRecord* tools, int16_t& index, int16_t highest,
                        TToolEditorGroup group) {
  return RunToolTableEditor(title, tools, index, highest, group, 0);
}

void RunToolSelectionDialog(int16_t& index, int16_t highest, TToolEditorGroup group) {
  std::vector<TToolRecord> table = CopyToolTable();
  if (RunToolTableEditor(GetMessageText(540, -39), table.data(), index, highest, group, 1)) StoreToolTable(table);
  if (WindowTitleHook != nullptr) WindowTitleHook();
  WaitForMouseRelease();
}

void SelectTool(int16_t index, TToolEditorGroup group) {
  int16_t copy = index;
  RunToolSelectionDialog(copy, kToolCount - 1, group);
}

void SelectToolForInputForm() { RunToolSelectionDialog(ToolChooserNumber, kToolCount - 1, 0); }

void RunToolTableCommand() {
  const std::string name = GetCurrentLayerFileName();
  if (CheckFileHasToolRecords(name))
    EditToolsInVectorFile(name);
  else
    SelectTool(int16_t(CurrentLayer), GetToolEditorGroup());
}

void EditToolsInVectorFile(const std::string& name) {
  TToolRecord tools[kToolCount];
  FillLayerDefaults(tools);
  int slot = 0;
  OpenDataFileSlot(name, 1, slot, 2);
  if (slot == 0) return;
  int32_t positions[kToolCount];
  std::fill(std::begin(positions), std::end(positions), -1);
  int32_t count = 0;
  ReadToolRecordsFromSlot(tools, positions, count, slot);
  if (count > 0) {
    int16_t index = 0;
    // Only the eight records of each tool are rewritten, where they were found.
    if (ShowToolListDialog(GetMessageText(1509, -39), tools, index, int16_t(count - 1), 0))
      for (int32_t i = 0; i < count; ++i) WriteToolHeaderRecordsToSlot(slot, positions[i], tools[i]);
  } else {
    ShowMessageNumber(42);
  }
  CloseDataFileSlot(slot);
  ClearKeyBuffer();
}

bool EditSingleToolRecord(TToolRecord& tool) {
  TToolRecord tools[kToolCount];
  FillLayerDefaults(tools);
  tools[0] = tool;
  int16_t index = 0;
  if (!ShowToolListDialog(GetMessageText(1509, -39), tools, index, 0, 0)) return false;
  tool = tools[0];
  return true;
}

// --- pictures ----------------------------------------------------------------------------

void DrawToolPicture(int x1, int y1, int x2, int y2, int mode, const TToolRecord& tool) {
  (void)mode;
  const TToolRecord copy = tool;
  DrawToolProfileHook(x1, y1, x2, y2, copy);
}

void DrawToolPictureByIndex(int32_t flags, const TBox& box, TToolRecord& tool) {
  if (flags & 0x8000) {
    DrawGreyEtchedBox(box.x1, box.y1, box.x2, box.y2);
    SetToolRecordDefaults(tool, 0);
    return;
  }
  ReadToolRecord(tool, flags);
  DrawToolPicture(box.x1, box.y1, box.x2, box.y2, 0, tool);
}
