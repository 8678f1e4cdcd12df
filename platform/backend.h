// Inside of the window module: the state of the main window, the operations
// each backend provides, and the helpers the backends, the script player and
// the message box share. Only platform/ includes this header.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/window.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Cursor;

namespace plat {

// What a backend does for the window module. The SDL backend drives a real
// window; the headless backend has no native events and presents nothing.
struct TBackendOps {
  // Creates the native window; reports the client size it got.
  bool (*open)(int x, int y, int width, int height, int showMode, int& clientWidth, int& clientHeight);
  void (*close)();
  // Translates pending native events into messages appended to `out`.
  void (*pump)(std::deque<TMessage>& out);
  // Blocks up to timeoutMs for a native event (headless: returns at once).
  void (*waitEvent)(int timeoutMs);
  // Shows the frame buffer: when `force` at once, else when it changed and
  // the last presentation is old enough.
  void (*present)(bool force);
  void (*setCaption)(const std::string& utf8);
  void (*setCursor)(TCursorShape shape, bool visible);
  void (*warpMouse)(int x, int y);
  void (*captureMouse)(bool on);
};
extern const TBackendOps SdlBackend;
extern const TBackendOps HeadlessBackend;

// The SDL side of the window.
struct TSdlState {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  int textureWidth = 0;
  int textureHeight = 0;
  SDL_Cursor* arrowCursor = nullptr;
  SDL_Cursor* crossCursor = nullptr;
  std::vector<uint32_t> shown;    // the pixels last presented
  int shownWidth = 0;
  int shownHeight = 0;
  uint32_t lastCheckMs = 0;       // last look at the frame buffer
  uint32_t lastPumpMs = 0;        // last look at the event queue
  bool pumpDue = false;           // an event may have arrived while waiting
  bool exposed = false;           // the window needs presenting regardless
  uint32_t buttonFlags = 0;       // mouse buttons held (1 left, 2 right, 16 middle)
  bool altUsed = false;           // a key was pressed while Alt was held
  bool textByKey = false;         // the last key press made its character itself
  uint8_t keyDown[256] = {};      // keys down as translated
};
extern TSdlState SdlState;

// The main window (one per process).
struct TWindowState {
  bool open = false;
  TBackendKind kind = kBackendHeadless;
  const TBackendOps* ops = nullptr;
  TFrameBuffer frame;
  TDc dc;
  std::deque<TMessage> queue;        // posted and input messages, oldest first
  TRect update;                      // invalid area; empty when right <= left
  bool paintPending = false;         // one paint message owed to the program
  std::string caption;               // Windows code page
  TCursorShape cursor = kCursorArrow;
  bool cursorVisible = true;
  bool captured = false;
  uint8_t keyDown[256] = {};         // key state as of the last retrieved message
};
extern TWindowState MainWindow;

// Backend kind of the running harness: cached, refreshed by OpenWindow and
// CloseWindow so tests can switch it through the environment.
extern bool BackendKindKnown;
extern TBackendKind BackendKindCache;

// Client size of the headless window: TORV_SCREEN=WIDTHxHEIGHT or 1024 x 768.
void HeadlessClientSize(int& width, int& height);

// Fill colour of a fresh client area (the light-grey window background).
constexpr uint32_t kWindowBackgroundPixel = 0xC0C0C0;

// Resizes the frame buffer, keeping the pixels of the overlap, keeps the
// drawing context's clip inside it and invalidates the whole client area.
void ResizeWindowFrame(int width, int height);
// Updates the key state table from a message being handed to the program.
void NoteKeyState(const TMessage& msg);
// Mouse key flags (1 left, 2 right, 4 Shift, 8 Ctrl, 16 middle) of the key
// state table.
uint32_t HeldMouseFlags();

// --- message parameter layouts ----------------------------------------------
// lParam of a key message: repeat count 1, set-1 scan code, extended key,
// Alt context, previous key state, transition.
int32_t KeyLParam(int scan, bool extended, bool altContext, bool previousDown, bool keyUp);
// lParam of a mouse message: x in the low word, y in the high word.
int32_t PointLParam(int x, int y);
// Key down/up message for a key with the current modifiers: the system
// variants while Alt (without Ctrl) is held, and for F10.
uint32_t KeyMessageId(bool down, int virtualKey, bool altHeld, bool ctrlHeld);
// The character a key press without a character of its own produces
// (Enter 13 / Ctrl+Enter 10, Esc 27, Backspace 8 / Ctrl+Backspace 127,
// Tab 9, Ctrl+letter 1-26), or -1.
int ControlCharForKey(int virtualKey, bool ctrl);

// --- text conversions between the Windows code page (1252) and UTF-8 --------
namespace wnd {
std::string Utf8FromWin(const std::string& winText);
// Characters without a code page 1252 form are dropped.
std::string WinFromUtf8(const std::string& utf8);
// Decodes one UTF-8 sequence at pos (advancing it); false on a broken one
// (pos then moves past one byte).
bool NextCodePoint(const std::string& utf8, size_t& pos, uint32_t& codePoint);
// The code page 1252 byte of a code point; false when there is none.
bool WinCharOf(uint32_t codePoint, uint8_t& winChar);
}  // namespace wnd

// --- system services (system.cpp) --------------------------------------------
struct TSystemState {
  // Clock: real start (monotonic and wall time) and the virtual time of
  // headless runs in microseconds.
  int64_t startMonotonicUs = 0;
  int64_t startWallUs = 0;
  uint64_t virtualUs = 0;
  // Sound: the audio device is tried once; 0 when none could be opened.
  bool audioTried = false;
  uint32_t audioDevice = 0;
  int audioRate = 0;
  int beepCount = 0;
  // Programs started without waiting, reaped when they have ended.
  std::vector<int> startedPrograms;
  // In-process clipboard (headless text, pictures in both backends).
  bool clipboardHasText = false;
  std::string clipboardText;  // Windows code page
  bool clipboardHasPicture = false;
  TPixelBlock clipboardPicture;
};
extern TSystemState SystemState;

// Advances the virtual clock of headless runs.
void AdvanceVirtualClock(uint64_t microseconds);

}  // namespace plat
