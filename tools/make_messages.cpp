// Build-time tool: turns data/messages.tsv into the message file TORV.TX0.
//
//   make_messages <messages.tsv> <TORV.TX0>
//
// Input: UTF-8 text, one message per line as NUMBER, a tab and the text;
// lines starting with "#" and empty lines are skipped; a CR before the line
// end is dropped. Output: record n at byte n * 42, 40 characters of text in
// the DOS code page padded with blanks, then CR LF; numbers without a text
// are blank records. The file ends after the highest number.
//
// Any fault fails the build (exit 1, no output file): a line without a tab,
// a number that is not 0..32767 or is used twice, an empty text, a text of
// more than 39 characters, a control character, malformed UTF-8 or a
// character the DOS code page of the program does not hold.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#include "dos_text.h"

namespace {

constexpr int kRecordSize = 42;
constexpr int kRecordText = 40;
constexpr int kTextMax = 39;
constexpr long kNumberMax = 32767;

using dostext::ConvertToDos;

bool ParseNumber(const std::string& field, long& number) {
  if (field.empty() || field.size() > 5) return false;
  number = 0;
  for (char c : field) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  return number <= kNumberMax;
}

int Fail(const std::string& source, int line, const std::string& why) {
  std::cerr << source << ":" << line << ": error: " << why << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_messages <messages.tsv> <TORV.TX0>\n";
    return 2;
  }
  const std::string source = argv[1];
  const std::string target = argv[2];
  std::ifstream in(source, std::ios::binary);
  if (!in) {
    std::cerr << source << ": error: cannot be read\n";
    return 1;
  }

  std::map<long, std::string> texts;  // number -> DOS text
  std::map<long, int> lineOf;
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (lineNo == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
    if (line.empty() || line[0] == '#') continue;
    size_t tab = line.find('\t');
    if (tab == std::string::npos) return Fail(source, lineNo, "expected NUMBER<TAB>text");
    long number = 0;
    if (!ParseNumber(line.substr(0, tab), number))
      return Fail(source, lineNo, "the number must be 0.." + std::to_string(kNumberMax));
    std::string text = line.substr(tab + 1);
    if (text.empty()) return Fail(source, lineNo, "message " + std::to_string(number) + " has no text");
    std::string dos;
    std::string why = ConvertToDos(text, dos);
    if (!why.empty()) return Fail(source, lineNo, "message " + std::to_string(number) + ": " + why);
    if (dos.size() > static_cast<size_t>(kTextMax))
      return Fail(source, lineNo,
                  "message " + std::to_string(number) + " has " + std::to_string(dos.size()) +
                      " characters, at most " + std::to_string(kTextMax) + " fit");
    if (texts.count(number))
      return Fail(source, lineNo,
                  "message " + std::to_string(number) + " already given in line " + std::to_string(lineOf[number]));
    texts[number] = dos;
    lineOf[number] = lineNo;
  }
  if (in.bad()) {
    std::cerr << source << ": error: read failed\n";
    return 1;
  }
  if (texts.empty()) return Fail(source, lineNo, "no messages");

  const long count = texts.rbegin()->first + 1;
  std::string image(static_cast<size_t>(count) * kRecordSize, ' ');
  for (long n = 0; n < count; ++n) {
    size_t at = static_cast<size_t>(n) * kRecordSize;
    image[at + kRecordText] = '\r';
    image[at + kRecordText + 1] = '\n';
  }
  for (const auto& [number, dos] : texts) image.replace(static_cast<size_t>(number) * kRecordSize, dos.size(), dos);

  const std::string temp = target + ".part";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(image.data(), static_cast<std::streamsize>(image.size()));
    out.close();
    if (!out) {
      std::remove(temp.c_str());
      std::cerr << target << ": error: cannot be written\n";
      return 1;
    }
  }
  if (std::rename(temp.c_str(), target.c_str()) != 0) {
    std::remove(temp.c_str());
    std::cerr << target << ": error: cannot be written\n";
    return 1;
  }
  return 0;
}
