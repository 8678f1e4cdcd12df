// In-place clean-up passes over vector files: the optimisation pass (drops
// collinear and redundant points in windows of at most 300 records, filters
// small contours, closes nearly closed ones), the grid snap and the
// short-segment smoothing of 3D paths.
#pragma once

#include <cstdint>
#include <string>

// Records of the optimisation window and of its read and write buffers.
constexpr int32_t kOptimizeWindow = 300;
// Records of the smoothing's read and write blocks.
constexpr int32_t kSmoothBlock = 5000;
// Flag of SnapVectorFileToGrid: layer-change records (type 128) are dropped.
constexpr int kSnapDropLayers = 0x40;

// Rewrites the file in place:
//   minRecords: contours with fewer source records are dropped (300 and
//     above count as 299); the size filter applies only above 2.
//   closeAll: 1 closes every open contour, 0 only the nearly closed ones.
//   display: 256 silent; any other value draws the written records in it.
//   tolA corner tolerance (distance from the line through the neighbours),
//   tolB near tolerance (in x and in y), tolC area tolerance (twice the
//   triangle's area), tolD size limit of small contours, tolE input grid
//   (> 0: points rounded to multiples of it; also the step of the direction
//   test's scan line).
// A file that cannot be opened is left alone; a short write shows message 8
// and leaves the file untruncated.
void OptimizeVectorFile(const std::string& name, int16_t minRecords, uint8_t closeAll, int16_t display, double tolA,
                        double tolB, double tolC, double tolD, double tolE);
// The tolerances of a 12000-dpi resolution, every contour closed, silent.
void OptimizeVectorFileDefault(const std::string& name, double size);
// As the default, closing only nearly closed contours, drawn in display.
void OptimizeVectorFileShown(const std::string& name, int16_t display, double size);

// Rounds the points of the file to multiples of step and drops the repeats
// this creates (a start with a repeated point keeps it: a dot stays a dot).
// A step that is not above 0 leaves the file unchanged.
void SnapVectorFileToGrid(const std::string& name, int flags, double step);

// Removes segments shorter than d from the 3D paths of the file, in place.
// A d that is not above 0 leaves the file unchanged.
void SmoothShortSegments(const std::string& name, double d);
