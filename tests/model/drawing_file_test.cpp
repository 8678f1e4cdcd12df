// Drawing files: saving and loading ".SLD", plain vector files, failed saves
// and hostile files.
#include "commands/drawing_file_commands.h"
#include "model/drawing_file.h"

#include <sys/stat.h>

#include <functional>
#include <random>

#include "support/drawing_test_support.h"
#include "model/drawing_load.h"
#include "model/property_store.h"
#include "model/text_job.h"
#include "view/view_services_standin.h"
#include "model/layer_files.h"
#include "model/vector_store.h"
#include "view/view_transform.h"

namespace {

using drawtest::Bytes;
using drawtest::Rec;
using drawtest::Records;

std::string TextLine(const std::string& text, const std::string& font, uint16_t layer) {
  TTextParams p;
  memset(&p, 0, sizeof p);
  SetTextParamDefaults(p);
  p.fontName[0] = static_cast<uint8_t>(font.size());
  memcpy(p.fontName + 1, font.data(), font.size());
  p.text[0] = static_cast<uint8_t>(text.size());
  memcpy(p.text + 1, text.data(), text.size());
  p.x = 10;
  p.y = 20;
  p.height = 5;
  p.kind = 'V';
  p.layer = layer;
  return std::string(reinterpret_cast<const char*>(&p), sizeof p);
}

class DrawingFileTest : public drawtest::DrawingFolderTest {
 protected:
  void SetUp() override {
    drawtest::DrawingFolderTest::SetUp();
    // A font index with one font and the font file itself.
    std::string index(2 + 13, '\0');
    index[0] = 2;
    index[2] = 9;
    memcpy(&index[3], "ARIAL.HZE", 9);
    WriteFile("TORVHZE.PAR", index);
    WriteFile("ARIAL.HZE", std::string(2000, 'f'));
  }

  // Two layers with records, two text lines, tools, a frame and properties.
  void MakeDrawing() {
    layer0_ = Bytes({Rec(11, 0, 0, -1005), Rec(10, 10, 0), Rec(10, 10, 10), Rec(10, 0, 0)});
    layer2_ = Bytes({Rec(11, 5, 5, 0), Rec(12, 6, 6, -1), Rec(27, 1, 1)});
    WriteFile(BuildLayerFileName(0), layer0_);
    WriteFile(BuildLayerFileName(2), layer2_);
    uint8_t head[kDrawingHeadSize] = {};
    const int16_t two = 2;
    memcpy(head + kHeadLineCount, &two, 2);
    head[kHeadNote] = 4;
    memcpy(head + kHeadNote + 1, "Note", 4);
    const int32_t number = 7;
    memcpy(head + kHeadNumberField, &number, 4);
    line1_ = TextLine("Hallo", "ARIAL.HZE", 0);
    line2_ = TextLine("Welt", "ARIAL.HZE", 2);
    const std::string placement(kTextPlacementSize, '\x11');
    WriteFile("HS01.TMP", std::string(reinterpret_cast<char*>(head), sizeof head) + line1_ + placement + line2_ +
                              placement);
    std::vector<uint8_t> tools(28000);
    GetParamBlock(15, tools.data(), 28000);
    for (int k = 0; k <= HighestLayer; ++k) {
      TToolRecord t;
      memcpy(&t, tools.data() + k * 140, 140);
      t.version = kToolRecordVersion;
      t.name[0] = 2;
      t.name[1] = 'T';
      t.name[2] = static_cast<uint8_t>('0' + k);
      t.tipRadius = 0.5f * (k + 1);
      t.colorNumber = MapLayerToColorIndex(k);
      memcpy(tools.data() + k * 140, &t, 140);
    }
    PutParamBlock(15, tools.data(), 28000);
    memcpy(toolsBefore_, tools.data(), sizeof toolsBefore_);
    frame_ = Bytes({Rec(11, 0, 0), Rec(10, 100, 0), Rec(10, 100, 50), Rec(10, 0, 0)});
    WriteFile("RAHMEN.TMP", frame_);
    WriteFile("EIGENSCH.TMP", "#000009\r\nBOHRUN 3\r\n#000005\r\nTASCHE 1.5 \"x\"\r\n");
    GetParamBlock(1, block1_, sizeof block1_);
    block1_[7] ^= 0x5A;
    PutParamBlock(1, block1_, sizeof block1_);
  }

  void ForgetDrawing() {
    ClearWorkFiles(0xFFFF);
    WriteFile("EIGENSCH.TMP", "#000001\r\nRELIEF old\r\n");
    std::vector<uint8_t> zero(28000, 0);
    PutParamBlock(15, zero.data(), 28000);
    uint8_t other[443] = {};
    PutParamBlock(1, other, sizeof other);
  }

  std::string layer0_, layer2_, frame_, line1_, line2_;
  uint8_t toolsBefore_[4 * 140];
  uint8_t block1_[443];
};

TEST_F(DrawingFileTest, SavedDrawingOpensAgainAsItWas) {
  MakeDrawing();
  ASSERT_TRUE(SaveDrawingToFile("A.SLD", 1));
  const std::string file = ReadFile("A.SLD");
  ASSERT_GE(file.size(), static_cast<size_t>(kDrawingHeadSize));
  EXPECT_EQ(static_cast<uint8_t>(file[kHeadVersion]), kDrawingFormatVersion);
  int32_t vectorOffset;
  memcpy(&vectorOffset, file.data() + kHeadVectorOffset, 4);
  EXPECT_EQ(vectorOffset, kDrawingHeadSize + 2 * kTextParamsSize);
  // The vector section: a layer record before each layer's records.
  const auto section = Records(file.substr(vectorOffset, (4 + 1 + 3 + 1) * 13));
  EXPECT_EQ(section[0].type, kRecLayer);
  EXPECT_EQ(section[5].type, kRecLayer);
  EXPECT_EQ(float(section[5].x), 2.0f);

  ForgetDrawing();
  ASSERT_TRUE(LoadSldDrawing("A.SLD", 0));
  EXPECT_EQ(ReadFile(BuildLayerFileName(0)), layer0_);
  EXPECT_EQ(ReadFile(BuildLayerFileName(1)), "");
  EXPECT_EQ(ReadFile(BuildLayerFileName(2)), layer2_);
  const std::string job = ReadFile("HS01.TMP");
  ASSERT_EQ(job.size(), static_cast<size_t>(kDrawingHeadSize + 2 * kTextLineSize));
  EXPECT_EQ(job.substr(kDrawingHeadSize, kTextParamsSize), line1_);
  EXPECT_EQ(job.substr(kDrawingHeadSize + kTextLineSize, kTextParamsSize), line2_);
  EXPECT_EQ(job.substr(kHeadNote, 5), std::string("\x04Note", 5));
  EXPECT_EQ(TextLineCount, 2);
  uint8_t tools[4 * 140];
  GetParamBlock(15, tools, sizeof tools);
  EXPECT_EQ(memcmp(tools, toolsBefore_, sizeof tools), 0);
  uint8_t block1[443];
  GetParamBlock(1, block1, sizeof block1);
  EXPECT_EQ(memcmp(block1, block1_, sizeof block1), 0);
  EXPECT_EQ(ReadFile("RAHMEN.TMP"), frame_);
  // Only the objects of the drawing travel with it.
  EXPECT_EQ(ReadFile("EIGENSCH.TMP"), "#000005\r\nTASCHE 1.5 \"x\"\r\n");

  // Saving the loaded drawing again gives the same file.
  ASSERT_TRUE(SaveDrawingToFile("B.SLD", 1));
  EXPECT_EQ(ReadFile("B.SLD"), file);
}

TEST_F(DrawingFileTest, AppendingAddsToTheSameLayersTextsAndRenumbersTakenObjects) {
  MakeDrawing();
  ASSERT_TRUE(SaveDrawingToFile("A.SLD", 1));
  CurrentLayer = 3;
  WriteFile("EIGENSCH.TMP", "#000005\r\nBOHRUN 1\r\n");
  ASSERT_TRUE(LoadSldDrawing("A.SLD", 1));
  EXPECT_EQ(ReadFile(BuildLayerFileName(0)), layer0_ + layer0_);
  EXPECT_EQ(ReadFile(BuildLayerFileName(2)), layer2_ + layer2_);
  EXPECT_EQ(ReadFile(BuildLayerFileName(3)), "");
  const std::string job = ReadFile("HS01.TMP");
  EXPECT_EQ(job.size(), static_cast<size_t>(kDrawingHeadSize + 4 * kTextLineSize));
  int16_t count;
  memcpy(&count, job.data() + kHeadLineCount, 2);
  EXPECT_EQ(count, 4);
  // Object 5 is taken in the store: the drawing's object gets number 6.
  EXPECT_EQ(ReadFile("EIGENSCH.TMP"), "#000005\r\nBOHRUN 1\r\n#000006\r\nTASCHE 1.5 \"x\"\r\n");
}

TEST_F(DrawingFileTest, AFailedSaveLeavesTheOldDrawing) {
  MakeDrawing();
  ASSERT_TRUE(SaveDrawingToFile("A.SLD", 1));
  const std::string old = ReadFile("A.SLD");
  WriteFile(BuildLayerFileName(1), Bytes({Rec(11, 1, 1), Rec(10, 2, 2)}));
  for (int64_t limit : {int64_t(0), int64_t(100), int64_t(kDrawingHeadSize + 400), int64_t(old.size() - 1)}) {
    plat::gDiskBytesLeft = limit;  // the disk fills up after this many bytes
    EXPECT_FALSE(SaveDrawingToFile("A.SLD", 1)) << limit;
    plat::gDiskBytesLeft = -1;
    EXPECT_EQ(ReadFile("A.SLD"), old) << limit;
    EXPECT_FALSE(Exists("A.$SL"));
  }
  // A read-only drawing is not replaced.
  ASSERT_EQ(chmod(Host("A.SLD").c_str(), 0444), 0);
  EXPECT_FALSE(SaveDrawingToFile("A.SLD", 1));
  EXPECT_EQ(ReadFile("A.SLD"), old);
  chmod(Host("A.SLD").c_str(), 0644);
  // With room the new drawing replaces the old one.
  EXPECT_TRUE(SaveDrawingToFile("A.SLD", 1));
  EXPECT_NE(ReadFile("A.SLD"), old);
  ErrorCode = 0;
}

TEST_F(DrawingFileTest, EmptyTextsAreLeftOutAndTheLayerCountComesFromTheFiles) {
  MakeDrawing();
  const std::string placement(kTextPlacementSize, '\0');
  uint8_t head[kDrawingHeadSize] = {};
  const int16_t two = 2;
  memcpy(head + kHeadLineCount, &two, 2);
  WriteFile("HS01.TMP",
            std::string(reinterpret_cast<char*>(head), sizeof head) + TextLine("", "ARIAL.HZE", 0) + placement +
                line2_ + placement);
  LayerRecordCounts[2] = 0;  // a stale table must not lose layer 2
  ASSERT_TRUE(SaveDrawingToFile("A.SLD", 1));
  const std::string file = ReadFile("A.SLD");
  int16_t count;
  memcpy(&count, file.data() + kHeadLineCount, 2);
  EXPECT_EQ(count, 1);
  ForgetDrawing();
  ASSERT_TRUE(LoadSldDrawing("A.SLD", 0));
  EXPECT_EQ(ReadFile(BuildLayerFileName(2)), layer2_);
}

TEST_F(DrawingFileTest, UnknownVersionsAreRefused) {
  MakeDrawing();
  ASSERT_TRUE(SaveDrawingToFile("A.SLD", 1));
  std::string file = ReadFile("A.SLD");
  WriteFile(BuildLayerFileName(0), "");
  for (int version : {0, 3, 21, 255}) {
    file[kHeadVersion] = static_cast<char>(version);
    WriteFile("B.SLD", file);
    EXPECT_FALSE(LoadSldDrawing("B.SLD", 0)) << version;
    EXPECT_EQ(ReadFile(BuildLayerFileName(0)), "") << version;
  }
}

TEST_F(DrawingFileTest, PlainFilesAreRoutedByTheirLayerRecords) {
  uint8_t block3[121];
  GetParamBlock(3, block3, sizeof block3);
  block3[107] = 0;
  block3[108] = 0;
  PutParamBlock(3, block3, sizeof block3);
  const auto records = std::vector<TVectorRecord>{
      Rec(1, -5, -5), Rec(5, 50, 50),                  // extents head, skipped
      Rec(13, 4, 0, 1.5f),                             // arc before any contour start: kept as 27
      Rec(10, 1, 2),                                   // geometry before a layer record: layer 0
      Rec(128, 2, 0), Rec(11, 0, 0), Rec(13, 1, 0, 3.14159f), Rec(9, 0, 0), Rec(9, 0, 0), Rec(14, 3, 3),
      Rec(3, 0, 0),                                    // dropped
      Rec(128, 63.7f, 0), Rec(10, 7, 7),               // 63.7 is layer 49
      Rec(128, -2, 0), Rec(10, 8, 8),                  // negative: layer 49 too
  };
  WriteFile("P.LG1", Bytes(records));
  LoadVectorDrawing("P.LG1", kLoadReplace);
  auto layer0 = Records(ReadFile(BuildLayerFileName(0)));
  ASSERT_EQ(layer0.size(), 2u);
  EXPECT_EQ(layer0[0].type, 27);
  EXPECT_EQ(layer0[1].type, 10);
  auto layer2 = Records(ReadFile(BuildLayerFileName(2)));
  ASSERT_GE(layer2.size(), 5u);
  EXPECT_EQ(layer2.front().type, 11);
  size_t nines = 0;
  for (size_t i = 1; i + 2 < layer2.size(); ++i) EXPECT_EQ(layer2[i].type, 10) << i;  // the arc as points
  for (const auto& r : layer2) nines += r.type == 9;
  EXPECT_EQ(nines, 1u);
  EXPECT_EQ(layer2[layer2.size() - 2].type, 9);
  EXPECT_EQ(layer2.back().type, 10);  // type 14 becomes a line point
  EXPECT_EQ(HighestLayer, 49);
  EXPECT_TRUE(Exists("Layer30.TMP"));
  EXPECT_EQ(ReadFile(BuildLayerFileName(49)), Bytes({Rec(10, 7, 7), Rec(10, 8, 8)}));
  // The extents became the layout area.
  EXPECT_EQ(float(LayoutArea.minCorner.x), -5.0f);
  EXPECT_EQ(float(LayoutArea.maxCorner.y), 50.0f);
}

TEST_F(DrawingFileTest, APlainFileWithoutGeometryKeepsTheLayoutArea) {
  LayoutArea.minCorner.x = 1;
  LayoutArea.maxCorner.x = 99;
  WriteFile("E.LG1", Bytes({Rec(128, 1, 0), Rec(6, 1, 0)}));
  LoadVectorDrawing("E.LG1", kLoadReplace);
  EXPECT_EQ(float(LayoutArea.minCorner.x), 1.0f);
  EXPECT_EQ(float(LayoutArea.maxCorner.x), 99.0f);
}

TEST_F(DrawingFileTest, SaveWithoutANameWritesNothing) {
  EXPECT_FALSE(SaveDrawing(0));  // nothing to save
  MakeDrawing();
  // No current ".SLD" name: the file dialog is asked, and cancelling it
  // writes nothing.
  EXPECT_FALSE(SaveDrawing(0));
  EXPECT_FALSE(Exists("A.SLD"));
  for (const auto& entry : std::filesystem::directory_iterator(work_->Path())) {
    EXPECT_NE(entry.path().extension(), ".SLD");
    EXPECT_NE(entry.path().extension(), ".$SL");
  }
}

// A drawing just saved or opened counts as saved until its content changes;
// marking and unmarking, which only move contours, change nothing.
TEST_F(DrawingFileTest, SavedStateFollowsTheDrawingsContent) {
  MakeDrawing();
  EXPECT_FALSE(IsDrawingSaved()) << "never saved";
  ASSERT_TRUE(SaveDrawingToFile("A.SLD", 1));
  EXPECT_TRUE(IsDrawingSaved()) << "just saved";
  WriteFile(BuildLayerFileName(1), Bytes({Rec(11, 1, 1), Rec(10, 2, 2)}));
  EXPECT_FALSE(IsDrawingSaved()) << "a contour drawn after the save";

  struct TCase {
    const char* change;
    bool saved;  // still as saved afterwards
    std::function<void()> apply;
  };
  const TCase cases[] = {
      {"nothing", true, [] {}},
      {"the contour marked", true,
       [this] {
         WriteFile(kVectorStoreName, layer0_);
         WriteFile(BuildLayerFileName(0), "");
         StoreHoldsData = 1;
       }},
      {"the contours of a layer in another order", true,
       [this] { WriteFile(BuildLayerFileName(2), layer2_.substr(26) + layer2_.substr(0, 26)); }},
      {"a point moved", false,
       [this] {
         std::string moved = layer0_;
         moved[13 + 1] ^= 1;
         WriteFile(BuildLayerFileName(0), moved);
       }},
      {"the contour moved to another layer", false,
       [this] {
         WriteFile(BuildLayerFileName(1), layer0_);
         WriteFile(BuildLayerFileName(0), "");
       }},
      {"a text line changed", false,
       [this] {
         std::string job = ReadFile("HS01.TMP");
         const size_t at = job.find("Hallo");
         ASSERT_NE(at, std::string::npos);
         job.replace(at, 5, "Hallu");
         WriteFile("HS01.TMP", job);
       }},
      {"the frame changed", false, [this] { WriteFile("RAHMEN.TMP", ""); }},
      {"a property changed", false, [this] { WriteFile("EIGENSCH.TMP", "#000005\r\nTASCHE 2\r\n"); }},
  };
  for (const TCase& c : cases) {
    ForgetDrawing();
    LoadDrawingByExtension("A.SLD", 0);
    ASSERT_TRUE(IsDrawingSaved()) << "just opened, before: " << c.change;
    c.apply();
    EXPECT_EQ(IsDrawingSaved(), c.saved) << c.change;
    StoreHoldsData = 0;
  }

  // Appending a drawing changes the drawing.
  ForgetDrawing();
  LoadDrawingByExtension("A.SLD", 0);
  LoadDrawingByExtension("A.SLD", 1);
  EXPECT_FALSE(IsDrawingSaved()) << "appended";
}

// A missing, short, long or foreign note never counts as saved.
TEST_F(DrawingFileTest, ABrokenSavedStateNoteMeansUnsaved) {
  MakeDrawing();
  ASSERT_TRUE(SaveDrawingToFile("A.SLD", 1));
  const std::string note = ReadFile(kSavedStateFileName);
  ASSERT_EQ(note.size(), 8u);
  for (const std::string& broken : {std::string(), note.substr(0, 7), note + "x", std::string(8, '\xFF')}) {
    WriteFile(kSavedStateFileName, broken);
    EXPECT_FALSE(IsDrawingSaved()) << broken.size();
  }
  std::filesystem::remove(Host(kSavedStateFileName));
  EXPECT_FALSE(IsDrawingSaved());
}

TEST_F(DrawingFileTest, RecentDrawingsMoveToTheTop) {
  for (int i = 0; i < 11; ++i) AddRecentDrawing("C:\\D" + std::to_string(i) + ".SLD", false);
  EXPECT_EQ(GetRecentDrawing(0), "C:\\D10.SLD");
  EXPECT_EQ(GetRecentDrawing(9), "C:\\D1.SLD");
  AddRecentDrawing("C:\\D5.SLD", false);
  EXPECT_EQ(GetRecentDrawing(0), "C:\\D5.SLD");
  EXPECT_EQ(GetRecentDrawing(1), "C:\\D10.SLD");
  EXPECT_EQ(GetRecentDrawing(9), "C:\\D1.SLD");
  AddRecentDrawing("C:\\x.sld", false);  // lower-case extensions do not qualify
  EXPECT_EQ(GetRecentDrawing(0), "C:\\D5.SLD");
}

// Hostile files: every loader gives up or loads what makes sense, never
// crashes, and the layer files stay whole records.
TEST_F(DrawingFileTest, HostileFilesNeverCrashTheLoaders) {
  MakeDrawing();
  ASSERT_TRUE(SaveDrawingToFile("A.SLD", 1));
  const std::string good = ReadFile("A.SLD");
  std::vector<std::string> corpus;
  for (size_t cut : {size_t(0), size_t(1), size_t(100), size_t(378), size_t(379), size_t(500), good.size() - 7})
    corpus.push_back(good.substr(0, cut));
  std::mt19937 random(7);
  for (int i = 0; i < 12; ++i) {
    std::string lying = good;
    // Offsets, line count and note lengths that lie.
    for (int offset : {kHeadLineCount, kHeadVectorOffset, kHeadParamOffset, kHeadToolOffset, kHeadFrameOffset,
                       kHeadPropertyOffset, kHeadPropertyEnd, kHeadNote}) {
      const uint32_t v = random();
      memcpy(&lying[offset], &v, offset == kHeadNote ? 1 : (offset == kHeadLineCount ? 2 : 4));
    }
    corpus.push_back(lying);
    std::string noise(random() % 3000, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    if (noise.size() > kHeadVersion) noise[kHeadVersion] = static_cast<char>(4 + random() % 17);
    corpus.push_back(noise);
  }
  std::string index(2, '\0');
  const int16_t lyingCount = 30000;
  memcpy(&index[0], &lyingCount, 2);
  WriteFile("TORVHZE.PAR", index + "\x09" "ARIAL.HZE");  // far fewer names than counted
  for (size_t i = 0; i < corpus.size(); ++i) {
    WriteFile("H.SLD", corpus[i]);
    LoadSldDrawing("H.SLD", i % 2);
    WriteFile("H.LG1", corpus[i]);
    LoadVectorDrawing("H.LG1", kLoadReplace);
    WriteFile("H.H2R", corpus[i]);
    LoadVectorDrawing("H.H2R", 0);
    WriteFile("EIGENSCH.TMP", corpus[i]);
    GetNextObjectNumber();
    GetObjectPropertyKind(5);
    for (int n = 0; n <= HighestLayer; ++n) {
      EXPECT_EQ(ReadFile(BuildLayerFileName(n)).size() % 13, 0u) << i << " layer " << n;
    }
    ErrorCode = 0;
  }
}

// A damaged drawing is loaded as far as its records are whole and counted:
// the saved drawing holds 2 text lines and 9 vector records (two layer
// records, 4 records of layer 0, 3 of layer 2), then block 1, tools, frame
// and properties.
TEST_F(DrawingFileTest, DamagedDrawingsLoadTheirWholeRecordsAndCountThem) {
  MakeDrawing();
  ASSERT_TRUE(SaveDrawingToFile("A.SLD", 1));
  const std::string good = ReadFile("A.SLD");
  const size_t vectors = kDrawingHeadSize + 2 * kTextParamsSize;
  const size_t params = vectors + 9 * 13;
  std::string moreLines = good;  // the head counts a third line the vectors leave no room for
  moreLines[kHeadLineCount] = 3;
  struct TCase {
    std::string file;
    TLoadOutcome outcome;
    int32_t loaded, inFile;
    size_t layer0Records, layer2Records;
  } const cases[] = {
      {good, TLoadOutcome::kWhole, 11, 11, 4, 3},
      {good.substr(0, kDrawingHeadSize + kTextParamsSize + 10), TLoadOutcome::kDamaged, 1, 11, 0, 0},
      {good.substr(0, vectors + 6 * 13 + 5), TLoadOutcome::kDamaged, 2 + 6, 11, 4, 0},
      {good.substr(0, vectors + 7 * 13), TLoadOutcome::kDamaged, 2 + 7, 11, 4, 1},
      {good.substr(0, params + 100), TLoadOutcome::kDamaged, 11, 11, 4, 3},
      {good.substr(0, good.size() - 1), TLoadOutcome::kDamaged, 11, 11, 4, 3},
      {moreLines, TLoadOutcome::kDamaged, 11, 12, 4, 3},
  };
  for (const TCase& c : cases) {
    const size_t n = &c - cases;
    ForgetDrawing();
    WriteFile("C.SLD", c.file);
    EXPECT_EQ(LoadSldDrawing("C.SLD", 0), c.outcome == TLoadOutcome::kWhole) << n;
    EXPECT_EQ(LastDrawingLoad.outcome, c.outcome) << n;
    EXPECT_EQ(LastDrawingLoad.recordsLoaded, c.loaded) << n;
    EXPECT_EQ(LastDrawingLoad.recordsInFile, c.inFile) << n;
    EXPECT_EQ(ReadFile(BuildLayerFileName(0)), layer0_.substr(0, 13 * c.layer0Records)) << n;
    EXPECT_EQ(ReadFile(BuildLayerFileName(2)), layer2_.substr(0, 13 * c.layer2Records)) << n;
    ErrorCode = 0;
  }
}

// A load that fills the disk stops there and counts what got in.
TEST_F(DrawingFileTest, ALoadThatFillsTheDiskStopsAndCountsWhatGotIn) {
  MakeDrawing();
  ASSERT_TRUE(SaveDrawingToFile("A.SLD", 1));
  for (int64_t limit : {int64_t(0), int64_t(kDrawingHeadSize + 2 * kTextLineSize + 20)}) {
    ForgetDrawing();
    plat::gDiskBytesLeft = limit;
    EXPECT_FALSE(LoadSldDrawing("A.SLD", 0)) << limit;
    plat::gDiskBytesLeft = -1;
    EXPECT_EQ(LastDrawingLoad.outcome, TLoadOutcome::kDiskFull) << limit;
    EXPECT_EQ(LastDrawingLoad.recordsInFile, 11) << limit;
    EXPECT_LT(LastDrawingLoad.recordsLoaded, 11) << limit;
    // What is counted is in the work files: the text lines and layer 0.
    int32_t inFiles = TextLineCount + int32_t(ReadFile(BuildLayerFileName(0)).size() / 13);
    EXPECT_LE(LastDrawingLoad.recordsLoaded, inFiles + 2) << limit;  // + the two layer records
    EXPECT_GE(LastDrawingLoad.recordsLoaded, TextLineCount) << limit;
    ErrorCode = 0;
  }
  EXPECT_EQ(LastDrawingLoad.recordsLoaded, 0);  // nothing fits on a full disk
}

// Plain vector and point files with a trailing part of a record: the whole
// records are loaded and the damage is counted.
TEST_F(DrawingFileTest, PlainFilesWithAPartialLastRecordLoadTheWholeOnes) {
  const std::string lines = Bytes({Rec(11, 1, 1), Rec(10, 2, 2), Rec(10, 3, 3)});
  std::string points;
  for (float x : {4.0f, 5.0f}) {
    const char type = 12;
    points += std::string(1, type) + std::string(reinterpret_cast<const char*>(&x), 4) +
              std::string(reinterpret_cast<const char*>(&x), 4);
  }
  const struct {
    const char* name;
    std::string bytes;
    TLoadOutcome outcome;
    int32_t loaded, inFile;
  } cases[] = {
      {"P.LG1", lines, TLoadOutcome::kWhole, 3, 3},
      {"P.LG1", lines + "\x0a\x01\x02\x03\x04", TLoadOutcome::kDamaged, 3, 4},
      {"P.H2R", points, TLoadOutcome::kWhole, 2, 2},
      {"P.H2R", points + "\x0c\x01\x02\x03", TLoadOutcome::kDamaged, 2, 3},
  };
  for (const auto& c : cases) {
    WriteFile(c.name, c.bytes);
    LoadVectorDrawing(c.name, kLoadReplace);
    EXPECT_EQ(LastDrawingLoad.outcome, c.outcome) << c.name << " " << c.bytes.size();
    EXPECT_EQ(LastDrawingLoad.recordsLoaded, c.loaded) << c.name << " " << c.bytes.size();
    EXPECT_EQ(LastDrawingLoad.recordsInFile, c.inFile) << c.name << " " << c.bytes.size();
    EXPECT_EQ(ReadFile(BuildLayerFileName(0)).size(), 13u * c.loaded) << c.name << " " << c.bytes.size();
    ErrorCode = 0;
  }
}

}  // namespace
