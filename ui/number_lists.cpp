// Number lists: reading "1,3,7-11 15" into selection flags, and the popup
// that asks for one.
#include "ui/number_lists.h"

#include <cstring>

#include "frame/messages.h"
#include "frame/system_services.h"
#include "ui/text_popup.h"

namespace {

// The state of one pass over a list.
struct TListReader {
  uint8_t* flags = nullptr;
  std::string number;      // digits being collected
  bool rangePending = false;
  int32_t rangeStart = 0;
  bool error = false;

  void Select(int64_t from, int64_t to) {
    if (to < from) {
      error = true;
      return;
    }
    if (from < 0 || to >= kNumberListSize) error = true;
    if (from < 0) from = 0;
    if (to >= kNumberListSize) to = kNumberListSize - 1;
    for (int64_t n = from; n <= to; ++n) flags[n] = 1;
  }

  // Reads the collected number; false when it cannot be read.
  bool TakeNumber(int32_t& n) {
    int16_t code = 0;
    n = ParseIntegerValue(number, code);
    number.clear();
    if (code != 0) {
      error = true;
      return false;
    }
    return true;
  }

  // Ends the number being collected: a range end or a single number.
  void EndNumber() {
    if (number.empty()) return;
    int32_t n = 0;
    if (!TakeNumber(n)) return;
    if (rangePending) {
      Select(rangeStart, n);
      rangePending = false;
    } else {
      Select(n, n);
    }
  }
};

}  // namespace

bool ReadNumberList(const std::string& text, uint8_t (&flags)[kNumberListSize]) {
  std::memset(flags, 0, sizeof(flags));
  TListReader reader;
  reader.flags = flags;
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;  // leading blanks
  char previous = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ' ') {
      if (previous != '-') previous = c;
      continue;
    }
    if (c == ',') {
      reader.EndNumber();
    } else if (c == '-') {
      if (!reader.number.empty()) {
        int32_t n = 0;
        if (reader.TakeNumber(n)) {
          if (reader.rangePending) reader.Select(reader.rangeStart, n);
          reader.rangePending = true;
          reader.rangeStart = n;
        }
      }
    } else if (c >= '0' && c <= '9') {
      if (previous == ' ') reader.EndNumber();
      reader.number += c;
    } else {
      // The popup lets only the list characters through; anything else read
      // here makes the list wrong.
      reader.error = true;
    }
    previous = c;
  }
  reader.EndNumber();
  return !reader.error;
}

void EditNumberList(const std::string& title, const std::string& caption, uint8_t (&flags)[kNumberListSize],
                    uint8_t& exitCode, int width, int position) {
  std::string text;
  EditTextFromCharSet(title, caption, text, exitCode, width, position, kNumberListCharacters, 5, 255);
  std::memset(flags, 0, sizeof(flags));
  if (exitCode == 3) return;
  if (!ReadNumberList(text, flags)) {
    ShowTitledMessage(kNumberListError);
    exitCode = 3;
  }
}
