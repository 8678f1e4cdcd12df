// TEMPORARY STAND-IN: see start_dialogs_standin.h.
#include "ui/start_dialogs_standin.h"

#include "frame/codepage.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "platform/system.h"

void UpdateWindowTitle(int32_t) { SetMainWindowCaption(GetProgramTitle()); }

std::string GetVersionText() { return "Ver.: 7.020.9 200809"; }

void ResetDrawingArea() {}
void RestoreGraphicArea() {}

void DrawPanelBackground() {
  if (DrawingArea.used) FillColorRect(DrawingArea.x1, 17, DrawingArea.x2, 49, plat::Rgb(220, 220, 220));
}

void ClearDrawingArea() {
  if (DrawingArea.used) FillColorRect(DrawingArea.x1, 17, DrawingArea.x2, 49, plat::Rgb(220, 220, 220));
}

int AskWithPictureButtons(const std::string& title, const std::string& text, int16_t message1,
                          int16_t message2, int16_t message3) {
  std::string body = text + "\r\n\r\n" + GetMessageText(message1, -39) + " / " + GetMessageText(message2, -39) +
                     " / " + GetMessageText(message3, -39);
  std::string caption = title;
  ConvertOemStringToAnsi(caption);
  ConvertOemStringToAnsi(body);
  int answer = plat::MessageBox(caption, body, 3 | 0x20);  // Yes/No/Cancel, question
  if (answer == plat::kIdYes) return 1;
  if (answer == plat::kIdNo) return 2;
  return 3;
}

void EditTextFileIfExists(const std::string&) {}
