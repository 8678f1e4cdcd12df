// The hint popup of the help system.
#include "ui/hint_popup.h"

#include <algorithm>
#include <string>
#include <vector>

#include "frame/checked_files.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/program_state.h"
#include "frame/window_draw.h"
#include "platform/files.h"
#include "ui/panels.h"

namespace {

constexpr int kHintTopicLinesMax = 400;

// Reads topic n: its "#" line and the lines after it, up to the next "#"
// line, the end of the file or 400 lines.
bool ReadHintTopic(int n, std::string& head, std::vector<std::string>& lines) {
  const std::string name = ProgramFolderName + kHelpTextFileName;
  if (!plat::FileExists(name)) return false;
  TFileRec f;
  AssignFileChecked(f, name);
  if (ResetTextChecked(f) == 0) return false;
  bool found = false;
  std::string line;
  while (!plat::EofText(f)) {
    ReadLineChecked(f, line, 100);
    if (found) {
      if (!line.empty() && line[0] == '#') break;
      lines.push_back(line);
      if (int(lines.size()) >= kHintTopicLinesMax) break;
      continue;
    }
    if (line.size() < 5 || line[0] != '#') continue;
    int value = 0;
    bool digits = true;
    for (int i = 1; i <= 4; ++i) {
      const char c = line[size_t(i)];
      if (c == ' ') continue;
      if (c < '0' || c > '9') digits = false;
      else value = value * 10 + (c - '0');
    }
    if (digits && value == n) {
      found = true;
      head = line;
    }
  }
  CloseFileChecked(f);
  return found;
}

}  // namespace

bool ShowHintPopup(int n, TPopupFrame& frame) {
  std::string head;
  std::vector<std::string> lines;
  if (!ReadHintTopic(n, head, lines)) return false;
  std::vector<std::string> shown;
  for (const std::string& line : lines) {
    if (line.empty() || line[0] == '|') break;
    if (line[0] == '&') continue;
    shown.push_back(line[0] == '!' || line[0] == '%' ? line.substr(1) : line);
  }
  if (shown.empty()) return false;
  if (CursorShown) EraseMouseCursor();
  std::string title = head.size() > 6 ? head.substr(6, 18) : std::string();
  while (!title.empty() && title.back() == ' ') title.pop_back();
  title = "'" + title + "'";
  int width = std::max(MeasureTextWidth(title) + 48, 208);
  for (const std::string& line : shown) width = std::max(width, MeasureTextWidth(line));
  const int areaHeight = DrawingArea.y2 - DrawingArea.y1;
  const int maxLines = std::clamp(areaHeight / 14 - 4, 1, 40);
  if (int(shown.size()) > maxLines) shown.resize(size_t(maxLines));
  width = std::min(width, std::max(DrawingArea.x2 - DrawingArea.x1 - 8, 16));
  const int rows = int(shown.size()) + 1;  // the title first
  const int popupWidth = width + 16, height = 14 * rows + 13;
  const int left = std::max(MouseX - popupWidth, 0);
  int top = MouseY + 32;
  if (top + height > DrawingArea.y2) top = std::max(MouseY - height - 32, 0);
  frame = TPopupFrame{};
  frame.left = int16_t(left);
  frame.top = int16_t(top);
  frame.right = int16_t(left + popupWidth);
  frame.bottom = int16_t(top + height);
  frame.lines = int16_t(LinesForHeight(height + 1));
  OpenPopupFrame(frame);
  FillColorRect(frame.left, frame.top, frame.right, frame.bottom, plat::Rgb(255, 255, 225));
  SetPenColor(274);
  DrawFrameRect(frame.left, frame.top, frame.right, frame.bottom);
  int y = frame.top + 8;
  DrawTextInSetFont(frame.left + 8, y, title);
  for (const std::string& line : shown) {
    y += 14;
    DrawTextInSetFont(frame.left + 8, y, line);
  }
  frame.lines = int16_t(std::max<int>(frame.lines, 1));
  return true;
}
