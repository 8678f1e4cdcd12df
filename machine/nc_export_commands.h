// The commands that start the NC program writer: the DIN/ISO export with
// the last machine type, with a choice of machine type, the automatic
// export, and the tool changer question of dialect 32.
#pragma once

#include <cstdint>
#include <string>

#include "machine/nc_writer_state.h"

constexpr int16_t kMsgNcExportPrompt = 193;
constexpr int16_t kMsgNcAutoExport = 1675;
constexpr int16_t kMsgNcToolChangerTitle = 4040;  // 542 is the nameless-tool warning
constexpr int16_t kMsgNcToolChangerKind = 3021;
constexpr int16_t kMsgNcToolChangerOption = 3022;

void ExportDinIsoChoose(const std::string& inputFile);
void ExportDinIso(const std::string& inputFile);
void ExportDinIsoAuto(const std::string& inputFile);
// The last machine type (negative = none) and its caption ("" when none).
int16_t GetLastNcMachine(std::string& name);
// The machine type and the automatic output file ("" when none).
int16_t GetAutoNcSettings(std::string& outputName);
// Dialect 32: asks the tool changer kind and option; a confirmed form
// stores the bits in block 14.
void AskToolChanger(TNcWriterState& st);
// The tool changer bits of the confirmed form's two answers.
uint8_t ToolChangerBitsOf(double kindChoice, double option);

// The choice of the machine type: one number field (0-100) in the generic
// input form, the last type as default; stored in block 14; -1 when cancelled.
void ChooseNcDialect(int16_t& dialect);
