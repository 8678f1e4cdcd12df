// Menu text file pages: line decoding, page popups and menu texts.
#include "commands/menu_pages.h"

#include <cstring>

#include "commands/command_names.h"
#include "frame/checked_files.h"
#include "frame/messages.h"
#include "frame/program_state.h"

namespace {

std::string Columns(const TMenuLine& line, int first, int last, bool trim) {
  std::string text(line.text + first - 1, size_t(last - first + 1));
  if (trim) {
    const size_t end = text.find_last_not_of(' ');
    text.erase(end == std::string::npos ? 0 : end + 1);
  }
  return text;
}

bool MenuFileOpen() { return MenuTextFile.state >= plat::kFileInput; }

// Size of the menu text file in bytes, -1 when it is not open or cannot be
// measured.
int64_t MenuFileSize() {
  if (!MenuFileOpen()) return -1;
  const int64_t size = plat::FileSize(MenuTextFile);
  if (plat::IoResult() != 0) return -1;
  return size;
}

// Reads the 40 characters at position, blanks unless a whole line is there.
void ReadLineAt(int64_t position, int64_t fileSize, TMenuLine& out) {
  std::memset(out.text, ' ', sizeof out.text);
  if (position < 0 || fileSize < 0 || position + kMenuLineText > fileSize) return;
  plat::Seek(MenuTextFile, position);
  if (plat::IoResult() != 0) return;
  char buffer[kMenuLineText];
  if (ReadBlockChecked(MenuTextFile, buffer, kMenuLineText) == kMenuLineText)
    std::memcpy(out.text, buffer, sizeof buffer);
}

}  // namespace

// --- one line ----------------------------------------------------------------------

int32_t DecodeMenuLineNumber(const TMenuLine& line) {
  const char* p = line.text + 36;
  const char* end = line.text + kMenuLineText;
  while (p < end && *p == ' ') ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) {
    negative = *p == '-';
    ++p;
  }
  int32_t value = 0;
  for (; p < end && *p >= '0' && *p <= '9'; ++p) value = value * 10 + (*p - '0');
  return negative ? -value : value;
}

std::string MenuLineCaption(const TMenuLine& line) { return Columns(line, 1, 18, true); }

std::string MenuLineTitle(const TMenuLine& line) { return Columns(line, 1, 15, true); }

char MenuLineHotKey(const TMenuLine& line) {
  const char c = line.text[35];
  return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

char MenuLineIconKind(const TMenuLine& line) { return line.text[28]; }

// --- reading -------------------------------------------------------------------------

int64_t MenuLineOffset(int32_t page, int line) {
  return int64_t(page) * kMenuPageSize + int64_t(line - 1) * kMenuLineSize;
}

void ReadMenuLine(int32_t page, int line, TMenuLine& out) {
  if (line < 1 || line > kMenuPageLines) {
    std::memset(out.text, ' ', sizeof out.text);
    return;
  }
  ReadLineAt(MenuLineOffset(page, line), MenuFileSize(), out);
}

void ReadMenuPage(int32_t page, TMenuPage& out) {
  const int64_t size = MenuFileSize();
  for (int k = 1; k <= kMenuPageLines; ++k) ReadLineAt(MenuLineOffset(page, k), size, out.lines[k - 1]);
}

// --- page popups -----------------------------------------------------------------------

void InitMenuPagePopupList(TPopupList& list) {
  InitPopupList(list);
  for (uint8_t& state : list.states) state = 129;
  list.panelStyle = 5;
}

void MarkPopupSeparators(TPopupList& list) {
  int last = 0;
  for (int i = kPopupEntries; i >= 1 && last == 0; --i)
    if (!list.captions[i - 1].empty()) last = i;
  if (last < 2) return;
  for (int i = 1; i < last; ++i)
    if (list.captions[i - 1].empty()) list.captions[i - 1] = "\x01";
}

void RunMenuPagePopup(int16_t x, int32_t page) {
  if (page < 0) {
    CommandWord = 0;
    return;
  }
  EnsureMenuTables();
  int32_t numbers[kMenuPageLines] = {};
  TPopupList list;
  InitMenuPagePopupList(list);
  list.x = x;
  list.y = 16;
  list.dragFlags = 0;
  list.panelStyle = 5;
  TMenuPage menuPage;
  ReadMenuPage(page, menuPage);
  for (int i = 1; i <= kMenuPageLines; ++i) {
    const TMenuLine& line = menuPage.lines[i - 1];
    numbers[i - 1] = DecodeMenuLineNumber(line);
    list.captions[i - 1] = MenuLineCaption(line);
    // A negative number (a line with a sign) names no command and no picture.
    int16_t code = numbers[i - 1] >= 0 ? int16_t(numbers[i - 1]) : int16_t(-1);
    LookupCommandName(code, list.names[i - 1]);
  }
  MarkPopupSeparators(list);
  RunPopupMenu(list, 17, 1, 4);
  if (list.result >= 1 && list.result <= kMenuPageLines) {
    CommandWord = TCommandCode(numbers[list.result - 1]);
    CommandGiven = 1;
  } else {
    CommandWord = 0;
  }
}

// --- menu texts -------------------------------------------------------------------------

namespace {

// The first line of the file whose number equals code; with offBars the
// menu-bar pages 0 and 44 are passed over.
bool FindMenuLineOfCommand(uint16_t code, bool offBars, TMenuLine& line) {
  const int64_t size = MenuFileSize();
  for (int64_t position = 0; position < size; position += kMenuLineSize) {
    const int64_t page = position / kMenuPageSize;
    if (offBars && (page == 0 || page == 44)) continue;
    ReadLineAt(position, size, line);
    if (DecodeMenuLineNumber(line) == int32_t(code)) return true;
  }
  return false;
}

}  // namespace

void FindMenuTextOfCommand(uint16_t code, std::string& text) {
  TMenuLine line;
  text = FindMenuLineOfCommand(code, false, line) ? Columns(line, 1, kMenuTextOfCommandMax, false) : std::string();
}

void FindMenuEntryCaption(uint16_t code, std::string& text) {
  TMenuLine line;
  text = FindMenuLineOfCommand(code, true, line) ? MenuLineCaption(line) : std::string();
}
