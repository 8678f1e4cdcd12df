// One input of the parameter file reader, shared by the libFuzzer target and
// the corpus replay test: the bytes become "TORV.PAR" in the current folder,
// the program loads it as at start (a file of the wrong size is set aside and
// replaced by defaults) and every reader of settings that sizes, counts or
// indexes something from it runs once. The image stays as read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "frame/param_file.h"
#include "frame/system_services.h"
#include "machine/nc_comment_lines.h"
#include "machine/nc_settings.h"
#include "model/layer_files.h"
#include "model/text_job.h"
#include "paths/compensation_settings.h"
#include "paths/tool_table.h"
#include "platform/files.h"
#include "ui/info_window.h"
#include "view/graphic_window.h"
#include "view/redraw.h"
#include "view/scan_raster_view.h"
#include "view/screen_scheme.h"

namespace fuzzinput {

// The settings image as the loader left it; the caller frees it.
inline void LoadParamInput(const uint8_t* data, size_t size) {
  OpenParamImage(0);  // the previous input's image, saved and freed
  std::ofstream(plat::HostPathOf(kParamFileName), std::ios::binary)
      .write(reinterpret_cast<const char*>(data), std::streamsize(size));
  LoadParamFile();
}

// The readers of the settings that take sizes, counts, steps and table
// indexes from the image.
inline void RunParamReaders() {
  ApplyParamSettings();
  LoadAngleInputSetting();
  ApplyColourScheme();
  LoadScanSettings();
  GetScanPixelSize();
  LoadTextLineDefaults();
  std::string first, second;
  FormatRunningTimeLines(first, second);
  BuildWindowTitle(1000);
  ToolCaptionPart(0);
  ToolCaptionPart(199);
  for (int k = 0; k < kNcCommentLines; ++k) GetNcCommentLine(k);
  static TNcSettings settings;
  LoadNcSettings(settings);
  GetDialectRecord(settings, settings.CurrentDialect);
  GetUserNcExtensionOf(settings);
  LogCompensationSettings();
  HasDefinedTools(199);
  GetCurrentToolCutRadius();
  IsCurrentToolUsable();
  for (int32_t n : {0, 199}) {
    TToolRecord tool;
    ReadToolRecord(tool, n);
    ToolNameText(tool);
  }
  DrawGridPoints();
  DrawParamPointMarkers();
  DrawToolLayers();
  uint8_t block1[kParamBlockSizes[1]] = {};
  GetParamBlock(1, block1, sizeof block1);
  DrawGuideLines(block1, 0);
  ErrorCode = 0;
}

inline void ReadParamFile(const uint8_t* data, size_t size) {
  LoadParamInput(data, size);
  RunParamReaders();
  if (HighestLayer > 3) HighestLayer = 3;  // keep the layer files few between inputs
}

}  // namespace fuzzinput
