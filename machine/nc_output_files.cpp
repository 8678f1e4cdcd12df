// NC output file names and the dialect pre-passes.
#include "machine/nc_output_files.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "frame/checked_files.h"
#include "frame/defaults.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "machine/nc_dialect_moves.h"
#include "machine/nc_settings.h"
#include "frame/window_draw.h"
#include "model/record_stream.h"
#include "model/vector_records.h"
#include "ui/file_dialogs.h"
#include "view/graphic_window.h"
#include "view/view_transform.h"

namespace {

constexpr uint16_t kBlockRecords = 5000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

size_t FolderEnd(const std::string& name) {
  const size_t slash = name.find_last_of("\\:");
  return slash == std::string::npos ? 0 : slash + 1;
}

bool IsPointRecord(uint8_t type) { return type == 10 || type == 11 || type == 12 || type == 27; }
bool IsStartRecord(uint8_t type) { return type == 11 || type == 27; }
bool IsArcCentreRecord(uint8_t type) { return type == 19; }

}  // namespace

std::string GetNcFileFolderPart(const std::string& name) { return name.substr(0, FolderEnd(name)); }

std::string GetNcFileNamePart(const std::string& name) {
  std::string part = name.substr(FolderEnd(name));
  const size_t dot = part.rfind('.');
  if (dot != std::string::npos) part.resize(dot);
  return part;
}

bool IsDigitsFileName(const std::string& name) {
  const std::string part = GetNcFileNamePart(name);
  const bool ok = !part.empty() && std::all_of(part.begin(), part.end(), IsDigit);
  if (!ok) ShowTitledMessage(GetMessageText(kMsgNcDigitsName, -39) + "\r\n12345678  !");
  return ok;
}

bool IsONumberFileName(const std::string& name) {
  const std::string part = GetNcFileNamePart(name);
  const bool ok = !part.empty() && part.size() <= 5 && (part[0] == 'O' || part[0] == 'o') &&
                  std::all_of(part.begin() + 1, part.end(), IsDigit);
  if (!ok)
    ShowTitledMessage(GetMessageText(kMsgNcONumberName, -39) + "\r\n" + GetMessageText(kMsgNcDigitsName, -39) +
                      "\r\n\"O1234\"");
  return ok;
}

std::string AcceptNcOutputFileName(const std::string& name, int dialect) {
  bool accepted = false;
  switch (NcMovesRow(dialect).NameRule) {
    case kNameDigits: accepted = IsDigitsFileName(name); break;
    case kNameONumber: accepted = IsONumberFileName(name); break;
    case kNameAny: accepted = !name.empty(); break;
  }
  if (!accepted) return "";
  uint8_t folder[256] = {};
  WriteNcString(folder, 255, GetNcFileFolderPart(name));
  PutParamBlock(kNcFolderBlock, folder, sizeof folder);
  TNcSettings* settings = new TNcSettings;
  LoadNcSettings(*settings);
  WriteNcString(settings->LastNcFile, 255, name);
  StoreNcSettings(*settings);
  delete settings;
  return name;
}

void ChooseNcOutputFile(std::string& name, int maxLength, int dialect) {
  name.clear();
  uint8_t folder[256] = {};
  GetParamBlock(kNcFolderBlock, folder, sizeof folder);
  std::string chosen;
  RunFileDialog(ReadNcString(folder, 255), GetNcFileExtension(static_cast<int16_t>(dialect)), 10, chosen, 1);
  if (maxLength >= 0 && chosen.size() > static_cast<size_t>(maxLength)) chosen.resize(static_cast<size_t>(maxLength));
  name = AcceptNcOutputFileName(chosen, dialect);
}

void RotateJobForDialect46(const std::string& sourceName, const std::string& targetName) {
  TFileRec source;
  TFileRec target;
  AssignFileChecked(source, sourceName);
  ResetFileChecked(source, kVectorRecordSize, 0);
  if (ErrorCode != 0) return;
  AssignFileChecked(target, targetName);
  RewriteFileChecked(target, kVectorRecordSize);
  if (ErrorCode != 0) {
    CloseFileChecked(source);
    return;
  }
  std::vector<TVectorRecord> buffer(kBlockRecords);
  uint16_t got = ReadBlockChecked(source, buffer.data(), 13);
  bool haveMin = false;
  bool haveMax = false;
  float minX = 0, minY = 0, maxX = 0, maxY = 0;
  for (uint16_t i = 0; i < got && !haveMax; ++i) {
    if (buffer[i].type == 1) {
      minX = buffer[i].x;
      minY = buffer[i].y;
      haveMin = true;
    } else if (buffer[i].type == 5) {
      maxX = buffer[i].x;
      maxY = buffer[i].y;
      haveMax = true;
    }
  }
  ResetFileChecked(source, kVectorRecordSize, 0);  // back to the start
  ClearGraphicWindow();
  if (haveMin && haveMax) FitViewToExtent(TExtentsPair{{1, -maxY, minX}, {5, -minY, maxX}});
  SetDrawColorAndMode(13, 274);
  do {
    got = ReadBlockChecked(source, buffer.data(), kBlockRecords);
    for (uint16_t i = 0; i < got; ++i) {
      TVectorRecord& r = buffer[i];
      if (IsPointRecord(r.type)) {
        const float x = r.x;
        r.x = -r.y;
        r.y = x;
        if (IsStartRecord(r.type)) MoveToWorldPoint(r.x, r.y);
        else LineToWorldPoint(r.x, r.y);
      } else if (IsArcCentreRecord(r.type)) {
        // The centre turns with the arc's points, or the arc changes its radius.
        const float x = r.x;
        r.x = -r.y;
        r.y = x;
      } else if (r.type == 151) {
        SetDrawColorAndMode(13, GetRecordColorIndex(r));
      }
    }
    if (got > 0 && WriteBlockChecked(target, buffer.data(), got) < got) break;
  } while (got == kBlockRecords);
  CloseFileChecked(source);
  CloseFileChecked(target);
}

void AddContourCentreRecords(const std::string& fileName, float rotaryScale) {
  TVectorArray job;
  LoadVectorFileToBuffer(fileName, job);
  if (job.records == nullptr) return;  // the file stays as it was
  TFileRec file;
  AssignFileChecked(file, fileName);
  RewriteFileChecked(file, kVectorRecordSize);
  if (ErrorCode != 0) {
    FreeVectorBuffer(job);
    return;
  }
  // Every block is tried, each failure reported by the checked layer.
  TRecordFileWriter out;
  StartRecordFileWriter(out, file, kVectorRecordSize, kBlockRecords, WriteBlockCheckedCall, false);
  auto put = [&out](const TVectorRecord& r) { PutRecord(out, &r); };
  // Writes the group a..b (b exclusive) framed by its centre records. An
  // empty group or a lone contour start writes nothing.
  auto closeGroup = [&](int32_t a, int32_t b) {
    if (a >= b || (b - a == 1 && IsStartRecord(job.records[a].type))) return;
    float minX = 100000.0f, maxX = -100000.0f, minY = 100000.0f, maxY = -100000.0f;
    for (int32_t i = a; i < b; ++i) {
      const TVectorRecord& r = job.records[i];
      if (!IsPointRecord(r.type)) continue;
      const float x = r.x;
      const float y = r.y;
      minX = std::min(minX, x);
      maxX = std::max(maxX, x);
      minY = std::min(minY, y);
      maxY = std::max(maxY, y);
    }
    const float centreY = (minY + maxY) / 2.0f;
    put(TVectorRecord{132, centreY * rotaryScale, centreY, 0.0f});
    put(TVectorRecord{134, (minX + maxX) / 2.0f, centreY, 0.0f});
    PutRecords(out, job.records + a, b - a);
    put(TVectorRecord{130, 0.0f, 0.0f, 0.0f});
  };
  int32_t groupStart = 0;
  for (int32_t i = 0; i < job.count; ++i) {
    const uint8_t type = job.records[i].type;
    if (IsStartRecord(type)) {
      closeGroup(groupStart, i);
      groupStart = i;
    } else if (type != 10 && type != 12) {
      // Any other record ends the group and is copied once; the next group
      // begins behind it.
      closeGroup(groupStart, i);
      PutRecord(out, &job.records[i]);
      groupStart = i + 1;
    }
  }
  closeGroup(groupStart, job.count);
  FlushRecordFileWriter(out);
  CloseFileChecked(file);
  FreeVectorBuffer(job);
}
