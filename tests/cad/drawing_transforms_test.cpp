// Transforms of the whole drawing on layer files.
#include "cad/drawing_transforms.h"

#include <gtest/gtest.h>

#include <cmath>

#include "frame/math_constants.h"
#include "frame/param_file.h"
#include "support/drawing_test_support.h"

namespace {

using drawtest::Bytes;
using drawtest::Rec;
using drawtest::Records;


class TransformTest : public drawtest::DrawingFolderTest {
 protected:
  void SetUp() override {
    DrawingFolderTest::SetUp();
    savedLayout_ = LayoutArea;
    LayoutArea = {{1, 0, 0}, {5, 100, 75}};
  }
  void TearDown() override {
    LayoutArea = savedLayout_;
    DrawingFolderTest::TearDown();
  }
  std::vector<TVectorRecord> Layer(int n) { return Records(ReadFile(BuildLayerFileName(n))); }
  void SetLayer(int n, const std::vector<TVectorRecord>& r) { WriteFile(BuildLayerFileName(n), Bytes(r)); }

  TExtentsPair savedLayout_{};
};

void ExpectPoint(const TVectorRecord& r, double x, double y, double tolerance = 1e-4) {
  EXPECT_NEAR(r.x, x, tolerance);
  EXPECT_NEAR(r.y, y, tolerance);
}

// A point of an arc record at the fraction t of its sweep; the arc begins at
// the point before it.
void ArcPoint(const TVectorRecord& before, const TVectorRecord& arc, double t, double& x, double& y) {
  const double r = arc.x, start = arc.y, sweep = arc.z;
  const double cx = before.x - r * std::cos(start), cy = before.y - r * std::sin(start);
  x = cx + r * std::cos(start + t * sweep);
  y = cy + r * std::sin(start + t * sweep);
}

// The drawing of the survival test: a contour with an arc (from (10, 0)
// round the centre (10, 5) to (10, 10)), a layer record and a tool block.
std::vector<TVectorRecord> MixedDrawing() {
  std::vector<TVectorRecord> d = {
      Rec(kRecContourStart, 0, 0), Rec(kRecLinePoint, 10, 0), Rec(kRecArc, 5, float(-kPi / 2), float(kPi)),
      Rec(kRecLinePoint, 0, 10), Rec(kRecLayer, 3, 0), Rec(kRecMinCorner, 1, 2, 3), Rec(kRecMaxCorner, 4, 5, 6),
      Rec(kRecPathFactor, 1, 0), Rec(kRecPathLayer, 1, 0, 2), Rec(kRecTool1, 3, 0.5f, 90),
      Rec(kRecToolColour, 0, 0, 255), Rec(kRecToolName1, 65, 66), Rec(kRecToolName2, 0, 0),
      Rec(kRecTool5, 0, 0), Rec(kRecTool6, 0, 0, 100), Rec(kRecToolFeed, 1000, 2, 5), Rec(kRecTool8, 12000, 0, 1),
      Rec(kRecPathEnd, 0, 0)};
  return d;
}

// Applies each transform to the mixed drawing and checks the records by
// their meaning against the same map applied to the original points.
TEST_F(TransformTest, ArcToolBlockAndLayerRecordSurviveEveryTransform) {
  struct TCase {
    const char* name;
    void (*run)();
    void (*map)(double& x, double& y);
  };
  // Mirror in x about the current layer's extent: points x 0 .. 10 (the arc's
  // bulge is no record), so x' = 10 - x.
  const TCase cases[] = {
      {"shift", [] { ShiftDrawingFiles(7, -3, false); }, [](double& x, double& y) { x += 7; y -= 3; }},
      {"rotate", [] { RotateDrawingFiles(kPi / 2, 1, 1, kRotateCurrentLayer); },
       [](double& x, double& y) { const double dx = x - 1, dy = y - 1; x = 1 - dy; y = 1 + dx; }},
      {"mirror", [] { MirrorDrawing(kMirrorInX); }, [](double& x, double& y) { x = 10 - x; (void)y; }},
      {"scale", [] { ScaleDrawingByFactor(250, false); }, [](double& x, double& y) { x *= 2.5; y *= 2.5; }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<TVectorRecord> before = MixedDrawing();
    SetLayer(0, before);
    c.run();
    const std::vector<TVectorRecord> after = Layer(0);
    ASSERT_EQ(after.size(), before.size());
    for (int i : {0, 1, 3}) {
      double x = before[i].x, y = before[i].y;
      c.map(x, y);
      ExpectPoint(after[i], x, y);
    }
    EXPECT_EQ(after[2].type, kRecArc);
    for (double t : {0.0, 0.5, 1.0}) {
      double x = 0, y = 0, ex = 0, ey = 0;
      ArcPoint(before[1], before[2], t, x, y);
      c.map(x, y);
      ArcPoint(after[1], after[2], t, ex, ey);
      EXPECT_NEAR(ex, x, 1e-4) << "t " << t;
      EXPECT_NEAR(ey, y, 1e-4) << "t " << t;
    }
    for (size_t i = 4; i < before.size(); ++i) {
      EXPECT_EQ(0, std::memcmp(&after[i], &before[i], sizeof(TVectorRecord))) << "record " << i;
    }
  }
}

TEST_F(TransformTest, MirroringTwiceRestoresCoordinatesAndContourOrder) {
  const std::vector<TVectorRecord> drawing = {
      Rec(kRecContourStart, 0, 0, -3), Rec(kRecLinePoint, 10, 0), Rec(kRecLinePoint, 10, 5),
      Rec(kRecContourStart, 20, 20), Rec(kRecLinePoint, 30, 25), Rec(kRecLinePoint, 40, 20)};
  SetLayer(0, drawing);
  ASSERT_TRUE(MirrorDrawing(kMirrorReverse + kMirrorInX));
  const std::vector<TVectorRecord> once = Layer(0);
  ASSERT_EQ(once.size(), drawing.size());
  // x' = 40 - x, each contour reversed; the mark of the start goes along.
  EXPECT_EQ(once[0].type, kRecContourStart);
  ExpectPoint(once[0], 30, 5);
  EXPECT_FLOAT_EQ(once[0].z, -3.0f);
  ExpectPoint(once[2], 40, 0);
  EXPECT_EQ(once[2].type, kRecLinePoint);
  ExpectPoint(once[3], 0, 20);
  ASSERT_TRUE(MirrorDrawing(kMirrorReverse + kMirrorInX));
  EXPECT_EQ(ReadFile(BuildLayerFileName(0)), Bytes(drawing));
}

TEST_F(TransformTest, MirrorAboutTheLayoutAreaMovesToTheOtherSide) {
  SetLayer(0, {Rec(kRecContourStart, 110, 10), Rec(kRecLinePoint, 120, 30)});
  ASSERT_TRUE(MirrorDrawing(kMirrorAboutLayout + kMirrorInX));
  const auto r = Layer(0);
  ExpectPoint(r[0], -10, 10);
  ExpectPoint(r[1], -20, 30);
  SetLayer(0, {Rec(kRecContourStart, 110, 10), Rec(kRecLinePoint, 120, 30)});
  ASSERT_TRUE(MirrorDrawing(kMirrorAboutLayout + kMirrorInY));
  ExpectPoint(Layer(0)[1], 120, 45);
}

TEST_F(TransformTest, DegenerateExtentsMirrorNothing) {
  const std::vector<TVectorRecord> line = {Rec(kRecContourStart, 0, 5), Rec(kRecLinePoint, 50, 5)};
  SetLayer(0, line);
  EXPECT_FALSE(MirrorDrawing(kMirrorInX));
  EXPECT_EQ(ReadFile(BuildLayerFileName(0)), Bytes(line));
}

TEST_F(TransformTest, AllLayersKeepTheDirectionOfLayersWithToolRecords) {
  const std::vector<TVectorRecord> plain = {Rec(kRecContourStart, 0, 0), Rec(kRecLinePoint, 10, 10)};
  std::vector<TVectorRecord> tooled = plain;
  tooled.push_back(Rec(kRecTool1, 3, 0, 90));
  SetLayer(0, plain);
  SetLayer(1, tooled);
  ASSERT_TRUE(MirrorDrawing(kMirrorReverse + kMirrorAllLayers + kMirrorInX));
  const auto l0 = Layer(0), l1 = Layer(1);
  ExpectPoint(l0[0], 0, 10);   // mirrored and reversed
  ExpectPoint(l1[0], 10, 0);   // mirrored only
  EXPECT_EQ(l1[2].type, kRecTool1);
  // One note for the layers kept as they ran.
  const std::string transcript = ReadFile("transcript.txt");
  EXPECT_NE(transcript.find("msgbox"), std::string::npos) << transcript;
  EXPECT_EQ(transcript.find("msgbox"), transcript.rfind("msgbox")) << transcript;
}

TEST_F(TransformTest, ReversalKeepsRecordsOutsideContoursAndCurvedContours) {
  const std::vector<TVectorRecord> drawing = {
      Rec(kRecMinCorner, 0, 0), Rec(kRecMaxCorner, 9, 9),                      // extent head
      Rec(kRecLayer, 2, 0),
      Rec(kRecContourStart, 1, 1), Rec(kRecArc, 1, 0, 1), Rec(kRecLinePoint, 3, 3),  // with an arc
      Rec(kRecAltContourStart, 5, 5, 0), Rec(kRecLinePoint, 6, 6, kPenUpZ), Rec(kRecLinePoint, 7, 5),
      Rec(kRecAngles, 1, 2, 3)};
  SetLayer(0, drawing);
  ASSERT_TRUE(ReverseContourDirections(BuildLayerFileName(0)));
  const auto r = Layer(0);
  ASSERT_EQ(r.size(), drawing.size());
  for (int i : {0, 1, 2, 3, 4, 5, 9}) EXPECT_EQ(0, std::memcmp(&r[i], &drawing[i], sizeof(TVectorRecord))) << i;
  EXPECT_EQ(r[6].type, kRecContourStart);
  ExpectPoint(r[6], 7, 5);
  ExpectPoint(r[7], 6, 6);
  EXPECT_FLOAT_EQ(r[7].z, 0.0f);  // line points lose their z
  ExpectPoint(r[8], 5, 5);
  EXPECT_EQ(r[8].type, kRecLinePoint);
}

TEST_F(TransformTest, ScaleToAMeasureAboutTheLowerLeftCorner) {
  const std::vector<TVectorRecord> drawing = {Rec(kRecContourStart, 10, 10), Rec(kRecLinePoint, 60, 30)};
  const TVectorRecord p1 = Rec(kRecLinePoint, 10, 10), p2 = Rec(kRecLinePoint, 60, 10);
  const struct { int kind; double fx, fy; float x, y; } cases[] = {
      {kMeasureWidth, 2, 2, 110, 50},
      {kMeasureXWidth, 2, 1, 110, 30},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    SetLayer(0, drawing);
    double fx = 0, fy = 0;
    ASSERT_EQ(ComputeMeasureFactors(c.kind, p1, p2, 100.0, fx, fy), 0);
    EXPECT_DOUBLE_EQ(fx, c.fx);
    EXPECT_DOUBLE_EQ(fy, c.fy);
    ASSERT_TRUE(ScaleDrawingAboutCorner(fx, fy, false));
    const auto r = Layer(0);
    ExpectPoint(r[0], 10, 10);
    ExpectPoint(r[1], c.x, c.y);
  }
}

TEST_F(TransformTest, MeasureAndTargetLimits) {
  const TVectorRecord a = Rec(kRecLinePoint, 10, 10), b = Rec(kRecLinePoint, 10.0005f, 50);
  double fx = 0, fy = 0;
  EXPECT_EQ(ComputeMeasureFactors(kMeasureWidth, a, b, 100, fx, fy), 4011);  // width below 0.001
  EXPECT_EQ(ComputeMeasureFactors(kMeasureHeight, a, b, 0.005, fx, fy), 4011);  // target below 0.01
  ASSERT_EQ(ComputeMeasureFactors(kMeasureYHeight, a, b, 80, fx, fy), 0);
  EXPECT_DOUBLE_EQ(fx, 1.0);
  EXPECT_DOUBLE_EQ(fy, 2.0);
  ASSERT_EQ(ComputeMeasureFactors(kMeasureXPercent, a, b, -150, fx, fy), 0);
  EXPECT_DOUBLE_EQ(fx, 1.5);
  EXPECT_DOUBLE_EQ(fy, 1.0);
  EXPECT_EQ(ComputeMeasureFactors(7, a, b, 100, fx, fy), -1);
  EXPECT_FALSE(ScaleDrawingAboutCorner(1.0, 1.0, false));
}

TEST_F(TransformTest, PercentScalingUsesTheMagnitudeAndScalesHeights) {
  SetLayer(0, {Rec(kRecContourStart, 10, 20, -3), Rec(kRec3DPoint, 40, 20, -8), Rec(kRecLinePoint, 40, 60, kPenUpZ)});
  ScaleDrawingByFactor(-50, false);
  const auto r = Layer(0);
  ExpectPoint(r[0], 5, 10);
  EXPECT_FLOAT_EQ(r[0].z, -3.0f);  // a contour mark is no height
  ExpectPoint(r[1], 20, 10);
  EXPECT_FLOAT_EQ(r[1].z, -4.0f);
  EXPECT_FLOAT_EQ(r[2].z, kPenUpZ);
}

TEST_F(TransformTest, DistortionFactorsAreLimited) {
  SetLayer(0, {Rec(kRecContourStart, 10, 10), Rec(kRec3DPoint, 2, 4, -1)});
  float fx = 0.0f, fy = 5000.0f, fz = 2.0f;
  DistortDrawing(fx, fy, fz, false);
  EXPECT_FLOAT_EQ(fx, 0.001f);
  EXPECT_FLOAT_EQ(fy, 1000.0f);
  const auto r = Layer(0);
  ExpectPoint(r[0], 0.01, 10000, 1e-3);
  EXPECT_FLOAT_EQ(r[1].z, -2.0f);
  // All three 1: the file is not touched.
  const std::string bytes = ReadFile(BuildLayerFileName(0));
  fx = fy = fz = 1.0f;
  DistortDrawing(fx, fy, fz, false);
  EXPECT_EQ(ReadFile(BuildLayerFileName(0)), bytes);
}

TEST_F(TransformTest, RotatingByAPickedLine) {
  const TVectorRecord p = Rec(kRecLinePoint, 10, 10), q = Rec(kRecLinePoint, 0, 0);
  EXPECT_NEAR(ComputeLineRotationAngle(2, p, q), -kPi / 4, 1e-12);
  EXPECT_NEAR(ComputeLineRotationAngle(3, p, q), kPi / 4, 1e-12);
  // The same y with mode 2 (and the same x with mode 3) does nothing.
  EXPECT_EQ(ComputeLineRotationAngle(2, Rec(kRecLinePoint, 0, 5), Rec(kRecLinePoint, 9, 5)), 0.0);
  EXPECT_EQ(ComputeLineRotationAngle(3, Rec(kRecLinePoint, 4, 0), Rec(kRecLinePoint, 4, 9)), 0.0);
  SetLayer(0, {Rec(kRecContourStart, 0, 0), Rec(kRecLinePoint, 10, 10)});
  const std::string bytes = ReadFile(BuildLayerFileName(0));
  EXPECT_FALSE(RotateDrawingFiles(0.0, 5, 5, kRotateCurrentLayer));
  EXPECT_EQ(ReadFile(BuildLayerFileName(0)), bytes);
  // Made horizontal about the middle of the extent.
  double cx = 0, cy = 0;
  GetRotationCentre(1, kRotateCurrentLayer, cx, cy);
  EXPECT_DOUBLE_EQ(cx, 5.0);
  ASSERT_TRUE(RotateDrawingFiles(ComputeLineRotationAngle(2, p, q), cx, cy, kRotateCurrentLayer));
  const auto r = Layer(0);
  ExpectPoint(r[0], 5 - std::sqrt(50.0), 5);
  ExpectPoint(r[1], 5 + std::sqrt(50.0), 5);
}

TEST_F(TransformTest, RotatingAllLayersAboutTheLayoutCentre) {
  SetLayer(0, {Rec(kRecContourStart, 60, 37.5f)});
  SetLayer(2, {Rec(kRecContourStart, 50, 47.5f)});
  double cx = 0, cy = 0;
  GetRotationCentre(2, kRotateAllLayers, cx, cy);
  EXPECT_DOUBLE_EQ(cx, 50.0);
  EXPECT_DOUBLE_EQ(cy, 37.5);
  ASSERT_TRUE(RotateDrawingFiles(kPi / 2, cx, cy, kRotateAllLayers));
  ExpectPoint(Layer(0)[0], 50, 47.5);
  ExpectPoint(Layer(2)[0], 40, 37.5);
}

}  // namespace
