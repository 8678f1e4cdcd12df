// TEMPORARY STAND-IN: see text_services_standin.h.
#include "text/text_services_standin.h"

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

bool AskIncludeTexts() { return true; }

void TransformTextObjects(int, double, double, double, double, int) {}
