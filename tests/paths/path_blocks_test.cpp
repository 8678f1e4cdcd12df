// Path blocks: the header written when a block opens and the patch that closes it.
#include "paths/path_blocks.h"

#include "paths/tool_table.h"
#include "paths_test_support.h"

namespace {

using pathstest::PathsTest;
using pathstest::Rec;

TToolRecord KnownTool() {
  TToolRecord tool;
  SetToolRecordDefaults(tool, 12);
  const std::string name = "Schaftfraeser-6mm-lang";
  tool.name[0] = uint8_t(name.size());
  std::memcpy(&tool.name[1], name.data(), name.size());
  tool.shankRadius = 3.0f;
  tool.tipRadius = 0.5f;
  tool.angle = 15.0f;
  tool.feedZ = 2.0f;
  tool.feedXY = 20.0f;
  tool.plungeDepth = 1.5f;
  tool.clearanceHeight = 5.0f;
  tool.spindleSpeed = 18000.0f;
  tool.toolLifePath = 120.0f;
  tool.changeStation = 4;
  return tool;
}

// The header of KnownTool on layer 2 with kind 50, record by record in hex.
const char* const kKnownHeader[12] = {
    "01000000000000000001000000", "05000000000000000000000000", "060000803f0000000000000000",
    "070000803f0000000002000000", "96000040400000003f00007041", "970000000000000000ff000000",
    "980b5363686166746672616500", "990b7365722d366d6d2d6c6100", "9a000000000000000000000000",
    "9b000048420000000000000040", "9c0000a0410000c03f0000a040", "9d00a08c460000f04200008040",
};

std::string Hex(const TVectorRecord& record) {
  static const char* digits = "0123456789abcdef";
  std::string text;
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&record);
  for (int i = 0; i < 13; ++i) {
    text.push_back(digits[bytes[i] >> 4]);
    text.push_back(digits[bytes[i] & 15]);
  }
  return text;
}

// Opens a block at the end of the file as the operations do; false when no slot opened.
bool OpenBlock(const std::string& name, int16_t layer, int32_t& start, TToolPathHeader& header) {
  int slot = 0;
  OpenDataFileSlot(name, 1, slot, 2);
  if (slot == 0) return false;
  SeekSlotEnd(slot);
  int32_t start2 = -7;
  WritePathHeaderToSlot(layer, slot, KnownTool(), start, start2, header, 50.0f);
  if (start2 != -7) { EXPECT_EQ(start2, start) << "both start values"; }
  CloseDataFileSlot(slot);
  return true;
}

void CloseBlock(const std::string& name, const TExtentsPair& extents, TToolPathHeader& header, int32_t start) {
  int slot = 0;
  OpenDataFileSlot(name, 1, slot, 2);
  ASSERT_NE(slot, 0);
  SeekSlotEnd(slot);
  PatchPathFileHeader(slot, extents, header, DataFileSlotSize(slot), start);
  CloseDataFileSlot(slot);
}

TEST_F(PathsTest, HeaderOfAKnownToolMatchesItsBytes) {
  WriteVectors("Layer2.TMP", {Rec(11, 0, 0), Rec(10, 1, 0), Rec(10, 1, 1)});
  int32_t start = -1;
  TToolPathHeader header;
  ASSERT_TRUE(OpenBlock("Layer2.TMP", 2, start, header));
  EXPECT_EQ(start, 3);
  const std::vector<TVectorRecord> file = ReadVectors("Layer2.TMP");
  ASSERT_EQ(file.size(), 15u) << "12 header records, no closing record yet";
  for (int i = 0; i < 12; ++i) EXPECT_EQ(Hex(file[size_t(3 + i)]), kKnownHeader[i]) << "record " << i;
  EXPECT_EQ(Hex(header.records[12]), "09000000000000000000000000");
  EXPECT_TRUE(IsToolPathFile("Layer2.TMP")) << "a header at position 3 is recognised";
}

TEST_F(PathsTest, BlockWrittenAndPatchedKeepsCountsExtentsAndTool) {
  std::vector<TVectorRecord> front = {Rec(11, 0, 0), Rec(10, 9, 9), Rec(10, 3, 3), Rec(10, 2, 2), Rec(10, 1, 1)};
  WriteVectors("Layer1.TMP", front);
  int32_t start = -1;
  TToolPathHeader header;
  ASSERT_TRUE(OpenBlock("Layer1.TMP", 1, start, header));
  ASSERT_EQ(start, 5);
  std::vector<TVectorRecord> paths = ReadVectors("Layer1.TMP");
  for (int i = 0; i < 100; ++i) paths.push_back(Rec(i % 10 == 0 ? 11 : 10, float(i), float(2 * i), 0.5f));
  WriteVectors("Layer1.TMP", paths);
  TExtentsPair extents{{1, -4.0f, -8.0f}, {5, 99.0f, 198.0f}};
  CloseBlock("Layer1.TMP", extents, header, start);

  const std::vector<TVectorRecord> file = ReadVectors("Layer1.TMP");
  ASSERT_EQ(file.size(), size_t(5 + 113));
  const TVectorRecord* block = &file[5];
  EXPECT_EQ(GetRecordZInt(block[0]), 113) << "the count includes header and closing record";
  EXPECT_EQ(+block[112].type, kRecPathEnd);
  EXPECT_EQ(+block[0].x, -4.0f);
  EXPECT_EQ(+block[0].y, -8.0f);
  EXPECT_EQ(+block[1].x, 99.0f);
  EXPECT_EQ(+block[1].y, 198.0f);
  EXPECT_EQ(+block[1].z, +block[0].x);
  EXPECT_EQ(+block[3].y, +block[0].y);
  EXPECT_EQ(GetRecordZInt(block[3]), 1);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(+block[12 + i].x, float(i)) << "path record " << i;
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(std::memcmp(&file[i], &front[i], 13), 0);

  TToolRecord back;
  ReadFirstToolOfFile("Layer1.TMP", back);
  EXPECT_EQ(+back.feedXY, 20.0f);
  EXPECT_EQ(+back.plungeDepth, 1.5f);
  EXPECT_EQ(+back.clearanceHeight, 5.0f);
  EXPECT_EQ(+back.changeStation, 4);
  EXPECT_EQ(+back.colorNumber, 12);
  EXPECT_EQ(+back.switch132, 50);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&back.name[1]), back.name[0]), "Schaftfraeser-6mm-la");
  EXPECT_EQ(ErrorCode, 0);
}

TEST_F(PathsTest, FileOfOnlyABlockIsAPathFile) {
  WriteVectors("Layer0.TMP", {});
  int32_t start = -1;
  TToolPathHeader header;
  ASSERT_TRUE(OpenBlock("Layer0.TMP", 0, start, header));
  std::vector<TVectorRecord> file = ReadVectors("Layer0.TMP");
  file.push_back(Rec(11, 1, 1));
  file.push_back(Rec(10, 2, 1));
  WriteVectors("Layer0.TMP", file);
  CloseBlock("Layer0.TMP", TExtentsPair{{1, 0, 0}, {5, 10, 10}}, header, start);
  EXPECT_TRUE(IsToolPathFile("Layer0.TMP"));
  EXPECT_EQ(GetRecordZInt(ReadVectors("Layer0.TMP")[0]), 15);
}

TEST_F(PathsTest, LayerAboveTheHighestGetsNoBlock) {
  HighestLayer = 0;
  WriteVectors("Layer1.TMP", {Rec(11, 0, 0), Rec(10, 1, 1)});
  int32_t start = -5;
  TToolPathHeader header;
  ASSERT_TRUE(OpenBlock("Layer1.TMP", 1, start, header));
  EXPECT_EQ(start, -5) << "out values untouched";
  EXPECT_EQ(ReadVectors("Layer1.TMP").size(), 2u);
  ASSERT_TRUE(OpenBlock("Layer1.TMP", 0, start, header));
  EXPECT_EQ(start, 2) << "layer 0 with highest layer 0 gets a header";
}

TEST_F(PathsTest, PatchAtAPositionWithoutABlockWritesNothing) {
  const std::vector<TVectorRecord> paths(20, Rec(10, 1, 1));
  WriteVectors("Layer3.TMP", paths);
  TToolPathHeader header;
  BuildToolHeaderBlock(3, KnownTool(), header, 50.0f);
  CloseBlock("Layer3.TMP", TExtentsPair{{1, 0, 0}, {5, 1, 1}}, header, 0);
  CloseBlock("Layer3.TMP", TExtentsPair{{1, 0, 0}, {5, 1, 1}}, header, -1);
  const std::vector<TVectorRecord> file = ReadVectors("Layer3.TMP");
  ASSERT_EQ(file.size(), paths.size()) << "no closing record appended";
  EXPECT_EQ(std::memcmp(file.data(), paths.data(), paths.size() * 13), 0) << "path records are not overwritten";
}

}  // namespace
