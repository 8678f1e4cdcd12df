// Build-time tool: turns the readable menu source into the menu text file
// TORV.TXT.
//
//   make_menus <torv_menu.txt> <TORV.TXT>
//
// Input: UTF-8 text. "page N" starts page N, "page N bar" a menu-bar page
// (captions at most 15 characters); pages come in rising order. Every other
// line is one menu line "CAPTION | KIND | KEY | NUMBER" (fields trimmed);
// "#" lines and empty lines are skipped.
// Output: pages 0 to the highest one, 1092 bytes each: 26 lines of 40
// characters in the DOS code page and CR LF; columns 1-18 caption, 29 kind,
// 36 key, 37-40 the number right-aligned; missing lines and pages are blank.
//
// Any fault fails the build (exit 1, no output file): a line before the
// first page, a page out of order or above 999, more than 26 lines on a
// page, a wrong field count, a caption too long, a kind other than blank,
// "0", "2" or "3", a key of more than one character, a number that is not
// 0..9999, or a character the DOS code page of the program does not hold.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "dos_text.h"

namespace {

constexpr int kPageLines = 26;
constexpr int kLineText = 40;
constexpr size_t kCaptionMax = 18;
constexpr size_t kTitleMax = 15;
constexpr long kPageMax = 999;

using dostext::ConvertToDos;

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool ParseNumber(const std::string& field, long limit, long& number) {
  number = 0;
  if (field.empty()) return true;
  if (field.size() > 4) return false;
  for (char c : field) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  return number <= limit;
}

int Fail(const std::string& source, int line, const std::string& why) {
  std::cerr << source << ":" << line << ": error: " << why << "\n";
  return 1;
}

struct TPage {
  bool bar = false;
  std::vector<std::string> lines;  // 40 characters each
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_menus <torv_menu.txt> <TORV.TXT>\n";
    return 2;
  }
  const std::string source = argv[1];
  std::ifstream in(source, std::ios::binary);
  if (!in) {
    std::cerr << source << ": error: cannot be read\n";
    return 1;
  }
  std::map<long, TPage> pages;
  long current = -1;
  std::string raw;
  int lineNo = 0;
  while (std::getline(in, raw)) {
    ++lineNo;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == '#') continue;
    if (line.compare(0, 5, "page ") == 0) {
      std::istringstream fields(line.substr(5));
      std::string number, flag, rest;
      fields >> number >> flag >> rest;
      long page = 0;
      if (number.empty() || !ParseNumber(number, kPageMax, page) || !(flag.empty() || flag == "bar") || !rest.empty())
        return Fail(source, lineNo, "expected \"page N\" or \"page N bar\" with N 0..999");
      if (page <= current) return Fail(source, lineNo, "pages must come in rising order");
      current = page;
      pages[page].bar = flag == "bar";
      continue;
    }
    if (current < 0) return Fail(source, lineNo, "menu line before the first page");
    std::vector<std::string> fields;
    for (size_t from = 0;;) {
      const size_t bar = raw.find('|', from);
      fields.push_back(Trim(raw.substr(from, bar == std::string::npos ? std::string::npos : bar - from)));
      if (bar == std::string::npos) break;
      from = bar + 1;
    }
    if (fields.size() != 4) return Fail(source, lineNo, "expected CAPTION | KIND | KEY | NUMBER");
    TPage& page = pages[current];
    if (page.lines.size() == kPageLines) return Fail(source, lineNo, "more than 26 lines on the page");
    std::string caption, key;
    if (const std::string why = ConvertToDos(fields[0], caption); !why.empty()) return Fail(source, lineNo, why);
    if (const std::string why = ConvertToDos(fields[2], key); !why.empty()) return Fail(source, lineNo, why);
    const size_t captionMax = page.bar ? kTitleMax : kCaptionMax;
    if (caption.size() > captionMax)
      return Fail(source, lineNo, "caption longer than " + std::to_string(captionMax) + " characters");
    const std::string& kind = fields[1];
    if (!(kind.empty() || kind == "0" || kind == "2" || kind == "3"))
      return Fail(source, lineNo, "icon-panel kind must be blank, 0, 2 or 3");
    if (key.size() > 1) return Fail(source, lineNo, "the key is one character");
    long number = 0;
    if (!ParseNumber(fields[3], 9999, number)) return Fail(source, lineNo, "number must be 0..9999");
    std::string text(kLineText, ' ');
    text.replace(0, caption.size(), caption);
    if (!kind.empty()) text[28] = kind[0];
    if (!key.empty()) text[35] = key[0];
    if (number != 0 || !fields[3].empty()) {
      char digits[8];
      std::snprintf(digits, sizeof digits, "%4ld", number);
      text.replace(36, 4, digits);
    }
    page.lines.push_back(text);
  }
  if (pages.empty()) {
    std::cerr << source << ": error: no page\n";
    return 1;
  }
  std::string out;
  const long last = pages.rbegin()->first;
  for (long n = 0; n <= last; ++n) {
    const auto found = pages.find(n);
    for (int k = 0; k < kPageLines; ++k) {
      if (found != pages.end() && size_t(k) < found->second.lines.size())
        out += found->second.lines[size_t(k)];
      else
        out += std::string(kLineText, ' ');
      out += "\r\n";
    }
  }
  const std::string target = argv[2];
  std::ofstream file(target, std::ios::binary | std::ios::trunc);
  file.write(out.data(), std::streamsize(out.size()));
  file.close();
  if (!file) {
    std::remove(target.c_str());
    std::cerr << target << ": error: cannot be written\n";
    return 1;
  }
  return 0;
}
