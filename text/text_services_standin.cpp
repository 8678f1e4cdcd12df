// TEMPORARY STAND-IN: see text_services_standin.h.
#include "text/text_services_standin.h"

#include "ui/panels.h"

void RebuildFontIndexFile(uint8_t) {}

void LoadCurrentTextLine(int16_t) {}
void LogTextParameters() {}
void RepairTextParameters(int32_t& count) { count = 0; }
void FreePlateAndSignBuffers() {}

void ChooseFontFile(std::string& fontFileName, const std::string&) { fontFileName.clear(); }

void RunTextSignWindow() {}
void DispatchTextSignCommand() {}
void RunLayoutFunctionsWindow() {}
void RunNewSerialPlateCommand() {}
void RunNewSignCommand(int) {}
void MarkInCurrentLayer(int) {}
void RunLayerContourPass() {}
void RunGraphicTextCommand() {}
void RunInsertTextCommand() {}
void PickTextLineAtCursor(uint8_t) {}

bool ChooseLayerNumber(int16_t&) { return false; }

void DrawToolProfileBox(int x1, int y1, int x2, int y2, const TToolRecord&) { DrawWhiteField(x1, y1, x2, y2, 0); }

bool AskIncludeTexts() { return true; }

void TransformTextObjects(int, double, double, double, double, int) {}
