// The text job file "HS01.TMP": its head, its lines and their boxes.
#include "model/text_job.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "frame/checked_files.h"
#include "frame/file_helpers.h"
#include "frame/param_file.h"
#include "frame/system_services.h"
#include "model/vector_records.h"

uint8_t TextJobHead[kTextJobHeadSize];
int16_t TextLineCount = 0;

void LoadTextJobHead() {
  memset(TextJobHead, 0, sizeof TextJobHead);
  TextLineCount = 0;
  if (!TestPlainFileExists("HS01.TMP")) return;
  TFileRec f;
  AssignFileChecked(f, "HS01.TMP");
  ResetFileChecked(f, 1, 0);
  if (f.state == plat::kFileClosed || f.state == plat::kFileUnassigned) return;
  if (GetFileSizeChecked(f) >= kTextJobHeadSize) {
    ReadBlockChecked(f, TextJobHead, kTextJobHeadSize);
    memcpy(&TextLineCount, TextJobHead + 35, 2);
    if (TextLineCount < 0) TextLineCount = 0;
  }
  CloseFileChecked(f);
}

void ResetTextJobFile() {
  CreateEmptyFile("HS01.TMP");
  TextLineCount = 0;
}

void ResetTextLinesKeepHead() {
  LoadTextJobHead();
  int16_t none = 0;
  memcpy(TextJobHead + 35, &none, 2);
  TFileRec f;
  AssignFileChecked(f, "HS01.TMP");
  RewriteFileChecked(f, 1);
  WriteBlockChecked(f, TextJobHead, kTextJobHeadSize);
  CloseFileChecked(f);
  TextLineCount = 0;
}

void LoadTextLineDefaults() {
  TTextParams params;
  GetParamBlock(38, &params, sizeof params);
  if (params.text[0] > 100 || params.fontName[0] > 12) ResetTextParamBlock();
}

void ClearFileNote() {
  memset(TextJobHead + 175, 0, kTextJobHeadSize - 175);
  TFileRec f;
  AssignFileChecked(f, "HS01.TMP");
  if (TestPlainFileExists("HS01.TMP")) {
    ResetFileChecked(f, 1, 2);
  } else {
    RewriteFileChecked(f, 1);
  }
  if (f.state == plat::kFileClosed || f.state == plat::kFileUnassigned) return;
  WriteBlockChecked(f, TextJobHead, kTextJobHeadSize);
  CloseFileChecked(f);
}

// --- text lines ---------------------------------------------------------------------

bool IsTextLineNonEmpty(uint8_t* textParams) {
  if (textParams[57] > 100) textParams[57] = 100;
  return textParams[57] > 0;
}

bool IsTextLineEmptyOrInvalid(const uint8_t* textParams) {
  TTextParams p;
  memcpy(&p, textParams, sizeof p);
  if (p.text[0] == 0 || p.text[0] > 100) return true;
  auto bad = [](float v, float limit) { return !(std::fabs(v) <= limit); };
  if (bad(p.x, 10000) || bad(p.y, 10000) || bad(p.angle, 360)) return true;
  if (!(p.height >= 0.01f && p.height <= 10000)) return true;
  return p.kind != 'B' && p.kind != 'T' && p.kind != 'V';
}

bool ComputeTextLineBox(const uint8_t* textParams, double (&corners)[4][2]) {
  TTextParams p;
  memcpy(&p, textParams, sizeof p);
  const int chars = std::min<int>(p.text[0], 100);
  const double h = p.height;
  const double length = p.kind == 'V' ? chars * h * p.widthFactor : p.textWidth;
  if (chars == 0 || !(h > 0) || !(length > 0) || !std::isfinite(length) || !std::isfinite(p.angle)) return false;
  const double a = p.angle * M_PI / 180.0, c = std::cos(a), s = std::sin(a);
  const double local[4][2] = {{0, 0}, {length, 0}, {length, h}, {0, h}};
  for (int i = 0; i < 4; ++i) {
    corners[i][0] = p.x + local[i][0] * c - local[i][1] * s;
    corners[i][1] = p.y + local[i][0] * s + local[i][1] * c;
  }
  return std::isfinite(corners[2][0]) && std::isfinite(corners[2][1]);
}

void ValidateTextNumberField(uint8_t* head) {
  int32_t n;
  memcpy(&n, head + 93, 4);
  if (n == 0 || n > 100000 || n < -100000) {
    n = 1;
    memcpy(head + 93, &n, 4);
  }
}

void ClearTextPlacement(uint8_t* placement) { memset(placement, 0, kTextPlacementSize); }

uint16_t TextLineLayer(const uint8_t* line) {
  uint16_t layer;
  memcpy(&layer, line + 158, 2);
  return layer;
}

void VisitTextLines(const std::function<bool(uint8_t* line)>& visit) {
  LoadTextJobHead();
  if (TextLineCount <= 0) return;
  TFileRec f;
  AssignFileChecked(f, "HS01.TMP");
  ResetFileChecked(f, 1, 0);
  if (f.state < plat::kFileInput) return;
  uint8_t line[kTextLineSize > kTextJobHeadSize ? kTextLineSize : kTextJobHeadSize];
  if (ReadBlockChecked(f, line, kTextJobHeadSize) != kTextJobHeadSize) TextLineCount = 0;
  for (int32_t n = 0; n < TextLineCount; ++n) {
    if (ReadBlockChecked(f, line, kTextLineSize) != kTextLineSize || !visit(line)) break;
  }
  CloseFileChecked(f);
}

// --- text objects of the drawing ------------------------------------------------------

bool AnyTextObjects() { return TextLineCount > 0; }

void GetTextObjectsExtent(int layer, TExtentsPair& extent) {
  extent.minCorner = TPointRecord{kRecMinCorner, 100000.0f, 100000.0f};
  extent.maxCorner = TPointRecord{kRecMaxCorner, -100000.0f, -100000.0f};
  VisitTextLines([&](uint8_t* line) {
    double corners[4][2];
    if (!IsTextLineNonEmpty(line) || (layer >= 0 && TextLineLayer(line) != layer) || !ComputeTextLineBox(line, corners))
      return true;
    for (const auto& c : corners) {
      const float x = float(c[0]), y = float(c[1]);
      if (x < extent.minCorner.x) extent.minCorner.x = x;
      if (y < extent.minCorner.y) extent.minCorner.y = y;
      if (x > extent.maxCorner.x) extent.maxCorner.x = x;
      if (y > extent.maxCorner.y) extent.maxCorner.y = y;
    }
    return true;
  });
}
