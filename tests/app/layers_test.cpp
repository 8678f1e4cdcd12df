// The folders are stacked in layers: a file includes headers of its own
// folder or of folders below it. The few includes that still reach up are
// listed with their reason in docs/ARCHITECTURE.md ("Includes that reach
// up"); any other is a fault. Stand-in files stay small leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Bottom to top; a folder not named here is not program code.
const std::vector<std::string> kLayers = {
    "platform",         "frame",           "model",           "view",
    "ui",               "commands",        "cad",             "paths",
    "machine",          "text",            "relief/core",     "relief/editing",
    "relief/operations", "relief/textures", "relief/machining", "projection",
    "raster",           "exchange",        "app"};

// The layer of a path relative to the source root; -1 outside the program.
int LayerOf(const std::string& path) {
  int found = -1;
  size_t longest = 0;
  for (size_t i = 0; i < kLayers.size(); ++i) {
    const std::string prefix = kLayers[i] + "/";
    if (path.compare(0, prefix.size(), prefix) == 0 && prefix.size() > longest) {
      found = int(i);
      longest = prefix.size();
    }
  }
  return found;
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> ProgramFiles() {
  std::vector<std::string> files;
  const fs::path root(TORV_SOURCE_DIR);
  for (const std::string& layer : kLayers) {
    const fs::path dir = root / layer;
    if (!fs::exists(dir)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
      const std::string ext = entry.path().extension().string();
      if (ext != ".cpp" && ext != ".h") continue;
      files.push_back(fs::relative(entry.path(), root).generic_string());
    }
  }
  return files;
}

// "from -> to" for every include of a header of a higher layer.
std::set<std::string> UpwardIncludes() {
  static const std::regex kInclude(R"re(^\s*#\s*include\s+"([^"]+)")re");
  std::set<std::string> found;
  for (const std::string& file : ProgramFiles()) {
    const int own = LayerOf(file);
    std::ifstream in(fs::path(TORV_SOURCE_DIR) / file);
    std::string line;
    std::smatch m;
    while (std::getline(in, line)) {
      if (!std::regex_search(line, m, kInclude)) continue;
      const int target = LayerOf(m[1]);
      if (target > own) found.insert(file + " -> " + std::string(m[1]));
    }
  }
  return found;
}

// The list in docs/ARCHITECTURE.md: lines "- `from` -> `to`: reason" under
// the heading "### Includes that reach up".
std::set<std::string> ListedUpwardIncludes() {
  std::ifstream in(fs::path(TORV_SOURCE_DIR) / "docs" / "ARCHITECTURE.md");
  static const std::regex kRow(R"re(^- `([^`]+)` -> `([^`]+)`: .+)re");
  std::set<std::string> listed;
  bool inside = false;
  std::string line;
  std::smatch m;
  while (std::getline(in, line)) {
    if (line.rfind("#", 0) == 0) inside = line == "### Includes that reach up";
    if (inside && std::regex_match(line, m, kRow)) listed.insert(std::string(m[1]) + " -> " + std::string(m[2]));
  }
  return listed;
}

TEST(Layers, LayerOfTakesTheDeepestNamedFolder) {
  EXPECT_EQ(LayerOf("frame/param_file.h"), 1);
  EXPECT_EQ(LayerOf("relief/machining/x.h"), 14);
  EXPECT_EQ(LayerOf("app/main.cpp"), 18);
  EXPECT_EQ(LayerOf("framework/x.h"), -1);
  EXPECT_EQ(LayerOf("tests/frame/x.h"), -1);
}

TEST(Layers, EveryIncludeThatReachesUpIsListedWithItsReason) {
  const std::set<std::string> found = UpwardIncludes();
  const std::set<std::string> listed = ListedUpwardIncludes();
  for (const std::string& include : found) EXPECT_TRUE(listed.count(include)) << "not listed: " << include;
  for (const std::string& include : listed) EXPECT_TRUE(found.count(include)) << "listed but gone: " << include;
  EXPECT_LE(listed.size(), 20u);
}

TEST(Layers, StandInsAreSmallAndIncludedOnlyFromAboveOrByTheirListedCallers) {
  const std::vector<std::string> files = ProgramFiles();
  for (const std::string& file : files) {
    if (file.find("_standin.") == std::string::npos) continue;
    const std::string text = ReadText(fs::path(TORV_SOURCE_DIR) / file);
    const long lines = long(std::count(text.begin(), text.end(), '\n'));
    EXPECT_LT(lines, 150) << file;
    if (file.size() < 2 || file.compare(file.size() - 2, 2, ".h") != 0) continue;
    // Every including file outside app/ and the stand-in's own .cpp is named
    // in the header's comment.
    const std::string stem = file.substr(0, file.size() - 2);
    const std::string quoted = "\"" + file + "\"";
    for (const std::string& other : files) {
      if (other.rfind("app/", 0) == 0 || other == stem + ".cpp" || other == file) continue;
      const std::string body = ReadText(fs::path(TORV_SOURCE_DIR) / other);
      if (body.find(quoted) == std::string::npos) continue;
      const std::string otherStem = other.substr(0, other.rfind('.'));
      EXPECT_NE(text.find(otherStem), std::string::npos) << file << " does not list its caller " << other;
    }
  }
}

}  // namespace
