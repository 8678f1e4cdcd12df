#include "ui/info_window.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "frame/checked_files.h"
#include "frame/defaults.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/program_state.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "model/vector_records.h"
#include "ui/common_dialogs.h"
#include "ui/panels.h"
#include "ui/pictures.h"
#include "view/character_cells.h"
#include "view/view_transform.h"

namespace {

// Width or height in mm with 3 decimals, at most 10 characters.
std::string SizeText(double value) {
  std::string text = FormatRealText(3, 3, float(value));
  if (text.size() > 10) text.resize(10);
  return text;
}

std::string PascalString(const uint8_t* bytes, int maxLength) {
  const int length = std::min<int>(bytes[0], maxLength);
  return std::string(reinterpret_cast<const char*>(bytes + 1), size_t(length));
}

std::string ReliefTitle(const std::string& programTitle, const std::string& version) {
  std::string name;
  std::string width = "0.0", height = "0.0";
  if (TestPlainFileExists(kReliefFileName)) {
    uint8_t header[128] = {};
    TFileRec f;
    AssignFileChecked(f, kReliefFileName);
    ResetFileChecked(f, 2, 0);
    if (f.fd >= 0) {
      const uint16_t got = ReadBlockChecked(f, header, 64);
      CloseFileChecked(f);
      if (got == 64) {
        name = PascalString(header + 55, 8);
        if (!name.empty()) name += " : ";
        name += PascalString(header + 64, 63);
        int16_t columns, rows;
        float stepX, stepY;
        std::memcpy(&rows, header + 2, 2);
        std::memcpy(&columns, header + 4, 2);
        std::memcpy(&stepX, header + 10, 4);
        std::memcpy(&stepY, header + 14, 4);
        if (columns > 0) --columns;
        if (rows > 0) --rows;
        width = SizeText(double(columns) * stepX);
        height = SizeText(double(rows) * stepY);
      }
    }
  }
  std::string title = programTitle + version + " - {" + width + "mm x " + height + "mm}";
  if (!name.empty()) title += " - \"" + name + "\"";
  return title;
}

int16_t MenuSetNumber() {
  uint8_t block[121] = {};
  GetParamBlock(3, block, sizeof block);
  int16_t n;
  std::memcpy(&n, block + kMenuSetParamOffset, 2);
  return n;
}

}  // namespace

std::string JobKindSuffix(int16_t menuSet) {
  switch (menuSet) {
    case 1: return " (label)";
    case 2: return " (plate)";
    case 3: return " (serial plate)";
    case 4: return " (panel)";
    case 5: return " (2D-mill)";
    case 6: return " (3D-stamp)";
    case 7: return " (relief)";
    default: return "";
  }
}

std::string ToolCaptionPart(int tool) {
  if (tool < 0 || tool >= 200) return "";
  TToolRecord record{};
  static uint8_t table[28000];
  GetParamBlock(15, table, sizeof table);
  std::memcpy(&record, table + size_t(tool) * sizeof(TToolRecord), sizeof record);
  std::string name = PascalString(record.name, 30);
  TrimTrailingBlanks(name);
  if (record.changeStation == 0 && record.plungeDepth == 0.0f) name = "NO TOOL!";
  if (name.empty()) return "";
  return (" - \"" + name + "\"").substr(0, 30 + 5);
}

std::string BuildWindowTitle(int32_t versionThousandths) {
  const std::string version = FormatThousandths(float(versionThousandths));
  if (ScreenModeWord == 1) return ReliefTitle(GetProgramTitle(), version);
  uint8_t drawing[256] = {};
  GetParamBlock(26, drawing, sizeof drawing);
  const TExtentsPair& extent = CurrentViewExtent;
  return GetProgramTitle() + JobKindSuffix(MenuSetNumber()) + version + " - [" + PascalString(drawing, 255) +
         "] - {" + SizeText(double(extent.maxCorner.x) - extent.minCorner.x) + "mm x " +
         SizeText(double(extent.maxCorner.y) - extent.minCorner.y) + "mm}" + ToolCaptionPart(CurrentLayer);
}

void UpdateWindowTitle(int32_t versionThousandths) { SetMainWindowCaption(BuildWindowTitle(versionThousandths)); }

void SetWindowCaptionText(const std::string& text) { SetMainWindowCaption(text); }

std::string FormatProgramTitleLine() {
  return GetProgramTitle() + " - " + (VariantNumber == 5 || VariantNumber == 19 ? kProductLineTextCam : kProductLineText);
}

std::string GetVersionText() { return kVersionText; }

std::string FormatVersionLine() { return GetVersionText() + " BC" + FormatSystemClassText(); }

std::string FormatRunningTime(int32_t seconds) {
  if (seconds < 0) seconds = 0;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%ldh : %02ldmin : %02ldsec", long(seconds / 3600), long(seconds / 60 % 60),
                long(seconds % 60));
  return buffer;
}

void FormatRunningTimeLines(std::string& first, std::string& second) {
  uint8_t block[153] = {};
  GetParamBlock(0, block, sizeof block);
  int32_t ms, total;
  std::memcpy(&ms, block + 49, 4);
  std::memcpy(&total, block + 53, 4);
  first = GetMessageText(3019, -29) + ": " + FormatRunningTime(ms / 1000);
  // A damaged parameter file must not overflow the sum.
  const int64_t all = std::min<int64_t>(int64_t(ms / 1000) + total, INT32_MAX);
  second = GetMessageText(3020, -29) + ": " + FormatRunningTime(int32_t(all));
}

void LayOutInfoWindow(bool small, TInfoWindowLayout& layout) {
  const int L = small ? 21 : 32;
  layout.left = MaxX / 2 - 204;
  layout.top = (MaxY - 16 * L + 1) / 2;
  layout.right = layout.left + 406;
  layout.bottom = layout.top + 16 * L - 2;
  layout.lines = L;
  layout.textLeft = layout.left + 16;
  layout.textRight = layout.right - 8;
  layout.pictureBottom = small ? layout.top + 91 : layout.top + 104;
  layout.lineTop = layout.top + 4 + 16 * (small ? L - 13 : L - 25);
  layout.etchedLineY = small ? 0 : layout.lineTop + 296;
}

int InfoWindowLineY(const TInfoWindowLayout& layout, int line) { return layout.lineTop + 14 * line; }

int GetInfoWindowTexts(bool small, TInfoWindowText (&texts)[kInfoWindowTextMax]) {
  int n = 0;
  auto add = [&](const std::string& text, int line, bool sized) { texts[n++] = {text, line, sized}; };
  add(FormatProgramTitleLine(), 1, false);
  add(FormatVersionLine(), 2, false);
  std::string first, second;
  FormatRunningTimeLines(first, second);
  add(first, 12, true);
  add(second, 13, true);
  if (!small) {
    add(GetMessageText(2675, -39) + " " + GetMessageText(2676, -39), 16, false);
    for (int i = 0; i < 4; ++i) add(GetMessageText(int16_t(2677 + i), -39), 17 + i, false);
  }
  return n;
}

void ShowInfoWindow() {
  if (CursorShown) EraseMouseCursor();
  const bool small = VariantNumber == 13;
  TInfoWindowLayout layout;
  LayOutInfoWindow(small, layout);
  TPopupFrame frame{};
  frame.left = int16_t(layout.left);
  frame.top = int16_t(layout.top);
  frame.right = int16_t(layout.right);
  frame.bottom = int16_t(layout.bottom);
  frame.lines = int16_t(layout.lines);
  OpenPopupFrame(frame);
  const int x1 = frame.left, y1 = frame.top, x2 = frame.right, y2 = frame.bottom;
  DrawGreyDialogPanel(x1, y1, x2, "", y2);
  DrawLightBlueGradient(x1 + 4, y1 + 4, x2 - 4, y2 - 4);
  DrawBevelFrame(x1 + 4, y1 + 4, x2 - 4, y2 - 4);
  if (RedrawRequested()) {
    ClosePopupFrame(frame);
    return;
  }
  const std::string table = plat::ProgramFolder() + kProgramPictureTableName;
  DrawTablePictureInFrame(table, small ? "_Info-Marvek-S.gif" : "_Info-Marvek.gif", x1 + 7, y1 + 5, x1 + 400,
                          layout.pictureBottom, 0);
  const int stripHeight = small ? 85 : 98;
  TScrollStrip strip;
  SaveScrollStrip(x1 + 7, 392, y1 + 5, strip, stripHeight);

  SetRopCopy();
  SetPenColor(274);
  static const int kPausing[] = {0, 2, 3, 5, 12, 13, 14, 19, 20, 255};
  if (std::find(std::begin(kPausing), std::end(kPausing), VariantNumber) != std::end(kPausing)) DelayMs(100);
  TInfoWindowText texts[kInfoWindowTextMax];
  const int n = GetInfoWindowTexts(small, texts);
  for (int i = 0; i < n; ++i) {
    const TInfoWindowText& t = texts[i];
    const int y = InfoWindowLineY(layout, t.line);
    if (t.sized) {
      DrawTextSized(layout.textLeft, y, t.text, kInfoWindowSizedHeight, kInfoWindowSizedWidth);
    } else {
      DrawTextInSetFont(layout.textLeft, y, t.text);
    }
  }
  if (layout.etchedLineY > 0) DrawEtchedLine(x1 + 8, layout.etchedLineY, x2 - 8);
  if (!PlayEventSound(10) && !PlayEventSound(99)) BeepSignal(1000);

  WaitForMouseRelease();
  for (;;) {
    StepScrollStrip(x1 + 7, 392, y1 + 5, strip, 40);
    int16_t x = 0, y = 0;
    PollMousePosition(x, y);
    if (PollKeyPressed()) {
      ReadNextKey();
      break;
    }
    if (MouseButtonState != 0 || RedrawRequested() || CloseRequested) break;
    WaitForWindowMessage();
  }
  RestoreScrollStrip(x1 + 7, 392, y1 + 5, strip);
  ClosePopupFrame(frame);
  ClearKeyBuffer();
  WaitForMouseRelease();
}

void MarkLastJournalLineAborted(uint16_t code) {
  char key[8];
  std::snprintf(key, sizeof key, "#%04u", unsigned(code % 10000));
  TFileRec f;
  plat::Assign(f, kJournalFileName);
  plat::gFileMode = 2;
  plat::Reset(f, 1);
  if (plat::IoResult() != 0) return;
  const int64_t size = plat::FileSize(f);
  const int64_t start = std::max<int64_t>(0, size - 80);
  std::string tail(size_t(size - start), '\0');
  plat::Seek(f, start);
  uint32_t done = 0;
  if (!tail.empty()) plat::BlockRead(f, tail.data(), uint32_t(tail.size()), &done);
  tail.resize(done);
  const size_t at = tail.rfind(key);
  if (at != std::string::npos) {
    std::string line = tail.substr(at);
    if (line.find(kAbortMark) == std::string::npos && line.size() >= 2) {
      line.resize(line.size() - 2);
      line += std::string(" ") + kAbortMark + "\r\n";
      plat::Seek(f, start + int64_t(at));
      plat::BlockWrite(f, line.data(), uint32_t(line.size()), &done);
    }
  }
  plat::Close(f);
  plat::IoResult();
}
