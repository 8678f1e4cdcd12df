// The commands and questions around the drawing files: open, save, save
// as, export, the note of the drawing and the recent drawings popup.
#include "commands/drawing_file_commands.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "ui/prompt_line.h"
#include "commands/input_wait.h"
#include "frame/codepage.h"
#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/system_services.h"
#include "model/drawing_file.h"
#include "model/drawing_load.h"
#include "model/layer_files.h"
#include "model/text_job.h"
#include "model/vector_store.h"
#include "ui/common_dialogs.h"
#include "ui/file_dialogs.h"
#include "ui/line_editor.h"
#include "ui/popup_list.h"
#include "ui/prompt_strip.h"
#include "view/character_cells.h"
#include "view/extents.h"
#include "view/redraw.h"

namespace {

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

// --- save and export -----------------------------------------------------------------------

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
  if (written) RecordDrawingSaved();
  if (mode == 0) DelayMs(200);
  return written;
}

bool SaveDrawing(int mode) {
  if (!PrepareDrawingForSave()) return false;
  std::string name = ReadParamNameBlock(26);
  const bool asked = mode != 0 || !IsCurrentNameSld(name);
  if (asked) {
    DrawPanelBackground();
    ShowPromptLine(1, GetMessageText(606, -39), 260, 274);
    std::string chosen = ReplaceFileExtension(name, ".SLD");
    // An unnamed drawing is offered its folder and an empty name, never the
    // bare extension, which Enter would save as a nameless hidden file.
    const size_t slash = chosen.find_last_of('\\');
    if (chosen.compare(slash == std::string::npos ? 0 : slash + 1, std::string::npos, ".SLD") == 0)
      chosen.erase(slash == std::string::npos ? 0 : slash + 1);
    RunFileDialog(ReadParamNameBlock(9), ".SLD", 0, chosen, 1);
    name = chosen;
  }
  bool written = false;
  if (!name.empty()) written = SaveDrawingToFile(name, mode);
  // The name, its folder and the recent list follow only a written drawing:
  // a failed save leaves the drawing under its old name (or none).
  if (written && asked) {
    AddRecentDrawing(name, false);
    WriteParamNameBlock(9, GetDrawingFolder(name));
    WriteParamNameBlock(26, name);
    SaveParamFileSafely();
    if (WindowTitleHook != nullptr) WindowTitleHook();
  }
  WaitForMouseRelease();
  RestoreGraphicArea();
  CheckEscapeAbort();
  return written;
}

void ExportSldDrawing(const std::string& source, int mode) {
  if (CountFileRecords(source) < 2) return;
  std::string name;
  RunFileDialog(ReadParamNameBlock(11), ".SLD", 0, name, 1);
  if (name.empty()) return;
  WriteParamNameBlock(11, GetDrawingFolder(name));
  EditDrawingNote();
  ExportSldDrawingToFile(source, name, mode);
}

bool AskSaveUnsavedWork() {
  LoadTextJobHead();
  if (!CheckAnyLayerFileFilled(0) && TextLineCount <= 0) return false;
  if (IsDrawingSaved()) return false;
  return AskYesNo(GetMessageText(605, -39) + "\r\n" + GetMessageText(40, -39)) == 1;
}

void OfferSaveDrawing() {
  bool layers = false, texts = false;
  TestDrawingHasContent(layers, texts);
  if ((!layers && !texts) || IsDrawingSaved()) return;
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
  if ((!layers && !texts) || IsDrawingSaved()) return false;
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
  const bool whole = LoadDrawingByExtension(name, 0);
  RecountAllLayerRecords();
  ZoomToAll("", 2);
  EnterMarkMode();
  if (whole) AddRecentDrawing(name, false);
}

// --- open ---------------------------------------------------------------------------------------

bool OpenDrawingFile(const std::string& name, int mode) {
  if (name.empty()) return false;
  if (CountFileRecords(name) == 0) {
    // Nothing to load: said with the name, nothing changed.
    ShowTitledMessage(GetMessageText(TestPlainFileExists(name) ? 4145 : 49, -39) + "\r\n" + name);
    return false;
  }
  ClearVectorStore();
  bool whole = false;
  if (mode == 0) {
    whole = LoadDrawingByExtension(name, 0);
    if (whole) AddRecentDrawing(name, true);
  } else {
    if (UpperExtension(name) == ".SLD") {
      LoadSldDrawing(name, 1);
    } else {
      LoadVectorDrawing(name, kLoadDraw);
    }
    whole = LastDrawingLoad.outcome == TLoadOutcome::kWhole;
    DeleteFileIfExists("LG_LDP.TMP");
  }
  RecountAllLayerRecords();
  ZoomToAll("", 2);
  return whole;
}

void OpenDrawingWithDialog(int mode) {
  ShowPromptLine(1, GetMessageText(598, -39), 260, 274);
  uint8_t folder[256] = {};
  GetParamBlock(9, folder, sizeof folder);
  std::string name;
  RunFileDialog(std::string(reinterpret_cast<const char*>(folder + 1), folder[0]), "", 4, name, 0);
  if (name.empty()) {
    RestoreGraphicArea();
    return;
  }
  // The folder is remembered only when the drawing came in whole.
  if (OpenDrawingFile(name, mode)) {
    WriteParamNameBlock(9, GetDrawingFolder(name));
    SaveParamFileSafely();
  }
}

void RunOpenDrawingCommand() {
  if (AskSaveUnsavedWork() && !SaveDrawing(1)) return;
  OpenDrawingWithDialog(0);
  EnterMarkMode();
  ResetDrawingArea();
}
