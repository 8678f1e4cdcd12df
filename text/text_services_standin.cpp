// TEMPORARY STAND-IN: see text_services_standin.h.
#include "text/text_services_standin.h"

#include "commands/input_wait.h"
#include "frame/not_yet_available.h"

void RebuildFontIndexFile(uint8_t) {}

void LoadCurrentTextLine(int16_t) {}
void LogTextParameters() {}
void RepairTextParameters(int32_t& count) { count = 0; }
void FreePlateAndSignBuffers() {}

void ChooseFontFile(std::string& fontFileName, const std::string&) { fontFileName.clear(); }

void RunTextSignWindow() { ShowNotYetAvailable(); }
void DispatchTextSignCommand() { ShowNotYetAvailable(); }
void RunLayoutFunctionsWindow() { ShowNotYetAvailable(); }
void RunNewSerialPlateCommand() { ShowNotYetAvailable(); }
void RunNewSignCommand(int) { ShowNotYetAvailable(); }
// A click in the drawing arrives as this command after every other one: only
// the menu entry and the icon answer, so that clicks stay quiet.
void MarkInCurrentLayer(int) {
  if (GivenByDrawingClick == 0) ShowNotYetAvailable();
}
void RunLayerContourPass() { ShowNotYetAvailable(); }
void RunGraphicTextCommand() { ShowNotYetAvailable(); }
void RunInsertTextCommand() { ShowNotYetAvailable(); }
void PickTextLineAtCursor(uint8_t) {}

bool AskIncludeTexts() { return true; }

void TransformTextObjects(int, double, double, double, double, int) {}
