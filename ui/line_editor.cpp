// The line editor over character cells.
#include "ui/line_editor.h"

#include <algorithm>

#include "frame/main_window.h"
#include "frame/window_draw.h"
#include "ui/calculator.h"
#include "view/character_cells.h"

namespace {

constexpr int kCell = 8;
constexpr int kRowHeight = 16;

// Extended keys (the code after the 0 prefix).
constexpr uint8_t kScanHome = 71, kScanUp = 72, kScanPgUp = 73, kScanLeft = 75, kScanRight = 77, kScanEnd = 79,
                  kScanDown = 80, kScanPgDn = 81, kScanDel = 83, kScanF1 = 59, kScanF8 = 66, kScanF9 = 67,
                  kScanF10 = 68, kScanAltE = 18, kScanAltR = 19;

// Alt keys that insert a symbol character in free-text mode.
struct TSymbolKey {
  uint8_t scan;
  uint8_t symbol;
};
constexpr TSymbolKey kSymbolKeys[] = {{25, 4},  {44, 8},  {49, 15}, {31, 19}, {22, 22}, {34, 24}, {37, 25},
                                      {45, 26}, {21, 27}, {47, 29}, {35, 30}, {20, 31}, {33, 219}};

struct TField {
  int column, row, width, mode;
  int background, textColor;
  bool caretShown = false;
  uint8_t caretStamp = 0;
};

// The exit code of the keys every editor shares; 0 when the key is not one.
uint8_t ExitCodeOfExtendedKey(uint8_t scan) {
  if (scan >= kScanF1 && scan <= kScanF8) return uint8_t(8 + scan - kScanF1);
  switch (scan) {
    case kScanF10: return 17;
    case kScanUp: return 4;
    case kScanDown: return 5;
    case kScanPgDn: return 6;
    case kScanPgUp: return 7;
    default: return 0;
  }
}

void CallHelpHook() {
  if (HelpHook) HelpHook();
}

uint8_t UpperCaseKey(uint8_t c) {
  if (c >= 'a' && c <= 'z') return uint8_t(c - 'a' + 'A');
  if (c == 129) return 154;  // ü
  if (c == 132) return 142;  // ä
  if (c == 148) return 153;  // ö
  return c;
}

void FillBox(int x1, int y1, int x2, int y2, int color) {
  if (color == 260) {
    FillColorRect(x1, y1, x2, y2, plat::Rgb(192, 192, 192));  // drawn silver, as the cell buttons draw it
  } else {
    SetFillBrush(0, color);
    FillScreenRect(x1, y1, x2, y2);
  }
}

void DrawField(const TField& f, const std::string& text) {
  if (CursorShown) EraseMouseCursor();
  FillBox(kCell * f.column, kRowHeight * f.row + 4, kCell * (f.column + f.width) - 1, kRowHeight * f.row + 15,
          f.background);
  const std::string shown = f.mode == 6 ? std::string(text.size(), '*') : text;
  DrawCellButton(f.column, f.row, shown, false, int16_t(f.textColor), int16_t(f.background));
  SetRopCopy();
}

// The caret: a double vertical xor line; drawing it twice removes it.
void XorCaret(const TField& f, int position) {
  int x = kCell * (f.column + position) - 7;
  if (position > f.width) x -= 2;
  const int y1 = kRowHeight * f.row + 5, y2 = kRowHeight * f.row + 15;
  SetDrawColorAndMode(7, 261);
  DrawScreenLine(x, y1, x, y2 + 1);
  DrawScreenLine(x + 1, y1, x + 1, y2 + 1);
  SetRopCopy();
}

void ShowCaret(TField& f, int position) {
  if (!f.caretShown) XorCaret(f, position);
  f.caretShown = true;
}

void HideCaret(TField& f, int position) {
  if (f.caretShown) XorCaret(f, position);
  f.caretShown = false;
}

bool IsNumberStartKey(uint8_t c) { return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+'; }

}  // namespace

bool CheckTimerElapsed(uint8_t& stamp, int n) {
  uint16_t now = 0;
  GetTimeHundredths(now);
  const int current = now % 100;
  const int passed = (current - stamp % 100 + 100) % 100;
  if (passed < n) return false;
  stamp = uint8_t(current);
  return true;
}

void MapExtendedKeyToExitCode(uint8_t& exitCode) {
  const uint8_t scan = ReadNextKey();
  if (scan == kScanF9) {
    CallHelpHook();
    return;
  }
  const uint8_t code = ExitCodeOfExtendedKey(scan);
  if (code != 0) exitCode = code;
}

void ReadFormExitKey(uint8_t& exitCode, uint8_t enterCode) {
  if (!PollKeyPressed()) {
    WaitForWindowMessage();
    return;
  }
  switch (ReadNextKey()) {
    case 0: MapExtendedKeyToExitCode(exitCode); break;
    case 13: exitCode = enterCode; break;
    case 27: exitCode = 3; break;
    default: break;
  }
}

void EditTextField(int column, int row, int width, int mode, std::string& text, int background, int textColor,
                   uint8_t& exitCode) {
  int position = int(text.size()) + 1;
  EditTextFieldAt(column, row, width, mode, text, background, textColor, exitCode, position);
}

void EditTextFieldAt(int column, int row, int width, int mode, std::string& text, int background, int textColor,
                     uint8_t& exitCode, int& position) {
  exitCode = 0;
  if (width < 1) width = 1;
  position = std::clamp(position, 1, int(text.size()) + 1);
  TField f{column, row, width, mode, background, textColor};
  WaitForMouseRelease();
  DrawField(f, text);
  ShowCaret(f, position);
  CheckTimerElapsed(f.caretStamp, 0);
  bool firstKey = true;

  auto insert = [&](uint8_t c) {
    if (int(text.size()) < width) {
      text.insert(text.begin() + (position - 1), char(c));
      ++position;
    } else {
      BeepSignal(0);
    }
  };

  while (exitCode == 0) {
    PollMouseButtons();
    if (RedrawRequested()) {
      exitCode = 3;
      break;
    }
    const uint8_t buttons = GetMouseButtonState();
    if (buttons == 2) {
      exitCode = 2;
      break;
    }
    if (buttons >= 4) {
      exitCode = 3;
      break;
    }
    if (buttons == 1) {
      exitCode = 9;
      break;
    }
    if (!PollKeyPressed()) {
      if (CloseRequested) {
        exitCode = 3;
        break;
      }
      if (CheckTimerElapsed(f.caretStamp, f.caretShown ? 50 : 15)) {
        if (f.caretShown) HideCaret(f, position);
        else ShowCaret(f, position);
      }
      WaitForWindowMessage();
      continue;
    }

    uint8_t key = ReadNextKey();
    if (mode == 1 || mode == 6) key = UpperCaseKey(key);
    if (mode >= 2 && mode <= 4 && key == ',') key = '.';
    const bool first = firstKey;
    firstKey = false;
    HideCaret(f, position);

    if (key >= 32) {
      if (width == 1 || (first && mode >= 2 && IsNumberStartKey(key))) {
        text.assign(1, char(key));
        position = 2;
      } else {
        insert(key);
      }
    } else if (key == 0) {
      const uint8_t scan = ReadNextKey();
      const bool ctrl = !IsCtrlKeyUp();
      switch (scan) {
        case kScanHome: position = 1; break;
        case kScanEnd: position = int(text.size()) + 1; break;
        case kScanLeft:
          if (ctrl) exitCode = 122;
          else if (mode == 3) exitCode = 45;
          else if (position > 1) --position;
          break;
        case kScanRight:
          if (ctrl) exitCode = 121;
          else if (mode == 3) exitCode = 46;
          else if (position <= int(text.size())) ++position;
          break;
        case kScanDel:
          if (mode == 3 || mode == 4) exitCode = 47;
          else if (position <= int(text.size())) text.erase(size_t(position - 1), 1);
          break;
        case 115: exitCode = 122; break;  // Ctrl+Left as a key of its own
        case 116: exitCode = 121; break;  // Ctrl+Right
        case kScanF9: CallHelpHook(); break;
        case 254: exitCode = 123; break;
        case 255: exitCode = 124; break;
        case kScanAltE: exitCode = 44; break;
        case kScanAltR:
          if (mode >= 2) {
            std::string result;
            RunCalculator(result);
            if (!result.empty()) {
              if (int(result.size()) > width) result.resize(size_t(width));
              text = result;
              position = int(text.size()) + 1;
            }
          }
          break;
        default: {
          const uint8_t code = ExitCodeOfExtendedKey(scan);
          if (code != 0) {
            exitCode = code;
          } else if (mode == 0) {
            for (const TSymbolKey& s : kSymbolKeys)
              if (s.scan == scan && int(text.size()) < width) {
                text.insert(text.begin() + (position - 1), char(s.symbol));
                ++position;
              }
          }
          break;
        }
      }
    } else {
      switch (key) {
        case 8:  // Backspace
          if (position > 1) {
            text.erase(size_t(position - 2), 1);
            --position;
          }
          break;
        case 9:
        case 13: exitCode = 2; break;
        case 27: exitCode = 3; break;
        case 25:  // Ctrl+Y
          text.clear();
          position = 1;
          if (mode == 0) exitCode = 18;
          break;
        case 11:  // Ctrl+K and a letter
          if (mode == 0) {
            uint8_t letter = UpperCaseKey(ReadNextKey());
            if (letter >= 1 && letter <= 26) letter = uint8_t('A' + letter - 1);  // Ctrl still held
            if (letter >= 'A' && letter <= 'Z') exitCode = uint8_t(19 + letter - 'A');
          }
          break;
        case 2:  // Ctrl+B
          if (mode == 0) exitCode = uint8_t(155 + position);
          break;
        case 12:  // Ctrl+L
          if (mode == 0) exitCode = 125;
          break;
        case 5:  // Ctrl+E
          if (mode == 0) exitCode = 126;
          break;
        case 19:  // Ctrl+S
          if (mode == 0) exitCode = 127;
          break;
        default: break;
      }
    }
    DrawField(f, text);
    ShowCaret(f, position);
  }

  HideCaret(f, position);
  DrawField(f, text);
}
