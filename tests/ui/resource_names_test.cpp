// Every resource picture the program names in its sources is in the
// resource table built beside the program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>

#include "frame/messages.h"
#include "platform/picture_codecs.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> ResourceTable() {
  std::vector<uint8_t> bytes;
  plat::ReadFileBytes(std::string(TORV_BINARY_DIR) + "/" + plat::kResourceFileName, bytes);
  return bytes;
}

TEST(ResourceNames, EveryNameTheSourcesDrawIsInTheTable) {
  const std::vector<uint8_t> table = ResourceTable();
  ASSERT_FALSE(table.empty());
  // Literal names handed to the resource drawing and the picture buttons.
  const std::regex call(
      R"((?:DrawResourceBitmap\([^;]*?|PlacePictureButton\([^;]*?|DrawIconButton\()\s*"([A-Za-z_][A-Za-z0-9_]*)\")");
  std::set<std::string> names;
  for (const char* folder : {"frame", "ui", "view", "commands", "cad", "model", "paths", "text", "machine"}) {
    const fs::path dir = fs::path(TORV_SOURCE_DIR) / folder;
    if (!fs::exists(dir)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
      if (entry.path().extension() != ".cpp") continue;
      std::ifstream in(entry.path());
      const std::string text((std::istreambuf_iterator<char>(in)), {});
      for (std::sregex_iterator it(text.begin(), text.end(), call), end; it != end; ++it) names.insert((*it)[1]);
    }
  }
  // The scan finds the calls (a name drawn by the menu stand-in and one of a button row).
  EXPECT_EQ(names.count("_LDAktion"), 1u);
  EXPECT_EQ(names.count("Abbruch"), 1u);
  for (const TLanguageSet& set : LanguageSets) names.insert(set.picture);
  for (const std::string& name : names) {
    size_t begin = 0, end = 0;
    EXPECT_TRUE(plat::FindTablePicture(table, name, begin, end)) << name << " has no resource picture";
  }
}

TEST(ResourceNames, AMissingNameIsNotFound) {
  const std::vector<uint8_t> table = ResourceTable();
  size_t begin = 0, end = 0;
  EXPECT_FALSE(plat::FindTablePicture(table, "KeinBildDieserArt", begin, end));
  EXPECT_TRUE(plat::FindTablePicture(table, "abbruch", begin, end));
}

}  // namespace
