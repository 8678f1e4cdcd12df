// The radius compensation settings and their journal lines.
#include "paths/compensation_settings.h"

#include <cstddef>
#include <cstdio>
#include <string>

#include <algorithm>
#include <cmath>

#include "ui/field_choice_list.h"
#include "frame/checked_files.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "ui/input_form.h"

static_assert(offsetof(TCompensationSettings, sideFlag) == 20);
static_assert(offsetof(TCompensationSettings, engravingSpacing) == 30);
static_assert(offsetof(TCompensationSettings, pathLayerUsed) == 54);
static_assert(offsetof(TCompensationSettings, deepCutTool) == 75);
static_assert(offsetof(TCompensationSettings, deepCutPasses) == 89);
static_assert(offsetof(TCompensationSettings, deepCutClearing) == 103);

namespace {

std::string Fixed3(float value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", double(value));
  return text;
}

std::string Flag(uint8_t value) { return value != 0 ? "1" : "0"; }

using TFields = TInputField[kInputFieldEntries];

void SetNumberField(TInputField& f, int message, float value, float lower, float upper, int width) {
  f.caption = GetMessageText(int16_t(message), -39);
  f.kind = 'S';
  f.value = value;
  f.lowerLimit = lower;
  f.upperLimit = upper;
  f.width = uint8_t(width);
  f.decimals = 0;
}

void SetYesNoField(TInputField& f, int message, uint8_t value) {
  f.caption = GetMessageText(int16_t(message), -39);
  f.kind = 'B';
  f.value = value == 1 ? 1.0f : 0.0f;
  f.lowerLimit = 0;
  f.upperLimit = 1;
  f.width = 1;
}

void SetChoiceField(TInputField& f, int message, uint8_t value, const std::string* options, int n) {
  f.caption = GetMessageText(int16_t(message), -39);
  f.kind = 'A';
  f.value = float(std::clamp<int>(value, 1, n));
  f.lowerLimit = 1;
  f.upperLimit = float(n);
  f.width = 20;
  NewFieldChoiceList(f.choiceList);
  for (int i = 0; i < n; ++i) SetFieldChoiceOption(*f.choiceList, i + 1, options[i].substr(0, 20));
}

uint8_t ChoiceValue(const TInputField& f, int n) {
  const float v = std::isfinite(f.value) ? std::round(f.value) : 1.0f;
  return uint8_t(std::clamp<int>(int(v), 1, n));
}

uint8_t YesNoValue(const TInputField& f) { return f.value == 1.0f ? 1 : 0; }

void FillCompensationFields(TFields& f, const TCompensationSettings& s) {
  SetNumberField(f[0], 515, s.roundingAngle, 5, 180, 3);
  SetNumberField(f[1], 516, s.secondRoundingAngle, 5, 180, 3);
  SetYesNoField(f[2], 517, s.sideFlag);
  SetNumberField(f[3], 518, s.lineStepover, 0, 90, 2);
  SetNumberField(f[4], 519, s.ringOverlap, 0, 90, 2);
  const std::string reduction[6] = {"      50", "     100", "     200", "     500", GetMessageText(269, 20),
                                    "  999999"};
  SetChoiceField(f[5], 2839, s.reductionMode, reduction, 6);
  SetYesNoField(f[6], 1521, s.checkCrossings);
  const std::string bl[3] = {"   " + GetMessageText(101, 5), GetMessageText(2482, 20), GetMessageText(2483, 20)};
  SetChoiceField(f[7], 2225, s.choiceBL, bl, 3);
  const std::string si[3] = {GetMessageText(2783, 20), GetMessageText(2784, 20), GetMessageText(2785, 20)};
  SetChoiceField(f[8], 2484, s.choiceSI, si, 3);
  SetYesNoField(f[9], 1522, s.layerOrder);
  SetYesNoField(f[10], 1929, s.linkAlways);
  SetYesNoField(f[11], 1866, s.flagAN);
  SetYesNoField(f[12], 2449, s.flag28);
  SetYesNoField(f[13], 2618, s.flag29);
}

// Numbers that are not finite never reach the block.
float NumberValue(const TInputField& f, float previous) { return std::isfinite(f.value) ? f.value : previous; }

void TakeCompensationFields(const TFields& f, TCompensationSettings& s) {
  s.roundingAngle = NumberValue(f[0], s.roundingAngle);
  s.secondRoundingAngle = NumberValue(f[1], s.secondRoundingAngle);
  s.sideFlag = YesNoValue(f[2]);
  s.lineStepover = NumberValue(f[3], s.lineStepover);
  s.ringOverlap = NumberValue(f[4], s.ringOverlap);
  s.reductionMode = ChoiceValue(f[5], 6);
  s.checkCrossings = YesNoValue(f[6]);
  s.choiceBL = ChoiceValue(f[7], 3);
  s.choiceSI = ChoiceValue(f[8], 3);
  s.layerOrder = YesNoValue(f[9]);
  s.linkAlways = YesNoValue(f[10]);
  s.flagAN = YesNoValue(f[11]);
  s.flag28 = YesNoValue(f[12]);
  s.flag29 = YesNoValue(f[13]);
}

void FreeChoiceLists(TFields& f) {
  for (TInputField& field : f) {
    delete field.choiceList;
    field.choiceList = nullptr;
  }
}

}  // namespace

void ReadCompensationSettings(TCompensationSettings& settings) {
  GetParamBlock(kCompensationBlock, &settings, sizeof settings);
}

void LogCompensationSettings() {
  TCompensationSettings s;
  ReadCompensationSettings(s);
  // \x9A is Ü in the journal's code page.
  const std::string first = "AKor A2=" + Fixed3(s.roundingAngle) + " A3=" + Fixed3(s.secondRoundingAngle) +
                            " GL=" + Flag(s.sideFlag) + " \x9AZ=" + Fixed3(s.lineStepover) + " \x9AO=" +
                            Fixed3(s.ringOverlap);
  const std::string second = "AKor DC=" + Flag(s.checkCrossings) + " AZ=" + Flag(s.layerOrder) +
                             " AV=" + Flag(s.linkAlways) + " AN=" + Flag(s.flagAN) +
                             " PN=" + std::to_string(s.reductionMode) + " BL=" + std::to_string(s.choiceBL) +
                             " SI=" + std::to_string(s.choiceSI);
  WriteJournalLine(9803, first.substr(0, 80));
  WriteJournalLine(9804, second.substr(0, 80));
}

void EditCompensationSettings(uint8_t formFlags, int helpValue) {
  TCompensationSettings s;
  ReadCompensationSettings(s);
  for (;;) {
    TFields fields;
    FillCompensationFields(fields, s);
    uint8_t exitCode = 0;
    const uint8_t code =
        EditInputForm(GetMessageText(514, -39), fields, uint8_t(formFlags | 14), helpValue, 0, exitCode);
    FreeChoiceLists(fields);
    if (code == 3) return;
    TakeCompensationFields(fields, s);
    if (s.flagAN == 1 && s.flag28 == 1) {
      std::string question = GetMessageText(4010, -39);
      for (int m = 2450; m <= 2453; ++m) question += "\r\n" + GetMessageText(int16_t(m), -39);
      if (AskYesNo(question) != 1) continue;
      s.flagAN = 0;
    }
    break;
  }
  if (s.flag28 == 1 && s.flag29 == 1) {
    ShowTitledMessage(GetMessageText(3877, -39) + "\r\n" + GetMessageText(3878, -39) + "\r\n" +
                      GetMessageText(2452, -39));
    s.flag29 = 0;
  }
  PutParamBlock(kCompensationBlock, &s, sizeof s);
  LogCompensationSettings();
}
