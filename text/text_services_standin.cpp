// TEMPORARY STAND-IN: see text_services_standin.h.
#include "text/text_services_standin.h"

#include <cstring>

#include "frame/checked_files.h"
#include "frame/messages.h"
#include "frame/system_services.h"

uint8_t TextJobHead[kTextJobHeadSize];
int16_t TextLineCount = 0;

void CheckFontFilesPresent() {
  plat::TSearchRec rec;
  int found = FindFirstEntry("*.HZE", plat::kAttrArchive, rec);
  FindCloseEntry(rec);
  if (found != 0) ShowMessageNumber(289);
}

void RebuildFontIndexFile(uint8_t) {}

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

void LoadCurrentTextLine(int16_t) {}
void LogTextParameters() {}
void RepairTextParameters(int32_t& count) { count = 0; }
void FreePlateAndSignBuffers() {}

void ResetTextJobFile() {
  TFileRec f;
  AssignFileChecked(f, "HS01.TMP");
  RewriteFileChecked(f, 1);
  CloseFileChecked(f);
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
