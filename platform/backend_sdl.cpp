// The SDL2 backend: a real window, its events translated into the window
// messages of the program (virtual keys, set-1 scan codes, code page 1252
// characters, mouse messages with key flags), and the frame buffer presented
// through a streaming texture when it has changed, at most about 60 times a
// second. While a script drives the input, the user's keys and mouse are
// ignored; window events (size, exposure, closing) still count.
//
// Contents: key table - event translation - presenting - backend operations.
#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "platform/backend.h"
#include "platform/script.h"

namespace plat {

TSdlState SdlState;

namespace {

// --- key table ------------------------------------------------------------------

struct TKeyCode {
  int virtualKey = 0;
  int scan = 0;
  bool extended = false;
};

struct TSdlKey {
  SDL_Scancode sdl;
  int virtualKey;
  int scan;
  bool extended;
};

const TSdlKey kSdlKeys[] = {
    {SDL_SCANCODE_RETURN, kVkReturn, 0x1C, false},  {SDL_SCANCODE_ESCAPE, kVkEscape, 0x01, false},
    {SDL_SCANCODE_BACKSPACE, kVkBack, 0x0E, false}, {SDL_SCANCODE_TAB, kVkTab, 0x0F, false},
    {SDL_SCANCODE_SPACE, kVkSpace, 0x39, false},    {SDL_SCANCODE_MINUS, 0xBD, 0x0C, false},
    {SDL_SCANCODE_EQUALS, 0xBB, 0x0D, false},       {SDL_SCANCODE_LEFTBRACKET, 0xDB, 0x1A, false},
    {SDL_SCANCODE_RIGHTBRACKET, 0xDD, 0x1B, false}, {SDL_SCANCODE_BACKSLASH, 0xDC, 0x2B, false},
    {SDL_SCANCODE_NONUSHASH, 0xDC, 0x2B, false},    {SDL_SCANCODE_SEMICOLON, 0xBA, 0x27, false},
    {SDL_SCANCODE_APOSTROPHE, 0xDE, 0x28, false},   {SDL_SCANCODE_GRAVE, 0xC0, 0x29, false},
    {SDL_SCANCODE_COMMA, 0xBC, 0x33, false},        {SDL_SCANCODE_PERIOD, 0xBE, 0x34, false},
    {SDL_SCANCODE_SLASH, 0xBF, 0x35, false},        {SDL_SCANCODE_NONUSBACKSLASH, 0xE2, 0x56, false},
    {SDL_SCANCODE_CAPSLOCK, 0x14, 0x3A, false},     {SDL_SCANCODE_F1, 112, 0x3B, false},
    {SDL_SCANCODE_F2, 113, 0x3C, false},            {SDL_SCANCODE_F3, 114, 0x3D, false},
    {SDL_SCANCODE_F4, 115, 0x3E, false},            {SDL_SCANCODE_F5, 116, 0x3F, false},
    {SDL_SCANCODE_F6, 117, 0x40, false},            {SDL_SCANCODE_F7, 118, 0x41, false},
    {SDL_SCANCODE_F8, 119, 0x42, false},            {SDL_SCANCODE_F9, 120, 0x43, false},
    {SDL_SCANCODE_F10, 121, 0x44, false},           {SDL_SCANCODE_F11, 122, 0x57, false},
    {SDL_SCANCODE_F12, 123, 0x58, false},           {SDL_SCANCODE_PRINTSCREEN, 0x2C, 0x37, true},
    {SDL_SCANCODE_SCROLLLOCK, 0x91, 0x46, false},   {SDL_SCANCODE_PAUSE, 0x13, 0x45, false},
    {SDL_SCANCODE_INSERT, kVkInsert, 0x52, true},   {SDL_SCANCODE_HOME, kVkHome, 0x47, true},
    {SDL_SCANCODE_PAGEUP, kVkPrior, 0x49, true},    {SDL_SCANCODE_DELETE, kVkDelete, 0x53, true},
    {SDL_SCANCODE_END, kVkEnd, 0x4F, true},         {SDL_SCANCODE_PAGEDOWN, kVkNext, 0x51, true},
    {SDL_SCANCODE_RIGHT, kVkRight, 0x4D, true},     {SDL_SCANCODE_LEFT, kVkLeft, 0x4B, true},
    {SDL_SCANCODE_DOWN, kVkDown, 0x50, true},       {SDL_SCANCODE_UP, kVkUp, 0x48, true},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x90, 0x45, true},  {SDL_SCANCODE_KP_DIVIDE, 0x6F, 0x35, true},
    {SDL_SCANCODE_KP_MULTIPLY, 0x6A, 0x37, false},  {SDL_SCANCODE_KP_MINUS, 0x6D, 0x4A, false},
    {SDL_SCANCODE_KP_PLUS, 0x6B, 0x4E, false},      {SDL_SCANCODE_KP_ENTER, kVkReturn, 0x1C, true},
    {SDL_SCANCODE_LCTRL, kVkControl, 0x1D, false},  {SDL_SCANCODE_RCTRL, kVkControl, 0x1D, true},
    {SDL_SCANCODE_LSHIFT, kVkShift, 0x2A, false},   {SDL_SCANCODE_RSHIFT, kVkShift, 0x36, false},
    {SDL_SCANCODE_LALT, kVkMenu, 0x38, false},      {SDL_SCANCODE_RALT, kVkMenu, 0x38, true},
    {SDL_SCANCODE_LGUI, 0x5B, 0x5B, true},          {SDL_SCANCODE_RGUI, 0x5C, 0x5C, true},
    {SDL_SCANCODE_APPLICATION, 0x5D, 0x5D, true},
};

// Set-1 scan codes of the letters A-Z and of the digits 1-9, 0.
const uint8_t kLetterScans[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
                                  0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};

// The numeric pad: 1-9, 0, decimal point. With Num Lock the number keys,
// without it the navigation keys they carry (not extended).
struct TPadKey {
  SDL_Scancode sdl;
  int numberKey;
  int navigationKey;
  int scan;
};
const TPadKey kPadKeys[] = {
    {SDL_SCANCODE_KP_1, 0x61, kVkEnd, 0x4F},   {SDL_SCANCODE_KP_2, 0x62, kVkDown, 0x50},
    {SDL_SCANCODE_KP_3, 0x63, kVkNext, 0x51},  {SDL_SCANCODE_KP_4, 0x64, kVkLeft, 0x4B},
    {SDL_SCANCODE_KP_5, 0x65, 0x0C, 0x4C},     {SDL_SCANCODE_KP_6, 0x66, kVkRight, 0x4D},
    {SDL_SCANCODE_KP_7, 0x67, kVkHome, 0x47},  {SDL_SCANCODE_KP_8, 0x68, kVkUp, 0x48},
    {SDL_SCANCODE_KP_9, 0x69, kVkPrior, 0x49}, {SDL_SCANCODE_KP_0, 0x60, kVkInsert, 0x52},
    {SDL_SCANCODE_KP_PERIOD, 0x6E, kVkDelete, 0x53},
};

// Virtual key and scan code of an SDL key. Letters and digits take their
// virtual key from the keyboard layout (the key labelled Z is VK 'Z'),
// scan codes stay positional as on a PC keyboard.
bool TranslateKey(const SDL_Keysym& key, TKeyCode& out) {
  SDL_Scancode sc = key.scancode;
  out = TKeyCode();
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) {
    out.scan = kLetterScans[sc - SDL_SCANCODE_A];
    out.virtualKey = 'A' + (sc - SDL_SCANCODE_A);
  } else if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_0) {
    out.scan = 0x02 + (sc - SDL_SCANCODE_1);
    out.virtualKey = sc == SDL_SCANCODE_0 ? '0' : '1' + (sc - SDL_SCANCODE_1);
  } else {
    for (const TPadKey& k : kPadKeys) {
      if (k.sdl != sc) continue;
      bool numLock = (key.mod & KMOD_NUM) != 0;
      out.virtualKey = numLock ? k.numberKey : k.navigationKey;
      out.scan = k.scan;
      return true;
    }
    for (const TSdlKey& k : kSdlKeys) {
      if (k.sdl != sc) continue;
      out.virtualKey = k.virtualKey;
      out.scan = k.scan;
      out.extended = k.extended;
      return true;
    }
    return false;
  }
  SDL_Keycode code = key.sym;
  if (code >= 'a' && code <= 'z') out.virtualKey = int(code - 'a' + 'A');
  else if (code >= '0' && code <= '9') out.virtualKey = int(code);
  return true;
}

// --- event translation --------------------------------------------------------------

uint32_t ModifierFlags() {
  SDL_Keymod mod = SDL_GetModState();
  return ((mod & KMOD_SHIFT) ? 4u : 0u) | ((mod & KMOD_CTRL) ? 8u : 0u);
}

int ButtonIndex(uint8_t sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT: return 0;
    case SDL_BUTTON_RIGHT: return 1;
    case SDL_BUTTON_MIDDLE: return 2;
    default: return -1;
  }
}

const uint32_t kButtonFlags[3] = {1, 2, 16};
const uint32_t kButtonDown[3] = {kMsgLButtonDown, kMsgRButtonDown, kMsgMButtonDown};
const uint32_t kButtonUp[3] = {kMsgLButtonUp, kMsgRButtonUp, kMsgMButtonUp};

void TranslateKeyEvent(const SDL_KeyboardEvent& e, std::deque<TMessage>& out) {
  TKeyCode key;
  if (!TranslateKey(e.keysym, key) || key.virtualKey == 0) return;
  bool down = e.type == SDL_KEYDOWN;
  SDL_Keymod mod = SDL_Keymod(e.keysym.mod);
  bool ctrl = (mod & KMOD_CTRL) != 0;
  // Left Alt is Alt; right Alt is AltGr on most layouts and types characters.
  bool alt = (mod & KMOD_LALT) != 0 || e.keysym.scancode == SDL_SCANCODE_LALT;
  bool isAltKey = e.keysym.scancode == SDL_SCANCODE_LALT;
  uint32_t vk = uint32_t(key.virtualKey);

  if (down) {
    // Text input that follows this press belongs to it (the modifiers of the
    // press count, not those at the time the text event is read).
    SdlState.textByKey = ((mod & KMOD_LALT) || (mod & KMOD_CTRL)) && !(mod & (KMOD_RALT | KMOD_MODE));
    if (isAltKey && !e.repeat) SdlState.altUsed = false;
    else if (alt) SdlState.altUsed = true;
    bool wasDown = e.repeat != 0;
    int32_t lParam = KeyLParam(key.scan, key.extended, alt, wasDown, false);
    out.push_back({KeyMessageId(true, key.virtualKey, alt, ctrl), vk, lParam});
    SdlState.keyDown[vk & 0xFF] = 1;
    if (alt && !ctrl) {
      if (isAltKey) return;
      int c = -1;
      SDL_Keycode sym = e.keysym.sym;
      if (sym >= 32 && sym < 127) {
        c = int(sym);
        if ((mod & KMOD_SHIFT) && c >= 'a' && c <= 'z') c -= 32;
      } else {
        c = ControlCharForKey(key.virtualKey, false);
      }
      if (c >= 0) out.push_back({kMsgSysChar, uint32_t(c), lParam});
    } else if (ctrl && !(mod & (KMOD_RALT | KMOD_MODE))) {
      int c = ControlCharForKey(key.virtualKey, true);
      if (c >= 0) out.push_back({kMsgChar, uint32_t(c), lParam});
    } else if (!ctrl) {
      // Printable characters come as text input; these keys have none.
      int c = ControlCharForKey(key.virtualKey, false);
      if (c >= 0) out.push_back({kMsgChar, uint32_t(c), lParam});
    }
    return;
  }
  SdlState.keyDown[vk & 0xFF] = 0;
  if (isAltKey) {
    uint32_t id = SdlState.altUsed ? kMsgKeyUp : kMsgSysKeyUp;
    out.push_back({id, vk, KeyLParam(key.scan, key.extended, false, true, true)});
    return;
  }
  out.push_back({KeyMessageId(false, key.virtualKey, alt, ctrl), vk,
                 KeyLParam(key.scan, key.extended, alt, true, true)});
}

void TranslateTextEvent(const SDL_TextInputEvent& e, std::deque<TMessage>& out) {
  // Alt and Ctrl combinations were turned into characters at the key press.
  if (SdlState.textByKey) return;
  std::string win = wnd::WinFromUtf8(e.text);
  for (unsigned char c : win) out.push_back({kMsgChar, c, 1});
}

// Keys that stay down when the window loses the keyboard would never come up.
void ReleaseModifiers(std::deque<TMessage>& out) {
  static_assert(kVkShift == 16 && kVkControl == 17 && kVkMenu == 18);
  const int scans[3] = {0x2A, 0x1D, 0x38};
  for (int vk = kVkShift; vk <= kVkMenu; ++vk) {
    if (!SdlState.keyDown[vk]) continue;
    SdlState.keyDown[vk] = 0;
    out.push_back({kMsgKeyUp, uint32_t(vk), KeyLParam(scans[vk - kVkShift], false, false, true, true)});
  }
}

void TranslateEvent(const SDL_Event& e, std::deque<TMessage>& out, bool& closePosted) {
  bool scripted = ScriptIsActive();
  switch (e.type) {
    case SDL_QUIT:
      if (!closePosted) out.push_back({kMsgClose, 0, 0});
      closePosted = true;
      break;
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          ResizeWindowFrame(e.window.data1, e.window.data2);
          SdlState.exposed = true;
          break;
        case SDL_WINDOWEVENT_EXPOSED:
          SdlState.exposed = true;
          break;
        case SDL_WINDOWEVENT_CLOSE:
          if (!closePosted) out.push_back({kMsgClose, 0, 0});
          closePosted = true;
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          if (!scripted) ReleaseModifiers(out);
          break;
        default:
          break;
      }
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (!scripted) TranslateKeyEvent(e.key, out);
      break;
    case SDL_TEXTINPUT:
      if (!scripted) TranslateTextEvent(e.text, out);
      break;
    case SDL_MOUSEMOTION:
      if (!scripted)
        out.push_back({kMsgMouseMove, SdlState.buttonFlags | ModifierFlags(), PointLParam(e.motion.x, e.motion.y)});
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      int b = ButtonIndex(e.button.button);
      if (scripted || b < 0) break;
      bool down = e.type == SDL_MOUSEBUTTONDOWN;
      if (down) SdlState.buttonFlags |= kButtonFlags[b];
      else SdlState.buttonFlags &= ~kButtonFlags[b];
      out.push_back({down ? kButtonDown[b] : kButtonUp[b], SdlState.buttonFlags | ModifierFlags(),
                     PointLParam(e.button.x, e.button.y)});
      break;
    }
    case SDL_MOUSEWHEEL: {
      if (scripted || e.wheel.y == 0) break;
      int delta = e.wheel.y * 120;
      if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) delta = -delta;
      if (delta > 32767) delta = 32767;
      if (delta < -32768) delta = -32768;
      int x = 0, y = 0;
      SDL_GetMouseState(&x, &y);
      uint32_t wParam = (uint32_t(uint16_t(int16_t(delta))) << 16) | SdlState.buttonFlags | ModifierFlags();
      out.push_back({kMsgMouseWheel, wParam, PointLParam(x, y)});
      break;
    }
    default:
      break;
  }
}

// --- presenting ---------------------------------------------------------------------------

constexpr uint32_t kPresentIntervalMs = 16;

bool EnsureTexture(int width, int height) {
  if (SdlState.texture && SdlState.textureWidth == width && SdlState.textureHeight == height) return true;
  if (SdlState.texture) SDL_DestroyTexture(SdlState.texture);
  SdlState.texture =
      SDL_CreateTexture(SdlState.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
  SdlState.textureWidth = SdlState.texture ? width : 0;
  SdlState.textureHeight = SdlState.texture ? height : 0;
  return SdlState.texture != nullptr;
}

void SdlPresent(bool force) {
  if (!SdlState.window) return;
  uint32_t now = SDL_GetTicks();
  if (!force && !SdlState.exposed && now - SdlState.lastCheckMs < kPresentIntervalMs) return;
  SdlState.lastCheckMs = now;
  const TFrameBuffer& fb = MainWindow.frame;
  if (fb.width <= 0 || fb.height <= 0) return;
  size_t count = size_t(fb.width) * size_t(fb.height);
  bool changed = fb.width != SdlState.shownWidth || fb.height != SdlState.shownHeight ||
                 std::memcmp(fb.pixels.data(), SdlState.shown.data(), count * sizeof(uint32_t)) != 0;
  if (!force && !SdlState.exposed && !changed) return;
  SdlState.exposed = false;
  if (!EnsureTexture(fb.width, fb.height)) return;
  SDL_UpdateTexture(SdlState.texture, nullptr, fb.pixels.data(), fb.width * int(sizeof(uint32_t)));
  SDL_SetRenderDrawColor(SdlState.renderer, 192, 192, 192, 255);
  SDL_RenderClear(SdlState.renderer);
  SDL_Rect dst{0, 0, fb.width, fb.height};
  SDL_RenderCopy(SdlState.renderer, SdlState.texture, nullptr, &dst);
  SDL_RenderPresent(SdlState.renderer);
  if (changed) {
    SdlState.shown = fb.pixels;
    SdlState.shownWidth = fb.width;
    SdlState.shownHeight = fb.height;
  }
}

// --- backend operations ----------------------------------------------------------------------

void SdlClose();

bool SdlOpen(int x, int y, int width, int height, int showMode, int& clientWidth, int& clientHeight) {
  SdlState = TSdlState();
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "torv: no display for the window (%s); set TORV_VIDEO=headless or run under xvfb-run\n",
                 SDL_GetError());
    return false;
  }
  if (width <= 0 || height <= 0) {
    width = 768;
    height = 596;
  }
  uint32_t flags = SDL_WINDOW_RESIZABLE;
  if (showMode == 1) flags |= SDL_WINDOW_HIDDEN;
  else if (showMode == 2) flags |= SDL_WINDOW_SHOWN;
  else flags |= SDL_WINDOW_SHOWN | SDL_WINDOW_MAXIMIZED;
  SdlState.window = SDL_CreateWindow("", x, y, width, height, flags);
  if (!SdlState.window) {
    std::fprintf(stderr, "torv: cannot create the window: %s\n", SDL_GetError());
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  SdlState.renderer = SDL_CreateRenderer(SdlState.window, -1, 0);
  if (!SdlState.renderer) SdlState.renderer = SDL_CreateRenderer(SdlState.window, -1, SDL_RENDERER_SOFTWARE);
  if (!SdlState.renderer) {
    std::fprintf(stderr, "torv: cannot draw into the window: %s\n", SDL_GetError());
    SdlClose();
    return false;
  }
  SdlState.arrowCursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
  SdlState.crossCursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_CROSSHAIR);
  SDL_GetWindowSize(SdlState.window, &clientWidth, &clientHeight);
  if (clientWidth <= 0 || clientHeight <= 0) {
    clientWidth = width;
    clientHeight = height;
  }
  SDL_StartTextInput();
  SdlState.exposed = true;
  return true;
}

void SdlClose() {
  if (SdlState.texture) SDL_DestroyTexture(SdlState.texture);
  if (SdlState.renderer) SDL_DestroyRenderer(SdlState.renderer);
  if (SdlState.window) SDL_DestroyWindow(SdlState.window);
  if (SdlState.arrowCursor) SDL_FreeCursor(SdlState.arrowCursor);
  if (SdlState.crossCursor) SDL_FreeCursor(SdlState.crossCursor);
  SdlState = TSdlState();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void SdlPump(std::deque<TMessage>& out) {
  if (!SdlState.window) return;
  // Long computations poll for Esc very often; asking the display server
  // more than once a millisecond gains nothing.
  uint32_t now = SDL_GetTicks();
  if (now == SdlState.lastPumpMs && !SdlState.pumpDue) return;
  SdlState.lastPumpMs = now;
  SdlState.pumpDue = false;
  bool closePosted = false;
  SDL_Event e;
  while (SDL_PollEvent(&e)) TranslateEvent(e, out, closePosted);
}

void SdlWaitEvent(int timeoutMs) {
  if (!SdlState.window) return;
  SDL_WaitEventTimeout(nullptr, timeoutMs);
  SdlState.pumpDue = true;
}

void SdlSetCaption(const std::string& utf8) {
  if (SdlState.window) SDL_SetWindowTitle(SdlState.window, utf8.c_str());
}

void SdlSetCursor(TCursorShape shape, bool visible) {
  if (!SdlState.window) return;
  if (!visible || shape == kCursorNone) {
    SDL_ShowCursor(SDL_DISABLE);
    return;
  }
  SDL_Cursor* cursor = shape == kCursorCross ? SdlState.crossCursor : SdlState.arrowCursor;
  if (cursor) SDL_SetCursor(cursor);
  SDL_ShowCursor(SDL_ENABLE);
}

void SdlWarpMouse(int x, int y) {
  if (!SdlState.window) return;
  SDL_WarpMouseInWindow(SdlState.window, x, y);
  // The pointer's own motion is ignored while a script plays; the program
  // still learns where the pointer went, as from the system.
  if (ScriptIsActive())
    MainWindow.queue.push_back({kMsgMouseMove, HeldMouseFlags(), PointLParam(x, y)});
}

void SdlCaptureMouse(bool on) {
  if (SdlState.window) SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE);
}

}  // namespace

const TBackendOps SdlBackend = {
    SdlOpen, SdlClose, SdlPump, SdlWaitEvent, SdlPresent, SdlSetCaption, SdlSetCursor, SdlWarpMouse, SdlCaptureMouse,
};

}  // namespace plat
