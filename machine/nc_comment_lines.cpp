#include "machine/nc_comment_lines.h"

#include <algorithm>
#include <cstring>

#include "ui/buttons_controls.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/param_file.h"
#include "ui/common_dialogs.h"
#include "ui/line_editor.h"
#include "ui/panels.h"
#include "view/character_cells.h"

namespace {

TNcCommentLines ReadCommentBlock() {
  TNcCommentLines block{};
  GetParamBlock(kNcCommentBlock, &block, sizeof block);
  return block;
}

std::string LineOf(const TNcCommentLines& block, int k) {
  const int n = std::min<int>(block.lines[k][0], kNcCommentLineMax);
  return std::string(reinterpret_cast<const char*>(block.lines[k] + 1), size_t(n));
}

}  // namespace

std::string GetNcCommentLine(int k) {
  if (k < 0 || k >= kNcCommentLines) return "";
  return LineOf(ReadCommentBlock(), k);
}

void EditProgramCommentLines(const std::string& title) {
  TNcCommentLines block = ReadCommentBlock();
  std::string lines[kNcCommentLines];
  for (int k = 0; k < kNcCommentLines; ++k) lines[k] = LineOf(block, k);

  TPopupFrame frame{};
  TBox cancelBox{}, okBox{};
  OpenPopupWithOkCancel(frame, 0, kNcCommentLineMax + 3, 7, title + ": " + GetMessageText(2521, -39), cancelBox,
                        okBox);
  DrawWhiteField(frame.left + 4, 30, frame.right - 4, frame.bottom - 4, 0);
  for (int k = 0; k < kNcCommentLines; ++k)
    DrawCellButton(1, 2 + k, lines[k].empty() ? " " : lines[k], false, 274, 261);

  int k = 1;
  uint8_t exitCode = 0;
  while (exitCode != 3 && exitCode != 8) {
    if (CloseRequested) {
      exitCode = 3;
      break;
    }
    EditTextField(1, 1 + k, kNcCommentLineMax, 0, lines[k - 1], 261, 274, exitCode);
    if (lines[k - 1].size() > size_t(kNcCommentLineMax)) lines[k - 1].resize(kNcCommentLineMax);
    // A click ended the edit while the button is still down: a button or a line.
    if (exitCode == 2 && MouseButtonState == 2) {
      if (IsPointInButton(okBox, MouseX, MouseY)) {
        exitCode = 8;
      } else if (IsPointInButton(cancelBox, MouseX, MouseY)) {
        exitCode = 3;
      } else {
        const int row = MouseY / 16 - 1;
        if (row >= 1 && row <= kNcCommentLines) k = row;
        WaitForMouseRelease();
        exitCode = 0;
      }
      continue;
    }
    if (exitCode == 2 || exitCode == 5 || exitCode == 6) k = std::min(k + 1, kNcCommentLines);
    else if (exitCode == 4 || exitCode == 7) k = std::max(k - 1, 1);
  }
  ClosePopupFrame(frame);
  WaitForMouseRelease();
  if (exitCode != 8) return;
  for (int i = 0; i < kNcCommentLines; ++i) {
    std::memset(block.lines[i], 0, sizeof block.lines[i]);
    block.lines[i][0] = uint8_t(lines[i].size());
    std::memcpy(block.lines[i] + 1, lines[i].data(), lines[i].size());
  }
  PutParamBlock(kNcCommentBlock, &block, sizeof block);
}
