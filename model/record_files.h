// Whole-file record operations.
//
// Extents, copying and appending with conversion between vector and point
// records, and coordinate transforms in place, on record files named by
// name. A file's kind (vector or point) comes from its name
// (GetDataFileKind). Every whole-file operation moves its records in blocks
// of 5000 through buffers of its own.
//
// Record types are changed by their meaning wherever coordinates change:
// points (10, 11, 12, 14-16, 18, 19, 25-27) move; arcs (13) and elliptic
// arcs (20, 21) keep their shape with radius and angles adjusted; headers,
// tool records, layer and angle records stay. Extents records (1, 5) move in
// shifts and scales; a stored extents head (records 0 and 1 of types 1 and
// 5) is rewritten from the transformed corners in every transform.
#pragma once

#include <cstdint>
#include <string>

#include "model/vector_records.h"

// --- whole-file operations ---------------------------------------------------------
// Extents of a vector or point file: a stored head wider and taller than
// 0.1 is taken as it is, otherwise the records are scanned (x, y of types
// 10, 11, 12, 18; z of the heights among them). A file of fewer than two
// records gives all zero.
void ReadFileExtents(const std::string& name, TVectorExtentsPair& pair);

// Flags of CopyOrAppendRecordFile.
constexpr int kCopyNew = 1;             // create the target (else append)
constexpr int kCopyDraw = 4;            // draw the records in the colour, no progress bar
constexpr int kCopyDropAttributes = 8;  // vector target: drop 1, 5, 6, 7, 9, 150-157
constexpr int kCopyDropLayers = 16;     // drop layer records (128)
void CopyOrAppendRecordFile(const std::string& source, const std::string& target, int flags, int colour);

// Modes of TransformFileCoordinates.
constexpr int kTransformShift = 1;    // x + vx, y + vy
constexpr int kTransformMirrorX = 2;  // x = vx - x
constexpr int kTransformMirrorY = 3;  // y = vy - y
constexpr int kTransformScale = 4;    // about (cx, cy) by vx, vy
void TransformFileCoordinates(const std::string& name, double cx, double cy, double vx, double vy, int mode);
// Turns the file about (cx, cy) by angle (radians, counter-clockwise).
void RotateFileCoordinates(const std::string& name, double cx, double cy, double angle);
