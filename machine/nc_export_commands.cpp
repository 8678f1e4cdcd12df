// The DIN/ISO export commands and the tool changer question of dialect 32.
#include "machine/nc_export_commands.h"

#include <algorithm>
#include <cmath>

#include "ui/prompt_line.h"
#include "ui/field_choice_list.h"
#include "frame/file_helpers.h"
#include "frame/messages.h"
#include "frame/system_services.h"
#include "machine/nc_output_files.h"
#include "machine/nc_program_writer.h"
#include "machine/nc_settings.h"
#include "ui/input_form.h"
#include "ui/prompt_strip.h"

namespace {

constexpr int kNcNameMax = 255;

std::string ProgramNameOf(const std::string& outputName) {
  std::string name;
  GetFileNamePart(outputName, 'N', name);
  return name;
}

void ShowExportPrompt(const std::string& text) { ShowPromptLine(1, text, 260, 274); }

}  // namespace

int16_t GetLastNcMachine(std::string& name) {
  TNcSettings settings;
  LoadNcSettings(settings);
  const int16_t index = settings.CurrentDialect;
  name = index >= 0 ? GetDialectCaption(settings, index) : "";
  return index;
}

int16_t GetAutoNcSettings(std::string& outputName) {
  TNcSettings settings;
  LoadNcSettings(settings);
  const int16_t index = settings.CurrentDialect;
  outputName = index >= 0 ? ReadNcString(settings.LastNcFile, kNcNameMax) : "";
  return index;
}

void ExportDinIsoChoose(const std::string& inputFile) {
  if (CountFileRecords(inputFile) <= 0) return;
  ShowExportPrompt(GetMessageText(kMsgNcExportPrompt, 8) + " DIN/ISO");
  int16_t dialect = -1;
  ChooseNcDialect(dialect);
  if (dialect < 0) return;
  std::string name;
  ChooseNcOutputFile(name, kNcNameMax, dialect);
  if (name.empty()) return;
  WriteNcProgram(inputFile, name, ProgramNameOf(name), static_cast<uint8_t>(std::min<int16_t>(dialect, 100)), 0);
}

void ExportDinIso(const std::string& inputFile) {
  std::string caption;
  const int16_t dialect = GetLastNcMachine(caption);
  if (dialect < 0) {
    ExportDinIsoChoose(inputFile);
    return;
  }
  ShowExportPrompt(GetMessageText(kMsgNcExportPrompt, 8) + " DIN/ISO " + caption);
  std::string name;
  ChooseNcOutputFile(name, kNcNameMax, dialect);
  if (name.empty()) return;
  WriteNcProgram(inputFile, name, ProgramNameOf(name), static_cast<uint8_t>(std::min<int16_t>(dialect, 100)), 0);
}

void ExportDinIsoAuto(const std::string& inputFile) {
  std::string name;
  const int16_t dialect = GetAutoNcSettings(name);
  if (name.empty()) {
    ShowTitledMessage(GetMessageText(kMsgNcAutoExport, 39));
    return;
  }
  DrawPanelBackground();
  ShowExportPrompt(GetMessageText(kMsgNcAutoExport, 39) + name);
  WriteNcProgram(inputFile, name, ProgramNameOf(name), static_cast<uint8_t>(std::min<int16_t>(dialect, 100)), 1);
}

uint8_t ToolChangerBitsOf(double kindChoice, double option) {
  uint8_t bits = 0x10;
  if (kindChoice == 2.0) bits = 0x11;
  else if (kindChoice == 3.0) bits = 0x02;
  if (option == 1.0) bits = static_cast<uint8_t>(bits | 0x04);
  return bits;
}

void AskToolChanger(TNcWriterState& st) {
  TInputField fields[kInputFieldEntries];
  TInputField& kind = fields[0];
  kind.caption = GetMessageText(kMsgNcToolChangerKind, 29);
  kind.kind = 'A';
  kind.value = static_cast<float>((st.ToolChangerBits & 0x03) + 1);
  kind.lowerLimit = 1.0f;
  kind.upperLimit = 3.0f;
  kind.width = 8;
  kind.decimals = 0;
  NewFieldChoiceList(kind.choiceList);
  SetFieldChoiceOption(*kind.choiceList, 1, "Integr.4");
  SetFieldChoiceOption(*kind.choiceList, 2, "Integr.6");
  SetFieldChoiceOption(*kind.choiceList, 3, "Revolver");
  TInputField& option = fields[1];
  option.caption = GetMessageText(kMsgNcToolChangerOption, 29);
  option.kind = 'B';
  option.value = (st.ToolChangerBits & 0x0C) != 0 ? 1.0f : 0.0f;
  option.lowerLimit = 0.0f;
  option.upperLimit = 1.0f;
  option.width = 5;
  option.decimals = 0;
  const uint8_t exitCode = RunInputFormWithPicture(GetMessageText(kMsgNcToolChangerTitle, 34), fields, 2, 0, 0, "");
  if (exitCode == 3) return;
  st.ToolChangerBits = ToolChangerBitsOf(std::isfinite(kind.value) ? std::round(kind.value) : 1.0, option.value);
  st.Machine.MazakToolFormat = st.ToolChangerBits;
  StoreNcSettings(st.Machine);
}

void ChooseNcDialect(int16_t& dialect) {
  TNcSettings settings;
  LoadNcSettings(settings);
  TInputField fields[kInputFieldEntries];
  fields[0].caption = "Maschinentyp";
  fields[0].kind = 'S';
  fields[0].value = settings.CurrentDialect >= 0 ? settings.CurrentDialect : 0;
  fields[0].lowerLimit = 0;
  fields[0].upperLimit = 100;
  fields[0].width = 5;
  fields[0].decimals = 0;
  dialect = -1;
  if (RunInputForm("DIN/ISO", fields, 1) == 3) return;
  dialect = static_cast<int16_t>(std::lround(fields[0].value));
  if (dialect < 0 || dialect > 100) {
    dialect = -1;
    return;
  }
  settings.CurrentDialect = dialect;
  StoreNcSettings(settings);
}
