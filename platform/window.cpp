// The backend-neutral part of the main window: message queue, paint
// bookkeeping, caption, key state, transcript and the text conversions.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/backend.h"
#include "platform/script.h"
#include "platform/system.h"

namespace plat {

TWindowState MainWindow;
bool BackendKindKnown = false;
TBackendKind BackendKindCache = kBackendSdl;

namespace {

bool RectEmpty(const TRect& r) { return r.right <= r.left || r.bottom <= r.top; }

// Parses "WIDTHxHEIGHT"; false when malformed.
bool ParseScreenSize(const char* text, int& width, int& height) {
  char* end = nullptr;
  errno = 0;
  long w = std::strtol(text, &end, 10);
  if (end == text || (*end != 'x' && *end != 'X') || errno != 0) return false;
  const char* second = end + 1;
  long h = std::strtol(second, &end, 10);
  if (end == second || *end != '\0' || errno != 0) return false;
  if (w < 16 || h < 16 || w > 16384 || h > 16384) return false;
  width = int(w);
  height = int(h);
  return true;
}

}  // namespace

TBackendKind ChosenBackend() {
  const char* video = std::getenv("TORV_VIDEO");
  if (video && std::strcmp(video, "headless") == 0) return kBackendHeadless;
  return kBackendSdl;
}

bool IsHeadless() {
  if (MainWindow.open) return MainWindow.kind == kBackendHeadless;
  if (!BackendKindKnown) {
    BackendKindCache = ChosenBackend();
    BackendKindKnown = true;
  }
  return BackendKindCache == kBackendHeadless;
}

// Headless client size: TORV_SCREEN=WIDTHxHEIGHT or 1024 x 768.
void HeadlessClientSize(int& width, int& height) {
  width = 1024;
  height = 768;
  const char* screen = std::getenv("TORV_SCREEN");
  if (screen && *screen && !ParseScreenSize(screen, width, height)) {
    std::fprintf(stderr, "torv: TORV_SCREEN=%s is not WIDTHxHEIGHT; using 1024x768\n", screen);
    width = 1024;
    height = 768;
  }
}

bool OpenWindow(int x, int y, int width, int height, int showMode) {
  if (MainWindow.open) return true;
  TPalette palette = MainWindow.dc.palette;  // the palette outlives the window
  MainWindow = TWindowState();
  MainWindow.dc.palette = palette;
  BackendKindKnown = false;
  MainWindow.kind = ChosenBackend();
  MainWindow.ops = MainWindow.kind == kBackendHeadless ? &HeadlessBackend : &SdlBackend;
  int clientWidth = 0, clientHeight = 0;
  if (!MainWindow.ops->open(x, y, width, height, showMode, clientWidth, clientHeight)) {
    MainWindow.ops = nullptr;
    return false;
  }
  MainWindow.frame.width = clientWidth;
  MainWindow.frame.height = clientHeight;
  MainWindow.frame.pixels.assign(size_t(clientWidth) * size_t(clientHeight), kWindowBackgroundPixel);
  DcReset(MainWindow.dc, &MainWindow.frame);
  MainWindow.open = true;
  EnsureScriptLoaded();
  InvalidateWindow(nullptr);
  return true;
}

// Ends the window and every piece of harness state that belongs to it, so a
// new OpenWindow starts afresh (tests rely on that).
void CloseWindow() {
  if (MainWindow.open && MainWindow.ops) MainWindow.ops->close();
  MainWindow.open = false;
  MainWindow.ops = nullptr;
  MainWindow.queue.clear();
  MainWindow.update = TRect();
  MainWindow.paintPending = false;
  MainWindow.caption.clear();
  MainWindow.cursor = kCursorArrow;
  MainWindow.cursorVisible = true;
  MainWindow.captured = false;
  std::memset(MainWindow.keyDown, 0, sizeof MainWindow.keyDown);
  MainWindow.frame = TFrameBuffer();
  DcReset(MainWindow.dc, &MainWindow.frame);
  BackendKindKnown = false;
  ResetScript();
}

bool WindowIsOpen() { return MainWindow.open; }

TDc& WindowDc() {
  if (!MainWindow.dc.target) DcReset(MainWindow.dc, &MainWindow.frame);
  return MainWindow.dc;
}

TFrameBuffer& WindowFrameBuffer() { return MainWindow.frame; }

void GetClientSize(int& width, int& height) {
  width = MainWindow.frame.width;
  height = MainWindow.frame.height;
}

void ResizeWindowFrame(int width, int height) {
  if (width < 1) width = 1;
  if (height < 1) height = 1;
  TFrameBuffer& fb = MainWindow.frame;
  if (width == fb.width && height == fb.height) return;
  std::vector<uint32_t> pixels(size_t(width) * size_t(height), kWindowBackgroundPixel);
  int keepW = std::min(width, fb.width), keepH = std::min(height, fb.height);
  for (int row = 0; row < keepH; ++row)
    std::memcpy(&pixels[size_t(row) * size_t(width)], &fb.pixels[size_t(row) * size_t(fb.width)],
                size_t(keepW) * sizeof(uint32_t));
  int oldW = fb.width, oldH = fb.height;
  fb.pixels.swap(pixels);
  fb.width = width;
  fb.height = height;
  // The clip rectangle follows the client area when it covered all of it,
  // and never reaches outside the new frame buffer.
  TDc& dc = MainWindow.dc;
  dc.target = &fb;
  TRect& clip = dc.clip;
  if (clip.left <= 0 && clip.top <= 0 && clip.right >= oldW && clip.bottom >= oldH) {
    clip = TRect{0, 0, width, height};
  } else {
    clip.left = std::max(0, std::min(clip.left, width));
    clip.top = std::max(0, std::min(clip.top, height));
    clip.right = std::max(clip.left, std::min(clip.right, width));
    clip.bottom = std::max(clip.top, std::min(clip.bottom, height));
  }
  MainWindow.update = TRect();
  InvalidateWindow(nullptr);
}

// --- messages -----------------------------------------------------------------

void NoteKeyState(const TMessage& msg) {
  switch (msg.message) {
    case kMsgKeyDown:
    case kMsgSysKeyDown:
      MainWindow.keyDown[msg.wParam & 0xFF] = 1;
      break;
    case kMsgKeyUp:
    case kMsgSysKeyUp:
      MainWindow.keyDown[msg.wParam & 0xFF] = 0;
      break;
    case kMsgMouseMove:
    case kMsgLButtonDown:
    case kMsgLButtonUp:
    case kMsgRButtonDown:
    case kMsgRButtonUp:
    case kMsgMButtonDown:
    case kMsgMButtonUp:
      MainWindow.keyDown[1] = (msg.wParam & 1) ? 1 : 0;   // left button
      MainWindow.keyDown[2] = (msg.wParam & 2) ? 1 : 0;   // right button
      MainWindow.keyDown[4] = (msg.wParam & 16) ? 1 : 0;  // middle button
      break;
    default:
      break;
  }
}

uint32_t HeldMouseFlags() {
  const uint8_t* down = MainWindow.keyDown;
  return (down[1] ? 1u : 0u) | (down[2] ? 2u : 0u) | (down[kVkShift] ? 4u : 0u) | (down[kVkControl] ? 8u : 0u) |
         (down[4] ? 16u : 0u);
}

bool PeekWindowMessage(TMessage& msg) {
  if (MainWindow.open) {
    MainWindow.ops->pump(MainWindow.queue);
    MainWindow.ops->present(false);
  }
  if (!MainWindow.queue.empty()) {
    msg = MainWindow.queue.front();
    MainWindow.queue.pop_front();
    NoteKeyState(msg);
    Script.emptyPeeks = 0;
    return true;
  }
  if (MainWindow.paintPending) {
    MainWindow.paintPending = false;
    msg = TMessage{kMsgPaint, 0, 0};
    Script.emptyPeeks = 0;
    return true;
  }
  if (IsHeadless()) AdvanceVirtualClock(1000);
  if (MainWindow.open) ScriptOnEmptyPeek();
  return false;
}

void WaitWindowMessage() {
  for (;;) {
    if (MainWindow.open) MainWindow.ops->pump(MainWindow.queue);
    if (!MainWindow.queue.empty() || MainWindow.paintPending) return;
    if (!MainWindow.open) {
      // Nothing can arrive without a window; never block.
      if (IsHeadless()) AdvanceVirtualClock(1000);
      return;
    }
    if (ScriptIsActive()) {
      ScriptOnWait();
    } else {
      MainWindow.ops->present(false);
      MainWindow.ops->waitEvent(50);
    }
  }
}

void PostWindowMessage(uint32_t message, uint32_t wParam, int32_t lParam) {
  MainWindow.queue.push_back(TMessage{message, wParam, lParam});
}

// --- paint bookkeeping ------------------------------------------------------------

void InvalidateWindow(const TRect* rect) {
  TRect r{0, 0, MainWindow.frame.width, MainWindow.frame.height};
  if (rect) {
    r.left = std::max(r.left, rect->left);
    r.top = std::max(r.top, rect->top);
    r.right = std::min(r.right, rect->right);
    r.bottom = std::min(r.bottom, rect->bottom);
  }
  if (RectEmpty(r)) return;
  TRect& u = MainWindow.update;
  if (RectEmpty(u)) {
    u = r;
  } else {
    u.left = std::min(u.left, r.left);
    u.top = std::min(u.top, r.top);
    u.right = std::max(u.right, r.right);
    u.bottom = std::max(u.bottom, r.bottom);
  }
  MainWindow.paintPending = true;
}

bool GetUpdateRect(TRect& rect) {
  if (RectEmpty(MainWindow.update)) {
    rect = TRect();
    return false;
  }
  rect = MainWindow.update;
  return true;
}

void ValidateWindow() {
  MainWindow.update = TRect();
  MainWindow.paintPending = false;
}

void PresentNow() {
  if (MainWindow.open) MainWindow.ops->present(true);
}

// --- caption, cursor, mouse, keys ---------------------------------------------------

void SetWindowCaption(const std::string& winText) {
  if (winText == MainWindow.caption) return;
  MainWindow.caption = winText;
  std::string utf8 = wnd::Utf8FromWin(winText);
  if (MainWindow.open) MainWindow.ops->setCaption(utf8);
  TranscriptLine("caption|" + utf8);
}

std::string GetWindowCaption() { return MainWindow.caption; }

void SetCursorShape(TCursorShape shape) {
  MainWindow.cursor = shape;
  if (MainWindow.open) MainWindow.ops->setCursor(shape, MainWindow.cursorVisible);
}

void SetSystemCursorVisible(bool visible) {
  MainWindow.cursorVisible = visible;
  if (MainWindow.open) MainWindow.ops->setCursor(MainWindow.cursor, visible);
}

void SetMousePosition(int x, int y) {
  if (MainWindow.open) MainWindow.ops->warpMouse(x, y);
}

void SetMouseCapture(bool on) {
  MainWindow.captured = on;
  if (MainWindow.open) MainWindow.ops->captureMouse(on);
}

int16_t GetKeyState(int virtualKey) {
  if (virtualKey < 0 || virtualKey > 255) return 0;
  return MainWindow.keyDown[virtualKey] ? int16_t(-32768) : int16_t(0);
}

bool WriteScreenshot(const std::string& hostPath) {
  if (MainWindow.frame.width <= 0 || MainWindow.frame.height <= 0) return false;
  return WritePng(MainWindow.frame, hostPath);
}

void TranscriptLine(const std::string& utf8Line) {
  const char* path = std::getenv("TORV_TRANSCRIPT");
  if (!path || !*path) return;
  std::string p = path;
  if (p[0] != '/' && !StartFolder.empty()) p = StartFolder + "/" + p;
  FILE* f = std::fopen(p.c_str(), "ab");
  if (!f) {
    std::fprintf(stderr, "torv: cannot write the transcript %s: %s\n", p.c_str(), std::strerror(errno));
    return;
  }
  std::fwrite(utf8Line.data(), 1, utf8Line.size(), f);
  std::fputc('\n', f);
  std::fclose(f);
}

int TakeScriptedAnswer() {
  switch (TakeScriptedAnswerKind()) {
    case kAnswerYes: return 1;
    case kAnswerNo:
    case kAnswerCancel: return 0;
    default: return -1;
  }
}

// --- message parameter layouts ---------------------------------------------------------

int32_t KeyLParam(int scan, bool extended, bool altContext, bool previousDown, bool keyUp) {
  uint32_t v = 1u | (uint32_t(scan & 0xFF) << 16);
  if (extended) v |= 1u << 24;
  if (altContext) v |= 1u << 29;
  if (previousDown) v |= 1u << 30;
  if (keyUp) v |= 1u << 31;
  return int32_t(v);
}

int32_t PointLParam(int x, int y) {
  return int32_t(uint32_t(uint16_t(x)) | (uint32_t(uint16_t(y)) << 16));
}

uint32_t KeyMessageId(bool down, int virtualKey, bool altHeld, bool ctrlHeld) {
  bool system = (altHeld && !ctrlHeld) || virtualKey == 121;  // F10 is a system key
  if (system) return down ? kMsgSysKeyDown : kMsgSysKeyUp;
  return down ? kMsgKeyDown : kMsgKeyUp;
}

int ControlCharForKey(int virtualKey, bool ctrl) {
  switch (virtualKey) {
    case kVkReturn: return ctrl ? 10 : 13;
    case kVkEscape: return 27;
    case kVkBack: return ctrl ? 127 : 8;
    case kVkTab: return ctrl ? -1 : 9;
    default: break;
  }
  if (ctrl && virtualKey >= 'A' && virtualKey <= 'Z') return virtualKey - 'A' + 1;
  return -1;
}

// --- code page 1252 ----------------------------------------------------------------------

namespace wnd {
namespace {
// Code points of 0x80-0x9F; the five unused bytes keep their C1 control.
const uint16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Smallest code point for each sequence length (longer forms are invalid).
const uint32_t kShortestForm[4] = {0, 0x80, 0x800, 0x10000};

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | (cp >> 6));
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xE0 | (cp >> 12));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}
}  // namespace

std::string Utf8FromWin(const std::string& winText) {
  std::string out;
  out.reserve(winText.size());
  for (unsigned char c : winText) {
    uint32_t cp = c;
    if (c >= 0x80 && c < 0xA0) cp = kHighControls[c - 0x80];
    AppendUtf8(out, cp);
  }
  return out;
}

bool WinCharOf(uint32_t codePoint, uint8_t& winChar) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
    winChar = uint8_t(codePoint);
    return true;
  }
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == codePoint) {
      winChar = uint8_t(0x80 + i);
      return true;
    }
  }
  return false;
}

bool NextCodePoint(const std::string& utf8, size_t& pos, uint32_t& codePoint) {
  unsigned char c = utf8[pos];
  int extra = 0;
  uint32_t cp = 0;
  if (c < 0x80) {
    codePoint = c;
    ++pos;
    return true;
  } else if ((c & 0xE0) == 0xC0) {
    extra = 1;
    cp = c & 0x1F;
  } else if ((c & 0xF0) == 0xE0) {
    extra = 2;
    cp = c & 0x0F;
  } else if ((c & 0xF8) == 0xF0) {
    extra = 3;
    cp = c & 0x07;
  } else {
    ++pos;
    return false;
  }
  if (pos + size_t(extra) >= utf8.size()) {
    ++pos;
    return false;
  }
  for (int i = 1; i <= extra; ++i) {
    unsigned char d = utf8[pos + size_t(i)];
    if ((d & 0xC0) != 0x80) {
      ++pos;
      return false;
    }
    cp = (cp << 6) | (d & 0x3F);
  }
  if (cp < kShortestForm[extra] || cp > 0x10FFFF) {
    ++pos;
    return false;
  }
  pos += size_t(extra) + 1;
  codePoint = cp;
  return true;
}

std::string WinFromUtf8(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    uint32_t cp = 0;
    uint8_t c = 0;
    if (NextCodePoint(utf8, pos, cp) && WinCharOf(cp, c)) out += char(c);
  }
  return out;
}

}  // namespace wnd
}  // namespace plat
