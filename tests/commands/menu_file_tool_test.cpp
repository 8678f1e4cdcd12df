// The build-time tool that writes the menu text file: the line layout it
// writes and the faults that stop the build.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class MenuFileTool : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/torv_menus_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  // Runs the tool on a source text; the exit status.
  int Run(const std::string& source) {
    std::ofstream(dir_ / "menu.txt", std::ios::binary) << source;
    const std::string command = std::string("'") + TORV_BINARY_DIR + "/data/make_menus' '" +
                                (dir_ / "menu.txt").string() + "' '" + Output().string() + "' 2>/dev/null";
    return std::system(command.c_str());
  }
  fs::path Output() const { return dir_ / "TORV.TXT"; }
  std::string ReadOutput() const {
    std::ifstream in(Output(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  fs::path dir_;
};

TEST_F(MenuFileTool, WritesWholePagesInTheLineLayout) {
  ASSERT_EQ(Run("# comment\n"
                "page 1\n"
                "Öffnen ...     | 2 | f | 3011\n"
                "               |   |   |\n"
                "Überschrift    |   |   | 0\n"
                "Kreis          | 3 | K | 98\n"),
            0);
  const std::string bytes = ReadOutput();
  ASSERT_EQ(bytes.size(), 2u * 1092u) << "page 0 blank, then page 1";
  EXPECT_EQ(bytes.substr(0, 1092), [] {
    std::string blank;
    for (int k = 0; k < 26; ++k) blank += std::string(40, ' ') + "\r\n";
    return blank;
  }());
  const std::string page = bytes.substr(1092);
  // Caption from column 1, kind in column 29, key in 36, number right-aligned in 37-40.
  const auto line = [](const std::string& caption, char kind, char key, const std::string& number) {
    std::string text(40, ' ');
    text.replace(0, caption.size(), caption);
    text[28] = kind;
    text[35] = key;
    text.replace(36, 4, number);
    return text + "\r\n";
  };
  EXPECT_EQ(page.substr(0, 42), line("\x99" "ffnen ...", '2', 'f', "3011"));
  EXPECT_EQ(page.substr(42, 42), line("", ' ', ' ', "    ")) << "a separator has no number";
  EXPECT_EQ(page.substr(84, 42), line("\x9A" "berschrift", ' ', ' ', "   0"));
  EXPECT_EQ(page.substr(126, 42), line("Kreis", '3', 'K', "  98"));
  EXPECT_EQ(page.substr(168, 42), line("", ' ', ' ', "    "));
}

TEST_F(MenuFileTool, BadSourcesFailWithoutWritingAFile) {
  std::string tooMany = "page 0\n";
  for (int k = 0; k < 27; ++k) tooMany += "Zeile | | | 1\n";
  const struct {
    const char* why;
    std::string source;
  } cases[] = {
      {"line before the first page", "Datei | | D | 9902\n"},
      {"pages out of order", "page 2\nA | | | 1\npage 1\nB | | | 2\n"},
      {"page twice", "page 2\npage 2\n"},
      {"27 lines on a page", tooMany},
      {"three fields", "page 0\nDatei | D | 9902\n"},
      {"caption of 19 characters", "page 3\n" + std::string(19, 'x') + " | | | 1\n"},
      {"title of 16 characters", "page 0 bar\n" + std::string(16, 'x') + " | | | 9902\n"},
      {"icon kind 5", "page 3\nA | 5 | | 1\n"},
      {"key of two letters", "page 3\nA | | AB | 1\n"},
      {"number of five digits", "page 3\nA | | | 10000\n"},
      {"negative number", "page 3\nA | | | -5\n"},
      {"character outside the code page", "page 3\n\xE2\x82\xAC | | | 1\n"},
      {"no page at all", "# nothing\n"},
      {"unknown page flag", "page 3 side\n"},
  };
  for (const auto& c : cases) {
    EXPECT_NE(Run(c.source), 0) << c.why;
    EXPECT_FALSE(fs::exists(Output())) << c.why;
    std::error_code ec;
    fs::remove(Output(), ec);
  }
}

}  // namespace
