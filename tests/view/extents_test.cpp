// Extents of vector files, buffers and layer files, and the content tests.
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "frame/file_helpers.h"
#include "view/extents.h"
#include "view/view_screen.h"

using namespace viewtest;

namespace {

void WriteRecords(const std::string& name, const std::vector<TVectorRecord>& records, size_t extraBytes = 0) {
  std::ofstream out(plat::HostPathOf(name), std::ios::binary);
  out.write(reinterpret_cast<const char*>(records.data()), std::streamsize(records.size() * sizeof(TVectorRecord)));
  for (size_t i = 0; i < extraBytes; ++i) out.put('\x02');
}

void ExpectExtent(const TExtentsPair& e, float x1, float y1, float x2, float y2) {
  EXPECT_FLOAT_EQ(float(e.minCorner.x), x1);
  EXPECT_FLOAT_EQ(float(e.minCorner.y), y1);
  EXPECT_FLOAT_EQ(float(e.maxCorner.x), x2);
  EXPECT_FLOAT_EQ(float(e.maxCorner.y), y2);
}

class Extents : public ::testing::Test {
 protected:
  TViewScreen screen_;
};

TEST_F(Extents, HeadRuleAndFullScan) {
  WriteRecords("HEAD.TMP", {Rec(kRecMinCorner, -1, -2, -3), Rec(kRecMaxCorner, 1, 2, 3), Rec(kRecContourStart, 50, 60),
                            Rec(kRec3DPoint, 70, -5, 9)});
  TVectorExtentsPair e3;
  GetVectorFileExtent3D("HEAD.TMP", false, e3);
  EXPECT_EQ(e3.minCorner.type, kRecMinCorner);
  EXPECT_FLOAT_EQ(float(e3.minCorner.z), -3);
  EXPECT_FLOAT_EQ(float(e3.maxCorner.x), 1);
  TExtentsPair e;
  GetVectorFileExtentOwnBuffer("HEAD.TMP", true, e);
  ExpectExtent(e, 50, -5, 70, 60);
  GetVectorFileExtent3D("HEAD.TMP", true, e3);
  EXPECT_FLOAT_EQ(float(e3.minCorner.z), 0) << "z starts at 0";
  EXPECT_FLOAT_EQ(float(e3.maxCorner.z), 9);
  TRecordBuffer buffer;
  AllocRecordBuffer(1, buffer, 1);
  ScanVectorFileExtent3DFull("HEAD.TMP", e3, buffer);
  EXPECT_FLOAT_EQ(float(e3.maxCorner.x), 70) << "head records are ignored by the count";
  EXPECT_FLOAT_EQ(float(e3.minCorner.x), 50);
  AllocRecordBuffer(1, buffer, 0);
}

TEST_F(Extents, OneRecordIsNoHeadAndEmptyFilesGiveZero) {
  WriteRecords("ONE.TMP", {Rec(kRecMinCorner, 5, 5)});
  TExtentsPair e;
  GetVectorFileExtentOwnBuffer("ONE.TMP", false, e);
  ExpectExtent(e, kEmptyExtentsMin, kEmptyExtentsMin, kEmptyExtentsMax, kEmptyExtentsMax);
  WriteRecords("NONE.TMP", {});
  for (const char* name : {"NONE.TMP", "MISSING.TMP"}) {
    GetVectorFileExtentOwnBuffer(name, false, e);
    EXPECT_EQ(e.minCorner.type, 0);
    EXPECT_EQ(e.maxCorner.type, 0);
    ExpectExtent(e, 0, 0, 0, 0);
  }
  WriteRecords("SHORT.TMP", {}, 9);  // less than one record
  GetVectorFileExtentOwnBuffer("SHORT.TMP", false, e);
  ExpectExtent(e, 0, 0, 0, 0);
}

TEST_F(Extents, TruncatedFileCountsItsWholeRecords) {
  WriteRecords("TRUNC.TMP", {Rec(kRecContourStart, 1, 2), Rec(kRecLinePoint, 30, 40)}, 11);
  TExtentsPair e;
  GetVectorFileExtentOwnBuffer("TRUNC.TMP", true, e);
  ExpectExtent(e, 1, 2, 30, 40);
  GetContourFileExtent("TRUNC.TMP", e);
  ExpectExtent(e, 1, 2, 30, 40);
  ErrorCode = 0;
}

TEST_F(Extents, CountingRuleByType) {
  WriteRecords("ARCS.TMP", {Rec(kRecArc, 5, 0, 90), Rec(kRecBezierEnd, 9, 9), Rec(kRecAltContourStart, 3, 3)});
  TExtentsPair e;
  GetVectorFileExtentOwnBuffer("ARCS.TMP", true, e);
  ExpectExtent(e, kEmptyExtentsMin, kEmptyExtentsMin, kEmptyExtentsMax, kEmptyExtentsMax);
  GetContourFileExtent("ARCS.TMP", e);
  ExpectExtent(e, 3, 3, 3, 3);
  WriteRecords("TOOL.TMP", {Rec(kRecContourStart, 0, 0), Rec(kRec3DPoint, 1, 1, -2), Rec(kRecToolFeed, 100, 5, 1)});
  TVectorExtentsPair e3;
  GetVectorFileExtent3D("TOOL.TMP", true, e3);
  EXPECT_FLOAT_EQ(float(e3.maxCorner.z), 5);
  EXPECT_FLOAT_EQ(float(e3.minCorner.z), -2);
  EXPECT_FLOAT_EQ(float(e3.maxCorner.x), 1);
  TVectorRecord recs[3] = {Rec(kRecSplinePoint, -4, 2), Rec(kRecLayer, 500, 500), Rec(kRecLinePoint, 6, 7)};
  TVectorArray array;
  array.records = recs;
  array.count = 3;
  GetBufferExtent(array, e);
  ExpectExtent(e, -4, 2, 6, 7);
}

TEST_F(Extents, MergeKeepsTheFirstTypeAndAllowsAliasing) {
  TVectorExtentsPair a = {Rec(kRecMinCorner, 0, 0, -1), Rec(kRecMaxCorner, 10, 10, 1)};
  const TVectorExtentsPair b = {Rec(kRecMinCorner, -5, 3, 0), Rec(kRecMaxCorner, 5, 20, 4)};
  MergeExtents3D(a, b, a);
  EXPECT_FLOAT_EQ(float(a.minCorner.x), -5);
  EXPECT_FLOAT_EQ(float(a.minCorner.y), 0);
  EXPECT_FLOAT_EQ(float(a.minCorner.z), -1);
  EXPECT_FLOAT_EQ(float(a.maxCorner.y), 20);
  EXPECT_FLOAT_EQ(float(a.maxCorner.z), 4);
  const TVectorExtentsPair before = a;
  MergeExtents3D(a, a, a);
  EXPECT_EQ(std::memcmp(&a, &before, sizeof a), 0);
}

TEST_F(Extents, LayerFilesFallBackToTheLayoutArea) {
  HighestLayer = 2;
  WriteRecords(BuildLayerFileName(0), {});
  WriteRecords(BuildLayerFileName(1), {});
  TExtentsPair e;
  GetLayerFilesExtent(0, e);
  ExpectExtent(e, 0, 0, 100, 75);
  GetLayerFilesExtent(128, e);
  ExpectExtent(e, kEmptyExtentsMin, kEmptyExtentsMin, kEmptyExtentsMax, kEmptyExtentsMax);
  WriteRecords(BuildLayerFileName(1), {Rec(kRecContourStart, -3, 4), Rec(kRecLinePoint, 8, 9)}, 5);
  WriteRecords(BuildLayerFileName(2), {Rec(kRecContourStart, 200, 200)});
  LayerVisible[2] = 0;  // hidden layers do not count
  GetLayerFilesExtent(0, e);
  ExpectExtent(e, -3, 4, 8, 9);
  EXPECT_TRUE(AnyLayerFileHasRecords(0));
  EXPECT_FALSE(AnyLayerFileHasRecords(1));
  LayerRecordCounts[0] = 4;
  LayerRecordCounts[1] = 2;
  EXPECT_EQ(SumLayerFileRecords(0), 6);
  EXPECT_EQ(SumLayerFileRecords(7), 0);
  ErrorCode = 0;
}

TEST_F(Extents, DrawingContentSeesLayersAndTexts) {
  HighestLayer = 1;
  bool layers = true, texts = true;
  TestDrawingHasContent(layers, texts);
  EXPECT_FALSE(layers);
  EXPECT_FALSE(texts);
  WriteRecords(BuildLayerFileName(1), {Rec(kRecContourStart, 1, 1)});
  LayerRecordCounts[1] = 1;
  // A text job of one line with an empty text.
  std::vector<uint8_t> job(379 + 219, 0);
  job[35] = 1;
  std::ofstream(plat::HostPathOf("HS01.TMP"), std::ios::binary).write(reinterpret_cast<const char*>(job.data()), std::streamsize(job.size()));
  TestDrawingHasContent(layers, texts);
  EXPECT_TRUE(layers);
  EXPECT_FALSE(texts);
  job[35] = 3;
  std::ofstream(plat::HostPathOf("HS01.TMP"), std::ios::binary).write(reinterpret_cast<const char*>(job.data()), std::streamsize(job.size()));
  TestDrawingHasContent(layers, texts);
  EXPECT_TRUE(texts);
  std::ofstream(plat::HostPathOf("HS01.TMP"), std::ios::binary).write(reinterpret_cast<const char*>(job.data()), 400);  // truncated
  TestDrawingHasContent(layers, texts);
  EXPECT_FALSE(texts);
}

}  // namespace
