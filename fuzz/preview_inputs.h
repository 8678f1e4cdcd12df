// One input of the file previews, shared by the libFuzzer target and the
// corpus replay test: the bytes are written under every extension a preview
// reads and every painter draws them into a small box.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "frame/defaults.h"
#include "frame/main_window.h"
#include "frame/window_draw.h"
#include "platform/files.h"
#include "platform/window.h"
#include "ui/file_dialogs.h"
#include "ui/file_previews.h"

namespace fuzzinput {

inline void DrawPreviews(const uint8_t* data, size_t size) {
  const TBox box{1, 10, 60, 190, 184};
  for (const char* ext : {".LG1", ".H2R", ".SLD", ".HRL", ".HRS", ".RLF", ".PCX", ".PRO", ".STL", ".SOR"}) {
    const std::string name = std::string("FUZZ") + ext;
    std::ofstream(plat::HostPathOf(name), std::ios::binary).write(reinterpret_cast<const char*>(data), long(size));
  }
  // The font the seeds' text lines name, so that their boxes are drawn.
  if (!plat::FileExists("G1500010.HZE")) std::ofstream(plat::HostPathOf("G1500010.HZE")) << "font";
  DrawVectorFileThumbnail("FUZZ.LG1", box);
  DrawVectorFileThumbnail("FUZZ.H2R", box);
  DrawDrawingThumbnail("FUZZ.SLD", box);
  DrawReliefThumbnail("FUZZ.HRL", box);
  DrawFloatReliefThumbnail("FUZZ.HRS", box);
  DrawRlfThumbnail("FUZZ.RLF", box);
  DrawPcxThumbnail("FUZZ.PCX", box);
  DrawProjectPreview("FUZZ.PRO", box);
  DrawStlThumbnail("FUZZ.STL", box);
  DrawSorThumbnail("FUZZ.SOR", box);
  plat::TDc& dc = plat::WindowDc();
  DrawLg1StreamPreview(dc, plat::TRect{0, 0, 125, 125}, "FUZZ.LG1");
  DrawRlfStreamPreview(dc, plat::TRect{0, 0, 125, 125}, "FUZZ.RLF");
  ReadFileNoteText("FUZZ.SLD", ".sld");
  ErrorCode = 0;
}

}  // namespace fuzzinput
