// TEMPORARY STAND-IN: see start_dialogs_standin.h.
#include "ui/start_dialogs_standin.h"

#include "frame/program_start.h"

#include "frame/codepage.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "platform/system.h"

void ResetDrawingArea() {}
void RestoreGraphicArea() {}

void DrawPanelBackground() {
  if (DrawingArea.used) FillColorRect(DrawingArea.x1, 17, DrawingArea.x2, 49, plat::Rgb(220, 220, 220));
}

void ClearDrawingArea() {
  if (DrawingArea.used) FillColorRect(DrawingArea.x1, 17, DrawingArea.x2, 49, plat::Rgb(220, 220, 220));
}

void EditTextFileIfExists(const std::string&) {}

void EnterMarkMode() { CommandWord = 41; }

void RunFileDialog(const std::string&, const std::string&, int, std::string& fileName, int) { fileName.clear(); }
