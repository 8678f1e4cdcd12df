// Layer files.
#include "model/layer_files.h"

#include <algorithm>
#include <vector>

#include "frame/checked_files.h"
#include "frame/file_helpers.h"
#include "frame/quiet_files.h"
#include "frame/system_services.h"
#include "model/vector_records.h"
#include "model/vector_store.h"
#include "platform/files.h"
#include "frame/layer_colours.h"

int32_t LayerRecordCounts[kMaxLayerNumber + 1] = {};
uint8_t LayerVisible[kMaxLayerNumber + 1] = {};

namespace {

// The highest layer as an index into the tables.
int32_t TopLayer() { return std::min<int32_t>(HighestLayer, kMaxLayerNumber); }

int32_t ClampLayer(int32_t n) { return std::clamp<int32_t>(n, 0, TopLayer()); }

std::string DataFolder() { return plat::CurrentFolder(); }

std::string NumberText(int32_t n, size_t max) { return std::to_string(n).substr(0, max); }

std::string Cut255(const std::string& name) { return name.size() > 255 ? name.substr(0, 255) : name; }

}  // namespace

int32_t WrapLayerNumber(int32_t n) {
  if (n < 0) return 0;
  return n % (TopLayer() + 1);
}

void ShowAllLayers() { std::fill(std::begin(LayerVisible), std::end(LayerVisible), uint8_t(1)); }

// --- names -----------------------------------------------------------------------------

std::string BuildLayerFileName(int32_t n) {
  return Cut255(DataFolder() + "Layer" + std::to_string(WrapLayerNumber(n)) + ".TMP");
}

std::string BuildWLayerFileName(int32_t n) { return Cut255(DataFolder() + "WLayer" + NumberText(n, 4) + ".TMP"); }

std::string BuildPLayerFileName(int32_t n) { return Cut255(DataFolder() + "PLayer" + std::to_string(n) + ".TMP"); }

std::string BuildRelLayFileName(int32_t n) {
  return Cut255(DataFolder() + "RelLay" + std::to_string(ClampLayer(n)) + ".TMR");
}

std::string BuildLayerBareName(int32_t n) { return "Layer" + std::to_string(ClampLayer(n)) + ".TMP"; }

std::string BuildWLayerBareName(int32_t n) { return "WLayer" + NumberText(n, 2) + ".TMP"; }

std::string BuildPLayerBareName(int32_t n) { return "PLayer" + std::to_string(n) + ".TMP"; }

std::string GetCurrentLayerFileName() { return BuildLayerFileName(CurrentLayer); }

int16_t GetCurrentLayerColour() { return MapLayerToColorIndex(CurrentLayer); }

// --- counts ------------------------------------------------------------------------------

void RecountAllLayerRecords() {
  for (int32_t n = 0; n <= TopLayer(); ++n)
    LayerRecordCounts[n] = static_cast<int32_t>(GetFileByteSize(BuildLayerFileName(n)) / kVectorRecordSize);
}

int32_t RecountCurrentLayerRecords() {
  const int32_t count = CountFileRecords(GetCurrentLayerFileName());
  if (CurrentLayer <= kMaxLayerNumber) LayerRecordCounts[CurrentLayer] = count;
  return count;
}

int64_t SumLayerRecordCounts() {
  int64_t sum = 0;
  for (int32_t n = 0; n <= TopLayer(); ++n) sum += LayerRecordCounts[n];
  return sum;
}

// --- tests and clean-up -------------------------------------------------------------------

bool CheckAnyLayerFileFilled(int kind) {
  if (kind < 0 || kind > 2) return false;
  const int32_t last = kind == 0 ? TopLayer() : kToolLayerCount - 1;
  for (int32_t n = 0; n <= last; ++n) {
    const std::string name = kind == 0 ? BuildLayerFileName(n) : kind == 1 ? BuildWLayerFileName(n)
                                                                           : BuildPLayerFileName(n);
    if (GetFileByteSize(name) >= static_cast<int64_t>(kVectorRecordSize)) return true;
  }
  return false;
}

void DeletePLayerFilesFrom(int32_t n) {
  for (int32_t k = std::max(n, 0); k <= kLastPathLayerKept; ++k) DeleteFileQuiet(BuildPLayerBareName(k));
}

// Names of the plain files matching the pattern (archive attribute).
static std::vector<std::string> ListFiles(const std::string& pattern) {
  std::vector<std::string> names;
  plat::TSearchRec search;
  for (int result = plat::FindFirst(pattern, plat::kAttrArchive, search); result == 0;
       result = plat::FindNext(search))
    if (!(search.attr & plat::kAttrDirectory)) names.push_back(search.name);
  plat::FindClose(search);
  return names;
}

void DeleteObjectReliefCopies() {
  const std::string folder = DataFolder();
  for (const std::string& name : ListFiles(folder + "*.TMR")) {
    // Only the per-object copies: their names begin with "RO".
    if (name.size() >= 2 && (name[0] == 'R' || name[0] == 'r') && (name[1] == 'O' || name[1] == 'o'))
      DeleteFileIfExists(folder + name);
  }
}

void DeleteAllFilesInFolder(const std::string& folder) {
  if (folder.empty()) return;  // would empty the program folder
  std::string prefix = folder;
  if (prefix.back() != '\\' && prefix.back() != ':') prefix += '\\';
  for (const std::string& name : ListFiles(prefix + "*.*")) DeleteFileIfExists(prefix + name);
}

// --- work files ---------------------------------------------------------------------------

// Empties those of the files nameOf(0) .. nameOf(last) that exist.
static void EmptyLayerFiles(std::string (*nameOf)(int32_t), int last) {
  for (int n = 0; n <= last; ++n) {
    std::string name = nameOf(n);
    if (TestPlainFileExists(name)) CreateEmptyFile(name);
  }
}

void ClearWorkFiles(uint16_t flags) {
  if (flags & kClearDrawing) {
    EmptyLayerFiles(BuildLayerFileName, HighestLayer);
    CreateEmptyFile("VekAR1.TMP");
    CreateEmptyFile("VekAR2.TMP");
    ShowAllLayers();
  }
  if (flags & kClearTexts) CreateEmptyFile("HS01.TMP");
  if (flags & kClearFrame) CreateEmptyFile("RAHMEN.TMP");
  if (flags & kClearToolLayers) EmptyLayerFiles(BuildWLayerFileName, 15);
  if (flags & kClearPathLayers) EmptyLayerFiles(BuildPLayerFileName, 15);
  if ((flags & kClearLaserProject) && TestPlainFileExists("LG_LDP.TMP")) CreateEmptyFile("LG_LDP.TMP");
  if (flags & kClearRelief) CreateEmptyFile("RELAR0.TMR");
  if ((flags & kClearRaster) && TestPlainFileExists("Scan0.TMP")) CreateEmptyFile("Scan0.TMP");
}

void CreateMissingLayerFiles() {
  for (int n = 0; n <= HighestLayer; ++n) {
    std::string name = BuildLayerFileName(n);
    if (!TestPlainFileExists(name)) CreateEmptyFile(name);
  }
}


// --- repair at start ------------------------------------------------------------------------

namespace {

// Cuts a partial record off the end of the file; 1 when cut, 0 when the file
// is missing or whole, -1 when it cannot be cut.
int CutToWholeRecords(const std::string& name) {
  const int64_t size = plat::FileSizeBytes(name);
  const int64_t partial = size > 0 ? size % kVectorRecordSize : 0;
  if (partial == 0) return 0;
  plat::IoResult();
  plat::TPasFile file;
  plat::Assign(file, name);
  const uint8_t mode = plat::gFileMode;
  plat::gFileMode = 2;
  plat::Reset(file, 1);
  plat::gFileMode = mode;
  if (file.state == plat::kFileInOut) {
    plat::Seek(file, size - partial);
    plat::Truncate(file);
    plat::Close(file);
  }
  const int result = plat::IoResult();
  if (result != 0 || plat::FileSizeBytes(name) != size - partial) {
    WriteJournalLine(0, name + ": " + std::to_string(partial) + " Byte nicht abgeschnitten, IOResult " +
                            std::to_string(result));
    return -1;
  }
  WriteJournalLine(0, name + ": " + std::to_string(partial) + " Byte abgeschnitten");
  return 1;
}

}  // namespace

TLayerRepair RepairLayerFiles() {
  std::vector<std::string> names;
  for (int32_t n = 0; n <= TopLayer(); ++n) names.push_back(BuildLayerBareName(n));
  for (const char* name : {kVectorStoreName, kRectangleRestName, kScratchStoreName}) names.push_back(name);
  TLayerRepair repair{0, 0};
  for (const std::string& name : names) {
    const int cut = CutToWholeRecords(name);
    if (cut > 0) ++repair.filesCut;
    if (cut < 0) ++repair.filesLocked;
  }
  return repair;
}
