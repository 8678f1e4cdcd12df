// Hooks through which the model reaches the screen and the user.
#include "model/model_hooks.h"

void (*ShowPromptHook)(int16_t, const std::string&, int16_t, int16_t) = [](int16_t, const std::string&, int16_t,
                                                                           int16_t) {};
void (*BeepHook)(int32_t) = [](int32_t) {};
void (*WaitMouseReleaseHook)() = [] {};
uint8_t (*CheckEscapeHook)() = []() -> uint8_t { return 0; };
void (*AskPictureButtonsHook)(const std::string&, const std::string&, const std::string&, const std::string&,
                              const std::string&, const std::string&, const std::string&, const std::string&,
                              int16_t, int16_t, int16_t&) =
    [](const std::string&, const std::string&, const std::string&, const std::string&, const std::string&,
       const std::string&, const std::string&, const std::string&, int16_t, int16_t, int16_t&) {};
void (*DrawVectorFileHook)(const std::string&, int, int, uint8_t) = [](const std::string&, int, int, uint8_t) {};
void (*DrawVectorRecordHook)(const TVectorRecord&) = [](const TVectorRecord&) {};
float (*ViewScaleHook)() = []() -> float { return 0.0f; };
void (*DrawSquareMarkHook)(int, float, float) = [](int, float, float) {};
void (*ClearPromptStripHook)() = [] {};
void (*RestoreGraphicAreaHook)() = [] {};
void (*WaitForInputHook)(uint32_t) = [](uint32_t) {};
void (*ChooseFontFileHook)(std::string&, const std::string&) = [](std::string& fontFileName, const std::string&) {
  fontFileName.clear();
};
void (*SaveLayoutAreaHook)() = [] {};
void (*FlushDrawnRecordsHook)() = [] {};
