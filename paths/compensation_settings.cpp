// The radius compensation settings and their journal lines.
#include "paths/compensation_settings.h"

#include <cstddef>
#include <cstdio>
#include <string>

#include "frame/checked_files.h"
#include "frame/param_file.h"

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
