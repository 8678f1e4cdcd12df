// The main window, its window procedure, the message pump and the polled
// input state; the delay and clock helpers; the end-of-program machinery.
//
// The window procedure only records input: typed characters and navigation
// keys go into a 16-entry key buffer, mouse messages update the mouse state,
// scroll and wheel messages update two values, paint rebuilds the screen
// through the repaint hook and close runs the exit procedure. Everything else
// polls the recorded state through PumpWindowMessages and the helpers below.
//
// Key buffer entries are bytes: a character in the DOS code page, or an
// extended key as two entries, 0 followed by its code (scan code; 254 Ctrl+Home,
// 255 Ctrl+End; the DOS Alt scan codes for Alt+letter and Alt+digit).
#pragma once

#include <cstdint>
#include <string>

// --- end of the program ---------------------------------------------------
// The installed exit procedure (null: none). HaltProgram takes it out of the
// slot before calling it, so each installed procedure runs once; a procedure
// may put a previous one back, which then runs in turn.
using TExitProc = void (*)();
extern TExitProc ExitProc;
// Runs the installed exit procedures and ends the process. The first code
// given wins: a halt from inside an exit procedure keeps the code of the halt
// that started the exit (a quit message ends with 255 even though the exit
// procedure ends with ReleaseWindowAndHalt).
[[noreturn]] void HaltProgram(int code);
// Set by the main loop while a command runs. A close message meanwhile only
// sets CloseRequested (waits, loops and questions watch it and end early);
// the main loop runs the exit procedure when the command has returned, so no
// work file is left half written.
extern bool CommandRunning;
extern bool CloseRequested;

// --- hooks filled by the start sequence (null: do nothing) ----------------
using THookProc = void (*)();
extern THookProc RepaintHook;     // rebuilds the whole screen
extern THookProc ViewRedrawHook;  // repaints the current view kind
extern THookProc HelpHook;        // help for the current command word
extern THookProc HintCloseHook;   // closes an open hint popup

// --- screen and view state read here, set by the start sequence and views --
extern uint8_t ViewKind;     // what the painter draws; 254 or more: no view yet (no repaint)
extern uint8_t RedrawState;  // 0 repaint requested, 2 rebuilt, 201 rebuild menu bar, 255 stop after menu bar
// A repaint rebuilt the screen since the main loop cleared RedrawState (it
// leaves 2): modal dialogs end their edit or draw themselves again.
inline bool RedrawRequested() { return RedrawState != 0; }
constexpr uint8_t kRedrawAfterRebuild = 2;
extern int16_t MaxX;         // last pixel column of the client area
extern int16_t MaxY;         // last pixel row of the client area
// A layout rectangle: flag 1 = in use, corners in window pixels.
struct TLayoutRect {
  uint8_t used = 0;
  int16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
extern TLayoutRect DrawingArea;  // the graphic window of the screen layout

// --- window ----------------------------------------------------------------
constexpr uint32_t kWindowStyleMaximize = 0x01000000;  // the start passes it with show mode 0
extern bool WindowClassRegistered;

// --- palette buffer --------------------------------------------------------
#pragma pack(push, 1)
struct TPaletteEntry {
  uint8_t red, green, blue, flags;  // flags 1: reserved (animated) entry
};
static_assert(sizeof(TPaletteEntry) == 4);
// Logical palette: version 0x300, entry count = palette size + 1, entries.
struct TLogPalette {
  uint16_t version;
  uint16_t count;
  TPaletteEntry entries[256];
};
static_assert(sizeof(TLogPalette) == 1028);
#pragma pack(pop)
extern TLogPalette PaletteBuffer;
extern bool PaletteBufferAllocated;
extern int16_t PaletteSize;  // 245; 235 on displays of at most 8 bits per pixel

// --- input state -------------------------------------------------------------
extern uint8_t KeyBuffer[16];
extern int16_t KeyCount;          // 0 .. 16
extern uint8_t MouseButtonState;  // 0 none, 2 left, 4 right, 1 middle (6 left and right)
extern uint8_t MouseKeyFlags;     // 1 left, 2 right, 4 Shift, 8 Ctrl, 16 middle; 0x80 after a middle press
extern int16_t MouseX;            // last mouse position, client pixels
extern int16_t MouseY;
extern int16_t WheelDelta;        // last wheel delta (120 a notch)
extern uint8_t DragState;         // bit 1 set while a drag is under way
extern int32_t ScrollPosition;    // 0 .. ScrollRange
extern int32_t ScrollRange;       // maximum y - 48
extern uint8_t ScrollBarSwitch;   // off: the window's scroll bar is never touched
extern uint32_t DelayLoopCount;   // clock reads per millisecond of DelayMs below one second

// --- window ----------------------------------------------------------------
// style is or-ed into the window style; showMode 1 hidden, 2 normal, else
// maximised. Ends the program with 1 when the window class cannot be
// registered and with 2 when the window cannot be created.
void CreateMainWindow(uint32_t style, int showMode);
// Last step of the exit path: closes help, releases the drawing context and
// the palette, destroys the window and ends the program with 0.
[[noreturn]] void ReleaseWindowAndHalt();
// Close message: runs the installed exit procedure, or ends the program with
// 0 when none is installed.
void RunExitProcOnClose();
// The window procedure; returns 0 for every message.
int32_t HandleMainWindowMessage(uint32_t message, uint32_t wParam, int32_t lParam);
void RepaintUpdateRect();
// Dispatches every pending message; the quit message ends the program with 255.
void PumpWindowMessages();
void WaitForWindowMessage();
// Moves the mouse pointer to screen position (x, y + 21), which is client
// pixel (x, y) of the maximised window.
void MoveMouseTo(int x, int y);
void SetVerticalScrollPos(int32_t position);
void SetScrollRangeToLayout();
// Scroll request codes: 0 line up, 1 line down, 2 page up, 3 page down,
// 4 and 5 thumb (position), 6 top, 7 bottom; others change nothing.
void HandleScrollMessage(int code, int32_t position);

// --- keys and mouse ----------------------------------------------------------
void PushKeyCode(uint8_t code);      // a full buffer drops the code with a beep
void PushAltKeyCode(uint8_t character);
void HandleKeyDown(uint32_t virtualKey, int32_t lParam);
void HandleKeyUp(uint32_t virtualKey, int32_t lParam);
void StoreWheelDelta(uint32_t wParam);
bool PollKeyPressed();               // pumps; true when a key waits
uint8_t ReadNextKey();               // pumps until a key waits and takes it
void ClearKeyBuffer();
void PollMousePosition(int16_t& x, int16_t& y);  // pumps, updates the button state
void PollMouseButtons();
void UpdateMouseButtonState();
uint8_t GetMouseButtonState();
bool IsShiftKeyUp();
bool IsCtrlKeyUp();

// --- time and disks ----------------------------------------------------------
// Busy delay without pumping: from 1000 ms on on the millisecond tick counter,
// below by n x DelayLoopCount clock reads.
void DelayMs(uint16_t n);
void GetTimeOfDay(uint16_t& hours, uint16_t& minutes, uint16_t& seconds, uint16_t& hundredths);
void GetTimeHundredths(uint16_t& hundredths);
void FormatTimeOfDay(std::string& text);  // "HH:MM:SS h "
void GetDateAndWeekday(uint16_t& year, uint16_t& month, uint16_t& day, uint16_t& weekday);  // weekday 0 Sunday
void FormatDate(std::string& text);       // "DD.MM.YY  "
int64_t GetDriveCSizeMb();
// Free bytes of the drive (0 = current), 2147483647 when larger, -1 on failure.
int32_t GetDiskFreeClamped(uint8_t drive);
