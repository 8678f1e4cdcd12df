// Drawing files (".SLD"): writing and the commands around it.
#include "model/drawing_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "ui/prompt_line.h"
#include "frame/codepage.h"
#include "frame/checked_files.h"
#include "frame/data_slots.h"
#include "frame/defaults.h"
#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/system_services.h"
#include "model/drawing_load.h"
#include "model/layer_files.h"
#include "model/property_store.h"
#include "model/vector_store.h"
#include "model/vector_records.h"
#include "paths/machining_services_standin.h"
#include "text/text_services_standin.h"
#include "ui/common_dialogs.h"
#include "ui/file_dialogs.h"
#include "ui/file_list.h"
#include "ui/line_editor.h"
#include "ui/popup_list.h"
#include "ui/prompt_strip.h"
#include "commands/input_wait.h"
#include "view/extents.h"
#include "view/redraw.h"
#include "view/character_cells.h"
#include "view/progress_bar.h"

int64_t SldWriteByteLimit = -1;

namespace {

// The output of one save: every write goes through Put, which notes a
// short write.
struct TSldWriter {
  TFileRec file;
  int32_t position = 0;
  bool failed = false;
};

void Put(TSldWriter& w, const void* bytes, int32_t count) {
  if (w.failed || count <= 0) return;
  int32_t allowed = count;
  if (SldWriteByteLimit >= 0) {
    allowed = static_cast<int32_t>(std::min<int64_t>(count, SldWriteByteLimit));
    SldWriteByteLimit -= allowed;
  }
  const int32_t put = allowed > 0 ? WriteBlockLongChecked(w.file, bytes, allowed) : 0;
  w.position += put > 0 ? put : 0;
  if (put != count) w.failed = true;
}

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
  std::vector<TVectorRecord> out;
  out.reserve(kSlotBlockRecords);
  auto flush = [&]() {
    Put(w, out.data(), static_cast<int32_t>(out.size() * kVectorRecordSize));
    out.clear();
  };
  for (int layer = 0; layer <= HighestLayer && !w.failed; ++layer) {
    if (LayerRecordCounts[layer] <= 0) continue;
    int slot = 0;
    OpenDataFileSlot(BuildLayerFileName(layer), 1, slot, 2);
    if (slot == 0) {
      w.failed = true;
      break;
    }
    TVectorRecord layerRecord{kRecLayer, static_cast<float>(layer), 0.0f, 0.0f};
    out.push_back(layerRecord);
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
        out.push_back(r);
        if (static_cast<int32_t>(out.size()) == kSlotBlockRecords) flush();
      }
    } while (got == 1000 && !w.failed);
    AllocRecordBuffer(1, buffer, 0);
    CloseDataFileSlot(slot);
    flush();
  }
}

// Copies a file's bytes into the drawing (vector section of an export).
void CopyFileIntoSld(TSldWriter& w, const std::string& source, int32_t recordSize) {
  if (source.empty() || GetFileByteSize(source) < 2) return;
  TFileRec f;
  AssignFileChecked(f, source);
  ResetFileChecked(f, 1, 0);
  if (f.state != plat::kFileInput && f.state != plat::kFileInOut) {
    w.failed = true;
    return;
  }
  int32_t size = GetFileSizeChecked(f);
  if (recordSize > 1) size -= size % recordSize;
  std::vector<uint8_t> chunk(65535);
  while (size > 0 && !w.failed) {
    const int32_t n = std::min<int32_t>(size, static_cast<int32_t>(chunk.size()));
    const int32_t got = ReadBlockLongChecked(f, chunk.data(), n);
    if (got != n) w.failed = true;
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
  AllocObjectNumberList();
  TSldWriter w;
  AssignFileChecked(w.file, temp);
  RewriteFileChecked(w.file, 1);
  if (w.file.state != plat::kFileOutput && w.file.state != plat::kFileInOut) {
    FreeObjectNumberList();
    ShowMessageNumber(8);
    return false;
  }
  uint8_t head[kDrawingHeadSize];
  FillSldHead(head);
  Put(w, head, kDrawingHeadSize);

  int16_t lines = 0;
  memcpy(&lines, head + kHeadLineCount, 2);
  int16_t written = mode > 2 ? WriteSldTextLines(w, lines) : 0;
  memcpy(head + kHeadLineCount, &written, 2);
  memcpy(TextJobHead + kHeadLineCount, &written, 2);

  PutInt32At(head, kHeadVectorOffset, w.position);
  if (mode == 1 || mode == 2) CopyFileIntoSld(w, source, kVectorRecordSize);
  if (mode == 255) WriteSldLayerRecords(w);

  PutInt32At(head, kHeadParamOffset, w.position);
  if (mode > 1) {
    uint8_t block1[443];
    GetParamBlock(1, block1, sizeof block1);
    Put(w, block1, sizeof block1);
  }
  PutInt32At(head, kHeadToolOffset, w.position);
  if (mode > 1) {
    std::vector<uint8_t> tools(kParamBlockSizes[15]);
    GetParamBlock(15, tools.data(), static_cast<uint16_t>(tools.size()));
    const int32_t count = std::min<int32_t>(HighestLayer + 1, static_cast<int32_t>(tools.size() / kDrawingToolRecordSize));
    Put(w, tools.data(), count * kDrawingToolRecordSize);
  }
  PutInt32At(head, kHeadFrameOffset, w.position);
  if (mode > 1) {
    if (GetFileByteSize(kFrameFileName) >= 40) {
      CopyFileIntoSld(w, kFrameFileName, kVectorRecordSize);
    } else {
      head[0] = 0;
    }
  }
  PutInt32At(head, kHeadPropertyOffset, w.position);
  if (mode > 1 && !w.failed && ObjectNumberList != nullptr) {
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
  PutInt32At(head, kHeadPropertyEnd, w.position);
  const int32_t propertyOffset = static_cast<int32_t>(head[kHeadPropertyOffset] | (head[kHeadPropertyOffset + 1] << 8) |
                                                      (head[kHeadPropertyOffset + 2] << 16) |
                                                      (uint32_t(head[kHeadPropertyOffset + 3]) << 24));
  for (int i = 0; i < 16; ++i) PutInt32At(head, kHeadReservedOffsets + 4 * i, propertyOffset);
  if (!w.failed) {
    plat::Seek(w.file, 0);
    if (CheckIoResult() != 0) w.failed = true;
    if (!w.failed && WriteBlockLongChecked(w.file, head, kDrawingHeadSize) != kDrawingHeadSize) w.failed = true;
  }
  CloseFileChecked(w.file);
  FreeObjectNumberList();
  if (w.failed) {
    DeleteFileIfExists(temp);
    ShowMessageNumber(8);
    return false;
  }
  MoveFileChecked(temp, target);
  if (plat::FileExists(temp)) {
    DeleteFileIfExists(temp);
    return false;
  }
  return true;
}

bool PrepareDrawingForSave() {
  FlushVectorStoreIntoFile(GetCurrentLayerFileName());
  LoadTextJobHead();
  return TextLineCount > 0 || CheckAnyLayerFileFilled(0);
}

namespace {

std::string ReadParamString(int16_t block) {
  uint8_t bytes[256] = {};
  GetParamBlock(block, bytes, sizeof bytes);
  return std::string(reinterpret_cast<const char*>(bytes + 1), bytes[0]);
}

void WriteParamString(int16_t block, const std::string& text) {
  uint8_t bytes[256] = {};
  const size_t n = std::min<size_t>(text.size(), 255);
  bytes[0] = static_cast<uint8_t>(n);
  memcpy(bytes + 1, text.data(), n);
  PutParamBlock(block, bytes, sizeof bytes);
}

std::string UpperExtension(const std::string& name) {
  const size_t dot = name.find_last_of('.');
  const size_t slash = name.find_last_of("\\/");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
  std::string ext = name.substr(dot);
  UpperCaseString(ext);
  return ext;
}

bool IsCurrentNameSld(const std::string& name) {
  const size_t slash = name.find_last_of('\\');
  if (slash == std::string::npos || slash + 1 >= name.size()) return false;
  return UpperExtension(name) == ".SLD";
}

}  // namespace

std::string GetDrawingFolder(const std::string& name) {
  const size_t slash = name.find_last_of('\\');
  return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

bool SaveDrawingToFile(const std::string& name, int mode) {
  if (name.empty()) return false;
  FlushVectorStoreIntoFile(GetCurrentLayerFileName());
  RecountCurrentLayerRecords();
  if (WindowTitleHook != nullptr) WindowTitleHook();
  if (mode == 0) {
    ClearDrawingArea();
    ShowPromptLine(1, GetMessageText(739, 12), 260, 274);
  }
  const bool written = WriteSldDrawing("", name, 255);
  LoadTextLineDefaults();
  SaveParamFileSafely();
  if (mode == 0) DelayMs(200);
  return written;
}

bool SaveDrawing(int mode) {
  if (!PrepareDrawingForSave()) return false;
  std::string name = ReadParamString(26);
  if (mode != 0 || !IsCurrentNameSld(name)) {
    DrawPanelBackground();
    ShowPromptLine(1, GetMessageText(606, -39), 260, 274);
    std::string chosen = ReplaceFileExtension(name, ".SLD");
    RunFileDialog(ReadParamString(9), ".SLD", 0, chosen, 1);
    name = chosen;
    if (!name.empty()) {
      AddRecentDrawing(name, false);
      WriteParamString(9, GetDrawingFolder(name));
      WriteParamString(26, name);
    }
  }
  bool written = false;
  if (!name.empty()) written = SaveDrawingToFile(name, mode);
  WaitForMouseRelease();
  RestoreGraphicArea();
  CheckEscapeAbort();
  return written;
}

bool ExportSldDrawingToFile(const std::string& source, const std::string& target, int mode) {
  if (CountFileRecords(source) < 2 || target.empty()) return false;
  WriteParamString(11, GetDrawingFolder(target));
  return WriteSldDrawing(source, target, mode);
}

void ExportSldDrawing(const std::string& source, int mode) {
  if (CountFileRecords(source) < 2) return;
  std::string name;
  RunFileDialog(ReadParamString(11), ".SLD", 0, name, 1);
  if (name.empty()) return;
  WriteParamString(11, GetDrawingFolder(name));
  EditDrawingNote();
  ExportSldDrawingToFile(source, name, mode);
}

bool AskSaveUnsavedWork() {
  LoadTextJobHead();
  if (!CheckAnyLayerFileFilled(0) && TextLineCount <= 0) return false;
  return AskYesNo(GetMessageText(605, -39) + "\r\n" + GetMessageText(40, -39)) == 1;
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

// --- the text job head and the questions before work is lost ----------------------------

void WriteTextJobHeadToFile() {
  TFileRec f;
  AssignFileChecked(f, kTextJobFileName);
  if (TestPlainFileExists(kTextJobFileName)) ResetFileChecked(f, 1, 2); else RewriteFileChecked(f, 1);
  if (f.state != plat::kFileInOut && f.state != plat::kFileOutput) return;
  WriteBlockLongChecked(f, TextJobHead, kTextJobHeadSize);
  CloseFileChecked(f);
}

void OfferSaveDrawing() {
  bool layers = false, texts = false;
  TestDrawingHasContent(layers, texts);
  if (!layers && !texts) return;
  uint8_t answer = 0;
  AskYesNoTwoLines(GetMessageText(605, -39), GetMessageText(40, -39), answer);
  if (answer != 1) return;
  DrawPanelBackground();
  DrawCellButton(1, 2, GetMessageText(606, -39), false, 274, 260);
  SaveDrawing(1);
  RestoreGraphicArea();
}

bool AskSaveBeforeOpen() {
  bool layers = false, texts = false;
  TestDrawingHasContent(layers, texts);
  if (!layers && !texts) return false;
  RecountAllLayerRecords();
  ZoomToAll("", 2);
  SetRopCopy();
  if (AskYesNo(GetMessageText(605, -39) + "\r\n" + GetMessageText(40, -39)) != 1) return false;
  return !SaveDrawing(1);
}

// --- the note editor of the drawing ------------------------------------------------------------

void EditDrawingNote() {
  if (CursorShown) EraseMouseCursor();
  CursorMode = 4;
  LoadTextJobHead();
  uint8_t copy[kTextJobHeadSize];
  memcpy(copy, TextJobHead, kTextJobHeadSize);
  // The note is kept in the Windows code page; the editor works in the DOS one.
  std::string lines[4];
  for (int k = 0; k < 4; ++k) {
    const uint8_t* line = TextJobHead + kHeadNote + 51 * k;
    const int n = std::min<int>(line[0], kFileNoteLineMax);
    for (int i = 0; i < n; ++i) lines[k] += char(MapAnsiCharToOem(line[1 + i]));
  }
  TPopupFrame frame{};
  TBox cancelBox{}, okBox{};
  OpenPopupWithOkCancel(frame, 0, 52, 7, GetMessageText(2824, -29), cancelBox, okBox);
  DrawWhiteField(frame.left + 4, 30, frame.right - 4, frame.bottom - 4, 0);
  for (int k = 0; k < 4; ++k) DrawCellButton(1, 2 + k, lines[k].empty() ? " " : lines[k], false, 274, 261);

  int k = 1;
  uint8_t exitCode = 0;
  while (exitCode != 3 && exitCode != 8) {
    EditTextField(1, 1 + k, kFileNoteLineMax, 0, lines[k - 1], 261, 274, exitCode);
    // A click ended the edit when the button is still down.
    if (exitCode == 2 && MouseButtonState == 2) {
      uint8_t code = 0;
      int line = k;
      HitTestListClick(8, 32, 8 + 8 * kFileNoteLineMax, 32 + 4 * 16 - 1, cancelBox, okBox, 1, 4, code, line);
      if (code == 3 || code == 8) {
        exitCode = code;
      } else {
        k = std::clamp(line, 1, 4);
        WaitForMouseRelease();
        exitCode = 0;
      }
      continue;
    }
    if (exitCode == 2 || exitCode == 5 || exitCode == 6) k = std::min(k + 1, 4);
    else if (exitCode == 4 || exitCode == 7) k = std::max(k - 1, 1);
  }
  ClosePopupFrame(frame);
  if (exitCode == 8) {
    TFileNote note;
    std::string text;
    for (int i = 0; i < 4; ++i) {
      std::string win = lines[i];
      ConvertOemStringToAnsi(win);
      text += (i > 0 ? "\r\n" : "") + win;
    }
    FileNoteFromText(note, text);
    memcpy(TextJobHead + kHeadNote, &note, sizeof note);
    WriteTextJobHeadToFile();
  } else {
    memcpy(TextJobHead, copy, kTextJobHeadSize);
  }
  WaitForMouseRelease();
}

// --- the recent drawings popup ---------------------------------------------------------------------

void RunRecentDrawingsCommand() {
  if (GetRecentDrawing(0).empty()) {
    RunOpenDrawingCommand();
    return;
  }
  TPopupList list;
  InitPopupList(list);
  list.x = MouseX;
  list.y = int16_t(MouseY - 32);
  list.title = GetMessageText(3115, -39);
  std::string names[kRecentDrawingCount];
  int n = 0;
  for (; n < kRecentDrawingCount; ++n) {
    names[n] = GetRecentDrawing(n);
    if (names[n].empty()) break;
    list.captions[n] = FormatRecentDrawingEntry(names[n]);
    list.names[n] = "OEFFNEN";
  }
  list.result = 1;
  ShowPopupMenu(list);
  if (list.result < 1 || list.result > n) return;
  const std::string name = names[list.result - 1];
  if (!IsDrawingFileName(name, true)) {
    ShowTitledMessage(GetMessageText(49, -39));
    return;
  }
  if (AskSaveUnsavedWork() && !SaveDrawing(1)) return;
  LoadDrawingByExtension(name, 0);
  RecountAllLayerRecords();
  ZoomToAll("", 2);
  EnterMarkMode();
  AddRecentDrawing(name, false);
}
