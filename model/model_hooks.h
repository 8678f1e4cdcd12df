// Hooks through which the model reaches the screen and the user. The model
// holds data and files only; the layers above set these at program start
// (InstallModelHooks, app/hook_setup.h). The defaults do nothing and
// answer "go on", so the model works without a screen.
#pragma once

#include <cstdint>
#include <string>

struct TVectorRecord;

// The prompt line: line 0 or 1, the text, background and text colour.
extern void (*ShowPromptHook)(int16_t line, const std::string& text, int16_t background, int16_t textColor);
// A warning beep of the given code.
extern void (*BeepHook)(int32_t code);
// Waits until no mouse button is down.
extern void (*WaitMouseReleaseHook)();
// Not 0 when Esc was pressed and the abort confirmed.
extern uint8_t (*CheckEscapeHook)();
// The question with three picture buttons (AskWithPictureButtons); the
// default leaves the result unchanged.
extern void (*AskPictureButtonsHook)(const std::string& title, const std::string& message,
                                     const std::string& caption1, const std::string& picture1,
                                     const std::string& caption2, const std::string& picture2,
                                     const std::string& caption3, const std::string& picture3, int16_t f1Result,
                                     int16_t f2Result, int16_t& result);
// Flags of DrawVectorFile.
constexpr uint8_t kDrawTravelMoves = 4;      // reach contour starts by grey lines
constexpr uint8_t kDrawIgnoreColours = 8;    // skip colour records (151)
constexpr uint8_t kDrawDotBeforeLine = 16;   // a pixel at each line start
constexpr uint8_t kDrawIgnoreLayers = 64;    // skip layer records (128)
// Draws a vector file into the view: drawing mode, colour and the flags above.
extern void (*DrawVectorFileHook)(const std::string& name, int mode, int colour, uint8_t flags);
// Draws one record in the view with the current pen.
extern void (*DrawVectorRecordHook)(const TVectorRecord& record);
// The view's scale in pixels per millimetre (0: no view), for pick
// tolerances given in pixels.
extern float (*ViewScaleHook)();
// A square mark of size s around the world point, in the current pen.
extern void (*DrawSquareMarkHook)(int s, float x, float y);
// Clears the prompt strip above the drawing for a notice.
extern void (*ClearPromptStripHook)();
// Gives the drawing area back after a notice.
extern void (*RestoreGraphicAreaHook)();
// Waits the milliseconds or until input arrives.
extern void (*WaitForInputHook)(uint32_t ms);
// The font chooser, showing the sample text: the chosen font file, or an
// empty name for no choice (the default).
extern void (*ChooseFontFileHook)(std::string& fontFileName, const std::string& sampleText);
// Stores the layout area and its details in the parameter file.
extern void (*SaveLayoutAreaHook)();
// Ends a run of records drawn through DrawVectorRecordHook: draws a dashed
// contour still held back.
extern void (*FlushDrawnRecordsHook)();
