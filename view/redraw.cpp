// Redraw by view kind, redraw entry points and the zoom steps.
#include "view/redraw.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "frame/checked_files.h"
#include "frame/defaults.h"
#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "model/vector_store.h"
#include "model/text_job.h"
#include "view/text_line_view.h"
#include "view/screen_scheme.h"
#include "view/relief_view.h"
#include "view/extents.h"
#include "view/graphic_window.h"
#include "view/scan_raster_view.h"
#include "view/view_hooks.h"
#include "view/view_services_standin.h"
#include "view/view_transform.h"

uint8_t ViewSetFlag = 0;
uint8_t StoreDrawn = 0;
uint8_t BackgroundShown = 0;

namespace {
constexpr int kBlock0Size = 153;
constexpr int kBlock1Size = 443;
constexpr int kBlock7Size = 107;

uint8_t ReadDrawModeByte() {
  uint8_t block0[kBlock0Size] = {};
  GetParamBlock(0, block0, kBlock0Size);
  return block0[100];
}

void DrawFileInColour(const std::string& file, int colour, uint8_t flags) {
  if (!file.empty()) DrawVectorFile(file, plat::kRopCopy, colour, flags);
}

void DrawAnnotatedLayers(uint8_t drawMode) {
  DrawLayersWithAnnotations(drawMode);
  uint8_t block0[kBlock0Size] = {};
  GetParamBlock(0, block0, kBlock0Size);
  if (block0[101] & 16) FillCurrentLayerContours();
}

// The relief view: the box marks, the relief, the guide lines and, unless the
// layout area is left alone, its frame without details.
void DrawReliefView(bool prepare) {
  DrawReliefBoxMarks();
  DrawCurrentRelief();
  uint8_t block1[kBlock1Size] = {};
  GetParamBlock(1, block1, kBlock1Size);
  DrawGuideLines(block1, plat::kRopCopy);
  if (prepare) DrawLayoutArea(false);
}

void PrepareLayout(int how) {
  if (how == 1) {
    DrawLayoutArea(true);
  } else if (how == 2) {
    FillLayoutArea();
    DrawLayoutArea(false);
  }
}

// 0 none, 1 full, 2 plain.
int PreparationOfKind(int kind) {
  switch (kind) {
    case 3: case 4: case 8: case 10: case 11: case 15: case 16: return 2;
    case 7: case 18: case 23: case 127: return 0;
    default: return kind <= 126 ? 1 : 0;
  }
}

// prepare: the layout area is prepared (view kind bit 7 clear).
void DrawKindContent(const std::string& file, int kind, uint8_t drawMode, bool prepare) {
  const uint8_t fileFlags = uint8_t((drawMode & 127) + 64);
  switch (kind) {
    case 0: DrawDrawingLayers(drawMode); break;
    case 1: case 11: case 20: DrawFileInColour(file, GetCurrentLayerColour(), fileFlags); break;
    case 2: DrawAnnotatedLayers(drawMode); break;
    case 5:
      DrawReliefBackground(kCurrentReliefName);
      DrawAnnotatedLayers(drawMode);
      break;
    case 12:
      LoadScanSettings();
      DrawScanRasterInView();
      DrawAnnotatedLayers(drawMode);
      break;
    case 14:
      DrawReliefBackground(kBackgroundPictureName);
      DrawAnnotatedLayers(drawMode);
      break;
    case 7: DrawReliefView(prepare); break;
    case 8: DrawReliefShaded(); break;
    case 9:
      DrawCurrentRelief();
      DrawFileInColour(file, GetCurrentLayerColour(), fileFlags);
      break;
    case 15:
      DrawReliefView(prepare);
      DrawKindContent(file, 10, drawMode, prepare);
      break;
    case 16:
      DrawReliefView(prepare);
      DrawKindContent(file, 11, drawMode, prepare);
      break;
    case 17:
      DrawReliefBoxMarks();
      DrawCurrentRelief();
      DrawReliefBoxMarks();
      if (prepare) DrawLayoutArea(false);
      break;
    case 18: DrawCurrentRelief(); break;
    case 3:
      DrawToolLayers();
      DrawFileInColour(file, GetPathDrawColor(), 72);
      DrawParamPointMarkers();
      break;
    case 4:
      DrawToolLayersWithToolWidth();
      if (ErrorCode <= 0) DrawFileInColour(file, GetPathDrawColor(), 72);
      break;
    case 10:
      DrawToolLayers();
      if (ErrorCode <= 0) DrawFileInColour(file, GetPathDrawColor(), 72);
      break;
    case 13: case 22: case 21: case 23: {
      if (kind != 13) {
        uint8_t block1[kBlock1Size] = {};
        GetParamBlock(1, block1, kBlock1Size);
        DrawGuideLines(block1, drawMode);
        DrawGridPoints();
      }
      if (kind == 13) PreviewToolWidth(file, 0, GetPathDrawColor());
      if (kind == 13 || kind == 22) {
        if (ErrorCode <= 0) DrawFileInColour(file, GetPathDrawColor(), 72);
      } else {
        DrawFileInColour(file, GetCurrentLayerColour(), fileFlags);
      }
      break;
    }
    default: break;
  }
}

}  // namespace

TExtentsPair MakeExtent(double x1, double y1, double x2, double y2) {
  TExtentsPair e;
  e.minCorner = TPointRecord{1, float(x1), float(y1)};
  e.maxCorner = TPointRecord{5, float(x2), float(y2)};
  return e;
}

void EnsureViewSet(const std::string& file, uint8_t viewKind) {
  if (ViewSetFlag != 1) RedrawFileInView(file, LayoutArea, viewKind);
}

void PaintView(const std::string& file, uint8_t viewKind, uint8_t drawMode) {
  if (!(viewKind & 128)) PrepareLayout(PreparationOfKind(viewKind & 127));
  bool refresh = true;
  if (drawMode & 128) {
    refresh = false;
    drawMode &= 127;
  }
  ViewKind = viewKind & 127;
  DrawKindContent(file, ViewKind, drawMode, !(viewKind & 128));
  if (StoreHoldsData) {
    DrawVectorFile(kVectorStoreName, plat::kRopCopy, 12, uint8_t(drawMode + 64));
    StoreDrawn = 1;
  }
  const int kind = ViewKind;
  if ((kind == 2 || kind == 5 || kind == 12 || kind == 14) && (DisplayFlags & 32)) {
    if (CurrentLayer <= kMaxLayerNumber && LayerVisible[CurrentLayer]) ShowPathDirections(GetCurrentLayerFileName(), false);
    if (StoreHoldsData) ShowPathDirections(kVectorStoreName, false);
  }
  if (refresh) ResetDrawingAreaHook();
}

void RedrawFileInView(const std::string& file, const TExtentsPair& extent, uint8_t viewKind) {
  const TExtentsPair e = extent;
  const uint8_t drawMode = ReadDrawModeByte();
  FitViewToExtent(e);
  PaintView(file, viewKind, drawMode);
  ViewSetFlag = 1;
}

void RedrawFileView(const std::string& file, uint8_t viewKind) {
  if (ViewSetFlag != 1) {
    RedrawFileInView(file, LayoutArea, viewKind);
    return;
  }
  const uint8_t drawMode = ReadDrawModeByte();
  FitViewToExtent(CurrentViewExtent);
  PaintView(file, viewKind, drawMode);
}

void ApplyBackgroundKind(uint8_t& viewKind) {
  uint8_t flags = 0;
  if (DisplayFlags & 2) {
    flags |= 2;
    if (GetFileByteSize(kCurrentReliefName) > 128 && PaletteSize > 30) flags |= 1;
  }
  if (DisplayFlags & 4) {
    flags |= 8;
    if (GetFileByteSize("Scan0.TMP") > 4) flags |= 4;
  }
  if (DisplayFlags & 8) {
    flags |= 32;
    if (GetFileByteSize(kBackgroundPictureName) > 128 && PaletteSize > 30) flags |= 16;
  }
  if ((flags & 3) == 3) {
    uint8_t block58[7] = {};
    GetParamBlock(58, block58, sizeof block58);
    if (block58[6] == 3) SetReliefPaletteVariant(1);
    else SetReliefPalette();
    viewKind = 5;
    BackgroundShown = 132;
  } else if ((flags & 12) == 12) {
    viewKind = 12;
    BackgroundShown = 132;
  } else if ((flags & 48) == 48) {
    SetReliefPalette();
    viewKind = 14;
    BackgroundShown = 132;
  } else {
    viewKind &= 31;
    BackgroundShown = 0;
    ApplyColourScheme();
  }
}

void RedrawCurrentView(uint8_t viewKind) {
  if (ViewSetFlag != 1) {
    RedrawWithExtent(LayoutArea, viewKind);
    return;
  }
  ApplyBackgroundKind(viewKind);
  RedrawFileView("", viewKind);
}

void RedrawWithExtent(const TExtentsPair& extent, uint8_t viewKind) {
  ApplyBackgroundKind(viewKind);
  RedrawFileInView("", extent, viewKind);
}

void ZoomOutCurrentView(uint8_t viewKind) {
  if (ViewSetFlag != 1) RedrawWithExtent(LayoutArea, viewKind);
  ApplyBackgroundKind(viewKind);
  ZoomOutAroundCentre("", viewKind);
}

void ZoomAllCurrentView(uint8_t viewKind) {
  if (ViewSetFlag != 1) RedrawFileInView("", LayoutArea, viewKind);
  ApplyBackgroundKind(viewKind);
  ZoomToAll("", viewKind);
}

void GetZoomAllExtent(const std::string& file, uint8_t viewKind, TExtentsPair& extent) {
  ResetPointExtents(extent);
  TExtentsPair part;
  auto merge = [&](const TExtentsPair& e) { MergeExtents(extent, e, extent); };
  auto fileExtent = [&](bool fullScan) {
    GetVectorFileExtentOwnBuffer(file, fullScan, part);
    merge(part);
  };
  auto layers = [&](uint8_t kind) {
    GetLayerFilesExtent(kind, part);
    merge(part);
  };
  auto relief = [&]() {
    GetCurrentReliefBox(part, false);
    merge(part);
  };
  auto texts = [&]() {
    GetTextObjectsExtent(-1, part);
    merge(part);
  };
  auto raster = [&]() {
    RasterExtentRecord(part);
    merge(part);
  };
  auto store = [&]() {
    if (!StoreHoldsData || CountFileRecords(kVectorStoreName) <= 0) return;
    GetVectorFileExtentOwnBuffer(kVectorStoreName, true, part);
    merge(part);
  };
  switch (viewKind & 127) {
    case 0: layers(0); break;
    case 1: case 11: fileExtent(false); break;
    case 2: case 5: case 14:
      layers(0);
      texts();
      store();
      merge(LayoutArea);
      break;
    case 3: case 4: case 10: layers(1); break;
    case 7: case 8: case 17: relief(); break;
    case 9: case 16:
      fileExtent(false);
      relief();
      break;
    case 12:
      layers(0);
      LoadScanSettings();
      raster();
      break;
    case 15:
      relief();
      layers(1);
      break;
    case 13: store(); break;
    case 21: fileExtent(true); break;
    case 23: case 24: merge(LayoutArea); break;
    default: break;
  }
}

void ZoomToAll(const std::string& file, uint8_t viewKind) {
  EnsureViewSet(file, viewKind);
  TExtentsPair extent;
  GetZoomAllExtent(file, viewKind, extent);
  if (ExtentHasArea(extent)) RedrawFileInView(file, extent, viewKind);
}

void ZoomOutAroundCentre(const std::string& file, uint8_t viewKind) {
  EnsureViewSet(file, viewKind);
  const double cx = (double(WorldXMin) + WorldXMax) / 2, hx = (double(WorldXMax) - WorldXMin) * 1.5;
  const double cy = (double(WorldYMin) + WorldYMax) / 2, hy = (double(WorldYMax) - WorldYMin) * 1.5;
  RedrawFileInView(file, MakeExtent(cx - hx, cy - hy, cx + hx, cy + hy), viewKind);
}

void ZoomToLayoutLevel(const std::string& file, uint8_t viewKind, int entry) {
  static const double kFactors[7] = {5, 2, 1, 0.6666, 0.5, 0.2, 0.1};
  if (entry < 3 || entry > 9) return;
  EnsureViewSet(file, viewKind);
  ApplyBackgroundKind(viewKind);
  const double f = kFactors[entry - 3];
  const double w = double(LayoutArea.maxCorner.x) - LayoutArea.minCorner.x;
  const double h = double(LayoutArea.maxCorner.y) - LayoutArea.minCorner.y;
  const double cx = (double(LayoutArea.minCorner.x) + LayoutArea.maxCorner.x) / 2;
  const double cy = (double(LayoutArea.minCorner.y) + LayoutArea.maxCorner.y) / 2;
  RedrawFileInView(file, MakeExtent(cx - f * w, cy - f * h, cx + f * w, cy + f * h), viewKind);
}

void RedrawViewHook() {
  const uint8_t drawMode = uint8_t(ReadDrawModeByte() | 128);
  switch (ViewKind) {
    case 3: PaintView("VekARH0.TMP", ViewKind, drawMode); break;
    case 10: case 11: PaintView("VekAR2.TMP", ViewKind, drawMode); break;
    case 6: case 253: case 254: break;
    case 23: PaintView("", 2, drawMode); break;
    default: PaintView("", ViewKind, drawMode); break;
  }
}

void SaveLayoutAreaToParams() {
  uint8_t block3[121] = {};
  GetParamBlock(3, block3, sizeof block3);
  std::memcpy(block3 + 14, &LayoutArea, 18);
  std::memcpy(block3 + 32, &LayoutDetails, 18);
  PutParamBlock(3, block3, sizeof block3);
  SaveParamFileSafely();
  if (WindowTitleHook) WindowTitleHook();
}

// --- painter pieces --------------------------------------------------------------------------

void DrawGuideLine(bool vertical, int drawMode, int colour, float position) {
  if (position <= -10000) return;
  if (vertical ? (position < WorldXMin || position > WorldXMax) : (position < WorldYMin || position > WorldYMax)) return;
  SetDrawColorAndMode(drawMode, colour);
  SetPenStyle(4, 0x3333, 1);
  int32_t sx, sy;
  WorldToScreenLong(vertical ? position : WorldXMin, vertical ? WorldYMin : position, sx, sy);
  if (vertical) DrawScreenLine(sx, DrawingArea.y1, sx, DrawingArea.y2);
  else DrawScreenLine(DrawingArea.x1, sy, DrawingArea.x2, sy);
  SetPenStyle(0, 0xFFFF, 1);
}

void DrawGuideLines(const uint8_t* block1, int drawMode) {
  if (block1 == nullptr || block1[440] == 0) return;
  for (int list = 0; list < 2; ++list) {
    for (int i = 0; i < 55; ++i) {
      float v;
      std::memcpy(&v, block1 + (list * 55 + i) * 4, 4);
      if (!(v > -10000)) break;
      DrawGuideLine(list == 0, drawMode == 0 ? plat::kRopCopy : drawMode, 1, v);
    }
  }
}

void DrawParamPointMarkers() {
  std::vector<uint8_t> block(4002);
  GetParamBlock(37, block.data(), 4002);
  int16_t count;
  std::memcpy(&count, block.data(), 2);
  if (count > 500) count = 500;
  SetPenColor(13);
  for (int i = 0; i < count; ++i) {
    float x, y;
    std::memcpy(&x, block.data() + 2 + 4 * i, 4);
    std::memcpy(&y, block.data() + 2 + 2000 + 4 * i, 4);
    DrawPointMarker(1, x, y);
  }
}

void DrawDrawingLayers(uint8_t drawMode) {
  EraseMouseCursor();
  DrawGridPoints();
  ErrorCode = 0;
  if (drawMode & 1) {
    DrawToolLayers();
    return;
  }
  auto drawLayer = [&](int n) {
    if (LayerRecordCounts[n] > 0 && LayerVisible[n])
      DrawVectorFile(BuildLayerFileName(n), plat::kRopCopy, MapLayerToColorIndex(n), drawMode);
  };
  for (int n = 0; n <= HighestLayer && n <= kMaxLayerNumber; ++n) {
    if (n == CurrentLayer) continue;
    drawLayer(n);
    if (ErrorCode > 0) return;
  }
  if (CurrentLayer <= HighestLayer) drawLayer(CurrentLayer);
}

void DrawToolLayers() {
  uint8_t block7[kBlock7Size] = {};
  GetParamBlock(7, block7, kBlock7Size);
  for (int i = 0; i < kToolLayerCount; ++i) {
    const int n = block7[53] ? 15 - i : i;
    if (!block7[54 + n]) continue;
    const std::string name = BuildWLayerFileName(n);
    if (TestFileExists(name)) DrawVectorFile(name, plat::kRopCopy, MapLayerToColorIndex(n), 0);
  }
}

void DrawToolLayersWithToolWidth() {
  uint8_t block7[kBlock7Size] = {};
  GetParamBlock(7, block7, kBlock7Size);
  ErrorCode = 0;
  for (int i = 0; i < kToolLayerCount && ErrorCode <= 0; ++i) {
    const int n = block7[53] ? 15 - i : i;
    if (!block7[54 + n]) continue;
    const std::string name = BuildWLayerFileName(n);
    if (TestFileExists(name)) PreviewToolWidth(name, block7[52], MapLayerToColorIndex(n));
  }
}

void DrawLayersWithAnnotations(uint8_t drawMode) {
  uint8_t block1[kBlock1Size] = {};
  GetParamBlock(1, block1, kBlock1Size);
  DrawGuideLines(block1, plat::kRopCopy);
  DrawParamPointMarkers();
  DrawTextLinesOfVisibleLayers();
  DrawDrawingLayers(drawMode);
}

void ShowPathDirections(const std::string& fileName, bool squares) {
  EraseMouseCursor();
  SetDrawColorAndMode(plat::kRopCopy, 13);
  if (!TestFileExists(fileName)) return;
  TFileRec f;
  AssignFileChecked(f, fileName);
  if (f.state == plat::kFileUnassigned) return;
  ResetFileChecked(f, kVectorRecordSize, 0);
  if (f.state < plat::kFileInput) return;
  std::vector<TVectorRecord> block(5001);
  TVectorRecord previous{};
  bool running = false;
  double arrowX = 0, arrowY = 0;
  const double g = (double(WorldYMax) - WorldYMin) / 160;
  for (;;) {
    const int32_t n = ReadBlockLongChecked(f, block.data(), 5000);
    for (int32_t i = 0; i < n; ++i) {
      const TVectorRecord& r = block[size_t(i)];
      if (r.type == kRecContourStart) {
        if (running) DrawContourEndMark(previous);
        DrawContourEndMark(r);
        previous = r;
        running = true;
        SetPenColor(13);
      } else if (r.type == kRecLinePoint || r.type == kRec3DPoint) {
        if (r.x > WorldXMin && r.x < WorldXMax && r.y > WorldYMin && r.y < WorldYMax) {
          if (squares) {
            DrawSquareMark(1, r.x, r.y);
          } else if (std::hypot(r.x - arrowX, r.y - arrowY) * ViewScaleX > 5) {
            arrowX = r.x;
            arrowY = r.y;
            const double dx = double(r.x) - previous.x, dy = double(r.y) - previous.y;
            const double d = std::hypot(dx, dy);
            if (d > 0) {
              const double ux = dx / d, uy = dy / d;
              const double bx = r.x - 2 * g * ux, by = r.y - 2 * g * uy;
              MoveToWorldPoint(float(bx - g * uy), float(by + g * ux));
              LineOrDotToWorldPoint(r.x, r.y);
              LineOrDotToWorldPoint(float(bx + g * uy), float(by - g * ux));
            }
          }
        }
        previous = r;
      }
    }
    if (n < 5000) break;
  }
  CloseFileChecked(f);
  if (running) DrawContourEndMark(previous);
}
