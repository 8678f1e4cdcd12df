// Captions of the dialogs fit their boxes: every button caption and label,
// measured with the font it is drawn in, lies inside its box or the room
// before the next control.
#include <gtest/gtest.h>

#include "frame/window_draw.h"
#include "ui/file_dialogs.h"
#include "ui_screen.h"

namespace {

using uitest::TScreen;

// Pixels the character-cell font needs above the text's y: the drawing
// layer puts the reference point 3 rows above y, and a line is 16 rows.
constexpr int kScreenTextHeight = 16;

struct TCaptionBox {
  const char* what;
  std::string caption;
  TBox box;
};

void ExpectCaptionsFit(const std::vector<TCaptionBox>& rows) {
  for (const TCaptionBox& r : rows) {
    ASSERT_FALSE(r.caption.empty()) << r.what;
    const int width = MeasureScreenTextWidth(r.caption);
    EXPECT_LE(width + 4, r.box.x2 - r.box.x1) << r.what << " \"" << r.caption << "\" is " << width << " pixels";
    EXPECT_LE(kScreenTextHeight, r.box.y2 - r.box.y1 + 1) << r.what;
  }
}

TEST(DialogCaptions, FileDialogButtonsAndLabelsHoldTheirTexts) {
  TScreen screen;
  TFileDialogRequest request;
  SetFileDialogTexts(request);
  const TBox list = GetFileDialogBox(kDialogList), name = GetFileDialogBox(kDialogName);
  const TBox type = GetFileDialogBox(kDialogType);
  // A label runs from the list's left edge to the field it names.
  const TBox nameLabel{1, list.x1, name.y1, int16_t(name.x1 - 1), name.y2};
  const TBox typeLabel{1, list.x1, type.y1, int16_t(type.x1 - 1), type.y2};
  const TBox lookInLabel{1, list.x1, int16_t(list.y1 - 22), int16_t(name.x1 - 1), int16_t(list.y1 - 4)};
  const TBox check = GetFileDialogBox(kDialogPreviewCheck), memo = GetFileDialogBox(kDialogMemo);
  const TBox preview = GetFileDialogBox(kDialogPreview);
  const TBox previewLabel{1, int16_t(check.x2 + 6), check.y1, int16_t(preview.x1 - 1), int16_t(check.y1 + 15)};
  const TBox noteLabel{1, memo.x1, check.y1, int16_t(check.x1 - 1), int16_t(check.y1 + 15)};
  ExpectCaptionsFit({
      {"OK (open)", request.okOpenText, GetFileDialogBox(kDialogOk)},
      {"OK (save)", request.okSaveText, GetFileDialogBox(kDialogOk)},
      {"cancel", request.cancelText, GetFileDialogBox(kDialogCancel)},
      {"change", request.changeText, GetFileDialogBox(kDialogChange)},
      {"project", request.projectText, GetFileDialogBox(kDialogProject)},
      {"library", request.libraryText, GetFileDialogBox(kDialogLibrary)},
      {"name label", request.nameLabelText, nameLabel},
      {"type label", request.typeLabelText, typeLabel},
      {"look-in label (open)", request.lookInOpenText, lookInLabel},
      {"look-in label (save)", request.lookInSaveText, lookInLabel},
      {"preview label", request.previewText, previewLabel},
      {"note label", request.captionText, noteLabel},
  });
}

}  // namespace
