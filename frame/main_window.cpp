// The main window, its window procedure and message pump, the recorded input
// state and its polling helpers, delays and clock, and the end of the program.
//
// Sections: end of the program; window; window procedure and pump; keys;
// mouse; scrolling; time and disks.
#include "frame/main_window.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "frame/codepage.h"
#include "frame/system_services.h"
#include "frame/window_draw.h"
#include "platform/files.h"
#include "platform/system.h"
#include "platform/window.h"

TExitProc ExitProc = nullptr;
bool CommandRunning = false;
bool CloseRequested = false;

THookProc RepaintHook = nullptr;
THookProc ViewRedrawHook = nullptr;
THookProc HelpHook = nullptr;
THookProc HintCloseHook = nullptr;

uint8_t ViewKind = 254;
uint8_t RedrawState = 0;
int16_t MaxX = 0;
int16_t MaxY = 0;
TLayoutRect DrawingArea;

bool WindowClassRegistered = false;

TLogPalette PaletteBuffer = {};
bool PaletteBufferAllocated = false;
int16_t PaletteSize = 245;

uint8_t KeyBuffer[16] = {};
int16_t KeyCount = 0;
uint8_t MouseButtonState = 0;
uint8_t MouseKeyFlags = 0;
int16_t MouseX = 0;
int16_t MouseY = 0;
int16_t WheelDelta = 0;
uint8_t DragState = 0;
int32_t ScrollPosition = 0;
int32_t ScrollRange = 0;
uint8_t ScrollBarSwitch = 0;
uint32_t DelayLoopCount = 1;

namespace {

// Set by the first HaltProgram; a halt from inside an exit procedure keeps it.
bool HaltStarted = false;
int HaltCode = 0;

// Virtual keys and set-1 scan codes the key handler looks at.
constexpr uint32_t kVkControl = 17;
constexpr uint32_t kVkPageUp = 33;
constexpr uint32_t kVkDown = 40;
constexpr uint32_t kVkDelete = 46;
constexpr uint32_t kVkF1 = 112;
constexpr uint32_t kVkF9 = 120;
constexpr uint8_t kScanHome = 0x47;
constexpr uint8_t kScanEnd = 0x4F;
constexpr uint8_t kScanDelete = 0x53;
constexpr uint8_t kNavigationScans[] = {0x47, 0x48, 0x49, 0x4B, 0x4D, 0x4F, 0x50, 0x51};

// DOS scan codes of Alt+A .. Alt+Z.
constexpr uint8_t kAltLetterScans[26] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                         49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};

int16_t LowWord(uint32_t v) { return static_cast<int16_t>(v & 0xFFFF); }
int16_t HighWord(uint32_t v) { return static_cast<int16_t>((v >> 16) & 0xFFFF); }

// An extended key is two entries; it goes in whole or not at all, so a full
// buffer never keeps a lone 0 that would turn the next key into an extended one.
void PushExtendedPair(uint8_t code) {
  if (KeyCount > 14) {
    plat::MessageBeep(-1);
    return;
  }
  PushKeyCode(0);
  PushKeyCode(code);
}

void StoreMousePosition(int32_t lParam) {
  MouseX = LowWord(static_cast<uint32_t>(lParam));
  MouseY = HighWord(static_cast<uint32_t>(lParam));
}

}  // namespace

// --- end of the program ------------------------------------------------------------

void HaltProgram(int code) {
  if (!HaltStarted) {
    HaltStarted = true;
    HaltCode = code;
  }
  while (ExitProc != nullptr) {
    TExitProc proc = ExitProc;
    ExitProc = nullptr;
    proc();
  }
  std::fflush(nullptr);
  std::exit(HaltCode);
}

// --- window ------------------------------------------------------------------------

void CreateMainWindow(uint32_t style, int showMode) {
  DcState = kDcNone;
  // The class stands for the window kind of the backend: registering it is
  // noting that the program's window kind exists.
  WindowClassRegistered = true;

  int show = showMode;
  if ((style & kWindowStyleMaximize) && show == 2) show = 0;
  if (!plat::OpenWindow(50, 50, 768, 596, show)) HaltProgram(2);
  plat::SetWindowCaption("");

  PaletteBuffer.version = 0x300;
  int count = PaletteSize + 1;
  if (count < 1) count = 1;
  if (count > 256) count = 256;
  PaletteBuffer.count = static_cast<uint16_t>(count);
  PaletteBufferAllocated = true;
  MouseButtonState = 0;
  SetArrowCursor();
  ShowSystemPointer();
}

void ReleaseWindowAndHalt() {
  ShowWinHelp(0);
  SetArrowCursor();
  ShowSystemPointer();
  ReleaseWindowDc();
  PaletteBufferAllocated = false;
  plat::CloseWindow();
  HaltProgram(0);
}

void RunExitProcOnClose() {
  // A command that is writing its work files finishes first: the main loop
  // runs the exit procedure once the command has returned.
  if (CommandRunning) {
    CloseRequested = true;
    return;
  }
  TExitProc proc = ExitProc;
  if (proc == nullptr) HaltProgram(0);
  // Taken out before the call so a close during the exit does not run it again;
  // the procedure puts back whatever was installed before it.
  ExitProc = nullptr;
  proc();
}

void MoveMouseTo(int x, int y) {
  // The screen position (x, y + 21) lies in the client area of the maximised
  // window at (x, y): its client area starts 21 pixels below the screen top.
  plat::SetMousePosition(x, y);
}

// --- window procedure and pump ------------------------------------------------------

int32_t HandleMainWindowMessage(uint32_t message, uint32_t wParam, int32_t lParam) {
  switch (message) {
    case plat::kMsgDestroy:
      plat::PostWindowMessage(plat::kMsgQuit, 0, 0);
      break;
    case plat::kMsgPaint:
      RepaintUpdateRect();
      break;
    case plat::kMsgClose:
      RunExitProcOnClose();
      break;
    case plat::kMsgKeyDown:
      HandleKeyDown(wParam, lParam);
      break;
    case plat::kMsgKeyUp:
      HandleKeyUp(wParam, lParam);
      break;
    case plat::kMsgChar:
      PushKeyCode(MapAnsiCharToOem(static_cast<uint8_t>(wParam & 0xFF)));
      break;
    case plat::kMsgSysChar:
      if (static_cast<uint32_t>(lParam) & (1u << 29)) PushAltKeyCode(static_cast<uint8_t>(wParam & 0xFF));
      break;
    case plat::kMsgHScroll:
    case plat::kMsgVScroll:
      HandleScrollMessage(LowWord(wParam) & 0xFFFF, static_cast<uint16_t>(HighWord(wParam)));
      break;
    case plat::kMsgMouseMove:
    case plat::kMsgLButtonDown:
    case plat::kMsgLButtonUp:
    case plat::kMsgRButtonDown:
    case plat::kMsgRButtonUp:
      MouseButtonState = static_cast<uint8_t>((wParam & 3) * 2);
      MouseKeyFlags = static_cast<uint8_t>(wParam & 0xFF);
      StoreMousePosition(lParam);
      break;
    case plat::kMsgMButtonDown:
    case plat::kMsgMButtonUp:
      if (wParam & 16) {
        MouseButtonState = 1;
        MouseKeyFlags = 0x80;
      } else {
        // The middle button is up: the state follows the buttons still held,
        // so a released middle button does not poll as held.
        MouseButtonState = static_cast<uint8_t>((wParam & 3) * 2);
        MouseKeyFlags = static_cast<uint8_t>(wParam & 0xFF);
      }
      StoreMousePosition(lParam);
      break;
    case plat::kMsgMouseWheel:
      StoreWheelDelta(wParam);
      break;
    default:
      break;
  }
  return 0;
}

void RepaintUpdateRect() {
  if (DcState != kDcActive) return;
  plat::TRect update;
  if (!plat::GetUpdateRect(update)) return;
  if (HintCloseHook) HintCloseHook();
  plat::ValidateWindow();
  if (ViewKind < 254) {
    EraseMouseCursor();
    plat::TDc& dc = plat::WindowDc();
    plat::DcSetViewportOrigin(dc, 0, 0);
    plat::DcSetClipRect(dc, update);
    RedrawState = 0;
    if (RepaintHook) RepaintHook();
    SetClipWindow(0, 0, MaxX, MaxY);
  }
}

void PumpWindowMessages() {
  plat::TMessage msg;
  while (plat::PeekWindowMessage(msg)) {
    if (msg.message == plat::kMsgQuit) HaltProgram(255);
    HandleMainWindowMessage(msg.message, msg.wParam, msg.lParam);
  }
}

void WaitForWindowMessage() { plat::WaitWindowMessage(); }

// --- keys ------------------------------------------------------------------------------

void PushKeyCode(uint8_t code) {
  if (KeyCount >= 16) {
    plat::MessageBeep(-1);
    return;
  }
  if (KeyCount < 0) KeyCount = 0;
  KeyBuffer[KeyCount++] = code;
}

void PushAltKeyCode(uint8_t character) {
  uint8_t c = character;
  if (c >= 'a' && c <= 'z') c = static_cast<uint8_t>(c - 'a' + 'A');
  if (c >= '1' && c <= '9') {
    PushExtendedPair(static_cast<uint8_t>(120 + (c - '1')));
  } else if (c == '0') {
    PushExtendedPair(129);
  } else if (c >= 'A' && c <= 'Z') {
    PushExtendedPair(kAltLetterScans[c - 'A']);
  }
}

void HandleKeyDown(uint32_t virtualKey, int32_t lParam) {
  uint32_t lp = static_cast<uint32_t>(lParam);
  if ((lp & 0xFFFF) != 1) return;
  uint32_t high = lp >> 16;
  uint8_t scan = static_cast<uint8_t>(high & 0xFF);
  if (virtualKey == kVkControl) MouseKeyFlags = 8;
  if (virtualKey >= kVkPageUp && virtualKey <= kVkDown) {
    bool navigation = false;
    for (uint8_t s : kNavigationScans) navigation = navigation || s == scan;
    if (!navigation) return;
    uint8_t code = scan;
    if (MouseKeyFlags & 8) {
      if (scan == kScanHome) code = 254;
      if (scan == kScanEnd) code = 255;
    }
    PushExtendedPair(code);
  } else if (virtualKey == kVkDelete) {
    if (scan == kScanDelete) PushExtendedPair(scan);
  } else if (virtualKey >= kVkF1 && virtualKey <= kVkF9) {
    if (high >= 0x3B && high <= 0x43) PushExtendedPair(static_cast<uint8_t>(high));
  }
}

void HandleKeyUp(uint32_t virtualKey, int32_t lParam) {
  if (virtualKey == kVkControl && (static_cast<uint32_t>(lParam) & 0xFFFF) == 1) MouseKeyFlags = 0;
}

void StoreWheelDelta(uint32_t wParam) { WheelDelta = HighWord(wParam); }

bool PollKeyPressed() {
  PumpWindowMessages();
  return KeyCount > 0;
}

uint8_t ReadNextKey() {
  for (;;) {
    PumpWindowMessages();
    if (KeyCount > 0) break;
    WaitForWindowMessage();
  }
  uint8_t key = KeyBuffer[0];
  std::memmove(KeyBuffer, KeyBuffer + 1, sizeof KeyBuffer - 1);
  --KeyCount;
  return key;
}

void ClearKeyBuffer() { KeyCount = 0; }

// --- mouse -------------------------------------------------------------------------------

void UpdateMouseButtonState() {
  switch (MouseKeyFlags) {
    case 0: MouseButtonState = 0; break;
    case 1: MouseButtonState = 2; break;
    case 2: MouseButtonState = 4; break;
    case 0x80: MouseButtonState = 1; break;
    default: break;
  }
  if (MouseButtonState == 4 && (MouseKeyFlags & 4)) MouseButtonState = 1;
}

void PollMousePosition(int16_t& x, int16_t& y) {
  PumpWindowMessages();
  x = MouseX;
  y = MouseY;
  UpdateMouseButtonState();
}

void PollMouseButtons() {
  PumpWindowMessages();
  UpdateMouseButtonState();
}

uint8_t GetMouseButtonState() { return MouseButtonState; }
bool IsShiftKeyUp() { return (MouseKeyFlags & 4) == 0; }
bool IsCtrlKeyUp() { return (MouseKeyFlags & 8) == 0; }

// --- scrolling -------------------------------------------------------------------------------

void SetVerticalScrollPos(int32_t position) {
  ScrollPosition = position;
  // The window is created without scroll bars and the switch stays off, so
  // there is no scroll bar to move.
}

void SetScrollRangeToLayout() {
  // Only a window with a scroll bar (switch on) would take the range.
}

void HandleScrollMessage(int code, int32_t position) {
  int32_t pos = ScrollPosition;
  int32_t page = ScrollRange / 10;
  switch (code) {
    case 0: if (pos > 0) --pos; break;
    case 1: if (pos < ScrollRange) ++pos; break;
    case 2: pos -= page; if (pos < 0) pos = 0; break;
    case 3: pos += page; if (pos > ScrollRange) pos = ScrollRange; break;
    case 4:
    case 5: pos = position; break;
    case 6: pos = 0; break;
    case 7: pos = ScrollRange; break;
    default: return;
  }
  SetVerticalScrollPos(pos);
}

// --- time and disks ----------------------------------------------------------------------------

void DelayMs(uint16_t n) {
  if (n >= 1000) {
    uint32_t start = plat::TickMs();
    while (plat::TickMs() - start <= n) plat::SleepMs(1);
    return;
  }
  uint64_t reads = static_cast<uint64_t>(n) * DelayLoopCount;
  uint16_t hundredths = 0;
  for (uint64_t i = 0; i < reads; ++i) GetTimeHundredths(hundredths);
}

void GetTimeOfDay(uint16_t& hours, uint16_t& minutes, uint16_t& seconds, uint16_t& hundredths) {
  plat::TLocalTime t = plat::LocalTimeNow();
  hours = static_cast<uint16_t>(t.hour);
  minutes = static_cast<uint16_t>(t.minute);
  seconds = static_cast<uint16_t>(t.second);
  hundredths = static_cast<uint16_t>(t.millisecond / 10);
}

void GetTimeHundredths(uint16_t& hundredths) {
  uint16_t h, m, s;
  GetTimeOfDay(h, m, s, hundredths);
}

void FormatTimeOfDay(std::string& text) {
  uint16_t h, m, s, hs;
  GetTimeOfDay(h, m, s, hs);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02u:%02u:%02u h ", unsigned(h % 100), unsigned(m % 100), unsigned(s % 100));
  text = buf;
}

void GetDateAndWeekday(uint16_t& year, uint16_t& month, uint16_t& day, uint16_t& weekday) {
  plat::TLocalTime t = plat::LocalTimeNow();
  year = static_cast<uint16_t>(t.year);
  month = static_cast<uint16_t>(t.month);
  day = static_cast<uint16_t>(t.day);
  weekday = static_cast<uint16_t>(t.weekday);
}

void FormatDate(std::string& text) {
  uint16_t y, m, d, w;
  GetDateAndWeekday(y, m, d, w);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02u.%02u.%02u  ", unsigned(d % 100), unsigned(m % 100), unsigned(y % 100));
  text = buf;
}

int64_t GetDriveCSizeMb() {
  int64_t total = plat::DiskTotalBytes(3);
  if (total < 0) return 0;
  return total / 1024 / 1024;
}

int32_t GetDiskFreeClamped(uint8_t drive) {
  int64_t free = plat::DiskFreeBytes(drive);
  if (free < 0) return -1;
  if (free > 2147483647) return 2147483647;
  return static_cast<int32_t>(free);
}
