#include "frame/program_state.h"

#include "frame/checked_files.h"

std::string ProgramFolderName;
std::string DataFolderName;
int32_t VariantCode = 0;
uint8_t VariantOptionFlag = 0;
TCommandCode CommandWord = 0;

int16_t MenuBarHeight = 51;
int16_t SidePanelLeft = 0;
int16_t DrawingAreaLastX = 0;
uint8_t ScreenModeWord = 0;
bool LayoutDone = false;
int16_t StatusBaseline = 0;
TLayoutRect MenuTitleBar;
TLayoutRect SideMenuTextArea;
TLayoutRect SideMenuIconArea;
TLayoutRect LayerBar;
TLayoutRect TopRuler;
TLayoutRect LeftRuler;
uint8_t MenuBarMode = 7;
uint8_t CommandGiven = 0;
int16_t CommandSubMode = 0;

int CurrentLayerIconX() { return MaxX + 1 - 50; }

void LogDatedJournalLine(const std::string& text) {
  std::string date, time;
  FormatDate(date);
  FormatTimeOfDay(time);
  WriteJournalLine(0, text + date + time);
}
