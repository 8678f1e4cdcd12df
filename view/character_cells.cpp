// Character-cell text, text buttons, prompt waits and the acoustic signal.
#include "view/character_cells.h"

#include "frame/main_window.h"
#include "frame/param_file.h"
#include "frame/main_window.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "platform/system.h"
#include "view/view_transform.h"

namespace {

constexpr int kCellWidth = 8;
constexpr int kCellHeight = 16;
constexpr int kTextOffset = 5;    // reference row of a cell's text below the cell top
constexpr int kButtonOffset = 4;  // first row of a button box below the cell top
constexpr int kSilverBox = 260;   // box colour drawn as silver, not as the status grey
constexpr uint8_t kSymbolGray = 12;

// A control code drawn as a small picture: bytes of the rows 0..6 below the
// text's reference row (0: row empty).
struct TSymbol {
  uint8_t code;
  uint8_t rows[7];
};

constexpr TSymbol kSymbols[] = {
    {1, {0, 0, 0, 0, 0, 0, 255}},           // line at the bottom
    {4, {28, 44, 204, 204, 204, 208, 224}},  // bent arrow
    {8, {88, 100, 68, 68, 68, 0, 124}},      // open shape with a base
    {15, {30, 18, 24, 16, 48, 80, 240}},     // hooked mark
    {19, {198, 198, 198, 198, 198, 198, 198}},  // pause sign
    {21, {16, 48, 127, 255, 127, 48, 16}},   // arrow to the left
    {24, {16, 56, 124, 16, 16, 16, 16}},     // arrow up
    {25, {16, 16, 16, 16, 124, 56, 16}},     // arrow down
    {26, {8, 12, 254, 12, 8, 0, 0}},         // short arrow to the right
    {27, {32, 96, 254, 96, 32, 0, 0}},       // short arrow to the left
    {29, {40, 108, 254, 108, 40, 0, 0}},     // double arrow
    {30, {16, 56, 124, 254, 0, 0, 0}},       // triangle up
    {31, {0, 0, 0, 254, 124, 56, 16}},       // triangle down
};

const TSymbol* FindSymbol(uint8_t code) {
  for (const TSymbol& symbol : kSymbols)
    if (symbol.code == code) return &symbol;
  return nullptr;
}

// Takes one key from the buffer: both entries of an extended key, so that
// its code is not read later as a character. Returns the first entry.
uint8_t TakeWholeKey() {
  uint8_t key = ReadNextKey();
  if (key == 0 && KeyCount > 0) ReadNextKey();
  return key;
}

bool InputArrived() {
  if (PollKeyPressed()) return true;
  PollMouseButtons();
  return GetMouseButtonState() != 0 || CloseRequested;
}

}  // namespace

// --- text and buttons ------------------------------------------------------------------

void DrawBitRow(int y, uint8_t bits, int x) {
  for (int i = 0; i < 8; ++i)
    if (bits & (0x80 >> i)) DrawGrayPixel(x + i, y, kSymbolGray);
}

void DrawSymbolText(int x, int y, const std::string& text) {
  for (size_t k = 0; k < text.size(); ++k) {
    const int cellX = x + kCellWidth * int(k);
    const uint8_t code = static_cast<uint8_t>(text[k]);
    if (code == '_') {
      DrawScreenLine(cellX + 1, y + 8, cellX + kCellWidth, y + 8);
    } else if (code >= 32) {
      DrawScreenChar(cellX, y, static_cast<char>(code));
    } else if (const TSymbol* symbol = FindSymbol(code)) {
      for (int row = 0; row < 7; ++row)
        if (symbol->rows[row] != 0) DrawBitRow(y + row, symbol->rows[row], cellX);
    }
    // Other control codes leave their cell empty.
  }
}

void DrawCellButton(int col, int row, const std::string& text, bool inverted, int16_t textColor,
                    int16_t boxColor) {
  if (text.empty()) return;
  const int16_t box = inverted ? textColor : boxColor;
  const int16_t ink = inverted ? boxColor : textColor;
  const int x1 = col * kCellWidth;
  const int y1 = row * kCellHeight + kButtonOffset;
  const int x2 = x1 + kCellWidth * int(text.size()) - 1;
  const int y2 = row * kCellHeight + kCellHeight - 1;
  if (box == kSilverBox) {
    FillColorRect(x1, y1, x2, y2, plat::Rgb(192, 192, 192));
  } else {
    SetFillBrush(0, box);
    FillScreenRect(x1, y1, x2, y2);
  }
  SetPenColor(ink);
  DrawSymbolText(x1, row * kCellHeight + kTextOffset, text);
  PenPendingMove = 1;
}

void DrawPlainCellButton(int col, int row, const std::string& text, int16_t textColor, int16_t boxColor) {
  DrawCellButton(col, row, text, false, textColor, boxColor);
  SetRopCopy();
}

void WriteCellText(int col, int row, const std::string& text, bool inverted, int16_t c1, int16_t c2) {
  if (text.empty()) return;
  SetPenColor(inverted ? c2 : c1);
  DrawScreenText(col * kCellWidth, row * kCellHeight + kTextOffset, text);
  PenPendingMove = 1;
  SetRopCopy();
}

void WriteCellTextRgb(int col, int row, const std::string& text, bool inverted, uint32_t rgb1, uint32_t rgb2) {
  if (text.empty()) return;
  SetPenAndTextRgb(inverted ? rgb2 : rgb1);
  DrawScreenText(col * kCellWidth, row * kCellHeight + kTextOffset, text);
  PenPendingMove = 1;
  SetRopCopy();
}

void FillCells(int col, int row, int n, uint32_t rgb) {
  if (n <= 0) return;  // a reversed rectangle would paint the cells to the left
  const int x1 = col * kCellWidth;
  FillColorRect(x1, row * kCellHeight + kButtonOffset, x1 + n * kCellWidth - 1, row * kCellHeight + kCellHeight - 1,
                rgb);
}

// --- waits and answers ---------------------------------------------------------------

void WaitForKeyOrClick() {
  while (!InputArrived()) WaitForWindowMessage();
  ClearKeyBuffer();
}

void WaitMsOrInput(uint32_t ms) {
  const uint32_t start = GetTickMs();
  while (!InputArrived()) {
    if (GetTickMs() - start >= ms) return;
    plat::SleepMs(1);
  }
  if (KeyCount > 0) TakeWholeKey();
}

void WaitForMouseRelease() {
  for (;;) {
    PollMouseButtons();
    if (GetMouseButtonState() == 0 || CloseRequested) return;
    DelayMs(1);
  }
}

uint8_t GetMouseButtons() {
  PollMouseButtons();
  return GetMouseButtonState();
}

uint8_t AskYesNoKey() {
  ClearKeyBuffer();
  for (;;) {
    if (PollKeyPressed()) {
      uint8_t key = TakeWholeKey();
      if (key >= 'a' && key <= 'z') key = static_cast<uint8_t>(key - 'a' + 'A');
      return (key == 13 || key == 'J' || key == 'O' || key == 'Y') ? 1 : 0;
    }
    PollMouseButtons();
    const uint8_t buttons = GetMouseButtonState();
    if (buttons == 2) return 1;
    if (buttons == 4) return 0;
    if (CloseRequested) return 0;
    WaitForWindowMessage();
  }
}

// --- signals ---------------------------------------------------------------------------

void BeepSignal(int32_t) {
  if (SignalLevel >= 3) return;
  if (PlayEventSound(99) != 0) return;
  PlayMessageBeep(-1);
  if (SignalLevel <= 1) {
    DelayMs(2);
    PlayMessageBeep(-1);
    DelayMs(5);
    PlayMessageBeep(-1);
  }
}

void PlayDingOrBeep() {
  const bool played = SignalLevel != 3 && PlayEventSound(99) != 0;
  if (!played) BeepSignal();
}

// --- strings ----------------------------------------------------------------------------

void TrimTrailingBlanks(std::string& s) {
  size_t end = s.size();
  while (end > 0 && s[end - 1] == ' ') --end;
  s.resize(end);
}
