// The headless backend: no display and no native events. Input comes from
// the script (platform/script.cpp); the frame buffer is only read by
// screenshots.
#include "platform/backend.h"

namespace plat {
namespace {

bool HeadlessOpen(int, int, int, int, int, int& clientWidth, int& clientHeight) {
  HeadlessClientSize(clientWidth, clientHeight);
  return true;
}

void HeadlessClose() {}
void HeadlessPump(std::deque<TMessage>&) {}
void HeadlessWaitEvent(int) {}
void HeadlessPresent(bool) {}
void HeadlessSetCaption(const std::string&) {}
void HeadlessSetCursor(TCursorShape, bool) {}

// Moving the pointer produces a mouse move message, as on the real system.
void HeadlessWarpMouse(int x, int y) {
  MainWindow.queue.push_back(TMessage{kMsgMouseMove, HeldMouseFlags(), PointLParam(x, y)});
}

void HeadlessCaptureMouse(bool) {}

}  // namespace

const TBackendOps HeadlessBackend = {
    HeadlessOpen,      HeadlessClose,     HeadlessPump,      HeadlessWaitEvent,    HeadlessPresent,
    HeadlessSetCaption, HeadlessSetCursor, HeadlessWarpMouse, HeadlessCaptureMouse,
};

}  // namespace plat
