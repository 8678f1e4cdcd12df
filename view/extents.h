// Extents of vector files, record buffers and layer files, and the small
// content tests of the drawing.
//
// A vector file may begin with an extent head: exactly two records of types
// 1 and 5 at its start hold its extent. Points count toward an extent by
// type: 10, 11, 17, 18 with x and y; 12 with x, y and z; the y of a tool
// record 156 raises max z; every other type is ignored. The empty 2D extent
// is (100000, 100000) .. (-100000, -100000); the empty 3D extent has z 0 in
// both corners. Missing, empty or truncated files never fail here: a file
// without a whole record gives the zero extent (both corners type 0 at 0).
#pragma once

#include <cstdint>
#include <string>

#include "frame/data_slots.h"
#include "model/vector_records.h"

// With a head and fullScan false the head is the result; otherwise the
// records are counted (after the head, when there is one). The buffer is the
// caller's vector buffer (AllocRecordBuffer kind 1).
void ScanVectorFileExtent3D(const std::string& name, bool fullScan, TVectorExtentsPair& out, TRecordBuffer& buffer);
// Counts every record from the start, whatever the first two are.
void ScanVectorFileExtent3DFull(const std::string& name, TVectorExtentsPair& out, TRecordBuffer& buffer);
void GetVectorFileExtent(const std::string& name, bool fullScan, TExtentsPair& out, TRecordBuffer& buffer);
void GetVectorFileExtentOwnBuffer(const std::string& name, bool fullScan, TExtentsPair& out);
void GetVectorFileExtent3D(const std::string& name, bool fullScan, TVectorExtentsPair& out);
// Points of types 10, 11, 12 and 27, always scanned.
void GetContourFileExtent(const std::string& name, TExtentsPair& out);
void GetBufferExtent3D(const TVectorArray& buffer, TVectorExtentsPair& out);
void GetBufferExtent(const TVectorArray& buffer, TExtentsPair& out);
void MergeExtents3D(const TVectorExtentsPair& a, const TVectorExtentsPair& b, TVectorExtentsPair& out);
// kind bits 0-1: 0 drawing, 1 tool, 2 path layers, 3 none; bit 7: no fall
// back to the layout area when nothing was found.
void GetLayerFilesExtent(uint8_t kind, TExtentsPair& out);
int32_t SumLayerFileRecords(int kind);
bool AnyLayerFileHasRecords(int kind);
void TestDrawingHasContent(bool& layersHaveRecords, bool& textsPresent);
// True when the extent has width and height (max above min in both axes).
bool ExtentHasArea(const TExtentsPair& e);
