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

// Parameter block 23: the optimisation command's settings.
#pragma pack(push, 1)
struct TOptimizeSettings {
  float resolution;    // dots per inch, 100 to 500000
  uint8_t reserved1[4];
  float minRecords;    // records a contour needs, 1 to 100
  float sizeLimit;     // tolD, 0.0005 to 1
  uint8_t closeAll;    // 'J' close every contour, 'N' only nearly closed ones
  uint8_t reserved2[11];
};
#pragma pack(pop)
static_assert(sizeof(TOptimizeSettings) == 28, "parameter block 23 is 28 bytes");
constexpr int16_t kOptimizeSettingsBlock = 23;
constexpr int16_t kMsgOptimizeTitle = 634;
constexpr int16_t kMsgOptimizeSizeLimit = 636;
constexpr int16_t kMsgOptimizeMinRecords = 637;
constexpr int16_t kMsgOptimizeClose = 638;
constexpr int16_t kMsgOptimizeResolution = 639;

// Reads block 23 (values outside their ranges start from the default
// resolution of 12000 dpi, 2 records, 0.01 mm and closing off), asks the
// four settings and stores them in block 23 unless the form was cancelled.
// True when confirmed; settings holds the values in force either way.
bool EditOptimizeSettings(TOptimizeSettings& settings);
// The optimisation command of the main menu: the vector store when it holds
// records, else the current layer file, thinned with the asked settings
// (both directions for a layer without 3D points), then its duplicate
// contours removed. Esc between the passes ends it.
void RunOptimizeCommand();
// The status line of a shown pass: source records, records written,
// contours kept and the ratio written / read.
std::string FormatOptimizeStatus(int64_t source, int64_t written, int64_t kept, int64_t read);

// Rounds the points of the file to multiples of step and drops the repeats
// this creates (a start with a repeated point keeps it: a dot stays a dot).
// A step that is not above 0 leaves the file unchanged.
void SnapVectorFileToGrid(const std::string& name, int flags, double step);

// Removes segments shorter than d from the 3D paths of the file, in place.
// A d that is not above 0 leaves the file unchanged.
void SmoothShortSegments(const std::string& name, double d);

// Snaps the source to a 0.001 mm grid first (dropping points that then
// repeat; mode bit 6 also drops layer records), then fits arcs as
// FitArcsInVectorFile (cad/arc_fitting.h).
void FitArcsToVectorFile(const std::string& source, const std::string& target, int32_t mode, double largestSweep,
                         double tolerance, double largestRadius);

// Removes from the vector file every contour that repeats an earlier one:
// the same box (corners rounded to 0.01), the same record count and equal x
// and y record by record. The file is saved to "VekAR1.BAK" first; when the
// rewrite fails the file is put back from it. The number removed is shown
// (message 278); returns it.
int32_t RemoveDuplicateContours(const std::string& fileName);
