// The main window and its input, behind two backends: SDL2 (a real window)
// and headless (scripted input, transcript, virtual time).
//
// The window owns one frame buffer; the program draws into it through the
// drawing context WindowDc() and the backend presents it. Input arrives as
// numbered window messages with the meanings and parameter layouts of the
// Windows messages the program was written for:
//   key down 256 / key up 257: wParam virtual key, lParam bits 0-15 repeat
//     count, 16-23 PC set-1 scan code, 24 extended key, 29 Alt held,
//     30 previous key state, 31 transition (key up).
//   character 258: wParam a character of the Windows code page (1252);
//     Enter 13, Esc 27, Backspace 8, Tab 9 and Ctrl+letter 1-26 included.
//   system character 262: Alt+character, lParam bit 29 set.
//   mouse move 512, left down/up 513/514, right down/up 516/517,
//     middle down/up 519/520: wParam key flags (1 left, 2 right, 4 Shift,
//     8 Ctrl, 16 middle), lParam x in the low word, y in the high word.
//   wheel 522: the signed delta (120 a notch) in the high word of wParam.
//   paint 15 (the backend posts it when the window needs drawing), close 16,
//   destroy 2, quit 18 (wParam the exit code).
#pragma once

#include <cstdint>
#include <string>

#include "platform/draw.h"

namespace plat {

enum TWindowMessage : uint32_t {
  kMsgDestroy = 2, kMsgPaint = 15, kMsgClose = 16, kMsgQuit = 18, kMsgEraseBackground = 20,
  kMsgNcPaint = 133, kMsgKeyDown = 256, kMsgKeyUp = 257, kMsgChar = 258, kMsgSysKeyDown = 260,
  kMsgSysKeyUp = 261, kMsgSysChar = 262, kMsgHScroll = 276, kMsgVScroll = 277,
  kMsgMouseMove = 512, kMsgLButtonDown = 513, kMsgLButtonUp = 514, kMsgLButtonDblClk = 515,
  kMsgRButtonDown = 516, kMsgRButtonUp = 517, kMsgMButtonDown = 519, kMsgMButtonUp = 520,
  kMsgMouseWheel = 522,
};

// Windows virtual key codes the program and the backends use.
enum TVirtualKey : int {
  kVkBack = 8, kVkTab = 9, kVkReturn = 13, kVkShift = 16, kVkControl = 17, kVkMenu = 18,
  kVkEscape = 27, kVkSpace = 32, kVkPrior = 33, kVkNext = 34, kVkEnd = 35, kVkHome = 36,
  kVkLeft = 37, kVkUp = 38, kVkRight = 39, kVkDown = 40, kVkInsert = 45, kVkDelete = 46,
  kVkF1 = 112, kVkF12 = 123,
};

struct TMessage {
  uint32_t message = 0;
  uint32_t wParam = 0;
  int32_t lParam = 0;
};

enum TBackendKind { kBackendSdl, kBackendHeadless };
// The backend chosen by the environment: TORV_VIDEO=headless selects headless.
TBackendKind ChosenBackend();
bool IsHeadless();

// Opens the window (x, y, width, height in screen pixels; showMode 1 hidden,
// 2 normal, anything else maximised). The client area of the headless window
// is 1024 x 768 or TORV_SCREEN=WIDTHxHEIGHT. false when the backend fails.
bool OpenWindow(int x, int y, int width, int height, int showMode);
void CloseWindow();
bool WindowIsOpen();

TDc& WindowDc();                 // the drawing context of the client area
TFrameBuffer& WindowFrameBuffer();
void GetClientSize(int& width, int& height);

// Messages. PeekWindowMessage removes the next pending message and returns
// true, or returns false when none is pending (it also lets the backend
// present the frame buffer when it changed). WaitWindowMessage blocks
// (headless: advances the virtual clock) until a message is pending.
bool PeekWindowMessage(TMessage& msg);
void WaitWindowMessage();
void PostWindowMessage(uint32_t message, uint32_t wParam, int32_t lParam);

// Paint bookkeeping: an invalidated area makes the backend post one paint
// message; GetUpdateRect tells it, ValidateWindow clears it.
void InvalidateWindow(const TRect* rect);  // nullptr: the whole client area
bool GetUpdateRect(TRect& rect);
void ValidateWindow();
void PresentNow();  // shows the frame buffer at once (SDL); headless: nothing

void SetWindowCaption(const std::string& winText);
std::string GetWindowCaption();

enum TCursorShape { kCursorArrow, kCursorCross, kCursorNone };
void SetCursorShape(TCursorShape shape);
void SetSystemCursorVisible(bool visible);
void SetMousePosition(int x, int y);  // client pixels
void SetMouseCapture(bool on);
// Live key state as Windows' GetKeyState: bit 15 set while the key is down.
int16_t GetKeyState(int virtualKey);

// Screenshot of the current frame buffer as PNG (harness `shot` and tests).
bool WriteScreenshot(const std::string& hostPath);

// Harness: appends one line to the transcript (TORV_TRANSCRIPT) when one is
// open; message boxes and caption changes call it. Lines (UTF-8):
//   "caption|TEXT", "msgbox|CAPTION|TEXT|ANSWER" (ANSWER one of OK, Cancel,
//   Abort, Retry, Ignore, Yes, No; line breaks in texts written as "\n"),
//   "open|TARGET" (headless desktop opener).
void TranscriptLine(const std::string& utf8Line);

// Harness: message boxes take their answer from the next script line.
// Returns 1 for `key Enter` / `key y`, 0 for `key Esc` / `key n`, and -1 when
// the script has no answer (the box then counts as cancelled).
int TakeScriptedAnswer();

}  // namespace plat
