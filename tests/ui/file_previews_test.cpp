// File previews: vector files, drawings, reliefs, PCX, projects and the
// stream painters, checked pixel by pixel in small boxes; damaged files
// draw less and never crash; missing files draw nothing.
#include "ui/file_previews.h"

#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <vector>

#include "view/screen_scheme.h"
#include "view/view_transform.h"
#include "ui_screen.h"

namespace {

using uitest::TScreen;

std::string Rec(uint8_t type, float x, float y, float z = 0) {
  std::string r(13, '\0');
  r[0] = char(type);
  memcpy(&r[1], &x, 4);
  memcpy(&r[5], &y, 4);
  memcpy(&r[9], &z, 4);
  return r;
}

template <typename T>
void PutAt(std::string& s, size_t at, T v) {
  memcpy(&s[at], &v, sizeof v);
}

void Write(const TScreen& screen, const std::string& name, const std::string& bytes) {
  std::ofstream(screen.Dir() / name, std::ios::binary) << bytes;
}

uint32_t PixelOf(int colour) { return plat::PixelFromColorRef(GetColorRef(colour)); }
uint32_t Grey(int g) { return uint32_t(g) * 0x010101u; }

int CountPixels(int x1, int y1, int x2, int y2, uint32_t pixel) {
  int n = 0;
  for (int y = y1; y <= y2; ++y)
    for (int x = x1; x <= x2; ++x) n += TScreen::PixelAt(x, y) == pixel;
  return n;
}

// A 10 x 10 square from (0, 0).
std::string Square() {
  return Rec(11, 0, 0) + Rec(10, 10, 0) + Rec(10, 10, 10) + Rec(10, 0, 10) + Rec(10, 0, 0);
}

class FilePreviews : public ::testing::Test {
 protected:
  void SetUp() override { InitScreenPalette(); }
  TScreen screen_;
};

TEST_F(FilePreviews, VectorThumbnailFitsTheContentOnItsBackground) {
  Write(screen_, "SQ.LG1", Square());
  const TBox box{1, 100, 100, 200, 160};
  DrawVectorFileThumbnail("SQ.LG1", box);
  // Height 59 is the tight axis: factor 5.9; the square's left edge runs at
  // x = box left + 1, its bottom at the inner box's bottom.
  EXPECT_EQ(TScreen::PixelAt(101, 130), PixelOf(274));
  EXPECT_EQ(TScreen::PixelAt(101 + 59, 130), PixelOf(274));
  EXPECT_EQ(TScreen::PixelAt(130, 130), PixelOf(15));
  // Nothing outside the box.
  EXPECT_NE(TScreen::PixelAt(99, 130), PixelOf(274));
  EXPECT_NE(TScreen::PixelAt(130, 161), PixelOf(15));
  // The size label in colour 13 at the top right.
  EXPECT_GT(CountPixels(120, 101, 199, 115, PixelOf(13)), 0);
  EXPECT_EQ(FormatSizeLabel(10, 10), "10mm x 10mm");
  EXPECT_EQ(FormatSizeLabel(1.5f, 0.125f), "1.5mm x 0.125mm");
}

TEST_F(FilePreviews, AFlatVectorFileAndAMissingFileDrawNothing) {
  Write(screen_, "FLAT.LG1", Rec(11, 0, 5) + Rec(10, 10, 5) + Rec(10, 20, 5));
  const auto before = TScreen::Pixels();
  DrawVectorFileThumbnail("FLAT.LG1", TBox{1, 100, 100, 200, 160});
  DrawVectorFileThumbnail("NONE.LG1", TBox{1, 100, 100, 200, 160});
  DrawDrawingThumbnail("NONE.SLD", TBox{1, 100, 100, 200, 160});
  DrawReliefThumbnail("NONE.HRL", TBox{1, 100, 100, 200, 160});
  EXPECT_EQ(TScreen::CountChanged(before, TScreen::Pixels(), 90, 90, 210, 170), 0);
}

std::string Drawing(const std::string& vectors, uint8_t version, int32_t paramOffset) {
  std::string head(379, '\0');
  PutAt(head, 1, 0.0f);
  PutAt(head, 5, 0.0f);
  head[9] = 5;
  PutAt(head, 10, 10.0f);
  PutAt(head, 14, 10.0f);
  PutAt(head, 77, int32_t(379));
  PutAt(head, 81, paramOffset);
  head[174] = char(version);
  return head + vectors;
}

TEST_F(FilePreviews, DrawingThumbnailDrawsItsVectorSection) {
  const std::string vectors = Square();
  // After the parameter offset: a diagonal through the middle, which is not
  // part of the vector section.
  Write(screen_, "D.SLD", Drawing(vectors + Rec(11, 0, 0) + Rec(10, 10, 10), 9, 379 + int32_t(vectors.size())));
  DrawDrawingThumbnail("D.SLD", TBox{1, 100, 100, 200, 200});
  const int black = CountPixels(101, 101, 199, 199, PixelOf(274));
  EXPECT_GT(black, 200);  // four edges of about 90 pixels
  EXPECT_EQ(CountPixels(140, 140, 160, 160, PixelOf(274)), 0);
  // Format version 3 has no section end: the diagonal is drawn too.
  Write(screen_, "V3.SLD", Drawing(vectors + Rec(11, 0, 0) + Rec(10, 10, 10), 3, 379 + int32_t(vectors.size())));
  DrawDrawingThumbnail("V3.SLD", TBox{1, 100, 100, 200, 200});
  EXPECT_GT(CountPixels(140, 140, 160, 160, PixelOf(274)), 10);
  // A head alone of 378 bytes is no drawing.
  Write(screen_, "S.SLD", std::string(378, '\0'));
  const auto before = TScreen::Pixels();
  DrawDrawingThumbnail("S.SLD", TBox{1, 300, 100, 400, 200});
  EXPECT_EQ(TScreen::CountChanged(before, TScreen::Pixels(), 300, 100, 400, 200), 0);
}

TEST_F(FilePreviews, DrawingWithOffsetsPastTheEndIsReadOnlyAsFarAsItGoes) {
  Write(screen_, "BAD.SLD", Drawing(Square(), 9, 0x7FFFFFF0));
  DrawDrawingThumbnail("BAD.SLD", TBox{1, 100, 100, 200, 200});
  EXPECT_GT(CountPixels(101, 101, 199, 199, PixelOf(274)), 200);
  Write(screen_, "NEG.SLD", Drawing(Square(), 9, -5));
  DrawDrawingThumbnail("NEG.SLD", TBox{1, 300, 100, 400, 200});  // an empty section
}

std::string ReliefHeader(uint16_t rows, uint16_t cells, int16_t low, int16_t high) {
  std::string h(128, '\0');
  PutAt(h, 2, rows);
  PutAt(h, 4, cells);
  PutAt(h, 6, low);
  PutAt(h, 8, high);
  return h;
}

std::string Cells(std::initializer_list<int16_t> values) {
  std::string s;
  for (int16_t v : values) s.append(reinterpret_cast<const char*>(&v), 2);
  return s;
}

TEST_F(FilePreviews, ReliefCellsBecomeGreysAndMissingHeightsStayWhite) {
  Write(screen_, "R.HRL", ReliefHeader(2, 2, 0, 100) + Cells({0, 100, 50, -32767}));
  DrawReliefThumbnail("R.HRL", TBox{1, 100, 100, 120, 120});
  EXPECT_EQ(TScreen::PixelAt(101, 101), Grey(0));
  EXPECT_EQ(TScreen::PixelAt(102, 101), Grey(255));
  EXPECT_EQ(TScreen::PixelAt(101, 102), Grey(127));
  EXPECT_EQ(TScreen::PixelAt(102, 102), PixelOf(261));
}

TEST_F(FilePreviews, AShortReliefDrawsTheRowsItHas) {
  // The head promises 50 rows; one row is there.
  Write(screen_, "T.HRL", ReliefHeader(50, 2, 0, 10) + Cells({10, 10}));
  const auto before = TScreen::Pixels();
  DrawReliefThumbnail("T.HRL", TBox{1, 100, 100, 200, 200});
  EXPECT_EQ(TScreen::PixelAt(101, 101), Grey(255));
  EXPECT_EQ(TScreen::CountChanged(before, TScreen::Pixels(), 101, 102, 199, 199), 0);
}

TEST_F(FilePreviews, FloatReliefWithEqualBoundsDrawsWithoutDividingByZero) {
  std::string head = ReliefHeader(1, 2, 0, 0);
  PutAt(head, 34, 5.0f);
  PutAt(head, 38, 5.0f);
  std::string cells(8, '\0');
  PutAt(cells, 0, 5.0f);
  PutAt(cells, 4, 5.0f);
  Write(screen_, "F.HRS", head + cells);
  DrawFloatReliefThumbnail("F.HRS", TBox{1, 100, 100, 120, 120});
  EXPECT_EQ(TScreen::PixelAt(102, 102), Grey(0));
  // A proper range: the top value takes the palette's top grey level.
  PutAt(head, 34, 0.0f);
  PutAt(head, 38, 10.0f);
  PutAt(cells, 4, 10.0f);
  Write(screen_, "G.HRS", head + cells);
  DrawFloatReliefThumbnail("G.HRS", TBox{1, 100, 100, 120, 120});
  EXPECT_EQ(TScreen::PixelAt(103, 102), Grey(PaletteSize - 32));
}

TEST_F(FilePreviews, PcxRunsAreDecodedToGreys) {
  std::string head(128, '\0');
  head[0] = 10;
  head[2] = 1;
  head[3] = 8;
  PutAt(head, 8, uint16_t(1));   // xmax: 2 wide
  PutAt(head, 10, uint16_t(1));  // ymax: 2 high
  head[65] = 1;
  // Row 1: a run of two 50s; row 2: literal 7, then a run byte for 200.
  const std::string data = std::string("\xC2\x32", 2) + "\x07" + std::string("\xC1\xC8", 2);
  Write(screen_, "P.PCX", head + data);
  DrawPcxThumbnail("P.PCX", TBox{1, 100, 100, 120, 120});
  EXPECT_EQ(TScreen::PixelAt(102, 102), Grey(50));
  EXPECT_EQ(TScreen::PixelAt(103, 102), Grey(50));
  EXPECT_EQ(TScreen::PixelAt(102, 103), Grey(7));
  EXPECT_EQ(TScreen::PixelAt(103, 103), Grey(200));
  // Two planes: nothing.
  head[65] = 2;
  Write(screen_, "Q.PCX", head + data);
  const auto before = TScreen::Pixels();
  DrawPcxThumbnail("Q.PCX", TBox{1, 300, 100, 320, 120});
  EXPECT_EQ(TScreen::CountChanged(before, TScreen::Pixels(), 300, 100, 320, 120), 0);
}

TEST_F(FilePreviews, ProjectInformationLines) {
  std::string lines[4];
  EXPECT_EQ(SplitProjectInfoLines("eins\r\nzwei\rdrei\r\nvier\rfuenf", lines), 4);
  EXPECT_EQ(lines[0], "eins");
  EXPECT_EQ(lines[1], "zwei");
  EXPECT_EQ(lines[3], "vier");
  SplitProjectInfoLines(std::string(60, 'x'), lines);
  EXPECT_EQ(lines[0].size(), 50u);

  std::string pro(300, ' ');
  pro[0] = 2;
  pro[1] = 0;
  const std::string info = "Projekt Schild\r\nKunde Meier";
  pro.replace(80, info.size(), info);
  Write(screen_, "A.PRO", pro);
  const auto before = TScreen::Pixels();
  DrawProjectPreview("A.PRO", TBox{1, 100, 100, 300, 200});
  EXPECT_GT(CountPixels(100, 100, 300, 130, PixelOf(12)), 10);
  // Another tag: nothing.
  pro[0] = 1;
  Write(screen_, "B.PRO", pro);
  const auto mid = TScreen::Pixels();
  DrawProjectPreview("B.PRO", TBox{1, 400, 100, 600, 200});
  EXPECT_EQ(TScreen::CountChanged(mid, TScreen::Pixels(), 400, 100, 600, 200), 0);
  EXPECT_GT(TScreen::CountChanged(before, mid, 100, 100, 300, 130), 0);
}

TEST_F(FilePreviews, StreamPainterDrawsVectorsAndMarksHugeCoordinates) {
  Write(screen_, "S.LG1", Square());
  plat::TDc& dc = plat::WindowDc();
  FillColorRect(0, 0, 130, 130, plat::Rgb(255, 255, 255));
  DrawLg1StreamPreview(dc, plat::TRect{0, 0, 125, 125}, "S.LG1");
  EXPECT_GT(CountPixels(0, 0, 125, 125, 0), 300);
  // A coordinate beyond 1e9: the error mark.
  Write(screen_, "H.LG1", Square() + Rec(10, 2e9f, 0));
  FillColorRect(0, 0, 130, 130, plat::Rgb(255, 255, 255));
  DrawLg1StreamPreview(dc, plat::TRect{0, 0, 125, 125}, "H.LG1");
  const int black = CountPixels(0, 0, 125, 125, 0);
  EXPECT_GT(black, 0);
  EXPECT_EQ(CountPixels(0, 0, 15, 125, 0), 0);  // the mark starts at x = 19
}

TEST_F(FilePreviews, LangReliefStreamChecksItsSizes) {
  std::string head(128, '\0');
  PutAt(head, 9, uint16_t(2));
  PutAt(head, 11, uint16_t(2));
  PutAt(head, 29, int16_t(0));
  PutAt(head, 31, int16_t(10));
  std::string rows(32, '\0');  // two rows of 16 bytes (2 cells padded)
  PutAt(rows, 0, int16_t(10));
  Write(screen_, "L.RLF", head + rows);
  plat::TDc& dc = plat::WindowDc();
  FillColorRect(0, 0, 130, 130, plat::Rgb(0, 0, 255));
  DrawRlfStreamPreview(dc, plat::TRect{0, 0, 100, 100}, "L.RLF");
  EXPECT_EQ(TScreen::PixelAt(10, 10), Grey(255));
  EXPECT_EQ(TScreen::PixelAt(60, 10), Grey(0));
  // Rows beyond the file: the error mark instead of reading past the end.
  PutAt(head, 9, uint16_t(30000));
  Write(screen_, "M.RLF", head + rows);
  FillColorRect(0, 0, 130, 130, plat::Rgb(0, 0, 255));
  DrawRlfStreamPreview(dc, plat::TRect{0, 0, 100, 100}, "M.RLF");
  EXPECT_GT(CountPixels(15, 30, 100, 60, 0), 0);
  EXPECT_EQ(ReliefGrey(5, 3, 3, 200), 0);
  EXPECT_EQ(ReliefGrey(10, 0, 10, 213), 213);
}


std::string Fixture(const std::string& name) {
  std::ifstream in(std::string(TORV_FIXTURES_DIR) + "/previews/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The 10 mm cube of the fixtures seen from above: its top face fills the
// model's grid of 186 x 186 cells at the highest grey, at the top left of
// the thumbnail's interior; the rest of the box keeps its background.
void ExpectCubePreview(int left) {
  const int x = left + 1, y = 101;
  EXPECT_EQ(TScreen::PixelAt(x, y), Grey(255));
  EXPECT_EQ(TScreen::PixelAt(x + 185, y + 185), Grey(255));
  EXPECT_EQ(CountPixels(x, y, x + 185, y + 185, Grey(255)), 186 * 186);
  EXPECT_EQ(TScreen::PixelAt(x + 190, y + 20), PixelOf(15));
  // The size label in colour 1 along the bottom.
  EXPECT_GT(CountPixels(x, y + 186, x + 180, y + 198, PixelOf(1)), 0);
}

TEST_F(FilePreviews, StlCubeAsciiAndBinaryShowTheSameTopView) {
  Write(screen_, "CUBE.STL", Fixture("cube_ascii.stl"));
  Write(screen_, "CUBEB.STL", Fixture("cube_binary.stl"));
  const auto before = TScreen::Pixels();
  DrawStlThumbnail("CUBE.STL", TBox{1, 100, 100, 300, 300});
  ExpectCubePreview(100);
  DrawStlThumbnail("CUBEB.STL", TBox{1, 400, 100, 600, 300});
  ExpectCubePreview(400);
  for (int dy = 0; dy < 186; dy += 37)
    for (int dx = 0; dx < 199; dx += 11) EXPECT_EQ(TScreen::PixelAt(101 + dx, 101 + dy), TScreen::PixelAt(401 + dx, 101 + dy));
  EXPECT_EQ(TScreen::CountChanged(before, TScreen::Pixels(), 301, 90, 399, 310), 0);
  EXPECT_FALSE(plat::FileExists("VekAR2.TMP"));  // no work file was written
}

std::string BinaryStl(uint32_t count, const std::vector<std::array<float, 9>>& triangles) {
  std::string s(80, '\0');
  s.append(reinterpret_cast<const char*>(&count), 4);
  for (const auto& t : triangles) {
    s.append(12, '\0');
    s.append(reinterpret_cast<const char*>(t.data()), 36);
    s.append(2, '\0');
  }
  return s;
}

TEST_F(FilePreviews, StlHeightsBecomeGreysFromLowToHigh) {
  // A roof: two triangles rising from z 0 at x 0 to z 10 at x 10.
  Write(screen_, "ROOF.STL", BinaryStl(2, {{0, 0, 0, 10, 0, 10, 10, 10, 10}, {0, 0, 0, 10, 10, 10, 0, 10, 0}}));
  DrawStlPreview("ROOF.STL", TBox{0, 0, 0, 200, 200}, 261, false);
  EXPECT_EQ(TScreen::PixelAt(0, 100), Grey(0));
  EXPECT_EQ(TScreen::PixelAt(185, 100), Grey(255));
  const uint32_t middle = TScreen::PixelAt(93, 100) & 0xFF;
  EXPECT_GT(middle, 100u);
  EXPECT_LT(middle, 155u);
  EXPECT_EQ(TScreen::PixelAt(195, 100), PixelOf(261));
}

TEST_F(FilePreviews, HostileStlFilesGiveNoPreview) {
  const std::array<float, 9> tri{0, 0, 0, 10, 0, 1, 0, 10, 2};
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::string ascii = Fixture("cube_ascii.stl");
  std::string badVertex = ascii;
  badVertex.replace(badVertex.find("vertex 0 0 0"), 12, "vertex 0 x 1e99");
  std::string random(5000, '\0');
  uint32_t seed = 12345;
  for (char& c : random) c = char((seed = seed * 1103515245u + 12345u) >> 24);
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"count larger than the file", BinaryStl(12, {tri, tri, tri, tri, tri})},
      {"lying count", BinaryStl(0xFFFFFFF0u, {tri})},
      {"no facets", BinaryStl(0, {})},
      {"header only, cut", std::string(60, 'x')},
      {"NaN coordinate", BinaryStl(2, {tri, {0, 0, 0, nan, 0, 0, 0, 1, 0}})},
      {"infinite coordinate", BinaryStl(1, {{0, 0, 0, 1e38f * 10, 0, 0, 0, 1, 0}})},
      {"ASCII cut before its end", ascii.substr(0, ascii.size() / 2)},
      {"ASCII vertex that is no number", badVertex},
      {"random bytes", random},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Write(screen_, "BAD.STL", c.bytes);
    const auto before = TScreen::Pixels();
    DrawStlThumbnail("BAD.STL", TBox{1, 100, 100, 300, 300});
    EXPECT_EQ(TScreen::CountChanged(before, TScreen::Pixels(), 0, 0, MaxX, MaxY), 0);
  }
}

TEST_F(FilePreviews, AnStlOfFiftyMegabytesIsNotRead) {
  const std::filesystem::path big = screen_.Dir() / "BIG.STL";
  std::ofstream(big, std::ios::binary) << "solid big\n";
  std::filesystem::resize_file(big, 50000000);
  DrawStlPreview("BIG.STL", TBox{0, 0, 0, 200, 100}, 261, true);
  EXPECT_EQ(TScreen::PixelAt(199, 99), PixelOf(261));
  EXPECT_GT(CountPixels(8, 0, 90, 16, PixelOf(13)), 0);  // "*too big*"
}

TEST_F(FilePreviews, SorProgramDrawsItsContoursAndCalledSubprograms) {
  Write(screen_, "E.SOR", Fixture("engraving.sor"));
  DrawSorThumbnail("E.SOR", TBox{1, 100, 100, 300, 200});
  // 40 x 20 mm in a 199 x 99 interior: factor 4.9. The frame's left and
  // bottom edges, and the ring of radius 5 about (20, 10) from the called
  // subprogram: 24.5 pixels about window (199, 150).
  EXPECT_EQ(TScreen::PixelAt(101, 150), PixelOf(274));
  EXPECT_EQ(TScreen::PixelAt(150, 102), PixelOf(274));
  EXPECT_GT(CountPixels(171, 122, 227, 178, PixelOf(274)), 80);
  EXPECT_EQ(TScreen::PixelAt(199, 150), PixelOf(15));
  EXPECT_EQ(CountPixels(190, 141, 208, 159, PixelOf(274)), 0);
  EXPECT_GT(CountPixels(120, 101, 299, 115, PixelOf(13)), 0);  // "40mm x 20mm"
  // The dialog form: on colour 261, no label.
  DrawSorPreview("E.SOR", TBox{0, 0, 0, 200, 100});
  EXPECT_EQ(TScreen::PixelAt(100, 50), PixelOf(261));
  EXPECT_EQ(CountPixels(100, 0, 199, 15, PixelOf(13)), 0);
}

TEST_F(FilePreviews, SorProgramsWithoutMainOrEndlessCallsAreSafe) {
  const struct {
    const char* what;
    std::string program;
    bool drawn;
  } cases[] = {
      {"no MAIN", "PR OTHER\nRQ 0 0 10 10\nEND\n", false},
      {"PR inside a block", "PR MAIN\nPR X\nRQ 0 0 10 10\nEND\n", false},
      {"a subprogram calling itself", "PR MAIN\nRQ 0 0 10 10\nCALL LOOP 1 1 0 0 X 50\nEND\nPR LOOP\nDR 1 1\nCALL LOOP 1 1 0 0 X 50\nEND\n", true},
      {"indented lines have no keyword", "PR MAIN\n RQ 0 0 10 10\nEND\n", false},
      {"a missing number ends the run", "PR MAIN\nRQ 0 0 10 10\nD 5\nRQ 0 0 90 90\nEND\n", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Write(screen_, "C.SOR", c.program);
    const auto before = TScreen::Pixels();
    DrawSorThumbnail("C.SOR", TBox{1, 100, 100, 300, 300});
    EXPECT_EQ(TScreen::CountChanged(before, TScreen::Pixels(), 0, 0, MaxX, MaxY) > 0, c.drawn);
    EXPECT_EQ(TScreen::CountChanged(before, TScreen::Pixels(), 301, 0, MaxX, MaxY), 0);
  }
  // The run stopped at the bad line: the frame of 10 fills the box (its
  // right edge at 297); with the frame of 90 drawn it would end at 123.
  EXPECT_EQ(TScreen::PixelAt(297, 200), PixelOf(274));
  EXPECT_NE(TScreen::PixelAt(123, 250), PixelOf(274));
}

// A drawing with one text line (160-byte parameters after the head) and the
// 10 x 10 square as its vectors.
std::string DrawingWithText(float height) {
  std::string params(160, '\0');
  PutAt(params, 0, 2.0f);  // x
  PutAt(params, 4, 2.0f);  // y
  const std::string font = "G1500010.HZE";
  params[8] = char(font.size());
  params.replace(9, font.size(), font);
  PutAt(params, 22, height);
  params[26] = 'V';
  PutAt(params, 27, 1.0f);  // width factor
  params[57] = 2;
  params.replace(58, 2, "AB");
  std::string head = Drawing("", 9, 0);
  PutAt(head, 35, int16_t(1));
  const std::string vectors = Square();
  PutAt(head, 77, int32_t(379 + 160));
  PutAt(head, 81, int32_t(379 + 160 + vectors.size()));
  return head + params + vectors;
}

TEST_F(FilePreviews, DrawingPreviewShowsItsTextLines) {
  Write(screen_, "G1500010.HZE", "font");
  Write(screen_, "T.SLD", DrawingWithText(3));
  DrawDrawingThumbnail("T.SLD", TBox{1, 100, 100, 200, 200});
  // The fit: factor (99 - margin) / 10, origin margin / 2 pixels in.
  const double f = (99 - FitMargin) / 10.0, o = FitMargin / 2.0;
  auto sx = [&](double x) { return 101 + int(std::nearbyint(x * f + o)); };
  auto sy = [&](double y) { return 101 + 99 - int(std::nearbyint(y * f + o)); };
  // The line "AB" at (2, 2), 3 high: its box runs to (8, 5).
  EXPECT_EQ(TScreen::PixelAt(sx(5), sy(2)), PixelOf(274));
  EXPECT_EQ(TScreen::PixelAt(sx(5), sy(5)), PixelOf(274));
  EXPECT_EQ(TScreen::PixelAt(sx(2), sy(3.5)), PixelOf(274));
  EXPECT_EQ(TScreen::PixelAt(sx(5), sy(3.5)), PixelOf(15));
  EXPECT_EQ(TScreen::PixelAt(sx(0), sy(5)), PixelOf(274));  // the square still
  // Below 6 pixels high, or without its font file, the line is left out.
  Write(screen_, "S.SLD", DrawingWithText(0.3f));
  DrawDrawingThumbnail("S.SLD", TBox{1, 300, 100, 400, 200});
  EXPECT_EQ(CountPixels(300 + sx(1.5) - 100, sy(5.5), 300 + sx(8.5) - 100, sy(1.5), PixelOf(274)), 0);
  EXPECT_EQ(TScreen::PixelAt(300 + sx(0) - 100, sy(5)), PixelOf(274));
  std::filesystem::remove(screen_.Dir() / "G1500010.HZE");
  DrawDrawingThumbnail("T.SLD", TBox{1, 500, 100, 600, 200});
  EXPECT_EQ(CountPixels(500 + sx(1.5) - 100, sy(5.5), 500 + sx(8.5) - 100, sy(1.5), PixelOf(274)), 0);
  EXPECT_EQ(TScreen::PixelAt(500 + sx(0) - 100, sy(5)), PixelOf(274));
}


TEST_F(FilePreviews, PackedReliefThumbnailLeavesTheReliefCopiesAlone) {
  // One row of two cells: start 0, one delta of +100; range 0 .. 100.
  const std::string packed = std::string("\x01\x07\x00\x02\x00\x00\x03\x01\x00\x04\x02\x00", 12) +
                             std::string("\x05\x00\x00\x06\x64\x00\x0D\x03" "abc" "\x3C", 12) +
                             std::string("\x00\x00\x00\x41\x64", 5);
  Write(screen_, "P.HRP", packed);
  Write(screen_, "RELAR1.BAK", "the user's relief copy");
  DrawPackedReliefThumbnail("P.HRP", TBox{1, 100, 100, 120, 120});
  EXPECT_EQ(TScreen::PixelAt(101, 101), Grey(0));
  EXPECT_EQ(TScreen::PixelAt(102, 101), Grey(255));
  std::ifstream in(screen_.Dir() / "RELAR1.BAK", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the user's relief copy");
  EXPECT_FALSE(plat::FileExists(kPackedPreviewRelief));
}

}  // namespace
