// TEMPORARY STAND-IN: see model_services_standin.h.
#include "model/model_services_standin.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "frame/not_yet_available.h"
#include "frame/param_file.h"

void AskSaveAndClearProject() { ShowNotYetAvailable(); }
void OpenProjectFile() { ShowNotYetAvailable(); }
void SaveProjectFile() { ShowNotYetAvailable(); }
void RunLayerReport(int) { ShowNotYetAvailable(); }
void SmoothContourSteps() { ShowNotYetAvailable(); }

bool IsMachineRecordFieldClear() {
  constexpr int kFieldOffset = 1582;
  std::vector<uint8_t> block(kParamBlockSizes[14]);
  GetParamBlock(14, block.data(), uint16_t(block.size()));
  uint16_t value = 0;
  std::memcpy(&value, block.data() + kFieldOffset, sizeof value);
  return value == 0;
}
