// Every resource picture the program names in its sources is in the
// resource table built beside the program.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "frame/messages.h"
#include "platform/picture_codecs.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> ResourceTable() {
  std::vector<uint8_t> bytes;
  plat::ReadFileBytes(std::string(TORV_BINARY_DIR) + "/" + plat::kResourceFileName, bytes);
  return bytes;
}

// The arguments of the call that starts at text[open] ("(") up to its
// closing parenthesis, split at the commas outside parentheses and literals.
std::vector<std::string> CallArguments(const std::string& text, size_t open) {
  std::vector<std::string> args(1);
  int depth = 0;
  bool inLiteral = false;
  for (size_t i = open + 1; i < text.size(); ++i) {
    const char c = text[i];
    if (inLiteral) {
      if (c == '\\') args.back() += text[i++];
      else if (c == '"') inLiteral = false;
    } else if (c == '"') {
      inLiteral = true;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (depth-- == 0) return args;
    } else if (c == ',' && depth == 0) {
      args.emplace_back();
      continue;
    } else if (c == ';') {
      break;
    }
    if (i < text.size()) args.back() += text[i];
  }
  return {};
}

// A picture argument written as one literal or as "cond ? literal : literal".
void AddLiteralNames(const std::string& arg, std::set<std::string>& names) {
  static const std::regex literal(R"re(^\s*(?:[^"]*\?\s*)?"([A-Za-z_][A-Za-z0-9_]*)"\s*(?::\s*"([A-Za-z_][A-Za-z0-9_]*)"\s*)?$)re");
  std::smatch m;
  if (!std::regex_match(arg, m, literal)) return;
  names.insert(m[1]);
  if (m[2].matched) names.insert(m[2]);
}

TEST(ResourceNames, EveryNameTheSourcesDrawIsInTheTable) {
  const std::vector<uint8_t> table = ResourceTable();
  ASSERT_FALSE(table.empty());
  // The calls that draw a resource picture and which of their arguments
  // names it (-1 the last).
  const struct {
    const char* call;
    std::vector<int> pictureArgs;
  } kCalls[] = {{"DrawResourceBitmap(", {-1}},   {"PlacePictureButton(", {-1}}, {"DrawIconButton(", {0, 1}},
                {"DrawNamedPicture(", {0}}};
  std::set<std::string> names;
  for (const char* folder : {"frame", "ui", "view", "commands", "cad", "model", "paths", "text", "machine", "app"}) {
    const fs::path dir = fs::path(TORV_SOURCE_DIR) / folder;
    if (!fs::exists(dir)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
      if (entry.path().extension() != ".cpp") continue;
      std::ifstream in(entry.path());
      const std::string text((std::istreambuf_iterator<char>(in)), {});
      for (const auto& call : kCalls) {
        const std::string head = call.call;
        for (size_t at = text.find(head); at != std::string::npos; at = text.find(head, at + 1)) {
          if (at > 0 && (std::isalnum(static_cast<unsigned char>(text[at - 1])) || text[at - 1] == '_')) continue;
          const std::vector<std::string> args = CallArguments(text, at + head.size() - 1);
          for (int index : call.pictureArgs) {
            const int k = index < 0 ? int(args.size()) + index : index;
            if (k >= 0 && k < int(args.size())) AddLiteralNames(args[size_t(k)], names);
          }
        }
      }
    }
  }
  // The scan finds the calls (a name drawn by the menu stand-in, one of a
  // button row, a picture button's second argument, both names of a choice).
  EXPECT_EQ(names.count("_LDAktion"), 1u);
  EXPECT_EQ(names.count("Abbruch"), 1u);
  EXPECT_EQ(names.count("UmfDupliz"), 1u);
  EXPECT_EQ(names.count("UMFGrad"), 1u);
  EXPECT_EQ(names.count("UMFPos"), 1u);
  for (const TLanguageSet& set : LanguageSets) names.insert(set.picture);
  // Names put together at run time or kept in tables: the icon panel's tab
  // rows and group tabs, the transform dialog's mode buttons.
  for (int t = 1; t <= 5; ++t) names.insert("_KReiter" + std::to_string(t) + "_7");
  for (const char* name : {"MenDatei1", "MenZeichnen3", "MenWBahn1", "MenRelief", "MenRelVTR", "_MenDatei1A",
                           "_MenZeichnen3A", "_MenWBahn1A", "_MenReliefA", "_MenRelVTRA", "UmfPosit", "UmfDreh",
                           "SkalierProz", "UmfGroesse", "UmfNeigen", "SpiegelnY"})
    names.insert(name);
  for (const std::string& name : names) {
    size_t begin = 0, end = 0;
    EXPECT_TRUE(plat::FindTablePicture(table, name, begin, end)) << name << " has no resource picture";
  }
}

// The tab rows are as large as the icon panel draws them.
TEST(ResourceNames, TheTabRowsHaveThePanelsSize) {
  const std::vector<uint8_t> table = ResourceTable();
  for (int t = 1; t <= 5; ++t) {
    size_t begin = 0, end = 0;
    ASSERT_TRUE(plat::FindTablePicture(table, "_KReiter" + std::to_string(t) + "_7", begin, end)) << t;
    plat::TDecodedPicture picture;
    ASSERT_TRUE(plat::DecodeBmp(std::vector<uint8_t>(table.begin() + std::ptrdiff_t(begin),
                                                      table.begin() + std::ptrdiff_t(end)),
                                picture));
    EXPECT_EQ(picture.width, 166);
    EXPECT_EQ(picture.height, 30);
  }
}

TEST(ResourceNames, AMissingNameIsNotFound) {
  const std::vector<uint8_t> table = ResourceTable();
  size_t begin = 0, end = 0;
  EXPECT_FALSE(plat::FindTablePicture(table, "KeinBildDieserArt", begin, end));
  EXPECT_TRUE(plat::FindTablePicture(table, "abbruch", begin, end));
}

}  // namespace
