// The command-name table: its fixed contents, the lookup with its sign
// convention, the table's life cycle, and a resource picture for every name.
#include "commands/command_names.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/picture_codecs.h"

namespace {

struct TBuiltTable {
  std::vector<TCommandName> entries = std::vector<TCommandName>(kCommandNameCount);
  TBuiltTable() { BuildCommandNameTable(entries.data()); }
};

// Gives every test a freshly built menu table and leaves none behind.
class CommandNames : public ::testing::Test {
 protected:
  void SetUp() override {
    FreeMenuTables();
    EnsureMenuTables();
  }
  void TearDown() override { FreeMenuTables(); }
};

TEST(CommandNameTable, HoldsTheFixedListInOrder) {
  const TBuiltTable table;
  EXPECT_EQ(table.entries[0].code, 3011);
  EXPECT_EQ(CommandNameText(table.entries[0]), "OEFFNEN");
  EXPECT_EQ(table.entries[655].code, 1705);
  EXPECT_EQ(CommandNameText(table.entries[655]), "Parameter");
  for (int n = 657; n <= 660; ++n) {
    EXPECT_EQ(table.entries[n - 1].code, 0) << "entry " << n;
    EXPECT_EQ(table.entries[n - 1].nameLength, 0) << "entry " << n;
  }
  // Every entry before 657 has a code and a name of 1 to 16 characters.
  for (int n = 1; n <= 656; ++n) {
    EXPECT_NE(table.entries[n - 1].code, 0) << "entry " << n;
    EXPECT_GE(table.entries[n - 1].nameLength, 1) << "entry " << n;
    EXPECT_LE(table.entries[n - 1].nameLength, kCommandNameMax) << "entry " << n;
  }
}

TEST(CommandNameTable, NoTwoEntriesShareAnAbsoluteCode) {
  const TBuiltTable table;
  std::set<int> seen;
  for (int n = 1; n <= 656; ++n) {
    const int code = std::abs(int(table.entries[n - 1].code));
    EXPECT_TRUE(seen.insert(code).second) << "code " << code << " twice (entry " << n << ")";
  }
}

TEST(CommandNameTable, ExactlyTheCommandsOnTheMarkedObjectsAreNegative) {
  const std::set<int> expected = {-68,  -67,  -66,  -63,  -62, -61, -57, -59, -75,  -76,  -55,  -71,  -73,
                                  -70,  -51,  -52,  -53,  -54, -702, -60, -703, -56, -1405, -705, -706, -643};
  ASSERT_EQ(expected.size(), 26u);
  const TBuiltTable table;
  std::set<int> negative;
  for (const TCommandName& entry : table.entries)
    if (entry.code < 0) negative.insert(entry.code);
  EXPECT_EQ(negative, expected);
}

TEST(CommandNameTable, BuildingWritesOnlyTheCallersBlock) {
  FreeMenuTables();
  const TBuiltTable table;
  EXPECT_EQ(CommandNameTable, nullptr) << "a private table leaves the menu table alone";
}

struct TLookupCase {
  int16_t code;
  const char* name;
  int16_t codeAfter;
};

TEST_F(CommandNames, LookupGivesTheNameAndTheSign) {
  const TLookupCase cases[] = {
      {3011, "OEFFNEN", 3011},    {68, "KOPIEREN", -68},     {643, "UmfPosit", -643},  {-68, "", -68},
      {0, "", 0},                 {12345, "", 12345},        {1705, "Parameter", 1705}, {1405, "SIGN", -1405},
      {1517, "StrRechtE", 1517},  {1518, "StrRechtE", 1518}, {1519, "StrRechtE", 1519}, {1520, "StrRechtE", 1520},
      {1521, "StrRechtE", 1521},  {3027, "MaschFraes", 3027}, {3028, "MaschFraes", 3028},
      {3107, "MaschFraes", 3107}, {3112, "MaschFraes", 3112}, {36, "_NEUSERSCHILD", 36},
      {9999, "ProgEnde", 9999},   {1091, "TORVInfo", 1091},
  };
  for (const TLookupCase& c : cases) {
    int16_t code = c.code;
    std::string name = "stale";
    LookupCommandName(code, name);
    EXPECT_EQ(name, c.name) << "code " << c.code;
    EXPECT_EQ(code, c.codeAfter) << "code " << c.code;
  }
}

TEST_F(CommandNames, PictureNameKeepsTheCallersSign) {
  FreeMenuTables();
  std::string name;
  GetCommandPictureName(68, name);
  EXPECT_EQ(name, "KOPIEREN");
  EXPECT_NE(CommandNameTable, nullptr) << "the picture name builds the table first";
  GetCommandPictureName(-68, name);
  EXPECT_EQ(name, "");
}

TEST_F(CommandNames, WithoutATableNothingIsFound) {
  FreeMenuTables();
  int16_t code = 68;
  std::string name = "stale";
  LookupCommandName(code, name);
  EXPECT_EQ(name, "");
  EXPECT_EQ(code, 68);
}

TEST_F(CommandNames, ClearingDiscardsTheTablesAndEnsuringBuildsThemAgain) {
  ASSERT_NE(CommandNameTable, nullptr);
  CommandNameTable[0].code = 1;  // a damaged copy must not survive a clear
  ClearMenuTablePointers();
  EXPECT_EQ(CommandNameTable, nullptr);
  EnsureMenuTables();
  ASSERT_NE(CommandNameTable, nullptr);
  EXPECT_EQ(CommandNameTable[0].code, 3011);
  const TCommandName* built = CommandNameTable;
  EnsureMenuTables();
  EXPECT_EQ(CommandNameTable, built) << "built tables stay";
}

TEST(CommandNameTable, APrivateTableAnswersLikeTheMenuTable) {
  const TBuiltTable table;
  int16_t code = 702;
  std::string name;
  LookupCommandNameIn(table.entries.data(), code, name);
  EXPECT_EQ(name, "FrKorr2D");
  EXPECT_EQ(code, -702);
}

TEST(CommandNameTable, EveryNameHasAResourcePicture) {
  std::vector<uint8_t> resources;
  ASSERT_TRUE(plat::ReadFileBytes(std::string(TORV_BINARY_DIR) + "/" + plat::kResourceFileName, resources));
  const TBuiltTable table;
  for (const TCommandName& entry : table.entries) {
    const std::string name = CommandNameText(entry);
    if (name.empty()) continue;
    size_t begin = 0, end = 0;
    ASSERT_TRUE(plat::FindTablePicture(resources, name, begin, end)) << name << " has no picture";
    plat::TDecodedPicture picture;
    ASSERT_TRUE(plat::DecodeBmp(std::vector<uint8_t>(resources.begin() + std::ptrdiff_t(begin),
                                                      resources.begin() + std::ptrdiff_t(end)),
                                picture))
        << name;
    // Icons are drawn 16 x 16; a larger picture is cut, never stretched.
    EXPECT_GE(picture.width, 16) << name;
    EXPECT_GE(picture.height, 16) << name;
  }
}

}  // namespace
