// Every message number the program asks for has a text: the program sources
// are scanned for message calls with a literal number (and for message
// number constants named kMsg...), and each number must have a line in
// data/messages.tsv and a non-blank record in the built TORV.TX0. The built
// file must also read back, through the program's lookup, as the source
// texts in the DOS code page.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "frame/defaults.h"
#include "frame/messages.h"
#include "platform/files.h"
#include "support/work_folder.h"
#include "support/host_files.h"

namespace fs = std::filesystem;

namespace {

using torvtest::ReadHostFile;

// The calls that take message numbers and the positions (1-based) of those
// arguments. A new message call takes a row here.
struct TMessageCall {
  const char* name;
  int arguments[3];  // 0: unused
};
const TMessageCall kMessageCalls[] = {
    {"ShowMessageNumber", {1}},    {"GetMessageText", {1}},      {"GetMessageTextRaw", {1}},
    {"GetMessageTextSpaced", {1}}, {"AskYesNoMessage", {1}},     {"GetShortMessageText", {1}},
};
// Named message numbers: constants whose name starts with this.
constexpr const char* kMessageConstantPrefix = "kMsg";
// ShowMessageNumber above this shows an I/O result, not a text.
constexpr long kLastTextNumber = 10000;

struct TUse {
  long number;
  std::string where;
};

bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

size_t SkipBlanks(const std::string& s, size_t i) {
  while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
  return i;
}

// Reads a decimal literal at i; false when there is none.
bool ReadNumber(const std::string& s, size_t& i, long& number) {
  size_t start = i;
  number = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && i - start < 9)
    number = number * 10 + (s[i++] - '0');
  return i > start && !(i < s.size() && IsIdentChar(s[i]));
}

int LineOf(const std::string& s, size_t pos) {
  return 1 + static_cast<int>(std::count(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(pos), '\n'));
}

// The arguments of the call whose "(" is at open, split at the commas
// outside brackets and literals; empty when the call is not closed.
std::vector<std::string> CallArguments(const std::string& text, size_t open) {
  std::vector<std::string> arguments(1);
  int depth = 0;
  char quote = 0;
  for (size_t i = open + 1; i < text.size(); ++i) {
    char c = text[i];
    if (quote) {
      if (c == '\\') ++i;
      else if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '(' || c == '[' || c == '{') {
      ++depth;
    } else if (c == ')' || c == ']' || c == '}') {
      if (depth-- == 0) return arguments;
    } else if (c == ',' && depth == 0) {
      arguments.emplace_back();
      continue;
    }
    arguments.back() += c;
  }
  return {};
}

// The value of an argument that is a plain decimal literal.
bool LiteralNumber(const std::string& argument, long& number) {
  size_t i = SkipBlanks(argument, 0);
  if (!ReadNumber(argument, i, number)) return false;
  return SkipBlanks(argument, i) == argument.size();
}

// The message numbers a source text asks for.
std::vector<TUse> FindMessageUses(const std::string& text, const std::string& file) {
  std::vector<TUse> uses;
  for (const TMessageCall& call : kMessageCalls) {
    const std::string name = call.name;
    for (size_t pos = text.find(name); pos != std::string::npos; pos = text.find(name, pos + 1)) {
      if (pos > 0 && IsIdentChar(text[pos - 1])) continue;
      size_t open = SkipBlanks(text, pos + name.size());
      if (open >= text.size() || text[open] != '(') continue;
      const std::vector<std::string> arguments = CallArguments(text, open);
      for (int index : call.arguments) {
        long number = 0;
        if (index < 1 || static_cast<size_t>(index) > arguments.size() ||
            !LiteralNumber(arguments[static_cast<size_t>(index) - 1], number))
          continue;  // an expression, not a number
        if (name == "ShowMessageNumber" && number > kLastTextNumber) continue;
        uses.push_back({number, file + ":" + std::to_string(LineOf(text, pos))});
      }
    }
  }
  const std::string prefix = kMessageConstantPrefix;
  for (size_t pos = text.find(prefix); pos != std::string::npos; pos = text.find(prefix, pos + 1)) {
    if (pos > 0 && IsIdentChar(text[pos - 1])) continue;
    size_t i = pos + prefix.size();
    while (i < text.size() && IsIdentChar(text[i])) ++i;
    i = SkipBlanks(text, i);
    if (i >= text.size() || text[i] != '=') continue;
    i = SkipBlanks(text, i + 1);
    long number = 0;
    if (!ReadNumber(text, i, number)) continue;
    uses.push_back({number, file + ":" + std::to_string(LineOf(text, pos))});
  }
  return uses;
}

// Every use in the program sources (not the tests, the platform layer, the
// build tools or build folders).
std::vector<TUse> ScanProgramSources() {
  std::vector<TUse> uses;
  const fs::path root = TORV_SOURCE_DIR;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    const fs::path rel = fs::relative(it->path(), root);
    const std::string top = rel.begin()->string();
    if (it->is_directory()) {
      if (it.depth() == 0 && (top == "tests" || top == "platform" || top == "tools" || top == "data" ||
                              top == "bench" || top == "fuzz" || top.rfind("build", 0) == 0 || top[0] == '.'))
        it.disable_recursion_pending();
      continue;
    }
    const std::string ext = it->path().extension().string();
    if (ext != ".cpp" && ext != ".h") continue;
    for (TUse& use : FindMessageUses(ReadHostFile(it->path()), rel.string())) uses.push_back(use);
  }
  return uses;
}

// Number -> UTF-8 text of data/messages.tsv.
std::map<long, std::string> ReadMessageSource() {
  std::map<long, std::string> texts;
  std::istringstream in(ReadHostFile(fs::path(TORV_SOURCE_DIR) / "data" / "messages.tsv"));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    texts[std::stol(line.substr(0, tab))] = line.substr(tab + 1);
  }
  return texts;
}

// UTF-8 to the DOS code page for the characters the message texts use.
std::string DosOf(const std::string& utf8) {
  static const std::pair<const char*, char> kMap[] = {
      {"ä", '\x84'}, {"ö", '\x94'}, {"ü", '\x81'}, {"Ä", '\x8E'}, {"Ö", '\x99'},
      {"Ü", '\x9A'}, {"ß", '\xE1'}, {"°", '\xF8'}, {"±", '\xF1'}, {"²", '\xFD'},
  };
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    bool mapped = false;
    for (const auto& [from, to] : kMap) {
      if (utf8.compare(i, std::strlen(from), from) == 0) {
        out += to;
        i += std::strlen(from);
        mapped = true;
        break;
      }
    }
    if (!mapped) out += utf8[i++];
  }
  return out;
}

std::string BuiltMessageFile() { return ReadHostFile(fs::path(TORV_BINARY_DIR) / kMessageFileName); }

TEST(MessageNumbers, TheScannerFindsLiteralNumbersOnly) {
  const std::string sample =
      "ShowMessageNumber(59);\n"
      "x = GetMessageText( 3307 , -39);\n"
      "GetMessageTextRaw(12, s); AskYesNoMessage(10, a);\n"
      "ShowMessageNumber(10000 + code);\n"
      "ShowMessageNumber(10003);\n"
      "MyShowMessageNumber(77);\n"
      "GetMessageText(number, -39);\n"
      "GetMessageText(5x, -39);\n"
      "AskYesNoMessage(f(a, b), x); AskYesNoMessage(4003, x);\n"
      "GetMessageText(\"(\", 1);\n"
      "constexpr int16_t kMsgSaveFailed = 3129;\n"
      "int kMsgCount;\n";
  std::set<long> found;
  for (const TUse& use : FindMessageUses(sample, "sample")) found.insert(use.number);
  EXPECT_EQ(found, (std::set<long>{10, 12, 59, 3129, 3307, 4003}));
}

TEST(MessageNumbers, EveryNumberTheProgramAsksForHasAText) {
  const std::vector<TUse> uses = ScanProgramSources();
  // The scan reaches the program sources (the language popup asks for 1716).
  bool sawLanguagePopup = false;
  for (const TUse& use : uses) sawLanguagePopup = sawLanguagePopup || use.number == 1716;
  ASSERT_TRUE(sawLanguagePopup) << "the program sources were not scanned";

  const std::map<long, std::string> source = ReadMessageSource();
  const std::string built = BuiltMessageFile();
  ASSERT_FALSE(built.empty()) << "TORV.TX0 was not built next to the program";
  std::string missing;
  for (const TUse& use : uses) {
    const size_t at = static_cast<size_t>(use.number) * kMessageRecordSize;
    const bool inSource = source.count(use.number) > 0;
    const bool inBuilt =
        at + kMessageRecordSize <= built.size() && built.substr(at, 40).find_first_not_of(' ') != std::string::npos;
    if (!inSource || !inBuilt)
      missing += "  " + std::to_string(use.number) + " (" + use.where + ")" + (inSource ? " not built" : "") + "\n";
  }
  EXPECT_TRUE(missing.empty()) << "message numbers without a text:\n" << missing;
}

class BuiltMessageFileTest : public ::testing::Test {
 protected:
  std::unique_ptr<torvtest::TWorkFolder> work_;
  void SetUp() override {
    work_ = std::make_unique<torvtest::TWorkFolder>();
    ASSERT_TRUE(work_->Entered());
    setenv("TORV_HOME", TORV_BINARY_DIR, 1);
    ErrorCode = 0;
  }
  void TearDown() override {
    CloseMessageFile();
    unsetenv("TORV_HOME");
    work_.reset();
    ErrorCode = 0;
  }
};

TEST_F(BuiltMessageFileTest, EveryRecordReadsBackAsItsSourceText) {
  const std::map<long, std::string> source = ReadMessageSource();
  ASSERT_FALSE(source.empty());
  const std::string built = BuiltMessageFile();
  ASSERT_EQ(built.size(), static_cast<size_t>(source.rbegin()->first + 1) * kMessageRecordSize);
  OpenMessageFile();
  ASSERT_EQ(ErrorCode, 0);
  for (const auto& [number, text] : source) {
    std::string dos = DosOf(text);
    EXPECT_LE(dos.size(), 39u) << number;
    while (!dos.empty() && dos.back() == ' ') dos.pop_back();
    EXPECT_EQ(GetMessageText(static_cast<int16_t>(number), -39), dos) << number;
    EXPECT_EQ(built.substr(static_cast<size_t>(number) * kMessageRecordSize + 40, 2), "\r\n") << number;
  }
  // Numbers without a text are blank records.
  for (long n = 0; n <= source.rbegin()->first; ++n) {
    if (!source.count(n)) {
      EXPECT_EQ(GetMessageText(static_cast<int16_t>(n), -39), "") << n;
    }
  }
  EXPECT_EQ(ErrorCode, 0);
}

}  // namespace
